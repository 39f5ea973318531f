// The scaling kernels: bilinear, bicubic, area averaging and the mixed
// forms, for 8-bit (4-byte) and float (16-byte) pixels. The scalar forms
// define every result; the 8-bit bilinear and bicubic kernels have SSE2
// forms giving the same bytes.
#include <emmintrin.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "dib/scale_internal.h"
#include "zq/kernel.h"

namespace zq::dib {
namespace {

std::atomic<bool> g_vectorForms{true};

inline const float* FloatRow(const BYTE* row) noexcept { return reinterpret_cast<const float*>(row); }

// Stores a sample with its coverage: whole where covered (or with
// replaced edges), else blended into the destination.
inline void Store8(BYTE* d, const BYTE* s, int coverage, bool replace) noexcept {
  if (replace || coverage >= kFixedOne)
    std::memcpy(d, s, 4);
  else
    for (int c = 0; c < 4; ++c) d[c] = static_cast<BYTE>(d[c] + (s[c] - d[c]) * coverage / kFixedOne);
}
inline void StoreFloat(float* d, const float* s, int coverage, bool replace) noexcept {
  if (replace || coverage >= kFixedOne) {
    std::memcpy(d, s, 16);
  } else {
    float f = static_cast<float>(coverage) / kFixedOne;
    for (int c = 0; c < 4; ++c) d[c] = d[c] + (s[c] - d[c]) * f;
  }
}
inline int Coverage(const Axis& ax, const Axis& ay, int k, int j) noexcept {
  return ay.coverage[j] == kFixedOne ? ax.coverage[k] : (ax.coverage[k] * ay.coverage[j]) >> 14;
}

// Walks the destination pixels row by row (`row(j)` runs first on each
// row) and stores each pixel's sample.
template <bool Eight, typename Row, typename Sample>
void Walk(const Axis& ax, const Axis& ay, const Plane& dst, bool replace, Row&& row, Sample&& sample) {
  for (int j = 0; j < ay.count; ++j) {
    row(j);
    BYTE* out = dst.Row(ay.first + j);
    for (int k = 0; k < ax.count; ++k) {
      if constexpr (Eight) {
        BYTE s[4];
        sample(k, j, s);
        Store8(out + static_cast<ptrdiff_t>(ax.first + k) * 4, s, Coverage(ax, ay, k, j), replace);
      } else {
        float s[4];
        sample(k, j, s);
        StoreFloat(reinterpret_cast<float*>(out) + static_cast<ptrdiff_t>(ax.first + k) * 4, s, Coverage(ax, ay, k, j),
                   replace);
      }
    }
  }
}
template <bool Eight, typename Sample>
void Walk(const Axis& ax, const Axis& ay, const Plane& dst, bool replace, Sample&& sample) {
  Walk<Eight>(
      ax, ay, dst, replace, [](int) {}, sample);
}

inline BYTE Clamp255(int v) noexcept { return static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v); }

// ---- bilinear -----------------------------------------------------------------------
// One 8-bit sample from the columns left and right (byte offsets) of rows
// r0 and r1: each neighbour's weight is the product of its two fractions,
// truncated to 14 bits.
inline void BilinearSample8(const BYTE* r0, const BYTE* r1, int left, int right, int a, int b, BYTE* out) noexcept {
  const int w11 = a * b / 16384, w01 = (16384 - a) * b / 16384, w10 = (16384 - b) * a / 16384,
            w00 = (16384 - b) * (16384 - a) / 16384;
  for (int c = 0; c < 4; ++c)
    out[c] = static_cast<BYTE>((w00 * r0[left + c] + w10 * r0[right + c] + w01 * r1[left + c] + w11 * r1[right + c]) >>
                               14);
}

void Bilinear8(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  Walk<true>(ax, ay, dst, replace, [&](int k, int j, BYTE* out) {
    BilinearSample8(src.Row(ay.index[j]), src.Row(ay.next[j]), 4 * ax.index[k], 4 * ax.next[k], ax.fraction[k],
                    ay.fraction[j], out);
  });
}

// SSE2 form of Bilinear8, the same integers, four destination pixels a
// step. A weight is (a x b) >> 14 with both fractions at most 16384, which
// is the high half of the 16-bit product (2a x 2b): one unsigned multiply.
// What depends on the column alone is made once per call: its byte offset
// and its doubled fractions, (1 - a) in eight lanes and a in eight; per
// row they are multiplied by (1 - b, b, ...) doubled, giving the column's
// left and right weight pairs (upper, lower) in every 32-bit lane. The two
// rows' bytes are interleaved (upper, lower), so one multiply-add per
// neighbouring column gives each channel's upper and lower contributions
// in 32 bits. Where two neighbouring columns read four source pixels in a
// row (halving, or near it), one 16-byte load per source row serves both.
void Bilinear8Sse2(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  if (!ax.count) return;
  // Columns clamped at the last source column (their right pixel is
  // their own) end the row; the vector steps stop before them, so their
  // 8-byte loads never pass the row's end.
  int unclamped = ax.count;
  while (unclamped > 0 && ax.next[unclamped - 1] == ax.index[unclamped - 1]) --unclamped;
  const int vectorColumns = unclamped & ~3;
  // The heap gives 8-byte alignment here: the lanes start at the first
  // 16-byte boundary of their buffer.
  std::vector<int> offsets(vectorColumns);
  std::vector<uint16_t> lanes(static_cast<size_t>(vectorColumns) * 16 + 8);
  uint16_t* const across = lanes.data() + ((16 - (reinterpret_cast<uintptr_t>(lanes.data()) & 15)) & 15) / 2;
  for (int k = 0; k < vectorColumns; ++k) {
    offsets[k] = 4 * ax.index[k];
    std::fill_n(across + 16 * k, 8, static_cast<uint16_t>(2 * (16384 - ax.fraction[k])));
    std::fill_n(across + 16 * k + 8, 8, static_cast<uint16_t>(2 * ax.fraction[k]));
  }
  // Groups of four columns whose pairs (k, k + 1) each read four
  // consecutive source pixels.
  std::vector<char> paired(vectorColumns / 4);
  auto adjacent = [&](int k) {
    return ax.next[k] == ax.index[k] + 1 && ax.index[k + 1] == ax.index[k] + 2 && ax.next[k + 1] == ax.index[k] + 3;
  };
  for (int k = 0; k < vectorColumns; k += 4) paired[k / 4] = adjacent(k) && adjacent(k + 2);
  const int* const offset = offsets.data();
  const __m128i* const doubled = reinterpret_cast<const __m128i*>(across);
  const __m128i zero = _mm_setzero_si128();
  std::vector<BYTE> aside(static_cast<size_t>(ax.count) * 4);
  for (int j = 0; j < ay.count; ++j) {
    const BYTE* const r0 = src.Row(ay.index[j]);
    const BYTE* const r1 = src.Row(ay.next[j]);
    const int fy = ay.fraction[j];
    const __m128i down = _mm_set1_epi32(static_cast<int>((static_cast<unsigned>(2 * fy) << 16) | (2 * (16384 - fy))));
    // The column's left and right pixels of both rows, bytes interleaved
    // (upper, lower), times their weight pairs.
    auto weigh = [&](__m128i both, int k) {
      const __m128i left = _mm_mulhi_epu16(doubled[2 * k], down), right = _mm_mulhi_epu16(doubled[2 * k + 1], down);
      const __m128i sum = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(both, zero), left),
                                        _mm_madd_epi16(_mm_unpackhi_epi8(both, zero), right));
      return _mm_srli_epi32(sum, 14);
    };
    auto sample = [&](int k) {
      const int at = offset[k];
      return weigh(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0 + at)),
                                     _mm_loadl_epi64(reinterpret_cast<const __m128i*>(r1 + at))),
                   k);
    };
    // Columns k and k + 1 from one load per row.
    auto samplePair = [&](int k) {
      const int at = offset[k];
      const __m128i upper = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r0 + at)),
                    lower = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r1 + at));
      return _mm_packs_epi32(weigh(_mm_unpacklo_epi8(upper, lower), k), weigh(_mm_unpackhi_epi8(upper, lower), k + 1));
    };
    // Rows the sample replaces are written in place; a partly covered row
    // (edges kept) is made aside and blended in.
    BYTE* row = dst.Row(ay.first + j) + static_cast<ptrdiff_t>(ax.first) * 4;
    bool inPlace = replace || ay.coverage[j] == kFixedOne;
    BYTE* const out = inPlace ? row : aside.data();
    BYTE saved[2][4];
    std::memcpy(saved[0], row, 4);
    std::memcpy(saved[1], row + 4 * (ax.count - 1), 4);
    int k = 0;
    for (; k < vectorColumns; k += 4) {
      const __m128i eight = paired[k / 4] ? _mm_packus_epi16(samplePair(k), samplePair(k + 2))
                                          : _mm_packus_epi16(_mm_packs_epi32(sample(k), sample(k + 1)),
                                                             _mm_packs_epi32(sample(k + 2), sample(k + 3)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * k), eight);
    }
    for (; k < ax.count; ++k)
      BilinearSample8(r0, r1, 4 * ax.index[k], 4 * ax.next[k], ax.fraction[k], fy, out + 4 * k);
    if (replace) continue;
    if (!inPlace) {
      for (int e = 0; e < ax.count; ++e) Store8(row + 4 * e, out + 4 * e, Coverage(ax, ay, e, j), false);
      continue;
    }
    // Partly covered end columns blend into what the destination held.
    for (int e = 0; e<ax.count; e += ax.count - 1> 0 ? ax.count - 1 : 1) {
      if (ax.coverage[e] == kFixedOne) continue;
      BYTE sample[4];
      std::memcpy(sample, row + 4 * e, 4);
      std::memcpy(row + 4 * e, saved[e == 0 ? 0 : 1], 4);
      Store8(row + 4 * e, sample, ax.coverage[e], false);
    }
  }
}

