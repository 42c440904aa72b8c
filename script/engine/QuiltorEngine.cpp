#include "script/engine/QuiltorEngine.h"

#include "frame/AppManager.h"
#include "frame/WindowApp.h"
#include "frame/file/FileBounds.h"
#include "script/engine/EngineProbe.h"
#include "script/lang/ScriptError.h"

using kivotasuGameKit::CTextString;

namespace {

CQuiltorEngine* g_engine = nullptr;

} // namespace

CQuiltorEngine::CQuiltorEngine(IEngineProbe* probe)
    : m_winHook(*this), m_keyInput(false), m_probe(probe)
{
    g_engine = this;
    m_log.SetText(&m_text);
    m_paints.SetText(&m_text);
    m_windows.SetText(&m_text);
    m_buttons.SetText(&m_text);
    m_buttons.SetMouse(&m_mouse);
    CScriptError::GetInstance().SetCloseHandler([this] { PostClose(); });
    // The tags open their files as they are read.
    kivotasuGameKit::SetOverBoundSink([](const CTextString& message) {
        CScriptError& errors = CScriptError::GetInstance();
        errors.Warn(message, errors.Here());
    });
}

CQuiltorEngine::~CQuiltorEngine()
{
    // Every close ends here, the window's and a signal's alike. Nothing
    // waits for the user now: failures go to stderr.
    m_files.Keep(CPlayersFiles::Moment::Close);
    CScriptError::GetInstance().SetCloseHandler(nullptr);
    kivotasuGameKit::SetOverBoundSink(nullptr);
    g_engine = nullptr;
    // Its factory goes with the members; the sample goes first.
    m_sampleSound.Release();
}

CQuiltorEngine* CQuiltorEngine::GetInstance()
{
    return g_engine;
}

void CQuiltorEngine::Start()
{
    m_app = kivotasuGameKit::CAppManager::GetInstance()->GetMyWindowApp();
    // Menus and dialogs run their own loop; the app's timers (the music's
    // fades among them) go on meanwhile.
    if (m_app) platform::Dialogs().SetModalIdle([app = m_app] { app->GetTimerList().Dispatch(); });
    MainLoop();
    platform::Dialogs().SetModalIdle(nullptr);
}

void CQuiltorEngine::Wait(std::uint32_t ms)
{
    for (std::uint32_t waited = 0; waited < ms; waited += 10) {
        if (!PumpMessages()) return;
        m_app->GetThread()->InterruptibleSleep(10);
    }
}

void CQuiltorEngine::PostClose()
{
    if (m_app) m_app->PostClose();
}

bool CQuiltorEngine::PumpMessages()
{
    return m_app && m_app->IsThreadValid();
}

std::uint8_t CQuiltorEngine::GetAppFlag()
{
    return m_app && m_app->GetFlag() ? 1 : 0;
}

void CQuiltorEngine::SetAppFlag(std::uint8_t flag)
{
    if (m_app) m_app->SetFlag(flag != 0);
}

void CQuiltorEngine::WaitFrame()
{
    m_fps.WaitFrame();
    ++m_frames;
    if (m_probe) m_probe->OnFrame(m_frames);
}

void CQuiltorEngine::FailScript(const EScript& error)
{
    CScriptError::GetInstance().Report(error);
    m_state.ChangeState(EngineState::ScriptEnd);
}
