#include <gtest/gtest.h>

#include "frame/file/FileWriter.h"
#include "script/dib/DIB32Ex.h"
#include "script/dib/DibInfoCache.h"
#include "tests/script/dib/PictureKit.h"

using dibkit::Tag;
using kivotasuGameKit::CTextString;

namespace {

class PictureWriteTest : public ::testing::Test {
protected:
    void SetUp() override { CDibInfoCache::GetInstance().Clear(); }
    void TearDown() override { CDibInfoCache::GetInstance().Clear(); }

    void Apply(DIB::CDIB32Ex& picture, const std::string& tag)
    {
        CTagAttributes record = Tag(tag);
        picture.Parse(record);
    }
    std::string Written(DIB::CDIB32Ex& picture)
    {
        {
            kivotasuGameKit::CTextFileWriter writer(CTextString(m_folder.Name("out.txt")));
            picture.Write(writer);
        }
        return m_folder.Get("out.txt");
    }

    TempFolder m_folder;
};

TEST_F(PictureWriteTest, AFreshPictureWritesItsSizeAndName)
{
    DIB::CDIB32Ex picture(CTextString("a"));
    EXPECT_EQ(Written(picture), " WIDTH=\"0\" HEIGHT=\"0\" NAME=\"a\"]\n");
}

TEST_F(PictureWriteTest, EveryAttributeAtItsWrittenForm)
{
    const std::string file = dibkit::WritePicture(m_folder, "p.bmp", 10, 6, dibkit::Gradient);
    DIB::CDIB32Ex picture(CTextString("p"));
    Apply(picture, "[ACT FILE=\"" + file + "\" X=\"RIGHT\" Y=\"-7\" BLEND=\"40\" MIRROR=\"3\" FLIP=\"5\" NEGA=\"1\""
                   " MOSAIC=\"2\" DEEP=\"#0a0b0c\" PRISM=\"#0D0E0F\" ERASE=\"#abcdef\"]");
    EXPECT_EQ(Written(picture), " WIDTH=\"10\" HEIGHT=\"6\" NAME=\"p\" FILE=\"" + file +
                                    "\" X=\"RIGHT\" Y=\"-7\" BLEND=\"40\" MIRROR=\"1\" FLIP=\"1\" NEGA=\"1\" MOSAIC=\"2\""
                                    " DEEP=\"#0A0B0C\" PRISM=\"#0d0e0f\" ERASE=\"#ABCDEF\"]\n");

    // Read back: the same text again, and the same pixels.
    DIB::CDIB32Ex again(CTextString("p"));
    Apply(again, "[ACT" + Written(picture));
    EXPECT_EQ(Written(again), Written(picture));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(dibkit::Pixel(again, x, y), dibkit::Pixel(picture, x, y));
    EXPECT_EQ(again.GetColorKey(), picture.GetColorKey());
}

TEST_F(PictureWriteTest, ALoadWithoutEraseWritesNone)
{
    const std::string a = dibkit::WritePicture(m_folder, "a.bmp", 4, 4, dibkit::Gradient);
    const std::string b = dibkit::WritePicture(m_folder, "b.bmp", 4, 4, dibkit::Gradient);
    DIB::CDIB32Ex picture(CTextString("p"));
    Apply(picture, "[ACT FILE=\"" + a + "\" ERASE=\"LEFTTOP\" X=\"CENTER\" Y=\"ORIGINAL\"]");
    EXPECT_NE(Written(picture).find(" ERASE=\"LEFTTOP\"]"), std::string::npos);
    Apply(picture, "[ACT FILE=\"" + b + "\"]");
    EXPECT_EQ(Written(picture), " WIDTH=\"4\" HEIGHT=\"4\" NAME=\"p\" FILE=\"" + b + "\" ERASE=\"NONE\"]\n")
        << "the default modes CENTER and ORIGINAL are left out";
}

} // namespace
