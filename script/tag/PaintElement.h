#pragma once
// PAINT: further pictures, found by NAME; a PAINT with BODY shows that line of
// text over a copy of the screen behind it.

#include "script/dib/DIB32Ex.h"
#include "script/tag/ElementManager.h"

namespace TAG {

class CText;

class CPaintElement : public IElement {
public:
    CPaintElement(const kivotasuGameKit::CTextString& name, CText* text);

    void Write(kivotasuGameKit::CTextFileWriter& writer) override;
    void Parse(CTagAttributes& record) override;
    void Hide() override { m_picture.SetVisible(false); }
    void Show() override { m_picture.SetVisible(true); }
    bool IsNamed(const kivotasuGameKit::CTextString& name) const override { return m_picture.IsNamed(name); }
    DIB::CDIB32Ex* GetPicture() override { return &m_picture; }

private:
    void DrawBody(CTagAttributes& record);

    DIB::CDIB32Ex m_picture;
    CText* m_text;
};

class CPaintManager : public CElementManager {
public:
    // The text whose character size and drawing serve the BODY texts.
    void SetText(CText* text) { m_text = text; }

    IElement* NewElement(const CTextString& name) override;
    // DEFAULTPAINT, then every PAINT whose picture a replay can rebuild: one
    // from a file or from pastes (a line of text over the screen cannot be).
    void WriteAll(kivotasuGameKit::CTextFileWriter& writer);

private:
    CText* m_text = nullptr;
};

} // namespace TAG
