#include "platform/CloseLatch.h"

#include <atomic>
#include <cstdint>

#include "platform/Clock.h"

namespace platform {

namespace {

std::atomic<bool> latched{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

// On X11 only the thread that takes the window's messages sees its close box,
// and a slow read holds that very thread. So there, and at most this often,
// the predicate first lets the window system look into its queue for a
// close; a read need not pump. The clock is the platform's, so a test's
// virtual time paces the looks too.
constexpr std::uint32_t LookEveryMs = 30;
constexpr std::uint64_t NeverLooked = UINT64_MAX;
std::atomic<std::uint64_t> lastLook{NeverLooked};

using Question = bool (*)();
std::atomic<Question> lookThread{nullptr};
std::atomic<Question> lookQueue{nullptr};

} // namespace

void LatchClose()
{
    latched.store(true, std::memory_order_relaxed);
}

bool CloseAsked()
{
    if (latched.load(std::memory_order_relaxed))
        return true;
    const Question onItsThread = lookThread.load(std::memory_order_acquire);
    if (!onItsThread || !onItsThread())
        return false;
    const std::uint32_t now = Clock().Now();
    const std::uint64_t last = lastLook.load(std::memory_order_relaxed);
    if (last != NeverLooked && now - std::uint32_t(last) < LookEveryMs)
        return false;
    lastLook.store(now, std::memory_order_relaxed);
    if (lookQueue.load(std::memory_order_relaxed)())
        LatchClose();
    return latched.load(std::memory_order_relaxed);
}

void ClearCloseLatch()
{
    latched.store(false, std::memory_order_relaxed);
    lastLook.store(NeverLooked, std::memory_order_relaxed);
}

void LendCloseLook(bool (*onItsThread)(), bool (*closeWaiting)())
{
    lookQueue.store(closeWaiting, std::memory_order_relaxed);
    lookThread.store(onItsThread, std::memory_order_release);
}

} // namespace platform
