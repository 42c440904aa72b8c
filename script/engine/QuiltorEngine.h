#pragma once
// The engine: the one object that holds the whole game (what the window
// shows, input, game state, timers, every tag-element manager, the message
// text and the script reader) and runs it frame by frame on the application
// thread.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "draw/KeyInput.h"
#include "frame/EScript.h"
#include "frame/Exceptions.h"
#include "frame/MersenneTwister.h"
#include "frame/ReadInterrupted.h"
#include "frame/FpsTimer.h"
#include "frame/Timer.h"
#include "platform/Dialogs.h"
#include "script/engine/BgmPlayer.h"
#include "script/engine/Caught.h"
#include "script/engine/EngineWinHook.h"
#include "script/engine/FrameInput.h"
#include "script/engine/GameState.h"
#include "script/engine/MainObject.h"
#include "script/engine/MouseCursor.h"
#include "script/engine/PlayersFiles.h"
#include "script/engine/ShownScreen.h"
#include "script/lang/ScriptError.h"
#include "script/lang/ScriptReader.h"
#include "script/tag/AnimateManager.h"
#include "script/tag/ButtonManager.h"
#include "script/tag/LayerManagers.h"
#include "script/tag/Log.h"
#include "script/tag/Select.h"
#include "script/tag/Sound.h"
#include "script/tag/Text.h"
#include "script/tag/WindowManager.h"
#include "sound/SoundFactory.h"

class IEngineProbe;

class CQuiltorEngine : public CMainObject, private IKeptPlay {
public:
    using CTextString = kivotasuGameKit::CTextString;
    using Plane = kivotasuGameKit::Draw::CFastPlane;

    // How long the blind of a reset (a load, a restart) takes.
    static constexpr std::uint32_t ResetWipeMs = 1024;

    explicit CQuiltorEngine(IEngineProbe* probe = nullptr);
    ~CQuiltorEngine() override;

    // The engine of the process, null while none exists.
    static CQuiltorEngine* GetInstance();

    void Start() override;
    void Wait(std::uint32_t ms) override;
    void PostClose() override;
    kivotasuGameKit::IWindowApp* GetApp() override { return m_app; }
    bool PumpMessages() override;
    void MainLoop() override;
    std::uint8_t GetAppFlag() override;
    void SetAppFlag(std::uint8_t flag) override;

    // Starting and restarting the game; false when the script cannot be
    // opened (a read the close interrupted is no such failure).
    bool StartGame();
    void Restart(CTextString path);
    void Reset() override;

    // One pass of the tag dispatcher (state 0): up to a tag that returns to
    // the main loop. A script that reads on and on without one gives the
    // window a turn every frame's time of tags (a few thousand at most): its
    // input is answered and reading goes on, with no frame waited for.
    void RunTags();
    // The line that says why and where a script ended without END.
    void SayScriptRanOut();

    // The wait states and their input.
    void ClickWait();
    // The click wait's end: the cursor back, and the new line or page of L or P.
    void LeaveClickWait(WaitKind ending);
    // Jumps to the target of the button just chosen (a choice or a function
    // button): false when the close interrupted the read of its script, and
    // the wait stays.
    bool JumpToChosenButton();
    void TextDisplay();
    void BackLog();
    void ChoiceWait();
    void WindowHidden();
    void Transition();
    void TimedWait();
    void ScriptEnd();
    // Reads the keys and takes the mouse edges for the frame.
    void PollInput();
    void CheckMouse();
    void CheckKey();
    // The right-button menu at the mouse; the chosen command reaches the
    // window as a command message.
    void PopupMenu();
    // The menu as it would show now.
    platform::Menu BuildPopupMenu();
    void LabelSaves(platform::Menu& menu) const;
    // The global variable "スキップ機能": "1" is on.
    bool IsSceneSkipOn() const;
    void ToggleSceneSkip();
    // The settings sheet (speed, volume, version) and the custom-skip dialog.
    void ShowSettingDialog();
    void CustomSkipDialog();
    // The volume page's sample sound at the volume, unless it is sounding.
    void PlayVolumeSample(std::int32_t volume);
    // Window frame n becomes the text window's frame.
    void SelectWindowFrame(std::int32_t n);

