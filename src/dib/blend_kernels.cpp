// Scalar and SSE2 row kernels of over, under, cross-fade and the overlay
// compositors. The SSE2 forms hold channels in 16-bit lanes and keep
// every result inside 16 bits, so they reproduce the scalar integers
// exactly: x / 255 on 0..65535 is (x x 0x8081) >> 23, and a signed
// quotient by 256 is the unsigned quotient of the magnitude with the sign
// put back.
#include "dib/blend_kernels.h"

#include <emmintrin.h>

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "zq/kernel.h"

namespace zq::dib {
namespace {

std::atomic<bool> g_vectorForms{true};

// Signed division by 256 truncating toward zero.
inline int Div256(int x) noexcept { return x < 0 ? -((-x) >> 8) : x >> 8; }

// ---- over, under, cross-fade: scalar ------------------------------------------
inline BYTE Toward(int base, int other, int weight) noexcept {
  return static_cast<BYTE>(base + Div256((other - base) * weight));
}
void OverRow(BYTE* d, const BYTE* s, int count) noexcept {
  for (int i = 0; i < count; ++i, d += 4, s += 4) {
    int a = s[3];
    for (int c = 0; c < 4; ++c) d[c] = Toward(d[c], s[c], a);
  }
}
void UnderRow(BYTE* d, const BYTE* s, int count) noexcept {
  for (int i = 0; i < count; ++i, d += 4, s += 4) {
    int a = d[3];
    for (int c = 0; c < 4; ++c) d[c] = Toward(s[c], d[c], a);
  }
}
void CrossFadeRow(BYTE* d, const BYTE* s, int count, int a, int b) noexcept {
  for (int i = 0; i < count * 4; ++i) d[i] = static_cast<BYTE>(std::min(255, (b * s[i] + a * d[i]) / 16384));
}

// ---- SSE2 helpers ---------------------------------------------------------------------
inline __m128i Load(const BYTE* p) noexcept { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(BYTE* p, __m128i v) noexcept { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
// Each pixel's alpha word in all four of its lanes.
inline __m128i AlphaLanes(__m128i v) noexcept {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xFF), 0xFF);
}
// x / 255 for unsigned 16-bit x.
inline __m128i Div255(__m128i x) noexcept { return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(-32639)), 7); }

// base + ((other - base) x weight) / 256 toward zero moves base toward
// other by floor(|other - base| x weight / 256), which never passes other:
// the distance and the step stay bytes, and the step is added where other
// is above and taken where it is below. Even bytes (blue, red) and odd
// bytes (green, alpha) multiply in separate 16-bit lanes.
inline __m128i TowardBytes(__m128i base, __m128i other, __m128i weight) noexcept {
  const __m128i low = _mm_set1_epi16(0x00FF);
  __m128i up = _mm_subs_epu8(other, base), down = _mm_subs_epu8(base, other);
  __m128i distance = _mm_or_si128(up, down);
  __m128i even = _mm_srli_epi16(_mm_mullo_epi16(_mm_and_si128(distance, low), weight), 8);
  __m128i odd = _mm_andnot_si128(low, _mm_mullo_epi16(_mm_srli_epi16(distance, 8), weight));
  __m128i step = _mm_or_si128(even, odd);
  return _mm_sub_epi8(_mm_add_epi8(base, _mm_min_epu8(step, up)), _mm_min_epu8(step, down));
}
// Each pixel's alpha (its top byte) in both of its 16-bit lanes.
inline __m128i AlphaWords(__m128i v) noexcept {
  __m128i high = _mm_srli_epi16(v, 8);
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(high, 0xF5), 0xF5);
}

// Pixels before the destination's first 16-byte boundary (none when the
// row is not 4-byte aligned): the vector steps then store whole lines.
inline int HeadPixels(const BYTE* d, int count) noexcept {
  uintptr_t at = reinterpret_cast<uintptr_t>(d);
  return at & 3 ? 0 : std::min(count, static_cast<int>(((16 - (at & 15)) & 15) / 4));
}

