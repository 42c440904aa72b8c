#include "script/lang/TerminalText.h"

#include "frame/TextString.h"

namespace {

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
