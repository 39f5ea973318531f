// Image filters against models written here pixel by pixel from the
// rules: neighbourhoods clamped at the region's edges, sums in 64 bits,
// the dither's error shares, the fields by parity.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "dib_test_support.h"
#include "zq/dib.h"
#include "zq/dibfilter.h"

namespace {

// A raw buffer of 4- or 16-byte pixels with random content.
struct Raw {
  int width, height, bytes;
  std::vector<BYTE> data;
  Raw(int w, int h, int b, std::mt19937& rng) : width(w), height(h), bytes(b), data(static_cast<size_t>(w) * h * b) {
    if (b == 4) {
      for (auto& v : data) v = static_cast<BYTE>(rng());
    } else {
      std::uniform_real_distribution<float> level(-0.5f, 1.5f);
      auto* f = reinterpret_cast<float*>(data.data());
      for (size_t i = 0; i < data.size() / 4; ++i) f[i] = level(rng);
    }
  }
  int Stride() const { return width * bytes; }
  RECT Bounds() const { return RECT{0, 0, width, height}; }
  BYTE* At(int x, int y) { return data.data() + static_cast<size_t>(y) * Stride() + static_cast<size_t>(x) * bytes; }
  const BYTE* At(int x, int y) const {
    return data.data() + static_cast<size_t>(y) * Stride() + static_cast<size_t>(x) * bytes;
  }
};

// The 3 x 3 model: the neighbour at (x + i, y + j) of a region, clamped.
template <typename Weight>
void ModelNeighbourhood(Raw& dst, const RECT& d, const Raw& src, const RECT& s, Weight weigh) {
  const int w = s.right - s.left, h = s.bottom - s.top;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 4; ++c) {
        double sums[2] = {0, 0};
        long long sum = 0;
        for (int j = -1; j <= 1; ++j)
          for (int i = -1; i <= 1; ++i) {
            const int sx = s.left + std::min(std::max(x + i, 0), w - 1);
            const int sy = s.top + std::min(std::max(y + j, 0), h - 1);
            if (src.bytes == 4) sum += weigh(i, j) * static_cast<long long>(src.At(sx, sy)[c]);
            else sums[0] += weigh(i, j) * reinterpret_cast<const float*>(src.At(sx, sy))[c];
          }
        (void)sums;
        weigh.Store(dst.At(d.left + x, d.top + y), c, sum, sums[0]);
      }
}

struct BlurWeights {
  long long operator()(int i, int j) const { return (i == 0 ? 2 : 1) * (j == 0 ? 2 : 1); }
  void Store(BYTE* p, int c, long long sum, double) const { p[c] = static_cast<BYTE>(sum >> 4); }
};

struct KernelWeights {
  const LONG* kernel;
  LONG divisor;
  long long operator()(int i, int j) const { return kernel[(j + 1) * 3 + (i + 1)]; }
  void Store(BYTE* p, int c, long long sum, double) const {
    const long long v = sum / divisor;
    p[c] = static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v);
  }
};

