// Region preparation, the exchange set, the raw 4- and 16-byte-pixel
// family and the single samplers.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "dib_test_support.h"

namespace {

using dibtest::TestImage;

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::string Show(const RECT& r) {
  char text[64];
  std::snprintf(text, sizeof(text), "{%ld,%ld,%ld,%ld}", r.left, r.top, r.right, r.bottom);
  return text;
}

TEST(DibRegions, PrepareRectsClipsInProportionToTheRectanglesOwnSize) {
  struct Case {
    const char* what;
    int dstW, dstH;
    bool hasDst;
    RECT dst;
    int srcW, srcH;
    bool hasSrc;
    RECT src;
    RECT dstOut, srcOut, trims;
  };
  const Case cases[] = {
      {"1:1, destination clipped on the left stays 1:1", 100, 100, true, {-10, 0, 40, 50}, 200, 200, true,
       {0, 0, 50, 50}, {0, 0, 40, 50}, {10, 0, 50, 50}, {10, 0, 0, 0}},
      {"2:1, destination clipped", 100, 100, true, {-20, 0, 80, 50}, 200, 200, true, {0, 0, 50, 25},
       {0, 0, 80, 50}, {10, 0, 50, 25}, {10, 0, 0, 0}},
      {"a very wide destination never inverts the source", 10, 10, true, {-1000, 0, 1010, 10}, 10, 10, true,
       {0, 0, 10, 10}, {0, 0, 10, 10}, {4, 0, 6, 10}, {4, 0, 4, 0}},
      {"source clipped moves the destination", 100, 100, true, {0, 0, 50, 50}, 50, 50, true, {-10, -10, 40, 40},
       {10, 10, 50, 50}, {0, 0, 40, 40}, {10, 10, 0, 0}},
      {"no overlap", 100, 100, true, {200, 0, 300, 50}, 50, 50, true, {0, 0, 50, 50}, {0, 0, 0, 0},
       {0, 0, 0, 0}, {0, 0, 0, 0}},
      {"whole images", 100, 100, false, {}, 50, 30, false, {}, {0, 0, 100, 100}, {0, 0, 50, 30}, {0, 0, 0, 0}},
      {"whole source follows a clipped destination", 100, 100, true, {-50, 0, 50, 100}, 100, 100, false, {},
       {0, 0, 50, 100}, {50, 0, 100, 100}, {50, 0, 0, 0}},
      {"inside both: unchanged", 100, 100, true, {5, 6, 7, 8}, 100, 100, true, {1, 2, 30, 40}, {5, 6, 7, 8},
       {1, 2, 30, 40}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    TestImage dst(ZqPixel_Rgb24, c.dstW, c.dstH), src(ZqPixel_Rgb24, c.srcW, c.srcH);
    RECT dstOut{-1, -1, -1, -1}, srcOut{-1, -1, -1, -1}, trims{-1, -1, -1, -1};
    ZqDibPrepareRects(dst.Header(), &dstOut, c.hasDst ? &c.dst : nullptr, src.Header(), &srcOut,
                      c.hasSrc ? &c.src : nullptr, &trims);
    EXPECT_TRUE(Same(dstOut, c.dstOut)) << c.what << ": destination " << Show(dstOut);
    EXPECT_TRUE(Same(srcOut, c.srcOut)) << c.what << ": source " << Show(srcOut);
    EXPECT_TRUE(Same(trims, c.trims)) << c.what << ": trims " << Show(trims);
  }
}

TEST(DibRegions, PrepareCopyErrorOrderAndOverlap) {
  BYTE dstBase[1] = {}, srcBase[1] = {};
  const RECT dstBounds{0, 0, 100, 100}, srcBounds{0, 0, 50, 50};
  int w = 7, h = 7;
  BYTE *s = dstBase, *d = dstBase;
  // Missing outputs: nothing written.
  EXPECT_EQ(ZqDibPrepareCopy(nullptr, &h, &s, &d, dstBase, &dstBounds, 400, nullptr, srcBase, &srcBounds, 200,
                             nullptr, 4),
            E_POINTER);
  EXPECT_EQ(h, 7);
  // Missing bounds: outputs already zeroed.
  EXPECT_EQ(ZqDibPrepareCopy(&w, &h, &s, &d, dstBase, nullptr, 400, nullptr, srcBase, &srcBounds, 200, nullptr, 4),
            E_POINTER);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(s, nullptr);
  EXPECT_EQ(d, nullptr);
  struct Case {
    const char* what;
    bool hasDst, hasSrc;
    RECT dst, src;
    HRESULT hr;
    int width, height;
    int srcOffset, dstOffset;  // bytes from the bases
  };
  const Case cases[] = {
      {"sizes differ", true, true, {0, 0, 10, 10}, {0, 0, 10, 11}, E_INVALIDARG, 0, 0, 0, 0},
      {"whole bounds of different sizes", false, false, {}, {}, E_INVALIDARG, 0, 0, 0, 0},
      {"destination outside", true, true, {100, 0, 110, 10}, {0, 0, 10, 10}, S_OK, 0, 0, 0, 0},
      {"inside", true, true, {10, 20, 30, 25}, {1, 2, 21, 7}, S_OK, 20, 5, 200 * 2 + 4, 400 * 20 + 40},
      {"source clipped at its top left", true, true, {10, 10, 30, 30}, {-5, -5, 15, 15}, S_OK, 15, 15, 0,
       400 * 15 + 60},
      {"both clipped", true, true, {-3, 95, 17, 115}, {40, 40, 60, 60}, S_OK, 7, 5, 200 * 40 + 4 * 43, 400 * 95},
  };
  for (const Case& c : cases) {
    HRESULT hr = ZqDibPrepareCopy(&w, &h, &s, &d, dstBase, &dstBounds, 400, c.hasDst ? &c.dst : nullptr, srcBase,
                                  &srcBounds, 200, c.hasSrc ? &c.src : nullptr, 4);
    EXPECT_EQ(hr, c.hr) << c.what;
    EXPECT_EQ(w, c.width) << c.what;
    EXPECT_EQ(h, c.height) << c.what;
    if (c.width) {
      EXPECT_EQ(s - srcBase, c.srcOffset) << c.what;
      EXPECT_EQ(d - dstBase, c.dstOffset) << c.what;
    }
  }
  // The transform form gives offsets and the final source rectangle.
  RECT finalSrc{};
  int so = 0, dO = 0;
  const RECT dr{10, 10, 30, 30}, sr{-5, -5, 15, 15};
  EXPECT_EQ(ZqDibPrepareTransform(&finalSrc, &w, &h, &so, &dO, 1000, &dstBounds, 100, &dr, 2000, &srcBounds, 50, &sr,
                                  1),
            S_OK);
  EXPECT_TRUE(Same(finalSrc, RECT{0, 0, 15, 15})) << Show(finalSrc);
  EXPECT_EQ(so, 2000);
  EXPECT_EQ(dO, 1000 + 100 * 15 + 15);
  EXPECT_EQ(ZqDibPrepareTransform(nullptr, &w, &h, &so, &dO, 0, &dstBounds, 1, &dr, 0, &srcBounds, 1, &sr, 1),
            E_POINTER);
}

TEST(DibRegions, PrepareSetLeavesOutputsAloneWhenEmpty) {
  BYTE base[1] = {};
  const RECT bounds{0, 0, 10, 10};
  int w = 0, h = 0;
  BYTE* first = nullptr;
  const RECT miss{20, 20, 30, 30}, part{-2, 3, 4, 20};
  EXPECT_EQ(ZqDibPrepareSet(&w, &h, &first, base, &bounds, 40, &miss, 4), S_OK);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(first, nullptr);
  EXPECT_EQ(ZqDibPrepareSet(&w, &h, &first, base, &bounds, 40, &part, 4), S_OK);
  EXPECT_EQ(w, 4);
  EXPECT_EQ(h, 7);
  EXPECT_EQ(first - base, 40 * 3);
  EXPECT_EQ(ZqDibPrepareSet(&w, &h, &first, base, nullptr, 40, &part, 4), E_POINTER);
}

TEST(DibRegions, PluginParameterRecord) {
  TestImage a(ZqPixel_Rgba32, 10, 8), b(ZqPixel_Rgba32, 6, 6), c(ZqPixel_Rgb32, 6, 6), f(ZqPixel_RgbaFloat, 6, 6);
  TestImage g(ZqPixel_RgbaFloat, 6, 6), p(ZqPixel_Rgb24, 6, 6);
  ZQPLUGINPARAM record;
  BOOL isFloat = 5, nothing = 5;
  const RECT dr{2, 1, 8, 7};
  ASSERT_EQ(DibPreparePluginParam(&record, a.Header(), nullptr, &dr, 0, b.Header(), nullptr, nullptr, 0, 77, &isFloat,
                                  &nothing),
            S_OK);
  EXPECT_EQ(isFloat, FALSE);
  EXPECT_EQ(nothing, FALSE);
  EXPECT_EQ(record.dstWidth, 6);
  EXPECT_EQ(record.dstHeight, 6);
  EXPECT_EQ(record.dstFirst, a.Row(6) + 8);  // first stored row of the rectangle: its bottom row
  EXPECT_EQ(record.srcFirst, b.Row(5));
  EXPECT_EQ(record.dstStride, 40);
  EXPECT_TRUE(Same(*record.dstRect, dr));
  EXPECT_EQ(record.user, 77u);
  EXPECT_EQ(DibPreparePluginParam(&record, f.Header(), nullptr, nullptr, 0, g.Header(), nullptr, nullptr, 0, 0,
                                  &isFloat, &nothing),
            S_OK);
  EXPECT_EQ(isFloat, TRUE);
  const RECT outside{50, 50, 60, 60};
  EXPECT_EQ(DibPreparePluginParam(&record, a.Header(), nullptr, &outside, 0, b.Header(), nullptr, nullptr, 0, 0,
                                  &isFloat, &nothing),
            S_OK);
  EXPECT_EQ(nothing, TRUE);
  EXPECT_EQ(DibPreparePluginParam(&record, a.Header(), nullptr, nullptr, 0, c.Header(), nullptr, nullptr, 0, 0,
                                  &isFloat, &nothing),
            E_INVALIDARG);
  EXPECT_EQ(DibPreparePluginParam(&record, p.Header(), nullptr, nullptr, 0, p.Header(), nullptr, nullptr, 0, 0,
                                  &isFloat, &nothing),
            E_INVALIDARG);
  EXPECT_EQ(DibPreparePluginParam(&record, a.Header(), nullptr, nullptr, 0, b.Header(), nullptr, nullptr, 0, 0,
                                  &isFloat, &nothing),
            E_INVALIDARG)
      << "whole images of different sizes";
  EXPECT_EQ(DibPreparePluginParam(nullptr, a.Header(), nullptr, nullptr, 0, b.Header(), nullptr, nullptr, 0, 0,
                                  &isFloat, &nothing),
            E_POINTER);
}

TEST(DibExchange, SelectorsKernelsAndUse) {
  ZQXCHGSET set;
  EXPECT_EQ(ZqXCHGGetFunctionPointers(15, 27, 0, &set, nullptr), E_INVALIDARG);
  EXPECT_EQ(ZqXCHGGetFunctionPointers(27, 33, 0, &set, nullptr), E_INVALIDARG);
  struct Case {
    int dst, src;
    DWORD flags, effective;
  };
  const Case cases[] = {
      {27, 28, 1, 0x180}, {27, 28, 2, 0x1C0}, {27, 28, 3, 0x1E0}, {27, 28, 4, 0x1F0},
      {27, 28, 0x08FF1E03, 0x00FF11E0},  // quality 3 keeps bits of 0x07FFF1F0 only
      {27, 28, 0, 0}, {27, 28, 5, 5},     {20, 28, 1, 0x190},    // Gray8 has no 8-bit kernels
      {24, 29, 0, 0},     {26, 27, 0x20, 0x30},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(ZqXCHGGetFunctionPointers(c.dst, c.src, c.flags, &set, nullptr), S_OK);
    EXPECT_EQ(set.flags, c.effective) << std::hex << c.flags;
    EXPECT_EQ(set.dstType, c.dst);
    EXPECT_EQ(set.srcType, c.src);
    EXPECT_EQ(set.param, (c.flags >> 16) & 0xFF);
    EXPECT_TRUE(set.read1 && set.read4 && set.write1 && set.write4 && set.read2x2 && set.readInterp);
  }
  DWORD blend[7] = {3, 32768};
  ASSERT_EQ(ZqXCHGGetFunctionPointers(21, 21, 0, &set, blend), S_OK);
  ASSERT_NE(set.blend[0], nullptr);
  set.work.wide[0] = ZQWIDEPIXEL{0, 1000, 65535, 0};
  set.work.wide[1] = ZQWIDEPIXEL{65535, 1000, 0, 65535};
  set.blend[0](&set);
  EXPECT_EQ(set.work.wide[0].blue, 32768);
  EXPECT_EQ(set.work.wide[0].green, 1000);
  EXPECT_EQ(set.work.wide[0].red, 65535 - 32768);
  blend[0] = 9;
  EXPECT_EQ(ZqXCHGGetFunctionPointers(21, 21, 0, &set, blend), E_NOTIMPL);

  // A caller walks rows with the set: Rgb565 pixels into Rgb24 ones.
  ASSERT_EQ(ZqXCHGGetFunctionPointers(ZqPixel_Rgb24, ZqPixel_Rgb565, 4, &set, nullptr), S_OK);
  WORD src[5] = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000};
  BYTE dst[15] = {};
  set.src = reinterpret_cast<BYTE*>(src);
  set.dst = dst;
  set.read4(&set);
  set.write4(&set);
  set.read1(&set);
  set.write1(&set);
  const BYTE expected[15] = {0, 0, 248, 0, 252, 0, 248, 0, 0, 248, 252, 248, 0, 0, 0};
  EXPECT_EQ(std::memcmp(dst, expected, 15), 0);
  // The interpolating reader halfway between two pixels, never past the row's end.
  ASSERT_EQ(ZqXCHGGetFunctionPointers(ZqPixel_Rgb24, ZqPixel_Gray8, 4, &set, nullptr), S_OK);
  BYTE gray[2] = {100, 200};
  set.src = gray;
  set.fracX = 8192;
  set.readInterp(&set);
  EXPECT_EQ(set.work.wide[0].green, (100 * 257 + 200 * 257) / 2);
  set.src = gray + 1;
  set.fracX = 0;
  set.readInterp(&set);
  EXPECT_EQ(set.work.wide[0].green, 200 * 257);
}

TEST(DibRawBuffers, CopySetAndChannels) {
  const RECT bounds{0, 0, 4, 3};
  // 4-byte pixels.
  std::vector<BYTE> a(4 * 4 * 3), b(4 * 4 * 3);
  for (size_t i = 0; i < a.size(); ++i) a[i] = static_cast<BYTE>(i);
  const RECT from{0, 0, 3, 2}, to{1, 1, 4, 3};
  // Overlapping move within one buffer.
  b = a;
  ASSERT_EQ(ZqDibCopyUnscaled(b.data(), &bounds, 16, &to, b.data(), &bounds, 16, &from, 4), S_OK);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(std::memcmp(&b[(y + 1) * 16 + (x + 1) * 4], &a[y * 16 + x * 4], 4), 0);
  EXPECT_EQ(ZqDibCopyUnscaled(b.data(), &bounds, 16, &to, a.data(), &bounds, 16, &bounds, 4), E_INVALIDARG);

  ASSERT_EQ(ZqDibSetUnscaled(a.data(), &bounds, 16, &to, 4, 1.5, 0.5, -1.0, 1.0), S_OK);
  EXPECT_EQ(a[16 + 4], 0);      // blue held at 0
  EXPECT_EQ(a[16 + 5], 127);    // green
  EXPECT_EQ(a[16 + 6], 255);    // red held at 255
  EXPECT_EQ(a[16 + 7], 255);
  EXPECT_EQ(a[0], 0);           // outside the rectangle: unchanged
  EXPECT_EQ(a[4], 4);

  ASSERT_EQ(ZqDibChannelSet(a.data(), &bounds, 16, nullptr, 4, 3, 1.0), S_OK);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(a[4 * i + 3], 255);
  ASSERT_EQ(ZqDibChannelSet(a.data(), &bounds, 16, nullptr, 4, 1, 2.0), S_OK);  // held, not wrapped
  EXPECT_EQ(a[1], 255);
  ASSERT_EQ(ZqDibChannelSet(a.data(), &bounds, 16, nullptr, 4, 9, 0.0), S_OK);  // unknown channel: blue
  EXPECT_EQ(a[0], 0);

  std::vector<BYTE> c(4 * 4 * 3, 0);
  ASSERT_EQ(ZqDibChannelCopyUnscaled(c.data(), &bounds, 16, nullptr, 3, a.data(), &bounds, 16, nullptr, 1, 4), S_OK);
  EXPECT_EQ(c[3], 255);
  EXPECT_EQ(c[0], 0);

  // Float pixels: 16 bytes; any size other than 4 is taken as 16.
  std::vector<float> f(4 * 4 * 3, 0.25f);
  auto fb = reinterpret_cast<BYTE*>(f.data());
  ASSERT_EQ(ZqDibSetUnscaled(fb, &bounds, 64, &from, 16, 1.5, 0.5, -1.0, 1.0), S_OK);
  EXPECT_EQ(f[0], -1.0f);  // floats stored as they are
  EXPECT_EQ(f[2], 1.5f);
  ASSERT_EQ(ZqDibChannelSet(fb, &bounds, 64, nullptr, 7, 3, 1.0), S_OK);
  EXPECT_EQ(f[4 * 11 + 3], 1.0f);

  // Callbacks visit each pixel of the rectangle once, row by row.
  struct Visits {
    std::vector<const void*> at;
  } visits;
  auto record = [](void* channel, DWORD_PTR user) CALLBACK -> void {
    reinterpret_cast<Visits*>(user)->at.push_back(channel);
  };
  ASSERT_EQ(ZqDibChannelInPlaceOp(a.data(), &bounds, 16, &to, 4, 2, record, reinterpret_cast<DWORD_PTR>(&visits)),
            S_OK);
  ASSERT_EQ(visits.at.size(), 6u);
  EXPECT_EQ(visits.at[0], &a[16 + 4 + 2]);
  EXPECT_EQ(visits.at[5], &a[32 + 12 + 2]);
  auto add = [](void* d, const void* s, DWORD_PTR) CALLBACK -> void {
    *static_cast<BYTE*>(d) = static_cast<BYTE>(*static_cast<BYTE*>(d) + *static_cast<const BYTE*>(s));
  };
  std::vector<BYTE> e(4 * 4 * 3, 1);
  ASSERT_EQ(ZqDibChannelOp(e.data(), &bounds, 16, &from, 0, a.data(), &bounds, 16, &to, 1, 4, add, 0), S_OK);
  EXPECT_EQ(e[0], static_cast<BYTE>(1 + a[16 + 4 + 1]));
  EXPECT_EQ(e[1], 1);
  EXPECT_EQ(ZqDibChannelOp(e.data(), &bounds, 16, &from, 0, a.data(), &bounds, 16, &to, 1, 4, nullptr, 0), E_POINTER);
  EXPECT_EQ(ZqDibChannelInPlaceOp(a.data(), &bounds, 16, nullptr, 4, 0, nullptr, 0), E_POINTER);
}

TEST(DibSamplers, FastAndSafeSamples) {
  // 3 x 2 image of 4-byte pixels.
  BYTE img[2][3][4] = {{{0, 0, 0, 0}, {100, 100, 100, 100}, {200, 200, 200, 200}},
                       {{16, 16, 16, 16}, {116, 116, 116, 116}, {255, 255, 255, 255}}};
  const int stride = 12;
  BYTE out[4];
  EXPECT_EQ(ZqGetSubPixel32Fast(out, &img[0][1][0], stride, 0, 0), out);
  EXPECT_EQ(out[0], 100);
  BYTE full[2][2][4];
  std::memset(full, 255, sizeof(full));
  ZqGetSubPixel32Fast(out, &full[0][0][0], 8, 1, 1);
  EXPECT_EQ(out[0], 254);  // the truncated weights sum to 16382
  ZqGetSubPixel32Fast(out, &img[0][0][0], stride, 8192, 8192);
  EXPECT_EQ(out[0], (0 + 100 + 16 + 116) / 4);

  struct Case {
    int x, y;
    BOOL inside;
    int value;
  };
  const Case cases[] = {
      {-1, 0, FALSE, 0},            {0, -16384, FALSE, 0},       {3 * 16384, 0, FALSE, 0}, {0, 2 * 16384, FALSE, 0},
      {8192, 8192, TRUE, 58},       {2 * 16384, 8192, TRUE, 227},  // last column: blend with the row below
      {16384 + 8192, 16384, TRUE, 185},                            // last row: blend with the right
      {2 * 16384 + 4000, 16384 + 4000, TRUE, 255},                 // last pixel: itself
  };
  for (const Case& c : cases) {
    std::memset(out, 9, 4);
    EXPECT_EQ(ZqGetSubPixel32Safe(out, &img[0][0][0], 3, 2, stride, c.x, c.y), c.inside) << c.x << "," << c.y;
    EXPECT_EQ(out[0], c.value) << c.x << "," << c.y;
  }
  float fimg[2][2][4] = {{{0, 0, 0, 0}, {1, 1, 1, 1}}, {{0.5f, 0.5f, 0.5f, 0.5f}, {1, 1, 1, 1}}};
  float fo[4];
  EXPECT_EQ(ZqGetSubPixel128Safe(fo, &fimg[0][0][0], 2, 2, 32, -1, 0), TRUE);  // pixel 0, fraction just below 0
  EXPECT_NEAR(fo[0], 0.0f, 1e-3);
  EXPECT_EQ(ZqGetSubPixel128Safe(fo, &fimg[0][0][0], 2, 2, 32, -16384, 0), FALSE);
  EXPECT_EQ(ZqGetSubPixel128Safe(fo, &fimg[0][0][0], 2, 2, 32, 8192, 8192), TRUE);
  EXPECT_FLOAT_EQ(fo[0], 0.625f);
  EXPECT_EQ(ZqGetSubPixel128Safe(fo, &fimg[0][0][0], 2, 2, 32, 16384, 8192), TRUE);
  EXPECT_FLOAT_EQ(fo[0], 1.0f);
  ZqGetSubPixel128Fast(fo, &fimg[0][0][0], 32, 0, 16384 / 4);
  EXPECT_FLOAT_EQ(fo[0], 0.125f);
}

}  // namespace
