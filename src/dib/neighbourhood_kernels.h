// Row kernels of the 3 x 3 filters on 4-byte pixels: one output row from
// the rows above, at and below it, the edge column standing in for the
// missing neighbour at either end. Each has a scalar form, which defines
// the result, and an SSE2 form that gives the same bytes; the filters pick
// one as the blends do.
#pragma once
#include <windows.h>

#include "dib/blend_kernels.h"

namespace zq::dib {

// The binomial blur: per channel (1 2 1, 2 4 2, 1 2 1) / 16, truncated.
using BlurRow = void (*)(BYTE* out, const BYTE* above, const BYTE* row, const BYTE* below, int count) noexcept;
KernelForms<BlurRow> BlurRowForms() noexcept;

// The general convolution with sums in 32 bits: per channel the weighted
// sum of the nine neighbours (weights in row order), divided by `divisor`
// truncating toward zero (not at all when it is 1), held to 0..255. The
// caller makes sure that no sum can leave 32 bits.
using ConvolveRow = void (*)(BYTE* out, const BYTE* above, const BYTE* row, const BYTE* below, int count,
                             const int* weights, int divisor) noexcept;
// The SSE2 form keeps sums in 16 bits: it is null unless every sum the
// weights can make lies within -32768..32767.
KernelForms<ConvolveRow> ConvolveRowForms(const int* weights) noexcept;

// The form a filter uses: SSE2 when the processor has it and the vector
// forms are on. A test may switch them off to reach the scalar forms
// through the exports.
void SetFilterVectorForms(bool enabled) noexcept;
bool FilterVectorFormsOn() noexcept;
template <typename F>
inline F PickFilterForm(const KernelForms<F>& forms) noexcept {
  return forms.sse2 && FilterVectorFormsOn() ? forms.sse2 : forms.scalar;
}

}  // namespace zq::dib
