#pragma once
// The written form of an element keeps no visibility: a hidden element's
// lines are followed by its HIDE tag, so a replay hides it again.

namespace kivotasuGameKit { class CTextFileWriter; }
namespace DIB { class CDIB32Ex; }

namespace TAG {

void WriteHidden(kivotasuGameKit::CTextFileWriter& writer, const char* hideTag, const DIB::CDIB32Ex& picture);

} // namespace TAG
