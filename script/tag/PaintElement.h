#pragma once
// PAINT: further pictures, found by NAME; a PAINT with BODY shows that line of
// text over a copy of the screen behind it.

#include "script/dib/DIB32Ex.h"
#include "script/tag/ElementManager.h"

namespace TAG {

class CText;
class CPaintManager;

class CPaintElement : public IElement {
public:
    CPaintElement(const kivotasuGameKit::CTextString& name, const CPaintManager& owner);

    // A BODY line goes back as the text settings it was drawn with and the
    // PAINT that draws it again.
    void Write(kivotasuGameKit::CTextFileWriter& writer) override;
    void Parse(CTagAttributes& record) override;
    void Hide() override { m_picture.SetVisible(false); }
    void Show() override { m_picture.SetVisible(true); }
    bool IsNamed(const kivotasuGameKit::CTextString& name) const override { return m_picture.IsNamed(name); }
    DIB::CDIB32Ex* GetPicture() override { return &m_picture; }
    // Whether a replay of Write can make the picture again: one from a file,
    // from pastes or from a BODY line.
    bool CanRebuild() const;

private:
    void DrawBody(CTagAttributes& record);

    DIB::CDIB32Ex m_picture;
    const CPaintManager& m_owner;
    // The BODY line the pixels came from, and the text settings it was drawn
    // with; empty once a FILE or a size replaced them.
    kivotasuGameKit::CTextString m_body;
    kivotasuGameKit::CTextString m_look;
};

class CPaintManager : public CElementManager {
public:
    // The text whose character size and drawing serve the BODY texts.
    void SetText(CText* text) { m_text = text; }
    CText* GetText() const { return m_text; }
    // While set, a BODY line is drawn over this plane's pixels rather than
    // over the screen's.
    void SetBackdrop(Plane* backdrop) { m_backdrop = backdrop; }
    Plane* GetBackdrop() const { return m_backdrop; }

    IElement* NewElement(const CTextString& name) override;
    // DEFAULTPAINT, then every PAINT whose picture a replay can rebuild.
    void WriteAll(kivotasuGameKit::CTextFileWriter& writer);

private:
    CText* m_text = nullptr;
    Plane* m_backdrop = nullptr;
};

} // namespace TAG
