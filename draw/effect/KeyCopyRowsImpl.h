#pragma once

// The keyed-copy rows written once over a vector policy V (SSE2 or AVX2);
// included only by the files that instantiate them for one instruction set.

#include <cstddef>

#include "draw/effect/KeyCopyRows.h"
#include "draw/effect/PixelFormat.h"
#include "draw/effect/RoutineGrid.h"

namespace kivotasuGameKit {

template <class V> struct KeyCopyRowSet {
    using T = typename V::T;

    template <SurfaceType D, SurfaceType S> static constexpr bool Served()
    {
        if constexpr (D == S) return PixelFormat<D>::Bytes != 3;
        else return Is32<D> && Is32<S>;
    }

    // ConvertPixel's whole-word form, on every cell of a vector.
    template <SurfaceType D, SurfaceType S> static T Convert(T v)
    {
        if constexpr (D == S || !Is32<D>) {
            return v;
        } else {
            if constexpr (RedFirst<D> != RedFirst<S>) v = V::SwapRedBlue(v);
            if constexpr (!HasAlpha(D)) v = V::And(v, V::Set32(0x00FFFFFF));
            else if constexpr (!HasAlpha(S)) v = V::Or(v, V::Set32(0xFF000000));
            return v;
        }
    }

    template <SurfaceType D, SurfaceType S>
    static int32_t Row(uint8_t* d, const uint8_t* s, int32_t n, const Blend::RowParams& p)
    {
        constexpr int bytes = PixelFormat<S>::Bytes;
        constexpr int32_t per = int32_t(sizeof(T)) / bytes;
        // Bytes of a cell the copy never writes (byte 3 of the 4-bit alpha types).
        constexpr uint32_t unwritten = PixelFormat<D>::RawBytes == bytes ? 0 : 0xFF000000;
        const T key = bytes == 2 ? V::Set16(uint16_t(p.key)) : V::Set32(p.key), keyMask = V::Set32(p.keyMask);
        int32_t i = 0;
        for (; i + per <= n; i += per) {
            const T sv = V::Load(s + ptrdiff_t(i) * bytes);
            T keep;
            if constexpr (bytes == 2) keep = V::CmpEq16(sv, key);
            else keep = V::CmpEq32(V::And(sv, keyMask), key);
            const T out = Convert<D, S>(sv);
            if (!unwritten && V::AllZero(keep, keep)) {
                V::Store(d + ptrdiff_t(i) * bytes, out);
                continue;
            }
            if (V::AllOnes(keep)) continue;
            if constexpr (unwritten != 0) keep = V::Or(keep, V::Set32(unwritten));
            V::Store(d + ptrdiff_t(i) * bytes, V::Select(keep, V::Load(d + ptrdiff_t(i) * bytes), out));
        }
        return i;
    }

    template <SurfaceType D, SurfaceType S>
    static int32_t PlainRow(uint8_t* d, const uint8_t* s, int32_t n, const Blend::RowParams&)
    {
        constexpr int32_t per = int32_t(sizeof(T)) / 4;
        int32_t i = 0;
        for (; i + per <= n; i += per) V::Store(d + ptrdiff_t(i) * 4, Convert<D, S>(V::Load(s + ptrdiff_t(i) * 4)));
        return i;
    }

    static consteval KeyCopyRowTable Table()
    {
        KeyCopyRowTable table{};
        FillServedPairs<1>(table.cell, []<SurfaceType D, SurfaceType S>() -> Blend::RowFn {
            if constexpr (Served<D, S>()) return &Row<D, S>;
            else return nullptr;
        });
        // A same-type copy is a move per row already.
        FillServedPairs<0>(table.plain, []<SurfaceType D, SurfaceType S>() -> Blend::RowFn {
            if constexpr (D != S && Is32<D> && Is32<S>) return &PlainRow<D, S>;
            else return nullptr;
        });
        return table;
    }
};

} // namespace kivotasuGameKit
