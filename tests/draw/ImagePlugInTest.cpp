#include "draw/DrawHolder.h"
#include "draw/PictureLoader.h"
#include "tests/draw/PictureFiles.h"
#include "tests/draw/ScreenFixture.h"
#include "tests/kit/TempFolder.h"

using namespace kivotasuGameKit;
using picturekit::Bytes;
using picturekit::Gradient;

namespace {

// A picture of the test plug-in's format, padded to the given size.
Bytes Qpic(int width, int height, uint8_t behaviour, size_t size = 2048)
{
    Bytes file(16, 0);
    std::copy_n("QPIC", 4, file.begin());
    picturekit::Put32(file, 4, uint32_t(width));
    picturekit::Put32(file, 8, uint32_t(height));
    file[12] = behaviour;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = Gradient(x, y);
            file.insert(file.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
        }
    file.resize(std::max(file.size(), size), 0);
    return file;
}

} // namespace

class ImagePlugInTest : public screentest::ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        m_saved = PlugInFolder;
        PlugInFolder = platform::ToInternalPath(QUILTOR_IMAGE_PLUGIN_DIR "/SPI");
    }
    void TearDown() override
    {
        PlugInFolder = m_saved;
        ScreenTest::TearDown();
    }

    void Put(const char* name, const Bytes& bytes) { folder.Put(name, std::string(bytes.begin(), bytes.end())); }
    int Load(CFile& file, CPictureLoader& loader, const char* name)
    {
        file.Read(folder.Name(name), FileKind::Picture);
        return loader.Load(file);
    }

    TempFolder folder;

private:
    CTextString m_saved;
};

TEST_F(ImagePlugInTest, PictureOfThePlugInsFormatIsDrawnNotCopied)
{
    Put("pic.qpic", Qpic(5, 3, 0));
    CFile file;
    CPictureLoader loader;
    ASSERT_EQ(Load(file, loader, "pic.qpic"), 0);
    EXPECT_FALSE(loader.HasAlpha());
    int w = 0, h = 0;
    ASSERT_EQ(loader.GetSize(&w, &h), 0);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(h, 3);
    pixelkit::TestSurface target(pixelkit::kBGR888, 5, 3);
    EXPECT_EQ(loader.CopyTo(&target.Info()), -1);
    ASSERT_EQ(loader.Render(&target.Info()), 0);
    EXPECT_TRUE(picturekit::Shows(target, Gradient));
    // Drawing twice frees the first answer first.
    ASSERT_EQ(loader.Render(&target.Info()), 0);
}

TEST_F(ImagePlugInTest, LibraryIsFoundBySuffixInAnyLetterCase)
{
    Put("pic.QPIC", Qpic(2, 2, 0));
    CFile file;
    CPictureLoader loader;
    EXPECT_EQ(Load(file, loader, "pic.QPIC"), 0);
    Put("pic.none", Qpic(2, 2, 0));
    CFile other;
    CPictureLoader none;
    EXPECT_EQ(Load(other, none, "pic.none"), 1);
}

TEST_F(ImagePlugInTest, ShortOrForeignDataIsNeverTaken)
{
    Put("short.qpic", Qpic(2, 2, 0, 2047));
    Put("foreign.qpic", Bytes(4096, 0x20));
    CFile shortFile, foreignFile;
    CPictureLoader shortLoader, foreignLoader;
    EXPECT_EQ(Load(shortFile, shortLoader, "short.qpic"), 1);
    EXPECT_EQ(Load(foreignFile, foreignLoader, "foreign.qpic"), 1);
    int w, h;
    EXPECT_EQ(foreignLoader.GetSize(&w, &h), 1);
}

TEST_F(ImagePlugInTest, AnswerThatDoesNotHoldWhatItClaimsIsRefused)
{
    for (uint8_t behaviour : {1, 2}) {
        SCOPED_TRACE(int(behaviour));
        Put("bad.qpic", Qpic(4, 4, behaviour));
        CFile file;
        CPictureLoader loader;
        ASSERT_EQ(Load(file, loader, "bad.qpic"), 0);
        pixelkit::TestSurface target(pixelkit::kRGB888, 4, 4);
        EXPECT_EQ(loader.Render(&target.Info()), 1);
        EXPECT_TRUE(picturekit::Shows(target, [](int, int) { return 0u; }));
        // The failure let the plug-in go.
        int w, h;
        EXPECT_EQ(loader.GetSize(&w, &h), 1);
    }
}

TEST_F(ImagePlugInTest, PlugInPictureReachesAnAlphaPlaneOfA16BitScreen)
{
    Put("pic.qpic", Qpic(3, 2, 0));
    UseDisplayFormat("RGB565");
    CDrawHolder holder;
    ASSERT_EQ(holder.GetDraw()->SetDisplay(false, 0, 0, 0), 0);
    Draw::CFastPlane plane;
    plane.SetWantsAlpha(true);
    ASSERT_EQ(plane.Load(folder.Name("pic.qpic")), 0);
    EXPECT_EQ(plane.GetSurfaceType(), ARGB4565);
    uint32_t pixel = 0;
    plane.GetSurfaceInfo()->GetPixel(2, 1, &pixel);
    EXPECT_EQ(pixel, picturekit::Expected(ARGB4565, 0xFF000000 | Gradient(2, 1), true));
}