TEST(DibFilters, BlurAndConvolutionEqualTheModelOnEveryRegion) {
  std::mt19937 rng(21);
  const LONG identity[9] = {0, 0, 0, 0, 1, 0, 0, 0, 0}, negative[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1},
             huge[9] = {INT_MAX, INT_MIN, INT_MAX, 7, INT_MAX, -3, INT_MIN, 5, INT_MAX},
             sharpen[9] = {0, -1, 0, -1, 5, -1, 0, -1, 0};
  const struct {
    const LONG* kernel;
    LONG divisor;
  } kernels[] = {{identity, 1}, {negative, 1}, {huge, 1000000}, {sharpen, 1}, {sharpen, -3}, {huge, -7}};
  const RECT rects[] = {{0, 0, 23, 17}, {3, 2, 20, 9}, {0, 0, 1, 1}, {5, 5, 7, 6}, {-4, -4, 40, 40}};
  for (const RECT& rect : rects) {
    Raw src(23, 17, 4, rng), dst(23, 17, 4, rng);
    RECT d = rect, s = rect;
    const RECT b = src.Bounds();
    IntersectRect(&d, &d, &b);
    IntersectRect(&s, &s, &b);
    Raw expected = dst;
    ModelNeighbourhood(expected, d, src, s, BlurWeights{});
    ASSERT_EQ(ZqDibBlur(dst.data.data(), &b, dst.Stride(), &rect, src.data.data(), &b, src.Stride(), &rect, 4), S_OK);
    EXPECT_EQ(dst.data, expected.data) << "blur " << rect.left << "," << rect.top;
    for (const auto& k : kernels) {
      Raw out = dst, model = dst;
      ModelNeighbourhood(model, d, src, s, KernelWeights{k.kernel, k.divisor});
      ASSERT_EQ(ZqDib3x3Convolution(out.data.data(), &b, out.Stride(), &rect, src.data.data(), &b, src.Stride(),
                                    &rect, 4, k.kernel, k.divisor),
                S_OK);
      EXPECT_EQ(out.data, model.data) << "divisor " << k.divisor;
    }
    // In place: the result of reading the untouched source.
    Raw inPlace = src;
    ASSERT_EQ(ZqDibBlur(inPlace.data.data(), &b, inPlace.Stride(), &rect, inPlace.data.data(), &b, inPlace.Stride(),
                        &rect, 4),
              S_OK);
    Raw aside = src;
    ModelNeighbourhood(aside, d, src, s, BlurWeights{});
    EXPECT_EQ(inPlace.data, aside.data);
  }
  // Identity copies float pixels; a uniform region blurs to itself.
  Raw f(9, 7, 16, rng), g(9, 7, 16, rng);
  const RECT fb = f.Bounds();
  ASSERT_EQ(ZqDib3x3Convolution(g.data.data(), &fb, g.Stride(), nullptr, f.data.data(), &fb, f.Stride(), nullptr, 16,
                                identity, 1),
            S_OK);
  EXPECT_EQ(g.data, f.data);
  for (size_t i = 0; i < f.data.size() / 4; ++i) reinterpret_cast<float*>(f.data.data())[i] = 0.375f;
  ASSERT_EQ(ZqDibBlur(g.data.data(), &fb, g.Stride(), nullptr, f.data.data(), &fb, f.Stride(), nullptr, 16), S_OK);
  EXPECT_EQ(g.data, f.data);
  // A divisor of 0 divides nothing and writes nothing.
  Raw before = g;
  EXPECT_EQ(ZqDib3x3Convolution(g.data.data(), &fb, g.Stride(), nullptr, f.data.data(), &fb, f.Stride(), nullptr, 16,
                                identity, 0),
            E_INVALIDARG);
  EXPECT_EQ(ZqDib3x3Convolution(g.data.data(), &fb, g.Stride(), nullptr, f.data.data(), &fb, f.Stride(), nullptr, 16,
                                nullptr, 1),
            E_INVALIDARG);
  EXPECT_EQ(g.data, before.data);
}

TEST(DibFilters, InterlaceFilterAndDitherEqualTheModel) {
  std::mt19937 rng(5);
  for (const RECT& rect : {RECT{0, 0, 31, 13}, RECT{2, 1, 30, 12}, RECT{0, 0, 31, 1}, RECT{4, 4, 6, 13}}) {
    Raw image(31, 13, 4, rng);
    const RECT b = image.Bounds();
    Raw expected = image;
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        for (int c = 0; c < 4; ++c) {
          const int above = std::max<int>(y - 1, rect.top), below = std::min<int>(y + 1, rect.bottom - 1);
          expected.At(x, y)[c] =
              static_cast<BYTE>((image.At(x, above)[c] + 2 * image.At(x, y)[c] + image.At(x, below)[c]) / 4);
        }
    ASSERT_EQ(ZqDibInterlaceFilter(image.data.data(), 31, 13, image.Stride(), &rect, 0, 4), S_OK);
    EXPECT_EQ(image.data, expected.data) << rect.left << "," << rect.top << " " << rect.right << "," << rect.bottom;

    // Dither: error spread as the rules have it, written in another shape.
    Raw src(31, 13, 4, rng), dst(31, 13, 4, rng);
    Raw model = dst;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    std::vector<std::vector<LONG>> grey(h, std::vector<LONG>(w));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const BYTE* p = src.At(rect.left + x, rect.top + y);
        grey[y][x] = (p[0] + p[1] + p[2]) / 3;
      }
    for (int y = 0; y + 1 < h; ++y)
      for (int x = 1; x + 1 < w; ++x) {
        const LONG n = grey[y][x];
        const bool white = n > 126;
        const LONG e = white ? n - 255 : n;
        const DWORD colour = white ? 0xFFFFFFFFu : 0u;
        memcpy(model.At(rect.left + x, rect.top + y), &colour, 4);
        grey[y][x + 1] += e * 7 / 16;
        grey[y + 1][x - 1] += e * 3 / 16;
        grey[y + 1][x] += e * 5 / 16;
        grey[y + 1][x + 1] += e - e * 7 / 16 - e * 3 / 16 - e * 5 / 16;
      }
    ASSERT_EQ(ZqDibBiLevelDither(dst.data.data(), &b, dst.Stride(), &rect, src.data.data(), &b, src.Stride(), &rect, 4),
              S_OK);
    EXPECT_EQ(dst.data, model.data);
  }
  // Two columns leave nothing to write; float pixels are not filtered.
  Raw src(2, 5, 4, rng), dst(2, 5, 4, rng);
  Raw before = dst;
  const RECT b = src.Bounds();
  EXPECT_EQ(ZqDibBiLevelDither(dst.data.data(), &b, dst.Stride(), nullptr, src.data.data(), &b, src.Stride(), nullptr, 4),
            S_OK);
  EXPECT_EQ(dst.data, before.data);
  Raw f(4, 4, 16, rng);
  EXPECT_EQ(ZqDibInterlaceFilter(f.data.data(), 4, 4, f.Stride(), nullptr, 0, 16), E_NOTIMPL);
}

