#pragma once
// The object an application thread runs: registered as the thread's main
// object in the application manager for its lifetime.

#include <cstdint>

namespace kivotasuGameKit { class IWindowApp; }

class CMainObject {
public:
    CMainObject();
    CMainObject(const CMainObject&) = delete;
    CMainObject& operator=(const CMainObject&) = delete;
    virtual ~CMainObject();

    // Binds the calling thread's application and runs MainLoop.
    virtual void Start() = 0;
    // Sleeps in steps of 10 ms, ending early once the application quits.
    virtual void Wait(std::uint32_t ms) = 0;
    virtual void PostClose() = 0;
    virtual kivotasuGameKit::IWindowApp* GetApp() = 0;
    // Pumps the window's messages once; false once the application quits.
    virtual bool PumpMessages() = 0;
    virtual void MainLoop() = 0;
    virtual std::uint8_t GetAppFlag() = 0;
    virtual void SetAppFlag(std::uint8_t flag) = 0;
};