void BilinearFloat(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  Walk<false>(ax, ay, dst, replace, [&](int k, int j, float* out) {
    const float* r0 = FloatRow(src.Row(ay.index[j]));
    const float* r1 = FloatRow(src.Row(ay.next[j]));
    float a = ax.fraction[k] / 16384.0f, b = ay.fraction[j] / 16384.0f;
    const float *p00 = r0 + 4 * ax.index[k], *p10 = r0 + 4 * ax.next[k], *p01 = r1 + 4 * ax.index[k],
                *p11 = r1 + 4 * ax.next[k];
    for (int c = 0; c < 4; ++c)
      out[c] = (1 - a) * (1 - b) * p00[c] + a * (1 - b) * p10[c] + (1 - a) * b * p01[c] + a * b * p11[c];
  });
}

// ---- bicubic -----------------------------------------------------------------------------
// Vertical pass first: for each destination row the four source rows are
// filtered into one row over the columns the taps reach; the horizontal
// pass then reads it.
struct ColumnSpan {
  int low, high;
};
ColumnSpan TapColumns(const Axis& ax) {
  ColumnSpan span{ax.cubicIndex.empty() ? 0 : ax.cubicIndex[0], 0};
  for (int v : ax.cubicIndex) {
    span.low = std::min(span.low, v);
    span.high = std::max(span.high, v);
  }
  return span;
}

