// The BMP and compressed surface files a surface writes, read back.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "frame/file/Lzss.h"
#include "tests/kit/pixel/TestSurface.h"

using namespace pixelkit;

namespace {

class SurfaceFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("quiltor-surface-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    // The internal form of a host path: drive Z:, backslashes.
    std::string Name(const std::string& leaf) const
    {
        std::string name = "Z:" + (m_dir / leaf).string();
        for (char& c : name)
            if (c == '/') c = '\\';
        return name;
    }
    std::vector<uint8_t> Read(const std::string& leaf) const
    {
        std::ifstream in(m_dir / leaf, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path m_dir;
    std::mt19937 rng{11};
};

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

TEST_F(SurfaceFileTest, BitmapHoldsTheRectangleBottomUpWithZeroPadding)
{
    TestSurface s(kRGB565, 9, 6);
    s.FillRandom(rng);
    const kivotasuGameKit::RECT rect{2, 1, 7, 5}; // 5 x 4: rows of 15 bytes padded to 16
    ASSERT_EQ(s->SaveBitmap(Name("a.bmp"), &rect), 0);
    const auto file = Read("a.bmp");
    ASSERT_EQ(file.size(), 54u + 4 * 16);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32(file, 2), file.size());
    EXPECT_EQ(U32(file, 10), 54u);
    EXPECT_EQ(U32(file, 14), 40u);
    EXPECT_EQ(U32(file, 18), 5u);
    EXPECT_EQ(U32(file, 22), 4u);
    EXPECT_EQ(file[26] | file[27] << 8, 1);
    EXPECT_EQ(file[28] | file[29] << 8, 24);
    EXPECT_EQ(U32(file, 30), 0u);
    EXPECT_EQ(U32(file, 38), 3780u);
    EXPECT_EQ(U32(file, 42), 3780u);
    for (int row = 0; row < 4; ++row) {
        const int y = 4 - row; // bottom row first
        for (int x = 0; x < 5; ++x) {
            uint8_t expected[3];
            RefWrite(kRGB888, expected, RefRead(kRGB565, s.Cell(2 + x, y)));
            for (int i = 0; i < 3; ++i) EXPECT_EQ(file[54 + row * 16 + x * 3 + i], expected[i]);
        }
        EXPECT_EQ(file[54 + row * 16 + 15], 0);
    }
    const kivotasuGameKit::RECT empty{3, 3, 3, 9};
    EXPECT_EQ(s->SaveBitmap(Name("b.bmp"), &empty), -1);
    const kivotasuGameKit::RECT one{0, 0, 1, 1};
    ASSERT_EQ(s->SaveBitmap(Name("c.bmp"), &one), 0);
    EXPECT_EQ(Read("c.bmp").size(), 58u);
}

TEST_F(SurfaceFileTest, CompressedFileHoldsARGB8888RowsRawOrEncoded)
{
    for (int32_t type : {kARGB8888, kXBGR8888, kARGB4555}) {
        TestSurface s(type, 21, 9); // rows padded by guards: not one block
        s.FillRandom(rng);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 21; ++x) std::fill_n(s.Cell(x, y), s.CellBytes(), uint8_t(0x40)); // compressible
        std::vector<uint8_t> raw;
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 21; ++x) {
                uint8_t cell[4];
                if (type == kARGB8888) std::copy_n(s.Cell(x, y), 4, cell);
                else RefWrite(kARGB8888, cell, RefRead(type, s.Cell(x, y)));
                raw.insert(raw.end(), cell, cell + 4);
            }
        }
        ASSERT_EQ(s->SaveCompressed(Name("plain.ovk"), nullptr, false), 0);
        const auto plain = Read("plain.ovk");
        ASSERT_EQ(plain.size(), 24 + raw.size());
        EXPECT_EQ(std::string(plain.begin(), plain.begin() + 4), std::string("ovk\0", 4));
        EXPECT_EQ(U32(plain, 4), 21u);
        EXPECT_EQ(U32(plain, 8), 9u);
        EXPECT_EQ(U32(plain, 12), 0u);
        EXPECT_EQ(U32(plain, 16), raw.size());
        EXPECT_EQ(U32(plain, 20), raw.size());
        EXPECT_TRUE(std::equal(raw.begin(), raw.end(), plain.begin() + 24)) << TypeName(type);

        ASSERT_EQ(s->SaveCompressed(Name("packed.ovk"), nullptr, true), 0);
        const auto packed = Read("packed.ovk");
        ASSERT_EQ(U32(packed, 12), 1u);
        ASSERT_EQ(packed.size(), 24 + U32(packed, 20));
        ASSERT_LT(packed.size(), plain.size());
        kivotasuGameKit::CLZSS codec;
        uint8_t* decoded = nullptr;
        ASSERT_EQ(codec.Decode(packed.data() + 24, U32(packed, 20), &decoded, uint32_t(raw.size()), true), 0);
        EXPECT_TRUE(std::equal(raw.begin(), raw.end(), decoded)) << TypeName(type);
        delete[] decoded;
    }
    TestSurface s(kARGB8888, 4, 4);
    const kivotasuGameKit::RECT empty{2, 2, 1, 4};
    EXPECT_EQ(s->SaveCompressed(Name("none.ovk"), &empty, false), -1);
}

} // namespace
