#include "sound/WaveStream.h"

#include <algorithm>
#include <memory>
#include <string_view>

#include "frame/ErrorLog.h"
#include "platform/MemoryReadFile.h"
#include "sound/WaveChunks.h"
#include "sound/WaveTime.h"

namespace kivotasuGameKit {

CWaveStream::CWaveStream() : m_file(new CFile) { Close(); }

CWaveStream::~CWaveStream() { Close(); }

int CWaveStream::Open(const CTextString& fileName) { return Load(fileName); }

int CWaveStream::Close()
{
    m_file->Close();
    m_source.reset();
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
    // The chunks are walked and the samples read through this one open, as
    // the file layer gives them (a scrambled file unscrambled).
    m_source = CFile::OpenOnDisk(fileName.GetStr());
    if (!m_source) {
        m_memoryMode = true;
        if (m_file->Read(fileName.GetStr(), FileKind::Sound) != platform::ReadResult::Done) {
            ErrorLog.Out("CWaveStream::Load %sのファイル読み込み時のエラー", CFile::NormalizePath(fileName.GetStr()).c_str());
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
    if (m_memoryMode)
        m_source = std::make_unique<platform::MemoryReadFile>(
            std::string_view(reinterpret_cast<const char*>(m_file->GetMemory()), m_file->GetSize()));
    if (!m_source->Size()) {
        ErrorLog.Out("CWaveStream::Initialize mmioOpenに失敗");
        return 1;
    }
    const WaveChunks chunks = FindWaveChunks(*m_source);
    using Reached = WaveChunks::Reached;
    if (chunks.reached == Reached::NoRiff) {
        ErrorLog.Out("CWaveStream::Initialize Waveファイルでない");
        return 2;
    }
    if (chunks.reached == Reached::NoFormat) {
        ErrorLog.Out("CWaveStream::Initialize fmtチャンクが指定できない");
        return 3;
    }
    // PCM the mixer cannot take as it is (24 bits, say) goes on to the
    // decoding reader; a block that is not one sample per channel cannot be true.
    if (!IsPlainPcm(chunks.format)) {
        ErrorLog.Out("CWaveStream::Initialize WAVE_FORMAT_PCMじゃない");
        return 4;
    }
    if (chunks.reached == Reached::NoData) {
        ErrorLog.Out("CWaveStream::Initialize データチャンクに行けない");
        return 5;
    }
    m_format = chunks.format;
    // The header's average rate is not read: sizes and lengths follow the
    // samples themselves, and a wrong field made rings of gigabytes.
    m_format.nAvgBytesPerSec = m_format.nSamplesPerSec * m_format.nBlockAlign;
    m_dataOffset = chunks.dataOffset;
    m_dataSize = chunks.dataSize - chunks.dataSize % m_format.nBlockAlign;
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
    if (!IsWithinLength(ms, GetLength()))
        return 2;
    // A byte inside a sample frame would turn every later sample to noise.
    Seek(bytes - bytes % m_format.nBlockAlign);
    return 0;
}

void CWaveStream::Seek(std::uint32_t position)
{
    m_position = position;
    m_source->Seek(std::uint64_t(m_dataOffset) + m_position);
}

std::int32_t CWaveStream::GetCurrentPos() { return BytesToMs(m_position, m_format.nAvgBytesPerSec); }

std::uint32_t CWaveStream::Read(void* destination, std::uint32_t size)
{
    std::uint32_t n = m_position < m_dataSize ? std::min(size, m_dataSize - m_position) : 0;
    // The data chunk's size stops where the file did when it was walked.
    if (n == 0 || m_source->Read(destination, n) != platform::ReadResult::Done)
        return 0;
    m_position += n;
    return n;
}

const WAVEFORMATEX* CWaveStream::GetFormat() { return &m_format; }

} // namespace kivotasuGameKit
