#pragma once
// Animations, among them the wait cursors of C, L and P. Until the animation
// elements exist there is no cursor to draw: its interval is 0 and the
// drawing operations change nothing.

#include <cstdint>

#include "script/tag/ElementManager.h"

namespace TAG {

class CAnimateManager : public CElementManager {
public:
    void Begin(const CTagAttributes&) {}
    // The wait cursor of a click-wait tag (VIEW) for kind 0, 1 or 2.
    void ParseView(const CTagAttributes&, int) {}
    std::uint32_t GetTime() const { return 0; }
    void SetPosition(std::int32_t, std::int32_t) {}
    // The next frame of the wait cursor, and the cursor's area redrawn.
    void Draw(Plane&) {}
    void Refresh(Plane&) {}
};

} // namespace TAG
