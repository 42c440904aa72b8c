#include "platform/MidiSynth.h"

#include "platform/AudioOutput.h"
#include "platform/RepeatedLines.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform {

namespace {

// SoundFonts differ in level by ten decibels and more, as a whole and in
// their instruments' effects (the strings of one carry a chorus louder than
// their dry sound). A short ensemble of the usual General MIDI kind is
// measured through the SoundFont, effects and all, and the gain set that
// brings it to this RMS level (full scale 1): typical pieces then come out
// within a few decibels of WAVE music, at -16 dBFS.
constexpr double ReferenceLevel = 0.245;
// A note of the ensemble, held for the whole of it.
struct ReferenceNote {
    int channel;
    int program;
    int key;
    int velocity;
};
// Piano and string chords, a bass, a flute and drums, mezzo forte.
constexpr ReferenceNote Reference[] = {
    {0, 0, 60, 80}, {0, 0, 64, 80}, {0, 0, 67, 80}, {1, 48, 48, 80}, {1, 48, 55, 80},
    {1, 48, 64, 80}, {2, 33, 36, 90}, {3, 73, 79, 90}, {9, 0, 36, 90}, {9, 0, 42, 70},
};
constexpr double ReferenceSeconds = 1.0;
// After the measure the effects' tails die out to this peak, in at most the
// time of the longest reverb.
constexpr float SilentPeak = 1e-5f;
constexpr double LongestTailSeconds = 5.0;
// The limiter's ceiling: -1 dBFS.
constexpr float Ceiling = 0.89f;
// A looping piece is read again for every lap: one shorter than a block would
// be read in every block. A lap starts over no sooner than a block for each
// this many bytes of the file, which leaves reading it a few hundredths of
// the mixing thread's time; no real piece is that short.
constexpr std::size_t LapBytesPerBlock = 1024;
std::string soundFontFolder = "/usr/share/sounds/sf2/";

std::mutex logLock;
std::function<void(const std::string&)> logSink;
// FluidSynth says the same for every note of a flood, from the mixing thread.
RepeatedLines fluidLines;

void Log(const std::string& text)
{
    std::lock_guard<std::mutex> guard(logLock);
    if (logSink) logSink(text);
}

void FluidLog(int level, const char* message, void*)
{
    std::string text = "FluidSynth: ";
    text += message ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::lock_guard<std::mutex> guard(logLock);
    if (logSink) fluidLines.Pass(text, logSink);
    (void)level;
}

void FlushFluidLog()
{
    std::lock_guard<std::mutex> guard(logLock);
    if (logSink) fluidLines.Flush(logSink);
}

// $SDL_SOUNDFONTS (a list split at ";" or ":") first, then the system's.
std::vector<std::string> SoundFontCandidates()
{
    std::vector<std::string> candidates;
    if (const char* list = std::getenv("SDL_SOUNDFONTS")) {
        const std::string all(list);
        std::size_t start = 0;
        while (start <= all.size()) {
            const std::size_t end = std::min(all.find_first_of(";:", start), all.size());
            if (end > start) candidates.push_back(all.substr(start, end - start));
            start = end + 1;
        }
    }
    candidates.push_back(soundFontFolder + "default-GM.sf2");
    candidates.push_back(soundFontFolder + "TimGM6mb.sf2");
    return candidates;
}

std::mutex instanceLock;
std::shared_ptr<MidiSynth> instance;

} // namespace

