// Sorting: selection sort, heap sort, and sorted copying into another list.
#include <cstring>

#include "core/list_internal.h"

namespace {
using namespace zq::core::list;

void SwapSlots(tZQLIST* l, LONG a, LONG b) {
  if (a == b) return;
  if (l->slotSize == 4) {
    DWORD* pa = reinterpret_cast<DWORD*>(SlotAt(l, a));
    DWORD* pb = reinterpret_cast<DWORD*>(SlotAt(l, b));
    DWORD t = *pa;
    *pa = *pb;
    *pb = t;
    return;
  }
  DWORD* pa = reinterpret_cast<DWORD*>(SlotAt(l, a));
  DWORD* pb = reinterpret_cast<DWORD*>(SlotAt(l, b));
  for (LONG w = 0; w < l->slotSize / 4; ++w) {  // whole records, word by word
    DWORD t = pa[w];
    pa[w] = pb[w];
    pb[w] = t;
  }
}

// Slots of a list of 32-bit values: the slot is the item.
struct ValueSlots {
  explicit ValueSlots(tZQLIST* l) : slots(reinterpret_cast<DWORD_PTR*>(l->slots)) {}
  DWORD_PTR Item(LONG i) const { return slots[i]; }
  DWORD_PTR HeldItem() const { return held; }
  void Take(LONG from) { held = slots[from]; }
  void Move(LONG to, LONG from) { slots[to] = slots[from]; }
  void Put(LONG to) { slots[to] = held; }
  // The grandchildren of `i` lie side by side: fetch them a level early.
  void Prefetch(LONG i) const { __builtin_prefetch(slots + 4 * i + 3); }
  DWORD_PTR* slots;
  DWORD_PTR held = 0;
};

// Slots of records (array lists), or of any other slot size: callbacks see
// the record's address; the held record lives in `held`.
struct RecordSlots {
  RecordSlots(tZQLIST* l, BYTE* heldRecord)
      : l(l), size(static_cast<SIZE_T>(l->slotSize)), array(IsArrayList(l)), held(heldRecord) {}
  DWORD_PTR Item(LONG i) const { return ItemAt(l, i); }
  DWORD_PTR HeldItem() const {
    return array ? reinterpret_cast<DWORD_PTR>(held) : *reinterpret_cast<const DWORD_PTR*>(held);
  }
  void Take(LONG from) { memcpy(held, SlotAt(l, from), size); }
  void Move(LONG to, LONG from) { memcpy(SlotAt(l, to), SlotAt(l, from), size); }
  void Put(LONG to) { memcpy(SlotAt(l, to), held, size); }
  void Prefetch(LONG) const {}
  tZQLIST* l;
  SIZE_T size;
  bool array;
  BYTE* held;
};

// Bottom-up heap sort. The item being sifted is held aside; the path of
// larger children is followed to a leaf with one comparison a level, and
// the item climbs back to the deepest path slot that is greater than it.
// Along a heap path the items never increase, so that is exactly where the
// classic sift-down (swap while the larger child is greater) stops: the
// result, the order of equal items included, is the classic one, with
// about half the comparisons and moves instead of swaps.
template <typename Slots>
class HeapSorter {
 public:
  HeapSorter(Slots slots, LONG count, ZQLISTCOMPAREPROC compare, LONG criteria)
      : s_(slots), count_(count), compare_(compare), criteria_(criteria) {}

  void Sort() {
    if (count_ < 2) return;
    for (LONG i = count_ / 2; i >= 0; --i) {
      s_.Take(i);
      SiftDown(i, count_);
    }
    for (LONG end = count_ - 1; end >= 1; --end) {
      s_.Take(end);
      s_.Move(end, 0);
      SiftDown(0, end);
    }
  }

