// Compressed surface files ("ovk") through the picture loader, into a packed
// ARGB8888 surface of the picture's size (expanded in place) when it is small,
// and into small surfaces of other types (expanded, then converted).
#include "draw/PictureLoader.h"
#include "fuzz/PictureTargets.h"

using namespace kivotasuGameKit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4 || std::memcmp(data, "ovk", 4) != 0) return 0;
    ExactCopy copy(data, size);
    CFile file;
    file.Read(copy.Name("ovk"), FileKind::Picture);
    CPictureLoader loader;
    if (loader.Load(file) != 0) return 0;
    int width = 0, height = 0;
    if (loader.GetSize(&width, &height) != 0) return 0;
    if (std::int64_t(width) * height <= 4096) {
        PictureTarget whole(ARGB8888, width, height);
        loader.CopyTo(&whole.info);
    }
    for (auto& target : SmallTargets(width, height)) loader.CopyTo(&target->info);
    return 0;
}
