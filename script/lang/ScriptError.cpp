#include "script/lang/ScriptError.h"

#include <algorithm>
#include <cstdio>

#include "frame/ErrorLog.h"
#include "platform/HostPath.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "script/lang/TextScan.h"

namespace {

// A long story text is named by its start.
constexpr std::size_t ShownTagBytes = 80;

// One line: each run of line breaks in a message or a tag becomes a space.
std::string OneLine(std::string_view text)
{
    std::string line;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const bool brk = text[pos] == '\n' || text[pos] == '\r';
        if (!brk) line += text[pos];
        else if (pos == 0 || (text[pos - 1] != '\n' && text[pos - 1] != '\r')) line += ' ';
    }
    return line;
}

std::string Shortened(std::string_view text)
{
    std::size_t end = 0;
    while (end < text.size() && end + kivotasuGameKit::CharLengthAt(text, end) <= ShownTagBytes)
        end += kivotasuGameKit::CharLengthAt(text, end);
    return end == text.size() ? std::string(text) : std::string(text.substr(0, end)) + "…";
}

std::string ShownTag(const kivotasuGameKit::CTextString& tag)
{
    return OneLine(platform::Cp932ToUtf8(Shortened(StripTagBlanks(tag.GetStr()))));
}

} // namespace

CScriptError& CScriptError::GetInstance()
{
    static CScriptError instance;
    return instance;
}

std::string CScriptError::Place() const
{
    if (m_script.IsEmpty()) return {};
    std::string place = " at " + platform::ShownPath(m_script.GetStr());
    if (m_tagOffset <= m_scriptText.size()) {
        const auto breaks = std::count(m_scriptText.begin(), m_scriptText.begin() + std::ptrdiff_t(m_tagOffset), '\n');
        place += ":" + std::to_string(breaks + 1);
    }
    return place;
}

std::string CScriptError::Line(const CTextString& message, bool placed) const
{
    std::string line = "quiltor: script error";
    if (placed) line += Place();
    line += ": " + OneLine(platform::ShownText(message.GetStr()));
    if (placed && !m_tagText.IsEmpty()) line += " " + ShownTag(m_tagText);
    return line + "\n";
}

void CScriptError::Notice(std::string_view what) const
{
    std::fputs(("quiltor: " + std::string(what) + Place() + ": " + ShownTag(m_tagText) + "\n").c_str(), stderr);
}

void CScriptError::Report(const CTextString& message, const CTextString& said, bool placed)
{
    if (m_observer) m_observer(message);
    // The log keeps every error, also those the mode shows no box for.
    kivotasuGameKit::ErrorLog.Out("スクリプトエラー %s %s", m_tagText.c_str(), said.c_str());
    // Said whatever the mode: under the default one an error ends the game
    // with no box, and the log is silent unless asked for.
    std::fputs(Line(said, placed).c_str(), stderr);
    if (m_mode != 1) return;
    CTextString text = m_tagText + "\n\n" + message + "\n\n\n……終了しちゃいますよぉ？";
    auto answer = platform::MessageBoxes().Show("スクリプトエラー", text.GetStr(),
                                                platform::MessageBoxStyle::OkCancel, true);
    if (answer == platform::MessageBoxAnswer::Ok && m_closeHandler) m_closeHandler();
}
