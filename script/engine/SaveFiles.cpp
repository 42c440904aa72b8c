#include "script/engine/QuiltorEngine.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "frame/ErrorLog.h"
#include "frame/file/FileBounds.h"
#include "frame/file/FileWriter.h"
#include "platform/CloseLatch.h"
#include "platform/FileSystem.h"
#include "script/lang/Set.h"
#include "script/lang/TagLexer.h"
#include "script/lang/TagSalvage.h"

using kivotasuGameKit::CTextString;

// The folder is the stem's folder's parent with "/Save/": data/index.txt of
// a game folder saves into the game folder's Save folder.
CTextString CQuiltorEngine::GetSaveFileName(int code) const
{
    CreateSaveFolder();
    const CTextString& stem = m_state.NameStem;
    CTextString folder = stem.LeftOfLast('/').LeftOfLast('/');
    CTextString name = folder + CTextString("/Save/") + stem.RightOfLast('/');
    switch (code) {
    case -2: name += CTextString(".a"); break;
    case -1: name += CTextString(".q"); break;
    case -3: name += CTextString(".g"); break;
    default:
        if (code >= 1000) name.AppendFormat(".s%02d", code - 1000);
        else name.AppendFormat(".%03d", code);
        break;
    }
    return name;
}

void CQuiltorEngine::CreateSaveFolder() const
{
    const CTextString& stem = m_state.NameStem;
    platform::FileSystem().CreateFolder((stem.LeftOfLast('/').LeftOfLast('/') + CTextString("/Save")).GetStr());
}

bool CQuiltorEngine::GetSaveTime(int code, CTextString& text) const
{
    const std::optional<platform::LocalTime> time = platform::FileSystem().LastWriteTime(GetSaveFileName(code).GetStr());
    if (!time) return false;
    text = CTextString(std::to_string(time->year));
    text.AppendFormat("/%02d/%02d %02d:%02d:%02d", time->month, time->day, time->hour, time->minute, time->second);
    return true;
}

// A failure costs the global variables' file only; a save written before
// stays written.
void CQuiltorEngine::SaveGlobals()
{
    const CTextString name = GetSaveFileName(-3);
    m_globalsUnsaved = true;
    if (LeftAsItIs("CQuiltorEngine::SaveGlobals", "グローバル変数", name, m_globalsKept)) return;
    m_globalsUnsaved = !Saved("CQuiltorEngine::SaveGlobals", "グローバル変数", name, true, [&] {
        kivotasuGameKit::CTextFileWriter writer(name, kivotasuGameKit::MostBytes(kivotasuGameKit::FileKind::Text));
        CSet::GetInstance().WriteGlobals(writer);
        writer.Close();
    });
}

// What can be read serves the run. The file is written anew only when all of
// it was read: one that was not (damaged entries, UTF-8, unreadable, too
// large, interrupted by the close) holds what this run could not read, and is
// left for its author to mend, where the UTF-8 notice's command and the
// offsets said point.
void CQuiltorEngine::LoadGlobals()
{
    if (m_globalsUnsaved) return;
    const char* where = "CQuiltorEngine::LoadGlobals";
    const CTextString name = GetSaveFileName(-3);
    if (!ReadBack(where, name, m_globalsKept)) return;
    const std::string_view text = m_reader.Text();
    CTagAttributes record;
    // The entries SaveGlobals writes: [SET VARIABLE="name" ENTITY="value"].
    const bool whole = SalvageRecords(
        text, {TagId::Set, 2},
        [&](std::size_t open, std::size_t close) {
            std::size_t pos = open;
            CTagLexer(text.substr(0, close + 1), pos, LexFaults::Raised).ReadTag(record);
            const CTextString& variable = record.GetValue(TagAttributeKey::Variable);
            if (record.GetId() != TagId::Set || variable.IsEmpty()) throw EScript(CTextString("変数を設定するタグではありません"));
            CSet::GetInstance().Set(variable, record.GetValue(TagAttributeKey::Entity), true);
        },
        [&](const SkippedRun& run) {
            kivotasuGameKit::ErrorLog.Out("CQuiltorEngine::LoadGlobals %s の %zu バイト目から %zu バイト (%zu か所) を飛ばします: %s",
                                          name.c_str(), run.offset, run.bytes, run.places, run.why.c_str());
            if (m_globalsKept.why.IsEmpty())
                m_globalsKept.why = CTextString(std::to_string(run.offset) + " バイト目から読めないところがあります。");
        },
        &platform::CloseAsked);
    if (!whole) KeepInterrupted(where, name, m_globalsKept);
    m_reader.Seek(static_cast<std::int64_t>(text.size()));
}
