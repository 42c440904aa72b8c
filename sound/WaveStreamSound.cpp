#include "sound/WaveStreamSound.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "frame/ErrorLog.h"
#include "frame/Exceptions.h"
#include "sound/WaveOutput.h"
#include "sound/WaveStreamFactory.h"

namespace kivotasuGameKit {

namespace {
constexpr std::uint32_t PollMs = 20;
} // namespace

CWaveStreamSound::CWaveStreamSound(CWaveOutput* output) : m_output(output)
{
    {
        KTL::CCriticalLock lock(m_lock);
        m_loop = false;
        m_buffer.Reset(new CNullSoundBuffer);
    }
    m_output->AddSound(this);
}

CWaveStreamSound::~CWaveStreamSound() noexcept
{
    Close();
    m_output->RemoveSound(this);
}

CSmartPtr<IWaveStream> CWaveStreamSound::GetStream()
{
    KTL::CCriticalLock lock(m_lock);
    return m_stream;
}

CSmartPtr<ISoundBuffer> CWaveStreamSound::GetBuffer()
{
    KTL::CCriticalLock lock(m_lock);
    return m_buffer;
}

void CWaveStreamSound::SetBuffer(const CSmartPtr<ISoundBuffer>& buffer)
{
    KTL::CCriticalLock lock(m_lock);
    m_buffer = buffer;
}

std::uint32_t CWaveStreamSound::GetWritePosition()
{
    KTL::CCriticalLock lock(m_lock);
    return m_writePosition;
}

int CWaveStreamSound::Load(const CTextString& name, CSmartPtr<IWaveStream> opened)
{
    Close();
    if (name.IsEmpty()) return 0;
    CSmartPtr<IWaveStream> stream =
        opened ? opened : m_output->GetSettings()->GetStreamFactory()->CreateStream(name);
    const WAVEFORMATEX* format = stream->GetFormat();
    {
        // The worker has ended, but the lock keeps every field's writes ordered
        // before the next one's reads.
        KTL::CCriticalLock lock(m_lock);
        m_stream = stream;
        m_avgBytesPerSec = format ? format->nAvgBytesPerSec : 0;
        m_fileName = name;
        m_dataLength =
            static_cast<std::uint32_t>(static_cast<std::int64_t>(stream->GetLength()) * m_avgBytesPerSec / 1000);
    }
    SetCurrentPos(0);
    return 0;
}

void CWaveStreamSound::EndWorker()
{
    const std::int32_t held = m_lock.LeaveAll();
    StopThread();
    m_lock.Reenter(held);
}

int CWaveStreamSound::Close()
{
    // A paused sound's worker still polls: it ends before the members it uses
    // change or go.
    EndWorker();
    StopAndRewind();
    KTL::CCriticalLock lock(m_lock);
    m_buffer.Reset(new CNullSoundBuffer);
    m_fileName.Clear();
    m_avgBytesPerSec = 0;
    m_dataLength = 0;
    m_refillOnReplay = false;
    return 0;
}

int CWaveStreamSound::InitBuffer()
{
    KTL::CCriticalLock lock(m_lock);
    if (m_fileName.IsEmpty() || m_avgBytesPerSec == 0) {
        ErrorLog.Out("CWaveStreamSound::InitBuffer ファイルが読み込めてない");
        return 1;
    }
    const WAVEFORMATEX* format = GetStream()->GetFormat();
    if (!format) {
        ErrorLog.Out("CWaveStreamSound::InitBuffer GetStream()->GetFormat()==NULL");
        return 2;
    }
    SetBuffer(m_output->CreateBuffer());
    CSmartPtr<ISoundBuffer> buffer = GetBuffer();
    // Unsigned 8-bit silence is 0x80, which the mixer fills unless asked for
    // zeros: zeros there are a full-scale click where the data ends.
    m_silence = format->wBitsPerSample == 8 ? 0x80 : 0;
    if (buffer->Create(format, RingSize(), m_silence == 0, m_output->GetSettings()) != 0) {
        ErrorLog.Out("CWaveStreamSound::InitBuffer サウンドバッファの作成に失敗！");
        return 3;
    }
    buffer->SetName(m_fileName);
    m_lastWriteCursor = m_writePosition = m_unfilledBytes = m_lastPlayCursor = 0;
    buffer->SetCurrentPosition(0);
    buffer->SetVolume(m_volume);

    const std::uint32_t preFill = ((m_avgBytesPerSec * 21) >> 3) & ~3u;
    void* part = nullptr;
    std::uint32_t partBytes = 0;
    if (buffer->Lock(m_writePosition, preFill, &part, &partBytes, nullptr, nullptr) != 0) {
        ErrorLog.Out("CWaveStreamSound::InitBuffer GetBuffer()->Lock()に失敗！");
        return 4;
    }
    m_lapBytes = 0;
    std::uint32_t read = 0;
    if (!ReadLaps(static_cast<std::uint8_t*>(part), partBytes, read)) {
        buffer->Unlock(part, partBytes, nullptr, 0);
        ErrorLog.Out("CWaveStreamSound::InitBuffer GetStream()->Read()に失敗！");
        return 5;
    }
    if (buffer->Unlock(part, partBytes, nullptr, 0) != 0) {
        ErrorLog.Out("CWaveStreamSound::InitBuffer GetBuffer()->Unlock()に失敗！");
        return 6;
    }
    m_writePosition += read;
    m_ringWritten = read;
    if (read < preFill) m_unfilledBytes = preFill - read;
    return 0;
}

int CWaveStreamSound::Play()
{
    // A paused sound's worker ends too: it must not step on the new ring.
    if (IsPlay()) Stop();
    else EndWorker();
    {
        KTL::CCriticalLock lock(m_lock);
        m_pauseCount = 0;
        m_refillOnReplay = false;
    }
    if (InitBuffer() != 0) {
        Stop();
        return 1;
    }
    {
        KTL::CCriticalLock lock(m_lock);
        if (GetBuffer()->Play(true) != 0) {
            ErrorLog.Out("CWaveStreamSound::InitBuffer GetBuffer()->Play()に失敗！");
            lock.Leave();
            Stop();
            return 2;
        }
        m_started = true;
    }
    if (CreateThread() != 0) {
        ErrorLog.Out("CWaveStreamSound::InitBuffer CreateThread()に失敗！");
        Stop();
        return 3;
    }
    return 0;
}

int CWaveStreamSound::Pause()
{
    KTL::CCriticalLock lock(m_lock);
    if (m_pauseCount > 0) ++m_pauseCount;
    if (!IsPlay()) return 0;
    m_pauseCount = 1;
    return GetBuffer()->Stop();
}

int CWaveStreamSound::Replay()
{
    {
        KTL::CCriticalLock lock(m_lock);
        if (m_pauseCount == 0 || --m_pauseCount != 0) return 0;
        if (!m_refillOnReplay) return GetBuffer()->Play(true);
    }
    return Play();
}

int CWaveStreamSound::Stop()
{
    {
        KTL::CCriticalLock lock(m_lock);
        if (m_pauseCount != 0) return 0;
    }
    EndWorker();
    return StopAndRewind();
}

int CWaveStreamSound::StopAndRewind()
{
    KTL::CCriticalLock lock(m_lock);
    CSmartPtr<ISoundBuffer> buffer = GetBuffer();
    const int result = buffer->Stop();
    buffer->SetCurrentPosition(0);
    if (!m_stream.IsNull()) m_stream->SetCurrentPos(0);
    m_playedBytes = 0;
    m_pauseCount = 0;
    m_started = false;
    return result;
}

bool CWaveStreamSound::IsPlay()
{
    return GetBuffer()->GetStatus() == BufferPlaying;
}

int CWaveStreamSound::SetLoopPlay(bool loop)
{
    KTL::CCriticalLock lock(m_lock);
    m_loop = loop;
    return 0;
}

bool CWaveStreamSound::IsLoopPlay()
{
    KTL::CCriticalLock lock(m_lock);
    return m_loop;
}

int CWaveStreamSound::SetCurrentPos(std::int32_t ms)
{
    std::int32_t paused = 0;
    {
        KTL::CCriticalLock lock(m_lock);
        if (m_avgBytesPerSec == 0) return 1;
        paused = m_pauseCount;
    }
    const bool playing = IsPlay();
    if (paused != 0) {
        // The worker of a paused sound ends before the reader moves; the sound
        // stays paused and Replay fills the ring from the new place.
        EndWorker();
        StopAndRewind();
        KTL::CCriticalLock lock(m_lock);
        m_pauseCount = paused;
        m_refillOnReplay = true;
    } else {
        Stop();
    }
    {
        KTL::CCriticalLock lock(m_lock);
        CSmartPtr<IWaveStream> stream = GetStream();
        stream->SetCurrentPos(ms);
        // Counted in whole sample frames, as the reader goes.
        const std::uint32_t align = std::max<std::uint32_t>(stream->GetFormat()->nBlockAlign, 1);
        m_playedBytes = static_cast<std::uint32_t>(static_cast<std::int64_t>(ms) * m_avgBytesPerSec / 1000);
        m_playedBytes -= m_playedBytes % align;
    }
    return playing ? Play() : 0;
}

std::int32_t CWaveStreamSound::GetCurrentPos()
{
    KTL::CCriticalLock lock(m_lock);
    if (m_avgBytesPerSec == 0) return -1;
    return static_cast<std::int32_t>(std::uint64_t{m_playedBytes} * 1000 / m_avgBytesPerSec);
}

std::int32_t CWaveStreamSound::GetLength()
{
    KTL::CCriticalLock lock(m_lock);
    return m_stream.IsNull() ? 0 : m_stream->GetLength();
}

int CWaveStreamSound::SetVolume(std::int32_t volume)
{
    KTL::CCriticalLock lock(m_lock);
    m_volume = volume;
    return GetBuffer()->SetVolume(volume);
}

std::int32_t CWaveStreamSound::GetVolume()
{
    KTL::CCriticalLock lock(m_lock);
    return m_volume;
}

CTextString CWaveStreamSound::GetFileName()
{
    KTL::CCriticalLock lock(m_lock);
    return m_fileName;
}

int CWaveStreamSound::RestoreBuffer()
{
    CTextString name;
    bool wasPlaying = false;
    {
        KTL::CCriticalLock lock(m_lock);
        if (m_fileName.IsEmpty() || GetBuffer()->GetStatus() != BufferLost) return 0;
        // A lost buffer never reports playing: the sound remembers that it was.
        wasPlaying = m_started && m_pauseCount == 0;
        name = m_fileName;
    }
    Stop();
    Load(name);
    return wasPlaying ? Play() : 0;
}

bool CWaveStreamSound::Poll(KTL::CCriticalLock& lock)
{
    lock.Leave();
    return InterruptibleSleep(PollMs) == 1;
}

void CWaveStreamSound::CountPlayedBytes(std::uint32_t play)
{
    m_playedBytes += play - m_lastPlayCursor + (play < m_lastPlayCursor ? RingSize() : 0);
    m_lastPlayCursor = play;
    // A reader whose length is below one byte's worth of time has no data to
    // count in.
    m_playedBytes = m_dataLength ? m_playedBytes % m_dataLength : 0;
}

int CWaveStreamSound::GetNextSoundData()
{
    KTL::CCriticalLock lock(m_lock);
    CSmartPtr<ISoundBuffer> buffer = GetBuffer();
    const std::uint32_t ring = RingSize();
    std::uint32_t play = 0;
    std::uint32_t write = 0;
    // A lost buffer waits for the activation that restores it.
    if (buffer->GetStatus() == BufferLost || buffer->GetCurrentPosition(&play, &write) != 0 ||
        write == m_lastWriteCursor) {
        Poll(lock);
        return 0;
    }
    std::uint32_t due = write - m_lastWriteCursor + (write < m_lastWriteCursor ? ring : 0) + m_unfilledBytes;
    if (due < m_avgBytesPerSec >> 1) {
        Poll(lock);
        return 0;
    }
    m_unfilledBytes = 0;
    if (m_writePosition + due <= ring) {
        if (m_writePosition < play && play < m_writePosition + due) due = play - m_writePosition;
    } else if (due - (ring - m_writePosition) > play) {
        due = ring - m_writePosition + play;
    }
    due = std::min(due, ring);
    m_lastWriteCursor = write;
    const std::uint32_t amount = due & ~3u;

    std::vector<std::uint8_t> data(amount);
    std::uint32_t read = 0;
    if (!ReadLaps(data.data(), amount, read)) {
        ErrorLog.Out("CWaveStreamSound::GetNextSoundData GetStream()->Read()に失敗！");
        return 2;
    }
    if (read == 0) return 1;
    void* first = nullptr;
    void* second = nullptr;
    std::uint32_t firstBytes = 0;
    std::uint32_t secondBytes = 0;
    if (buffer->Lock(m_writePosition, amount, &first, &firstBytes, &second, &secondBytes) != 0) {
        ErrorLog.Out("CWaveStreamSound::GetNextSoundData GetBuffer()->Lock()に失敗！");
        return 3;
    }
    const std::uint32_t head = std::min(read, firstBytes);
    std::memcpy(first, data.data(), head);
    if (second && read > firstBytes) std::memcpy(second, data.data() + head, std::min(read - firstBytes, secondBytes));
    if (buffer->Unlock(first, firstBytes, second, secondBytes) != 0) {
        ErrorLog.Out("CWaveStreamSound::GetNextSoundData GetBuffer()->Unlock()に失敗！");
        return 4;
    }
    m_ringWritten = std::max(m_ringWritten, std::min(m_writePosition + read, ring));
    m_writePosition = (m_writePosition + read) % ring;
    // The bytes below a whole transfer carry too, or files of one- or two-byte
    // blocks would drift behind.
    m_unfilledBytes += due - read;
    return 0;
}

bool CWaveStreamSound::ReadLaps(std::uint8_t* destination, std::uint32_t size, std::uint32_t& read)
{
    CSmartPtr<IWaveStream> stream = GetStream();
    read = 0;
    // Where the reader's lap began in this fill, when it did.
    std::optional<std::uint32_t> lapStart;
    while (read < size) {
        const std::uint32_t got = stream->Read(destination + read, size - read);
        if (got > size - read) return false;
        read += got;
        m_lapBytes += got;
        if (got != 0) continue;
        // A lap that gave nothing, or a reader that cannot go back to its
        // start, has nothing to loop: asked again at once, it would spin a
        // core. The sound ends as one played once.
        if (!m_loop || m_lapBytes == 0 || stream->SetCurrentPos(0) != 0) break;
        // The laps after a whole one are copies of it, and the reader stands at
        // their start all the same: a lap of a few bytes costs no read per lap.
        if (lapStart) {
            const std::uint32_t laps = (size - read) / m_lapBytes * m_lapBytes;
            for (std::uint32_t copied = 0; copied < laps;) {
                const std::uint32_t bytes = std::min(laps - copied, read - *lapStart);
                std::memcpy(destination + read, destination + *lapStart, bytes);
                read += bytes;
                copied += bytes;
            }
        }
        lapStart = read;
        m_lapBytes = 0;
    }
    return true;
}

void CWaveStreamSound::ThreadMain()
{
    try {
        if (!IsValid()) return;
        for (;;) {
            {
                KTL::CCriticalLock lock(m_lock);
                std::uint32_t play = 0;
                if (GetBuffer()->GetCurrentPosition(&play, nullptr) == 0) CountPlayedBytes(play);
            }
            const int result = GetNextSoundData();
            if (result == 1) break;
            if (result != 0) {
                StopAndRewind();
                return;
            }
            if (!IsValid()) return;
        }
        PlayOut();
    } catch (const KTL::CInterruptedException&) {
        // Interrupted: the thread simply ends.
    }
}

void CWaveStreamSound::PlayOut()
{
    bool wrap = false;
    std::uint32_t end = 0;
    {
        KTL::CCriticalLock lock(m_lock);
        CSmartPtr<ISoundBuffer> buffer = GetBuffer();
        end = m_writePosition;
        std::uint32_t play = 0;
        buffer->GetCurrentPosition(&play, nullptr);
        // A cursor standing on the end has heard everything: waiting for it
        // to come round would play the stale ring once more.
        wrap = play > end;
        // Bytes never written since the ring was made still hold its silence:
        // writing them again would race with the mixer reading them.
        const std::uint32_t stale = std::min(wrap ? play : RingSize(), m_ringWritten);
        const std::uint32_t silent = stale > end ? stale - end : 0;
        void* part = nullptr;
        std::uint32_t partBytes = 0;
        if (silent) {
            if (buffer->Lock(end, silent, &part, &partBytes, nullptr, nullptr) != 0) {
                ErrorLog.Out("CWaveStreamSound::ThreadProc GetBuffer()->Lock()に失敗！");
                StopAndRewind();
                return;
            }
            std::memset(part, m_silence, partBytes);
            if (buffer->Unlock(part, partBytes, nullptr, 0) != 0) {
                ErrorLog.Out("CWaveStreamSound::ThreadProc GetBuffer()->Unlock()に失敗！");
                StopAndRewind();
                return;
            }
        }
    }
    while (IsValid()) {
        KTL::CCriticalLock lock(m_lock);
        std::uint32_t play = 0;
        GetBuffer()->GetCurrentPosition(&play, nullptr);
        if (!wrap && play >= end) {
            StopAndRewind();
            return;
        }
        if (play == m_lastPlayCursor) {
            if (Poll(lock)) return;
            continue;
        }
        if (play < m_lastPlayCursor) wrap = false;
        CountPlayedBytes(play);
    }
}

} // namespace kivotasuGameKit
