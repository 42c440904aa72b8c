#include "frame/WinHookList.h"

#include <algorithm>

namespace kivotasuGameKit {

void CWinHookList::Add(IWinHook* hook)
{
    KTL::CCriticalLock guard(m_lock);
    m_hooks.push_back(hook);
}

void CWinHookList::Remove(IWinHook* hook)
{
    KTL::CCriticalLock guard(m_lock);
    if (m_dispatchDepth > 0)
        std::replace(m_hooks.begin(), m_hooks.end(), hook, static_cast<IWinHook*>(nullptr));
    else
        std::erase(m_hooks, hook);
}

void CWinHookList::Clear()
{
    KTL::CCriticalLock guard(m_lock);
    if (m_dispatchDepth > 0)
        std::fill(m_hooks.begin(), m_hooks.end(), nullptr);
    else
        m_hooks.clear();
}

std::size_t CWinHookList::GetCount()
{
    KTL::CCriticalLock guard(m_lock);
    return static_cast<std::size_t>(std::count_if(m_hooks.begin(), m_hooks.end(),
                                                  [](IWinHook* hook) { return hook != nullptr; }));
}

void CWinHookList::Compact()
{
    std::erase(m_hooks, nullptr);
}

std::intptr_t CWinHookList::Dispatch(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam)
{
    KTL::CCriticalLock guard(m_lock);
    ++m_dispatchDepth;
    struct DepthGuard {
        CWinHookList& list;
        ~DepthGuard()
        {
            if (--list.m_dispatchDepth == 0)
                list.Compact();
        }
    } depth{*this};

    for (std::size_t i = 0; i < m_hooks.size(); ++i) {
        IWinHook* hook = m_hooks[i];
        if (!hook)
            continue;
        if (std::intptr_t answer = hook->WndProc(window, message, wParam, lParam))
            return answer;
    }
    return 0;
}

} // namespace kivotasuGameKit
