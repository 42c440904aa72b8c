#include "platform/MessageBox.h"

#include "platform/Dialogs.h"
#include "platform/SdlFrame.h"

namespace platform {

namespace {

// Boxes drawn as dialogs of the installed service while the window shows
// frames; SDL's own box before that, whose X11 form cannot show Japanese.
class DrawnMessageBoxes final : public IMessageBoxService {
public:
    MessageBoxAnswer Show(std::string_view titleSjis, std::string_view textSjis, MessageBoxStyle style,
                          bool warning) override
    {
        SdlFrame frame;
        if (!CurrentSdlFrame(frame))
            return m_sdl.Show(titleSjis, textSjis, style, warning);
        Dialog dialog;
        dialog.titleSjis = titleSjis;
        dialog.icon = warning ? DialogIcon::Warning : DialogIcon::Information;
        dialog.controls.push_back(DialogControl::Label(std::string(textSjis)));
        for (MessageBoxAnswer answer : Answers(style))
            dialog.buttons.push_back({Label(answer), ResultOf(answer)});
        dialog.defaultResult = dialog.buttons.front().result;
        dialog.cancelResult = ResultOf(DismissAnswer(style));
        return static_cast<MessageBoxAnswer>(Dialogs().RunDialog(dialog) - 1);
    }

private:
    // Results from 1: 0 would make no button the default.
    static int ResultOf(MessageBoxAnswer answer) { return static_cast<int>(answer) + 1; }

    static std::vector<MessageBoxAnswer> Answers(MessageBoxStyle style)
    {
        switch (style) {
        case MessageBoxStyle::Ok: return {MessageBoxAnswer::Ok};
        case MessageBoxStyle::OkCancel: return {MessageBoxAnswer::Ok, MessageBoxAnswer::Cancel};
        case MessageBoxStyle::YesNo: return {MessageBoxAnswer::Yes, MessageBoxAnswer::No};
        case MessageBoxStyle::YesNoCancel: break;
        }
        return {MessageBoxAnswer::Yes, MessageBoxAnswer::No, MessageBoxAnswer::Cancel};
    }

    // The labels of a Japanese system's boxes.
    static std::string Label(MessageBoxAnswer answer)
    {
        switch (answer) {
        case MessageBoxAnswer::Ok: return "OK";
        case MessageBoxAnswer::Cancel: return "キャンセル";
        case MessageBoxAnswer::Yes: return "はい(&Y)";
        case MessageBoxAnswer::No: break;
        }
        return "いいえ(&N)";
    }

    SdlMessageBoxes m_sdl;
};

} // namespace

std::unique_ptr<IMessageBoxService> MakeDrawnMessageBoxes()
{
    return std::make_unique<DrawnMessageBoxes>();
}

} // namespace platform
