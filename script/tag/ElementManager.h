#pragma once
// The base of every element family's manager: the family's elements in
// creation order and its defaults (PATH, EFFECT, CONTROL) that its DEFAULT
// tag sets. Elements are found by NAME and made on first use.

#include <cstdint>
#include <list>

#include <boost/shared_ptr.hpp>

#include "frame/TextString.h"
#include "script/lang/EffectChoice.h"
#include "script/lang/TagTables.h"
#include "script/tag/Element.h"

class CTagAttributes;
namespace kivotasuGameKit { class CTextFileWriter; }
namespace kivotasuGameKit::Draw { class CFastPlane; }
namespace DIB { class CDIB32Ex; }

namespace TAG {

class CElementManager {
public:
    using CTextString = kivotasuGameKit::CTextString;
    using Plane = kivotasuGameKit::Draw::CFastPlane;
    using ElementList = std::list<boost::shared_ptr<IElement>>;
    using Position = ElementList::iterator;

    virtual ~CElementManager() = default;

    // CONTROL and PATH back to their start, every element released; EFFECT stays.
    virtual void Reset();
    virtual void WriteDefault(kivotasuGameKit::CTextFileWriter& writer, const char* tagName) const;
    // The element tag: the element of the tag's NAME, made when missing,
    // parses the tag with the family's PATH in place of the tag's own.
    virtual void SetElement(CTagAttributes& record);
    // END, ENDALL, SHOW and HIDE; the named element must exist (EScript).
    virtual void RemoveElement(const CTagAttributes& record);
    virtual void RemoveAll();
    virtual void ShowElement(const CTagAttributes& record);
    virtual void HideElement(const CTagAttributes& record);
    virtual void ParseDefault(CTagAttributes& record);
    virtual ControlStyle GetControl() const { return m_control; }
    virtual const EffectChoice& GetEffect() const { return m_effect; }
    virtual DIB::CDIB32Ex* GetPicture(const CTextString& name);
    virtual DIB::CDIB32Ex* GetFirstPicture();
    virtual void DrawAll(Plane& target);
    // An empty name: the first element, or a new one named "1".
    virtual Position FindOrCreate(const CTextString& name);
    // The end when the family makes no element.
    virtual Position CreateElement(const CTextString& name);
    virtual IElement* NewElement(const CTextString& name);
    // EScript for an empty name, and for an unknown one when it must exist.
    virtual Position FindNamed(const CTextString& name, bool mustExist);
    virtual Position Find(const CTextString& name);

    bool IsControlTRH() const { return GetControl() == ControlStyle::Trh; }
    bool IsControlTRH2() const { return GetControl() == ControlStyle::Trh2; }
    bool IsControlTRH3() const { return GetControl() == ControlStyle::Trh3; }
    bool IsControlWhiteAlbum() const { return GetControl() == ControlStyle::WhiteAlbum; }

    const CTextString& GetPath() const { return m_path; }
    Position End() { return m_elements.end(); }
    ElementList& GetElements() { return m_elements; }

private:
    ElementList m_elements;
    CTextString m_path;
    EffectChoice m_effect;
    ControlStyle m_control = ControlStyle::None;
};

} // namespace TAG
