#include "script/engine/PlayersFiles.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/ErrorLog.h"
#include "frame/file/FileBounds.h"
#include "platform/CloseLatch.h"
#include "script/lang/Set.h"
#include "script/lang/TagLexer.h"
#include "script/lang/TagSalvage.h"
#include "script/lang/Utf8Script.h"

using kivotasuGameKit::CTextString;

// A failure costs the global variables' file only; a save written before
// stays written.
void CPlayersFiles::SaveGlobals()
{
    const CTextString name = GetSaveFileName(GlobalsCode);
    m_globalsUnsaved = true;
    if (LeftAsItIs("CPlayersFiles::SaveGlobals", "グローバル変数", name, m_globalsKept)) return;
    m_globalsUnsaved = !Saved("CPlayersFiles::SaveGlobals", "グローバル変数", name, true, [&] {
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
void CPlayersFiles::LoadGlobals()
{
    if (m_globalsUnsaved) return;
    const char* where = "CPlayersFiles::LoadGlobals";
    const CTextString name = GetSaveFileName(GlobalsCode);
    kivotasuGameKit::CFile file;
    if (!ReadBack(where, name, m_globalsKept, file)) return;
    const std::string_view text(reinterpret_cast<const char*>(file.GetMemory()), file.GetSize());
    // Read whole, it is kept only for being UTF-8: named so, as a script is.
    if (!m_globalsKept.why.IsEmpty()) {
        const std::string path = kivotasuGameKit::CFile::NormalizePath(name.GetStr());
        SayUtf8Script(path, text);
        ShowUtf8Script(path, text);
    }
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
            kivotasuGameKit::ErrorLog.Out("CPlayersFiles::LoadGlobals %s の %zu バイト目から %zu バイト (%zu か所) を飛ばします: %s",
                                          name.c_str(), run.offset, run.bytes, run.places, run.why.c_str());
            if (m_globalsKept.why.IsEmpty())
                m_globalsKept.why = CTextString(std::to_string(run.offset) + " バイト目から読めないところがあります。");
        },
        &platform::CloseAsked);
    if (!whole) KeepInterrupted(where, name, m_globalsKept);
}
