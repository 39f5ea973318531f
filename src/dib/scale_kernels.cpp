// The scaling kernels: bilinear, bicubic, area averaging and the mixed
// forms, for 8-bit (4-byte) and float (16-byte) pixels. The scalar forms
// define every result; the 8-bit bilinear kernel has an SSE2 form.
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

// Walks the destination pixels, each with its coverage, and stores the
// sample: whole where covered (or with replaced edges), else blended.
template <bool Eight, typename Sample>
void Walk(const Axis& ax, const Axis& ay, const Plane& dst, bool replace, Sample&& sample) {
  for (int j = 0; j < ay.count; ++j) {
    BYTE* row = dst.Row(ay.first + j);
    for (int k = 0; k < ax.count; ++k) {
      int coverage = ay.coverage[j] == kFixedOne ? ax.coverage[k] : (ax.coverage[k] * ay.coverage[j]) >> 14;
      if constexpr (Eight) {
        BYTE s[4];
        sample(k, j, s);
        BYTE* d = row + static_cast<ptrdiff_t>(ax.first + k) * 4;
        if (replace || coverage >= kFixedOne) std::memcpy(d, s, 4);
        else
          for (int c = 0; c < 4; ++c) d[c] = static_cast<BYTE>(d[c] + (s[c] - d[c]) * coverage / kFixedOne);
      } else {
        float s[4];
        sample(k, j, s);
        float* d = reinterpret_cast<float*>(row) + static_cast<ptrdiff_t>(ax.first + k) * 4;
        if (replace || coverage >= kFixedOne) std::memcpy(d, s, 16);
        else {
          float f = static_cast<float>(coverage) / kFixedOne;
          for (int c = 0; c < 4; ++c) d[c] = d[c] + (s[c] - d[c]) * f;
        }
      }
    }
  }
}

inline BYTE Clamp255(int v) noexcept { return static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v); }

// ---- bilinear -----------------------------------------------------------------------
void Bilinear8(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  Walk<true>(ax, ay, dst, replace, [&](int k, int j, BYTE* out) {
    const BYTE* r0 = src.Row(ay.index[j]);
    const BYTE* r1 = src.Row(ay.next[j]);
    int a = ax.fraction[k], b = ay.fraction[j];
    int w11 = a * b / 16384, w01 = (16384 - a) * b / 16384, w10 = (16384 - b) * a / 16384,
        w00 = (16384 - b) * (16384 - a) / 16384;
    const BYTE *p00 = r0 + 4 * ax.index[k], *p10 = r0 + 4 * ax.next[k], *p01 = r1 + 4 * ax.index[k],
               *p11 = r1 + 4 * ax.next[k];
    for (int c = 0; c < 4; ++c)
      out[c] = static_cast<BYTE>((w00 * p00[c] + w10 * p10[c] + w01 * p01[c] + w11 * p11[c]) >> 14);
  });
}

