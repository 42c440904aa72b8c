#pragma once
// Animations: a picture used as a sheet of frames, each a rectangle of it,
// shown one after another at one place for TIME ms each. Those named "C",
// "L" and "P" are the wait cursors of the click waits, drawn straight onto
// the screen manager's back plane with only their rectangle presented.

#include <cstdint>
#include <vector>

#include "script/dib/DIB32Ex.h"
#include "script/tag/ElementManager.h"

namespace kivotasuGameKit { class CFastDraw; }

namespace TAG {

class CAnimateElement : public IElement {
public:
    using RECT = kivotasuGameKit::RECT;

    explicit CAnimateElement(const kivotasuGameKit::CTextString& name) : m_picture(name) {}

    // BEGINANIMATE: the picture, and TIME when given.
    void Parse(CTagAttributes& record) override;
    // ANIMATE: one more frame; the animation starts again at its first.
    void AddFrame(const RECT& frame);
    bool IsNamed(const kivotasuGameKit::CTextString& name) const override { return m_picture.IsNamed(name); }
    DIB::CDIB32Ex* GetPicture() override { return &m_picture; }
    void Write(kivotasuGameKit::CTextFileWriter& writer) override;

    // The current frame, null when there is none; Step moves to the next, round.
    const RECT* CurrentFrame() const { return m_frames.empty() ? nullptr : &m_frames[m_cursor]; }
    void Step() { m_cursor = m_frames.empty() ? 0 : (m_cursor + 1) % m_frames.size(); }
    std::int32_t GetTime() const { return m_time; }
    const std::vector<RECT>& GetFrames() const { return m_frames; }

private:
    std::vector<RECT> m_frames;
    std::size_t m_cursor = 0;
    DIB::CDIB32Ex m_picture;
    std::int32_t m_time = 100;
};

class CAnimateManager : public CElementManager {
public:
    using RECT = kivotasuGameKit::RECT;
    using POINT = kivotasuGameKit::POINT;

    void Reset() override;
    IElement* NewElement(const CTextString& name) override;
    // BEGINANIMATE makes or changes the animation of its NAME.
    void Begin(CTagAttributes& record) { CElementManager::SetElement(record); }
    // ANIMATE: a frame (X, Y, WIDTH, HEIGHT; missing numbers count as 0) for
    // an animation that must exist (EScript).
    void SetElement(CTagAttributes& record) override;

    // The wait cursor of a click-wait tag of kind 0 (C), 1 (L) or 2 (P): the
    // animation of that name or of a later kind; VIEW 0 hides it.
    void ParseView(const CTagAttributes& record, int waitKind);
    // The cursor stands where its picture is placed, or at the point when the
    // picture is placed by keyword.
    void SetPosition(POINT at);
    // TIME of the current animation, 0 without one.
    std::uint32_t GetTime();
    // One step: the current frame drawn onto the back plane and shown, then
    // the back plane cleaned again from the clean plane.
    void Draw(kivotasuGameKit::CFastDraw& draw, Plane& clean);
    // The current frame's area shown again (the screen under the cursor
    // changed); shows the cursor again when it was hidden.
    void Refresh(kivotasuGameKit::CFastDraw& draw);
    // DEFAULTANIMATE, then every animation.
    void WriteAll(kivotasuGameKit::CTextFileWriter& writer);

    bool IsShown() const { return m_shown != 0; }
    POINT GetPosition() const { return m_position; }
    CAnimateElement* GetCurrent();

private:
    // The frame's rectangle at the cursor's place.
    RECT PlacedFrame(const RECT& frame) const;

    Position m_current = End();
    std::uint8_t m_shown = 1;
    POINT m_position{0, 0};
};

} // namespace TAG
