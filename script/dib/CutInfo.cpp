#include "script/dib/CutInfo.h"

#include "frame/file/FileWriter.h"
#include "script/lang/SavedValue.h"

using kivotasuGameKit::CTextString;

namespace DIB {
namespace {

// Place and size as they are: a right edge summed from a script's numbers may
// not fit an int.
void AppendPlace(CTextString& tag, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    tag.AppendAttribute("X", x);
    tag.AppendAttribute("Y", y);
    tag.AppendSizeAttributes(width, height);
}

} // namespace

void CCutInfo::Write(kivotasuGameKit::CTextFileWriter& writer, const CTextString& name) const
{
    CTextString cut("[CUT");
    AppendSavedAttribute(cut, "FILE", file);
    AppendPlace(cut, sourceX, sourceY, sourceWidth, sourceHeight);
    writer.Write(cut);

    CTextString paste;
    erase.AppendTo(paste);
    paste += CTextString("]\n[PASTE");
    AppendSavedAttribute(paste, "NAME", name);
    AppendPlace(paste, x, y, width, height);
    paste += CTextString("]\n");
    writer.Write(paste);
}

} // namespace DIB
