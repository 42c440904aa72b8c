#pragma once

#include <cstdio>
#include <string_view>

namespace platform {

// A C library mode without "b" asks for a text stream, as on Windows.
bool IsTextMode(std::string_view mode);

// A stream over binary that writes "\n" as "\r\n" and reads "\r\n" as "\n";
// seeks and positions are those of binary. Closing it closes binary. Null
// (binary left open) when the stream cannot be made.
std::FILE* WrapTextStream(std::FILE* binary, std::string_view mode);

} // namespace platform
