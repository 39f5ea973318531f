// Inserting, deleting and moving slots.
#include <climits>
#include <cstring>

#include "core/list_internal.h"

namespace zq::core::list {

HRESULT InsertSlots(tZQLIST* l, LONG index, const void* source, LONG n) {
  if (n <= 0) return S_OK;
  if (static_cast<LONGLONG>(l->count) + n > INT_MAX) return E_INVALIDARG;
  if (index < 0 || index >= l->count) index = l->count;
  const SIZE_T size = l->slotSize;
  // Slots of this very list are copied aside first: growing may move the
  // block and the tail move overwrites them.
  HGLOBAL copy = nullptr;
  const ULONG_PTR from = reinterpret_cast<ULONG_PTR>(source), block = reinterpret_cast<ULONG_PTR>(l->slots);
  if (from < block + static_cast<ULONGLONG>(l->capacity) * size &&
      from + static_cast<ULONGLONG>(n) * size > block) {
    copy = GlobalAlloc(GMEM_FIXED, n * size);
    if (!copy) return E_OUTOFMEMORY;
    memcpy(copy, source, n * size);
    source = copy;
  }
  if (l->capacity < l->count + n) {
    HRESULT hr = GrowBy(l, n - (l->capacity - l->count));
    if (FAILED(hr)) {
      if (copy) GlobalFree(copy);
      return hr;
    }
  }
  memmove(SlotAt(l, index + n), SlotAt(l, index), (l->count - index) * size);
  memcpy(SlotAt(l, index), source, n * size);
  l->count += n;
  // The pending item now belongs to a slot.
  if (l->pendingItem && !IsArrayList(l)) {
    for (LONG i = 0; i < n; ++i) {
      if (static_cast<void* const*>(source)[i] == l->pendingItem) l->pendingItem = nullptr;
    }
  }
  if (copy) GlobalFree(copy);
  return S_OK;
}

HRESULT DeleteSlots(tZQLIST* l, LONG index, LONG n, BOOL shrink) {
  if (n == 0) return S_OK;
  if (index < 0 || index >= l->count) return E_FAIL;
  if (n < 0 || n > l->count - index) n = l->count - index;
  if (IsHeapList(l)) {
    for (LONG i = index; i < index + n; ++i) ItemFree(l, *reinterpret_cast<void**>(SlotAt(l, i)));
  }
  const SIZE_T size = l->slotSize;
  memmove(SlotAt(l, index), SlotAt(l, index + n), (l->count - index - n) * size);
  memset(SlotAt(l, l->count - n), 0, n * size);
  l->count -= n;
  if (shrink && l->capacity - l->count > l->growStep) ShrinkBy(l, -1);
  return S_OK;
}

}  // namespace zq::core::list

using namespace zq::core::list;

ZQAPI HRESULT WINAPI ZqList_InsertList(tZQLIST* l, int index, const void* source, int n) noexcept {
  ZQ_LIST_ACCESS(l);
  if (!source) {
    // Only the pending item may be inserted without a source.
    if (n != -1 || !l->pendingItem) return E_INVALIDARG;
    void* pending = l->pendingItem;
    return InsertSlots(l, index, &pending, 1);
  }
  if (n == INT_MIN) return E_INVALIDARG;
  if (n > 0 && IsHeapList(l)) return E_FAIL;  // heap-list slots hold only the list's items
  return InsertSlots(l, index, source, n < 0 ? -n : n);
}

ZQAPI HRESULT WINAPI ZqList_DeleteList(tZQLIST* l, int index, int n, BOOL shrink) noexcept {
  ZQ_LIST_ACCESS(l);
  if (index < 0 && n < 0) {
    if (!l->pendingItem) return E_FAIL;
    ItemFree(l, l->pendingItem);
    l->pendingItem = nullptr;
    return S_OK;
  }
  return DeleteSlots(l, index, n, shrink);
}

ZQAPI HRESULT WINAPI ZqList_MoveRange(tZQLIST* l, int from, int to, int n) noexcept {
  ZQ_LIST_ACCESS(l);
  if (from < 0) return E_INVALIDARG;
  if (to < 0) to = 0;
  if (n < 0) n = l->count - (from > to ? from : to);
  if (n <= 0) return n == 0 ? S_OK : E_FAIL;
  if (static_cast<LONGLONG>(from) + n > l->count || static_cast<LONGLONG>(to) + n > l->count) return E_FAIL;
  if (from == to) return S_OK;
  const SIZE_T bytes = static_cast<SIZE_T>(n) * l->slotSize;
  BYTE local[512];
  HGLOBAL scratchBlock = nullptr;
  BYTE* scratch = local;
  if (bytes > sizeof(local)) {
    scratchBlock = GlobalAlloc(GMEM_FIXED, bytes);
    if (!scratchBlock) return E_OUTOFMEMORY;
    scratch = static_cast<BYTE*>(scratchBlock);
  }
  memcpy(scratch, SlotAt(l, from), bytes);
  if (from < to) memmove(SlotAt(l, from), SlotAt(l, from + n), static_cast<SIZE_T>(to - from) * l->slotSize);
  else memmove(SlotAt(l, to + n), SlotAt(l, to), static_cast<SIZE_T>(from - to) * l->slotSize);
  memcpy(SlotAt(l, to), scratch, bytes);
  if (scratchBlock) GlobalFree(scratchBlock);
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqList_ArrayForceItemCount(tZQLIST* l, int count, BOOL shrink) noexcept {
  ZQ_LIST_ACCESS(l);
  if (!IsArrayList(l)) return E_FAIL;
  if (count < 0) return E_INVALIDARG;
  if (count > l->capacity) {
    HRESULT hr = GrowBy(l, count - l->capacity);
    if (FAILED(hr)) return hr;
  }
  bool shrinking = count < l->count;
  l->count = count;
  if (shrinking && shrink && l->capacity - l->count > l->growStep) ShrinkBy(l, -1);
  return S_OK;
}
