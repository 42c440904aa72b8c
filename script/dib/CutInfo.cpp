#include "script/dib/CutInfo.h"

#include "frame/file/FileWriter.h"

using kivotasuGameKit::CTextString;

namespace DIB {

void CCutInfo::Write(kivotasuGameKit::CTextFileWriter& writer, const CTextString& name) const
{
    CTextString cut("[CUT");
    cut.AppendAttribute("FILE", file);
    cut.AppendRectAttributes(sourceX, sourceY, sourceX + sourceWidth, sourceY + sourceHeight);
    writer.Write(cut);

    CTextString paste;
    erase.AppendTo(paste);
    paste += CTextString("]\n[PASTE");
    paste.AppendAttribute("NAME", name);
    paste.AppendRectAttributes(x, y, x + width, y + height);
    paste += CTextString("]\n");
    writer.Write(paste);
}

} // namespace DIB
