#pragma once
// Buttons and the buttons of choices. Until the button elements exist, only
// the BEGINBUTTON block is tracked (PAINT and SOUND behave differently inside
// it and ENDBUTTON needs it), nothing is drawn, and every press falls outside
// the buttons.

#include <cstdint>

#include "script/engine/FrameInput.h"
#include "script/tag/ElementManager.h"

namespace kivotasuGameKit { class CKeyInput; }

namespace TAG {

class CButtonManager : public CElementManager {
public:
    void Reset() override;

    void Begin(const CTagAttributes&) { m_inside = true; }
    // Throws EScript outside a BEGINBUTTON block.
    void End();
    bool IsInside() const { return m_inside; }
    void ParseState(const CTagAttributes&) {}

    void BeginSelect() {}
    void AddSelectButton(const CTagAttributes&) {}
    void EndSelect() {}
    // The chosen item's target into the record.
    void ParseCurrentTarget(CTagAttributes&) {}

    // The frame's input (one snapshot per frame); a choice sets event 13.
    // Until buttons exist every press falls outside them, and a left press
    // or Enter is input event 1. True when an event was set.
    bool Update(const CFrameInput& input, kivotasuGameKit::CKeyInput& keys);
    void DrawFunctionButtons(Plane&) {}
    // The picture a PASTE inside BEGINBUTTON goes to.
    DIB::CDIB32Ex* GetCurrentPicture() { return nullptr; }
    void WriteAll(kivotasuGameKit::CTextFileWriter&) const {}

private:
    bool m_inside = false;
};

} // namespace TAG
