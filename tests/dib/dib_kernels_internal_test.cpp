// Every processor-specific form of a row kernel gives the scalar form's
// bytes, on random rows of every length around the vector widths and at
// every alignment.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "dib/pixel_kernels.h"
#include "zq/kernel.h"

namespace {

TEST(DibKernels, Sse2FormsEqualTheScalarForms) {
  ASSERT_NE(ZqGetCPUSupport(ZQCPU_SSE2), 0u) << "the SSE2 forms cannot run here";
  std::mt19937 rng(8);
  int checked = 0;
  for (int dst = ZQPIXEL_FIRST; dst <= ZQPIXEL_LAST; ++dst)
    for (int src = ZQPIXEL_FIRST; src <= ZQPIXEL_LAST; ++src) {
      zq::dib::RowForms forms = zq::dib::FastRowForms(dst, src);
      if (!forms.sse2) continue;
      ++checked;
      BYTE bits[4];
      int srcBytes = ZqGetPixelBitsPerChannel(src, bits) / 8, dstBytes = ZqGetPixelBitsPerChannel(dst, bits) / 8;
      for (int count = 0; count <= 40; ++count)
        for (int offset = 0; offset < 4; ++offset) {
          std::vector<BYTE> in(count * srcBytes + 8), a(count * dstBytes + 8, 0xA5), b(a);
          for (BYTE& v : in) v = static_cast<BYTE>(rng());
          forms.scalar(a.data() + offset, in.data() + offset, count);
          forms.sse2(b.data() + offset, in.data() + offset, count);
          ASSERT_EQ(a, b) << "dst " << dst << " src " << src << " count " << count << " offset " << offset;
        }
    }
  EXPECT_GT(checked, 0);
}

}  // namespace
