#pragma once
// One button: a rectangle with up to three pictures (OFF, ON, PUSH) and what
// choosing it does: a function code named by its LABEL keyword, or a jump to
// its FILE and LABEL.

#include <array>
#include <cstdint>

#include <boost/shared_ptr.hpp>

#include "draw/effect/Geometry.h"
#include "script/dib/DIB32Ex.h"
#include "script/tag/Element.h"

namespace kivotasuGameKit { class CFastDraw; }

namespace TAG {

enum class ButtonKind : std::int32_t { Function = 1, Choice = 2 };

// The function code of a LABEL: its index among "_NULL" to "_WINDOW_HIDE",
// 13 (a jump) for any other label.
std::int32_t ButtonCode(const kivotasuGameKit::CTextString& label);
inline constexpr std::int32_t JumpCode = 13;

class CButtonElement : public IElement {
public:
    using CTextString = kivotasuGameKit::CTextString;
    using RECT = kivotasuGameKit::RECT;
    using Plane = kivotasuGameKit::Draw::CPlaneBase;
    enum State { Off = 0, On = 1, Push = 2 };

    CButtonElement(ButtonKind kind, const CTextString& name);

    // FILE when given; a LABEL given sets the label and the code.
    void ParseTargetLabel(const CTagAttributes& record);
    // "OFF", "ON" or "PUSH"; EScript for any other word.
    void SetState(const CTextString& word);
    // The PAINT inside the button: a new picture for the current state.
    void Parse(CTagAttributes& record) override;
    // The current state's picture, made blank (for a PASTE) when missing.
    DIB::CDIB32Ex* GetPicture() override;
    bool IsNamed(const CTextString& name) const override { return m_name == name; }
    // Clears the record but for the button's FILE and LABEL.
    void ParseTarget(CTagAttributes& record) const;
    // The BEGINBUTTON block that rebuilds the button; nothing for a choice
    // item's button, which its WRITE item rebuilds.
    void Write(kivotasuGameKit::CTextFileWriter& writer) override;

    // The highlighted picture's area restored from the clean plane, then OFF
    // drawn; or the other way round.
    void DrawOff(kivotasuGameKit::CFastDraw& draw, Plane& clean, bool pushed);
    void DrawOn(kivotasuGameKit::CFastDraw& draw, Plane& clean, bool pushed);
    void DrawOffOnto(Plane& target);
    // Every picture's area restored from the clean plane.
    void Erase(kivotasuGameKit::CFastDraw& draw, Plane& clean);

    bool Holds(std::int32_t x, std::int32_t y) const
    {
        return m_rect.left <= x && x < m_rect.right && m_rect.top <= y && y < m_rect.bottom;
    }
    ButtonKind GetKind() const { return m_kind; }
    // Made from a WRITE item of a choice.
    void MarkItem() { m_item = true; }
    bool IsItem() const { return m_item; }
    std::int32_t GetCode() const { return m_code; }
    const RECT& GetRect() const { return m_rect; }
    void SetRect(const RECT& rect) { m_rect = rect; }
    void SetPicture(State state, boost::shared_ptr<DIB::CDIB32Ex> picture) { m_pictures[state] = std::move(picture); }
    DIB::CDIB32Ex* PictureOf(State state) const { return m_pictures[state].get(); }
    const CTextString& GetFile() const { return m_file; }
    const CTextString& GetLabel() const { return m_label; }

private:
    // PUSH when pushed and present, else ON when present, else OFF.
    DIB::CDIB32Ex* Highlight(bool pushed) const;

    CTextString m_name;
    std::array<boost::shared_ptr<DIB::CDIB32Ex>, 3> m_pictures;
    ButtonKind m_kind;
    bool m_item = false;
    State m_state = Off;
    std::int32_t m_code = JumpCode;
    RECT m_rect{0, 0, 0, 0};
    CTextString m_file;
    CTextString m_label;
};

} // namespace TAG
