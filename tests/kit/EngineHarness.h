#pragma once
// Runs the real engine on the headless platform: virtual clock, headless
// window, display and keyboard, message boxes answered from a queue, input
// scripted by frame (or by the turns of a script that reads on without a
// wait), and a record of the run (tag trace, state per frame,
// screen and back plane hashes, every script error whatever the ERROR mode,
// and what the headless audio device played).
// The caller installs the file system that holds the game.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "draw/FastDraw.h"
#include "frame/WindowApp.h"
#include "platform/AudioOutput.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/HeadlessAudioOutput.h"
#include "platform/HeadlessDisplay.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/Keyboard.h"
#include "platform/MessageBox.h"
#include "platform/StderrLines.h"
#include "script/engine/EngineProbe.h"
#include "script/engine/GlobalSettings.h"
#include "script/engine/InputState.h"
#include "script/engine/QuiltorEngine.h"
#include "script/lang/ScriptError.h"
#include "script/lang/Set.h"

namespace testkit {

// An options file that shows text and transitions at once, so that scenes
// stand from their first frames.
inline constexpr const char* InstantOptions =
    "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][SYSTEM CONTROL=\"EFFECT\" TIME=\"0\"]";

inline std::uint64_t HashBytes(const std::uint8_t* bytes, std::size_t size, std::uint64_t hash = 0xcbf29ce484222325ull)
{
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 0x100000001b3ull;
    return hash;
}

// FNV-1a over the rows of a surface, padding left out.
inline std::uint64_t HashSurface(kivotasuGameKit::CSurfaceInfo& surface)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    if (!surface.IsCreated()) return hash;
    kivotasuGameKit::CSurfaceLock lock(surface);
    if (!lock) return hash;
    const std::size_t row = static_cast<std::size_t>(surface.GetWidth()) * surface.GetBytesPerPixel();
    for (int y = 0; y < surface.GetHeight(); ++y)
        hash = HashBytes(surface.GetPixelBytes() + static_cast<std::ptrdiff_t>(y) * surface.GetPitch(), row, hash);
    return hash;
}

// What a fresh process starts with in the engine's process-wide state.
inline void ResetEngineGlobals()
{
    ResetGlobalSettings();
    CSet::GetInstance().Clear();
    CTagAttributes::GetCurrent().Clear();
    CInputState::GetInstance().Event = InputEvent::None;
    CInputState::GetInstance().InstantText = 0;
    CScriptError& reporter = CScriptError::GetInstance();
    reporter.SetMode(0);
    reporter.SetTagText("");
    platform::Stderr().Flush();
}

class EngineRun : public IEngineProbe {
public:
    struct TagRecord {
        CTagAttributes record;
        std::uint32_t offset;
        EngineState before;
        EngineState after;
        bool ran;
        std::uint32_t frame; // frames waited before the tag
        std::uint32_t time;  // the clock when it ran
        bool raised;         // its handler raised (a script error, say)
    };
    struct FrameRecord {
        EngineState state;
        std::uint32_t time;
    };
    struct Dump {
        std::uint64_t screen;
        std::uint64_t back;
    };
    struct PresentRecord {
        std::uint32_t time;     // the clock
        std::uint32_t frame;    // frames waited before it
        std::uint64_t picture;  // the window's whole picture after it
    };

    EngineRun()
    {
        auto windows = std::make_unique<platform::HeadlessWindowSystem>();
        m_windows = windows.get();
        platform::InstallWindows(std::move(windows));
        auto displays = std::make_unique<platform::HeadlessDisplaySystem>();
        m_displays = displays.get();
        platform::InstallDisplays(std::move(displays));
        auto keyboards = std::make_unique<platform::ScriptedKeyboardSystem>();
        m_keyboard = keyboards.get();
        platform::InstallKeyboards(std::move(keyboards));
        auto clock = std::make_unique<platform::VirtualClock>();
        m_clock = clock.get();
        platform::InstallClock(std::move(clock));
        auto audio = std::make_unique<platform::HeadlessAudioOutput>();
        m_audio = audio.get();
        platform::InstallAudio(std::move(audio));
        auto boxes = std::make_unique<platform::HeadlessMessageBoxes>();
        m_boxes = boxes.get();
        platform::InstallMessageBoxes(std::move(boxes));
        auto dialogs = std::make_unique<platform::HeadlessDialogs>();
        m_dialogs = dialogs.get();
        platform::InstallDialogs(std::move(dialogs));
        platform::InstallFonts(std::make_unique<platform::PinnedFonts>());

        ResetEngineGlobals();
        CScriptError::GetInstance().SetObserver([this](const kivotasuGameKit::CTextString& message) { errors.push_back(message.GetStr()); });
    }