// SSE2 form: two weights per pixel pair in 16-bit lanes. Channels are held
// as value x 32, multiplied by the 14-bit weights keeping the high 16 bits,
// summed with unsigned saturation, then (sum + 4) >> 3; within one unit of
// the scalar form.
void Bilinear8Sse2(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  const __m128i zero = _mm_setzero_si128(), four = _mm_set1_epi16(4);
  Walk<true>(ax, ay, dst, replace, [&](int k, int j, BYTE* out) {
    const BYTE* r0 = src.Row(ay.index[j]);
    const BYTE* r1 = src.Row(ay.next[j]);
    int a = ax.fraction[k], b = ay.fraction[j];
    int w11 = a * b / 16384, w01 = (16384 - a) * b / 16384, w10 = (16384 - b) * a / 16384,
        w00 = (16384 - b) * (16384 - a) / 16384;
    DWORD p00, p10, p01, p11;
    std::memcpy(&p00, r0 + 4 * ax.index[k], 4);
    std::memcpy(&p10, r0 + 4 * ax.next[k], 4);
    std::memcpy(&p01, r1 + 4 * ax.index[k], 4);
    std::memcpy(&p11, r1 + 4 * ax.next[k], 4);
    // Lanes: [p00 | p10] and [p01 | p11], each channel x 32.
    __m128i top = _mm_slli_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(p00)), zero), 5);
    top = _mm_unpacklo_epi64(top, _mm_slli_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(p10)), zero), 5));
    __m128i bottom = _mm_slli_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(p01)), zero), 5);
    bottom =
        _mm_unpacklo_epi64(bottom, _mm_slli_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(p11)), zero), 5));
    // High 16 bits of (v x 32) x w (14-bit) = v x 8 x w / 16384.
    __m128i wt = _mm_set_epi16(short(w10), short(w10), short(w10), short(w10), short(w00), short(w00), short(w00),
                               short(w00));
    __m128i wb = _mm_set_epi16(short(w11), short(w11), short(w11), short(w11), short(w01), short(w01), short(w01),
                               short(w01));
    __m128i sum = _mm_adds_epu16(_mm_mulhi_epu16(top, wt), _mm_mulhi_epu16(bottom, wb));
    sum = _mm_adds_epu16(sum, _mm_srli_si128(sum, 8));
    sum = _mm_srli_epi16(_mm_adds_epu16(sum, four), 3);
    DWORD packed = static_cast<DWORD>(_mm_cvtsi128_si32(_mm_packus_epi16(sum, zero)));
    std::memcpy(out, &packed, 4);
  });
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
void Bicubic8(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  const CubicTable& t = CoarseCubic();
  Walk<true>(ax, ay, dst, replace, [&](int k, int j, BYTE* out) {
    const int* wx = &t.fixed[ax.cubicFraction[k] * 4];
    const int* wy = &t.fixed[ay.cubicFraction[j] * 4];
    for (int c = 0; c < 4; ++c) {
      int vertical = 0;
      for (int r = 0; r < 4; ++r) {
        const BYTE* row = src.Row(ay.cubicIndex[j * 4 + r]);
        int h = 0;
        for (int i = 0; i < 4; ++i) h += wx[i] * row[4 * ax.cubicIndex[k * 4 + i] + c];
        vertical += wy[r] * ((h + 8192) >> 14);
      }
      out[c] = Clamp255((vertical + 8192) >> 14);
    }
  });
}

void BicubicFloat(const Axis& ax, const Axis& ay, const Plane& dst, const Plane& src, bool replace) {
  const CubicTable& t = CoarseCubic();
  Walk<false>(ax, ay, dst, replace, [&](int k, int j, float* out) {
    const float* wx = &t.weights[ax.cubicFraction[k] * 4];
    const float* wy = &t.weights[ay.cubicFraction[j] * 4];
    for (int c = 0; c < 4; ++c) {
      float vertical = 0;
      for (int r = 0; r < 4; ++r) {
        const float* row = FloatRow(src.Row(ay.cubicIndex[j * 4 + r]));
        float h = 0;
        for (int i = 0; i < 4; ++i) h += wx[i] * row[4 * ax.cubicIndex[k * 4 + i] + c];
        vertical += wy[r] * h;
      }
      out[c] = vertical;
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
    case Kernel::Bicubic: return eight ? Bicubic8 : BicubicFloat;
    case Kernel::Area: return eight ? (narrow ? Area8<uint32_t> : Area8<uint64_t>) : AreaFloat;
    case Kernel::AreaThenLinear:
      return eight ? (narrow ? Mixed8<uint32_t, false, true> : Mixed8<uint64_t, false, true>)
                   : MixedFloat<false, true>;
    case Kernel::LinearThenArea:
      return eight ? (narrow ? Mixed8<uint32_t, false, false> : Mixed8<uint64_t, false, false>)
                   : MixedFloat<false, false>;
    case Kernel::AreaThenCubic:
      return eight ? (narrow ? Mixed8<uint32_t, true, true> : Mixed8<uint64_t, true, true>) : MixedFloat<true, true>;
    case Kernel::CubicThenArea:
      return eight ? (narrow ? Mixed8<uint32_t, true, false> : Mixed8<uint64_t, true, false>)
                   : MixedFloat<true, false>;
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
  PlanAxis(ax, p.dstFinal.left, p.dstFinal.right, p.srcFinal.left, p.srcFinal.right, p.stepX, p.scaleX, src.width,
           area, cubic);
  PlanAxis(ay, p.dstFinal.top, p.dstFinal.bottom, p.srcFinal.top, p.srcFinal.bottom, p.stepY, p.scaleY, src.height,
           area, cubic);
  Pick(kernel, eightBit, NarrowAccumulatorFits(kernel, p.scaleX, p.scaleY))(ax, ay, dst, src, replaceEdges);
  return S_OK;
}

}  // namespace zq::dib
