#pragma once
// What the engine tells an observer as it runs: each tag read, each frame, and
// each turn the window has while a script reads on without a wait.
// The player's marks the end of its start-up at the first frame; test
// harnesses and the fuzz target record and steer runs through it.

#include <cstdint>

#include "script/engine/GameState.h"

class CTagAttributes;

class IEngineProbe {
public:
    virtual ~IEngineProbe() = default;

    // After a tag was handled, with the record as it was read; skipped tags
    // (LABEL, COND "0") are reported with ran false, a tag whose handler
    // raised with raised true (before the error goes on). offset is the
    // reading position behind the tag.
    virtual void OnTag(const CTagAttributes& record, std::uint32_t offset, EngineState before, EngineState after,
                       bool ran, bool raised) = 0;
    // After each frame wait, frames counted from 1.
    virtual void OnFrame(std::uint32_t frame) = 0;
    // After the window's input was answered amid a script read on without a
    // wait (no frame was waited for), turns counted from 1.
    virtual void OnTurn(std::uint32_t turn) = 0;
};
