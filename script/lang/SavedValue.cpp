#include "script/lang/SavedValue.h"

#include "platform/FileSystem.h"
#include "platform/HostPath.h"
#include "platform/TextCodec.h"
#include "script/lang/Expression.h"
#include "script/lang/Set.h"
#include "script/lang/TextScan.h"

using kivotasuGameKit::CTextString;

namespace {

// What the lexer reads back as it stands: no quote, brackets balanced as
// the tag's end is found, no "{" to expand, and no lead byte left to swallow
// the closing quote.
bool LexesAsItStands(std::string_view text)
{
    int depth = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = kivotasuGameKit::CharLengthAt(text, pos);
        if (length == 1) {
            switch (text[pos]) {
            case '"': case '{': return false;
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

// A drive and a separator: the full name of a script or a picture.
bool IsFullPath(std::string_view text)
{
    if (text.size() < 3 || text[1] != ':' || (text[2] != '/' && text[2] != '\\')) return false;
    const char drive = static_cast<char>(text[0] | 0x20);
    return drive >= 'a' && drive <= 'z';
}

// A path (a dropped script's, say) is named as the host shows it, with the
// cure: while one of its names holds such a character, no form reads back.
[[noreturn]] void Refuse(const CTextString& value)
{
    if (IsFullPath(value.GetStr()))
        throw EUnsavable(CTextString("パスがセーブデータに書けない文字（「,」や「{」など）を含んでいるため、セーブできません。"
                                     "ファイルやフォルダの名前を変えるか、ゲームの data フォルダに置いてください。\n") +
                         CTextString(platform::Utf8ToCp932(platform::ShownPath(value.GetStr()))));
    throw EUnsavable(CTextString("セーブデータに書けない文字を含んでいるため、セーブできません。\n") + value);
}

} // namespace

// The folder as the variable store defines KARUTEMI after every reset.
CTextString SavedFolder()
{
    CTextString folder(platform::FileSystem().ExecutablePath());
    folder.ToSlash();
    folder.KeepLeftOfLast('/');
    folder += '/';
    CTextString defined("{KARUTEMI}");
    CSet::GetInstance().Expand(defined);
    return defined == folder ? folder : CTextString();
}

CTextString SavedValue(const CTextString& value, const CTextString& folder)
{
    const std::string& text = value.GetStr();
    // Evaluated after the expansion, whichever form is written: the value
    // whole, as the script's own tag gave it.
    if (!CExpressionEvaluator::LeavesAsItStands(text)) Refuse(value);
    const std::string& prefix = folder.GetStr();
    // A "{" in the folder would be expanded in turn.
    if (!prefix.empty() && text.starts_with(prefix) && FindSjisChar(prefix, 0, '{') == std::string::npos) {
        const std::string_view rest = std::string_view(text).substr(prefix.size());
        if (LexesAsItStands(rest)) return CTextString("{KARUTEMI}") + CTextString(rest);
    }
    if (!LexesAsItStands(text)) Refuse(value);
    return value;
}

void AppendSavedAttribute(CTextString& line, const char* key, const CTextString& value, const CTextString& folder)
{
    line.AppendAttribute(key, SavedValue(value, folder));
}