    // Bodies of the element-change, SAVE, SCREEN and TITLE tags.
    void ApplyElementTag(CTagAttributes& record, TAG::CElementManager& manager);
    void FinishElementChange(CTagAttributes& record, TAG::CElementManager& manager);
    void OnEndElementTag(CTagAttributes& record, TAG::CElementManager& manager);
    void OnEndAllElementsTag(CTagAttributes& record, TAG::CElementManager& manager);
    void OnHideElementTag(CTagAttributes& record, TAG::CElementManager& manager);
    void OnSaveTag(const CTagAttributes& record);
    void OnTitleTag(const CTagAttributes& record);
    void OnScreenTag(const CTagAttributes& record);
    void OnClickWaitTag(CTagAttributes& record, WaitKind kind);
    void OnWriteTag(CTagAttributes& record);
    void OnWaitTag(const CTagAttributes& record);
    void OnSystemTag(CTagAttributes& record);
    void OnNameTextTag(const CTagAttributes& record);
    void OnPasteTag(CTagAttributes& record);
    void OnEndButtonTag();
    void OnPaintTag(CTagAttributes& record);
    void OnEndSelectTag(CTagAttributes& record);
    // ACT and PAINT are refused while a visual is shown.
    bool RefusedInVisual();
    // TL and TP, also run by the click waits of L and P.
    void NewLine();
    void NewPage();
    void OnCursorTag(const CTagAttributes& record);
    void SetFont(std::int32_t n);

    // The presets 0 to 4 of the skip modes.
    void SetSkipPattern(std::uint32_t pattern);

    // The player's stored files: the saves, the global variables, the options.
    CPlayersFiles& Files() { return m_files; }
    // The options file's tags, run once at the start: one that stops short of
    // the end (a wait, an unclosed tag, a JUMP, the close) leaves the file as
    // it is.
    void LoadOption();
    // A load, refused before anything is reset when the save cannot be read.
    void LoadResume();
    void LoadQuick();
    void LoadSlot(int n);
    void LoadAutoSave(int n);
    // The screen as a PDT10 picture under the name the save dialog gives; it
    // proposes the first free "Quiltor%02d.pdt" of the current folder.
    void SaveScreenPicture();

    // Reports the error as a script error and ends the script.
    void FailScript(const EScript& error);

    // The parts, for the handlers and the states.
    CGameState& GetGameState() { return m_state; }
    // What the window shows.
    CShownScreen& Shown() { return m_shown; }
    CScriptReader& GetReader() { return m_reader; }
    TAG::CActManager& GetActs() { return m_acts; }
    TAG::CAnimateManager& GetAnimations() { return m_animations; }
    TAG::CBackManager& GetBacks() { return m_backs; }
    CBgmPlayer& GetBgm() { return m_bgm; }
    TAG::CButtonManager& GetButtons() { return m_buttons; }
    TAG::CCutManager& GetCuts() { return m_cuts; }
    TAG::CLog& GetLog() { return m_log; }
    TAG::CPaintManager& GetPaints() { return m_paints; }
    TAG::CSelect& GetSelect() { return m_select; }
    TAG::CSound& GetSound() { return m_sound; }
    TAG::CVisualManager& GetVisuals() { return m_visuals; }
    TAG::CWindowManager& GetWindows() { return m_windows; }
    TAG::CText& GetText() { return m_text; }
    std::uint32_t GetFrameCount() const { return m_frames; }
    const CTextString& GetLastScriptFolder() const { return m_lastScriptFolder; }
    void SetLastScriptFolder(const CTextString& folder) { m_lastScriptFolder = folder; }

