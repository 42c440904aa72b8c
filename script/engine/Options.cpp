#include "script/engine/QuiltorEngine.h"

#include <string>

#include "frame/file/FileWriter.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/ScriptError.h"
#include "script/lang/Set.h"
#include "script/tag/FontList.h"

using kivotasuGameKit::CTextFileWriter;
using kivotasuGameKit::CTextString;

namespace {

void WriteNameOption(CTextFileWriter& writer, const char* control, int value)
{
    CTextString line;
    line.AppendFormat("[SYSTEM CONTROL=\"%s\" NAME=\"%d\"]\n", control, value);
    writer.Write(line);
}

void WriteTimeOptions(CTextFileWriter& writer)
{
    CTextString lines;
    lines.AppendFormat("[SYSTEM CONTROL=\"EFFECT\" TIME=\"%d\"]\n", GetEffectTime());
    lines.AppendFormat("[SYSTEM CONTROL=\"TEXT\" TIME=\"%d\"]\n", GetTextTime());
    writer.Write(lines);
}

void WriteWindowRGBOption(CTextFileWriter& writer)
{
    CTextString line;
    line.AppendFormat("[SYSTEM CONTROL=\"WINDOW_RGB\" COLOR=\"#%06X\"]\n", GetWindowRGB());
    writer.Write(line);
}

} // namespace

// A tag that fails is passed and the rest read: it costs its own line only.
void CQuiltorEngine::LoadOption()
{
    const CTextString name = CPlayersFiles::OptionsName();
    kivotasuGameKit::CFile file;
    bool absent = false;
    if (!m_files.ReadOptions(file, absent)) {
        // Options found only in an archive are no file the close writes over.
        if (absent) RunStoredFile(name);
        return;
    }
    m_reader.Take(file);
    const std::string read = m_reader.GetName();
    RunStoredTags(name);
    const std::size_t stopped = m_reader.GetOffset();
    if (m_reader.GetName() != read) m_files.OptionsStopped(CTextString("途中で別のスクリプトへ移り、終わりまで読んでいません。"));
    else if (stopped < m_reader.Text().size()) m_files.OptionsStopped(CTextString(std::to_string(stopped) + " バイト目から先を読んでいません。"));
    m_reader.Close();
}

void CQuiltorEngine::WriteOptions(CTextFileWriter& writer)
{
    WriteNameOption(writer, "DISPLAYMODE", m_shown.IsFullScreen() ? 1 : 0);
    WriteDeviceOptions(writer);
    CFontList::GetInstance().WriteOption(writer);
    WriteTimeOptions(writer);
    const char* skipNames[] = {"SKIPTEXT", "SKIPGRAPHIC", "SKIPINPUT", "SKIPCOND"};
    for (std::size_t i = 0; i < m_state.SkipSettings.size(); ++i) {
        WriteNameOption(writer, skipNames[i], static_cast<int>(m_state.SkipSettings[i]));
    }
    WriteNameOption(writer, "SKIPPATTERN", static_cast<int>(m_state.SkipPattern));
    WriteNameOption(writer, "ERROR", CScriptError::GetInstance().GetMode());
    WriteNameOption(writer, "OVERWRITE", m_state.OverwriteCheck);
    WriteWindowRGBOption(writer);
    WriteNameOption(writer, "ANMCURSOR", m_state.AnimatedCursor);
    WriteNameOption(writer, "ANTIALIAS", m_text.GetAntialias() ? 1 : 0);
}
