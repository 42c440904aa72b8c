#include <gtest/gtest.h>

#include <thread>

#include "frame/ErrorLog.h"
#include "tests/kit/RecordingErrorLog.h"

using namespace kivotasuGameKit;

TEST(ErrorLog, ReplacedDeviceHearsNothingMoreAndIsLetGo)
{
    CSmartPtr<testkit::CRecordingErrorLog> first(new testkit::CRecordingErrorLog);
    ErrorLog.SetDevice(first);
    ErrorLog.Out("%s %d", "heard", 1);
    ErrorLog.SetDevice(CSmartPtr<IErrorLog>(new CNullErrorLogDevice));
    ErrorLog.Out("%s %d", "silent", 2);
    EXPECT_EQ(first->Messages(), std::vector<std::string>{"heard 1"});
    EXPECT_EQ(first.GetHolder()->GetCount(), 1u) << "the log still holds the old device";
}

TEST(ErrorLog, DeviceGetsTheFinishedTextOnce)
{
    testkit::ScopedErrorLogRecorder recorder;
    ErrorLog.Out("%d%%", 50);
    // A "%" in an argument must not be expanded a second time by the device.
    ErrorLog.Out("%s", "%d%s%n");
    ErrorLog.OutNumber(-7);
    ErrorLog.OutString(CTextString("CWindow::CreateでCreateWindowに失敗。"));
    EXPECT_EQ(recorder->Messages(),
              (std::vector<std::string>{"50%", "%d%s%n", "-7", "CWindow::CreateでCreateWindowに失敗。"}));
}

TEST(ErrorLog, TextIsCutAt511Bytes)
{
    testkit::ScopedErrorLogRecorder recorder;
    std::string longText(700, 'a');
    ErrorLog.Out("%s", longText.c_str());
    ASSERT_EQ(recorder->Messages().size(), 1u);
    EXPECT_EQ(recorder->Messages()[0], std::string(511, 'a'));
}

TEST(ErrorLog, ThreadsDoNotInterleave)
{
    testkit::ScopedErrorLogRecorder recorder;
    auto report = [](char letter) {
        std::string text(300, letter);
        for (int i = 0; i < 200; ++i) ErrorLog.Out("%s", text.c_str());
    };
    std::thread a(report, 'a');
    std::thread b(report, 'b');
    a.join();
    b.join();
    auto messages = recorder->Messages();
    ASSERT_EQ(messages.size(), 400u);
    for (const std::string& message : messages) {
        EXPECT_TRUE(message == std::string(300, 'a') || message == std::string(300, 'b'));
    }
}
