#include <gtest/gtest.h>

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/PixelMemory.h"

using platform::PixelMemory;

namespace {

bool AllZero(const PixelMemory& memory)
{
    return std::all_of(memory.data(), memory.data() + memory.size(), [](std::uint8_t b) { return b == 0; });
}

TEST(PixelMemoryTest, ADroppedScreenComesBackForTheNextOfItsSizeZeroed)
{
    constexpr std::size_t screen = 640 * 480 * 4;
    std::uint8_t* first = nullptr;
    {
        PixelMemory memory(screen);
        ASSERT_EQ(memory.size(), screen);
        EXPECT_TRUE(AllZero(memory));
        std::memset(memory.data(), 0x5A, screen);
        first = memory.data();
    }
#if defined(__SANITIZE_ADDRESS__)
    // Kept, not freed: a pixel pointer kept past its plane still gets caught.
    EXPECT_TRUE(__asan_address_is_poisoned(first));
    EXPECT_TRUE(__asan_address_is_poisoned(first + screen - 1));
#endif
    PixelMemory other(screen / 2);
    EXPECT_NE(other.data(), first);
    PixelMemory again(screen);
    EXPECT_EQ(again.data(), first);
    EXPECT_TRUE(AllZero(again));
}

TEST(PixelMemoryTest, MovesHandOverTheBlock)
{
    PixelMemory from(100000);
    std::uint8_t* const data = from.data();
    PixelMemory to(std::move(from));
    EXPECT_EQ(to.data(), data);
    EXPECT_EQ(to.size(), 100000u);
    EXPECT_EQ(from.data(), nullptr);
    EXPECT_EQ(from.size(), 0u);
    PixelMemory assigned(10);
    assigned = std::move(to);
    EXPECT_EQ(assigned.data(), data);
    assigned = {};
    EXPECT_EQ(assigned.data(), nullptr);
    EXPECT_EQ(PixelMemory(0).data(), nullptr);
}

} // namespace
