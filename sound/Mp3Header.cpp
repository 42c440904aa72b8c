#include "sound/Mp3Header.h"

#include <cstring>

#include "frame/ErrorLog.h"

namespace kivotasuGameKit {

namespace {

constexpr std::uint32_t Id3v1Size = 128;
constexpr std::uint32_t FrameHeaderSize = 4;

// kbps by layer (1 Layer III, 2 Layer II, 3 Layer I) and bit-rate index,
// MPEG-1; indexes 0 (free format) and 15 (forbidden) have none.
constexpr std::uint16_t Kbps[4][16] = {
    {},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
};
constexpr std::uint32_t Rates[4] = {44100, 48000, 32000, 0};

// A frame header of MPEG-2 or MPEG-2.5 audio, as the author is told what it
// is; empty for anything else (a reserved version, layer or sample rate).
std::string OtherVersion(std::span<const std::uint8_t> frame)
{
    constexpr const char* Layers[4] = {nullptr, "III", "II", "I"};
    // By the version bits 00 (MPEG-2.5) and 10 (MPEG-2), and the rate index.
    constexpr const char* Versions[2] = {"2.5", "2"};
    constexpr const char* KHz[2][3] = {{"11.025", "12", "8"}, {"22.05", "24", "16"}};
    const unsigned version = frame[1] >> 3 & 3, layer = frame[1] >> 1 & 3, rate = frame[2] >> 2 & 3;
    if ((frame[1] & 0xE0) != 0xE0 || version & 1 || layer == 0 || rate == 3) return {};
    return std::string("MPEG-") + Versions[version >> 1] + " Layer " + Layers[layer] + "（" + KHz[version >> 1][rate] + " kHz）";
}

bool HasAt(std::span<const std::uint8_t> bytes, std::size_t at, const char* word)
{
    const std::size_t n = std::strlen(word);
    return at <= bytes.size() && bytes.size() - at >= n && std::memcmp(bytes.data() + at, word, n) == 0;
}

} // namespace

int ReadMp3Layout(std::span<const std::uint8_t> file, Mp3Layout& out)
{
    out = Mp3Layout();
    const std::uint32_t size = std::uint32_t(file.size());
    if (size <= Id3v1Size) {
        ErrorLog.Out("CACMStream::InitializeMP3 ファイルサイズが異常(dwFileSize=%d)", int(size));
        return 1;
    }
    std::uint32_t tagSize = 0;
    if (HasAt(file, 0, "ID3")) {
        tagSize = ((std::uint32_t(file[6]) * 128 + file[7]) * 128 + file[8]) * 128 + file[9];
        tagSize += file[3] >= 4 && (file[5] & 0x10) ? 20 : 10;
        if (size <= tagSize + Id3v1Size) {
            ErrorLog.Out("CACMStream::InitializeMP3 ID3ヘッダ長が異常(availSize=%d, dwID3Size=%d)", int(size),
                         int(tagSize));
            return 1;
        }
    }
    const std::span<const std::uint8_t> frame = file.subspan(tagSize);
    if (frame[0] != 0xFF) {
        ErrorLog.Out("CACMStream::InitializeMP3 MP3チェックphase1に失敗(src[0]=0x%X)", unsigned(frame[0]));
        return 1;
    }
    if ((frame[1] & 0xF8) != 0xF8) {
        ErrorLog.Out("CACMStream::InitializeMP3 MP3チェックphase2に失敗(src[1]=0x%X)", unsigned(frame[1]));
        out.otherVersion = OtherVersion(frame);
        return 1;
    }
    const unsigned layerBits = frame[1] >> 1 & 3;
    if (layerBits == 0) {
        ErrorLog.Out("CACMStream::InitializeMP3 MP3が無効なレイヤ");
        return 1;
    }
    const unsigned bitrateIndex = frame[2] >> 4;
    const unsigned rateIndex = frame[2] >> 2 & 3;
    const std::uint32_t kbps = Kbps[layerBits][bitrateIndex];
    const std::uint32_t rate = Rates[rateIndex];
    if (kbps == 0) {
        ErrorLog.Out("CACMStream::InitializeMP3 MP3のビットレートが無効(index=%u)", bitrateIndex);
        return 1;
    }
    if (rate == 0) {
        ErrorLog.Out("CACMStream::InitializeMP3 MP3のサンプリング周波数が無効(index=%u)", rateIndex);
        return 1;
    }
    const bool mono = (frame[3] & 0xC0) == 0xC0;
    std::uint32_t dataSize = size - tagSize;
    if (HasAt(file, size - Id3v1Size, "TAG"))
        dataSize -= Id3v1Size;
    if (dataSize < FrameHeaderSize) {
        ErrorLog.Out("CACMStream::InitializeMP3 データサイズが異常(dataSize=%d)", int(dataSize));
        return 1;
    }

    WAVEFORMATEX& wfx = out.format.wfx;
    wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    wfx.nChannels = mono ? 1 : 2;
    wfx.nSamplesPerSec = rate;
    wfx.nAvgBytesPerSec = kbps * 1000 / 8;
    wfx.nBlockAlign = 1;
    wfx.wBitsPerSample = 0;
    wfx.cbSize = 12;
    out.format.wID = 1;
    out.format.fdwFlags = 2;
    out.format.nBlockSize = std::uint16_t(144 * kbps * 1000 / rate);
    out.format.nFramesPerBlock = 1;
    out.format.nCodecDelay = 1393;
    out.tagSize = tagSize;
    out.dataSize = dataSize;
    out.kbps = kbps;
    return 0;
}

} // namespace kivotasuGameKit
