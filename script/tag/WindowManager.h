#pragma once
// The message-window frames. Until the window elements exist no frame is
// shown: drawing and hiding change nothing, and the style set by
// DEFAULTWINDOW's CONTROL is all the engine reads.

#include <cstdint>

#include "script/tag/ElementManager.h"

namespace TAG {

class CWindowManager : public CElementManager {
public:
    // True when a frame was drawn (or removed) on the plane.
    bool Draw(Plane&, std::uint32_t) { return false; }
    bool Hide(Plane&) { return false; }
    bool IsShown() const { return false; }
    void CopyWindowArea(Plane&) {}
    void SetIndex(const CTagAttributes&) {}
    void OnFadeWindow(const CTagAttributes&) {}
    void SetCurrentWindow(std::int32_t) {}
    void ResetIndex() {}
    bool IsWindowCount(std::int32_t) const { return false; }
    void SelectWindow(std::int32_t) {}
    // The work plane follows the screen size.
    void ResizeWorkPlane(std::int32_t, std::int32_t) {}
};

} // namespace TAG