    ~EngineRun() override
    {
        CScriptError::GetInstance().SetObserver(nullptr);
        CScriptError::GetInstance().SetMode(0);
        platform::InstallMessageBoxes(std::make_unique<platform::HeadlessMessageBoxes>());
        platform::InstallDialogs(nullptr);
    }

    // Input takes effect in the frame after the one named: frame 0 is before
    // the first frame wait.
    void At(std::uint32_t frame, std::function<void(EngineRun&)> action) { m_actions.emplace(frame, std::move(action)); }
    // The same at a turn the window has amid a script read on without a wait
    // (from 1): it takes effect at the next turn, or in the next frame.
    void AtTurn(std::uint32_t turn, std::function<void(EngineRun&)> action) { m_turnActions.emplace(turn, std::move(action)); }
    // The cursor goes to (x, y), then the button goes down and, a frame
    // later (or in the same frame, as a touchpad's tap), up.
    void Click(std::uint32_t frame, int x = 320, int y = 240, std::uint32_t heldFrames = 1)
    {
        MoveCursor(frame, x, y);
        At(frame, [x, y](EngineRun& run) { run.Post(platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, platform::MakePointParam(x, y)); });
        At(frame + heldFrames, [x, y](EngineRun& run) { run.Post(platform::WM_LBUTTONUP, 0, platform::MakePointParam(x, y)); });
    }
    void MoveCursor(std::uint32_t frame, int x, int y)
    {
        At(frame, [x, y](EngineRun& run) { run.m_windows->MoveCursor({x, y}); });
    }
    void RightClick(std::uint32_t frame)
    {
        At(frame, [](EngineRun& run) { run.Post(platform::WM_RBUTTONDOWN, platform::MK_RBUTTON, 0); });
        At(frame + 1, [](EngineRun& run) { run.Post(platform::WM_RBUTTONUP, 0, 0); });
    }
    void Wheel(std::uint32_t frame, int delta)
    {
        At(frame, [delta](EngineRun& run) {
            run.Post(platform::WM_MOUSEWHEEL, static_cast<std::uintptr_t>(static_cast<std::uint16_t>(delta)) << 16, 0);
        });
    }
    // Key codes are the scan codes the engine reads.
    void Key(std::uint32_t frame, std::uint8_t code, std::uint32_t frames = 1)
    {
        At(frame, [code](EngineRun& run) { run.m_keyboard->Hold(code); });
        At(frame + frames, [code](EngineRun& run) { run.m_keyboard->Release(code); });
    }
    // The window's command message, as the menu or the rest of the system
    // sends it, commands the menu does not offer included.
    void Command(std::uint32_t frame, std::uint32_t command)
    {
        At(frame, [command](EngineRun& run) { run.Post(platform::WM_COMMAND, command, 0); });
    }
    void Close(std::uint32_t frame)
    {
        At(frame, [](EngineRun& run) { run.Post(platform::WM_CLOSE, 0, 0); });
    }
    // A message to the player's window, as the window system sends it.
    void Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
    {
        m_windows->PostMessage(m_window, message, wParam, lParam);
    }
    // Once the end screen shows, its fade is skipped and the window closed a
    // frame later, after one turn of its input loop: from there on every frame
    // only draws it again.
    void CloseAtScriptEnd() { m_closeAtScriptEnd = true; }
    // Tags still count towards the limit of Run; the trace stays empty.
    void RecordTags(bool record) { m_recordTags = record; }
    // The clock moves on by a millisecond every `tags` tags, as it does over
    // slow ones (pictures decoded, files read); otherwise it stands still in
    // tags.
    void TagsTakeAMillisecond(std::uint32_t tags) { m_tagsAMillisecond = tags; }
    void DumpAt(std::uint32_t frame) { m_dumpFrames.insert(frame); }
    // Every present of the run goes into presented.
    void RecordPresents()
    {
        m_displays->OnPresent([this] {
            const platform::PixelMemory& picture = m_displays->GetState().picture;
            presented.push_back({m_clock->Now(), m_frame, HashBytes(picture.data(), picture.size())});
        });
    }
    // Writes each dump as BMP files into the folder (internal name) as well.
    void SetDumpFolder(std::string folder) { m_dumpFolder = std::move(folder); }
    void Answer(platform::MessageBoxAnswer answer) { m_boxes->Push(answer); }

