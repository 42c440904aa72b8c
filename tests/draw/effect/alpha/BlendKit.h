#pragma once

// Shared pieces of the blend-family tests: the pairs of each operation, the
// reference rule and the check of one blit against it.

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "draw/effect/EffectBlitter.h"
#include "tests/draw/effect/BlitCases.h"
#include "tests/draw/effect/FamilyKit.h"
#include "tests/draw/effect/RefCopy.h"
#include "tests/draw/effect/alpha/RefBlend.h"
#include "tests/draw/effect/alpha/RefTrailing.h"

namespace pixelkit {

// Operation 10: the pairs whose source carries alpha.
inline std::vector<Pair> BlendAlphaPairs()
{
    std::vector<Pair> pairs;
    for (Pair p : RatePairs())
        if (RefHasAlpha(p.second)) pairs.push_back(p);
    return pairs;
}

inline std::vector<Pair> PairsOf(uint32_t op) { return op == 10 ? BlendAlphaPairs() : RatePairs(); }

inline const std::vector<uint32_t>& FamilyOps()
{
    static const std::vector<uint32_t> ops{10, 14, 15, 16, 17};
    return ops;
}

inline bool IsKeyedOp(uint32_t op) { return op == 15 || op == 17; }

inline bool ProcessorReportsMmx()
{
    kivotasuGameKit::CCpuFeatures::CreateInstance();
    return kivotasuGameKit::CpuFeaturesInstance &&
           (kivotasuGameKit::CpuFeaturesInstance->GetFlags() & kivotasuGameKit::CCpuFeatures::Mmx);
}

// The reference pixel rule of a family operation (the key test included);
// fourChannel picks the four-channel arithmetic for operation 14.
inline std::function<void(uint8_t*, const uint8_t*)> RefRule(uint32_t op, Pair pair, uint32_t key,
                                                             const kivotasuGameKit::BltRates& rates, bool fourChannel)
{
    const int a = rates.rate & 0xFF, b = rates.rateB & 0xFF;
    return [=](uint8_t* d, const uint8_t* s) {
        if (IsKeyedOp(op) && RefKeyMatches(pair.second, s, key)) return;
        if (op == 10) RefBlendAlpha(pair.first, pair.second, d, s);
        else if (op == 14 && fourChannel) RefFourChannel(d, s, a);
        else if (op == 14 || op == 15) RefBlendRate(pair.first, pair.second, d, s, a);
        else RefCrossFade(pair.first, pair.second, d, s, a, b);
    };
}

// One blit of op on pair against the reference, guard bytes included.
inline void CheckBlend(uint32_t op, Pair pair, const BlitCase& c, Fill fill, const kivotasuGameKit::BltRates& rates,
                       bool fourChannel, std::mt19937& rng)
{
    CheckFamilyBlit(
        op, pair, c, fill, rates, rng,
        [&](TestSurface& dst, TestSurface& src, uint32_t key) {
            const auto rule = RefRule(op, pair, key, rates, fourChannel);
            return RefBlit(dst, src, c.request, rule, fourChannel ? RefSampleTrailing : RefSample);
        },
        "rates " + std::to_string(rates.rate) + "/" + std::to_string(rates.rateB));
}

} // namespace pixelkit
