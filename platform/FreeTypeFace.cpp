#include "platform/FreeTypeFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/TextCodec.h"

namespace platform {
namespace {

// FreeType's library object is not thread-safe for face creation; faces are
// then used by one thread each.
std::mutex g_libraryLock;

FT_Library Library()
{
    static FT_Library library = [] {
        FT_Library made = nullptr;
        if (FT_Init_FreeType(&made) != 0) made = nullptr;
        return made;
    }();
    return library;
}

// One rendered glyph: coverage rows and where they stand against the pen.
struct Glyph {
    int left = 0;
    int top = 0; // rows above the baseline
    int width = 0;
    int rows = 0;
    std::vector<std::uint8_t> coverage;
};

// Each covered cell of a row becomes rgb with the coverage as alpha; the
// others keep their bytes.
void PutCoverage(std::uint8_t* cells, const std::uint8_t* cover, int count, std::uint32_t rgb)
{
    int col = 0;
#if defined(__SSE2__)
    const __m128i colour = _mm_set1_epi32(int(rgb)), zero = _mm_setzero_si128();
    for (; col + 4 <= count; col += 4) {
        std::int32_t four;
        std::memcpy(&four, cover + col, 4);
        if (!four) continue;
        const __m128i alpha = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero), zero);
        const __m128i keep = _mm_cmpeq_epi32(alpha, zero);
        auto* at = reinterpret_cast<__m128i*>(cells + col * 4);
        const __m128i made = _mm_or_si128(colour, _mm_slli_epi32(alpha, 24));
        _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(keep, _mm_loadu_si128(at)), _mm_andnot_si128(keep, made)));
    }
#endif
    for (; col < count; ++col) {
        if (!cover[col]) continue;
        const std::uint32_t cell = rgb | std::uint32_t(cover[col]) << 24;
        std::memcpy(cells + col * 4, &cell, 4);
    }
}

class FreeTypeFace final : public IFontFace {
public:
    FreeTypeFace(FT_Face face, bool fallback) : m_face(face), m_fallback(fallback) {}
    ~FreeTypeFace() override
    {
        std::lock_guard guard(g_libraryLock);
        FT_Done_Face(m_face);
    }

    bool Scale(int cellHeight)
    {
        // A height asked for as a cell is ascent plus descent, which TrueType
        // fonts give as the Windows metrics of their OS/2 table.
        int ascent = m_face->ascender, descent = -m_face->descender;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(m_face, FT_SFNT_OS2)); os2 && os2->usWinAscent) {
            ascent = os2->usWinAscent;
            descent = os2->usWinDescent;
        }
        if (ascent + descent <= 0 || cellHeight <= 0) return false;
        const FT_F26Dot6 emHeight = FT_F26Dot6(std::int64_t(cellHeight) * m_face->units_per_EM * 64 / (ascent + descent));
        if (FT_Set_Char_Size(m_face, 0, std::max<FT_F26Dot6>(emHeight, 64), 72, 72) != 0) return false;
        m_ascent = int((std::int64_t(ascent) * cellHeight + (ascent + descent) / 2) / (ascent + descent));
        return true;
    }

    GlyphBounds DrawChar(std::string_view sjis, const GlyphCanvas& canvas, int x, int y, std::uint32_t colour,
                         bool antialias) override
    {
        const Glyph* glyph = Find(sjis, antialias);
        if (!glyph) return {};
        // In 64 bits: a place near the ends of the int range stays off the canvas.
        const std::int64_t top = std::int64_t(y) + m_ascent - glyph->top, left = std::int64_t(x) + glyph->left;
        const GlyphBounds bounds{int(std::max<std::int64_t>(left, 0)), int(std::max<std::int64_t>(top, 0)),
                                 int(std::min<std::int64_t>(left + glyph->width, canvas.width)),
                                 int(std::min<std::int64_t>(top + glyph->rows, canvas.height))};
        if (bounds.left >= bounds.right || bounds.top >= bounds.bottom) return {};
        for (int row = bounds.top; row < bounds.bottom; ++row)
            PutCoverage(canvas.pixels + std::int64_t(row) * canvas.pitch + std::int64_t(bounds.left) * 4,
                        glyph->coverage.data() + (row - top) * glyph->width + (bounds.left - left),
                        bounds.right - bounds.left, colour & 0xFFFFFF);
        return bounds;
    }

    bool IsFallback() const override { return m_fallback; }

