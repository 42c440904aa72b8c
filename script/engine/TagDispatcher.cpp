#include "script/engine/QuiltorEngine.h"

#include <array>
#include <cstdint>
#include <optional>

#include "platform/Clock.h"
#include "script/engine/EngineProbe.h"
#include "script/lang/ScriptError.h"
#include "script/lang/Set.h"

namespace {

// A tag that Transits returns and starts a transition of its own (a picture
// tag, an UNLOCK), which takes one a PASTE left pending with it.
enum class After { Continues, Returns, Transits };
using Engine = CQuiltorEngine;
using Record = CTagAttributes;

struct Handler {
    void (*run)(Engine&, Record&);
    After after;
};

// A script reads this many tags on without a wait before the window may have
// its turn (set-ups between waits are rarely longer), and gives it the turn
// after a frame's time of tags or this many more at the latest, so a loop
// without a wait still answers its window.
constexpr std::uint32_t TagsBeforeTurn = 64;
constexpr std::uint32_t MostTagsATurn = 4096;

constexpr After C = After::Continues;
constexpr After R = After::Returns;
constexpr After T = After::Transits;

void Nothing(Engine&, Record&) {}

void OnSet(Engine&, Record& r)
{
    const auto& variable = r.GetValue(TagAttributeKey::Variable);
    const auto& entity = r.GetValue(TagAttributeKey::Entity);
    if (!variable.IsEmpty() && !entity.IsEmpty()) CSet::GetInstance().Set(variable, entity);
}

// In TagId order: every id has its handler.
const std::array<Handler, TagCount> Handlers = {{
    {Nothing, C}, // COMMENT
    {[](Engine& e, Record& r) { if (!e.RefusedInVisual()) e.ApplyElementTag(r, e.GetActs()); }, T},
    {[](Engine& e, Record& r) { e.GetActs().ParseDefault(r); }, C},
    {[](Engine& e, Record& r) { e.OnEndElementTag(r, e.GetActs()); }, T},
    {[](Engine& e, Record& r) { e.OnEndAllElementsTag(r, e.GetActs()); }, T},
    {[](Engine& e, Record& r) { e.OnHideElementTag(r, e.GetActs()); }, T},
    {[](Engine& e, Record& r) { e.GetAnimations().SetElement(r); }, C},
    {[](Engine& e, Record& r) { e.GetAnimations().Begin(r); }, C},
    {[](Engine& e, Record& r) { e.GetAnimations().ParseDefault(r); }, C},
    {[](Engine& e, Record& r) {
         e.GetVisuals().RemoveAll();
         e.GetActs().RemoveAll();
         e.ApplyElementTag(r, e.GetBacks());
     }, T}, // BACK
    {[](Engine& e, Record& r) { e.GetBacks().ParseDefault(r); }, C},
    {[](Engine& e, Record& r) {
         e.Shown().HidePage();
         e.GetBgm().Play(r);
     }, C}, // BGM
    {[](Engine& e, Record& r) { e.GetBgm().SetDefaultPath(r); }, C},
    {[](Engine& e, Record& r) {
         e.Shown().HidePage();
         e.GetBgm().Stop(r);
     }, C}, // ENDBGM
    {[](Engine& e, Record& r) { e.GetButtons().ParseState(r); }, C},
    {[](Engine& e, Record& r) { e.GetButtons().Begin(r); }, C},
    {[](Engine& e, Record& r) { e.GetButtons().ParseDefault(r); }, C},
    {[](Engine& e, Record&) { e.OnEndButtonTag(); }, C},
    {[](Engine& e, Record& r) { e.OnCursorTag(r); }, C},
    {[](Engine& e, Record& r) { e.GetCuts().SetElement(r); }, C},
    {[](Engine& e, Record& r) { e.GetCuts().ParseDefault(r); }, C},
    {[](Engine& e, Record& r) { e.OnPasteTag(r); }, C},
    {[](Engine& e, Record& r) { e.GetReader().Jump(r); }, C},
    {[](Engine& e, Record& r) { e.GetReader().SetDefaultJumpPath(r); }, C},
    {[](Engine& e, Record& r) { e.GetReader().Call(r); }, C},
    {[](Engine& e, Record& r) { e.GetReader().Return(r); }, C},
    {Nothing, C}, // LABEL, skipped before dispatch
    {[](Engine& e, Record&) { e.Shown().Lock(); }, C},
    {[](Engine& e, Record& r) { e.Shown().SetLockDefault(r); }, C},
    {[](Engine& e, Record& r) { e.Shown().Unlock(r); }, T},
    {[](Engine& e, Record& r) { e.GetLog().ParseEntry(r); }, C},
    {[](Engine& e, Record& r) { e.GetLog().ParseDefault(r); }, C},
    {Nothing, C}, // MOVIE
    {[](Engine& e, Record& r) {
         if (e.GetButtons().IsInside()) e.GetButtons().SetElement(r);
         else if (!e.RefusedInVisual()) e.OnPaintTag(r);
     }, T}, // PAINT
    {[](Engine& e, Record& r) { e.GetPaints().ParseDefault(r); }, C},
    {[](Engine& e, Record& r) { e.OnEndElementTag(r, e.GetPaints()); }, T},
    {[](Engine& e, Record& r) { e.OnEndAllElementsTag(r, e.GetPaints()); }, T},
    {[](Engine& e, Record& r) { e.OnHideElementTag(r, e.GetPaints()); }, T},
    {[](Engine& e, Record& r) { e.OnSaveTag(r); }, R},
    {[](Engine& e, Record& r) { e.OnScreenTag(r); }, R},
    {[](Engine& e, Record&) {
         e.GetSelect().Begin();
         e.GetButtons().BeginSelect();
     }, R}, // SELECT
    {[](Engine& e, Record& r) { e.OnEndSelectTag(r); }, R},
    {OnSet, C},
    {[](Engine& e, Record& r) { if (!e.GetButtons().IsInside()) e.GetSound().Play(r); }, C},
    {[](Engine& e, Record& r) { e.GetSound().ParseDefault(r); }, C},
    {[](Engine& e, Record&) { e.GetSound().Stop(); }, C},
    {[](Engine& e, Record& r) { e.OnSystemTag(r); }, C},
    {[](Engine& e, Record& r) {
         e.GetText().SetText(r);
         e.Shown().ShowPage();
     }, C}, // TEXT
    {[](Engine& e, Record& r) { e.GetText().ParseDefault(r); }, C},
    {[](Engine& e, Record& r) { e.OnNameTextTag(r); }, C},
    {[](Engine& e, Record& r) { e.GetText().ParseSymbol(r); }, C},
    {[](Engine& e, Record& r) { e.OnTitleTag(r); }, C},
    {[](Engine& e, Record& r) {
         e.GetBacks().RemoveAll();
         e.GetActs().RemoveAll();
         e.ApplyElementTag(r, e.GetVisuals());
     }, T}, // VISUAL
    {[](Engine& e, Record& r) { e.GetVisuals().ParseDefault(r); }, C},
    {Nothing, C}, // ENDVISUAL
    {[](Engine& e, Record& r) { e.OnWaitTag(r); }, R},
    {[](Engine& e, Record& r) { e.GetWindows().SetElement(r); }, C},
    {[](Engine& e, Record& r) { e.GetWindows().SetIndex(r); }, C},
    {[](Engine& e, Record& r) { e.GetWindows().ParseDefault(r); }, C},
    {[](Engine& e, Record& r) { e.GetWindows().OnFadeWindow(r); }, C},
    {[](Engine& e, Record& r) { e.OnWriteTag(r); }, R},
    {[](Engine& e, Record&) { e.GetGameState().ChangeState(EngineState::ScriptEnd); }, R}, // END
    {[](Engine& e, Record&) { e.NewLine(); }, C},
    {[](Engine& e, Record&) { e.NewPage(); }, C},
    {[](Engine& e, Record& r) { e.OnClickWaitTag(r, WaitKind::C); }, R},
    {[](Engine& e, Record& r) { e.OnClickWaitTag(r, WaitKind::L); }, R},
    {[](Engine& e, Record& r) { e.OnClickWaitTag(r, WaitKind::P); }, R},
}};

bool Skipped(const Record& record)
{
    return record.GetId() == TagId::Label || record.GetValue(TagAttributeKey::Cond).GetStr() == "0";
}

} // namespace

