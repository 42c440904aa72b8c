#include "draw/effect/alpha/SimdLevel.h"

#include <algorithm>
#include <atomic>

#include "draw/effect/CpuFeatures.h"

namespace kivotasuGameKit::Blend {

namespace {

std::atomic<SimdLevel> Cap{SimdLevel::Avx2};

// AVX2 lies outside the flags word; the compiler's probe also checks that the
// system saves the wide registers.
bool ProcessorHasAvx2()
{
#if defined(__x86_64__) || defined(__i386__)
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

} // namespace

SimdLevel CurrentSimdLevel()
{
    CCpuFeatures::CreateInstance();
    const uint32_t flags = CpuFeaturesInstance ? CpuFeaturesInstance->GetFlags() : 0;
    SimdLevel level = SimdLevel::None;
    if ((flags & CCpuFeatures::Sse2) && Sse2RowKernels.over) level = ProcessorHasAvx2() && Avx2RowKernels.over ? SimdLevel::Avx2 : SimdLevel::Sse2;
    return std::min(level, Cap.load(std::memory_order_relaxed));
}

const RowKernels* CurrentRowKernels()
{
    switch (CurrentSimdLevel()) {
    case SimdLevel::Avx2: return &Avx2RowKernels;
    case SimdLevel::Sse2: return &Sse2RowKernels;
    default: return nullptr;
    }
}

void CapSimdLevel(SimdLevel cap) { Cap.store(cap, std::memory_order_relaxed); }

} // namespace kivotasuGameKit::Blend
