/// @file
/// Lists: the library's one container (tZQLIST).
#pragma once
#include "zq/base.h"

/// The signature a live list carries.
#define ZQLIST_SIGNATURE 0x54525543u /**< "CURT" */

///@{
/// Create flags (the options word).
#define ZQLIST_LOCKED       0x80000000u /**< every operation holds the list's lock */
#define ZQLIST_ANYTHREAD    0x40000000u /**< no owner-thread check; always set at creation */
#define ZQLIST_PRIVATEHEAP  0x10000000u /**< heap list items live on a heap of their own */
#define ZQLIST_INPLACE      0x00000008u /**< the caller owns the header's storage */
#define ZQLIST_ARRAY        0x00000004u /**< slots hold the records themselves */
#define ZQLIST_HEAP         0x00000002u /**< slots hold items the list allocates and frees */
///@}

/// A list header: a growable block of slots holding 32-bit values, records
/// (array lists) or items the list owns (heap lists). Operations that can fail
/// return S_OK, E_FAIL, E_OUTOFMEMORY or E_INVALIDARG; a negative count means
/// the rest of the list.
typedef struct tZQLIST {
  LONG count;               ///< items in use
  LONG slotSize;            ///< bytes per slot
  BYTE* slots;              ///< the slot block (movable global memory, kept locked)
  CRITICAL_SECTION lock;    ///< initialised for locked lists only
  DWORD signature;          ///< ZQLIST_SIGNATURE while alive
  DWORD options;            ///< create flags
  LONG userData;  ///< the caller's value (ZqList_GetUserData)
  LONG sortCriteria;  ///< criteria of the last sort
  DWORD ownerThread;  ///< the thread a checked list belongs to
  LONG capacity;            ///< slots allocated
  LONG growStep;            ///< slots added or removed per step
  HANDLE privateHeap;  ///< ZQLIST_PRIVATEHEAP: the items' heap
  DWORD heapAllocFlags;  ///< flags of item allocations
  DWORD heapFreeFlags;  ///< flags of item releases
  void* pendingItem;        ///< allocated by ZqList_AllocItem, not yet inserted
  DWORD reserved;  ///< reserved
} tZQLIST;

#ifdef __cplusplus
static_assert(sizeof(void*) != 4 || sizeof(tZQLIST) == 84, "tZQLIST layout");
#endif

/// Comparison: negative when key sorts before item, 0 when equal, positive after.
typedef int(CALLBACK* ZQLISTCOMPAREPROC)(LONG criteria, DWORD_PTR key, DWORD_PTR item);
/// Match: 0 when the item matches the key.
typedef int(CALLBACK* ZQLISTMATCHPROC)(DWORD_PTR key, DWORD_PTR item);

/// Creates a list of `recordSize`-byte slots (4 unless ZQLIST_ARRAY) with
/// `initialSlots` allocated, growing by `growStep`. The debugging arguments
/// are ignored (pass null, 0, null). With ZQLIST_INPLACE `*list` must point to
/// the caller's header. S_OK; E_POINTER for a null `list`; E_FAIL without
/// that header or with both ZQLIST_HEAP and ZQLIST_ARRAY; E_INVALIDARG for a
/// bad record size; E_OUTOFMEMORY.
ZQAPI HRESULT WINAPI ZqList_CreateExZ(tZQLIST** list, int recordSize, int initialSlots, int growStep,
                                      DWORD flags, LPCWSTR debugFile, int debugLine,
                                      LPCVOID debugReserved) ZQ_NOTHROW;