template <bool under>
void OverUnderRowSse2(BYTE* d, const BYTE* s, int count) noexcept {
  int i = HeadPixels(d, count);
  if (under)
    UnderRow(d, s, i);
  else
    OverRow(d, s, i);
  d += 4 * i;
  s += 4 * i;
  for (; i + 4 <= count; i += 4, d += 16, s += 16) {
    __m128i dv = Load(d), sv = Load(s);
    Store(d, under ? TowardBytes(sv, dv, AlphaWords(dv)) : TowardBytes(dv, sv, AlphaWords(sv)));
  }
  if (under)
    UnderRow(d, s, count - i);
  else
    OverRow(d, s, count - i);
}

void CrossFadeRowSse2(BYTE* d, const BYTE* s, int count, int a, int b) noexcept {
  const __m128i zero = _mm_setzero_si128();
  const __m128i weights = _mm_set1_epi32(static_cast<int>((static_cast<unsigned>(a) << 16) | static_cast<unsigned>(b)));
  auto half = [&](__m128i s16, __m128i d16) {
    __m128i lo = _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(s16, d16), weights), 14);
    __m128i hi = _mm_srli_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(s16, d16), weights), 14);
    return _mm_packs_epi32(lo, hi);
  };
  int i = 0;
  for (; i + 4 <= count; i += 4, d += 16, s += 16) {
    __m128i dv = Load(d), sv = Load(s);
    __m128i lo = half(_mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(dv, zero));
    __m128i hi = half(_mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(dv, zero));
    Store(d, _mm_packus_epi16(lo, hi));  // the pack holds the sums to 255
  }
  CrossFadeRow(d, s, count - i, a, b);
}

// ---- compositors: scalar ---------------------------------------------------------------
inline int Mix(int v, int d, int o) noexcept { return (v * o + d * (255 - o)) / 255; }
inline int SumAlpha(int d, int s) noexcept { return std::min(255, d + s); }
// Both branches of Overlay and Hard Light: the upper one is 255 plus a
// non-positive quotient truncated toward zero.
inline int Contrast(int s, int d, bool lower) noexcept {
  return lower ? 2 * s * d / 255 : 255 + 2 * (255 - s) * (d - 255) / 255;
}

struct Cut {
  static void Pixel(BYTE* d, const BYTE* s, int o) noexcept {
    int a = std::max(d[3] - s[3], 0);
    for (int c = 0; c < 3; ++c) d[c] = static_cast<BYTE>(std::min(Mix(std::max(d[c] - s[c], 0), d[c], o), a));
    d[3] = static_cast<BYTE>(a);
  }
};
// Compositors whose colour is mixed with the opacity: Colour gives v.
template <typename C>
struct Mixed {
  static void Pixel(BYTE* d, const BYTE* s, int o) noexcept {
    for (int c = 0; c < 3; ++c) d[c] = static_cast<BYTE>(Mix(C::Colour(d[c], s[c]), d[c], o));
    d[3] = static_cast<BYTE>(C::Alpha(d[3], s[3]));
  }
};
struct Screen {
  static int Colour(int d, int s) noexcept { return s + (255 - s) * d / 255; }
  static int Alpha(int d, int s) noexcept { return SumAlpha(d, s); }
};
struct Overlay {
  static int Colour(int d, int s) noexcept { return Contrast(s, d, d < 128); }
  static int Alpha(int d, int s) noexcept { return SumAlpha(d, s); }
};
struct HardLight {
  static int Colour(int d, int s) noexcept { return Contrast(s, d, s < 128); }
  static int Alpha(int d, int s) noexcept { return SumAlpha(d, s); }
};
struct Darken {
  static int Colour(int d, int s) noexcept { return std::min(d, s); }
  static int Alpha(int d, int s) noexcept { return std::min(d, s); }
};
struct Lighten {
  static int Colour(int d, int s) noexcept { return std::max(d, s); }
  static int Alpha(int d, int s) noexcept { return std::max(d, s); }
};
struct Difference {
  static int Colour(int d, int s) noexcept { return d > s ? d - s : s - d; }
  static int Alpha(int d, int s) noexcept { return SumAlpha(d, s); }
};
struct DifferenceSquared {
  static int Colour(int d, int s) noexcept { return (d - s) * (d - s) / 255; }
  static int Alpha(int d, int s) noexcept { return SumAlpha(d, s); }
};
struct Dodge {
  static void Pixel(BYTE* d, const BYTE* s, int o) noexcept {
    for (int c = 0; c < 3; ++c)
      d[c] = static_cast<BYTE>(std::min(255, d[c] + (s[c] * d[c] * o) / (511 - o - s[c]) / 256));
    d[3] = static_cast<BYTE>(SumAlpha(d[3], s[3]));
  }
};
struct Burn {
  static void Pixel(BYTE* d, const BYTE* s, int o) noexcept {
    for (int c = 0; c < 3; ++c)
      d[c] = static_cast<BYTE>(std::max(0, d[c] - (255 - s[c]) * (255 - d[c]) * o / (s[c] + 256 - o) / 256));
  }
};

