#pragma once
// The colour-key rule of ERASE: a corner pixel, no key, a colour, or not given.

#include <cstdint>

#include "frame/TextString.h"

namespace DIB {

struct CEraseInfo {
    enum Mode : std::uint32_t { LeftTop, LeftBottom, RightTop, RightBottom, None, NotGiven, Colour };

    std::uint32_t colour = 0;
    std::uint32_t mode = NotGiven;

    void Assign(const CEraseInfo& other)
    {
        if (other.mode != NotGiven) *this = other;
    }
    // A keyword or a colour; an empty or unreadable value leaves the record.
    // False for an unreadable one.
    bool Parse(const kivotasuGameKit::CTextString& value);
    // The same, an unreadable value said on stderr at the tag read last.
    void ParseOrSay(const kivotasuGameKit::CTextString& value);
    // The ERASE attribute, nothing when not given.
    void AppendTo(kivotasuGameKit::CTextString& text) const;
};

} // namespace DIB
