#include "sound/WaveStream.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

#include "frame/ErrorLog.h"
#include "platform/MemoryReadFile.h"
#include "platform/RiffWalker.h"
#include "sound/WaveTime.h"

namespace kivotasuGameKit {

namespace {

// The smallest "fmt " chunk that holds a whole PCM format.
constexpr std::uint32_t PcmFormatSize = 16;

} // namespace

CWaveStream::CWaveStream() : m_file(new CFile) { Close(); }

CWaveStream::~CWaveStream() { Close(); }

int CWaveStream::Open(const CTextString& fileName) { return Load(fileName); }

int CWaveStream::Close()
{
    m_file->Close();
    m_memoryMode = false;
    m_format = WAVEFORMATEX();
    m_dataOffset = 0;
    m_dataSize = 0;
    m_position = 0;
    return 0;
}

int CWaveStream::Load(const CTextString& fileName)
{
    Close();
    if (m_file->Open(fileName.GetStr(), "rb") != 0) {
        m_memoryMode = true;
        if (m_file->Read(fileName.GetStr()) != 0) {
            ErrorLog.Out("CWaveStream::Load %sのファイル読み込み時のエラー", fileName.c_str());
            return 1;
        }
    }
    if (Initialize() != 0) {
        Close();
        return 2;
    }
    return 0;
}

int CWaveStream::Initialize()
{
    std::unique_ptr<platform::IReadFile> source;
    if (m_memoryMode)
        source = std::make_unique<platform::MemoryReadFile>(
            std::string_view(reinterpret_cast<const char*>(m_file->GetMemory()), m_file->GetSize()));
    else
        source = platform::FileSystem().OpenRead(m_file->GetName());
    if (!source || !source->Size()) {
        ErrorLog.Out("CWaveStream::Initialize mmioOpenに失敗");
        return 1;
    }
    platform::RiffWalker walker(*source);
    platform::RiffChunk riff, fmt, data;
    if (!walker.DescendRiff(platform::FourCC("WAVE"), riff)) {
        ErrorLog.Out("CWaveStream::Initialize Waveファイルでない");
        return 2;
    }
    if (!walker.DescendChunk(platform::FourCC("fmt "), riff, fmt) || fmt.size < PcmFormatSize) {
        ErrorLog.Out("CWaveStream::Initialize fmtチャンクが指定できない");
        return 3;
    }
    // Only the chunk's own bytes: a 16-byte chunk leaves cbSize 0.
    std::uint8_t record[WAVEFORMATEX::RecordSize] = {};
    const std::size_t got = walker.Read(record, std::min<std::size_t>(fmt.size, sizeof record));
    m_format = WAVEFORMATEX::FromBytes(record, got);
    if (m_format.wFormatTag != WAVE_FORMAT_PCM) {
        ErrorLog.Out("CWaveStream::Initialize WAVE_FORMAT_PCMじゃない");
        return 4;
    }
    walker.Ascend(fmt);
    if (!walker.DescendChunk(platform::FourCC("data"), riff, data)) {
        ErrorLog.Out("CWaveStream::Initialize データチャンクに行けない");
        return 5;
    }
    // A chunk that claims more than the file holds ends where the file ends.
    m_dataOffset = std::uint32_t(walker.Offset());
    m_dataSize = std::uint32_t(std::min<std::uint64_t>(data.size, walker.FileSize() - walker.Offset()));
    SetCurrentPos(0);
    return 0;
}

std::int32_t CWaveStream::GetLength() { return BytesToMs(m_dataSize, m_format.nAvgBytesPerSec); }

int CWaveStream::SetCurrentPos(std::int32_t ms)
{
    if (m_format.nAvgBytesPerSec == 0)
        return 1;
    const std::uint32_t bytes = MsToBytes(ms, m_format.nAvgBytesPerSec);
    if (bytes == 0xFFFFFFFF)
        return 1;
    if (ms < 0 || ms >= GetLength())
        return 2;
    m_position = bytes;
    if (!m_memoryMode)
        std::fseek(m_file->GetFilePtr(), long(m_dataOffset) + long(m_position), SEEK_SET);
    return 0;
}

std::int32_t CWaveStream::GetCurrentPos() { return BytesToMs(m_position, m_format.nAvgBytesPerSec); }

std::uint32_t CWaveStream::Read(void* destination, std::uint32_t size)
{
    std::uint32_t n = m_position < m_dataSize ? std::min(size, m_dataSize - m_position) : 0;
    if (n == 0)
        return 0;
    if (m_memoryMode)
        std::memcpy(destination, m_file->GetMemory() + m_dataOffset + m_position, n);
    else
        n = std::uint32_t(std::fread(destination, 1, n, m_file->GetFilePtr()));
    m_position += n;
    return n;
}

const WAVEFORMATEX* CWaveStream::GetFormat() { return &m_format; }

} // namespace kivotasuGameKit
