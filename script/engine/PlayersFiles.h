#pragma once
// The player's own stored files: the saves, named after the start script in
// the Save folder beside the script folder (the quick save, the numbered
// slots, the ring of choice auto-saves, the resume save), the global
// variables and the options. The global variables they read and write
// themselves; of the rest of the play they know only what IKeptPlay gives,
// and a load hands the save back to the engine through it.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "frame/TextString.h"
#include "frame/file/File.h"
#include "frame/file/FileWriter.h"
#include "platform/FileSystem.h"
#include "script/engine/KeptFile.h"

// The play the files keep, as the engine gives it.
class IKeptPlay {
public:
    virtual ~IKeptPlay() = default;
    // The script the reader holds: the name it gives it, and its bytes.
    struct Script {
        std::string name;
        std::string_view bytes;
    };

    // The start script's path, "/" between folders, without its suffix.
    virtual const kivotasuGameKit::CTextString& NameStem() const = 0;
    virtual Script HeldScript() const = 0;
    // On the end screen, or the script read to its last byte: no place to
    // resume (the reader's may lie behind the last byte after an error).
    virtual bool StoryEnded() const = 0;
    // Saves made by the player itself (the resume save, the choices'), as
    // SAVE CONTROL sets it.
    virtual bool AutoSaves() const = 0;
    // A slot save asks before it writes over a save (the OVERWRITE option).
    virtual bool AsksOverwrite() const = 0;
    // The texts of the files, each throwing EScript when it cannot be written.
    virtual void WriteSave(kivotasuGameKit::CTextFileWriter& writer) = 0;
    virtual void WriteOptions(kivotasuGameKit::CTextFileWriter& writer) = 0;
    // A load's part of the play: all of it starts over, then the reader
    // takes the save (left empty) and runs it from its top.
    virtual void Reset() = 0;
    virtual void Take(kivotasuGameKit::CFile& save) = 0;
};

class CPlayersFiles {
public:
    using CTextString = kivotasuGameKit::CTextString;

    // Slot codes: 0 to 999 the numbered slots; 1000 to 1009 the ring.
    static constexpr int QuickCode = -1;
    static constexpr int ResumeCode = -2;
    static constexpr int GlobalsCode = -3;
    static constexpr int RingCode = 1000;
    static constexpr int RingSize = 10;

    // The moments the player's files are written: every way play ends or
    // starts over, as the engine can tell them apart, and the two within
    // play that write the global variables. What each writes is the table in
    // FileMoments.cpp, and nowhere else; which ways of the user's come to
    // each is said at its row.
    enum class Moment : std::uint8_t {
        // The engine is destroyed.
        Close,
        // The start script from its top.
        ReturnToTitle,
        // Another script, or the same one again.
        OpenScript,
        // The end screen is reached.
        StoryEnd,
        // Before a load's reset.
        Load,
        // A save is in place.
        Saved,
    };

    // Where play stands at a moment, for the resume save.
    enum class Stands : std::uint8_t {
        // At a wait or a choice, the story still to read.
        MidStory,
        // A load has begun and not reached the place it goes to, or the close
        // interrupted its read.
        Loading,
        // On the end screen, or the script read to its last byte.
        Ended,
    };

    explicit CPlayersFiles(IKeptPlay& play) : m_play(play) {}

    // Writes what the moment writes, each file whatever became of the one
    // before; a failure is said, never thrown. From the close on, nothing
    // waits for the user: failures go to stderr alone.
    void Keep(Moment moment);
    Stands Standing() const;

    // The file of a slot code; the Save folder is made with the name.
    CTextString GetSaveFileName(int code) const;
    // The file's last write as "YYYY/MM/DD hh:mm:ss"; false when it is missing.
    bool GetSaveTime(int code, CTextString& text) const;

    // The saves of the reader and the scripts: a save that cannot be written
    // leaves the old file and the game goes on; a slot or quick save the
    // reader asked for says so in a box, the automatic ones on stderr.
    void QuickSave();
    // After the overwrite question, when the option asks it.
    void SaveSlot(int n);
    // The new entry is written whole before the ring moves.
    void AutoSave();