void Bicubic8(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  const CubicTable& t = CoarseCubic();
  ColumnSpan span = TapColumns(ax);
  std::vector<int> filtered(static_cast<size_t>(span.high - span.low + 1) * 4);
  Walk<true>(
      ax, ay, dst, replace,
      [&](int j) {
        const int* wy = &t.fixed[ay.cubicFraction[j] * 4];
        const BYTE* rows[4];
        for (int r = 0; r < 4; ++r) rows[r] = src.Row(ay.cubicIndex[j * 4 + r]);
        for (int x = span.low; x <= span.high; ++x)
          for (int c = 0; c < 4; ++c) {
            int i = 4 * x + c;
            int v = wy[0] * rows[0][i] + wy[1] * rows[1][i] + wy[2] * rows[2][i] + wy[3] * rows[3][i];
            filtered[4 * (x - span.low) + c] = std::clamp((v + 128) >> 8, 0, 255 * 64);  // value x 64
          }
      },
      [&](int k, int, BYTE* out) {
        const int* wx = &t.fixed[ax.cubicFraction[k] * 4];
        const int* xi = &ax.cubicIndex[k * 4];
        for (int c = 0; c < 4; ++c) {
          int h = 0;
          for (int i = 0; i < 4; ++i) h += wx[i] * filtered[4 * (xi[i] - span.low) + c];
          out[c] = Clamp255((h + (1 << 19)) >> 20);
        }
      });
}

