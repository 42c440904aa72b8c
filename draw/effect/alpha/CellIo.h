#pragma once

// Cells of every format to and from vector registers, V::Cells at a time: as
// stored (zero-extended to 32 bits) and as 8-bit channels in XRGB order.
// Written once over a lane policy V (SSE2 or AVX2), which gives the
// set-specific moves: LoadWords/StoreWords, Load24/Store24 and SwapRedBlue.
// Only included by the files that instantiate it for one instruction set.

#include <cstdint>

#include "draw/effect/SurfaceType.h"

namespace kivotasuGameKit::Blend {

constexpr bool IsWordFormat(SurfaceType f) { return f == RGB565 || f == RGB555; }
constexpr bool IsWideFormat(SurfaceType f) { return f == ARGB4565 || f == ARGB4555; }
constexpr bool IsRedFirst(SurfaceType f) { return f == BGR888 || f == XBGR8888 || f == ABGR8888; }

template <class V> struct CellIo {
    using T = typename V::T;

    // Cells as stored (for key tests and unchanged cells) and as channels.
    struct Loaded {
        T raw;
        T colour;
    };

    // 16-bit colour words in 32-bit lanes to channels (low bits zero) and back.
    template <bool Is565> static T WidenWords(T w)
    {
        const T b = V::And(V::Sll32(w, 3), V::Set32(0xF8));
        const T g = V::And(V::Sll32(w, Is565 ? 5 : 6), V::Set32(Is565 ? 0xFC00 : 0xF800));
        const T r = V::And(V::Sll32(w, Is565 ? 8 : 9), V::Set32(0xF80000));
        return V::Or(V::Or(b, g), r);
    }

    template <bool Is565> static T NarrowToWords(T c)
    {
        const T b = V::And(V::Srl32(c, 3), V::Set32(0x1F));
        const T g = V::And(V::Srl32(c, Is565 ? 5 : 6), V::Set32(Is565 ? 0x7E0 : 0x3E0));
        const T r = V::And(V::Srl32(c, Is565 ? 8 : 9), V::Set32(Is565 ? 0xF800 : 0x7C00));
        return V::Or(V::Or(b, g), r);
    }

    // Cells of a 2- or 4-byte format as stored (words zero-extended).
    template <SurfaceType F> static T LoadRaw(const uint8_t* p)
    {
        static_assert(BytesPerPixel(F) != 3, "3-byte cells go through Load24");
        if constexpr (BytesPerPixel(F) == 2) return V::LoadWords(p);
        else return V::Load(p);
    }

    template <SurfaceType F> static Loaded Load(const uint8_t* p)
    {
        if constexpr (IsWordFormat(F)) {
            const T raw = LoadRaw<F>(p);
            return {raw, WidenWords<F == RGB565>(raw)};
        } else if constexpr (IsWideFormat(F)) {
            const T raw = LoadRaw<F>(p);
            const T colour = WidenWords<F == ARGB4565>(V::And(raw, V::Set32(0xFFFF)));
            return {raw, V::Or(colour, V::And(V::Sll32(raw, 12), V::Set32(0xF0000000)))};
        } else {
            T raw;
            if constexpr (BytesPerPixel(F) == 3) raw = V::Load24(p);
            else raw = LoadRaw<F>(p);
            return {raw, IsRedFirst(F) ? V::SwapRedBlue(raw) : raw};
        }
    }

    // Writes result (channels, byte 3 as the format stores it) into the cells
    // where keep is clear; the others keep their bytes.
    template <SurfaceType F> static void Store(uint8_t* p, const Loaded& old, T keep, T result)
    {
        if constexpr (IsWordFormat(F)) {
            V::StoreWords(p, V::Select(keep, old.raw, NarrowToWords<F == RGB565>(result)));
        } else if constexpr (BytesPerPixel(F) == 3) {
            const T cells = V::Select(keep, old.colour, result);
            V::Store24(p, IsRedFirst(F) ? V::SwapRedBlue(cells) : cells);
        } else if constexpr (IsWideFormat(F)) {
            const T cell = V::Or(V::And(old.raw, V::Set32(0xFFFF0000)), NarrowToWords<F == ARGB4565>(result));
            V::Store(p, V::Select(keep, old.raw, cell));
        } else {
            V::Store(p, V::Select(keep, old.raw, IsRedFirst(F) ? V::SwapRedBlue(result) : result));
        }
    }
};

} // namespace kivotasuGameKit::Blend
