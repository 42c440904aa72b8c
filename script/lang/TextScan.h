#pragma once
// Character searches over Shift-JIS text: a second byte never counts as a
// character of its own, so "]" inside a two-byte character is no bracket.

#include <string_view>

#include "frame/TextString.h"

// Index of the first character ch at or after from (a character boundary), or npos.
inline std::size_t FindSjisChar(std::string_view text, std::size_t from, char ch)
{
    for (std::size_t pos = from; pos < text.size(); pos += kivotasuGameKit::CharLengthAt(text, pos)) {
        if (text[pos] == ch) return pos;
    }
    return std::string_view::npos;
}

inline bool IsTagBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r'; }

inline std::size_t SkipTagBlanks(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && IsTagBlank(text[pos])) ++pos;
    return pos;
}

// Blanks are below 0x40, so they are never a second byte and stripping from
// the end needs no scan.
inline std::string_view StripTagBlanks(std::string_view text)
{
    std::size_t first = SkipTagBlanks(text, 0);
    std::size_t last = text.size();
    while (last > first && IsTagBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// True when word (upper-case ASCII) starts text, letters compared without case.
inline bool HasPrefixNoCase(std::string_view text, std::string_view word)
{
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char ch = text[i];
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
        if (ch != word[i]) return false;
    }
    return true;
}