void MidiSynth::SetLog(std::function<void(const std::string&)> log)
{
    // The counts held back go to the sink they were held for; at exit, before
    // the log's device is gone (the sink was installed after it was made).
    static std::once_flag flushAtExit;
    std::call_once(flushAtExit, [] { std::atexit(FlushFluidLog); });
    FlushFluidLog();
    std::lock_guard<std::mutex> guard(logLock);
    logSink = std::move(log);
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN}) fluid_set_log_function(level, &FluidLog, nullptr);
    // Information and debugging lines are only noise in the player's log.
    for (int level : {FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
}

void MidiSynth::SetSoundFontFolder(std::string folder)
{
    std::lock_guard<std::mutex> guard(instanceLock);
    soundFontFolder = std::move(folder);
}

std::shared_ptr<MidiSynth> MidiSynth::Get()
{
    std::shared_ptr<AudioMixer> mixer = Audio().Mixer();
    std::lock_guard<std::mutex> guard(instanceLock);
    if (!mixer) return nullptr;
    if (!instance || instance->m_mixer != mixer) {
        instance.reset();
        std::shared_ptr<MidiSynth> synth(new MidiSynth(mixer));
        if (!synth->m_synth) return nullptr;
        instance = synth;
        mixer->AddSource(instance.get());
    }
    return instance;
}

MidiSynth::MidiSynth(std::shared_ptr<AudioMixer> mixer)
    : m_mixer(std::move(mixer)), m_limiter(m_mixer->Rate(), Ceiling)
{
    m_settings = new_fluid_settings();
    if (!m_settings) return;
    fluid_settings_setnum(m_settings, "synth.sample-rate", m_mixer->Rate());
    fluid_settings_setstr(m_settings, "player.timing-source", "sample");
    m_synth = new_fluid_synth(m_settings);
    if (!m_synth) {
        Log("MidiSynth: FluidSynthのシンセサイザが作成できない");
        return;
    }
    if (LoadSoundFont())
        SetLevel();
    else
        Log("MidiSynth: SoundFontが見つからないのでMIDIは鳴らない ($SDL_SOUNDFONTS, " + soundFontFolder +
            "default-GM.sf2, TimGM6mb.sf2)");
}

MidiSynth::~MidiSynth()
{
    m_mixer->RemoveSource(this);
    if (m_synth) delete_fluid_synth(m_synth);
    if (m_settings) delete_fluid_settings(m_settings);
    if (m_trial) delete_fluid_synth(m_trial);
    if (m_trialSettings) delete_fluid_settings(m_trialSettings);
}

bool MidiSynth::LoadSoundFont()
{
    for (const std::string& candidate : SoundFontCandidates()) {
        if (!fluid_is_soundfont(candidate.c_str())) continue;
        if (fluid_synth_sfload(m_synth, candidate.c_str(), 1) == FLUID_FAILED) continue;
        m_soundFont = candidate;
        return true;
    }
    return false;
}

void MidiSynth::SetLevel()
{
    fluid_synth_set_gain(m_synth, 1.0f);
    for (const ReferenceNote& note : Reference) {
        if (note.channel != 9) fluid_synth_program_change(m_synth, note.channel, note.program);
        fluid_synth_noteon(m_synth, note.channel, note.key, note.velocity);
    }
    // The attacks are in the measure, as they are in music.
    const std::uint32_t rate = m_mixer->Rate();
    std::vector<float> out(std::size_t(rate * ReferenceSeconds) * 2);
    fluid_synth_write_float(m_synth, int(out.size() / 2), out.data(), 0, 2, out.data(), 1, 2);
    double power = 0;
    for (float sample : out) power += double(sample) * sample;
    // The reset ends the voices but keeps the effects' tails: the first play
    // would begin with them.
    fluid_synth_system_reset(m_synth);
    out.resize(std::size_t(fluid_synth_get_internal_bufsize(m_synth)) * 2);
    for (double left = rate * LongestTailSeconds; left > 0; left -= double(out.size()) / 2) {
        fluid_synth_write_float(m_synth, int(out.size() / 2), out.data(), 0, 2, out.data(), 1, 2);
        if (std::all_of(out.begin(), out.end(), [](float sample) { return std::fabs(sample) < SilentPeak; })) break;
    }
    const double rms = std::sqrt(power / double(rate * ReferenceSeconds * 2));
    fluid_synth_set_gain(m_synth, rms > 0 ? static_cast<float>(std::clamp(ReferenceLevel / rms, 0.05, 10.0)) : 1.0f);
}

MidiLoad MidiSynth::Load(std::vector<std::uint8_t> data, std::string name, std::int64_t endTick,
                         std::unique_ptr<MidiSequence>& sequence)
{
    sequence.reset();
    const MidiLoad load = data.size() > MaxFileBytes ? MidiLoad::Refused : Try(data, endTick);
    if (load == MidiLoad::Loaded)
        sequence.reset(new MidiSequence(shared_from_this(), std::move(data), std::move(name), endTick));
    return load;
}

MidiLoad MidiSynth::Try(const std::vector<std::uint8_t>& data, std::int64_t endTick)
{
    std::lock_guard<std::mutex> guard(m_trialLock);
    if (!m_trial) {
        m_trialSettings = new_fluid_settings();
        if (!m_trialSettings) return MidiLoad::NoPlayer;
        fluid_settings_setstr(m_trialSettings, "player.timing-source", "sample");
        fluid_settings_setint(m_trialSettings, "synth.reverb.active", 0);
        fluid_settings_setint(m_trialSettings, "synth.chorus.active", 0);
        m_trial = new_fluid_synth(m_trialSettings);
        if (!m_trial) {
            delete_fluid_settings(m_trialSettings);
            m_trialSettings = nullptr;
            return MidiLoad::NoPlayer;
        }
    }
    fluid_player_t* player = new_fluid_player(m_trial);
    if (!player) return MidiLoad::NoPlayer;
    MidiLoad load = MidiLoad::NoPlayer;
    if (fluid_player_add_mem(player, data.data(), data.size()) == FLUID_OK) {
        // Nothing of the piece reaches this synthesiser: it only runs the player.
        fluid_player_set_playback_callback(player, [](void*, fluid_midi_event_t*) { return FLUID_OK; }, nullptr);
        fluid_player_play(player);
        // The player reads the file in its first block and runs its clock in
        // the second; a player whose reader failed is done at once.
        const int frames = 2 * fluid_synth_get_internal_bufsize(m_trial);
        std::vector<float> out(static_cast<std::size_t>(frames) * 2);
        fluid_synth_write_float(m_trial, frames, out.data(), 0, 2, out.data(), 1, 2);
        const bool read = fluid_player_get_status(player) == FLUID_PLAYER_PLAYING &&
                          fluid_player_get_current_tick(player) >= 0 &&
                          (endTick == 0 || fluid_player_get_total_ticks(player) > 0);
        load = read ? MidiLoad::Loaded : MidiLoad::Refused;
    }
    delete_fluid_player(player);
    return load;
}

int MidiSynth::Forward(void* data, fluid_midi_event_t* event)
{
    MidiSynth& synth = *static_cast<MidiSynth*>(data);
    const int type = fluid_midi_event_get_type(event);
    MidiEventAllowance* allowance = nullptr;
    if (type == 0x90 && fluid_midi_event_get_velocity(event) > 0)
        allowance = &synth.m_notes;
    else if (type >= 0x80 && type < 0xF0)
        allowance = &synth.m_events;
    else if (type == 0xF0)
        allowance = &synth.m_sysex;
    if (allowance && !allowance->Take()) return FLUID_OK;
    return fluid_synth_handle_midi_event(synth.m_synth, event);
}

void MidiSynth::MixInto(float* mix, std::uint32_t frames, std::uint64_t firstFrame)
{
    std::lock_guard<std::mutex> guard(m_lock);
    // Without a SoundFont only the players run: the synthesiser has nothing to
    // sound, and its first block may be -inf all through.
    const bool heard = !m_soundFont.empty();
    if (heard) m_rendered.resize(static_cast<std::size_t>(frames) * AudioMixer::OutputChannels);
    // A block at a time, as the synthesiser runs its players, so that every
    // play is looked at after each block it had.
    const std::uint32_t block = static_cast<std::uint32_t>(fluid_synth_get_internal_bufsize(m_synth));
    for (std::uint32_t done = 0; done < frames;) {
        const bool ran = m_blockPhase == 0;
        if (ran)
            for (MidiEventAllowance* allowance : {&m_notes, &m_events, &m_sysex}) allowance->Refill();
        const std::uint32_t part = std::min(frames - done, block - m_blockPhase);
        if (heard) {
            float* out = m_rendered.data() + std::size_t{done} * AudioMixer::OutputChannels;
            fluid_synth_write_float(m_synth, static_cast<int>(part), out, 0, 2, out, 1, 2);
        } else {
            fluid_synth_process(m_synth, static_cast<int>(part), 0, nullptr, 0, nullptr);
        }
        m_blockPhase = (m_blockPhase + part) % block;
        done += part;
        FollowPlays(ran, firstFrame + done);
    }
    if (!heard) return;
    m_limiter.Process(m_rendered.data(), frames);
    const float gain = m_gain.load(std::memory_order_relaxed);
    for (std::size_t i = 0; i < m_rendered.size(); ++i) mix[i] += m_rendered[i] * gain;
}

void MidiSynth::FollowPlays(bool ran, std::uint64_t frame)
{
    for (std::size_t i = 0; i < m_playing.size();) {
        MidiSequence* sequence = m_playing[i];
        if (ran) {
            sequence->m_started = true;
            ++sequence->m_lapBlocks;
        }
        if (!sequence->m_started || !sequence->RanOut()) {
            ++i;
            continue;
        }
        sequence->m_ended = true;
        sequence->m_endNotice = true;
        m_playing.erase(m_playing.begin() + static_cast<std::ptrdiff_t>(i));
        m_mixer->Notify(AudioEventKind::End, sequence->m_name, frame);
        if (sequence->m_onEnd) sequence->m_onEnd();
    }
}

bool MidiSequence::RanOut()
{
    // The player itself ends two seconds after the last event, for the notes
    // to die away; the piece ends at its last event.
    if (fluid_player_get_status(m_player) != FLUID_PLAYER_DONE &&
        fluid_player_get_current_tick(m_player) < m_endTick)
        return false;
    if (!m_loop || m_endTick <= 0) return true;
    // Asked once a lap, not in every block the lap waits out: the player
    // counts them by walking every event of the file.
    if (m_lapTicks < 0) m_lapTicks = fluid_player_get_total_ticks(m_player);
    // A piece without ticks has no length to play again: it ends.
    if (m_lapTicks <= 0) return true;
    if (m_lapBlocks < std::max<std::size_t>(1, m_data.size() / LapBytesPerBlock)) return false;
    delete_fluid_player(m_player);
    // As the player's own loop does between laps.
    fluid_synth_system_reset(m_synth->m_synth);
    return !NewPlayer(0);
}

MidiSequence::MidiSequence(std::shared_ptr<MidiSynth> synth, std::vector<std::uint8_t> data, std::string name,
                           std::int64_t endTick)
    : m_synth(std::move(synth)), m_data(std::move(data)), m_name(std::move(name)), m_endTick(endTick)
{
}

MidiSequence::~MidiSequence()
{
    Stop();
}

void MidiSequence::DropPlayer()
{
    m_endNotice = false;
    if (!m_player) return;
    auto& playing = m_synth->m_playing;
    playing.erase(std::remove(playing.begin(), playing.end(), this), playing.end());
    m_tick = PlayerTick();
    delete_fluid_player(m_player);
    m_player = nullptr;
    // A player that goes leaves its notes sounding.
    fluid_synth_all_notes_off(m_synth->m_synth, -1);
}

bool MidiSequence::Play(std::int64_t tick, bool loop)
{
    AudioMixer& mixer = *m_synth->m_mixer;
    mixer.CatchUp();
    mixer.SetSourceLine(m_synth.get(), m_line);
    bool played = false;
    mixer.Change([&](std::uint64_t frame) {
        std::lock_guard<std::mutex> guard(m_synth->m_lock);
        DropPlayer();
        if (!StartPlayer(tick, loop)) return;
        mixer.Notify(AudioEventKind::Play, m_name, frame);
        played = true;
    });
    return played;
}

bool MidiSequence::StartPlayer(std::int64_t tick, bool loop)
{
    if (!NewPlayer(tick)) return false;
    m_loop = loop;
    m_ended = false;
    m_synth->m_playing.push_back(this);
    m_synth->m_gain.store(m_gain, std::memory_order_relaxed);
    return true;
}

bool MidiSequence::NewPlayer(std::int64_t tick)
{
    m_player = new_fluid_player(m_synth->m_synth);
    if (!m_player) return false;
    if (fluid_player_add_mem(m_player, m_data.data(), m_data.size()) != FLUID_OK) {
        delete_fluid_player(m_player);
        m_player = nullptr;
        return false;
    }
    fluid_player_set_playback_callback(m_player, &MidiSynth::Forward, m_synth.get());
    m_started = false;
    m_lapBlocks = 0;
    m_lapTicks = -1;
    // Before the play: the player takes a seek only while it has not loaded
    // the file, and would sound the start for a block otherwise.
    if (tick > 0) fluid_player_seek(m_player, static_cast<int>(std::min(tick, m_endTick)));
    fluid_player_play(m_player);
    m_tick = tick;
    return true;
}

void MidiSequence::Stop()
{
    AudioMixer& mixer = *m_synth->m_mixer;
    mixer.CatchUp();
    mixer.Change([&](std::uint64_t frame) {
        std::lock_guard<std::mutex> guard(m_synth->m_lock);
        if (!m_player) return;
        const bool wasPlaying = !m_ended;
        DropPlayer();
        if (wasPlaying) mixer.Notify(AudioEventKind::Stop, m_name, frame);
    });
}

void MidiSequence::Cue(std::int64_t tick)
{
    Stop();
    std::lock_guard<std::mutex> guard(m_synth->m_lock);
    m_tick = tick;
}

bool MidiSequence::IsPlaying()
{
    m_synth->m_mixer->CatchUp();
    std::lock_guard<std::mutex> guard(m_synth->m_lock);
    return m_player && !m_ended;
}

std::int64_t MidiSequence::CurrentTick()
{
    m_synth->m_mixer->CatchUp();
    std::lock_guard<std::mutex> guard(m_synth->m_lock);
    return m_player ? PlayerTick() : m_tick;
}

std::int64_t MidiSequence::PlayerTick() const
{
    if (!m_started) return m_tick;
    // A tempo of 0 stops the player's clock at a negative tick; a lap that
    // waits to start over stays at its end.
    return std::clamp<std::int64_t>(fluid_player_get_current_tick(m_player), 0, m_endTick);
}

void MidiSequence::SetEndHandler(std::function<void()> handler)
{
    std::lock_guard<std::mutex> guard(m_synth->m_lock);
    m_onEnd = std::move(handler);
}

void MidiSequence::SetGain(float gain)
{
    m_synth->m_mixer->CatchUp();
    std::lock_guard<std::mutex> guard(m_synth->m_lock);
    m_gain = std::clamp(gain, 0.0f, 1.0f);
    if (m_player && !m_ended) m_synth->m_gain.store(m_gain, std::memory_order_relaxed);
}

} // namespace platform
