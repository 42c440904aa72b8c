#include "sound/ACMStream.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string_view>

#include "frame/ErrorLog.h"
#include "frame/file/FileBounds.h"
#include "platform/MemoryReadFile.h"
#include "sound/Mp3Header.h"
#include "sound/WaveChunks.h"
#include "sound/WaveTime.h"

namespace kivotasuGameKit {

namespace {

// The compressed data of an MP3 file is counted from behind the first frame's header.
constexpr std::uint32_t FrameHeaderSize = 4;
constexpr std::uint16_t DecodedBits = 16;
// 16-bit stereo at 48 kHz from Layer III at 32 kbps is 48 times the bytes.
constexpr std::uint64_t MostExpansion = 64;

} // namespace

CACMStream::CACMStream() : m_file(new CFile) { Close(); }

CACMStream::~CACMStream() { Close(); }

int CACMStream::Close()
{
    m_file->Close();
    m_sourceFormat = nullptr;
    m_waveFormat = WAVEFORMATEX();
    m_mp3Format = MPEGLAYER3WAVEFORMAT();
    m_destinationFormat = WAVEFORMATEX();
    m_decoder.reset();
    m_sourceSize = m_sourceOffset = m_formatOffset = m_formatSize = m_length = m_destinationPosition = m_factFrames = 0;
    m_decodedBytes = 0;
    m_lengthCounted = false;
    m_sourceBlock = m_destinationBlock = 0;
    return 0;
}

int CACMStream::Open(const CTextString& fileName)
{
    Close();
    if (ReadFailure failure = ReadFailure::None; m_file->Read(fileName.GetStr(), FileKind::Sound, &failure) != platform::ReadResult::Done) {
        ErrorLog.Out("CACMStream::Open ファイル読み込みに失敗(ret=%d) - %s", static_cast<int>(failure), CFile::NormalizePath(fileName.GetStr()).c_str());
        return 1;
    }
    int result = InitializeNormal();
    if (result == 2)
        result = InitializeMP3();
    if (result != 0) {
        ErrorLog.Out("CACMStream::Open オープンに失敗(ret=%d) - %s", result, fileName.c_str());
        Close();
        return 2;
    }
    const WAVEFORMATEX& source = *m_sourceFormat;
    // A block smaller than one sample of every channel cannot be true, and
    // no library need be trusted with it.
    if (!platform::CanDecodeWaveFormat(source.wFormatTag) || source.nChannels == 0 || source.nChannels > MaxChannels
        || source.nSamplesPerSec == 0 || source.nSamplesPerSec > MaxSamplesPerSec
        || source.nBlockAlign < source.nChannels * ((source.wBitsPerSample + 7) / 8)) {
        ErrorLog.Out("CACMStream::Open acmFormatSuggest()に失敗");
        Close();
        return 3;
    }
    m_destinationFormat.wFormatTag = WAVE_FORMAT_PCM;
    m_destinationFormat.nChannels = source.nChannels;
    m_destinationFormat.nSamplesPerSec = source.nSamplesPerSec;
    m_destinationFormat.wBitsPerSample = DecodedBits;
    m_destinationFormat.nBlockAlign = std::uint16_t(source.nChannels * DecodedBits / 8);
    m_destinationFormat.nAvgBytesPerSec = source.nSamplesPerSec * m_destinationFormat.nBlockAlign;
    m_decoder = OpenDecoder();
    if (!m_decoder) {
        ErrorLog.Out("CACMStream::Open acmStreamOpen()に失敗");
        Close();
        return 4;
    }
    // What the data decodes to, as the decoder counts it: the header's average
    // rate may lie, and an MP3's bit rate counts its header frame and padding
    // in (a loop on that length would end in a gap). An MP3 longer than a
    // sound held whole is not counted to its end but estimated from the
    // frames its walk read, and so is one whose sample rate changes; only one
    // the decoder cannot count at all (no frame it takes) leaves the estimate
    // from the header.
    const std::uint32_t align = m_destinationFormat.nBlockAlign;
    std::optional<platform::IAudioDecoder::Measure> measure = m_decoder->MeasureFrames(MostHeldBytes / align);
    // A "fact" count inside the last block trims its padding; any other
    // count is not believed (libsndfile writes half the frames of stereo).
    if (measure && measure->counted && m_factFrames && m_factFrames <= measure->frames && m_sourceBlock
        && (measure->frames - m_factFrames) * (m_sourceSize / m_sourceBlock) < measure->frames)
        measure->frames = m_factFrames;
    const std::uint64_t decoded = measure ? measure->frames * align
                                          : std::uint64_t(m_sourceSize) * m_destinationFormat.nAvgBytesPerSec
                                                / source.nAvgBytesPerSec;
    // No codec read here makes more than some 50 bytes of PCM from one byte.
    const std::uint64_t mostDecoded = (std::uint64_t(m_sourceSize) + m_sourceBlock) * MostExpansion;
    // The PCM of one source block, in whole sample frames.
    const std::uint64_t block = m_sourceSize ? std::uint64_t(m_sourceBlock) * decoded / m_sourceSize : 0;
    m_destinationBlock = std::uint32_t(std::min<std::uint64_t>(block - block % align, UINT32_MAX));
    if (m_destinationBlock == 0 || decoded > mostDecoded) {
        ErrorLog.Out("CACMStream::Open acmStreamSize()に失敗");
        Close();
        return 5;
    }
    m_lengthCounted = measure && measure->counted;
    // A length not counted plays on to where the frames end.
    m_decodedBytes = m_lengthCounted ? decoded : UINT64_MAX;
    m_length = std::uint32_t(std::min<std::uint64_t>(decoded * 1000 / m_destinationFormat.nAvgBytesPerSec, INT32_MAX));
    return 0;
}

int CACMStream::InitializeNormal()
{
    platform::MemoryReadFile image(
        std::string_view(reinterpret_cast<const char*>(m_file->GetMemory()), m_file->GetSize()));
    const WaveChunks chunks = FindWaveChunks(image);
    using Reached = WaveChunks::Reached;
    // Not logged: every MP3 file comes this way, and the MP3 reading says
    // why when it refuses the file too.
    if (chunks.reached == Reached::NoRiff)
        return 2;
    if (chunks.reached == Reached::NoFormat) {
        ErrorLog.Out("CACMStream::InitializeNormal fmtチャンクが指定できない");
        return 3;
    }
    m_waveFormat = chunks.format;
    m_sourceFormat = &m_waveFormat;
    if (IsPlainPcm(m_waveFormat)) {
        ErrorLog.Out("CACMStream::InitializeNormal ACMを使うまでもない");
        return 4;
    }
    if (chunks.reached == Reached::NoData) {
        ErrorLog.Out("CACMStream::InitializeNormal データチャンクに行けない");
        return 4;
    }
    if (m_waveFormat.nAvgBytesPerSec == 0) {
        ErrorLog.Out("CACMStream::InitializeNormal nAvgBytesPerSecが0");
        return 5;
    }
    m_sourceSize = chunks.dataSize;
    m_sourceOffset = chunks.dataOffset;
    m_formatOffset = chunks.formatOffset;
    m_formatSize = chunks.formatSize;
    m_factFrames = chunks.factFrames;
    m_sourceBlock = m_waveFormat.nBlockAlign;
    return 0;
}

int CACMStream::InitializeMP3()
{
    Mp3Layout layout;
    if (ReadMp3Layout(std::span(m_file->GetMemory(), m_file->GetSize()), layout) != 0) {
        // A file of the lower rates plays nothing: its author is told why.
        if (!layout.otherVersion.empty())
            SayRefusal(CTextString("MP3ファイルを再生できません: " + CFile::NormalizePath(m_file->GetName()) + " は "
                                   + layout.otherVersion + "です。再生できるのは MPEG-1 Layer III（32、44.1、48 kHz）です。"));
        return 1;
    }
    m_mp3Format = layout.format;
    m_sourceFormat = &m_mp3Format.wfx;
    m_sourceSize = layout.dataSize - FrameHeaderSize;
    m_sourceOffset = layout.tagSize + FrameHeaderSize;
    m_sourceBlock = m_mp3Format.nBlockSize;
    return 0;
}

std::unique_ptr<platform::IAudioDecoder> CACMStream::OpenDecoder() const
{
    const std::span<const std::uint8_t> image(m_file->GetMemory(), m_file->GetSize());
    const WAVEFORMATEX& source = *m_sourceFormat;
    if (m_sourceFormat == &m_mp3Format.wfx)
        return platform::OpenMpegAudio(image.subspan(m_sourceOffset - FrameHeaderSize, m_sourceSize + FrameHeaderSize),
                                       long(source.nSamplesPerSec), source.nChannels);
    if (platform::IsMpegWaveFormat(source.wFormatTag))
        return platform::OpenMpegAudio(image.subspan(m_sourceOffset, m_sourceSize), long(source.nSamplesPerSec),
                                       source.nChannels);
    return platform::OpenCompressedWave(image.subspan(m_formatOffset, m_formatSize),
                                        image.subspan(m_sourceOffset, m_sourceSize), long(source.nSamplesPerSec),
                                        source.nChannels);
}

std::int32_t CACMStream::GetLength() { return std::int32_t(m_length); }

bool CACMStream::IsLengthCounted() { return m_lengthCounted; }

int CACMStream::SetCurrentPos(std::int32_t ms)
{
    const std::uint32_t avg = m_destinationFormat.nAvgBytesPerSec;
    if (avg == 0)
        return 1;
    const std::uint32_t bytes = MsToBytes(ms, avg);
    if (bytes == 0xFFFFFFFF)
        return 1;
    if (!IsWithinLength(ms, GetLength()))
        return 2;
    if (!m_decoder->Seek(bytes / m_destinationFormat.nBlockAlign)) {
        ErrorLog.Out("CACMStream::SetCurrentPos acmStreamOpen()に失敗");
        return 3;
    }
    m_destinationPosition = bytes;
    return 0;
}

std::int32_t CACMStream::GetCurrentPos()
{
    return BytesToMs(m_destinationPosition, m_destinationFormat.nAvgBytesPerSec);
}

std::uint32_t CACMStream::Read(void* destination, std::uint32_t size)
{
    if (!m_file->GetMemory() || !m_decoder)
        return 0xFFFFFFFF;
    // The padding of the last block is no sound: a loop would hear it as a gap.
    // The position of a seek counts the bytes of a part frame that the decoder skipped.
    const std::uint32_t decoder = m_destinationPosition - m_destinationPosition % m_destinationFormat.nBlockAlign;
    const std::uint64_t left = m_decodedBytes - std::min<std::uint64_t>(decoder, m_decodedBytes);
    const std::uint32_t n = std::uint32_t(m_decoder->Read(destination, std::min<std::uint64_t>(size, left)));
    m_destinationPosition += n;
    return n;
}

const WAVEFORMATEX* CACMStream::GetFormat() { return &m_destinationFormat; }

} // namespace kivotasuGameKit
