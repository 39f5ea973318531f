// Compositing through the exports: every 8-bit blend and every compositor
// against the independent model on random pixels (every (d, s) pair for
// the compositors, so both branches of Overlay and Hard Light and their
// negative numerators are crossed), the registry, and bad weights held
// to range.
#include <gtest/gtest.h>

#include <objbase.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "compose_model.h"
#include "dib_test_support.h"
#include "zq/overlay.h"

namespace {

using composemodel::Load;
using composemodel::Pixel;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A raw buffer of 4-byte pixels with a row pad, so strides are not width x 4.
struct Buffer {
  int width, height, stride;
  RECT bounds;
  std::vector<BYTE> bytes;
  Buffer(int w, int h, std::mt19937& rng) : width(w), height(h), stride(w * 4 + 8), bounds{0, 0, w, h} {
    bytes.resize(static_cast<size_t>(stride) * h);
    for (BYTE& b : bytes) b = static_cast<BYTE>(rng());
  }
  BYTE* At(int x, int y) { return bytes.data() + static_cast<size_t>(stride) * y + 4 * x; }
};

// Runs `blend` on a destination region of a copy and compares every pixel
// with `model`; pixels outside the region must not change.
template <typename Blend, typename Model>
void CheckBlend(const char* name, Blend&& blend, Model&& model) {
  std::mt19937 rng(21);
  Buffer d(37, 11, rng), s(41, 13, rng);
  Buffer before = d;
  RECT dr{3, 2, 34, 10}, sr{6, 1, 37, 9};
  ASSERT_EQ(blend(d, dr, s, sr), S_OK) << name;
  for (int y = 0; y < d.height; ++y)
    for (int x = 0; x < d.width; ++x) {
      bool inside = x >= dr.left && x < dr.right && y >= dr.top && y < dr.bottom;
      Pixel expected = inside ? model(Load(before.At(x, y)), Load(s.At(x - dr.left + sr.left, y - dr.top + sr.top)))
                              : Load(before.At(x, y));
      ASSERT_TRUE(composemodel::Same(d.At(x, y), expected)) << name << " at " << x << "," << y;
    }
}

TEST(Compose, EightBitBlendsMatchTheModel) {
  using namespace composemodel;
  CheckBlend("over", [](Buffer& d, RECT& dr, Buffer& s, RECT& sr) {
    return ZqDibOver(d.bytes.data(), &d.bounds, d.stride, &dr, s.bytes.data(), &s.bounds, s.stride, &sr, 4, nullptr);
  }, Over);
  const double matte[3] = {0.2, 0.9, 0.5};
  const int64_t m8[3] = {51, 229, 127};
  CheckBlend("over with matte", [&](Buffer& d, RECT& dr, Buffer& s, RECT& sr) {
    return ZqDibOver(d.bytes.data(), &d.bounds, d.stride, &dr, s.bytes.data(), &s.bounds, s.stride, &sr, 4, matte);
  }, [&](const Pixel& d, const Pixel& s) { return OverMatte(d, s, m8); });
  CheckBlend("under", [](Buffer& d, RECT& dr, Buffer& s, RECT& sr) {
    return ZqDibUnder(d.bytes.data(), &d.bounds, d.stride, &dr, s.bytes.data(), &s.bounds, s.stride, &sr, 4);
  }, Under);
  // Weights outside 0..1 and NaN are held to range; the model says so independently.
  for (double w : {0.5, 0.3, 1.0, 0.0, 7.0, -2.0, kNaN, 1e300}) {
    CheckBlend("absolute", [&](Buffer& d, RECT& dr, Buffer& s, RECT& sr) {
      return ZqDibAbsoluteAlphaValueBlend(d.bytes.data(), &d.bounds, d.stride, &dr, s.bytes.data(), &s.bounds,
                                          s.stride, &sr, 4, w);
    }, [&](const Pixel& d, const Pixel& s) { return Absolute(d, s, w); });
    CheckBlend("relative", [&](Buffer& d, RECT& dr, Buffer& s, RECT& sr) {
      return ZqDibRelativeAlphaValueBlend(d.bytes.data(), &d.bounds, d.stride, &dr, s.bytes.data(), &s.bounds,
                                          s.stride, &sr, 4, w);
    }, [&](const Pixel& d, const Pixel& s) { return Relative(d, s, w); });
  }
  const double pairs[][2] = {{0.5, 0.5}, {1.0, 1.0}, {0.25, 0.6}, {1e12, 3.0}, {-1.0, 0.7}, {kNaN, 0.4}, {2.5, -1e9}};
  for (auto& p : pairs)
    CheckBlend("cross-fade", [&](Buffer& d, RECT& dr, Buffer& s, RECT& sr) {
      return ZqDibWeightedCrossFade(d.bytes.data(), &d.bounds, d.stride, &dr, p[0], s.bytes.data(), &s.bounds,
                                    s.stride, &sr, p[1], 4);
    }, [&](const Pixel& d, const Pixel& s) { return CrossFade(d, s, p[0], p[1]); });
}

TEST(Compose, StatedValues) {
  // Half-transparent over opaque: alpha 192; 0.5 gives w 128 absolute, 127 relative.
  BYTE d[4] = {0, 0, 0, 255}, s[4] = {255, 255, 255, 128};
  RECT one{0, 0, 1, 1};
  ASSERT_EQ(ZqDibOver(d, &one, 4, nullptr, s, &one, 4, nullptr, 4, nullptr), S_OK);
  EXPECT_EQ(d[3], 192);
  EXPECT_EQ(d[0], 127);  // 255 x 128 / 256
  BYTE a[4] = {0, 0, 0, 0}, b[4] = {0, 0, 0, 0}, full[4] = {255, 255, 255, 255};
  ZqDibAbsoluteAlphaValueBlend(a, &one, 4, nullptr, full, &one, 4, nullptr, 4, 0.5);
  ZqDibRelativeAlphaValueBlend(b, &one, 4, nullptr, full, &one, 4, nullptr, 4, 0.5);
  EXPECT_EQ(a[0], 127);  // 128 x 255 / 256
  EXPECT_EQ(b[0], 125);  // ((255 x 127) >> 8 = 126) x 255 / 256
  // Both cross-fade weights 1: capped at 255.
  BYTE c[4] = {200, 100, 255, 0}, e[4] = {200, 200, 1, 0};
  ZqDibWeightedCrossFade(c, &one, 4, nullptr, 1.0, e, &one, 4, nullptr, 1.0, 4);
  EXPECT_EQ(c[0], 255);
  EXPECT_EQ(c[1], 255);
  EXPECT_EQ(c[2], 255);
  EXPECT_EQ(c[3], 0);
  // Premultiply maps 255 to 254 under alpha 255.
  BYTE p[4] = {255, 128, 0, 255};
  ASSERT_EQ(ZqDibPremultiply(p, &one, 4, nullptr, 4), S_OK);
  EXPECT_EQ(p[0], 254);
  EXPECT_EQ(p[1], 127);
}

TEST(Compose, CompositorsMatchTheModelOnEveryPair) {
  ASSERT_EQ(ZqOverlay_GetCompositorCount(), 10);
  // Every (d, s) channel pair in a row of 65536 pixels; alphas vary too.
  std::vector<BYTE> src(65536 * 4), base(65536 * 4);
  for (int i = 0; i < 65536; ++i) {
    int dv = i >> 8, sv = i & 255;
    BYTE* d = &base[4 * i];
    BYTE* s = &src[4 * i];
    d[0] = static_cast<BYTE>(dv), d[1] = static_cast<BYTE>(255 - dv), d[2] = static_cast<BYTE>(dv ^ 0x5A),
    d[3] = static_cast<BYTE>(sv ^ 0x33);
    s[0] = static_cast<BYTE>(sv), s[1] = static_cast<BYTE>(sv), s[2] = static_cast<BYTE>(255 - sv),
    s[3] = static_cast<BYTE>(dv);
  }
  for (int index = 0; index < 10; ++index) {
    const tZQOVERLAY* entry = ZqOverlay_GetCompositor(index);
    ASSERT_NE(entry, nullptr);
    for (int opacity : {255, 0, 128, 77, 0x1C8 /* low 8 bits: 200 */}) {
      std::vector<BYTE> rowOut = base, pixelOut = base;
      entry->row(reinterpret_cast<ZQRGBA*>(rowOut.data() + 4), reinterpret_cast<const ZQRGBA*>(src.data() + 4), opacity,
                 65535);  // from the second pixel: unaligned rows
      entry->row(reinterpret_cast<ZQRGBA*>(rowOut.data()), reinterpret_cast<const ZQRGBA*>(src.data()), opacity, 1);
      for (int i = 0; i < 65536; ++i)
        entry->pixel(reinterpret_cast<ZQRGBA*>(&pixelOut[4 * i]), reinterpret_cast<const ZQRGBA*>(&src[4 * i]),
                     opacity);
      for (int i = 0; i < 65536; ++i) {
        Pixel m = composemodel::Composite(index, Load(&base[4 * i]), Load(&src[4 * i]), opacity);
        ASSERT_TRUE(composemodel::Same(&rowOut[4 * i], m)) << "row, compositor " << index << " opacity " << opacity
                                                           << " pixel " << i;
        ASSERT_TRUE(composemodel::Same(&pixelOut[4 * i], m)) << "pixel, compositor " << index << " pixel " << i;
      }
    }
  }
  // Stated cases: Darken at full opacity; Dodge at opacity 0 adds the alphas only.
  ZQRGBA d{10, 200, 30, 255}, s{50, 100, 30, 128};
  ZqOverlay_GetCompositor(6)->pixel(&d, &s, 255);
  EXPECT_EQ((std::array<int, 4>{d.blue, d.green, d.red, d.alpha}), (std::array<int, 4>{10, 100, 30, 128}));
  ZQRGBA e{90, 10, 250, 200}, f{255, 255, 255, 100};
  ZqOverlay_GetCompositor(4)->pixel(&e, &f, 0);
  EXPECT_EQ((std::array<int, 4>{e.blue, e.green, e.red, e.alpha}), (std::array<int, 4>{90, 10, 250, 255}));
}

TEST(Compose, RegistryNamesAndGuids) {
  EXPECT_EQ(ZqOverlay_GetCompositor(10), nullptr);
  EXPECT_EQ(ZqOverlay_GetCompositor(-1), nullptr);
  GUID g{};
  EXPECT_FALSE(ZqOverlay_GetCompositorGUID(10, &g));
  EXPECT_FALSE(ZqOverlay_GetCompositorGUID(0, nullptr));
  const wchar_t* names[] = {L"Cut",    L"Screen",  L"Overlay",    L"Hard Light", L"Dodge",
                            L"Burn",   L"Darken",  L"Lighten",    L"Difference", L"Difference Squared"};
  std::set<std::wstring> seen;
  for (int i = 0; i < 10; ++i) {
    const tZQOVERLAY* entry = ZqOverlay_GetCompositor(i);
    WCHAR name[64] = L"";
    GUID guid{};
    EXPECT_EQ(entry->describe(name, 64, &guid), S_OK);
    EXPECT_STREQ(name, names[i]);
    ASSERT_TRUE(ZqOverlay_GetCompositorGUID(i, &g));
    EXPECT_EQ(std::memcmp(&g, &guid, sizeof g), 0);
    WCHAR text[40];
    StringFromGUID2(guid, text, 40);
    seen.insert(text);
    EXPECT_EQ(ZqOverlay_GetCompositorIndex(guid), i);
    EXPECT_EQ(ZqOverlay_GetCompositor(guid), entry);  // the C++ overload over the plain export
    EXPECT_EQ(ZqOverlay_GetCompositorByGUID(guid), entry);
  }
  EXPECT_EQ(seen.size(), 10u);
  // Length 0: no text, the GUID still written; a short buffer is cut and terminated.
  WCHAR untouched[4] = L"xyz";
  GUID guid{};
  EXPECT_EQ(ZqOverlay_GetCompositor(3)->describe(untouched, 0, &guid), S_OK);
  EXPECT_STREQ(untouched, L"xyz");
  EXPECT_EQ(ZqOverlay_GetCompositorIndex(guid), 3);
  WCHAR shortName[4];
  ZqOverlay_GetCompositor(3)->describe(shortName, 4, nullptr);
  EXPECT_STREQ(shortName, L"Har");
  GUID unknown = guid;
  unknown.Data4[7] ^= 0x80;
  EXPECT_EQ(ZqOverlay_GetCompositorIndex(unknown), -1);
  EXPECT_EQ(ZqOverlay_GetCompositorByGUID(unknown), nullptr);
}

TEST(Compose, OneBufferOperations) {
  std::mt19937 rng(3);
  Buffer b(19, 7, rng);
  Buffer before = b;
  RECT r{2, 1, 17, 6};
  const double colour[4] = {0.1, 2.0, kNaN, 0.75};  // held: 25, 255, 0; weight 191
  ASSERT_EQ(ZqDibBlendWithColor(b.bytes.data(), &b.bounds, b.stride, &r, 4, colour), S_OK);
  const int64_t c8[3] = {25, 255, 0};
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      Pixel p = Load(before.At(x, y));
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
        for (int c = 0; c < 3; ++c) p[c] += composemodel::Quot(191 * (c8[c] - p[c]), 256);
      ASSERT_TRUE(composemodel::Same(b.At(x, y), p)) << x << "," << y;
    }
  EXPECT_EQ(ZqDibBlendWithColor(b.bytes.data(), &b.bounds, b.stride, &r, 4, nullptr), E_POINTER);

