// Colour operations: HSL against Python's colorsys, the broadcast-safe
// checks against a plain-Python model of their rules (references made at
// build time by colour_reference.py), look-up tables, desaturation and the
// transfer functions against arithmetic written here, and out-of-range
// floats held to range before they become indices or bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "dib_test_support.h"
#include "zq/colour.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

std::vector<std::vector<double>> Records(const std::string& kind) {
  std::ifstream in(QUILLET_COLOUR_REFERENCE);
  std::vector<std::vector<double>> out;
  std::string line, word;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    words >> word;
    if (word != kind) continue;
    std::vector<double> v;
    double x;
    while (words >> x) v.push_back(x);
    out.push_back(v);
  }
  return out;
}
ZQRGBAFLOAT Colour(double r, double g, double b) {
  return ZQRGBAFLOAT{static_cast<float>(b), static_cast<float>(g), static_cast<float>(r), 0.75f};
}
// Hue is a circle: 0 and 1 are the same.
double HueDistance(double a, double b) {
  double d = std::fabs(a - b);
  return std::min(d, 1 - d);
}

TEST(Colour, HslAgreesWithColorsys) {
  auto forward = Records("hsl");
  ASSERT_GT(forward.size(), 2000u) << "reference file missing";
  for (auto& v : forward) {
    ZQHSL h;
    ZQRGBAFLOAT_To_ZQHSL(&h, Colour(v[0], v[1], v[2]));
    EXPECT_NEAR(HueDistance(h.hue, v[3]), 0, 1e-9) << v[0] << " " << v[1] << " " << v[2];
    EXPECT_NEAR(h.lightness, v[4], 1e-9);
    EXPECT_NEAR(h.saturation, v[5], 1e-9);
    EXPECT_EQ(h.alpha, 0.75);
    ZQHSL same;
    ZQDIBPIXEL p{static_cast<float>(v[2]), static_cast<float>(v[1]), static_cast<float>(v[0]), 0.75f};
    ZQDIBPIXEL_To_ZQHSL(&same, p);
    EXPECT_EQ(std::memcmp(&same, &h, sizeof h), 0);
  }
  auto backward = Records("rgb");
  ASSERT_GT(backward.size(), 1000u);
  for (auto& v : backward) {
    ZQHSL h{v[0], v[2], v[1], 0.5};
    ZQRGBAFLOAT c;
    ZQHSL_To_ZQRGBAFLOAT(&c, h);
    EXPECT_NEAR(c.red, v[3], 1e-6) << v[0] << " " << v[1] << " " << v[2];
    EXPECT_NEAR(c.green, v[4], 1e-6);
    EXPECT_NEAR(c.blue, v[5], 1e-6);
    ZQRGBA b;
    ZQHSL_To_ZQRGBA(&b, h);  // trunc(value x 255); the reference can sit on a step
    EXPECT_NEAR(b.red, std::trunc(v[3] * 255), 1.0);
    EXPECT_EQ(b.alpha, 127);
  }
  // 8-bit input reads channels x 1/255.
  ZQHSL h;
  ZQRGBA_To_ZQHSL(&h, ZQRGBA{0, 255, 255, 255});
  EXPECT_NEAR(h.hue, 1.0 / 6, 1e-12);
  EXPECT_DOUBLE_EQ(h.lightness, 0.5);
  EXPECT_DOUBLE_EQ(h.alpha, 1.0);
}

TEST(Colour, OutOfRangeHslBecomesBytesHeldToRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const ZQHSL cases[] = {{nan, 0.5, 0.5, nan},  {1e300, 1, 0.5, 1e300}, {-1e300, 1, 0.5, -3},
                         {0.3, 5.0, 0.5, 2.0},  {0.5, nan, nan, 0.5},   {7.25, 1, 0.4, 1}};
  for (const ZQHSL& c : cases) {
    ZQRGBA out{1, 2, 3, 4};
    ZQHSL_To_ZQRGBA(&out, c);  // defined for every input: no wrapped bytes
    double a = c.alpha != c.alpha ? 0 : std::clamp(c.alpha, 0.0, 1.0);
    EXPECT_EQ(out.alpha, static_cast<int>(a * 255));
  }
  ZQRGBA sat;
  ZQHSL_To_ZQRGBA(&sat, ZQHSL{0.0, 5.0, 0.5, 1});  // m2 = 3, m1 = -2: red held to 255, blue to 0
  EXPECT_EQ(sat.red, 255);
  EXPECT_EQ(sat.blue, 0);
}

