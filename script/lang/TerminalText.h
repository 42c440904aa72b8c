#pragma once
// Script bytes as a line on a terminal shows them: the stderr line of an error
// carries tags and file names as the script spells them.

#include <cstddef>
#include <string>
#include <string_view>

// Shift-JIS text cut to at most bound bytes at a character boundary, with "…"
// behind when cut, each run of line breaks made one space.
std::string ShownOnOneLine(std::string_view text, std::size_t bound);

// Every control byte spelled by its name ("<ESC>", "<NUL>"): bytes of a script
// neither drive the terminal nor cut the line. Never a byte of a multi-byte
// character, in Shift-JIS as in UTF-8.
std::string NamedControls(std::string_view text);
