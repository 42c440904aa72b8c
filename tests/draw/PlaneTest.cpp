#include "draw/DrawHolder.h"
#include "draw/PictureLoader.h"
#include "draw/polygon/PolygonBltParams.h"
#include "platform/PictureEncoder.h"
#include "tests/draw/PictureFiles.h"
#include "tests/draw/ScreenFixture.h"
#include "tests/kit/TempFolder.h"

using namespace kivotasuGameKit;
using namespace screentest;
using picturekit::Bytes;
using picturekit::Expected;

namespace {

std::string AsText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A loader that recognises anything, with a size and a drawing result the
// test chooses, and that can only draw.
class FakeLoader : public IPictureLoader {
public:
    FakeLoader(int width, int height, int render) : m_width(width), m_height(height), m_render(render) {}
    int Load(CFile&) override { return 0; }
    int GetSize(int* width, int* height) override { return *width = m_width, *height = m_height, 0; }
    bool HasAlpha() override { return false; }
    int Render(HDC) override { return m_render; }
    int CopyTo(CSurfaceInfo*) override { return -1; }
    int Release() override { return 0; }
    int GetPalette(PALETTEENTRY*) override { return 1; }

private:
    int m_width, m_height, m_render;
};

class FakeFactory : public IPictureLoaderFactory {
public:
    FakeFactory(int width, int height, int render) : m_width(width), m_height(height), m_render(render) {}
    CSmartPtr<IPictureLoader> Create() override
    {
        return CSmartPtr<IPictureLoader>(new FakeLoader(m_width, m_height, m_render));
    }

private:
    int m_width, m_height, m_render;
};

// Puts a loader factory in place for one scope.
class ScopedFactory {
public:
    explicit ScopedFactory(IPictureLoaderFactory* factory) : m_saved(PictureLoaderFactoryInstance)
    {
        PictureLoaderFactoryInstance = CSmartPtr<IPictureLoaderFactory>(factory);
    }
    ~ScopedFactory() { PictureLoaderFactoryInstance = m_saved; }

private:
    CSmartPtr<IPictureLoaderFactory> m_saved;
};

// A plane whose memory surface accepts any size, so that only the bitmap to
// draw into can fail.
class AnySizePlane : public Draw::CFastPlane {
public:
    int CreateMemorySurface(int, int, SurfaceType type) override { return InnerCreateMemorySurface(1, 1, type, false); }
};

} // namespace

class PlaneTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        folder.Put("pic.bmp", AsText(picturekit::MakeBmp(picturekit::Bmp24(6, 4))));
        folder.Put("noise.bmp", std::string(300, '\x5A'));
    }

    TempFolder folder;
};

TEST_F(PlaneTest, LoadPictureReportsEachFailedStep)
{
    CDrawHolder holder;
    Draw::CFastPlane plane;
    EXPECT_EQ(plane.LoadPicture(folder.Name("pic.bmp"), XRGB8888), 0);
    EXPECT_EQ(plane.LoadPicture(folder.Name("missing.bmp"), XRGB8888), -1);
    EXPECT_EQ(plane.LoadPicture(folder.Name("noise.bmp"), XRGB8888), -2);
    Bytes topDown = picturekit::MakeBmp(picturekit::Bmp24(6, 4));
    picturekit::Put32(topDown, 22, uint32_t(-4));
    folder.Put("topdown.bmp", AsText(topDown));
    EXPECT_EQ(plane.LoadPicture(folder.Name("topdown.bmp"), XRGB8888), -2);
    EXPECT_EQ(plane.LoadPicture(folder.Name("pic.bmp"), SurfaceType(9)), -3);
    EXPECT_EQ(plane.LoadPicture(folder.Name("pic.bmp"), Pal8), -3);
    {
        ScopedFactory fake(new FakeFactory(0, 3, 0));
        AnySizePlane anySize;
        EXPECT_EQ(anySize.LoadPicture(folder.Name("pic.bmp"), XRGB8888), -4);
    }
    {
        ScopedFactory fake(new FakeFactory(2, 2, 1));
        Draw::CFastPlane drawn;
        drawn.CreateMemorySurface(2, 2, XRGB8888);
        drawn.SetFillColor(0x123456);
        EXPECT_EQ(drawn.LoadPicture(folder.Name("pic.bmp"), XRGB8888), -5);
        uint32_t pixel = 0;
        drawn.GetSurfaceInfo()->GetPixel(1, 1, &pixel);
        EXPECT_EQ(pixel, 0x123456u); // cleared with its fill colour
    }
}

