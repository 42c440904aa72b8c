#include "platform/Com.h"

#include <atomic>

namespace platform {
namespace {

thread_local int t_depth = 0;
std::atomic<bool> g_fail{false};

} // namespace

int ComInitialize()
{
    if (g_fail.load(std::memory_order_relaxed)) return 1;
    ++t_depth;
    return 0;
}

void ComUninitialize()
{
    if (t_depth > 0) --t_depth;
}

int ComInitializeDepth() { return t_depth; }

void SetComInitializeFailure(bool fail) { g_fail.store(fail, std::memory_order_relaxed); }

} // namespace platform
