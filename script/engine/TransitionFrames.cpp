#include "script/engine/TransitionFrames.h"

#include "draw/wipe/TransitionWipe.h"
#include "frame/MersenneTwister.h"

using kivotasuGameKit::RECT;
using kivotasuGameKit::Draw::CPlaneBase;
using kivotasuGameKit::Draw::CTransitionWipe;

namespace {

// The wipes the engine calls with the screen plane as the new picture.
CTransitionWipe::Wipe* WipeOf(EffectKind kind)
{
    switch (kind) {
    case EffectKind::Square: return &CTransitionWipe::Square;
    case EffectKind::Circle: return &CTransitionWipe::Circle;
    case EffectKind::Rect: return &CTransitionWipe::Rect;
    case EffectKind::Spiral: return &CTransitionWipe::Spiral;
    case EffectKind::Blind: return &CTransitionWipe::Blind;
    case EffectKind::BlindLeft: return &CTransitionWipe::BlindLeft;
    case EffectKind::BlindRight: return &CTransitionWipe::BlindRight;
    case EffectKind::BlindTop: return &CTransitionWipe::BlindTop;
    case EffectKind::BlindBottom: return &CTransitionWipe::BlindBottom;
    case EffectKind::StripeH1: return &CTransitionWipe::StripeH1;
    case EffectKind::StripeH2: return &CTransitionWipe::StripeH2;
    case EffectKind::StripeV1: return &CTransitionWipe::StripeV1;
    case EffectKind::StripeV2: return &CTransitionWipe::StripeV2;
    case EffectKind::Mosaic: return &CTransitionWipe::Mosaic;
    case EffectKind::Wave: return &CTransitionWipe::Wave;
    case EffectKind::StretchLeft: return &CTransitionWipe::StretchLeft;
    case EffectKind::StretchRight: return &CTransitionWipe::StretchRight;
    case EffectKind::StretchTop: return &CTransitionWipe::StretchTop;
    case EffectKind::StretchBottom: return &CTransitionWipe::StretchBottom;
    default: return nullptr;
    }
}

int Width(CPlaneBase& plane)
{
    int width = 0, height = 0;
    plane.GetSize(&width, &height);
    return width;
}

int Height(CPlaneBase& plane)
{
    int width = 0, height = 0;
    plane.GetSize(&width, &height);
    return height;
}

} // namespace

CTransitionFrames::CTransitionFrames(EffectKind kind, Plane& back, Plane& screen,
                                     kivotasuGameKit::CMersenneTwister& random)
    : m_kind(kind), m_back(back), m_screen(screen), m_random(random)
{
    if (IsHalves() || kind == EffectKind::Blend || kind == EffectKind::BlackBlind) {
        m_old.CreateMemorySurface(Width(screen), Height(screen), kivotasuGameKit::ARGB8888);
        // BLACKBLIND starts from a cleared picture instead.
        if (kind == EffectKind::BlackBlind) m_old.Clear();
        else m_old.CopyBlt(&back, 0, 0);
    }
    if (kind == EffectKind::Right) m_strip = Width(screen);
    if (kind == EffectKind::Bottom) m_strip = Height(screen);
}

bool CTransitionFrames::IsHalves() const
{
    return m_kind >= EffectKind::Mosaic && m_kind <= EffectKind::StretchBottom;
}

std::int64_t CTransitionFrames::Duration(std::int64_t effectTime) const
{
    return IsHalves() || m_kind == EffectKind::BlackBlind ? effectTime * 2 : effectTime;
}

bool CTransitionFrames::Draw(std::int64_t elapsed, std::int64_t duration)
{
    switch (m_kind) {
    case EffectKind::Left:
    case EffectKind::Right:
    case EffectKind::Top:
    case EffectKind::Bottom:
        return DrawStrip(elapsed, duration);
    default:
        break;
    }
    const std::int32_t p = std::int32_t(elapsed * 256 / duration);
    // A picture's transition draws the same at every phase.
    if (p == m_drawn || (m_kind == EffectKind::Named && m_drawn >= 0)) return false;
    m_drawn = p;
    switch (m_kind) {
    case EffectKind::Blend:
        m_back.CopyBlt(&m_old, 0, 0);
        CTransitionWipe::Blend(&m_back, &m_screen, 0, 0, p, 0, 255, nullptr);
        break;
    case EffectKind::BlackBlind:
        DrawBlackBlind(p);
        break;
    case EffectKind::Named:
        m_back.KeyBlendRateBlt(&m_screen, 0, 0, 255);
        break;
    default:
        if (IsHalves()) DrawHalves(p);
        else if (CTransitionWipe::Wipe* wipe = WipeOf(m_kind)) wipe(&m_back, &m_screen, 0, 0, p, 0, 255, nullptr);
        break;
    }
    return true;
}

// LEFT and TOP uncover from the near edge, RIGHT and BOTTOM from the far one;
// each frame copies only the lines passed since the last.
bool CTransitionFrames::DrawStrip(std::int64_t elapsed, std::int64_t duration)
{
    const bool columns = m_kind == EffectKind::Left || m_kind == EffectKind::Right;
    const bool fromFar = m_kind == EffectKind::Right || m_kind == EffectKind::Bottom;
    const std::int32_t size = columns ? Width(m_screen) : Height(m_screen);
    const std::int32_t passed = std::int32_t(size * elapsed / duration);
    const std::int32_t edge = fromFar ? size - passed : passed;
    const std::int32_t from = fromFar ? edge : m_strip, to = fromFar ? m_strip : edge;
    m_strip = edge;
    if (from >= to) return false;
    const RECT lines = columns ? RECT{from, 0, to, Height(m_screen)} : RECT{0, from, Width(m_screen), to};
    m_back.CopyBlt(&m_screen, lines.left, lines.top, nullptr, &lines);
    return true;
}

void CTransitionFrames::DrawHalves(std::int32_t p)
{
    CPlaneBase* source = p < 128 ? static_cast<CPlaneBase*>(&m_old) : &m_screen;
    const std::int32_t phase = p < 128 ? (128 - p) * 2 : 2 * p - 256;
    if (m_kind == EffectKind::CutIn) CTransitionWipe::CutIn(&m_back, source, 0, 0, phase, 0, 255, nullptr, m_random);
    else WipeOf(m_kind)(&m_back, source, 0, 0, phase, 0, 255, nullptr);
}

void CTransitionFrames::DrawBlackBlind(std::int32_t p)
{
    if (p < 128) {
        CTransitionWipe::Blind(&m_back, &m_old, 0, 0, 2 * p, 0, 255, nullptr);
        return;
    }
    if (!m_cleared) {
        m_back.CopyBlt(&m_old, 0, 0);
        m_cleared = true;
    }
    CTransitionWipe::Blind(&m_back, &m_screen, 0, 0, 2 * p - 256, 0, 255, nullptr);
}
