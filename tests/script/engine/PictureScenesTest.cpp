// Pictures of the story through the running engine: backgrounds, characters
// placed by keyword and number, painted pictures with text, hiding and ending
// them, cut and paste, a full-screen visual, function buttons, all under the
// story text and each on the window as its page waits. Each golden hash was taken from a frame checked by eye (set QUILTOR_DUMP_DIR to
// write the frames as BMP files).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>

#include "platform/HostPath.h"
#include "platform/PictureEncoder.h"
#include "platform/TextCodec.h"
#include "script/dib/DibInfoCache.h"
#include "tests/kit/EngineHarness.h"
#include "tests/script/GameFolder.h"
#include "tests/script/dib/PictureKit.h"

using testkit::EngineRun;

namespace {

constexpr std::uint32_t Magenta = 0xFFFF00FF;

std::uint32_t Sky(int x, int y) { return 0xFF000000 | std::uint32_t(60 + y / 4) << 16 | std::uint32_t(90 + y / 3) << 8 | std::uint32_t(200 - x / 8); }

// A standing figure on magenta, the key colour of the character pictures.
std::uint32_t Mina(int x, int y)
{
    const double dx = (x - 100) / 90.0, dy = (y - 200) / 160.0;
    if (dx * dx + dy * dy > 1) return Magenta;
    return y < 110 ? 0xFFF0D0B0 : 0xFF3050A0 + std::uint32_t(y / 40 % 2) * 0x202020;
}

std::uint32_t Ren(int x, int y) { return 0xFF000000 | std::uint32_t(120 + x / 2) << 16 | std::uint32_t(60 + y / 4) << 8 | 80; }
std::uint32_t Sign(int x, int y) { return x < 4 || y < 4 || x >= 136 || y >= 76 ? 0xFF503010 : 0xFFE8D8A0; }
// Four 32 x 32 marks on magenta.
std::uint32_t Sheet(int x, int y)
{
    const int cx = x % 32 - 16, cy = y - 16;
    if (cx * cx + cy * cy > 144) return Magenta;
    const std::uint32_t marks[4] = {0xFFD02020, 0xFF20A020, 0xFF2040D0, 0xFFD0A020};
    return marks[x / 32];
}
std::uint32_t Full(int x, int y) { return ((x / 40 + y / 40) % 2) ? 0xFF101820 : 0xFF406080; }
std::uint32_t Key(int x, int y) { return x < 2 || y < 2 || x >= 54 || y >= 18 ? 0xFFF0F0F0 : 0xFF6040A0; }

void WriteJpeg(GameFolder& game, const std::string& name, int width, int height, dibkit::Pattern pattern)
{
    platform::DecodedPicture picture;
    picture.width = width;
    picture.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = pattern(x, y);
            picture.rows.push_back(std::uint8_t(c)), picture.rows.push_back(std::uint8_t(c >> 8)),
                picture.rows.push_back(std::uint8_t(c >> 16));
        }
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::EncodeJpeg(picture, 90, bytes));
    game.Put("data/pictures/" + name, std::string(bytes.begin(), bytes.end()));
}

struct Scene {
    const char* tags;
    std::uint64_t golden;
};

// The scenes in script order; each ends in a page wait.
const Scene Scenes[] = {
    {"[BACK FILE=\"sky.jpg\"]空の背景です。", 10944415680660048793u},
    {"[ACT NAME=\"mina\" FILE=\"mina.bmp\" ERASE=\"LEFTTOP\" X=\"LEFT\"]"
     "[ACT NAME=\"ren\" FILE=\"ren.jpg\" X=\"RIGHTSIDE\" Y=\"TOP\"][ACT NAME=\"mina\" X=\"30\"]二人が並びます。",
     13349107096078970772u},
    {"[PAINT NAME=\"sign\" FILE=\"sign.bmp\" X=\"250\" Y=\"40\"][PAINT NAME=\"caption\" BODY=\"看板の前で\" Y=\"ROOF\"]"
     "絵と文字を描きます。",
     18122841552378327051u},
    {"[HIDEACT NAME=\"ren\"]一人を隠します。", 8186564232109070942u},
    {"[ENDACT NAME=\"mina\"][CUT FILE=\"sheet.bmp\" X=\"32\" WIDTH=\"64\" HEIGHT=\"32\" ERASE=\"LEFTTOP\"]"
     "[PASTE NAME=\"sign\" X=\"6\" Y=\"24\"][PASTE NAME=\"sign\" X=\"76\" Y=\"8\" WIDTH=\"32\" HEIGHT=\"64\"]切って貼ります。",
     6560844288857611252u},
    {"[VISUAL FILE=\"full.bmp\"]全画面の絵です。", 402431941533834945u},
    {"[BACK COLOR=\"#203040\"]色だけの背景に戻ります。", 7775344728159658421u},
    {"[BEGINBUTTON NAME=\"一\" X=\"436\" Y=\"8\" WIDTH=\"56\" HEIGHT=\"20\" LABEL=\"_LOG_BACK\"]"
     "[BUTTON NAME=\"OFF\"][PAINT FILE=\"key.bmp\"][ENDBUTTON]"
     "[BEGINBUTTON NAME=\"二\" X=\"496\" Y=\"8\" WIDTH=\"56\" HEIGHT=\"20\" LABEL=\"_WINDOW_HIDE\"]"
     "[BUTTON NAME=\"OFF\"][PAINT FILE=\"key.bmp\"][ENDBUTTON]"
     "[BEGINBUTTON NAME=\"三\" X=\"556\" Y=\"8\" WIDTH=\"56\" HEIGHT=\"20\" LABEL=\"_SKIP_FAST\"]"
     "[BUTTON NAME=\"OFF\"][PAINT FILE=\"key.bmp\"][ENDBUTTON]ボタンが三つ並びます。",
     1684489953764066892u},
};