  // Premultiply, patch and the matte repair, pixel by pixel.
  Buffer pm = before, patch = before, prep = before;
  ZqDibPremultiply(pm.bytes.data(), &pm.bounds, pm.stride, nullptr, 4);
  ZqDibPatchPreMultiplied(patch.bytes.data(), &patch.bounds, patch.stride, nullptr, 4);
  const float matte[3] = {0.5f, 0.0f, 1.0f};
  ASSERT_EQ(ZqDibPrepAlpha(prep.bytes.data(), prep.width, prep.height, prep.stride, nullptr, 3, matte, 4), S_OK);
  const int64_t m8[3] = {127, 0, 255};
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      const BYTE* o = before.At(x, y);
      for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(pm.At(x, y)[c], o[c] * o[3] / 256);
        EXPECT_EQ(patch.At(x, y)[c], std::min(o[c], o[3]));
        EXPECT_EQ(prep.At(x, y)[c], composemodel::Clamp(o[c] - m8[c] + (o[3] * m8[c]) / 256, 0, o[3]));
      }
      EXPECT_EQ(pm.At(x, y)[3], o[3]);
    }
  // Modes of the alpha preparation: 0 sets alpha, 7 is refused and changes nothing.
  Buffer modes = before;
  EXPECT_EQ(ZqDibPrepAlpha(modes.bytes.data(), modes.width, modes.height, modes.stride, nullptr, 7, nullptr, 4),
            E_NOTIMPL);
  EXPECT_EQ(modes.bytes, before.bytes);
  EXPECT_EQ(ZqDibPrepAlpha(modes.bytes.data(), modes.width, modes.height, modes.stride, nullptr, -1, nullptr, 4), S_OK);
  EXPECT_EQ(modes.At(5, 5)[3], 255);
  EXPECT_EQ(modes.At(5, 5)[0], before.At(5, 5)[0]);
}

