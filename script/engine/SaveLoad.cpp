#include "script/engine/QuiltorEngine.h"

#include "frame/ErrorLog.h"
#include "frame/file/File.h"
#include "frame/file/FileBounds.h"
#include "frame/file/FileWriter.h"
#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "script/engine/GlobalSettings.h"
#include "script/engine/OverwriteQuestion.h"
#include "script/engine/ScreenShot.h"
#include "script/lang/SavedValue.h"
#include "script/lang/Set.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

using kivotasuGameKit::CTextFileWriter;
using kivotasuGameKit::CTextString;

namespace {

constexpr int QuickCode = -1;
constexpr int ResumeCode = -2;
constexpr int RingCode = 1000;
constexpr int RingSize = 10;
constexpr std::size_t CaptionBytes = 260;

// At most CaptionBytes, never half a two-byte character.
CTextString CaptionCut(const CTextString& caption)
{
    const std::string& text = caption.GetStr();
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + kivotasuGameKit::CharLengthAt(text, end);
        if (next > CaptionBytes) break;
        end = next;
    }
    return CTextString(text.substr(0, end));
}

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

// The file whole through one open: the bytes its load read, then the rest in
// the file layer's chunks, each a read the close does not interrupt. Unless
// the chunks left, at the pace of those read, would pass CopyMs: then it
// stops, and nothing is written.
void CopyInto(kivotasuGameKit::CFileWriter& writer, const std::string& from, const kivotasuGameKit::CFile& read,
              const std::string& resume)
{
    constexpr std::uint64_t Chunk = platform::IReadFile::ChunkBytes;
    const std::error_code failed = std::make_error_code(std::errc::io_error);
    std::error_code why;
    const std::unique_ptr<platform::IReadFile> in = platform::FileSystem().OpenRead(from, why);
    if (!in) Uncopied(from, resume, why);
    const std::optional<std::uint64_t> size = in->Size();
    if (!size || read.GetSize() > *size || !in->Seek(read.GetSize())) Uncopied(from, resume, failed);
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

void WriteTitle(CTextFileWriter& writer, const CTextString& caption)
{
    CTextString line("[TITLE");
    AppendSavedAttribute(line, "BODY", CaptionCut(caption));
    line += CTextString("]\n");
    writer.Write(line);
}

} // namespace

void CQuiltorEngine::WriteSave(const CTextString& name)
{
    CTextFileWriter writer(name, kivotasuGameKit::MostBytes(kivotasuGameKit::FileKind::Save));
    writer.Write(CTextString("[SAVE CONTROL=\"0\"]\n"));
    WriteTitle(writer, m_caption);
    m_bgm.WriteSave(writer);
    m_sound.WriteDefault(writer);
    writer.Write(CTextString(ScreenWidth() == 640 ? "\n[SCREEN NAME=\"0\"]\n" : "\n[SCREEN NAME=\"1\"]\n"));
    m_lock.WriteDefault(writer);
    writer.Write(CTextString("[LOCK]\n"));
    m_animations.WriteAll(writer);
    m_mouse.WriteSave(writer);
    m_windows.WriteAll(writer);
    m_backs.WriteAll(writer);
    m_acts.WriteAll(writer);
    m_visuals.WriteAll(writer);
    m_paints.WriteAll(writer);
    m_buttons.WriteAll(writer);
    m_cuts.WriteAll(writer);
    writer.Write(CTextString("\n[UNLOCK]\n"));
    m_text.Write(writer);
    m_log.Write(writer);
    CSet::GetInstance().WriteLocals(writer);
    CTextString tail;
    m_reader.WriteSave(tail);
    tail += CTextString("[SAVE CONTROL=\"1\"]\n");
    writer.Write(tail);

    WriteResumeTag(writer);
    writer.Close();
}

