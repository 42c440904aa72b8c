// CSurfaceInfo::SurfaceEffect: fill, fade, add or subtract a colour, invert
// and mosaic inside a rectangle of one surface.
#include <algorithm>
#include <cstring>

#include "draw/effect/BlendTables.h"
#include "draw/effect/PixelFormat.h"
#include "draw/effect/SurfaceInfo.h"
#include "draw/effect/addsub/PixelOp.h"

namespace kivotasuGameKit {

namespace {

// How an effect sees a cell: a 16-bit word of either field layout, three
// colour bytes (in the surface's own order; the packed colour has the same
// order), three colour bytes and a spare or alpha byte, or a colour word with
// a 4-bit alpha byte.
enum class Cell { Word565, Word555, Bytes24, X32, A32, Alpha4565, Alpha4555 };

template <Cell K> constexpr int CellBytes = (K == Cell::Word565 || K == Cell::Word555) ? 2 : K == Cell::Bytes24 ? 3 : 4;

template <Cell K, class Op> void ForEachCell(const CSurfaceInfo& surface, const RECT& r, Op op)
{
    uint8_t* row = surface.GetPixelBytes() + ptrdiff_t(r.top) * surface.GetPitch() + ptrdiff_t(r.left) * CellBytes<K>;
    const int32_t width = r.right - r.left;
    for (int32_t y = r.top; y < r.bottom; ++y, row += surface.GetPitch())
        for (int32_t x = 0; x < width; ++x) op(row + ptrdiff_t(x) * CellBytes<K>);
}

// Field layout (shift, width) of the 16-bit words.
struct Field {
    uint32_t shift, mask;
};
template <Cell K> constexpr Field Fields[3] = {{11, 0x1F}, {5, 0x3F}, {0, 0x1F}};
template <> constexpr Field Fields<Cell::Word555>[3] = {{10, 0x1F}, {5, 0x1F}, {0, 0x1F}};

template <Cell K, bool IsAdd> uint16_t CombineFields(uint16_t d, uint16_t s)
{
    uint32_t out = d & (K == Cell::Word555 ? 0x8000 : 0);
    for (const Field& f : Fields<K>) {
        const uint32_t a = (d >> f.shift) & f.mask, b = (s >> f.shift) & f.mask;
        out |= (IsAdd ? std::min(a + b, f.mask) : (a > b ? a - b : 0)) << f.shift;
    }
    return uint16_t(out);
}

template <bool IsAdd> uint8_t CombineByte(uint32_t d, uint32_t s)
{
    return uint8_t(IsAdd ? std::min<uint32_t>(d + s, 255) : (d > s ? d - s : 0));
}

template <Cell K> void FillCells(const CSurfaceInfo& surface, const RECT& r, const uint8_t* packed)
{
    constexpr int n = (K == Cell::Alpha4565 || K == Cell::Alpha4555) ? 3 : CellBytes<K>;
    const auto fill = [packed](uint8_t* d) { std::memcpy(d, packed, n); };
    if constexpr (n != CellBytes<K>) {
        ForEachCell<K>(surface, r, fill);
    } else {
        if (r.top >= r.bottom || r.left >= r.right) return;
        // The first row cell by cell, the others copied whole from it: a
        // screen-sized clear costs a copy per row, not a store per cell.
        ForEachCell<K>(surface, {r.left, r.top, r.right, r.top + 1}, fill);
        const ptrdiff_t pitch = surface.GetPitch();
        uint8_t* const first = surface.GetPixelBytes() + ptrdiff_t(r.top) * pitch + ptrdiff_t(r.left) * n;
        const size_t bytes = size_t(r.right - r.left) * n;
        for (int32_t y = 1; y < r.bottom - r.top; ++y) std::memcpy(first + y * pitch, first, bytes);
    }
}

template <Cell K> void FadeCells(const CSurfaceInfo& surface, const RECT& r, uint8_t level)
{
    const uint8_t* mul = MulTable + level * 256;
    if constexpr (K == Cell::Word565) {
        // Only the even levels: the mask is 0xE0.
        const uint16_t* fade = FadeTable565 + ((level & 0xE0) << 12);
        ForEachCell<K>(surface, r, [fade](uint8_t* d) { StoreWord(d, fade[LoadWord(d)]); });
    } else if constexpr (K == Cell::Word555) {
        const uint16_t* fade = FadeTable555 + ((level & 0xF0) << 12);
        ForEachCell<K>(surface, r, [fade](uint8_t* d) { StoreWord(d, fade[LoadWord(d)]); });
    } else if constexpr (K == Cell::Alpha4565 || K == Cell::Alpha4555) {
        ForEachCell<K>(surface, r, [mul](uint8_t* d) { d[2] = mul[(d[2] << 4) & 0xFF] >> 4; });
    } else if constexpr (K == Cell::A32) {
        ForEachCell<K>(surface, r, [mul](uint8_t* d) { d[3] = mul[d[3]]; });
    } else {
        ForEachCell<K>(surface, r, [mul](uint8_t* d) {
            d[0] = mul[d[0]];
            d[1] = mul[d[1]];
            d[2] = mul[d[2]];
            if constexpr (K == Cell::X32) d[3] = 0;
        });
    }
}

template <Cell K, bool IsAdd> void CombineCells(const CSurfaceInfo& surface, const RECT& r, const uint8_t* packed)
{
    if constexpr (K == Cell::Word565 || K == Cell::Word555) {
        const uint16_t s = LoadWord(packed);
        ForEachCell<K>(surface, r, [s](uint8_t* d) { StoreWord(d, CombineFields<K, IsAdd>(LoadWord(d), s)); });
    } else if constexpr (K == Cell::Alpha4565) {
        ForEachCell<K>(surface, r, [packed](uint8_t* d) {
            IsAdd ? CPixelOp::AddARGB4565(d, packed) : CPixelOp::SubARGB4565(d, packed);
        });
    } else if constexpr (K == Cell::Alpha4555) {
        ForEachCell<K>(surface, r, [packed](uint8_t* d) {
            IsAdd ? CPixelOp::AddARGB4555(d, packed) : CPixelOp::SubARGB4555(d, packed);
        });
    } else {
        const uint8_t c0 = packed[0], c1 = packed[1], c2 = packed[2];
        ForEachCell<K>(surface, r, [c0, c1, c2](uint8_t* d) {
            d[0] = CombineByte<IsAdd>(d[0], c0);
            d[1] = CombineByte<IsAdd>(d[1], c1);
            d[2] = CombineByte<IsAdd>(d[2], c2);
            if constexpr (K == Cell::A32) d[3] = 255;
        });
    }
}

template <Cell K> void InvertCells(const CSurfaceInfo& surface, const RECT& r)
{
    if constexpr (K == Cell::Word555) {
        ForEachCell<K>(surface, r, [](uint8_t* d) { StoreWord(d, LoadWord(d) ^ 0x7FFF); });
    } else if constexpr (K == Cell::Word565 || K == Cell::Alpha4565 || K == Cell::Alpha4555) {
        ForEachCell<K>(surface, r, [](uint8_t* d) { StoreWord(d, uint16_t(~LoadWord(d))); });
    } else {
        ForEachCell<K>(surface, r, [](uint8_t* d) {
            d[0] = ~d[0];
            d[1] = ~d[1];
            d[2] = ~d[2];
            if constexpr (K == Cell::A32) d[3] = 0;
        });
    }
}

// Blocks laid from the rectangle's corner, cut by its right and bottom edges.
template <Cell K> void MosaicCells(const CSurfaceInfo& surface, const RECT& r, int32_t n)
{
    constexpr int bytes = CellBytes<K>, carried = (K == Cell::Alpha4565 || K == Cell::Alpha4555) ? 3 : bytes;
    const ptrdiff_t pitch = surface.GetPitch();
    for (int64_t y = r.top; y < r.bottom; y += n) {
        const int32_t bh = int32_t(std::min<int64_t>(n, r.bottom - y));
        for (int64_t x = r.left; x < r.right; x += n) {
            const int32_t bw = int32_t(std::min<int64_t>(n, r.right - x));
            uint8_t* corner = surface.GetPixelBytes() + y * pitch + x * bytes;
            uint8_t cell[4];
            std::memcpy(cell, corner, carried);
            for (int32_t j = 0; j < bh; ++j)
                for (int32_t i = 0; i < bw; ++i) std::memcpy(corner + j * pitch + i * bytes, cell, carried);
        }
    }
}

template <Cell K>
void Apply(SurfaceEffectOp effect, const CSurfaceInfo& surface, const RECT& r, const uint8_t* packed, const void* extra)
{
    switch (effect) {
    case SurfaceEffectOp::Fill: FillCells<K>(surface, r, packed); break;
    case SurfaceEffectOp::Fade: FadeCells<K>(surface, r, uint8_t(*static_cast<const uint32_t*>(extra))); break;
    case SurfaceEffectOp::AddColor: CombineCells<K, true>(surface, r, packed); break;
    case SurfaceEffectOp::SubColor: CombineCells<K, false>(surface, r, packed); break;
    case SurfaceEffectOp::Invert: InvertCells<K>(surface, r); break;
    case SurfaceEffectOp::Mosaic: {
        const int32_t n = *static_cast<const int32_t*>(extra);
        if (n >= 1) MosaicCells<K>(surface, r, n);
        break;
    }
    }
}

} // namespace

int CSurfaceInfo::SurfaceEffect(SurfaceEffectOp effect, const RECT* rect, const void* extra)
{
    if (uint32_t(effect) > uint32_t(SurfaceEffectOp::Mosaic)) return 1;
    const bool readsExtra = effect != SurfaceEffectOp::Fill && effect != SurfaceEffectOp::Invert;
    if (readsExtra && !extra) return 1;
    CSurfaceLock lock(*this);
    if (!lock) return 1;

    RECT r;
    ClipRect(&r, rect);
    if (r.left >= r.right || r.top >= r.bottom) return 0;
    uint8_t packed[4] = {};
    if (effect == SurfaceEffectOp::Fill) PackColourCell(m_type, m_fillColor, packed);
    if (effect == SurfaceEffectOp::AddColor || effect == SurfaceEffectOp::SubColor)
        PackColourCell(m_type, *static_cast<const uint32_t*>(extra), packed);

    switch (m_type) {
    case RGB565: Apply<Cell::Word565>(effect, *this, r, packed, extra); break;
    case RGB555: Apply<Cell::Word555>(effect, *this, r, packed, extra); break;
    case RGB888: case BGR888: Apply<Cell::Bytes24>(effect, *this, r, packed, extra); break;
    case XRGB8888: case XBGR8888: Apply<Cell::X32>(effect, *this, r, packed, extra); break;
    case ARGB8888: case ABGR8888: Apply<Cell::A32>(effect, *this, r, packed, extra); break;
    case ARGB4565: Apply<Cell::Alpha4565>(effect, *this, r, packed, extra); break;
    case ARGB4555: Apply<Cell::Alpha4555>(effect, *this, r, packed, extra); break;
    default: break;
    }
    return 0;
}

} // namespace kivotasuGameKit
