// ZqDibCopy and ZqDibSet against the independent model: every pair of the
// 17 pixel types, unscaled and nearest-scaled, at each quality level; the
// feathered copy; sizes whose 18.14 positions need more than 32 bits.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "dib_model.h"
#include "dib_test_support.h"

namespace {

using dibtest::TestImage;

bool EffectiveExact(DWORD flags) {
  DWORD q = flags & 0xF;
  return q >= 1 && q <= 4 ? q >= 3 : (flags & ZQXCHG_EXACT) != 0;
}
bool Is32(int t) { return t == ZqPixel_Rgb32 || t == ZqPixel_Rgba32; }

// The bytes the destination should hold after the copy.
std::vector<BYTE> ModelCopy(const TestImage& dst, const std::vector<BYTE>& before, const RECT& d, const TestImage& src,
                            const RECT& s, DWORD flags) {
  std::vector<BYTE> out = before;
  auto row = [&](int y) { return out.data() + static_cast<size_t>(dst.Height() - 1 - y) * dst.Stride(); };
  int dw = d.right - d.left, dh = d.bottom - d.top, sw = s.right - s.left, sh = s.bottom - s.top;
  int quality = flags & 0xF;
  bool exact = EffectiveExact(flags);
  std::vector<BYTE> quantizer;
  if (dibmodel::IsPaletteType(dst.Type())) {
    dibmodel::Palette p = dst.Palette();
    quantizer = dibmodel::Quantizer(p.table, p.entries);
  }
  int dBits = dibmodel::Bits(dst.Type()), sBits = dibmodel::Bits(src.Type());
  if (dw == sw && dh == sh) {
    bool bytes = (dst.Type() == src.Type() && sBits > 8) ||
                 (quality >= 3 && ((Is32(dst.Type()) && Is32(src.Type())) ||
                                   (dst.Type() == ZqPixel_RgbaFloat && src.Type() == ZqPixel_RgbaFloat)));
    for (int j = 0; j < dh; ++j)
      for (int i = 0; i < dw; ++i) {
        const BYTE* sp = src.Row(s.top + j) + (s.left + i) * (sBits / 8);
        BYTE* dp = row(d.top + j) + (d.left + i) * (dBits / 8);
        if (bytes) {
          std::memcpy(dp, sp, dBits / 8);
        } else if (src.Type() == ZqPixel_RgbaFloat && Is32(dst.Type())) {
          for (int c = 0; c < 4; ++c) {
            float x = dibmodel::FloatAt(sp + 4 * c) * 255.0f;
            dp[c] = std::isnan(x) || x <= 0 ? 0 : x >= 255 ? 255 : static_cast<BYTE>(x);
          }
        } else {
          dibmodel::Wide w = dibmodel::Expand(src.Type(), src.Row(s.top + j), s.left + i, exact, src.Palette());
          dibmodel::Pack(dst.Type(), row(d.top + j), d.left + i, w, quantizer.data());
        }
      }
    return out;
  }
  std::vector<int> cols = dibmodel::NearestColumns(sw, dw, quality), rows = dibmodel::NearestColumns(sh, dh, quality);
  for (int j = 0; j < dh; ++j)
    for (int i = 0; i < dw; ++i) {
      dibmodel::Wide w = dibmodel::Expand(src.Type(), src.Row(s.top + rows[j]), s.left + cols[i], exact, src.Palette());
      dibmodel::Pack(dst.Type(), row(d.top + j), d.left + i, w, quantizer.data());
    }
  return out;
}

std::string PairName(int dst, int src, DWORD flags) {
  return "dst " + std::to_string(dst) + " src " + std::to_string(src) + " flags " + std::to_string(flags);
}

TEST(DibCopy, EveryPairOfTypesUnscaledEqualsTheModel) {
  std::mt19937 rng(19);
  const RECT s{1, 1, 12, 5}, d{2, 0, 13, 4};  // odd offsets reach every bit position of the small types
  for (DWORD flags : {0u, 1u, 2u, 3u, 4u}) {
    for (int st = 16; st <= 32; ++st)
      for (int dt = 16; dt <= 32; ++dt) {
        std::mt19937 local(rng());
        TestImage src(st, 14, 6, dibtest::PaletteFor(st, local)), dst(dt, 15, 5, dibtest::PaletteFor(dt, local));
        ASSERT_TRUE(src.Ok() && dst.Ok());
        src.Randomise(local);
        dst.Randomise(local);
        std::vector<BYTE> before = dst.Snapshot();
        ASSERT_EQ(ZqDibCopy(dst.Header(), nullptr, &d, 0, src.Header(), nullptr, &s, 0, flags), S_OK)
            << PairName(dt, st, flags);
        std::vector<BYTE> expected = ModelCopy(dst, before, d, src, s, flags);
        ASSERT_EQ(dst.Snapshot(), expected) << PairName(dt, st, flags);
      }
  }
}

// Whole pictures whose rows have no padding (widths of four pixels) are
// converted as one long row where a pair has a row kernel.
TEST(DibCopy, WholeUnpaddedPicturesEqualTheModel) {
  std::mt19937 rng(23);
  for (SIZE size : {SIZE{12, 5}, SIZE{20, 3}, SIZE{4, 1}})
    for (int st = 16; st <= 32; ++st)
      for (int dt = 16; dt <= 32; ++dt) {
        std::mt19937 local(rng());
        TestImage src(st, size.cx, size.cy, dibtest::PaletteFor(st, local)),
            dst(dt, size.cx, size.cy, dibtest::PaletteFor(dt, local));
        ASSERT_TRUE(src.Ok() && dst.Ok());
        src.Randomise(local);
        dst.Randomise(local);
        std::vector<BYTE> before = dst.Snapshot();
        const RECT whole{0, 0, size.cx, size.cy};
        ASSERT_EQ(ZqDibCopy(dst.Header(), nullptr, nullptr, 0, src.Header(), nullptr, nullptr, 0, 0), S_OK)
            << PairName(dt, st, 0);
        ASSERT_EQ(dst.Snapshot(), ModelCopy(dst, before, whole, src, whole, 0))
            << PairName(dt, st, 0) << " " << size.cx;
      }
}

TEST(DibCopy, NearestScalingEqualsTheModelAtEachQuality) {
  std::mt19937 rng(20);
  const RECT s{0, 1, 13, 6};
  const RECT destinations[] = {{1, 0, 8, 9}, {0, 0, 4, 2}, {2, 1, 3, 2}, {0, 0, 30, 11}};
  for (DWORD quality : {1u, 2u, 3u, 4u})
    for (int st = 16; st <= 32; ++st)
      for (int dt = 16; dt <= 32; ++dt)
        for (const RECT& d : destinations) {
          std::mt19937 local(rng());
          TestImage src(st, 13, 7, dibtest::PaletteFor(st, local)), dst(dt, 31, 12, dibtest::PaletteFor(dt, local));
          src.Randomise(local);
          dst.Randomise(local);
          std::vector<BYTE> before = dst.Snapshot();
          HRESULT hr = ZqDibCopy(dst.Header(), nullptr, &d, 0, src.Header(), nullptr, &s, 0, quality);
          bool scaler = quality >= 3 && ((Is32(st) && Is32(dt)) || (st == 32 && dt == 32));
          if (scaler) {  // filtered by the scalers (their own tests)
            EXPECT_EQ(hr, S_OK);
            continue;
          }
          ASSERT_EQ(hr, S_OK) << PairName(dt, st, quality);
          ASSERT_EQ(dst.Snapshot(), ModelCopy(dst, before, d, src, s, quality)) << PairName(dt, st, quality);
        }
}

// Nine columns into four pick columns by the quality's step; the last
// destination column and row always read the last source ones.
TEST(DibCopy, NearestColumnsByQuality) {
  struct Case {
    int sourceWidth, destinationWidth;
    DWORD quality;
    std::vector<int> columns;
  };
  const Case cases[] = {
      {9, 4, 1, {0, 2, 4, 8}},
      {9, 4, 2, {0, 2, 4, 8}},
      {9, 4, 3, {0, 2, 5, 8}},
      {9, 4, 4, {0, 2, 5, 8}},
      {3, 7, 1, {0, 0, 0, 1, 1, 2, 2}},
      {3, 7, 3, {0, 0, 0, 0, 1, 1, 2}},
      {5, 1, 1, {4}},
      {5, 1, 3, {4}},
  };
  for (const Case& c : cases) {
    TestImage src(ZqPixel_Gray8, c.sourceWidth, 2), dst(ZqPixel_Gray8, c.destinationWidth, 1);
    for (int x = 0; x < c.sourceWidth; ++x) {
      src.Row(0)[x] = static_cast<BYTE>(10 * x);
      src.Row(1)[x] = static_cast<BYTE>(100 + 10 * x);
    }
    ASSERT_EQ(ZqDibCopy(dst.Header(), nullptr, nullptr, 0, src.Header(), nullptr, nullptr, 0, c.quality), S_OK);
    std::vector<int> got;
    for (int x = 0; x < c.destinationWidth; ++x) got.push_back((dst.Row(0)[x] - 100) / 10);
    EXPECT_EQ(got, c.columns) << c.sourceWidth << " to " << c.destinationWidth << " at quality " << c.quality;
    EXPECT_EQ(got, dibmodel::NearestColumns(c.sourceWidth, c.destinationWidth, c.quality));
  }
}

// Positions past 131,071 pixels overflow 32-bit 18.14 arithmetic.
TEST(DibCopy, WideImagesScaleWithoutPositionOverflow) {
  const int width = 200000;
  TestImage src(ZqPixel_Gray16, width, 1), dst(ZqPixel_Gray16, 5, 1);
  ASSERT_TRUE(src.Ok() && dst.Ok());
  auto words = reinterpret_cast<WORD*>(src.Row(0));
  for (int x = 0; x < width; ++x) words[x] = static_cast<WORD>(x / 4);
  ASSERT_EQ(ZqDibCopy(dst.Header(), nullptr, nullptr, 0, src.Header(), nullptr, nullptr, 0, 1), S_OK);
  auto out = reinterpret_cast<const WORD*>(dst.Row(0));
  std::vector<int> columns = dibmodel::NearestColumns(width, 5, 1);
  EXPECT_EQ(columns, (std::vector<int>{0, 40000, 80000, 120000, 199999}));
  for (int x = 0; x < 5; ++x) EXPECT_EQ(out[x], columns[x] / 4) << x;
  // Sub-pixel rectangles of such an image cannot be expressed: refused.
  EXPECT_EQ(ZqDibCopy(dst.Header(), nullptr, nullptr, 0, src.Header(), nullptr, nullptr, 0, 1 | ZQDIB_SUBPIXEL),
            E_INVALIDARG);
}

TEST(DibCopy, SubPixelRectanglesOfWholePixelsCopyAsWholePixels) {
  std::mt19937 rng(7);
  TestImage src(ZqPixel_Rgb24, 8, 8), a(ZqPixel_Rgba32, 8, 8), b(ZqPixel_Rgba32, 8, 8);
  src.Randomise(rng);
  RECT whole{2, 2, 6, 6}, sub{2 * 16384, 2 * 16384, 6 * 16384, 6 * 16384};
  ASSERT_EQ(ZqDibCopy(a.Header(), nullptr, &whole, 0, src.Header(), nullptr, &whole, 0, 3), S_OK);
  ASSERT_EQ(ZqDibCopy(b.Header(), nullptr, &sub, 0, src.Header(), nullptr, &sub, 0, 3 | ZQDIB_SUBPIXEL), S_OK);
  EXPECT_EQ(a.Snapshot(), b.Snapshot());
  // Fractional rectangles at quality 3 go through the sub-pixel scalers:
  // for a pair the scalers do not take, through working images, giving
  // what the scalers give on the converted source.
  RECT fraction{2 * 16384 + 100, 2 * 16384, 6 * 16384 - 3000, 6 * 16384};
  TestImage converted(ZqPixel_Rgba32, 8, 8), direct(ZqPixel_Rgba32, 8, 8);
  ASSERT_EQ(ZqDibCopy(converted.Header(), nullptr, nullptr, 0, src.Header(), nullptr, nullptr, 0, 0), S_OK);
  std::memcpy(direct.Bits(), b.Bits(), b.Bytes());
  const DWORD subpixel = 3 | ZQDIB_SUBPIXEL;
  ASSERT_EQ(ZqDibCopy(b.Header(), nullptr, &fraction, 0, src.Header(), nullptr, &sub, 0, subpixel), S_OK);
  ASSERT_EQ(ZqDibCopy(direct.Header(), nullptr, &fraction, 0, converted.Header(), nullptr, &sub, 0, subpixel), S_OK);
  EXPECT_EQ(b.Snapshot(), direct.Snapshot());
  EXPECT_NE(b.Snapshot(), a.Snapshot());
  // Below quality 3 they are divided down to whole pixels.
  RECT truncated{2 * 16384 + 100, 2 * 16384 + 9, 6 * 16384 + 16383, 6 * 16384};
  EXPECT_EQ(ZqDibCopy(b.Header(), nullptr, &truncated, 0, src.Header(), nullptr, &sub, 0, 1 | ZQDIB_SUBPIXEL), S_OK);
  EXPECT_EQ(b.Snapshot(), a.Snapshot());
}

TEST(DibCopy, Rgb24ToRgba32SetsEveryAlphaAndBadInputIsRefused) {
  std::mt19937 rng(3);
  TestImage src(ZqPixel_Rgb24, 9, 3), dst(ZqPixel_Rgba32, 9, 3);
  src.Randomise(rng);
  ASSERT_EQ(ZqDibCopy(dst.Header(), nullptr, nullptr, 0, src.Header(), nullptr, nullptr, 0, 0), S_OK);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 9; ++x) {
      EXPECT_EQ(dst.Row(y)[4 * x + 3], 255);
      EXPECT_EQ(std::memcmp(dst.Row(y) + 4 * x, src.Row(y) + 3 * x, 3), 0);
    }
  BITMAPINFOHEADER unsupported = *dst.Header();
  unsupported.biBitCount = 24;  // "ZQDB" with 24 bits
  EXPECT_EQ(ZqDibCopy(&unsupported, dst.Bits(), nullptr, 0, src.Header(), nullptr, nullptr, 0, 0), E_NOTIMPL);
  EXPECT_EQ(ZqDibCopy(nullptr, nullptr, nullptr, 0, src.Header(), nullptr, nullptr, 0, 0), E_INVALIDARG);
  EXPECT_EQ(ZqDibCopy(dst.Header(), nullptr, nullptr, 4, src.Header(), nullptr, nullptr, 0, 0), E_INVALIDARG)
      << "a stride shorter than a row";
  RECT outside{20, 20, 30, 30};
  std::vector<BYTE> before = dst.Snapshot();
  EXPECT_EQ(ZqDibCopy(dst.Header(), nullptr, &outside, 0, src.Header(), nullptr, nullptr, 0, 0), S_OK);
  EXPECT_EQ(dst.Snapshot(), before);
}

