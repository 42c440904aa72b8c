#pragma once
// Characters of UTF-8 text read strictly, for the places that must tell a
// character from a byte of none: what reaches a terminal or a shell.

#include <cstddef>
#include <string_view>

namespace platform {

// Length 0: no strict UTF-8 character starts there (a stray continuation
// byte, a cut sequence, an overlong form, a surrogate, beyond U+10FFFF).
struct Utf8Character {
    char32_t code = 0;
    std::size_t length = 0;
};

Utf8Character Utf8CharacterAt(std::string_view text, std::size_t at);

// C0, DEL and C1: characters a terminal takes as commands.
constexpr bool IsControlCharacter(char32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

} // namespace platform
