// Scalar and SSE2 row kernels of the binomial blur and the 3 x 3
// convolution. The SSE2 forms hold two pixels (eight channels) in 16-bit
// lanes, four pixels a step; the left and right neighbours of a pair are
// the halves of adjacent pairs joined by one shuffle. The blur sums the
// three rows first (the binomial weights are separable, and the sums of
// at most 4080 are the scalar sums exactly); the convolution keeps its
// 16-bit sums modulo 65536, exact when the whole sum fits 16 bits.
#include "dib/neighbourhood_kernels.h"

#include <emmintrin.h>

#include <atomic>

#include "zq/kernel.h"

namespace zq::dib {
namespace {

std::atomic<bool> g_vectorForms{true};

// Byte offsets of the left and right neighbours of pixel x in a row of `count`.
inline int Left(int x) noexcept { return (x > 0 ? x - 1 : 0) * 4; }
inline int Right(int x, int count) noexcept { return (x + 1 < count ? x + 1 : x) * 4; }

// ---- scalar ---------------------------------------------------------------------------------
void BlurPixels(BYTE* out, const BYTE* a, const BYTE* b, const BYTE* c, int from, int count) noexcept {
  for (int x = from; x < count; ++x) {
    const int l = Left(x), m = x * 4, r = Right(x, count);
    for (int k = 0; k < 4; ++k) {
      int sum = a[l + k] + 2 * a[m + k] + a[r + k] + 2 * b[l + k] + 4 * b[m + k] + 2 * b[r + k] + c[l + k] +
                2 * c[m + k] + c[r + k];
      out[m + k] = static_cast<BYTE>(sum >> 4);
    }
  }
}
void BlurRowScalar(BYTE* out, const BYTE* a, const BYTE* b, const BYTE* c, int count) noexcept {
  BlurPixels(out, a, b, c, 0, count);
}

inline BYTE Clamp255(int v) noexcept { return static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v); }
void ConvolvePixels(BYTE* out, const BYTE* a, const BYTE* b, const BYTE* c, int from, int count, const int* w,
                    int divisor) noexcept {
  for (int x = from; x < count; ++x) {
    const int l = Left(x), m = x * 4, r = Right(x, count);
    for (int k = 0; k < 4; ++k) {
      const int sum = w[0] * a[l + k] + w[1] * a[m + k] + w[2] * a[r + k] + w[3] * b[l + k] + w[4] * b[m + k] +
                      w[5] * b[r + k] + w[6] * c[l + k] + w[7] * c[m + k] + w[8] * c[r + k];
      out[m + k] = Clamp255(divisor == 1 ? sum : sum / divisor);
    }
  }
}
void ConvolveRowScalar(BYTE* out, const BYTE* a, const BYTE* b, const BYTE* c, int count, const int* w,
                       int divisor) noexcept {
  ConvolvePixels(out, a, b, c, 0, count, w, divisor);
}

// ---- SSE2 -------------------------------------------------------------------------------------
inline __m128i Load(const BYTE* p) noexcept { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline __m128i Load8(const BYTE* p) noexcept { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); }
inline __m128i Widen(__m128i v) noexcept { return _mm_unpacklo_epi8(v, _mm_setzero_si128()); }
inline __m128i WidenHigh(__m128i v) noexcept { return _mm_unpackhi_epi8(v, _mm_setzero_si128()); }
// The high pixel of `first` and the low pixel of `second`.
inline __m128i Between(__m128i first, __m128i second) noexcept {
  return _mm_castpd_si128(_mm_shuffle_pd(_mm_castsi128_pd(first), _mm_castsi128_pd(second), 1));
}
inline __m128i Twice(__m128i v) noexcept { return _mm_add_epi16(v, v); }

// Pixel pairs of one row walked four pixels a step: `low` holds pixels
// x, x + 1 and `before` x - 2, x - 1 (pixel 0 twice at the start).
struct PairWalk {
  __m128i before, low;
  void Start(const BYTE* row) noexcept {
    low = Widen(Load8(row));
    before = _mm_unpacklo_epi64(low, low);
  }
};

// Rows summed (1, 2, 1) in 16-bit lanes, then across (1, 2, 1): at most
// 4080, shifted down by four.
void BlurRowSse2(BYTE* out, const BYTE* a, const BYTE* b, const BYTE* c, int count) noexcept {
  if (count < 6) return BlurPixels(out, a, b, c, 0, count);
  auto column = [](__m128i x, __m128i y, __m128i z) { return _mm_add_epi16(_mm_add_epi16(x, z), Twice(y)); };
  __m128i low = column(Widen(Load8(a)), Widen(Load8(b)), Widen(Load8(c)));
  __m128i before = _mm_unpacklo_epi64(low, low);
  int x = 0;
  for (; x + 6 <= count; x += 4) {
    const int at = 4 * (x + 2);
    const __m128i va = Load(a + at), vb = Load(b + at), vc = Load(c + at);
    const __m128i high = column(Widen(va), Widen(vb), Widen(vc));
    const __m128i next = column(WidenHigh(va), WidenHigh(vb), WidenHigh(vc));
    const __m128i middle = Between(low, high);
    __m128i first = _mm_add_epi16(_mm_add_epi16(Between(before, low), middle), Twice(low));
    __m128i second = _mm_add_epi16(_mm_add_epi16(middle, Between(high, next)), Twice(high));
    first = _mm_srli_epi16(first, 4);
    second = _mm_srli_epi16(second, 4);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm_packus_epi16(first, second));
    before = high;
    low = next;
  }
  BlurPixels(out, a, b, c, x, count);
}

