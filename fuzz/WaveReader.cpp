// WAVE files through the readers the factory chooses from memory (the PCM
// reader, then the decoding one): every read and seek must stay inside the
// file image, whatever its chunks claim.
#include <vector>

#include "fuzz/ExactCopy.h"
#include "sound/WaveStreamFactory.h"

using namespace kivotasuGameKit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ExactCopy copy(data, size);
    static CWaveStreamFactory factory;
    CSmartPtr<IWaveStream> reader = factory.CreateStream(copy.Name("wav"));
    if (!reader->GetFormat()) return 0;
    IWaveStream& stream = *reader;
    const std::int32_t length = stream.GetLength();
    std::vector<std::uint8_t> buffer(4099);
    // Reads of odd sizes from the start, the middle and the last millisecond.
    for (std::int32_t at : {0, length / 2, length - 1}) {
        if (stream.SetCurrentPos(at) != 0) continue;
        for (int i = 0; i < 8 && stream.Read(buffer.data(), std::uint32_t(buffer.size())) != 0; ++i) {
        }
        stream.GetCurrentPos();
    }
    return 0;
}
