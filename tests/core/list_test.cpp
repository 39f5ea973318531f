// Lists through the module's exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <random>
#include <thread>
#include <vector>

#include "zq/list.h"

namespace {

int CALLBACK CompareValues(LONG, DWORD_PTR key, DWORD_PTR item) {
  LONG a = static_cast<LONG>(key), b = static_cast<LONG>(item);
  return a < b ? -1 : a > b ? 1 : 0;
}

struct Record {
  LONG key;
  char tag[6];  // 10 bytes: slots round up to 12
};

int CALLBACK CompareRecords(LONG, DWORD_PTR key, DWORD_PTR item) {
  auto a = reinterpret_cast<const Record*>(key), b = reinterpret_cast<const Record*>(item);
  return a->key < b->key ? -1 : a->key > b->key ? 1 : 0;
}

int CALLBACK MatchValue(DWORD_PTR key, DWORD_PTR item) { return key == item ? 0 : 1; }

class List {
 public:
  explicit List(DWORD flags = 0, int record = 4, int initial = 0, int grow = 0) {
    hr = ZqList_CreateExZ(&list, record, initial, grow, flags, nullptr, 0, nullptr);
  }
  ~List() { ZqList_Destroy(list); }
  tZQLIST* operator->() const { return list; }
  operator tZQLIST*() const { return list; }
  std::vector<LONG> Values() const {
    std::vector<LONG> v;
    for (LONG i = 0; i < list->count; ++i) v.push_back(*static_cast<LONG*>(ZQLIST_SLOT(list, i)));
    return v;
  }
  void Append(std::initializer_list<LONG> values) {
    std::vector<LONG> v(values);
    ASSERT_EQ(ZqList_InsertList(list, -1, v.data(), static_cast<int>(v.size())), S_OK);
  }
  tZQLIST* list = nullptr;
  HRESULT hr;
};

using Values = std::vector<LONG>;

TEST(ListCreate, CapacityFollowsInitialSlotsInWholeGrowSteps) {
  struct Case { int initial, grow; LONG capacity, step; } cases[] = {
      {0, 0, 16, 16}, {17, 16, 32, 16}, {1, 1, 4, 4}, {5, 100000, 66560, 66560}, {3, 4, 4, 4}, {-5, -5, 16, 16}};
  for (const auto& c : cases) {
    List l(0, 4, c.initial, c.grow);
    ASSERT_EQ(l.hr, S_OK);
    EXPECT_EQ(l->capacity, c.capacity) << c.initial << "/" << c.grow;
    EXPECT_EQ(l->growStep, c.step);
  }
}

TEST(ListCreate, HeaderFieldsAndSignature) {
  static_assert(offsetof(tZQLIST, signature) == 36 && offsetof(tZQLIST, pendingItem) == 76);
  List l(ZQLIST_ARRAY, 10);
  ASSERT_EQ(l.hr, S_OK);
  EXPECT_EQ(memcmp(&l->signature, "CURT", 4), 0);
  EXPECT_EQ(l->slotSize, 12);
  EXPECT_EQ(ZqList_GetCreateOptions(l), ZQLIST_ARRAY | ZQLIST_ANYTHREAD);
  EXPECT_EQ(l->ownerThread, GetCurrentThreadId());
  EXPECT_TRUE(ZqList_IsList(l, sizeof(tZQLIST)));
  EXPECT_FALSE(ZqList_IsList(l, sizeof(tZQLIST) - 1));
  EXPECT_FALSE(ZqList_IsList(l, sizeof(tZQLIST) + 1));
  EXPECT_TRUE(ZqList_IsListFast(l));
}

TEST(ListCreate, RefusesBadRequests) {
  tZQLIST* out = reinterpret_cast<tZQLIST*>(1);
  EXPECT_EQ(ZqList_CreateExZ(&out, 4, 0, 0, ZQLIST_HEAP | ZQLIST_ARRAY, nullptr, 0, nullptr), E_FAIL);
  EXPECT_EQ(out, nullptr);
  out = nullptr;
  EXPECT_EQ(ZqList_CreateExZ(&out, 4, 0, 0, ZQLIST_INPLACE, nullptr, 0, nullptr), E_FAIL);
  EXPECT_EQ(ZqList_CreateExZ(nullptr, 4, 0, 0, 0, nullptr, 0, nullptr), E_POINTER);
}

TEST(ListCreate, InPlaceHeaderAndConversion) {
  tZQLIST storage;
  memset(&storage, 0xCC, sizeof(storage));
  tZQLIST* l = &storage;
  ASSERT_EQ(ZqList_CreateExZ(&l, 4, 0, 0, ZQLIST_INPLACE | ZQLIST_LOCKED, nullptr, 0, nullptr), S_OK);
  EXPECT_EQ(l, &storage);
  EXPECT_EQ(storage.count, 0);
  EXPECT_EQ(ZqList_ConvertToInPlace(&l, &storage), E_FAIL);  // already in place
  EXPECT_EQ(ZqList_Destroy(l), S_OK);
  EXPECT_EQ(storage.signature, 0u);  // destroyed, storage left to its owner

  tZQLIST* heapHeader = nullptr;
  ASSERT_EQ(ZqList_CreateExZ(&heapHeader, 4, 0, 0, ZQLIST_LOCKED, nullptr, 0, nullptr), S_OK);
  LONG v[] = {7, 8};
  ASSERT_EQ(ZqList_InsertList(heapHeader, 0, v, 2), S_OK);
  tZQLIST moved;
  ASSERT_EQ(ZqList_ConvertToInPlace(&heapHeader, &moved), S_OK);
  EXPECT_EQ(heapHeader, nullptr);
  LONG w = 9;
  EXPECT_EQ(ZqList_InsertList(&moved, -1, &w, 1), S_OK);  // the lock still works
  EXPECT_EQ(moved.count, 3);
  EXPECT_EQ(ZqList_Destroy(&moved), S_OK);
  EXPECT_EQ(ZqList_ConvertToInPlace(nullptr, &moved), E_INVALIDARG);
}

TEST(ListEdit, InsertAtAnyIndexAndAppend) {
  List l;
  l.Append({1, 2, 3});
  LONG x = 9;
  EXPECT_EQ(ZqList_InsertList(l, 1, &x, 1), S_OK);
  EXPECT_EQ(l.Values(), (Values{1, 9, 2, 3}));
  EXPECT_EQ(ZqList_InsertList(l, -1, &x, 1), S_OK);
  EXPECT_EQ(ZqList_InsertList(l, l->count, &x, 1), S_OK);
  EXPECT_EQ(ZqList_InsertList(l, 100, &x, 1), S_OK);
  EXPECT_EQ(l.Values(), (Values{1, 9, 2, 3, 9, 9, 9}));
  LONG two[] = {5, 6};
  EXPECT_EQ(ZqList_InsertList(l, 0, two, -2), S_OK);  // negative count: the same slots
  EXPECT_EQ(l.Values(), (Values{5, 6, 1, 9, 2, 3, 9, 9, 9}));
}

TEST(ListEdit, InsertsCopiesOfItsOwnSlots) {
  List l(0, 4, 8, 4);
  l.Append({1, 2, 3, 4});
  // Without growth: the tail move must not change what is copied.
  EXPECT_EQ(ZqList_InsertList(l, 0, ZQLIST_SLOT(l.list, 2), 2), S_OK);
  EXPECT_EQ(l.Values(), (Values{3, 4, 1, 2, 3, 4}));
  // With growth: the block moves while the source points into it.
  l.Append({5, 6});
  ASSERT_EQ(l->count, l->capacity);
  EXPECT_EQ(ZqList_InsertList(l, 1, ZQLIST_SLOT(l.list, 0), 8), S_OK);
  EXPECT_EQ(l.Values(), (Values{3, 3, 4, 1, 2, 3, 4, 5, 6, 4, 1, 2, 3, 4, 5, 6}));
}

TEST(ListEdit, GrowsInWholeStepsAcrossCapacity) {
  List l(0, 4, 4, 4);
  std::vector<LONG> many(37);
  for (int i = 0; i < 37; ++i) many[i] = i;
  ASSERT_EQ(ZqList_InsertList(l, 0, many.data(), 37), S_OK);
  EXPECT_EQ(l->capacity, 40);
  EXPECT_EQ(l.Values(), many);
}

TEST(ListEdit, DeleteRanges) {
  List l;
  l.Append({0, 1, 2, 3, 4, 5});
  EXPECT_EQ(ZqList_DeleteList(l, 1, 2, FALSE), S_OK);
  EXPECT_EQ(l.Values(), (Values{0, 3, 4, 5}));
  EXPECT_EQ(ZqList_DeleteList(l, 2, 100, FALSE), S_OK);  // clipped
  EXPECT_EQ(l.Values(), (Values{0, 3}));
  EXPECT_EQ(ZqList_DeleteList(l, 0, 0, FALSE), S_OK);
  EXPECT_EQ(ZqList_DeleteList(l, 2, 1, FALSE), E_FAIL);
  EXPECT_EQ(ZqList_DeleteList(l, -2, 1, FALSE), E_FAIL);
  EXPECT_EQ(ZqList_DeleteList(l, 1, -1, FALSE), S_OK);  // to the end
  EXPECT_EQ(l.Values(), (Values{0}));
  EXPECT_EQ(*static_cast<LONG*>(ZQLIST_SLOT(l.list, 1)), 0);  // vacated slots are zeroed
  EXPECT_EQ(ZqList_DeleteList(l, -1, -1, FALSE), E_FAIL);  // no pending item
}

TEST(ListEdit, ShrinkReleasesOnlySpareSteps) {
  List l(0, 4, 64, 16);
  std::vector<LONG> v(40, 1);
  ASSERT_EQ(ZqList_InsertList(l, 0, v.data(), 40), S_OK);
  EXPECT_EQ(l->capacity, 64);
  EXPECT_EQ(ZqList_ShrinkAllocated(l, 1000), S_OK);  // more than the spare: only the spare
  EXPECT_EQ(l->capacity, 48);
  EXPECT_EQ(l->count, 40);
  EXPECT_EQ(ZqList_DeleteList(l, 0, 30, TRUE), S_OK);
  EXPECT_EQ(l->count, 10);
  EXPECT_EQ(l->capacity, 16);
  EXPECT_EQ(ZqList_GrowAllocated(l, 0), S_OK);
  EXPECT_EQ(l->capacity, 32);
  EXPECT_EQ(ZqList_GrowAllocated(l, 17), S_OK);
  EXPECT_EQ(l->capacity, 64);
}

TEST(ListEdit, MoveRange) {
  struct Case { int from, to, n; HRESULT hr; Values after; } cases[] = {
      {0, 3, 2, S_OK, {2, 3, 4, 0, 1, 5}},
      {3, 0, 2, S_OK, {3, 4, 0, 1, 2, 5}},
      {1, 1, 3, S_OK, {0, 1, 2, 3, 4, 5}},
      {4, -3, 2, S_OK, {4, 5, 0, 1, 2, 3}},  // negative destination: 0
      {1, 2, -1, S_OK, {0, 5, 1, 2, 3, 4}},  // negative count: count - max(from, to)
      {-1, 0, 1, E_INVALIDARG, {0, 1, 2, 3, 4, 5}},
      {5, 0, 2, E_FAIL, {0, 1, 2, 3, 4, 5}},
      {0, 5, 2, E_FAIL, {0, 1, 2, 3, 4, 5}},
  };
  for (const auto& c : cases) {
    List l;
    l.Append({0, 1, 2, 3, 4, 5});
    EXPECT_EQ(ZqList_MoveRange(l, c.from, c.to, c.n), c.hr) << c.from << "->" << c.to;
    EXPECT_EQ(l.Values(), c.after) << c.from << "->" << c.to;
  }
  // Blocks beyond the 512-byte scratch area go through a global allocation.
  List big(ZQLIST_ARRAY, 100);
  std::vector<BYTE> records(100 * 20);
  for (size_t i = 0; i < records.size(); ++i) records[i] = static_cast<BYTE>(i / 100);
  ASSERT_EQ(ZqList_InsertList(big, 0, records.data(), 20), S_OK);
  ASSERT_EQ(ZqList_MoveRange(big, 0, 10, 10), S_OK);
  EXPECT_EQ(static_cast<BYTE*>(ZQLIST_SLOT(big.list, 10))[0], 0);
  EXPECT_EQ(static_cast<BYTE*>(ZQLIST_SLOT(big.list, 0))[99], 10);
}

TEST(ListEdit, OverflowingCountsLeaveTheListUnchanged) {
  List l;
  l.Append({1, 2});
  LONG x = 0;
  EXPECT_EQ(ZqList_InsertList(l, 0, &x, INT_MIN), E_INVALIDARG);
  EXPECT_EQ(ZqList_GrowAllocated(l, INT_MAX), E_OUTOFMEMORY);
  EXPECT_EQ(l->capacity, 16);
  EXPECT_EQ(ZqList_InsertList(l, 0, &x, INT_MAX), E_INVALIDARG);
  EXPECT_EQ(l.Values(), (Values{1, 2}));
  List arr(ZQLIST_ARRAY, 4096);
  EXPECT_EQ(ZqList_ArrayForceItemCount(arr, 0x7FFFFFF0, FALSE), E_OUTOFMEMORY);
  EXPECT_EQ(arr->count, 0);
}

TEST(ListEdit, ArrayForceItemCount) {
  List l(ZQLIST_ARRAY, 8, 4, 4);
  EXPECT_EQ(ZqList_ArrayForceItemCount(l, 10, FALSE), S_OK);
  EXPECT_EQ(l->count, 10);
  EXPECT_EQ(l->capacity, 12);
  EXPECT_EQ(ZqList_ArrayForceItemCount(l, 2, TRUE), S_OK);
  EXPECT_EQ(l->count, 2);
  EXPECT_EQ(l->capacity, 4);
  List pointers;
  EXPECT_EQ(ZqList_ArrayForceItemCount(pointers, 3, FALSE), E_FAIL);
}

TEST(ListItems, PendingItemAndHeapItems) {
  List l(ZQLIST_HEAP);
  void* item = nullptr;
  ASSERT_EQ(ZqList_AllocItem(l, 24, &item), S_OK);
  void* second = reinterpret_cast<void*>(1);
  EXPECT_EQ(ZqList_AllocItem(l, 24, &second), E_FAIL);  // one pending item at a time
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(l->pendingItem, item);
  EXPECT_EQ(ZqList_InsertList(l, -1, nullptr, -1), S_OK);
  EXPECT_EQ(l->pendingItem, nullptr);
  EXPECT_EQ(ZQLIST_PTR(l.list, 0), item);
  EXPECT_EQ(ZqList_InsertList(l, -1, nullptr, -1), E_INVALIDARG);  // nothing pending
  LONG v = 1;
  EXPECT_EQ(ZqList_InsertList(l, -1, &v, 1), E_FAIL);  // callers' pointers only with a negative count

  ASSERT_EQ(ZqList_AllocItem(l, 8, &item), S_OK);
  EXPECT_EQ(ZqList_DeleteList(l, -1, -1, FALSE), S_OK);  // frees the pending item
  EXPECT_EQ(l->pendingItem, nullptr);

  const char text[] = "twelve bytes";
  int at = -2;
  ASSERT_EQ(ZqList_AllocAndInsertItem(l, sizeof(text), text, 0, &at), S_OK);
  EXPECT_EQ(at, 0);
  EXPECT_STREQ(static_cast<char*>(ZQLIST_PTR(l.list, 0)), text);
  EXPECT_GE(ZqList_AllocSize(l, 0), static_cast<int>(sizeof(text)));
  ASSERT_EQ(ZqList_ReAllocItem(l, 0, 4000), S_OK);
  EXPECT_STREQ(static_cast<char*>(ZQLIST_PTR(l.list, 0)), text);
  EXPECT_GE(ZqList_AllocSize(l, 0), 4000);
  EXPECT_GE(ZqList_AllocSize(l, -1), 4000 + 24 + static_cast<int>(sizeof(tZQLIST)) + 16 * 4);
  EXPECT_EQ(ZqList_ReAllocItem(l, 5, 10), E_FAIL);

  List pointers;
  EXPECT_EQ(ZqList_AllocItem(pointers, 8, &item), E_FAIL);
  EXPECT_EQ(ZqList_AllocAndInsertItem(pointers, 8, nullptr, 0, &at), E_FAIL);
  EXPECT_EQ(at, -1);
  EXPECT_EQ(ZqList_AllocSize(pointers, -1), static_cast<int>(sizeof(tZQLIST)) + 16 * 4);
}

TEST(ListItems, MoveItemsBetweenHeapListsKeepsOrder) {
  for (DWORD sourceFlags : {ZQLIST_HEAP, ZQLIST_HEAP | ZQLIST_PRIVATEHEAP}) {
    List source(sourceFlags), dest(ZQLIST_HEAP | ZQLIST_PRIVATEHEAP);
    for (LONG v : {10, 11, 12, 13, 14}) ASSERT_EQ(ZqList_AllocAndInsertItem(source, 4, &v, -1, nullptr), S_OK);
    for (LONG v : {1, 2}) ASSERT_EQ(ZqList_AllocAndInsertItem(dest, 4, &v, -1, nullptr), S_OK);
    ASSERT_EQ(ZqList_MoveItemsBetweenHeapLists(dest, 1, source, 1, 3), S_OK);
    auto read = [](tZQLIST* l) {
      Values v;
      for (LONG i = 0; i < l->count; ++i) v.push_back(*static_cast<LONG*>(ZQLIST_PTR(l, i)));
      return v;
    };
    EXPECT_EQ(read(dest), (Values{1, 11, 12, 13, 2}));
    EXPECT_EQ(read(source), (Values{10, 14}));
    EXPECT_EQ(ZqList_MoveItemsBetweenHeapLists(dest, -1, source, 0, -1), S_OK);  // append everything
    EXPECT_EQ(read(dest), (Values{1, 11, 12, 13, 2, 10, 14}));
    EXPECT_EQ(source->count, 0);
    EXPECT_EQ(ZqList_MoveItemsBetweenHeapLists(dest, 0, source, 0, 1), E_FAIL);  // beyond the source
    EXPECT_TRUE(source->options & ZQLIST_HEAP);
  }
}

TEST(ListSearch, SortedSearchAndInsertIndex) {
  List l;
  l.Append({1, 2, 2, 2, 3});
  EXPECT_EQ(ZqList_FindSortedItemRange(l, 2, 0, -1, CompareValues), 2);
  EXPECT_EQ(ZqList_FindSortedItemRange(l, 3, 0, -1, CompareValues), 4);
  EXPECT_EQ(ZqList_FindSortedItemRange(l, 1, 0, -1, CompareValues), 0);
  EXPECT_EQ(ZqList_FindSortedItemRange(l, 5, 0, -1, CompareValues), -1);
  EXPECT_EQ(ZqList_FindSortedItemRange(l, 2, 6, -1, CompareValues), -1);  // start beyond the count
  EXPECT_EQ(ZqList_FindSortedItemRange(l, 2, 1, 0, CompareValues), -1);   // empty range
  EXPECT_EQ(ZqList_FindSortedInsertIndexRange(l, 2, 0, -1, CompareValues), 2);
  EXPECT_EQ(ZqList_FindSortedInsertIndexRange(l, 4, 0, -1, CompareValues), 5);
  EXPECT_EQ(ZqList_FindSortedInsertIndexRange(l, 0, 0, -1, CompareValues), 0);
  EXPECT_EQ(ZqList_FindSortedInsertIndexRange(l, 0, 6, -1, CompareValues), -1);
  List empty;
  EXPECT_EQ(ZqList_FindSortedInsertIndexRange(empty, 0, 0, -1, CompareValues), 0);
}

TEST(ListSearch, SortedInsertionBuildsASortedListAgainstStdSort) {
  std::mt19937 rng(7);
  List l;
  std::vector<LONG> reference;
  for (int i = 0; i < 2000; ++i) {
    LONG v = static_cast<LONG>(rng() % 500) - 250;
    int at = ZqList_FindSortedInsertIndexRange(l, static_cast<DWORD_PTR>(v), 0, -1, CompareValues);
    ASSERT_GE(at, 0);
    ASSERT_EQ(ZqList_InsertList(l, at, &v, 1), S_OK);
    reference.push_back(v);
  }
  std::sort(reference.begin(), reference.end());
  EXPECT_EQ(l.Values(), reference);
  for (LONG probe : {-250, 0, 249, 77}) {
    int found = ZqList_FindSortedItemRange(l, static_cast<DWORD_PTR>(probe), 0, -1, CompareValues);
    bool present = std::binary_search(reference.begin(), reference.end(), probe);
    EXPECT_EQ(found >= 0, present);
    if (found >= 0) {
      EXPECT_EQ(reference[found], probe);
    }
  }
}

TEST(ListSearch, LinearSearches) {
  List l;
  l.Append({4, 5, 6, 5});
  EXPECT_EQ(ZqList_FindSpecificItemRange(l, 0, -1, 5), 1);
  EXPECT_EQ(ZqList_FindSpecificItemRange(l, 2, -1, 5), 3);
  EXPECT_EQ(ZqList_FindSpecificItemRange(l, 2, 1, 5), -1);
  EXPECT_EQ(ZqList_FindSpecificItemRange(l, 9, -1, 5), -1);
  EXPECT_EQ(ZqList_FindItemRange(l, 0, -1, 6, MatchValue), 2);
  EXPECT_EQ(ZqList_FindItemRange(l, 0, -1, 6, nullptr), -1);
  List arr(ZQLIST_ARRAY, sizeof(Record));
  Record r[2], probe;
  memset(r, 0, sizeof(r));
  memset(&probe, 0, sizeof(probe));
  r[0].key = 1;
  r[1].key = probe.key = 2;
  ASSERT_EQ(ZqList_InsertList(arr, 0, r, 2), S_OK);
  EXPECT_EQ(ZqList_FindSpecificItemRange(arr, 0, -1, reinterpret_cast<DWORD_PTR>(&probe)), 1);
}

TEST(ListSort, SelectionSortIsNotStable) {
  List arr(ZQLIST_ARRAY, sizeof(Record));
  Record r[] = {{5, "A1"}, {5, "A2"}, {1, "B"}};
  ASSERT_EQ(ZqList_InsertList(arr, 0, r, 3), S_OK);
  ASSERT_EQ(ZqList_Sort(arr, 42, CompareRecords), S_OK);
  EXPECT_EQ(ZqList_GetSortCriteria(arr), 42);
  auto at = [&](int i) { return static_cast<Record*>(ZQLIST_SLOT(arr.list, i)); };
  EXPECT_STREQ(at(0)->tag, "B");
  EXPECT_STREQ(at(1)->tag, "A2");
  EXPECT_STREQ(at(2)->tag, "A1");
}

TEST(ListSort, HeapSortAndSelectionSortMatchStdSort) {
  std::mt19937 rng(11);
  for (int n : {0, 1, 2, 3, 17, 1000}) {
    std::vector<LONG> v(n);
    for (auto& x : v) x = static_cast<LONG>(rng() % 100);
    List a, b;
    if (n) {
      ASSERT_EQ(ZqList_InsertList(a, 0, v.data(), n), S_OK);
      ASSERT_EQ(ZqList_InsertList(b, 0, v.data(), n), S_OK);
    }
    ASSERT_EQ(ZqList_HeapSort(a, 0, CompareValues), S_OK);
    ASSERT_EQ(ZqList_Sort(b, 0, CompareValues), S_OK);
    std::sort(v.begin(), v.end());
    EXPECT_EQ(a.Values(), v) << n;
    EXPECT_EQ(b.Values(), v) << n;
  }
}

// Heap sort is not stable: where it leaves equal items is part of what
// callers see. It must be where the textbook heap sort (swap with the
// larger child while that child is greater) leaves them.
TEST(ListSort, HeapSortLeavesEqualItemsWhereTheClassicHeapSortDoes) {
  auto classic = [](std::vector<Record>& v) {
    auto greater = [&](size_t a, size_t b) { return v[a].key > v[b].key; };
    auto sift = [&](size_t parent, size_t size) {
      for (size_t child; (child = 2 * parent + 1) < size; parent = child) {
        if (child + 1 < size && greater(child + 1, child)) ++child;
        if (!greater(child, parent)) return;
        std::swap(v[parent], v[child]);
      }
    };
    for (size_t i = v.size() / 2 + 1; i-- > 0;) sift(i, v.size());
    for (size_t end = v.size(); end-- > 1;) {
      std::swap(v[0], v[end]);
      sift(0, end);
    }
  };
  std::mt19937 rng(5);
  for (int n : {2, 3, 5, 16, 17, 100, 4097}) {
    for (int keys : {1, 3, 50}) {
      std::vector<Record> v(n);
      for (int i = 0; i < n; ++i) {
        v[i].key = static_cast<LONG>(rng() % keys);
        snprintf(v[i].tag, sizeof v[i].tag, "%05d", i);
      }
      List arr(ZQLIST_ARRAY, sizeof(Record));
      ASSERT_EQ(ZqList_InsertList(arr, 0, v.data(), n), S_OK);
      ASSERT_EQ(ZqList_HeapSort(arr, 0, CompareRecords), S_OK);
      classic(v);
      for (int i = 0; i < n; ++i) {
        const auto* got = static_cast<Record*>(ZQLIST_SLOT(arr.list, i));
        ASSERT_EQ(got->key, v[i].key) << n << " " << keys << " at " << i;
        ASSERT_STREQ(got->tag, v[i].tag) << n << " " << keys << " at " << i;
      }
    }
  }
}

TEST(ListSort, SortToInsertsEverySlotInOrder) {
  List source, dest;
  source.Append({9, 3, 7, 1});
  dest.Append({2, 8});
  EXPECT_EQ(ZqList_SortTo(dest, source, 3, CompareValues), S_OK);
  EXPECT_EQ(dest.Values(), (Values{1, 2, 3, 7, 8, 9}));
  EXPECT_EQ(ZqList_GetSortCriteria(dest), 3);
  List heap(ZQLIST_HEAP);
  EXPECT_EQ(ZqList_SortTo(heap, source, 0, CompareValues), S_OK);  // accepts nothing
  EXPECT_EQ(heap->count, 0);
}

TEST(ListThreads, TwoThreadsInsertIntoALockedListWithoutLoss) {
  List l(ZQLIST_LOCKED);
  auto worker = [&](LONG base) {
    for (LONG i = 0; i < 5000; ++i) {
      LONG v = base + i;
      ZqList_InsertList(l, i % 3 == 0 ? 0 : -1, &v, 1);
    }
  };
  std::thread t1(worker, 0), t2(worker, 100000);
  t1.join();
  t2.join();
  Values v = l.Values();
  ASSERT_EQ(v.size(), 10000u);
  std::sort(v.begin(), v.end());
  EXPECT_EQ(std::adjacent_find(v.begin(), v.end()), v.end());
  EXPECT_EQ(v.front(), 0);
  EXPECT_EQ(v.back(), 104999);
}

// Sorted copying and moving items lock two lists; run against each other
// they must not wait on each other forever.
TEST(ListThreads, SortToAndMoveItemsDoNotDeadlock) {
  List a(ZQLIST_LOCKED | ZQLIST_HEAP), b(ZQLIST_LOCKED | ZQLIST_HEAP);
  for (LONG v = 0; v < 8; ++v) ZqList_AllocAndInsertItem(b, 4, &v, -1, nullptr);
  std::atomic<bool> stop{false}, moved{false};
  std::thread sorter([&] {
    while (!stop) ZqList_SortTo(a, b, 0, CompareValues);
  });
  std::thread mover([&] {
    for (int i = 0; i < 3000; ++i) {
      ZqList_MoveItemsBetweenHeapLists(a, -1, b, 0, 1);
      ZqList_MoveItemsBetweenHeapLists(b, -1, a, 0, 1);
    }
    moved = true;
  });
  for (int waited = 0; !moved && waited < 3000; ++waited) Sleep(10);
  stop = true;
  if (!moved) {
    ADD_FAILURE() << "the two threads deadlocked";
    ExitProcess(3);  // leave rather than hang the run
  }
  mover.join();
  sorter.join();
  EXPECT_EQ(a->count + b->count, 8);
}

// Two threads moving items between the same two locked lists in opposite
// directions: each takes both locks, and neither may wait for the other.
TEST(ListThreads, OppositeMovesBetweenTwoListsDoNotDeadlock) {
  List a(ZQLIST_LOCKED | ZQLIST_HEAP), b(ZQLIST_LOCKED | ZQLIST_HEAP);
  for (LONG v = 0; v < 64; ++v) ZqList_AllocAndInsertItem(v % 2 ? a : b, 4, &v, -1, nullptr);
  std::atomic<int> finished{0};
  const DWORD until = GetTickCount() + 2000;
  auto mover = [&](tZQLIST* to, tZQLIST* from) {
    while (static_cast<LONG>(GetTickCount() - until) < 0)
      for (int i = 0; i < 100; ++i) ZqList_MoveItemsBetweenHeapLists(to, -1, from, 0, 2);
    ++finished;
  };
  std::thread one(mover, static_cast<tZQLIST*>(a), static_cast<tZQLIST*>(b)),
      other(mover, static_cast<tZQLIST*>(b), static_cast<tZQLIST*>(a));
  for (int waited = 0; finished < 2 && waited < 3000; ++waited) Sleep(10);
  if (finished < 2) {
    ADD_FAILURE() << "the two movers deadlocked";
    ExitProcess(3);  // leave rather than hang the run
  }
  one.join();
  other.join();
  // Nothing lost or doubled: every value is in exactly one list.
  std::vector<LONG> seen;
  for (tZQLIST* l : {static_cast<tZQLIST*>(a), static_cast<tZQLIST*>(b)})
    for (LONG i = 0; i < l->count; ++i) seen.push_back(*static_cast<LONG*>(*reinterpret_cast<void**>(ZQLIST_SLOT(l, i))));
  std::sort(seen.begin(), seen.end());
  ASSERT_EQ(seen.size(), 64u);
  for (LONG v = 0; v < 64; ++v) EXPECT_EQ(seen[v], v);
}

TEST(ListThreads, OwnerCheckRefusesOtherThreads) {
  List l;
  l.Append({1});
  l->options &= ~ZQLIST_ANYTHREAD;  // a list for its owner thread only
  ZqList_SetUserData(l, 5);
  HRESULT insert = S_OK;
  LONG user = 0, found = 0;
  std::thread other([&] {
    LONG v = 2;
    insert = ZqList_InsertList(l, -1, &v, 1);
    user = ZqList_GetUserData(l);
    found = ZqList_FindSpecificItemRange(l, 0, -1, 1);
  });
  other.join();
  EXPECT_EQ(insert, E_FAIL);
  EXPECT_EQ(user, -1);
  EXPECT_EQ(found, -1);
  EXPECT_EQ(ZqList_GetUserData(l), 5);
  EXPECT_EQ(ZqList_SetUserData(l, 6), 5);
  EXPECT_EQ(l->count, 1);
  l->options |= ZQLIST_ANYTHREAD;
}

TEST(ListBadInput, NullAndForeignHeadersAreRefused) {
  tZQLIST fake{};
  fake.signature = 0x12345678;
  LONG v = 1;
  EXPECT_EQ(ZqList_Destroy(nullptr), S_OK);
  EXPECT_EQ(ZqList_Destroy(&fake), E_INVALIDARG);
  EXPECT_EQ(ZqList_InsertList(nullptr, 0, &v, 1), E_INVALIDARG);
  EXPECT_EQ(ZqList_InsertList(&fake, 0, &v, 1), E_INVALIDARG);
  EXPECT_EQ(ZqList_DeleteList(&fake, 0, 1, FALSE), E_INVALIDARG);
  EXPECT_EQ(ZqList_Sort(&fake, 0, CompareValues), E_INVALIDARG);
  EXPECT_EQ(ZqList_FindSortedItemRange(nullptr, 1, 0, -1, CompareValues), -1);
  EXPECT_FALSE(ZqList_IsList(nullptr, sizeof(tZQLIST)));
  EXPECT_FALSE(ZqList_IsList(reinterpret_cast<void*>(16), sizeof(tZQLIST)));  // unreadable
  EXPECT_FALSE(ZqList_IsValidIndexSlow(nullptr, 0));
  EXPECT_EQ(ZqList_GetUserData(&fake), -1);
  wchar_t file[4] = L"x";
  int line = 5;
  EXPECT_EQ(ZqList_GetFileAndLine(&fake, file, &line), -1);
  EXPECT_EQ(file[0], 0);
}

}  // namespace
