#include "script/lang/ScriptError.h"

#include "platform/MessageBox.h"

CScriptError& CScriptError::GetInstance()
{
    static CScriptError instance;
    return instance;
}

void CScriptError::Report(const CTextString& message)
{
    if (m_observer) m_observer(message);
    if (m_mode != 1) return;
    CTextString text = m_tagText + "\n\n" + message + "\n\n\n……終了しちゃいますよぉ？";
    auto answer = platform::MessageBoxes().Show("スクリプトエラー", text.GetStr(),
                                                platform::MessageBoxStyle::OkCancel, true);
    if (answer == platform::MessageBoxAnswer::Ok && m_closeHandler) m_closeHandler();
}
