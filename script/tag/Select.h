#pragma once
// The choice block: the WRITE tags between SELECT and ENDSELECT become items,
// each with the target FILE and LABEL that choosing it jumps to.

#include <cstdint>
#include <list>

#include <boost/shared_ptr.hpp>

#include "frame/TextString.h"

class CTagAttributes;
namespace kivotasuGameKit { class CTextFileWriter; }

namespace TAG {

class CButtonManager;

struct CSelectElement {
    kivotasuGameKit::CTextString body;
    kivotasuGameKit::CTextString file;
    kivotasuGameKit::CTextString label;
};

class CSelect {
public:
    virtual ~CSelect() = default;

    // Throws EScript when a block is open already.
    void Begin();
    void AddItem(const CTagAttributes& record);
    // Throws EScript outside a block or for a block without items.
    void End();
    void Reset();
    // Items made by buttons alone count too.
    void MarkHasItems() { m_hasItems = 1; }
    // The open block as SELECT, its WRITE items and BEGINBUTTON blocks in
    // the order the block gave them, and an ENDSELECT left open; or a JUMP
    // left open when no block is open. The save writer closes the tag.
    void Write(kivotasuGameKit::CTextFileWriter& writer, CButtonManager& buttons) const;

    bool IsInside() const { return m_inside != 0; }
    bool HasItems() const { return m_hasItems != 0; }
    // Items made by WRITE tags (not by buttons).
    bool HasTextItems() const { return m_itemAdded != 0; }
    const std::list<boost::shared_ptr<CSelectElement>>& GetItems() const { return m_items; }

private:
    std::list<boost::shared_ptr<CSelectElement>> m_items;
    std::uint8_t m_hasItems = 0;
    std::uint8_t m_inside = 0;
    std::uint8_t m_itemAdded = 0;
};

} // namespace TAG
