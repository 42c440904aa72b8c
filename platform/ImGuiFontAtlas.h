#pragma once
// The glyphs of drawn menus and dialogs: IPA Gothic (found by fontconfig)
// rasterised by FreeType for exactly the characters their labels use, in one
// texture of the renderer, the backslash from DejaVu Sans. ImGui's own
// Japanese range lacks many kanji.

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct ImFontAtlas;
struct SDL_Renderer;
struct SDL_Texture;

namespace platform {

class ImGuiFontAtlas {
public:
    ImGuiFontAtlas();
    ~ImGuiFontAtlas();
    ImGuiFontAtlas(const ImGuiFontAtlas&) = delete;
    ImGuiFontAtlas& operator=(const ImGuiFontAtlas&) = delete;

    // The atlas holds every code point wanted, rasterised at pixelSize, in a
    // texture of the renderer; it is rebuilt only when it lacks one of them or
    // the size changes. False when no texture could be made.
    bool Prepare(SDL_Renderer* renderer, const std::set<std::uint16_t>& wanted, float pixelSize);
    // The atlas (without a texture) holds every code point wanted at pixelSize.
    void Include(const std::set<std::uint16_t>& wanted, float pixelSize);
    // The texture goes before its renderer can: the atlas keeps its pixels
    // for the next Prepare.
    void ReleaseTexture();

    ImFontAtlas* Atlas() { return m_atlas.get(); }

    // Whether the font drew the code point (a face without it gives none),
    // and the glyph's coverage, row by row.
    bool HasGlyph(std::uint16_t codepoint) const;
    std::vector<std::uint8_t> GlyphCoverage(std::uint16_t codepoint) const;
    // Where the glyph's bitmap lies in its character cell, which is the pen's
    // advance wide and the line's ascent plus descent high; empty without
    // the glyph.
    struct Placement {
        float left, top, right, bottom, cellWidth, cellHeight;
    };
    std::optional<Placement> GlyphPlacement(std::uint16_t codepoint) const;

private:

    std::unique_ptr<ImFontAtlas> m_atlas;
    std::string m_file;
    std::string m_backslashFile;
    std::set<std::uint16_t> m_have;
    std::vector<std::uint16_t> m_ranges; // read by the builder
    float m_pixelSize = 0;
    SDL_Texture* m_texture = nullptr;
};

} // namespace platform