// Feathering: pixels inside the feather zone of an enabled edge are mixed
// into the destination, weight growing by 65535 / (d + 1) per pixel inward.
TEST(DibCopy, FeatheredEdgesFadeIntoTheDestination) {
  TestImage src(ZqPixel_Gray16, 10, 6), dst(ZqPixel_Gray16, 10, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) {
      reinterpret_cast<WORD*>(src.Row(y))[x] = 60000;
      reinterpret_cast<WORD*>(dst.Row(y))[x] = 0;
    }
  const int d = 3;
  DWORD flags = 4 | ZQDIB_FEATHER_LEFT | ZQDIB_FEATHER_TOP | (d << 16);
  ASSERT_EQ(ZqDibCopy(dst.Header(), nullptr, nullptr, 0, src.Header(), nullptr, nullptr, 0, flags), S_OK);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) {
      int depth = std::min(x, y);
      unsigned weight = depth >= d ? 65535u : 65535u / (d + 1) * (depth + 1);
      unsigned expected = static_cast<unsigned>(60000ull * weight / 65535);
      EXPECT_EQ(reinterpret_cast<WORD*>(dst.Row(y))[x], expected) << x << "," << y;
    }
}

// ZqDibSet: every type, partial rectangles, the two working-pixel paths.
TEST(DibSet, FillsEveryTypeLikeTheModel) {
  std::mt19937 rng(21);
  const float colour[4] = {0.8f, 0.35f, 0.1f, 0.6f};  // red, green, blue, alpha
  const RECT rect{1, 1, 10, 4};
  for (DWORD flags : {0u, 1u, 4u})
    for (int t = 16; t <= 32; ++t) {
      TestImage image(t, 11, 5, dibtest::PaletteFor(t, rng));
      image.Randomise(rng);
      std::vector<BYTE> expected = image.Snapshot();
      ASSERT_EQ(ZqDibSet(image.Header(), nullptr, &rect, 0, colour[0], colour[1], colour[2], colour[3], flags), S_OK);
      // 8-bit working pixel for the four 8-bit types below quality 4, else 16-bit.
      bool narrow = (t == ZqPixel_Pal8 || t == ZqPixel_Rgb24 || Is32(t)) && flags != 4;
      unsigned full = narrow ? 255 : 65535, widen = narrow ? 257 : 1;
      auto level = [&](float f) { return static_cast<unsigned>(f * static_cast<float>(full)) * widen; };
      dibmodel::Wide w{level(colour[2]), level(colour[1]), level(colour[0]), level(colour[3])};
      std::vector<BYTE> quantizer;
      if (dibmodel::IsPaletteType(t)) quantizer = dibmodel::Quantizer(image.Palette().table, image.Palette().entries);
      for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
          dibmodel::Pack(t, expected.data() + static_cast<size_t>(image.Height() - 1 - y) * image.Stride(), x, w,
                         quantizer.data());
      ASSERT_EQ(image.Snapshot(), expected) << "type " << t << " flags " << flags;
    }
}

