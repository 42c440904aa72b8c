#include "script/engine/ShownScreen.h"

#include <algorithm>

#include "frame/Window.h"
#include "script/dib/DIB32Ex.h"
#include "script/engine/GameState.h"
#include "script/engine/GlobalSettings.h"
#include "script/engine/TransitionFrames.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/ButtonManager.h"
#include "script/tag/LayerManagers.h"
#include "script/tag/Log.h"
#include "script/tag/Text.h"
#include "script/tag/WindowElement.h"
#include "script/tag/WindowManager.h"

namespace {

constexpr std::uint32_t Black = 0xFF000000;
constexpr std::uint32_t White = 0xFFFFFFFF;

} // namespace

void CShownScreen::Open()
{
    GetDraw().SetDisplay(false, 0, 0, 0);
    CreateScreenPlane();
}

void CShownScreen::CreateScreenPlane()
{
    m_screen.CreateMemorySurface(ScreenWidth(), ScreenHeight(), kivotasuGameKit::ARGB8888);
    // Black, the screen a play starts from.
    m_screen.SetFillColor(Black);
    m_screen.Clear();
}

void CShownScreen::Resize(kivotasuGameKit::CWindow* window)
{
    kivotasuGameKit::CFastDraw& draw = GetDraw();
    const bool fullScreen = draw.IsFullScreen();
    if (fullScreen) draw.SetDisplay(false, 0, 0, 0);
    if (window) window->SetClientSize(ScreenWidth(), ScreenHeight());
    draw.SetDisplay(false, ScreenWidth(), ScreenHeight(), 0);
    CreateScreenPlane();
    m_parts.windows.ResizeWorkPlane(ScreenWidth(), ScreenHeight());
    if (fullScreen) ChangeDisplayMode(true);
    Present();
}

// Whatever the state: a view, a transition half run, a scene a LOCK or the
// next wait still holds back.
void CShownScreen::ChangeDisplayMode(bool fullScreen)
{
    kivotasuGameKit::CFastDraw& draw = GetDraw();
    Plane shown;
    shown.CreateMemorySurface(ScreenWidth(), ScreenHeight(), kivotasuGameKit::ARGB8888);
    shown.CopyBlt(&GetBackPlane(), 0, 0);
    draw.BeginChangeDisplay();
    if (fullScreen) {
        for (int bits : {32, 24, 16}) draw.TestDisplayMode(ScreenWidth(), ScreenHeight(), true, bits);
    }
    draw.TestDisplayMode(ScreenWidth(), ScreenHeight(), false, 0);
    draw.EndChangeDisplay();
    GetBackPlane().CopyBlt(&shown, 0, 0);
    PresentBack();
}

void CShownScreen::ComposeLayers(Plane& target)
{
    if (m_parts.visuals.IsShowing()) {
        if (!m_parts.visuals.GetFirstPicture()->CoversWhole(target)) target.Clear();
        m_parts.visuals.DrawAll(target);
    } else {
        // The backs fill the screen themselves.
        m_parts.backs.DrawAll(target);
        m_parts.acts.DrawAll(target);
        m_parts.paints.DrawAll(target);
    }
    m_parts.buttons.DrawAll(target);
}

void CShownScreen::Recompose()
{
    LiftText();
    LiftFrames();
    ComposeLayers(m_screen);
    m_parts.buttons.MarkFunctionButtonsDrawn();
    m_parts.windows.Invalidate();
    m_parts.text.Invalidate();
    m_sceneUnshown = true;
    if (m_parts.text.GetTextEraseFlag() == 0) {
        LayFrames();
        LayText();
    }
}

void CShownScreen::ChangeScene(const EffectChoice& effect, const std::function<void()>& change)
{
    if (m_parts.text.GetTextEraseFlag() != 0) HidePage();
    change();
    if (!IsHeld()) Transit(effect);
}

