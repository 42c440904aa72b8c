#include "platform/TerminationSignals.h"

#include <atomic>
#include <csignal>

#include "platform/CloseLatch.h"

namespace platform {

namespace {

std::atomic<int> pendingRequests{0};
static_assert(std::atomic<int>::is_always_lock_free, "used from a signal handler");

extern "C" void OnTerminationSignal(int)
{
    LatchClose();
    pendingRequests.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

void CloseOnTerminationSignals()
{
    struct sigaction action{};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    struct sigaction hangUp{};
    if (sigaction(SIGHUP, nullptr, &hangUp) == 0 && hangUp.sa_handler != SIG_IGN)
        sigaction(SIGHUP, &action, nullptr);
}

bool TakeTerminationRequest()
{
    int pending = pendingRequests.load(std::memory_order_relaxed);
    while (pending > 0) {
        if (pendingRequests.compare_exchange_weak(pending, pending - 1, std::memory_order_relaxed))
            return true;
    }
    return false;
}

} // namespace platform
