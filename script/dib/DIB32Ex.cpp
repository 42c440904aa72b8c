#include "script/dib/DIB32Ex.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "draw/FastDraw.h"
#include "draw/effect/EffectBlitter.h"
#include "frame/file/FileWriter.h"
#include "script/dib/DibInfoCache.h"
#include "script/dib/PictureEffects.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/FamilyPath.h"
#include "script/lang/SavedValue.h"
#include "script/lang/ScriptError.h"
#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;
using kivotasuGameKit::POINT;
using kivotasuGameKit::RECT;
using kivotasuGameKit::SIZE;
using kivotasuGameKit::SurfaceType;

namespace DIB {
namespace {

bool NumberOf(const CTagAttributes& record, TagAttributeKey key, std::int32_t& value)
{
    if (record.GetValue(key).IsEmpty()) return false;
    value = ToTagNumber(record.GetValue(key).GetStr());
    return true;
}

// A place that is neither a keyword nor a number leaves the picture where it
// stood: said, as a keyword misspelt or in another language ("MIGI") lands
// here. Said by the parse alone, as a PAINT's text is placed twice.
void SayIfNoPlace(const CTagAttributes& record, TagAttributeKey key, std::span<const std::string_view> keywords)
{
    const CTextString& value = record.GetValue(key);
    if (value.IsEmpty() || value.IsNumber() || FindKeyword(keywords, value.GetStr())) return;
    CScriptError& errors = CScriptError::GetInstance();
    const CTextString name(key == TagAttributeKey::X ? "X" : "Y");
    errors.Warn(name + "『" + value + "』は位置の名前でも数でもないので、使われません。" +
                    CTextString(UpperCaseHint(keywords, value.GetStr())),
                errors.Here());
}

} // namespace

std::int32_t SaturatedSum(std::int32_t a, std::int32_t b)
{
    return SaturatedInt32(std::int64_t(a) + b);
}

RECT PlacedRect(POINT at, SIZE size)
{
    return RECT{at.x, at.y, SaturatedSum(at.x, size.cx), SaturatedSum(at.y, size.cy)};
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
    m_cuts.clear();
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
    return PlacedRect(POINT{m_x, m_y}, SIZE{width, height});
}

void CDIB32Ex::ReadEffectValues(const CTagAttributes& record)
{
    NumberOf(record, TagAttributeKey::Mirror, m_mirror);
    NumberOf(record, TagAttributeKey::Blend, m_blend);
    NumberOf(record, TagAttributeKey::Mosaic, m_mosaic);
    record.GetDeep(m_deep);
    record.GetPrism(m_prism);
}

void CDIB32Ex::TakePixels(const CDibInfo& info)
{
    int width = 0, height = 0;
    if (GetSize(&width, &height) || width != info.GetWidth() || height != info.GetHeight()) {
        Release();
        CreateMemorySurface(info.GetWidth(), info.GetHeight(), SurfaceType::ARGB8888);
    }
    const kivotasuGameKit::CSurfaceInfo* surface = GetSurfaceInfoPtr();
    if (surface->IsCreated())
        std::memcpy(surface->GetPixels(), info.GetPixels(), std::size_t(info.GetWidth()) * std::size_t(info.GetHeight()) * 4);
    // New pixels: what was pasted into the old ones is gone with them.
    m_cuts.clear();
    m_loaded = 1;
    m_defaultX = m_x = info.GetDefaultX();
    m_defaultY = m_y = info.GetDefaultY();
    m_erase.Assign(info.GetErase());
    m_alphaDrawn = info.IsKeyed() ? 1 : 0;
}

void CDIB32Ex::RunColourEffects()
{
    if (m_mosaic > 1) MosaicEffect(m_mosaic, nullptr);
    if (m_deep != -1) TintMonochrome(*this, std::uint32_t(m_deep));
    if (m_prism != -1) ScaleChannels(*this, std::uint32_t(m_prism));
}

void CDIB32Ex::ApplyErase(int width, int height)
{
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
}

void CDIB32Ex::KeyTransparency(bool force, bool wasKeyed, std::uint32_t oldKey)
{
    if (!m_alphaDrawn) return;
    // A picture drawn by its own alpha shows its colour key only through the
    // alpha: the blend never looks at the key.
    const bool keyed = m_erase.mode != CEraseInfo::None;
    const std::uint32_t key = GetColorKey() & 0xFFFFFF;
    if (force || keyed != wasKeyed || (keyed && key != (oldKey & 0xFFFFFF))) KeyToAlpha(*this, keyed, key);
}

void CDIB32Ex::Parse(CTagAttributes& record)
{
    const bool wasKeyed = m_erase.mode != CEraseInfo::None;
    const std::uint32_t oldKey = GetColorKey();

    SIZE size{0, 0};
    record.GetSize(size);
    if (size.cx != 0 && size.cy != 0) {
        Release();
        m_cuts.clear();
        // A size no surface can have leaves no picture, not the old one's flag.
        m_loaded = InnerCreateMemorySurface(size.cx, size.cy, SurfaceType::ARGB8888, true) == 0 ? 1 : 0;
    }
    ReadEffectValues(record);
    m_erase.Parse(record.GetValue(TagAttributeKey::Erase));
    std::int32_t oldNega = m_nega, oldFlip = m_flip;

    const CTextString& file = record.GetFile();
    const bool loading = !file.IsEmpty();
    if (loading) {
        const CTextString full = InFamilyPath(record.GetPath(), file);
        const boost::shared_ptr<CDibInfo> info = CDibInfoCache::GetInstance().Get(full);
        TakePixels(*info);
        m_file = full;
        oldNega = oldFlip = 0;
        RunColourEffects();
    }

    // A picture that keeps its pixels keeps its size too: a later tag that
    // only moves it places it by the size it has.
    int width = 0, height = 0;
    if (!m_loaded || GetSize(&width, &height)) width = size.cx, height = size.cy;
    POINT position{m_defaultX, m_defaultY};
    Place(record, position, SIZE{width, height});
    m_x = position.x;
    m_y = position.y;
    SayIfNoPlace(record, TagAttributeKey::X, HorizontalAlignNames);
    SayIfNoPlace(record, TagAttributeKey::Y, VerticalAlignNames);

    m_erase.ParseOrSay(record.GetValue(TagAttributeKey::Erase));
    ApplyErase(width, height);
    KeyTransparency(loading, wasKeyed, oldKey);

    record.GetFlip(m_flip);
    if (m_flip != oldFlip) FlipRows(*this);
    record.GetNega(m_nega);
    if (m_nega != oldNega) {
        if (m_alphaDrawn)
            NegateColours(*this);
        else
            NegaEffect(nullptr);
    }
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

bool CDIB32Ex::CoversWhole(Plane& target)
{
    if (!m_loaded || !m_visible || m_blend == 256 || m_alphaDrawn) return false;
    int width = 0, height = 0, targetWidth = 0, targetHeight = 0;
    if (GetSize(&width, &height) || target.GetSize(&targetWidth, &targetHeight)) return false;
    // A copy into a 4-bit-alpha cell keeps its fourth byte; a pair without a
    // copy routine writes nothing.
    const SurfaceType to = target.GetSurfaceType();
    if (to == SurfaceType::ARGB4565 || to == SurfaceType::ARGB4555 ||
        !kivotasuGameKit::EffectBltServes(0, to, GetSurfaceType()))
        return false;
    return m_x <= 0 && m_y <= 0 && std::int64_t(m_x) + width >= targetWidth &&
           std::int64_t(m_y) + height >= targetHeight;
}

void CDIB32Ex::Write(kivotasuGameKit::CTextFileWriter& writer, bool sized)
{
    int width = 0, height = 0;
    GetSize(&width, &height);
    CTextString text;
    if (sized) text.AppendSizeAttributes(width, height);
    if (!m_name.IsEmpty()) AppendSavedAttribute(text, "NAME", m_name);
    if (!m_file.IsEmpty()) AppendSavedAttribute(text, "FILE", m_file);
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
    m_erase.AppendTo(erase);
    erase += CTextString("]\n");
    writer.Write(erase);

    for (const auto& cut : m_cuts) cut->Write(writer, m_name);
}

void CDIB32Ex::CaptureScreenArea(const RECT& rect)
{
    kivotasuGameKit::CFastDraw* draw = GetDraw();
    CaptureArea(draw ? &draw->m_secondary : nullptr, rect);
}

void CDIB32Ex::CaptureArea(Plane* from, const RECT& rect)
{
    m_erase.mode = CEraseInfo::None;
    m_x = rect.left;
    m_y = rect.top;
    Release();
    if (CreateMemorySurface(rect.right - rect.left, rect.bottom - rect.top, SurfaceType::ARGB8888) != 0) return;
    m_defaultX = rect.left;
    m_defaultY = rect.top;
    if (from) CopyUnder(*from, rect);
    m_loaded = 1;
    m_visible = 1;
}

void CDIB32Ex::CopyUnder(Plane& from, const RECT& rect)
{
    // The part of the area inside from lands at its own place in the
    // picture; what lies outside from is left as made.
    int width = 0, height = 0;
    if (from.GetSize(&width, &height)) return;
    const RECT inside{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width),
                      std::min(rect.bottom, height)};
    if (inside.left >= inside.right || inside.top >= inside.bottom) return;
    CopyBlt(&from, int(std::int64_t(inside.left) - rect.left), int(std::int64_t(inside.top) - rect.top), nullptr,
            &inside);
}

void CDIB32Ex::RestoreBehind(kivotasuGameKit::CFastDraw& draw, Plane& clean)
{
    const RECT rect = GetRect();
    draw.m_secondary.CopyBlt(&clean, rect.left, rect.top, nullptr, &rect);
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
    // The target's own pitch: it need not be a screen-wide plane. In 64 bits:
    // the place may be anywhere in the int range.
    const std::int64_t x0 = m_x, y0 = m_y;
    const std::int64_t left = std::max<std::int64_t>(0, -x0), top = std::max<std::int64_t>(0, -y0);
    const std::int64_t right = std::min<std::int64_t>(mask->GetWidth(), screen->GetWidth() - x0);
    const std::int64_t bottom = std::min<std::int64_t>(mask->GetHeight(), screen->GetHeight() - y0);
    for (std::int64_t y = top; y < bottom; ++y) {
        const std::uint8_t* from = mask->GetPixelBytes() + y * mask->GetPitch();
        std::uint8_t* to = screen->GetPixelBytes() + (y + y0) * screen->GetPitch();
        for (std::int64_t x = left; x < right; ++x) {
            std::uint32_t cell;
            std::memcpy(&cell, from + x * 4, 4);
            if (!cell) continue;
            std::uint8_t* p = to + (x + x0) * 4;
            for (int c = 0; c < 3; ++c) p[c] = m_channelTable[c][p[c]];
        }
    }
}

} // namespace DIB
