#include "script/engine/PlayersFiles.h"

#include <optional>
#include <string>

#include "frame/file/FileBounds.h"
#include "script/engine/OverwriteQuestion.h"

using kivotasuGameKit::CTextString;

namespace {

// The folder is the stem's folder's parent: data/index.txt of a game folder
// saves into the game folder's Save folder.
CTextString SaveFolder(const CTextString& stem)
{
    return stem.LeftOfLast('/').LeftOfLast('/') + CTextString("/Save");
}

} // namespace

CTextString CPlayersFiles::GetSaveFileName(int code) const
{
    const CTextString& stem = m_play.NameStem();
    const CTextString folder = SaveFolder(stem);
    platform::FileSystem().CreateFolder(folder.GetStr());
    CTextString name = folder + CTextString("/") + stem.RightOfLast('/');
    switch (code) {
    case ResumeCode: name += CTextString(".a"); break;
    case QuickCode: name += CTextString(".q"); break;
    case GlobalsCode: name += CTextString(".g"); break;
    default:
        if (code >= RingCode) name.AppendFormat(".s%02d", code - RingCode);
        else name.AppendFormat(".%03d", code);
        break;
    }
    return name;
}

bool CPlayersFiles::GetSaveTime(int code, CTextString& text) const
{
    const std::optional<platform::LocalTime> time = platform::FileSystem().LastWriteTime(GetSaveFileName(code).GetStr());
    if (!time) return false;
    text = CTextString(std::to_string(time->year));
    text.AppendFormat("/%02d/%02d %02d:%02d:%02d", time->month, time->day, time->hour, time->minute, time->second);
    return true;
}

void CPlayersFiles::WriteSaveFile(const CTextString& name)
{
    kivotasuGameKit::CTextFileWriter writer(name, kivotasuGameKit::MostBytes(kivotasuGameKit::FileKind::Save));
    m_play.WriteSave(writer);
    writer.Close();
}

void CPlayersFiles::SaveCode(int code)
{
    const CTextString name = GetSaveFileName(code);
    if (Saved("CPlayersFiles::WriteSaveFile", "セーブデータ", name, true, [&] { WriteSaveFile(name); })) Keep(Moment::Saved);
}

void CPlayersFiles::QuickSave()
{
    SaveCode(QuickCode);
}

void CPlayersFiles::SaveSlot(int n)
{
    if (m_play.AsksOverwrite() && platform::FileSystem().Exists(GetSaveFileName(n).GetStr()) && !AskOverwrite()) return;
    SaveCode(n);
}

// A save that cannot be written (a full disk, a read-only folder, a value
// with no saved form) costs no entry of the ring.
void CPlayersFiles::AutoSave()
{
    if (!m_play.AutoSaves()) return;
    const CTextString newest = GetSaveFileName(RingCode);
    const CTextString written = newest + CTextString(".new");
    if (!Saved("CPlayersFiles::WriteSaveFile", "セーブデータ", written, false, [&] { WriteSaveFile(written); })) return;
    platform::IFileSystem& files = platform::FileSystem();
    files.Delete(GetSaveFileName(RingCode + RingSize - 1).GetStr());
    for (int entry = RingSize - 1; entry > 0; --entry)
        files.Rename(GetSaveFileName(RingCode + entry - 1).GetStr(), GetSaveFileName(RingCode + entry).GetStr());
    if (!files.Rename(written.GetStr(), newest.GetStr()))
        SayUnsaved("CPlayersFiles::AutoSave", CTextString("セーブデータを保存できませんでした。"), newest,
                   CTextString("書いたセーブデータは ") + written.RightOfLast('/') + CTextString(" に残っています。"), false);
    Keep(Moment::Saved);
}
