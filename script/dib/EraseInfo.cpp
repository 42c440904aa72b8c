#include "script/dib/EraseInfo.h"

#include "script/lang/TagTables.h"

using kivotasuGameKit::CTextString;

namespace DIB {

void CEraseInfo::Parse(const CTextString& value)
{
    if (value.IsEmpty()) return;
    if (auto keyword = FindKeyword(EraseNames, value.GetStr())) {
        mode = std::uint32_t(*keyword);
        return;
    }
    std::int32_t parsed = 0;
    if (kivotasuGameKit::ParseColorValue(value.GetStr(), parsed)) {
        colour = std::uint32_t(parsed);
        mode = Colour;
    }
}

void CEraseInfo::AppendTo(CTextString& text) const
{
    if (mode == Colour)
        text.AppendFormat(" ERASE=\"#%06X\"", unsigned(colour));
    else if (mode != NotGiven)
        text.AppendAttribute("ERASE", CTextString(EraseNames[mode]));
}

} // namespace DIB
