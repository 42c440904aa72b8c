#include "platform/Thread.h"

#include <limits.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>

namespace platform {
namespace {

static_assert(sizeof(pthread_t) <= sizeof(ThreadHandle));

std::atomic<bool> g_failStart{false};

struct StartRecord {
    void (*entry)(void*);
    void* argument;
};

void* ThreadEntry(void* record)
{
    StartRecord start = *static_cast<StartRecord*>(record);
    delete static_cast<StartRecord*>(record);
    start.entry(start.argument);
    return nullptr;
}

} // namespace

std::uint32_t CurrentThreadId()
{
    thread_local const std::uint32_t id = static_cast<std::uint32_t>(gettid());
    return id;
}

ThreadHandle StartThread(void (*entry)(void*), void* argument, std::uint32_t stackSize)
{
    if (g_failStart.load(std::memory_order_relaxed)) return 0;
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return 0;
    if (stackSize != 0) {
        std::size_t size = stackSize < PTHREAD_STACK_MIN ? PTHREAD_STACK_MIN : stackSize;
        long page = sysconf(_SC_PAGESIZE);
        size = (size + page - 1) / page * page;
        pthread_attr_setstacksize(&attributes, size);
    }
    auto* record = new StartRecord{entry, argument};
    pthread_t thread;
    int result = pthread_create(&thread, &attributes, ThreadEntry, record);
    pthread_attr_destroy(&attributes);
    if (result != 0) {
        delete record;
        return 0;
    }
    return static_cast<ThreadHandle>(thread);
}

bool JoinThread(ThreadHandle thread)
{
    return pthread_join(static_cast<pthread_t>(thread), nullptr) == 0;
}

void SetThreadStartFailure(bool fail) { g_failStart.store(fail, std::memory_order_relaxed); }

} // namespace platform
