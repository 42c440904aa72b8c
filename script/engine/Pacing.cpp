// The window's turns while a script reads on without a wait.
#include "script/engine/QuiltorEngine.h"

#include "script/engine/EngineProbe.h"

// A turn comes whenever the tags take a frame's time: what they set up so far
// is half a scene, which reaches the window with the rest at the wait.
bool CQuiltorEngine::TakeTurn()
{
    if (m_state.State == EngineState::Transition) {
        Transition();
        if (m_state.State != EngineState::RunTags) return false;
    }
    PollInput();
    CheckKey();
    CheckMouse();
    if (m_probe) m_probe->OnTurn(++m_turns);
    return m_state.State == EngineState::RunTags;
}

bool CQuiltorEngine::RunTransitionBefore(CTagAttributes& record, std::uint32_t start)
{
    const std::uint32_t end = m_reader.GetOffset();
    const std::string script = m_reader.GetName();
    const CTagAttributes held = record;
    m_reader.Seek(start);
    Transition();
    if (m_state.State != EngineState::RunTags || m_reader.GetOffset() != start || m_reader.GetName() != script) return false;
    m_reader.Seek(end);
    record = held;
    return true;
}
