#include "script/engine/OverwriteQuestion.h"

#include "platform/Dialogs.h"

bool AskOverwrite()
{
    return platform::Question("上書き確認", "データを上書きしてもよろしいですか？", {"はい", "いいえ"}) == 1;
}
