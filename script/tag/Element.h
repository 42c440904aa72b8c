#pragma once
// One element of a visual tag family: it applies the tag that names it and
// writes itself back as the tag that recreates it.

#include "frame/TextString.h"

class CTagAttributes;
namespace kivotasuGameKit { class CTextFileWriter; }
namespace DIB { class CDIB32Ex; }

namespace TAG {

class IElement {
public:
    virtual ~IElement() = default;
    virtual void Write(kivotasuGameKit::CTextFileWriter& writer) = 0;
    virtual void Parse(CTagAttributes& record) = 0;
    virtual void Hide() {}
    virtual void Show() {}
    virtual bool IsNamed(const kivotasuGameKit::CTextString& name) const = 0;
    virtual DIB::CDIB32Ex* GetPicture() { return nullptr; }
};

} // namespace TAG
