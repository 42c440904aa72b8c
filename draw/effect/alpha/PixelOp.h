#pragma once

#include <array>
#include <cstdint>

#include "draw/effect/BlendTables.h"
#include "draw/effect/PixelFormat.h"
#include "draw/effect/SurfaceType.h"

namespace kivotasuGameKit::Blend {

// Table reads: the weight picks the row, the channel the column.
inline uint32_t Mul(uint32_t w, uint32_t c) { return MulTable[w << 8 | c]; }
inline uint32_t MulInv(uint32_t w, uint32_t c) { return MulInvTable[w << 8 | c]; }

// The 4-bit alpha of an ARGB4565/ARGB4555 cell. Stray high bits are dropped
// here, before the value becomes a table row or level.
inline uint32_t Alpha4(const uint8_t* cell) { return cell[2] & 0x0F; }

// Where a cell of 8-bit channels keeps red and blue, and whether byte 3 is
// written (0 for the X formats, 255 for the alpha formats).
template <SurfaceType T> struct Cell8 {
    static constexpr int R = (T == RGB888 || T == XRGB8888 || T == ARGB8888) ? 2 : 0;
    static constexpr int B = 2 - R;
    static constexpr bool WritesByte3 = BytesPerPixel(T) == 4;
    static constexpr uint8_t Byte3 = HasAlpha(T) ? 255 : 0;
};

constexpr bool Is565(SurfaceType t) { return t == RGB565 || t == ARGB4565; }

// Both alphas 0..15 of an alpha-over between two 4-bit cells give the stored
// alpha and the fade levels of source and destination.
struct AlphaOver4Step {
    bool blends; // false when both alphas are 0: the colour word stays
    uint8_t alpha;
    uint8_t sourceLevel;
    uint8_t destinationLevel;
};

// Index: source alpha << 4 | destination alpha. The destination share t is
// MulTable[D][240 - S], written out so the table needs no build step.
constexpr std::array<AlphaOver4Step, 256> MakeAlphaOver4Steps()
{
    std::array<AlphaOver4Step, 256> steps{};
    for (uint32_t as = 0; as < 16; ++as) {
        for (uint32_t ad = 0; ad < 16; ++ad) {
            const uint32_t s = as * 16, t = ad * 16 * (240 - s) / 255, sum = t + s;
            steps[as << 4 | ad] = {sum != 0, uint8_t(sum >> 4), uint8_t(sum ? 15 * s / sum : 0), uint8_t(sum ? 15 * t / sum : 0)};
        }
    }
    return steps;
}
inline constexpr std::array<AlphaOver4Step, 256> AlphaOver4Steps = MakeAlphaOver4Steps();

// The per-pixel rules of the blend family. Each writes only the destination
// cell d, from the source cell s and the weights its body hands it.
class CPixelOp {
public:
    // 8-bit channels paired by colour: M[w][s] + I[w][d]. A cell whose colour
    // already equals the source's stays untouched, byte 3 included.
    template <SurfaceType D, SurfaceType S> static void BlendRate(uint8_t* d, const uint8_t* s, uint32_t w)
    {
        using DC = Cell8<D>;
        using SC = Cell8<S>;
        const uint32_t sr = s[SC::R], sg = s[1], sb = s[SC::B];
        const uint32_t dr = d[DC::R], dg = d[1], db = d[DC::B];
        if (sr == dr && sg == dg && sb == db) return;
        d[DC::R] = uint8_t(Mul(w, sr) + MulInv(w, dr));
        d[1] = uint8_t(Mul(w, sg) + MulInv(w, dg));
        d[DC::B] = uint8_t(Mul(w, sb) + MulInv(w, db));
        if constexpr (DC::WritesByte3) d[3] = DC::Byte3;
    }