TEST(Colour, BroadcastSafeChecksAgreeWithTheModel) {
  BOOL(WINAPI * checks[3])(const ZQRGBAFLOAT*) = {HotCheckNTSCYIQ, HotCheckNTSCYUV, HotCheckPALYUV};
  BOOL(WINAPI * fixes[3])(ZQRGBAFLOAT*) = {HotCheckNTSCYIQReturn, HotCheckNTSCYUVReturn, HotCheckPALYUVReturn};
  auto hot = Records("hot");
  ASSERT_GT(hot.size(), 2000u);
  int hotCount = 0;
  for (auto& v : hot)
    for (int i = 0; i < 3; ++i) {
      ZQRGBAFLOAT c = Colour(v[0], v[1], v[2]), before = c;
      EXPECT_EQ(checks[i](&c), v[3 + i]) << i << ": " << v[0] << " " << v[1] << " " << v[2];
      EXPECT_EQ(std::memcmp(&c, &before, sizeof c), 0);
      if (v[3 + i] == 0) {
        EXPECT_EQ(fixes[i](&c), FALSE);
        EXPECT_EQ(std::memcmp(&c, &before, sizeof c), 0) << "a colour that is not hot is left bit for bit";
      } else {
        ++hotCount;
      }
    }
  EXPECT_GT(hotCount, 100);
  for (auto& v : Records("fix")) {
    ZQRGBAFLOAT c = Colour(v[0], v[1], v[2]);
    int i = static_cast<int>(v[3]);
    ASSERT_EQ(fixes[i](&c), TRUE);
    EXPECT_NEAR(c.red, v[4], 2e-6) << i << ": " << v[0] << " " << v[1] << " " << v[2];
    EXPECT_NEAR(c.green, v[5], 2e-6);
    EXPECT_NEAR(c.blue, v[6], 2e-6);
    EXPECT_EQ(c.alpha, 0.75f);
  }
  // The stated cases: grey is never hot, saturated yellow always is.
  ZQRGBAFLOAT grey = Colour(0.6, 0.6, 0.6), yellow = Colour(1, 1, 0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(checks[i](&grey));
    EXPECT_TRUE(checks[i](&yellow));
  }
  EXPECT_FALSE(HotCheckPALYUV(nullptr));
  EXPECT_FALSE(HotCheckPALYUVReturn(nullptr));
}

