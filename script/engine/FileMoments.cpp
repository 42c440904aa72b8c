#include "script/engine/PlayersFiles.h"

#include <array>
#include <cstddef>

#include "frame/ErrorLog.h"
#include "script/engine/Caught.h"

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
    // SIGTERM, SIGINT and SIGHUP, which stop the loops through the close
    // latch; the exit question answered yes; a close during a load.
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
static_assert(Table.size() == std::size_t(CPlayersFiles::Moment::Saved) + 1, "a row for every moment, in order");

} // namespace

void CPlayersFiles::Keep(Moment moment)
{
    if (moment == Moment::Close) m_closing = true;
    const Writes& writes = Table[static_cast<std::size_t>(moment)];
    // Each is written whatever became of the one before. The reader's place
    // goes first, so a kill that follows a slow write cannot lose it; but a
    // save whose load the close interrupted may be copied from a slow disk,
    // and goes last, holding up nothing.
    const auto each = [](auto write) {
        Caught(write, [](const EScript& error) { kivotasuGameKit::ErrorLog.Out("CPlayersFiles::Keep: %s", error.GetSaid().c_str()); });
    };
    const bool copies = writes.resume && m_loadInterrupted;
    if (writes.resume && !copies) each([this] { SaveResume(); });
    if (writes.globals) each([this] { SaveGlobals(); });
    if (writes.options) each([this] { SaveOptions(); });
    if (copies) each([this] { SaveResume(); });
}

// The save's own tags turn auto-saving off while a load reads them, so the
// flag does not hold back the save being loaded.
void CPlayersFiles::SaveResume()
{
    switch (Standing()) {
    case Stands::MidStory:
        if (m_play.AutoSaves()) {
            const CTextString name = GetSaveFileName(ResumeCode);
            Saved("CPlayersFiles::WriteSaveFile", "セーブデータ", name, false, [&] { WriteSaveFile(name); });
        }
        break;
    case Stands::Loading: KeepLoadedSave(); break;
    case Stands::Ended: break;
    }
}

// A save taken on the end screen ends there. A load from the end screen that
// the close interrupted never left it.
CPlayersFiles::Stands CPlayersFiles::Standing() const
{
    if (m_loadInterrupted) return Stands::Loading;
    if (m_play.StoryEnded()) return Stands::Ended;
    if (!m_loadedSave.empty() && m_play.HeldScript().name == m_loadedSave) return Stands::Loading;
    return Stands::MidStory;
}
