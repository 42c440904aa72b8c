// BMP files through the picture loader: sized, copied and drawn into small
// surfaces of several types.
#include "draw/PictureLoader.h"
#include "fuzz/PictureTargets.h"

using namespace kivotasuGameKit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Only the BMP stage: other data would go on to the system decoders.
    if (size < 2 || data[0] != 'B' || data[1] != 'M') return 0;
    ExactCopy copy(data, size);
    CFile file;
    file.Read(copy.Name("bmp"), FileKind::Picture);
    CPictureLoader loader;
    if (loader.Load(file) != 0) return 0;
    PALETTEENTRY palette[256];
    loader.GetPalette(palette);
    int width = 0, height = 0;
    if (loader.GetSize(&width, &height) != 0) return 0;
    for (auto& target : SmallTargets(width, height)) {
        loader.CopyTo(&target->info);
        loader.Render(&target->info);
    }
    return 0;
}