template <typename P>
void PixelOf(BYTE* d, const BYTE* s, int opacity) noexcept {
  P::Pixel(d, s, opacity & 255);
}
// Groups of four pixels, then the rest.
template <typename P>
void RowOf(BYTE* d, const BYTE* s, int opacity, int count) noexcept {
  int o = opacity & 255, i = 0;
  for (; i + 4 <= count; i += 4, d += 16, s += 16) {
    P::Pixel(d, s, o);
    P::Pixel(d + 4, s + 4, o);
    P::Pixel(d + 8, s + 8, o);
    P::Pixel(d + 12, s + 12, o);
  }
  for (; i < count; ++i, d += 4, s += 4) P::Pixel(d, s, o);
}

// ---- compositors: SSE2 ------------------------------------------------------------------
// v per 16-bit lane (all four lanes; the alpha lane is replaced later).
struct ScreenV {
  static __m128i Colour(__m128i d, __m128i s) noexcept {
    return _mm_add_epi16(s, Div255(_mm_mullo_epi16(_mm_sub_epi16(_mm_set1_epi16(255), s), d)));
  }
  static __m128i Alpha(__m128i d, __m128i s) noexcept { return _mm_min_epi16(_mm_add_epi16(d, s), _mm_set1_epi16(255)); }
};
// Both products stay below 65536 on the lanes where they are kept.
inline __m128i Contrast16(__m128i s, __m128i d, __m128i lowerMask) noexcept {
  const __m128i full = _mm_set1_epi16(255);
  __m128i lower = Div255(_mm_mullo_epi16(_mm_add_epi16(s, s), d));
  __m128i inverse = _mm_sub_epi16(full, s);
  __m128i upper = _mm_sub_epi16(full, Div255(_mm_mullo_epi16(_mm_add_epi16(inverse, inverse), _mm_sub_epi16(full, d))));
  return _mm_or_si128(_mm_and_si128(lowerMask, lower), _mm_andnot_si128(lowerMask, upper));
}
struct OverlayV {
  static __m128i Colour(__m128i d, __m128i s) noexcept {
    return Contrast16(s, d, _mm_cmplt_epi16(d, _mm_set1_epi16(128)));
  }
  static __m128i Alpha(__m128i d, __m128i s) noexcept { return ScreenV::Alpha(d, s); }
};
struct HardLightV {
  static __m128i Colour(__m128i d, __m128i s) noexcept {
    return Contrast16(s, d, _mm_cmplt_epi16(s, _mm_set1_epi16(128)));
  }
  static __m128i Alpha(__m128i d, __m128i s) noexcept { return ScreenV::Alpha(d, s); }
};
struct DarkenV {
  static __m128i Colour(__m128i d, __m128i s) noexcept { return _mm_min_epi16(d, s); }
  static __m128i Alpha(__m128i d, __m128i s) noexcept { return _mm_min_epi16(d, s); }
};
struct LightenV {
  static __m128i Colour(__m128i d, __m128i s) noexcept { return _mm_max_epi16(d, s); }
  static __m128i Alpha(__m128i d, __m128i s) noexcept { return _mm_max_epi16(d, s); }
};
struct DifferenceV {
  static __m128i Colour(__m128i d, __m128i s) noexcept {
    return _mm_sub_epi16(_mm_max_epi16(d, s), _mm_min_epi16(d, s));
  }
  static __m128i Alpha(__m128i d, __m128i s) noexcept { return ScreenV::Alpha(d, s); }
};
struct DifferenceSquaredV {
  static __m128i Colour(__m128i d, __m128i s) noexcept {
    __m128i diff = DifferenceV::Colour(d, s);
    return Div255(_mm_mullo_epi16(diff, diff));
  }
  static __m128i Alpha(__m128i d, __m128i s) noexcept { return ScreenV::Alpha(d, s); }
};
// The colour lanes mixed with the opacity: (v x o + d x (255 - o)) / 255.
inline __m128i Mix16(__m128i v, __m128i d, __m128i o, __m128i rest) noexcept {
  return Div255(_mm_add_epi16(_mm_mullo_epi16(v, o), _mm_mullo_epi16(d, rest)));
}
inline __m128i AlphaMask() noexcept { return _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0); }

