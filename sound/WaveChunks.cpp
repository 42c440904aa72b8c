#include "sound/WaveChunks.h"

#include <algorithm>

#include "platform/RiffWalker.h"

namespace kivotasuGameKit {

namespace {

constexpr std::uint32_t WholeFormatSize = 16;

} // namespace

WaveChunks FindWaveChunks(platform::IReadFile& file)
{
    WaveChunks found;
    platform::RiffWalker walker(file);
    platform::RiffChunk riff, fmt, data;
    if (!walker.DescendRiff(platform::FourCC("WAVE"), riff))
        return found;
    found.reached = WaveChunks::Reached::NoFormat;
    if (!walker.DescendChunk(platform::FourCC("fmt "), riff, fmt) || fmt.size < WholeFormatSize)
        return found;
    found.reached = WaveChunks::Reached::NoData;
    found.formatOffset = std::uint32_t(walker.Offset());
    found.formatSize = std::uint32_t(std::min<std::uint64_t>(fmt.size, walker.FileSize() - walker.Offset()));
    std::uint8_t record[WAVEFORMATEX::RecordSize] = {};
    found.format = WAVEFORMATEX::FromBytes(record, walker.Read(record, std::min<std::size_t>(fmt.size, sizeof record)));
    walker.Ascend(fmt);
    if (!walker.DescendChunk(platform::FourCC("data"), riff, data))
        return found;
    found.reached = WaveChunks::Reached::All;
    // A second walk: "fact" may lie before or behind "data".
    platform::RiffWalker factWalker(file);
    platform::RiffChunk fact;
    std::uint8_t frames[4] = {};
    if (factWalker.DescendRiff(platform::FourCC("WAVE"), riff)
        && factWalker.DescendChunk(platform::FourCC("fact"), riff, fact) && fact.size >= 4
        && factWalker.Read(frames, 4) == 4)
        found.factFrames = platform::LittleEndian32(frames);
    found.dataOffset = std::uint32_t(walker.Offset());
    found.dataSize = std::uint32_t(std::min<std::uint64_t>(data.size, walker.FileSize() - walker.Offset()));
    return found;
}

} // namespace kivotasuGameKit
