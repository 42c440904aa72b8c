#pragma once

#include <exception>

#include "frame/TextString.h"

// The script's own error: raised by the variable store, the file writers, text
// layout and some elements with a Shift-JIS message for the reader.
class EScript : public std::exception {
public:
    explicit EScript(const kivotasuGameKit::CTextString& message) : m_message(message) {}

    const kivotasuGameKit::CTextString& GetMessage() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    kivotasuGameKit::CTextString m_message;
};
