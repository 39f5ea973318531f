// Bit helpers.
#include "zq/kernel.h"

ZQAPI int WINAPI ZqCountBits(DWORD value) noexcept { return __builtin_popcount(value); }

// Bits first..first+count-1; bits outside 0..31 do not exist and are left out.
ZQAPI DWORD WINAPI ZqCreateBitMask(int first, int count) noexcept {
  if (count <= 0) return 0;
  long long lo = first, hi = static_cast<long long>(first) + count;  // [lo, hi)
  if (lo < 0) lo = 0;
  if (hi > 32) hi = 32;
  if (lo >= hi) return 0;
  unsigned long long mask = ((1ull << (hi - lo)) - 1) << lo;
  return static_cast<DWORD>(mask);
}
