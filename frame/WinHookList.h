#pragma once

#include "frame/CriticalSection.h"
#include "frame/WinHook.h"

#include <vector>

namespace kivotasuGameKit {

// The hooks of one window, called in insertion order. A hook may add or remove
// hooks, itself included, while it is being called: a removed hook is not
// called again and an added one is reached in the same dispatch.
class CWinHookList {
public:
    CWinHookList() = default;
    CWinHookList(const CWinHookList&) = delete;
    CWinHookList& operator=(const CWinHookList&) = delete;
    virtual ~CWinHookList() = default;

    virtual void Add(IWinHook* hook);
    // Every occurrence.
    virtual void Remove(IWinHook* hook);
    virtual void Clear();
    // The first non-zero answer, or 0 when no hook answers (the window has no
    // default behaviour that the player relies on).
    virtual std::intptr_t Dispatch(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam);

    std::size_t GetCount();

private:
    void Compact();

    KTL::CCriticalSection m_lock;
    // Removals during a dispatch leave a null behind so the running loop's
    // positions stay valid; the outermost dispatch compacts.
    std::vector<IWinHook*> m_hooks;
    int m_dispatchDepth = 0;
};

} // namespace kivotasuGameKit
