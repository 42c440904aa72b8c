#pragma once
// What every wipe shares: the blit of its kind, and the areas of the source
// drawn through it, each cut to the source and landing where it belongs in
// the finished picture.

#include <cstdint>

#include "draw/PlaneBase.h"

namespace kivotasuGameKit::Draw::wipe {

// The blit of kind 0..3 (copy, keyed copy, rate blend, AutoBlt); another kind
// draws nothing and yields 0.
int KindBlt(int32_t kind, CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, uint32_t rate,
            const SIZE* size, const RECT* sourceRect, const RECT* clip);

class CWipeAreas {
public:
    CWipeAreas(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t kind, uint32_t rate,
                const RECT* clip, int32_t width, int32_t height);

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    CPlaneBase* Destination() const { return m_destination; }
    int32_t X() const { return m_x; }
    int32_t Y() const { return m_y; }
    const RECT* Clip() const { return m_clip; }

    // The area (source coordinates) at its own place, moved by (dx, dy).
    void Draw(const RECT& area, int32_t dx = 0, int32_t dy = 0);
    // The area stretched to size with its top-left at (atX, atY) on the
    // destination.
    void DrawStretched(const RECT& area, int32_t atX, int32_t atY, SIZE size);
    int DrawWhole();

private:
    // The area cut to the source; false when nothing is left.
    bool Cut(RECT& area) const;

    CPlaneBase* m_destination;
    CPlaneBase* m_source;
    int32_t m_x, m_y, m_kind;
    uint32_t m_rate;
    const RECT* m_clip;
    int32_t m_width, m_height;
};

// The frame of a wipe: below phase 1, for a kind outside 0..3 or an empty
// source nothing is drawn (0); from 256 the whole source in one blit; in
// between body(areas, phase), whose result is returned.
template <class Body>
int RunWipe(CPlaneBase* destination, CPlaneBase* source, int32_t x, int32_t y, int32_t phase, int32_t kind,
            uint32_t rate, const RECT* clip, Body body)
{
    if (phase < 1 || uint32_t(kind) > 3) return 0;
    int width = 0, height = 0;
    if (source->GetSize(&width, &height) || width <= 0 || height <= 0) return 0;
    CWipeAreas areas(destination, source, x, y, kind, rate, clip, width, height);
    if (phase >= 256) return areas.DrawWhole();
    return body(areas, phase);
}

// A run of lines [from, to) across the whole picture: columns when the lines
// are columns, else rows; and one line's span [from, to) along it.
inline RECT Lines(bool columns, int32_t from, int32_t to, const CWipeAreas& areas)
{
    return columns ? RECT{from, 0, to, areas.Height()} : RECT{0, from, areas.Width(), to};
}
inline RECT Span(bool columns, int32_t line, int32_t from, int32_t to)
{
    return columns ? RECT{line, from, line + 1, to} : RECT{from, line, to, line + 1};
}

} // namespace kivotasuGameKit::Draw::wipe
