#include "script/engine/OverwriteQuestion.h"

#include "platform/MessageBox.h"

bool AskOverwrite()
{
    return platform::MessageBoxes().Show("上書き確認", "データを上書きしてもよろしいですか？", platform::MessageBoxStyle::YesNo,
                                         false) == platform::MessageBoxAnswer::Yes;
}
