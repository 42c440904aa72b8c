#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

namespace kivotasuGameKit {

// Which instruction-set extensions the processor offers, probed once.
// Flags: 1 no identification instruction; 2 probed without MMX (+1 with
// conditional move); 4 MMX, +8 SSE, +16 SSE2.
class CCpuFeatures {
public:
    static constexpr uint32_t NoIdentification = 1, NoMmx = 2, ConditionalMove = 1, Mmx = 4, Sse = 8, Sse2 = 16;

    // The answer of the identification instruction (function 1, EDX), or none
    // when the processor lacks it.
    using ProbeResult = std::optional<uint32_t>;

    static void CreateInstance();
    static void DestroyInstance();

    // The stored flags, probing on the first call.
    uint32_t GetFlags();

    static uint32_t FlagsFromProbe(const ProbeResult& edx);

    // Tests make the processor answer this until they reset it; a later
    // probe (after DestroyInstance) sees it.
    static void OverrideProbe(const std::optional<ProbeResult>& answer);

private:
    std::atomic<uint32_t> m_flags{0};
};

// Read it after CreateInstance: that call publishes the instance to the
// calling thread.
extern CCpuFeatures* CpuFeaturesInstance;

} // namespace kivotasuGameKit
