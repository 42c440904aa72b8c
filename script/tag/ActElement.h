#pragma once
// ACT: the character pictures, found by NAME. An ACT made while the family's
// CONTROL is "TRH2" also keeps a second picture from the SUBFILE attribute.

#include <boost/shared_ptr.hpp>

#include "script/dib/DIB32Ex.h"
#include "script/tag/ElementManager.h"

namespace TAG {

class CActElement : public IElement {
public:
    CActElement(const kivotasuGameKit::CTextString& name, bool subfileAllowed);

    void Write(kivotasuGameKit::CTextFileWriter& writer) override;
    void Parse(CTagAttributes& record) override;
    void Hide() override;
    void Show() override;
    bool IsNamed(const kivotasuGameKit::CTextString& name) const override { return m_picture.IsNamed(name); }
    DIB::CDIB32Ex* GetPicture() override { return &m_picture; }
    DIB::CDIB32Ex* GetSubPicture() const { return m_subPicture.get(); }

private:
    DIB::CDIB32Ex m_picture;
    bool m_subfileAllowed;
    boost::shared_ptr<DIB::CDIB32Ex> m_subPicture;
};

class CActManager : public CElementManager {
public:
    IElement* NewElement(const CTextString& name) override;
    // DEFAULTACT, then every ACT.
    void WriteAll(kivotasuGameKit::CTextFileWriter& writer);
};

} // namespace TAG
