#pragma once
// Whether the drawn menus' and dialogs' font shows every character of some
// labels legibly: a glyph of its own for each, with ink, not a box or a
// question mark that several characters would share.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/DrawnText.h"
#include "platform/ImGuiFontAtlas.h"

namespace testkit {

inline void ExpectDistinctGlyphs(const std::vector<std::string>& labelsSjis)
{
    std::set<std::uint16_t> wanted;
    for (const std::string& label : labelsSjis) platform::CollectCodepoints(platform::ShownLabel(label), wanted);
    platform::ImGuiFontAtlas fonts;
    fonts.Include(wanted, 16.0f);

    std::map<std::vector<std::uint8_t>, std::uint16_t> seen;
    for (std::uint16_t c : wanted) {
        if (c == ' ' || c == 0x3000) continue; // blanks have no ink
        ASSERT_TRUE(fonts.HasGlyph(c)) << std::hex << c;
        const std::vector<std::uint8_t> coverage = fonts.GlyphCoverage(c);
        int ink = 0;
        for (std::uint8_t alpha : coverage) ink += alpha > 128;
        EXPECT_GT(ink, 3) << std::hex << c;
        const auto [other, fresh] = seen.emplace(coverage, c);
        EXPECT_TRUE(fresh) << std::hex << c << " draws like " << other->second;
    }
}

} // namespace testkit
