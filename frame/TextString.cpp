#include "frame/TextString.h"

#include <algorithm>
#include <cstdarg>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace kivotasuGameKit {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

char ToUpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char ToLowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c)
{
    if (c <= '9') return c - '0';
    return ToUpperAscii(c) - 'A' + 10;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToUpperAscii(a[i]) != ToUpperAscii(b[i])) return false;
    }
    return true;
}

// Calls visit(pos, length) for every character; stops when visit returns true.
template <typename Visit>
void ForEachChar(std::string_view text, Visit visit)
{
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t length = CharLengthAt(text, pos);
        if (visit(pos, length)) return;
        pos += length;
    }
}

int FindFirst(std::string_view text, char ch)
{
    int found = -1;
    ForEachChar(text, [&](std::size_t pos, std::size_t length) {
        if (length == 1 && text[pos] == ch) found = static_cast<int>(pos);
        return found >= 0;
    });
    return found;
}

int FindLast(std::string_view text, char ch)
{
    int found = -1;
    ForEachChar(text, [&](std::size_t pos, std::size_t length) {
        if (length == 1 && text[pos] == ch) found = static_cast<int>(pos);
        return false;
    });
    return found;
}

unsigned CharValueAt(std::string_view text, std::size_t pos, std::size_t length)
{
    unsigned value = static_cast<unsigned char>(text[pos]);
    return length == 2 ? (value << 8) | static_cast<unsigned char>(text[pos + 1]) : value;
}

// A match of from at text[pos]: letters of single-byte characters without
// regard to case, two-byte characters exactly.
bool MatchesAt(std::string_view text, std::size_t pos, std::string_view from, bool exact)
{
    if (text.size() - pos < from.size()) return false;
    if (exact) return text.compare(pos, from.size(), from) == 0;
    for (std::size_t k = 0; k < from.size();) {
        std::size_t length = CharLengthAt(from, k);
        if (length == 2) {
            if (text[pos + k] != from[k] || text[pos + k + 1] != from[k + 1]) return false;
        } else if (ToUpperAscii(text[pos + k]) != ToUpperAscii(from[k])) {
            return false;
        }
        k += length;
    }
    return true;
}

} // namespace

bool IsShiftJISLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

int CTextString::Find(char ch) const { return FindFirst(m_text, ch); }

int CTextString::ReverseFind(char ch) const { return FindLast(m_text, ch); }

bool CTextString::IsNumber() const
{
    return !m_text.empty() && ((m_text[0] >= '0' && m_text[0] <= '9') || m_text[0] == '-');
}

void CTextString::ToSlash()
{
    ForEachChar(m_text, [&](std::size_t pos, std::size_t length) {
        if (length == 1 && m_text[pos] == '\\') m_text[pos] = '/';
        return false;
    });
}

