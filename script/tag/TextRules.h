#pragma once
// The character rules that the message window and the back-log share: what a
// character of story text is, and how it behaves at a line start.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace TAG {

// The next shown character of text from pos: single-byte characters other
// than the digits are skipped; a digit is shown as its full-width form.
struct LayoutChar {
    std::size_t consumed = 0; // bytes taken from the text, skipped ones included; 0 at the end
    std::string shown;        // the Shift-JIS character to show
};
LayoutChar NextLayoutChar(std::string_view text, std::size_t pos);
// How many characters layout shows of text: the cells one line of it takes.
std::size_t ShownCharacters(std::string_view text);
// Where the first character lies that layout skips though its author meant it
// to show: a half-width one other than a digit or a blank (blanks and breaks
// lay the script out); npos for none.
std::size_t FirstUnshownCharacter(std::string_view text);
// Where the first half-width katakana lies: shown, but in a full-width cell,
// its sound marks in cells of their own; npos for none.
std::size_t FirstHalfWidthKana(std::string_view text);

// "、。」）！？］』": may not start a line, so it stays in the hanging columns.
bool IsLineStartForbidden(std::string_view character);
// "「" and "（" start a bracket indent, "」" and "）" end it.
bool OpensIndent(std::string_view character);
bool ClosesIndent(std::string_view character);

// The bytes of text that layout shows (a digit as the ASCII digit it is), so
// that a saved BODY or NAME holds no quote, bracket, brace or operator that
// would change it when read back.
std::string ShownBytes(std::string_view text);

// The full-width space of the line fill and of the back-log's indent.
inline constexpr std::string_view FullWidthSpace = "　";

// count full-width spaces, at most as many as the widest plane can show: a
// script's absurd BEAM or INDENT must not exhaust memory.
std::string FullWidthSpaces(std::int64_t count);

} // namespace TAG