// Sums modulo 65536 in 16-bit lanes, signed; divided in single precision
// (exact: a numerator below 2^24 and a quotient's distance of at least
// 1 / divisor from the next integer leave the truncation unchanged) or,
// with a divisor of 1, held to 0..255 by the pack alone.
void ConvolveRowSse2(BYTE* out, const BYTE* a, const BYTE* b, const BYTE* c, int count, const int* w,
                     int divisor) noexcept {
  if (count < 6) return ConvolvePixels(out, a, b, c, 0, count, w, divisor);
  const BYTE* rows[3] = {a, b, c};
  __m128i weights[9];
  for (int k = 0; k < 9; ++k) weights[k] = _mm_set1_epi16(static_cast<short>(w[k]));
  PairWalk walks[3];
  for (int r = 0; r < 3; ++r) walks[r].Start(rows[r]);
  const __m128 by = _mm_set1_ps(static_cast<float>(divisor));
  auto divide = [&](__m128i sums) {
    const __m128i low = _mm_srai_epi32(_mm_unpacklo_epi16(sums, sums), 16);
    const __m128i high = _mm_srai_epi32(_mm_unpackhi_epi16(sums, sums), 16);
    return _mm_packs_epi32(_mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(low), by)),
                           _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(high), by)));
  };
  int x = 0;
  for (; x + 6 <= count; x += 4) {
    __m128i first = _mm_setzero_si128(), second = _mm_setzero_si128();
    for (int r = 0; r < 3; ++r) {
      PairWalk& walk = walks[r];
      const __m128i v = Load(rows[r] + 4 * (x + 2));
      const __m128i high = Widen(v), next = WidenHigh(v), middle = Between(walk.low, high);
      const __m128i* wr = &weights[3 * r];
      first = _mm_add_epi16(first, _mm_mullo_epi16(Between(walk.before, walk.low), wr[0]));
      first = _mm_add_epi16(first, _mm_mullo_epi16(walk.low, wr[1]));
      first = _mm_add_epi16(first, _mm_mullo_epi16(middle, wr[2]));
      second = _mm_add_epi16(second, _mm_mullo_epi16(middle, wr[0]));
      second = _mm_add_epi16(second, _mm_mullo_epi16(high, wr[1]));
      second = _mm_add_epi16(second, _mm_mullo_epi16(Between(high, next), wr[2]));
      walk.before = high;
      walk.low = next;
    }
    if (divisor != 1) {
      first = divide(first);
      second = divide(second);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm_packus_epi16(first, second));
  }
  ConvolvePixels(out, a, b, c, x, count, w, divisor);
}

}  // namespace

KernelForms<BlurRow> BlurRowForms() noexcept { return {BlurRowScalar, BlurRowSse2}; }

KernelForms<ConvolveRow> ConvolveRowForms(const int* weights) noexcept {
  long long reach = 0;
  for (int k = 0; k < 9; ++k) reach += 255LL * (weights[k] < 0 ? -static_cast<long long>(weights[k]) : weights[k]);
  return {ConvolveRowScalar, reach <= 32767 ? ConvolveRowSse2 : nullptr};
}

void SetFilterVectorForms(bool enabled) noexcept { g_vectorForms.store(enabled); }
bool FilterVectorFormsOn() noexcept { return g_vectorForms.load() && ZqGetCPUSupport(ZQCPU_SSE2) != 0; }

}  // namespace zq::dib