// SSE2 form of Bicubic8, the same integers: multiply-adds of 16-bit
// values by pairs of weights into 32-bit sums, held to range by 16-bit
// saturation and min/max.
void Bicubic8Sse2(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  const CubicTable& t = CoarseCubic();
  ColumnSpan span = TapColumns(ax);
  int width = span.high - span.low + 1;
  std::vector<int16_t> filtered(static_cast<size_t>(width + 1) * 4);
  const __m128i zero = _mm_setzero_si128(), top = _mm_set1_epi16(255 * 64);
  auto pair = [](int a, int b) {
    return _mm_set1_epi32(static_cast<int>((static_cast<unsigned>(b) << 16) | (a & 0xFFFF)));
  };
  Walk<true>(
      ax, ay, dst, replace,
      [&](int j) {
        const int* wy = &t.fixed[ay.cubicFraction[j] * 4];
        __m128i w01 = pair(wy[0], wy[1]), w23 = pair(wy[2], wy[3]), half = _mm_set1_epi32(128);
        const BYTE* rows[4];
        for (int r = 0; r < 4; ++r) rows[r] = src.Row(ay.cubicIndex[j * 4 + r]) + 4 * span.low;
        int x = 0;
        auto load = [&](int r) {
          return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(rows[r] + 4 * x)), zero);
        };
        for (; x + 2 <= width; x += 2) {
          __m128i a = load(0), b = load(1), c = load(2), d = load(3);
          __m128i first = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(a, b), w01),
                                        _mm_madd_epi16(_mm_unpacklo_epi16(c, d), w23));
          __m128i second = _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(a, b), w01),
                                         _mm_madd_epi16(_mm_unpackhi_epi16(c, d), w23));
          first = _mm_srai_epi32(_mm_add_epi32(first, half), 8);
          second = _mm_srai_epi32(_mm_add_epi32(second, half), 8);
          __m128i v = _mm_min_epi16(_mm_max_epi16(_mm_packs_epi32(first, second), zero), top);
          _mm_storeu_si128(reinterpret_cast<__m128i*>(&filtered[4 * x]), v);
        }
        for (; x < width; ++x)
          for (int c = 0; c < 4; ++c) {
            int i = 4 * x + c;
            int v = wy[0] * rows[0][i] + wy[1] * rows[1][i] + wy[2] * rows[2][i] + wy[3] * rows[3][i];
            filtered[i] = static_cast<int16_t>(std::clamp((v + 128) >> 8, 0, 255 * 64));
          }
      },
      [&](int k, int, BYTE* out) {
        const int* wx = &t.fixed[ax.cubicFraction[k] * 4];
        const int* xi = &ax.cubicIndex[k * 4];
        auto tap = [&](int i) {
          return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&filtered[4 * (xi[i] - span.low)]));
        };
        __m128i sum = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(tap(0), tap(1)), pair(wx[0], wx[1])),
                                    _mm_madd_epi16(_mm_unpacklo_epi16(tap(2), tap(3)), pair(wx[2], wx[3])));
        sum = _mm_srai_epi32(_mm_add_epi32(sum, _mm_set1_epi32(1 << 19)), 20);
        __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(sum, zero), zero);
        DWORD packed = static_cast<DWORD>(_mm_cvtsi128_si32(bytes));
        std::memcpy(out, &packed, 4);
      });
}

void BicubicFloat(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  const CubicTable& t = CoarseCubic();
  ColumnSpan span = TapColumns(ax);
  std::vector<float> filtered(static_cast<size_t>(span.high - span.low + 1) * 4);
  Walk<false>(
      ax, ay, dst, replace,
      [&](int j) {
        const float* wy = &t.weights[ay.cubicFraction[j] * 4];
        const float* rows[4];
        for (int r = 0; r < 4; ++r) rows[r] = FloatRow(src.Row(ay.cubicIndex[j * 4 + r]));
        for (int x = span.low; x <= span.high; ++x)
          for (int c = 0; c < 4; ++c) {
            int i = 4 * x + c;
            filtered[4 * (x - span.low) + c] =
                wy[0] * rows[0][i] + wy[1] * rows[1][i] + wy[2] * rows[2][i] + wy[3] * rows[3][i];
          }
      },
      [&](int k, int, float* out) {
        const float* wx = &t.weights[ax.cubicFraction[k] * 4];
        const int* xi = &ax.cubicIndex[k * 4];
        for (int c = 0; c < 4; ++c) {
          float h = 0;
          for (int i = 0; i < 4; ++i) h += wx[i] * filtered[4 * (xi[i] - span.low) + c];
          out[c] = h;
        }
      });
}

