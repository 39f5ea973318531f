// Every SSE2 form of the blend and compositor row kernels gives the scalar
// form's bytes, on random rows of every length around the vector width and
// at every alignment; and the exports give the same images with the vector
// forms switched off as with them on.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "dib/blend_kernels.h"
#include "zq/kernel.h"
#include "zq/overlay.h"

namespace {

using namespace zq::dib;

std::vector<BYTE> RandomRow(std::mt19937& rng, size_t n) {
  std::vector<BYTE> v(n);
  for (BYTE& b : v) b = static_cast<BYTE>(rng());
  // Some pixels at the extremes, where the 16-bit products are largest.
  for (size_t i = 0; i + 4 <= n; i += 28) std::fill(v.begin() + i, v.begin() + i + 4, i % 56 ? 255 : 0);
  return v;
}

template <typename Call>
void Compare(const char* name, Call&& call) {
  std::mt19937 rng(11);
  for (int count = 0; count <= 40; ++count)
    for (int offset = 0; offset < 4; ++offset) {
      std::vector<BYTE> src = RandomRow(rng, count * 4 + 8), a = RandomRow(rng, count * 4 + 8), b = a;
      call(a.data() + offset, src.data() + offset, count, false);
      call(b.data() + offset, src.data() + offset, count, true);
      ASSERT_EQ(a, b) << name << " count " << count << " offset " << offset;
    }
}

TEST(BlendKernels, Sse2FormsEqualTheScalarForms) {
  ASSERT_NE(ZqGetCPUSupport(ZQCPU_SSE2), 0u) << "the SSE2 forms cannot run here";
  for (auto forms : {OverForms(), UnderForms()}) {
    ASSERT_NE(forms.sse2, nullptr);
    Compare("over/under", [&](BYTE* d, const BYTE* s, int n, bool v) { (v ? forms.sse2 : forms.scalar)(d, s, n); });
  }
  auto fade = CrossFadeForms();
  for (auto w : {std::pair{16384, 16384}, std::pair{0, 16384}, std::pair{8191, 12000}, std::pair{16384, 1}})
    Compare("cross-fade", [&](BYTE* d, const BYTE* s, int n, bool v) {
      (v ? fade.sse2 : fade.scalar)(d, s, n, w.first, w.second);
    });
  int vectorised = 0;
  for (int index = 0; index < kCompositorCount; ++index) {
    auto rows = CompositorRows(index);
    if (!rows.sse2) continue;
    ++vectorised;
    for (int opacity : {0, 1, 127, 128, 254, 255, 0x3FF})
      Compare("compositor", [&](BYTE* d, const BYTE* s, int n, bool v) {
        (v ? rows.sse2 : rows.scalar)(d, s, opacity, n);
      });
  }
  EXPECT_EQ(vectorised, kCompositorCount);
}

// Dodge and Burn divide in single precision in their SSE2 forms: every
// (d, s, opacity) triple against the scalar integers.
TEST(BlendKernels, DodgeAndBurnExactOnEveryTriple) {
  std::vector<BYTE> src(65536 * 4), base(65536 * 4);
  for (int i = 0; i < 65536; ++i) {
    BYTE d = static_cast<BYTE>(i >> 8), s = static_cast<BYTE>(i);
    const BYTE dp[4] = {d, d, static_cast<BYTE>(255 - d), s}, sp[4] = {s, static_cast<BYTE>(255 - s), s, d};
    std::memcpy(&base[4 * i], dp, 4);
    std::memcpy(&src[4 * i], sp, 4);
  }
  for (int index : {4, 5}) {
    auto rows = CompositorRows(index);
    ASSERT_NE(rows.sse2, nullptr);
    for (int opacity = 0; opacity < 256; ++opacity) {
      std::vector<BYTE> a = base, b = base;
      rows.scalar(a.data(), src.data(), opacity, 65536);
      rows.sse2(b.data(), src.data(), opacity, 65536);
      ASSERT_EQ(a, b) << "compositor " << index << " opacity " << opacity;
    }
  }
}

// Whole images through the exports with the forms switched off and on.
TEST(BlendKernels, ExportsGiveTheSameImagesWithAndWithoutVectorForms) {
  std::mt19937 rng(4);
  const int w = 53, h = 7, stride = w * 4;
  RECT bounds{0, 0, w, h};
  std::vector<BYTE> src = RandomRow(rng, stride * h), dst = RandomRow(rng, stride * h);
  auto run = [&](bool vector) {
    SetBlendVectorForms(vector);
    std::vector<BYTE> a = dst;
    ZqDibOver(a.data(), &bounds, stride, nullptr, src.data(), &bounds, stride, nullptr, 4, nullptr);
    ZqDibUnder(a.data(), &bounds, stride, nullptr, src.data(), &bounds, stride, nullptr, 4);
    ZqDibWeightedCrossFade(a.data(), &bounds, stride, nullptr, 0.7, src.data(), &bounds, stride, nullptr, 0.45, 4);
    for (int i = 0; i < ZQOVERLAY_COUNT; ++i)
      ZqOverlay_GetCompositor(i)->row(reinterpret_cast<ZQRGBA*>(a.data()), reinterpret_cast<const ZQRGBA*>(src.data()),
                                      100 + i * 15, w * h);
    return a;
  };
  std::vector<BYTE> scalar = run(false), vector = run(true);
  EXPECT_EQ(scalar, vector);
  EXPECT_NE(scalar, dst);
}

}  // namespace
