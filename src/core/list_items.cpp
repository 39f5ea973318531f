// Items of heap lists: allocation, resizing, sizes and moving items
// between lists.
#include <climits>
#include <cstring>
#include <functional>

#include "core/list_internal.h"

using namespace zq::core::list;

ZQAPI HRESULT WINAPI ZqList_AllocItem(tZQLIST* l, int size, void** item) noexcept {
  if (item) *item = nullptr;
  if (!Alive(l)) return E_INVALIDARG;
  if (Foreign(l)) return E_FAIL;
  if (!item || size < 0) return E_INVALIDARG;
  Access access(l);
  if (!IsHeapList(l) || l->pendingItem) return E_FAIL;
  void* p = ItemAlloc(l, static_cast<SIZE_T>(size));
  if (!p) return E_OUTOFMEMORY;
  l->pendingItem = p;
  *item = p;
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqList_AllocAndInsertItem(tZQLIST* l, int size, const void* source, int index,
                                               int* indexOut) noexcept {
  if (indexOut) *indexOut = -1;
  ZQ_LIST_ACCESS(l);
  if (!IsHeapList(l) || l->pendingItem) return E_FAIL;
  if (size < 0) return E_INVALIDARG;
  void* p = ItemAlloc(l, static_cast<SIZE_T>(size));
  if (!p) return E_OUTOFMEMORY;
  if (source && size) memcpy(p, source, static_cast<SIZE_T>(size));
  LONG at = (index < 0 || index > l->count) ? l->count : index;
  HRESULT hr = InsertSlots(l, at, &p, 1);
  if (FAILED(hr)) {
    ItemFree(l, p);
    return hr;
  }
  if (indexOut) *indexOut = at;
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqList_ReAllocItem(tZQLIST* l, int index, int newSize) noexcept {
  if (!Alive(l)) return E_INVALIDARG;
  if (Foreign(l)) return E_FAIL;
  Access access(l);
  if (!IsHeapList(l) || index < 0 || index >= l->count || newSize < 0) return E_FAIL;
  void** slot = reinterpret_cast<void**>(SlotAt(l, index));
  void* p = ItemRealloc(l, *slot, static_cast<SIZE_T>(newSize));
  if (!p) return E_OUTOFMEMORY;
  *slot = p;
  return S_OK;
}

ZQAPI int WINAPI ZqList_AllocSize(tZQLIST* l, int index) noexcept {
  Access access(l);
  if (!access) return -1;
  if (index >= 0) {
    if (index >= l->count) return -1;
    if (!IsHeapList(l)) return l->slotSize;
    return static_cast<int>(ItemSize(l, *reinterpret_cast<void**>(SlotAt(l, index))));
  }
  ULONGLONG total = sizeof(tZQLIST) + GlobalSize(GlobalHandle(l->slots));
  if (IsHeapList(l)) {
    for (LONG i = 0; i < l->count; ++i) total += ItemSize(l, *reinterpret_cast<void**>(SlotAt(l, i)));
  }
  return total > INT_MAX ? INT_MAX : static_cast<int>(total);
}

namespace {

// An item of `source` in the form `dest` can own: the same pointer when
// both lists allocate from the same place, else a copy on dest's heap.
void* Adopt(tZQLIST* dest, tZQLIST* source, void* item) {
  if (dest->privateHeap == source->privateHeap) return item;
  SIZE_T size = ItemSize(source, item);
  void* copy = ItemAlloc(dest, size);
  if (copy) memcpy(copy, item, size);
  return copy;
}

}  // namespace

ZQAPI HRESULT WINAPI ZqList_MoveItemsBetweenHeapLists(tZQLIST* dest, int destIndex, tZQLIST* source,
                                                      int sourceIndex, int count) noexcept {
  if (!Alive(dest) || !Alive(source) || dest == source) return E_INVALIDARG;
  // Both locks in one order for every caller (by address), so that two
  // moves between the same lists in opposite directions never wait for
  // each other.
  const bool destFirst = std::less<tZQLIST*>()(dest, source);
  Access firstAccess(destFirst ? dest : source);
  if (!firstAccess) return E_FAIL;
  Access secondAccess(destFirst ? source : dest);
  if (!secondAccess) return E_FAIL;
  if (!IsHeapList(dest) || !IsHeapList(source) || dest->pendingItem) return E_FAIL;
  if (sourceIndex < 0 || sourceIndex > source->count) return E_FAIL;
  if (count < 0) count = source->count - sourceIndex;
  if (count == 0) return S_OK;
  if (static_cast<LONGLONG>(sourceIndex) + count > source->count) return E_FAIL;
  LONG at = (destIndex < 0 || destIndex > dest->count) ? dest->count : destIndex;

  // Inserting from the last item down at one index keeps the range's order.
  // The source's heap flag is cleared meanwhile so that deleting a slot
  // there does not free the item.
  const DWORD options = source->options;
  source->options &= ~ZQLIST_HEAP;
  HRESULT hr = S_OK;
  for (LONG i = sourceIndex + count - 1; i >= sourceIndex; --i) {
    void* item = *reinterpret_cast<void**>(SlotAt(source, i));
    void* owned = Adopt(dest, source, item);
    if (!owned) {
      hr = E_OUTOFMEMORY;
      break;
    }
    dest->pendingItem = owned;
    hr = InsertSlots(dest, at, &owned, 1);
    if (FAILED(hr)) {
      if (owned != item) ItemFree(dest, owned);
      break;
    }
    DeleteSlots(source, i, 1, FALSE);
    if (owned != item) ItemFree(source, item);
  }
  source->options = options;
  dest->pendingItem = nullptr;
  return hr;
}