TEST(Compose, FieldBlendAndAccumulate) {
  std::mt19937 rng(9);
  Buffer d(13, 9, rng), s(13, 9, rng);
  Buffer before = d;
  RECT region{2, 1, 11, 8};
  ASSERT_EQ(ZqDibFieldBlend(d.bytes.data(), &d.bounds, d.stride, &region, s.bytes.data(), &s.bounds, s.stride, &region,
                            4),
            S_OK);
  auto src = [&](int x, int y, int c) {
    x = std::clamp(x, static_cast<int>(region.left), static_cast<int>(region.right) - 1);
    y = std::clamp(y, static_cast<int>(region.top), static_cast<int>(region.bottom) - 1);
    return static_cast<int>(s.At(x, y)[c]);
  };
  for (int y = region.top; y < region.bottom; ++y)
    for (int x = region.left; x < region.right; ++x)
      for (int c = 0; c < 4; ++c) {
        int sum = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) sum += src(x + dx, y + dy, c) * (dx ? 1 : 2) * (dy ? 1 : 2);
        ASSERT_EQ(d.At(x, y)[c], sum / 16) << x << "," << y;
      }
  EXPECT_EQ(std::memcmp(d.At(0, 0), before.At(0, 0), 4), 0);

  // Accumulate: modes checked in two stages; the shift by whole pixels adds
  // the neighbour scaled by the weight, held to 255.
  Buffer a = before;
  EXPECT_EQ(ZqDibAccumulate(a.bytes.data(), &a.bounds, a.stride, nullptr, s.bytes.data(), &s.bounds, s.stride,
                            nullptr, 1, 0.5, 0, 0, 4),
            E_NOTIMPL);
  RECT wrong{0, 0, 2, 2}, other{0, 0, 3, 3};
  EXPECT_EQ(ZqDibAccumulate(a.bytes.data(), &a.bounds, a.stride, &wrong, s.bytes.data(), &s.bounds, s.stride,
                            &other, 2, 0.5, 0, 0, 4),
            E_INVALIDARG);  // mode 2 prepares the region first
  EXPECT_EQ(ZqDibAccumulate(a.bytes.data(), &a.bounds, a.stride, nullptr, s.bytes.data(), &s.bounds, s.stride,
                            nullptr, 2, 0.5, 0, 0, 4),
            E_NOTIMPL);
  EXPECT_EQ(ZqDibAccumulate(nullptr, &a.bounds, a.stride, nullptr, s.bytes.data(), &s.bounds, s.stride, nullptr, 3,
                            0.5, 0, 0, 4),
            E_POINTER);
  EXPECT_EQ(a.bytes, before.bytes);
  ASSERT_EQ(ZqDibAccumulate(a.bytes.data(), &a.bounds, a.stride, nullptr, s.bytes.data(), &s.bounds, s.stride,
                            nullptr, 3, 0.25, 1.0, 0.0, 4),
            S_OK);
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      for (int c = 0; c < 4; ++c) {
        int expected = before.At(x, y)[c];
        if (x + 1 < a.width) expected = std::min(255, expected + (4096 * s.At(x + 1, y)[c]) / 16384);
        ASSERT_EQ(a.At(x, y)[c], expected) << x << "," << y;
      }
  // Offsets far beyond any position and NaN weights change nothing and do not fail.
  Buffer distant = before;
  EXPECT_EQ(ZqDibAccumulate(distant.bytes.data(), &distant.bounds, distant.stride, nullptr, s.bytes.data(), &s.bounds, s.stride,
                            nullptr, 3, 1.0, 1e300, -kNaN, 4),
            S_OK);
  EXPECT_EQ(distant.bytes, before.bytes);
}