// ---- area averaging ---------------------------------------------------------------------------
template <typename Acc>
void Area8(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  Walk<true>(ax, ay, dst, replace, [&](int k, int j, BYTE* out) {
    Acc acc[4] = {0, 0, 0, 0}, total = 0;
    for (int ty = ay.tapStart[j]; ty < ay.tapStart[j + 1]; ++ty) {
      const BYTE* row = src.Row(ay.tapIndex[ty]);
      int wy = ay.tapWeight[ty];
      for (int tx = ax.tapStart[k]; tx < ax.tapStart[k + 1]; ++tx) {
        Acc w = static_cast<Acc>((ax.tapWeight[tx] * wy) >> 14);
        const BYTE* p = row + 4 * ax.tapIndex[tx];
        for (int c = 0; c < 4; ++c) acc[c] += w * p[c];
        total += w;
      }
    }
    for (int c = 0; c < 4; ++c) out[c] = static_cast<BYTE>(total ? acc[c] / total : 0);
  });
}

// One direction averaged, the other interpolated (linearly or bicubically)
// to a value carrying one extra bit.
template <typename Acc, bool Cubic, bool AcrossColumns>
void Mixed8(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  const CubicTable& t = CoarseCubic();
  Walk<true>(ax, ay, dst, replace, [&](int k, int j, BYTE* out) {
    Acc acc[4] = {0, 0, 0, 0};
    // The averaged axis is x when AcrossColumns, else y.
    const Axis& avg = AcrossColumns ? ax : ay;
    const Axis& interp = AcrossColumns ? ay : ax;
    int m = AcrossColumns ? k : j, n = AcrossColumns ? j : k;
    auto value = [&](int along, int across, int c) {  // along the averaged axis, across the other
      return AcrossColumns ? src.Row(across)[4 * along + c] : src.Row(along)[4 * across + c];
    };
    for (int tap = avg.tapStart[m]; tap < avg.tapStart[m + 1]; ++tap) {
      int along = avg.tapIndex[tap];
      Acc w = static_cast<Acc>(avg.tapWeight[tap]);
      for (int c = 0; c < 4; ++c) {
        int v;
        if constexpr (Cubic) {
          const int* wi = &t.fixed[interp.cubicFraction[n] * 4];
          int s = 0;
          for (int i = 0; i < 4; ++i) s += wi[i] * value(along, interp.cubicIndex[n * 4 + i], c);
          v = std::clamp((s + 4096) >> 13, 0, 510);
        } else {
          int f = interp.fraction[n];
          v = (value(along, interp.index[n], c) * (16384 - f) + value(along, interp.next[n], c) * f) >> 13;
        }
        acc[c] += w * static_cast<Acc>(v);
      }
    }
    int64_t total = 2 * avg.weightSum[m];
    for (int c = 0; c < 4; ++c) out[c] = static_cast<BYTE>(total ? static_cast<int64_t>(acc[c]) / total : 0);
  });
}

void AreaFloat(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  Walk<false>(ax, ay, dst, replace, [&](int k, int j, float* out) {
    float acc[4] = {0, 0, 0, 0}, total = 0;
    for (int ty = ay.tapStart[j]; ty < ay.tapStart[j + 1]; ++ty) {
      const float* row = FloatRow(src.Row(ay.tapIndex[ty]));
      float wy = ay.tapWeight[ty] / 16384.0f;
      for (int tx = ax.tapStart[k]; tx < ax.tapStart[k + 1]; ++tx) {
        float w = ax.tapWeight[tx] / 16384.0f * wy;
        const float* p = row + 4 * ax.tapIndex[tx];
        for (int c = 0; c < 4; ++c) acc[c] += w * p[c];
        total += w;
      }
    }
    for (int c = 0; c < 4; ++c) out[c] = total > 0 ? acc[c] / total : 0.0f;
  });
}

