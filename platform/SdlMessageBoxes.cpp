#include "platform/MessageBox.h"
#include "platform/TextCodec.h"

#include <SDL.h>

#include <vector>

namespace platform {

namespace {

std::vector<SDL_MessageBoxButtonData> ButtonsFor(MessageBoxStyle style)
{
    constexpr Uint32 Return = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    constexpr Uint32 Escape = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    auto ok = static_cast<int>(MessageBoxAnswer::Ok);
    auto cancel = static_cast<int>(MessageBoxAnswer::Cancel);
    auto yes = static_cast<int>(MessageBoxAnswer::Yes);
    auto no = static_cast<int>(MessageBoxAnswer::No);
    switch (style) {
    case MessageBoxStyle::Ok:
        return {{Return | Escape, ok, "OK"}};
    case MessageBoxStyle::OkCancel:
        return {{Return, ok, "OK"}, {Escape, cancel, "Cancel"}};
    case MessageBoxStyle::YesNo:
        return {{Return, yes, "Yes"}, {Escape, no, "No"}};
    case MessageBoxStyle::YesNoCancel:
        break;
    }
    return {{Return, yes, "Yes"}, {0, no, "No"}, {Escape, cancel, "Cancel"}};
}

} // namespace

MessageBoxAnswer SdlMessageBoxes::Show(std::string_view titleSjis, std::string_view textSjis,
                                       MessageBoxStyle style, bool warning)
{
    const std::string title = Cp932ToUtf8(titleSjis);
    const std::string text = Cp932ToUtf8(textSjis);
    const std::vector<SDL_MessageBoxButtonData> buttons = ButtonsFor(style);

    SDL_MessageBoxData data{};
    data.flags = (warning ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION)
                 | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    data.title = title.c_str();
    data.message = text.c_str();
    data.numbuttons = static_cast<int>(buttons.size());
    data.buttons = buttons.data();

    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0) {
        SayUnshownBox(titleSjis, textSjis);
        return DismissAnswer(style);
    }
    if (pressed < 0)
        return DismissAnswer(style);
    return static_cast<MessageBoxAnswer>(pressed);
}

} // namespace platform