// atoi's rules, but a value beyond 32 bits saturates instead of being undefined.
int CTextString::ToInt() const
{
    const long long value = std::strtoll(m_text.c_str(), nullptr, 10);
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

CTextString CTextString::LeftOfFirst(char ch) const
{
    int pos = Find(ch);
    return pos < 0 ? *this : CTextString(m_text.substr(0, pos));
}

CTextString CTextString::LeftOfLast(char ch) const
{
    int pos = ReverseFind(ch);
    return pos < 0 ? *this : CTextString(m_text.substr(0, pos));
}

CTextString CTextString::RightOfLast(char ch) const
{
    int pos = ReverseFind(ch);
    return pos < 0 ? *this : CTextString(m_text.substr(pos + 1));
}

void CTextString::KeepLeftOfLast(char ch)
{
    int pos = ReverseFind(ch);
    if (pos >= 0) m_text.erase(pos);
}

void CTextString::KeepRightOfFirst(char ch)
{
    int pos = Find(ch);
    if (pos >= 0) m_text.erase(0, pos + 1);
}

CTextString& CTextString::operator+=(char ch)
{
    m_text += ch;
    return *this;
}

CTextString& CTextString::operator+=(const CTextString& other)
{
    m_text += other.m_text;
    return *this;
}

void CTextString::AppendNumber(int value) { m_text += std::to_string(value); }

void CTextString::SetNumber(int value) { m_text = std::to_string(value); }

void CTextString::AppendFormat(const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    m_text += buffer;
}

void CTextString::AppendColorCode(std::uint32_t colour) { AppendFormat("#%06X", colour); }

void CTextString::AppendAttribute(const char* key, const CTextString& value)
{
    m_text += ' ';
    m_text += key;
    m_text += "=\"";
    m_text += value.m_text;
    m_text += '"';
}

void CTextString::AppendAttribute(const char* key, int value) { AppendAttribute(key, CTextString(std::to_string(value))); }

void CTextString::AppendRectAttributes(int left, int top, int right, int bottom)
{
    AppendAttribute("X", left);
    AppendAttribute("Y", top);
    AppendSizeAttributes(right - left, bottom - top);
}

void CTextString::AppendSizeAttributes(int width, int height)
{
    AppendAttribute("WIDTH", width);
    AppendAttribute("HEIGHT", height);
}

void CTextString::Trim()
{
    std::size_t first = 0;
    while (first < m_text.size() && IsBlank(m_text[first])) ++first;
    m_text.erase(0, first);
}

int Compare(const CTextString& a, const CTextString& b)
{
    std::string_view x = a.m_text, y = b.m_text;
    std::size_t i = 0, j = 0;
    while (i < x.size() && j < y.size()) {
        std::size_t lengthX = CharLengthAt(x, i), lengthY = CharLengthAt(y, j);
        unsigned unitX = CharValueAt(x, i, lengthX), unitY = CharValueAt(y, j, lengthY);
        if (unitX != unitY) return unitX < unitY ? -1 : 1;
        i += lengthX;
        j += lengthY;
    }
    if (i < x.size()) return 1;
    return j < y.size() ? -1 : 0;
}

CTextString operator+(const CTextString& a, const CTextString& b)
{
    CTextString result(a);
    result += b;
    return result;
}

bool SkipBlanks(const char*& text)
{
    while (IsBlank(*text)) ++text;
    return *text == '\0';
}

void MakeLower(std::string& text)
{
    ForEachChar(text, [&](std::size_t pos, std::size_t length) {
        if (length == 1) text[pos] = ToLowerAscii(text[pos]);
        return false;
    });
}

int ParseInt(std::string_view text, std::int64_t& value)
{
    value = 0;
    std::size_t pos = 0;
    bool negative = !text.empty() && text[0] == '-';
    if (negative) ++pos;
    if (pos >= text.size() || text[pos] < '0' || text[pos] > '9') return 1;
    std::uint64_t magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(text[pos] - '0');
    }
    value = static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
    return 0;
}

std::string CutToken(const char*& text)
{
    const char* start = text;
    while (*text != '\0' && *text != ' ' && *text != '\t' && *text != '\n') ++text;
    return std::string(start, text);
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to, bool exact)
{
    if (text.empty() || from.empty()) return;
    std::string result;
    std::size_t copied = 0;
    bool matched = false;
    for (std::size_t pos = 0; pos < text.size();) {
        if (MatchesAt(text, pos, from, exact)) {
            matched = true;
            result.append(text, copied, pos - copied);
            result.append(to);
            pos += from.size();
            copied = pos;
        } else {
            pos += CharLengthAt(text, pos);
        }
    }
    if (!matched) return;
    result.append(text, copied, std::string::npos);
    text = std::move(result);
}

void Int64ToString(std::string& out, std::int64_t value)
{
    char digits[21];
    char* first = digits + sizeof digits;
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        *--first = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) *--first = '-';
    out.assign(first, digits + sizeof digits);
}

bool ParseColorValue(std::string_view text, std::int32_t& colour)
{
    if (EqualsIgnoringCase(text, "BLACK")) {
        colour = 0;
        return true;
    }
    if (EqualsIgnoringCase(text, "WHITE")) {
        colour = 0xFFFFFF;
        return true;
    }
    if (EqualsIgnoringCase(text, "NONE")) {
        colour = -1;
        return true;
    }
    if (text.size() < 2 || text[0] != '#' || !IsHexDigit(text[1])) return false;
    std::uint32_t value = 0;
    for (std::size_t pos = 1; pos < text.size() && IsHexDigit(text[pos]); ++pos) {
        value = value * 16 + static_cast<std::uint32_t>(HexValue(text[pos]));
    }
    colour = static_cast<std::int32_t>(value);
    return true;
}

} // namespace kivotasuGameKit
