#include "platform/MessageBox.h"
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <string>

using platform::HeadlessMessageBoxes;
using platform::MessageBoxAnswer;
using platform::MessageBoxStyle;

TEST(HeadlessMessageBoxes, AnswersInQueueOrderThenDismisses)
{
    HeadlessMessageBoxes boxes;
    boxes.Push(MessageBoxAnswer::Yes);
    boxes.Push(MessageBoxAnswer::No);

    EXPECT_EQ(boxes.Show("t", "a", MessageBoxStyle::YesNo, false), MessageBoxAnswer::Yes);
    EXPECT_EQ(boxes.Show("t", "b", MessageBoxStyle::YesNo, false), MessageBoxAnswer::No);
    // A dry queue behaves like a box closed without an answer.
    EXPECT_EQ(boxes.Show("t", "c", MessageBoxStyle::Ok, false), MessageBoxAnswer::Ok);
    EXPECT_EQ(boxes.Show("t", "d", MessageBoxStyle::OkCancel, false), MessageBoxAnswer::Cancel);
    EXPECT_EQ(boxes.Show("t", "e", MessageBoxStyle::YesNo, false), MessageBoxAnswer::No);
    EXPECT_EQ(boxes.Show("t", "f", MessageBoxStyle::YesNoCancel, false), MessageBoxAnswer::Cancel);
}

TEST(HeadlessMessageBoxes, RecordsEveryBoxWithItsBytes)
{
    HeadlessMessageBoxes boxes;
    boxes.Show("エラー", "表示", MessageBoxStyle::OkCancel, true);
    boxes.Show("x", "", MessageBoxStyle::Ok, false);

    auto shown = boxes.History();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].titleSjis, "\x83\x47\x83\x89\x81\x5B");
    EXPECT_EQ(shown[0].textSjis, "\x95\x5C\x8E\xA6");
    EXPECT_EQ(shown[0].style, MessageBoxStyle::OkCancel);
    EXPECT_TRUE(shown[0].warning);
    EXPECT_EQ(shown[1].titleSjis, "x");
    EXPECT_FALSE(shown[1].warning);
}

TEST(MessageBoxes, InstalledServiceIsTheOneReached)
{
    auto owned = std::make_unique<HeadlessMessageBoxes>();
    HeadlessMessageBoxes* boxes = owned.get();
    platform::InstallMessageBoxes(std::move(owned));
    boxes->Push(MessageBoxAnswer::Yes);
    EXPECT_EQ(platform::MessageBoxes().Show("t", "m", MessageBoxStyle::YesNoCancel, false),
              MessageBoxAnswer::Yes);
    EXPECT_EQ(boxes->History().size(), 1u);
}

// The text of a box no display shows goes to stderr on one line, its control
// bytes named: a CRLF script's tag breaks at each CR as at each LF.
TEST(MessageBoxes, ABoxThatCannotBeShownIsSaidOnOneLine)
{
    const struct {
        const char* title;
        std::string text;
        std::string said;
    } cases[] = {
        {"スクリプトエラー", "[TEXT\r\n BODY=\"x\"]\r\n\r\n属性が違います。\r\n",
         platform::Cp932ToUtf8("スクリプトエラー: [TEXT BODY=\"x\"] 属性が違います。")},
        {"quiltor", "  lead\n\ttab\nin a\tline \x1B[2J\x7F", "quiltor: lead tab in a<HT>line <ESC>[2J<DEL>"},
        {"t", "", "t:"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        platform::SayUnshownBox(c.title, c.text);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.said + "\n") << c.said;
    }
}
