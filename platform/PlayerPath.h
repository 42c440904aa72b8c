#pragma once
// Where the running player lies, as the user started it: its folder is the
// game the player plays.

#include <string>

namespace platform {

// The host path of the player: the path it was started by when that leads
// to this very program (a symbolic link placed in a game folder plays that
// game, as a copy there would), else the program's real path. A name found
// through PATH, or an argv[0] of a caller's own making, takes the real path.
// startedAs is argv[0]; null forgets it.
void SetPlayerStartedAs(const char* startedAs);
std::string PlayerHostPath();

// Makes the folder of PlayerHostPath the game drive.
void MapGameDriveToPlayerFolder();

} // namespace platform
