#pragma once
// BACK: the background, a colour that fills the screen and at most one picture
// over it. A BACK with COLOR starts a new picture.

#include <cstdint>

#include "script/dib/DIB32Ex.h"
#include "script/tag/ElementManager.h"

namespace TAG {

class CBackElement : public IElement {
public:
    // The picture's attributes only: the manager writes the tag around them.
    void Write(kivotasuGameKit::CTextFileWriter& writer) override { m_picture.Write(writer); }
    void Parse(CTagAttributes& record) override;
    void Hide() override { m_picture.SetVisible(false); }
    void Show() override { m_picture.SetVisible(true); }
    bool IsNamed(const kivotasuGameKit::CTextString& name) const override { return m_picture.IsNamed(name); }
    DIB::CDIB32Ex* GetPicture() override { return &m_picture; }

private:
    DIB::CDIB32Ex m_picture;
};

class CBackManager : public CElementManager {
public:
    void Reset() override;
    void SetElement(CTagAttributes& record) override;
    // The whole target in the background colour, then the picture.
    void DrawAll(Plane& target) override;
    // DEFAULTBACK, then the BACK line of the colour and the picture.
    void WriteAll(kivotasuGameKit::CTextFileWriter& writer);

    std::uint32_t GetColor() const { return m_color; }

private:
    std::uint32_t m_color = 0;
};

} // namespace TAG
