#include "script/tag/Select.h"

#include "frame/EScript.h"
#include "frame/file/FileWriter.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/ButtonManager.h"

using kivotasuGameKit::CTextString;

namespace TAG {

void CSelect::Begin()
{
    if (m_inside) throw EScript(CTextString("SELECTがネストしています。"));
    m_inside = 1;
}

void CSelect::AddItem(const CTagAttributes& record)
{
    auto item = boost::shared_ptr<CSelectElement>(new CSelectElement{record.GetBody(), record.GetFile(), record.GetLabel()});
    m_items.push_back(item);
    m_hasItems = 1;
    m_itemAdded = 1;
}

void CSelect::End()
{
    if (!m_inside) throw EScript(CTextString("対応するSELECTのないENDSELECTが現れました。"));
    if (!m_hasItems) throw EScript(CTextString("選択すべき項目がひとつもありません。"));
}

void CSelect::Reset()
{
    m_items.clear();
    m_hasItems = 0;
    m_inside = 0;
    m_itemAdded = 0;
}

void CSelect::Write(kivotasuGameKit::CTextFileWriter& writer, CButtonManager& buttons) const
{
    if (!m_inside) {
        writer.Write(CTextString("[JUMP"));
        return;
    }
    CTextString text("\n[SELECT]\n");
    const auto writeItem = [&](const CSelectElement& item) {
        text += CTextString("[WRITE");
        AppendSavedAttribute(text, "BODY", item.body);
        if (!item.file.IsEmpty()) AppendSavedAttribute(text, "FILE", item.file);
        if (!item.label.IsEmpty()) AppendSavedAttribute(text, "LABEL", item.label);
        text += CTextString("]\n");
    };
    // Each item made one choice button, which its WRITE tag makes again; the
    // other choice buttons came from BEGINBUTTON blocks inside the choice.
    auto item = m_items.begin();
    for (const auto& element : buttons.GetElements()) {
        auto& button = static_cast<CButtonElement&>(*element);
        if (button.GetKind() != ButtonKind::Choice) continue;
        if (!button.IsItem()) {
            writer.Write(text);
            text = CTextString();
            button.Write(writer);
        } else if (item != m_items.end()) {
            writeItem(**item++);
        }
    }
    for (; item != m_items.end(); ++item) writeItem(**item);
    text += CTextString("[ENDSELECT");
    writer.Write(text);
}

} // namespace TAG
