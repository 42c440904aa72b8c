#include "script/lang/ScriptError.h"

#include "frame/ErrorLog.h"
#include "platform/HostPath.h"
#include "platform/MessageBox.h"
#include "platform/StderrLines.h"
#include "platform/TextCodec.h"
#include "script/lang/TerminalText.h"
#include "script/lang/TextScan.h"

namespace {

// A long story text or tag is named by its start, a message with a long file
// name likewise: the line stays one a terminal shows.
constexpr std::size_t ShownTagBytes = 80;
constexpr std::size_t ShownMessageBytes = 400;

// How a line starts on stderr, and its entry in the log: a warning is what
// play went on through.
struct Kind {
    std::string_view line;
    const char* logged;
};

Kind KindOf(bool warning)
{
    return warning ? Kind{"quiltor: script warning", "スクリプト警告"} : Kind{"quiltor: script error", "スクリプトエラー"};
}

} // namespace

CScriptError& CScriptError::GetInstance()
{
    static CScriptError instance;
    return instance;
}

CScriptError::Place CScriptError::Here() { return At(m_tagOffset, m_tagText.GetStr()); }

CScriptError::Place CScriptError::Here(std::size_t into)
{
    return At(m_tagOffset == npos ? npos : m_tagOffset + into, m_tagText.GetStr());
}

CScriptError::Place CScriptError::At(std::size_t offset, std::string_view tag)
{
    return {m_script, m_lines.LineAt(offset), ShownOnOneLine(StripTagBlanks(tag), ShownTagBytes)};
}

std::string CScriptError::Where(const Place& place)
{
    if (place.script.IsEmpty()) return {};
    std::string where = " at " + platform::ShownPath(place.script.GetStr());
    if (place.line != 0) where += ":" + std::to_string(place.line);
    return where;
}

std::string CScriptError::Line(Severity severity, const CTextString& message, const Place& place)
{
    std::string line = std::string(KindOf(severity == Severity::Warning).line) + Where(place);
    line += ": " + platform::ShownText(ShownOnOneLine(message.GetStr(), ShownMessageBytes));
    if (!place.tag.empty()) line += " " + platform::Cp932ToUtf8(place.tag);
    return line;
}

void CScriptError::Say(Severity severity, const CTextString& message, const Place& place)
{
    const Kind kind = KindOf(severity == Severity::Warning);
    for (const std::string& said : platform::Stderr().Say(Line(severity, message, place))) {
        if (!said.starts_with(kind.line)) continue; // another line's count: not for the log
        // The log keeps what stderr says, for a log written elsewhere.
        kivotasuGameKit::ErrorLog.Out("%s%s", kind.logged, platform::Utf8ToCp932(said.substr(kind.line.size())).c_str());
    }
}

void CScriptError::Warn(const CTextString& message, const Place& place) { Say(Severity::Warning, message, place); }

void CScriptError::SayEnded(const CTextString& message, const Place& place) { Say(Severity::Error, message, place); }

void CScriptError::Notice(std::string_view what)
{
    const Place place = Here();
    const std::string line = "quiltor: " + std::string(what) + Where(place) + ": " + platform::Cp932ToUtf8(place.tag);
    platform::Stderr().Say(line);
}

void CScriptError::Report(const CTextString& message, const CTextString& said, const Place& place)
{
    if (m_observer) m_observer(message);
    // Said whatever the mode: under the default one an error ends the game
    // with no box, and the log is silent unless asked for.
    Say(Severity::Error, said, place);
    if (m_mode != 1) return;
    // The tag stays as the script wrote it; a path in the message is the
    // host's, the one stderr names, not the player's internal drive form.
    const CTextString shown(platform::Utf8ToCp932(platform::ShownText(said.GetStr())));
    CTextString text = m_tagText + "\n\n" + shown + "\n\n\n……終了しちゃいますよぉ？";
    auto answer = platform::MessageBoxes().Show("スクリプトエラー", text.GetStr(),
                                                platform::MessageBoxStyle::OkCancel, true);
    if (answer == platform::MessageBoxAnswer::Ok && m_closeHandler) m_closeHandler();
}
