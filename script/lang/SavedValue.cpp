#include "script/lang/SavedValue.h"

#include "platform/FileSystem.h"
#include "script/lang/Set.h"

using kivotasuGameKit::CTextString;

namespace {

// Read back as it stands: no quote, brackets balanced as the tag's end is
// found, nothing the expansion or the evaluation would touch, and no lead
// byte left to swallow the closing quote.
bool ReadsBackAsItStands(std::string_view text)
{
    int depth = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = kivotasuGameKit::CharLengthAt(text, pos);
        if (length == 1) {
            switch (text[pos]) {
            case '"': case '{': case ',': case '@': case '!': return false;
            case '[': ++depth; break;
            case ']': if (--depth < 0) return false; break;
            default:
                if (kivotasuGameKit::IsShiftJISLeadByte(text[pos])) return false;
                break;
            }
        }
        pos += length;
    }
    return depth == 0;
}

// What a variable's value must avoid to come out of the expansion unchanged.
bool ExpandsAsItStands(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size(); pos += kivotasuGameKit::CharLengthAt(text, pos)) {
        const char c = text[pos];
        if (c == '{' || c == ',' || c == '@' || c == '!') return false;
    }
    return true;
}

// The folder as the variable store defines KARUTEMI after every reset, when
// the scripts have left it so.
CTextString ProgramFolder()
{
    CTextString folder(platform::FileSystem().ExecutablePath());
    folder.ToSlash();
    folder.KeepLeftOfLast('/');
    folder += '/';
    CTextString defined("{KARUTEMI}");
    CSet::GetInstance().Expand(defined);
    return defined == folder ? folder : CTextString();
}

[[noreturn]] void Refuse(const CTextString& value)
{
    throw EUnsavable(CTextString("セーブデータに書けない文字を含んでいるため、セーブできません。\n") + value);
}

} // namespace

CTextString SavedValue(const CTextString& value)
{
    const std::string& text = value.GetStr();
    const CTextString folder = ProgramFolder();
    const std::string& prefix = folder.GetStr();
    if (!prefix.empty() && text.starts_with(prefix)) {
        const std::string_view rest = std::string_view(text).substr(prefix.size());
        // The expansion puts the folder back before the value is evaluated.
        if (ReadsBackAsItStands(rest) && ExpandsAsItStands(prefix)) return CTextString("{KARUTEMI}") + CTextString(rest);
    }
    if (!ReadsBackAsItStands(text)) Refuse(value);
    return value;
}

void AppendSavedAttribute(CTextString& line, const char* key, const CTextString& value)
{
    line.AppendAttribute(key, SavedValue(value));
}
