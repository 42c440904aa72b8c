#pragma once

// QUILTOR_BENCH_SIMD=sse2 (or none) runs a blit benchmark as on a processor
// without AVX2 (or without SSE2): every level the program holds stays at or
// below it. Only the benchmarks read it; the player runs at the processor's level.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "draw/effect/alpha/SimdLevel.h"

namespace blitbench {

inline kivotasuGameKit::Blend::SimdLevel SimdCap()
{
    using kivotasuGameKit::Blend::SimdLevel;
    static const SimdLevel cap = [] {
        const char* value = std::getenv("QUILTOR_BENCH_SIMD");
        const std::string_view name = value ? value : "";
        return name == "sse2" ? SimdLevel::Sse2 : name == "none" ? SimdLevel::None : SimdLevel::Avx2;
    }();
    return cap;
}

// Holds the blitter at level, or at the cap when that is lower.
inline void HoldSimdLevel(kivotasuGameKit::Blend::SimdLevel level)
{
    kivotasuGameKit::Blend::CapSimdLevel(std::min(level, SimdCap()));
}

// Capped from the start, and named in the context line of the report.
inline const bool simdCapApplied = [] {
    using kivotasuGameKit::Blend::SimdLevel;
    HoldSimdLevel(SimdLevel::Avx2);
    const SimdLevel cap = SimdCap();
    benchmark::AddCustomContext("simd_cap", cap == SimdLevel::Avx2 ? "avx2" : cap == SimdLevel::Sse2 ? "sse2" : "none");
    return true;
}();

} // namespace blitbench
