#include "draw/DrawHolder.h"
#include "draw/effect/PaletteTable.h"
#include "tests/draw/PictureFiles.h"
#include "tests/draw/ScreenFixture.h"
#include "tests/kit/TempFolder.h"

#include <cstring>
#include <limits>

using namespace kivotasuGameKit;
using namespace screentest;
using picturekit::Expected;

namespace {

constexpr uint32_t Colour = 0x3C7AB4;

uint32_t Rgb555Index(uint32_t colour)
{
    return ((colour >> 19) & 0x1F) << 10 | ((colour >> 11) & 0x1F) << 5 | ((colour >> 3) & 0x1F);
}

// Counts its restores, as element pictures redraw themselves, and answers
// them with the code the test chooses.
class CountingPlane : public Draw::CFastPlane {
public:
    int OnRestored() override { return ++restored, answer; }
    int RestoreSurface() override { return lastRestore = CFastPlane::RestoreSurface(); }
    int restored = 0;
    int answer = 0;
    int lastRestore = 0;
};

} // namespace

TEST_F(ScreenTest, EveryDisplayFormatShapesTheBackPlaneAndThePresent)
{
    const struct {
        const char* name;
        SurfaceType screen;
    } formats[] = {
        {nullptr, XRGB8888}, {"RGB565", RGB565}, {"rgb555", RGB555}, {"RGB888", RGB888},
        {"BGR888", BGR888},  {"XBGR8888", XBGR8888}, {"Pal8", Pal8},
    };
    for (const auto& format : formats) {
        SCOPED_TRACE(format.name ? format.name : "default");
        UseDisplayFormat(format.name);
        InApp([&] {
            CDrawHolder holder;
            CFastDraw& draw = *holder.GetDraw();
            ASSERT_EQ(draw.SetDisplay(false, 0, 0, 0), 0);
            EXPECT_EQ(draw.m_primary.GetSurfaceType(), format.screen);
            const bool eight = format.screen == Pal8;
            EXPECT_EQ(draw.m_secondary.GetSurfaceType(), eight ? RGB555 : format.screen);
            EXPECT_EQ(draw.m_secondary.GetDDSurface() == nullptr, eight);
            EXPECT_EQ(draw.m_conversion.GetSurfaceInfoPtr()->IsCreated(), eight);
            if (eight) {
                EXPECT_EQ(draw.m_conversion.GetSurfaceType(), Pal8);
            }
            int w = 0, h = 0;
            EXPECT_FALSE(draw.m_secondary.GetSize(&w, &h));
            EXPECT_EQ(w, 640);
            EXPECT_EQ(h, 480);

            draw.m_secondary.SetFillColor(Colour);
            draw.m_secondary.Clear(nullptr);
            draw.OnDraw();
            const platform::HeadlessDisplaySystem::State& screen = displays->GetState();
            EXPECT_EQ(screen.presents, 1);
            uint32_t want = Expected(format.screen, Colour) & 0xFFFFFF;
            if (eight) {
                const platform::PaletteColour c = platform::EmulatedSystemPalette()[PaletteTable[Rgb555Index(Colour)]];
                want = uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue;
            }
            EXPECT_EQ(displays->PictureAt(0, 0), want);
            EXPECT_EQ(displays->PictureAt(639, 479), want);
        });
    }
}

TEST_F(ScreenTest, PaletteTableTakesTheNearestEntryAndTheFirstOnATie)
{
    std::memset(PaletteTable, 0x77, sizeof PaletteTable);
    InApp([&] {
        CDrawHolder holder;
        holder.GetDraw()->SetDisplay(false, 0, 0, 0);
    });
    // A screen without a palette leaves the table as it was.
    EXPECT_EQ(PaletteTable[0], 0x77);
    EXPECT_EQ(PaletteTable[32767], 0x77);

    UseDisplayFormat("Pal8");
    displays->SetPalette({{16, 16, 16}, {0, 0, 0}, {0, 0, 0}, {248, 0, 0}});
    InApp([&] {
        CDrawHolder holder;
        holder.GetDraw()->SetDisplay(false, 0, 0, 0);
    });
    EXPECT_EQ(PaletteTable[Rgb555Index(0x080808)], 0); // 24 from entry 0 and from entry 1
    EXPECT_EQ(PaletteTable[Rgb555Index(0x000000)], 1); // 0 from entries 1 and 2
    EXPECT_EQ(PaletteTable[Rgb555Index(0x780000)], 1);
    EXPECT_EQ(PaletteTable[Rgb555Index(0xF80000)], 3);
    EXPECT_EQ(PaletteTable[Rgb555Index(0x181818)], 0);
}

