#include <gtest/gtest.h>

#include "script/dib/DIB32Ex.h"
#include "script/dib/DibInfoCache.h"
#include "tests/script/dib/PictureKit.h"

using dibkit::Tag;

namespace {

// A 100 x 50 picture on the 640 x 480 screen: loaded without X and Y it
// stands centred on the bottom edge, at (270, 430).
class PlacementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CDibInfoCache::GetInstance().Clear();
        m_file = dibkit::WritePicture(m_folder, "p.bmp", 100, 50, dibkit::Gradient);
        m_other = dibkit::WritePicture(m_folder, "q.bmp", 100, 50, dibkit::Gradient);
    }
    void TearDown() override { CDibInfoCache::GetInstance().Clear(); }

    void Apply(const std::string& attributes, const std::string& file)
    {
        CTagAttributes record = Tag("[ACT" + (file.empty() ? "" : " FILE=\"" + file + "\"") + attributes + "]");
        m_picture.Parse(record);
    }
    void Load(const std::string& attributes) { Apply(attributes, m_file); }

    TempFolder m_folder;
    std::string m_file, m_other;
    DIB::CDIB32Ex m_picture{"p"};
};

TEST_F(PlacementTest, EveryHorizontalKeywordPlacesFromTheDefaultPosition)
{
    const struct {
        const char* word;
        int x;
    } cases[] = {
        {"ORIGINAL", 270 - 160}, {"CENTER", 270}, {"LEFT", 270 - 160}, {"RIGHT", 270 + 160},
        {"LEFTSIDE", 0},        {"RIGHTSIDE", 640 - 100}, {"37", 37}, {"-12", -12},
    };
    for (const auto& c : cases) {
        Load(std::string(" X=\"") + c.word + "\"");
        EXPECT_EQ(m_picture.GetX(), c.x) << c.word;
        EXPECT_EQ(m_picture.GetY(), 430) << c.word;
    }
}

TEST_F(PlacementTest, EveryVerticalKeywordPlacesByTheScreenHeight)
{
    const struct {
        const char* word;
        int y;
    } cases[] = {
        {"ORIGINAL", 430}, {"MIDDLE", 240 - 25}, {"TOP", 120 - 25}, {"BOTTOM", 360 - 25},
        {"ROOF", 0},       {"FLOOR", 480 - 50},  {"8", 8},
    };
    for (const auto& c : cases) {
        Load(std::string(" Y=\"") + c.word + "\"");
        EXPECT_EQ(m_picture.GetY(), c.y) << c.word;
        EXPECT_EQ(m_picture.GetX(), 270) << c.word;
    }
}

TEST_F(PlacementTest, AKeywordStaysInForceAndANumberGivesWayToTheNextLoad)
{
    Load(" X=\"RIGHTSIDE\" Y=\"ROOF\"");
    Apply("", m_other);
    EXPECT_EQ(m_picture.GetX(), 540);
    EXPECT_EQ(m_picture.GetY(), 0);
    EXPECT_TRUE(m_picture.IsKeywordPlaced());

    Load(" X=\"5\" Y=\"6\"");
    EXPECT_FALSE(m_picture.IsKeywordPlaced());
    Apply("", m_other);
    EXPECT_EQ(m_picture.GetX(), 270) << "a kept number leaves the default position";
    EXPECT_EQ(m_picture.GetY(), 430);
}

TEST_F(PlacementTest, WordsThatAreNeitherKeywordNorNumberChangeNothing)
{
    Load(" X=\"LEFTSIDE\"");
    Load(" X=\"leftside\" Y=\"floor\"");
    EXPECT_EQ(m_picture.GetX(), 0) << "keywords match in their own case only";
    EXPECT_EQ(m_picture.GetY(), 430);
}

TEST_F(PlacementTest, ATagWithoutFileMovesThePictureBySizeItHas)
{
    Load("");
    Apply(" X=\"RIGHTSIDE\" Y=\"MIDDLE\"", "");
    EXPECT_EQ(m_picture.GetX(), 540);
    EXPECT_EQ(m_picture.GetY(), 215);
}

} // namespace
