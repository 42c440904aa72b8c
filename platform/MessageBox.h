#pragma once
// Modal message boxes. Texts arrive in Shift-JIS and are shown as UTF-8.

#include "platform/WindowMessage.h"

#include <memory>
#include <mutex>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class MessageBoxStyle { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageBoxAnswer { Ok, Cancel, Yes, No };

class IMessageBoxService {
public:
    virtual ~IMessageBoxService() = default;
    // Blocks until the user answers. Closing the box without choosing gives
    // DismissAnswer(style).
    virtual MessageBoxAnswer Show(std::string_view titleSjis, std::string_view textSjis,
                                  MessageBoxStyle style, bool warning) = 0;
};

// What a box answers when it is closed (Escape, the close box) instead of answered.
MessageBoxAnswer DismissAnswer(MessageBoxStyle style);

IMessageBoxService& MessageBoxes();
void InstallMessageBoxes(std::unique_ptr<IMessageBoxService> service);

// A box no display can show, said on stderr instead: title and text on one
// line, each break with the blanks beside it one blank (a CRLF script's tag
// breaks at its CR too).
void SayUnshownBox(std::string_view titleSjis, std::string_view textSjis);

// SDL's message box; when no display can show it, the box is said on stderr
// and counts as dismissed.
class SdlMessageBoxes final : public IMessageBoxService {
public:
    MessageBoxAnswer Show(std::string_view titleSjis, std::string_view textSjis,
                          MessageBoxStyle style, bool warning) override;
};

// Boxes drawn as dialogs of the installed dialog service inside the window
// while it shows frames, SDL's box before (its X11 form cannot show Japanese).
std::unique_ptr<IMessageBoxService> MakeDrawnMessageBoxes();

// Answers from a queue fed by tests (dismissed when it runs dry) and records
// every box shown.
class HeadlessMessageBoxes final : public IMessageBoxService {
public:
    struct Shown {
        std::string titleSjis;
        std::string textSjis;
        MessageBoxStyle style;
        bool warning;
    };

    MessageBoxAnswer Show(std::string_view titleSjis, std::string_view textSjis,
                          MessageBoxStyle style, bool warning) override;

    void Push(MessageBoxAnswer answer);
    // The window's close comes while the next box is up: the box is
    // dismissed, its queued answer left for the next, and the close waits in
    // the window's queue.
    void CloseWhileUp(WindowHandle window);
    std::vector<Shown> History() const;

private:
    mutable std::mutex m_lock;
    std::deque<MessageBoxAnswer> m_answers;
    std::vector<Shown> m_shown;
    WindowHandle m_closing = 0;
};

} // namespace platform
