#include "script/lang/SetImplement.h"

#include "frame/EScript.h"
#include "frame/file/FileWriter.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TextScan.h"

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

// Adds the "{" characters of text from from (a character boundary) to the end
// of the inserted bytes at end; past end too when the last inserted byte takes
// the next one as its second byte, as the text behind is then read anew.
void CollectOpenings(std::string_view text, std::size_t from, std::size_t end, std::vector<std::size_t>& openings)
{
    std::size_t pos = from;
    const auto scanTo = [&](std::size_t stop) {
        for (; pos < stop; pos += kivotasuGameKit::CharLengthAt(text, pos))
            if (text[pos] == '{') openings.push_back(pos);
    };
    scanTo(end);
    if (pos != end) scanTo(text.size());
}

} // namespace

// The last "{" is replaced first, as a scan of the whole text would find it;
// the openings are kept in order instead, since a replacement changes nothing
// in front of it (a scan per replacement made long texts quadratic).
void CSet_Implement::Expand(CTextString& text) const
{
    std::string& work = text.GetStr();
    const std::size_t maxLength = work.size() + MaxGrowth;
    std::vector<std::size_t> openings;
    CollectOpenings(work, 0, work.size(), openings);
    for (int replacements = 0; !openings.empty(); ++replacements) {
        const std::size_t open = openings.back();
        openings.pop_back();
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
        CollectOpenings(work, open, open + value.size(), openings);
    }
}

void CSet_Implement::WriteLocals(kivotasuGameKit::CTextFileWriter& writer) const
{
    writer.Write(CTextString("\n") + SetLines(0));
}

void CSet_Implement::WriteGlobals(kivotasuGameKit::CTextFileWriter& writer) const
{
    writer.Write(SetLines(1));
}

CTextString CSet_Implement::SetLines(std::uint8_t global) const
{
    CTextString lines;
    for (const auto& variable : m_variables) {
        if (variable.second.global == global) WriteSetLine(variable, lines);
    }
    return lines;
}

void CSet_Implement::WriteSetLine(const Variables::value_type& variable, CTextString& out)
{
    out += CTextString("[SET");
    AppendSavedAttribute(out, "VARIABLE", variable.first);
    AppendSavedAttribute(out, "ENTITY", variable.second.value);
    out += CTextString("]\n");
}