TEST_F(ScreenTest, FullScreenThatFailsFallsBackToTheWindow)
{
    displays->Fail(platform::DisplayStep::SetDisplayMode);
    InApp([&] {
        CDrawHolder holder;
        CFastDraw& draw = *holder.GetDraw();
        const uint32_t before = clock->Now();
        EXPECT_EQ(draw.ChangeDisplay(true), 0);
        EXPECT_FALSE(draw.IsFullScreen());
        EXPECT_TRUE(log->Contains("CFastDraw::TestDisplayModeのSetDisplayModeに失敗"));
        EXPECT_FALSE(windows->State(Window())->fullScreen);
        EXPECT_EQ(clock->Now() - before, 500u);
        EXPECT_TRUE(draw.m_primary.GetDDSurface());
        draw.OnDraw();
        EXPECT_EQ(displays->GetState().presents, 1);

        // With no mode at all nothing is presented until a change succeeds.
        displays->Fail(platform::DisplayStep::CreatePrimary);
        EXPECT_EQ(draw.ChangeDisplay(false), 2);
        EXPECT_TRUE(log->Contains("CFastDraw::TestDisplayModeでCreatePrimaryに失敗"));
        EXPECT_TRUE(log->Contains("CFastDraw::BeginChangeDisplay～EndChangeDisplayに失敗"));
        draw.OnDraw();
        EXPECT_EQ(displays->GetState().presents, 1);
        displays->Fail(platform::DisplayStep::CreatePrimary, false);
        EXPECT_EQ(draw.ChangeDisplay(false), 0);
        draw.OnDraw();
        EXPECT_EQ(displays->GetState().presents, 2);
    });
}

TEST_F(ScreenTest, SwitchingModesSettlesOnlyAcrossFullScreenAndKeepsWhatFits)
{
    InApp([&] {
        CDrawHolder holder;
        CFastDraw& draw = *holder.GetDraw();
        ASSERT_EQ(draw.SetDisplay(false, 0, 0, 0), 0);
        Draw::CFastPlane picture;
        ASSERT_EQ(picture.CreateSurface(8, 8, true), 0);
        picture.SetFillColor(0x80123456);
        picture.Clear(nullptr);

        uint32_t before = clock->Now();
        ASSERT_EQ(draw.ChangeDisplay(false), 0);
        EXPECT_EQ(clock->Now(), before);

        displays->ClearCalls();
        before = clock->Now();
        ASSERT_EQ(draw.SetDisplay(true, 0, 0, 0), 0);
        EXPECT_EQ(clock->Now() - before, 500u);
        EXPECT_TRUE(draw.IsFullScreen());
        EXPECT_TRUE(windows->State(Window())->fullScreen);
        EXPECT_LT(windows->CursorCount(), 0);
        const std::vector<std::string>& calls = displays->GetState().calls;
        EXPECT_NE(std::find(calls.begin(), calls.end(), "SetDisplayMode(640,480,16)"), calls.end());
        EXPECT_NE(std::find(calls.begin(), calls.end(), "SetCooperativeLevel(exclusive)"), calls.end());
        EXPECT_EQ(std::find(calls.begin(), calls.end(), "CreateClipper"), calls.end());

        uint32_t pixel = 0;
        picture.GetSurfaceInfo()->GetPixel(3, 3, &pixel);
        EXPECT_EQ(pixel, 0x80123456u);

        ASSERT_EQ(draw.ChangeDisplay(false), 0);
        EXPECT_FALSE(windows->State(Window())->fullScreen);
        EXPECT_GE(windows->CursorCount(), 0);
        // A window change remembers no depth.
        EXPECT_EQ(draw.GetBitsPerPixel(), 0);
    });
}

