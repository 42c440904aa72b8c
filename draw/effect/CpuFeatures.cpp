#include "draw/effect/CpuFeatures.h"

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

} // namespace

void CCpuFeatures::CreateInstance()
{
    static bool releaseAtExit = false;
    KTL::CCriticalLock lock(InstanceLock());
    if (CpuFeaturesInstance) return;
    CpuFeaturesInstance = new (std::nothrow) CCpuFeatures;
    // Registered after the lock is made, so the lock outlives the release.
    if (CpuFeaturesInstance && !std::exchange(releaseAtExit, true)) std::atexit(&CCpuFeatures::DestroyInstance);
}

void CCpuFeatures::DestroyInstance()
{
    KTL::CCriticalLock lock(InstanceLock());
    delete CpuFeaturesInstance;
    CpuFeaturesInstance = nullptr;
}

uint32_t CCpuFeatures::GetFlags()
{
    if (m_flags == 0) m_flags = FlagsFromProbe(ProbeProcessor());
    return m_flags;
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
