#include "platform/Cursors.h"

#include "platform/ServiceSlot.h"

#include <algorithm>
#include <numeric>

namespace platform {

namespace {

ServiceSlot<ICursorSystem, HeadlessCursorSystem>& Slot()
{
    static ServiceSlot<ICursorSystem, HeadlessCursorSystem> slot;
    return slot;
}

} // namespace

ICursorSystem& Cursors()
{
    return Slot().Get();
}

void InstallCursors(std::unique_ptr<ICursorSystem> system)
{
    Slot().Install(std::move(system));
}

std::size_t CursorStepAt(const CursorAnimation& animation, std::uint32_t elapsedMs)
{
    if (animation.steps.empty()) return 0;
    std::uint64_t round = 0;
    for (const auto& step : animation.steps) round += step.jiffies;
    // A jiffy is 1/60 s; time runs round the steps.
    std::uint64_t jiffy = std::uint64_t(elapsedMs) * 60 / 1000 % round;
    for (std::size_t step = 0; step < animation.steps.size(); ++step) {
        if (jiffy < animation.steps[step].jiffies) return step;
        jiffy -= animation.steps[step].jiffies;
    }
    return animation.steps.size() - 1;
}

std::uint32_t CursorTimeline::FrameAt(const CursorAnimation& animation, std::uint32_t nowMs)
{
    if (!m_started) m_since = nowMs, m_started = true;
    return animation.steps[CursorStepAt(animation, nowMs - m_since)].frame;
}

CursorHandle HeadlessCursorSystem::Create(const CursorAnimation& animation)
{
    if (animation.frames.empty() || animation.steps.empty()) return 0;
    m_live.emplace_back(m_next, animation);
    return m_next++;
}

void HeadlessCursorSystem::Destroy(CursorHandle cursor)
{
    std::erase_if(m_live, [cursor](const auto& live) { return live.first == cursor; });
    if (m_shown == cursor) ShowSystem(SystemCursor::Arrow);
}

void HeadlessCursorSystem::Show(CursorHandle cursor)
{
    m_shown = cursor;
    m_timeline.Restart();
    m_frame = 0;
}

void HeadlessCursorSystem::ShowSystem(SystemCursor kind)
{
    m_shown = 0;
    m_system = kind;
}

void HeadlessCursorSystem::Animate(std::uint32_t nowMs)
{
    const auto live = std::find_if(m_live.begin(), m_live.end(), [this](const auto& l) { return l.first == m_shown; });
    if (live == m_live.end()) return;
    m_frame = m_timeline.FrameAt(live->second, nowMs);
}

} // namespace platform