TEST(DibSet, EdgeCasesAndFillRect) {
  TestImage image(ZqPixel_Rgb32, 8, 8);
  std::vector<BYTE> before = image.Snapshot();
  RECT miss{9, 0, 12, 4};
  EXPECT_EQ(ZqDibSet(image.Header(), nullptr, &miss, 0, 1, 1, 1, 1, 0), S_OK);
  EXPECT_EQ(image.Snapshot(), before);
  // 18.14 rectangle divided down to whole pixels; values outside 0..1 held.
  RECT sub{2 * 16384, 3 * 16384 + 5, 4 * 16384, 4 * 16384};
  ASSERT_EQ(ZqDibSet(image.Header(), nullptr, &sub, 0, 2.0f, -1.0f, 0.5f, 1.0f, ZQDIB_SUBPIXEL), S_OK);
  EXPECT_EQ(image.Row(3)[8], 127);
  EXPECT_EQ(image.Row(3)[9], 0);
  EXPECT_EQ(image.Row(3)[10], 255);
  EXPECT_EQ(image.Row(3)[11], 255);
  EXPECT_EQ(image.Row(2)[8], 0);
  ZQRGBAFLOAT c{1.0f, 0.0f, 0.0f, 1.0f};  // blue
  ASSERT_EQ(ZqDibFillRect(image.Header(), nullptr, nullptr, 0, &c, 0), S_OK);
  EXPECT_EQ(image.Row(7)[0], 255);
  EXPECT_EQ(image.Row(7)[2], 0);
  EXPECT_EQ(ZqDibFillRect(image.Header(), nullptr, nullptr, 0, nullptr, 0), E_POINTER);
  EXPECT_EQ(ZqDibFillRectChannel(image.Header(), nullptr, nullptr, 0, 0, 1.0f, 0), E_NOTIMPL);
  BITMAPINFOHEADER bad = *image.Header();
  bad.biBitCount = 24;
  bad.biCompression = ZQDIB_FOURCC_GRAY;
  EXPECT_EQ(ZqDibSet(&bad, image.Bits(), nullptr, 0, 1, 1, 1, 1, 0), E_NOTIMPL);
}

}  // namespace
