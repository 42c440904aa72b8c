#include "frame/AppManager.h"

#include "frame/ErrorLog.h"
#include "frame/ThreadList.h"
#include "frame/WindowApp.h"
#include "platform/Thread.h"

#include <algorithm>

namespace kivotasuGameKit {

CAppManager::Entry* CAppManager::MyEntry()
{
    const std::uint32_t me = platform::CurrentThreadId();
    for (CSmartPtr<Entry>& entry : m_entries) {
        if (entry->threadId == me)
            return entry.Get();
    }
    return nullptr;
}

void CAppManager::Add(IWindowApp* app)
{
    KTL::CCriticalLock lock(m_lock);
    for (CSmartPtr<Entry>& entry : m_entries) {
        if (entry->app != app)
            continue;
        if (entry->threadId != 0)
            ErrorLog.Out("CAppManager::Addするのに空きが無い");
        entry->threadId = platform::CurrentThreadId();
        return;
    }
    m_entries.push_back(CSmartPtr<Entry>(new Entry{app, nullptr, nullptr, platform::CurrentThreadId()}));
}

void CAppManager::Remove(IWindowApp* app)
{
    KTL::CCriticalLock lock(m_lock);
    std::erase_if(m_entries, [app](CSmartPtr<Entry>& entry) { return entry->app == app; });
}

void CAppManager::SetMyMainObject(CMainObject* mainObject)
{
    KTL::CCriticalLock lock(m_lock);
    if (Entry* entry = MyEntry())
        entry->mainObject = mainObject;
}

void CAppManager::ResetMainObject(CMainObject* mainObject)
{
    KTL::CCriticalLock lock(m_lock);
    for (CSmartPtr<Entry>& entry : m_entries) {
        if (entry->mainObject == mainObject)
            entry->mainObject = nullptr;
    }
}

void CAppManager::Add(IFastDraw* draw)
{
    KTL::CCriticalLock lock(m_lock);
    Entry* entry = MyEntry();
    if (!entry) {
        ErrorLog.Out("CAppManager::Addするのに空きが無い");
        return;
    }
    entry->draw = draw;
}

void CAppManager::DelMyDraw(IFastDraw* draw)
{
    KTL::CCriticalLock lock(m_lock);
    const std::uint32_t me = platform::CurrentThreadId();
    for (CSmartPtr<Entry>& entry : m_entries) {
        if (entry->threadId == me && entry->draw == draw)
            entry->draw = nullptr;
    }
}

template <class Read>
auto CAppManager::ReadMyEntry(Read read)
{
    KTL::CCriticalLock lock(m_lock);
    return read(MyEntry());
}

IWindowApp* CAppManager::GetMyWindowApp()
{
    return ReadMyEntry([](Entry* entry) { return entry ? entry->app : nullptr; });
}

CWindow* CAppManager::GetMyWindow()
{
    return ReadMyEntry([](Entry* entry) { return entry && entry->app ? entry->app->GetWindow() : nullptr; });
}

platform::WindowHandle CAppManager::GetHWnd()
{
    return ReadMyEntry(
        [](Entry* entry) { return entry && entry->app ? entry->app->GetHWnd() : platform::WindowHandle(0); });
}

CMainObject* CAppManager::GetMyMainObject()
{
    return ReadMyEntry([](Entry* entry) { return entry ? entry->mainObject : nullptr; });
}

IFastDraw* CAppManager::GetMyDraw()
{
    return ReadMyEntry([](Entry* entry) { return entry ? entry->draw : nullptr; });
}

// The hook list has its own lock, taken outside the manager's: a hook called
// under the list's lock may itself ask the manager.
void CAppManager::Hook(IWinHook* hook)
{
    if (CWindow* window = GetMyWindow())
        window->GetHookList().Add(hook);
}

void CAppManager::Unhook(IWinHook* hook)
{
    if (CWindow* window = GetMyWindow())
        window->GetHookList().Remove(hook);
}

void CAppManager::CloseAll()
{
    // Nothing in the player registers close callbacks, so only the threads are stopped.
    KTL::CThreadList::GetInstance()->StopAll();
}

void CAppManager::IncAppCount()
{
    KTL::CCriticalLock lock(m_lock);
    ++m_appCount;
}

void CAppManager::DecAppCount()
{
    KTL::CCriticalLock lock(m_lock);
    --m_appCount;
}

int CAppManager::GetAppCount()
{
    KTL::CCriticalLock lock(m_lock);
    return m_appCount;
}

void AddWindowApp(IWindowApp* app)
{
    CAppManager::GetInstance()->Add(app);
}

void RemoveWindowApp(IWindowApp* app)
{
    CAppManager::GetInstance()->Remove(app);
}

void AddWindowHook(IWinHook* hook)
{
    CAppManager::GetInstance()->Hook(hook);
}

void RemoveWindowHook(IWinHook* hook)
{
    CAppManager::GetInstance()->Unhook(hook);
}

platform::WindowHandle GetMyHWnd()
{
    return CAppManager::GetInstance()->GetHWnd();
}

} // namespace kivotasuGameKit
