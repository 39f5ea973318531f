// Every processor-specific form of a row kernel gives the scalar form's
// bytes, on random rows of every length around the vector widths and at
// every alignment; and the filters give the same images through the
// exports with the vector forms switched off as with them on.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

#include "dib/neighbourhood_kernels.h"
#include "dib/pixel_kernels.h"
#include "zq/dibfilter.h"
#include "zq/kernel.h"

namespace {

// Runs `call(out, in, count, vector)` with the scalar and the vector form
// on the same random input for every count 0..40 and offset 0..3.
template <typename Call>
void Compare(const char* name, int inBytes, int outBytes, Call&& call) {
  std::mt19937 rng(8);
  for (int count = 0; count <= 40; ++count)
    for (int offset = 0; offset < 4; ++offset) {
      std::vector<BYTE> in(count * inBytes + 8), a(count * outBytes + 8, 0xA5), b(a);
      for (BYTE& v : in) v = static_cast<BYTE>(rng());
      call(a.data() + offset, in.data() + offset, count, false);
      call(b.data() + offset, in.data() + offset, count, true);
      ASSERT_EQ(a, b) << name << " count " << count << " offset " << offset;
    }
}

TEST(DibKernels, Sse2FormsEqualTheScalarForms) {
  ASSERT_NE(ZqGetCPUSupport(ZQCPU_SSE2), 0u) << "the SSE2 forms cannot run here";
  int checked = 0;
  for (int dst = ZQPIXEL_FIRST; dst <= ZQPIXEL_LAST; ++dst)
    for (int src = ZQPIXEL_FIRST; src <= ZQPIXEL_LAST; ++src) {
      zq::dib::RowForms forms = zq::dib::FastRowForms(dst, src);
      if (!forms.sse2) continue;
      ++checked;
      BYTE bits[4];
      int srcBytes = ZqGetPixelBitsPerChannel(src, bits) / 8, dstBytes = ZqGetPixelBitsPerChannel(dst, bits) / 8;
      Compare("conversion", srcBytes, dstBytes, [&](BYTE* out, const BYTE* in, int count, bool vector) {
        (vector ? forms.sse2 : forms.scalar)(out, in, count);
      });
    }
  EXPECT_GT(checked, 0);

  zq::dib::FillForms fill = zq::dib::FillRow32Forms();
  ASSERT_NE(fill.sse2, nullptr);
  Compare("fill", 4, 4, [&](BYTE* out, const BYTE* in, int count, bool vector) {
    (vector ? fill.sse2 : fill.scalar)(out, 0x89ABCDEFu ^ in[0], count);
  });

  // The 3 x 3 filters read three rows of the input, one after the other.
  auto blur = zq::dib::BlurRowForms();
  ASSERT_NE(blur.sse2, nullptr);
  Compare("blur", 12, 4, [&](BYTE* out, const BYTE* in, int count, bool vector) {
    (vector ? blur.sse2 : blur.scalar)(out, in, in + 4 * count, in + 8 * count, count);
  });
  const int sharpen[9] = {-1, -1, -1, -1, 9, -1, -1, -1, -1}, widest[9] = {-16, 16, -16, 16, 0, 16, -16, 16, -16},
            edge[9] = {1, 2, 1, 0, 0, 0, -1, -2, -1}, binomial[9] = {1, 2, 1, 2, 4, 2, 1, 2, 1};
  const struct {
    const int* weights;
    int divisor;
  } kernels[] = {{sharpen, 1}, {widest, 1}, {widest, -7}, {edge, 3}, {binomial, 16}, {sharpen, INT_MAX}, {edge, -1}};
  for (const auto& k : kernels) {
    auto convolve = zq::dib::ConvolveRowForms(k.weights);
    ASSERT_NE(convolve.sse2, nullptr);
    Compare("convolution", 12, 4, [&](BYTE* out, const BYTE* in, int count, bool vector) {
      (vector ? convolve.sse2 : convolve.scalar)(out, in, in + 4 * count, in + 8 * count, count, k.weights, k.divisor);
    });
  }
  // Sums that can leave 16 bits have the scalar form only.
  const int wide[9] = {0, 0, 0, 0, 129, 0, 0, 0, 0};
  EXPECT_EQ(zq::dib::ConvolveRowForms(wide).sse2, nullptr);
}

TEST(DibKernels, FiltersGiveTheSameImagesWithAndWithoutVectorForms) {
  std::mt19937 rng(12);
  const int w = 37, h = 9, stride = w * 4;
  const RECT bounds{0, 0, w, h}, inner{3, 1, 30, 8};
  std::vector<BYTE> src(stride * h), dst(stride * h);
  for (BYTE& v : src) v = static_cast<BYTE>(rng());
  for (BYTE& v : dst) v = static_cast<BYTE>(rng());
  const LONG sharpen[9] = {0, -1, 0, -1, 5, -1, 0, -1, 0}, emboss[9] = {-2, -1, 0, -1, 1, 1, 0, 1, 2};
  auto run = [&](bool vector) {
    zq::dib::SetFilterVectorForms(vector);
    std::vector<std::vector<BYTE>> out(4, dst);
    ZqDibBlur(out[0].data(), &bounds, stride, nullptr, src.data(), &bounds, stride, nullptr, 4);
    ZqDibBlur(out[1].data(), &bounds, stride, &inner, src.data(), &bounds, stride, &inner, 4);
    ZqDib3x3Convolution(out[2].data(), &bounds, stride, nullptr, src.data(), &bounds, stride, nullptr, 4, sharpen, 1);
    ZqDib3x3Convolution(out[3].data(), &bounds, stride, &inner, src.data(), &bounds, stride, &inner, 4, emboss, -3);
    zq::dib::SetFilterVectorForms(true);
    return out;
  };
  auto scalar = run(false), vector = run(true);
  for (size_t i = 0; i < scalar.size(); ++i) {
    EXPECT_EQ(scalar[i], vector[i]) << "image " << i;
    EXPECT_NE(scalar[i], dst) << "image " << i;
  }
}

}  // namespace
