#include "script/engine/QuiltorEngine.h"

#include "frame/ErrorLog.h"
#include "frame/file/File.h"
#include "frame/file/FileWriter.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "script/engine/GlobalSettings.h"
#include "script/engine/ScreenShot.h"
#include "script/lang/SavedValue.h"
#include "script/lang/Set.h"

#include <new>
#include <optional>
#include <string>

using kivotasuGameKit::CTextFileWriter;
using kivotasuGameKit::CTextString;

namespace {

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

void WriteTitle(CTextFileWriter& writer, const CTextString& caption)
{
    CTextString line("[TITLE");
    AppendSavedAttribute(line, "BODY", CaptionCut(caption));
    line += CTextString("]\n");
    writer.Write(line);
}

} // namespace

void CQuiltorEngine::WriteSave(CTextFileWriter& writer)
{
    writer.Write(CTextString("[SAVE CONTROL=\"0\"]\n"));
    WriteTitle(writer, m_caption);
    m_bgm.WriteSave(writer);
    m_sound.WriteDefault(writer);
    writer.Write(CTextString(ScreenWidth() == 640 ? "\n[SCREEN NAME=\"0\"]\n" : "\n[SCREEN NAME=\"1\"]\n"));
    m_shown.GetLock().WriteDefault(writer);
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

bool CQuiltorEngine::StoryEnded() const
{
    return m_state.State == EngineState::ScriptEnd || m_reader.GetProgress() == 100;
}

void CQuiltorEngine::Take(kivotasuGameKit::CFile& save)
{
    m_log.ExpectSavedLines();
    m_reader.Take(save);
    m_state.ChangeState(EngineState::RunTags);
}

void CQuiltorEngine::LoadResume()
{
    m_files.Load(CPlayersFiles::ResumeCode);
}

void CQuiltorEngine::LoadQuick()
{
    m_files.Load(CPlayersFiles::QuickCode);
}

void CQuiltorEngine::LoadSlot(int n)
{
    m_files.Load(n);
}

void CQuiltorEngine::LoadAutoSave(int n)
{
    m_files.Load(CPlayersFiles::RingCode + n);
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
            if (shot.Capture(m_shown.GetBackPlane()) != 0) throw std::bad_alloc();
            shot.SavePDT10(name);
        },
        [&](const EScript& error) {
            kivotasuGameKit::ErrorLog.Out("CQuiltorEngine::SaveScreenPicture %s: %s", name.c_str(), error.GetSaid().c_str());
        });
}
