#include "platform/Keyboard.h"

#include <gtest/gtest.h>

using platform::KeyCodeFromScanCode;

namespace {

// SDL's scan codes are the keyboard page of the USB usage table.
enum Usage {
    SDL_SCANCODE_UNKNOWN = 0, SDL_SCANCODE_A = 4, SDL_SCANCODE_RETURN = 40, SDL_SCANCODE_ESCAPE = 41,
    SDL_SCANCODE_SPACE = 44, SDL_SCANCODE_NONUSHASH = 50, SDL_SCANCODE_F4 = 61, SDL_SCANCODE_PAGEUP = 75,
    SDL_SCANCODE_PAGEDOWN = 78, SDL_SCANCODE_RIGHT = 79, SDL_SCANCODE_LEFT = 80, SDL_SCANCODE_DOWN = 81,
    SDL_SCANCODE_UP = 82, SDL_SCANCODE_KP_ENTER = 88, SDL_SCANCODE_KP_PERIOD = 99, SDL_SCANCODE_APPLICATION = 101,
    SDL_SCANCODE_INTERNATIONAL1 = 135, SDL_SCANCODE_INTERNATIONAL2 = 136, SDL_SCANCODE_INTERNATIONAL3 = 137,
    SDL_SCANCODE_INTERNATIONAL4 = 138, SDL_SCANCODE_INTERNATIONAL5 = 139, SDL_SCANCODE_LCTRL = 224,
    SDL_SCANCODE_LALT = 226, SDL_SCANCODE_RCTRL = 228, SDL_SCANCODE_RALT = 230, SDL_NUM_SCANCODES = 512,
};

} // namespace

TEST(KeyCodeMap, KeysThePlayerAsksForHaveTheirKeyboardCodes)
{
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_ESCAPE), 0x01);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_RETURN), 0x1C);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_KP_ENTER), 0x9C);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_SPACE), 0x39);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_LCTRL), 0x1D);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_RCTRL), 0x9D);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_LALT), 0x38);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_RALT), 0xB8);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_F4), 0x3E);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_APPLICATION), 0xDD);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_PAGEUP), 0xC9);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_PAGEDOWN), 0xD1);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_UP), 0xC8);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_DOWN), 0xD0);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_LEFT), 0xCB);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_RIGHT), 0xCD);
    // The Japanese keys: kana, henkan, muhenkan, yen, ro.
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_INTERNATIONAL2), 0x70);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_INTERNATIONAL4), 0x79);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_INTERNATIONAL5), 0x7B);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_INTERNATIONAL3), 0x7D);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_INTERNATIONAL1), 0x73);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(KeyCodeFromScanCode(-1), 0);
    EXPECT_EQ(KeyCodeFromScanCode(SDL_NUM_SCANCODES), 0);
}

TEST(KeyCodeMap, NoTwoKeysOfTheMainBlockShareACode)
{
    bool seen[256] = {};
    for (int scanCode = SDL_SCANCODE_A; scanCode <= SDL_SCANCODE_KP_PERIOD; ++scanCode) {
        if (scanCode == SDL_SCANCODE_NONUSHASH) continue; // the same key as backslash
        const std::uint8_t code = KeyCodeFromScanCode(scanCode);
        if (code == 0) continue;
        EXPECT_FALSE(seen[code]) << "scan code " << scanCode;
        seen[code] = true;
    }
}
