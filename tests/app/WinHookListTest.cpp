#include "frame/WinHookList.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace kivotasuGameKit;

namespace {

class Hook : public IWinHook {
public:
    Hook(std::string& trace, char name, std::intptr_t answer = 0) : m_trace(trace), m_name(name), m_answer(answer) {}

    std::intptr_t WndProc(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) override
    {
        m_trace += m_name;
        if (onCall)
            onCall();
        return m_answer;
    }

    std::function<void()> onCall;

private:
    std::string& m_trace;
    char m_name;
    std::intptr_t m_answer;
};

} // namespace

TEST(CWinHookList, CallsInInsertionOrderUntilOneAnswers)
{
    std::string trace;
    Hook a(trace, 'a'), b(trace, 'b', 7), c(trace, 'c', 9);
    CWinHookList list;
    list.Add(&a);
    list.Add(&b);
    list.Add(&c);

    EXPECT_EQ(list.Dispatch(1, platform::WM_PAINT, 0, 0), 7);
    EXPECT_EQ(trace, "ab");

    trace.clear();
    list.Remove(&b);
    EXPECT_EQ(list.Dispatch(1, platform::WM_PAINT, 0, 0), 9);
    EXPECT_EQ(trace, "ac");
}

TEST(CWinHookList, NoAnswerGivesZeroAndRemoveTakesEveryOccurrence)
{
    std::string trace;
    Hook a(trace, 'a'), b(trace, 'b');
    CWinHookList list;
    list.Add(&a);
    list.Add(&b);
    list.Add(&a);
    EXPECT_EQ(list.Dispatch(1, platform::WM_PAINT, 0, 0), 0);
    EXPECT_EQ(trace, "aba");

    trace.clear();
    list.Remove(&a);
    list.Dispatch(1, platform::WM_PAINT, 0, 0);
    EXPECT_EQ(trace, "b");
    EXPECT_EQ(list.GetCount(), 1u);
}

TEST(CWinHookList, HookRemovingItselfDoesNotSkipTheNext)
{
    std::string trace;
    CWinHookList list;
    Hook a(trace, 'a'), b(trace, 'b'), c(trace, 'c');
    b.onCall = [&] { list.Remove(&b); };
    list.Add(&a);
    list.Add(&b);
    list.Add(&c);

    list.Dispatch(1, platform::WM_PAINT, 0, 0);
    EXPECT_EQ(trace, "abc");
    trace.clear();
    list.Dispatch(1, platform::WM_PAINT, 0, 0);
    EXPECT_EQ(trace, "ac");
    EXPECT_EQ(list.GetCount(), 2u);
}

TEST(CWinHookList, ChangesFromInsideACallApplyToTheRunningDispatch)
{
    std::string trace;
    CWinHookList list;
    Hook a(trace, 'a'), b(trace, 'b'), late(trace, 'n');
    // 'a' removes 'b' (not called any more) and adds 'n' (reached this time).
    a.onCall = [&] {
        list.Remove(&b);
        list.Add(&late);
    };
    list.Add(&a);
    list.Add(&b);

    list.Dispatch(1, platform::WM_PAINT, 0, 0);
    EXPECT_EQ(trace, "an");
}

TEST(CWinHookList, ClearDuringDispatchStopsTheRest)
{
    std::string trace;
    CWinHookList list;
    Hook a(trace, 'a'), b(trace, 'b');
    a.onCall = [&] { list.Clear(); };
    list.Add(&a);
    list.Add(&b);
    list.Dispatch(1, platform::WM_PAINT, 0, 0);
    EXPECT_EQ(trace, "a");
    EXPECT_EQ(list.GetCount(), 0u);
}
