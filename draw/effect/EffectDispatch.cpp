// CSurfaceInfo::EffectBlt: refuse, lock, pick the routine by operation and
// pair, pack the key and rates, unlock.
#include <cstring>

#include "draw/effect/AlphaFamily.h"
#include "draw/effect/CpuFeatures.h"
#include "draw/effect/EffectBlitter.h"
#include "draw/effect/PixelFormat.h"
#include "draw/effect/RoutineGrid.h"
#include "draw/effect/SurfaceInfo.h"
#include "draw/effect/addsub/AddSubFamily.h"

namespace kivotasuGameKit {

namespace {

// By operation code; null for the refused codes 11 to 13.
constinit const RoutineGrid* const OperationGrids[EffectBltOpCount] = {
    &CopyGrid,       &KeyCopyGrid,    &AddSubGrids[0], &AddSubGrids[1], &AddSubGrids[2], &AddSubGrids[3],
    &AddSubGrids[4], &AddSubGrids[5], &AddSubGrids[6], &AddSubGrids[7], &AlphaGrids[0],  nullptr,
    nullptr,         nullptr,         &AlphaGrids[1],  &AlphaGrids[2],  &AlphaGrids[3],  &AlphaGrids[4],
};

constexpr bool IsKeyed(uint32_t op) { return op == 1 || op == 4 || op == 5 || op == 8 || op == 9 || op == 15 || op == 17; }
constexpr bool ReadsRates(uint32_t op) { return (op >= 6 && op <= 9) || op >= 14; }

// The source's colour key in the source's own format; returns its size. An
// ARGB8888/ABGR8888 key is opaque onto its own type and keeps its alpha onto
// a plain one.
int BuildKeyCell(SurfaceType srcType, SurfaceType dstType, uint32_t key, uint8_t* cell)
{
    const int size = PackColourCell(srcType, key, cell);
    if ((srcType == ARGB8888 || srcType == ABGR8888) && dstType == srcType) cell[3] = 255;
    return size;
}

EffectRoutine FindRoutine(uint32_t op, SurfaceType dst, SurfaceType src)
{
    if (op == uint32_t(EffectBltOp::BlendRate) && dst == XRGB8888 && src == XRGB8888) {
        CCpuFeatures::CreateInstance();
        if (CpuFeaturesInstance && (CpuFeaturesInstance->GetFlags() & CCpuFeatures::Mmx) && BlendRateXRGB8888Mmx)
            return BlendRateXRGB8888Mmx;
    }
    return OperationGrids[op]->cell[dst][src];
}

// The result when no routine serves the pair.
int UnservedResult(uint32_t op, SurfaceType dst, SurfaceType src)
{
    if (op == uint32_t(EffectBltOp::Copy)) return (!IsSurfaceType(src) || src == Pal8) ? 0 : 2;
    if (op == uint32_t(EffectBltOp::BlendAlpha)) return 2;
    return dst == src ? 0 : 2;
}

} // namespace

BltKeyRate CEffectBlitter::PackKeyRate(uint32_t op, const CSurfaceInfo& source, SurfaceType dstType,
                                       const BltRates* rates)
{
    BltKeyRate packed{};
    uint8_t cell[4] = {};
    const int cellSize = IsKeyed(op) ? BuildKeyCell(source.GetType(), dstType, source.GetColorKey(), cell) : 0;
    const uint8_t a = rates ? uint8_t(rates->rate) : 0, b = rates ? uint8_t(rates->rateB) : 0;
    switch (op) {
    case 1: case 4: case 5:
        std::memcpy(packed.bytes, cell, cellSize);
        break;
    case 6: case 7: case 14:
        packed.bytes[0] = a;
        break;
    case 16:
        packed.bytes[0] = a;
        packed.bytes[1] = b;
        break;
    case 8: case 9: {
        // A 16-bit colour key sits on a 16-bit boundary after the rate.
        const SurfaceType t = source.GetType();
        const int at = (t == RGB565 || t == RGB555 || t == ARGB4565 || t == ARGB4555) ? 2 : 1;
        packed.bytes[0] = a;
        std::memcpy(packed.bytes + at, cell, cellSize);
        break;
    }
    case 15:
        std::memcpy(packed.bytes, cell, cellSize);
        packed.bytes[cellSize] = a;
        break;
    case 17:
        std::memcpy(packed.bytes, cell, cellSize);
        packed.bytes[cellSize] = a;
        packed.bytes[cellSize + 1] = b;
        break;
    default:
        break;
    }
    return packed;
}

int CSurfaceInfo::EffectBlt(EffectBltOp op, CSurfaceInfo* source, const BltParams* request, const BltRates* extra)
{
    const uint32_t code = uint32_t(op);
    if (code >= EffectBltOpCount || !OperationGrids[code]) return 1;
    if (!source || !request || (ReadsRates(code) && !extra)) return 1;

    CSurfaceLock destinationLock(*this);
    if (!destinationLock) return 1;
    CSurfaceLock sourceLock(*source);
    if (!sourceLock) return 1;

    const SurfaceType dst = m_type, src = source->m_type;
    if (!EffectBltServes(code, dst, src)) return UnservedResult(code, dst, src);
    if (const EffectRoutine routine = FindRoutine(code, dst, src))
        routine(source, this, CEffectBlitter::PackKeyRate(code, *source, dst, extra), request);
    return 0;
}

} // namespace kivotasuGameKit