constexpr std::uint32_t SceneFrames = 40;

class PictureScenes : public ::testing::Test {
protected:
    void SetUp() override
    {
        CDibInfoCache::GetInstance().Clear();
        WriteJpeg(m_game, "sky.jpg", 640, 480, Sky);
        WriteJpeg(m_game, "ren.jpg", 160, 300, Ren);
        std::filesystem::create_directories(m_game.Host("data/pictures"));
        dibkit::WritePicture(m_game, "data/pictures/mina.bmp", 200, 360, Mina);
        dibkit::WritePicture(m_game, "data/pictures/sign.bmp", 140, 80, Sign);
        dibkit::WritePicture(m_game, "data/pictures/sheet.bmp", 128, 32, Sheet);
        dibkit::WritePicture(m_game, "data/pictures/full.bmp", 640, 480, Full);
        dibkit::WritePicture(m_game, "data/pictures/key.bmp", 56, 20, Key);
    }
    void TearDown() override { CDibInfoCache::GetInstance().Clear(); }

    // Runs the scenes, clicking once each has settled; the screen plane of the
    // last frame of each scene is dumped.
    void RunScenes()
    {
        // The colours at a few places of the screen plane as each scene ends.
        for (std::uint32_t n = 1; n <= std::size(Scenes); ++n) {
            m_run.At(n * SceneFrames - 1, [this, n](EngineRun&) {
                auto& screen = CQuiltorEngine::GetInstance()->Shown().GetScreenPlane();
                for (auto [x, y] : Probes) m_colours[{n, x, y}] = dibkit::Pixel(screen, x, y) & 0xFFFFFF;
                // The window's plane keeps no alpha: the colours are compared.
                auto& shown = CQuiltorEngine::GetInstance()->Shown().GetBackPlane();
                int& unshown = m_unshown[n];
                for (int y = 0; y < 480; ++y)
                    for (int x = 0; x < 640; ++x) unshown += ((dibkit::Pixel(screen, x, y) ^ dibkit::Pixel(shown, x, y)) & 0xFFFFFF) != 0;
            });
        }
        std::string script =
            "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"]"
            "[DEFAULTBACK EFFECT=\"NONE\" PATH=\"{BASE}pictures\"][DEFAULTACT EFFECT=\"NONE\" PATH=\"{BASE}pictures\"]"
            "[DEFAULTPAINT EFFECT=\"NONE\" PATH=\"{BASE}pictures\"][DEFAULTVISUAL EFFECT=\"NONE\" PATH=\"{BASE}pictures\"]"
            "[DEFAULTCUT PATH=\"{BASE}pictures\"][DEFAULTBUTTON PATH=\"{BASE}pictures\"]"
            "[DEFAULTWINDOW CONTROL=\"TRH\"][WINDOW NAME=\"main\"]"
            "[FADEWINDOW NAME=\"main\" X=\"8\" Y=\"380\" WIDTH=\"624\" HEIGHT=\"92\"]"
            "[DEFAULTTEXT X=\"24\" Y=\"392\" HEIGHT=\"28\" LINE=\"2\"]";
        for (const Scene& scene : Scenes) script += std::string(scene.tags) + "[P]";
        m_game.Put("data/index.txt", script + "[WAIT TIME=\"100000\"]");
        if (const char* folder = std::getenv("QUILTOR_DUMP_DIR")) m_run.SetDumpFolder(platform::ToInternalPath(folder));
        for (std::uint32_t n = 1; n <= std::size(Scenes); ++n) {
            m_run.DumpAt(n * SceneFrames - 1);
            m_run.Click(n * SceneFrames);
        }
        m_run.Run(std::uint32_t(std::size(Scenes) + 1) * SceneFrames);
    }
    EngineState StateAtEndOf(std::size_t scene) const { return m_run.frames.at((scene + 1) * SceneFrames - 2).state; }
    std::uint64_t ScreenOf(std::size_t scene) const { return m_run.dumps.at(std::uint32_t(scene + 1) * SceneFrames - 1).screen; }

    std::uint32_t Colour(std::uint32_t scene, int x, int y) const { return m_colours.at({scene, x, y}); }

    static constexpr std::pair<int, int> Probes[] = {{30, 120}, {130, 200}, {560, 50}, {256, 64}, {272, 80}, {10, 10},
                                                     {440, 12}, {500, 12}, {560, 12}};
    GameFolder m_game;
    EngineRun m_run;
    std::map<std::tuple<std::uint32_t, int, int>, std::uint32_t> m_colours;
    std::map<std::uint32_t, int> m_unshown;
};

