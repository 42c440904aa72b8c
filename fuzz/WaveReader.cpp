// WAVE files through the readers the factory chooses (the PCM reader, then
// the decoding one), from memory and as a file on the disk (read a piece at a
// time, unscrambled behind "KPK1"): every read and seek must stay inside the
// file, whatever its chunks claim.
#include <string_view>
#include <vector>

#include "fuzz/ExactCopy.h"
#include "platform/MemoryFileSystem.h"
#include "sound/WaveStreamFactory.h"

using namespace kivotasuGameKit;

namespace {

// Reads of odd sizes from the start, the middle and the last millisecond.
void ReadAround(IWaveStream& stream)
{
    const std::int32_t length = stream.GetLength();
    std::vector<std::uint8_t> buffer(4099);
    for (std::int32_t at : {0, length / 2, length - 1}) {
        if (stream.SetCurrentPos(at) != 0) continue;
        for (int i = 0; i < 8 && stream.Read(buffer.data(), std::uint32_t(buffer.size())) != 0; ++i) {
        }
        stream.GetCurrentPos();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static platform::MemoryFileSystem& files = platform::MemoryFileSystem::Install();
    static CWaveStreamFactory factory;
    ExactCopy copy(data, size);
    files.Put("Z:\\f.wav", std::string_view(reinterpret_cast<const char*>(data), size));
    for (const std::string& name : {copy.Name("wav"), std::string("Z:\\f.wav")}) {
        CSmartPtr<IWaveStream> reader = factory.CreateStream(name);
        if (reader->GetFormat()) ReadAround(*reader);
    }
    return 0;
}
