#pragma once
// Texts of drawn menus and dialogs: resource labels as shown, and the glyphs
// a font atlas needs for them.

#include "platform/Dialogs.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A resource label in UTF-8 without its access-key marks ("&X" shows X, "&&"
// one "&"): the text of a menu item, a button, a check box, a choice, a group
// or a page. Every other text (a box's message, a title, a link) is shown as
// it is, in UTF-8.
std::string ShownLabel(std::string_view textSjis);

// The access key a resource label marks: the letter or digit after its "&",
// in upper case; 0 for none.
char AccessKey(std::string_view textSjis);

// The control's text as drawn: a label's or a link's as it is (a box's
// message, a game's name, an address), the others' as a resource label.
std::string ShownControlText(const DialogControl& control);

// What a slider shows of its value: the value times its scale, then its unit.
std::string ShownSliderValue(const DialogControl& control);

// UTF-8 text with line breaks put where a line would grow wider than width
// (as measure gives it): after a blank or a "/", before a "\", or between two
// characters outside ASCII, so that a word or a path's folder name stays
// whole; only a piece wider than a line by itself is broken inside.
std::string BrokenLines(std::string_view utf8, float width, const std::function<float(std::string_view)>& measure);

// The code points of UTF-8 text within the basic plane, added to the set.
void CollectCodepoints(std::string_view utf8, std::set<std::uint16_t>& out);

// Ranges for a font builder: first and last code point of each run,
// zero-terminated. Printable ASCII is always in, for typed numbers.
std::vector<std::uint16_t> GlyphRanges(const std::set<std::uint16_t>& codepoints);

} // namespace platform
