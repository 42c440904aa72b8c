#include "script/engine/PlayersFiles.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "frame/file/FileBounds.h"
#include "platform/Clock.h"

using kivotasuGameKit::CTextString;

namespace {

// The longest the close spends on copying a save whose load it interrupted:
// with the chunk that load was reading, and the other files, the player ends
// within three seconds on a slow disk too.
constexpr std::uint32_t CopyMs = 2000;

// The copy failed: why, and which save a resume opens instead.
[[noreturn]] void Uncopied(const std::string& from, const std::string& resume, const CTextString& why)
{
    const CTextString stays = platform::FileSystem().Exists(resume)
                                  ? CTextString("再開では、これまでの ") + CTextString(resume).RightOfLast('/') + CTextString(" を開きます。")
                                  : CTextString("再開できるセーブデータはありません。");
    throw EScript(CTextString("読み込み中の ") + CTextString(from).RightOfLast('/') + CTextString(" を") + why + stays);
}

[[noreturn]] void Uncopied(const std::string& from, const std::string& resume, std::error_code why)
{
    Uncopied(from, resume, CTextString("写せません (") + CTextString(platform::FailureText(why)) + CTextString(")。"));
}

// The file whole through the open its load read through: the bytes that
// read holds, then the rest in the file layer's chunks, each a read the close
// does not interrupt. Unless the chunks left, at the pace of those read, would
// pass CopyMs: then it stops, and nothing is written.
void CopyInto(kivotasuGameKit::CFileWriter& writer, const std::string& from, const kivotasuGameKit::CFile& read,
              const std::string& resume)
{
    constexpr std::uint64_t Chunk = platform::IReadFile::ChunkBytes;
    const std::error_code failed = std::make_error_code(std::errc::io_error);
    platform::IReadFile* in = read.Unread();
    const std::optional<std::uint64_t> size = in ? in->Size() : std::nullopt;
    if (!size || read.GetSize() > *size) Uncopied(from, resume, failed);
    writer.Write(read.GetMemory(), read.GetSize());
    const std::uint32_t started = platform::Clock().Now();
    std::vector<char> piece;
    std::uint64_t chunks = 0;
    for (std::uint64_t left = *size - read.GetSize(); left > 0; left -= piece.size(), ++chunks) {
        const std::uint64_t spent = platform::Clock().Now() - started;
        if (chunks > 0 && spent + (left + Chunk - 1) / Chunk * spent / chunks > CopyMs)
            Uncopied(from, resume, CTextString("閉じるまでに写しきれません。"));
        piece.resize(std::min(left, Chunk));
        if (in->Read(piece.data(), piece.size()) != platform::ReadResult::Done) Uncopied(from, resume, failed);
        writer.Write(piece.data(), piece.size());
    }
}

} // namespace

bool CPlayersFiles::ReadSave(int code, kivotasuGameKit::CFile& save)
{
    const CTextString name = GetSaveFileName(code);
    std::string refusal;
    bool absent = false;
    const platform::ReadResult read = ReadStored(name, kivotasuGameKit::FileKind::Save, save, refusal, absent);
    if (read == platform::ReadResult::Interrupted) {
        // Nothing is reset, and the close keeps this save as the resume save.
        m_loadedSave = name.GetStr();
        m_loadInterrupted = true;
        m_loadRead.TakeImage(save);
        return false;
    }
    if (read == platform::ReadResult::Done && save.GetSize() == 0) refusal = "空のファイルです";
    if (refusal.empty()) return true;
    SayUnsaved("CPlayersFiles::ReadSave", CTextString("セーブデータを読み込めません。"), name, CTextString(refusal), false);
    return false;
}

// The global variables go before the reset, which keeps them in memory only
// when they could not be written, and are read back after it.
void CPlayersFiles::Load(int code)
{
    kivotasuGameKit::CFile save;
    if (!ReadSave(code, save)) return;
    Keep(Moment::Load);
    m_play.Reset();
    LoadGlobals();
    m_play.Take(save);
    m_loadedSave = m_play.HeldScript().name;
    m_loadInterrupted = false;
    m_loadRead.Close();
}

// Until its resume tag the engine holds only part of the place a load goes
// to: the save being read is that place whole.
void CPlayersFiles::KeepLoadedSave()
{
    const CTextString name = GetSaveFileName(ResumeCode);
    if (name.GetStr() == m_loadedSave) return;
    Saved("CPlayersFiles::KeepLoadedSave", "セーブデータ", name, false, [&] {
        // The file the load opened itself where the file system takes links;
        // a copy through that open where it refuses them (vfat and exFAT,
        // across a bind mount) or the name has moved on to another file,
        // whose failure, if any, is the one said.
        std::error_code refused;
        platform::IReadFile* opened = m_loadRead.Unread();
        if (m_loadInterrupted && opened && opened->Link(name.GetStr(), refused)) return;
        kivotasuGameKit::CFileWriter writer(name, kivotasuGameKit::MostBytes(kivotasuGameKit::FileKind::Save));
        const std::string_view held = m_play.HeldScript().bytes;
        if (m_loadInterrupted) CopyInto(writer, m_loadedSave, m_loadRead, name.GetStr());
        else writer.Write(held.data(), held.size());
        writer.Close();
    });
}
