#pragma once
// The reporter of script errors: says each one on stderr and in the log with
// the script and line it was found at (a repeat at the same place counted,
// not said again), shows the tag being read and the message when the ERROR
// option is 1, and lets the reader end the program or read on.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "frame/EScript.h"
#include "frame/TextString.h"
#include "script/lang/ScriptLines.h"

class CScriptError {
public:
    using CTextString = kivotasuGameKit::CTextString;
    static constexpr std::size_t npos = std::string_view::npos;

    // Where an error lies, as its stderr line names it: the script (empty:
    // none), the line (0: unknown) and the tag, already cut to be shown.
    struct Place {
        CTextString script;
        std::size_t line = 0;
        std::string tag;
    };

    static CScriptError& GetInstance();
    virtual ~CScriptError() = default;

    // At the tag read last.
    void Report(const CTextString& message) { Report(message, message, Here()); }
    // Its stderr line and log entry take the message that names the path tried.
    void Report(const EScript& error) { Report(error.GetMessage(), error.GetSaid(), Here()); }
    // At another place: a tag that does not close, the JUMP whose label is missing.
    void Report(const CTextString& message, const Place& place) { Report(message, message, place); }
    // An error found outside the script (the end screen's picture): its
    // stderr line names no place in the script, which has ended.
    void ReportUnplaced(const CTextString& message) { Report(message, message, Place{}); }
    void ReportUnplaced(const EScript& error) { Report(error.GetMessage(), error.GetSaid(), Place{}); }
    // What the reader reads on through as the script says, though it is most
    // likely a slip: said on stderr and in the log only, in every mode, as a
    // warning, since play goes on.
    void Warn(const CTextString& message, const Place& place);
    // Why the story has ended without END (a script run out, one that cannot
    // be opened): said as an error on stderr and in the log only, as the end
    // screen follows with no question to ask.
    void SayEnded(const CTextString& message, const Place& place);
    // Not an error and in no box: one stderr line naming what the reader
    // passed over (UTF-8) and the tag read last, with its place.
    void Notice(std::string_view what);
    // The place of the tag read last, and of a tag of the script being read.
    Place Here();
    // The place of the tag read last, on the line of its byte into (a story
    // text can run over several lines).
    Place Here(std::size_t into);
    Place At(std::size_t offset, std::string_view tag);

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
        m_lines = CScriptLines(text);
        m_tagOffset = npos;
    }

    // What answering OK does: the application installs a handler that closes
    // the main window in the normal way. Without one, OK reads on like Cancel.
    void SetCloseHandler(std::function<void()> handler) { m_closeHandler = std::move(handler); }
    // Sees every report's message, whatever the mode; test harnesses record them.
    void SetObserver(std::function<void(const CTextString&)> observer) { m_observer = std::move(observer); }

private:
    CScriptError() = default;

    // The box shows message; stderr and the log say said.
    void Report(const CTextString& message, const CTextString& said, const Place& place);
    enum class Severity { Error, Warning };

    // " at script:line", or nothing without a script.
    static std::string Where(const Place& place);
    // The stderr line of an error or a warning, in UTF-8, without its line break.
    static std::string Line(Severity severity, const CTextString& message, const Place& place);
    // Writes a line on stderr and in the log, a repeat of one said counted instead.
    void Say(Severity severity, const CTextString& message, const Place& place);

    std::int32_t m_mode = 0;
    CTextString m_tagText;
    std::size_t m_tagOffset = npos;
    CTextString m_script;
    CScriptLines m_lines;
    std::function<void()> m_closeHandler;
    std::function<void(const CTextString&)> m_observer;
};
