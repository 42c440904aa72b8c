#pragma once
// The moments the engine writes the player's own files (the resume save, the
// global variables, the options): every way play ends or starts over, as the
// engine can tell them apart, and the two moments within play that the global
// variables go to their file. What each writes is the table in EndOfPlay.cpp,
// and nowhere else.

#include <cstdint>

enum class EndOfPlay : std::uint8_t {
    // The engine is destroyed; every close ends here: the close box; Alt+F4
    // in the game, a menu, a box or a dialog; SIGTERM and SIGINT, which the
    // window system turns into the window's close; the exit question answered
    // yes; a close that cut a load short.
    Close,
    // The menu's return to the title: the start script from its top.
    ReturnToTitle,
    // Another script: dropped on the window, opened from the menu, or an
    // entry of the history.
    OpenScript,
    // The story has ended: END; an error that ends it, under ERROR 0 or 1
    // alike; a script read to its end; a JUMP or CALL to no script.
    StoryEnd,
    // A load, before its reset reads the global variables back.
    Load,
    // A save the reader asked for, or a choice's auto-save, is in place.
    Saved,
};

// Where play stands when it ends, for the resume save.
enum class PlayStands : std::uint8_t {
    // At a wait or a choice, the story still to read.
    MidStory,
    // A load has begun and not reached the place it goes to, or the close cut
    // its read short.
    Loading,
    // On the end screen, or the script read to its last byte.
    Ended,
};