/// Frees a list: its items (heap lists), slots, lock and, unless in place, its
/// header. A null list is accepted. S_OK.
ZQAPI HRESULT WINAPI ZqList_Destroy(tZQLIST* list) ZQ_NOTHROW;
/// Moves the header into the caller's `storage` and nulls `*list`. S_OK;
/// E_INVALIDARG for null arguments or a bad signature; E_FAIL when already in
/// place.
ZQAPI HRESULT WINAPI ZqList_ConvertToInPlace(tZQLIST** list, tZQLIST* storage) ZQ_NOTHROW;
/// 1 when `list` is readable, `headerSize` is the header's size and the
/// signature matches, else 0.
ZQAPI BOOL WINAPI ZqList_IsList(const void* list, int headerSize) ZQ_NOTHROW;
/// 1 when the signature matches (the memory is not probed).
ZQAPI BOOL WINAPI ZqList_IsListFast(const void* list) ZQ_NOTHROW;
/// 1 when 0 <= index < count (read under the lock).
ZQAPI BOOL WINAPI ZqList_IsValidIndexSlow(tZQLIST* list, int index) ZQ_NOTHROW;
/// The create flags.
ZQAPI DWORD WINAPI ZqList_GetCreateOptions(tZQLIST* list) ZQ_NOTHROW;
/// The criteria of the last sort.
ZQAPI LONG WINAPI ZqList_GetSortCriteria(tZQLIST* list) ZQ_NOTHROW;
/// The caller's value; -1 from a foreign thread on a checked list.
ZQAPI LONG WINAPI ZqList_GetUserData(tZQLIST* list) ZQ_NOTHROW;
/// Exchanges the caller's value atomically; the previous one, or -1 from a
/// foreign thread on a checked list.
ZQAPI LONG WINAPI ZqList_SetUserData(tZQLIST* list, LONG value) ZQ_NOTHROW;
/// The id of the thread the list belongs to.
ZQAPI DWORD WINAPI ZqList_GetThreadOwner(tZQLIST* list) ZQ_NOTHROW;
/// Gives the list to `threadId` (0: the calling thread). 0.
ZQAPI DWORD WINAPI ZqList_SetThreadOwner(tZQLIST* list, DWORD threadId) ZQ_NOTHROW;
/// No debugging record is kept: writes an empty `file` and returns -1.
ZQAPI int WINAPI ZqList_GetFileAndLine(tZQLIST* list, LPWSTR file, int* line) ZQ_NOTHROW;
/// Allocates `slots` more slots, rounded up to whole grow steps (0 or less: one
/// step). S_OK; E_OUTOFMEMORY.
ZQAPI HRESULT WINAPI ZqList_GrowAllocated(tZQLIST* list, int slots) ZQ_NOTHROW;
/// Frees whole grow steps of spare slots, at most `slots` (negative: all spare).
/// S_OK.
ZQAPI HRESULT WINAPI ZqList_ShrinkAllocated(tZQLIST* list, int slots) ZQ_NOTHROW;
/// Inserts `count` slots copied from `source` at `index` (negative or past the
/// end: appends). S_OK; E_OUTOFMEMORY (nothing inserted); E_INVALIDARG.
ZQAPI HRESULT WINAPI ZqList_InsertList(tZQLIST* list, int index, const void* source, int count) ZQ_NOTHROW;
/// Removes `count` slots from `index` (freeing heap items), and spare capacity
/// too with `shrink`; (-1, -1) frees the pending item. S_OK; E_FAIL for a range
/// outside the list or no pending item.
ZQAPI HRESULT WINAPI ZqList_DeleteList(tZQLIST* list, int index, int count, BOOL shrink) ZQ_NOTHROW;
/// Moves `count` slots from `from` to `to` inside the list. S_OK; E_INVALIDARG
/// for a negative `from`; E_FAIL when a block reaches past the end;
/// E_OUTOFMEMORY.
ZQAPI HRESULT WINAPI ZqList_MoveRange(tZQLIST* list, int from, int to, int count) ZQ_NOTHROW;
/// Heap lists: allocates a zeroed item of `size` bytes as the pending item (to
/// be inserted). S_OK; E_OUTOFMEMORY; E_FAIL for other lists.
ZQAPI HRESULT WINAPI ZqList_AllocItem(tZQLIST* list, int size, void** item) ZQ_NOTHROW;
/// Heap lists: allocates an item, copies `size` bytes from `source` (if given)
/// and inserts it at `index` (negative or past the end: appends); `*indexOut`
/// (if given) receives its position or -1. S_OK; E_OUTOFMEMORY; E_FAIL.
ZQAPI HRESULT WINAPI ZqList_AllocAndInsertItem(tZQLIST* list, int size, const void* source, int index,
                                               int* indexOut) ZQ_NOTHROW;
