// Arbitrary bytes as the start script of the real engine on the headless
// platform, for a bounded number of frames and tags, with a click every few
// frames so that waits move on. No file outside memory is read or written.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/AudioOutput.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/FileSystem.h"
#include "platform/Fonts.h"
#include "platform/Keyboard.h"
#include "platform/MemoryFileSystem.h"
#include "platform/WindowSystem.h"
#include "tests/kit/EngineHarness.h"

namespace {

constexpr std::uint32_t Frames = 24;
constexpr std::uint32_t Tags = 1000;
constexpr std::uint32_t ClickEvery = 3;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    platform::MemoryFileSystem& files = platform::MemoryFileSystem::Install();
    files.Put("Z:\\data\\index.txt", std::string_view(reinterpret_cast<const char*>(data), size));
    // Text and transitions without delay, so the frames reach more tags.
    files.Put("Z:\\system\\option.qsd", testkit::InstantOptions);

    {
        testkit::EngineRun run;
        // Most inputs end the script early (a broken tag): the frames of the
        // end screen after that would only draw it again.
        run.CloseAtScriptEnd();
        // Nothing reads what was played, and a long wait would keep seconds of it.
        run.Audio().SetRecording(false);
        for (std::uint32_t frame = 1; frame < Frames; frame += ClickEvery) run.Click(frame);
        run.Run(Frames, Tags);
    }
    // Nothing an input made outlives it: the next starts as the process did,
    // and libFuzzer finds no allocation left behind to run the input again for.
    platform::InstallFileSystem(nullptr);
    platform::InstallWindows(nullptr);
    platform::InstallDisplays(nullptr);
    platform::InstallKeyboards(nullptr);
    platform::InstallClock(nullptr);
    platform::InstallAudio(nullptr);
    platform::InstallFonts(nullptr);
    return 0;
}
