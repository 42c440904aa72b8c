#include "platform/MessageBox.h"

#include "platform/ServiceSlot.h"
#include "platform/StderrLines.h"
#include "platform/TextCodec.h"
#include "platform/WindowSystem.h"

namespace platform {

namespace {

ServiceSlot<IMessageBoxService, SdlMessageBoxes>& Slot()
{
    static ServiceSlot<IMessageBoxService, SdlMessageBoxes> slot;
    return slot;
}

} // namespace

MessageBoxAnswer DismissAnswer(MessageBoxStyle style)
{
    switch (style) {
    case MessageBoxStyle::Ok:
        return MessageBoxAnswer::Ok;
    case MessageBoxStyle::YesNo:
        return MessageBoxAnswer::No;
    case MessageBoxStyle::OkCancel:
    case MessageBoxStyle::YesNoCancel:
        break;
    }
    return MessageBoxAnswer::Cancel;
}

void SayUnshownBox(std::string_view titleSjis, std::string_view textSjis)
{
    const auto isBreak = [](char c) { return c == '\n' || c == '\r'; };
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    std::string line = Cp932ToUtf8(titleSjis) + ":";
    bool afterBreak = true;
    for (const char c : Cp932ToUtf8(textSjis)) {
        if (isBreak(c)) {
            while (isBlank(line.back())) line.pop_back();
            afterBreak = true;
        } else if (!afterBreak || !isBlank(c)) {
            if (afterBreak) line += ' ';
            line += c;
            afterBreak = false;
        }
    }
    Stderr().Say(line);
}

IMessageBoxService& MessageBoxes()
{
    return Slot().Get();
}

void InstallMessageBoxes(std::unique_ptr<IMessageBoxService> service)
{
    Slot().Install(std::move(service));
}

MessageBoxAnswer HeadlessMessageBoxes::Show(std::string_view titleSjis, std::string_view textSjis,
                                            MessageBoxStyle style, bool warning)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_shown.push_back({std::string(titleSjis), std::string(textSjis), style, warning});
    if (m_closing != 0) {
        Windows().PostMessage(m_closing, WM_CLOSE, 0, 0);
        m_closing = 0;
        return DismissAnswer(style);
    }
    if (m_answers.empty())
        return DismissAnswer(style);
    MessageBoxAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void HeadlessMessageBoxes::Push(MessageBoxAnswer answer)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_answers.push_back(answer);
}

void HeadlessMessageBoxes::CloseWhileUp(WindowHandle window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_closing = window;
}

std::vector<HeadlessMessageBoxes::Shown> HeadlessMessageBoxes::History() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_shown;
}

} // namespace platform
