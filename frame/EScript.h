#pragma once

#include <exception>

#include "frame/TextString.h"

// The script's own error: raised by the variable store, the file writers, text
// layout and some elements with a Shift-JIS message for the reader.
class EScript : public std::exception {
public:
    explicit EScript(const kivotasuGameKit::CTextString& message) : m_message(message) {}
    // said: the message naming its file by the path tried, for the lines that
    // leave the window (stderr, the log), where a name as the script gave it
    // does not tell where it was looked for.
    EScript(const kivotasuGameKit::CTextString& message, const kivotasuGameKit::CTextString& said)
        : m_message(message), m_said(said)
    {
    }

    const kivotasuGameKit::CTextString& GetMessage() const noexcept { return m_message; }
    const kivotasuGameKit::CTextString& GetSaid() const noexcept { return m_said.IsEmpty() ? m_message : m_said; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    kivotasuGameKit::CTextString m_message;
    kivotasuGameKit::CTextString m_said;
};
