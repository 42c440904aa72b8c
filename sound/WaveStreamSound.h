#pragma once
// A wave file of any length played through a ring of three seconds that a
// worker thread of the sound refills while the buffer loops. Type 4. The
// application thread and the worker share every field under one lock; the
// worker never holds it while it sleeps.

#include <cstdint>

#include "frame/CriticalSection.h"
#include "frame/SmartPtr.h"
#include "frame/TextString.h"
#include "frame/Thread.h"
#include "sound/IWaveSound.h"
#include "sound/IWaveStream.h"
#include "sound/SoundBuffer.h"

namespace kivotasuGameKit {

class CWaveOutput;

class CWaveStreamSound : public IWaveSound, public KTL::CThread {
public:
    explicit CWaveStreamSound(CWaveOutput* output);
    ~CWaveStreamSound() noexcept override;

    // 0 in every case: a file no reader takes leaves a sound without format.
    // opened is the file's reader when the caller has opened it already.
    int Load(const CTextString& name, CSmartPtr<IWaveStream> opened = {});
    CSmartPtr<IWaveStream> GetStream();
    CSmartPtr<ISoundBuffer> GetBuffer();
    void SetBuffer(const CSmartPtr<ISoundBuffer>& buffer);
    // The ring offset the next data goes to.
    std::uint32_t GetWritePosition();
    // For a caller that makes several calls one step against the worker.
    KTL::CCriticalSection& GetLock() { return m_lock; }

    int Open(const CTextString& fileName) override { return Load(fileName); }
    int Close() override;
    // 1 the ring could not be filled, 2 not played, 3 no worker.
    int Play() override;
    int Pause() override;
    int Replay() override;
    int Stop() override;
    bool IsPlay() override;
    int SetLoopPlay(bool loop) override;
    bool IsLoopPlay() override;
    int SetCurrentPos(std::int32_t ms) override;
    std::int32_t GetCurrentPos() override;
    std::int32_t GetLength() override;
    int SetVolume(std::int32_t volume) override;
    std::int32_t GetVolume() override;
    int GetType() override { return 4; }
    CTextString GetFileName() override;
    int RestoreBuffer() override;

protected:
    void ThreadMain() override;

private:
    // 0 filled, 1 no file, 2 no format, 3 no buffer, 4 locked, 5 read, 6 unlocked.
    int InitBuffer();
    // One refill: 0 done or nothing due, 1 end of data, 2 read, 3 locked, 4 unlocked.
    int GetNextSoundData();
    // Fills size bytes, starting a looping sound's reader over at each end of
    // its data, so that a lap shorter than the fill leaves no gap; read is
    // what came. False when the reader told of more bytes than it was asked for.
    bool ReadLaps(std::uint8_t* destination, std::uint32_t size, std::uint32_t& read);
    int StopAndRewind();
    // Joins the worker with every level of the lock let go, since the worker
    // needs the lock to finish its step.
    void EndWorker();
    // Runs the end of a sound that does not loop until its last byte is heard.
    void PlayOut();
    void CountPlayedBytes(std::uint32_t play);
    // Sleeps one poll without the lock; true when a stop ended the sleep.
    bool Poll(KTL::CCriticalLock& lock);
    std::uint32_t RingSize() const { return 3 * m_avgBytesPerSec; }

    CSmartPtr<ISoundBuffer> m_buffer;
    CSmartPtr<IWaveStream> m_stream;
    KTL::CCriticalSection m_lock;
    CWaveOutput* m_output;
    std::uint32_t m_playedBytes = 0;
    std::uint32_t m_lastWriteCursor = 0;
    std::uint32_t m_writePosition = 0;
    std::uint32_t m_unfilledBytes = 0;
    std::uint32_t m_lastPlayCursor = 0;
    CTextString m_fileName;
    std::int32_t m_pauseCount = 0;
    bool m_loop = false;
    std::uint32_t m_avgBytesPerSec = 0;
    std::uint32_t m_dataLength = 0;
    std::int32_t m_volume = 0;
    // The byte of silence of the ring's format.
    int m_silence = 0;
    // Bytes read since the reader last started over: a loop whose lap read
    // nothing has nothing to play.
    std::uint32_t m_lapBytes = 0;
    // The ring's bytes below this offset have held data since the ring was made.
    std::uint32_t m_ringWritten = 0;
    // Played and not stopped since: what a lost buffer was doing.
    bool m_started = false;
    // A paused sound moved to another place: its ring is stale and Replay
    // fills it afresh.
    bool m_refillOnReplay = false;
};

} // namespace kivotasuGameKit
