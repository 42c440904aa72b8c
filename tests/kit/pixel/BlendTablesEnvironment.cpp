// Every test of a blit family runs with the blend tables built, as after the
// screen manager's construction.
#include <gtest/gtest.h>

#include "draw/effect/EffectBlitter.h"

namespace {

class BlendTablesEnvironment : public ::testing::Environment {
public:
    void SetUp() override { kivotasuGameKit::CEffectBlitter::BuildBlendTables(); }
};

::testing::Environment* const tables = ::testing::AddGlobalTestEnvironment(new BlendTablesEnvironment);

} // namespace
