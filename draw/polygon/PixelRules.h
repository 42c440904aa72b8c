#pragma once

// The pixel rules of the polygon members, one template per format pair: the
// copy (mode 0), the same copy behind a colour-key test (mode 1) and the blend
// by source alpha (mode 10). Pairs of one channel order and width move bytes
// unchanged; the blends reuse the alpha family's per-pixel operations.

#include <cstdint>
#include <cstring>

#include "draw/effect/PixelFormat.h"
#include "draw/effect/SurfaceType.h"
#include "draw/effect/alpha/PixelOp.h"

namespace kivotasuGameKit::polygon {

constexpr bool IsWord16(SurfaceType t) { return t == RGB565 || t == RGB555; }
constexpr bool IsCell4(SurfaceType t) { return t == ARGB4565 || t == ARGB4555; }
constexpr bool IsAlpha8(SurfaceType t) { return t == ARGB8888 || t == ABGR8888; }
constexpr bool IsX8888(SurfaceType t) { return t == XRGB8888 || t == XBGR8888; }
constexpr bool Is565Layout(SurfaceType t) { return t == RGB565 || t == ARGB4565; }

template <SurfaceType D, SurfaceType S> struct PixelRule {
    static void Copy(uint8_t* d, const uint8_t* s)
    {
        if constexpr (D == S && IsCell4(D)) {
            std::memcpy(d, s, 3); // colour word and alpha; byte 3 is never written
        } else if constexpr (D == S) {
            std::memcpy(d, s, BytesPerPixel(D));
        } else if constexpr (IsCell4(D)) {
            std::memcpy(d, s, 2);
            d[2] = 15;
        } else if constexpr (IsWord16(D)) {
            StoreWord(d, D == RGB555 ? uint16_t(LoadWord(s) & 0x7FFF) : LoadWord(s));
        } else if constexpr (IsAlpha8(D)) {
            using DC = Blend::Cell8<D>;
            using SC = Blend::Cell8<S>;
            d[DC::R] = s[SC::R];
            d[1] = s[1];
            d[DC::B] = s[SC::B];
            d[3] = 255;
        } else {
            std::memcpy(d, s, 3);
            if constexpr (BytesPerPixel(D) == 4) d[3] = 0;
        }
    }

    // The key is packed in the source's own layout; what is compared depends
    // on the source alone.
    static bool IsKey(const uint8_t* s, uint32_t key)
    {
        if constexpr (IsWord16(S) || IsCell4(S)) return LoadWord(s) == (key & 0xFFFF);
        else if constexpr (IsX8888(S)) return LoadCell(s) == key;
        else return Load24(s) == (key & 0xFFFFFF);
    }

    static void BlendAlpha(uint8_t* d, const uint8_t* s)
    {
        using Op = Blend::CPixelOp;
        if constexpr (IsWord16(D) && IsCell4(S)) {
            const uint32_t level = Blend::Alpha4(s); // an alpha above 15 keeps its low 4 bits
            Op::FadeMix<Is565Layout(D)>(d, s, level, level ^ 15);
        } else if constexpr (IsWord16(S) || IsCell4(S)) {
            // A 4-bit cell weighs by alpha x 16 (15 is row 240); a plain word is opaque.
            const uint32_t row = IsCell4(S) ? (uint32_t(s[2]) << 4) & 0xFF : 255;
            Op::BlendRateWide<Is565Layout(D)>(d, s, row);
        } else {
            Op::BlendRate<D, S>(d, s, IsAlpha8(S) ? s[3] : 255);
        }
    }
};

} // namespace kivotasuGameKit::polygon
