// Whole frames of the screen plane drawn with the pinned font. Each expected
// hash was taken from a frame checked by eye (set QUILTOR_DUMP_DIR to write the
// frames as BMP files); a change in layout, font placement, shadows or frames
// shows here.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/HostPath.h"
#include "script/tag/Log.h"
#include "script/tag/Text.h"
#include "script/tag/WindowManager.h"
#include "tests/script/tag/TextKit.h"

using kivotasuGameKit::CTextString;
using textkit::Plane;

namespace {

void Background(Plane& plane)
{
    textkit::MakePlane(plane, 640, 480, 0xFF000000);
    kivotasuGameKit::CSurfaceInfo* info = plane.GetSurfaceInfo();
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            std::uint8_t* p = info->GetPixelBytes() + y * info->GetPitch() + x * 4;
            p[0] = 0x60, p[1] = std::uint8_t(y * 255 / 479), p[2] = std::uint8_t(x * 255 / 639), p[3] = 0xFF;
        }
}

std::uint64_t Check(Plane& plane, const std::string& name)
{
    if (const char* folder = std::getenv("QUILTOR_DUMP_DIR"))
        plane.SaveBitmap(platform::ToInternalPath(std::string(folder) + "/" + name + ".bmp"), nullptr);
    return textkit::Hash(plane);
}

struct Page {
    const char* control;
    const char* shadow;
    std::uint8_t antialias;
};

std::uint64_t DrawPage(const Page& page, const std::string& name)
{
    Plane screen;
    Background(screen);
    TAG::CText text;
    TAG::CWindowManager windows;
    windows.SetText(&text);
    textkit::Replay(std::string("[DEFAULTWINDOW CONTROL=\"") + page.control +
                        "\"][WINDOW NAME=\"main\"][FADEWINDOW NAME=\"main\" X=\"8\" Y=\"320\" WIDTH=\"624\" HEIGHT=\"152\"]"
                        "[WINDOW NAME=\"name\"][FADEWINDOW NAME=\"name\" X=\"16\" Y=\"282\" WIDTH=\"168\" HEIGHT=\"36\"]"
                        "[DEFAULTTEXT X=\"24\" Y=\"332\" HEIGHT=\"28\" LINE=\"5\" SHADOW=\"" +
                        page.shadow + "\" COLOR=\"#FFF0D0\"]",
                    [&](CTagAttributes& record) {
                        switch (record.GetId()) {
                        case TagId::DefaultWindow: windows.ParseDefault(record); break;
                        case TagId::Window: windows.SetElement(record); break;
                        case TagId::FadeWindow: windows.OnFadeWindow(record); break;
                        case TagId::DefaultText: text.ParseDefault(record); break;
                        default: break;
                        }
                    });
    text.SetAntialias(page.antialias);
    text.SetNamePosition(28, 286);
    text.SetName(CTextString("語り手"));
    windows.SetCurrentWindow(1);
    // As the engine runs WRITE, TL, WRITE: the windows and the text window
    // are shown, then each message is drawn character by character.
    windows.Draw(screen, 0x5070A0);
    text.ShowWindow(screen);
    text.SetMessage(CTextString("「こんにちは。今日は良い天気ですね、散歩に行きましょう。」"));
    while (text.Draw(screen) != 0) {
    }
    text.NewLine();
    text.SetMessage(CTextString("時計は3時15分を指していた。"));
    while (text.Draw(screen) != 0) {
    }
    return Check(screen, name);
}

} // namespace

TEST(GoldenFrame, PageInEachWindowStyle)
{
    const struct {
        Page page;
        std::uint64_t hash;
    } pages[] = {
        {{"NONE", "0", 0}, 6749255197468789339u},
        {{"TRH", "0", 0}, 3541855535418774319u},
        {{"TRH2", "0", 0}, 13778460052403763185u},
        {{"TRH3", "0", 0}, 3541855535418774319u}, // draws as TRH does
        {{"WHITEALBUM", "0", 0}, 13100482672459141725u},
        {{"KANON", "0", 1}, 11440599581347698107u}, // as NONE, antialiased
    };
    for (const auto& [page, hash] : pages) {
        const std::string name = std::string("style-") + page.control;
        EXPECT_EQ(DrawPage(page, name), hash) << name;
    }
}

TEST(GoldenFrame, PageWithShadowVariants)
{
    const struct {
        const char* shadow;
        std::uint64_t hash;
    } pages[] = {{"2", 18067617111832399761u}, {"KANA", 9792087140798753132u}, {"TRH3", 12549818278941096896u}, {"-3", 17619031273558537998u}};
    for (const auto& [shadow, hash] : pages) {
        const std::string name = std::string("shadow-") + shadow;
        EXPECT_EQ(DrawPage({"TRH", shadow, 0}, name), hash) << name;
    }
}

TEST(GoldenFrame, BackLogPage)
{
    // The view opens over what the back plane shows and gives it back.
    Plane shown, back;
    Background(shown);
    Background(back);
    TAG::CText text;
    TAG::CLog log;
    log.SetText(&text);
    log.AddText(CTextString("語り手"));
    log.AddLine();
    for (int i = 0; i < 6; ++i) {
        log.AddText(CTextString("「第" + std::to_string(i + 1) + "の段落です。行の終わりで、読点は行末にぶら下がります。」"));
        log.AddEmptyLine();
    }
    log.Draw(back);
    EXPECT_EQ(Check(back, "backlog-last"), 8474134154380130158u);
    log.ScrollToTop();
    EXPECT_EQ(Check(back, "backlog-top"), 16488035009335878332u);
    log.RestoreScreen(back);
    EXPECT_EQ(textkit::Hash(back), textkit::Hash(shown));
}
