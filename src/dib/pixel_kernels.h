// Per-type pixel kernels: expansion of every pixel type into the working
// pixel and packing back, the exchange set's readers, writers and blend
// kernels built from them, and row fast paths. Plain integer code over
// plain memory; the scalar forms here define every result.
#pragma once
#include <windows.h>

#include "zq/dib.h"

namespace zq::dib {

// Expansion of one pixel at (byte, bit) with the set's colour table and
// exact selector; packing of one working pixel with the set's quantizer.
ZQWIDEPIXEL ExpandPixel(int type, const BYTE* at, int bit, const ZQXCHGSET& set) noexcept;
void PackPixel(int type, BYTE* at, int bit, const ZQWIDEPIXEL& pixel, const ZQXCHGSET& set) noexcept;

// Whether a type has 8-bit readers and writers (Pal8, Rgb24, Rgb32, Rgba32).
bool HasNarrowKernels(int type) noexcept;

// The flags word the exchange set keeps for a caller's flags.
DWORD EffectiveFlags(DWORD flags) noexcept;

// Fills `set` for a (destination, source) pair; E_INVALIDARG for types
// outside 16..32, E_NOTIMPL for a blend operation without kernels.
HRESULT PrepareExchange(int dstType, int srcType, DWORD flags, ZQXCHGSET* set, const DWORD* blendBlock) noexcept;

// Moves the cursors to pixel x of a row.
inline void SetSource(ZQXCHGSET& set, const BYTE* row, int x, int bpp) noexcept {
  long long bit = static_cast<long long>(x) * bpp;
  set.src = const_cast<BYTE*>(row) + (bit >> 3);
  set.srcBit = static_cast<int>(bit & 7);
}
inline void SetDestination(ZQXCHGSET& set, BYTE* row, int x, int bpp) noexcept {
  long long bit = static_cast<long long>(x) * bpp;
  set.dst = row + (bit >> 3);
  set.dstBit = static_cast<int>(bit & 7);
}

// Whole-row conversions that give the same bytes as the exchange set for
// the pair, used when the rectangles have equal sizes. Each has a scalar
// form, which defines the result, and may have an SSE2 form giving the
// same bytes; FastRowPath picks one by the processor-feature word. Null
// when the pair has none.
using RowConvert = void (*)(BYTE* dst, const BYTE* src, int count) noexcept;
struct RowForms {
  RowConvert scalar;
  RowConvert sse2;
};
RowForms FastRowForms(int dstType, int srcType) noexcept;
RowConvert FastRowPath(int dstType, int srcType, DWORD effectiveFlags) noexcept;

// Fills `count` 4-byte pixels with one packed value, in scalar and SSE2
// forms; FillRow32 picks one as FastRowPath does.
using RowFill = void (*)(BYTE* row, DWORD value, int count) noexcept;
struct FillForms {
  RowFill scalar;
  RowFill sse2;
};
FillForms FillRow32Forms() noexcept;
RowFill FillRow32() noexcept;

}  // namespace zq::dib
