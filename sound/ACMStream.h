#pragma once

#include <cstdint>
#include <memory>

#include "frame/SmartPtr.h"
#include "frame/file/File.h"
#include "platform/AudioDecoder.h"
#include "sound/IWaveStream.h"
#include "sound/WaveFormat.h"

namespace kivotasuGameKit {

// The reader of compressed sound: a WAVE file whose data is not PCM, or an
// MPEG-1 audio file. The whole file is read into memory; each read decodes
// from there straight into the caller's buffer as 16-bit PCM.
class CACMStream : public IWaveStream {
public:
    CACMStream();
    ~CACMStream() override;
    CACMStream(const CACMStream&) = delete;
    CACMStream& operator=(const CACMStream&) = delete;

    // 0; 1 the file cannot be read; 2 neither a compressed WAVE nor an MP3
    // file; 3 no PCM form of the format; 4 no decoder takes the data; 5 a
    // block of the format makes no PCM.
    int Open(const CTextString& fileName) override;
    int Close() override;
    std::int32_t GetLength() override;
    bool IsLengthCounted() override;
    // 1 without a format, 2 at or past the end (or before the start), 3 the
    // decoder cannot go there.
    int SetCurrentPos(std::int32_t ms) override;
    std::int32_t GetCurrentPos() override;
    // 0xFFFFFFFF when closed.
    std::uint32_t Read(void* destination, std::uint32_t size) override;
    const WAVEFORMATEX* GetFormat() override;

    // 0, or the step that failed: 2 not a RIFF WAVE file, 3 no usable "fmt ",
    // 4 PCM or no "data" behind "fmt ", 5 no average byte rate.
    int InitializeNormal();
    // 0, or 1 with the reason logged.
    int InitializeMP3();

private:
    std::unique_ptr<platform::IAudioDecoder> OpenDecoder() const;

    CSmartPtr<CFile> m_file;
    const WAVEFORMATEX* m_sourceFormat = nullptr;
    WAVEFORMATEX m_waveFormat;
    MPEGLAYER3WAVEFORMAT m_mp3Format;
    WAVEFORMATEX m_destinationFormat;
    std::unique_ptr<platform::IAudioDecoder> m_decoder;
    std::uint32_t m_sourceSize = 0;
    std::uint32_t m_sourceOffset = 0;
    // The "fmt " chunk body of a WAVE file.
    std::uint32_t m_formatOffset = 0;
    std::uint32_t m_formatSize = 0;
    std::uint32_t m_length = 0;
    std::uint32_t m_destinationPosition = 0;
    std::uint32_t m_sourceBlock = 0;
    std::uint32_t m_destinationBlock = 0;
    // A "fact" chunk's count of sample frames, 0 without one.
    std::uint32_t m_factFrames = 0;
    // The PCM bytes the whole sound decodes to.
    std::uint64_t m_decodedBytes = 0;
    bool m_lengthCounted = false;
};

} // namespace kivotasuGameKit
