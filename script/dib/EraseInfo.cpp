#include "script/dib/EraseInfo.h"

#include "script/lang/ScriptError.h"
#include "script/lang/TagTables.h"

using kivotasuGameKit::CTextString;

namespace DIB {

bool CEraseInfo::Parse(const CTextString& value)
{
    if (value.IsEmpty()) return true;
    if (auto keyword = FindKeyword(EraseNames, value.GetStr())) {
        mode = std::uint32_t(*keyword);
        return true;
    }
    std::int32_t parsed = 0;
    if (!kivotasuGameKit::ParseColorValue(value.GetStr(), parsed)) return false;
    colour = std::uint32_t(parsed);
    mode = Colour;
    return true;
}

// A corner misspelt ("LEFTOP") would key nothing, or the key of the picture
// before, with no word of it.
void CEraseInfo::ParseOrSay(const CTextString& value)
{
    if (Parse(value)) return;
    CScriptError& errors = CScriptError::GetInstance();
    errors.Warn("ERASE『" + value + "』は角の名前でも色でもないので、使われません。" +
                    CTextString(UpperCaseHint(EraseNames, value.GetStr())),
                errors.Here());
}

void CEraseInfo::AppendTo(CTextString& text) const
{
    if (mode == Colour)
        text.AppendFormat(" ERASE=\"#%06X\"", unsigned(colour));
    else if (mode != NotGiven)
        text.AppendAttribute("ERASE", CTextString(EraseNames[mode]));
}

} // namespace DIB
