#include "script/engine/QuiltorEngine.h"

#include "draw/wipe/TransitionWipe.h"
#include "frame/ErrorLog.h"
#include "frame/SoundFactoryHolder.h"
#include "frame/file/File.h"
#include "platform/Clock.h"
#include "platform/HostPath.h"
#include "platform/MessageBox.h"
#include "platform/StderrLines.h"
#include "platform/TextCodec.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/ScriptError.h"
#include "script/lang/Set.h"

using kivotasuGameKit::CTextString;

namespace {

constexpr std::uint32_t FramesPerSecond = 30;

CTextString Expanded(const char* text)
{
    CTextString value(text);
    CSet::GetInstance().Expand(value);
    return value;
}

// Started where there is no game, the player would show only the end screen
// and log to a log that is silent by default: an empty success. Said on
// stderr and in a box whatever the ERROR mode, as no script could set one yet.
void SayStartScriptMissing(const CTextString& start)
{
    const std::string text = "No game to start: the start script " + platform::ShownPath(start.GetStr()) + " cannot be opened.";
    platform::Stderr().Say("quiltor: " + text);
    platform::MessageBoxes().Show("quiltor", platform::Utf8ToCp932(text), platform::MessageBoxStyle::Ok, true);
}

} // namespace

void CQuiltorEngine::MainLoop()
{
    // The options, the game-folder script and the start of the game fail
    // apart: a bad stored line must not keep the game from starting.
    Guarded([&] {
        m_shown.Open();
        // Names the scripts give relatively resolve against the program's folder.
        kivotasuGameKit::CFile::SetCurrentDir(Expanded("{KARUTEMI}").GetStr());
        kivotasuGameKit::CSoundFactoryHolder::CreateSound(m_sampleSound, "data/sound/ほてぴら.mp3");
    });
    LoadOption();
    Guarded([&] {
        if (m_state.DisplayMode) m_shown.ChangeDisplayMode(true);
        CSet::GetInstance().Set("BASE", Expanded("{KARUTEMI}data/"));
        CTextString start = Expanded("{BASE}index.txt");
        start.ToSlash();
        m_state.AddHistory(start);
        if (!StartGame()) SayStartScriptMissing(start);
    });
    m_random.SetSeed(platform::Clock().Now());
    m_fps.SetFPS(FramesPerSecond);
    while (PumpMessages()) {
        Guarded([&] { RunState(); });
        WaitFrame();
    }
}

void CQuiltorEngine::RunState()
{
    switch (m_state.State) {
    case EngineState::RunTags: RunTags(); break;
    case EngineState::ClickWait: ClickWait(); break;
    case EngineState::TextDisplay: TextDisplay(); break;
    case EngineState::BackLog: BackLog(); break;
    case EngineState::ChoiceWait: ChoiceWait(); break;
    case EngineState::WindowHidden: WindowHidden(); break;
    case EngineState::Transition: Transition(); break;
    case EngineState::TimedWait: TimedWait(); break;
    case EngineState::ScriptEnd: ScriptEnd(); break;
    }
}

void CQuiltorEngine::RunStoredFile(const CTextString& name)
{
    if (m_reader.Read(name.GetStr()) != platform::ReadResult::Done) return;
    RunStoredTags(name);
    m_reader.Close();
}

void CQuiltorEngine::RunStoredTags(const CTextString& name)
{
    // Whatever escapes, the game's own reading after it yields and ends as a game's.
    struct StoredFileScope {
        bool& reading;
        ~StoredFileScope() { reading = false; }
    } scope{m_readingStoredFile = true};
    // Every failure has moved the reader past the tag that failed.
    for (bool failed = true; failed;) {
        failed = false;
        Caught([&] { RunTags(); },
               [&](const EScript& error) {
                   kivotasuGameKit::ErrorLog.Out("CQuiltorEngine::RunStoredFile %s: %s", name.c_str(), error.GetSaid().c_str());
                   failed = true;
               });
    }
}

bool CQuiltorEngine::StartGame()
{
    CTextString path = m_state.History[0];
    path.ToSlash();
    CSet::GetInstance().Set("BASE", path.LeftOfLast('/') + CTextString("/"));
    m_state.NameStem = path.LeftOfLast('.');
    RunStoredFile(Expanded("{KARUTEMI}system/GameFolder.qsd"));
    bool opened = true;
    Guarded([&] {
        m_files.LoadGlobals();
        m_state.ChangeState(EngineState::RunTags);
        const platform::ReadResult read = m_reader.Read(m_state.History[0].GetStr());
        if (read == platform::ReadResult::Done) return;
        m_state.ChangeState(EngineState::ScriptEnd);
        // Interrupted by the close, the script is there to start another
        // time: nothing is said, and the game before it ends without a place
        // for the close to keep.
        if (read == platform::ReadResult::Interrupted) {
            m_reader.Close();
            return;
        }
        m_state.RemoveFirstHistory();
        opened = false;
    });
    return opened;
}

void CQuiltorEngine::Restart(CTextString path)
{
    path.ToSlash();
    m_state.AddHistory(path);
    m_files.Keep(CPlayersFiles::Moment::OpenScript);
    Reset();
    // A recent script since removed, or a folder dropped: the end screen, said.
    if (!StartGame()) {
        const CTextString tried(kivotasuGameKit::CFile::NormalizePath(path.GetStr()));
        CScriptError::GetInstance().SayEnded("スクリプト『" + tried + "』が開けません。", {});
    }
    m_state.ChangeState(EngineState::RunTags);
}

void CQuiltorEngine::Reset()
{
    m_shown.BeginReset();
    m_engineTimer.Reset();
    // The black screen comes down as a blind; frames the timer catches up
    // within one step of it show nothing new.
    std::int32_t drawn = -1;
    for (std::uint32_t elapsed; PumpMessages() && (elapsed = m_engineTimer.Get()) < ResetWipeMs;) {
        if (const std::int32_t phase = std::int32_t(elapsed * 256 / ResetWipeMs); phase != drawn) {
            m_shown.Wipe(kivotasuGameKit::Draw::CTransitionWipe::BlindTop, phase);
            drawn = phase;
        }
        WaitFrame();
    }
    m_shown.EndReset();
    PumpMessages();

    m_text.Reset();
    m_acts.Reset();
    m_animations.Reset();
    m_backs.Reset();
    m_bgm.Reset();
    m_buttons.Reset();
    m_cuts.Reset();
    m_log.Reset();
    m_mouse.Reset();
    m_paints.Reset();
    m_select.Reset();
    m_sound.Reset();
    m_visuals.Reset();
    m_windows.Reset();
    m_state.Reset();
    m_reader.ClearCallStack();
    CSet::GetInstance().Clear(m_files.GlobalsUnsaved());
}
