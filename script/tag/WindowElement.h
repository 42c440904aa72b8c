#pragma once
// One frame of the message window: a frame picture with an optional backdrop,
// either a FADEWINDOW picture that tints the screen behind it or a plain
// rectangle darkened on the screen.

#include <cstdint>

#include <boost/shared_ptr.hpp>

#include "script/dib/DIB32Ex.h"
#include "script/tag/Element.h"

namespace TAG {

class CWindowElement : public IElement {
public:
    using CTextString = kivotasuGameKit::CTextString;
    using RECT = kivotasuGameKit::RECT;
    using Plane = kivotasuGameKit::Draw::CPlaneBase;

    explicit CWindowElement(const CTextString& name);

    void Write(kivotasuGameKit::CTextFileWriter& writer) override;
    // WINDOW: the frame picture parses the tag.
    void Parse(CTagAttributes& record) override { m_frame.Parse(record); }
    void Hide() override { m_frame.SetVisible(false); }
    void Show() override { m_frame.SetVisible(true); }
    bool IsNamed(const CTextString& name) const override { return m_frame.IsNamed(name); }
    DIB::CDIB32Ex* GetPicture() override { return &m_frame; }

    // FADEWINDOW: a new backdrop picture when FILE is given, and the rectangle.
    void ParseFade(CTagAttributes& record);
    RECT GetWindowRect();
    // The window rectangle together with the frame picture.
    RECT GetBounds();
    // The backdrop in colour, then the frame.
    void DrawWindow(Plane& target, std::uint32_t colour);

private:
    DIB::CDIB32Ex m_frame;
    boost::shared_ptr<DIB::CDIB32Ex> m_fade;
    RECT m_rect;
};

// The smallest rectangle holding both; an empty rectangle adds nothing.
kivotasuGameKit::RECT UnionRect(const kivotasuGameKit::RECT& a, const kivotasuGameKit::RECT& b);

} // namespace TAG