TEST_F(PlaneTest, LoadedPictureKeysOnItsTopLeftPixel)
{
    UseDisplayFormat("RGB565");
    CDrawHolder holder;
    holder.GetDraw()->SetDisplay(false, 0, 0, 0);
    Draw::CFastPlane plane;
    ASSERT_EQ(plane.Load(folder.Name("pic.bmp")), 0);
    EXPECT_EQ(plane.GetSurfaceType(), RGB565);
    EXPECT_EQ(plane.GetFileName(), folder.Name("pic.bmp"));
    EXPECT_EQ(plane.GetColorKey(), Expected(RGB565, picturekit::Gradient(0, 0)));
    EXPECT_EQ(plane.GetSurfaceInfo()->GetColorKey(), plane.GetColorKey());

    EXPECT_EQ(plane.SetColorKeyPos(5, 3), 0);
    EXPECT_EQ(plane.GetColorKey(), Expected(RGB565, picturekit::Gradient(5, 3)));
    plane.SetColorKeyRGB(1, 2, 3);
    EXPECT_EQ(plane.GetColorKey(), 0x010203u);
    EXPECT_EQ(plane.GetSurfaceInfo()->GetColorKey(), 0x010203u);
    // A fixed key survives a reload; a key by position is read again.
    ASSERT_EQ(plane.InnerLoad(folder.Name("pic.bmp")), 0);
    EXPECT_EQ(plane.GetColorKey(), 0x010203u);
    ASSERT_EQ(plane.Load(folder.Name("pic.bmp")), 0);
    EXPECT_EQ(plane.GetColorKey(), Expected(RGB565, picturekit::Gradient(0, 0)));
}

TEST_F(PlaneTest, DrawnOnlyPicturesReachAlphaPlanesOfEveryScreenType)
{
    platform::DecodedPicture picture{3, 2, Bytes(3 * 2 * 3)};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const uint32_t c = picturekit::Gradient(x, y);
            uint8_t* cell = picture.rows.data() + (y * 3 + x) * 3;
            cell[0] = uint8_t(c), cell[1] = uint8_t(c >> 8), cell[2] = uint8_t(c >> 16);
        }
    Bytes png;
    ASSERT_TRUE(platform::EncodePng(picture, png));
    folder.Put("pic.png", AsText(png));

    for (const char* format : {"Pal8", "RGB565", "RGB555", "RGB888", "BGR888", "XRGB8888", "XBGR8888"}) {
        SCOPED_TRACE(format);
        UseDisplayFormat(format);
        CDrawHolder holder;
        ASSERT_EQ(holder.GetDraw()->SetDisplay(false, 0, 0, 0), 0);
        Draw::CFastPlane plane;
        plane.SetWantsAlpha(true);
        ASSERT_EQ(plane.Load(folder.Name("pic.png")), 0);
        const SurfaceType type = plane.GetSurfaceType();
        EXPECT_EQ(type, CSurfaceInfo::ToAlphaType(holder.GetDraw()->GetScreenType()));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                uint32_t pixel = 0;
                plane.GetSurfaceInfo()->GetPixel(x, y, &pixel);
                EXPECT_EQ(pixel, Expected(type, 0xFF000000 | picturekit::Gradient(x, y), true)) << x << "," << y;
            }
    }
}