template <typename C>
__m128i Mixed16(__m128i d, __m128i s, __m128i o, __m128i rest) noexcept {
  __m128i colour = Mix16(C::Colour(d, s), d, o, rest);
  __m128i mask = AlphaMask();
  return _mm_or_si128(_mm_andnot_si128(mask, colour), _mm_and_si128(mask, C::Alpha(d, s)));
}
struct CutV {
  static __m128i Lanes(__m128i d, __m128i s, __m128i o, __m128i rest) noexcept {
    __m128i v = Mix16(_mm_subs_epu16(d, s), d, o, rest);  // the alpha lane is max(dA - sA, 0) before mixing
    __m128i alpha = AlphaLanes(_mm_subs_epu16(d, s));
    __m128i colour = _mm_min_epi16(v, alpha);
    __m128i mask = AlphaMask();
    return _mm_or_si128(_mm_andnot_si128(mask, colour), _mm_and_si128(mask, alpha));
  }
};
// Dodge and Burn divide by a per-lane denominator. The numerators are
// below 2^24, so they and the quotient's floor are exact in single
// precision: the rounding error of the quotient (under 2^-24 of it) is
// smaller than its distance 1/denominator to the next integer.
inline __m128i Quotient32(__m128i numerator, __m128i denominator) noexcept {
  return _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(numerator), _mm_cvtepi32_ps(denominator)));
}
// ((a x b x o) / denominator) / 256 for 16-bit lanes (a x b below 65536),
// packed back to 16 bits with signed saturation (only values above 255
// saturate, and both compositors hold their results to 0..255).
inline __m128i ScaledQuotient(__m128i ab, __m128i o, __m128i denominator) noexcept {
  const __m128i zero = _mm_setzero_si128();
  __m128i low = _mm_mullo_epi16(ab, o), high = _mm_mulhi_epu16(ab, o);
  __m128i q0 = _mm_srli_epi32(Quotient32(_mm_unpacklo_epi16(low, high), _mm_unpacklo_epi16(denominator, zero)), 8);
  __m128i q1 = _mm_srli_epi32(Quotient32(_mm_unpackhi_epi16(low, high), _mm_unpackhi_epi16(denominator, zero)), 8);
  return _mm_packs_epi32(q0, q1);
}
struct DodgeV {
  static __m128i Lanes(__m128i d, __m128i s, __m128i o, __m128i) noexcept {
    const __m128i full = _mm_set1_epi16(255);
    __m128i denominator = _mm_sub_epi16(_mm_sub_epi16(_mm_set1_epi16(511), o), s);
    __m128i q = ScaledQuotient(_mm_mullo_epi16(s, d), o, denominator);
    __m128i colour = _mm_min_epi16(_mm_adds_epi16(d, q), full);
    __m128i mask = AlphaMask();
    return _mm_or_si128(_mm_andnot_si128(mask, colour), _mm_and_si128(mask, ScreenV::Alpha(d, s)));
  }
};
struct BurnV {
  static __m128i Lanes(__m128i d, __m128i s, __m128i o, __m128i) noexcept {
    const __m128i full = _mm_set1_epi16(255);
    __m128i denominator = _mm_sub_epi16(_mm_add_epi16(s, _mm_set1_epi16(256)), o);
    __m128i q = ScaledQuotient(_mm_mullo_epi16(_mm_sub_epi16(full, s), _mm_sub_epi16(full, d)), o, denominator);
    __m128i colour = _mm_max_epi16(_mm_sub_epi16(d, q), _mm_setzero_si128());
    __m128i mask = AlphaMask();
    return _mm_or_si128(_mm_andnot_si128(mask, colour), _mm_and_si128(mask, d));
  }
};
template <typename C>
struct MixedV {
  static __m128i Lanes(__m128i d, __m128i s, __m128i o, __m128i rest) noexcept { return Mixed16<C>(d, s, o, rest); }
};