TEST(Colour, LookUpTablesOnBothPixelSizes) {
  std::mt19937 rng(6);
  const int w = 9, h = 5, stride = w * 4 + 4;
  RECT bounds{0, 0, w, h}, rect{1, 1, 8, 4};
  std::vector<BYTE> image(stride * h);
  for (BYTE& b : image) b = static_cast<BYTE>(rng());
  BYTE table[256];
  for (int i = 0; i < 256; ++i) table[i] = static_cast<BYTE>(255 - i / 2);
  std::vector<BYTE> single = image;
  ASSERT_EQ(ZqDibSingleLUT(single.data(), &bounds, stride, &rect, 4, table, TRUE, TRUE, TRUE), S_OK);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const BYTE* o = &image[y * stride + 4 * x];
      const BYTE* p = &single[y * stride + 4 * x];
      bool inside = x >= 1 && x < 8 && y >= 1 && y < 4;
      for (int c = 0; c < 4; ++c) {
        int expected = o[c];
        if (inside) expected = c == 3 ? table[o[3]] : std::min(table[o[c]], table[o[3]]);
        ASSERT_EQ(p[c], expected) << x << "," << y << " channel " << c;
      }
    }
  // Per channel: null tables leave their channels alone; all null changes nothing.
  std::vector<BYTE> per = image;
  ASSERT_EQ(ZqDibPerChannelLUT(per.data(), &bounds, stride, nullptr, 4, nullptr, nullptr, nullptr, nullptr, TRUE),
            S_OK);
  EXPECT_EQ(per, image);
  ASSERT_EQ(ZqDibPerChannelLUT(per.data(), &bounds, stride, nullptr, 4, table, nullptr, nullptr, nullptr, TRUE), S_OK);
  for (int i = 0; i < w * h; ++i) {
    int at = (i / w) * stride + 4 * (i % w);
    EXPECT_EQ(per[at + 2], table[image[at + 2]]);
    EXPECT_EQ(per[at], image[at]);
  }
  EXPECT_EQ(ZqDibSingleLUT(per.data(), &bounds, stride, nullptr, 4, nullptr, TRUE, TRUE, TRUE), E_POINTER);

  // Float pixels: indices from any float, NaN and infinities included, are
  // held to the table before they are read.
  std::vector<WORD> wide(65536);
  for (int i = 0; i < 65536; ++i) wide[i] = static_cast<WORD>(i ^ 0x00FF);
  const float values[] = {0.5f, -3.0f, 1e30f, kNaN, std::numeric_limits<float>::infinity(), 1.0f, 0.0f, 0.25f};
  float pixels[8];
  std::memcpy(pixels, values, sizeof pixels);
  RECT two{0, 0, 2, 1};
  ASSERT_EQ(ZqDibSingleLUT(reinterpret_cast<BYTE*>(pixels), &two, 32, nullptr, 16, wide.data(), FALSE, TRUE, FALSE),
            S_OK);
  for (int i = 0; i < 8; ++i) {
    float v = values[i];
    int index = !(v > 0) ? 0 : v >= 1 ? 65535 : static_cast<int>(v * 65535.0);
    EXPECT_FLOAT_EQ(pixels[i], wide[index] / 65535.0f) << i;
  }
  std::memcpy(pixels, values, sizeof pixels);
  ASSERT_EQ(ZqDibSingleLUT(reinterpret_cast<BYTE*>(pixels), &two, 32, nullptr, 16, table, TRUE, FALSE, FALSE), S_OK);
  EXPECT_FLOAT_EQ(pixels[1], table[0] / 255.0f);
  EXPECT_FLOAT_EQ(pixels[2], table[255] / 255.0f);
  EXPECT_TRUE(std::isnan(pixels[3]));  // alpha left alone
  EXPECT_FLOAT_EQ(pixels[4], table[255] / 255.0f);
}

TEST(Colour, Desaturate) {
  const int stride = 12;
  RECT bounds{0, 0, 3, 1};
  BYTE pixels[12] = {10, 200, 31, 255, 255, 255, 255, 100, 0, 90, 200, 255};
  ASSERT_EQ(ZqDibDesaturate(pixels, &bounds, stride, nullptr, 4, FALSE), S_OK);
  EXPECT_EQ(pixels[0], (10 + 200 + 31) / 3);
  EXPECT_EQ(pixels[2], pixels[0]);
  EXPECT_EQ(pixels[4], 100);  // limited to alpha
  BYTE hsl[4] = {0, 90, 200, 255};  // lightness (200 + 0) / 2 / 255
  ZqDibDesaturate(hsl, &bounds, stride, nullptr, 4, TRUE);
  EXPECT_EQ(hsl[0], 100);
  EXPECT_EQ(hsl[1], 100);
  float f[4] = {0.3f, 0.6f, 0.9f, 0.5f};
  RECT one{0, 0, 1, 1};
  ZqDibDesaturate(reinterpret_cast<BYTE*>(f), &one, 16, nullptr, 16, FALSE);
  EXPECT_FLOAT_EQ(f[0], 0.5f);  // (1.8 x 0.33333334 = 0.6) limited to alpha 0.5
}

double Decode(int n, double x, double g) {
  switch (n) {
    case 0: return std::pow(x, 1 / 0.45);
    case 1: return std::pow(x, 2.8);
    case 2: return x <= 0.081 ? x / 4.5 : std::pow((x + 0.099) / 1.099, 1 / 0.45);
    case 3: return x <= 0.0912 ? x / 4 : std::pow((x + 0.1115) / 1.1115, 1 / 0.45);
    case 5: return std::pow(x, 1 / g);
    default: return x;
  }
}

double Encode(int n, double x, double g) {
  switch (n) {
    case 0: return std::pow(x, 0.45);
    case 1: return std::pow(x, 1 / 2.8);
    case 2: return x <= 0.018 ? 4.5 * x : 1.099 * std::pow(x, 0.45) - 0.099;
    case 3: return x <= 0.0228 ? 4 * x : 1.1115 * std::pow(x, 0.45) - 0.1115;
    case 5: return std::pow(x, 1 / g);
    default: return x;
  }
}

