#pragma once
// Scripts are Shift-JIS, while most editors save UTF-8: a script saved so
// reads as garbled names and unknown keys that do not tell the cause.

#include <string>
#include <string_view>

// True when text is Japanese written in UTF-8: strict UTF-8 (no overlong
// form, no surrogate) with several kana or kanji, which does not read as
// good Shift-JIS. Kanji alone count when two stand side by side, each with a
// Shift-JIS form. Short Shift-JIS texts can be valid UTF-8 by chance ("ﾂｰ" is
// the bytes of "°"); they are not called UTF-8.
bool IsJapaneseUtf8(std::string_view text);

// The notice naming the script (an internal path) as UTF-8, with the command
// that converts it: one UTF-8 line without a control byte, a break or the
// program's name. The command runs as shown, typed from a terminal or from a
// box: a character that would show as another there is spelled as bytes.
std::string Utf8ScriptNotice(std::string_view name, std::string_view text);

// The notice as a line on stderr.
void SayUtf8Script(std::string_view name, std::string_view text);
// The notice in a box, for a player started from a file manager, which shows
// no stderr.
void ShowUtf8Script(std::string_view name, std::string_view text);