TEST_F(PlaneTest, DecodedPictureKeysOutItsTopLeftColourOnAnXScreen)
{
    // A checker of two colours: the top-left one is the key.
    platform::DecodedPicture checker{4, 4, Bytes(4 * 4 * 3)};
    for (int i = 0; i < 16; ++i) {
        const uint32_t c = ((i % 4) + (i / 4)) % 2 ? 0x00A0B0C0 : 0x00102030;
        checker.rows[i * 3] = uint8_t(c), checker.rows[i * 3 + 1] = uint8_t(c >> 8), checker.rows[i * 3 + 2] = uint8_t(c >> 16);
    }
    Bytes png;
    ASSERT_TRUE(platform::EncodePng(checker, png));
    folder.Put("checker.png", AsText(png));
    for (const char* format : {"XRGB8888", "XBGR8888"}) {
        SCOPED_TRACE(format);
        UseDisplayFormat(format);
        CDrawHolder holder;
        ASSERT_EQ(holder.GetDraw()->SetDisplay(false, 0, 0, 0), 0);
        Draw::CFastPlane picture, target;
        ASSERT_EQ(picture.Load(folder.Name("checker.png")), 0);
        EXPECT_EQ(picture.GetColorKey(), 0x102030u);
        ASSERT_EQ(target.CreateMemorySurface(4, 4, picture.GetSurfaceType()), 0);
        target.SetFillColor(0x00FFFFFF);
        target.Clear();
        ASSERT_EQ(target.KeyCopyBlt(&picture, 0, 0), 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                uint32_t pixel = 0;
                target.GetSurfaceInfo()->GetPixel(x, y, &pixel);
                EXPECT_EQ(pixel, (x + y) % 2 ? 0x00A0B0C0u : 0x00FFFFFFu) << x << "," << y;
            }
    }
}

TEST_F(PlaneTest, SurfacesOfNoMemoryTypeOrSizeAreRefused)
{
    CDrawHolder holder;
    CFastDraw& draw = *holder.GetDraw();
    ASSERT_EQ(draw.SetDisplay(false, 0, 0, 0), 0);
    Draw::CFastPlane plane;
    EXPECT_EQ(plane.CreateMemorySurface(4, 4, SurfaceType(9)), 1);
    EXPECT_EQ(plane.CreateMemorySurface(4, 4, Pal8), 1);
    EXPECT_EQ(plane.CreateMemorySurface(1 << 20, 1 << 20, XRGB8888), 1);
    EXPECT_EQ(plane.CreateSurface(0, 4, false), 1);
    EXPECT_EQ(plane.CreateSurface(1 << 20, 1 << 20, false), 1);
    EXPECT_FALSE(plane.GetSurfaceInfoPtr()->IsCreated());
    // A refused size is not the plane's: a save would write it back.
    int width = -1, height = -1;
    EXPECT_TRUE(plane.GetSize(&width, &height));
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    EXPECT_EQ(plane.InnerLoad("#notdefined#"), 0);
    EXPECT_FALSE(plane.GetSurfaceInfoPtr()->IsCreated());

    // Wider than the display: memory of the screen's type, packed rows.
    const std::size_t planes = draw.GetPlaneCount();
    ASSERT_EQ(plane.CreateSurface(641, 10, false), 0);
    EXPECT_EQ(plane.GetDDSurface(), nullptr);
    EXPECT_EQ(plane.GetSurfaceType(), XRGB8888);
    EXPECT_EQ(plane.GetSurfaceInfo()->GetPitch(), 641 * 4);
    EXPECT_EQ(draw.GetPlaneCount(), planes + 1);
    ASSERT_EQ(plane.CreateSurface(64, 10, false), 0);
    EXPECT_NE(plane.GetDDSurface(), nullptr);
    EXPECT_EQ(draw.GetPlaneCount(), planes + 1);
    EXPECT_EQ(plane.Resize(64, 10), 0);
    plane.Release();
    EXPECT_EQ(draw.GetPlaneCount(), planes);
    EXPECT_EQ(plane.GetDDSurface(), nullptr);
}