    // Loads the save of a slot code. It is read whole before anything is
    // reset: one that cannot be loaded (missing, empty, too large, a folder,
    // a FIFO, unreadable) is said on stderr and the game goes on where it
    // was; one whose read the close interrupted is kept by the close as the
    // resume save. Read, the global variables are written, the play reset,
    // the global variables read back, and the reader takes the save: until
    // it leaves it, the resume save is that save.
    void Load(int code);

    // The global variables from their file into the variables: whatever
    // cannot be read is skipped and logged, until the end or a close, and a
    // file not read whole is left as it is. Until they are written, the
    // global variables in memory are newer than the file: a reset keeps them,
    // and a load reads them no more.
    void LoadGlobals();
    bool GlobalsUnsaved() const { return m_globalsUnsaved; }

    // The options file of the program's folder.
    static CTextString OptionsName();
    // Reads the options file whole into file; false when there is none
    // (absent tells that none is there, which an archive may hold) or it is
    // left as it is.
    bool ReadOptions(kivotasuGameKit::CFile& file, bool& absent);
    // The options were run up to a byte short of their end, for this reason:
    // the file is left as it is (for the close's reason, without a word).
    void OptionsStopped(const CTextString& why);

private:
    // The first step of Load: false when the save is not to be loaded.
    bool ReadSave(int code, kivotasuGameKit::CFile& save);
    void SaveResume();
    void SaveGlobals();
    void SaveOptions();
    // One save file through the play's writer, throwing on failure (also
    // when it would be more than a load reads).
    void WriteSaveFile(const CTextString& name);
    // A save the reader asked for, and the global variables with it.
    void SaveCode(int code);
    // The save being loaded becomes the resume save, unless it is that: its
    // bytes, or, when the close interrupted its read, the file itself under
    // the resume save's name (a copy where the file system refuses links).
    void KeepLoadedSave();

    // Reads a save, the options or the global variables whole into file
    // through one open (its type and size, bounded by kind, checked on that
    // open). A read that failed leaves why in refusal, and absent tells a
    // file that is not there; one the close interrupted has nothing to say,
    // and file holds what it read.
    static platform::ReadResult ReadStored(const CTextString& name, kivotasuGameKit::FileKind kind,
                                           kivotasuGameKit::CFile& file, std::string& refusal, bool& absent);
    // Reads a file the player writes back, as ReadStored: false when there
    // is nothing to read. Why one that is there was not read whole goes to
    // kept; where names the caller in the log.
    static bool ReadBack(const char* where, const CTextString& name, KeptFile& kept, kivotasuGameKit::CFile& file);
    // The close interrupted the read of the file: left as it is, without a
    // word unless for a fault found before.
    static void KeepInterrupted(const char* where, const CTextString& name, KeptFile& kept);
    // True when kept holds the file: said once a run, as the file of what
    // (the settings, the global variables) that is not kept.
    bool LeftAsItIs(const char* where, const char* what, const CTextString& name, KeptFile& kept);

    // Runs write, which saves the file name; false when it failed, which is
    // said as what could not be saved (where names the writer in the log),
    // in a box when asked for and the player is not closing.
    bool Saved(const char* where, const char* what, const CTextString& name, bool box, const std::function<void()>& write);
    void SayUnsaved(const char* where, const CTextString& headline, const CTextString& name, const CTextString& reason, bool box);

    IKeptPlay& m_play;
    KeptFile m_globalsKept;
    KeptFile m_optionsKept;
    // The last write of the global variables failed or was left out.
    bool m_globalsUnsaved = false;
    // The close has come: nothing waits for the user.
    bool m_closing = false;
    // The save file the last load read, by the name the reader gives it.
    std::string m_loadedSave;
    // The close interrupted that read: the reader never held the save, and
    // this holds the bytes read before.
    bool m_loadInterrupted = false;
    kivotasuGameKit::CFile m_loadRead;
};