TEST(DibFilters, ChannelBlurFillsThenEnlargesTheReducedChannel) {
  std::mt19937 rng(8);
  Raw src(40, 24, 4, rng);
  const RECT b = src.Bounds();
  const DWORD black = 0xFF000000u;
  // Amount 0 (and NaN, and below 0) leaves only the opaque black fill.
  for (double amount : {0.0, -3.0, std::nan("")}) {
    Raw dst(40, 24, 4, rng);
    ASSERT_EQ(ZqDibChannelBlur(dst.data.data(), &b, dst.Stride(), nullptr, 2, src.data.data(), &b, src.Stride(),
                               nullptr, 1, 4, amount),
              S_OK);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 40; ++x) ASSERT_EQ(memcmp(dst.At(x, y), &black, 4), 0) << amount;
  }
  // Amount 0.75: the green channel reduced to 10 x 6 by 4 x 4 blocks,
  // enlarged with 18.14 steps into red; the other channels stay black.
  Raw dst(40, 24, 4, rng);
  ASSERT_EQ(ZqDibChannelBlur(dst.data.data(), &b, dst.Stride(), nullptr, 2, src.data.data(), &b, src.Stride(),
                             nullptr, 1, 4, 0.75),
            S_OK);
  int small[6][10];
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) {
      int sum = 0;
      for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) sum += src.At(4 * x + i, 4 * y + j)[1];
      small[y][x] = sum / 16;
    }
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 40; ++x) {
      const long long px = x * (9 * 16384LL / 39), py = y * (5 * 16384LL / 23);
      const int x0 = static_cast<int>(px >> 14), y0 = static_cast<int>(py >> 14);
      const int x1 = std::min(x0 + 1, 9), y1 = std::min(y0 + 1, 5);
      const long long fx = px & 16383, fy = py & 16383;
      const long long top = (small[y0][x0] * (16384 - fx) + small[y0][x1] * fx) >> 14;
      const long long bottom = (small[y1][x0] * (16384 - fx) + small[y1][x1] * fx) >> 14;
      const BYTE* p = dst.At(x, y);
      ASSERT_EQ(p[2], (top * (16384 - fy) + bottom * fy) >> 14) << x << "," << y;
      ASSERT_EQ(p[0] | p[1], 0);
      ASSERT_EQ(p[3], 255);
    }
  // Regions of one and two pixels, and amounts past 1, divide by nothing.
  for (const RECT& r : {RECT{0, 0, 1, 1}, RECT{0, 0, 2, 2}, RECT{0, 0, 1, 24}, RECT{0, 0, 40, 2}})
    for (double amount : {0.5, 1.0, 7.0})
      EXPECT_EQ(ZqDibChannelBlur(dst.data.data(), &b, dst.Stride(), &r, 0, src.data.data(), &b, src.Stride(), &r, 3, 4,
                                 amount),
                S_OK);
  EXPECT_EQ(ZqDibChannelBlur(dst.data.data(), &b, dst.Stride(), nullptr, 4, src.data.data(), &b, src.Stride(), nullptr,
                             0, 4, 0.5),
            E_INVALIDARG);
}

