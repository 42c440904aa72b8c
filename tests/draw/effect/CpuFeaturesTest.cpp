// Processor flags from the identification answer, and their one use.

#include <gtest/gtest.h>

#include "draw/effect/CpuFeatures.h"

#include <cstdlib>
#include <unistd.h>

using kivotasuGameKit::CCpuFeatures;
using kivotasuGameKit::CpuFeaturesInstance;

namespace {

// Set in a child that checks the release at exit; the check runs after every
// exit handler and static destructor.
bool CheckReleasedAtExit = false;
__attribute__((destructor)) void ExitWithReleaseState()
{
    if (CheckReleasedAtExit) _exit(CpuFeaturesInstance ? 7 : 0);
}

constexpr uint32_t Cmov = 1u << 15, Mmx = 1u << 23, Sse = 1u << 25, Sse2 = 1u << 26;

TEST(CpuFeaturesTest, FlagsFromTheIdentificationAnswer)
{
    EXPECT_EQ(CCpuFeatures::FlagsFromProbe(std::nullopt), 1u);
    EXPECT_EQ(CCpuFeatures::FlagsFromProbe(0u), 2u);
    EXPECT_EQ(CCpuFeatures::FlagsFromProbe(Cmov), 3u);
    EXPECT_EQ(CCpuFeatures::FlagsFromProbe(Mmx), 4u);
    EXPECT_EQ(CCpuFeatures::FlagsFromProbe(Mmx | Sse), 12u);
    EXPECT_EQ(CCpuFeatures::FlagsFromProbe(Mmx | Sse2), 20u);
    EXPECT_EQ(CCpuFeatures::FlagsFromProbe(Mmx | Sse | Sse2 | Cmov), 28u);
    // SSE without MMX counts for nothing.
    EXPECT_EQ(CCpuFeatures::FlagsFromProbe(Sse | Sse2), 2u);
}

TEST(CpuFeaturesTest, ProbesOnceAndKeepsTheAnswer)
{
    CCpuFeatures::DestroyInstance();
    CCpuFeatures::OverrideProbe(CCpuFeatures::ProbeResult(Cmov));
    CCpuFeatures::CreateInstance();
    ASSERT_NE(CpuFeaturesInstance, nullptr);
    CCpuFeatures* first = CpuFeaturesInstance;
    EXPECT_EQ(CpuFeaturesInstance->GetFlags(), 3u);
    EXPECT_EQ(CpuFeaturesInstance->GetFlags() & CCpuFeatures::Mmx, 0u);
    CCpuFeatures::OverrideProbe(CCpuFeatures::ProbeResult(Mmx));
    CCpuFeatures::CreateInstance();
    EXPECT_EQ(CpuFeaturesInstance, first);
    EXPECT_EQ(CpuFeaturesInstance->GetFlags(), 3u);

    CCpuFeatures::DestroyInstance();
    EXPECT_EQ(CpuFeaturesInstance, nullptr);
    CCpuFeatures::OverrideProbe(std::nullopt);
    CCpuFeatures::CreateInstance();
    // Every x86-64 processor has MMX, SSE and SSE2.
#if defined(__x86_64__)
    EXPECT_EQ(CpuFeaturesInstance->GetFlags(), 28u);
#endif
    CCpuFeatures::DestroyInstance();
}

TEST(CpuFeaturesDeathTest, TheInstanceIsReleasedAtExit)
{
    EXPECT_EXIT(
        {
            CheckReleasedAtExit = true;
            CCpuFeatures::CreateInstance();
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
