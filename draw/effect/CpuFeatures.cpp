#include "draw/effect/CpuFeatures.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include "frame/CriticalSection.h"

namespace kivotasuGameKit {

CCpuFeatures* CpuFeaturesInstance = nullptr;

namespace {

KTL::CCriticalSection& InstanceLock()
{
    static KTL::CCriticalSection lock;
    return lock;
}

std::optional<CCpuFeatures::ProbeResult> ProbeOverride;

CCpuFeatures::ProbeResult ProbeProcessor()
{
    if (ProbeOverride) return *ProbeOverride;
#if defined(__x86_64__) || defined(__i386__)
    unsigned a, b, c, d;
    if (__get_cpuid(1, &a, &b, &c, &d)) return d;
#endif
    return std::nullopt;
}

// Every blit tests the pointer before the lock, on whatever thread it runs:
// it is written atomically, and the instance is published whole.
std::atomic_ref<CCpuFeatures*> Published()
{
    return std::atomic_ref<CCpuFeatures*>(CpuFeaturesInstance);
}

} // namespace

void CCpuFeatures::CreateInstance()
{
    if (Published().load(std::memory_order_acquire)) return;
    static bool releaseAtExit = false;
    KTL::CCriticalLock lock(InstanceLock());
    if (CpuFeaturesInstance) return;
    Published().store(new (std::nothrow) CCpuFeatures, std::memory_order_release);
    // Registered after the lock is made, so the lock outlives the release.
    if (CpuFeaturesInstance && !std::exchange(releaseAtExit, true)) std::atexit(&CCpuFeatures::DestroyInstance);
}

void CCpuFeatures::DestroyInstance()
{
    KTL::CCriticalLock lock(InstanceLock());
    delete CpuFeaturesInstance;
    Published().store(nullptr, std::memory_order_release);
}

uint32_t CCpuFeatures::GetFlags()
{
    // Threads probing at once all store the same answer.
    uint32_t flags = m_flags.load(std::memory_order_relaxed);
    if (flags == 0) m_flags.store(flags = FlagsFromProbe(ProbeProcessor()), std::memory_order_relaxed);
    return flags;
}

uint32_t CCpuFeatures::FlagsFromProbe(const ProbeResult& edx)
{
    if (!edx) return NoIdentification;
    const uint32_t bits = *edx;
    if (!(bits & (1u << 23))) return NoMmx | ((bits & (1u << 15)) ? ConditionalMove : 0);
    uint32_t flags = Mmx;
    if (bits & (1u << 25)) flags |= Sse;
    if (bits & (1u << 26)) flags |= Sse2;
    return flags;
}

void CCpuFeatures::OverrideProbe(const std::optional<ProbeResult>& answer) { ProbeOverride = answer; }

} // namespace kivotasuGameKit
