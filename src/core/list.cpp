// The list container: creation, destruction and the header's own values.
#include <algorithm>

#include "core/list_internal.h"

using namespace zq::core::list;

namespace {

tZQLIST* AllocateHeader() {
  return static_cast<tZQLIST*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(tZQLIST)));
}
void FreeHeader(tZQLIST* l) { HeapFree(GetProcessHeap(), 0, l); }

void FreeItems(tZQLIST* l) {
  if (!IsHeapList(l)) return;
  if (l->privateHeap) {  // one release for every item
    HeapDestroy(l->privateHeap);
    l->privateHeap = nullptr;
    l->pendingItem = nullptr;
    return;
  }
  for (LONG i = 0; i < l->count; ++i) ItemFree(l, *reinterpret_cast<void**>(SlotAt(l, i)));
  ItemFree(l, l->pendingItem);
  l->pendingItem = nullptr;
}

}  // namespace

ZQAPI HRESULT WINAPI ZqList_CreateExZ(tZQLIST** out, int recordSize, int initialSlots, int growStep, DWORD flags,
                                      LPCWSTR, int, LPCVOID) noexcept {
  if (!out) return E_POINTER;
  const bool inPlace = (flags & ZQLIST_INPLACE) != 0;
  if (inPlace && !*out) return E_FAIL;
  if (!inPlace) *out = nullptr;
  if ((flags & (ZQLIST_HEAP | ZQLIST_ARRAY)) == (ZQLIST_HEAP | ZQLIST_ARRAY)) return E_FAIL;
  if ((flags & ZQLIST_ARRAY) && (recordSize <= 0 || recordSize > 0x10000000)) return E_INVALIDARG;

  tZQLIST* l = inPlace ? *out : AllocateHeader();
  if (!l) return E_OUTOFMEMORY;
  ZeroMemory(l, sizeof(*l));
  l->slotSize = (flags & ZQLIST_ARRAY) ? (recordSize + 3) & ~3 : 4;
  LONG grow = growStep < 1 ? kDefaultSlots : growStep;
  l->growStep = std::clamp<LONG>(grow, kMinGrow, kMaxGrow);
  LONGLONG initial = std::max<LONGLONG>(initialSlots < 1 ? kDefaultSlots : initialSlots, 4);
  LONGLONG capacity = l->growStep * ((initial - 1 + l->growStep) / l->growStep);
  l->signature = ZQLIST_SIGNATURE;
  if (capacity > 0x7FFFFFFF || FAILED(AllocateBlock(l, static_cast<LONG>(capacity)))) {
    l->signature = 0;
    if (!inPlace) FreeHeader(l);
    return E_OUTOFMEMORY;
  }
  if (flags & ZQLIST_LOCKED) InitializeCriticalSection(&l->lock);
  l->ownerThread = GetCurrentThreadId();
  l->options = flags | ZQLIST_ANYTHREAD;
  if (IsHeapList(l) && (flags & ZQLIST_PRIVATEHEAP)) {
    l->privateHeap = HeapCreate(HEAP_NO_SERIALIZE, 4096, 0);
    if (!l->privateHeap) {
      ZqList_Destroy(l);
      if (!inPlace) *out = nullptr;
      return E_OUTOFMEMORY;
    }
    l->heapAllocFlags = HEAP_NO_SERIALIZE | HEAP_ZERO_MEMORY;
    l->heapFreeFlags = HEAP_NO_SERIALIZE;
  }
  *out = l;
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqList_Destroy(tZQLIST* l) noexcept {
  if (!l) return S_OK;
  if (!Alive(l)) return E_INVALIDARG;
  if (Foreign(l)) return E_FAIL;
  if (IsLocked(l)) EnterCriticalSection(&l->lock);
  FreeItems(l);
  FreeBlock(l);
  l->count = 0;
  l->signature = 0;
  if (IsLocked(l)) {
    LeaveCriticalSection(&l->lock);
    DeleteCriticalSection(&l->lock);
  }
  if (!(l->options & ZQLIST_INPLACE)) FreeHeader(l);
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqList_ConvertToInPlace(tZQLIST** list, tZQLIST* storage) noexcept {
  if (!list || !storage || !Alive(*list)) return E_INVALIDARG;
  tZQLIST* old = *list;
  if (old->options & ZQLIST_INPLACE) return E_FAIL;
  // A critical section cannot be copied: the new header gets a fresh one.
  if (IsLocked(old)) DeleteCriticalSection(&old->lock);
  CopyMemory(storage, old, sizeof(*storage));
  if (IsLocked(storage)) InitializeCriticalSection(&storage->lock);
  storage->options |= ZQLIST_INPLACE;
  old->signature = 0;
  FreeHeader(old);
  *list = nullptr;
  return S_OK;
}

ZQAPI BOOL WINAPI ZqList_IsList(const void* p, int headerSize) noexcept {
  if (headerSize != sizeof(tZQLIST) || !p) return FALSE;
  if (IsBadReadPtr(p, sizeof(tZQLIST))) return FALSE;
  return static_cast<const tZQLIST*>(p)->signature == ZQLIST_SIGNATURE;
}

ZQAPI BOOL WINAPI ZqList_IsListFast(const void* p) noexcept { return Alive(static_cast<const tZQLIST*>(p)); }

ZQAPI BOOL WINAPI ZqList_IsValidIndexSlow(tZQLIST* l, int index) noexcept {
  Access access(l);
  return access && index >= 0 && index < l->count;
}

ZQAPI DWORD WINAPI ZqList_GetCreateOptions(tZQLIST* l) noexcept { return Alive(l) ? l->options : 0; }

ZQAPI LONG WINAPI ZqList_GetSortCriteria(tZQLIST* l) noexcept { return Alive(l) ? l->sortCriteria : -1; }

ZQAPI LONG WINAPI ZqList_GetUserData(tZQLIST* l) noexcept {
  if (!Alive(l) || Foreign(l)) return -1;
  return l->userData;
}

ZQAPI LONG WINAPI ZqList_SetUserData(tZQLIST* l, LONG value) noexcept {
  if (!Alive(l) || Foreign(l)) return -1;
  return InterlockedExchange(&l->userData, value);
}

ZQAPI DWORD WINAPI ZqList_GetThreadOwner(tZQLIST* l) noexcept { return Alive(l) ? l->ownerThread : 0; }

ZQAPI DWORD WINAPI ZqList_SetThreadOwner(tZQLIST* l, DWORD threadId) noexcept {
  if (Alive(l)) l->ownerThread = threadId ? threadId : GetCurrentThreadId();
  return 0;
}

// No debugging record is kept.
ZQAPI int WINAPI ZqList_GetFileAndLine(tZQLIST*, LPWSTR file, int* line) noexcept {
  if (file) file[0] = 0;
  if (line) *line = 0;
  return -1;
}

ZQAPI HRESULT WINAPI ZqList_GrowAllocated(tZQLIST* l, int slots) noexcept {
  ZQ_LIST_ACCESS(l);
  return GrowBy(l, slots);
}

ZQAPI HRESULT WINAPI ZqList_ShrinkAllocated(tZQLIST* l, int slots) noexcept {
  ZQ_LIST_ACCESS(l);
  ShrinkBy(l, slots);
  return S_OK;
}
