// Linear and binary searches.
#include <cstring>

#include "core/list_internal.h"

namespace zq::core::list {

namespace {

// Bisection over [first, end), probing the lower middle. The candidate
// follows the last probe; an equal probe ends the search at once (the key
// goes before it) and sets `equal`.
LONG Bisect(tZQLIST* l, DWORD_PTR key, LONG first, LONG end, ZQLISTCOMPAREPROC compare, bool* equal) {
  LONG lo = first, hi = end - 1, n = end - first;
  LONG candidate = first;
  const LONG criteria = l->sortCriteria;
  *equal = false;
  while (lo <= hi) {
    LONG half = n / 2;
    if (half == 0) {  // one item left
      int c = compare(criteria, key, ItemAt(l, lo));
      *equal = c == 0;
      return c > 0 ? lo + 1 : lo;
    }
    const bool odd = n & 1;
    LONG probe = odd ? lo + half : lo + half - 1;
    int c = compare(criteria, key, ItemAt(l, probe));
    if (c == 0) {
      *equal = true;
      return probe;
    }
    if (c < 0) {
      candidate = probe;
      hi = probe - 1;
      n = odd ? half : half - 1;
    } else {
      candidate = probe + 1;
      lo = probe + 1;
      n = half;
    }
  }
  return candidate;
}

}  // namespace

int SortedInsertIndex(tZQLIST* l, DWORD_PTR key, LONG first, LONG end, ZQLISTCOMPAREPROC compare) {
  bool equal;
  return Bisect(l, key, first, end, compare, &equal);
}

int SortedFind(tZQLIST* l, DWORD_PTR key, LONG first, LONG end, ZQLISTCOMPAREPROC compare) {
  bool equal;
  LONG at = Bisect(l, key, first, end, compare, &equal);
  return equal ? at : -1;
}

}  // namespace zq::core::list

using namespace zq::core::list;

ZQAPI int WINAPI ZqList_FindSpecificItemRange(tZQLIST* l, int start, int count, DWORD_PTR item) noexcept {
  Access access(l);
  LONG first, end;
  if (!access || !ClipRange(l, start, count, &first, &end)) return -1;
  if (IsArrayList(l)) {
    if (!item) return -1;
    for (LONG i = first; i < end; ++i) {
      if (memcmp(SlotAt(l, i), reinterpret_cast<const void*>(item), l->slotSize) == 0) return i;
    }
    return -1;
  }
  for (LONG i = first; i < end; ++i) {
    if (*reinterpret_cast<DWORD_PTR*>(SlotAt(l, i)) == item) return i;
  }
  return -1;
}

ZQAPI int WINAPI ZqList_FindItemRange(tZQLIST* l, int start, int count, DWORD_PTR key,
                                      ZQLISTMATCHPROC match) noexcept {
  Access access(l);
  LONG first, end;
  if (!access || !match || !ClipRange(l, start, count, &first, &end)) return -1;
  for (LONG i = first; i < end; ++i) {
    if (match(key, ItemAt(l, i)) == 0) return i;
  }
  return -1;
}

ZQAPI int WINAPI ZqList_FindSortedItemRange(tZQLIST* l, DWORD_PTR key, int start, int count,
                                            ZQLISTCOMPAREPROC compare) noexcept {
  Access access(l);
  LONG first, end;
  if (!access || !compare || !ClipRange(l, start, count, &first, &end)) return -1;
  return SortedFind(l, key, first, end, compare);
}

// An empty range yields its start (0 for an empty list), so that inserting
// there keeps the range in place.
ZQAPI int WINAPI ZqList_FindSortedInsertIndexRange(tZQLIST* l, DWORD_PTR key, int start, int count,
                                                   ZQLISTCOMPAREPROC compare) noexcept {
  Access access(l);
  LONG first, end;
  if (!access || !compare || !ClipRange(l, start, count, &first, &end)) return -1;
  return SortedInsertIndex(l, key, first, end, compare);
}
