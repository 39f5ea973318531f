// The scalers against the independent model: region preparation, the
// 8-bit bilinear kernel bit for bit in its scalar and SSE2 forms, the area
// kernels (scalar forms), the reducers, and the documented edge cases.
// Linked with the library so the vector forms can be switched off.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "dib/scale_internal.h"
#include "scale_model.h"
#include "zq/dib.h"

namespace {

using scalemodel::Image;
using scalemodel::Region;

struct ScalarForms {
  ScalarForms() { zq::dib::SetScalerVectorForms(false); }
  ~ScalarForms() { zq::dib::SetScalerVectorForms(true); }
};

void Randomise(Image& image, std::mt19937& rng) {
  for (BYTE& b : image.pixels) b = static_cast<BYTE>(rng());
}

struct Case {
  int sw, sh, dw, dh;
  RECT s, d;  // 18.14
};

// Random sizes and sub-pixel rectangles, some reaching outside the images,
// sources wider than 8 pixels (where 32-bit 18.14 products overflow).
std::vector<Case> RandomCases(std::mt19937& rng, int count, bool shrinking) {
  std::vector<Case> cases;
  std::uniform_int_distribution<int> size(1, 40), fraction(0, 16383), coin(0, 3);
  while (static_cast<int>(cases.size()) < count) {
    Case c{size(rng), size(rng), size(rng), size(rng), {}, {}};
    if (shrinking) {
      c.sw = c.dw * 2 + size(rng);
      c.sh = c.dh * 2 + size(rng);
    }
    auto rect = [&](int w, int h) {
      std::uniform_int_distribution<int> x(-2, w), y(-2, h);
      int l = x(rng), t = y(rng);
      int r = l + 1 + x(rng) + 2, b = t + 1 + y(rng) + 2;
      RECT out{l * 16384, t * 16384, r * 16384, b * 16384};
      if (coin(rng)) {
        out.left += fraction(rng);
        out.top += fraction(rng);
        out.right -= fraction(rng);
        out.bottom -= fraction(rng);
      }
      return out;
    };
    c.s = coin(rng) ? rect(c.sw, c.sh) : RECT{0, 0, c.sw * 16384, c.sh * 16384};
    c.d = coin(rng) ? rect(c.dw, c.dh) : RECT{0, 0, c.dw * 16384, c.dh * 16384};
    cases.push_back(c);
  }
  return cases;
}

Region Of(const RECT& r) { return Region{r.left, r.top, r.right, r.bottom}; }

HRESULT Scale(Image& dst, const Image& src, const Case& c, bool shrink, bool replace, bool bicubic = false) {
  SIZE ds{dst.width, dst.height}, ss{src.width, src.height};
  auto scale = bicubic ? ZqDibScale_BiCubicSubPixel : ZqDibScale_BilinearSubPixel;
  return scale(dst.pixels.data(), &ds, dst.width * 4, &c.d, src.pixels.data(), &ss, src.width * 4, &c.s, 4, shrink,
               replace);
}

TEST(DibScale, PreparationMatchesTheModel) {
  std::mt19937 rng(2001);
  int drawn = 0;
  for (const Case& c : RandomCases(rng, 3000, false)) {
    ZQSUBPIXELPARAM p;
    SIZE ds{c.dw, c.dh}, ss{c.sw, c.sh};
    BYTE buffer[4];
    int draw = ZqPrepareSubpixelParam(&p, buffer, &ds, 4 * c.dw, &c.d, buffer, &ss, 4 * c.sw, &c.s);
    scalemodel::Prepared m = scalemodel::Prepare(c.dw, c.dh, Of(c.d), c.sw, c.sh, Of(c.s));
    ASSERT_EQ(draw != 0, m.draw);
    if (!draw) continue;
    ++drawn;
    ASSERT_EQ(p.dstFinal.left, m.dst.l);
    ASSERT_EQ(p.dstFinal.right, m.dst.r);
    ASSERT_EQ(p.dstFinal.bottom, m.dst.b);
    ASSERT_EQ(p.srcFinal.left, m.src.l);
    ASSERT_EQ(p.srcFinal.right, m.src.r);
    ASSERT_EQ(p.srcFinal.top, m.src.t);
    ASSERT_EQ(p.stepX, m.stepX);
    ASSERT_EQ(p.stepY, m.stepY);
    ASSERT_EQ(p.scaleX, m.scaleX);
    ASSERT_EQ(p.scaleY, m.scaleY);
  }
  EXPECT_GT(drawn, 1000);
  // A source 100 pixels wide into 50: the step needs 64-bit products.
  ZQSUBPIXELPARAM p;
  SIZE ds{50, 1}, ss{100, 1};
  BYTE buffer[4];
  ASSERT_EQ(ZqPrepareSubpixelParam(&p, buffer, &ds, 200, nullptr, buffer, &ss, 400, nullptr), 1);
  EXPECT_EQ(p.stepX, 99 * 16384 / 49);
  EXPECT_EQ(p.scaleX, 2 * 16384);
  // Less than 1/16 pixel: nothing to draw, the record cleared.
  RECT tiny{0, 0, 1000, 16384};
  EXPECT_EQ(ZqPrepareSubpixelParam(&p, buffer, &ds, 200, &tiny, buffer, &ss, 400, nullptr), 0);
  EXPECT_EQ(p.scaleX, 0);
}

TEST(DibScale, BilinearEqualsTheModelWithAndWithoutVectorForms) {
  std::mt19937 rng(2002);
  int drawn = 0;
  for (const Case& c : RandomCases(rng, 400, false))
    for (bool replace : {false, true}) {
      Image src(c.sw, c.sh), dst(c.dw, c.dh);
      Randomise(src, rng);
      Randomise(dst, rng);
      Image expected = dst, vector = dst;
      scalemodel::Prepared m = scalemodel::Prepare(c.dw, c.dh, Of(c.d), c.sw, c.sh, Of(c.s));
      if (m.draw) scalemodel::Bilinear(expected, src, m, replace);
      drawn += m.draw;
      {
        ScalarForms scalar;
        ASSERT_EQ(Scale(dst, src, c, false, replace), S_OK);
      }
      ASSERT_EQ(dst.pixels, expected.pixels) << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
      ASSERT_EQ(Scale(vector, src, c, false, replace), S_OK);
      ASSERT_EQ(vector.pixels, expected.pixels) << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh << " (SSE2)";
    }
  EXPECT_GT(drawn, 300);
}

// Rows long enough for many vector steps, fractions of zero (a whole
// weight, 16384) and of one half, and the largest sums (every channel
// 255): the SSE2 bilinear form still gives the model's bytes.
TEST(DibScale, BilinearVectorFormAtTheExtremes) {
  struct Extreme {
    int sw, sh, dw, dh;
  };
  // Enlarging and halving wide rows, shrinking by 2.2 (neighbouring
  // columns reading four consecutive source pixels in some groups of four
  // and not in others), the exact 2x - 1 grid (fractions 0 and 8192), and
  // equal sizes (every fraction 0).
  const Extreme extremes[] = {{301, 3, 450, 5}, {450, 4, 225, 3}, {220, 3, 100, 2}, {40, 4, 79, 7}, {64, 3, 64, 3}};
  std::mt19937 rng(2009);
  for (const Extreme& e : extremes)
    for (int pattern = 0; pattern < 3; ++pattern) {
      Image src(e.sw, e.sh), dst(e.dw, e.dh);
      for (size_t i = 0; i < src.pixels.size(); ++i)
        src.pixels[i] = pattern == 0 ? 255 : pattern == 1 ? ((i / 4) % 2 ? 255 : 0) : static_cast<BYTE>(rng());
      Randomise(dst, rng);
      Case c{e.sw, e.sh, e.dw, e.dh, {0, 0, e.sw * 16384, e.sh * 16384}, {0, 0, e.dw * 16384, e.dh * 16384}};
      Image expected = dst, scalar = dst;
      scalemodel::Prepared m = scalemodel::Prepare(e.dw, e.dh, Of(c.d), e.sw, e.sh, Of(c.s));
      ASSERT_TRUE(m.draw);
      scalemodel::Bilinear(expected, src, m, true);
      {
        ScalarForms forms;
        ASSERT_EQ(Scale(scalar, src, c, false, true), S_OK);
      }
      ASSERT_EQ(Scale(dst, src, c, false, true), S_OK);
      ASSERT_EQ(scalar.pixels, expected.pixels) << e.sw << " -> " << e.dw << ", pattern " << pattern;
      ASSERT_EQ(dst.pixels, expected.pixels) << e.sw << " -> " << e.dw << ", pattern " << pattern << " (SSE2)";
    }
}

// The SSE2 bicubic form computes the same integers as the scalar one.
TEST(DibScale, BicubicSse2EqualsScalar) {
  std::mt19937 rng(2007);
  for (const Case& c : RandomCases(rng, 200, false)) {
    Image src(c.sw, c.sh), a(c.dw, c.dh);
    Randomise(src, rng);
    Randomise(a, rng);
    Image b = a;
    {
      ScalarForms scalar;
      ASSERT_EQ(Scale(a, src, c, false, false, true), S_OK);
    }
    ASSERT_EQ(Scale(b, src, c, false, false, true), S_OK);
    ASSERT_EQ(a.pixels, b.pixels) << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
  }
}

TEST(DibScale, AreaAveragingEqualsTheModel) {
  std::mt19937 rng(2003);
  ScalarForms scalar;
  int drawn = 0;
  for (const Case& c : RandomCases(rng, 150, true)) {
    Image src(c.sw, c.sh), dst(c.dw, c.dh);
    Randomise(src, rng);
    Image expected = dst;
    scalemodel::Prepared m = scalemodel::Prepare(c.dw, c.dh, Of(c.d), c.sw, c.sh, Of(c.s));
    if (!m.draw || m.scaleX <= 16384 || m.scaleY <= 16384) continue;
    scalemodel::Area(expected, src, m);
    ++drawn;
    Case whole = c;  // edges replaced, so the whole footprint average lands
    ASSERT_EQ(Scale(dst, src, whole, true, true), S_OK);
    ASSERT_EQ(dst.pixels, expected.pixels) << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
  }
  EXPECT_GT(drawn, 40);
  // Shrinking 32 times both ways: 32-bit sums would overflow; the test of
  // the accumulator width is made in 64 bits and picks the wide one.
  EXPECT_FALSE(zq::dib::NarrowAccumulatorFits(zq::dib::Kernel::Area, 32 * 16384, 32 * 16384));
  EXPECT_TRUE(zq::dib::NarrowAccumulatorFits(zq::dib::Kernel::Area, 4 * 16384, 4 * 16384));
  EXPECT_FALSE(zq::dib::NarrowAccumulatorFits(zq::dib::Kernel::AreaThenLinear, 128 * 16384, 8192));
  EXPECT_FALSE(zq::dib::NarrowAccumulatorFits(zq::dib::Kernel::CubicThenArea, 8192, 200 * 16384));
  struct Wide {
    int sw, sh, dw, dh;
  };
  // Both axes, one axis with the other growing: every wide-sum kernel.
  for (const Wide& w : {Wide{64, 64, 2, 2}, Wide{256, 2, 2, 4}, Wide{2, 400, 4, 2}})
    for (bool bicubic : {false, true}) {
      Image src(w.sw, w.sh), dst(w.dw, w.dh);
      std::fill(src.pixels.begin(), src.pixels.end(), 255);
      Case c{w.sw, w.sh, w.dw, w.dh, {0, 0, w.sw * 16384, w.sh * 16384}, {0, 0, w.dw * 16384, w.dh * 16384}};
      ASSERT_EQ(Scale(dst, src, c, true, true, bicubic), S_OK);
      for (BYTE b : dst.pixels) ASSERT_EQ(b, 255) << w.sw << "x" << w.sh << " -> " << w.dw << "x" << w.dh;
    }
}

// One axis shrinking with the shrink option: that axis averaged, the
// other interpolated.
TEST(DibScale, MixedAveragingEqualsTheModel) {
  std::mt19937 rng(2008);
  ScalarForms scalar;
  int drawn[2] = {0, 0};
  for (const Case& c : RandomCases(rng, 600, false)) {
    scalemodel::Prepared m = scalemodel::Prepare(c.dw, c.dh, Of(c.d), c.sw, c.sh, Of(c.s));
    if (!m.draw || (m.scaleX > 16384) == (m.scaleY > 16384)) continue;
    bool acrossColumns = m.scaleX > 16384;
    Image src(c.sw, c.sh), dst(c.dw, c.dh);
    Randomise(src, rng);
    Image expected = dst;
    scalemodel::Mixed(expected, src, m, acrossColumns);
    ++drawn[acrossColumns];
    ASSERT_EQ(Scale(dst, src, c, true, true), S_OK);
    ASSERT_EQ(dst.pixels, expected.pixels) << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
  }
  EXPECT_GT(drawn[0], 20);
  EXPECT_GT(drawn[1], 20);
}

// Every kernel keeps a uniform image uniform, 8-bit and float, growing and
// shrinking, and the shrink option chooses averaging over sampling.
TEST(DibScale, KernelsKeepUniformImagesAndTheShrinkOptionAverages) {
  for (bool bicubic : {false, true})
    for (bool shrink : {false, true})
      for (int sw : {7, 33})
        for (int dw : {5, 16})
          for (int dh : {4, 20}) {  // every mix of growing and shrinking axes
            Image src(sw, 9), dst(dw, dh);
            for (size_t i = 0; i < src.pixels.size(); ++i) src.pixels[i] = static_cast<BYTE>(40 + 50 * (i % 4));
            Case c{sw, 9, dw, dh, {0, 0, sw * 16384, 9 * 16384}, {0, 0, dw * 16384, dh * 16384}};
            ASSERT_EQ(Scale(dst, src, c, shrink, true, bicubic), S_OK);
            for (size_t i = 0; i < dst.pixels.size(); ++i)
              ASSERT_NEAR(dst.pixels[i], 40 + 50 * (i % 4), 1) << bicubic << shrink << sw << dw;
            std::vector<float> fs(sw * 9 * 4, 0.375f), fd(dw * dh * 4, 0.0f);
            SIZE ds{dw, dh}, ss{sw, 9};
            auto scale = bicubic ? ZqDibScale_BiCubicSubPixel : ZqDibScale_BilinearSubPixel;
            ASSERT_EQ(scale(reinterpret_cast<BYTE*>(fd.data()), &ds, dw * 16, &c.d, reinterpret_cast<BYTE*>(fs.data()),
                            &ss, sw * 16, &c.s, 16, shrink, TRUE),
                      S_OK);
            for (float f : fd) ASSERT_NEAR(f, 0.375f, 1e-5f);
          }
  // A 1-pixel-wide stripe pattern shrunk by 4: averaging gives its mean,
  // sampling picks stripes.
  Image src(16, 16), averaged(4, 4), sampled(4, 4);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) std::fill(src.At(x, y), src.At(x, y) + 4, x % 2 ? 200 : 0);
  Case c{16, 16, 4, 4, {0, 0, 16 * 16384, 16 * 16384}, {0, 0, 4 * 16384, 4 * 16384}};
  ASSERT_EQ(Scale(averaged, src, c, true, true), S_OK);
  ASSERT_EQ(Scale(sampled, src, c, false, true), S_OK);
  EXPECT_EQ(averaged.At(1, 1)[0], 100);
  EXPECT_NE(sampled.At(1, 1)[0], 100);
}

