#pragma once
// The moments the engine writes the player's own files (the resume save, the
// global variables, the options): every way play ends or starts over, as the
// engine can tell them apart, and the two moments within play that the global
// variables go to their file. What each writes is the table in EndOfPlay.cpp,
// and nowhere else.

#include <cstdint>

// Which ways of the user's come to each is said at its row of the table.
enum class EndOfPlay : std::uint8_t {
    // The engine is destroyed.
    Close,
    // The start script from its top.
    ReturnToTitle,
    // Another script, or the same one again.
    OpenScript,
    // The end screen is reached.
    StoryEnd,
    // Before a load's reset.
    Load,
    // A save is in place.
    Saved,
};

// Where play stands when it ends, for the resume save.
enum class PlayStands : std::uint8_t {
    // At a wait or a choice, the story still to read.
    MidStory,
    // A load has begun and not reached the place it goes to, or the close
    // interrupted its read.
    Loading,
    // On the end screen, or the script read to its last byte.
    Ended,
};
