#include "script/lang/TerminalText.h"

#include <array>

#include "frame/TextString.h"

namespace {

constexpr std::array<const char*, 32> ControlNames = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",  "VT",  "FF", "CR", "SO", "SI",
    "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS", "GS", "RS", "US",
};

bool IsBreak(char ch) { return ch == '\n' || ch == '\r'; }

} // namespace

std::string ShownOnOneLine(std::string_view text, std::size_t bound)
{
    std::size_t end = 0;
    while (end < text.size() && end + kivotasuGameKit::CharLengthAt(text, end) <= bound)
        end += kivotasuGameKit::CharLengthAt(text, end);
    std::string line;
    for (std::size_t pos = 0; pos < end; ++pos) {
        if (!IsBreak(text[pos])) line += text[pos];
        else if (pos == 0 || !IsBreak(text[pos - 1])) line += ' ';
    }
    return end == text.size() ? line : line + "…";
}

std::string NamedControls(std::string_view text)
{
    std::string named;
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < ControlNames.size()) named.append("<").append(ControlNames[byte]).append(">");
        else if (byte == 0x7F) named += "<DEL>";
        else named += ch;
    }
    return named;
}
