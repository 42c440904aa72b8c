#pragma once
// What the window shows, and the one owner of it: the screen plane the scene
// and the page are laid on, the back plane the window shows, what of the
// first the second lacks, and the LOCK that holds the scene back.
//
// The scene is the layers (backgrounds, characters, paintings or a visual)
// with the function buttons; the page is the window frames and the text
// window over it, each keeping what lies under it. A LOCK holds the scene:
// the layers change unseen, and its UNLOCK composes them and starts the
// transition. It never holds the page, which the window gets at the next
// wait over the scene it shows.

#include <cstdint>
#include <functional>
#include <memory>

#include "draw/DrawHolder.h"
#include "draw/wipe/TransitionWipe.h"
#include "script/lang/EffectChoice.h"
#include "script/lang/ScriptError.h"
#include "script/tag/Lock.h"

class CGameState;
class CTagAttributes;
class CTransitionFrames;
namespace kivotasuGameKit { class CMersenneTwister; class CWindow; }
namespace DIB { class CDIB32Ex; }
namespace TAG {
class CActManager;
class CBackManager;
class CButtonManager;
class CLog;
class CPaintManager;
class CText;
class CVisualManager;
class CWindowManager;
}

class CShownScreen {
public:
    using Plane = kivotasuGameKit::Draw::CFastPlane;
    using RECT = kivotasuGameKit::RECT;

    // What the window shows is made of, and the state a transition starts.
    struct Parts {
        TAG::CVisualManager& visuals;
        TAG::CBackManager& backs;
        TAG::CActManager& acts;
        TAG::CPaintManager& paints;
        TAG::CButtonManager& buttons;
        TAG::CWindowManager& windows;
        TAG::CText& text;
        TAG::CLog& log;
        CGameState& state;
    };

    // The screen manager is made here, before the parts make their planes
    // (they register with it): the parts may not be constructed yet.
    explicit CShownScreen(const Parts& parts) : m_parts(parts) {}

    // The display and the screen plane at the screen size, black.
    void Open();
    // SCREEN: the display, the window's client area and the planes at the
    // size the settings hold, shown at once.
    void Resize(kivotasuGameKit::CWindow* window);
    // The back plane is made anew and gets back what the window showed.
    void ChangeDisplayMode(bool fullScreen);
    bool IsFullScreen() const { return GetDraw().IsFullScreen(); }

    // An element tag, a paste into a painting: the change to the layers with
    // its transition. Unless the text keeps its window through changes
    // (ERASE NONE), the page leaves the window first; under a LOCK nothing is
    // composed and no transition starts.
    void ChangeScene(const EffectChoice& effect, const std::function<void()>& change);
    // The layers and the buttons onto target, as the screen plane gets them.
    void ComposeLayers(Plane& target);
    // A function button's ENDBUTTON outside a choice: its OFF picture (null:
    // none) joins the scene under the page, shown with what the tags around
    // it set up; under a LOCK the UNLOCK composes it.
    void ShowFunctionButton(DIB::CDIB32Ex* off);

    // LOCK, UNLOCK and DEFAULTLOCK. The last UNLOCK composes what the LOCKs
    // held and starts its transition; one without a LOCK does nothing.
    void Lock();
    void Unlock(const CTagAttributes& record);
    void SetLockDefault(const CTagAttributes& record) { m_lock.ParseDefault(record); }
    // The chosen button's jump out of a wait. A choice is written with its
    // labels, where the author can UNLOCK; a function button is pressed at
    // any wait of the game, and no UNLOCK of the story it leaves follows: its
    // jump ends every LOCK, as a reset does, and the scene they held shows
    // at the next wait or with the next transition.
    void ButtonJumped();
    bool IsHeld() const { return m_lock.IsLocked(); }
    const TAG::CLock& GetLock() const { return m_lock; }

