// The slot block (movable global memory kept locked) and heap-list items.
#include <malloc.h>

#include <climits>
#include <cstdlib>

#include "core/list_internal.h"

namespace zq::core::list {
namespace {
constexpr LONGLONG kMaxBlockBytes = 0x7FFF0000;

bool BlockBytes(const tZQLIST* l, LONG capacity, SIZE_T* bytes) {
  LONGLONG total = static_cast<LONGLONG>(capacity) * l->slotSize;
  if (capacity < 0 || total > kMaxBlockBytes) return false;
  if (total < l->slotSize) total = l->slotSize;  // never below one slot
  *bytes = static_cast<SIZE_T>(total);
  return true;
}
}  // namespace

bool ClipRange(const tZQLIST* l, int start, int count, LONG* first, LONG* end) {
  if (start < 0) start = 0;
  if (start > l->count) return false;
  LONGLONG stop = count < 0 ? l->count : static_cast<LONGLONG>(start) + count;
  if (stop > l->count) stop = l->count;
  *first = start;
  *end = static_cast<LONG>(stop);
  return true;
}

HRESULT AllocateBlock(tZQLIST* l, LONG capacity) {
  SIZE_T bytes;
  if (!BlockBytes(l, capacity, &bytes)) return E_OUTOFMEMORY;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (!block) return E_OUTOFMEMORY;
  l->slots = static_cast<BYTE*>(GlobalLock(block));
  if (!l->slots) {
    GlobalFree(block);
    return E_OUTOFMEMORY;
  }
  l->capacity = capacity;
  return S_OK;
}

HRESULT ResizeBlock(tZQLIST* l, LONG capacity) {
  SIZE_T bytes;
  if (!BlockBytes(l, capacity, &bytes)) return E_OUTOFMEMORY;
  HGLOBAL block = GlobalHandle(l->slots);
  GlobalUnlock(block);
  HGLOBAL grown = GlobalReAlloc(block, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT);
  if (!grown) {
    l->slots = static_cast<BYTE*>(GlobalLock(block));
    return E_OUTOFMEMORY;
  }
  l->slots = static_cast<BYTE*>(GlobalLock(grown));
  l->capacity = capacity;
  return S_OK;
}

void FreeBlock(tZQLIST* l) {
  if (!l->slots) return;
  HGLOBAL block = GlobalHandle(l->slots);
  GlobalUnlock(block);
  GlobalFree(block);
  l->slots = nullptr;
  l->capacity = 0;
}

HRESULT GrowBy(tZQLIST* l, LONG extra) {
  if (extra < 1) extra = l->growStep;
  LONGLONG steps = (static_cast<LONGLONG>(extra) + l->growStep - 1) / l->growStep;
  LONGLONG capacity = l->capacity + steps * l->growStep;
  if (capacity > INT_MAX) return E_OUTOFMEMORY;
  return ResizeBlock(l, static_cast<LONG>(capacity));
}

void ShrinkBy(tZQLIST* l, LONG slots) {
  LONG spare = l->capacity - l->count;
  if (spare <= 0) return;
  if (slots < 0 || slots > spare) slots = spare;
  LONGLONG amount = (static_cast<LONGLONG>(slots) + l->growStep - 1) / l->growStep * l->growStep;
  while (amount > spare) amount -= l->growStep;  // only spare slots are released
  if (amount <= 0) return;
  ResizeBlock(l, l->capacity - static_cast<LONG>(amount));
}

void* ItemAlloc(const tZQLIST* l, SIZE_T size) {
  if (l->privateHeap) return HeapAlloc(l->privateHeap, l->heapAllocFlags, size ? size : 1);
  return calloc(1, size ? size : 1);
}

void* ItemRealloc(const tZQLIST* l, void* item, SIZE_T size) {
  if (l->privateHeap) return HeapReAlloc(l->privateHeap, l->heapAllocFlags, item, size ? size : 1);
  return realloc(item, size ? size : 1);
}

void ItemFree(const tZQLIST* l, void* item) {
  if (!item) return;
  if (l->privateHeap) HeapFree(l->privateHeap, l->heapFreeFlags, item);
  else free(item);
}

SIZE_T ItemSize(const tZQLIST* l, const void* item) {
  if (!item) return 0;
  if (l->privateHeap) return HeapSize(l->privateHeap, l->heapFreeFlags, item);
  return _msize(const_cast<void*>(item));
}

}  // namespace zq::core::list