TEST_F(PlaneTest, DisplaySurfacesOfA24BitScreenHaveAnEvenWidth)
{
    UseDisplayFormat("RGB888");
    CDrawHolder holder;
    ASSERT_EQ(holder.GetDraw()->SetDisplay(false, 0, 0, 0), 0);
    Draw::CFastPlane plane;
    ASSERT_EQ(plane.CreateSurface(5, 3, false), 0);
    ASSERT_NE(plane.GetDDSurface(), nullptr);
    EXPECT_EQ(plane.GetSurfaceInfo()->GetWidth(), 5);
    // Six cells of 3 bytes, rows aligned to 4 bytes by the display.
    EXPECT_EQ(plane.GetSurfaceInfo()->GetPitch(), 20);
}

TEST_F(PlaneTest, BlitShortcutsPlaceTheSourceAndForwardThePolygon)
{
    CDrawHolder holder;
    Draw::CFastPlane source, target;
    ASSERT_EQ(source.CreateMemorySurface(4, 4, XRGB8888), 0);
    ASSERT_EQ(target.CreateMemorySurface(8, 8, XRGB8888), 0);
    source.SetFillColor(0x00FF0000);
    source.Clear(nullptr);
    const RECT corner{0, 0, 2, 2};
    source.SetFillColor(0x0000FF00);
    source.Clear(&corner);

    const RECT part{1, 1, 3, 3};
    EXPECT_EQ(target.CopyBlt(&source, 5, 6, nullptr, &part), 0);
    uint32_t pixel = 0;
    target.GetSurfaceInfo()->GetPixel(5, 6, &pixel);
    EXPECT_EQ(pixel, 0x0000FF00u);
    target.GetSurfaceInfo()->GetPixel(6, 7, &pixel);
    EXPECT_EQ(pixel, 0x00FF0000u);
    target.GetSurfaceInfo()->GetPixel(4, 6, &pixel);
    EXPECT_EQ(pixel, 0u);
    // Anchor 8: the point is the bottom-right corner.
    EXPECT_EQ(target.CopyBlt(&source, 4, 4, nullptr, nullptr, nullptr, 8), 0);
    target.GetSurfaceInfo()->GetPixel(0, 0, &pixel);
    EXPECT_EQ(pixel, 0x0000FF00u);

    Draw::CFastPlane other;
    ASSERT_EQ(other.CreateMemorySurface(4, 4, RGB565), 0);
    EXPECT_EQ(target.PolygonBlt(2, source.GetSurfaceInfoPtr(), nullptr, 0), 1);
    EXPECT_EQ(target.PolygonBlt(0, source.GetSurfaceInfoPtr(), nullptr, 0), 0);
    EXPECT_EQ(target.PolygonBlt(10, other.GetSurfaceInfoPtr(), nullptr, 0), 2);
    // Mirrored left to right onto the target's top-left corner.
    const POINT sourcePoints[4]{{3, 0}, {0, 0}, {0, 3}, {3, 3}};
    const POINT targetPoints[4]{{0, 0}, {3, 0}, {3, 3}, {0, 3}};
    const PolygonBltParams polygon{sourcePoints, targetPoints, nullptr, 0, 4};
    EXPECT_EQ(target.PolygonBlt(0, source.GetSurfaceInfoPtr(), &polygon, 0), 0);
    target.GetSurfaceInfo()->GetPixel(3, 0, &pixel);
    EXPECT_EQ(pixel, 0x0000FF00u);
    target.GetSurfaceInfo()->GetPixel(0, 0, &pixel);
    EXPECT_EQ(pixel, 0x00FF0000u);
}
