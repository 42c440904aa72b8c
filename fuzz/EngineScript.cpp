// Arbitrary bytes as the start script of the real engine on the headless
// platform, for a bounded number of frames and tags, with a click every few
// frames so that waits move on. No file outside memory is read or written.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/EngineInput.h"
#include "platform/MemoryFileSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    platform::MemoryFileSystem& files = platform::MemoryFileSystem::Install();
    files.Put("Z:\\data\\index.txt", std::string_view(reinterpret_cast<const char*>(data), size));
    // Text and transitions without delay, so the frames reach more tags.
    files.Put("Z:\\system\\option.qsd", testkit::InstantOptions);
    fuzzkit::RunEngine({.frames = 24, .tags = 1000, .firstClick = 1, .clickEvery = 3}, [](testkit::EngineRun& run) {
        // Most inputs end the script early (a broken tag): the frames of the
        // end screen after that would only draw it again.
        run.CloseAtScriptEnd();
    });
    return 0;
}
