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

void SiftDown(tZQLIST* l, LONG parent, LONG size, ZQLISTCOMPAREPROC compare) {
  const LONG criteria = l->sortCriteria;
  for (;;) {
    LONG child = 2 * parent + 1;
    if (child >= size) return;
    if (child + 1 < size && compare(criteria, ItemAt(l, child + 1), ItemAt(l, child)) > 0) ++child;
    if (compare(criteria, ItemAt(l, child), ItemAt(l, parent)) <= 0) return;
    SwapSlots(l, parent, child);
    parent = child;
  }
}

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
  for (LONG i = l->count / 2; i >= 0; --i) SiftDown(l, i, l->count, compare);
  for (LONG end = l->count - 1; end >= 1; --end) {
    SwapSlots(l, 0, end);
    SiftDown(l, 0, end, compare);
  }
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
