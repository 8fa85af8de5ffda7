#include "rtl/Exceptions.h"
#include "rtl/List.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <vector>

using namespace plx;

namespace {

void* P(std::intptr_t value) { return reinterpret_cast<void*>(value); }

std::string ListMessage(auto&& call)
{
    try {
        call();
    } catch (const EListError& e) {
        return e.Message();
    }
    return "(no error)";
}

// A descendant that owns nothing but counts what reaches its virtual hooks.
class TCountingList : public TList {
public:
    void Delete(std::int32_t index) override
    {
        ++deletes;
        TList::Delete(index);
    }
    void* Get(std::int32_t index) const override
    {
        ++gets;
        return TList::Get(index);
    }
    int deletes = 0;
    mutable int gets = 0;
};

} // namespace

TEST(TList, AddInsertDeleteKeepOrder)
{
    TList list;
    EXPECT_EQ(list.Add(P(1)), 0);
    EXPECT_EQ(list.Add(P(3)), 1);
    list.Insert(1, P(2));
    list.Insert(3, P(4));
    ASSERT_EQ(list.Count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(list.Get(i), P(i + 1));
    list.Delete(0);
    EXPECT_EQ(list.First(), P(2));
    EXPECT_EQ(list.Last(), P(4));
    list.Put(0, P(9));
    EXPECT_EQ(list.Get(0), P(9));
}

TEST(TList, IndexErrorsNameTheIndex)
{
    TList list;
    list.Add(P(1));
    EXPECT_EQ(ListMessage([&] { (void)list.Get(5); }), "List index out of bounds (5)");
    EXPECT_EQ(ListMessage([&] { (void)list.Get(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ListMessage([&] { list.Put(1, nullptr); }), "List index out of bounds (1)");
    EXPECT_EQ(ListMessage([&] { list.Delete(1); }), "List index out of bounds (1)");
    EXPECT_EQ(ListMessage([&] { list.Insert(2, nullptr); }), "List index out of bounds (2)");
    EXPECT_EQ(ListMessage([&] { list.Exchange(0, 3); }), "List index out of bounds (3)");
    TList empty;
    EXPECT_THROW((void)empty.First(), EListError);
    EXPECT_THROW((void)empty.Last(), EListError);
}

TEST(TList, CapacityGrowsLikeTheHostAndRejectsBadValues)
{
    TList list;
    EXPECT_EQ(list.Capacity(), 0);
    list.Add(nullptr);
    EXPECT_EQ(list.Capacity(), 4);
    for (int i = 0; i < 4; ++i)
        list.Add(nullptr);
    EXPECT_EQ(list.Capacity(), 8);
    for (int i = 0; i < 4; ++i)
        list.Add(nullptr);
    EXPECT_EQ(list.Capacity(), 12);
    for (int i = 0; i < 4; ++i)
        list.Add(nullptr);
    EXPECT_EQ(list.Capacity(), 28);
    list.SetCapacity(100);
    EXPECT_EQ(list.Capacity(), 100);
    EXPECT_EQ(ListMessage([&] { list.SetCapacity(3); }), "List capacity out of bounds (3)");
    EXPECT_EQ(ListMessage([&] { list.SetCapacity(-1); }), "List capacity out of bounds (-1)");
    EXPECT_THROW(list.SetCapacity(MaxListSize + 1), EListError);
    EXPECT_EQ(list.Count(), 13);
    // Clear drops the capacity as well.
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
}

TEST(TList, SetCountPadsWithNilAndTruncates)
{
    TList list;
    list.Add(P(7));
    list.SetCount(3);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Get(0), P(7));
    EXPECT_EQ(list.Get(2), nullptr);
    list.SetCount(1);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(ListMessage([&] { list.SetCount(-2); }), "List count out of bounds (-2)");
}

TEST(TList, RemoveIndexOfAndPack)
{
    TList list;
    for (std::intptr_t v : { 1, 0, 2, 1, 0 })
        list.Add(P(v));
    EXPECT_EQ(list.IndexOf(P(2)), 2);
    EXPECT_EQ(list.IndexOf(P(5)), -1);
    EXPECT_EQ(list.Remove(P(1)), 0);
    EXPECT_EQ(list.Remove(P(5)), -1);
    EXPECT_EQ(list.Count(), 4);
    list.Pack();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(0), P(2));
    EXPECT_EQ(list.Get(1), P(1));
}

TEST(TList, ExchangeMoveAndSort)
{
    TList list;
    for (std::intptr_t v : { 3, 1, 2 })
        list.Add(P(v));
    list.Exchange(0, 2);
    EXPECT_EQ(list.Get(0), P(2));
    list.Move(0, 2);
    EXPECT_EQ(list.Get(2), P(2));
    EXPECT_EQ(list.Get(0), P(1));
    list.Sort([](void* a, void* b) {
        return static_cast<int>(reinterpret_cast<std::intptr_t>(a) - reinterpret_cast<std::intptr_t>(b));
    });
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list.Get(i), P(i + 1));
}

TEST(TList, DescendantsSeeVirtualAccessAndRemoval)
{
    TCountingList list;
    list.Add(P(1));
    list.Add(P(2));
    TList& base = list;
    EXPECT_EQ(base.Get(1), P(2));
    EXPECT_EQ(list.gets, 1);
    base.Remove(P(1));
    EXPECT_EQ(list.deletes, 1);
    EXPECT_EQ(list.Count(), 1);
}

// ---- Sorting with hostile comparators ------------------------------------------------

namespace {

std::intptr_t V(void* p) { return reinterpret_cast<std::intptr_t>(p); }

int Ascending(void* a, void* b) { return V(a) < V(b) ? -1 : V(a) > V(b) ? 1 : 0; }

} // namespace

TEST(TListSort, KeepsEqualEntriesInTheirOrder)
{
    TList list;
    // Keys in the high digits, the original position in the low one.
    for (std::intptr_t v : { 31, 12, 33, 14, 25, 16, 37, 18, 29, 10, 21 })
        list.Add(P(v));
    list.Sort([](void* a, void* b) { return static_cast<int>(V(a) / 10 - V(b) / 10); });
    std::vector<std::intptr_t> sorted;
    for (std::int32_t i = 0; i < list.Count(); ++i)
        sorted.push_back(V(list.Get(i)));
    EXPECT_EQ(sorted, (std::vector<std::intptr_t> { 12, 14, 16, 18, 10, 25, 29, 21, 31, 33, 37 }));
    list.Sort(nullptr);
    EXPECT_EQ(V(list.Get(0)), 12) << "no comparator, no sort";
}

TEST(TListSort, ComparatorsThatContradictThemselvesGiveSomeOrderOfTheSameEntries)
{
    std::mt19937 random(7);
    for (std::int32_t count : { 2, 3, 17, 64, 1000, 4099 }) {
        TList list;
        std::multiset<std::intptr_t> entries;
        for (std::int32_t i = 0; i < count; ++i) {
            list.Add(P(i % 13));
            entries.insert(i % 13);
        }
        // Answers at random, different each time it is asked the same question.
        list.Sort([&random](void*, void*) { return static_cast<int>(random() % 3) - 1; });
        ASSERT_EQ(list.Count(), count);
        std::multiset<std::intptr_t> after;
        for (std::int32_t i = 0; i < count; ++i)
            after.insert(V(list.Get(i)));
        EXPECT_EQ(after, entries) << count;
        // Always "less", whatever the order of the arguments.
        list.Sort([](void*, void*) { return -1; });
        list.Sort([](void*, void*) { return 1; });
        EXPECT_EQ(list.Count(), count);
    }
}

TEST(TListSort, AThrowingComparatorLeavesTheListAsItWas)
{
    TList list;
    for (std::intptr_t v : { 5, 3, 9, 1 })
        list.Add(P(v));
    int calls = 0;
    EXPECT_THROW(list.Sort([&calls](void* a, void* b) {
        if (++calls == 3)
            throw EListError("stop");
        return Ascending(a, b);
    }),
        EListError);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(V(list.Get(0)), 5);
    EXPECT_EQ(V(list.Get(3)), 1);
}

TEST(TListSort, AComparatorThatChangesTheListKeepsItsChange)
{
    TList list;
    for (std::intptr_t v : { 5, 3, 9, 1, 7 })
        list.Add(P(v));
    bool cleared = false;
    list.Sort([&](void* a, void* b) {
        if (!cleared) {
            cleared = true;
            list.Clear();
        }
        return Ascending(a, b);
    });
    EXPECT_EQ(list.Count(), 0) << "the entries it removed are not brought back";

    for (std::intptr_t v : { 5, 3, 9 })
        list.Add(P(v));
    TList::TListSortCompare compare;
    compare = [&](void* a, void* b) {
        compare = nullptr; // replaces the function it runs in
        return Ascending(a, b);
    };
    list.Sort(compare);
    EXPECT_EQ(V(list.Get(0)), 3);
    EXPECT_EQ(V(list.Get(2)), 9);
}
