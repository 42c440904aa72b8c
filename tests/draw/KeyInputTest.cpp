#include "draw/KeyInput.h"
#include "frame/AppManager.h"
#include "tests/draw/ScreenFixture.h"

using namespace kivotasuGameKit;
using namespace screentest;

namespace {

constexpr int Enter = 0x1C, Space = 0x39, Escape = 0x01;

} // namespace

class KeyInputTest : public ScreenTest {};

TEST_F(KeyInputTest, KeyHeldOverThreeReadingsIsPushedOnlyAtTheFirst)
{
    CKeyInput keys;
    ASSERT_EQ(keys.GetStatus(), 0);
    this->keys->QueueFrame({});
    this->keys->QueueFrame({Enter});
    this->keys->QueueFrame({Enter, Space});
    this->keys->QueueFrame({Enter});
    this->keys->QueueFrame({});

    ASSERT_EQ(keys.Input(), 0);
    EXPECT_FALSE(keys.IsKeyPress(Enter));
    ASSERT_EQ(keys.Input(), 0);
    EXPECT_TRUE(keys.IsKeyPress(Enter));
    EXPECT_TRUE(keys.IsKeyPush(Enter));
    ASSERT_EQ(keys.Input(), 0);
    EXPECT_TRUE(keys.IsKeyPress(Enter));
    EXPECT_FALSE(keys.IsKeyPush(Enter));
    EXPECT_TRUE(keys.IsKeyPush(Space));
    ASSERT_EQ(keys.Input(), 0);
    EXPECT_FALSE(keys.IsKeyPush(Enter));
    EXPECT_FALSE(keys.IsKeyPress(Space));
    EXPECT_EQ(keys.GetKeyBuffer()[Enter], 0x80);
    ASSERT_EQ(keys.Input(), 0);
    EXPECT_FALSE(keys.IsKeyPress(Enter));
    EXPECT_FALSE(keys.IsKeyPress(-1));
    EXPECT_FALSE(keys.IsKeyPress(256));
}

TEST_F(KeyInputTest, FailedReadingLeavesEveryKeyUpUntilTheKeyIsDownAgain)
{
    CKeyInput keys;
    this->keys->Hold(Escape);
    ASSERT_EQ(keys.Input(), 0);
    EXPECT_TRUE(keys.IsKeyPush(Escape));

    // Focus lost while reading: taking the keyboard back fails.
    this->keys->SetFocus(false);
    EXPECT_EQ(keys.Input(), -1);
    EXPECT_FALSE(keys.IsKeyPress(Escape));
    // Not acquired now: the next reading fails at once.
    EXPECT_EQ(keys.Input(), 1);
    EXPECT_FALSE(keys.IsKeyPress(Escape));

    this->keys->SetFocus(true);
    this->keys->Release(Escape);
    ASSERT_EQ(keys.Input(), 0);
    EXPECT_FALSE(keys.IsKeyPress(Escape));
    this->keys->Hold(Escape);
    ASSERT_EQ(keys.Input(), 0);
    EXPECT_TRUE(keys.IsKeyPush(Escape));
}

TEST_F(KeyInputTest, KeyboardThatCannotBeOpenedNeverReads)
{
    this->keys->GetState().failCooperativeLevel = true;
    {
        CKeyInput keys;
        EXPECT_EQ(keys.GetStatus(), 8);
        EXPECT_TRUE(log->Contains("CKeyInput::CKeyInputでDirectInputの初期化SetCooperativeLevelに失敗"));
        this->keys->Hold(Enter);
        EXPECT_EQ(keys.Input(), 1);
        EXPECT_EQ(keys.Input(), 1);
        EXPECT_FALSE(keys.IsKeyPress(Enter));
    }
    this->keys->GetState().failCreate = true;
    CKeyInput none;
    EXPECT_EQ(none.GetStatus(), 6);
    EXPECT_EQ(none.Input(), 1);
    EXPECT_EQ(this->keys->GetState().reads, 0);
}

TEST_F(KeyInputTest, KeyInputHooksTheWindowOfItsThread)
{
    InApp([&] {
        CWindow* window = CAppManager::GetInstance()->GetMyWindow();
        const std::size_t hooks = window->GetHookList().GetCount();
        {
            CKeyInput keys;
            EXPECT_EQ(window->GetHookList().GetCount(), hooks + 1);
        }
        EXPECT_EQ(window->GetHookList().GetCount(), hooks);
    });
}
