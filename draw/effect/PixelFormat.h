#pragma once

#include <cstdint>
#include <cstring>

#include "draw/effect/SurfaceType.h"

namespace kivotasuGameKit {

// One pixel taken apart: 8-bit channels (5- and 6-bit fields widened by a
// shift only) and its alpha in both widths, 255/15 for formats without alpha.
struct PixelChannels {
    uint32_t r, g, b;
    uint32_t a8, a4;
};

inline uint16_t LoadWord(const uint8_t* p) { uint16_t v; std::memcpy(&v, p, 2); return v; }
inline void StoreWord(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }
inline uint32_t LoadCell(const uint8_t* p) { uint32_t v; std::memcpy(&v, p, 4); return v; }
inline void StoreCell(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
inline uint32_t Load24(const uint8_t* p) { return p[0] | (p[1] << 8) | (uint32_t(p[2]) << 16); }

inline PixelChannels Channels565(uint32_t w) { return {(w >> 11) << 3, ((w >> 5) & 0x3F) << 2, (w & 0x1F) << 3, 255, 15}; }
inline PixelChannels Channels555(uint32_t w) { return {((w >> 10) & 0x1F) << 3, ((w >> 5) & 0x1F) << 3, (w & 0x1F) << 3, 255, 15}; }
inline uint16_t Word565(const PixelChannels& c) { return uint16_t(((c.r & 0xF8) << 8) | ((c.g & 0xFC) << 3) | (c.b >> 3)); }
inline uint16_t Word555(const PixelChannels& c) { return uint16_t(((c.r & 0xF8) << 7) | ((c.g & 0xF8) << 2) | (c.b >> 3)); }

// Per-format traits used by the blit routines and the converter.
// Bytes: cell size. RawBytes: the bytes a same-format copy carries.
// Read/Write: conversion through channels. KeyBits: bits of a stored pixel
// that a colour-key test compares.
template <SurfaceType T> struct PixelFormat;

template <> struct PixelFormat<RGB565> {
    static constexpr int Bytes = 2, RawBytes = 2;
    static constexpr uint32_t KeyBits = 0xFFFF;
    static PixelChannels Read(const uint8_t* p) { return Channels565(LoadWord(p)); }
    static void Write(uint8_t* p, const PixelChannels& c) { StoreWord(p, Word565(c)); }
};

template <> struct PixelFormat<RGB555> {
    static constexpr int Bytes = 2, RawBytes = 2;
    static constexpr uint32_t KeyBits = 0xFFFF;
    static PixelChannels Read(const uint8_t* p) { return Channels555(LoadWord(p)); }
    static void Write(uint8_t* p, const PixelChannels& c) { StoreWord(p, Word555(c)); }
};

template <int R, int B> struct PixelFormat24 {
    static constexpr int Bytes = 3, RawBytes = 3;
    static constexpr uint32_t KeyBits = 0xFFFFFF;
    static PixelChannels Read(const uint8_t* p) { return {p[R], p[1], p[B], 255, 15}; }
    static void Write(uint8_t* p, const PixelChannels& c)
    {
        p[R] = uint8_t(c.r);
        p[1] = uint8_t(c.g);
        p[B] = uint8_t(c.b);
    }
};
template <> struct PixelFormat<RGB888> : PixelFormat24<2, 0> {};
template <> struct PixelFormat<BGR888> : PixelFormat24<0, 2> {};

// 32-bit cells; Alpha says whether byte 3 is an alpha (else written as 0).
template <int R, int B, bool Alpha> struct PixelFormat32 {
    static constexpr int Bytes = 4, RawBytes = 4;
    static constexpr uint32_t KeyBits = Alpha ? 0xFFFFFF : 0xFFFFFFFF;
    static PixelChannels Read(const uint8_t* p)
    {
        const uint32_t a = Alpha ? p[3] : 255;
        return {p[R], p[1], p[B], a, a >> 4};
    }
    static void Write(uint8_t* p, const PixelChannels& c)
    {
        const uint32_t a = Alpha ? c.a8 : 0;
        StoreCell(p, (c.r << (8 * R)) | (c.g << 8) | (c.b << (8 * B)) | (a << 24));
    }
};
template <> struct PixelFormat<XRGB8888> : PixelFormat32<2, 0, false> {};
template <> struct PixelFormat<XBGR8888> : PixelFormat32<0, 2, false> {};
template <> struct PixelFormat<ARGB8888> : PixelFormat32<2, 0, true> {};
template <> struct PixelFormat<ABGR8888> : PixelFormat32<0, 2, true> {};

// A 16-bit colour word, a 4-bit alpha byte, and a byte that is never written.
template <bool Is565> struct PixelFormat4x16 {
    static constexpr int Bytes = 4, RawBytes = 3;
    static constexpr uint32_t KeyBits = 0xFFFF;
    static PixelChannels Read(const uint8_t* p)
    {
        PixelChannels c = Is565 ? Channels565(LoadWord(p)) : Channels555(LoadWord(p));
        c.a8 = (p[2] << 4) & 0xFF;
        c.a4 = p[2] & 0x0F;
        return c;
    }
    static void Write(uint8_t* p, const PixelChannels& c)
    {
        StoreWord(p, Is565 ? Word565(c) : Word555(c));
        p[2] = uint8_t(c.a4);
    }
};
template <> struct PixelFormat<ARGB4565> : PixelFormat4x16<true> {};
template <> struct PixelFormat<ARGB4555> : PixelFormat4x16<false> {};

// A stored pixel as a number, for key tests (unused high bytes are zero).
template <SurfaceType T> inline uint32_t LoadPixel(const uint8_t* p)
{
    if constexpr (PixelFormat<T>::Bytes == 2) return LoadWord(p);
    else if constexpr (PixelFormat<T>::Bytes == 3) return Load24(p);
    else return LoadCell(p);
}

template <SurfaceType T> inline constexpr bool Is32 = T == XRGB8888 || T == XBGR8888 || T == ARGB8888 || T == ABGR8888;
template <SurfaceType T> inline constexpr bool RedFirst = T == BGR888 || T == XBGR8888 || T == ABGR8888;

// Converts one pixel; a same-format pair carries the stored bits. Between
// 32-bit formats the conversion works on the whole word (the same result as
// through channels, in a form the compiler vectorises).
template <SurfaceType Dst, SurfaceType Src> inline void ConvertPixel(uint8_t* d, const uint8_t* s)
{
    if constexpr (Dst == Src) {
        std::memcpy(d, s, PixelFormat<Dst>::RawBytes);
    } else if constexpr (Is32<Dst> && Is32<Src>) {
        uint32_t v = LoadCell(s);
        if constexpr (RedFirst<Dst> != RedFirst<Src>) v = (v & 0xFF00FF00) | ((v >> 16) & 0xFF) | ((v & 0xFF) << 16);
        if constexpr (!HasAlpha(Dst)) v &= 0x00FFFFFF;
        else if constexpr (!HasAlpha(Src)) v |= 0xFF000000;
        StoreCell(d, v);
    } else {
        PixelFormat<Dst>::Write(d, PixelFormat<Src>::Read(s));
    }
}

// Runs f.template operator()<T>() for the format a type code names; false
// (f not run) for Pal8 and codes without a format.
template <class F> bool WithPixelFormat(int32_t type, F&& f)
{
    switch (type) {
    case RGB565: f.template operator()<RGB565>(); return true;
    case RGB555: f.template operator()<RGB555>(); return true;
    case RGB888: f.template operator()<RGB888>(); return true;
    case BGR888: f.template operator()<BGR888>(); return true;
    case XRGB8888: f.template operator()<XRGB8888>(); return true;
    case XBGR8888: f.template operator()<XBGR8888>(); return true;
    case ARGB4565: f.template operator()<ARGB4565>(); return true;
    case ARGB4555: f.template operator()<ARGB4555>(); return true;
    case ARGB8888: f.template operator()<ARGB8888>(); return true;
    case ABGR8888: f.template operator()<ABGR8888>(); return true;
    default: return false;
    }
}

// A colour in value form (0xAARRGGBB) packed into a cell of the given type,
// as fills and colour keys store it: 16-bit words, the 4-bit alpha in byte 2
// of ARGB4565/ARGB4555 (byte 3 0), byte 3 = 0 for the X types and the alpha
// for ARGB8888/ABGR8888. Returns the cell size, 0 for types without one.
inline int PackColourCell(int32_t type, uint32_t colour, uint8_t cell[4])
{
    const uint8_t b = colour & 0xFF, g = (colour >> 8) & 0xFF, r = (colour >> 16) & 0xFF, a = colour >> 24;
    const PixelChannels c{r, g, b, a, uint32_t(a >> 4)};
    cell[3] = 0;
    int bytes = 0;
    WithPixelFormat(type, [&]<SurfaceType T>() {
        PixelFormat<T>::Write(cell, c);
        bytes = PixelFormat<T>::Bytes;
    });
    return bytes;
}

} // namespace kivotasuGameKit
