#pragma once
// The buttons: function buttons that BEGINBUTTON defines and that stay until
// a reset, and the buttons of the items of an open SELECT. Once a frame in the
// waits the manager follows the mouse and the arrow keys, shows the focused
// button ON (PUSH while the left button is held on it) and reports a choice as
// the input event.

#include <cstdint>
#include <vector>

#include "script/engine/FrameInput.h"
#include "script/lang/ScriptError.h"
#include "script/tag/ButtonElement.h"
#include "script/tag/ElementManager.h"

class CMouseCursor;
namespace kivotasuGameKit { class CFastDraw; class CKeyInput; }

namespace TAG {

class CText;

class CButtonManager : public CElementManager {
public:
    // The text that lays out and draws the choice items, and the mouse that
    // the arrow keys move.
    void SetText(CText* text) { m_text = text; }
    void SetMouse(CMouseCursor* mouse) { m_mouse = mouse; }

    void Reset() override;
    // Every button is new: names may repeat, and a function button needs one
    // (EScript).
    Position FindOrCreate(const CTextString& name) override;
    IElement* NewElement(const CTextString& name) override;

    // BEGINBUTTON, ENDBUTTON, BUTTON, and the PAINT inside the block.
    void Begin(const CTagAttributes& record);
    // EScript without BEGINBUTTON. The button closed is no one's focus, so a
    // wait's first update draws nothing; the OFF picture of a function
    // button, null for a choice's button or one without it.
    DIB::CDIB32Ex* End();
    bool IsInside() const { return m_open != 0; }
    void ParseState(const CTagAttributes& record);
    void SetElement(CTagAttributes& record) override;

    // SELECT, each of its WRITE items, and the end of the choice. An item is
    // drawn over what the page plane holds under it: the page as laid, which
    // a LOCK keeps off the window until the choice shows it. Items past the
    // text window's last line are said once, at the SELECT.
    void BeginSelect();
    void AddSelectButton(const CTagAttributes& item, Plane& page);
    void EndSelect();
    // The focused button's target into the record.
    void ParseCurrentTarget(CTagAttributes& record);
    // The focused button (the one chosen) is a function button.
    bool IsFunctionFocused();

    // The picture the PASTE inside BEGINBUTTON goes to.
    DIB::CDIB32Ex* GetFirstPicture() override;
    // The function buttons defined so far stand on the screen plane (the
    // composition drew them, or their ENDBUTTON outside a LOCK). The windows
    // draw those alone over their frames: the ones a LOCK defines wait for
    // the composition of its UNLOCK.
    void MarkFunctionButtonsDrawn();
    // The screen plane reached the window: its function buttons are shown,
    // and only a shown button answers the mouse and the keys.
    void MarkFunctionButtonsShown() { m_functionsShown = m_functionsDrawn; }
    // A LOCK holds the buttons drawn but not yet shown with the rest of what
    // it holds: the windows leave them off their frames until the UNLOCK.
    void HoldBackUnshown() { m_functionsDrawn = m_functionsShown; }
    void DrawFunctionButtons(Plane& target);
    void DrawAll(Plane& target) override;
    // The open choice's buttons, which stand on the back plane alone, and
    // their areas on it given back from the clean plane.
    void DrawChoiceButtons(Plane& target);
    void EraseChoiceButtons(kivotasuGameKit::CFastDraw& draw, Plane& clean);
    // One frame of input; true when an event was set (a click beside every
    // button is event 1, a chosen button's code is the event).
    bool Update(kivotasuGameKit::CFastDraw& draw, Plane& clean, const CFrameInput& input,
                kivotasuGameKit::CKeyInput& keys);
    // The defaults and the function buttons; a choice's buttons are written
    // with its block.
    void WriteAll(kivotasuGameKit::CTextFileWriter& writer);

    Position GetFocus() { return m_current; }
    std::int32_t GetSelectMode() const { return m_selectMode; }

private:
    enum SelectMode : std::int32_t { Normal = 0, ChoiceOnly = 1, ChoiceButtons = 2 };

    static CButtonElement& ButtonAt(Position position);
    template <class Act> void ForEachChoiceButton(Act act);
    bool Counts(Position position);
    // Each button that answers input, in list order.
    template <class Act> void ForEachAnswering(Act act);
    Position HitAt(std::int32_t x, std::int32_t y);
    // The arrow keys' move from the focus, wrapping; End() when none was pushed.
    Position KeyMove(kivotasuGameKit::CKeyInput& keys);
    // The buttons that a key move may reach, in list order: the choice
    // buttons while there are any.
    std::vector<Position> Reachable();

    Position m_current = CElementManager::End();
    Position m_pressed = CElementManager::End();
    std::uint8_t m_open = 0;
    ButtonKind m_kind = ButtonKind::Function;
    std::int32_t m_selectMode = Normal;
    std::uint8_t m_pressFlag = 0;
    CText* m_text = nullptr;
    CMouseCursor* m_mouse = nullptr;
    std::int32_t m_selectCount = 0;
    CScriptError::Place m_selectPlace;
    // The first function buttons, in the order defined, that the screen plane
    // holds (less those a LOCK holds back), and of those the first that the
    // window shows.
    std::size_t m_functionsDrawn = 0;
    std::size_t m_functionsShown = 0;
};

} // namespace TAG
