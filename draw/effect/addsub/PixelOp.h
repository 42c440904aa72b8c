#pragma once

#include <algorithm>
#include <cstdint>

#include "draw/effect/PixelFormat.h"

namespace kivotasuGameKit {

// Per-pixel add and subtract operations of the add/subtract family. Each
// updates the destination cell in place from a source whose first 16 bits
// are a colour word of the destination's format.
class CPixelOp {
public:
    // ARGB4565 / ARGB4555: the colour word, per field saturating at the
    // field's maximum or floored at 0; the alpha byte is not touched.
    static void AddARGB4565(uint8_t* d, const uint8_t* s) { Combine<true, true>(d, s); }
    static void AddARGB4555(uint8_t* d, const uint8_t* s) { Combine<false, true>(d, s); }
    static void SubARGB4565(uint8_t* d, const uint8_t* s) { Combine<true, false>(d, s); }
    static void SubARGB4555(uint8_t* d, const uint8_t* s) { Combine<false, false>(d, s); }

private:
    // Fields widened to 8 bits, combined and clamped there, narrowed back.
    template <bool Is565, bool IsAdd> static void Combine(uint8_t* d, const uint8_t* s)
    {
        const auto widen = [](const uint8_t* cell) {
            return Is565 ? Channels565(LoadWord(cell)) : Channels555(LoadWord(cell));
        };
        const auto combine = [](uint32_t dc, uint32_t sc) {
            return IsAdd ? std::min<uint32_t>(dc + sc, 255) : (dc > sc ? dc - sc : 0);
        };
        const PixelChannels dc = widen(d), sc = widen(s);
        const PixelChannels out{combine(dc.r, sc.r), combine(dc.g, sc.g), combine(dc.b, sc.b), 0, 0};
        StoreWord(d, Is565 ? Word565(out) : Word555(out));
    }
};

} // namespace kivotasuGameKit
