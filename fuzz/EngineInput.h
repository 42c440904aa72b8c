// One input of an engine fuzz target: a run of the real engine on the headless
// platform with a click every few frames, keeping nothing of what it plays;
// afterwards the process's own services come back, so nothing an input made
// outlives it and libFuzzer finds no allocation left behind to run it again for.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/AudioOutput.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/FileSystem.h"
#include "platform/Fonts.h"
#include "platform/Keyboard.h"
#include "platform/WindowSystem.h"
#include "fuzz/KeptFonts.h"
#include "tests/kit/EngineHarness.h"

namespace fuzzkit {

struct EngineInput {
    std::uint32_t frames;
    std::uint32_t tags;
    std::uint32_t firstClick;
    std::uint32_t clickEvery;
};

template <class Prepare>
void RunEngine(const EngineInput& input, Prepare prepare)
{
    {
        testkit::EngineRun run;
        // Nothing reads what was played, and a long wait would keep seconds of
        // it; nothing looks at the screen or the tags run either.
        run.Audio().SetRecording(false);
        run.Displays().KeepPictures(false);
        run.RecordTags(false);
        platform::InstallFonts(std::make_unique<KeptFonts>());
        prepare(run);
        for (std::uint32_t frame = input.firstClick; frame < input.frames; frame += input.clickEvery) run.Click(frame);
        run.Run(input.frames, input.tags);
    }
    // Variables and settings the input made go with it too, or libFuzzer
    // would count them as its allocations left behind and run it again.
    testkit::ResetEngineGlobals();
    platform::InstallFileSystem(nullptr);
    platform::InstallWindows(nullptr);
    platform::InstallDisplays(nullptr);
    platform::InstallKeyboards(nullptr);
    platform::InstallClock(nullptr);
    platform::InstallAudio(nullptr);
    platform::InstallFonts(nullptr);
}

} // namespace fuzzkit