TEST_F(PictureScenes, EachSceneComposesItsGoldenFrameUnderTheText)
{
    RunScenes();
    EXPECT_TRUE(m_run.errors.empty()) << m_run.errors.front();
    for (std::size_t n = 0; n < std::size(Scenes); ++n) {
        SCOPED_TRACE(Scenes[n].tags);
        ASSERT_EQ(StateAtEndOf(n), EngineState::ClickWait);
        EXPECT_EQ(ScreenOf(n), Scenes[n].golden);
        // What the page waits on is on the window too: a paste into a painted
        // picture and buttons defined one after another included.
        EXPECT_EQ(m_unshown.at(std::uint32_t(n + 1)), 0) << "pixels composed but not on the window";
    }
}

TEST_F(PictureScenes, PicturesKeepTheirPlacesKeysAndLayers)
{
    RunScenes();
    // Scene 2: the keyed character at X 30 standing on the bottom edge shows
    // the sky through its magenta corner; the JPEG stands at the right side,
    // a quarter of the height up from its middle.
    EXPECT_EQ(Colour(2, 30, 120), Colour(1, 30, 120));
    EXPECT_EQ(Colour(2, 130, 200), Mina(100, 80) & 0xFFFFFF);
    EXPECT_NE(Colour(2, 560, 50), Colour(1, 560, 50));
    // Scene 4 hides the JPEG, scene 5 ends the character.
    EXPECT_EQ(Colour(4, 560, 50), Colour(1, 560, 50));
    EXPECT_EQ(Colour(4, 130, 200), Colour(2, 130, 200));
    EXPECT_EQ(Colour(5, 130, 200), Colour(1, 130, 200));
    // Scene 5 pastes the green mark into the sign at (250, 40); the cut's
    // magenta corner leaves the sign's own colour.
    EXPECT_EQ(Colour(5, 272, 80), 0x20A020u);
    EXPECT_EQ(Colour(5, 256, 64), Sign(6, 24) & 0xFFFFFF);
    // The visual stands alone; the next BACK ends it.
    EXPECT_EQ(Colour(6, 10, 10), Full(10, 10) & 0xFFFFFF);
    EXPECT_EQ(Colour(6, 272, 80), Full(272, 80) & 0xFFFFFF);
    EXPECT_EQ(Colour(7, 10, 10), 0x203040u);
    // Scene 8 defines three function buttons in a row, each drawn.
    for (int x : {440, 500, 560}) EXPECT_EQ(Colour(8, x, 12), Key(4, 4) & 0xFFFFFF) << x;
}

} // namespace

TEST(PictureErrors, AMissingPictureIsReportedAsAScriptErrorNamingTheFile)
{
    GameFolder game;
    game.Put("data/index.txt", "[DEFAULTACT EFFECT=\"NONE\" PATH=\"{BASE}pictures\"][ACT NAME=\"a\" FILE=\"nothere.bmp\"]");
    EngineRun run;
    run.Run(20);
    ASSERT_FALSE(run.errors.empty());
    const std::string expected = "画像『" + game.Karutemi() + "data/pictures/nothere.bmp』が読み込めません。";
    EXPECT_EQ(run.errors[0], expected);
    EXPECT_EQ(run.frames.back().state, EngineState::ScriptEnd);
}

TEST_F(PictureScenes, TheDemoChapterOfPicturesRunsThrough)
{
    // The demo's own script, as the build converts it, over this test's pictures.
    const std::string source = QUILTOR_SOURCE_DIR "/demo/data/pictures.txt";
    std::ifstream in(source, std::ios::binary);
    ASSERT_TRUE(in) << source;
    const std::string utf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    m_game.Put("data/pictures.txt", platform::Utf8ToCp932(utf8));
    m_game.Put("data/index.txt", "[SYSTEM CONTROL=\"TEXT\" TIME=\"0\"][DEFAULTJUMP PATH=\"{BASE}\"]"
                                 "[CALL FILE=\"pictures.txt\" LABEL=\"絵\"]"
                                 "[SET VARIABLE=\"done\" ENTITY=\"1\"][WAIT TIME=\"100000\"]");
    // Each wait (seven pages, one line) has time for its transition and its
    // text before the click.
    const char* dump = std::getenv("QUILTOR_DUMP_DIR");
    if (dump) m_run.SetDumpFolder(platform::ToInternalPath(dump));
    for (std::uint32_t wait = 1; wait <= 8; ++wait) {
        m_run.Click(wait * 80);
        if (dump) m_run.DumpAt(wait * 80 - 1);
    }
    m_run.Run(720);
    EXPECT_TRUE(m_run.errors.empty()) << (m_run.errors.empty() ? "" : m_run.errors[0]);
    EXPECT_EQ(m_run.Tags(TagId::Set).size(), 1u) << "the chapter returned";
    EXPECT_EQ(m_run.Tags(TagId::P).size(), 7u);
    EXPECT_EQ(m_run.Tags(TagId::Paste).size(), 2u);
}
