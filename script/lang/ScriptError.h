#pragma once
// The reporter of script errors: logs each one, says it on stderr with the
// script and line it was found at, shows the tag being read and the message
// when the ERROR option is 1, and lets the reader end the program or read on.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "frame/EScript.h"
#include "frame/TextString.h"

class CScriptError {
public:
    using CTextString = kivotasuGameKit::CTextString;
    static constexpr std::size_t npos = std::string_view::npos;

    static CScriptError& GetInstance();
    virtual ~CScriptError() = default;

    void Report(const CTextString& message) { Report(message, message, true); }
    // Its stderr line and log entry take the message that names the path tried.
    void Report(const EScript& error) { Report(error.GetMessage(), error.GetSaid(), true); }
    // An error found outside the script (the end screen's picture): its
    // stderr line names no place in the script, which has ended.
    void ReportUnplaced(const CTextString& message) { Report(message, message, false); }
    void ReportUnplaced(const EScript& error) { Report(error.GetMessage(), error.GetSaid(), false); }
    // Not an error and in no box: one stderr line naming what the reader
    // passed over (UTF-8) and the tag read last, with its place.
    void Notice(std::string_view what) const;

    std::int32_t GetMode() const { return m_mode; }
    void SetMode(std::int32_t mode) { m_mode = mode; }

    // The full text of the tag read last, brackets included, or of the story
    // text read last; offset is where it starts in the script (npos: unknown).
    const CTextString& GetTagText() const { return m_tagText; }
    void SetTagText(CTextString text, std::size_t offset = npos)
    {
        m_tagText = std::move(text);
        m_tagOffset = offset;
    }
    // The script being read (an empty name: none), whose lines number the
    // places of errors; the reader keeps it current, as the text is its own.
    // A new script makes the offset of the tag read before unknown.
    void SetScript(CTextString name, std::string_view text)
    {
        m_script = std::move(name);
        m_scriptText = text;
        m_tagOffset = npos;
    }

    // What answering OK does: the application installs a handler that closes
    // the main window in the normal way. Without one, OK reads on like Cancel.
    void SetCloseHandler(std::function<void()> handler) { m_closeHandler = std::move(handler); }
    // Sees every report's message, whatever the mode; test harnesses record them.
    void SetObserver(std::function<void(const CTextString&)> observer) { m_observer = std::move(observer); }

private:
    CScriptError() = default;

    void Report(const CTextString& message, const CTextString& said, bool placed);
    // The stderr line of an error, in UTF-8.
    std::string Line(const CTextString& message, bool placed) const;
    // " at script:line", or nothing without a script.
    std::string Place() const;

    std::int32_t m_mode = 0;
    CTextString m_tagText;
    std::size_t m_tagOffset = npos;
    CTextString m_script;
    std::string_view m_scriptText;
    std::function<void()> m_closeHandler;
    std::function<void(const CTextString&)> m_observer;
};
