#include "frame/WindowApp.h"

#include "frame/AppManager.h"
#include "frame/ErrorLog.h"
#include "frame/Exceptions.h"
#include "frame/ImeSwitch.h"
#include "platform/Clock.h"
#include "platform/CloseLatch.h"
#include "platform/WindowSystem.h"

namespace kivotasuGameKit {

CWindowApp::CWindowApp()
{
    CAppManager::GetInstance()->IncAppCount();
}

CWindowApp::~CWindowApp() noexcept
{
    StopThread();
    CAppManager::GetInstance()->DecAppCount();
}

int CWindowApp::GetWindowOption(CWindowOption& option)
{
    option.caption = "あぷりちゃん";
    option.className = "KIVOAPPLICATION";
    option.width = 640;
    option.height = 480;
    option.style = 0x00CA0000;
    return 0;
}

void CWindowApp::MainThread()
{
    while (IsThreadValid())
        InterruptibleSleep(20);
}

std::intptr_t CWindowApp::WndProc(platform::WindowHandle, std::uint32_t message, std::uintptr_t, std::intptr_t)
{
    switch (message) {
    case platform::WM_DESTROY:
        if (GetFlag())
            platform::Windows().PostQuitMessage(0);
        return 0;
    case platform::WM_CLOSE:
        // Only the event: the close is being handled, so no second WM_CLOSE is posted.
        platform::LatchClose();
        KTL::CThread::SignalStop();
        return 1;
    default:
        return 0;
    }
}

int CWindowApp::PumpMessage(bool nonBlocking)
{
    platform::IWindowSystem& windows = platform::Windows();
    platform::WindowMessage message;
    if (nonBlocking) {
        while (windows.PeekMessage(message))
            CWindow::DispatchMessage(message);
        return 0;
    }
    const int result = windows.GetMessage(message);
    if (result == -1)
        PostClose();
    else
        CWindow::DispatchMessage(message);
    return result;
}

bool CWindowApp::IsThreadValid()
{
    m_timers.Dispatch();
    PumpMessage(!m_messageDriven.load(std::memory_order_acquire));
    // A failed pump or a stop ends the wait too: the window may stay minimised.
    if (m_blockWhileMinimized) {
        while (m_window.IsMinimized() && Running()) {
            if (PumpMessage(false) <= 0)
                break;
        }
    }
    return Running();
}

bool CWindowApp::Running()
{
    return IsValid() && !platform::CloseAsked();
}

void CWindowApp::PostClose()
{
    platform::LatchClose();
    SignalStop();
}

void CWindowApp::SignalStop()
{
    if (m_messageDriven.load(std::memory_order_acquire)) {
        if (platform::WindowHandle window = m_window.GetHWnd())
            platform::Windows().PostMessage(window, platform::WM_CLOSE, 0, 0);
    }
    KTL::CThread::SignalStop();
}

void CWindowApp::ThreadMain()
{
    InnerMainThread();
    // The close this run was asked for has been served.
    platform::ClearCloseLatch();
}

int CWindowApp::WaitForWindow()
{
    if (CreateThread() != 0)
        return 1;
    // A thread that ends before MainThread (no window) never sets the byte.
    while (!m_reachedMainThread.load(std::memory_order_acquire)) {
        if (!IsValid())
            return 1;
        platform::Clock().Sleep(100);
    }
    return 0;
}

void CWindowApp::RunMainThread()
{
    m_inMainThread.store(true, std::memory_order_release);
    m_reachedMainThread.store(true, std::memory_order_release);
    try {
        MainThread();
    } catch (const KTL::CException& error) {
        // The thread winds down in order all the same.
        ErrorLog.Out("CWindowApp::MainThreadで例外: %s", error.GetError().c_str());
    }
    m_inMainThread.store(false, std::memory_order_release);
}

void CWindowApp::InnerMainThread()
{
    if (OnPreCreate() != 0)
        return;
    CWindowOption option;
    if (GetWindowOption(option) != 0)
        return;
    if (m_window.Create(option) != 0)
        return;
    // So the input-method switch reaches this thread's window.
    CImeWindowMap* imeWindows = GetImeWindowMap();
    if (imeWindows) imeWindows->Set(m_window.GetHWnd());
    if (OnInit() != 0) {
        if (imeWindows) imeWindows->DropCurrentThread();
        m_window.Destroy();
        return;
    }

    CAppManager* manager = CAppManager::GetInstance();
    manager->Add(this);
    manager->Hook(this);

    RunMainThread();
    OnExit();

    // The window's own hook hides it, ours posts the quit message when the
    // main flag is set; then whatever is queued is handled.
    platform::Windows().PostMessage(m_window.GetHWnd(), platform::WM_DESTROY, 0, 0);
    PumpMessage(true);

    manager->Unhook(this);
    manager->Remove(this);
    // SDL windows belong to the thread that made them.
    if (imeWindows) imeWindows->DropCurrentThread();
    m_window.Destroy();

    if (GetFlag())
        manager->CloseAll();
    SignalStop();
}

} // namespace kivotasuGameKit
