#include "draw/wipe/WipeAreas.h"

#include <algorithm>

#include "draw/wipe/TransitionWipe.h"

namespace kivotasuGameKit::Draw::wipe {

int KindBlt(int32_t kind, CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, uint32_t rate,
            const SIZE* size, const RECT* sourceRect, const RECT* clip)
{
    switch (kind) {
    case 0: return destination->CopyBlt(source, x, y, size, sourceRect, clip);
    case 1: return destination->KeyCopyBlt(source, x, y, size, sourceRect, clip);
    case 2: return destination->BlendRateBlt(source, x, y, rate, size, sourceRect, clip);
    case 3: return CTransitionWipe::AutoBlt(destination, source, x, y, size, sourceRect, clip);
    default: return 0;
    }
}

CWipeAreas::CWipeAreas(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t kind,
                         uint32_t rate, const RECT* clip, int32_t width, int32_t height)
    : m_destination(destination),
      m_source(source),
      m_x(x),
      m_y(y),
      m_kind(kind),
      m_rate(rate),
      m_clip(clip),
      m_width(width),
      m_height(height)
{
}

bool CWipeAreas::Cut(RECT& area) const
{
    area.left = std::max(area.left, 0);
    area.top = std::max(area.top, 0);
    area.right = std::min(area.right, m_width);
    area.bottom = std::min(area.bottom, m_height);
    return area.left < area.right && area.top < area.bottom;
}

void CWipeAreas::Draw(const RECT& area, int32_t dx, int32_t dy)
{
    RECT cut = area;
    if (!Cut(cut)) return;
    // 64-bit: a far-off point plus a shift must not wrap onto the screen.
    const int64_t atX = int64_t(m_x) + dx + cut.left, atY = int64_t(m_y) + dy + cut.top;
    if (atX < INT32_MIN || atX > INT32_MAX || atY < INT32_MIN || atY > INT32_MAX) return;
    KindBlt(m_kind, m_destination, m_source, int32_t(atX), int32_t(atY), m_rate, nullptr, &cut, m_clip);
}

void CWipeAreas::DrawStretched(const RECT& area, int32_t atX, int32_t atY, SIZE size)
{
    RECT cut = area;
    if (!Cut(cut) || size.cx <= 0 || size.cy <= 0) return;
    KindBlt(m_kind, m_destination, m_source, atX, atY, m_rate, &size, &cut, m_clip);
}

int CWipeAreas::DrawWhole()
{
    return KindBlt(m_kind, m_destination, m_source, m_x, m_y, m_rate, nullptr, nullptr, m_clip);
}

} // namespace kivotasuGameKit::Draw::wipe
