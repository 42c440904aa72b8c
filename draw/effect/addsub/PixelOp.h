#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

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
        uint16_t dw, sw;
        std::memcpy(&dw, d, 2);
        std::memcpy(&sw, s, 2);
        const auto widen = [](uint32_t w, uint32_t out[3]) {
            out[0] = Is565 ? (w >> 8) & 0xF8 : (w >> 7) & 0xF8;
            out[1] = Is565 ? (w >> 3) & 0xFC : (w >> 2) & 0xF8;
            out[2] = (w & 0x1F) << 3;
        };
        uint32_t dc[3], sc[3];
        widen(dw, dc);
        widen(sw, sc);
        for (int i = 0; i < 3; ++i)
            dc[i] = IsAdd ? std::min<uint32_t>(dc[i] + sc[i], 255) : (dc[i] > sc[i] ? dc[i] - sc[i] : 0);
        const uint16_t result = Is565 ? uint16_t(((dc[0] & 0xF8) << 8) | ((dc[1] & 0xFC) << 3) | (dc[2] >> 3))
                                      : uint16_t(((dc[0] & 0xF8) << 7) | ((dc[1] & 0xF8) << 2) | (dc[2] >> 3));
        std::memcpy(d, &result, 2);
    }
};

} // namespace kivotasuGameKit
