#pragma once
// Script text cut to fit one line of a terminal: the stderr line of an error
// carries tags and file names as the script spells them.

#include <cstddef>
#include <string>
#include <string_view>

// Shift-JIS text cut to at most bound bytes at a character boundary, with "…"
// behind when cut, each run of line breaks made one space.
std::string ShownOnOneLine(std::string_view text, std::size_t bound);