    // Runs the player until its window closes, closing it after maxFrames
    // frames or maxTags tags.
    void Run(std::uint32_t maxFrames, std::uint32_t maxTags = 100000)
    {
        m_maxFrames = maxFrames;
        m_maxTags = maxTags;
        App app(*this);
        app.Run();
        m_displays->OnPresent(nullptr);
    }

    void OnTag(const CTagAttributes& record, std::uint32_t offset, EngineState before, EngineState after,
               bool ran, bool raised) override
    {
        if (m_recordTags) trace.push_back({record, offset, before, after, ran, m_frame, m_clock->Now(), raised});
        if (++m_tags == m_maxTags) Post(platform::WM_CLOSE, 0, 0);
        if (m_tagsAMillisecond != 0 && m_tags % m_tagsAMillisecond == 0) m_clock->Advance(1);
    }

    void OnFrame(std::uint32_t frame) override
    {
        m_frame = frame;
        CQuiltorEngine* engine = CQuiltorEngine::GetInstance();
        frames.push_back({engine->GetGameState().State, m_clock->Now()});
        if (m_dumpFrames.count(frame)) TakeDump(*engine, frame);
        auto range = m_actions.equal_range(frame);
        for (auto it = range.first; it != range.second; ++it) it->second(*this);
        if (m_closeAtScriptEnd && frames.back().state == EngineState::ScriptEnd) {
            if (++m_endScreenFrames == 1) m_clock->Advance(EndScreenFadeMs);
            if (m_endScreenFrames == 2) Post(platform::WM_CLOSE, 0, 0);
        }
        if (frame == m_maxFrames) Post(platform::WM_CLOSE, 0, 0);
    }

    void OnTurn(std::uint32_t turn) override
    {
        turns = turn;
        auto range = m_turnActions.equal_range(turn);
        for (auto it = range.first; it != range.second; ++it) it->second(*this);
    }

