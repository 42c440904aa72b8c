#pragma once
// The reporter of script errors: logs each one, shows the tag being read and
// the message when the ERROR option is 1, and lets the reader end the program
// or read on.

#include <cstdint>
#include <functional>

#include "frame/TextString.h"

class CScriptError {
public:
    using CTextString = kivotasuGameKit::CTextString;

    static CScriptError& GetInstance();
    virtual ~CScriptError() = default;

    void Report(const CTextString& message);

    std::int32_t GetMode() const { return m_mode; }
    void SetMode(std::int32_t mode) { m_mode = mode; }

    // The full text of the bracketed tag read last, brackets included.
    const CTextString& GetTagText() const { return m_tagText; }
    void SetTagText(CTextString text) { m_tagText = std::move(text); }

    // What answering OK does: the application installs a handler that closes
    // the main window in the normal way. Without one, OK reads on like Cancel.
    void SetCloseHandler(std::function<void()> handler) { m_closeHandler = std::move(handler); }
    // Sees every report's message, whatever the mode; test harnesses record them.
    void SetObserver(std::function<void(const CTextString&)> observer) { m_observer = std::move(observer); }

private:
    CScriptError() = default;

    std::int32_t m_mode = 0;
    CTextString m_tagText;
    std::function<void()> m_closeHandler;
    std::function<void(const CTextString&)> m_observer;
};
