#pragma once

// Reference model of the pixel formats, written from the format rules as plain
// scalar code. Shares nothing with the blit routines: tests compare the two.

#include <cstdint>
#include <string>
#include <vector>

namespace pixelkit {

enum RefType : int32_t {
    kPal8 = 2, kRGB565 = 3, kRGB555 = 4, kRGB888 = 5, kBGR888 = 6, kXRGB8888 = 7, kXBGR8888 = 8,
    kARGB4565 = 10, kARGB4555 = 11, kARGB8888 = 12, kABGR8888 = 13,
};

// Every format code, and every code 0..13 plus an invalid one.
inline const std::vector<int32_t>& AllFormats()
{
    static const std::vector<int32_t> all{kPal8, kRGB565, kRGB555, kRGB888, kBGR888, kXRGB8888,
                                          kXBGR8888, kARGB4565, kARGB4555, kARGB8888, kABGR8888};
    return all;
}
inline const std::vector<int32_t>& AllFormatsButPal8()
{
    static const std::vector<int32_t> all(AllFormats().begin() + 1, AllFormats().end());
    return all;
}
inline const std::vector<int32_t>& AllTypeCodes()
{
    static const std::vector<int32_t> all{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 77};
    return all;
}

inline std::string TypeName(int32_t t)
{
    switch (t) {
    case kPal8: return "Pal8";
    case kRGB565: return "RGB565";
    case kRGB555: return "RGB555";
    case kRGB888: return "RGB888";
    case kBGR888: return "BGR888";
    case kXRGB8888: return "XRGB8888";
    case kXBGR8888: return "XBGR8888";
    case kARGB4565: return "ARGB4565";
    case kARGB4555: return "ARGB4555";
    case kARGB8888: return "ARGB8888";
    case kABGR8888: return "ABGR8888";
    default: return "code" + std::to_string(t);
    }
}

inline int RefBytes(int32_t t)
{
    if (t == kPal8) return 1;
    if (t == kRGB565 || t == kRGB555) return 2;
    if (t == kRGB888 || t == kBGR888) return 3;
    if (t >= kXRGB8888 && t <= kABGR8888 && t != 9) return 4;
    return 0;
}

inline bool RefHasAlpha(int32_t t) { return t >= kARGB4565 && t <= kABGR8888; }

inline bool Is565Type(int32_t t) { return t == kRGB565 || t == kARGB4565; }
inline bool IsWord16(int32_t t) { return t == kRGB565 || t == kRGB555; }
inline bool IsAlpha4(int32_t t) { return t == kARGB4565 || t == kARGB4555; }
inline bool IsAlpha8(int32_t t) { return t == kARGB8888 || t == kABGR8888; }
inline int Alpha4Of(const uint8_t* c) { return c[2] % 16; }

// The byte that holds red in a cell of 8-bit channels (blue is at 2 - RedAt).
inline int RedAt(int32_t t) { return (t == kRGB888 || t == kXRGB8888 || t == kARGB8888) ? 2 : 0; }

// One pixel: 8-bit channels, and the alpha as the format stores it.
struct RefPixel {
    enum Alpha { None, Four, Eight } kind = None;
    int r = 0, g = 0, b = 0;
    int alpha = 0; // 0..15 for Four, 0..255 for Eight
};

inline int Word(const uint8_t* c) { return c[0] | (c[1] << 8); }
inline void SetWord(uint8_t* c, int w)
{
    c[0] = uint8_t(w & 0xFF);
    c[1] = uint8_t((w >> 8) & 0xFF);
}

inline void Split565(int w, RefPixel& p)
{
    p.r = ((w >> 11) & 31) * 8;
    p.g = ((w >> 5) & 63) * 4;
    p.b = (w & 31) * 8;
}
inline void Split555(int w, RefPixel& p)
{
    p.r = ((w >> 10) & 31) * 8;
    p.g = ((w >> 5) & 31) * 8;
    p.b = (w & 31) * 8;
}
inline int Join565(const RefPixel& p) { return (p.r / 8) * 2048 + (p.g / 4) * 32 + p.b / 8; }
inline int Join555(const RefPixel& p) { return (p.r / 8) * 1024 + (p.g / 8) * 32 + p.b / 8; }

inline RefPixel RefRead(int32_t t, const uint8_t* c)
{
    RefPixel p;
    switch (t) {
    case kRGB565: Split565(Word(c), p); break;
    case kRGB555: Split555(Word(c), p); break;
    case kRGB888: case kXRGB8888: p.b = c[0]; p.g = c[1]; p.r = c[2]; break;
    case kBGR888: case kXBGR8888: p.r = c[0]; p.g = c[1]; p.b = c[2]; break;
    case kARGB4565: Split565(Word(c), p); p.kind = RefPixel::Four; p.alpha = c[2] % 16; break;
    case kARGB4555: Split555(Word(c), p); p.kind = RefPixel::Four; p.alpha = c[2] % 16; break;
    case kARGB8888: p.b = c[0]; p.g = c[1]; p.r = c[2]; p.kind = RefPixel::Eight; p.alpha = c[3]; break;
    case kABGR8888: p.r = c[0]; p.g = c[1]; p.b = c[2]; p.kind = RefPixel::Eight; p.alpha = c[3]; break;
    default: break;
    }
    return p;
}

// Alpha onto an 8-bit or a 4-bit alpha cell.
inline int Alpha8(const RefPixel& p)
{
    return p.kind == RefPixel::None ? 255 : p.kind == RefPixel::Four ? p.alpha * 16 : p.alpha;
}
inline int Alpha4(const RefPixel& p)
{
    return p.kind == RefPixel::None ? 15 : p.kind == RefPixel::Four ? p.alpha : p.alpha / 16;
}

// Writes a converted pixel: byte 3 of ARGB4565/ARGB4555 is never written, the
// X types get 0 there.
inline void RefWrite(int32_t t, uint8_t* c, const RefPixel& p)
{
    switch (t) {
    case kRGB565: SetWord(c, Join565(p)); break;
    case kRGB555: SetWord(c, Join555(p)); break;
    case kRGB888: c[0] = p.b; c[1] = p.g; c[2] = p.r; break;
    case kBGR888: c[0] = p.r; c[1] = p.g; c[2] = p.b; break;
    case kXRGB8888: c[0] = p.b; c[1] = p.g; c[2] = p.r; c[3] = 0; break;
    case kXBGR8888: c[0] = p.r; c[1] = p.g; c[2] = p.b; c[3] = 0; break;
    case kARGB4565: SetWord(c, Join565(p)); c[2] = uint8_t(Alpha4(p)); break;
    case kARGB4555: SetWord(c, Join555(p)); c[2] = uint8_t(Alpha4(p)); break;
    case kARGB8888: c[0] = p.b; c[1] = p.g; c[2] = p.r; c[3] = uint8_t(Alpha8(p)); break;
    case kABGR8888: c[0] = p.r; c[1] = p.g; c[2] = p.b; c[3] = uint8_t(Alpha8(p)); break;
    default: break;
    }
}

// The value form 0xAARRGGBB (alpha 0 for types without alpha).
inline uint32_t RefValue(int32_t t, const uint8_t* c)
{
    if (t == kPal8) return 0;
    const RefPixel p = RefRead(t, c);
    const uint32_t a = p.kind == RefPixel::None ? 0 : uint32_t(Alpha8(p) & 0xFF);
    return (a << 24) | (uint32_t(p.r) << 16) | (uint32_t(p.g) << 8) | uint32_t(p.b);
}

} // namespace pixelkit
