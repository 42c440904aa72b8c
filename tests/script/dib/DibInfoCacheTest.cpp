#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "frame/EScript.h"
#include "script/dib/DibInfoCache.h"
#include "tests/script/dib/PictureKit.h"

using dibkit::Gradient;
using dibkit::Pixel;
using kivotasuGameKit::CTextString;

namespace {

class DibInfoCacheTest : public ::testing::Test {
protected:
    void SetUp() override { Cache().Clear(); }
    void TearDown() override { Cache().Clear(); }
    static CDibInfoCache& Cache() { return CDibInfoCache::GetInstance(); }

    std::string Put(const std::string& name, int width = 4, int height = 3,
                    const dibkit::Pattern& pattern = Gradient)
    {
        return dibkit::WritePicture(m_folder, name, width, height, pattern);
    }
    void Remove(const std::string& name) { std::filesystem::remove(m_folder.Host(name)); }

    TempFolder m_folder;
};

TEST_F(DibInfoCacheTest, KeepsThePixelsSizeAndDefaultPositionOfTheFile)
{
    const auto info = Cache().Get(Put("a.bmp", 40, 30));
    ASSERT_EQ(info->GetWidth(), 40);
    ASSERT_EQ(info->GetHeight(), 30);
    EXPECT_EQ(info->GetDefaultX(), (640 - 40) / 2);
    EXPECT_EQ(info->GetDefaultY(), 480 - 30);
    EXPECT_EQ(Pixel(info->GetPlane(), 0, 0), Gradient(0, 0));
    EXPECT_EQ(Pixel(info->GetPlane(), 39, 29), Gradient(39, 29));
    EXPECT_EQ(info->GetErase().mode, DIB::CEraseInfo::None);
}

TEST_F(DibInfoCacheTest, LoadsAFileOnceAndDropsTheLeastRecentlyUsed)
{
    const std::string a = Put("a.bmp"), b = Put("b.bmp"), c = Put("c.bmp"), d = Put("d.bmp");
    const auto infoA = Cache().Get(a);
    Cache().Get(b);
    const auto infoC = Cache().Get(c);
    EXPECT_EQ(Cache().GetCount(), 3u);
    EXPECT_EQ(Cache().Get(a), infoA) << "a second request is answered from the cache";
    const auto infoD = Cache().Get(d);
    EXPECT_EQ(Cache().GetCount(), 3u);

    // With the files gone only what the cache kept can still be had.
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) Remove(name);
    EXPECT_EQ(Cache().Get(a), infoA);
    EXPECT_EQ(Cache().Get(c), infoC);
    EXPECT_EQ(Cache().Get(d), infoD);
    EXPECT_THROW(Cache().Get(b), EScript) << "b was the least recently used when d came in";
}

TEST_F(DibInfoCacheTest, AnInfoOutlivesItsPlaceInTheCache)
{
    const auto held = Cache().Get(Put("a.bmp", 5, 5));
    Cache().Clear();
    EXPECT_EQ(Pixel(held->GetPlane(), 4, 4), Gradient(4, 4));
}

TEST_F(DibInfoCacheTest, AMissingFileIsAScriptErrorNamingIt)
{
    const std::string missing = m_folder.Name("nothing.bmp");
    try {
        Cache().Get(missing);
        FAIL() << "no error";
    } catch (const EScript& error) {
        EXPECT_NE(error.GetMessage().GetStr().find(missing), std::string::npos);
    }
    EXPECT_EQ(Cache().GetCount(), 0u);
}

TEST_F(DibInfoCacheTest, ANameHoldingBmpInEitherWholeCaseKeysThePicture)
{
    EXPECT_TRUE(Cache().Get(Put("lower.bmp"))->IsKeyed());
    EXPECT_TRUE(Cache().Get(Put("UPPER.BMP"))->IsKeyed());
    EXPECT_TRUE(Cache().Get(Put("x.bmp.jpg"))->IsKeyed());
    EXPECT_FALSE(Cache().Get(Put("mixed.Bmp"))->IsKeyed());
    const struct {
        const char* name;
        bool keyed;
    } names[] = {{".bmp", true}, {".BMPx", true}, {"dir.bmp\\a.jpg", true}, {"bmp", false},
                 {"a.bMP", false}, {"a.bm", false}, {"", false}};
    for (const auto& name : names) EXPECT_EQ(DIB::IsBitmapName(CTextString(name.name)), name.keyed) << name.name;
}

TEST_F(DibInfoCacheTest, DefaultXRoundsDownForAPictureWiderThanTheScreen)
{
    EXPECT_EQ(Cache().Get(Put("wide.bmp", 641, 2))->GetDefaultX(), -1);
    EXPECT_EQ(Cache().Get(Put("wider.bmp", 643, 2))->GetDefaultX(), -2);
    EXPECT_EQ(Cache().Get(Put("narrow.bmp", 39, 2))->GetDefaultX(), 300);
}

TEST_F(DibInfoCacheTest, APictureThatIsNotABitmapBecomesOpaque)
{
    const auto info = Cache().Get(Put("seethrough.ovk", 3, 2, [](int x, int y) { return 0x40102030u + x + y; }));
    EXPECT_FALSE(info->IsKeyed());
    EXPECT_EQ(Pixel(info->GetPlane(), 0, 0), 0xFF102030u);
    EXPECT_EQ(Pixel(info->GetPlane(), 2, 1), 0xFF102033u);
}

TEST_F(DibInfoCacheTest, PicturesStillCachedAtExitAreFreedCleanly)
{
    // A fresh process, so that nothing else has made the draw registry yet.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Cache().Get(Put("kept.bmp"));
            std::filesystem::remove_all(m_folder.Host());
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