// Float pixels: each blend against the float formula evaluated in double.
TEST(Compose, FloatBlendsMatchTheirFormulas) {
  std::mt19937 rng(17);
  std::uniform_real_distribution<float> level(0.0f, 1.0f);
  const int n = 64;
  RECT bounds{0, 0, n, 1};
  std::vector<float> d0(4 * n), s(4 * n);
  for (float& v : d0) v = level(rng);
  for (float& v : s) v = level(rng);
  auto bytes = [](std::vector<float>& v) { return reinterpret_cast<BYTE*>(v.data()); };
  using Formula = double (*)(int c, const float* d, const float* s);
  struct Case {
    const char* name;
    std::function<void(std::vector<float>&)> run;
    Formula formula;
  };
  const Case cases[] = {
      {"over", [&](auto& d) { ZqDibOver(bytes(d), &bounds, 16 * n, nullptr, bytes(s), &bounds, 16 * n, nullptr, 16, nullptr); },
       [](int c, const float* d, const float* s) { return d[c] + (double(s[c]) - d[c]) * s[3]; }},
      {"under", [&](auto& d) { ZqDibUnder(bytes(d), &bounds, 16 * n, nullptr, bytes(s), &bounds, 16 * n, nullptr, 16); },
       [](int c, const float* d, const float* s) { return s[c] + double(d[3]) * (d[c] - s[c]); }},
      {"absolute 0.3", [&](auto& d) {
         ZqDibAbsoluteAlphaValueBlend(bytes(d), &bounds, 16 * n, nullptr, bytes(s), &bounds, 16 * n, nullptr, 16, 0.3);
       },
       [](int c, const float* d, const float* s) { return d[c] + (double(s[c]) - d[c]) * 0.3; }},
      {"relative 0.3", [&](auto& d) {
         ZqDibRelativeAlphaValueBlend(bytes(d), &bounds, 16 * n, nullptr, bytes(s), &bounds, 16 * n, nullptr, 16, 0.3);
       },
       [](int c, const float* d, const float* s) { return d[c] + (double(s[c]) - d[c]) * 0.3 * s[3]; }},
      {"cross-fade", [&](auto& d) {
         ZqDibWeightedCrossFade(bytes(d), &bounds, 16 * n, nullptr, 0.7, bytes(s), &bounds, 16 * n, nullptr, 0.6, 16);
       },
       [](int c, const float* d, const float* s) { return std::min(1.0, 0.6 * s[c] + 0.7 * d[c]); }},
      {"premultiply", [&](auto& d) { ZqDibPremultiply(bytes(d), &bounds, 16 * n, nullptr, 16); },
       [](int c, const float* d, const float*) { return c == 3 ? double(d[3]) : double(d[c]) * d[3]; }},
      {"patch", [&](auto& d) { ZqDibPatchPreMultiplied(bytes(d), &bounds, 16 * n, nullptr, 16); },
       [](int c, const float* d, const float*) { return c == 3 ? double(d[3]) : std::min(d[c], d[3]); }},
      {"matte prep leaves floats", [&](auto& d) {
         const float matte[3] = {0.5f, 0.5f, 0.5f};
         ZqDibPrepAlphaImage(bytes(d), &bounds, 16 * n, nullptr, 0, matte, 16);
       },
       [](int c, const float* d, const float*) { return double(d[c]); }},
  };
  for (const Case& k : cases) {
    std::vector<float> d = d0;
    k.run(d);
    for (int i = 0; i < n; ++i)
      for (int c = 0; c < 4; ++c)
        ASSERT_NEAR(d[4 * i + c], k.formula(c, &d0[4 * i], &s[4 * i]), 1e-6) << k.name << " pixel " << i;
  }
}

