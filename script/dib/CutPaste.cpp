// CUT and PASTE of element pictures.

#include <algorithm>
#include <cstdint>

#include "frame/EScript.h"
#include "script/dib/DIB32Ex.h"
#include "script/dib/DibInfoCache.h"
#include "script/lang/FamilyPath.h"
#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;
using kivotasuGameKit::POINT;
using kivotasuGameKit::RECT;
using kivotasuGameKit::SIZE;
using kivotasuGameKit::SurfaceType;

namespace DIB {
namespace {

// In 64 bits: a tag's numbers may reach the ends of the int range.
std::int64_t ClippedLength(std::int32_t start, std::int32_t length, std::int32_t limit)
{
    return std::min<std::int64_t>(std::int64_t(start) + length, limit) - start;
}

} // namespace

void CDIB32Ex::Cut(CTagAttributes& record)
{
    const CTextString& file = record.GetFile();
    if (file.IsEmpty()) return;
    const CTextString name = InFamilyPath(record.GetPath(), file);
    const boost::shared_ptr<CDibInfo> info = CDibInfoCache::GetInstance().Get(name);
    m_file = name;

    POINT at{0, 0};
    SIZE size{info->GetWidth(), info->GetHeight()};
    record.GetRect(at, size);
    ReadEffectValues(record);
    const std::int64_t width = ClippedLength(at.x, size.cx, info->GetWidth());
    const std::int64_t height = ClippedLength(at.y, size.cy, info->GetHeight());
    // Far left of or above the picture: nothing is cut, as no surface that size could be made.
    if (width > INT32_MAX || height > INT32_MAX) return;
    size = SIZE{std::int32_t(width), std::int32_t(height)};
    const RECT source{at.x, at.y, at.x + size.cx, at.y + size.cy};

    m_cuts.clear();
    boost::shared_ptr<CCutInfo> cut(new CCutInfo);
    cut->file = name;
    cut->sourceX = at.x, cut->sourceY = at.y, cut->sourceWidth = size.cx, cut->sourceHeight = size.cy;
    m_cuts.push_back(cut);

    Release();
    if (CreateMemorySurface(size.cx, size.cy, SurfaceType::ARGB8888) != 0) return;
    CopyBlt(&info->GetPlane(), 0, 0, nullptr, &source);

    m_erase = CEraseInfo{0, CEraseInfo::None};
    m_erase.Assign(info->GetErase());
    m_erase.ParseOrSay(record.GetValue(TagAttributeKey::Erase));
    cut->erase = m_erase;
    m_loaded = 1;
    ApplyErase(size.cx, size.cy);
    RunColourEffects();
    // A corner key names the colour the corner has after the effects, as a
    // loaded picture's does.
    UpdateColorKey();
    m_alphaDrawn = info->IsKeyed() ? 1 : 0;
    KeyTransparency(true, false, 0);
}

void CDIB32Ex::Paste(CDIB32Ex& destination, const CTagAttributes& record)
{
    if (!m_loaded || m_cuts.empty()) throw EScript("CUTタグで切り取られていません。");
    int width = 0, height = 0;
    GetSize(&width, &height);
    POINT at{0, 0};
    SIZE size{width, height};
    record.GetRect(at, size);

    if (!destination.m_loaded) {
        destination.Release();
        destination.InnerCreateMemorySurface(size.cx, size.cy, SurfaceType::ARGB8888, true);
    }
    if (m_erase.mode == CEraseInfo::None)
        destination.CopyBlt(this, at.x, at.y, &size);
    else
        destination.KeyCopyBlt(this, at.x, at.y, &size);

    boost::shared_ptr<CCutInfo> pasted(new CCutInfo(*m_cuts.front()));
    pasted->x = at.x, pasted->y = at.y, pasted->width = size.cx, pasted->height = size.cy;
    destination.m_cuts.push_back(pasted);
    destination.m_alphaDrawn = m_alphaDrawn;
    if (destination.m_erase.mode == CEraseInfo::NotGiven) destination.m_erase.mode = CEraseInfo::None;
    destination.m_loaded = 1;
}

} // namespace DIB
