#pragma once
// Cuts tag script into tags: plain text up to the next "[" becomes a WRITE tag,
// a bracketed tag is read into the tag record with its values expanded and
// evaluated by the variable store.

#include <cstdint>
#include <string_view>

#include "script/lang/TagAttributes.h"

enum TagReadResult : std::int32_t {
    TagRead = 0,     // the record holds a tag
    TextEnd = 1,     // nothing left to read
    TagUnclosed = 2, // reported; the record holds no tag
};

// What the lexer does with a tag it cannot read: reports it as a script
// error and reads on, or raises it as an EScript (stored files, whose damage
// is no error of the script being played).
enum class LexFaults { Reported, Raised };

class CTagLexer {
public:
    // Reads text from pos, a character boundary, and moves pos behind what it read.
    CTagLexer(std::string_view text, std::size_t& pos, LexFaults faults = LexFaults::Reported)
        : m_text(text), m_pos(pos), m_faults(faults)
    {
    }

    TagReadResult ReadTag(CTagAttributes& record);
    // Skips to behind the next LABEL tag, whose LABEL value it leaves in the record.
    TagReadResult ScanLabel(CTagAttributes& record);

private:
    // The index of the "]" that closes the tag opened at open, or npos; inner
    // is the first "[" met inside it (npos: none).
    std::size_t FindTagEnd(std::size_t open, std::size_t& inner) const;
    // Finds the tag opened at open and moves pos behind it; reports an unclosed one.
    bool CutTag(std::size_t open, std::string_view& tag, std::size_t& inner);
    // Reports a fault of the tag read last, or of the one opened at at, or
    // raises it for a reader that salvages what it can.
    void Fault(const char* message, std::size_t at = std::string_view::npos) const;

    std::string_view m_text;
    std::size_t& m_pos;
    LexFaults m_faults;
};