TEST(DibScale, WholePixelScalersAndTheCopy) {
  std::mt19937 rng(2004);
  Image src(12, 9), dst(12, 9);
  Randomise(src, rng);
  SIZE size{12, 9};
  RECT s{1, 2, 7, 8}, d{3, 0, 9, 6};
  ASSERT_EQ(ZqDibScale_BiCubic(dst.pixels.data(), &size, 48, &d, src.pixels.data(), &size, 48, &s, 4, TRUE, FALSE),
            S_OK);
  for (int y = 0; y < 6; ++y)  // equal sizes: the rows as they are
    EXPECT_EQ(std::memcmp(dst.At(3, y), src.At(1, y + 2), 24), 0) << y;
  // ZqDibCopy at quality 3 hands 32-bit images to the scalers as top row
  // plus negative stride: the same pixels as calling the scaler directly.
  BITMAPINFOHEADER *from = nullptr, *to = nullptr;
  ASSERT_EQ(ZqDibAlloc(&from, ZqPixel_Rgba32, 12, 9, nullptr, 0, 0), S_OK);
  ASSERT_EQ(ZqDibAlloc(&to, ZqPixel_Rgb32, 7, 5, nullptr, 0, ZQDIBALLOC_ZERO), S_OK);
  BYTE* fromBits = reinterpret_cast<BYTE*>(from + 1);
  for (int y = 0; y < 9; ++y) std::memcpy(fromBits + (8 - y) * 48, src.At(0, y), 48);
  ASSERT_EQ(ZqDibCopy(to, nullptr, nullptr, 0, from, nullptr, nullptr, 0, 3), S_OK);
  Image direct(7, 5);
  SIZE small{7, 5};
  ASSERT_EQ(ZqDibScale_Bilinear(direct.pixels.data(), &small, 28, nullptr, src.pixels.data(), &size, 48, nullptr, 4,
                                FALSE, FALSE),
            S_OK);
  BYTE* toBits = reinterpret_cast<BYTE*>(to + 1);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(std::memcmp(toBits + (4 - y) * 28, direct.At(0, y), 28), 0) << y;
  ZqDibFree(from, 0);
  ZqDibFree(to, 0);
}

