#include "script/tag/HiddenLine.h"

#include "frame/file/FileWriter.h"
#include "script/dib/DIB32Ex.h"
#include "script/lang/SavedValue.h"

namespace TAG {

void WriteHidden(kivotasuGameKit::CTextFileWriter& writer, const char* hideTag, const DIB::CDIB32Ex& picture)
{
    if (picture.IsVisible()) return;
    kivotasuGameKit::CTextString line("[");
    line += kivotasuGameKit::CTextString(hideTag);
    AppendSavedAttribute(line, "NAME", picture.GetName());
    line += kivotasuGameKit::CTextString("]\n");
    writer.Write(line);
}

} // namespace TAG
