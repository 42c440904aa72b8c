#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kivotasuGameKit {

// Shift-JIS text: a byte 0x81-0x9F or 0xE0-0xFC starts a two-byte character
// whose second byte may be anything from 0x40 up, "\" and letters included.
bool IsShiftJISLeadByte(unsigned char byte);
inline bool IsShiftJISLeadByte(char byte) { return IsShiftJISLeadByte(static_cast<unsigned char>(byte)); }

// The byte length of the character at text[pos]: 2 for a lead byte with a
// second byte behind it, else 1.
inline std::size_t CharLengthAt(std::string_view text, std::size_t pos)
{
    return IsShiftJISLeadByte(text[pos]) && pos + 1 < text.size() ? 2 : 1;
}

// The byte string of names, paths and tag text. Searches step over the second
// byte of a two-byte character, so "\" inside "表" is never found.
class CTextString {
public:
    CTextString() = default;
    CTextString(std::string text) : m_text(std::move(text)) {}
    CTextString(const char* text) : m_text(text ? text : "") {}
    CTextString(std::string_view text) : m_text(text) {}
    CTextString(const CTextString&) = default;
    CTextString(CTextString&&) noexcept = default;
    virtual ~CTextString() = default;

    CTextString& operator=(const CTextString&) = default;
    CTextString& operator=(CTextString&&) noexcept = default;

    const std::string& GetStr() const { return m_text; }
    std::string& GetStr() { return m_text; }
    const char* c_str() const { return m_text.c_str(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }

    int Find(char ch) const;
    int ReverseFind(char ch) const;
    bool IsNumber() const;
    void ToSlash();
    int ToInt() const;
    void Clear() { m_text.clear(); }

    CTextString LeftOfFirst(char ch) const;
    CTextString LeftOfLast(char ch) const;
    CTextString RightOfLast(char ch) const;
    void KeepLeftOfLast(char ch);
    void KeepRightOfFirst(char ch);

    CTextString& operator+=(char ch);
    CTextString& operator+=(const CTextString& other);

    void AppendNumber(int value);
    void SetNumber(int value);
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void AppendColorCode(std::uint32_t colour);
    void AppendAttribute(const char* key, const CTextString& value);
    void AppendAttribute(const char* key, int value);
    void AppendRectAttributes(int left, int top, int right, int bottom);
    void AppendSizeAttributes(int width, int height);
    void Trim();

    // Compared character by character, a two-byte character as one unit.
    friend int Compare(const CTextString& a, const CTextString& b);
    friend bool operator==(const CTextString& a, const CTextString& b) { return a.m_text == b.m_text; }
    friend bool operator!=(const CTextString& a, const CTextString& b) { return a.m_text != b.m_text; }
    friend bool operator<(const CTextString& a, const CTextString& b) { return Compare(a, b) < 0; }

private:
    std::string m_text;
};

CTextString operator+(const CTextString& a, const CTextString& b);

// Moves text over blanks, tabs, CR and LF; true when it then stands on the end.
bool SkipBlanks(const char*& text);
// Lower-cases single-byte characters (ASCII only), never a second byte.
void MakeLower(std::string& text);
// 0 for an optional "-" and at least one digit (value wraps in 64 bits), else 1
// with value 0.
int ParseInt(std::string_view text, std::int64_t& value);
// The bytes up to the next blank, tab, line feed or end; text is left there.
std::string CutToken(const char*& text);
void ReplaceAll(std::string& text, std::string_view from, std::string_view to, bool exact);
void Int64ToString(std::string& out, std::int64_t value);
// "BLACK", "WHITE", "NONE" (-1) or "#" and hexadecimal digits.
bool ParseColorValue(std::string_view text, std::int32_t& colour);

} // namespace kivotasuGameKit
