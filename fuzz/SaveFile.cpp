// Arbitrary bytes as a save file, loaded through the headless engine's
// LoadSlot in a game held in memory, for a bounded number of frames and tags
// with a click every few frames. Saves the loaded script makes go to memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/MemoryFileSystem.h"
#include "tests/kit/EngineHarness.h"

namespace {

// The load's reset alone takes about 31 frames.
constexpr std::uint32_t Frames = 48;
constexpr std::uint32_t Tags = 1000;
constexpr std::uint32_t ClickEvery = 3;
constexpr std::uint32_t LoadFrame = 1;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    platform::MemoryFileSystem& files = platform::MemoryFileSystem::Install();
    files.Put("Z:\\data\\index.txt", "[C][C]");
    files.Put("Z:\\Save\\index.000", std::string_view(reinterpret_cast<const char*>(data), size));
    files.Put("Z:\\system\\option.qsd", testkit::InstantOptions);

    testkit::EngineRun run;
    run.At(LoadFrame, [](testkit::EngineRun&) { CQuiltorEngine::GetInstance()->LoadSlot(0); });
    for (std::uint32_t frame = LoadFrame + 1; frame < Frames; frame += ClickEvery) run.Click(frame);
    run.Run(Frames, Tags);
    return 0;
}