    // 8-bit channels paired by colour: (M[ws][s] + M[wd][d]) mod 256, every cell.
    template <SurfaceType D, SurfaceType S>
    static void CrossFade(uint8_t* d, const uint8_t* s, uint32_t ws, uint32_t wd)
    {
        using DC = Cell8<D>;
        using SC = Cell8<S>;
        d[DC::R] = uint8_t(Mul(ws, s[SC::R]) + Mul(wd, d[DC::R]));
        d[1] = uint8_t(Mul(ws, s[1]) + Mul(wd, d[1]));
        d[DC::B] = uint8_t(Mul(ws, s[SC::B]) + Mul(wd, d[DC::B]));
        if constexpr (DC::WritesByte3) d[3] = DC::Byte3;
    }

    // The colour word of an ARGB4565/ARGB4555 cell from a 16-bit colour word,
    // on fields widened to 8 bits: M[w][s] + I[w][d]. The alpha byte stays.
    template <bool Is565> static void BlendRateWide(uint8_t* d, const uint8_t* s, uint32_t w)
    {
        const PixelChannels sc = Widen<Is565>(s), dc = Widen<Is565>(d);
        const PixelChannels out{Mul(w, sc.r) + MulInv(w, dc.r), Mul(w, sc.g) + MulInv(w, dc.g),
                                Mul(w, sc.b) + MulInv(w, dc.b), 0, 0};
        StoreWord(d, Is565 ? Word565(out) : Word555(out));
    }

    // As BlendRateWide with two weights: (M[ws][s] + M[wd][d]) mod 256 per field.
    template <bool Is565> static void CrossFadeWide(uint8_t* d, const uint8_t* s, uint32_t ws, uint32_t wd)
    {
        const PixelChannels sc = Widen<Is565>(s), dc = Widen<Is565>(d);
        const PixelChannels out{(Mul(ws, sc.r) + Mul(wd, dc.r)) & 0xFF, (Mul(ws, sc.g) + Mul(wd, dc.g)) & 0xFF,
                                (Mul(ws, sc.b) + Mul(wd, dc.b)) & 0xFF, 0, 0};
        StoreWord(d, Is565 ? Word565(out) : Word555(out));
    }

    // Two 16-bit colour words faded to their levels (0..15) and added; the
    // sum keeps its low 16 bits.
    template <bool Is565>
    static void FadeMix(uint8_t* d, const uint8_t* s, uint32_t sourceLevel, uint32_t destinationLevel)
    {
        const uint16_t* fade = Is565 ? FadeTable565 : FadeTable555;
        StoreWord(d, uint16_t(fade[sourceLevel << 16 | LoadWord(s)] + fade[destinationLevel << 16 | LoadWord(d)]));
    }

    // Alpha over between two 4-bit cells: the composite alpha goes into byte 2,
    // the colour word is the two words faded by their shares.
    template <bool Is565> static void BlendAlphaOver4(uint8_t* d, const uint8_t* s)
    {
        const AlphaOver4Step step = AlphaOver4Steps[Alpha4(s) << 4 | Alpha4(d)];
        d[2] = step.alpha;
        if (!step.blends) return;
        FadeMix<Is565>(d, s, step.sourceLevel, step.destinationLevel);
    }

    // Alpha over between two 8-bit alpha cells of one channel order; a cell
    // that blends becomes opaque.
    static void BlendAlphaOver8(uint8_t* d, const uint8_t* s)
    {
        const uint32_t as = s[3], t = Mul(d[3], 255 - as), sum = as + t;
        if (sum == 0) return;
        const uint32_t ws = 255 * as / sum, wd = 255 * t / sum;
        for (int i = 0; i < 3; ++i) d[i] = uint8_t(Mul(ws, s[i]) + Mul(wd, d[i]));
        d[3] = 255;
    }

    // The RGB888 <- ARGB8888 blend by source alpha, also the polygon blend's rule.
    static void BlendAlphaRGB888FromARGB8888(uint8_t* d, const uint8_t* s) { BlendRate<RGB888, ARGB8888>(d, s, s[3]); }

private:
    template <bool Is565> static PixelChannels Widen(const uint8_t* cell)
    {
        return Is565 ? Channels565(LoadWord(cell)) : Channels555(LoadWord(cell));
    }
};

} // namespace kivotasuGameKit::Blend
