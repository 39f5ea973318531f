// Internals shared by the list operations: validation, locking, slot
// access, the slot block and item allocation.
#pragma once
#include "zq/list.h"

namespace zq::core::list {

constexpr LONG kMinGrow = 4;
constexpr LONG kMaxGrow = 66560;
constexpr LONG kDefaultSlots = 16;

inline bool Alive(const tZQLIST* l) { return l && l->signature == ZQLIST_SIGNATURE; }
inline bool IsHeapList(const tZQLIST* l) { return (l->options & ZQLIST_HEAP) != 0; }
inline bool IsArrayList(const tZQLIST* l) { return (l->options & ZQLIST_ARRAY) != 0; }
inline bool IsLocked(const tZQLIST* l) { return (l->options & ZQLIST_LOCKED) != 0; }
// A list for one thread, called from another.
inline bool Foreign(const tZQLIST* l) {
  return !(l->options & (ZQLIST_LOCKED | ZQLIST_ANYTHREAD)) && GetCurrentThreadId() != l->ownerThread;
}

// Validates the list, checks the owner thread and holds the lock of a
// locked list for the life of the guard.
class Access {
 public:
  explicit Access(tZQLIST* l) noexcept {
    if (!Alive(l) || Foreign(l)) return;
    list_ = l;
    if (IsLocked(l)) EnterCriticalSection(&l->lock);
  }
  ~Access() {
    if (list_ && IsLocked(list_)) LeaveCriticalSection(&list_->lock);
  }
  Access(const Access&) = delete;
  Access& operator=(const Access&) = delete;
  explicit operator bool() const { return list_ != nullptr; }

 private:
  tZQLIST* list_ = nullptr;
};

// Opens an Access named `access` or returns from the calling operation:
// E_INVALIDARG for something that is not a list, E_FAIL for a foreign thread.
#define ZQ_LIST_ACCESS(l)   \
  Access access(l);         \
  if (!access) return Alive(l) ? E_FAIL : E_INVALIDARG

inline BYTE* SlotAt(const tZQLIST* l, LONG i) { return l->slots + static_cast<SIZE_T>(i) * l->slotSize; }
// What callbacks see: the slot value, or the record's address in array lists.
inline DWORD_PTR ItemAt(const tZQLIST* l, LONG i) {
  return IsArrayList(l) ? reinterpret_cast<DWORD_PTR>(SlotAt(l, i))
                        : *reinterpret_cast<DWORD_PTR*>(SlotAt(l, i));
}

// Clips [start, start+count) (count < 0: to the end) to the list.
// Returns false when the start lies beyond the count.
bool ClipRange(const tZQLIST* l, int start, int count, LONG* first, LONG* end);

// Slot block.
HRESULT AllocateBlock(tZQLIST* l, LONG capacity);
HRESULT ResizeBlock(tZQLIST* l, LONG capacity);
void FreeBlock(tZQLIST* l);
// Grows by `extra` slots rounded up to whole grow steps.
HRESULT GrowBy(tZQLIST* l, LONG extra);
// Releases up to `slots` of spare capacity (negative: all) in whole steps.
void ShrinkBy(tZQLIST* l, LONG slots);

// Items of heap lists (private heap or the C run-time heap).
void* ItemAlloc(const tZQLIST* l, SIZE_T size);
void* ItemRealloc(const tZQLIST* l, void* item, SIZE_T size);
void ItemFree(const tZQLIST* l, void* item);
SIZE_T ItemSize(const tZQLIST* l, const void* item);

// Operations on a list whose Access the caller holds.
HRESULT InsertSlots(tZQLIST* l, LONG index, const void* source, LONG n);
HRESULT DeleteSlots(tZQLIST* l, LONG index, LONG n, BOOL shrink);
int SortedInsertIndex(tZQLIST* l, DWORD_PTR key, LONG first, LONG end, ZQLISTCOMPAREPROC compare);
// Index of an equal item (the first one the bisection probes), or -1.
int SortedFind(tZQLIST* l, DWORD_PTR key, LONG first, LONG end, ZQLISTCOMPAREPROC compare);

}  // namespace zq::core::list
