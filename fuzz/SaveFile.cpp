// Arbitrary bytes as a save file, loaded through the headless engine's
// LoadSlot in a game held in memory, for a bounded number of frames and tags
// with a click every few frames, and as the global variables' file the start
// and the load read. Saves the loaded script makes go to memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/EngineInput.h"
#include "platform/MemoryFileSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    platform::MemoryFileSystem& files = platform::MemoryFileSystem::Install();
    files.Put("Z:\\data\\index.txt", "[C][C]");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    files.Put("Z:\\Save\\index.000", bytes);
    files.Put("Z:\\Save\\index.g", bytes);
    files.Put("Z:\\system\\option.qsd", testkit::InstantOptions);
    // The load at frame 1. Its reset's blind is the same for every input: the
    // clock leaps past it after one frame. A save that ends the script shows
    // only the end screen after that.
    fuzzkit::RunEngine({.frames = 18, .tags = 1000, .firstClick = 3, .clickEvery = 3}, [](testkit::EngineRun& run) {
        run.At(1, [](testkit::EngineRun&) { CQuiltorEngine::GetInstance()->LoadSlot(0); });
        run.At(2, [](testkit::EngineRun& inReset) { inReset.Clock().Advance(CQuiltorEngine::ResetWipeMs); });
        run.CloseAtScriptEnd();
    });
    return 0;
}
