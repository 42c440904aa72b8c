#include "script/engine/EndOfPlay.h"

#include <array>
#include <cstddef>

#include "frame/ErrorLog.h"
#include "script/engine/QuiltorEngine.h"

namespace {

// What a moment writes. The resume save keeps the place play stands at:
// mid-story only; during a load, the save being loaded; once the story has
// ended, nothing (the play before's stays). The global variables and the
// options are the player's, not the story's: they are written whatever the
// place, unless this run could not read the file whole, which is then kept as
// it is (and its writer says so once).
struct Writes {
    bool resume;
    bool globals;
    bool options;
};

constexpr std::array<Writes, 6> Table = {{
    // Close: the close box; Alt+F4 in the game, a menu, a box or a dialog;
    // SIGTERM and SIGINT, which the window system turns into the window's
    // close; the exit question answered yes; a close during a load.
    {true, true, true},
    // ReturnToTitle: the menu's command. The story is left on purpose: the
    // last resume save stays.
    {false, true, true},
    // OpenScript: a script dropped on the window, opened from the menu, or
    // taken from the history.
    {true, true, true},
    // StoryEnd: END; an error end, under ERROR 0 or 1 alike; a script read to
    // its end; a JUMP or CALL to no script. There is no place to resume.
    {false, true, true},
    // Load: from the menu or a button; the newest globals, for its reset to
    // read back.
    {false, true, false},
    // Saved: a quick or slot save, a choice's auto-save; the globals go with
    // every save.
    {false, true, false},
}};
static_assert(Table.size() == std::size_t(EndOfPlay::Saved) + 1, "a row for every moment, in order");

} // namespace

void CQuiltorEngine::KeepPlayersFiles(EndOfPlay end)
{
    const Writes& writes = Table[static_cast<std::size_t>(end)];
    // Each is written whatever became of the one before. The reader's place
    // goes first, so a kill that follows a slow write cannot lose it; but a
    // save whose load the close interrupted may be copied from a slow disk,
    // and goes last, holding up nothing.
    const auto each = [](auto write) {
        Caught(write, [](const EScript& error) {
            kivotasuGameKit::ErrorLog.Out("CQuiltorEngine::KeepPlayersFiles: %s", error.GetSaid().c_str());
        });
    };
    const bool copies = writes.resume && m_loadInterrupted;
    if (writes.resume && !copies) each([this] { SaveResume(); });
    if (writes.globals) each([this] { SaveGlobals(); });
    if (writes.options) each([this] { SaveOption(); });
    if (copies) each([this] { SaveResume(); });
}

// The save's own tags turn auto-saving off while a load reads them, so the
// flag does not hold back the save being loaded.
void CQuiltorEngine::SaveResume()
{
    switch (Standing()) {
    case PlayStands::MidStory:
        if (m_state.AutoSave) WriteResumeSave();
        break;
    case PlayStands::Loading: KeepLoadedSaveAsResume(); break;
    case PlayStands::Ended: break;
    }
}

// The reader's place means nothing once it has read the last byte, nor after
// an error (it may lie behind the last byte then), nor in a save taken on the
// end screen, which ends there. A load from the end screen that the close
// interrupted never left it.
PlayStands CQuiltorEngine::Standing() const
{
    if (m_loadInterrupted) return PlayStands::Loading;
    if (m_state.State == EngineState::ScriptEnd || m_reader.GetProgress() == 100) return PlayStands::Ended;
    if (!m_loadedSave.empty() && m_reader.GetName() == m_loadedSave) return PlayStands::Loading;
    return PlayStands::MidStory;
}