TEST(Compose, FloatPathsAndCustomBlend) {
  float d[8] = {0.2f, 0.4f, 0.6f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f}, s[8] = {1.0f, 0.0f, 0.5f, 0.5f, 1, 1, 1, 1};
  RECT bounds{0, 0, 2, 1};
  ZqDibOver(reinterpret_cast<BYTE*>(d), &bounds, 32, nullptr, reinterpret_cast<BYTE*>(s), &bounds, 32, nullptr, 16,
            nullptr);
  EXPECT_FLOAT_EQ(d[0], 0.6f);
  EXPECT_FLOAT_EQ(d[3], 0.75f);
  EXPECT_FLOAT_EQ(d[4], 1.0f);
  ZqDibWeightedCrossFade(reinterpret_cast<BYTE*>(d), &bounds, 32, nullptr, 1e9, reinterpret_cast<BYTE*>(s), &bounds,
                         32, nullptr, kNaN, 16);
  EXPECT_FLOAT_EQ(d[0], 0.6f);  // weights 1 and 0
  int calls = 0;
  EXPECT_EQ(ZqDibCustomBlend(reinterpret_cast<BYTE*>(d), &bounds, 32, nullptr, reinterpret_cast<BYTE*>(s), &bounds, 32,
                             nullptr, 16,
                             [](BYTE* dp, const BYTE* sp, DWORD_PTR user) CALLBACK {
                               ++*reinterpret_cast<int*>(user);
                               std::memcpy(dp, sp, 16);
                             },
                             reinterpret_cast<DWORD_PTR>(&calls)),
            S_OK);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(std::memcmp(d, s, 32), 0);
  EXPECT_EQ(ZqDibCustomBlend(reinterpret_cast<BYTE*>(d), &bounds, 32, nullptr, reinterpret_cast<BYTE*>(s), &bounds, 32,
                             nullptr, 16, nullptr, 0),
            E_POINTER);
}

}  // namespace

