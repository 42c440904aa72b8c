#pragma once
// MIDI through FluidSynth, rendered into the process's mixer: one synthesiser
// and its SoundFont for the whole process (a SoundFont takes megabytes and
// seconds to load), and one player per sequence, driven by the samples the
// mixer asks for rather than by a clock. Without a SoundFont everything runs
// (positions move, plays end) and nothing is heard.

#include "platform/AudioMixer.h"
#include "platform/PeakLimiter.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;
struct _fluid_midi_event_t;

namespace platform {

class MidiSynth;

// What the synthesiser made of a file given to it.
enum class MidiLoad {
    Loaded,
    // Its reader failed on the file, found none of its ticks, or its clock
    // stopped (a tempo of 0); or the file is larger than MaxFileBytes.
    Refused,
    // No player could be made for it.
    NoPlayer,
};

// A MIDI file in memory and its player. Every call is the application
// thread's; the end handler runs on the thread that mixes.
class MidiSequence {
public:
    MidiSequence(const MidiSequence&) = delete;
    MidiSequence& operator=(const MidiSequence&) = delete;
    ~MidiSequence();

    // Starts from tick, over again at the end when loop is set; a play under
    // way is ended first. False when the synthesiser refuses the data.
    bool Play(std::int64_t tick, bool loop);
    // Ends the play; the tick it reached stays the current one.
    void Stop();
    // Ends the play and makes tick the current one.
    void Cue(std::int64_t tick);
    // False once a play that does not loop has reached its end.
    bool IsPlaying();
    std::int64_t CurrentTick();
    // Runs on the mixing thread when a play reaches its end by itself.
    void SetEndHandler(std::function<void()> handler);
    // True once for the end of the current play: a later play, stop or cue
    // takes back an end not yet taken (its notice is stale).
    bool TakeEndNotice() { return m_endNotice.exchange(false); }
    // The output's gain while this sequence plays, 0..1.
    void SetGain(float gain);
    // The mixer line the synthesiser sounds through while this sequence plays.
    void SetLine(MixerLine line) { m_line = line; }

private:
    friend class MidiSynth;
    MidiSequence(std::shared_ptr<MidiSynth> synth, std::vector<std::uint8_t> data, std::string name,
                 std::int64_t endTick);
    // Under the synthesiser's lock.
    void DropPlayer();
    bool StartPlayer(std::int64_t tick, bool loop);
    std::int64_t PlayerTick() const;
    // Makes the player and starts it from tick; false when it cannot be made.
    bool NewPlayer(std::int64_t tick);
    // After a block the player ran: true once the play has come to its end.
    bool RanOut();

    std::shared_ptr<MidiSynth> m_synth;
    const std::vector<std::uint8_t> m_data;
    const std::string m_name;
    const std::int64_t m_endTick;
    _fluid_player_t* m_player = nullptr;
    bool m_loop = false;
    // Until the player has run, it tells the tick it was started from.
    bool m_started = false;
    // The blocks the player has run since it started its lap.
    std::uint32_t m_lapBlocks = 0;
    // The player's count of the piece's ticks, once it has run out; -1 before.
    int m_lapTicks = -1;
    bool m_ended = false;
    std::atomic<bool> m_endNotice{false};
    std::int64_t m_tick = 0;
    std::function<void()> m_onEnd;
    float m_gain = 1.0f;
    MixerLine m_line = MixerLine::Synth;
};

// How many events of one kind the players may hand the synthesiser: burst at
// once, perBlock more for each block that passes.
struct MidiEventAllowance {
    std::uint32_t burst;
    std::uint32_t perBlock;
    std::uint32_t left = burst;
    void Refill() { left = std::min(burst, left + perBlock); }
    bool Take() { return left > 0 && (--left, true); }
};

class MidiSynth : public std::enable_shared_from_this<MidiSynth>, private IAudioSource {
public:
    // FluidSynth keeps every event of a file in lists of its own, at up to 25
    // times the file's bytes (84 bytes for an empty text event of 4, 50 for an
    // event of 2 in running status); General MIDI pieces take tens of KB.
    // Readers refuse a larger file before they read it.
    static constexpr std::size_t MaxFileBytes = 2 << 20;

    // The process's synthesiser on the output's mixer, made on first use
    // (again when the output has a new mixer); null without a mixer.
    static std::shared_ptr<MidiSynth> Get();
    // Where the synthesiser's messages go (FluidSynth's own among them):
    // one line each, Shift-JIS. Install before the first Get.
    static void SetLog(std::function<void(const std::string&)> log);
    // The system's folder of SoundFonts, searched after $SDL_SOUNDFONTS;
    // ends in "/". Read when a synthesiser is made.
    static void SetSoundFontFolder(std::string folder);

    ~MidiSynth() override;
    MidiSynth(const MidiSynth&) = delete;
    MidiSynth& operator=(const MidiSynth&) = delete;

    // name: what the mixer's events call it; endTick: the tick of the last
    // event, where a play ends. The synthesiser's own reader tries the data
    // first, so that a file it cannot play is known before a play.
    MidiLoad Load(std::vector<std::uint8_t> data, std::string name, std::int64_t endTick,
                  std::unique_ptr<MidiSequence>& sequence);
    // The SoundFont in use; empty when none was found.
    const std::string& SoundFont() const { return m_soundFont; }
    const std::shared_ptr<AudioMixer>& Mixer() const { return m_mixer; }

private:
    friend class MidiSequence;
    explicit MidiSynth(std::shared_ptr<AudioMixer> mixer);
    bool LoadSoundFont();
    // Sets the gain at which a reference ensemble through the SoundFont
    // sounds at the level of WAVE music.
    void SetLevel();
    MidiLoad Try(const std::vector<std::uint8_t>& data, std::int64_t endTick);
    void MixInto(float* mix, std::uint32_t frames, std::uint64_t firstFrame) override;
    // Under the lock, after each block rendered: ran tells that the block
    // began there, so that the players had their turn in it.
    void FollowPlays(bool ran, std::uint64_t frame);
    // The players' events on their way to the synthesiser.
    static int Forward(void* synth, _fluid_midi_event_t* event);

    std::shared_ptr<AudioMixer> m_mixer;
    _fluid_hashtable_t* m_settings = nullptr;
    _fluid_synth_t* m_synth = nullptr;
    std::string m_soundFont;
    // Guards the synthesiser, its players and the list.
    std::mutex m_lock;
    std::vector<MidiSequence*> m_playing;
    std::vector<float> m_rendered;
    // A dense forte piece would pass full scale at the level of typical music.
    PeakLimiter m_limiter;
    // Frames rendered into the synthesiser's current block.
    std::uint32_t m_blockPhase = 0;
    // A file of thousands of events at one tick would hold the mixing thread,
    // and the mixer's lock with it, for seconds; no piece comes near these
    // (a note-on costs microseconds, a system reset some fifty). The events
    // beyond them are dropped.
    MidiEventAllowance m_notes{256, 8};
    MidiEventAllowance m_events{1024, 16};
    MidiEventAllowance m_sysex{64, 1};
    std::atomic<float> m_gain{1.0f};
    // A silent synthesiser of its own that tries files for Load.
    std::mutex m_trialLock;
    _fluid_hashtable_t* m_trialSettings = nullptr;
    _fluid_synth_t* m_trial = nullptr;
};

} // namespace platform
