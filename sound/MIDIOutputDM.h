#pragma once
// A MIDI file played by the synthesiser as a segment of the shared
// performance: the whole file in memory, looping without end when asked.
// Type 2. Positions are kept in ticks and told in milliseconds through the
// file's tempo map.

#include <cstdint>

#include "frame/file/File.h"
#include "sound/ISound.h"
#include "sound/MidiSegment.h"

namespace kivotasuGameKit {

class CDirectMusic;

class CMIDIOutputDM : public ISound {
public:
    explicit CMIDIOutputDM(CDirectMusic* music) : m_music(music) {}
    ~CMIDIOutputDM() override;

    // 1 the file cannot be read, 2 it is no MIDI file, 3 the synthesiser's
    // reader refuses it, 4 the synthesiser cannot take it.
    int Open(const CTextString& fileName) override;
    int Close() override;
    int Play() override;
    int Pause() override { return Stop(); }
    int Replay() override;
    int Stop() override;
    bool IsPlay() override;
    int SetLoopPlay(bool loop) override;
    bool IsLoopPlay() override { return m_loop; }
    int SetCurrentPos(std::int32_t ms) override;
    std::int32_t GetCurrentPos() override;
    std::int32_t GetLength() override;
    int SetVolume(std::int32_t volume) override;
    std::int32_t GetVolume() override;
    int GetType() override { return 2; }
    CTextString GetFileName() override { return m_file.GetName(); }

private:
    // Plays the segment from the start point: 0, 1 refused, -2 no segment.
    int PlaySegment();

    CFile m_file;
    std::int64_t m_startPoint = 0;
    std::int32_t m_pauseCount = 0;
    bool m_loop = false;
    CMidiSegment m_segment;
    // A play's state lives from its start until a stop.
    bool m_state = false;
    CDirectMusic* m_music;
};

} // namespace kivotasuGameKit
