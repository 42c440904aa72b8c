#pragma once

#include <string>
#include <string_view>

namespace platform {

// Text leaves the program as UTF-8 through the CP932 table (0x5C stays "\").
// A byte sequence that does not convert becomes "?".
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);

} // namespace platform
