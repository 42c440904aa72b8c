#include "script/engine/QuiltorEngine.h"

#include <optional>
#include <string>
#include <utility>

#include "frame/ErrorLog.h"
#include "script/lang/Utf8Script.h"

using kivotasuGameKit::CTextString;

bool CQuiltorEngine::ReadBack(const char* where, const CTextString& name, KeptFile& kept)
{
    kept = {};
    kivotasuGameKit::CFile file;
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
    m_reader.Take(file);
    if (IsJapaneseUtf8(m_reader.Text())) kept.why = CTextString("UTF-8 で書かれています。");
    return true;
}

void CQuiltorEngine::KeepInterrupted(const char* where, const CTextString& name, KeptFile& kept)
{
    kivotasuGameKit::ErrorLog.Out("%s %s: 閉じるため、読み終える前にやめました", where, name.c_str());
    // A fault found before the close is still the file's, and said.
    if (!kept.why.IsEmpty()) return;
    kept.why = CTextString("読み終える前に閉じました。");
    kept.said = true;
}

bool CQuiltorEngine::LeftAsItIs(const char* where, const char* what, const CTextString& name, KeptFile& kept)
{
    if (kept.why.IsEmpty()) return false;
    if (!std::exchange(kept.said, true))
        SayUnsaved(where, CTextString(what) + CTextString("のファイルを上書きせずに残します。"), name,
                   kept.why + CTextString("直すまで、この回の") + CTextString(what) + CTextString("は保存されません。"), true);
    return true;
}
