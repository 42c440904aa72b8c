#pragma once

#include "frame/CriticalSection.h"
#include "frame/Singleton.h"
#include "frame/SmartPtr.h"
#include "frame/WinHook.h"
#include "platform/WindowMessage.h"

#include <cstdint>
#include <vector>

class CMainObject; // the engine's base

namespace kivotasuGameKit {

class CWindow;
class IWindowApp;

// The interface through which the application manager holds a thread's
// screen manager.
class IFastDraw {
public:
    virtual ~IFastDraw() = default;
};

// Every application with its thread, main object and screen manager. Every
// lookup is by the calling thread's id.
class CAppManager : public CSingleton<CAppManager> {
public:
    struct Entry {
        IWindowApp* app = nullptr;
        CMainObject* mainObject = nullptr;
        IFastDraw* draw = nullptr;
        std::uint32_t threadId = 0;
    };

    void Add(IWindowApp* app);
    void Remove(IWindowApp* app);
    void SetMyMainObject(CMainObject* mainObject);
    void ResetMainObject(CMainObject* mainObject);
    void Add(IFastDraw* draw);
    void DelMyDraw(IFastDraw* draw);

    IWindowApp* GetMyWindowApp();
    CWindow* GetMyWindow();
    platform::WindowHandle GetHWnd();
    CMainObject* GetMyMainObject();
    IFastDraw* GetMyDraw();

    void Hook(IWinHook* hook);
    void Unhook(IWinHook* hook);

    // Stops every SDK thread other than the caller's (the first call only).
    void CloseAll();

    void IncAppCount();
    void DecAppCount();
    int GetAppCount();

private:
    friend class CSingleton<CAppManager>;
    CAppManager() = default;

    Entry* MyEntry();
    // read(the caller's entry, or null) under the lock.
    template <class Read>
    auto ReadMyEntry(Read read);

    std::vector<CSmartPtr<Entry>> m_entries;
    KTL::CCriticalSection m_lock;
    int m_appCount = 0;
};

void AddWindowApp(IWindowApp* app);
void RemoveWindowApp(IWindowApp* app);
void AddWindowHook(IWinHook* hook);
void RemoveWindowHook(IWinHook* hook);
platform::WindowHandle GetMyHWnd();

} // namespace kivotasuGameKit
