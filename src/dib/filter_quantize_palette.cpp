// The palette quantizer: a colour table for a palette image from the
// colours of another image, by covering the used cells of a 5:5:5
// histogram with boxes that grow with brightness. Every covering trial
// starts from a clean set of marks, so no trial sees another's boxes.
#include <cstdint>
#include <cstring>
#include <vector>

#include "dib/dib_internal.h"
#include "dib/pixel_kernels.h"
#include "zq/dib.h"
#include "zq/dibfilter.h"

namespace {
using namespace zq::dib;

constexpr int kSide = 32;
inline int Cell(int r, int g, int b) { return r << 10 | g << 5 | b; }

struct Shape {
  int red, green, blue;
};

class Histogram {
 public:
  Histogram() : used_(kSide * kSide * kSide, 0), covered_(kSide * kSide * kSide, 0) {}
  void Use(int cell) { used_[cell] = 1; }

  // Covers the used cells with boxes of `shape`; `box(r0, g0, b0, r1, g1,
  // b1)` sees each box as it is placed (half-open cell ranges). Returns the
  // number of boxes.
  template <typename Box>
  int Cover(const Shape& shape, Box box) {
    ++stamp_;  // a fresh set of marks
    int boxes = 0;
    for (int r = 0; r < kSide; ++r)
      for (int g = 0; g < kSide; ++g)
        for (int b = 0; b < kSide; ++b) {
          const int cell = Cell(r, g, b);
          if (!used_[cell] || covered_[cell] == stamp_) continue;
          const int grow = 96 + r + g + b;
          const int r1 = Limit(r + shape.red * grow / 96), g1 = Limit(g + shape.green * grow / 96),
                    b1 = Limit(b + shape.blue * grow / 96);
          box(r, g, b, r1, g1, b1);
          for (int i = r; i < r1; ++i)
            for (int j = g; j < g1; ++j)
              for (int k = b; k < b1; ++k) covered_[Cell(i, j, k)] = stamp_;
          ++boxes;
        }
    return boxes;
  }
  bool Used(int cell) const { return used_[cell] != 0; }
  bool CoveredNow(int cell) const { return covered_[cell] == stamp_; }

 private:
  static int Limit(int v) { return v < kSide ? v : kSide; }
  std::vector<BYTE> used_;
  std::vector<uint16_t> covered_;
  uint16_t stamp_ = 0;
};

// The shape with the most boxes that still fit `entries`, for the smallest
// side that fits at all.
Shape ChooseShape(Histogram& histogram, int entries) {
  for (int g = 2;; ++g) {
    const int l = g - 1;
    const Shape shapes[7] = {{g, l, l}, {l, g, l}, {l, l, g}, {g, g, l}, {g, l, g}, {l, g, g}, {g, g, g}};
    int best = -1, bestCount = 0;
    for (int i = 0; i < 7; ++i) {
      const int count = histogram.Cover(shapes[i], [](int, int, int, int, int, int) {});
      if (count <= entries && count > bestCount) {
        best = i;
        bestCount = count;
      }
    }
    if (best >= 0) return shapes[best];
    if (g > kSide) return Shape{kSide + 1, kSide + 1, kSide + 1};  // one box holds every cell
  }
}

}  // namespace

ZQAPI HRESULT WINAPI ZqDibQuantizePalette(BITMAPINFOHEADER* paletteHeader, const BITMAPINFOHEADER* srcHeader,
                                          const void* srcBits, const RECT* rect, int srcStride,
                                          DWORD flags) noexcept {
  if (!paletteHeader || !srcHeader) return E_INVALIDARG;
  Image src;
  HRESULT hr = OpenImage(srcHeader, srcBits, srcStride, &src);
  if (FAILED(hr)) return hr;
  const RECT region = Intersect(rect ? *rect : src.Bounds(), src.Bounds());
  if (IsEmpty(region)) return S_OK;
  const int paletteType = ZqGetPixelType(paletteHeader);
  if (paletteType != ZqPixel_Pal4 && paletteType != ZqPixel_Pal8) return E_NOTIMPL;
  const int entries = static_cast<int>(paletteHeader->biClrUsed);
  if (entries <= 0) return E_INVALIDARG;
  const int room = TableEntries(paletteHeader);  // never more than the type holds
  RGBQUAD* table = const_cast<RGBQUAD*>(ColourTable(paletteHeader));
  try {
    Histogram histogram;
    ZQXCHGSET set;
    hr = PrepareExchange(ZqPixel_Rgba64, src.type, flags, &set, nullptr);
    if (FAILED(hr)) return hr;
    AttachImages(set, src, src, nullptr);
    for (LONG y = region.top; y < region.bottom; ++y)
      for (LONG x = region.left; x < region.right; ++x) {
        const long long bit = static_cast<long long>(x) * src.bpp;
        const ZQWIDEPIXEL p = ExpandPixel(src.type, src.Row(y) + (bit >> 3), static_cast<int>(bit & 7), set);
        histogram.Use(Cell(p.red >> 11, p.green >> 11, p.blue >> 11));
      }
    const Shape shape = ChooseShape(histogram, entries < room ? entries : room);
    // One entry a box: each channel the middle of the lowest and highest
    // used cells the box newly covers.
    int written = 0;
    histogram.Cover(shape, [&](int r0, int g0, int b0, int r1, int g1, int b1) {
      int low[3] = {kSide, kSide, kSide}, high[3] = {-1, -1, -1};
      for (int i = r0; i < r1; ++i)
        for (int j = g0; j < g1; ++j)
          for (int k = b0; k < b1; ++k) {
            const int cell = Cell(i, j, k);
            if (!histogram.Used(cell) || histogram.CoveredNow(cell)) continue;
            const int at[3] = {i, j, k};
            for (int c = 0; c < 3; ++c) {
              if (at[c] < low[c]) low[c] = at[c];
              if (at[c] > high[c]) high[c] = at[c];
            }
          }
      if (written < room) {
        RGBQUAD& e = table[written++];
        e.rgbRed = static_cast<BYTE>(((low[0] + high[0]) >> 1) << 3);
        e.rgbGreen = static_cast<BYTE>(((low[1] + high[1]) >> 1) << 3);
        e.rgbBlue = static_cast<BYTE>(((low[2] + high[2]) >> 1) << 3);
        e.rgbReserved = 0;
      }
    });
    for (int i = written; i < room; ++i) table[i] = RGBQUAD{0, 0, 0, 0};
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}
