#include "platform/MessageBox.h"

#include <gtest/gtest.h>

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