 private:
  // `root` is a hole; the held item goes into the heap [root, n).
  void SiftDown(LONG root, LONG n) {
    // (2 * at + 1 never overflows: a list holds far fewer than 2^30 slots.)
    LONG at = root;
    // Both children there: the larger one (the right one only when greater).
    for (LONG child = 2 * at + 1; child + 1 < n; child = 2 * at + 1) {
      s_.Prefetch(child);
      at = compare_(criteria_, s_.Item(child + 1), s_.Item(child)) > 0 ? child + 1 : child;
    }
    if (2 * at + 1 < n) at = 2 * at + 1;  // a last, single child
    while (at != root && compare_(criteria_, s_.Item(at), s_.HeldItem()) <= 0) at = (at - 1) / 2;
    // Every path slot from below the root down to `at` moves up one level.
    int depth = 0;
    for (LONG i = at; i != root; i = (i - 1) / 2) ++depth;
    LONG hole = root;
    for (int d = depth - 1; d >= 0; --d) {
      const LONG next = ((at + 1) >> d) - 1;
      s_.Move(hole, next);
      hole = next;
    }
    s_.Put(at);
  }

  Slots s_;
  LONG count_;
  ZQLISTCOMPAREPROC compare_;
  LONG criteria_;
};

}  // namespace

ZQAPI HRESULT WINAPI ZqList_Sort(tZQLIST* l, LONG criteria, ZQLISTCOMPAREPROC compare) noexcept {
  ZQ_LIST_ACCESS(l);
  if (!compare) return E_INVALIDARG;
  l->sortCriteria = criteria;
  for (LONG end = l->count - 1; end >= 1; --end) {
    LONG max = 0;
    for (LONG i = 1; i <= end; ++i) {
      if (compare(criteria, ItemAt(l, i), ItemAt(l, max)) > 0) max = i;
    }
    SwapSlots(l, max, end);
  }
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqList_HeapSort(tZQLIST* l, LONG criteria, ZQLISTCOMPAREPROC compare) noexcept {
  ZQ_LIST_ACCESS(l);
  if (!compare) return E_INVALIDARG;
  l->sortCriteria = criteria;
  if (!IsArrayList(l) && l->slotSize == sizeof(DWORD_PTR)) {
    HeapSorter<ValueSlots>(ValueSlots(l), l->count, compare, criteria).Sort();
    return S_OK;
  }
  // The held record: on the stack when small, else one block a sort.
  alignas(8) BYTE small[64];
  BYTE* held = small;
  if (l->slotSize > static_cast<LONG>(sizeof(small))) {
    held = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(l->slotSize)));
    if (!held) return E_OUTOFMEMORY;
  }
  HeapSorter<RecordSlots>(RecordSlots(l, held), l->count, compare, criteria).Sort();
  if (held != small) HeapFree(GetProcessHeap(), 0, held);
  return S_OK;
}

// The source's slots are copied aside under its lock, which is released
// before the destination is touched: no thread ever holds both locks here,
// so this cannot deadlock with an operation that locks them the other way
// round. Single insertions that fail are skipped.
ZQAPI HRESULT WINAPI ZqList_SortTo(tZQLIST* dest, tZQLIST* source, LONG criteria,
                                   ZQLISTCOMPAREPROC compare) noexcept {
  if (!Alive(dest)) return E_INVALIDARG;
  HGLOBAL block = nullptr;
  LONG count = 0, size = 0;
  bool array = false;
  {
    ZQ_LIST_ACCESS(source);
    if (!compare || dest == source || dest->slotSize != source->slotSize) return E_INVALIDARG;
    count = source->count;
    size = source->slotSize;
    array = IsArrayList(source);
    if (count > 0) {
      block = GlobalAlloc(GMEM_FIXED, static_cast<SIZE_T>(count) * size);
      if (!block) return E_OUTOFMEMORY;
      memcpy(block, source->slots, static_cast<SIZE_T>(count) * size);
    }
  }
  const BYTE* slots = static_cast<const BYTE*>(block);
  Access destAccess(dest);
  if (!destAccess) {
    if (block) GlobalFree(block);
    return E_FAIL;
  }
  dest->sortCriteria = criteria;
  for (LONG i = 0; i < count && !IsHeapList(dest); ++i) {
    const BYTE* slot = slots + static_cast<SIZE_T>(i) * size;
    DWORD_PTR item = array ? reinterpret_cast<DWORD_PTR>(slot) : *reinterpret_cast<const DWORD_PTR*>(slot);
    LONG at = SortedInsertIndex(dest, item, 0, dest->count, compare);
    InsertSlots(dest, at, slot, 1);
  }
  if (block) GlobalFree(block);
  return S_OK;
}
