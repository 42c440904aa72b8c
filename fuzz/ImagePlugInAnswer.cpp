// What an image plug-in answers: the first two bytes give the size of the
// bitmap info (header and colour table), the rest are the pixel rows. The
// loader checks the answer and draws it into small surfaces.
#include "draw/DibImage.h"
#include "fuzz/PictureTargets.h"

using namespace kivotasuGameKit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const std::size_t infoSize = std::min<std::size_t>(data[0] | data[1] << 8, size - 2);
    ExactCopy info(data + 2, infoSize);
    ExactCopy bits(data + 2 + infoSize, size - 2 - infoSize);
    DibView dib;
    if (!DibView::Parse(info.bytes.get(), info.size, bits.bytes.get(), bits.size, dib)) return 0;
    for (auto& target : SmallTargets(dib.width, dib.height)) dib.Draw(target->info);
    return 0;
}
