#pragma once
// VISUAL: one full-screen picture that, while it is loaded, is drawn in place
// of every other layer. The family never holds more than one.

#include "script/dib/DIB32Ex.h"
#include "script/tag/ElementManager.h"

namespace TAG {

class CVisualElement : public IElement {
public:
    void Write(kivotasuGameKit::CTextFileWriter& writer) override;
    void Parse(CTagAttributes& record) override;
    bool IsNamed(const kivotasuGameKit::CTextString& name) const override { return m_picture.IsNamed(name); }
    DIB::CDIB32Ex* GetPicture() override { return &m_picture; }

private:
    DIB::CDIB32Ex m_picture;
};

class CVisualManager : public CElementManager {
public:
    // Whatever its NAME, the tag works on the one visual.
    void SetElement(CTagAttributes& record) override;
    // True while a visual picture is loaded: the other layers stand aside.
    bool IsShowing();
    // DEFAULTVISUAL, then the visual.
    void WriteAll(kivotasuGameKit::CTextFileWriter& writer);
};

} // namespace TAG
