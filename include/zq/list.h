/// @file
/// Lists: the library's one container (tZQLIST).
#pragma once
#include "zq/base.h"

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

typedef struct tZQLIST {
  LONG count;               ///< items in use
  LONG slotSize;            ///< bytes per slot
  BYTE* slots;              ///< the slot block (movable global memory, kept locked)
  CRITICAL_SECTION lock;    ///< initialised for locked lists only
  DWORD signature;          ///< ZQLIST_SIGNATURE while alive
  DWORD options;            ///< create flags
  LONG userData;
  LONG sortCriteria;
  DWORD ownerThread;
  LONG capacity;            ///< slots allocated
  LONG growStep;            ///< slots added or removed per step
  HANDLE privateHeap;
  DWORD heapAllocFlags;
  DWORD heapFreeFlags;
  void* pendingItem;        ///< allocated by ZqList_AllocItem, not yet inserted
  DWORD reserved;
} tZQLIST;

#ifdef __cplusplus
static_assert(sizeof(void*) != 4 || sizeof(tZQLIST) == 84, "tZQLIST layout");
#endif

/// Comparison: negative when key sorts before item, 0 when equal, positive after.
typedef int(CALLBACK* ZQLISTCOMPAREPROC)(LONG criteria, DWORD_PTR key, DWORD_PTR item);
/// Match: 0 when the item matches the key.
typedef int(CALLBACK* ZQLISTMATCHPROC)(DWORD_PTR key, DWORD_PTR item);

ZQAPI HRESULT WINAPI ZqList_CreateExZ(tZQLIST** list, int recordSize, int initialSlots, int growStep,
                                      DWORD flags, LPCWSTR debugFile, int debugLine,
                                      LPCVOID debugReserved) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_Destroy(tZQLIST* list) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_ConvertToInPlace(tZQLIST** list, tZQLIST* storage) ZQ_NOTHROW;
ZQAPI BOOL WINAPI ZqList_IsList(const void* list, int headerSize) ZQ_NOTHROW;
ZQAPI BOOL WINAPI ZqList_IsListFast(const void* list) ZQ_NOTHROW;
ZQAPI BOOL WINAPI ZqList_IsValidIndexSlow(tZQLIST* list, int index) ZQ_NOTHROW;
ZQAPI DWORD WINAPI ZqList_GetCreateOptions(tZQLIST* list) ZQ_NOTHROW;
ZQAPI LONG WINAPI ZqList_GetSortCriteria(tZQLIST* list) ZQ_NOTHROW;
ZQAPI LONG WINAPI ZqList_GetUserData(tZQLIST* list) ZQ_NOTHROW;
ZQAPI LONG WINAPI ZqList_SetUserData(tZQLIST* list, LONG value) ZQ_NOTHROW;
ZQAPI DWORD WINAPI ZqList_GetThreadOwner(tZQLIST* list) ZQ_NOTHROW;
ZQAPI DWORD WINAPI ZqList_SetThreadOwner(tZQLIST* list, DWORD threadId) ZQ_NOTHROW;
ZQAPI int WINAPI ZqList_GetFileAndLine(tZQLIST* list, LPWSTR file, int* line) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_GrowAllocated(tZQLIST* list, int slots) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_ShrinkAllocated(tZQLIST* list, int slots) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_InsertList(tZQLIST* list, int index, const void* source, int count) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_DeleteList(tZQLIST* list, int index, int count, BOOL shrink) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_MoveRange(tZQLIST* list, int from, int to, int count) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_AllocItem(tZQLIST* list, int size, void** item) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_AllocAndInsertItem(tZQLIST* list, int size, const void* source, int index,
                                               int* indexOut) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_ReAllocItem(tZQLIST* list, int index, int newSize) ZQ_NOTHROW;
ZQAPI int WINAPI ZqList_AllocSize(tZQLIST* list, int index) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_ArrayForceItemCount(tZQLIST* list, int count, BOOL shrink) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_MoveItemsBetweenHeapLists(tZQLIST* dest, int destIndex, tZQLIST* source,
                                                      int sourceIndex, int count) ZQ_NOTHROW;
///@{
/// item: the 32-bit slot value, or for array lists a pointer to the record bytes.
ZQAPI int WINAPI ZqList_FindSpecificItemRange(tZQLIST* list, int start, int count, DWORD_PTR item) ZQ_NOTHROW;
ZQAPI int WINAPI ZqList_FindItemRange(tZQLIST* list, int start, int count, DWORD_PTR key,
                                      ZQLISTMATCHPROC match) ZQ_NOTHROW;
ZQAPI int WINAPI ZqList_FindSortedItemRange(tZQLIST* list, DWORD_PTR key, int start, int count,
                                            ZQLISTCOMPAREPROC compare) ZQ_NOTHROW;
ZQAPI int WINAPI ZqList_FindSortedInsertIndexRange(tZQLIST* list, DWORD_PTR key, int start, int count,
                                                   ZQLISTCOMPAREPROC compare) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_Sort(tZQLIST* list, LONG criteria, ZQLISTCOMPAREPROC compare) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_HeapSort(tZQLIST* list, LONG criteria, ZQLISTCOMPAREPROC compare) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqList_SortTo(tZQLIST* dest, tZQLIST* source, LONG criteria,
                                   ZQLISTCOMPAREPROC compare) ZQ_NOTHROW;
///@}

///@{
/// Slot access for callers that read lists directly (no lock, no checks).
#define ZQLIST_SLOT(list, i) ((void*)((list)->slots + (SIZE_T)(i) * (list)->slotSize))
#define ZQLIST_PTR(list, i) (*(void**)ZQLIST_SLOT(list, i))
///@}
