#include "script/engine/QuiltorEngine.h"

#include <algorithm>

#include "draw/wipe/TransitionWipe.h"
#include "frame/file/File.h"
#include "script/dib/DibInfo.h"
#include "script/engine/InputState.h"
#include "script/lang/ScriptError.h"
#include "script/lang/Set.h"

using kivotasuGameKit::CTextString;

namespace {

constexpr std::uint32_t FadeInMs = 0x800;

// The picture, loaded as a tag's is, in words of its own when it cannot be had.
boost::shared_ptr<DIB::CDibInfo> LoadEndPicture(const CTextString& path)
{
    try {
        return DIB::LoadDibInfo(path);
    } catch (const EScript&) {
        const CTextString tried(kivotasuGameKit::CFile::NormalizePath(path.GetStr()));
        throw EScript("ファイル " + path + " が開けません。", "ファイル " + tried + " が開けません。");
    }
}

} // namespace

// State 10: one of the three end pictures on white, faded in, until a menu
// command or closing the program changes the state.
void CQuiltorEngine::ScriptEnd()
{
    // What the story set for the player is kept now, not only at the close.
    m_files.Keep(CPlayersFiles::Moment::StoryEnd);
    m_text.Clear();
    m_bgm.Stop(CTagAttributes::GetCurrent());

    boost::shared_ptr<DIB::CDibInfo> picture;
    const std::uint32_t number = m_random.Get() % 3 + 1;
    // A game that ships no end pictures leaves {QUILTOR} undefined: in the
    // default error mode the screen stays white without a word, as at every
    // normal end; error mode 1 still shows the missing picture, as authors
    // checking every fault expect.
    if (CSet::GetInstance().IsDefined("QUILTOR") || CScriptError::GetInstance().GetMode() == 1) {
        try {
            CTextString path;
            path.AppendFormat("{QUILTOR}Element/Quiltor0%u.jpg", number);
            CSet::GetInstance().Expand(path);
            // Interrupted, the player is closing: nothing to say.
            RanWhole([&] { picture = LoadEndPicture(path); });
        } catch (const EScript& error) {
            CScriptError::GetInstance().ReportUnplaced(error);
        } catch (const std::exception& error) {
            CScriptError::GetInstance().ReportUnplaced(error.what());
        }
    }
    m_shown.LayEndScreen(picture ? &picture->GetPlane() : nullptr);

    // Each step blends over the last, so the picture firms up faster than
    // the rate grows; at the end the blend wipe draws it whole.
    m_engineTimer.Reset();
    while (PumpMessages()) {
        // A return to the title or a script dropped meanwhile has begun the next play.
        if (m_state.State != EngineState::ScriptEnd) return;
        const std::uint32_t elapsed = std::min(m_engineTimer.Get(), FadeInMs);
        m_shown.Wipe(kivotasuGameKit::Draw::CTransitionWipe::Blend, std::int32_t(elapsed * 256 / FadeInMs));
        if (elapsed >= FadeInMs) break;
        WaitFrame();
    }

    CInputState::GetInstance().Event = InputEvent::None;
    while (PumpMessages()) {
        PollInput();
        CheckKey();
        CheckMouse();
        if (m_state.State != EngineState::ScriptEnd) return;
        m_shown.ShowPending();
        WaitFrame();
    }
}