// The reader's place means nothing once the story has ended (it may lie
// behind the last byte after an error): such a save goes back to the end.
void CQuiltorEngine::WriteResumeTag(CTextFileWriter& writer)
{
    if (m_state.State == EngineState::ScriptEnd) {
        writer.Write(CTextString("\n[END]\n"));
        return;
    }
    switch (m_state.CurrentWait) {
    case WaitKind::C: writer.Write(CTextString("\n[C")); break;
    case WaitKind::L: writer.Write(CTextString("\n[L")); break;
    case WaitKind::P: writer.Write(CTextString("\n[P")); break;
    case WaitKind::Choice: m_select.Write(writer, m_buttons); break;
    }
    CTextString resume;
    AppendSavedAttribute(resume, "FILE", CTextString(m_reader.GetName()));
    resume.AppendAttribute("NAME", CTextString(std::to_string(m_reader.GetOffset())));
    resume += CTextString("]\n");
    writer.Write(resume);
}

void CQuiltorEngine::SaveCode(int code)
{
    const CTextString name = GetSaveFileName(code);
    if (Saved("CQuiltorEngine::WriteSave", "セーブデータ", name, true, [&] { WriteSave(name); }))
        KeepPlayersFiles(EndOfPlay::Saved);
}

void CQuiltorEngine::WriteResumeSave()
{
    const CTextString name = GetSaveFileName(ResumeCode);
    Saved("CQuiltorEngine::WriteSave", "セーブデータ", name, false, [&] { WriteSave(name); });
}

// Until its resume tag the engine holds only part of the place a load goes
// to: the save being read is that place whole.
void CQuiltorEngine::KeepLoadedSaveAsResume()
{
    const CTextString name = GetSaveFileName(ResumeCode);
    if (name.GetStr() == m_loadedSave) return;
    Saved("CQuiltorEngine::SaveResume", "セーブデータ", name, false, [&] {
        // The file itself where the file system takes links; a copy where it
        // refuses them (vfat and exFAT, across a bind mount), whose failure,
        // if any, is the one said.
        std::error_code refused;
        if (m_loadInterrupted && platform::FileSystem().Link(m_loadedSave, name.GetStr(), refused)) return;
        kivotasuGameKit::CFileWriter writer(name, kivotasuGameKit::MostBytes(kivotasuGameKit::FileKind::Save));
        if (m_loadInterrupted) CopyInto(writer, m_loadedSave, m_loadRead, name.GetStr());
        else writer.Write(m_reader.GetMemory(), m_reader.GetSize());
        writer.Close();
    });
}

void CQuiltorEngine::QuickSave()
{
    SaveCode(QuickCode);
}

void CQuiltorEngine::SaveSlot(int n)
{
    if (m_state.OverwriteCheck && platform::FileSystem().Exists(GetSaveFileName(n).GetStr()) && !AskOverwrite()) return;
    SaveCode(n);
}

// The new entry is written whole before the ring moves: a save that cannot
// be written (a full disk, a read-only folder, a value with no saved form)
// costs no entry of the ring.
void CQuiltorEngine::AutoSave()
{
    if (!m_state.AutoSave) return;
    const CTextString newest = GetSaveFileName(RingCode);
    const CTextString written = newest + CTextString(".new");
    if (!Saved("CQuiltorEngine::WriteSave", "セーブデータ", written, false, [&] { WriteSave(written); })) return;
    platform::IFileSystem& files = platform::FileSystem();
    files.Delete(GetSaveFileName(RingCode + RingSize - 1).GetStr());
    for (int entry = RingSize - 1; entry > 0; --entry)
        files.Rename(GetSaveFileName(RingCode + entry - 1).GetStr(), GetSaveFileName(RingCode + entry).GetStr());
    if (!files.Rename(written.GetStr(), newest.GetStr()))
        SayUnsaved("CQuiltorEngine::AutoSave", CTextString("セーブデータを保存できませんでした。"), newest,
                   CTextString("書いたセーブデータは ") + written.RightOfLast('/') + CTextString(" に残っています。"), false);
    KeepPlayersFiles(EndOfPlay::Saved);
}

