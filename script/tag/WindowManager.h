#pragma once
// The frames of the message window. One window is current (BEGINWINDOW or
// the speaker split of the message handler chooses it); the manager draws it
// (and for "TRH2" a second one) behind the message, keeps the screen under
// the windows in its work plane so hiding restores it, and writes the family
// back as tag text. The family's CONTROL style decides how windows are drawn.

#include <cstdint>

#include "draw/FastPlane.h"
#include "script/tag/ElementManager.h"

namespace TAG {

class CText;
class CWindowElement;

class CWindowManager : public CElementManager {
public:
    using RECT = kivotasuGameKit::RECT;

    CWindowManager();

    // The text whose window is hidden under the frames and whose speaker name they show.
    void SetText(CText* text) { m_text = text; }

    void Reset() override;
    // WINDOW: the window is made or changed, and the first window becomes current.
    void SetElement(CTagAttributes& record) override;
    IElement* NewElement(const CTextString& name) override;
    // FADEWINDOW: the named window (it must exist) gets its backdrop.
    void OnFadeWindow(CTagAttributes& record);
    // BEGINWINDOW: NAME is the window number.
    void SetIndex(const CTagAttributes& record);
    void SetCurrentWindow(std::int32_t number);
    // "TRH2" and "WHITEALBUM" go back to window 0 at a new page.
    void ResetIndex();
    // The window n steps from the first becomes current; the screen is saved anew.
    void SelectWindow(std::int32_t n);

    // Draws the windows in colour onto the plane, saving what lies under
    // them; true when a window was drawn.
    bool Draw(Plane& target, std::uint32_t colour);
    // Restores what lay under the windows; true when they were shown.
    bool Hide(Plane& target);
    bool IsShown() const { return m_shown != 0; }
    // True when n windows lie before the current one.
    bool IsWindowCount(std::int32_t n);
    // The area the windows cover, (screen width, screen height, 0, 0) for none.
    RECT GetArea();
    // The work plane follows the screen size.
    void ResizeWorkPlane(std::int32_t width, std::int32_t height);
    // The composition redrew the screen: the next draw saves it anew.
    void Invalidate() { m_saveNeeded = 1; }

    void WriteAll(kivotasuGameKit::CTextFileWriter& writer);
    std::int32_t GetWindowNumber() const { return m_number; }

private:
    // The position n steps from the first, through the list and its end as a ring.
    Position Nth(std::int32_t n);
    CWindowElement& Window(Position position);

    Plane m_work;
    std::uint8_t m_saveNeeded = 1;
    std::uint8_t m_changed = 0;
    std::uint8_t m_shown = 0;
    CText* m_text = nullptr;
    Position m_current;
    Position m_second;
    std::int32_t m_number = 0;
};

} // namespace TAG
