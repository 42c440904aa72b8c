#pragma once

#include <cstdint>
#include <memory>

#include "frame/SmartPtr.h"
#include "frame/file/File.h"
#include "platform/FileSystem.h"
#include "sound/IWaveStream.h"

namespace kivotasuGameKit {

// The reader of RIFF WAVE files whose data is 8- or 16-bit PCM: from the disk
// file, through one open, or from the whole-file image the file layer reads
// (an archive member, for instance). Every other WAVE format is refused, so the next
// reader gets it.
class CWaveStream : public IWaveStream {
public:
    CWaveStream();
    ~CWaveStream() override;
    CWaveStream(const CWaveStream&) = delete;
    CWaveStream& operator=(const CWaveStream&) = delete;

    int Open(const CTextString& fileName) override;
    int Close() override;
    std::int32_t GetLength() override;
    bool IsLengthCounted() override { return true; }
    // 1 without a rate, 2 at or past the end (or before the start) but for
    // the start itself; the position is rounded down to a whole sample frame.
    int SetCurrentPos(std::int32_t ms) override;
    std::int32_t GetCurrentPos() override;
    std::uint32_t Read(void* destination, std::uint32_t size) override;
    const WAVEFORMATEX* GetFormat() override;

    // 0; 1 the file is neither on the disk nor readable; 2 not a PCM WAVE file.
    int Load(const CTextString& fileName);

private:
    // 0, or the step that failed: 1 open, 2 no RIFF "WAVE", 3 no "fmt ",
    // 4 not PCM, 5 no "data" behind "fmt ".
    int Initialize();
    void Seek(std::uint32_t position);

    CSmartPtr<CFile> m_file;
    // The disk file, or a reader of m_file's image.
    std::unique_ptr<platform::IReadFile> m_source;
    bool m_memoryMode = false;
    WAVEFORMATEX m_format;
    std::uint32_t m_dataOffset = 0;
    std::uint32_t m_dataSize = 0;
    std::uint32_t m_position = 0;
};

} // namespace kivotasuGameKit