TEST(Colour, TransferFunctions) {
  std::mt19937 rng(2);
  dibtest::TestImage src(ZqPixel_Rgba32, 7, 4), dst(ZqPixel_RgbaFloat, 7, 4), rgb24(ZqPixel_Rgb24, 7, 4);
  src.Randomise(rng);
  for (int n = 0; n < ZQTRANSFER_COUNT; ++n) {
    double g = n == 5 ? 2.2 : 0;
    ASSERT_EQ(ZqDibLinearize_ZQRGBAFLOAT_From_RGBA(dst.Header(), nullptr, nullptr, 0, src.Header(), nullptr, nullptr,
                                                   0, n, g),
              S_OK);
    for (int y = 0; y < 4; ++y)
      for (int i = 0; i < 28; ++i)
        ASSERT_NEAR(reinterpret_cast<float*>(dst.Row(y))[i], Decode(n, src.Row(y)[i] / 255.0, g), 1e-6) << n;
    // Encoding undoes decoding (function 5 raises to 1/g both ways).
    std::vector<BYTE> linear = dst.Snapshot();
    ASSERT_EQ(ZqDibApplyTransferFunc_ZQRGBAFLOAT(dst.Header(), nullptr, nullptr, 0, n, g, FALSE), S_OK);
    for (int i = 0; i < 28; ++i) {
      double x = src.Row(2)[i] / 255.0;
      ASSERT_NEAR(reinterpret_cast<float*>(dst.Row(2))[i], n == 5 ? std::pow(x, 1 / (g * g)) : x, 2e-5) << n;
    }
    std::memcpy(dst.Bits(), linear.data(), linear.size());
    ASSERT_EQ(ZqDibApplyTransferFunc_ZQRGBAFLOAT(dst.Header(), nullptr, nullptr, 0, n, g, TRUE), S_OK);
    for (int i = 0; i < 28; ++i) {
      float in;
      std::memcpy(&in, linear.data() + (dst.Row(1) - dst.Bits()) + 4 * i, 4);
      double index = std::clamp(std::trunc(in * 255.0), 0.0, 255.0);
      ASSERT_NEAR(reinterpret_cast<float*>(dst.Row(1))[i], Encode(n, index / 255, g), 1e-6) << n;
    }
  }
  // Function 5 with gamma 0 is the identity.
  std::vector<BYTE> before = dst.Snapshot();
  ZqDibApplyTransferFunc_ZQRGBAFLOAT(dst.Header(), nullptr, nullptr, 0, 5, 0.0, FALSE);
  EXPECT_EQ(dst.Snapshot(), before);
  // Wrong types: refused (linearise) or left alone (apply).
  EXPECT_EQ(ZqDibLinearize_ZQRGBAFLOAT_From_RGBA(dst.Header(), nullptr, nullptr, 0, rgb24.Header(), nullptr, nullptr,
                                                 0, 2, 0),
            E_INVALIDARG);
  EXPECT_EQ(ZqDibLinearize_ZQRGBAFLOAT_From_RGBA(dst.Header(), nullptr, nullptr, 0, src.Header(), nullptr, nullptr,
                                                 0, 6, 0),
            E_INVALIDARG);
  std::vector<BYTE> bytes = src.Snapshot();
  EXPECT_EQ(ZqDibApplyTransferFunc_ZQRGBAFLOAT(src.Header(), nullptr, nullptr, 0, 2, 0, FALSE), S_OK);
  EXPECT_EQ(src.Snapshot(), bytes);
  // Table form: NaN and huge channels index the table's ends.
  float* p = reinterpret_cast<float*>(dst.Row(0));
  p[0] = kNaN, p[1] = 1e30f, p[2] = -1e30f;
  ZqDibApplyTransferFunc_ZQRGBAFLOAT(dst.Header(), nullptr, nullptr, 0, 1, 0, TRUE);
  EXPECT_FLOAT_EQ(p[0], 0.0f);
  EXPECT_FLOAT_EQ(p[1], 1.0f);
  EXPECT_FLOAT_EQ(p[2], 0.0f);
}

}  // namespace