// Drawn under the page and kept in what it saves of the screen, so hiding
// it later leaves the button there.
void CShownScreen::ShowFunctionButton(DIB::CDIB32Ex* off)
{
    if (IsHeld()) return;
    m_sceneUnshown = true;
    if (!off) {
        m_parts.buttons.MarkFunctionButtonsDrawn();
        return;
    }
    Relay([&] {
        off->Draw(m_screen);
        m_parts.buttons.MarkFunctionButtonsDrawn();
        m_parts.windows.Invalidate();
        m_parts.text.Invalidate();
    });
}

// What the tags before the LOCK set up and the window lacks is held with the
// rest: a transition they left pending (a paste's) and the buttons not yet
// shown come with the UNLOCK's composition, past any wait between.
void CShownScreen::Lock()
{
    if (m_parts.text.GetTextEraseFlag() != 0) HidePage();
    if (m_parts.state.State == EngineState::Transition) m_parts.state.ChangeState(EngineState::RunTags);
    m_parts.buttons.HoldBackUnshown();
    m_lock.Lock();
}

void CShownScreen::Unlock(const CTagAttributes& record)
{
    if (m_lock.Unlock() != 0 || IsHeld()) return;
    EffectChoice effect = m_lock.GetEffect();
    effect.Parse(record);
    Transit(effect);
}

void CShownScreen::ButtonJumped()
{
    if (!IsHeld() || !m_parts.buttons.IsFunctionFocused()) return;
    m_lock.Release();
    Recompose();
}

void CShownScreen::LayFrames()
{
    if (!m_parts.windows.Draw(m_screen, GetWindowRGB())) return;
    m_parts.buttons.DrawFunctionButtons(m_screen);
    m_pageUnshown = TAG::UnionRect(m_pageUnshown, m_parts.windows.GetArea());
}

void CShownScreen::LiftFrames()
{
    if (m_parts.windows.Hide(m_screen)) m_pageUnshown = TAG::UnionRect(m_pageUnshown, m_parts.windows.GetArea());
}

void CShownScreen::LayText()
{
    if (m_parts.text.ShowWindow(m_screen) == 0) m_pageUnshown = TAG::UnionRect(m_pageUnshown, m_parts.text.GetWindowRect());
}

void CShownScreen::LiftText()
{
    if (m_parts.text.HideWindow(m_screen) == 0) m_pageUnshown = TAG::UnionRect(m_pageUnshown, m_parts.text.GetWindowRect());
}

void CShownScreen::Relay(const std::function<void()>& change)
{
    const bool frames = m_parts.windows.IsShown(), text = m_parts.text.IsShown();
    LiftText();
    LiftFrames();
    change();
    if (frames) LayFrames();
    if (text) LayText();
}

void CShownScreen::ShowPage()
{
    LayFrames();
    LayText();
    ShowPageAmidTags();
}

void CShownScreen::HidePage()
{
    LiftText();
    LiftFrames();
    ShowPageAmidTags();
}

void CShownScreen::TurnPage()
{
    LiftText();
}

void CShownScreen::AddChoiceItem(const CTagAttributes& item)
{
    ShowPage();
    m_parts.buttons.AddSelectButton(item, m_screen);
}

void CShownScreen::ShowPageAmidTags()
{
    if (!IsHeld() && !m_sceneUnshown) ShowPageArea();
}

void CShownScreen::ShowPageArea()
{
    RECT area = m_pageUnshown;
    m_pageUnshown = RECT{};
    area.left = std::max(area.left, 0);
    area.top = std::max(area.top, 0);
    area.right = std::min(area.right, ScreenWidth());
    area.bottom = std::min(area.bottom, ScreenHeight());
    if (area.left >= area.right || area.top >= area.bottom) return;
    GetBackPlane().CopyBlt(&m_screen, area.left, area.top, nullptr, &area);
    GetDraw().OnDraw(&area);
}

