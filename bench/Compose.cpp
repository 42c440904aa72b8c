// One composed 640 x 480 frame as the engine builds it after a tag: the
// background, three keyed character pictures, a translucent message window
// and a page of text.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/SimdCap.h"
#include "draw/FastPlane.h"
#include "platform/Fonts.h"
#include "platform/HostPath.h"
#include "script/lang/TagLexer.h"
#include "script/dib/DibInfoCache.h"
#include "script/tag/LayerManagers.h"
#include "script/tag/Text.h"
#include "script/tag/WindowManager.h"

namespace {

using kivotasuGameKit::SurfaceType;
using kivotasuGameKit::Draw::CFastPlane;

// A picture file of pattern(x, y) = 0xRRGGBB in a fresh folder: a BMP, or for
// ".ovk" the surface file.
std::string WritePicture(const std::filesystem::path& folder, const std::string& name, int width, int height,
                         std::uint32_t (*pattern)(int, int))
{
    CFastPlane plane;
    plane.CreateMemorySurface(width, height, SurfaceType::ARGB8888);
    kivotasuGameKit::CSurfaceInfo* info = plane.GetSurfaceInfoPtr();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t colour = 0xFF000000 | pattern(x, y);
            std::memcpy(info->GetPixelBytes() + y * info->GetPitch() + x * 4, &colour, 4);
        }
    const std::string internal = platform::ToInternalPath((folder / name).string());
    if (name.ends_with(".ovk"))
        plane.SaveCompressed(internal, nullptr, false);
    else
        plane.SaveBitmap(internal, nullptr);
    return internal;
}

std::uint32_t Sky(int x, int y) { return std::uint32_t(x * 255 / 639) << 16 | std::uint32_t(y * 255 / 479) << 8 | 0x60; }

// A figure on magenta, the colour key of the character pictures.
std::uint32_t Figure(int x, int y)
{
    const int dx = x - 120, dy = y - 200;
    return dx * dx / 4 + dy * dy / 16 < 2500 ? 0xC08060 + std::uint32_t((x + y) & 0x1F) : 0xFF00FF;
}

void Run(const std::string& script, const std::function<void(CTagAttributes&)>& handle)
{
    std::size_t pos = 0;
    CTagLexer lexer(script, pos);
    CTagAttributes record;
    while (lexer.ReadTag(record) == TagRead) handle(record);
}

void ComposeFrame(benchmark::State& state)
{
    platform::InstallFonts(std::make_unique<platform::PinnedFonts>());
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quiltor-bench-compose";
    std::filesystem::create_directories(folder);
    const std::string back = WritePicture(folder, "sky.ovk", 640, 480, Sky);
    const std::string chara = WritePicture(folder, "chara.bmp", 240, 400, Figure);

    TAG::CBackManager backs;
    TAG::CActManager acts;
    TAG::CPaintManager paints;
    TAG::CText text;
    TAG::CWindowManager windows;
    windows.SetText(&text);
    Run("[BACK FILE=\"" + back + "\"]"
        "[ACT NAME=\"l\" FILE=\"" + chara + "\" ERASE=\"LEFTTOP\" X=\"LEFT\"]"
        "[ACT NAME=\"c\" FILE=\"" + chara + "\" ERASE=\"LEFTTOP\"]"
        "[ACT NAME=\"r\" FILE=\"" + chara + "\" ERASE=\"LEFTTOP\" X=\"RIGHT\"]"
        "[DEFAULTWINDOW CONTROL=\"TRH\"][WINDOW NAME=\"main\"]"
        "[FADEWINDOW NAME=\"main\" X=\"8\" Y=\"320\" WIDTH=\"624\" HEIGHT=\"152\"]"
        "[DEFAULTTEXT X=\"24\" Y=\"332\" HEIGHT=\"28\" LINE=\"5\" COLOR=\"#FFF0D0\"]",
        [&](CTagAttributes& record) {
            switch (record.GetId()) {
            case TagId::Back: backs.SetElement(record); break;
            case TagId::Act: acts.SetElement(record); break;
            case TagId::DefaultWindow: windows.ParseDefault(record); break;
            case TagId::Window: windows.SetElement(record); break;
            case TagId::FadeWindow: windows.OnFadeWindow(record); break;
            case TagId::DefaultText: text.ParseDefault(record); break;
            default: break;
            }
        });
    windows.SetCurrentWindow(0);
    text.SetMessage(kivotasuGameKit::CTextString(
        "「こんにちは。今日は良い天気ですね、散歩に行きましょう。」窓の外では、朝の光が静かに揺れていた。"
        "時計は三時十五分を指している。"));

    CFastPlane screen;
    screen.CreateMemorySurface(640, 480, SurfaceType::ARGB8888);
    for (auto _ : state) {
        // The engine's recomposition (the backs fill the screen), then the
        // windows and the text over it; showing the text draws its page.
        backs.DrawAll(screen);
        acts.DrawAll(screen);
        paints.DrawAll(screen);
        windows.Invalidate();
        text.Invalidate();
        windows.Draw(screen, 0x5070A0);
        text.ShowWindow(screen);
        benchmark::DoNotOptimize(screen.GetSurfaceInfoPtr()->GetPixels());
        windows.Hide(screen);
        text.HideWindow(screen);
    }
    if (const char* dump = std::getenv("QUILTOR_DUMP_DIR")) {
        windows.Draw(screen, 0x5070A0);
        text.ShowWindow(screen);
        screen.SaveBitmap(platform::ToInternalPath(std::string(dump) + "/compose.bmp"), nullptr);
    }
    CDibInfoCache::GetInstance().Clear();
    std::filesystem::remove_all(folder);
}
BENCHMARK(ComposeFrame)->Unit(benchmark::kMillisecond);

} // namespace
