#pragma once
// One PASTE done into a picture: where the cut came from and where it went, so
// that the picture's save text can replay the CUT and PASTE pair.

#include <cstdint>

#include "frame/TextString.h"
#include "script/dib/EraseInfo.h"

namespace kivotasuGameKit { class CTextFileWriter; }

namespace DIB {

struct CCutInfo {
    kivotasuGameKit::CTextString file;
    std::int32_t sourceX = 0, sourceY = 0, sourceWidth = 0, sourceHeight = 0;
    CEraseInfo erase;
    std::int32_t x = 0, y = 0, width = 0, height = 0;

    // The CUT line, then the PASTE line into the picture of that NAME.
    void Write(kivotasuGameKit::CTextFileWriter& writer, const kivotasuGameKit::CTextString& name) const;
};

} // namespace DIB
