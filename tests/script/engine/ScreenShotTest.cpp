// The PDT10 capture: its layout, and the screen taken from the back plane in
// the back plane's own pixel format.
#include <gtest/gtest.h>

#include "platform/Display.h"
#include "platform/MemoryFileSystem.h"
#include "script/engine/ScreenShot.h"
#include "tests/kit/EngineHarness.h"

namespace {

std::uint32_t U32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | std::uint8_t(bytes[at + i]);
    return value;
}

// A red screen captured on a display of the format, as Quiltor00.pdt.
std::string CaptureOn(int displayFormat)
{
    const std::string savedDir = kivotasuGameKit::CFile::GetCurrentDir();
    platform::MemoryFileSystem& files = platform::MemoryFileSystem::Install();
    files.Put("Z:\\system\\option.qsd", "[SYSTEM CONTROL=\"EFFECT\" TIME=\"0\"]");
    files.Put("Z:\\data\\index.txt", "[BACK COLOR=\"#FF0000\"][WAIT TIME=\"100000\"]");
    testkit::EngineRun run;
    run.Displays().SetDisplayFormat(displayFormat);
    run.Dialogs().PushAnswer(1); // the save dialog's proposed name
    run.At(4, [](testkit::EngineRun&) {
        CQuiltorEngine& engine = *CQuiltorEngine::GetInstance();
        engine.Shown().Present();
        engine.SaveScreenPicture();
    });
    run.Run(6);
    std::string file = files.Get("Z:\\Quiltor00.pdt");
    platform::InstallFileSystem(nullptr);
    kivotasuGameKit::CFile::SetCurrentDir(savedDir);
    return file;
}

} // namespace

TEST(ScreenShot, APdt10OfTheScreenHasItsLayout)
{
    const std::string file = CaptureOn(platform::FormatXRGB8888);
    ASSERT_EQ(file.size(), 960032u) << "38400 group marks, 921600 pixel bytes, 32 head bytes";
    EXPECT_EQ(file.substr(0, 8), std::string("PDT10\0\0\0", 8));
    EXPECT_EQ(U32(file, 8), 960032u);
    EXPECT_EQ(U32(file, 12), 640u);
    EXPECT_EQ(U32(file, 16), 480u);
    EXPECT_EQ(file.substr(20, 12), std::string(12, '\0'));
    std::size_t marks = 0;
    for (std::size_t at = 32; at < file.size(); at += 25) marks += std::uint8_t(file[at]) == 0xFF;
    EXPECT_EQ(marks, 38400u);
    // Blue, green, red: the alpha byte is dropped.
    EXPECT_EQ(file.substr(33, 3), std::string("\0\0\xFF", 3));
}

TEST(ScreenShot, PixelsAreWrittenBlueGreenRedWithoutAlpha)
{
    const std::string savedDir = kivotasuGameKit::CFile::GetCurrentDir();
    platform::MemoryFileSystem& files = platform::MemoryFileSystem::Install();
    CScreenShot shot;
    ASSERT_EQ(shot.CreateMemorySurface(640, 480, kivotasuGameKit::ARGB8888), 0);
    shot.SetFillColor(0x80112233);
    shot.Clear();
    shot.SavePDT10("Z:\\shot.pdt");
    const std::string file = files.Get("Z:\\shot.pdt");
    ASSERT_EQ(file.size(), 960032u);
    EXPECT_EQ(file.substr(33, 6), "\x33\x22\x11\x33\x22\x11");
    platform::InstallFileSystem(nullptr);
    kivotasuGameKit::CFile::SetCurrentDir(savedDir);
}

// A 16-bit display gives a 16-bit back plane: its pixels are converted, not
// read four bytes at a time.
TEST(ScreenShot, ASixteenBitBackPlaneIsConverted)
{
    const std::string file = CaptureOn(platform::FormatRGB565);
    ASSERT_EQ(file.size(), 960032u);
    for (std::size_t at : {std::size_t(33), std::size_t(33 + 3 * 7), file.size() - 3}) {
        EXPECT_EQ(std::uint8_t(file[at]), 0);
        EXPECT_EQ(std::uint8_t(file[at + 1]), 0);
        EXPECT_GE(std::uint8_t(file[at + 2]), 0xF8);
    }
}