template <typename V, typename P>
void RowSse2(BYTE* d, const BYTE* s, int opacity, int count) noexcept {
  const __m128i zero = _mm_setzero_si128();
  int op = opacity & 255;
  const __m128i o = _mm_set1_epi16(static_cast<short>(op)), rest = _mm_set1_epi16(static_cast<short>(255 - op));
  int i = 0;
  for (; i + 4 <= count; i += 4, d += 16, s += 16) {
    __m128i dv = Load(d), sv = Load(s);
    __m128i lo = V::Lanes(_mm_unpacklo_epi8(dv, zero), _mm_unpacklo_epi8(sv, zero), o, rest);
    __m128i hi = V::Lanes(_mm_unpackhi_epi8(dv, zero), _mm_unpackhi_epi8(sv, zero), o, rest);
    Store(d, _mm_packus_epi16(lo, hi));
  }
  for (; i < count; ++i, d += 4, s += 4) P::Pixel(d, s, op);
}

struct CompositorKernels {
  CompositePixel pixel;
  CompositeRow row, rowSse2;
};
template <typename P, typename V>
constexpr CompositorKernels Kernels() {
  return CompositorKernels{PixelOf<P>, RowOf<P>, RowSse2<V, P>};
}
// In registry order.
constexpr CompositorKernels kCompositors[kCompositorCount] = {
    Kernels<Cut, CutV>(),
    Kernels<Mixed<Screen>, MixedV<ScreenV>>(),
    Kernels<Mixed<Overlay>, MixedV<OverlayV>>(),
    Kernels<Mixed<HardLight>, MixedV<HardLightV>>(),
    Kernels<Dodge, DodgeV>(),
    Kernels<Burn, BurnV>(),
    Kernels<Mixed<Darken>, MixedV<DarkenV>>(),
    Kernels<Mixed<Lighten>, MixedV<LightenV>>(),
    Kernels<Mixed<Difference>, MixedV<DifferenceV>>(),
    Kernels<Mixed<DifferenceSquared>, MixedV<DifferenceSquaredV>>(),
};

}  // namespace

KernelForms<PairRow> OverForms() noexcept { return {OverRow, OverUnderRowSse2<false>}; }
KernelForms<PairRow> UnderForms() noexcept { return {UnderRow, OverUnderRowSse2<true>}; }
KernelForms<FadeRow> CrossFadeForms() noexcept { return {CrossFadeRow, CrossFadeRowSse2}; }

CompositePixel CompositorPixel(int index) noexcept {
  return index >= 0 && index < kCompositorCount ? kCompositors[index].pixel : nullptr;
}
KernelForms<CompositeRow> CompositorRows(int index) noexcept {
  if (index < 0 || index >= kCompositorCount) return {nullptr, nullptr};
  return {kCompositors[index].row, kCompositors[index].rowSse2};
}

void SetBlendVectorForms(bool enabled) noexcept { g_vectorForms.store(enabled); }
bool BlendVectorFormsOn() noexcept { return g_vectorForms.load() && ZqGetCPUSupport(ZQCPU_SSE2) != 0; }

}  // namespace zq::dib
