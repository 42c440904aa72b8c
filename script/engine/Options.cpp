#include "script/engine/QuiltorEngine.h"

#include <string>

#include "frame/file/FileBounds.h"
#include "frame/file/FileWriter.h"
#include "platform/CloseLatch.h"
#include "platform/FileSystem.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/ScriptError.h"
#include "script/lang/Set.h"
#include "script/tag/FontList.h"

using kivotasuGameKit::CTextFileWriter;
using kivotasuGameKit::CTextString;

namespace {

CTextString OptionFileName()
{
    CTextString name("{KARUTEMI}system/option.qsd");
    CSet::GetInstance().Expand(name);
    return name;
}

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

// The options the dispatcher did not reach (behind a wait, an unclosed tag
// or a JUMP, or the close) would be written over by their defaults. A tag
// that fails is passed and the rest read: it costs its own line only.
void CQuiltorEngine::LoadOption()
{
    const char* where = "CQuiltorEngine::LoadOption";
    const CTextString name = OptionFileName();
    if (!ReadBack(where, name, m_optionsKept)) {
        // Options found only in an archive are no file the close writes over.
        if (m_optionsKept.why.IsEmpty()) RunStoredFile(name);
        return;
    }
    const std::string file = m_reader.GetName();
    RunStoredTags(name);
    const std::size_t stopped = m_reader.GetOffset();
    if (m_reader.GetName() != file || stopped < m_reader.Text().size()) {
        if (platform::CloseAsked()) KeepInterrupted(where, name, m_optionsKept);
        else if (m_optionsKept.why.IsEmpty())
            m_optionsKept.why = m_reader.GetName() == file
                                    ? CTextString(std::to_string(stopped) + " バイト目から先を読んでいません。")
                                    : CTextString("途中で別のスクリプトへ移り、終わりまで読んでいません。");
    }
    m_reader.Close();
}

// system/ is made as Save/ is, for a game folder that comes without it.
void CQuiltorEngine::SaveOption()
{
    const CTextString name = OptionFileName();
    if (LeftAsItIs("CQuiltorEngine::SaveOption", "設定", name, m_optionsKept)) return;
    Saved("CQuiltorEngine::SaveOption", "設定", name, true, [&] { WriteOption(name); });
}

void CQuiltorEngine::WriteOption(const CTextString& name)
{
    platform::FileSystem().CreateFolder(name.LeftOfLast('/').GetStr());
    CTextFileWriter writer(name, kivotasuGameKit::MostBytes(kivotasuGameKit::FileKind::Text));
    WriteNameOption(writer, "DISPLAYMODE", GetDraw().IsFullScreen() ? 1 : 0);
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
    writer.Close();
}
