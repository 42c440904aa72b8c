#include "script/engine/QuiltorEngine.h"

#include "script/engine/MenuCommands.h"

using platform::DialogControl;

namespace {

constexpr std::uint32_t CustomSkipPattern = MenuCommand::SkipCustom - MenuCommand::SkipNormal;
constexpr int Ok = 1;
constexpr int Cancel = 2;
// The radio groups of the skip settings, text, graphic and input, in the
// order of the game state's settings.
constexpr int SkipGroups[] = {1100, 1101, 1102};
constexpr int ConditionGroup = 1103;
// The automatic reading's wait: no time per character, 2000 ms per page.
constexpr int WaitPerCharacter = 0;
constexpr int WaitPerPage = 2000;

std::vector<std::string> Choices(std::initializer_list<const char*> texts)
{
    return {texts.begin(), texts.end()};
}

} // namespace

// The condition group and the wait fields are shown, not stored.
void CQuiltorEngine::CustomSkipDialog()
{
    const auto& settings = m_state.SkipSettings;
    platform::Dialog dialog;
    dialog.titleSjis = "カスタムスキップ";
    dialog.controls = {
        DialogControl::Radio(SkipGroups[0], "テキスト表示", Choices({"一文字ずつ", "ノーウェイト", "非表示"}),
                             static_cast<int>(settings[0])),
        DialogControl::Radio(SkipGroups[1], "画像表示", Choices({"通常エフェクト", "ノーウェイト", "非表示"}),
                             static_cast<int>(settings[1]))
            .OnSameLine(),
        DialogControl::Radio(SkipGroups[2], "入力", Choices({"通常", "お手軽", "手ぶら進行", "ノーウェイト"}),
                             static_cast<int>(settings[2]))
            .OnSameLine(),
        DialogControl::Radio(ConditionGroup, "スキップ条件", Choices({"無条件で常に", "未読テキストまで", "既読テキストは常に"}), 0),
        DialogControl::Group("手ぶらの待ち時間",
                             {DialogControl::Label("待ち時間　=　（テキスト文字数　×"),
                              DialogControl::Number(0, WaitPerCharacter, 0, 99999).OnSameLine(),
                              DialogControl::Label("）　　　　＋").OnSameLine(),
                              DialogControl::Number(0, WaitPerPage, 0, 99999).OnSameLine(),
                              DialogControl::Label("[ms]").OnSameLine()}),
    };
    dialog.buttons = {{"OK", Ok}, {"ｷｬﾝｾﾙ", Cancel}};
    dialog.defaultResult = Ok;
    dialog.cancelResult = Cancel;
    if (platform::Dialogs().RunDialog(dialog) != Ok) return;
    for (std::size_t i = 0; i < std::size(SkipGroups); ++i)
        m_state.SkipSettings[i] = static_cast<std::uint32_t>(platform::FindControl(dialog, SkipGroups[i])->value);
    // The custom preset in force takes the new settings at once.
    if (m_state.SkipPattern == CustomSkipPattern) SetSkipPattern(CustomSkipPattern);
}
