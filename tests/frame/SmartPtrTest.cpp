#include <gtest/gtest.h>

#include "frame/SmartPtr.h"

using namespace kivotasuGameKit;
using namespace kivotasuGameKit::KTL;

namespace {

struct Counted {
    static inline int alive = 0;
    static inline int destroyed = 0;
    int value = 0;
    Counted() { ++alive; }
    virtual ~Counted()
    {
        --alive;
        ++destroyed;
    }
};

struct Derived : Counted {
    int extra = 5;
};

// A caller's own holder: counts how often it destroyed.
class CountingDeleter : public CSmartHolder {
public:
    explicit CountingDeleter(Counted* object, int& calls) : m_object(object), m_calls(calls) {}
    void DestroyObject() override
    {
        ++m_calls;
        delete m_object;
    }

private:
    Counted* m_object;
    int& m_calls;
};

class SmartPtrTest : public ::testing::Test {
protected:
    void SetUp() override { Counted::alive = Counted::destroyed = 0; }
};

} // namespace

TEST_F(SmartPtrTest, LastOwnerDestroysOnce)
{
    CSmartPtr<Counted> first(new Counted);
    {
        CSmartPtr<Counted> second(first);
        EXPECT_EQ(first.GetHolder()->GetCount(), 2u);
        first.Release();
        EXPECT_TRUE(first.IsNull());
        EXPECT_EQ(Counted::alive, 1);
    }
    EXPECT_EQ(Counted::alive, 0);
    EXPECT_EQ(Counted::destroyed, 1);
}

TEST_F(SmartPtrTest, NonOwningPointerNeverDestroys)
{
    Counted local;
    {
        CSmartPtr<Counted> a(&local, false);
        CSmartPtr<Counted> b = a;
        b->value = 3;
    }
    EXPECT_EQ(local.value, 3);
    EXPECT_EQ(Counted::destroyed, 0);
}

TEST_F(SmartPtrTest, AssignmentCountsAndSelfAssignmentKeepsCount)
{
    CSmartPtr<Counted> a(new Counted);
    CSmartPtr<Counted> b(new Counted);
    const CSmartPtr<Counted>& alias = a;
    a = alias;
    EXPECT_EQ(a.GetHolder()->GetCount(), 1u);
    b = a;  // the object b held goes
    EXPECT_EQ(Counted::destroyed, 1);
    EXPECT_EQ(a.GetHolder()->GetCount(), 2u);
    EXPECT_EQ(a.Get(), b.Get());
}

TEST_F(SmartPtrTest, CheckedAccessThrows)
{
    CSmartPtr<Counted> empty;
    EXPECT_THROW(empty->value = 1, CNullPointerException);
    empty.AllocArray(0);
    EXPECT_THROW(*empty, CNullPointerException);

    CSmartPtr<Counted> array;
    array.AllocArray(3);
    EXPECT_EQ(Counted::alive, 3);
    array.SetIndex(2);
    array->value = 9;
    EXPECT_EQ(array.Get()[2].value, 9);
    array.SetIndex(3);
    EXPECT_THROW(array->value = 1, CIndexOutOfBoundsException);

    // A pointer without a holder (element count 0) cannot be dereferenced.
    Counted local;
    CSmartPtr<Counted> unheld;
    unheld.Reset(&local, false, 0);
    EXPECT_THROW(*unheld, CIndexOutOfBoundsException);
    array.Release();
    EXPECT_EQ(Counted::alive, 1);
}

TEST_F(SmartPtrTest, ArrayElementsFollowTheElementSize)
{
    CSmartPtr<std::uint32_t> words;
    words.AllocArray(4);
    for (std::uint32_t i = 0; i < 4; ++i) {
        words.SetIndex(i);
        *words = i * 10;
    }
    EXPECT_EQ(words.GetHolder()->GetElementSize(), sizeof(std::uint32_t));
    EXPECT_EQ(words.Get()[3], 30u);
    CSmartPtr<std::uint32_t> copy = words;
    EXPECT_EQ(copy.GetIndex(), 3u);
    EXPECT_EQ(*copy, 30u);
}

TEST_F(SmartPtrTest, DeleterNeedsOwnership)
{
    int calls = 0;
    auto* object = new Counted;
    CSmartPtr<Counted> refused;
    try {
        refused.Reset(object, false, 1, false, new CountingDeleter(object, calls));
        FAIL() << "a deleter without ownership was taken";
    } catch (const CSyntaxException& error) {
        EXPECT_EQ(error.GetError().GetStr(), "所有権が無いのに解体オブジェクトが指定されている");
    }
    EXPECT_TRUE(refused.IsNull());
    delete object;

    {
        auto* owned = new Counted;
        CSmartPtr<Counted> custom;
        custom.Reset(owned, true, 1, false, new CountingDeleter(owned, calls));
        CSmartPtr<Counted> share = custom;
    }
    EXPECT_EQ(calls, 1);
}

TEST_F(SmartPtrTest, BaseClassPointerSharesTheCount)
{
    CSmartPtr<Derived> derived(new Derived);
    CSmartPtr<Counted> base = derived;
    EXPECT_EQ(derived.GetHolder()->GetCount(), 2u);
    derived.Release();
    EXPECT_EQ(Counted::alive, 1);
    base.Take(new Counted);
    EXPECT_EQ(Counted::destroyed, 1);
}
