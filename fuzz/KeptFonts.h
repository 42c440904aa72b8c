// The harness's pinned fonts with each face opened once for the process:
// reading the font file and rendering the same glyphs again for every input
// cost as much as a short run itself. A face draws a glyph alike whoever
// asked for it first, so an input plays as it would alone.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Fonts.h"

namespace fuzzkit {

class KeptFonts final : public platform::IFontService {
public:
    std::vector<std::string> ListJapaneseFamilies() override { return Pinned().ListJapaneseFamilies(); }

    std::unique_ptr<platform::IFontFace> OpenFace(std::string_view familySjis, int cellHeight) override
    {
        auto& faces = Faces();
        auto key = std::make_pair(std::string(familySjis), cellHeight);
        auto found = faces.find(key);
        if (found == faces.end()) {
            // Names and heights come from the input: past a few, faces are
            // opened as before instead of piling up.
            if (faces.size() >= MaxKept) return Pinned().OpenFace(familySjis, cellHeight);
            found = faces.emplace(std::move(key), Pinned().OpenFace(familySjis, cellHeight)).first;
        }
        if (!found->second) return nullptr;
        return std::make_unique<Borrowed>(*found->second);
    }

private:
    class Borrowed final : public platform::IFontFace {
    public:
        explicit Borrowed(platform::IFontFace& face) : m_face(face) {}
        platform::GlyphBounds DrawChar(std::string_view sjis, const platform::GlyphCanvas& canvas, int x, int y,
                                       std::uint32_t colour, bool antialias) override
        {
            return m_face.DrawChar(sjis, canvas, x, y, colour, antialias);
        }
        bool IsFallback() const override { return m_face.IsFallback(); }

    private:
        platform::IFontFace& m_face;
    };

    static constexpr std::size_t MaxKept = 32;

    static platform::PinnedFonts& Pinned()
    {
        static platform::PinnedFonts fonts;
        return fonts;
    }
    static std::map<std::pair<std::string, int>, std::unique_ptr<platform::IFontFace>>& Faces()
    {
        static std::map<std::pair<std::string, int>, std::unique_ptr<platform::IFontFace>> faces;
        return faces;
    }
};

} // namespace fuzzkit
