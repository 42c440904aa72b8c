#pragma once
// The mouse cursor's look: the system's arrow, hand and wait cursors, and
// colour cursors made from cursor files (animated ones step through their
// frames as time passes). Application thread only.

#include "platform/CursorFile.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

enum class SystemCursor { Arrow, Hand, Wait };

// 0 is no cursor.
using CursorHandle = std::uintptr_t;

class ICursorSystem {
public:
    virtual ~ICursorSystem() = default;
    // 0 when no cursor can be made of it.
    virtual CursorHandle Create(const CursorAnimation& animation) = 0;
    virtual void Destroy(CursorHandle cursor) = 0;
    virtual void Show(CursorHandle cursor) = 0;
    virtual void ShowSystem(SystemCursor kind) = 0;
    // The frame of an animated cursor at this tick.
    virtual void Animate(std::uint32_t nowMs) = 0;
};

// The headless system until the executable installs the SDL one.
ICursorSystem& Cursors();
void InstallCursors(std::unique_ptr<ICursorSystem> system);

std::unique_ptr<ICursorSystem> MakeSdlCursorSystem();

// Which step of an animation shows at elapsed ms since it was shown.
std::size_t CursorStepAt(const CursorAnimation& animation, std::uint32_t elapsedMs);

// An animation's steps count from its first Animate after a Show, not from
// the clock's zero: each cursor system keeps one for the cursor it shows.
class CursorTimeline {
public:
    void Restart() { m_started = false; }
    // The frame shown at nowMs.
    std::uint32_t FrameAt(const CursorAnimation& animation, std::uint32_t nowMs);

private:
    std::uint32_t m_since = 0;
    bool m_started = false;
};

// Cursors in memory: what is shown is recorded for tests.
class HeadlessCursorSystem final : public ICursorSystem {
public:
    CursorHandle Create(const CursorAnimation& animation) override;
    void Destroy(CursorHandle cursor) override;
    void Show(CursorHandle cursor) override;
    void ShowSystem(SystemCursor kind) override;
    void Animate(std::uint32_t nowMs) override;

    // The shown cursor (0 for a system one), its kind, and the frame shown.
    CursorHandle Shown() const { return m_shown; }
    SystemCursor ShownSystem() const { return m_system; }
    std::uint32_t ShownFrame() const { return m_frame; }
    std::size_t Live() const { return m_live.size(); }

private:
    std::vector<std::pair<CursorHandle, CursorAnimation>> m_live;
    CursorHandle m_next = 1;
    CursorHandle m_shown = 0;
    SystemCursor m_system = SystemCursor::Arrow;
    CursorTimeline m_timeline;
    std::uint32_t m_frame = 0;
};

} // namespace platform
