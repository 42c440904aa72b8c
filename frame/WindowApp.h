#pragma once

#include "frame/AppTimerList.h"
#include "frame/Thread.h"
#include "frame/Window.h"
#include "frame/WinHook.h"

#include <atomic>
#include <cstdint>

namespace kivotasuGameKit {

// What the rest of the system asks of an application.
class IWindowApp {
public:
    // The once-a-frame service of the application thread: timed callbacks and
    // the message pump. False once the application has been told to stop or a
    // close has been asked (CloseLatch.h): a signal, or a close seen waiting in
    // the queue, needs no pump to end the loops.
    virtual bool IsThreadValid() = 0;
    // Any thread: asks the application to end, which sets the close latch.
    virtual void PostClose() = 0;
    virtual CWindow* GetWindow() = 0;
    virtual platform::WindowHandle GetHWnd() = 0;
    // Starts the thread and waits until MainThread runs: 0, or 1 when the
    // thread did not start or ended before it.
    virtual int WaitForWindow() = 0;
    virtual CAppTimerList& GetTimerList() = 0;
    virtual bool GetFlag() = 0;
    virtual void SetFlag(bool flag) = 0;
    virtual KTL::CThread* GetThread() = 0;
    virtual ~IWindowApp() = default;
};

// An application: one main window on a thread of its own. The thread makes
// the window, registers with CAppManager, runs MainThread and tears down.
class CWindowApp : public IWinHook, public IWindowApp, public KTL::CThread {
public:
    CWindowApp();
    // Joins the thread (its body ends on the stop signal).
    ~CWindowApp() noexcept override;

    // The application's own hook on its window.
    std::intptr_t WndProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;
    virtual void MainThread();
    // A non-zero answer from these ends the thread before the window is made
    // (OnPreCreate, GetWindowOption) or before MainThread (OnInit).
    virtual int OnPreCreate() { return 0; }
    virtual int GetWindowOption(CWindowOption& option);
    virtual int OnInit() { return 0; }
    virtual int OnExit() { return 0; }

    bool IsThreadValid() override;
    void PostClose() override;
    CWindow* GetWindow() override { return &m_window; }
    platform::WindowHandle GetHWnd() override { return m_window.GetHWnd(); }
    int WaitForWindow() override;
    CAppTimerList& GetTimerList() override { return m_timers; }
    bool GetFlag() override { return m_mainFlag.load(std::memory_order_acquire); }
    void SetFlag(bool flag) override { m_mainFlag.store(flag, std::memory_order_release); }
    KTL::CThread* GetThread() override { return this; }

    // The stop of this thread also posts WM_CLOSE when the pump waits for
    // messages. Its own end stops it too: only PostClose and a close the
    // window takes set the close latch, which the run clears as it ends.
    void SignalStop() override;

    // While set, IsThreadValid waits in the queue as long as the window is minimised.
    void SetBlockWhileMinimized(bool block) { m_blockWhileMinimized = block; }
    // While set, IsThreadValid waits for one message instead of taking what is queued.
    void SetMessageDriven(bool driven) { m_messageDriven.store(driven, std::memory_order_release); }
    bool IsInMainThread() const { return m_inMainThread.load(std::memory_order_acquire); }

protected:
    void ThreadMain() override;
    void InnerMainThread();
    // Blocking: one message; the result is 1, 0 for WM_QUIT, -1 on failure.
    // Non-blocking: every queued message; 0.
    int PumpMessage(bool nonBlocking);

private:
    void RunMainThread();
    // Neither stopped nor closing.
    bool Running();

    CWindow m_window;
    std::atomic<bool> m_inMainThread{false};
    std::atomic<bool> m_reachedMainThread{false};
    bool m_blockWhileMinimized = false;
    std::atomic<bool> m_messageDriven{false};
    CAppTimerList m_timers;
    std::atomic<bool> m_mainFlag{false};
};

} // namespace kivotasuGameKit