TEST(DibScale, ReducersEqualTheModel) {
  std::mt19937 rng(2005);
  std::uniform_int_distribution<int> size(1, 30);
  for (int i = 0; i < 60; ++i) {
    int dw = size(rng), dh = size(rng);
    Image src(dw + size(rng), dh + size(rng)), down(dw, dh), block(dw, dh);
    Randomise(src, rng);
    Image expectDown = down, expectBlock = block;
    scalemodel::DownSample(expectDown, src);
    scalemodel::Pixelate(expectBlock, src);
    RECT sb{0, 0, src.width, src.height}, db{0, 0, dw, dh};
    ASSERT_EQ(ZqDownSample(down.pixels.data(), &db, dw * 4, nullptr, src.pixels.data(), &sb, src.width * 4, nullptr, 4),
              S_OK);
    ASSERT_EQ(ZqPixelate(block.pixels.data(), &db, dw * 4, nullptr, src.pixels.data(), &sb, src.width * 4, nullptr, 4),
              S_OK);
    ASSERT_EQ(down.pixels, expectDown.pixels) << src.width << "x" << src.height << " -> " << dw << "x" << dh;
    ASSERT_EQ(block.pixels, expectBlock.pixels) << src.width << "x" << src.height << " -> " << dw << "x" << dh;
  }
  // A destination larger than the source in either direction: nothing changes.
  Image src(4, 8), dst(5, 2);
  Randomise(src, rng);
  Image before = dst;
  RECT sb{0, 0, 4, 8}, db{0, 0, 5, 2};
  EXPECT_EQ(ZqPixelate(dst.pixels.data(), &db, 20, nullptr, src.pixels.data(), &sb, 16, nullptr, 4), S_OK);
  EXPECT_EQ(ZqDownSample(dst.pixels.data(), &db, 20, nullptr, src.pixels.data(), &sb, 16, nullptr, 4), S_OK);
  EXPECT_EQ(dst.pixels, before.pixels);
}