namespace {

// round(x / 255) as the fade computes it, with floor division.
int64_t Round255(int64_t x) {
  auto floorDiv = [](int64_t a, int64_t b) { return static_cast<int64_t>(std::floor(double(a) / double(b))); };
  return floorDiv(x + 128 + floorDiv(x + 128, 256), 256);
}

TEST(Compose, FadeToColour) {
  std::mt19937 rng(12);
  dibtest::TestImage image(ZqPixel_Rgba32, 6, 5), pal(ZqPixel_Pal8, 4, 4, dibtest::RandomPalette(rng, 256));
  image.Randomise(rng);
  std::vector<BYTE> before = image.Snapshot();
  ZQRGBAFLOAT colour{1.0f, 0.5f, 0.0f, 0.2f};  // bytes 255, 127, 0, 51
  EXPECT_EQ(ZqDibFadeToColor(pal.Header(), nullptr, nullptr, 0, colour, 0.5f, FALSE, 0), E_NOTIMPL);
  // A sub-pixel rectangle from x 1.25 to 4.5 and y 1 to 3: column 1 covers
  // 0.75, column 4 covers 0.5, the rows fully.
  RECT sub{16384 + 4096, 16384, 4 * 16384 + 8192, 3 * 16384};
  ASSERT_EQ(ZqDibFadeToColor(image.Header(), nullptr, &sub, 0, colour, 0.6f, TRUE, ZQDIB_SUBPIXEL), S_OK);
  const int target[4] = {255, 127, 0, 51};
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
      for (int c = 0; c < 4; ++c) {
        size_t at = static_cast<size_t>(image.Row(y) - image.Bits()) + 4 * x + c;
        int64_t v = before[at];
        double coverage = x == 1 ? 0.75 : x == 4 ? 0.5 : 1.0;
        if (y >= 1 && y < 3 && x >= 1 && x <= 4 && c < 3) {
          int64_t amount = static_cast<int64_t>(0.6f * coverage * 255);
          v = composemodel::Clamp(v + Round255((target[c] - v) * amount), 0, 255);
        }
        ASSERT_EQ(image.Bits()[at], v) << x << "," << y << " channel " << c;
      }
  // A NaN amount fades nothing.
  std::vector<BYTE> now = image.Snapshot();
  EXPECT_EQ(ZqDibFadeToColor(image.Header(), nullptr, nullptr, 0, colour, std::nanf(""), FALSE, 0), S_OK);
  EXPECT_EQ(image.Snapshot(), now);
  // Float images: channel + (colour - channel) x amount, alpha included.
  dibtest::TestImage f(ZqPixel_RgbaFloat, 2, 2);
  float* p = reinterpret_cast<float*>(f.Row(0));
  p[0] = 0.0f, p[3] = 1.0f;
  ASSERT_EQ(ZqDibFadeToColor(f.Header(), nullptr, nullptr, 0, colour, 0.25f, FALSE, 0), S_OK);
  EXPECT_FLOAT_EQ(p[0], 0.25f);
  EXPECT_FLOAT_EQ(p[3], 0.8f);
}

}  // namespace