// Read once, through the open that was checked: a FIFO neither blocks nor
// passes, the size is known before a byte is read, and a file replaced after
// the check is not what gets read.
platform::ReadResult CQuiltorEngine::ReadStored(const CTextString& name, kivotasuGameKit::FileKind kind,
                                                kivotasuGameKit::CFile& save, std::string& refusal, bool& absent)
{
    const std::uint64_t bound = kivotasuGameKit::MostBytes(kind);
    std::uint64_t size = 0;
    std::error_code why;
    using kivotasuGameKit::ReadFailure;
    ReadFailure failure = ReadFailure::None;
    const platform::ReadResult result = save.ReadOnDisk(name.GetStr(), bound, size, why, &failure);
    absent = failure == ReadFailure::NotFound && why == std::errc::no_such_file_or_directory;
    if (result != platform::ReadResult::Failed) return result;
    switch (failure) {
    case ReadFailure::NotFound:
        if (absent) refusal = "ファイルがありません";
        else if (why == std::errc::is_a_directory) refusal = "ファイルではなくフォルダです";
        else if (why == std::errc::no_such_device) refusal = "普通のファイルではありません (FIFO や装置)";
        else if (why == std::errc::permission_denied) refusal = "読むことが許されていません";
        else refusal = platform::FailureText(why);
        break;
    case ReadFailure::SizeUnknown: refusal = "大きさがわかりません"; break;
    case ReadFailure::NoMemory: refusal = std::to_string(size) + " バイトを読むメモリがありません"; break;
    case ReadFailure::OverBound: refusal = std::to_string(size) + " バイトあり、上限の " + std::to_string(bound) + " バイトを超えています"; break;
    default: refusal = platform::FailureText(std::make_error_code(std::errc::io_error)); break;
    }
    return result;
}

void CQuiltorEngine::LoadCode(int code)
{
    const CTextString name = GetSaveFileName(code);
    // Refused before anything is reset: the game goes on where it was.
    kivotasuGameKit::CFile save;
    std::string refusal;
    bool absent = false;
    const platform::ReadResult read = ReadStored(name, kivotasuGameKit::FileKind::Save, save, refusal, absent);
    if (read == platform::ReadResult::Interrupted) {
        // Nothing is reset, and the close keeps this save as the resume save.
        m_loadedSave = name.GetStr();
        m_loadInterrupted = true;
        m_loadRead.TakeImage(save);
        return;
    }
    if (read == platform::ReadResult::Done && save.GetSize() == 0) refusal = "空のファイルです";
    if (!refusal.empty()) {
        SayUnsaved("CQuiltorEngine::LoadCode", CTextString("セーブデータを読み込めません。"), name, CTextString(refusal), false);
        return;
    }
    KeepPlayersFiles(EndOfPlay::Load);
    Reset();
    m_log.ExpectSavedLines();
    LoadGlobals();
    m_reader.Take(save);
    m_loadedSave = m_reader.GetName();
    m_loadInterrupted = false;
    m_loadRead.Close();
    m_state.ChangeState(EngineState::RunTags);
}

void CQuiltorEngine::LoadResume()
{
    LoadCode(ResumeCode);
}

void CQuiltorEngine::LoadQuick()
{
    LoadCode(QuickCode);
}

void CQuiltorEngine::LoadSlot(int n)
{
    LoadCode(n);
}

void CQuiltorEngine::LoadAutoSave(int n)
{
    LoadCode(RingCode + n);
}

void CQuiltorEngine::SaveScreenPicture()
{
    const std::string folder = kivotasuGameKit::CFile::GetCurrentDir();
    std::string proposed;
    for (int n = 0; n < 100; ++n) {
        proposed = (n < 10 ? "Quiltor0" : "Quiltor") + std::to_string(n) + ".pdt";
        if (!platform::FileSystem().Exists(folder + proposed)) break;
    }
    platform::FileDialog dialog;
    dialog.kind = platform::FileDialog::Kind::Save;
    dialog.titleSjis = "画面の保存";
    dialog.folder = folder;
    dialog.fileNameSjis = proposed;
    dialog.filters = {{"PDT Files(*.pdt)", "*.pdt"}};
    dialog.defaultExtension = "pdt";
    dialog.overwritePrompt = true;
    const std::optional<std::string> chosen = platform::ChooseFile(std::move(dialog));
    if (!chosen) return;
    const CTextString name(*chosen);
    CScreenShot shot;
    Caught(
        [&] {
            if (shot.Capture(GetBackPlane()) != 0) throw std::bad_alloc();
            shot.SavePDT10(name);
        },
        [&](const EScript& error) {
            kivotasuGameKit::ErrorLog.Out("CQuiltorEngine::SaveScreenPicture %s: %s", name.c_str(), error.GetSaid().c_str());
        });
}
