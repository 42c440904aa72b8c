#pragma once
// CUT: the one picture cut out of a file, which PASTE draws into others.

#include "script/dib/DIB32Ex.h"
#include "script/tag/ElementManager.h"

namespace TAG {

class CCutElement : public IElement {
public:
    void Write(kivotasuGameKit::CTextFileWriter& writer) override { m_picture.Write(writer); }
    // A new cut replaces the old one whole.
    void Parse(CTagAttributes& record) override;
    bool IsNamed(const kivotasuGameKit::CTextString& name) const override { return m_picture.IsNamed(name); }
    DIB::CDIB32Ex* GetPicture() override { return &m_picture; }

private:
    DIB::CDIB32Ex m_picture;
};

class CCutManager : public CElementManager {
public:
    void SetElement(CTagAttributes& record) override;
    // DEFAULTCUT only: the cut itself is rebuilt by the CUT lines of the
    // pictures pasted into.
    void WriteAll(kivotasuGameKit::CTextFileWriter& writer) { WriteDefault(writer, "DEFAULTCUT"); }
};

} // namespace TAG
