#pragma once
// Scripts are Shift-JIS, while most editors save UTF-8: a script saved so
// reads as garbled names and unknown keys that do not tell the cause.

#include <string_view>

// True when text is valid UTF-8 holding a multi-byte character. Japanese
// Shift-JIS text almost never is: its lead bytes 0x81 to 0x9F are UTF-8
// continuation bytes.
bool IsMultiByteUtf8(std::string_view text);

// One stderr line naming the script (an internal path) as UTF-8, with the
// command that converts it.
void SayUtf8Script(std::string_view name, std::string_view text);
