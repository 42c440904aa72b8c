#include "frame/ProcessInit.h"

#include "frame/CurrentThreadMap.h"
#include "frame/InitExitList.h"
#include "frame/Singleton.h"
#include "frame/ThreadList.h"

#include <atomic>

namespace kivotasuGameKit {

namespace {

std::atomic<const WinMainArgs*> PublishedArgs{nullptr};

} // namespace

const WinMainArgs* GetWinMainArgs()
{
    return PublishedArgs.load(std::memory_order_acquire);
}

void CProcessInit::Init(WinMainArgs& record, std::uintptr_t instance, std::uintptr_t previousInstance,
                        const char* commandLine, int showCommand)
{
    record.instance = instance;
    record.previousInstance = previousInstance;
    record.commandLine = commandLine ? commandLine : "";
    record.showCommand = showCommand;
    PublishedArgs.store(&record, std::memory_order_release);
    MultiThreadFlag.store(1, std::memory_order_release);
    CurrentThreadMap.Set(nullptr);
    CInitExitList::GetInstance()->RunStart();
}

int CProcessInit::Run(KTL::CThread* thread)
{
    CSmartPtr<KTL::CThread> owner(thread);
    KTL::CThreadList* threads = KTL::CThreadList::GetInstance();
    threads->AddRecord(owner, CSmartPtr<KTL::IRunnable>());
    const int result = owner->CreateThread();
    if (result != 0) {
        // Written off, so that Term does not wait for a thread that never ran.
        threads->OnThreadEnd(thread);
    }
    return result;
}

void CProcessInit::Term()
{
    KTL::CThreadList::GetInstance()->WaitAll();
    MultiThreadFlag.store(0, std::memory_order_release);
    CInitExitList::GetInstance()->RunExit();
}

} // namespace kivotasuGameKit
