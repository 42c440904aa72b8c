#include "platform/TerminationSignals.h"

#include <csignal>

#include "platform/CloseLatch.h"

namespace platform {

namespace {

extern "C" void OnTerminationSignal(int)
{
    LatchClose();
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
    // A stderr whose reader has gone (`quiltor 2>&1 | tee log` in a terminal
    // that closes) fails its writes instead of killing the player, saves
    // unwritten, at its next line.
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace platform
