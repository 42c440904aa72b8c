#pragma once
// Fonts of the story text: the Japanese faces installed, and one face drawing
// single characters into 32-bit pixel cells. Names arrive and leave in Shift-JIS.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Pixels laid out as ARGB8888 cells (bytes blue, green, red, alpha).
struct GlyphCanvas {
    std::uint8_t* pixels;
    std::int32_t pitch;
    std::int32_t width;
    std::int32_t height;
};

// Cells [left, right) x [top, bottom) of a canvas; empty when left >= right.
struct GlyphBounds {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class IFontFace {
public:
    virtual ~IFontFace() = default;

    // Draws one Shift-JIS character (one or two bytes) with the top of its
    // character cell at y and the baseline at y + ascent. Every pixel the
    // glyph covers becomes colour (0x00RRGGBB) with the coverage as alpha:
    // 1..255 antialiased, 255 otherwise; uncovered pixels are left alone.
    // Returns the cells of the canvas that may have changed.
    virtual GlyphBounds DrawChar(std::string_view sjis, const GlyphCanvas& canvas, int x, int y, std::uint32_t colour,
                                 bool antialias) = 0;

    // True when the face asked for was not found and the default face stands in.
    virtual bool IsFallback() const = 0;
};

class IFontService {
public:
    virtual ~IFontService() = default;

    // The families that cover Japanese, each once, by its Japanese name where
    // it has one, in a stable order: the default face's family first.
    virtual std::vector<std::string> ListJapaneseFamilies() = 0;

    // A face whose character cell is cellHeight pixels high (ascent plus
    // descent). An empty name asks for the default face; an unknown one gets
    // the default face marked as a fallback. Null only when no face at all
    // can be loaded.
    virtual std::unique_ptr<IFontFace> OpenFace(std::string_view familySjis, int cellHeight) = 0;
};

// The process's fonts: fontconfig's unless a test installs others.
IFontService& Fonts();
void InstallFonts(std::unique_ptr<IFontService> service);

// The default face, used when no other is found.
inline constexpr const char* DefaultFontFile = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

// The file fontconfig gives for a family (UTF-8 name); empty when it offers
// only a substitute of another family.
std::string FontFileOfFamily(std::string_view familyUtf8);

// fontconfig's families; faces rendered by FreeType.
class FontconfigFonts final : public IFontService {
public:
    std::vector<std::string> ListJapaneseFamilies() override;
    std::unique_ptr<IFontFace> OpenFace(std::string_view familySjis, int cellHeight) override;
};

// One font file for every face, and a fixed family list: rendering does not
// depend on what the machine has installed.
class PinnedFonts final : public IFontService {
public:
    explicit PinnedFonts(std::vector<std::string> familiesSjis = {}, std::string file = DefaultFontFile);

    std::vector<std::string> ListJapaneseFamilies() override { return m_families; }
    std::unique_ptr<IFontFace> OpenFace(std::string_view familySjis, int cellHeight) override;

private:
    std::vector<std::string> m_families;
    std::string m_file;
};

} // namespace platform
