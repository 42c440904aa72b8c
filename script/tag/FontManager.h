#pragma once
// The font of the message text: draws one character at a time onto a plane,
// with an optional shadow. Its entries are SYMBOL pictures drawn in place of
// the character they are named by.

#include <cstdint>
#include <memory>
#include <string_view>

#include "draw/FastPlane.h"
#include "script/tag/ElementManager.h"

namespace platform { class IFontFace; }

namespace TAG {

class CFontManager : public CElementManager {
public:
    CFontManager();
    ~CFontManager() override;

    // Drops the SYMBOL entries and restores SIZE, COLOR and SHADOW; the font
    // stays until the next text settings tag.
    void Reset() override;
    // The text settings tag: SHADOW, SIZE and COLOR.
    void SetElement(CTagAttributes& record) override { Parse(record); }
    void Parse(CTagAttributes& record);
    void SetSymbol(CTagAttributes& record);

    // character: one Shift-JIS character; (x, y) the top-left of its cell.
    void DrawChar(std::string_view character, int x, int y, Plane& target);
    // Completes the text settings line with SHADOW, SIZE and COLOR, then the SYMBOL entries.
    void Write(kivotasuGameKit::CTextFileWriter& writer);
    // SHADOW, SIZE and COLOR as attributes.
    void AppendLook(kivotasuGameKit::CTextString& line) const;

    // Makes the face of the font list's current entry anew.
    void CreateFont();

    std::int32_t GetSize() const { return m_size; }
    std::uint32_t GetColor() const { return m_color; }
    void SetColor(std::uint32_t colour) { m_color = colour; }
    std::int32_t GetShadow() const { return m_shadow; }
    std::uint8_t GetAntialias() const { return m_antialias; }
    void SetAntialias(std::uint8_t antialias) { m_antialias = antialias; }

private:
    // Each render follows a clear of the glyph plane.
    void Render(std::string_view character, std::uint32_t colour);
    void ClearGlyphPlane();

    std::unique_ptr<platform::IFontFace> m_font;
    // Cleared to alpha 0 and blended by the glyph's coverage onto the target,
    // so no text colour or shadow pixel can ever count as transparent.
    Plane m_glyphPlane;
    // The only cells of the glyph plane that may not be 0: those of the one
    // glyph rendered since it was last cleared.
    kivotasuGameKit::RECT m_glyphDrawn{};
    std::int32_t m_size = 24;
    std::uint32_t m_color = 0xFFFFFF;
    std::int32_t m_shadow = 0;
    std::uint8_t m_antialias = 0;
    kivotasuGameKit::CTextString m_reportedMissing;
};

} // namespace TAG