TEST(DibScale, BicubicWeightsAndPlainBicubicCopy) {
  const zq::dib::CubicTable& coarse = zq::dib::CoarseCubic();
  EXPECT_EQ(coarse.entries, 4096);
  const float* zero = &coarse.weights[0];
  EXPECT_FLOAT_EQ(zero[0], 0.0f);
  EXPECT_FLOAT_EQ(zero[1], 1.0f);
  EXPECT_FLOAT_EQ(zero[2], 0.0f);
  EXPECT_FLOAT_EQ(zero[3], 0.0f);
  const float* half = &coarse.weights[2048 * 4];
  EXPECT_FLOAT_EQ(half[0], -0.0625f);
  EXPECT_FLOAT_EQ(half[1], 0.5625f);
  EXPECT_FLOAT_EQ(half[2], 0.5625f);
  EXPECT_FLOAT_EQ(half[3], -0.0625f);
  EXPECT_EQ(coarse.fixed[2048 * 4], -1024);
  EXPECT_EQ(zq::dib::FineCubic().entries, 16384);
  EXPECT_EQ(zq::dib::FineCubic().fixed[8192 * 4 + 1], 9216);
  // Unscaled, the plain bicubic copy reproduces the source exactly.
  std::mt19937 rng(2006);
  Image src(9, 7), dst(9, 7);
  Randomise(src, rng);
  RECT bounds{0, 0, 9, 7};
  ASSERT_EQ(ZqDibCopyBiCubic(dst.pixels.data(), &bounds, 36, nullptr, src.pixels.data(), &bounds, 36, nullptr, 4),
            S_OK);
  EXPECT_EQ(dst.pixels, src.pixels);
}

}  // namespace
