#pragma once
// The drawing of one transition: the old picture kept on a plane of its own
// for the whole transition, and each frame's step of the effect from the old
// picture to the screen plane onto the back plane.

#include <cstdint>

#include "draw/FastPlane.h"
#include "script/lang/TagTables.h"

namespace kivotasuGameKit {
class CMersenneTwister;
}

class CTransitionFrames {
public:
    using Plane = kivotasuGameKit::Draw::CFastPlane;

    // kind is resolved (no random kinds, no picture name). The back plane
    // holds the old picture as the transition begins.
    CTransitionFrames(EffectKind kind, Plane& back, Plane& screen, kivotasuGameKit::CMersenneTwister& random);

    // The kinds that run in two halves (and BLACKBLIND) take twice the time.
    std::int64_t Duration(std::int64_t effectTime) const;
    // The step at elapsed of duration (elapsed < duration); false when it is
    // the step last drawn, and nothing was drawn.
    bool Draw(std::int64_t elapsed, std::int64_t duration);

private:
    bool DrawStrip(std::int64_t elapsed, std::int64_t duration);
    // Kinds 21 to 27: the old picture dissolves, then the new one forms.
    void DrawHalves(std::int32_t p);
    void DrawBlackBlind(std::int32_t p);
    bool IsHalves() const;

    EffectKind m_kind;
    Plane& m_back;
    Plane& m_screen;
    kivotasuGameKit::CMersenneTwister& m_random;
    Plane m_old;
    std::int32_t m_strip = 0;
    bool m_cleared = false;
    // The phase (0 to 255) of the step last drawn; -1 before the first.
    std::int32_t m_drawn = -1;
};
