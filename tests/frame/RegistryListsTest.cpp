#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/CallbackList.h"
#include "frame/FunctionCallback.h"
#include "frame/InitExitList.h"
#include "frame/StrideArray.h"

using namespace kivotasuGameKit;
using namespace kivotasuGameKit::KTL;

TEST(FunctionCallback, KindsAndBind)
{
    std::vector<std::string> calls;
    struct Target {
        std::vector<std::string>* calls;
        void Fire() { calls->push_back("member"); }
    } target{&calls};

    CSmartPtr<function_callback> plain = MakeCallback([&] { calls.push_back("plain"); });
    CSmartPtr<function_callback> member = MakeCallback(&target, &Target::Fire);
    CSmartPtr<function_callback> bindable =
        MakeBindableCallback([&](std::uint32_t value) { calls.push_back(std::to_string(value)); }, 1);
    (*plain)();
    (*member)();
    (*bindable)();
    bindable->bind(42);
    (*bindable)();
    EXPECT_EQ(calls, (std::vector<std::string>{"plain", "member", "1", "42"}));

    try {
        member->bind(1);
        FAIL() << "a member callback took an argument";
    } catch (const CRuntimeException& error) {
        EXPECT_EQ(error.GetError().GetStr(), "メンバ関数へのfunction_callbackに対してbindを行なった");
    }
}

TEST(InitExitList, RunsEachListInOrder)
{
    std::string order;
    CInitExitList* list = CInitExitList::GetInstance();
    list->AddStart(MakeCallback([&] { order += "s1 "; }));
    list->AddExit(MakeCallback([&] { order += "e1 "; }));
    list->AddStart(MakeCallback([&] { order += "s2 "; }));
    list->RunStart();
    EXPECT_EQ(order, "s1 s2 ");
    list->RunExit();
    EXPECT_EQ(order, "s1 s2 e1 ");

    CInitExitList::CallbackList broken{MakeCallback([&] { order += "x"; }), CSmartPtr<function_callback>()};
    EXPECT_THROW(CInitExitList::RunAll(broken), CNullPointerException);
    EXPECT_EQ(order, "s1 s2 e1 x");
    CInitExitList::Release();
}

namespace {

class Recorder : public CCallbackList::ICallback {
public:
    Recorder(std::string name, std::string& log) : m_name(std::move(name)), m_log(log) {}
    void OnFirst(std::uintptr_t argument) override { m_log += m_name + "1:" + std::to_string(argument) + " "; }
    void OnSecond(std::uintptr_t argument) override { m_log += m_name + "2:" + std::to_string(argument) + " "; }

private:
    std::string m_name;
    std::string& m_log;
};

} // namespace

TEST(CallbackList, CallsEnabledCallbacksInOrder)
{
    std::string log;
    Recorder a("a", log), b("b", log), c("c", log);
    CCallbackList list;
    EXPECT_TRUE(list.IsEmpty());
    list.Add(&a);
    list.Add(&b);
    list.Add(&c);
    list.Add(&a);
    b.SetEnabled(false);
    list.CallFirst(7);
    EXPECT_EQ(log, "a1:7 c1:7 a1:7 ");
    log.clear();
    list.Remove(&a);  // every node holding it
    list.CallSecond(1);
    EXPECT_EQ(log, "c2:1 ");
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
}

TEST(StrideArray, AddressesFollowTheElementSize)
{
    struct Cell {
        std::uint8_t bytes[16];
    };
    CSmartPtr<Cell> cells;
    cells.AllocArray(6);
    cells.SetIndex(2);
    CStrideArray<Cell> view(cells);
    auto* base = reinterpret_cast<std::uint8_t*>(cells.Get());
    EXPECT_EQ(reinterpret_cast<std::uint8_t*>(view.At(3)), base + 80);
    EXPECT_EQ(CStrideArray<Cell>(cells.Get(), 2, nullptr).At(3), cells.Get());
    EXPECT_EQ(CStrideArray<Cell>(nullptr, 0, cells.GetHolder()).At(1), nullptr);

    EXPECT_THROW(CStrideArray<Cell>(nullptr, 0, cells.GetHolder()).CheckedAt(0), CNullPointerException);
    EXPECT_THROW(CStrideArray<Cell>(cells.Get(), 6, cells.GetHolder()).CheckedAt(0), CIndexOutOfBoundsException);
    EXPECT_EQ(CStrideArray<Cell>(cells.Get(), 5, cells.GetHolder()).CheckedAt(0), cells.Get() + 5);
}