    // Runs a tag's work: a tag the dispatcher read from start, a button's
    // jump at a wait, the picture of a transition or of the end screen. The
    // one catch of EReadInterrupted: when the close interrupted a read of it,
    // false, with nothing said, and the place before the tag kept for the
    // close to save: the reader back at start, or the wait as it was.
    template <class Step> bool RanWhole(Step step, std::optional<std::uint32_t> start = std::nullopt);
    // Runs a state handler, a start-up step or a window command under the
    // error policy: an EScript or a failed allocation is reported and ends
    // the script in the end screen; the player itself goes on.
    template <class Step> void Guarded(Step step);

private:
    void RunState();
    // Story text that holds a character layout skips, or a half-width
    // katakana it spreads out, is said once a script for each, at the first.
    void WarnHalfWidth(const CTextString& body);
    // The window's turn amid a script read on without a wait: a transition a
    // tag started runs and the input is answered; what the tags set up
    // otherwise waits for the wait. False when it took the engine out of
    // reading.
    bool TakeTurn();
    // A transition started by a tag that reads on (a PASTE into a painted
    // picture) runs before record, read from start, a tag that would take
    // its place; meanwhile the reader rests at record, so a save made then
    // resumes there. False when the transition's input took the engine
    // elsewhere (a load, a restart, the close).
    bool RunTransitionBefore(CTagAttributes& record, std::uint32_t start);
    // The frame timer's wait, counted for the probe.
    void WaitFrame();
    // One pass of the dispatcher over a stored file (options, game folder):
    // a bad tag is logged and the tags after it still run.
    void RunStoredFile(const CTextString& name);
    // The same over the stored file the reader holds, which stays open.
    void RunStoredTags(const CTextString& name);
    // What the player's files keep of the play.
    const CTextString& NameStem() const override { return m_state.NameStem; }
    Script HeldScript() const override { return {m_reader.GetName(), m_reader.Text()}; }
    bool StoryEnded() const override;
    bool AutoSaves() const override { return m_state.AutoSave != 0; }
    bool AsksOverwrite() const override { return m_state.OverwriteCheck != 0; }
    void WriteSave(kivotasuGameKit::CTextFileWriter& writer) override;
    void WriteOptions(kivotasuGameKit::CTextFileWriter& writer) override;
    void Take(kivotasuGameKit::CFile& save) override;
    // The tag a save ends with, which takes its load back to the wait it was taken in.
    void WriteResumeTag(kivotasuGameKit::CTextFileWriter& writer);
    // The picture an EFFECT names, its key colour set; null when it cannot
    // be had.
    Plane* EffectPicture(const CTextString& name);

    kivotasuGameKit::IWindowApp* m_app = nullptr;
    // First: the screen manager it holds takes the planes of the parts as
    // they are made.
    CShownScreen m_shown{{m_visuals, m_backs, m_acts, m_paints, m_buttons, m_windows, m_text, m_log, m_state}};
    kivotasuGameKit::CSoundFactory m_soundFactory;
    CEngineWinHook m_winHook;
    CMouseCursor m_mouse;
    kivotasuGameKit::CKeyInput m_keyInput;
    CGameState m_state;
    kivotasuGameKit::CTimer m_engineTimer;
    kivotasuGameKit::CMersenneTwister m_random;
    kivotasuGameKit::CFpsTimer m_fps;
    TAG::CActManager m_acts;
    TAG::CAnimateManager m_animations;
    TAG::CBackManager m_backs;
    CBgmPlayer m_bgm;
    TAG::CButtonManager m_buttons;
    TAG::CCutManager m_cuts;
    TAG::CLog m_log;
    TAG::CPaintManager m_paints;
    TAG::CSelect m_select;
    TAG::CSound m_sound;
    TAG::CVisualManager m_visuals;
    TAG::CWindowManager m_windows;
    TAG::CText m_text;
    CScriptReader m_reader;
    CPlayersFiles m_files{*this};
    // The volume page's preview.
    kivotasuGameKit::CSmartPtr<kivotasuGameKit::ISound> m_sampleSound;
    CTextString m_lastScriptFolder;
    // The main window's caption as TITLE last set it.
    CTextString m_caption = "KARUTEMI";

    IEngineProbe* m_probe;
    CFrameInput m_frameInput;
    std::uint32_t m_frames = 0;
    // The window's turns amid scripts read on without a wait, for the probe.
    std::uint32_t m_turns = 0;
    // The dispatcher is reading a stored file (options, game folder) through:
    // the window has no turn, whose input could take the reader elsewhere.
    bool m_readingStoredFile = false;
    // The scripts whose story text was said to hold a character not shown
    // (false), and a half-width katakana (true).
    std::set<std::pair<std::string, bool>> m_halfWidthSaid;
};

template <class Step> bool CQuiltorEngine::RanWhole(Step step, std::optional<std::uint32_t> start)
{
    try {
        step();
        return true;
    } catch (const EReadInterrupted&) {
        if (start) {
            m_reader.Seek(*start);
            m_state.ChangeState(EngineState::RunTags);
        }
        return false;
    }
}

template <class Step> void CQuiltorEngine::Guarded(Step step)
{
    Caught(step, [this](const EScript& error) { FailScript(error); });
}