template <bool Cubic, bool AcrossColumns>
void MixedFloat(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  const CubicTable& t = CoarseCubic();
  Walk<false>(ax, ay, dst, replace, [&](int k, int j, float* out) {
    float acc[4] = {0, 0, 0, 0}, total = 0;
    const Axis& avg = AcrossColumns ? ax : ay;
    const Axis& interp = AcrossColumns ? ay : ax;
    int m = AcrossColumns ? k : j, n = AcrossColumns ? j : k;
    auto value = [&](int along, int across, int c) {
      return AcrossColumns ? FloatRow(src.Row(across))[4 * along + c] : FloatRow(src.Row(along))[4 * across + c];
    };
    for (int tap = avg.tapStart[m]; tap < avg.tapStart[m + 1]; ++tap) {
      int along = avg.tapIndex[tap];
      float w = avg.tapWeight[tap] / 16384.0f;
      for (int c = 0; c < 4; ++c) {
        float v;
        if constexpr (Cubic) {
          const float* wi = &t.weights[interp.cubicFraction[n] * 4];
          v = 0;
          for (int i = 0; i < 4; ++i) v += wi[i] * value(along, interp.cubicIndex[n * 4 + i], c);
        } else {
          float f = interp.fraction[n] / 16384.0f;
          v = value(along, interp.index[n], c) * (1 - f) + value(along, interp.next[n], c) * f;
        }
        acc[c] += w * v;
      }
      total += w;
    }
    for (int c = 0; c < 4; ++c) out[c] = total > 0 ? acc[c] / total : 0.0f;
  });
}

using KernelFn = void (*)(const Axis&, const Axis&, const Plane&, const Plane&, bool);

KernelFn Pick(Kernel kernel, bool eight, bool narrow) noexcept {
  switch (kernel) {
    case Kernel::Bilinear:
      if (!eight) return BilinearFloat;
      return g_vectorForms.load() && ZqGetCPUSupport(ZQCPU_SSE2) ? Bilinear8Sse2 : Bilinear8;
    case Kernel::Bicubic:
      if (!eight) return BicubicFloat;
      return g_vectorForms.load() && ZqGetCPUSupport(ZQCPU_SSE2) ? Bicubic8Sse2 : Bicubic8;
    case Kernel::Area:
      return eight ? (narrow ? Area8<uint32_t> : Area8<uint64_t>) : AreaFloat;
    case Kernel::AreaThenLinear:
      return eight ? (narrow ? Mixed8<uint32_t, false, true> : Mixed8<uint64_t, false, true>) : MixedFloat<false, true>;
    case Kernel::LinearThenArea:
      return eight ? (narrow ? Mixed8<uint32_t, false, false> : Mixed8<uint64_t, false, false>)
                   : MixedFloat<false, false>;
    case Kernel::AreaThenCubic:
      return eight ? (narrow ? Mixed8<uint32_t, true, true> : Mixed8<uint64_t, true, true>) : MixedFloat<true, true>;
    case Kernel::CubicThenArea:
      return eight ? (narrow ? Mixed8<uint32_t, true, false> : Mixed8<uint64_t, true, false>) : MixedFloat<true, false>;
  }
  return nullptr;
}

}  // namespace

void SetScalerVectorForms(bool enabled) noexcept { g_vectorForms.store(enabled); }

HRESULT RunScaler(const ZQSUBPIXELPARAM& p, const Plane& dst, const Plane& src, bool eightBit, Kernel kernel,
                  bool replaceEdges) {
  bool area = kernel == Kernel::Area || kernel == Kernel::AreaThenLinear || kernel == Kernel::LinearThenArea ||
              kernel == Kernel::AreaThenCubic || kernel == Kernel::CubicThenArea;
  bool cubic = kernel == Kernel::Bicubic || kernel == Kernel::AreaThenCubic || kernel == Kernel::CubicThenArea;
  Axis ax, ay;
  PlanAxis(ax, p.dstFinal.left, p.dstFinal.right, p.srcFinal.left, p.srcFinal.right, p.stepX, p.scaleX, src.width, area,
           cubic);
  PlanAxis(ay, p.dstFinal.top, p.dstFinal.bottom, p.srcFinal.top, p.srcFinal.bottom, p.stepY, p.scaleY, src.height,
           area, cubic);
  Pick(kernel, eightBit, NarrowAccumulatorFits(kernel, p.scaleX, p.scaleY))(ax, ay, dst, src, replaceEdges);
  return S_OK;
}

}  // namespace zq::dib
