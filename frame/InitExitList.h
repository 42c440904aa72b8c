#pragma once

#include <vector>

#include "frame/CriticalSection.h"
#include "frame/FunctionCallback.h"
#include "frame/Singleton.h"
#include "frame/SmartPtr.h"

namespace kivotasuGameKit {

// Callbacks run when the process starts and when it ends. Parts of the system
// add theirs during static initialisation.
class CInitExitList : public CSingleton<CInitExitList> {
public:
    using CallbackList = std::vector<CSmartPtr<function_callback>>;

    void AddStart(const CSmartPtr<function_callback>& callback);
    void AddExit(const CSmartPtr<function_callback>& callback);
    void RunStart();
    void RunExit();

    // Calls every callback in order; an empty or out-of-range entry throws.
    static void RunAll(const CallbackList& callbacks);

private:
    friend class CSingleton<CInitExitList>;
    CInitExitList() = default;

    CallbackList Copy(const CallbackList& list);

    KTL::CCriticalSection m_lock;
    CallbackList m_start;
    CallbackList m_exit;
};

} // namespace kivotasuGameKit
