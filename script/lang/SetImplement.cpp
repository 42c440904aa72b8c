#include "script/lang/SetImplement.h"

#include "frame/EScript.h"
#include "frame/file/FileWriter.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TextScan.h"

#include <algorithm>
#include <string_view>
#include <vector>

using kivotasuGameKit::CTextString;

CSet_Implement::CSet_Implement() : m_evaluator(m_random)
{
    m_random.SetSeed(platform::Clock().Now());
    Clear();
}

void CSet_Implement::Clear(bool keepGlobals)
{
    std::erase_if(m_variables, [keepGlobals](const Variables::value_type& variable) { return !keepGlobals || !variable.second.global; });
    CTextString folder(platform::FileSystem().ExecutablePath());
    folder.ToSlash();
    folder.KeepLeftOfLast('/');
    folder += '/';
    m_variables[CTextString("KARUTEMI")] = Entry{folder, 0};
}

void CSet_Implement::Set(const CTextString& name, const CTextString& value, bool global)
{
    Entry& entry = m_variables[name];
    entry.value = value;
    entry.global = entry.global || global;
}

namespace {

// The "{" that start characters, in text order, kept up to date as
// replacements change the text. A replacement changes nothing in front of it,
// and behind it only where its last byte takes the next one as its second:
// that reading meets the old one again at the first byte behind that is no
// lead byte, so a "{" there is the only one that can newly start a character.
// The run of lead bytes walked to find it is kept by its distance from the
// end, which replacements in front of it leave as it is, so that a run is
// walked once however often values ending in a lead byte land before it.
class Openings {
public:
    explicit Openings(std::string_view text) { Collect(text, 0, text.size()); }

    bool Empty() const { return m_openings.empty(); }
    std::size_t PopLast()
    {
        const std::size_t last = m_openings.back();
        m_openings.pop_back();
        return last;
    }
    // The bytes from from (a character start) to end were just put in.
    void Collect(std::string_view text, std::size_t from, std::size_t end)
    {
        m_runFromEnd = std::min(m_runFromEnd, text.size() - end);
        std::size_t pos = from;
        for (; pos < end; pos += kivotasuGameKit::CharLengthAt(text, pos))
            if (text[pos] == '{') m_openings.push_back(pos);
        if (pos == end) return;
        const std::size_t met = EndOfLeadRun(text, pos);
        if (met < text.size() && (met - pos) % 2 == 0 && text[met] == '{') m_openings.push_back(met);
    }

private:
    std::size_t EndOfLeadRun(std::string_view text, std::size_t from)
    {
        const std::size_t size = text.size();
        std::size_t pos = from;
        while (pos < size && kivotasuGameKit::IsShiftJISLeadByte(text[pos])) {
            if (size - pos <= m_runFromEnd && size - pos > m_runEndFromEnd) {
                pos = size - m_runEndFromEnd;
                break;
            }
            ++pos;
        }
        m_runFromEnd = size - from;
        m_runEndFromEnd = size - pos;
        return pos;
    }

    std::vector<std::size_t> m_openings;
    // Lead bytes only, from this distance from the end up to the other.
    std::size_t m_runFromEnd = 0;
    std::size_t m_runEndFromEnd = 0;
};

} // namespace

// The last "{" is replaced first, as a scan of the whole text would find it;
// the openings are kept in order instead (a scan per replacement made long
// texts quadratic).
void CSet_Implement::Expand(CTextString& text) const
{
    std::string& work = text.GetStr();
    const std::size_t maxLength = work.size() + MaxGrowth;
    Openings openings(work);
    for (int replacements = 0; !openings.Empty(); ++replacements) {
        const std::size_t open = openings.PopLast();
        std::size_t close = FindSjisChar(work, open + 1, '}');
        if (close == std::string::npos) throw EScript(CTextString("『 { 』 に対して、対応する 『 } 』 がありません。"));

        CTextString name(work.substr(open + 1, close - open - 1));
        auto found = m_variables.find(name);
        if (found == m_variables.end() || replacements == MaxReplacements) {
            throw EScript(CTextString("設定されていない変数 {") + name + CTextString("} が使用されました。"));
        }
        const std::string& value = found->second.value.GetStr();
        if (work.size() - (close + 1 - open) + value.size() > maxLength)
            throw EScript(CTextString("変数 {") + name + CTextString("} の展開で文字列が長くなりすぎました。"));
        work.replace(open, close + 1 - open, value);
        openings.Collect(work, open, open + value.size());
    }
}

void CSet_Implement::WriteLocals(kivotasuGameKit::CTextFileWriter& writer) const
{
    writer.Write(CTextString("\n"));
    WriteSetLines(writer, 0);
}

void CSet_Implement::WriteGlobals(kivotasuGameKit::CTextFileWriter& writer) const
{
    WriteSetLines(writer, 1);
}

// The folder is looked up once: for each value of a globals file of tens of
// MiB, the lookups took most of the close's time.
void CSet_Implement::WriteSetLines(kivotasuGameKit::CTextFileWriter& writer, std::uint8_t global) const
{
    constexpr std::size_t PieceBytes = std::size_t{64} << 10;
    const CTextString folder = SavedFolder();
    CTextString piece;
    for (const auto& variable : m_variables) {
        if (variable.second.global != global) continue;
        WriteSetLine(variable, folder, piece);
        if (piece.GetStr().size() < PieceBytes) continue;
        writer.Write(piece);
        piece = CTextString();
    }
    writer.Write(piece);
}

void CSet_Implement::WriteSetLine(const Variables::value_type& variable, const CTextString& folder, CTextString& out)
{
    out += CTextString("[SET");
    AppendSavedAttribute(out, "VARIABLE", variable.first, folder);
    AppendSavedAttribute(out, "ENTITY", variable.second.value, folder);
    out += CTextString("]\n");
}
