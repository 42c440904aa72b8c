// Arbitrary bytes as a save file, loaded through the headless engine's
// LoadSlot in a game held in memory, for a bounded number of frames and tags
// with a click every few frames. Saves the loaded script makes go to memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/EngineInput.h"
#include "platform/MemoryFileSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    platform::MemoryFileSystem& files = platform::MemoryFileSystem::Install();
    files.Put("Z:\\data\\index.txt", "[C][C]");
    files.Put("Z:\\Save\\index.000", std::string_view(reinterpret_cast<const char*>(data), size));
    files.Put("Z:\\system\\option.qsd", testkit::InstantOptions);
    // The load at frame 1; its reset alone takes about 31 frames.
    fuzzkit::RunEngine({.frames = 48, .tags = 1000, .firstClick = 2, .clickEvery = 3}, [](testkit::EngineRun& run) {
        run.At(1, [](testkit::EngineRun&) { CQuiltorEngine::GetInstance()->LoadSlot(0); });
    });
    return 0;
}
