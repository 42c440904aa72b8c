// Our reader of cursor files: every depth with its mask or alpha, the
// hotspot, the choice among entries, animated cursors with their rates and
// sequence, and damaged files refused whole.
#include <gtest/gtest.h>

#include "platform/Cursors.h"
#include "tests/platform/CursorFiles.h"

using namespace cursorkit;
using platform::CursorAnimation;
using platform::ReadCursorFile;

namespace {

// An arrow-like triangle of one colour on a transparent ground.
std::uint32_t Triangle(int x, int y)
{
    return x <= y ? 0xFF20C040 : 0;
}

bool Read(const Bytes& file, CursorAnimation& out)
{
    return ReadCursorFile(file.data(), file.size(), out);
}

} // namespace

TEST(CursorFile, EveryDepthGivesTheSamePixelsFromItsMask)
{
    for (int bits : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bits);
        // 32-bit images carry their alpha; the others take the AND mask.
        const Bytes file = IconFile({{16, 16, 3, 5, Dib(16, 16, bits, Triangle)}});
        CursorAnimation cursor;
        ASSERT_TRUE(Read(file, cursor));
        ASSERT_EQ(cursor.frames.size(), 1u);
        const platform::CursorImage& image = cursor.frames[0];
        EXPECT_EQ(image.width, 16);
        EXPECT_EQ(image.height, 16);
        EXPECT_EQ(image.hotX, 3);
        EXPECT_EQ(image.hotY, 5);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) ASSERT_EQ(image.argb[std::size_t(y * 16 + x)], Triangle(x, y)) << x << "," << y;
    }
}

TEST(CursorFile, TheLargestEntryWinsAndAnIconsHotspotIsItsCentre)
{
    const Bytes file = IconFile({{16, 16, 1, 1, Dib(16, 16, 8, Triangle)}, {32, 32, 9, 30, Dib(32, 32, 32, Triangle)},
                                 {0, 0, 0, 0, Bytes{0x89, 'P', 'N', 'G'}}});
    CursorAnimation cursor;
    ASSERT_TRUE(Read(file, cursor));
    EXPECT_EQ(cursor.frames[0].width, 32);
    EXPECT_EQ(cursor.frames[0].hotX, 9);
    EXPECT_EQ(cursor.frames[0].hotY, 30);
    const Bytes icon = IconFile({{32, 32, 0, 0, Dib(32, 32, 24, Triangle)}}, 1);
    ASSERT_TRUE(Read(icon, cursor));
    EXPECT_EQ(cursor.frames[0].hotX, 16);
    EXPECT_EQ(cursor.frames[0].hotY, 16);
}

TEST(CursorFile, AnimatedCursorsKeepTheirRatesAndSequence)
{
    const Bytes red = IconFile({{8, 8, 0, 0, Dib(8, 8, 24, [](int, int) { return 0xFFFF0000u; })}});
    const Bytes blue = IconFile({{8, 8, 0, 0, Dib(8, 8, 24, [](int, int) { return 0xFF0000FFu; })}});
    CursorAnimation cursor;
    // Without rate and seq: every frame in turn for the header's jiffies.
    ASSERT_TRUE(Read(Ani({red, blue}, 2, 6), cursor));
    ASSERT_EQ(cursor.steps.size(), 2u);
    EXPECT_EQ(cursor.frames[1].argb[0], 0xFF0000FFu);
    EXPECT_EQ(cursor.steps[1].frame, 1u);
    EXPECT_EQ(cursor.steps[1].jiffies, 6u);
    // With them: three steps, blue, red, blue, of 3, 6 and 12 jiffies (1/60 s).
    ASSERT_TRUE(Read(Ani({red, blue}, 3, 1, {3, 6, 12}, {1, 0, 1}), cursor));
    ASSERT_EQ(cursor.steps.size(), 3u);
    EXPECT_EQ(cursor.steps[0].frame, 1u);
    EXPECT_EQ(cursor.steps[2].jiffies, 12u);
    // 0 ms the first step; 50 ms (3 jiffies) the second; 150 ms the third; 350 ms round again.
    for (auto [ms, step] : {std::pair{0u, 0u}, {49u, 0u}, {50u, 1u}, {149u, 1u}, {150u, 2u}, {349u, 2u}, {350u, 0u}})
        EXPECT_EQ(platform::CursorStepAt(cursor, ms), step) << ms;
}

TEST(CursorFile, DamagedFilesAreRefusedWhole)
{
    const Bytes cur = IconFile({{16, 16, 3, 5, Dib(16, 16, 4, Triangle)}});
    const Bytes ani = Ani({cur, cur}, 2, 6, {}, {0, 1});
    CursorAnimation cursor;
    // Cut short anywhere: refused, never read past the end (ASan watches).
    for (const Bytes* whole : {&cur, &ani}) {
        for (std::size_t size = 0; size < whole->size(); ++size) {
            const Bytes cut(whole->begin(), whole->begin() + std::ptrdiff_t(size));
            EXPECT_FALSE(Read(cut, cursor)) << size;
            EXPECT_TRUE(cursor.frames.empty());
        }
    }
    struct Damage {
        const char* what;
        std::size_t at;
        std::uint8_t value;
    };
    // Offsets into the .cur: directory at 6, image at 22 (its header's height at 30, bits at 36).
    for (const Damage& d : {Damage{"not a cursor", 2, 3}, Damage{"no entries", 4, 0}, Damage{"image offset beyond", 21, 0x7F},
                            Damage{"odd doubled height", 30, 31}, Damage{"bits 3", 36, 3}, Damage{"width 0", 26, 0}}) {
        Bytes bad = cur;
        bad[d.at] = d.value;
        EXPECT_FALSE(Read(bad, cursor)) << d.what;
    }
    // A sequence naming a frame that does not exist.
    EXPECT_FALSE(Read(Ani({cur, cur}, 2, 6, {}, {0, 2}), cursor));
    // More frames announced than given.
    Bytes twoAnnounced = Ani({cur}, 1, 6);
    twoAnnounced[24] = 2; // anih frames
    EXPECT_FALSE(Read(twoAnnounced, cursor));
}

TEST(CursorFile, TheHeadlessServiceShowsTheFrameTheTimeCallsFor)
{
    const Bytes red = IconFile({{8, 8, 0, 0, Dib(8, 8, 24, [](int, int) { return 0xFFFF0000u; })}});
    CursorAnimation animation;
    ASSERT_TRUE(Read(Ani({red, red}, 2, 6), animation));
    platform::HeadlessCursorSystem cursors;
    const platform::CursorHandle made = cursors.Create(animation);
    ASSERT_NE(made, 0u);
    cursors.Show(made);
    cursors.Animate(1000);
    EXPECT_EQ(cursors.ShownFrame(), 0u);
    cursors.Animate(1000 + 100);
    EXPECT_EQ(cursors.ShownFrame(), 1u);
    // Shown again, the steps count from the next frame (1100 ms is 66 jiffies, a second step from 0).
    cursors.Show(made);
    cursors.Animate(1100);
    EXPECT_EQ(cursors.ShownFrame(), 0u);
    cursors.Animate(1200);
    EXPECT_EQ(cursors.ShownFrame(), 1u);
    cursors.Destroy(made);
    EXPECT_EQ(cursors.Shown(), 0u);
    EXPECT_EQ(cursors.ShownSystem(), platform::SystemCursor::Arrow);
    EXPECT_EQ(cursors.Live(), 0u);
    EXPECT_EQ(cursors.Create(CursorAnimation{}), 0u);
}
