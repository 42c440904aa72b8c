#include "script/tag/ButtonManager.h"

#include <algorithm>

#include "draw/FastDraw.h"
#include "draw/KeyInput.h"
#include "frame/EScript.h"
#include "frame/file/FileWriter.h"
#include "script/engine/InputState.h"
#include "script/engine/KeyCodes.h"
#include "script/engine/MouseCursor.h"
#include "script/lang/ScriptError.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/Text.h"
#include "script/tag/TextRules.h"

using kivotasuGameKit::CTextString;

namespace TAG {

namespace {

constexpr std::uint32_t Grey = 0x808080;
constexpr std::uint32_t White = 0xFFFFFF;
// Wide enough that an item never breaks: its picture clips what lies beyond.
constexpr int ItemColumns = 640;

// A choice acts on a jump, closing, the back-log and hiding the windows; a
// choice button with any other function ("_QUICKLOAD" for a "continue" item)
// is chosen to no effect and the choice stays open, so it is said at the item.
void SayIfIdleInChoice(const CButtonElement& button)
{
    switch (InputEvent(button.GetCode())) {
    case InputEvent::Select:
    case InputEvent::GameEnd:
    case InputEvent::LogBack:
    case InputEvent::WindowHide: return;
    default: break;
    }
    CScriptError& errors = CScriptError::GetInstance();
    errors.Warn("LABEL『" + button.GetLabel() + "』は選択肢の中では働かないので、選んでも何もせず、選択肢は開いたままです。",
                errors.Here());
}

} // namespace

CButtonElement& CButtonManager::ButtonAt(Position position)
{
    return static_cast<CButtonElement&>(**position);
}

void CButtonManager::Reset()
{
    CElementManager::Reset();
    m_current = m_pressed = CElementManager::End();
    m_open = 0;
    m_kind = ButtonKind::Function;
    m_selectMode = Normal;
    m_pressFlag = 0;
    m_selectCount = 0;
    m_functionsDrawn = m_functionsShown = 0;
}

CElementManager::Position CButtonManager::FindOrCreate(const CTextString& name)
{
    if (m_kind == ButtonKind::Function && name.IsEmpty())
        throw EScript(CTextString("機能ボタンは名前を省略できません。"));
    return CreateElement(name);
}

IElement* CButtonManager::NewElement(const CTextString& name)
{
    return new CButtonElement(m_kind, m_kind == ButtonKind::Function ? name : CTextString());
}

void CButtonManager::Begin(const CTagAttributes& record)
{
    if (m_open) return;
    Position button = FindOrCreate(record.GetName());
    m_open = 1;
    kivotasuGameKit::RECT rect;
    record.GetPoint(rect);
    // A button without HEIGHT is square.
    if (record.GetValue(TagAttributeKey::Height).IsEmpty()) rect.bottom = CTagAttributes::EdgeOf(rect.top, rect.right - rect.left);
    ButtonAt(button).SetRect(rect);
    ButtonAt(button).ParseTargetLabel(record);
    if (m_kind == ButtonKind::Choice) SayIfIdleInChoice(ButtonAt(button));
    m_current = button;
}

DIB::CDIB32Ex* CButtonManager::End()
{
    if (!m_open) throw EScript(CTextString("BEGINBUTTONがないのにENDBUTTONがきました。"));
    m_open = 0;
    DIB::CDIB32Ex* off = nullptr;
    if (m_current != CElementManager::End() && ButtonAt(m_current).GetKind() == ButtonKind::Function)
        off = ButtonAt(m_current).PictureOf(CButtonElement::Off);
    m_current = CElementManager::End();
    return off;
}

void CButtonManager::ParseState(const CTagAttributes& record)
{
    if (m_current == CElementManager::End()) return;
    ButtonAt(m_current).SetState(record.GetName());
}

void CButtonManager::SetElement(CTagAttributes& record)
{
    if (m_current == CElementManager::End()) return;
    record.SetValue(TagAttributeKey::Path, GetPath());
    ButtonAt(m_current).Parse(record);
}

void CButtonManager::BeginSelect()
{
    m_kind = ButtonKind::Choice;
    m_selectPlace = CScriptError::GetInstance().Here();
}

void CButtonManager::AddSelectButton(const CTagAttributes& item, Plane& page)
{
    Position made = FindOrCreate(item.GetName());
    CButtonElement& button = ButtonAt(made);
    if (GetControl() == ControlStyle::None && m_text) {
        if (m_text->GetCursor().line + m_selectCount == m_text->GetLineCount()) {
            CScriptError::GetInstance().Warn("選択肢の" + std::to_string(m_selectCount + 1) + "番目の項目から後は、テキストウィンドウの" +
                                                 std::to_string(m_text->GetLineCount()) + "行に収まらず、ウィンドウの外に描かれます。",
                                             m_selectPlace);
        }
        const std::string& body = item.GetBody().GetStr();
        // As many cells as the item shows: a digit takes a whole one.
        const kivotasuGameKit::RECT rect = m_text->GetLineRect(m_selectCount, int(ShownCharacters(body)));
        button.SetRect(rect);
        for (auto [state, colour] : {std::pair{CButtonElement::Off, Grey}, std::pair{CButtonElement::On, White}}) {
            boost::shared_ptr<DIB::CDIB32Ex> picture(new DIB::CDIB32Ex);
            picture->CaptureArea(&page, rect);
            m_text->DrawTextInColour(*picture, body, ItemColumns, colour);
            button.SetPicture(state, picture);
        }
    }
    button.MarkItem();
    ++m_selectCount;
    if (m_kind == ButtonKind::Choice) m_selectMode = ChoiceButtons;
    button.ParseTargetLabel(item);
    SayIfIdleInChoice(button);
}

void CButtonManager::EndSelect()
{
    m_current = m_pressed = CElementManager::End();
    m_kind = ButtonKind::Function;
    m_selectMode = Normal;
    m_selectCount = 0;
    GetElements().remove_if([](const auto& element) {
        return static_cast<const CButtonElement&>(*element).GetKind() == ButtonKind::Choice;
    });
}

void CButtonManager::ParseCurrentTarget(CTagAttributes& record)
{
    if (m_current != CElementManager::End()) ButtonAt(m_current).ParseTarget(record);
}

bool CButtonManager::IsFunctionFocused()
{
    return m_current != CElementManager::End() && ButtonAt(m_current).GetKind() == ButtonKind::Function;
}

DIB::CDIB32Ex* CButtonManager::GetFirstPicture()
{
    if (m_current == CElementManager::End()) return nullptr;
    if (m_kind == ButtonKind::Choice && m_selectMode != ChoiceButtons) m_selectMode = ChoiceOnly;
    return ButtonAt(m_current).GetPicture();
}

bool CButtonManager::Counts(Position position)
{
    return m_selectMode != ChoiceOnly || ButtonAt(position).GetKind() == ButtonKind::Choice;
}

void CButtonManager::MarkFunctionButtonsDrawn()
{
    m_functionsDrawn = std::size_t(std::ranges::count_if(
        GetElements(), [](const auto& element) { return static_cast<CButtonElement&>(*element).GetKind() == ButtonKind::Function; }));
}

void CButtonManager::DrawFunctionButtons(Plane& target)
{
    std::size_t left = m_functionsDrawn;
    for (Position button = GetElements().begin(); left > 0 && button != CElementManager::End(); ++button) {
        if (ButtonAt(button).GetKind() != ButtonKind::Function) continue;
        ButtonAt(button).DrawOffOnto(target);
        --left;
    }
}

void CButtonManager::DrawAll(Plane& target)
{
    for (Position button = GetElements().begin(); button != CElementManager::End(); ++button)
        if (Counts(button)) ButtonAt(button).DrawOffOnto(target);
}

template <class Act> void CButtonManager::ForEachChoiceButton(Act act)
{
    for (Position button = GetElements().begin(); button != CElementManager::End(); ++button)
        if (ButtonAt(button).GetKind() == ButtonKind::Choice) act(ButtonAt(button));
}

void CButtonManager::DrawChoiceButtons(Plane& target)
{
    ForEachChoiceButton([&](CButtonElement& button) { button.DrawOffOnto(target); });
}

void CButtonManager::EraseChoiceButtons(kivotasuGameKit::CFastDraw& draw, Plane& clean)
{
    ForEachChoiceButton([&](CButtonElement& button) { button.Erase(draw, clean); });
}

template <class Act> void CButtonManager::ForEachAnswering(Act act)
{
    std::size_t functions = 0;
    for (Position button = GetElements().begin(); button != CElementManager::End(); ++button) {
        if (ButtonAt(button).GetKind() == ButtonKind::Function && functions++ >= m_functionsShown) continue;
        if (Counts(button)) act(button);
    }
}

CElementManager::Position CButtonManager::HitAt(std::int32_t x, std::int32_t y)
{
    Position hit = CElementManager::End();
    ForEachAnswering([&](Position button) {
        if (hit == CElementManager::End() && ButtonAt(button).Holds(x, y)) hit = button;
    });
    return hit;
}

std::vector<CElementManager::Position> CButtonManager::Reachable()
{
    std::vector<Position> choices, all;
    ForEachAnswering([&](Position button) {
        all.push_back(button);
        if (ButtonAt(button).GetKind() == ButtonKind::Choice) choices.push_back(button);
    });
    // During a choice the keys go from item to item; the function buttons
    // stay in reach of the mouse.
    return choices.empty() ? all : choices;
}

CElementManager::Position CButtonManager::KeyMove(kivotasuGameKit::CKeyInput& keys)
{
    const std::vector<Position> reachable = Reachable();
    if (reachable.empty()) return CElementManager::End();
    const auto focus = std::find(reachable.begin(), reachable.end(), m_current);
    const std::size_t count = reachable.size();
    // From no focus, down starts at the first and up at the last.
    const std::size_t at = focus == reachable.end() ? count : std::size_t(focus - reachable.begin());
    Position moved = CElementManager::End();
    if (keys.IsKeyPush(KeyCode::Down)) moved = reachable[at == count ? 0 : (at + 1) % count];
    if (keys.IsKeyPush(KeyCode::Up)) moved = reachable[at == 0 || at == count ? count - 1 : at - 1];
    if (keys.IsKeyPush(KeyCode::Left)) moved = reachable.front();
    if (keys.IsKeyPush(KeyCode::Right)) moved = reachable.back();
    return moved;
}

bool CButtonManager::Update(kivotasuGameKit::CFastDraw& draw, Plane& clean, const CFrameInput& input,
                            kivotasuGameKit::CKeyInput& keys)
{
    InputEvent& event = CInputState::GetInstance().Event;
    const Position none = CElementManager::End();
    auto beside = [&] {
        m_pressFlag = 0;
        m_current = none;
        event = InputEvent::Decide;
        return true;
    };

    Position target = HitAt(input.x, input.y);
    // Arrow keys move by their push, not while held: held, they would cycle
    // the focus every frame.
    const Position moved = KeyMove(keys);
    if (moved != none) {
        target = moved;
        const kivotasuGameKit::RECT& rect = ButtonAt(target).GetRect();
        if (m_mouse) m_mouse->SetPos({rect.left, rect.bottom - 1});
    }
    bool chosen = false;
    if (keys.IsKeyPush(KeyCode::Enter) || keys.IsKeyPush(KeyCode::PadEnter)) {
        if (target == none) return beside();
        chosen = true;
    }
    if (input.leftDown) {
        m_pressed = target;
        if (target == none) return beside();
    }
    // A press on one button released on another chooses nothing.
    if (input.leftUp && target != none && target == m_pressed) chosen = true;
    const bool pushedNow = input.leftHeld && target == m_pressed;
    if (target == m_current && !input.leftDown && !input.leftUp && moved == none && !chosen &&
        pushedNow == (m_pressFlag != 0))
        return false;

    if (m_current != none) ButtonAt(m_current).DrawOff(draw, clean, m_current == m_pressed && m_pressFlag);
    if (target != none) ButtonAt(target).DrawOn(draw, clean, pushedNow);
    draw.OnDraw(nullptr, true);
    m_current = target;
    m_pressFlag = pushedNow ? 1 : 0;

    if (!chosen) return false;
    event = InputEvent(ButtonAt(target).GetCode());
    m_pressed = none;
    m_pressFlag = 0;
    return true;
}

void CButtonManager::WriteAll(kivotasuGameKit::CTextFileWriter& writer)
{
    // The folder and the style go too: the choices after a load make their
    // buttons from them.
    WriteDefault(writer, "DEFAULTBUTTON");
    // The choice's own buttons go with the choice block, where SELECT makes
    // them choice buttons again.
    for (Position button = GetElements().begin(); button != CElementManager::End(); ++button)
        if (ButtonAt(button).GetKind() == ButtonKind::Function) ButtonAt(button).Write(writer);
}

} // namespace TAG