// A wait's frame with nothing pending shows nothing.
void CShownScreen::ShowPending()
{
    if (!IsHeld() && m_sceneUnshown) Present();
    else ShowPageArea();
}

bool CShownScreen::TypeCharacter()
{
    return m_parts.text.DrawAndPresent(GetDraw(), m_screen) != 0;
}

void CShownScreen::TypeRest()
{
    while (m_parts.text.Draw(m_screen) != 0) {
    }
    m_pageUnshown = TAG::UnionRect(m_pageUnshown, m_parts.text.GetWindowRect());
    ShowPending();
}

void CShownScreen::LiftPage()
{
    LiftText();
    LiftFrames();
    ShowPending();
}

void CShownScreen::LayPage()
{
    LayFrames();
    LayText();
    ShowPending();
}

void CShownScreen::RelayPage(const std::function<void()>& change)
{
    Relay(change);
    ShowPending();
}

void CShownScreen::ShowChoice()
{
    m_parts.buttons.DrawChoiceButtons(GetBackPlane());
    PresentBack();
}

// Under a LOCK from their own areas alone: the rest waits for the UNLOCK.
// Without one, the whole screen, unless the window lacks the scene (a
// function button's jump released a LOCK), whose present takes them off.
void CShownScreen::EndChoice()
{
    if (IsHeld()) {
        m_parts.buttons.EraseChoiceButtons(GetDraw(), m_screen);
        PresentBack();
    } else if (!m_sceneUnshown) {
        Present();
    }
}

void CShownScreen::OpenBackLog()
{
    LiftPage();
    m_parts.log.Draw(GetBackPlane());
    PresentBack();
}

void CShownScreen::CloseBackLog()
{
    m_parts.log.RestoreScreen(GetBackPlane());
    PresentBack();
    LayPage();
}

void CShownScreen::Present()
{
    GetBackPlane().CopyBlt(&m_screen, 0, 0);
    GetDraw().OnDraw();
    m_sceneUnshown = false;
    m_pageUnshown = RECT{};
    m_parts.buttons.MarkFunctionButtonsShown();
}

void CShownScreen::Repaint()
{
    if (m_repainting) return;
    m_repainting = true;
    PresentBack();
    m_repainting = false;
}

// The transition may run tags later (a PASTE's, before the next text): a
// picture it cannot have is said at the tag that named it.
void CShownScreen::Transit(const EffectChoice& effect)
{
    m_parts.state.SetEffect(effect);
    if (effect.kind == EffectKind::Named) m_effectPlace = CScriptError::GetInstance().Here();
    Recompose();
    m_parts.state.ChangeState(EngineState::Transition);
}

std::unique_ptr<CTransitionFrames> CShownScreen::StartTransition(EffectKind kind, Plane* picture,
                                                                 kivotasuGameKit::CMersenneTwister& random)
{
    if (picture) m_screen.KeyCopyBlt(picture, 0, 0);
    return std::make_unique<CTransitionFrames>(kind, GetBackPlane(), m_screen, random);
}

void CShownScreen::BeginReset()
{
    HidePage();
    // Whatever colour the last BACK or the end screen left the plane to fill with.
    m_screen.SetFillColor(Black);
    m_screen.Clear();
}

void CShownScreen::EndReset()
{
    GetBackPlane().Clear();
    PresentBack();
    m_sceneUnshown = false;
    m_pageUnshown = RECT{};
    m_lock.Reset();
}

void CShownScreen::LayEndScreen(Plane* picture)
{
    HidePage();
    m_screen.SetFillColor(White);
    m_screen.Clear();
    if (picture) m_screen.CopyBlt(picture, 0, 0);
}

void CShownScreen::Wipe(kivotasuGameKit::Draw::CTransitionWipe::Wipe& wipe, std::int32_t phase)
{
    wipe(&GetBackPlane(), &m_screen, 0, 0, phase, 0, 255, nullptr);
    PresentBack();
}