TEST_F(ScreenTest, PlanesAreRestoredInTheNewScreensTypes)
{
    TempFolder folder;
    const picturekit::Bytes first = picturekit::MakeBmp(picturekit::Bmp24(4, 4, [](int, int) { return 0x102030u; }));
    const picturekit::Bytes second = picturekit::MakeBmp(picturekit::Bmp24(4, 4, [](int, int) { return 0xF0E0D0u; }));
    folder.Put("pic.bmp", std::string(first.begin(), first.end()));
    UseDisplayFormat("Pal8");
    InApp([&] {
        CDrawHolder holder;
        CFastDraw& draw = *holder.GetDraw();
        ASSERT_EQ(draw.SetDisplay(false, 0, 0, 0), 0);
        CountingPlane loaded, made, kept;
        ASSERT_EQ(loaded.Load(folder.Name("pic.bmp")), 0);
        EXPECT_EQ(loaded.GetSurfaceType(), RGB555);
        ASSERT_EQ(made.CreateSurface(5, 5, true), 0);
        EXPECT_EQ(made.GetSurfaceType(), ARGB4555);
        ASSERT_EQ(kept.CreateSurface(5, 5, false), 0);
        EXPECT_EQ(kept.GetSurfaceType(), RGB555);
        kept.SetFillColor(0x00F80000);
        kept.Clear(nullptr);

        // A change that keeps the screen's type restores nothing.
        ASSERT_EQ(draw.ChangeDisplay(false), 0);
        EXPECT_EQ(loaded.restored + made.restored + kept.restored, 0);

        folder.Put("pic.bmp", std::string(second.begin(), second.end()));
        displays->SetDisplayFormat(platform::FormatRGB555);
        ASSERT_EQ(draw.ChangeDisplay(false), 0);
        // A picture loaded as a stand-in for an 8-bit screen is read again.
        EXPECT_EQ(loaded.restored, 1);
        uint32_t pixel = 0;
        loaded.GetSurfaceInfo()->GetPixel(1, 1, &pixel);
        EXPECT_EQ(pixel, Expected(RGB555, 0xF0E0D0));
        EXPECT_EQ(made.restored + kept.restored, 0);
        kept.GetSurfaceInfo()->GetPixel(0, 0, &pixel);
        EXPECT_EQ(pixel, 0x00F80000u);

        displays->SetDisplayFormat(platform::FormatRGB565);
        ASSERT_EQ(draw.ChangeDisplay(false), 0);
        EXPECT_EQ(made.GetSurfaceType(), ARGB4565);
        EXPECT_EQ(made.restored, 1);
        EXPECT_EQ(kept.GetSurfaceType(), RGB565);
        EXPECT_EQ(kept.restored, 1);
        EXPECT_EQ(loaded.GetSurfaceType(), RGB565);
        EXPECT_EQ(loaded.restored, 2);
        int w = 0, h = 0;
        kept.GetSize(&w, &h);
        EXPECT_EQ(w, 5);
    });
}

TEST_F(ScreenTest, RestoreRedrawsAfterAFailedReloadAndReportsBothResults)
{
    TempFolder folder;
    const picturekit::Bytes picture = picturekit::MakeBmp(picturekit::Bmp24(4, 4));
    folder.Put("pic.bmp", std::string(picture.begin(), picture.end()));
    UseDisplayFormat("Pal8");
    InApp([&] {
        CDrawHolder holder;
        CFastDraw& draw = *holder.GetDraw();
        ASSERT_EQ(draw.SetDisplay(false, 0, 0, 0), 0);
        CountingPlane plane;
        ASSERT_EQ(plane.Load(folder.Name("pic.bmp")), 0);
        plane.answer = 4;
        displays->SetDisplayFormat(platform::FormatRGB565);
        ASSERT_EQ(draw.ChangeDisplay(false), 0);
        EXPECT_EQ(plane.restored, 1);
        EXPECT_EQ(plane.lastRestore, 4) << "the redraw's own code";

        std::filesystem::remove(folder.Host("pic.bmp"));
        plane.answer = 0;
        displays->SetDisplayFormat(platform::FormatPal8);
        ASSERT_EQ(draw.ChangeDisplay(false), 0);
        EXPECT_EQ(plane.restored, 2) << "redrawn although the file is gone";
        EXPECT_EQ(plane.lastRestore, -1) << "the failed reload's code";
    });
}

