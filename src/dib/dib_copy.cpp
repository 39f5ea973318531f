// Format-converting copy between any two pixel types: unscaled rows,
// nearest-pixel scaling with 18.14 steps, and the feathered copy that
// fades the enabled edges into the destination.
#include <climits>
#include <cstring>
#include <vector>

#include "dib/dib_internal.h"
#include "dib/pixel_kernels.h"

namespace zq::dib {
namespace {

constexpr int64_t kOne = 16384;       // one pixel in 18.14
constexpr int kMaxSubPixel = 131071;  // largest size whose 18.14 form fits 32 bits

inline int Width(const RECT& r) noexcept { return r.right - r.left; }
inline int Height(const RECT& r) noexcept { return r.bottom - r.top; }

inline BYTE FloatToByte(float f) noexcept {
  float x = f * 255.0f;
  if (!(x > 0.0f)) return 0;
  if (x >= 255.0f) return 255;
  return static_cast<BYTE>(x);
}

// Gathers four single reads: each lands in working pixel 0 and is kept
// aside until the four are placed for the four-pixel writer.
struct Gather {
  ZQWIDEPIXEL wide[4];
  ZQRGBA narrow[4];
  void Keep(const ZQXCHGSET& set, int k) noexcept {
    if (set.flags & ZQXCHG_WIDE)
      wide[k] = set.work.wide[0];
    else
      narrow[k] = set.work.narrow[0];
  }
  void Place(ZQXCHGSET& set) const noexcept {
    if (set.flags & ZQXCHG_WIDE)
      std::memcpy(set.work.wide, wide, sizeof(wide));
    else
      std::memcpy(set.work.narrow, narrow, sizeof(narrow));
  }
};

// Source column (or row) for each destination column: 18.14 positions in
// 64 bits; the last one always reads the last source column.
std::vector<int> NearestIndices(int sourceSize, int destinationSize, DWORD quality) {
  int64_t step;
  if (quality >= 3)
    step = destinationSize > 1 ? (sourceSize - 1) * kOne / (destinationSize - 1) : (sourceSize - 1) * kOne;
  else
    step = sourceSize * kOne / destinationSize;
  std::vector<int> index(destinationSize);
  for (int i = 0; i < destinationSize; ++i) index[i] = static_cast<int>(i * step / kOne);
  index[destinationSize - 1] = sourceSize - 1;
  return index;
}

struct CopyJob {
  const Image& dst;
  RECT d;
  const Image& src;
  RECT s;
  DWORD flags;
  const BYTE* quantizer;
};

// Equal sizes, pairs with a rule of their own or a whole-row conversion.
// Rows go bottom of the picture first: ascending addresses.
bool SpecialRows(const CopyJob& job) {
  const Image &dst = job.dst, &src = job.src;
  int w = Width(job.d), h = Height(job.d);
  bool dst32 = dst.type == ZqPixel_Rgb32 || dst.type == ZqPixel_Rgba32;
  RowConvert row = nullptr;
  if (src.type == ZqPixel_RgbaFloat && dst32) {
    for (int j = h - 1; j >= 0; --j) {
      const BYTE* s = src.Row(job.s.top + j) + static_cast<ptrdiff_t>(job.s.left) * 16;
      BYTE* d = dst.Row(job.d.top + j) + static_cast<ptrdiff_t>(job.d.left) * 4;
      for (int i = 0; i < w * 4; ++i) {
        float f;
        std::memcpy(&f, s + 4 * i, 4);
        d[i] = FloatToByte(f);
      }
    }
    return true;
  }
  if (src.type == ZqPixel_Rgb24 && dst32) {
    for (int j = h - 1; j >= 0; --j) {
      const BYTE* s = src.Row(job.s.top + j) + static_cast<ptrdiff_t>(job.s.left) * 3;
      BYTE* d = dst.Row(job.d.top + j) + static_cast<ptrdiff_t>(job.d.left) * 4;
      int i = 0;
      for (; i + 4 <= w; i += 4, s += 12, d += 16) {
        DWORD a, b, c;
        std::memcpy(&a, s, 4);
        std::memcpy(&b, s + 4, 4);
        std::memcpy(&c, s + 8, 4);
        DWORD p[4] = {a | 0xFF000000u, (a >> 24) | (b << 8) | 0xFF000000u, (b >> 16) | (c << 16) | 0xFF000000u,
                      (c >> 8) | 0xFF000000u};
        std::memcpy(d, p, 16);
      }
      for (; i < w; ++i, s += 3, d += 4) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        d[3] = 255;
      }
    }
    return true;
  }
  if (src.type == dst.type && src.bpp > 8) {
    size_t bytes = static_cast<size_t>(w) * (src.bpp / 8);
    for (int j = h - 1; j >= 0; --j)
      std::memmove(dst.Row(job.d.top + j) + static_cast<ptrdiff_t>(job.d.left) * (dst.bpp / 8),
                   src.Row(job.s.top + j) + static_cast<ptrdiff_t>(job.s.left) * (src.bpp / 8), bytes);
    return true;
  }
  if ((row = FastRowPath(dst.type, src.type, EffectiveFlags(job.flags))) != nullptr) {
    // Whole rows without padding on both sides, bottom-up: the rows follow
    // one another in memory as one row of w x h pixels.
    if (dst.stride == w * (dst.bpp / 8) && src.stride == w * (src.bpp / 8) && static_cast<int64_t>(w) * h <= INT_MAX) {
      row(dst.Row(job.d.top + h - 1), src.Row(job.s.top + h - 1), w * h);
      return true;
    }
    for (int j = h - 1; j >= 0; --j)
      row(dst.Row(job.d.top + j) + static_cast<ptrdiff_t>(job.d.left) * (dst.bpp / 8),
          src.Row(job.s.top + j) + static_cast<ptrdiff_t>(job.s.left) * (src.bpp / 8), w);
    return true;
  }
  return false;
}

HRESULT PlainCopy(const CopyJob& job) {
  int dw = Width(job.d), dh = Height(job.d), sw = Width(job.s), sh = Height(job.s);
  if (dw == sw && dh == sh && SpecialRows(job)) return S_OK;
  ZQXCHGSET set;
  HRESULT hr = PrepareExchange(job.dst.type, job.src.type, job.flags, &set, nullptr);
  if (FAILED(hr)) return hr;
  AttachImages(set, job.dst, job.src, job.quantizer);
  if (dw == sw && dh == sh) {
    for (int j = 0; j < dh; ++j) {
      SetSource(set, job.src.Row(job.s.top + j), job.s.left, job.src.bpp);
      SetDestination(set, job.dst.Row(job.d.top + j), job.d.left, job.dst.bpp);
      for (int i = dw / 4; i > 0; --i) {
        set.read4(&set);
        set.write4(&set);
      }
      for (int i = dw % 4; i > 0; --i) {
        set.read1(&set);
        set.write1(&set);
      }
    }
    return S_OK;
  }
  DWORD quality = job.flags & ZQDIB_QUALITY_MASK;
  std::vector<int> columns = NearestIndices(sw, dw, quality), rows = NearestIndices(sh, dh, quality);
  for (int j = 0; j < dh; ++j) {
    const BYTE* srcRow = job.src.Row(job.s.top + rows[j]);
    SetDestination(set, job.dst.Row(job.d.top + j), job.d.left, job.dst.bpp);
    int i = 0;
    Gather four;
    for (; i + 4 <= dw; i += 4) {
      for (int k = 0; k < 4; ++k) {
        SetSource(set, srcRow, job.s.left + columns[i + k], job.src.bpp);
        set.read1(&set);
        four.Keep(set, k);
      }
      four.Place(set);
      set.write4(&set);
    }
    for (; i < dw; ++i) {
      SetSource(set, srcRow, job.s.left + columns[i], job.src.bpp);
      set.read1(&set);
      set.write1(&set);
    }
  }
  return S_OK;
}

// Weight (0..65535) of a pixel `distance` pixels inside an edge whose
// feather zone is `width` pixels deep; full weight beyond the zone.
inline DWORD EdgeWeight(int distance, int width) noexcept {
  if (width <= 0 || distance >= width) return 65535;
  return static_cast<DWORD>(65535 / (width + 1) * (distance + 1));
}

// The feather width in destination pixels along one axis.
int FeatherWidth(DWORD flags, int sourceSize, int destinationSize) noexcept {
  int64_t d = (flags & ZQDIB_PARAM_MASK) >> ZQDIB_PARAM_SHIFT;
  return static_cast<int>(d * destinationSize / sourceSize);
}

HRESULT FeatherCopy(const CopyJob& job) {
  int dw = Width(job.d), dh = Height(job.d), sw = Width(job.s), sh = Height(job.s);
  ZQXCHGSET copy, back;
  HRESULT hr = PrepareExchange(job.dst.type, job.src.type, job.flags, &copy, nullptr);
  if (FAILED(hr)) return hr;
  // The destination is read back through a second set in the same
  // working-pixel form, and blended with operation 3.
  DWORD blend[7] = {3, 0, 0, 0, 0, 0, 0};
  hr = PrepareExchange(job.dst.type, job.dst.type, job.flags | (copy.flags & ZQXCHG_WIDE), &back, blend);
  if (FAILED(hr)) return hr;
  AttachImages(copy, job.dst, job.src, job.quantizer);
  AttachImages(back, job.dst, job.dst, job.quantizer);
  bool wide = (copy.flags & ZQXCHG_WIDE) != 0;
  DWORD quality = job.flags & ZQDIB_QUALITY_MASK;
  std::vector<int> columns = NearestIndices(sw, dw, quality), rows = NearestIndices(sh, dh, quality);
  int fx = FeatherWidth(job.flags, sw, dw), fy = FeatherWidth(job.flags, sh, dh);
  DWORD edges = job.flags & ZQDIB_FEATHER_MASK;
  for (int j = 0; j < dh; ++j) {
    DWORD rowWeight = 65535;
    if (edges & ZQDIB_FEATHER_TOP) rowWeight = EdgeWeight(j, fy);
    if (edges & ZQDIB_FEATHER_BOTTOM) {
      DWORD w = EdgeWeight(dh - 1 - j, fy);
      if (w < rowWeight) rowWeight = w;
    }
    const BYTE* srcRow = job.src.Row(job.s.top + rows[j]);
    BYTE* dstRow = job.dst.Row(job.d.top + j);
    for (int i = 0; i < dw; ++i) {
      DWORD weight = rowWeight;
      if (edges & ZQDIB_FEATHER_LEFT) {
        DWORD w = EdgeWeight(i, fx);
        if (w < weight) weight = w;
      }
      if (edges & ZQDIB_FEATHER_RIGHT) {
        DWORD w = EdgeWeight(dw - 1 - i, fx);
        if (w < weight) weight = w;
      }
      SetSource(copy, srcRow, job.s.left + columns[i], job.src.bpp);
      copy.read1(&copy);
      if (weight < 65535) {
        SetSource(back, dstRow, job.d.left + i, job.dst.bpp);
        back.read1(&back);
        if (wide)
          back.work.wide[1] = copy.work.wide[0];
        else
          back.work.narrow[1] = copy.work.narrow[0];
        back.blendBlock[1] = weight;
        back.blend[0](&back);
        if (wide)
          copy.work.wide[0] = back.work.wide[0];
        else
          copy.work.narrow[0] = back.work.narrow[0];
      }
      SetDestination(copy, dstRow, job.d.left + i, job.dst.bpp);
      copy.write1(&copy);
    }
  }
  return S_OK;
}

RECT Scaled(const RECT& r, int64_t by) noexcept {
  return RECT{static_cast<LONG>(r.left * by), static_cast<LONG>(r.top * by), static_cast<LONG>(r.right * by),
              static_cast<LONG>(r.bottom * by)};
}
bool WholePixels(const RECT& r) noexcept { return ((r.left | r.top | r.right | r.bottom) & (kOne - 1)) == 0; }
bool ScalerPair(int a, int b) noexcept {
  bool a32 = a == ZqPixel_Rgb32 || a == ZqPixel_Rgba32, b32 = b == ZqPixel_Rgb32 || b == ZqPixel_Rgba32;
  return (a32 && b32) || (a == ZqPixel_RgbaFloat && b == ZqPixel_RgbaFloat);
}

// Sub-pixel copy between types the scalers do not take: the source image
// and the whole pixels under the destination rectangle go into working
// images the scalers take (8-bit when both types have at most 8 bits a
// channel, else float), are scaled there (edge pixels blending with what
// the destination held) and come back converted.
HRESULT SubPixelThroughWorkingImages(BITMAPINFOHEADER* dstHeader, const Image& dst, const RECT& d,
                                     const BITMAPINFOHEADER* srcHeader, const Image& src, const RECT& s, DWORD flags) {
  auto eightBit = [](int type) { return type >= ZqPixel_Pal4 && type <= ZqPixel_Rgba32; };
  int work = eightBit(dst.type) && eightBit(src.type) ? ZqPixel_Rgba32 : ZqPixel_RgbaFloat;
  RECT whole{static_cast<LONG>(d.left >> 14), static_cast<LONG>(d.top >> 14),
             static_cast<LONG>((static_cast<int64_t>(d.right) + kOne - 1) >> 14),
             static_cast<LONG>((static_cast<int64_t>(d.bottom) + kOne - 1) >> 14)};
  whole = Intersect(whole, dst.Bounds());
  if (IsEmpty(whole)) return S_OK;
  BITMAPINFOHEADER *from = nullptr, *to = nullptr;
  HRESULT hr = ZqDibAlloc(&from, work, src.width, src.height, nullptr, 0, 0);
  if (SUCCEEDED(hr)) hr = ZqDibAlloc(&to, work, whole.right - whole.left, whole.bottom - whole.top, nullptr, 0, 0);
  const DWORD convert = 4;  // 16-bit working pixel, exact expansion
  if (SUCCEEDED(hr)) hr = ZqDibCopy(from, nullptr, nullptr, 0, srcHeader, src.bits, nullptr, src.stride, convert);
  if (SUCCEEDED(hr)) hr = ZqDibCopy(to, nullptr, nullptr, 0, dstHeader, dst.bits, &whole, dst.stride, convert);
  if (SUCCEEDED(hr)) {
    Image a, b;
    OpenImage(from, nullptr, 0, &a);
    OpenImage(to, nullptr, 0, &b);
    SIZE fromSize{a.width, a.height}, toSize{b.width, b.height};
    RECT shifted{static_cast<LONG>(d.left - whole.left * kOne), static_cast<LONG>(d.top - whole.top * kOne),
                 static_cast<LONG>(d.right - whole.left * kOne), static_cast<LONG>(d.bottom - whole.top * kOne)};
    auto scale = (flags & ZQDIB_BICUBIC) ? ZqDibScale_BiCubicSubPixel : ZqDibScale_BilinearSubPixel;
    hr = scale(b.Row(0), &toSize, -b.stride, &shifted, a.Row(0), &fromSize, -a.stride, &s,
               work == ZqPixel_Rgba32 ? 4 : 16, (flags & ZQDIB_SHRINK_FILTER) != 0, (flags & ZQDIB_REPLACE_EDGES) != 0);
  }
  if (SUCCEEDED(hr)) hr = ZqDibCopy(dstHeader, dst.bits, &whole, dst.stride, to, nullptr, nullptr, 0, convert);
  ZqDibFree(from, 0);
  ZqDibFree(to, 0);
  return hr;
}
}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI HRESULT WINAPI ZqDibCopy(BITMAPINFOHEADER* dstHeader, void* dstBits, const RECT* dstRect, int dstStride,
                               const BITMAPINFOHEADER* srcHeader, const void* srcBits, const RECT* srcRect,
                               int srcStride, DWORD flags) noexcept {
  if (!dstHeader || !srcHeader) return E_INVALIDARG;
  Image dst, src;
  HRESULT hr = OpenImage(dstHeader, dstBits, dstStride, &dst);
  if (FAILED(hr)) return hr;
  hr = OpenImage(srcHeader, srcBits, srcStride, &src);
  if (FAILED(hr)) return hr;
  DWORD quality = flags & ZQDIB_QUALITY_MASK;
  bool scalers = quality >= 3 && ScalerPair(dst.type, src.type);
  RECT d, s;
  bool fractional = false;
  if (flags & ZQDIB_SUBPIXEL) {
    // 18.14 coordinates of larger images do not fit 32 bits.
    if (dst.width > kMaxSubPixel || dst.height > kMaxSubPixel || src.width > kMaxSubPixel || src.height > kMaxSubPixel)
      return E_INVALIDARG;
    d = dstRect ? *dstRect : Scaled(dst.Bounds(), kOne);
    s = srcRect ? *srcRect : Scaled(src.Bounds(), kOne);
    fractional = quality >= 3 && !(WholePixels(d) && WholePixels(s));
    if (!fractional) {
      d = Divided(d);
      s = Divided(s);
    }
  } else {
    d = dstRect ? *dstRect : dst.Bounds();
    s = srcRect ? *srcRect : src.Bounds();
  }
  if (scalers) {
    // Both images go to the scalers as their top row with a negative stride.
    SIZE dstSize{dst.width, dst.height}, srcSize{src.width, src.height};
    int bytes = dst.type == ZqPixel_RgbaFloat ? 16 : 4;
    BOOL shrink = (flags & ZQDIB_SHRINK_FILTER) != 0, replace = (flags & ZQDIB_REPLACE_EDGES) != 0;
    bool bicubic = (flags & ZQDIB_BICUBIC) != 0;
    auto scale = fractional ? (bicubic ? ZqDibScale_BiCubicSubPixel : ZqDibScale_BilinearSubPixel)
                            : (bicubic ? ZqDibScale_BiCubic : ZqDibScale_Bilinear);
    return scale(dst.Row(0), &dstSize, -dst.stride, &d, src.Row(0), &srcSize, -src.stride, &s, bytes, shrink, replace);
  }
  if (fractional) {
    try {
      return SubPixelThroughWorkingImages(dstHeader, dst, d, srcHeader, src, s, flags);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  PrepareRectPair(dst.Bounds(), d, src.Bounds(), s, nullptr);
  if (IsEmpty(d) || IsEmpty(s)) return S_OK;
  try {
    ScopedQuantizer quantizer;
    hr = quantizer.For(dst);
    if (FAILED(hr)) return hr;
    CopyJob job{dst, d, src, s, flags, quantizer.Cells()};
    return (flags & ZQDIB_FEATHER_MASK) ? FeatherCopy(job) : PlainCopy(job);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}
