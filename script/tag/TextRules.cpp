#include "script/tag/TextRules.h"

#include <algorithm>

#include "frame/TextString.h"
#include "script/lang/TextScan.h"

namespace TAG {
namespace {

constexpr std::string_view FullWidthDigits = "０１２３４５６７８９";

bool IsOneOf(std::string_view character, std::string_view set)
{
    if (character.size() != 2) return false;
    for (std::size_t i = 0; i + 1 < set.size(); i += 2)
        if (set.substr(i, 2) == character) return true;
    return false;
}

bool IsHalfWidthKana(unsigned char byte) { return byte >= 0xA1 && byte <= 0xDF; }

// Where the first character lies that meets the test, stepping by characters.
template <class Test> std::size_t FirstCharacter(std::string_view text, Test test)
{
    for (std::size_t at = 0; at < text.size(); at += kivotasuGameKit::CharLengthAt(text, at)) {
        if (test(static_cast<unsigned char>(text[at]))) return at;
    }
    return std::string_view::npos;
}

} // namespace

LayoutChar NextLayoutChar(std::string_view text, std::size_t pos)
{
    for (std::size_t at = pos; at < text.size(); ++at) {
        const unsigned char byte = static_cast<unsigned char>(text[at]);
        if (byte >= '0' && byte <= '9') return {at - pos + 1, std::string(FullWidthDigits.substr((byte - '0') * 2, 2))};
        if (kivotasuGameKit::IsShiftJISLeadByte(byte)) {
            // A lead byte that ends the text has no character to show.
            if (at + 1 >= text.size()) return {};
            return {at - pos + 2, std::string(text.substr(at, 2))};
        }
        // Half-width katakana are characters of one byte.
        if (IsHalfWidthKana(byte)) return {at - pos + 1, std::string(text.substr(at, 1))};
        // 0x80, 0xA0 and 0xFD-0xFF start no character: read as a lead they would swallow the next one.
    }
    return {};
}

std::size_t ShownCharacters(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t pos = 0;; ++count) {
        const std::size_t consumed = NextLayoutChar(text, pos).consumed;
        if (!consumed) return count;
        pos += consumed;
    }
}

std::size_t FirstUnshownCharacter(std::string_view text)
{
    return FirstCharacter(text, [](unsigned char byte) {
        return byte < 0x80 && (byte < '0' || byte > '9') && !IsTagBlank(static_cast<char>(byte));
    });
}

std::size_t FirstHalfWidthKana(std::string_view text)
{
    return FirstCharacter(text, IsHalfWidthKana);
}

std::string ShownBytes(std::string_view text)
{
    std::string kept;
    for (std::size_t pos = 0;;) {
        const LayoutChar next = NextLayoutChar(text, pos);
        if (!next.consumed) break;
        pos += next.consumed;
        const char last = text[pos - 1];
        kept += last >= '0' && last <= '9' ? std::string(1, last) : next.shown;
    }
    return kept;
}

std::string FullWidthSpaces(std::int64_t count)
{
    constexpr std::int64_t Widest = 8192;
    std::string spaces;
    for (std::int64_t i = 0; i < std::min(count, Widest); ++i) spaces += FullWidthSpace;
    return spaces;
}

bool IsLineStartForbidden(std::string_view character)
{
    return IsOneOf(character, "、。」）！？］』");
}

bool OpensIndent(std::string_view character)
{
    return IsOneOf(character, "「（");
}

bool ClosesIndent(std::string_view character)
{
    return IsOneOf(character, "」）");
}

} // namespace TAG