// Only END ends the story on purpose. A tag left open has been reported, a
// JUMP or CALL that failed (the reader at the end of the text, or of none)
// has said why, and so has an ENDCALL back to a script that is gone.
void CQuiltorEngine::SayScriptRanOut()
{
    if (m_reader.GetName().empty() || m_reader.JumpFailed()) return;
    CScriptError& errors = CScriptError::GetInstance();
    const char* why = m_reader.GetCallStack().empty() ? "ENDタグの前にスクリプトが終わりました。"
                                                       : "CALLした先のスクリプトが、ENDCALLで戻る前に終わりました。";
    // The line of the last byte: a script ending in a line break has no line after it.
    const std::size_t size = m_reader.Text().size();
    errors.SayEnded(CTextString(why), errors.At(size == 0 ? 0 : size - 1, {}));
}

void CQuiltorEngine::RunTags()
{
    CTagAttributes& record = CTagAttributes::GetCurrent();
    // An unpaced loop (a rate of 0) still takes its turns at the count.
    const std::uint32_t frameMs = m_fps.GetFPS() != 0 ? 1000 / m_fps.GetFPS() : UINT32_MAX;
    std::uint32_t begun = platform::Clock().Now();
    for (std::uint32_t tags = 0; PumpMessages(); ++tags) {
        if (!m_readingStoredFile && tags >= TagsBeforeTurn &&
            (tags >= MostTagsATurn || platform::Clock().Now() - begun >= frameMs)) {
            if (!TakeTurn()) return;
            tags = 0;
            begun = platform::Clock().Now();
        }
        const std::uint32_t start = m_reader.GetOffset();
        if (const TagReadResult result = m_reader.ReadTag(record); result != TagRead) {
            // No tag ended the script: the end screen reads no earlier one's values.
            record.Clear();
            if (result == TextEnd && !m_readingStoredFile) SayScriptRanOut();
            m_state.ChangeState(EngineState::ScriptEnd);
            return;
        }
        const bool ran = !Skipped(record);
        const Handler& handler = Handlers[static_cast<std::size_t>(record.GetId())];
        const bool returns = ran && handler.after != After::Continues;
        // Only a tag that reads on leaves a transition pending here. A tag
        // that returns lets it run first, unless it transits: then its own
        // transition brings both changes (or, when it started none, being
        // refused, the pending one runs next; a LOCK holds it for its UNLOCK).
        if (returns && handler.after != After::Transits && m_state.State == EngineState::Transition &&
            !RunTransitionBefore(record, start))
            return;
        const EngineState before = m_state.State;
        const std::uint32_t offset = m_reader.GetOffset();
        // The probe sees the tag as read: JUMP and CALL reuse the record.
        std::optional<CTagAttributes> read;
        if (m_probe) read = record;
        bool whole = true;
        if (ran) {
            try {
                whole = RanWhole([&] { handler.run(*this, record); }, start);
            } catch (...) {
                if (m_probe) m_probe->OnTag(*read, offset, before, m_state.State, ran, true);
                throw;
            }
        }
        if (m_probe) m_probe->OnTag(*read, offset, before, m_state.State, ran, false);
        if (!whole) return;
        if (!returns) continue;
        // Reading stops for a wait: what the tags set up since the last one
        // reaches the window together, unless a transition brings it.
        if (m_state.State != EngineState::RunTags && m_state.State != EngineState::Transition) m_shown.ShowPending();
        return;
    }
}