    // The frames (from 1) in which the engine was in the state.
    std::vector<std::uint32_t> FramesIn(EngineState state) const
    {
        std::vector<std::uint32_t> found;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (frames[i].state == state) found.push_back(static_cast<std::uint32_t>(i + 1));
        }
        return found;
    }
    // The trace entries of one tag, in order.
    std::vector<const TagRecord*> Tags(TagId id) const
    {
        std::vector<const TagRecord*> found;
        for (const TagRecord& entry : trace) {
            if (entry.record.GetId() == id) found.push_back(&entry);
        }
        return found;
    }

    platform::HeadlessWindowSystem& Windows() { return *m_windows; }
    platform::HeadlessDisplaySystem& Displays() { return *m_displays; }
    platform::HeadlessMessageBoxes& Boxes() { return *m_boxes; }
    // Menus and dialogs shown, and their answers.
    platform::HeadlessDialogs& Dialogs() { return *m_dialogs; }
    platform::ScriptedKeyboardSystem& Keyboard() { return *m_keyboard; }
    platform::WindowHandle Window() const { return m_window; }
    platform::VirtualClock& Clock() { return *m_clock; }
    // Everything mixed, interleaved stereo at the device's rate, from the
    // first sound made on.
    platform::HeadlessAudioOutput& Audio() { return *m_audio; }

    // What was heard from one clock time to another, interleaved stereo.
    std::vector<std::int16_t> Heard(std::uint32_t from, std::uint32_t to)
    {
        const std::vector<std::int16_t> all = m_audio->Recording();
        const std::uint32_t start = m_audio->TimeOf(0);
        auto at = [&](std::uint32_t time) {
            return static_cast<std::ptrdiff_t>(
                std::min<std::size_t>(all.size(), std::size_t{time - start} * m_audio->Rate() / 1000 * 2));
        };
        return {all.begin() + at(from), all.begin() + at(to)};
    }

    struct SoundRecord {
        std::uint32_t time; // the clock
        platform::AudioEventKind kind;
        std::string file; // the name the sound was opened with
    };
    // Every start, stop and end of a sound, in order.
    std::vector<SoundRecord> Sounds()
    {
        std::vector<SoundRecord> sounds;
        for (const platform::AudioEvent& event : m_audio->Events())
            sounds.push_back({m_audio->TimeOf(event.frame), event.kind, event.name});
        return sounds;
    }

    std::vector<TagRecord> trace;
    std::vector<FrameRecord> frames;
    // The turns the window had amid scripts read on without a wait.
    std::uint32_t turns = 0;
    std::map<std::uint32_t, Dump> dumps;
    std::vector<PresentRecord> presented;
    std::vector<std::string> errors;

private:
    class App : public kivotasuGameKit::CWindowApp {
    public:
        explicit App(EngineRun& run) : m_run(run) {}
        ~App() noexcept override { StopThread(); }

        int GetWindowOption(kivotasuGameKit::CWindowOption& option) override
        {
            option.caption = "KARUTEMI";
            option.className = "KIVOSDKAPPLICATION";
            option.style = 0x00CB0000;
            return 0;
        }
        void MainThread() override
        {
            m_run.m_window = GetHWnd();
            m_run.m_frame = 0;
            CQuiltorEngine engine(&m_run);
            auto start = m_run.m_actions.equal_range(0);
            for (auto it = start.first; it != start.second; ++it) it->second(m_run);
            engine.Start();
        }

    private:
        EngineRun& m_run;
    };

    void TakeDump(CQuiltorEngine& engine, std::uint32_t frame)
    {
        auto& screen = *engine.Shown().GetScreenPlane().GetSurfaceInfo();
        auto& back = *engine.Shown().GetBackPlane().GetSurfaceInfo();
        dumps[frame] = {HashSurface(screen), HashSurface(back)};
        if (m_dumpFolder.empty()) return;
        const std::string stem = m_dumpFolder + "\\frame" + std::to_string(frame);
        screen.SaveBitmap(stem + "-screen.bmp", nullptr);
        back.SaveBitmap(stem + "-back.bmp", nullptr);
    }

    platform::HeadlessWindowSystem* m_windows = nullptr;
    platform::HeadlessDisplaySystem* m_displays = nullptr;
    platform::ScriptedKeyboardSystem* m_keyboard = nullptr;
    platform::VirtualClock* m_clock = nullptr;
    platform::HeadlessMessageBoxes* m_boxes = nullptr;
    platform::HeadlessAudioOutput* m_audio = nullptr;
    platform::HeadlessDialogs* m_dialogs = nullptr;
    platform::WindowHandle m_window = 0;
    std::multimap<std::uint32_t, std::function<void(EngineRun&)>> m_actions;
    std::multimap<std::uint32_t, std::function<void(EngineRun&)>> m_turnActions;
    std::set<std::uint32_t> m_dumpFrames;
    std::string m_dumpFolder;
    std::uint32_t m_maxFrames = 0;
    std::uint32_t m_maxTags = 0;
    std::uint32_t m_tags = 0;
    bool m_recordTags = true;
    std::uint32_t m_tagsAMillisecond = 0;
    bool m_closeAtScriptEnd = false;
    std::uint32_t m_endScreenFrames = 0;
    // Longer than the end screen's fade-in.
    static constexpr std::uint32_t EndScreenFadeMs = 10000;
    std::uint32_t m_frame = 0;
};

} // namespace testkit