private:
    const Glyph* Find(std::string_view sjis, bool antialias)
    {
        if (sjis.empty()) return nullptr;
        std::uint32_t key = std::uint8_t(sjis[0]);
        if (sjis.size() > 1) key = key << 8 | std::uint8_t(sjis[1]);
        key |= antialias ? 0x10000u : 0;
        auto found = m_glyphs.find(key);
        if (found == m_glyphs.end()) found = m_glyphs.emplace(key, Render(sjis.substr(0, sjis.size() > 1 ? 2 : 1), antialias)).first;
        return &found->second;
    }

    Glyph Render(std::string_view sjis, bool antialias)
    {
        Glyph glyph;
        const std::string utf8 = Cp932ToUtf8(sjis);
        const char32_t code = DecodeFirst(utf8);
        const FT_UInt index = FT_Get_Char_Index(m_face, code);
        const FT_Int32 load = FT_LOAD_RENDER | (antialias ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
        if (!index || FT_Load_Glyph(m_face, index, load) != 0) return glyph;
        if (!antialias && m_face->glyph->bitmap.pixel_mode != FT_PIXEL_MODE_MONO &&
            FT_Render_Glyph(m_face->glyph, FT_RENDER_MODE_MONO) != 0)
            return glyph;
        const FT_Bitmap& bitmap = m_face->glyph->bitmap;
        glyph.left = m_face->glyph->bitmap_left;
        glyph.top = m_face->glyph->bitmap_top;
        glyph.width = int(bitmap.width);
        glyph.rows = int(bitmap.rows);
        glyph.coverage.resize(std::size_t(glyph.width) * glyph.rows);
        for (int row = 0; row < glyph.rows; ++row) {
            const unsigned char* source = bitmap.buffer + std::int64_t(row) * bitmap.pitch;
            std::uint8_t* out = glyph.coverage.data() + std::size_t(row) * glyph.width;
            for (int col = 0; col < glyph.width; ++col) {
                if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                    out[col] = (source[col >> 3] & (0x80 >> (col & 7))) ? 255 : 0;
                else
                    out[col] = source[col];
            }
        }
        return glyph;
    }

    static char32_t DecodeFirst(const std::string& utf8)
    {
        const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
        const std::size_t n = utf8.size();
        if (n == 0) return 0;
        if (s[0] < 0x80) return s[0];
        if ((s[0] & 0xE0) == 0xC0 && n >= 2) return char32_t(s[0] & 0x1F) << 6 | (s[1] & 0x3F);
        if ((s[0] & 0xF0) == 0xE0 && n >= 3) return char32_t(s[0] & 0x0F) << 12 | char32_t(s[1] & 0x3F) << 6 | (s[2] & 0x3F);
        if ((s[0] & 0xF8) == 0xF0 && n >= 4)
            return char32_t(s[0] & 0x07) << 18 | char32_t(s[1] & 0x3F) << 12 | char32_t(s[2] & 0x3F) << 6 | (s[3] & 0x3F);
        return 0;
    }

    FT_Face m_face;
    bool m_fallback;
    int m_ascent = 0;
    std::unordered_map<std::uint32_t, Glyph> m_glyphs;
};

} // namespace

std::unique_ptr<IFontFace> OpenFreeTypeFace(const std::string& file, int cellHeight, bool fallback)
{
    FT_Face face = nullptr;
    {
        std::lock_guard guard(g_libraryLock);
        FT_Library library = Library();
        if (!library || FT_New_Face(library, file.c_str(), 0, &face) != 0) return nullptr;
    }
    auto made = std::make_unique<FreeTypeFace>(face, fallback);
    if (!made->Scale(cellHeight)) return nullptr;
    return made;
}

} // namespace platform
