#include "platform/ImGuiFontAtlas.h"

#include "platform/DrawnText.h"
#include "platform/Fonts.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_freetype.h>

#include <algorithm>
#include <filesystem>

namespace platform {

namespace {

std::string MenuFontFile()
{
    std::string file = FontFileOfFamily("IPAGothic");
    if (file.empty() && std::filesystem::exists(DefaultFontFile))
        file = DefaultFontFile;
    return file;
}

} // namespace

ImGuiFontAtlas::ImGuiFontAtlas()
    : m_atlas(std::make_unique<ImFontAtlas>()), m_file(MenuFontFile()), m_backslashFile(FontFileOfFamily("DejaVu Sans"))
{
    m_atlas->FontBuilderIO = ImGuiFreeType::GetBuilderForFreeType();
}

ImGuiFontAtlas::~ImGuiFontAtlas()
{
    ReleaseTexture();
}

void ImGuiFontAtlas::ReleaseTexture()
{
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    m_texture = nullptr;
    m_atlas->SetTexID(nullptr);
}

bool ImGuiFontAtlas::Prepare(SDL_Renderer* renderer, const std::set<std::uint16_t>& wanted, float pixelSize)
{
    Include(wanted, pixelSize);
    if (m_texture)
        return true;
    unsigned char* pixels = nullptr;
    int width = 0, height = 0;
    m_atlas->GetTexDataAsRGBA32(&pixels, &width, &height);
    if (!pixels)
        return false;
    m_texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, width, height);
    if (!m_texture)
        return false;
    SDL_UpdateTexture(m_texture, nullptr, pixels, width * 4);
    SDL_SetTextureBlendMode(m_texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(m_texture, SDL_ScaleModeLinear);
    m_atlas->SetTexID(m_texture);
    return true;
}

void ImGuiFontAtlas::Include(const std::set<std::uint16_t>& wanted, float pixelSize)
{
    const bool covered = std::includes(m_have.begin(), m_have.end(), wanted.begin(), wanted.end());
    if (covered && pixelSize == m_pixelSize && m_atlas->IsBuilt())
        return;
    ReleaseTexture();
    m_have.insert(wanted.begin(), wanted.end());
    m_ranges = GlyphRanges(m_have);
    m_pixelSize = pixelSize;
    m_atlas->Clear();
    ImFontConfig config;
    config.OversampleH = 1;
    config.OversampleV = 1;
    // Antialiased, IPA Gothic's thin ASCII strokes (the underscore, the bar)
    // come out as a faint row or none at all at menu sizes; the monochrome
    // rasteriser's dropout control keeps them. The rest stays antialiased:
    // monochrome, 一 and ー are the same bar.
    // IPA Gothic draws U+005C as a yen sign, as Japanese faces do, but a path
    // or a command in a box must show the backslash a reader types: a Latin
    // face draws it, else ImGui's own. The first face to give a glyph keeps it.
    static const ImWchar ascii[] = {0x20, 0x5B, 0x5D, 0x7E, 0};
    static const ImWchar backslash[] = {0x5C, 0x5C, 0};
    ImFontConfig crisp = config;
    crisp.FontBuilderFlags = ImGuiFreeTypeBuilderFlags_Monochrome | ImGuiFreeTypeBuilderFlags_MonoHinting;
    if (m_file.empty() || !m_atlas->AddFontFromFileTTF(m_file.c_str(), pixelSize, &crisp, ascii)) {
        config.SizePixels = pixelSize;
        m_atlas->AddFontDefault(&config);
    } else {
        crisp.MergeMode = config.MergeMode = true;
        if (m_backslashFile.empty() || !m_atlas->AddFontFromFileTTF(m_backslashFile.c_str(), pixelSize, &crisp, backslash)) {
            crisp.SizePixels = pixelSize;
            crisp.GlyphRanges = backslash;
            m_atlas->AddFontDefault(&crisp);
        }
        m_atlas->AddFontFromFileTTF(m_file.c_str(), pixelSize, &config, m_ranges.data());
    }
    m_atlas->Build();
}

bool ImGuiFontAtlas::HasGlyph(std::uint16_t codepoint) const
{
    return m_atlas->IsBuilt() && !m_atlas->Fonts.empty() && m_atlas->Fonts[0]->FindGlyphNoFallback(codepoint);
}

std::optional<ImGuiFontAtlas::Placement> ImGuiFontAtlas::GlyphPlacement(std::uint16_t codepoint) const
{
    if (!HasGlyph(codepoint))
        return std::nullopt;
    const ImFont& font = *m_atlas->Fonts[0];
    const ImFontGlyph& glyph = *font.FindGlyphNoFallback(codepoint);
    return Placement{glyph.X0, glyph.Y0, glyph.X1, glyph.Y1, glyph.AdvanceX, font.Ascent - font.Descent};
}

std::vector<std::uint8_t> ImGuiFontAtlas::GlyphCoverage(std::uint16_t codepoint) const
{
    if (!HasGlyph(codepoint))
        return {};
    const ImFontGlyph* glyph = m_atlas->Fonts[0]->FindGlyphNoFallback(codepoint);
    unsigned char* pixels = nullptr;
    int width = 0, height = 0;
    m_atlas->GetTexDataAsAlpha8(&pixels, &width, &height);
    std::vector<std::uint8_t> coverage;
    const int left = static_cast<int>(glyph->U0 * width), right = static_cast<int>(glyph->U1 * width);
    const int top = static_cast<int>(glyph->V0 * height), bottom = static_cast<int>(glyph->V1 * height);
    for (int y = top; y < bottom; ++y)
        coverage.insert(coverage.end(), pixels + y * width + left, pixels + y * width + right);
    return coverage;
}

} // namespace platform
