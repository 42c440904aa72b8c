// MP3 files through the header reader of the compressed-audio reader: tags,
// the first frame's fields and the variable-rate header search.
#include "fuzz/ExactCopy.h"
#include "sound/Mp3Header.h"

using namespace kivotasuGameKit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ExactCopy copy(data, size);
    Mp3Layout layout;
    if (ReadMp3Layout(std::span<const std::uint8_t>(copy.bytes.get(), copy.size), layout) != 0) return 0;
    // What the reader derives from it must be representable.
    if (layout.tagSize + layout.dataSize > size || layout.dataSize < 4 || layout.kbps == 0) __builtin_trap();
    return 0;
}
