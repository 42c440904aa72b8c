#include "script/dib/DIB32Ex.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "frame/ErrorLog.h"
#include "frame/file/FileWriter.h"
#include "script/GlobalSettings.h"
#include "script/TagAttributes.h"

using kivotasuGameKit::CTextString;
using kivotasuGameKit::POINT;
using kivotasuGameKit::RECT;
using kivotasuGameKit::SIZE;
using kivotasuGameKit::SurfaceType;

namespace DIB {
namespace {

// Runs f on every 32-bit cell of a created plane.
template <class F> void ForEachCell(kivotasuGameKit::Draw::CPlaneBase& plane, F f)
{
    kivotasuGameKit::CSurfaceInfo* info = plane.GetSurfaceInfoPtr();
    if (!info || !info->IsCreated() || info->GetBytesPerPixel() != 4) return;
    kivotasuGameKit::CSurfaceLock lock(*info);
    if (!lock) return;
    for (int y = 0; y < info->GetHeight(); ++y) {
        std::uint8_t* row = info->GetPixelBytes() + std::int64_t(y) * info->GetPitch();
        for (int x = 0; x < info->GetWidth(); ++x) f(row + x * 4);
    }
}

bool NumberOf(const CTagAttributes& record, TagAttributeKey key, std::int32_t& value)
{
    if (record.GetValue(key).IsEmpty()) return false;
    value = ToTagNumber(record.GetValue(key).GetStr());
    return true;
}

} // namespace

void CEraseInfo::Parse(const CTextString& value)
{
    if (value.IsEmpty()) return;
    if (auto keyword = FindKeyword(EraseNames, value.GetStr())) {
        mode = std::uint32_t(*keyword);
        return;
    }
    std::int32_t parsed = 0;
    if (kivotasuGameKit::ParseColorValue(value.GetStr(), parsed)) {
        colour = std::uint32_t(parsed);
        mode = Colour;
    }
}

CDIB32Ex::CDIB32Ex()
{
    Clear();
    SetWantsAlpha(true);
}

CDIB32Ex::CDIB32Ex(const CTextString& name)
{
    Clear();
    m_name = name;
}

void CDIB32Ex::Clear()
{
    Release();
    m_loaded = 0;
    m_visible = 1;
    m_name.Clear();
    m_file.Clear();
    m_x = m_y = m_defaultX = m_defaultY = 0;
    m_xMode = 1;
    m_yMode = 0;
    m_erase = CEraseInfo();
    m_alphaDrawn = 0;
    m_nega = m_flip = m_mirror = m_blend = m_mosaic = 0;
    m_deep = m_prism = -1;
}

RECT CDIB32Ex::GetRect()
{
    int width = 0, height = 0;
    GetSize(&width, &height);
    return RECT{m_x, m_y, m_x + width, m_y + height};
}

void CDIB32Ex::Parse(CTagAttributes& record)
{
    SIZE size;
    record.GetSize(size);
    if (size.cx != 0 && size.cy != 0) {
        Release();
        if (InnerCreateMemorySurface(size.cx, size.cy, SurfaceType::ARGB8888, true) == 0) m_loaded = 1;
    }
    NumberOf(record, TagAttributeKey::Mirror, m_mirror);
    NumberOf(record, TagAttributeKey::Blend, m_blend);
    NumberOf(record, TagAttributeKey::Mosaic, m_mosaic);
    record.GetDeep(m_deep);
    record.GetPrism(m_prism);
    m_erase.Parse(record.GetValue(TagAttributeKey::Erase));
    std::int32_t oldNega = m_nega, oldFlip = m_flip;

    const CTextString& file = record.GetFile();
    if (!file.IsEmpty()) {
        const CTextString full = file.Find(':') >= 0 ? file : record.GetPath() + file;
        const int loaded = LoadPicture(full.GetStr(), SurfaceType::ARGB8888);
        if (loaded != 0) {
            kivotasuGameKit::ErrorLog.Out("CDIB32Ex::Parseで%sが読み込めない(%d)", full.c_str(), loaded);
        } else {
            m_file = full;
            m_loaded = 1;
            int width = 0, height = 0;
            GetSize(&width, &height);
            m_defaultX = m_x = (ScreenWidth() - width) / 2;
            m_defaultY = m_y = ScreenHeight() - height;
            m_erase.Assign(CEraseInfo{0, CEraseInfo::None});
            m_alphaDrawn = 0;
            oldNega = oldFlip = 0;
            if (m_mosaic > 1) MosaicEffect(m_mosaic, nullptr);
            if (m_deep != -1) {
                const std::uint32_t r = (m_deep >> 16) & 0xFF, g = (m_deep >> 8) & 0xFF, b = m_deep & 0xFF;
                ForEachCell(*this, [&](std::uint8_t* p) {
                    const std::uint32_t grey = (p[0] + p[1] + p[2]) / 3;
                    p[2] = std::uint8_t(grey * r / 256), p[1] = std::uint8_t(grey * g / 256), p[0] = std::uint8_t(grey * b / 256);
                });
            }
            if (m_prism != -1) {
                const std::uint32_t r = (m_prism >> 16) & 0xFF, g = (m_prism >> 8) & 0xFF, b = m_prism & 0xFF;
                ForEachCell(*this, [&](std::uint8_t* p) {
                    p[2] = std::uint8_t(std::min<std::uint32_t>(255, p[2] * r / 128));
                    p[1] = std::uint8_t(std::min<std::uint32_t>(255, p[1] * g / 128));
                    p[0] = std::uint8_t(std::min<std::uint32_t>(255, p[0] * b / 128));
                });
            }
        }
    }

    int width = 0, height = 0;
    if (!m_file.IsEmpty() || m_loaded) GetSize(&width, &height);
    POINT position{m_defaultX, m_defaultY};
    Place(record, position, SIZE{width, height});
    m_x = position.x;
    m_y = position.y;

    m_erase.Parse(record.GetValue(TagAttributeKey::Erase));
    switch (m_erase.mode) {
    case CEraseInfo::LeftTop:
    case CEraseInfo::LeftBottom:
    case CEraseInfo::RightTop:
    case CEraseInfo::RightBottom:
        if (m_loaded) {
            const bool right = m_erase.mode >= CEraseInfo::RightTop, bottom = m_erase.mode & 1;
            SetColorKeyPos(right ? width - 1 : 0, bottom ? height - 1 : 0);
        }
        break;
    case CEraseInfo::None:
        break;
    default:
        SetColorKey(m_erase.colour);
    }

    if (record.GetFlip(m_flip) && m_flip != oldFlip) {
        kivotasuGameKit::CSurfaceInfo* info = GetSurfaceInfoPtr();
        if (info && info->IsCreated()) {
            for (int top = 0, bottom = info->GetHeight() - 1; top < bottom; ++top, --bottom)
                std::swap_ranges(info->GetPixelBytes() + std::int64_t(top) * info->GetPitch(),
                                 info->GetPixelBytes() + std::int64_t(top) * info->GetPitch() + info->GetWidth() * 4,
                                 info->GetPixelBytes() + std::int64_t(bottom) * info->GetPitch());
        }
    }
    if (record.GetNega(m_nega) && m_nega != oldNega) NegaEffect(nullptr);
}

void CDIB32Ex::Place(const CTagAttributes& record, POINT& position, SIZE size)
{
    const std::int32_t sw = ScreenWidth(), sh = ScreenHeight();
    HorizontalAlign horizontal;
    if (record.GetHorizontalAlign(horizontal)) m_xMode = std::uint32_t(horizontal);
    switch (m_xMode) {
    case 0:
    case 2: position.x -= sw / 4; break;
    case 3: position.x += sw / 4; break;
    case 4: position.x = 0; break;
    case 5: position.x = sw - size.cx; break;
    default: break;
    }
    VerticalAlign vertical;
    if (record.GetVerticalAlign(vertical)) m_yMode = std::uint32_t(vertical);
    switch (m_yMode) {
    case 1: position.y = sh / 2 - size.cy / 2; break;
    case 2: position.y = sh / 4 - size.cy / 2; break;
    case 3: position.y = sh * 3 / 4 - size.cy / 2; break;
    case 4: position.y = 0; break;
    case 5: position.y = sh - size.cy; break;
    default: break;
    }
    std::int32_t number;
    if (record.GetXNumber(number)) position.x = number, m_xMode = XNumber;
    if (record.GetYNumber(number)) position.y = number, m_yMode = YNumber;
}

void CDIB32Ex::Draw(Plane& target)
{
    if (!m_loaded || !m_visible || m_blend == 256) return;
    if (m_alphaDrawn) {
        if (m_mirror == 0) target.BlendAlphaBlt(this, m_x, m_y);
    } else {
        target.CopyBlt(this, m_x, m_y);
    }
}

void CDIB32Ex::Write(kivotasuGameKit::CTextFileWriter& writer)
{
    int width = 0, height = 0;
    GetSize(&width, &height);
    CTextString text;
    text.AppendSizeAttributes(width, height);
    if (!m_name.IsEmpty()) text.AppendAttribute("NAME", m_name);
    if (!m_file.IsEmpty()) text.AppendAttribute("FILE", m_file);
    if (m_xMode != 1)
        text.AppendAttribute("X", m_xMode == XNumber ? CTextString(std::to_string(m_x))
                                                     : CTextString(HorizontalAlignNames[m_xMode]));
    if (m_yMode != 0)
        text.AppendAttribute("Y", m_yMode == YNumber ? CTextString(std::to_string(m_y))
                                                     : CTextString(VerticalAlignNames[m_yMode]));
    if (m_blend) text.AppendAttribute("BLEND", m_blend);
    if (m_mirror) text.AppendAttribute("MIRROR", CTextString("1"));
    if (m_flip) text.AppendAttribute("FLIP", CTextString("1"));
    if (m_nega) text.AppendAttribute("NEGA", CTextString("1"));
    if (m_mosaic) text.AppendAttribute("MOSAIC", m_mosaic);
    if (m_deep != -1) text.AppendFormat(" DEEP=\"#%06X\"", unsigned(m_deep));
    if (m_prism != -1) text.AppendFormat(" PRISM=\"#%06x\"", unsigned(m_prism));
    writer.Write(text);

    CTextString erase;
    if (m_erase.mode == CEraseInfo::Colour)
        erase.AppendFormat(" ERASE=\"#%06X\"", unsigned(m_erase.colour));
    else if (m_erase.mode != CEraseInfo::NotGiven)
        erase.AppendAttribute("ERASE", CTextString(EraseNames[m_erase.mode]));
    erase += CTextString("]\n");
    writer.Write(erase);
}

void CDIB32Ex::ColorizeBehind(Plane& target, std::uint32_t colour)
{
    if (colour != m_tableColour) {
        for (int c = 0; c < 3; ++c)
            for (std::uint32_t v = 0; v < 256; ++v) m_channelTable[c][v] = std::uint8_t(v * ((colour >> (8 * c)) & 0xFF) / 256);
        m_tableColour = colour;
    }
    kivotasuGameKit::CSurfaceInfo* mask = GetSurfaceInfoPtr();
    kivotasuGameKit::CSurfaceInfo* screen = target.GetSurfaceInfoPtr();
    if (!mask || !screen || !mask->IsCreated() || !screen->IsCreated() || mask->GetBytesPerPixel() != 4 ||
        screen->GetBytesPerPixel() != 4)
        return;
    kivotasuGameKit::CSurfaceLock screenLock(*screen);
    if (!screenLock) return;
    kivotasuGameKit::CSurfaceLock maskLock(*mask);
    if (!maskLock) return;
    // The target's own pitch: it need not be a screen-wide plane.
    const int left = std::max(0, -m_x), top = std::max(0, -m_y);
    const int right = std::min(mask->GetWidth(), screen->GetWidth() - m_x);
    const int bottom = std::min(mask->GetHeight(), screen->GetHeight() - m_y);
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t* from = mask->GetPixelBytes() + std::int64_t(y) * mask->GetPitch();
        std::uint8_t* to = screen->GetPixelBytes() + std::int64_t(y + m_y) * screen->GetPitch();
        for (int x = left; x < right; ++x) {
            std::uint32_t cell;
            std::memcpy(&cell, from + x * 4, 4);
            if (!cell) continue;
            std::uint8_t* p = to + (x + m_x) * 4;
            for (int c = 0; c < 3; ++c) p[c] = m_channelTable[c][p[c]];
        }
    }
}

} // namespace DIB
