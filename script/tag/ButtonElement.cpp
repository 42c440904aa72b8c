#include "script/tag/ButtonElement.h"

#include <algorithm>

#include "draw/FastDraw.h"
#include "frame/EScript.h"
#include "frame/file/FileWriter.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TagAttributes.h"

using kivotasuGameKit::CTextString;

namespace TAG {

namespace {

constexpr std::array<const char*, 15> LabelKeywords = {
    "_NULL",         "_DECIDE",          "_DECIDE_AUTO",      "_GAME_END",  "_LOG_HEAD",
    "_LOG_TAIL",     "_LOG_BACK",        "_LOG_BACK_ZERO",    "_LOG_FORWARD", "_LOG_FORWARD_ZERO",
    "_QUICKSAVE",    "_QUICKLOAD",       "_SKIP_FAST",        "_SELECT",    "_WINDOW_HIDE"};

constexpr std::array<const char*, 3> StateWords = {"OFF", "ON", "PUSH"};

} // namespace

std::int32_t ButtonCode(const CTextString& label)
{
    for (std::size_t code = 0; code < LabelKeywords.size(); ++code)
        if (label.GetStr() == LabelKeywords[code]) return std::int32_t(code);
    return JumpCode;
}

CButtonElement::CButtonElement(ButtonKind kind, const CTextString& name) : m_name(name), m_kind(kind) {}

void CButtonElement::ParseTargetLabel(const CTagAttributes& record)
{
    if (!record.GetFile().IsEmpty()) m_file = record.GetFile();
    if (record.GetLabel().IsEmpty()) return;
    m_label = record.GetLabel();
    m_code = ButtonCode(m_label);
}

void CButtonElement::SetState(const CTextString& word)
{
    for (std::size_t state = 0; state < StateWords.size(); ++state) {
        if (word.GetStr() == StateWords[state]) {
            m_state = State(state);
            return;
        }
    }
    throw EScript(CTextString("ボタンの種類が正しく指定されていません。OFF,ON,PUSHのいずれかを指定して下さい。"));
}

void CButtonElement::Parse(CTagAttributes& record)
{
    boost::shared_ptr<DIB::CDIB32Ex> picture(new DIB::CDIB32Ex(CTextString(StateWords[m_state])));
    picture->Parse(record);
    // The button's pictures stand on its rectangle, wherever the tag put them.
    picture->MoveTo({m_rect.left, m_rect.top});
    m_pictures[m_state] = picture;
}

DIB::CDIB32Ex* CButtonElement::GetPicture()
{
    boost::shared_ptr<DIB::CDIB32Ex>& picture = m_pictures[m_state];
    if (!picture) picture.reset(new DIB::CDIB32Ex(CTextString(StateWords[m_state])));
    picture->MoveTo({m_rect.left, m_rect.top});
    return picture.get();
}

void CButtonElement::ParseTarget(CTagAttributes& record) const
{
    record.Clear();
    record.SetValue(TagAttributeKey::File, m_file);
    record.SetValue(TagAttributeKey::Label, m_label);
}

DIB::CDIB32Ex* CButtonElement::Highlight(bool pushed) const
{
    if (pushed && m_pictures[Push]) return m_pictures[Push].get();
    if (m_pictures[On]) return m_pictures[On].get();
    return m_pictures[Off].get();
}

void CButtonElement::DrawOffOnto(Plane& target)
{
    if (m_pictures[Off]) m_pictures[Off]->Draw(target);
}

void CButtonElement::DrawOff(kivotasuGameKit::CFastDraw& draw, Plane& clean, bool pushed)
{
    if (DIB::CDIB32Ex* shown = Highlight(pushed)) shown->RestoreBehind(draw, clean);
    DrawOffOnto(draw.m_secondary);
}

void CButtonElement::DrawOn(kivotasuGameKit::CFastDraw& draw, Plane& clean, bool pushed)
{
    if (m_pictures[Off]) m_pictures[Off]->RestoreBehind(draw, clean);
    if (DIB::CDIB32Ex* shown = Highlight(pushed)) shown->Draw(draw.m_secondary);
}

void CButtonElement::Erase(kivotasuGameKit::CFastDraw& draw, Plane& clean)
{
    for (const auto& picture : m_pictures)
        if (picture) picture->RestoreBehind(draw, clean);
}

void CButtonElement::Write(kivotasuGameKit::CTextFileWriter& writer)
{
    if (m_item) return;
    CTextString head("[BEGINBUTTON");
    AppendSavedAttribute(head, "NAME", m_name);
    head.AppendAttribute("X", m_rect.left);
    head.AppendAttribute("Y", m_rect.top);
    // In 64 bits: a script's rectangle may span the whole int range.
    const auto extent = [](std::int32_t from, std::int32_t to) {
        return int(std::clamp<std::int64_t>(std::int64_t(to) - from, 0, INT32_MAX));
    };
    head.AppendAttribute("WIDTH", extent(m_rect.left, m_rect.right));
    head.AppendAttribute("HEIGHT", extent(m_rect.top, m_rect.bottom));
    AppendSavedAttribute(head, "FILE", m_file);
    AppendSavedAttribute(head, "LABEL", m_label);
    head += CTextString("]\n");
    writer.Write(head);
    for (const auto& picture : m_pictures) {
        if (!picture) continue;
        CTextString state("[BUTTON");
        state.AppendAttribute("NAME", picture->GetName());
        state += CTextString("]\n\t[PAINT");
        writer.Write(state);
        picture->Write(writer);
    }
    writer.Write(CTextString("[ENDBUTTON]\n"));
}

} // namespace TAG
