#include "script/tag/FontManager.h"

#include "frame/ErrorLog.h"
#include "frame/file/FileWriter.h"
#include "platform/Fonts.h"
#include "script/lang/TagAttributes.h"
#include "script/dib/DIB32Ex.h"
#include "script/tag/FontList.h"

using kivotasuGameKit::CTextString;
using kivotasuGameKit::RECT;
using kivotasuGameKit::SurfaceType;

namespace TAG {
namespace {

// Glyph planes beyond this are refused like a bitmap that cannot be made.
constexpr std::int32_t LargestSize = 1024;

bool CreateGlyphPlane(CElementManager::Plane& plane, std::int32_t size)
{
    plane.Release();
    if (plane.InnerCreateMemorySurface(size + 8, size + 8, SurfaceType::ARGB8888, false) != 0) return false;
    plane.SetFillColor(0);
    plane.Clear();
    return true;
}

} // namespace

CFontManager::CFontManager()
{
    CreateGlyphPlane(m_glyphPlane, 22);
    CreateFont();
}

CFontManager::~CFontManager() = default;

void CFontManager::Reset()
{
    CElementManager::Reset();
    m_size = 24;
    m_color = 0xFFFFFF;
    m_shadow = 0;
}

void CFontManager::Parse(CTagAttributes& record)
{
    const CTextString& shadow = record.GetValue(TagAttributeKey::Shadow);
    if (shadow == CTextString("KANA"))
        m_shadow = -1;
    else if (shadow == CTextString("TRH3"))
        m_shadow = -2;
    else if (!shadow.IsEmpty())
        m_shadow = ToTagNumber(shadow.GetStr());
    std::int32_t size = m_size;
    if (!record.GetValue(TagAttributeKey::Size).IsEmpty()) size = ToTagNumber(record.GetValue(TagAttributeKey::Size).GetStr());
    // A size that makes no font is not kept: a save would claim a font never used.
    if (size < 1 || size > LargestSize || !CreateGlyphPlane(m_glyphPlane, size)) return;
    m_glyphDrawn = RECT{};
    m_size = size;
    CreateFont();
    std::int32_t colour;
    if (record.GetColor(colour)) m_color = std::uint32_t(colour) & 0xFFFFFF;
}

void CFontManager::CreateFont()
{
    const CTextString face = CFontList::GetInstance().GetCurrentName();
    m_font = platform::Fonts().OpenFace(face.GetStr(), m_size);
    if (m_font && m_font->IsFallback() && face != m_reportedMissing) {
        kivotasuGameKit::ErrorLog.Out("CFontManager::CreateFontで書体「%s」が見つからないので既定の書体を使う", face.c_str());
        m_reportedMissing = face;
    }
}

void CFontManager::SetSymbol(CTagAttributes& record)
{
    Position entry = FindOrCreate(record.GetName());
    if (entry != End()) (*entry)->Parse(record);
}

void CFontManager::Render(std::string_view character, std::uint32_t colour)
{
    kivotasuGameKit::CSurfaceInfo* glyph = m_glyphPlane.GetSurfaceInfoPtr();
    if (!m_font || !glyph || !glyph->IsCreated()) return;
    kivotasuGameKit::CSurfaceLock lock(*glyph);
    if (!lock) return;
    const platform::GlyphCanvas canvas{glyph->GetPixelBytes(), glyph->GetPitch(), glyph->GetWidth(), glyph->GetHeight()};
    const platform::GlyphBounds drawn = m_font->DrawChar(character, canvas, 0, 0, colour, m_antialias != 0);
    m_glyphDrawn = RECT{drawn.left, drawn.top, drawn.right, drawn.bottom};
}

void CFontManager::ClearGlyphPlane()
{
    if (m_glyphDrawn.left < m_glyphDrawn.right && m_glyphDrawn.top < m_glyphDrawn.bottom) m_glyphPlane.Clear(&m_glyphDrawn);
    m_glyphDrawn = RECT{};
}

void CFontManager::DrawChar(std::string_view character, int x, int y, Plane& target)
{
    ClearGlyphPlane();
    if (!character.empty()) {
        Position symbol = Find(CTextString(character));
        if (symbol != End()) {
            if (DIB::CDIB32Ex* picture = (*symbol)->GetPicture()) target.KeyCopyBlt(picture, x, y);
            return;
        }
    }
    if (m_shadow != 0) {
        Render(character, 0x000000);
        const int dx = m_shadow == -1 ? 2 : m_shadow == -2 ? 1 : m_shadow;
        const int dy = m_shadow == -1 ? 1 : m_shadow == -2 ? 2 : m_shadow;
        target.BlendAlphaBlt(&m_glyphPlane, DIB::SaturatedSum(x, dx), DIB::SaturatedSum(y, dy));
        ClearGlyphPlane();
    }
    Render(character, m_color);
    target.BlendAlphaBlt(&m_glyphPlane, x, y);
}

void CFontManager::AppendLook(CTextString& line) const
{
    line += CTextString(" SHADOW=\"");
    if (m_shadow == -1)
        line += CTextString("KANA");
    else if (m_shadow == -2)
        line += CTextString("TRH3");
    else
        line.AppendNumber(m_shadow);
    line += '"';
    line.AppendAttribute("SIZE", m_size);
    line.AppendFormat(" COLOR=\"#%06X\"", unsigned(m_color));
}

void CFontManager::Write(kivotasuGameKit::CTextFileWriter& writer)
{
    CTextString line;
    AppendLook(line);
    line += CTextString("]\n");
    writer.Write(line);
    for (auto& entry : GetElements()) entry->Write(writer);
}

} // namespace TAG