    // The page amid the tags: the window frames and the text window laid
    // and lifted; the window gets them at once unless the LOCK holds them for
    // the wait or the window lacks the scene they lie on.
    void ShowPage();
    void HidePage();
    // TP: the text window off the screen plane, the window showing the old
    // page until the next shows (or the next wait).
    void TurnPage();
    // A choice item: the page shown, and its button made over the page.
    void AddChoiceItem(const CTagAttributes& item);

    // At a wait: what the tags set up since the last reaches the window, the
    // scene unless a LOCK holds it, and the page.
    void ShowPending();
    // The typing of the text at a wait: one character shown at once (false
    // when the message is finished), or the rest of the page.
    bool TypeCharacter();
    void TypeRest();
    // The page off the screen plane and back on, for the views that lift it
    // (the back-log, the hidden windows): the window changes in the page's
    // areas alone and keeps the rest of what it showed, which under a LOCK is
    // the scene from before it.
    void LiftPage();
    void LayPage();
    // The page laid anew (another font or window frame from the menu): what
    // of it was shown is lifted, changed and laid again.
    void RelayPage(const std::function<void()>& change);
    // The choice's buttons, which stand on the back plane alone, shown and
    // taken off at its end.
    void ShowChoice();
    void EndChoice();
    // The back-log's pages over the window without the page, until it closes.
    void OpenBackLog();
    void CloseBackLog();

    // The whole screen plane to the window; the back plane as it stands; and
    // the latter for the window's own paint, unless it is under way.
    void Present();
    void PresentBack() { GetDraw().OnDraw(); }
    void Repaint();

    // Where the tag stands whose EFFECT named the pending transition's
    // picture: a picture it cannot have is said there.
    const CScriptError::Place& EffectPlace() const { return m_effectPlace; }
    // The frames of the pending transition from what the window shows to
    // the screen plane, with the EFFECT's picture keyed over the latter.
    std::unique_ptr<CTransitionFrames> StartTransition(EffectKind kind, Plane* picture,
                                                       kivotasuGameKit::CMersenneTwister& random);

    // A reset (a load, a restart) lifts the page and blinds the window to
    // black, nothing held or pending after; the end screen lays its picture
    // on white and blends it in.
    void BeginReset();
    void EndReset();
    void LayEndScreen(Plane* picture);
    // One step of a wipe from what the window shows to the screen plane.
    void Wipe(kivotasuGameKit::Draw::CTransitionWipe::Wipe& wipe, std::int32_t phase);

    // For the overlays that draw on the back plane and put back what they
    // cover from the screen plane (the wait cursor, a focused button), the
    // screen picture, and tests.
    kivotasuGameKit::CFastDraw& GetDraw() const { return *m_drawHolder.GetDraw(); }
    Plane& GetBackPlane() const { return GetDraw().m_secondary; }
    Plane& GetScreenPlane() { return m_screen; }

private:
    // The layers composed anew and the transition to them pending, with the
    // place of the tag when the effect is a picture.
    void Transit(const EffectChoice& effect);
    // The layers anew on the screen plane, the page lifted first (the
    // composition covers it; its saved areas would bring back the scene
    // before) and laid back where the text keeps its window.
    void Recompose();
    // The page lifted, changed and laid back as it was shown, unseen.
    void Relay(const std::function<void()>& change);
    // The page onto and off the screen plane; each marks its area.
    void LayFrames();
    void LiftFrames();
    void LayText();
    void LiftText();
    // Amid tags, the marked page to the window, as ShowPage says.
    void ShowPageAmidTags();
    // The marked page areas to the window.
    void ShowPageArea();
    void CreateScreenPlane();

    kivotasuGameKit::CDrawHolder m_drawHolder;
    Parts m_parts;
    Plane m_screen;
    TAG::CLock m_lock;
    // The scene on the screen plane is not the window's yet (a composition,
    // a function button): the next present brings it.
    bool m_sceneUnshown = false;
    // Where the page on the screen plane differs from the window.
    RECT m_pageUnshown{};
    CScriptError::Place m_effectPlace;
    bool m_repainting = false;
};
