#include <gtest/gtest.h>

#include "frame/EScript.h"
#include "frame/Exceptions.h"

using namespace kivotasuGameKit;
using namespace kivotasuGameKit::KTL;

// The compiler turns the UTF-8 sources' literals into Shift-JIS; these are the
// bytes the system's own messages must have.
TEST(MessageBytes, LiteralsAreShiftJIS)
{
    const std::string notEntered = "CCriticalSection\x82\xf0" "Enter\x82\xb5\x82\xc4\x82\xa2\x82\xc8\x82\xa2\x82\xcc\x82\xc9"
                                   "Leave\x82\xb5\x82\xc4\x82\xa2\x82\xe9";
    EXPECT_EQ(std::string("CCriticalSectionをEnterしていないのにLeaveしている"), notEntered);
    EXPECT_EQ(CNullPointerException().GetError().GetStr(),
              "Null pointer\x82\xa9\x82\xe7\x82\xcc\x83\x41\x83\x4e\x83\x5a\x83\x58");
    EXPECT_EQ(std::string("表ソ"), "\x95\x5c\x83\x5c");
}

TEST(MessageBytes, ExceptionTexts)
{
    EXPECT_TRUE(CException().GetError().IsEmpty());
    EXPECT_EQ(CRuntimeException().GetError().GetStr(), "実行時例外（範囲外の数値が指定されている)");
    EXPECT_EQ(CRuntimeException("x").GetError().GetStr(), "x");
    EXPECT_EQ(CIndexOutOfBoundsException().GetError().GetStr(), "配列範囲外へのメモリへのアクセス");
    EXPECT_EQ(CInterruptedException().GetError().GetStr(), "InterruptedException例外が発生");
    EXPECT_EQ(CIllegalMonitorStateException().GetError().GetStr(), "CIllegalMonitorStateException例外が発生");

    try {
        throw EScript("ファイルへのデータの書き込みに失敗しました。");
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "ファイルへのデータの書き込みに失敗しました。");
    }
}