TEST_F(ScreenTest, LostScreenIsMadeAgainOnTheFrameAfterActivation)
{
    InApp([&] {
        CDrawHolder holder;
        CFastDraw& draw = *holder.GetDraw();
        ASSERT_EQ(draw.SetDisplay(false, 0, 0, 0), 0);
        displays->MarkLost();
        draw.OnDraw();
        EXPECT_EQ(displays->GetState().presents, 0);

        displays->ClearCalls();
        windows->Feed(Window(), platform::WM_ACTIVATEAPP, 1);
        CAppManager::GetInstance()->GetMyWindowApp()->IsThreadValid();
        draw.OnDraw(); // checks the primary and changes the display again
        const std::vector<std::string>& calls = displays->GetState().calls;
        EXPECT_NE(std::find(calls.begin(), calls.end(), "CreatePrimary"), calls.end());
        draw.OnDraw();
        EXPECT_EQ(displays->GetState().presents, 1);
    });
}

TEST_F(ScreenTest, PresentRunsTheCallbacksInOrderAndShowsOnlyThePart)
{
    struct Recorder : CCallbackList::ICallback {
        explicit Recorder(std::vector<std::string>& into, std::string name) : seen(into), name(std::move(name)) {}
        void OnFirst(std::uintptr_t dc) override { seen.push_back(name + (dc ? " dc" : " none")); }
        void OnSecond(std::uintptr_t plane) override { seen.push_back(name + (plane ? " plane" : " none")); }
        std::vector<std::string>& seen;
        std::string name;
    };
    InApp([&] {
        CDrawHolder holder;
        CFastDraw& draw = *holder.GetDraw();
        ASSERT_EQ(draw.SetDisplay(false, 0, 0, 0), 0);
        std::vector<std::string> seen;
        Recorder before(seen, "before"), dc(seen, "dc"), after(seen, "after");
        draw.GetBeforeDrawList().Add(&before);
        draw.GetDCDrawList().Add(&dc);
        draw.GetAfterDrawList().Add(&after);

        draw.m_secondary.SetFillColor(0xFFFFFF);
        draw.m_secondary.Clear(nullptr);
        draw.SetBrightness(128);
        const RECT part{10, 20, 30, 40};
        draw.OnDraw(&part, true);
        EXPECT_EQ(seen, (std::vector<std::string>{"before plane", "dc dc", "after plane"}));
        // Faded before the present, and only the part reaches the screen.
        EXPECT_EQ(displays->PictureAt(10, 20), 0x808080u);
        EXPECT_EQ(displays->PictureAt(29, 39), 0x808080u);
        EXPECT_EQ(displays->PictureAt(30, 40), 0u);
        EXPECT_EQ(displays->PictureAt(9, 20), 0u);

        seen.clear();
        windows->Minimize(Window());
        CAppManager::GetInstance()->GetMyWindowApp()->IsThreadValid();
        draw.OnDraw();
        EXPECT_TRUE(seen.empty());
        EXPECT_EQ(displays->GetState().presents, 1);
    });
}

// A part lands where it lies on the screen, cut to the screen, whatever its
// edges: off-screen, reaching past either end of the int range, or empty.
TEST_F(ScreenTest, PartialPresentsShowTheBackPlaneWhereThePartMeetsTheScreen)
{
    constexpr int Min = std::numeric_limits<int>::min(), Max = std::numeric_limits<int>::max();
    const RECT parts[] = {
        {-100, 10, 200, 50},  {600, 400, 700, 500},   {-100, -100, 740, 580}, {Min, Min, 20, 30},
        {Min + 1, 5, 3, 9},   {Min, 0, Min + 10, 10}, {Max - 5, 0, Max, 10},  {630, 470, Max, Max},
        {-50, 0, -10, 10},    {10, 10, 5, 5},         {0, Min, 640, Max},     {Min, Min, Max, Max},
    };
    // Every pixel tells where it came from.
    const auto pattern = [](int x, int y) { return uint32_t(x + 1) << 12 | uint32_t(y); };
    InApp([&] {
        CDrawHolder holder;
        CFastDraw& draw = *holder.GetDraw();
        ASSERT_EQ(draw.SetDisplay(false, 0, 0, 0), 0);
        CSurfaceInfo& back = *draw.m_secondary.GetSurfaceInfoPtr();
        for (const RECT& part : parts) {
            SCOPED_TRACE(testing::Message() << part.left << "," << part.top << " - " << part.right << "," << part.bottom);
            draw.m_secondary.SetFillColor(0);
            draw.m_secondary.Clear(nullptr);
            draw.OnDraw();
            {
                CSurfaceLock lock(back);
                for (int y = 0; y < 480; ++y)
                    for (int x = 0; x < 640; ++x)
                        reinterpret_cast<uint32_t*>(back.GetPixelBytes() + std::ptrdiff_t(y) * back.GetPitch())[x] = pattern(x, y);
            }
            draw.OnDraw(&part, false);
            int wrong = 0;
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 640; ++x) {
                    const bool inside = x >= part.left && x < part.right && y >= part.top && y < part.bottom;
                    wrong += displays->PictureAt(x, y) != (inside ? pattern(x, y) : 0u);
                }
            EXPECT_EQ(wrong, 0);
        }
    });
}

