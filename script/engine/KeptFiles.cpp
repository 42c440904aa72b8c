#include "script/engine/PlayersFiles.h"

#include <string>
#include <system_error>
#include <utility>

#include "frame/ErrorLog.h"
#include "frame/file/FileBounds.h"
#include "platform/CloseLatch.h"
#include "script/lang/Set.h"
#include "script/lang/Utf8Script.h"

using kivotasuGameKit::CTextString;

// Read once, through the open that was checked: a FIFO neither blocks nor
// passes, the size is known before a byte is read, and a file replaced after
// the check is not what gets read.
platform::ReadResult CPlayersFiles::ReadStored(const CTextString& name, kivotasuGameKit::FileKind kind,
                                               kivotasuGameKit::CFile& file, std::string& refusal, bool& absent)
{
    using kivotasuGameKit::ReadFailure;
    const std::uint64_t bound = kivotasuGameKit::MostBytes(kind);
    std::uint64_t size = 0;
    std::error_code why;
    ReadFailure failure = ReadFailure::None;
    const platform::ReadResult result = file.ReadOnDisk(name.GetStr(), bound, size, why, &failure);
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

bool CPlayersFiles::ReadBack(const char* where, const CTextString& name, KeptFile& kept, kivotasuGameKit::CFile& file)
{
    kept = {};
    std::string refusal;
    bool absent = false;
    switch (ReadStored(name, kivotasuGameKit::FileKind::Text, file, refusal, absent)) {
    case platform::ReadResult::Done: break;
    case platform::ReadResult::Interrupted:
        // Logged there, as a read the close stops later is.
        KeepInterrupted(where, name, kept);
        return false;
    case platform::ReadResult::Failed:
        kivotasuGameKit::ErrorLog.Out("%s %s: %s", where, name.c_str(), refusal.c_str());
        if (!absent) kept.why = CTextString(refusal + "。");
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(file.GetMemory()), file.GetSize());
    if (IsJapaneseUtf8(text)) kept.why = CTextString("UTF-8 で書かれています。");
    return true;
}

void CPlayersFiles::KeepInterrupted(const char* where, const CTextString& name, KeptFile& kept)
{
    kivotasuGameKit::ErrorLog.Out("%s %s: 閉じるため、読み終える前にやめました", where, name.c_str());
    // A fault found before the close is still the file's, and said.
    if (!kept.why.IsEmpty()) return;
    kept.why = CTextString("読み終える前に閉じました。");
    kept.said = true;
}

bool CPlayersFiles::LeftAsItIs(const char* where, const char* what, const CTextString& name, KeptFile& kept)
{
    if (kept.why.IsEmpty()) return false;
    if (!std::exchange(kept.said, true))
        SayUnsaved(where, CTextString(what) + CTextString("のファイルを上書きせずに残します。"), name,
                   kept.why + CTextString("直すまで、この回の") + CTextString(what) + CTextString("は保存されません。"), true);
    return true;
}

CTextString CPlayersFiles::OptionsName()
{
    CTextString name("{KARUTEMI}system/option.qsd");
    CSet::GetInstance().Expand(name);
    return name;
}

bool CPlayersFiles::ReadOptions(kivotasuGameKit::CFile& file, bool& absent)
{
    const bool read = ReadBack("CPlayersFiles::ReadOptions", OptionsName(), m_optionsKept, file);
    absent = !read && m_optionsKept.why.IsEmpty();
    return read;
}

// The options the dispatcher did not reach (behind a wait, an unclosed tag
// or a JUMP, or the close) would be written over by their defaults.
void CPlayersFiles::OptionsStopped(const CTextString& why)
{
    if (platform::CloseAsked()) KeepInterrupted("CPlayersFiles::ReadOptions", OptionsName(), m_optionsKept);
    else if (m_optionsKept.why.IsEmpty()) m_optionsKept.why = why;
}

// system/ is made as Save/ is, for a game folder that comes without it.
void CPlayersFiles::SaveOptions()
{
    const CTextString name = OptionsName();
    if (LeftAsItIs("CPlayersFiles::SaveOptions", "設定", name, m_optionsKept)) return;
    Saved("CPlayersFiles::SaveOptions", "設定", name, true, [&] {
        platform::FileSystem().CreateFolder(name.LeftOfLast('/').GetStr());
        kivotasuGameKit::CTextFileWriter writer(name, kivotasuGameKit::MostBytes(kivotasuGameKit::FileKind::Text));
        m_play.WriteOptions(writer);
        writer.Close();
    });
}
