#include "script/engine/QuiltorEngine.h"

#include "script/engine/InputState.h"
#include "script/lang/ScriptError.h"
#include "script/lang/TextScan.h"
#include "script/tag/TextRules.h"

using kivotasuGameKit::CTextString;

namespace {

constexpr std::string_view Colon = "：";
constexpr std::string_view Bar = "｜";

// The byte offset of the first full-width mark, stepping by characters.
int FindMark(const std::string& body, std::string_view mark)
{
    if (body.size() < 2) return -1;
    for (std::size_t i = 0; i < body.size(); i += kivotasuGameKit::CharLengthAt(body, i)) {
        if (std::string_view(body).substr(i, mark.size()) == mark) return static_cast<int>(i);
    }
    return -1;
}

} // namespace

void CQuiltorEngine::WarnHalfWidth(const CTextString& body)
{
    CScriptError& errors = CScriptError::GetInstance();
    const std::string script = errors.Here().script.GetStr();
    const auto say = [&](std::size_t at, bool kana, const char* what) {
        if (at == std::string::npos || !m_halfWidthSaid.emplace(script, kana).second) return;
        // Placed where the script wrote it, unless a variable brought it.
        const char character = body.GetStr()[at];
        const std::size_t written = FindSjisChar(errors.GetTagText().GetStr(), 0, character);
        errors.Warn(CTextString("半角の「") + CTextString(std::string(1, character)) + CTextString(what) +
                        CTextString("全角で書いてください（このスクリプトでは最初の一つだけを知らせます）。"),
                    written == std::string::npos ? errors.Here() : errors.Here(written));
    };
    say(TAG::FirstUnshownCharacter(body.GetStr()), false,
        "」は文章に表示されません。表示される半角文字は数字だけなので、");
    say(TAG::FirstHalfWidthKana(body.GetStr()), true,
        "」は全角の字と同じ幅に一字ずつ並び、濁点と半濁点も一字を取ります（ｶﾞは「ｶ ﾞ」）。");
}

void CQuiltorEngine::OnWriteTag(CTagAttributes& record)
{
    CTextString body = record.GetBody();
    if (body.IsEmpty()) return;
    WarnHalfWidth(body);
    if (m_select.IsInside()) {
        m_shown.AddChoiceItem(record);
        m_select.AddItem(record);
        return;
    }
    m_state.ChangeState(EngineState::TextDisplay);

    // A speaker's name before the colon (or bar) goes to the name and the log.
    const ControlStyle style = m_windows.GetControl();
    auto takeName = [&](int p, std::string_view mark) {
        m_text.SetName(CTextString(body.GetStr().substr(0, static_cast<std::size_t>(p))));
        m_log.AddText(CTextString(body.GetStr().substr(0, static_cast<std::size_t>(p))));
        m_log.AddLine();
        body = CTextString(body.GetStr().substr(static_cast<std::size_t>(p) + mark.size()));
    };
    const int p = FindMark(body.GetStr(), Colon);
    switch (style) {
    case ControlStyle::Trh:
        if (p >= 0 && p <= 18) {
            m_text.NewLine();
            takeName(p, Colon);
        }
        break;
    case ControlStyle::Trh2:
        if (p >= 0 && p <= 8) {
            m_windows.SetCurrentWindow(p / 2);
            takeName(p, Colon);
        }
        break;
    case ControlStyle::Trh3:
        if (p >= 0 && p <= 14) takeName(p, Colon);
        break;
    case ControlStyle::WhiteAlbum:
        if (p >= 0 && p <= 14) {
            m_windows.SetCurrentWindow(1);
            takeName(p, Colon);
        } else if (int q = FindMark(body.GetStr(), Bar); q >= 0 && q <= 14) {
            m_windows.SetCurrentWindow(2);
            takeName(q, Bar);
        }
        break;
    default:
        break;
    }
    m_shown.ShowPage();
    m_text.SetMessage(body);
    m_log.AddText(body);
}

void CQuiltorEngine::OnWaitTag(const CTagAttributes& record)
{
    std::int32_t time = 300;
    record.GetTime(time);
    m_state.WaitTime = time;
    m_state.ChangeState(EngineState::TimedWait);
}

void CQuiltorEngine::OnClickWaitTag(CTagAttributes& record, WaitKind kind)
{
    if (!record.GetFile().IsEmpty()) m_reader.Jump(record);
    CInputState::GetInstance().InstantText = 0;
    const int kindNumber = static_cast<int>(kind);
    m_animations.ParseView(record, kindNumber);
    if (m_state.AnimatedCursor) m_mouse.Load(kindNumber);
    m_state.CurrentWait = kind;
    m_state.ChangeState(EngineState::ClickWait);
}

void CQuiltorEngine::OnNameTextTag(const CTagAttributes& record)
{
    // A coordinate that is absent or not a number keeps its value.
    kivotasuGameKit::POINT position = m_text.GetNamePosition();
    record.GetXNumber(position.x);
    record.GetYNumber(position.y);
    m_text.SetNamePosition(position.x, position.y);
}

void CQuiltorEngine::OnCursorTag(const CTagAttributes& record)
{
    if (!m_mouse.Register(record.GetName(), record.GetFile())) {
        CScriptError::GetInstance().Report("登録されていない名前が使用されました。");
    }
}

void CQuiltorEngine::NewLine()
{
    m_text.NewLine();
    m_log.AddLine();
}

void CQuiltorEngine::NewPage()
{
    // A click shows the rest of its own page at once, not of the next: the
    // page a choice or a TP begins types again.
    CInputState::GetInstance().InstantText = 0;
    m_shown.TurnPage();
    m_text.Clear();
    m_log.AddEmptyLine();
    m_windows.ResetIndex();
}