/// Heap lists: resizes the item at `index`. S_OK; E_OUTOFMEMORY (the item is
/// unchanged); E_FAIL for a bad index or another kind of list.
ZQAPI HRESULT WINAPI ZqList_ReAllocItem(tZQLIST* list, int index, int newSize) ZQ_NOTHROW;
/// Index >= 0: the slot size (array list) or the item's size (heap list).
/// Negative: the bytes the whole list holds (items, slots and header).
ZQAPI int WINAPI ZqList_AllocSize(tZQLIST* list, int index) ZQ_NOTHROW;
/// Array lists: sets the count directly (new slots zeroed), freeing spare
/// capacity with `shrink`. S_OK; E_OUTOFMEMORY; E_FAIL for other lists.
ZQAPI HRESULT WINAPI ZqList_ArrayForceItemCount(tZQLIST* list, int count, BOOL shrink) ZQ_NOTHROW;
/// Moves `count` items (and their ownership) from one heap list to another.
/// S_OK; E_OUTOFMEMORY; E_FAIL for a bad range or other lists.
ZQAPI HRESULT WINAPI ZqList_MoveItemsBetweenHeapLists(tZQLIST* dest, int destIndex, tZQLIST* source,
                                                      int sourceIndex, int count) ZQ_NOTHROW;
/// item: the 32-bit slot value, or for array lists a pointer to the record bytes.
ZQAPI int WINAPI ZqList_FindSpecificItemRange(tZQLIST* list, int start, int count, DWORD_PTR item) ZQ_NOTHROW;
/// Calls a match callback with (key, item) (two arguments, callee pops) and treats a result of 0 as
/// a match.
ZQAPI int WINAPI ZqList_FindItemRange(tZQLIST* list, int start, int count, DWORD_PTR key,
                                      ZQLISTMATCHPROC match) ZQ_NOTHROW;
/// Binary search of a sorted range: the index of an item equal to `key`, or -1.
ZQAPI int WINAPI ZqList_FindSortedItemRange(tZQLIST* list, DWORD_PTR key, int start, int count,
                                            ZQLISTCOMPAREPROC compare) ZQ_NOTHROW;
/// Binary search of a sorted range: the index where `key` would be inserted.
ZQAPI int WINAPI ZqList_FindSortedInsertIndexRange(tZQLIST* list, DWORD_PTR key, int start, int count,
                                                   ZQLISTCOMPAREPROC compare) ZQ_NOTHROW;
/// Sorts the list in place (selection sort) by `compare` and `criteria`. S_OK; E_FAIL from a
/// foreign thread.
ZQAPI HRESULT WINAPI ZqList_Sort(tZQLIST* list, LONG criteria, ZQLISTCOMPAREPROC compare) ZQ_NOTHROW;
/// As ZqList_Sort, with a heap sort.
ZQAPI HRESULT WINAPI ZqList_HeapSort(tZQLIST* list, LONG criteria, ZQLISTCOMPAREPROC compare) ZQ_NOTHROW;
/// Inserts every slot of the source list into the destination at its sorted position.
ZQAPI HRESULT WINAPI ZqList_SortTo(tZQLIST* dest, tZQLIST* source, LONG criteria,
                                   ZQLISTCOMPAREPROC compare) ZQ_NOTHROW;

///@{
/// Slot access for callers that read lists directly (no lock, no checks).
#define ZQLIST_SLOT(list, i) ((void*)((list)->slots + (SIZE_T)(i) * (list)->slotSize))
#define ZQLIST_PTR(list, i) (*(void**)ZQLIST_SLOT(list, i))
///@}