TEST_F(ScreenTest, BackPlaneThatCannotBeMadeFailsTheChange)
{
    InApp([&] {
        CDrawHolder holder;
        displays->Fail(platform::DisplayStep::CreateSurface);
        EXPECT_EQ(holder.GetDraw()->ChangeDisplay(false), 2);
        EXPECT_TRUE(log->Contains("CFastPlane::InnerCreateSurfaceのCreateSurfaceに失敗"));
        EXPECT_TRUE(log->Contains("CFastPlane::CreateSecondaryに失敗"));
        EXPECT_TRUE(log->Contains("CFastDraw::TestDisplayModeでCreateSecondaryに失敗"));
    });
}

TEST_F(ScreenTest, AlphaPlanesTakeTheDisplaysTypeBeforeAnyMode)
{
    UseDisplayFormat("RGB565");
    InApp([&] {
        CDrawHolder holder;
        Draw::CFastPlane plane;
        ASSERT_EQ(plane.CreateSurface(3, 3, true), 0);
        EXPECT_EQ(plane.GetSurfaceType(), ARGB4565);
    });
    // Without a screen manager the type is unknown: a failure, not an empty plane.
    Draw::CFastPlane orphan;
    EXPECT_EQ(orphan.CreateSurface(3, 3, true), 1);
    EXPECT_FALSE(orphan.GetSurfaceInfoPtr()->IsCreated());
}

TEST_F(ScreenTest, DisplayObjectStatus)
{
    displays->Fail(platform::DisplayStep::EmulationOnly);
    {
        CDirectDraw draw(true);
        EXPECT_EQ(draw.GetStatus(), 3);
        EXPECT_TRUE(draw.Get());
        EXPECT_EQ(log->Messages().size(), 1u);
        EXPECT_TRUE(log->Contains("CDirectDraw::CDirectDrawでEmulationOnlyに出来なかった"));
    }
    displays->Fail(platform::DisplayStep::Initialize);
    {
        CDirectDraw draw(true);
        EXPECT_EQ(draw.GetStatus(), 4);
        EXPECT_FALSE(draw.Get());
        EXPECT_TRUE(log->Contains("CDirectDraw::CDirectDrawでHAL初期化に失敗"));
    }
    displays->Fail(platform::DisplayStep::Create);
    {
        CDirectDraw draw(true);
        EXPECT_EQ(draw.GetStatus(), 1);
        CFastDraw screen;
        EXPECT_EQ(screen.ChangeDisplay(false), 1);
    }
}

TEST_F(ScreenTest, ClipperReleasesWhatItHeldEvenWhenRefused)
{
    auto display = displays->CreateDisplay();
    auto primary = display->CreatePrimary(4, 4);
    CDirectDrawClipper clipper;
    ASSERT_EQ(clipper.Clip(display.get(), primary.get(), 1), 0);
    EXPECT_TRUE(clipper.IsHeld());
    EXPECT_EQ(clipper.Clip(display.get(), nullptr, 1), 1);
    EXPECT_FALSE(clipper.IsHeld());
    displays->Fail(platform::DisplayStep::SetClipper);
    EXPECT_EQ(clipper.Clip(display.get(), primary.get(), 1), 4);
    EXPECT_TRUE(log->Contains("CDirectDrawClipper::ClipでSetClipperに失敗"));
}
