// Row kernels of the two-image blends on 4-byte pixels (blue, green, red,
// alpha) and of the ten overlay compositors. Each has a scalar form, which
// defines the result, and an SSE2 form that gives the same
// bytes; the export picks one by the processor-feature word.
#pragma once
#include <windows.h>

namespace zq::dib {

// dst[i] combined with src[i] for `count` pixels.
using PairRow = void (*)(BYTE* dst, const BYTE* src, int count) noexcept;
// Cross-fade with weights x 16384 (0..16384 each).
using FadeRow = void (*)(BYTE* dst, const BYTE* src, int count, int dstWeight, int srcWeight) noexcept;
// Compositor pixel and row (opacity 0..255).
using CompositePixel = void (*)(BYTE* dst, const BYTE* src, int opacity) noexcept;
using CompositeRow = void (*)(BYTE* dst, const BYTE* src, int opacity, int count) noexcept;

template <typename F>
struct KernelForms {
  F scalar;
  F sse2;  // null where the scalar form is the only one
};

// over: every channel d + ((s - d) x sA) / 256, the division signed and
// truncating toward zero (alpha included: dA + (sA x (sA - dA)) / 256).
KernelForms<PairRow> OverForms() noexcept;
// under: every channel s + ((d - s) x dA) / 256, likewise.
KernelForms<PairRow> UnderForms() noexcept;
// cross-fade: min(255, (b x s + a x d) / 16384), all four channels.
KernelForms<FadeRow> CrossFadeForms() noexcept;

constexpr int kCompositorCount = 10;
CompositePixel CompositorPixel(int index) noexcept;
KernelForms<CompositeRow> CompositorRows(int index) noexcept;

// The form a call uses: SSE2 when the processor has it and the vector
// forms are on. A test may switch them off to reach the scalar forms
// through the exports.
void SetBlendVectorForms(bool enabled) noexcept;
bool BlendVectorFormsOn() noexcept;
template <typename F>
inline F Pick(const KernelForms<F>& forms) noexcept {
  return forms.sse2 && BlendVectorFormsOn() ? forms.sse2 : forms.scalar;
}

}  // namespace zq::dib
