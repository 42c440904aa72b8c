#include "script/lang/ScriptError.h"

#include "frame/ErrorLog.h"
#include "platform/MessageBox.h"

CScriptError& CScriptError::GetInstance()
{
    static CScriptError instance;
    return instance;
}

void CScriptError::Report(const CTextString& message)
{
    if (m_observer) m_observer(message);
    // The log keeps every error, also those the mode shows no box for.
    kivotasuGameKit::ErrorLog.Out("スクリプトエラー %s %s", m_tagText.c_str(), message.c_str());
    if (m_mode != 1) return;
    CTextString text = m_tagText + "\n\n" + message + "\n\n\n……終了しちゃいますよぉ？";
    auto answer = platform::MessageBoxes().Show("スクリプトエラー", text.GetStr(),
                                                platform::MessageBoxStyle::OkCancel, true);
    if (answer == platform::MessageBoxAnswer::Ok && m_closeHandler) m_closeHandler();
}