TEST(DibFilters, FieldsMergeEveryByteAndDeinterlaceByParity) {
  std::mt19937 rng(13);
  // Rows of 1-, 2- and 4-bit images end in a partial byte: it is copied.
  for (int type : {ZqPixel_Gray1, ZqPixel_Gray2, ZqPixel_Gray4, ZqPixel_Pal4, ZqPixel_Rgb24}) {
    dibtest::TestImage dst(type, 13, 6, dibtest::PaletteFor(type, rng)), src(type, 13, 6, dibtest::PaletteFor(type, rng));
    dst.Randomise(rng);
    src.Randomise(rng);
    const int rowBytes = (13 * dibmodel::Bits(type) + 7) / 8;
    std::vector<std::vector<BYTE>> expected;
    for (int y = 0; y < 6; ++y) {
      const BYTE* from = (y % 2 == 0 ? src : dst).Row(y);
      expected.emplace_back(from, from + rowBytes);
    }
    ASSERT_EQ(ZqDibMergeFields(dst.Header(), nullptr, 0, src.Header(), nullptr, 0, 1, 0), S_OK);
    for (int y = 0; y < 6; ++y) EXPECT_EQ(std::vector<BYTE>(dst.Row(y), dst.Row(y) + rowBytes), expected[y]) << type;
  }
  dibtest::TestImage tall(ZqPixel_Rgb24, 13, 7), wide(ZqPixel_Rgb24, 13, 6);
  EXPECT_EQ(ZqDibMergeFields(tall.Header(), nullptr, 0, wide.Header(), nullptr, 0, 0, 0), E_NOTIMPL);

  // De-interlacing: field 0 kept; the other rows the mean of their neighbours.
  dibtest::TestImage src(ZqPixel_Rgba32, 8, 9), dst(ZqPixel_Rgba32, 8, 9);
  src.Randomise(rng);
  ASSERT_EQ(ZqDibCopyInterlace(dst.Header(), nullptr, nullptr, 0, src.Header(), nullptr, nullptr, 0, 0, 0), S_OK);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 8 * 4; ++x) {
      const int above = y > 0 ? y - 1 : 1, below = y < 8 ? y + 1 : 7;
      const int expected = (y % 2 == 1) ? src.Row(y)[x] : (src.Row(above)[x] + src.Row(below)[x]) / 2;
      ASSERT_NEAR(dst.Row(y)[x], expected, 0) << x << "," << y;
    }
  const RECT a{0, 0, 4, 4}, c{0, 0, 5, 4};
  EXPECT_EQ(ZqDibCopyInterlace(dst.Header(), nullptr, &a, 0, src.Header(), nullptr, &c, 0, 0, 0), E_NOTIMPL);
  EXPECT_EQ(ZqDibLine(nullptr, nullptr, 0, nullptr, 4, 0, 0, 1, 1, 1, 1, 1, 1, 0), E_NOTIMPL);
  EXPECT_EQ(ZqDibChannelLine(nullptr, nullptr, 0, nullptr, 4, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0), E_NOTIMPL);
}

TEST(DibFilters, PaletteQuantizerCoversTheUsedColours) {
  // Black and white: one box at each end of the cube.
  dibtest::TestImage two(ZqPixel_Rgb24, 4, 2), palette(ZqPixel_Pal8, 1, 1, std::vector<RGBQUAD>(2));
  memset(two.Row(0), 0xFF, 12);
  memset(two.Row(1), 0x00, 12);
  ASSERT_EQ(ZqDibQuantizePalette(palette.Header(), two.Header(), nullptr, nullptr, 0, 0), S_OK);
  const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(palette.Header() + 1);
  EXPECT_EQ(table[0].rgbRed | table[0].rgbGreen | table[0].rgbBlue, 0);
  EXPECT_EQ(table[1].rgbRed, 248);
  EXPECT_EQ(table[1].rgbGreen, 248);
  EXPECT_EQ(table[1].rgbBlue, 248);

  // Many colours into 16 entries: no more entries than room, each a cell
  // middle (a multiple of 8).
  std::mt19937 rng(3);
  dibtest::TestImage photo(ZqPixel_Rgb24, 64, 48), sixteen(ZqPixel_Pal4, 1, 1, std::vector<RGBQUAD>(16));
  photo.Randomise(rng);
  ASSERT_EQ(ZqDibQuantizePalette(sixteen.Header(), photo.Header(), nullptr, nullptr, 0, 0), S_OK);
  table = reinterpret_cast<const RGBQUAD*>(sixteen.Header() + 1);
  int nonBlack = 0;
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ((table[i].rgbRed | table[i].rgbGreen | table[i].rgbBlue) % 8, 0);
    nonBlack += (table[i].rgbRed | table[i].rgbGreen | table[i].rgbBlue) != 0;
  }
  EXPECT_GT(nonBlack, 1);
  EXPECT_EQ(ZqDibQuantizePalette(photo.Header(), photo.Header(), nullptr, nullptr, 0, 0), E_NOTIMPL);
  sixteen.Header()->biClrUsed = 0;
  EXPECT_EQ(ZqDibQuantizePalette(sixteen.Header(), photo.Header(), nullptr, nullptr, 0, 0), E_INVALIDARG);
  const RECT outside{100, 100, 120, 120};
  EXPECT_EQ(ZqDibQuantizePalette(sixteen.Header(), photo.Header(), nullptr, &outside, 0, 0), S_OK);
}

}  // namespace
