#include "script/lang/TagLexer.h"

#include "frame/EScript.h"
#include "script/lang/ScriptError.h"
#include "script/lang/Set.h"
#include "script/lang/TextScan.h"

using kivotasuGameKit::CTextString;

namespace {

constexpr auto npos = std::string_view::npos;

CTextString Interpret(std::string_view text)
{
    CTextString value(text);
    CSet::GetInstance().Expand(value);
    CSet::GetInstance().Evaluate(value);
    return value;
}

// rest starts behind a key: the value lies between the first two double
// quotes behind the first "="; a missing mark leaves that step out.
std::string_view TakeValue(std::string_view& rest)
{
    std::size_t equals = FindSjisChar(rest, 0, '=');
    if (equals != npos) rest.remove_prefix(equals + 1);
    std::size_t open = FindSjisChar(rest, 0, '"');
    if (open != npos) rest.remove_prefix(open + 1);
    std::size_t close = FindSjisChar(rest, 0, '"');
    std::string_view value = rest.substr(0, close);
    if (close != npos) rest.remove_prefix(close + 1);
    return value;
}

// rest is the tag text behind its name; matchKey gives the key a text starts
// with. Every step drops at least one key, so the loop ends.
template <class MatchKey, class Fault>
void ReadAttributes(std::string_view rest, CTagAttributes& record, MatchKey matchKey, Fault fault)
{
    while (!rest.starts_with(']')) {
        rest = StripTagBlanks(rest);
        auto key = matchKey(rest);
        if (!key) {
            fault("未知のキーが検出されました。");
            return;
        }
        rest.remove_prefix(TagAttributeKeyNames[static_cast<std::size_t>(*key)].size());
        record.SetValue(*key, Interpret(TakeValue(rest)));
    }
}

std::optional<TagAttributeKey> AnyKey(std::string_view text)
{
    auto index = TagAttributeKeyTable().Match(text);
    if (!index) return std::nullopt;
    return static_cast<TagAttributeKey>(*index);
}

std::optional<TagAttributeKey> LabelKeyOnly(std::string_view text)
{
    if (!HasPrefixNoCase(text, "LABEL")) return std::nullopt;
    return TagAttributeKey::Label;
}

// True when text holds an odd number of double quotes: what follows it lies
// inside a value.
bool InsideQuotes(std::string_view text)
{
    bool inside = false;
    for (std::size_t quote = FindSjisChar(text, 0, '"'); quote != npos; quote = FindSjisChar(text, quote + 1, '"'))
        inside = !inside;
    return inside;
}

} // namespace

TagReadResult CTagLexer::ReadTag(CTagAttributes& record)
{
    if (m_pos >= m_text.size()) return TextEnd;
    record.Clear();

    std::size_t start = SkipTagBlanks(m_text, m_pos);
    if (start >= m_text.size() || m_text[start] != '[') {
        std::size_t open = FindSjisChar(m_text, start, '[');
        if (open == npos) {
            m_pos = m_text.size();
            return TextEnd;
        }
        m_pos = open;
        record.SetId(TagId::Write);
        // An error of the text (a "," read as an operator) names the text.
        const std::string_view text = m_text.substr(start, open - start);
        CScriptError::GetInstance().SetTagText(CTextString(text), start);
        record.SetValue(TagAttributeKey::Body, Interpret(text));
        return TagRead;
    }

    std::string_view tag;
    std::size_t inner = npos;
    if (!CutTag(start, tag, inner)) return TagUnclosed;
    CScriptError& errors = CScriptError::GetInstance();
    errors.SetTagText(CTextString(tag), start);
    // A "[" outside the values is most likely the next tag, and this one
    // lacks its "]": it is read as it pairs, and said where it opens.
    const bool reported = m_faults == LexFaults::Reported;
    if (reported && inner != npos && !InsideQuotes(m_text.substr(start, inner - start)))
        errors.Warn("タグが閉じる前に次の「[」があります。", errors.Here());
    std::string_view rest = StripTagBlanks(tag.substr(1));
    auto id = TagNameTable().Match(rest);
    if (!id) {
        // Passed over as an unknown name must be, but a misspelt tag would
        // otherwise vanish without a word.
        if (reported) errors.Notice("unknown tag skipped");
        return TagRead;
    }
    record.SetId(static_cast<TagId>(*id));
    rest.remove_prefix(TagNames[*id].size());
    ReadAttributes(rest, record, AnyKey, [this](const char* message) { Fault(message); });
    return TagRead;
}

TagReadResult CTagLexer::ScanLabel(CTagAttributes& record)
{
    for (;;) {
        std::size_t start = SkipTagBlanks(m_text, m_pos);
        if (start < m_text.size() && m_text[start] != '[') start = FindSjisChar(m_text, start, '[');
        if (start >= m_text.size()) {
            m_pos = m_text.size();
            return TextEnd;
        }

        std::string_view tag;
        std::size_t inner = npos;
        if (!CutTag(start, tag, inner)) {
            m_pos = start;
            return TagUnclosed;
        }
        std::string_view rest = StripTagBlanks(tag.substr(1));
        if (!HasPrefixNoCase(rest, "LABEL")) continue;
        // Only LABEL tags are shown with errors: a failed search then shows
        // the last label passed in its box, not some tag near the end.
        CScriptError::GetInstance().SetTagText(CTextString(tag), start);

        record.Clear();
        record.SetId(TagId::Label);
        rest.remove_prefix(TagNames[static_cast<std::size_t>(TagId::Label)].size());
        ReadAttributes(rest, record, LabelKeyOnly, [this](const char* message) { Fault(message); });
        return TagRead;
    }
}

std::size_t CTagLexer::FindTagEnd(std::size_t open, std::size_t& inner) const
{
    // Every "[" met before the candidate "]" pushes the end past one more "]".
    std::size_t nextOpen = open;
    std::size_t close = open;
    for (;;) {
        nextOpen = FindSjisChar(m_text, nextOpen + 1, '[');
        close = FindSjisChar(m_text, close + 1, ']');
        if (close == npos) return npos;
        if (nextOpen == npos || nextOpen > close) return close;
        if (inner == npos) inner = nextOpen;
    }
}

bool CTagLexer::CutTag(std::size_t open, std::string_view& tag, std::size_t& inner)
{
    std::size_t close = FindTagEnd(open, inner);
    if (close == npos) {
        // Named where it opens: the tag read whole before it is no help.
        Fault("タグが閉じていません。", open);
        return false;
    }
    m_pos = close + 1;
    tag = m_text.substr(open, close + 1 - open);
    return true;
}

void CTagLexer::Fault(const char* message, std::size_t at) const
{
    if (m_faults == LexFaults::Raised) throw EScript(CTextString(message));
    CScriptError& errors = CScriptError::GetInstance();
    if (at == npos) errors.Report(message);
    else errors.Report(message, errors.At(at, m_text.substr(at)));
}
