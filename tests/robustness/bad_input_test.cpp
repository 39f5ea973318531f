// Bad input through the library's exports, family by family, as a careless
// caller passes it: null pointers, capacities of 0, 1 and below, empty,
// inverted and far-away rectangles, sizes and counts out of range, pixel
// types and bit counts no image has, headers and files whose sizes lie,
// destroyed windows. Every call must come back (a watchdog ends the run
// when one hangs and names it), write nothing outside what it was given
// (outputs end right before an inaccessible page, with a fence of known
// bytes before them) and report a failure where its contract promises one.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "guarded_memory.h"
#include "test_paths.h"
#include "zq/colour.h"
#include "zq/dib.h"
#include "zq/dibfilter.h"
#include "zq/dlgtemplate.h"
#include "zq/fader.h"
#include "zq/files.h"
#include "zq/help.h"
#include "zq/marker.h"
#include "zq/monitor.h"
#include "zq/overlay.h"
#include "zq/png.h"
#include "zq/skin.h"
#include "zq/spinner.h"
#include "zq/theme.h"
#include "zq/trackbar.h"
#include "zq/ui.h"
#include "zq/wheel.h"
#include "zq/window.h"

using testsupport::GuardedMemory;

namespace {

// ---- the watchdog ------------------------------------------------------------
// The case under way and when it started; a case that takes longer than
// the limit ends the run with its name, and a fault names it before the
// process goes down.
std::atomic<const char*> g_case{nullptr};
std::atomic<DWORD> g_started{0};
constexpr DWORD kCaseLimitMs = 20000;
std::atomic<int> g_count{0};
// Every call (or group of calls) under test starts here.
void Begin() {
  g_started = GetTickCount();
  ++g_count;
}

LONG CALLBACK NameTheFault(EXCEPTION_POINTERS* info) {
  const DWORD code = info->ExceptionRecord->ExceptionCode;
  if (code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_INT_DIVIDE_BY_ZERO ||
      code == EXCEPTION_STACK_OVERFLOW || code == EXCEPTION_ARRAY_BOUNDS_EXCEEDED) {
    const char* name = g_case.load();
    fprintf(stderr, "fault 0x%08lX in case: %s\n", code, name ? name : "(none)");
    fflush(stderr);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

class Watchdog : public ::testing::Environment {
 public:
  void SetUp() override {
    AddVectoredExceptionHandler(1, NameTheFault);
    thread_ = std::thread([this] {
      while (!stop_) {
        Sleep(100);
        const char* name = g_case.load();
        if (name && GetTickCount() - g_started.load() > kCaseLimitMs) {
          fprintf(stderr, "case did not return: %s\n", name);
          fflush(stderr);
          ExitProcess(3);  // leave rather than hang the run
        }
      }
    });
  }
  void TearDown() override {
    printf("%d bad-input cases came back\n", g_count.load());
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
const auto* const g_watchdog = ::testing::AddGlobalTestEnvironment(new Watchdog);

// ---- expectations -------------------------------------------------------------
// What a case's result must be: anything (it only has to come back and stay
// inside its buffers), a failed HRESULT, S_OK, or zero / FALSE / null.
enum class Want { Any, Failed, Ok, Zero, NotZero };

struct Case {
  Case(const char* n, Want w, std::function<LONG_PTR()> c, std::function<bool()> a = {})
      : name(n), want(w), call(std::move(c)), after(std::move(a)) {}
  const char* name;
  Want want;
  std::function<LONG_PTR()> call;
  std::function<bool()> after;  // optional: what must hold afterwards
};

std::string Describe(const Case& c, LONG_PTR result) {
  char text[64];
  snprintf(text, sizeof text, " returned 0x%08lX", static_cast<unsigned long>(result));
  return std::string(c.name) + text;
}

// ROBUSTNESS_TRACE=1 names every case before it runs.
const bool g_trace = getenv("ROBUSTNESS_TRACE") != nullptr;

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    if (g_trace) {
      fprintf(stderr, "case: %s (%lu)\n", c.name, GetTickCount());
      fflush(stderr);
    }
    Begin();
    g_case = c.name;
    const LONG_PTR result = c.call();
    g_case = nullptr;
    const HRESULT hr = static_cast<HRESULT>(result);
    switch (c.want) {
      case Want::Any: break;
      case Want::Failed: EXPECT_TRUE(FAILED(hr)) << Describe(c, result); break;
      case Want::Ok: EXPECT_EQ(hr, S_OK) << Describe(c, result); break;
      case Want::Zero: EXPECT_EQ(result, 0) << Describe(c, result); break;
      case Want::NotZero: EXPECT_NE(result, 0) << Describe(c, result); break;
    }
    if (c.after) {
      EXPECT_TRUE(c.after()) << c.name << ": wrong state afterwards";
    }
  }
}

template <typename F>
LONG_PTR Void(F f) {
  f();
  return 0;
}
LONG_PTR Ptr(const void* p) { return reinterpret_cast<LONG_PTR>(p); }

// ---- guarded buffers ------------------------------------------------------------
// `bytes` bytes that end at an inaccessible page, with a fence of known
// bytes right before them.
class Fenced {
 public:
  static constexpr size_t kFence = 64;
  explicit Fenced(size_t bytes, BYTE fill = 0x5A) : memory_(bytes + kFence + 16), bytes_(bytes) {
    std::vector<BYTE> all(bytes + kFence, fill);
    std::memset(all.data(), 0xFE, kFence);
    data_ = memory_.PlaceBytes(all) + kFence;
  }
  BYTE* data() const { return data_; }
  size_t size() const { return bytes_; }
  bool FenceIntact() const {
    for (size_t i = 1; i <= kFence; ++i)
      if (data_[-static_cast<ptrdiff_t>(i)] != 0xFE) return false;
    return true;
  }
  std::vector<BYTE> Snapshot() const { return std::vector<BYTE>(data_, data_ + bytes_); }

 private:
  GuardedMemory memory_;
  BYTE* data_;
  size_t bytes_;
};

// Characters written into a buffer of `capacity` that ends at the guard page.
struct TextOut {
  GuardedMemory memory{4096};
  WCHAR* Buffer(int capacity) {
    WCHAR* b = memory.Output(capacity > 0 ? capacity : 0);
    for (int i = 0; i < capacity; ++i) b[i] = L'#';
    return b;
  }
};

// ============================================================================
// Image engine: raw buffers
// ============================================================================
// Every operation is called with the destination (and source) region of a
// 4 x 4 buffer whose last byte lies right before the guard page.
using RawOp = std::function<HRESULT(BYTE* dst, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                    const BYTE* src, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                    int bytesPerPixel)>;
struct RawOpCase {
  const char* name;
  RawOp op;
  bool usesSource = true;
};

void WINAPI TouchChannel(void* channel, DWORD_PTR) { *static_cast<BYTE*>(channel) ^= 0x11; }
void WINAPI TouchPair(void* dst, const void* src, DWORD_PTR) {
  *static_cast<BYTE*>(dst) = *static_cast<const BYTE*>(src);
}
void WINAPI TouchPixel(BYTE* dst, const BYTE* src, DWORD_PTR) { dst[0] = src[3]; }

const std::vector<RawOpCase>& RawOps() {
  static const LONG kKernel[9] = {1, 2, 1, 2, 4, 2, 1, 2, 1};
  static const double kMatte[3] = {0.25, 0.5, 0.75};
  static const double kColour[4] = {0.1, 0.2, 0.3, 0.5};
  static const float kMatteF[3] = {0.25f, 0.5f, 0.75f};
  static BYTE table8[256];
  static const std::vector<RawOpCase> ops = {
      {"CopyUnscaled", ZqDibCopyUnscaled},
      {"ChannelCopyUnscaled", [](auto d, auto db, int ds, auto dr, auto s, auto sb, int ss, auto sr, int b) {
         return ZqDibChannelCopyUnscaled(d, db, ds, dr, 3, s, sb, ss, sr, 0, b);
       }},
      {"ChannelCopyUnscaled channel 9", [](auto d, auto db, int ds, auto dr, auto s, auto sb, int ss, auto sr, int b) {
         return ZqDibChannelCopyUnscaled(d, db, ds, dr, 9, s, sb, ss, sr, -4, b);
       }},
      {"ChannelOp", [](auto d, auto db, int ds, auto dr, auto s, auto sb, int ss, auto sr, int b) {
         return ZqDibChannelOp(d, db, ds, dr, 2, s, sb, ss, sr, 1, b, TouchPair, 0);
       }},
      {"Over", [](auto d, auto db, int ds, auto dr, auto s, auto sb, int ss, auto sr, int b) {
         return ZqDibOver(d, db, ds, dr, s, sb, ss, sr, b, kMatte);
       }},
      {"Under", ZqDibUnder},
      {"AbsoluteAlphaValueBlend", [](auto d, auto db, int ds, auto dr, auto s, auto sb, int ss, auto sr, int b) {
         return ZqDibAbsoluteAlphaValueBlend(d, db, ds, dr, s, sb, ss, sr, b, 1e300);
       }},
      {"RelativeAlphaValueBlend", [](auto d, auto db, int ds, auto dr, auto s, auto sb, int ss, auto sr, int b) {
         return ZqDibRelativeAlphaValueBlend(d, db, ds, dr, s, sb, ss, sr, b, -NAN);
       }},
      {"CustomBlend", [](auto d, auto db, int ds, auto dr, auto s, auto sb, int ss, auto sr, int b) {
         return ZqDibCustomBlend(d, db, ds, dr, s, sb, ss, sr, b, TouchPixel, 0);
       }},
      {"WeightedCrossFade", [](auto d, auto db, int ds, auto dr, auto s, auto sb, int ss, auto sr, int b) {
         return ZqDibWeightedCrossFade(d, db, ds, dr, 1e9, s, sb, ss, sr, -1e9, b);
       }},
      {"FieldBlend", ZqDibFieldBlend},
      {"Accumulate", [](auto d, auto db, int ds, auto dr, auto s, auto sb, int ss, auto sr, int b) {
         return ZqDibAccumulate(d, db, ds, dr, s, sb, ss, sr, 3, 0.5, 1e9, -1e9, b);
       }},
      {"Blur", ZqDibBlur},
      {"3x3Convolution", [](auto d, auto db, int ds, auto dr, auto s, auto sb, int ss, auto sr, int b) {
         return ZqDib3x3Convolution(d, db, ds, dr, s, sb, ss, sr, b, kKernel, 16);
       }},
      {"ChannelBlur", [](auto d, auto db, int ds, auto dr, auto s, auto sb, int ss, auto sr, int b) {
         return ZqDibChannelBlur(d, db, ds, dr, 0, s, sb, ss, sr, 1, b, 0.9);
       }},
      {"BiLevelDither", ZqDibBiLevelDither},
      {"CopyBiCubic", ZqDibCopyBiCubic},
      {"DownSample", ZqDownSample},
      {"Pixelate", ZqPixelate},
      // One-buffer operations (the source is not used).
      {"SetUnscaled", [](auto d, auto db, int ds, auto dr, auto, auto, int, auto, int b) {
         return ZqDibSetUnscaled(d, db, ds, dr, b, 2.0, -1.0, NAN, 0.5);
       }, false},
      {"ChannelSet", [](auto d, auto db, int ds, auto dr, auto, auto, int, auto, int b) {
         return ZqDibChannelSet(d, db, ds, dr, b, 7, 1e12);
       }, false},
      {"ChannelInPlaceOp", [](auto d, auto db, int ds, auto dr, auto, auto, int, auto, int b) {
         return ZqDibChannelInPlaceOp(d, db, ds, dr, b, 3, TouchChannel, 0);
       }, false},
      {"BlendWithColor", [](auto d, auto db, int ds, auto dr, auto, auto, int, auto, int b) {
         return ZqDibBlendWithColor(d, db, ds, dr, b, kColour);
       }, false},
      {"Premultiply", [](auto d, auto db, int ds, auto dr, auto, auto, int, auto, int b) {
         return ZqDibPremultiply(d, db, ds, dr, b);
       }, false},
      {"PatchPreMultiplied", [](auto d, auto db, int ds, auto dr, auto, auto, int, auto, int b) {
         return ZqDibPatchPreMultiplied(d, db, ds, dr, b);
       }, false},
      {"PrepAlphaImage", [](auto d, auto db, int ds, auto dr, auto, auto, int, auto, int b) {
         return ZqDibPrepAlphaImage(d, db, ds, dr, 0, kMatteF, b);
       }, false},
      {"SingleLUT", [](auto d, auto db, int ds, auto dr, auto, auto, int, auto, int b) {
         return ZqDibSingleLUT(d, db, ds, dr, b, table8, TRUE, TRUE, TRUE);
       }, false},
      {"PerChannelLUT", [](auto d, auto db, int ds, auto dr, auto, auto, int, auto, int b) {
         return ZqDibPerChannelLUT(d, db, ds, dr, b, table8, nullptr, table8, nullptr, TRUE);
       }, false},
      {"Desaturate", [](auto d, auto db, int ds, auto dr, auto, auto, int, auto, int b) {
         return ZqDibDesaturate(d, db, ds, dr, b, TRUE);
       }, false},
  };
  return ops;
}

// How a region case is laid out and what it must give.
enum class RegionWant { Changes, Nothing, Failure, Anything };
struct RegionCase {
  const char* name;
  RECT bounds;
  bool nullBounds;
  bool hasRect;
  RECT rect;
  int strideSign;  // 1, 0 (all rows on one) or -1 (base at the last row)
  int bytesPerPixel;
  bool nullDst, nullSrc;
  RegionWant want;
};

TEST(RawBuffers, EveryOperationStaysInsideItsRegion) {
  const RECT whole{0, 0, 4, 4};
  const std::vector<RegionCase> regions = {
      {"whole", whole, false, false, {}, 1, 4, false, false, RegionWant::Anything},
      {"whole float", whole, false, false, {}, 1, 16, false, false, RegionWant::Anything},
      {"bytes per pixel 0 (float)", whole, false, false, {}, 1, 0, false, false, RegionWant::Anything},
      {"bytes per pixel -1 (float)", whole, false, false, {}, 1, -1, false, false, RegionWant::Anything},
      {"last pixel", whole, false, true, {3, 3, 4, 4}, 1, 4, false, false, RegionWant::Anything},
      {"last pixel float", whole, false, true, {3, 3, 4, 4}, 1, 16, false, false, RegionWant::Anything},
      {"last row", whole, false, true, {0, 3, 4, 4}, 1, 4, false, false, RegionWant::Anything},
      {"inverted rectangle", whole, false, true, {3, 3, 1, 1}, 1, 4, false, false, RegionWant::Nothing},
      {"zero-width rectangle", whole, false, true, {2, 0, 2, 4}, 1, 4, false, false, RegionWant::Nothing},
      {"rectangle far outside", whole, false, true, {1000, 1000, 1004, 1004}, 1, 4, false, false,
       RegionWant::Nothing},
      {"rectangle far before", whole, false, true, {-1004, -1004, -1000, -1000}, 1, 16, false, false,
       RegionWant::Nothing},
      {"rectangle of the whole plane", whole, false, true, {LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX}, 1, 4, false,
       false, RegionWant::Anything},
      {"rectangle reaching past the end", whole, false, true, {2, 2, 100000, 100000}, 1, 16, false, false,
       RegionWant::Anything},
      {"inverted bounds", {4, 4, 0, 0}, false, false, {}, 1, 4, false, false, RegionWant::Nothing},
      {"empty bounds", {0, 0, 0, 0}, false, true, {0, 0, 4, 4}, 1, 4, false, false, RegionWant::Nothing},
      {"null bounds", whole, true, false, {}, 1, 4, false, false, RegionWant::Failure},
      {"stride 0", whole, false, false, {}, 0, 4, false, false, RegionWant::Anything},
      {"negative stride", whole, false, false, {}, -1, 16, false, false, RegionWant::Anything},
      {"null destination", whole, false, false, {}, 1, 4, true, false, RegionWant::Failure},
      {"null destination float", whole, false, true, {1, 1, 3, 3}, 1, 16, true, false, RegionWant::Failure},
      {"null destination, empty region", whole, false, true, {3, 3, 1, 1}, 1, 4, true, false,
       RegionWant::Anything},
  };
  const std::vector<RegionCase> sources = {
      {"null source", whole, false, false, {}, 1, 4, false, true, RegionWant::Failure},
  };
  std::vector<BYTE> pattern(256);
  for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<BYTE>(i * 37 + 11);
  for (const RawOpCase& op : RawOps()) {
    auto run = [&](const RegionCase& rc, bool regionOnBothSides) {
      const int bytes = rc.bytesPerPixel == 4 ? 4 : 16;
      const int stride = 4 * bytes;
      Fenced dst(static_cast<size_t>(stride) * 4), src(static_cast<size_t>(stride) * 4);
      std::memcpy(dst.data(), pattern.data(), dst.size());
      std::memcpy(src.data(), pattern.data() + 7, src.size() - 7);
      const int signedStride = stride * rc.strideSign;
      BYTE* dstBase = rc.nullDst ? nullptr : rc.strideSign < 0 ? dst.data() + 3 * stride : dst.data();
      const BYTE* srcBase = rc.nullSrc ? nullptr : rc.strideSign < 0 ? src.data() + 3 * stride : src.data();
      const std::vector<BYTE> before = dst.Snapshot(), sourceBefore = src.Snapshot();
      std::string name = std::string(op.name) + " / " + rc.name;
      Begin();
      g_case = name.c_str();
      const RECT* dstRect = rc.hasRect ? &rc.rect : nullptr;
      const RECT* srcRect = regionOnBothSides ? dstRect : nullptr;
      const RECT* srcBounds = regionOnBothSides ? (rc.nullBounds ? nullptr : &rc.bounds) : &whole;
      HRESULT hr = op.op(dstBase, rc.nullBounds ? nullptr : &rc.bounds, signedStride, dstRect, srcBase, srcBounds,
                         signedStride, srcRect, rc.bytesPerPixel);
      g_case = nullptr;
      EXPECT_TRUE(dst.FenceIntact()) << name << ": wrote before the buffer";
      EXPECT_TRUE(src.FenceIntact()) << name << ": wrote before the source";
      EXPECT_TRUE(src.Snapshot() == sourceBefore) << name << ": changed the source";
      switch (rc.want) {
        case RegionWant::Nothing:
          EXPECT_FALSE(FAILED(hr) && hr != E_NOTIMPL && hr != E_INVALIDARG) << name << " hr 0x" << std::hex << hr;
          EXPECT_TRUE(dst.Snapshot() == before) << name << ": changed pixels of an empty region";
          break;
        case RegionWant::Failure:
          EXPECT_TRUE(FAILED(hr)) << name << " hr 0x" << std::hex << hr;
          EXPECT_TRUE(dst.Snapshot() == before) << name << ": changed pixels though it failed";
          break;
        default: break;
      }
    };
    for (const RegionCase& rc : regions) run(rc, true);
    if (op.usesSource)
      for (const RegionCase& rc : sources) run(rc, true);
  }
}

// Raw-buffer calls with arguments of their own: missing callbacks, tables
// and colours, width and height forms, channel lines.
TEST(RawBuffers, MissingArgumentsAreRefused) {
  Fenced a(64), b(64);
  const RECT bounds{0, 0, 4, 4};
  BYTE* d = a.data();
  const BYTE* s = b.data();
  const std::vector<BYTE> before = a.Snapshot();
  const std::vector<Case> cases = {
      {"ChannelOp null function", Want::Failed,
       [&] { return ZqDibChannelOp(d, &bounds, 16, nullptr, 0, s, &bounds, 16, nullptr, 0, 4, nullptr, 0); }},
      {"ChannelInPlaceOp null function", Want::Failed,
       [&] { return ZqDibChannelInPlaceOp(d, &bounds, 16, nullptr, 4, 0, nullptr, 0); }},
      {"CustomBlend null function", Want::Failed,
       [&] { return ZqDibCustomBlend(d, &bounds, 16, nullptr, s, &bounds, 16, nullptr, 4, nullptr, 0); }},
      {"3x3Convolution null kernel", Want::Failed,
       [&] { return ZqDib3x3Convolution(d, &bounds, 16, nullptr, s, &bounds, 16, nullptr, 4, nullptr, 1); }},
      {"3x3Convolution divisor 0", Want::Failed, [&] {
         static const LONG k[9] = {};
         return ZqDib3x3Convolution(d, &bounds, 16, nullptr, s, &bounds, 16, nullptr, 4, k, 0);
       }},
      {"BlendWithColor null colour", Want::Failed,
       [&] { return ZqDibBlendWithColor(d, &bounds, 16, nullptr, 4, nullptr); }},
      {"SingleLUT null table", Want::Failed,
       [&] { return ZqDibSingleLUT(d, &bounds, 16, nullptr, 4, nullptr, TRUE, TRUE, FALSE); }},
      {"Accumulate mode 7", Want::Failed,
       [&] { return ZqDibAccumulate(d, &bounds, 16, nullptr, s, &bounds, 16, nullptr, 7, 1, 0, 0, 4); }},
      {"Line", Want::Failed,
       [&] { return ZqDibLine(d, &bounds, 16, nullptr, 4, -5, -5, 1 << 30, 1 << 30, 1, 1, 1, 1, 0); }},
      {"ChannelLine", Want::Failed, [&] {
         return ZqDibChannelLine(d, &bounds, 16, nullptr, 4, 9, INT_MIN, 0, INT_MAX, 0, 1, 0, 0, 0, 0, 0);
       }},
      {"InterlaceFilter null base", Want::Failed,
       [&] { return ZqDibInterlaceFilter(nullptr, 4, 4, 16, nullptr, 0, 4); }},
      {"InterlaceFilter negative size", Want::Any,
       [&] { return ZqDibInterlaceFilter(d, -4, -4, 16, nullptr, 0, 4); }},
      {"InterlaceFilter far rectangle", Want::Any, [&] {
         static const RECT distant{1000, 1000, 1002, 1002};
         return ZqDibInterlaceFilter(d, 4, 4, 16, &distant, 0, 4);
       }},
      {"PrepAlpha null base", Want::Failed,
       [&] { return ZqDibPrepAlpha(nullptr, 4, 4, 16, nullptr, 1, nullptr, 4); }},
      {"PrepAlpha zero size", Want::Any, [&] { return ZqDibPrepAlpha(d, 0, 0, 16, nullptr, 0, nullptr, 4); }},
      {"PrepAlpha mode 99", Want::Failed, [&] { return ZqDibPrepAlpha(d, 4, 4, 16, nullptr, 99, nullptr, 4); }},
      {"PrepareSet null outputs", Want::Failed,
       [&] { return ZqDibPrepareSet(nullptr, nullptr, nullptr, d, &bounds, 16, nullptr, 4); }},
      {"PrepareCopy null bounds", Want::Failed, [&] {
         int w, h;
         BYTE *sf, *df;
         return ZqDibPrepareCopy(&w, &h, &sf, &df, d, nullptr, 16, nullptr, s, &bounds, 16, nullptr, 4);
       }},
      {"PrepareTransform null outputs", Want::Failed, [&] {
         return ZqDibPrepareTransform(nullptr, nullptr, nullptr, nullptr, nullptr, 0, &bounds, 16, nullptr, 0,
                                      &bounds, 16, nullptr, 4);
       }},
      {"PrepareRects all null", Want::Any,
       [&] { return Void([] { ZqDibPrepareRects(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); }); }},
      {"GetSubPixel32Safe null base", Want::Zero, [&] {
         BYTE out[4];
         return static_cast<LONG_PTR>(ZqGetSubPixel32Safe(out, nullptr, 4, 4, 16, 0, 0));
       }},
      {"GetSubPixel32Safe far position", Want::Any, [&] {
         BYTE out[4];
         return static_cast<LONG_PTR>(ZqGetSubPixel32Safe(out, d, 4, 4, 16, INT_MAX, INT_MIN));
       }},
      {"GetSubPixel32Safe last pixel", Want::Any, [&] {
         BYTE out[4];
         return static_cast<LONG_PTR>(ZqGetSubPixel32Safe(out, d, 4, 4, 16, 3 * 16384 + 8000, 3 * 16384 + 8000));
       }},
      {"GetSubPixel128Safe zero size", Want::Zero, [&] {
         float out[4];
         return static_cast<LONG_PTR>(ZqGetSubPixel128Safe(out, reinterpret_cast<const float*>(d), 0, 0, 64, 0, 0));
       }},
      {"GetSubPixel32Safe null out", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqGetSubPixel32Safe(nullptr, d, 4, 4, 16, 0, 0)); }},
  };
  RunCases(cases);
  EXPECT_TRUE(a.FenceIntact());
  EXPECT_TRUE(b.FenceIntact());
}

// Scalers: sizes of 0 and below, huge, far rectangles, null bases.
TEST(RawBuffers, ScalersRefuseImpossibleImages) {
  Fenced dst(64), src(64);
  const SIZE four{4, 4}, zero{0, 0}, negative{-4, -4};
  const RECT distant{100000, 100000, 100004, 100004}, inverted{4, 4, 0, 0}, plane{LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX};
  using Scaler = HRESULT(WINAPI*)(BYTE*, const SIZE*, int, const RECT*, const BYTE*, const SIZE*, int, const RECT*,
                                  int, BOOL, BOOL);
  struct ScalerCase {
    const char* name;
    Scaler scaler;
  };
  const ScalerCase scalers[] = {{"Bilinear", ZqDibScale_Bilinear},
                                {"BiCubic", ZqDibScale_BiCubic},
                                {"BilinearSubPixel", ZqDibScale_BilinearSubPixel},
                                {"BiCubicSubPixel", ZqDibScale_BiCubicSubPixel}};
  struct Shape {
    const char* name;
    bool nullDst, nullSrc;
    const SIZE* dstSize;
    const SIZE* srcSize;
    const RECT* dstRect;
    const RECT* srcRect;
    bool mustFail;
  };
  const Shape shapes[] = {
      {"null destination", true, false, &four, &four, nullptr, nullptr, true},
      {"null source", false, true, &four, &four, nullptr, nullptr, true},
      {"null sizes", false, false, nullptr, nullptr, nullptr, nullptr, true},
      {"zero sizes", false, false, &zero, &zero, nullptr, nullptr, false},
      {"negative sizes", false, false, &negative, &negative, nullptr, nullptr, false},
      {"far rectangles", false, false, &four, &four, &distant, &distant, false},
      {"inverted rectangles", false, false, &four, &four, &inverted, &inverted, false},
      {"whole plane", false, false, &four, &four, &plane, &plane, false},
      {"whole plane into a pixel", false, false, &four, &four, nullptr, &plane, false},
  };
  for (const ScalerCase& sc : scalers)
    for (const Shape& sh : shapes)
      for (int bytes : {4, 16}) {
        Fenced d(static_cast<size_t>(bytes) * 16), s(static_cast<size_t>(bytes) * 16);
        const std::vector<BYTE> before = d.Snapshot();
        std::string name = std::string(sc.name) + " / " + sh.name + (bytes == 4 ? "" : " float");
        Begin();
        g_case = name.c_str();
        HRESULT hr = sc.scaler(sh.nullDst ? nullptr : d.data(), sh.dstSize, 4 * bytes, sh.dstRect,
                               sh.nullSrc ? nullptr : s.data(), sh.srcSize, 4 * bytes, sh.srcRect, bytes, TRUE, TRUE);
        g_case = nullptr;
        EXPECT_TRUE(d.FenceIntact()) << name;
        if (sh.mustFail) {
          EXPECT_TRUE(FAILED(hr)) << name << " hr 0x" << std::hex << hr;
          EXPECT_TRUE(d.Snapshot() == before) << name;
        }
      }
  ZQSUBPIXELPARAM record;
  EXPECT_EQ(ZqPrepareSubpixelParam(nullptr, dst.data(), &four, 16, nullptr, src.data(), &four, 16, nullptr), 0);
  ZqPrepareSubpixelParam(&record, dst.data(), nullptr, 16, nullptr, src.data(), nullptr, 16, nullptr);
  ZqPrepareSubpixelParam(&record, dst.data(), &negative, 16, &plane, src.data(), &zero, 16, &inverted);
  EXPECT_TRUE(dst.FenceIntact());
}

// ============================================================================
// Image engine: image blocks
// ============================================================================
// A 4 x 4 block of `type` whose header is then bent by a lie; the whole
// block ends right before the guard page.
struct Lie {
  const char* name;
  int type;
  std::function<void(BITMAPINFOHEADER&)> bend;
};

std::vector<BYTE> BlockBytes(int type, int width = 4, int height = 4) {
  BITMAPINFOHEADER* header = nullptr;
  std::vector<RGBQUAD> table(type == ZqPixel_Pal4 ? 16 : 256, RGBQUAD{10, 20, 30, 0});
  const bool palette = type == ZqPixel_Pal4 || type == ZqPixel_Pal8;
  if (FAILED(ZqDibAlloc(&header, type, width, height, palette ? table.data() : nullptr,
                        palette ? static_cast<int>(table.size()) : 0, ZQDIBALLOC_ZERO)) ||
      !header)
    return {};
  DWORD imageSize = 0;
  // The header with room for the masks or colour table written after it.
  std::vector<BYTE> probe(sizeof(BITMAPINFOHEADER) + 4 * 256);
  ZqVideo_InitBitmapInfo(reinterpret_cast<BITMAPINFOHEADER*>(probe.data()), type, width, height, nullptr, 0,
                         &imageSize);
  size_t tableBytes = header->biCompression == BI_BITFIELDS ? 12 : 4 * header->biClrUsed;
  size_t total = header->biSize + tableBytes + imageSize;
  std::vector<BYTE> bytes(reinterpret_cast<BYTE*>(header), reinterpret_cast<BYTE*>(header) + total);
  ZqDibFree(header, 0);
  return bytes;
}

TEST(ImageBlocks, LyingHeadersAreRefusedOrKeptInside) {
  const std::vector<Lie> lies = {
      {"honest Rgba32", ZqPixel_Rgba32, [](BITMAPINFOHEADER&) {}},
      {"honest Pal8", ZqPixel_Pal8, [](BITMAPINFOHEADER&) {}},
      {"honest Gray1", ZqPixel_Gray1, [](BITMAPINFOHEADER&) {}},
      {"biSize 0", ZqPixel_Rgba32, [](BITMAPINFOHEADER& h) { h.biSize = 0; }},
      {"biSize huge", ZqPixel_Rgb24, [](BITMAPINFOHEADER& h) { h.biSize = 0x7FFFFFF0; }},
      {"width 0", ZqPixel_Rgba32, [](BITMAPINFOHEADER& h) { h.biWidth = 0; }},
      {"width negative", ZqPixel_Rgba32, [](BITMAPINFOHEADER& h) { h.biWidth = -4; }},
      {"width huge", ZqPixel_Rgba32, [](BITMAPINFOHEADER& h) { h.biWidth = 0x7FFFFFFF; }},
      {"width huge, 1 bit, past 2 GB", ZqPixel_Gray1, [](BITMAPINFOHEADER& h) {
         h.biWidth = 0x7FFFFFFF;
         h.biHeight = 9;
       }},
      {"height 0", ZqPixel_Rgba32, [](BITMAPINFOHEADER& h) { h.biHeight = 0; }},
      {"top-down", ZqPixel_Rgba32, [](BITMAPINFOHEADER& h) { h.biHeight = -4; }},
      {"height LONG_MIN", ZqPixel_Rgb24, [](BITMAPINFOHEADER& h) { h.biHeight = LONG_MIN; }},
      {"height huge", ZqPixel_Rgba32, [](BITMAPINFOHEADER& h) { h.biHeight = 0x7FFFFFFF; }},
      {"bit count 0", ZqPixel_Rgba32, [](BITMAPINFOHEADER& h) { h.biBitCount = 0; }},
      {"bit count 7", ZqPixel_Rgba32, [](BITMAPINFOHEADER& h) { h.biBitCount = 7; }},
      {"bit count 33", ZqPixel_Rgba32, [](BITMAPINFOHEADER& h) { h.biBitCount = 33; }},
      {"bit count 0xFFFF", ZqPixel_Rgba32, [](BITMAPINFOHEADER& h) { h.biBitCount = 0xFFFF; }},
      {"planes 0", ZqPixel_Rgb24, [](BITMAPINFOHEADER& h) { h.biPlanes = 0; }},
      {"palette count huge", ZqPixel_Pal8, [](BITMAPINFOHEADER& h) { h.biClrUsed = 0x7FFFFFFF; }},
      {"palette count 300", ZqPixel_Pal8, [](BITMAPINFOHEADER& h) { h.biClrUsed = 300; }},
      {"palette count 1", ZqPixel_Pal8, [](BITMAPINFOHEADER& h) { h.biClrUsed = 1; }},
      {"Pal4 count 17", ZqPixel_Pal4, [](BITMAPINFOHEADER& h) { h.biClrUsed = 17; }},
      {"compression 99", ZqPixel_Rgb24, [](BITMAPINFOHEADER& h) { h.biCompression = 99; }},
      {"bit fields on 24 bits", ZqPixel_Rgb24, [](BITMAPINFOHEADER& h) { h.biCompression = BI_BITFIELDS; }},
      {"float FourCC on 8 bits", ZqPixel_Gray8, [](BITMAPINFOHEADER& h) { h.biCompression = ZQDIB_FOURCC_RGBA; }},
      {"image size 1", ZqPixel_Rgba32, [](BITMAPINFOHEADER& h) { h.biSizeImage = 1; }},
      {"colours on a true-colour image", ZqPixel_Rgb32, [](BITMAPINFOHEADER& h) { h.biClrUsed = 0x10000000; }},
  };
  const RECT distant{-100000, -100000, 100000, 100000};
  const char* only = getenv("ROBUSTNESS_ONLY");
  for (const Lie& lie : lies) {
    if (only && !std::strstr(lie.name, only)) continue;
    std::vector<BYTE> bytes = BlockBytes(lie.type);
    ASSERT_FALSE(bytes.empty()) << lie.name;
    Fenced block(bytes.size());
    std::memcpy(block.data(), bytes.data(), bytes.size());
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
    lie.bend(*header);
    const bool honest = std::strncmp(lie.name, "honest", 6) == 0;
    const BITMAPINFOHEADER bent = *header;
    BITMAPINFOHEADER* other = nullptr;
    ASSERT_EQ(ZqDibAlloc(&other, ZqPixel_Rgba32, 4, 4, nullptr, 0, ZQDIBALLOC_ZERO), S_OK);
    TextOut text;
    const std::wstring png = testsupport::BuildPath(L"robustness-lie.png");
    const Want refused = honest ? Want::Ok : Want::Failed;
    const std::vector<Case> cases = {
        {"GetPixelType", Want::Any, [&] { return static_cast<LONG_PTR>(ZqGetPixelType(header)); }},
        {"GetPixel", refused, [&] {
           ZQWIDEPIXEL p;
           return static_cast<LONG_PTR>(ZqDibGetPixel(header, nullptr, 0, 3, 3, &p));
         }},
        {"GetPixel outside", Want::Failed, [&] {
           ZQWIDEPIXEL p;
           return static_cast<LONG_PTR>(ZqDibGetPixel(header, nullptr, 0, 4, -1, &p));
         }},
        {"SetPixel", refused, [&] {
           ZQWIDEPIXEL p{1, 2, 3, 4};
           return static_cast<LONG_PTR>(ZqDibSetPixel(header, nullptr, 0, 0, 0, &p));
         }},
        {"SetPixel INT_MIN", Want::Failed, [&] {
           ZQWIDEPIXEL p{1, 2, 3, 4};
           return static_cast<LONG_PTR>(ZqDibSetPixel(header, nullptr, 0, INT_MIN, INT_MIN, &p));
         }},
        {"Flip", Want::Any, [&] { return static_cast<LONG_PTR>(ZqDibFlip(header, nullptr, &distant, 0, TRUE, TRUE)); }},
        {"SwapRB", Want::Any, [&] { return static_cast<LONG_PTR>(ZqDibSwapRB(header, nullptr, &distant, 0)); }},
        {"Set", Want::Any,
         [&] { return static_cast<LONG_PTR>(ZqDibSet(header, nullptr, &distant, 0, 1, 1, 1, 1, 0)); }},
        {"Set sub-pixel", Want::Any, [&] {
           static const RECT sub{LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX};
           return static_cast<LONG_PTR>(ZqDibSet(header, nullptr, &sub, 0, 1, 1, 1, 1, ZQDIB_SUBPIXEL | 0xF000));
         }},
        {"Copy from it", Want::Any, [&] {
           return static_cast<LONG_PTR>(ZqDibCopy(other, nullptr, nullptr, 0, header, nullptr, &distant, 0, 4));
         }},
        {"Copy into it", Want::Any, [&] {
           return static_cast<LONG_PTR>(ZqDibCopy(header, nullptr, &distant, 0, other, nullptr, nullptr, 0, 0x0F));
         }},
        {"Copy into it, bicubic", Want::Any, [&] {
           static const RECT small{1, 1, 3, 2};
           return static_cast<LONG_PTR>(
               ZqDibCopy(header, nullptr, nullptr, 0, other, nullptr, &small, 0, ZQDIB_BICUBIC | 0xFF0000));
         }},
        {"CreateColorQuantizer", Want::Any, [&] {
           BYTE* table = nullptr;
           HRESULT hr = ZqDibCreateColorQuantizer(&table, header);
           ZqDibFree(table, 0);
           return static_cast<LONG_PTR>(hr);
         }},
        {"GetAttribsText", Want::Any,
         [&] { return static_cast<LONG_PTR>(ZqVideo_GetAttribsText(header, text.Buffer(30), 0)); }},
        {"GetAttribsTextEx", Want::Any,
         [&] { return static_cast<LONG_PTR>(ZqVideo_GetAttribsTextEx(header, 0, text.Buffer(30), 0, 0)); }},
        {"IsCompressed", Want::Any, [&] { return static_cast<LONG_PTR>(ZqVideo_IsCompressed(header)); }},
        {"FadeToColor", Want::Any, [&] {
           return static_cast<LONG_PTR>(
               ZqDibFadeToColor(header, nullptr, &distant, 0, ZQRGBAFLOAT{1, 1, 1, 1}, 0.5f, FALSE, ZQDIB_SUBPIXEL));
         }},
        {"ApplyTransferFunc", Want::Any, [&] {
           return static_cast<LONG_PTR>(ZqDibApplyTransferFunc_ZQRGBAFLOAT(header, nullptr, &distant, 0, 5, 0, TRUE));
         }},
        {"Linearize", Want::Any, [&] {
           return static_cast<LONG_PTR>(
               ZqDibLinearize_ZQRGBAFLOAT_From_RGBA(header, nullptr, nullptr, 0, other, nullptr, nullptr, 0, 1, 0));
         }},
        {"QuantizePalette", Want::Any, [&] {
           return static_cast<LONG_PTR>(ZqDibQuantizePalette(header, other, nullptr, &distant, 0, 0));
         }},
        {"QuantizePalette from it", Want::Any, [&] {
           return static_cast<LONG_PTR>(ZqDibQuantizePalette(other, header, nullptr, nullptr, 0, 0));
         }},
        {"CopyInterlace", Want::Any, [&] {
           return static_cast<LONG_PTR>(ZqDibCopyInterlace(header, nullptr, nullptr, 0, other, nullptr, nullptr, 0, 3, 0));
         }},
        {"MergeFields", Want::Any, [&] {
           return static_cast<LONG_PTR>(ZqDibMergeFields(header, nullptr, 0, header, nullptr, 0, -1, 0));
         }},
        {"PreparePluginParam", Want::Any, [&] {
           ZQPLUGINPARAM record;
           BOOL isFloat, nothing;
           return static_cast<LONG_PTR>(DibPreparePluginParam(&record, header, nullptr, &distant, 0, header, nullptr,
                                                              nullptr, 0, 0, &isFloat, &nothing));
         }},
        {"SaveDiskPngDib", Want::Any, [&] {
           HRESULT hr = ZqSaveDiskPngDib(png.c_str(), header, nullptr, nullptr);
           DeleteFileW(png.c_str());
           return static_cast<LONG_PTR>(hr);
         }},
    };
    const char* onlyCase = getenv("ROBUSTNESS_ONLY_CASE");
    for (const Case& c : cases) {
      if (onlyCase && std::strcmp(c.name, onlyCase) != 0) continue;
      std::string name = std::string(lie.name) + " / " + c.name;
      // Only the honest blocks and the refusals are held to a result.
      Case named{name.c_str(), c.want == Want::Ok && !honest ? Want::Any : c.want, c.call, nullptr};
      if (std::strcmp(c.name, "GetPixel") == 0 || std::strcmp(c.name, "SetPixel") == 0) {
        // A lie the type check can see must be refused; others (a short
        // image size, a colour count on a true-colour image) are harmless.
        const bool visible = ZqGetPixelType(header) == 0 || header->biWidth <= 0 || header->biHeight <= 0 ||
                             header->biWidth > 0x10000000 || header->biHeight > 0x1000000 ||
                             header->biSize > 0x10000 || header->biClrUsed > 65536;
        named.want = honest ? Want::Ok : visible ? Want::Failed : Want::Any;
      }
      RunCases({named});
      EXPECT_TRUE(block.FenceIntact()) << name << ": wrote before the block";
      EXPECT_EQ(std::memcmp(header, &bent, sizeof bent), 0) << name << ": changed the header";
    }
    ZqDibFree(other, 0);
    if (g_trace) fprintf(stderr, "lie done: %s\n", lie.name);
  }
  if (g_trace) fprintf(stderr, "all lies done\n");
}

// Every pair of pixel types, on odd-sized blocks whose last byte lies
// right before the guard page: the bit-packed and multi-pixel readers and
// writers at the right edge of the last stored row must not run over.
TEST(ImageBlocks, EveryTypePairStaysInsideItsBlocks) {
  const RECT edge{1, 0, 5, 3}, corner{4, 0, 5, 1}, plane{LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX};
  struct Copy {
    const char* name;
    const RECT* dstRect;
    const RECT* srcRect;
    DWORD flags;
  };
  const Copy copies[] = {
      {"whole", nullptr, nullptr, 0},
      {"whole, quality 4", nullptr, nullptr, 4},
      {"right edge enlarged", nullptr, &edge, 3 | ZQDIB_REPLACE_EDGES},
      {"corner pixel enlarged, bicubic", nullptr, &corner, ZQDIB_BICUBIC | 4},
      {"whole into the corner, shrink filter", &corner, nullptr, ZQDIB_SHRINK_FILTER | 4},
      {"feathered", nullptr, nullptr, ZQDIB_FEATHER_MASK | (3u << ZQDIB_PARAM_SHIFT) | 2},
      {"whole plane", &plane, &plane, 1},
  };
  for (int from = ZQPIXEL_FIRST; from <= ZQPIXEL_LAST; ++from)
    for (int to = ZQPIXEL_FIRST; to <= ZQPIXEL_LAST; ++to) {
      const std::vector<BYTE> srcBytes = BlockBytes(from, 5, 3), dstBytes = BlockBytes(to, 5, 3);
      ASSERT_FALSE(srcBytes.empty() || dstBytes.empty()) << from << " " << to;
      Fenced src(srcBytes.size(), 0), dst(dstBytes.size(), 0);
      std::memcpy(src.data(), srcBytes.data(), srcBytes.size());
      std::memcpy(dst.data(), dstBytes.data(), dstBytes.size());
      auto* s = reinterpret_cast<BITMAPINFOHEADER*>(src.data());
      auto* d = reinterpret_cast<BITMAPINFOHEADER*>(dst.data());
      const size_t headerBytes = dstBytes.size() - d->biSizeImage;
      const std::vector<BYTE> dstHeader(dst.data(), dst.data() + headerBytes);
      const std::vector<BYTE> source = src.Snapshot();
      for (const Copy& c : copies) {
        std::string name = std::to_string(from) + " -> " + std::to_string(to) + " / " + c.name;
        Begin();
        g_case = name.c_str();
        ZqDibCopy(d, nullptr, c.dstRect, 0, s, nullptr, c.srcRect, 0, c.flags);
        g_case = nullptr;
        EXPECT_TRUE(dst.FenceIntact() && src.FenceIntact()) << name;
        EXPECT_TRUE(std::memcmp(dst.data(), dstHeader.data(), headerBytes) == 0) << name << ": header changed";
        EXPECT_TRUE(src.Snapshot() == source) << name << ": source changed";
      }
      if (from != ZQPIXEL_FIRST) continue;
      // One-image operations on the destination type, at its last pixel.
      std::string name = std::to_string(to) + " one-image operations";
      Begin();
      g_case = name.c_str();
      ZQWIDEPIXEL p{65535, 0, 65535, 65535};
      EXPECT_EQ(ZqDibSetPixel(d, nullptr, 0, 4, 0, &p), S_OK) << name;
      EXPECT_EQ(ZqDibGetPixel(d, nullptr, 0, 4, 0, &p), S_OK) << name;
      ZqDibSet(d, nullptr, &corner, 0, 1, 0.5f, 0.25f, 1, 0);
      ZqDibSet(d, nullptr, &plane, 0, 1, 0.5f, 0.25f, 1, ZQDIB_SUBPIXEL);
      ZqDibFlip(d, nullptr, &edge, 0, TRUE, TRUE);
      ZqDibSwapRB(d, nullptr, &corner, 0);
      ZqDibFadeToColor(d, nullptr, &edge, 0, ZQRGBAFLOAT{1, 0, 0, 1}, 0.5f, FALSE, 0);
      ZqDibApplyTransferFunc_ZQRGBAFLOAT(d, nullptr, &corner, 0, 2, 0, FALSE);
      ZqDibCopyInterlace(d, nullptr, nullptr, 0, d, nullptr, nullptr, 0, 1, 0);
      ZqDibMergeFields(d, nullptr, 0, d, nullptr, 0, 0, 0);
      g_case = nullptr;
      EXPECT_TRUE(dst.FenceIntact()) << name;
      EXPECT_TRUE(std::memcmp(dst.data(), dstHeader.data(), headerBytes) == 0) << name << ": header changed";
    }
}

TEST(ImageBlocks, ArgumentsOutOfRange) {
  TextOut text;
  GuardedMemory attribs(4096);
  BITMAPINFOHEADER* block = nullptr;
  ASSERT_EQ(ZqDibAlloc(&block, ZqPixel_Rgba32, 4, 4, nullptr, 0, ZQDIBALLOC_ZERO), S_OK);
  const std::vector<Case> cases = {
      {"Alloc null out", Want::Failed, [] { return ZqDibAlloc(nullptr, ZqPixel_Rgb24, 4, 4, nullptr, 0, 0); }},
      {"Alloc type 0", Want::Failed, [] {
         BITMAPINFOHEADER* b = reinterpret_cast<BITMAPINFOHEADER*>(1);
         HRESULT hr = ZqDibAlloc(&b, 0, 4, 4, nullptr, 0, 0);
         return static_cast<LONG_PTR>(b ? (ZqDibFree(b, 0), S_OK) : hr);
       }},
      {"Alloc type 33", Want::Failed, [] {
         BITMAPINFOHEADER* b = nullptr;
         HRESULT hr = ZqDibAlloc(&b, 33, 4, 4, nullptr, 0, 0);
         return static_cast<LONG_PTR>(b ? (ZqDibFree(b, 0), S_OK) : hr);
       }},
      {"Alloc type -1", Want::Failed, [] {
         BITMAPINFOHEADER* b = nullptr;
         return static_cast<LONG_PTR>(ZqDibAlloc(&b, -1, 4, 4, nullptr, 0, 0));
       }},
      {"Alloc width 0", Want::Failed, [] {
         BITMAPINFOHEADER* b = nullptr;
         return static_cast<LONG_PTR>(ZqDibAlloc(&b, ZqPixel_Rgb24, 0, 4, nullptr, 0, 0));
       }},
      {"Alloc negative height", Want::Failed, [] {
         BITMAPINFOHEADER* b = nullptr;
         return static_cast<LONG_PTR>(ZqDibAlloc(&b, ZqPixel_Rgb24, 4, -4, nullptr, 0, 0));
       }},
      {"Alloc huge", Want::Failed, [] {
         BITMAPINFOHEADER* b = nullptr;
         return static_cast<LONG_PTR>(ZqDibAlloc(&b, ZqPixel_RgbaFloat, 0x7FFFFFFF, 0x7FFFFFFF, nullptr, 0, 0));
       }},
      {"Alloc just past 2 GB", Want::Failed, [] {
         BITMAPINFOHEADER* b = nullptr;
         return static_cast<LONG_PTR>(ZqDibAlloc(&b, ZqPixel_Rgba32, 0x4000, 0x8000, nullptr, 0, 0));
       }},
      {"Alloc palette count -5", Want::Any, [] {
         BITMAPINFOHEADER* b = nullptr;
         HRESULT hr = ZqDibAlloc(&b, ZqPixel_Pal8, 4, 4, nullptr, -5, 0);
         ZqDibFree(b, 0);
         return static_cast<LONG_PTR>(hr);
       }},
      {"Alloc palette count 100000 with a short table", Want::Any, [] {
         static const RGBQUAD table[2] = {};
         BITMAPINFOHEADER* b = nullptr;
         HRESULT hr = ZqDibAlloc(&b, ZqPixel_Pal8, 4, 4, table, 2, 0);
         ZqDibFree(b, 0);
         return static_cast<LONG_PTR>(hr);
       }},
      {"Free null", Want::Any, [] { return static_cast<LONG_PTR>(ZqDibFree(nullptr, 0)); }},
      {"InitBitmapInfo null", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqVideo_InitBitmapInfo(nullptr, ZqPixel_Rgb24, 4, 4, nullptr, 0, nullptr)); }},
      {"InitBitmapInfo type 99", Want::Failed, [] {
         BITMAPINFOHEADER h;
         DWORD size;
         return static_cast<LONG_PTR>(ZqVideo_InitBitmapInfo(&h, 99, 4, 4, nullptr, 0, &size));
       }},
      {"InitBitmapInfo huge", Want::Failed, [] {
         BITMAPINFOHEADER h;
         DWORD size;
         return static_cast<LONG_PTR>(ZqVideo_InitBitmapInfo(&h, ZqPixel_RgbaFloat, 0x7FFFFFFF, 2, nullptr, 0, &size));
       }},
      {"GetPixelType null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqGetPixelType(nullptr)); }},
      {"GetPixelBitsPerChannel 0, null", Want::Any,
       [] { return static_cast<LONG_PTR>(ZqGetPixelBitsPerChannel(0, nullptr)); }},
      {"GetPixelBitsPerChannel INT_MIN", Want::Any, [] {
         BYTE bits[4];
         return static_cast<LONG_PTR>(ZqGetPixelBitsPerChannel(INT_MIN, bits));
       }},
      {"PixelTypeToBitAttribs size 1", Want::Any, [&] {
         DWORD compression, masks[3];
         return static_cast<LONG_PTR>(
             ZqPixelTypeToBitAttribs(ZqPixel_Gray8, &compression, attribs.PlaceBytes({0}), 1, masks));
       }},
      {"PixelTypeToBitAttribs size 0", Want::Any, [&] {
         return static_cast<LONG_PTR>(
             ZqPixelTypeToBitAttribs(ZqPixel_Rgb565, nullptr, attribs.PlaceBytes({}), 0, nullptr));
       }},
      {"PixelTypeToBitAttribs size -1", Want::Any, [&] {
         return static_cast<LONG_PTR>(
             ZqPixelTypeToBitAttribs(ZqPixel_Rgb565, nullptr, attribs.PlaceBytes({}), -1, nullptr));
       }},
      {"PixelTypeToBitAttribs size 63", Want::Any, [&] {
         return static_cast<LONG_PTR>(ZqPixelTypeToBitAttribs(ZqPixel_Rgb565, nullptr,
                                                             attribs.PlaceBytes(std::vector<BYTE>(63)), 63, nullptr));
       }},
      {"PixelTypeToBitAttribs type 99", Want::Any, [&] {
         DWORD compression, masks[3];
         return static_cast<LONG_PTR>(ZqPixelTypeToBitAttribs(99, &compression, nullptr, 64, masks));
       }},
      {"GetFormatText length 0", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqVideo_GetFormatText(ZQDIB_FOURCC_RGBA, text.Buffer(0), 0)); }},
      {"GetFormatText length 1", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqVideo_GetFormatText(BI_BITFIELDS, text.Buffer(1), 1)); }},
      {"GetFormatText length 2", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqVideo_GetFormatText(0xFFFFFFFF, text.Buffer(2), 2)); }},
      {"GetFormatText length -1", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqVideo_GetFormatText(BI_RGB, text.Buffer(0), -1)); }},
      {"GetFormatText null", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqVideo_GetFormatText(BI_RGB, nullptr, 100)); }},
      {"GetAttribsText extreme numbers", Want::Any, [&] {
         BITMAPINFOHEADER h{sizeof h, LONG_MIN, LONG_MIN, 1, 0xFFFF, 0, 0, 0, 0, 0, 0};
         return static_cast<LONG_PTR>(ZqVideo_GetAttribsText(&h, text.Buffer(30), 0));
       }},
      {"GetAttribsText null header", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqVideo_GetAttribsText(nullptr, text.Buffer(30), 0)); }},
      {"GetAttribsText null text", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqVideo_GetAttribsText(block, nullptr, 0)); }},
      {"PaletteRGBAFromEntry null", Want::Any,
       [] { return Void([] { ZqVideo_PaletteRGBAFromEntry(nullptr, nullptr, 5); }); }},
      {"PaletteEntryFromRGBA negative", Want::Any, [] {
         PALETTEENTRY out[1];
         ZQRGBA in[1] = {};
         return Void([&] { ZqVideo_PaletteEntryFromRGBA(out, in, -7); });
       }},
      {"GetPixel null out", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqDibGetPixel(block, nullptr, 0, 0, 0, nullptr)); }},
      {"SetPixel null pixel", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqDibSetPixel(block, nullptr, 0, 0, 0, nullptr)); }},
      {"GetPixel stride below the row", Want::Failed, [&] {
         ZQWIDEPIXEL p;
         return static_cast<LONG_PTR>(ZqDibGetPixel(block, nullptr, 3, 0, 0, &p));
       }},
      {"GetPixel negative stride", Want::Failed, [&] {
         ZQWIDEPIXEL p;
         return static_cast<LONG_PTR>(ZqDibGetPixel(block, nullptr, -16, 0, 0, &p));
       }},
      {"Flip null header", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqDibFlip(nullptr, nullptr, nullptr, 0, TRUE, TRUE)); }},
      {"Copy null headers", Want::Failed, [] {
         return static_cast<LONG_PTR>(ZqDibCopy(nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr, 0, 0));
       }},
      {"Copy from itself into far rectangles", Want::Any, [&] {
         static const RECT a{-1000000, 0, 1000000, 2}, b{0, 0, 1, 1000000};
         return static_cast<LONG_PTR>(ZqDibCopy(block, nullptr, &a, 0, block, nullptr, &b, 0, 0xFFFFFFFF));
       }},
      {"Copy sub-pixel over the whole plane", Want::Any, [&] {
         static const RECT plane{LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX}, thin{0, 0, 1, 1 << 30};
         ZqDibCopy(block, nullptr, &plane, 0, block, nullptr, &thin, 0, ZQDIB_SUBPIXEL | ZQDIB_BICUBIC | 0xFFF0FF);
         return static_cast<LONG_PTR>(
             ZqDibCopy(block, nullptr, &thin, 0, block, nullptr, &plane, 0, ZQDIB_SUBPIXEL | ZQDIB_SHRINK_FILTER | 4));
       }},
      {"Copy enlarging a pixel past the image", Want::Any, [&] {
         static const RECT pixel{3, 3, 4, 4}, huge{-100000, -3, 100000, 1000000};
         return static_cast<LONG_PTR>(ZqDibCopy(block, nullptr, &huge, 0, block, nullptr, &pixel, 0,
                                                ZQDIB_FEATHER_MASK | 0xFF0000 | ZQDIB_REPLACE_EDGES | 3));
       }},
      {"FadeToColor sub-pixel over the whole plane", Want::Any, [&] {
         static const RECT plane{LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX};
         return static_cast<LONG_PTR>(ZqDibFadeToColor(block, nullptr, &plane, 0, ZQRGBAFLOAT{NAN, INFINITY, -1, 2},
                                                       NAN, FALSE, ZQDIB_SUBPIXEL));
       }},
      {"Flip inverted rectangle", Want::Any, [&] {
         static const RECT inverted{4, 4, 0, 0};
         return static_cast<LONG_PTR>(ZqDibFlip(block, nullptr, &inverted, 0, TRUE, TRUE));
       }},
      {"Set null header", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqDibSet(nullptr, nullptr, nullptr, 0, 0, 0, 0, 0, 0)); }},
      {"FillRect null colour", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqDibFillRect(block, nullptr, nullptr, 0, nullptr, 0)); }},
      {"FillRectChannel", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqDibFillRectChannel(block, nullptr, nullptr, 0, 9, 1, 0)); }},
      {"CreateColorQuantizer null", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqDibCreateColorQuantizer(nullptr, nullptr)); }},
      {"XCHG types out of range", Want::Failed, [] {
         ZQXCHGSET set;
         return static_cast<LONG_PTR>(ZqXCHGGetFunctionPointers(15, 33, 0, &set, nullptr));
       }},
      {"XCHG null set", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqXCHGGetFunctionPointers(ZqPixel_Rgb24, ZqPixel_Rgb24, 0, nullptr, nullptr)); }},
      {"XCHG blend block of nonsense", Want::Any, [] {
         ZQXCHGSET set;
         static const DWORD block[7] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF,
                                        0xFFFFFFFF};
         return static_cast<LONG_PTR>(ZqXCHGGetFunctionPointers(ZqPixel_Rgb24, ZqPixel_Rgb24, ~0u, &set, block));
       }},
      {"Linearize transfer 6", Want::Failed, [&] {
         return static_cast<LONG_PTR>(ZqDibLinearize_ZQRGBAFLOAT_From_RGBA(block, nullptr, nullptr, 0, block,
                                                                          nullptr, nullptr, 0, 6, 1));
       }},
      {"Linearize null headers", Want::Failed, [] {
         return static_cast<LONG_PTR>(ZqDibLinearize_ZQRGBAFLOAT_From_RGBA(nullptr, nullptr, nullptr, 0, nullptr,
                                                                          nullptr, nullptr, 0, 0, 1));
       }},
      {"ApplyTransferFunc transfer -1", Want::Any, [&] {
         return static_cast<LONG_PTR>(ZqDibApplyTransferFunc_ZQRGBAFLOAT(block, nullptr, nullptr, 0, -1, NAN, TRUE));
       }},
      {"ApplyTransferFunc null", Want::Any, [] {
         return static_cast<LONG_PTR>(ZqDibApplyTransferFunc_ZQRGBAFLOAT(nullptr, nullptr, nullptr, 0, 0, 1, TRUE));
       }},
      {"MergeFields null", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqDibMergeFields(nullptr, nullptr, 0, nullptr, nullptr, 0, 0, 0)); }},
      {"QuantizePalette null", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqDibQuantizePalette(nullptr, nullptr, nullptr, nullptr, 0, 0)); }},
      {"FadeToColor null", Want::Failed, [] {
         return static_cast<LONG_PTR>(
             ZqDibFadeToColor(nullptr, nullptr, nullptr, 0, ZQRGBAFLOAT{}, 1, FALSE, 0));
       }},
      {"HSL null outputs", Want::Any, [] {
         return Void([] {
           ZQRGBA_To_ZQHSL(nullptr, ZQRGBA{});
           ZQHSL_To_ZQRGBA(nullptr, ZQHSL{});
           ZQHSL_To_ZQRGBAFLOAT(nullptr, ZQHSL{NAN, INFINITY, -INFINITY, NAN});
         });
       }},
      {"HSL to RGBA of NaN and infinities", Want::Any, [] {
         ZQRGBA out;
         return Void([&] { ZQHSL_To_ZQRGBA(&out, ZQHSL{NAN, INFINITY, -INFINITY, 1e300}); });
       }},
      {"HotCheck null", Want::Zero, [] {
         return static_cast<LONG_PTR>(HotCheckNTSCYIQ(nullptr) | HotCheckPALYUVReturn(nullptr) |
                                      HotCheckNTSCYUVReturn(nullptr));
       }},
      {"Overlay index -1", Want::Zero, [] { return Ptr(ZqOverlay_GetCompositor(-1)); }},
      {"Overlay index 10", Want::Zero, [] { return Ptr(ZqOverlay_GetCompositor(ZQOVERLAY_COUNT)); }},
      {"Overlay GUID null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqOverlay_GetCompositorGUID(3, nullptr)); }},
      {"Overlay GUID of index INT_MIN", Want::Zero, [] {
         GUID g;
         return static_cast<LONG_PTR>(ZqOverlay_GetCompositorGUID(INT_MIN, &g));
       }},
      {"Overlay by an unknown GUID", Want::Zero, [] { return Ptr(ZqOverlay_GetCompositorByGUID(GUID{})); }},
      {"Overlay describe into 0 and 1", Want::Any, [&] {
         const tZQOVERLAY* o = ZqOverlay_GetCompositor(9);
         if (!o || !o->describe) return static_cast<LONG_PTR>(-1);
         o->describe(text.Buffer(0), 0, nullptr);
         o->describe(text.Buffer(1), 1, nullptr);
         o->describe(text.Buffer(0), -1, nullptr);
         return static_cast<LONG_PTR>(o->describe(nullptr, 100, nullptr));
       }},
      {"Overlay row with negative count", Want::Any, [] {
         const tZQOVERLAY* o = ZqOverlay_GetCompositor(2);
         ZQRGBA d[1] = {}, s[1] = {};
         return Void([&] { o->row(d, s, 0x7FFFFFFF, -5); });
       }},
  };
  RunCases(cases);
  ZqDibFree(block, 0);
}

// ============================================================================
// PNG
// ============================================================================
std::vector<BYTE> ReadAll(const std::wstring& path) {
  std::vector<BYTE> bytes;
  if (FILE* f = _wfopen(path.c_str(), L"rb")) {
    int c;
    while ((c = fgetc(f)) != EOF) bytes.push_back(static_cast<BYTE>(c));
    fclose(f);
  }
  return bytes;
}
void WriteAll(const std::wstring& path, const std::vector<BYTE>& bytes) {
  if (FILE* f = _wfopen(path.c_str(), L"wb")) {
    if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
}

DWORD Crc32(const BYTE* data, size_t length) {
  DWORD crc = 0xFFFFFFFF;
  for (size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}
// A PNG file whose header chunk claims the given size (and is otherwise
// well formed), with one empty data chunk.
std::vector<BYTE> PngClaiming(DWORD width, DWORD height, BYTE depth, BYTE colourType) {
  std::vector<BYTE> f = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
  auto chunk = [&](const char* type, const std::vector<BYTE>& data) {
    const DWORD n = static_cast<DWORD>(data.size());
    for (int i = 3; i >= 0; --i) f.push_back(static_cast<BYTE>(n >> (8 * i)));
    const size_t start = f.size();
    f.insert(f.end(), type, type + 4);
    f.insert(f.end(), data.begin(), data.end());
    const DWORD crc = Crc32(&f[start], f.size() - start);
    for (int i = 3; i >= 0; --i) f.push_back(static_cast<BYTE>(crc >> (8 * i)));
  };
  std::vector<BYTE> ihdr;
  for (DWORD v : {width, height})
    for (int i = 3; i >= 0; --i) ihdr.push_back(static_cast<BYTE>(v >> (8 * i)));
  ihdr.insert(ihdr.end(), {depth, colourType, 0, 0, 0});
  chunk("IHDR", ihdr);
  chunk("IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
  chunk("IEND", {});
  return f;
}

TEST(Png, ImpossibleSizesAreRefused) {
  struct Claim {
    const char* name;
    DWORD width, height;
    BYTE depth, colourType;
  };
  const Claim claims[] = {
      {"width 2^31 - 1", 0x7FFFFFFF, 1, 8, 6},
      {"30000 x 30000 RGBA", 30000, 30000, 8, 6},
      {"1000000 x 1000000 grey 16", 1000000, 1000000, 16, 0},
      {"zero width", 0, 5, 8, 2},
      {"depth 3", 4, 4, 3, 0},
      {"colour type 5", 4, 4, 8, 5},
      {"palette without a palette", 4, 4, 8, 3},
      {"honest size, no pixels", 4, 4, 8, 6},
  };
  for (const Claim& c : claims) {
    const std::vector<BYTE> file = PngClaiming(c.width, c.height, c.depth, c.colourType);
    Fenced data(file.size());
    std::memcpy(data.data(), file.data(), file.size());
    BITMAPINFOHEADER* out = reinterpret_cast<BITMAPINFOHEADER*>(1);
    Begin();
    g_case = c.name;
    HRESULT hr = ZqDibFromPng(&out, data.data(), static_cast<DWORD>(file.size()));
    g_case = nullptr;
    EXPECT_TRUE(FAILED(hr)) << c.name << " hr 0x" << std::hex << hr;
    EXPECT_EQ(out, nullptr) << c.name;
    if (SUCCEEDED(hr)) ZqDibFree(out, 0);
  }
}

TEST(Png, DamagedDataIsAFailure) {
  BITMAPINFOHEADER* image = nullptr;
  ASSERT_EQ(ZqDibAlloc(&image, ZqPixel_Rgba32, 7, 5, nullptr, 0, ZQDIBALLOC_ZERO), S_OK);
  const std::wstring path = testsupport::BuildPath(L"robustness.png");
  const ZQPNGFILEOPTIONS interlaced{ZqPixel_Rgb32, 1};
  ASSERT_EQ(ZqSaveDiskPngDib(path.c_str(), image, nullptr, &interlaced), S_OK);
  const std::vector<BYTE> file = ReadAll(path);
  ASSERT_GT(file.size(), 60u);
  // Cut short at every length, and with bytes flipped in the header and
  // the data: never success, never a read past the given length.
  struct Damage {
    const char* name;
    size_t length;
    size_t flip;  // index of a byte to invert, or SIZE_MAX
  };
  std::vector<Damage> damages;
  static std::vector<std::string> names;
  names.clear();
  names.reserve(file.size() + 64);
  for (size_t n = 0; n < file.size(); n += (n < 64 ? 1 : 5)) {
    names.push_back("cut at " + std::to_string(n));
    damages.push_back({names.back().c_str(), n, SIZE_MAX});
  }
  for (size_t at : {8u, 12u, 16u, 19u, 23u, 24u, 25u, 28u, 33u, 37u, 41u, 45u}) {
    if (at >= file.size()) continue;
    names.push_back("flipped byte " + std::to_string(at));
    damages.push_back({names.back().c_str(), file.size(), at});
  }
  // A cut inside the closing IEND chunk leaves every pixel in place: it may
  // load. Any earlier cut loses pixels and must fail.
  size_t iend = file.size();
  for (size_t i = 4; i + 4 <= file.size(); ++i)
    if (std::memcmp(&file[i], "IEND", 4) == 0) iend = i - 4;
  for (const Damage& d : damages) {
    const bool mustFail = d.flip == SIZE_MAX && d.length < iend;
    std::vector<BYTE> bytes(file.begin(), file.begin() + d.length);
    if (d.flip != SIZE_MAX) bytes[d.flip] ^= 0xFF;
    Fenced data(bytes.size());
    if (!bytes.empty()) std::memcpy(data.data(), bytes.data(), bytes.size());
    Begin();
    g_case = d.name;
    BITMAPINFOHEADER* out = reinterpret_cast<BITMAPINFOHEADER*>(1);
    HRESULT hr = ZqDibFromPng(&out, data.data(), static_cast<DWORD>(bytes.size()));
    g_case = nullptr;
    if (mustFail) {
      EXPECT_TRUE(FAILED(hr)) << d.name << " hr 0x" << std::hex << hr;
      EXPECT_EQ(out, nullptr) << d.name;
    } else if (FAILED(hr)) {
      EXPECT_EQ(out, nullptr) << d.name;
    }
    if (SUCCEEDED(hr)) ZqDibFree(out, 0);
    // The same through a file.
    const std::wstring cut = testsupport::BuildPath(L"robustness-cut.png");
    WriteAll(cut, bytes);
    g_case = d.name;
    hr = ZqLoadDiskPngDibEx(cut.c_str(), &out);
    g_case = nullptr;
    if (mustFail) {
      EXPECT_TRUE(FAILED(hr)) << d.name << " (file) hr 0x" << std::hex << hr;
    }
    if (SUCCEEDED(hr)) ZqDibFree(out, 0);
    DeleteFileW(cut.c_str());
  }
  const ZQPNGFILEOPTIONS badType{ZqPixel_Pal8, 0}, hugeType{0xFFFFFFFF, 0xFFFFFFFF};
  const std::wstring nowhere = L"Z:\\no\\such\\folder\\robustness.png";
  const std::vector<Case> cases = {
      {"FromPng null out", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqDibFromPng(nullptr, file.data(), static_cast<DWORD>(file.size()))); }},
      {"FromPng null data", Want::Failed, [] {
         BITMAPINFOHEADER* out;
         return static_cast<LONG_PTR>(ZqDibFromPng(&out, nullptr, 100));
       }},
      {"FromPng length 0", Want::Failed, [&] {
         BITMAPINFOHEADER* out;
         return static_cast<LONG_PTR>(ZqDibFromPng(&out, file.data(), 0));
       }},
      {"LoadDiskPngDibEx null path", Want::Failed, [] {
         BITMAPINFOHEADER* out;
         return static_cast<LONG_PTR>(ZqLoadDiskPngDibEx(nullptr, &out));
       }},
      {"LoadDiskPngDibEx null out", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqLoadDiskPngDibEx(path.c_str(), nullptr)); }},
      {"LoadDiskPngDib missing", Want::Zero, [&] { return Ptr(ZqLoadDiskPngDib(nowhere.c_str())); }},
      {"LoadDiskPngDib empty path", Want::Zero, [] { return Ptr(ZqLoadDiskPngDib(L"")); }},
      {"LoadPngDib null name", Want::Failed, [] {
         BITMAPINFOHEADER* out;
         return static_cast<LONG_PTR>(ZqLoadPngDib(nullptr, nullptr, ZQPNG_FROM_FILE, &out));
       }},
      {"LoadResourcePngDibEx null", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqLoadResourcePngDibEx(nullptr, nullptr, nullptr)); }},
      {"LoadResourcePngDib ordinal", Want::Zero, [] { return Ptr(ZqLoadResourcePngDib(nullptr, MAKEINTRESOURCEW(9999))); }},
      {"SaveDiskPngDib null path", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqSaveDiskPngDib(nullptr, image, nullptr, nullptr)); }},
      {"SaveDiskPngDib null header", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqSaveDiskPngDib(path.c_str(), nullptr, nullptr, nullptr)); }},
      {"SaveDiskPngDib palette type", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqSaveDiskPngDib(path.c_str(), image, nullptr, &badType)); }},
      {"SaveDiskPngDib type 0xFFFFFFFF", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqSaveDiskPngDib(path.c_str(), image, nullptr, &hugeType)); }},
      {"SaveDiskPngDib into no folder", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqSaveDiskPngDib(nowhere.c_str(), image, nullptr, nullptr)); }},
  };
  RunCases(cases);
  DeleteFileW(path.c_str());
  ZqDibFree(image, 0);
}

// ============================================================================
// Files and help
// ============================================================================
TEST(FilesAndHelp, CapacitiesAndMissingPointers) {
  TextOut out;
  GuardedMemory inMemory(8192);
  const std::wstring longName(400, L'x');
  const std::wstring longPath = L"C:\\" + std::wstring(300, L'd') + L"\\" + longName + L".txt";
  auto placed = [&](const std::wstring& s) { return const_cast<WCHAR*>(inMemory.Place(s)); };
  // A path to change in place with exactly its own length as capacity.
  auto exact = [&](const std::wstring& s, int extra) {
    WCHAR* b = out.Buffer(static_cast<int>(s.size()) + 1 + extra);
    std::memcpy(b, s.c_str(), (s.size() + 1) * sizeof(WCHAR));
    return b;
  };
  // A temporary file named with `format`, removed again.
  auto tempWith = [&](const WCHAR* format) {
    const std::wstring prefix = testsupport::BuildPath(L"robust-");
    WCHAR* b = out.Buffer(260);
    HRESULT hr = ZqCreateTempFileAndNameEx(prefix.c_str(), L"m", L".tmp", format, b, 260);
    if (SUCCEEDED(hr)) DeleteFileW(b);
    return static_cast<LONG_PTR>(hr);
  };
  const std::vector<Case> cases = {
      {"GetFileNamePtrW null", Want::Any, [] { return Ptr(ZqGetFileNamePtrW(nullptr)); }},
      {"GetFileNamePtrA null", Want::Any, [] { return Ptr(ZqGetFileNamePtrA(nullptr)); }},
      {"GetFileNameExtensionPtrW null", Want::Any, [] { return Ptr(ZqGetFileNameExtensionPtrW(nullptr)); }},
      {"GetFileNameExtensionPtrW at the guard", Want::NotZero,
       [&] { return Ptr(ZqGetFileNameExtensionPtrW(placed(L"a.b."))); }},
      {"WithoutPathOrExtension capacity 0", Want::Zero,
       [&] { return Ptr(ZqGetFileNameWithoutPathOrExtension(L"C:\\a\\name.txt", out.Buffer(0), 0)); }},
      {"WithoutPathOrExtension capacity 1", Want::Any,
       [&] { return Ptr(ZqGetFileNameWithoutPathOrExtension(L"C:\\a\\name.txt", out.Buffer(1), 1)); }},
      {"WithoutPathOrExtension capacity 4", Want::Any,
       [&] { return Ptr(ZqGetFileNameWithoutPathOrExtension(L"C:\\a\\name.txt", out.Buffer(4), 4)); }},
      {"WithoutPathOrExtension capacity -1", Want::Zero,
       [&] { return Ptr(ZqGetFileNameWithoutPathOrExtension(L"name.txt", out.Buffer(0), -1)); }},
      {"WithoutPathOrExtension null path", Want::Any,
       [&] { return Ptr(ZqGetFileNameWithoutPathOrExtension(nullptr, out.Buffer(10), 10)); }},
      {"WithoutPathOrExtension long name", Want::Any,
       [&] { return Ptr(ZqGetFileNameWithoutPathOrExtension(longPath.c_str(), out.Buffer(260), 260)); }},
      {"PathNameFromFilePath capacity 0", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetPathNameFromFilePath(L"C:\\a\\b", out.Buffer(0), 0)); }},
      {"PathNameFromFilePath capacity 1", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetPathNameFromFilePath(L"C:\\a\\b", out.Buffer(1), 1)); }},
      {"PathNameFromFilePath capacity -5", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetPathNameFromFilePath(L"C:\\a\\b", out.Buffer(0), -5)); }},
      {"PathNameFromFilePath exact", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetPathNameFromFilePath(L"C:\\a\\b", out.Buffer(6), 6)); }},
      {"PathNameFromFilePath long", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetPathNameFromFilePath(longPath.c_str(), out.Buffer(260), 260)); }},
      {"PathNameFromFilePath nulls", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetPathNameFromFilePath(nullptr, nullptr, 100)); }},
      {"RootPathFromFilePath capacity 1", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetRootPathFromFilePath(L"\\\\server\\share\\x", out.Buffer(1), 1)); }},
      {"RootPathFromFilePath capacity 0", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetRootPathFromFilePath(L"C:\\x", out.Buffer(0), 0)); }},
      {"RootPathFromFilePath unended UNC", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqGetRootPathFromFilePath(placed(L"\\\\server"), out.Buffer(20), 20)); }},
      {"RootPathFromFilePath nulls", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqGetRootPathFromFilePath(nullptr, nullptr, 10)); }},
      {"AddSlash without room", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqAddSlashToPathName(exact(L"C:\\dir", 0), 7)); }},
      {"AddSlash capacity 0", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqAddSlashToPathName(out.Buffer(0), 0)); }},
      {"AddSlash capacity -1", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqAddSlashToPathName(exact(L"C:", 0), -1)); }},
      {"AddSlash null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqAddSlashToPathName(nullptr, 100)); }},
      {"AddSlash unterminated", Want::Any, [&] {
         WCHAR* b = out.Buffer(4);
         b[0] = b[1] = b[2] = b[3] = L'a';
         return static_cast<LONG_PTR>(ZqAddSlashToPathName(b, 4));
       }},
      {"RemoveSlash capacity 0", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqRemoveSlashFromPathNameEnd(out.Buffer(0), 0)); }},
      {"RemoveSlash unterminated", Want::Any, [&] {
         WCHAR* b = out.Buffer(3);
         b[0] = b[1] = b[2] = L'\\';
         return static_cast<LONG_PTR>(ZqRemoveSlashFromPathNameEnd(b, 3));
       }},
      {"RemoveSlash null", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqRemoveSlashFromPathNameEnd(nullptr, 10)); }},
      {"AddExtension without room", Want::Any, [&] {
         return static_cast<LONG_PTR>(ZqAddExtensionToPathName(exact(L"C:\\a\\name", 0), 10, L".longextension"));
       }},
      {"AddExtension replacing, one short", Want::Any, [&] {
         return static_cast<LONG_PTR>(ZqAddExtensionToPathName(exact(L"n.ab", 0), 5, L"abc"));
       }},
      {"AddExtension null extension", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqAddExtensionToPathName(exact(L"name", 0), 5, nullptr)); }},
      {"AddExtension capacity 0", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqAddExtensionToPathName(out.Buffer(0), 0, L".x")); }},
      {"AddExtension null path", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqAddExtensionToPathName(nullptr, 10, L".x")); }},
      {"ValidateFileName repairing at the guard", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqValidateFileName(placed(L"a:b*c?d|e\\"), TRUE)); }},
      {"GetFileNamePtrRelative longer base", Want::Any,
       [&] { return Ptr(ZqGetFileNamePtrRelative(longPath.c_str(), placed(L"C:\\a"))); }},
      {"GetBasePathRelative exact capacity", Want::Any, [&] {
         return static_cast<LONG_PTR>(ZqGetBasePathRelative(L"C:\\a\\b", placed(L"C:\\a\\b\\c\\d.txt"), out.Buffer(8), 8));
       }},
      {"ReplaceBasePathRelative old base longer than the path", Want::Any, [&] {
         return static_cast<LONG_PTR>(
             ZqReplaceBasePathRelative(placed(L"C:\\a"), longPath.c_str(), L"D:\\", out.Buffer(4), 4));
       }},
      {"ValidateFileName null", Want::Any, [] { return static_cast<LONG_PTR>(ZqValidateFileName(nullptr, TRUE)); }},
      {"IsMatchWildCard nulls", Want::Zero, [] { return static_cast<LONG_PTR>(ZqIsMatchWildCard(nullptr, nullptr)); }},
      {"IsMatchWildCard many stars", Want::Any, [&] {
         std::wstring stars(3000, L'*');
         return static_cast<LONG_PTR>(ZqIsMatchWildCard(stars.c_str(), placed(std::wstring(3000, L'a') + L"b")));
       }},
      {"IsMatchWildCard star-question chains", Want::Any, [&] {
         std::wstring pattern;
         for (int i = 0; i < 200; ++i) pattern += L"*?";
         return static_cast<LONG_PTR>(ZqIsMatchWildCard(pattern.c_str(), placed(std::wstring(300, L'a'))));
       }},
      {"GetFileNamePtrRelative nulls", Want::Any, [] { return Ptr(ZqGetFileNamePtrRelative(nullptr, nullptr)); }},
      {"GetBasePathRelative capacity 0", Want::Any, [&] {
         return static_cast<LONG_PTR>(ZqGetBasePathRelative(L"C:\\a\\b", L"C:\\a\\b\\c\\d.txt", out.Buffer(0), 0));
       }},
      {"GetBasePathRelative capacity 1", Want::Any, [&] {
         return static_cast<LONG_PTR>(ZqGetBasePathRelative(L"C:\\a\\b", L"C:\\a\\b\\c\\d.txt", out.Buffer(1), 1));
       }},
      {"GetBasePathRelative nulls", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqGetBasePathRelative(nullptr, nullptr, nullptr, 10)); }},
      {"ReplaceBasePathRelative capacity 1", Want::Any, [&] {
         return static_cast<LONG_PTR>(
             ZqReplaceBasePathRelative(L"C:\\old\\x\\y.txt", L"C:\\old", L"D:\\much\\longer\\new", out.Buffer(1), 1));
       }},
      {"ReplaceBasePathRelative capacity -1", Want::Failed, [&] {
         return static_cast<LONG_PTR>(
             ZqReplaceBasePathRelative(L"C:\\old\\x\\y.txt", L"C:\\old", L"D:\\new", out.Buffer(0), -1));
       }},
      {"ReplaceBasePathRelative nulls", Want::Failed, [&] {
         return static_cast<LONG_PTR>(ZqReplaceBasePathRelative(nullptr, nullptr, nullptr, out.Buffer(10), 10));
       }},
      {"CalcPathEllipsis nulls", Want::Any, [] { return static_cast<LONG_PTR>(ZqCalcPathEllipsis(nullptr, nullptr, 0)); }},
      {"CalcPathEllipsis width -1", Want::Any, [&] {
         HDC dc = GetDC(nullptr);
         LONG_PTR r = ZqCalcPathEllipsis(dc, exact(L"C:\\some\\long\\folder\\file.txt", 0), -1);
         ReleaseDC(nullptr, dc);
         return r;
       }},
      {"CalcPathEllipsis long path", Want::Any, [&] {
         HDC dc = GetDC(nullptr);
         LONG_PTR r = ZqCalcPathEllipsis(dc, exact(longPath, 0), 5);
         ReleaseDC(nullptr, dc);
         return r;
       }},
      {"GetLongPathName capacity 0", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetLongPathName(L"C:\\windows", out.Buffer(0), 0)); }},
      {"GetLongPathName capacity 1", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetLongPathName(L"C:\\windows", out.Buffer(1), 1)); }},
      {"GetLongPathName nulls", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqGetLongPathName(nullptr, nullptr, 100)); }},
      {"GetFullPathName capacity 1", Want::Any, [&] {
         LPWSTR part;
         return static_cast<LONG_PTR>(ZqGetFullPathName(L"relative\\file", 1, out.Buffer(1), &part));
       }},
      {"GetFullPathName long", Want::Any, [&] {
         return static_cast<LONG_PTR>(ZqGetFullPathName(longPath.c_str(), 260, out.Buffer(260), nullptr));
       }},
      {"GetFullPathName null", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqGetFullPathName(nullptr, 10, out.Buffer(10), nullptr)); }},
      {"QualifyPath capacity 1", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqQualifyPath(L"a\\..\\b", out.Buffer(1), 1)); }},
      {"QualifyPath capacity 0", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqQualifyPath(L"a", out.Buffer(0), 0)); }},
      {"QualifyPath long", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqQualifyPath(longPath.c_str(), out.Buffer(260), 260)); }},
      {"QualifyPath null", Want::Zero, [&] { return static_cast<LONG_PTR>(ZqQualifyPath(nullptr, out.Buffer(9), 9)); }},
      {"GetTempPath capacity 1", Want::Any, [&] { return static_cast<LONG_PTR>(ZqGetTempPath(1, out.Buffer(1))); }},
      {"GetTempPath null", Want::Any, [&] { return static_cast<LONG_PTR>(ZqGetTempPath(100, nullptr)); }},
      {"GetModuleFileName capacity 1", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetModuleFileName(nullptr, out.Buffer(1), 1)); }},
      {"GetModuleFileName capacity 0", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetModuleFileName(nullptr, out.Buffer(0), 0)); }},
      {"GetModulePath capacity 2", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetModulePath(nullptr, out.Buffer(2), 2)); }},
      {"GetModulePath capacity 0", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqGetModulePath(nullptr, out.Buffer(0), 0)); }},
      {"GetModulePath bogus module", Want::Zero, [&] {
         return static_cast<LONG_PTR>(ZqGetModulePath(reinterpret_cast<HMODULE>(0x1230), out.Buffer(50), 50));
       }},
      {"GetModulePath null buffer", Want::Zero, [&] { return static_cast<LONG_PTR>(ZqGetModulePath(nullptr, nullptr, 50)); }},
      {"DoesFileExist null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqDoesFileExist(nullptr)); }},
      {"GetFileSizeByName nulls", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqGetFileSizeByName(nullptr, nullptr)); }},
      {"GetFileSizeByName null size", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqGetFileSizeByName(testsupport::ModulePath().c_str(), nullptr)); }},
      {"DosGetDateTime null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqDosGetDateTime(nullptr)); }},
      {"DosGetDateTimeUTC null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqDosGetDateTimeUTC(nullptr)); }},
      {"GetDateTime null", Want::Any, [] { return static_cast<LONG_PTR>(ZqGetDateTime(nullptr)); }},
      {"CreateTempFileAndName capacity 1", Want::Failed, [&] {
         const std::wstring prefix = testsupport::BuildPath(L"robust-");
         return static_cast<LONG_PTR>(ZqCreateTempFileAndName(prefix.c_str(), L".tmp", out.Buffer(1), 1));
       }},
      {"CreateTempFileAndName capacity 0", Want::Failed, [&] {
         return static_cast<LONG_PTR>(ZqCreateTempFileAndName(L"x", L".tmp", out.Buffer(0), 0));
       }},
      {"CreateTempFileAndName null buffer", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqCreateTempFileAndName(L"x", L".tmp", nullptr, 100)); }},
      {"CreateTempFileAndNameEx format reading strings", Want::Failed, [&] { return tempWith(L"%s%s%s%d"); }},
      {"CreateTempFileAndNameEx format reading two numbers", Want::Failed, [&] { return tempWith(L"%d-%x"); }},
      {"CreateTempFileAndNameEx format reading a double", Want::Failed, [&] { return tempWith(L"$.2f"); }},
      {"CreateTempFileAndNameEx format reading 64 bits", Want::Failed, [&] { return tempWith(L"%I64d"); }},
      {"CreateTempFileAndNameEx padded number and separators", Want::Ok, [&] { return tempWith(L"%!x%%%05d$,"); }},
      {"CreateTempFileAndNameEx long parts", Want::Failed, [&] {
         return static_cast<LONG_PTR>(
             ZqCreateTempFileAndNameEx(longPath.c_str(), longName.c_str(), L".tmp", nullptr, out.Buffer(260), 260));
       }},
      {"CreateDirectory null", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqCreateDirectory(nullptr, nullptr)); }},
      {"DeleteDirectory null", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqDeleteDirectory(nullptr, nullptr, TRUE)); }},
      {"DeleteDirectory empty path", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqDeleteDirectory(L"", nullptr, TRUE)); }},
      {"DeleteDirectory long", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqDeleteDirectory(longPath.c_str(), L"*", TRUE)); }},
      {"IsDirectoryWritable null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqIsDirectoryWritable(nullptr)); }},
      {"IsDirectoryEmpty null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqIsDirectoryEmpty(nullptr)); }},
      {"IsDirectoryEmpty long", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqIsDirectoryEmpty(longPath.c_str())); }},
      {"GetDiskFreeSpace null", Want::Any, [] { return static_cast<LONG_PTR>(ZqGetDiskFreeSpace(nullptr, 0)); }},
      {"GetDiskTotalSpace bad", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqGetDiskTotalSpace(L"Q:\\no\\such", 1)); }},
      {"FormatDiskFreeSpace null buffer", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqFormatDiskFreeSpace(L"C:\\", nullptr)); }},
      {"FormatDiskFreeSpace into its capacity", Want::Any, [&] {
         return static_cast<LONG_PTR>(ZqFormatDiskFreeSpace(longPath.c_str(), out.Buffer(ZQ_SIZE_TEXT_CAPACITY)));
       }},
      {"GetByteSizeText extremes", Want::Any, [&] {
         LONG_PTR n = 0;
         for (LONGLONG v : {LLONG_MIN, LLONG_MAX, -1LL, 1LL << 62})
           n += ZqGetByteSizeText(v, out.Buffer(ZQ_SIZE_TEXT_CAPACITY)) +
                ZqGetByteSizeText2(v, out.Buffer(ZQ_SIZE_TEXT_CAPACITY));
         return n;
       }},
      {"GetByteSizeText null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqGetByteSizeText(5, nullptr)); }},
      // Help
      {"CreateHelpFilePath length 0", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqHelp_CreateHelpFilePath(ZQHELP_HTML, nullptr, out.Buffer(0), 0)); }},
      {"CreateHelpFilePath length 1", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqHelp_CreateHelpFilePath(ZQHELP_CLASSIC, nullptr, out.Buffer(1), 1)); }},
      {"CreateHelpFilePath length 5", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqHelp_CreateHelpFilePath(ZQHELP_HTML, nullptr, out.Buffer(5), 5)); }},
      {"CreateHelpFilePath length -1", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqHelp_CreateHelpFilePath(ZQHELP_HTML, nullptr, out.Buffer(0), -1)); }},
      {"CreateHelpFilePath kind 7", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqHelp_CreateHelpFilePath(7, nullptr, out.Buffer(260), 260)); }},
      {"CreateHelpFilePath null", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqHelp_CreateHelpFilePath(ZQHELP_HTML, nullptr, nullptr, 260)); }},
      {"CreateSharedHelpFilePath length 1", Want::Any, [&] {
         return static_cast<LONG_PTR>(ZqHelp_CreateSharedHelpFilePath(ZQHELP_HTML, nullptr, out.Buffer(1), 1));
       }},
      {"CreateHelpFilePathEX length 2", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqHelp_CreateHelpFilePathEX(-1, nullptr, out.Buffer(2), 2)); }},
      {"CreateUnsharedHelpFilePath length 3", Want::Any, [&] {
         return static_cast<LONG_PTR>(ZqHelp_CreateUnsharedHelpFilePath(ZQHELP_HTML, nullptr, out.Buffer(3), 3));
       }},
      {"CreatePluginHelpFilePath length 0", Want::Zero, [&] {
         return static_cast<LONG_PTR>(ZqHelp_CreatePluginHelpFilePath(ZQHELP_HTML, nullptr, out.Buffer(0), 0, TRUE));
       }},
      {"CreatePluginHelpFilePath bogus module", Want::Any, [&] {
         return static_cast<LONG_PTR>(ZqHelp_CreatePluginHelpFilePath(
             ZQHELP_CLASSIC, reinterpret_cast<HMODULE>(0x4440), out.Buffer(260), 260, FALSE));
       }},
      {"SetHelpFilePath too long, get it short", Want::Any, [&] {
         ZqHelp_SetHelpFilePath(ZQHELP_HTML, longPath.c_str());
         ZqHelp_GetHelpFilePath(ZQHELP_HTML, out.Buffer(1), 1);
         ZqHelp_GetHelpFilePath(ZQHELP_HTML, out.Buffer(0), 0);
         ZqHelp_GetHelpFilePath(ZQHELP_HTML, out.Buffer(0), -3);
         ZqHelp_GetHelpFilePath(ZQHELP_HTML, nullptr, 100);
         ZqHelp_GetHelpFilePath(99, out.Buffer(260), 260);
         ZqHelp_SetHelpFilePath(99, L"x");
         ZqHelp_SetHelpFilePath(ZQHELP_HTML, nullptr);
         return static_cast<LONG_PTR>(0);
       }},
      {"ContextPopupHelp null table", Want::Zero, [] {
         return static_cast<LONG_PTR>(ZqHelp_ContextPopupHelp(ZQHELP_HTML, nullptr, 5, 5, nullptr, nullptr));
       }},
      {"ContextPopupHelp long path", Want::Zero, [&] {
         static const ZQHELPIDPAIR table[] = {{5, 77}, {0, 0}};
         return static_cast<LONG_PTR>(ZqHelp_ContextPopupHelp(ZQHELP_HTML, nullptr, 5, 5, table, longPath.c_str()));
       }},
      {"ContextHelp kind 5", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqHelp_ContextHelp(5, nullptr, 0, 0, nullptr)); }},
      {"HitTestToolbar nulls", Want::Zero, [] { return static_cast<LONG_PTR>(ZqHelp_HitTestToolbar(nullptr, nullptr)); }},
      {"HitTestToolbar destroyed window", Want::Zero, [] {
         HWND w = CreateWindowW(L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
         DestroyWindow(w);
         HELPINFO info{};
         info.cbSize = sizeof info;
         return static_cast<LONG_PTR>(ZqHelp_HitTestToolbar(w, &info));
       }},
  };
  RunCases(cases);
}

// ============================================================================
// Skins and markers
// ============================================================================
// A BMP file: 14-byte file header, 40-byte information header, rows; the
// bend lies about one of the sizes.
std::vector<BYTE> BmpFile(const std::function<void(BITMAPFILEHEADER&, BITMAPINFOHEADER&)>& bend, int width = 4,
                          int height = 4) {
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{sizeof ih, width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const size_t pixels = static_cast<size_t>(4 * (width > 0 ? width : 1)) * (height > 0 ? height : 1);
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = static_cast<DWORD>(fh.bfOffBits + pixels);
  bend(fh, ih);
  std::vector<BYTE> bytes(sizeof fh + sizeof ih + pixels, 0x77);
  std::memcpy(bytes.data(), &fh, sizeof fh);
  std::memcpy(bytes.data() + sizeof fh, &ih, sizeof ih);
  return bytes;
}

TEST(Skins, LyingBitmapFilesAndBadArguments) {
  struct FileLie {
    const char* name;
    std::vector<BYTE> bytes;
    bool mayLoad;
  };
  const std::vector<FileLie> files = {
      {"honest", BmpFile([](auto&, auto&) {}), true},
      {"rows past the end", BmpFile([](auto& f, auto&) { f.bfOffBits = 0x7FFFFFF0; }), false},
      {"rows inside the header", BmpFile([](auto& f, auto&) { f.bfOffBits = 2; }), false},
      {"height huge", BmpFile([](auto&, auto& i) { i.biHeight = 0x7FFFFFFF; }), false},
      {"width huge", BmpFile([](auto&, auto& i) { i.biWidth = 0x40000000; }), false},
      {"width 0", BmpFile([](auto&, auto& i) { i.biWidth = 0; }), false},
      {"top-down", BmpFile([](auto&, auto& i) { i.biHeight = -4; }), false},
      {"header size 0", BmpFile([](auto&, auto& i) { i.biSize = 0; }), false},
      {"header size huge", BmpFile([](auto&, auto& i) { i.biSize = 0x7FFFFFFF; }), false},
      {"header size 124 in a short file", BmpFile([](auto&, auto& i) { i.biSize = 124; }), true},
      {"bit count 0", BmpFile([](auto&, auto& i) { i.biBitCount = 0; }), true},
      {"bit count 8, colour count huge", BmpFile([](auto&, auto& i) {
         i.biBitCount = 8;
         i.biClrUsed = 0x10000000;
       }),
       false},
      {"bit fields with no room for masks", BmpFile([](auto&, auto& i) { i.biCompression = BI_BITFIELDS; }), true},
      {"exactly 54 bytes", std::vector<BYTE>(54, 0x42), false},
      {"55 bytes of BM", [] {
         std::vector<BYTE> b(55, 0);
         b[0] = 'B';
         b[1] = 'M';
         return b;
       }(),
       false},
      {"PNG signature then nothing", std::vector<BYTE>{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                                       0x7F, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 8, 6, 0, 0, 0, 1,
                                                       2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                                                       21, 22, 23, 24, 25, 26, 27},
       false},
      {"empty", {}, false},
  };
  const std::wstring path = testsupport::BuildPath(L"robustness-skin.bmp");
  for (const FileLie& f : files) {
    WriteAll(path, f.bytes);
    tZQSKINBMP record{};
    if (g_trace) fprintf(stderr, "file: %s (%lu)\n", f.name, GetTickCount());
    Begin();
    g_case = f.name;
    HRESULT hr = ZqSkin_Bmp_GetFromFile(&record, path.c_str());
    if (SUCCEEDED(hr)) {
      // Whatever was accepted must be cut into lists without faults.
      SIZE cell{2, 0};
      HIMAGELIST lists[3] = {};
      int previous[3] = {};
      ZqSkin_Bmp_GetImageLists(&record, &cell, lists, 3, 0x80FF, previous);
      for (HIMAGELIST l : lists)
        if (l) ImageList_Destroy(l);
      tZQSKINBMP copy{};
      if (SUCCEEDED(ZqSkin_Bmp_Copy(&copy, &record))) ZqSkin_Bmp_Free(&copy);
    }
    ZqSkin_Bmp_Free(&record);
    g_case = nullptr;
    if (!f.mayLoad) {
      EXPECT_TRUE(FAILED(hr)) << f.name << " hr 0x" << std::hex << hr;
    }
  }
  DeleteFileW(path.c_str());

  // An honest BMP cut short at every length: refused or loaded, never read
  // past what the file holds.
  const std::vector<BYTE> whole = BmpFile([](auto&, auto&) {}, 5, 3);
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    WriteAll(path, std::vector<BYTE>(whole.begin(), whole.begin() + cut));
    tZQSKINBMP record{};
    std::string name = "bitmap file cut at " + std::to_string(cut);
    Begin();
    g_case = name.c_str();
    HRESULT hr = ZqSkin_Bmp_GetFromFile(&record, path.c_str());
    if (SUCCEEDED(hr)) {
      SIZE cell{1, 0};
      HIMAGELIST lists[2] = {};
      ZqSkin_Bmp_GetImageLists(&record, &cell, lists, 2, 0x4080, nullptr);
      for (HIMAGELIST l : lists)
        if (l) ImageList_Destroy(l);
    }
    ZqSkin_Bmp_Free(&record);
    g_case = nullptr;
    EXPECT_TRUE(FAILED(hr)) << name << " hr 0x" << std::hex << hr;
  }
  DeleteFileW(path.c_str());

  // Image blocks whose headers lie, cut into lists.
  const std::vector<std::pair<const char*, std::function<void(BITMAPINFOHEADER&)>>> lyingStrips = {
      {"strip biSize 0", [](BITMAPINFOHEADER& h) { h.biSize = 0; }},
      {"strip biSize huge", [](BITMAPINFOHEADER& h) { h.biSize = 0x7FFFFFF0; }},
      {"strip width huge", [](BITMAPINFOHEADER& h) { h.biWidth = 0x7FFFFFFF; }},
      {"strip height huge", [](BITMAPINFOHEADER& h) { h.biHeight = 0x7FFFFFFF; }},
      {"strip top-down", [](BITMAPINFOHEADER& h) { h.biHeight = -2; }},
      {"strip bit count 7", [](BITMAPINFOHEADER& h) { h.biBitCount = 7; }},
      {"strip colour count huge", [](BITMAPINFOHEADER& h) { h.biClrUsed = 0x7FFFFFFF; }},
  };
  for (const auto& [name, bend] : lyingStrips)
    for (int type : {ZqPixel_Rgba32, ZqPixel_Pal8, ZqPixel_Rgb24}) {
    std::vector<BYTE> bytes = BlockBytes(type);
    Fenced block(bytes.size());
    std::memcpy(block.data(), bytes.data(), bytes.size());
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
    bend(*header);
    const BITMAPINFOHEADER bent = *header;
    Begin();
    g_case = name;
    SIZE cell{2, 0};
    HIMAGELIST lists[3] = {};
    int n = ZqSkin_GetImageLists(header, &cell, lists, 3, 0x80FF, nullptr);
    tZQSKINBMP record{header, nullptr, ZQSKIN_RESOURCE, nullptr}, copy{};
    const COLORREF colours[2] = {RGB(255, 0, 0), RGB(0, 0, 255)};
    HIMAGELIST icons[2] = {};
    n += ZqSkin_GetTrackIconImageLists(&record, &cell, colours, 2, 2, icons, 0x80);
    HRESULT copied = ZqSkin_Bmp_Copy(&copy, &record);
    ZqSkin_Bmp_Free(&copy);
    g_case = nullptr;
    for (HIMAGELIST l : lists)
      if (l) ImageList_Destroy(l);
    for (HIMAGELIST l : icons)
      if (l) ImageList_Destroy(l);
    (void)copied;  // a record of resource memory is copied by reference
    EXPECT_EQ(n, 0) << name << " (type " << type << "): images cut from a lying header";
    EXPECT_EQ(std::memcmp(header, &bent, sizeof bent), 0) << name;
    EXPECT_TRUE(block.FenceIntact()) << name;
  }

  const std::wstring nowhere = L"Z:\\no\\such\\file.bmp";
  const CSkinID id{ZQSKINID_COLORIZE, L"NoSuchKey", 12345};
  BITMAPINFOHEADER* strip = nullptr;
  ASSERT_EQ(ZqDibAlloc(&strip, ZqPixel_Rgba32, 8, 2, nullptr, 0, ZQDIBALLOC_ZERO), S_OK);
  const std::vector<Case> cases = {
      {"Bmp_GetFromFile null record", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqSkin_Bmp_GetFromFile(nullptr, nowhere.c_str())); }},
      {"Bmp_GetFromFile null path", Want::Failed, [] {
         tZQSKINBMP r{};
         return static_cast<LONG_PTR>(ZqSkin_Bmp_GetFromFile(&r, nullptr));
       }},
      {"Bmp_GetFromFile missing", Want::Failed, [&] {
         tZQSKINBMP r{};
         return static_cast<LONG_PTR>(ZqSkin_Bmp_GetFromFile(&r, nowhere.c_str()));
       }},
      {"Bmp_GetFromResource nulls", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqSkin_Bmp_GetFromResource(nullptr, nullptr, nullptr)); }},
      {"Bmp_GetFromResource missing", Want::Failed, [] {
         tZQSKINBMP r{};
         return static_cast<LONG_PTR>(ZqSkin_Bmp_GetFromResource(&r, MAKEINTRESOURCEW(54321), nullptr));
       }},
      {"Bmp_Load nulls", Want::Failed, [] { return static_cast<LONG_PTR>(ZqSkin_Bmp_Load(nullptr, nullptr, nullptr)); }},
      {"Bmp_Load missing", Want::Failed, [&] {
         tZQSKINBMP r{};
         HRESULT hr = ZqSkin_Bmp_Load(&r, &id, nullptr);
         ZqSkin_Bmp_Free(&r);
         return static_cast<LONG_PTR>(hr);
       }},
      {"Bmp_Copy nulls", Want::Failed, [] { return static_cast<LONG_PTR>(ZqSkin_Bmp_Copy(nullptr, nullptr)); }},
      {"Bmp_Copy of an empty record", Want::Any, [] {
         tZQSKINBMP a{}, b{};
         HRESULT hr = ZqSkin_Bmp_Copy(&b, &a);
         ZqSkin_Bmp_Free(&b);
         return static_cast<LONG_PTR>(hr);
       }},
      {"Bmp_Free null and twice", Want::Any, [] {
         tZQSKINBMP r{};
         return Void([&] {
           ZqSkin_Bmp_Free(nullptr);
           ZqSkin_Bmp_Free(&r);
           ZqSkin_Bmp_Free(&r);
         });
       }},
      {"SkinContext_Init null", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqSkinContext_Init(nullptr, nullptr, nullptr, 0)); }},
      {"SkinContext_Term null and twice", Want::Any, [] {
         tZQSKINCONTEXT c{};
         return Void([&] {
           ZqSkinContext_Term(nullptr);
           ZqSkinContext_Term(&c);
           ZqSkinContext_Term(&c);
         });
       }},
      {"GetImageLists null bitmap", Want::Zero, [] {
         SIZE cell{4, 4};
         HIMAGELIST lists[2] = {};
         return static_cast<LONG_PTR>(ZqSkin_GetImageLists(static_cast<const BITMAPINFOHEADER*>(nullptr), &cell, lists, 2, 0, nullptr));
       }},
      {"GetImageLists null cell", Want::Zero, [&] {
         HIMAGELIST lists[2] = {};
         return static_cast<LONG_PTR>(ZqSkin_GetImageLists(strip, nullptr, lists, 2, 0, nullptr));
       }},
      {"GetImageLists cell width -3", Want::Zero, [&] {
         SIZE cell{-3, 0};
         HIMAGELIST lists[2] = {};
         return static_cast<LONG_PTR>(ZqSkin_GetImageLists(strip, &cell, lists, 2, 0, nullptr));
       }},
      {"GetImageLists cell wider than the strip", Want::Any, [&] {
         SIZE cell{1000, 0};
         HIMAGELIST lists[2] = {};
         LONG_PTR n = ZqSkin_GetImageLists(strip, &cell, lists, 2, 0, nullptr);
         for (HIMAGELIST l : lists)
           if (l) ImageList_Destroy(l);
         return n;
       }},
      {"GetImageLists null lists", Want::Zero, [&] {
         SIZE cell{4, 0};
         return static_cast<LONG_PTR>(ZqSkin_GetImageLists(strip, &cell, nullptr, 3, 0, nullptr));
       }},
      {"GetImageLists count 0 and negative", Want::Zero, [&] {
         SIZE cell{4, 0};
         HIMAGELIST lists[1] = {};
         return static_cast<LONG_PTR>(ZqSkin_GetImageLists(strip, &cell, lists, 0, 0, nullptr) +
                                      ZqSkin_GetImageLists(strip, &cell, lists, -4, 0, nullptr));
       }},
      {"GetTrackIconImageLists no colours", Want::Any, [&] {
         tZQSKINBMP r{strip, nullptr, ZQSKIN_RESOURCE, nullptr};
         SIZE cell{4, 0};
         HIMAGELIST lists[2] = {};
         LONG_PTR n = ZqSkin_GetTrackIconImageLists(&r, &cell, nullptr, 3, 2, lists, 0);
         n += ZqSkin_GetTrackIconImageLists(&r, &cell, nullptr, 0, 2, lists, 0);
         static const COLORREF one = RGB(1, 2, 3);
         n += ZqSkin_GetTrackIconImageLists(&r, &cell, &one, -1, 2, lists, 0);
         for (HIMAGELIST l : lists)
           if (l) ImageList_Destroy(l);
         return n;
       }},
      {"RemoveImageListsItems nulls", Want::Any, [] {
         HIMAGELIST lists[3] = {};
         return Void([&] {
           ZqSkin_RemoveImageListsItems(nullptr, 5, 0, -1);
           ZqSkin_RemoveImageListsItems(lists, 3, 0, -1);
           ZqSkin_RemoveImageListsItems(lists, -3, INT_MAX, INT_MAX);
         });
       }},
      {"RemoveImageListsItems past the end", Want::Zero, [] {
         HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR32, 2, 2);
         HBITMAP b = CreateBitmap(8, 4, 1, 32, nullptr);
         ImageList_Add(list, b, nullptr);
         DeleteObject(b);
         ZqSkin_RemoveImageListsItems(&list, 1, 1, INT_MAX);
         ZqSkin_RemoveImageListsItems(&list, 1, INT_MAX - 1, 5);
         ZqSkin_RemoveImageListsItems(&list, 1, -5, 3);
         LONG_PTR n = ImageList_GetImageCount(list);
         ImageList_Destroy(list);
         return n;
       }},
      // Markers
      {"Marker null dc", Want::Failed, [] {
         RECT r{0, 0, 10, 10};
         return static_cast<LONG_PTR>(ZqMarker_Create(nullptr, &r, 0, 0, 0));
       }},
      {"Marker null rect", Want::Failed, [] {
         HDC dc = CreateCompatibleDC(nullptr);
         HRESULT hr = ZqMarker_Create(dc, nullptr, 0, 0, 0);
         DeleteDC(dc);
         return static_cast<LONG_PTR>(hr);
       }},
      {"Marker odd shapes, rectangles and notches", Want::Any, [] {
         HDC dc = CreateCompatibleDC(nullptr);
         HBITMAP b = CreateBitmap(16, 16, 1, 32, nullptr);
         HGDIOBJ old = SelectObject(dc, b);
         const RECT rects[] = {{10, 10, 0, 0}, {0, 0, 0, 0}, {0, 0, 1, 1}, {-100000, -100000, 100000, 100000},
                               {LONG_MIN / 2, 0, LONG_MAX / 2, 3}};
         for (const RECT& r : rects)
           for (int shape : {-1, 0, 3, 4, 7, 99})
             for (int notch : {INT_MIN, -1, 0, 1, 1000000, INT_MAX}) ZqMarker_Create(dc, &r, shape, 0xFFFFFFFF, notch);
         SelectObject(dc, old);
         DeleteObject(b);
         DeleteDC(dc);
         return static_cast<LONG_PTR>(0);
       }},
      {"CreateBitmapMask null bitmap", Want::Zero,
       [] { return Ptr(ZqCreateBitmapMask(nullptr, nullptr, RGB(255, 0, 255))); }},
      {"CreateBitmapMask deleted bitmap", Want::Zero, [] {
         HBITMAP b = CreateBitmap(4, 4, 1, 32, nullptr);
         DeleteObject(b);
         return Ptr(ZqCreateBitmapMask(nullptr, b, 0));
       }},
      {"BitmapColorTranslate null bitmap", Want::Any,
       [] { return static_cast<LONG_PTR>(ZqBitmapColorTranslate(nullptr, nullptr, 0)); }},
      {"BitmapColorTranslate lying BITMAP", Want::Any, [] {
         HDC dc = CreateCompatibleDC(nullptr);
         BITMAP lie{0, 0x7FFFFFFF, 0x7FFFFFFF, 0, 1, 32, nullptr};
         LONG_PTR r = ZqBitmapColorTranslate(dc, &lie, RGB(1, 2, 3));
         DeleteDC(dc);
         return r;
       }},
      {"ExtractResourceToFile nulls", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqExtractResourceToFile(nullptr, nullptr, nullptr, nullptr)); }},
      {"ExtractResourceToFile missing", Want::Failed, [&] {
         return static_cast<LONG_PTR>(
             ZqExtractResourceToFile(nullptr, MAKEINTRESOURCEW(4321), RT_RCDATA, nowhere.c_str()));
       }},
  };
  RunCases(cases);
  ZqDibFree(strip, 0);
}

// ============================================================================
// Windows: monitors, placement, dialog helpers, dialog templates
// ============================================================================
HWND DestroyedWindow() {
  HWND w = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(w);
  return w;
}

TEST(Windows, NullAndDestroyedWindows) {
  const HWND gone = DestroyedWindow();
  const RECT extreme{LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX}, inverted{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  const std::vector<Case> cases = {
      {"EnumDisplayMonitors null callback", Want::Any,
       [] { return static_cast<LONG_PTR>(ZqMonitor_EnumDisplayMonitors(nullptr, nullptr, nullptr, 0)); }},
      {"MonitorFromRect null", Want::Any,
       [] { return Ptr(ZqMonitor_MonitorFromRect(nullptr, MONITOR_DEFAULTTONEAREST)); }},
      {"MonitorFromRect extreme", Want::Any,
       [&] { return Ptr(ZqMonitor_MonitorFromRect(&extreme, MONITOR_DEFAULTTONULL)); }},
      {"MonitorFromWindow destroyed", Want::Any,
       [&] { return Ptr(ZqMonitor_MonitorFromWindow(gone, MONITOR_DEFAULTTONULL)); }},
      {"GetMonitorInfo null", Want::Zero, [] {
         return static_cast<LONG_PTR>(ZqMonitor_GetMonitorInfo(ZqMonitor_MonitorFromPoint(0, 0, 1), nullptr));
       }},
      {"GetMonitorInfo size 0", Want::Zero, [] {
         MONITORINFO info{};
         return static_cast<LONG_PTR>(ZqMonitor_GetMonitorInfo(ZqMonitor_MonitorFromPoint(0, 0, 1), &info));
       }},
      {"GetMonitorInfo size 1000", Want::Zero, [] {
         MONITORINFOEXW info{};
         info.cbSize = 1000;
         return static_cast<LONG_PTR>(ZqMonitor_GetMonitorInfo(ZqMonitor_MonitorFromPoint(0, 0, 1), &info));
       }},
      {"GetMonitorInfo bogus monitor", Want::Zero, [] {
         MONITORINFO info{};
         info.cbSize = sizeof info;
         return static_cast<LONG_PTR>(ZqMonitor_GetMonitorInfo(reinterpret_cast<HMONITOR>(0x5555), &info));
       }},
      {"GetMonitorRect null rect", Want::Zero, [] { return Ptr(ZqMonitor_GetMonitorRect(nullptr, nullptr, TRUE)); }},
      {"GetMonitorRect destroyed", Want::Any, [&] {
         RECT r;
         return Ptr(ZqMonitor_GetMonitorRect(gone, &r, TRUE));
       }},
      {"GetMonitorRectFromPt extreme", Want::Any, [] {
         RECT r;
         return Ptr(ZqMonitor_GetMonitorRectFromPt(INT_MIN, INT_MAX, &r, FALSE));
       }},
      {"ClipRectToMonitor null", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqMonitor_ClipRectToMonitor(nullptr, nullptr, TRUE)); }},
      {"ClipRectToMonitor extreme", Want::Any, [&] {
         RECT r = extreme;
         return static_cast<LONG_PTR>(ZqMonitor_ClipRectToMonitor(nullptr, &r, TRUE));
       }},
      {"ClipRectToMonitor inverted", Want::Any, [&] {
         RECT r = inverted;
         return static_cast<LONG_PTR>(ZqMonitor_ClipRectToMonitor(gone, &r, FALSE));
       }},
      {"CenterRectToMonitor extreme", Want::Any, [&] {
         RECT r = extreme;
         return static_cast<LONG_PTR>(ZqMonitor_CenterRectToMonitor(nullptr, &r, TRUE));
       }},
      {"CenterRectToMonitor null", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqMonitor_CenterRectToMonitor(nullptr, nullptr, TRUE)); }},
      {"CenterWindowToMonitor destroyed", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqMonitor_CenterWindowToMonitor(gone, gone, TRUE)); }},
      {"ClipWindowToMonitor null", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqMonitor_ClipWindowToMonitor(nullptr, nullptr, TRUE)); }},
      {"CenterWindow destroyed", Want::Zero, [&] { return static_cast<LONG_PTR>(ZqMonitor_CenterWindow(gone)); }},
      {"IsRectOnScreen null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqMonitor_IsRectOnScreen(nullptr)); }},
      {"IsRectOnScreen inverted", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqMonitor_IsRectOnScreen(&inverted)); }},
      {"IsWindowOnScreen destroyed", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqMonitor_IsWindowOnScreen(gone)); }},
      {"IsPointOnScreen extreme", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqMonitor_IsPointOnScreen(POINT{INT_MIN, INT_MIN})); }},
      {"MakeSureWindowIsVisible destroyed", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqMonitor_MakeSureWindowIsVisible(gone)); }},
      {"ForceRectOntoDesktop null", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqForceRectOntoDesktop(nullptr, 0, 0)); }},
      {"ForceRectOntoDesktop extreme", Want::Any, [&] {
         RECT r = extreme;
         return static_cast<LONG_PTR>(ZqForceRectOntoDesktop(&r, INT_MIN, INT_MAX));
       }},
      {"ForceRectOntoDesktop far", Want::Any, [] {
         RECT r{INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX};
         return static_cast<LONG_PTR>(ZqForceRectOntoDesktop(&r, INT_MAX, INT_MAX));
       }},
      {"ForcePopupRectOntoDesktop null", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqForcePopupRectOntoDesktop(nullptr, nullptr, 0, 0)); }},
      {"ForcePopupRectOntoDesktop null anchor", Want::Zero, [] {
         RECT r{0, 0, 10, 10};
         return static_cast<LONG_PTR>(ZqForcePopupRectOntoDesktop(&r, nullptr, 0, 0));
       }},
      {"ForcePopupRectOntoDesktop extreme", Want::Any, [&] {
         RECT r = extreme;
         return static_cast<LONG_PTR>(ZqForcePopupRectOntoDesktop(&r, &inverted, INT_MIN, INT_MIN));
       }},
      {"IsWindowCaptionVisible null", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqIsWindowCaptionVisible(nullptr)); }},
      {"IsWindowCaptionVisible extreme", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqIsWindowCaptionVisible(&extreme)); }},
      {"LoadWindowPlacement null", Want::Failed,
       [] { return static_cast<LONG_PTR>(ZqLoadWindowPlacement(nullptr, 1, 2, nullptr)); }},
      {"LoadWindowPlacement null metric", Want::Any, [] {
         WINDOWPLACEMENT p{};
         return static_cast<LONG_PTR>(ZqLoadWindowPlacement(nullptr, -5, 99, &p));
       }},
      {"FixWindowPlacement null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqFixWindowPlacement(nullptr)); }},
      {"FixWindowPlacement extreme", Want::Any, [&] {
         WINDOWPLACEMENT p{sizeof p, 0, SW_SHOWMINIMIZED, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, extreme};
         return static_cast<LONG_PTR>(ZqFixWindowPlacement(&p));
       }},
      {"WindowPlacement destroyed, save", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqWindowPlacement(gone, nullptr, 7, ZQ_PLACEMENT_SAVE)); }},
      {"WindowPlacement destroyed, restore", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqWindowPlacement(gone, nullptr, 7, ZQ_PLACEMENT_RESTORE_DEFAULT)); }},
      {"WindowPlacement mode 9", Want::Failed,
       [&] { return static_cast<LONG_PTR>(ZqWindowPlacement(gone, nullptr, 7, 9)); }},
      {"WndCenter destroyed", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqWndCenter(gone, gone, POINT{INT_MAX, INT_MIN}, 0xFFFF)); }},
      {"WndCenter null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqWndCenter(nullptr, nullptr, POINT{}, 0)); }},
      // Dialog conveniences
      {"DlgDeltaControlMove destroyed", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqDlgDeltaControlMove(gone, 5, INT_MAX, INT_MIN)); }},
      {"DlgDeltaControlSize null", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqDlgDeltaControlSize(nullptr, 5, INT_MIN, INT_MIN)); }},
      {"GetRealClientRect null rect", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqGetRealClientRect(GetDesktopWindow(), nullptr)); }},
      {"GetRealClientRect destroyed", Want::Zero, [&] {
         RECT r;
         return static_cast<LONG_PTR>(ZqGetRealClientRect(gone, &r));
       }},
      {"DlgGetControlRect destroyed", Want::Zero, [&] {
         RECT r;
         return static_cast<LONG_PTR>(ZqDlgGetControlRect(gone, gone, 4, &r));
       }},
      {"DlgGetControlRect null rect", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqDlgGetControlRect(gone, nullptr, 4, nullptr)); }},
      {"DlgEnableControls null ids", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqDlgEnableControls(GetDesktopWindow(), nullptr, 5, TRUE)); }},
      {"DlgShowControls negative count", Want::Any, [&] {
         static const int ids[1] = {1};
         return static_cast<LONG_PTR>(ZqDlgShowControls(gone, ids, -5, TRUE));
       }},
      {"DlgWhichRadioButton reversed range", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqDlgWhichRadioButton(gone, INT_MAX, INT_MIN, 42)); }},
      {"DlgWhichRadioButton huge range", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqDlgWhichRadioButton(gone, 0, 0x7FFFFFFF, 42)); }},
      {"DlgWhichRadioButton up to INT_MAX on a live dialog", Want::NotZero, [] {
         HWND parent = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
         HWND radio = CreateWindowW(L"BUTTON", L"r", WS_CHILD | BS_RADIOBUTTON, 0, 0, 20, 20, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(5000)), nullptr, nullptr);
         SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
         const int id = ZqDlgWhichRadioButton(parent, INT_MIN, INT_MAX, -1);
         DestroyWindow(parent);
         return static_cast<LONG_PTR>(id == 5000);
       }},
      {"IsMouseInControl destroyed", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqIsMouseInControl(gone, 1, 0, 0, TRUE)); }},
      {"SetHorizHookControlPos destroyed", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqSetHorizHookControlPos(gone, gone, 1, 2)); }},
      {"LineupHookWithMainDialog destroyed", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqLineupHookWithMainDialog(gone, nullptr)); }},
      {"ActivatePrevAppInstance null", Want::Zero, [] { return Ptr(ZqActivatePrevAppInstance(nullptr)); }},
      {"CopyHandle null", Want::Zero, [] { return Ptr(ZqCopyHandle(nullptr)); }},
      {"CopyHandle freed", Want::Zero, [] {
         HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, 16);
         GlobalFree(g);
         return Ptr(ZqCopyHandle(g));
       }},
      {"RegisterClass null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqRegisterClass(nullptr)); }},
      {"RegisterClass no name", Want::Zero, [] {
         WNDCLASSW wc{};
         wc.lpfnWndProc = DefWindowProcW;
         return static_cast<LONG_PTR>(ZqRegisterClass(&wc));
       }},
      {"UnregisterClass null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqUnregisterClass(nullptr, nullptr)); }},
      {"CreateToolbarEmpty destroyed parent", Want::Zero,
       [&] { return Ptr(ZqCreateToolbarEmpty(nullptr, gone, WS_CHILD, 1)); }},
      {"GetToolbarSize null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqGetToolbarSize(nullptr, nullptr)); }},
      {"GetToolbarSize destroyed", Want::Zero, [&] {
         SIZE s;
         return static_cast<LONG_PTR>(ZqGetToolbarSize(gone, &s));
       }},
  };
  RunCases(cases);
}

// Dialog templates: descriptions with missing parts and counts past their
// items, and templates whose bytes lie about what follows.
std::vector<BYTE> ClassicTemplate(WORD items) {
  std::vector<BYTE> t;
  auto dword = [&](DWORD v) { for (int i = 0; i < 4; ++i) t.push_back(static_cast<BYTE>(v >> (8 * i))); };
  auto word = [&](WORD v) { t.push_back(static_cast<BYTE>(v)); t.push_back(static_cast<BYTE>(v >> 8)); };
  auto text = [&](const wchar_t* s) { do word(*s); while (*s++); };
  auto align = [&] { while (t.size() % 4) t.push_back(0); };
  dword(WS_POPUP | DS_SETFONT);
  dword(0);
  word(items);
  word(0); word(0); word(100); word(50);
  word(0);  // menu
  word(0);  // class
  text(L"Title");
  word(8);
  text(L"MS Shell Dlg");
  for (WORD i = 0; i < items; ++i) {
    align();
    dword(WS_CHILD | WS_VISIBLE);
    dword(0);
    word(1); word(1); word(20); word(10);
    word(100 + i);
    word(0xFFFF); word(0x0080);
    text(L"Button");
    word(0);
  }
  return t;
}

TEST(Windows, DialogTemplatesThatLie) {
  const std::vector<BYTE> honest = ClassicTemplate(2);
  struct TemplateLie {
    const char* name;
    std::vector<BYTE> bytes;
    DWORD claimed;  // the size passed; SIZE_MAX-like values lie
    bool mayMap;
  };
  std::vector<TemplateLie> lies = {
      {"honest", honest, static_cast<DWORD>(honest.size()), true},
      {"size 0", honest, 0, false},
      {"size 1", honest, 1, false},
      {"item count 1000 in two items' bytes", [&] {
         std::vector<BYTE> t = honest;
         t[8] = 0xE8;
         t[9] = 0x03;
         return t;
       }(),
       static_cast<DWORD>(honest.size()), false},
      {"item count 0xFFFF", [&] {
         std::vector<BYTE> t = honest;
         t[8] = t[9] = 0xFF;
         return t;
       }(),
       static_cast<DWORD>(honest.size()), false},
      {"title without a terminator", [] {
         std::vector<BYTE> t = ClassicTemplate(0);
         t.resize(22);
         for (size_t i = 18; i < t.size(); ++i) t[i] = 'A';
         return t;
       }(),
       22, false},
      {"extended signature, short", std::vector<BYTE>{1, 0, 0xFF, 0xFF, 0, 0}, 6, false},
      {"extended signature, item count huge", [] {
         std::vector<BYTE> t(26 + 6, 0);
         t[0] = 1;
         t[2] = t[3] = 0xFF;
         t[16] = t[17] = 0xFF;  // cDlgItems
         return t;
       }(),
       32, false},
      {"extended, creation data past the end", [] {
         // Header (26 bytes), empty menu, class and title, then one item
         // whose creation data claims 0xFFF0 bytes.
         std::vector<BYTE> t = {1, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                0, 0, 0, 0, 0, 0,
                                0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                0xFF, 0xFF, 0x80, 0, 0, 0, 0xF0, 0xFF};
         return t;
       }(),
       0, false},
  };
  lies.back().claimed = static_cast<DWORD>(lies.back().bytes.size());
  for (const TemplateLie& lie : lies) {
    Fenced bytes(lie.bytes.size());
    if (!lie.bytes.empty()) std::memcpy(bytes.data(), lie.bytes.data(), lie.bytes.size());
    ZQDLGTEMPLATEEX* description = reinterpret_cast<ZQDLGTEMPLATEEX*>(1);
    Begin();
    g_case = lie.name;
    DWORD size = ZqMapDialogTemplate(bytes.data(), lie.claimed, &description);
    g_case = nullptr;
    if (!lie.mayMap) {
      EXPECT_EQ(size, 0u) << lie.name;
      EXPECT_EQ(description, nullptr) << lie.name;
    } else {
      EXPECT_NE(size, 0u) << lie.name;
    }
    if (size && description) {
      HGLOBAL g = GlobalHandle(description);
      GlobalUnlock(g);
      GlobalFree(g);
    }
  }

  // The honest template cut short at every length, and an extended one
  // built here and mapped back: never mapped from bytes it was not given.
  DWORD exSize = 0;
  const ZQDLGTEMPLATEEX built{7, 0, WS_POPUP | DS_SETFONT, 1, 0, 0, 100, 50, L"menu", L"class", L"title",
                              9, 700, 1, 0, L"Tahoma"};
  static const BYTE creation[6] = {1, 2, 3, 4, 5, 6};
  const ZQDLGITEMEX builtItem{3, 0, WS_CHILD, 1, 2, 3, 4, 77, L"EDIT", L"text", 6, creation};
  LPDLGTEMPLATEW ex = ZqCreateDialogTemplateEx(nullptr, &built, &builtItem, &exSize);
  ASSERT_NE(ex, nullptr);
  const std::vector<BYTE> extended(reinterpret_cast<BYTE*>(ex), reinterpret_cast<BYTE*>(ex) + exSize);
  GlobalFree(ex);
  for (const std::vector<BYTE>* whole : {&honest, &extended})
    for (size_t cut = 0; cut < whole->size(); ++cut) {
      Fenced bytes(cut);
      if (cut) std::memcpy(bytes.data(), whole->data(), cut);
      ZQDLGTEMPLATEEX* description = nullptr;
      std::string name = (whole == &honest ? "classic cut at " : "extended cut at ") + std::to_string(cut);
      Begin();
      g_case = name.c_str();
      DWORD size = ZqMapDialogTemplate(bytes.data(), static_cast<DWORD>(cut), &description);
      g_case = nullptr;
      // Only the trailing padding of the last item may go.
      if (cut + 2 < whole->size()) {
        EXPECT_EQ(size, 0u) << name;
      }
      if (size && description) {
        HGLOBAL g = GlobalHandle(description);
        GlobalUnlock(g);
        GlobalFree(g);
      }
    }

  const ZQDLGTEMPLATE header{WS_POPUP | DS_SETFONT, 0, 3, 0, 0, 100, 50, 0, 0, L"t", 8, L"Arial"};
  const ZQDLGTEMPLATEEX headerEx{0, 0, WS_POPUP, 2, 0, 0, 100, 50, nullptr, nullptr, L"t", 8, 400, 0, 0, nullptr};
  const std::wstring longTitle(70000, L'T');
  const std::vector<Case> cases = {
      {"CreateDialogTemplate null header", Want::Zero,
       [] { return Ptr(ZqCreateDialogTemplate(nullptr, nullptr, nullptr)); }},
      {"CreateDialogTemplate items missing", Want::Zero,
       [&] { return Ptr(ZqCreateDialogTemplate(nullptr, &header, nullptr)); }},
      {"CreateDialogTemplate string id of no handle", Want::Any, [&] {
         ZQDLGTEMPLATE h = header;
         h.itemCount = 0;
         h.title = MAKEINTRESOURCEW(1234);
         h.typeFace = MAKEINTRESOURCEW(99);
         LPDLGTEMPLATEW t = ZqCreateDialogTemplate(nullptr, &h, nullptr);
         if (t) GlobalFree(t);
         return Ptr(t);
       }},
      {"CreateDialogTemplate item count past the limit", Want::Any, [&] {
         ZQDLGTEMPLATE h = header;
         h.itemCount = 0xFFFF;
         static std::vector<ZQDLGITEM> items(0xFFFF, ZQDLGITEM{WS_CHILD, 0, 0, 0, 1, 1, 1,
                                                               MAKEINTRESOURCEW(0x80), nullptr});
         LPDLGTEMPLATEW t = ZqCreateDialogTemplate(nullptr, &h, items.data());
         if (t) GlobalFree(t);
         return Ptr(t);
       }},
      {"CreateDialogTemplate very long title", Want::Any, [&] {
         ZQDLGTEMPLATE h = header;
         h.itemCount = 0;
         h.title = longTitle.c_str();
         LPDLGTEMPLATEW t = ZqCreateDialogTemplate(nullptr, &h, nullptr);
         if (t) GlobalFree(t);
         return Ptr(t);
       }},
      {"CreateDialogTemplateEx items missing", Want::Zero, [&] {
         DWORD size = 0;
         return Ptr(ZqCreateDialogTemplateEx(nullptr, &headerEx, nullptr, &size));
       }},
      {"CreateDialogTemplateEx null header", Want::Zero,
       [] { return Ptr(ZqCreateDialogTemplateEx(nullptr, nullptr, nullptr, nullptr)); }},
      {"CreateDialogTemplateEx creation data missing", Want::Any, [&] {
         ZQDLGTEMPLATEEX h = headerEx;
         h.itemCount = 1;
         const ZQDLGITEMEX item{0, 0, WS_CHILD, 0, 0, 1, 1, 5, L"BUTTON", L"x", 0xFFFF, nullptr};
         LPDLGTEMPLATEW t = ZqCreateDialogTemplateEx(nullptr, &h, &item, nullptr);
         if (t) GlobalFree(t);
         return Ptr(t);
       }},
      {"DialogTemplateFromRCID null", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqDialogTemplateFromRCID(nullptr, nullptr, nullptr)); }},
      {"DialogTemplateFromRCID missing", Want::Zero, [] {
         const void* t = reinterpret_cast<const void*>(1);
         DWORD size = ZqDialogTemplateFromRCID(nullptr, MAKEINTRESOURCEW(31999), &t);
         return static_cast<LONG_PTR>(size | (t ? 1 : 0));
       }},
      {"MapDialogTemplate nulls", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqMapDialogTemplate(nullptr, 100, nullptr)); }},
      {"MapDialogTemplate null out", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqMapDialogTemplate(honest.data(), static_cast<DWORD>(honest.size()), nullptr)); }},
  };
  RunCases(cases);
}

// ============================================================================
// Controls
// ============================================================================
void CALLBACK FaderNoted(ZQFADERINST*, int, LPARAM, int, LONG*, DWORD) {}
void CALLBACK TrackbarNoted(ZQTRACKBARINST*, int, LPARAM, int, LONG) {}
void CALLBACK SpinnerNoted(ZQSPINNERINST*, int, LPARAM, int, LONG) {}

TEST(Controls, IndicesOutOfRangeAndMissingRecords) {
  const HWND gone = DestroyedWindow();
  TextOut out;
  const std::vector<Case> cases = {
      {"GetUIColorAbsolute INT_MIN", Want::Any, [] { return static_cast<LONG_PTR>(ZqGetUIColorAbsolute(INT_MIN)); }},
      {"GetUIColor 162 and -162", Want::Any,
       [] { return static_cast<LONG_PTR>(ZqGetUIColor(162) ^ ZqGetUIColor(-162) ^ ZqGetUIColor(-99)); }},
      {"SetUIColor out of range", Want::Zero, [] {
         return static_cast<LONG_PTR>(ZqSetUIColor(99, 0) | ZqSetUIColor(162, 0) | ZqSetUIColor(-100, 0) |
                                      ZqSetUIColor(INT_MIN, 0));
       }},
      {"SetUIColor encodings of nonsense", Want::Any, [] {
         COLORREF keep = ZqGetUIColorAbsolute(130);
         ZqSetUIColor(130, ZQ_UICOLOR_SYS(0xFFFFFF));
         COLORREF a = ZqGetUIColor(130);
         ZqSetUIColor(130, ZQ_UICOLOR_SYSADJ(5000));
         COLORREF b = ZqGetUIColor(130);
         ZqSetUIColor(130, 0xFE000000u | 130);
         COLORREF c = ZqGetUIColor(130);
         ZqSetUIColor(130, ZQ_UICOLOR_SYS(0) - 0x01000000u + 130);  // an entry naming another entry
         COLORREF d = ZqGetUIColor(130);
         ZqSetUIColor(130, keep);
         return static_cast<LONG_PTR>(a ^ b ^ c ^ d);
       }},
      {"GetUIBrush out of range", Want::NotZero, [] {
         return Ptr(ZqGetUIBrush(-1)) & Ptr(ZqGetUIBrush(25)) & Ptr(ZqGetUIBrush(161)) & Ptr(ZqGetUIBrush(10017)) &
                Ptr(ZqGetUIBrush(INT_MAX)) & Ptr(ZqGetUIBrush(INT_MIN));
       }},
      {"GetUIPenWithStyle out of range", Want::NotZero, [] {
         return Ptr(ZqGetUIPenWithStyle(-1, 0)) & Ptr(ZqGetUIPenWithStyle(161, 1)) &
                Ptr(ZqGetUIPenWithStyle(5, 99)) & Ptr(ZqGetUIPenWithStyle(120, -1)) &
                Ptr(ZqGetUIPenWithStyle(INT_MIN, INT_MIN));
       }},
      {"GetUIFont odd ids", Want::Any, [] {
         LONG_PTR n = 0;
         for (int id : {INT_MIN, -1, 0, 9, 15, 18, 99, 101, 147, 1000, INT_MAX}) {
           HFONT f = ZqGetUIFont(id);
           n += f != nullptr;
         }
         return n;
       }},
      {"GetUIFontSize odd ids", Want::Any, [] {
         LONG_PTR n = 0;
         for (int id : {INT_MIN, -1, 0, 18, 99, 147, INT_MAX}) n += ZqGetUIFontSize(id) != nullptr;
         return n;
       }},
      {"GetFontSize null size", Want::Zero, [] { return static_cast<LONG_PTR>(ZqGetFontSize(nullptr, nullptr)); }},
      {"GetFontSize deleted font", Want::Any, [] {
         HFONT f = CreateFontW(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial");
         DeleteObject(f);
         SIZE s;
         return static_cast<LONG_PTR>(ZqGetFontSize(f, &s));
       }},
      {"GetTextExtent null size", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqGetTextExtent(nullptr, L"abc", 3, nullptr)); }},
      {"GetTextExtent null text", Want::Any, [] {
         SIZE s;
         return static_cast<LONG_PTR>(ZqGetTextExtent(nullptr, nullptr, 50, &s));
       }},
      {"GetTextExtent negative length", Want::Any, [] {
         SIZE s;
         return static_cast<LONG_PTR>(ZqGetTextExtent(nullptr, L"abc", INT_MIN, &s));
       }},
      {"GetUICursor odd indices", Want::NotZero, [] {
         LONG_PTR all = -1;
         for (int i : {INT_MIN, -1, 0, 57, 99, 150, 0x7EFF, 0x7F00 + 9999, INT_MAX}) all &= Ptr(ZqGetUICursor(i));
         return all;
       }},
      {"LoadUIBitmapEx missing", Want::Zero, [] {
         return Ptr(ZqLoadUIBitmapEx(nullptr, MAKEINTRESOURCEW(31111), 0, 0, 0, 0, 0, 0));
       }},
      {"LoadUIBitmapEx null name", Want::Zero,
       [] { return Ptr(ZqLoadUIBitmapEx(GetModuleHandleW(nullptr), nullptr, 0, 0, 0, 0, 0, 0)); }},
      {"HSLtoRGB all bits", Want::Any, [] { return static_cast<LONG_PTR>(ZqHSLtoRGB(0xFFFFFFFF)); }},
      {"RGBtoHSL all bits", Want::Any, [] { return static_cast<LONG_PTR>(ZqRGBtoHSL(0xFFFFFFFF)); }},
      // Theme
      {"XPTheme_Initialize null", Want::Failed,
       [] { return static_cast<LONG_PTR>(XPTheme_Initialize(nullptr, nullptr, TRUE)); }},
      {"XPTheme_Handle_WM_THEMECHANGED destroyed", Want::Any, [&] {
         ZQXPTHEME record{};
         return static_cast<LONG_PTR>(XPTheme_Handle_WM_THEMECHANGED(&record, gone));
       }},
      {"XPTheme_DrawFrameControl nulls", Want::Zero,
       [] { return static_cast<LONG_PTR>(XPTheme_DrawFrameControl(nullptr, nullptr, DFCS_BUTTONCHECK)); }},
      {"XPTheme_DrawFrameControl odd state", Want::Any, [] {
         HDC dc = CreateCompatibleDC(nullptr);
         RECT r{10, 10, -10, -10};
         LONG_PTR res = XPTheme_DrawFrameControl(dc, &r, 0xFFFFFFFF);
         DeleteDC(dc);
         return res;
       }},
      {"XPTheme_Cleanup of a zeroed record", Want::Any, [] {
         static ZQXPTHEME record{};
         return Ptr(XPTheme_Cleanup(&record));
       }},
      // Wheel
      {"Wheel_PassToHover destroyed", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqWheel_PassToHover(gone, MAKEWPARAM(0, 120), 0)); }},
      {"Wheel_GetControlWindow null id", Want::Any,
       [] { return Ptr(ZqWheel_GetControlWindow(ZQWHEEL_FORWARDED, MAKELPARAM(-32768, -32768), nullptr)); }},
      {"Wheel_ScrollWindow null, huge count", Want::Zero,
       [] { return static_cast<LONG_PTR>(ZqWheel_ScrollWindow(nullptr, ZQWHEEL_AXIS_V, 1, INT_MAX)); }},
      {"Wheel_ScrollWindow destroyed, huge count", Want::Zero,
       [&] { return static_cast<LONG_PTR>(ZqWheel_ScrollWindow(gone, ZQWHEEL_DEFAULT, 2, INT_MAX)); }},
      {"Wheel_ScrollWindow odd axis", Want::Any,
       [&] { return static_cast<LONG_PTR>(ZqWheel_ScrollWindow(gone, 77, -3, -5)); }},
      {"AutoScrollInit null", Want::Zero, [] { return static_cast<LONG_PTR>(ZqWheel_AutoScrollInit(nullptr)); }},
      {"AutoScrollInit destroyed target", Want::Zero, [&] {
         ZQAUTOSCROLL r{};
         r.target = gone;
         r.instance = GetModuleHandleW(nullptr);
         r.interactive = TRUE;
         BOOL ok = ZqWheel_AutoScrollInit(&r);
         ZqWheel_AutoScrollTerminate(&r);
         return static_cast<LONG_PTR>(ok);
       }},
      {"AutoScroll functions on null and zeroed records", Want::Any, [] {
         ZQAUTOSCROLL r{};
         LONG_PTR n = ZqWheel_AutoScrollTerminate(nullptr) + ZqWheel_AutoScrollInProgress(nullptr) +
                      ZqWheel_AutoScrollSetCursor(nullptr) + ZqWheel_AutoScrollPtInOrigin(nullptr, 0, 0) +
                      ZqWheel_AutoScrollOriginIcon(nullptr, ZQWHEEL_ICON_SHOW);
         n += ZqWheel_AutoScrollTerminate(&r) + ZqWheel_AutoScrollSetCursor(&r) +
              ZqWheel_AutoScrollOriginIcon(&r, ZQWHEEL_ICON_SHOW) + ZqWheel_AutoScrollOriginIcon(&r, 99) +
              ZqWheel_AutoScrollOriginIcon(&r, ZQWHEEL_ICON_DESTROY) + ZqWheel_AutoScrollPtInOrigin(&r, INT_MIN, 0);
         return n;
       }},
      {"AutoScroll with an origin far away and a huge marker, target destroyed mid-run", Want::Any, [] {
         LONG_PTR n = 0;
         for (LONG half : {LONG_MAX, 0x10000L, 0L})
           for (LONG origin : {LONG_MIN, 0L, LONG_MAX}) {
             HWND target = CreateWindowW(L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 200,
                                         200, nullptr, nullptr, nullptr, nullptr);
             SetScrollRange(target, SB_VERT, 0, 100, FALSE);
             SetScrollRange(target, SB_HORZ, 0, 100, FALSE);
             ZQAUTOSCROLL r{};
             r.target = target;
             r.instance = GetModuleHandleW(nullptr);
             r.originX = r.originY = origin;
             r.interactive = TRUE;
             r.originHalfSize = half;
             r.divisor = 1;
             r.horizontalDivisor = 1;
             r.invalidate = TRUE;
             if (ZqWheel_AutoScrollInit(&r)) {
               ++n;
               if (r.marker) SendMessageW(r.marker, WM_TIMER, ZQWHEEL_TIMER_ID, 0);
               ZqWheel_AutoScrollSetCursor(&r);
               DestroyWindow(target);
               if (r.marker) SendMessageW(r.marker, WM_TIMER, ZQWHEEL_TIMER_ID, 0);
               ZqWheel_AutoScrollOriginIcon(&r, ZQWHEEL_ICON_SHOW);
               ZqWheel_AutoScrollTerminate(&r);
               ZqWheel_AutoScrollTerminate(&r);
             }
             DestroyWindow(target);
           }
         return n;
       }},
      {"Theme records used after their clean-up", Want::Any, [] {
         static ZQXPTHEME record{};
         HWND w = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
         XPTheme_Initialize(&record, w, TRUE);
         XPTheme_Cleanup(&record);
         XPTheme_Cleanup(&record);
         XPTheme_Handle_WM_THEMECHANGED(&record, w);
         XPTheme_Handle_WM_THEMECHANGED(nullptr, w);
         HDC dc = CreateCompatibleDC(nullptr);
         RECT r{0, 0, 13, 13};
         XPTheme_DrawFrameControl(dc, &r, DFCS_BUTTONRADIO | DFCS_CHECKED);
         DeleteDC(dc);
         DestroyWindow(w);
         XPTheme_Initialize(&record, w, FALSE);  // a destroyed window
         LONG_PTR n = Ptr(XPTheme_GetDefault());
         XPTheme_Cleanup(&record);
         XPTheme_Default(TRUE);
         return n;
       }},
      // Fader, trackbar and spinner records: null, zeroed, never set up.
      {"Fader null instance", Want::Any, [] {
         SIZE s;
         LONG_PTR n = FaderInst_Init(nullptr, 0, nullptr, nullptr, 0, nullptr, 0);
         FaderInst_Deinit(nullptr);
         FaderInst_Move(nullptr, nullptr);
         FaderInst_Draw(nullptr, nullptr);
         FaderInst_DrawThumb(nullptr, nullptr);
         n += FaderInst_Message(nullptr, FDM_SETPOS, 1, 5);
         n += FaderInst_SetId(nullptr, 5);
         FaderInst_SetScrollProc(nullptr, FaderNoted, 0);
         FaderInst_SetOwnerHwnd(nullptr, nullptr);
         n += Ptr(FaderInst_SetThumbBitmap(nullptr, nullptr, nullptr));
         n += FaderInst_SetThumbImageList(nullptr, nullptr, nullptr);
         n += FaderInst_IsStereo(nullptr);
         n += static_cast<LONG_PTR>(FaderInst_GetMinSize(nullptr, &s));
         FaderInst_DefScrollProc(nullptr, FADER_PAGEUP, nullptr, 1, 1);
         Fader_DefScrollProc(nullptr, FADER_PAGEUP, nullptr, 1, 1);
         return n;
       }},
      {"Fader zeroed instance", Want::Any, [] {
         ZQFADERINST inst{};
         SIZE s;
         HDC dc = CreateCompatibleDC(nullptr);
         FaderInst_Draw(&inst, dc);
         FaderInst_DrawThumb(&inst, dc);
         DeleteDC(dc);
         LONG_PTR n = FaderInst_Message(&inst, FDM_SETPOS, 1, 5) + FaderInst_Message(&inst, WM_LBUTTONDOWN, 0, 0) +
                      FaderInst_Message(&inst, WM_KEYDOWN, VK_UP, 0) + FaderInst_Message(&inst, FDM_GETCHANNEL, 0, 0);
         n += static_cast<LONG_PTR>(FaderInst_GetMinSize(&inst, nullptr));
         n += FaderInst_SetThumbImageList(&inst, nullptr, nullptr);
         FaderInst_DefScrollProc(&inst, FADER_PAGEDOWN, nullptr, INT_MAX, INT_MIN);
         FaderInst_Deinit(&inst);
         (void)s;
         return n;
       }},
      {"Fader window form odd calls", Want::Any, [&] {
         LONG_PTR n = FaderInitialize(nullptr, nullptr) + FaderTerminate(nullptr, nullptr);
         Fader_DefScrollProc(nullptr, FADER_LINEUP, gone, 1, 1);
         return n;
       }},
      {"Fader instance set up with an inverted rectangle and odd messages", Want::Any, [] {
         ZQFADERINST inst{};
         const RECT inverted{50, 50, -50, -50};
         if (!FaderInst_Init(&inst, FADS_STEREO | FADS_TAPER | 0xF000, &inverted, nullptr, 1, FaderNoted, 0))
           return static_cast<LONG_PTR>(-1);
         ZQFADERSETUP setup{INT_MAX, INT_MIN, 0, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0, nullptr};
         LONG_PTR n = FaderInst_Message(&inst, FDM_SETUP, 0, reinterpret_cast<LPARAM>(&setup));
         n += FaderInst_Message(&inst, FDM_SETUP, 0, 0);
         n += FaderInst_Message(&inst, FDM_GETCHANNEL, MAKEWPARAM(0, 99), 0);
         n += FaderInst_Message(&inst, FDM_SETCHANNEL, MAKEWPARAM(1, 0xFFFF), INT_MIN);
         n += FaderInst_Message(&inst, FDM_SETIMAGELIST, 0, 0);
         n += FaderInst_Message(&inst, FDM_SETRANGE, 1, MAKELONG(0x7FFF, 0x8000));
         n += FaderInst_Message(&inst, 0x7F0D, 99, INT_MAX);
         n += FaderInst_Message(&inst, WM_MOUSEWHEEL, MAKEWPARAM(0, 0x8000), 0);
         HIMAGELIST none[3] = {};
         n += FaderInst_SetThumbImageList(&inst, none, nullptr);
         HDC dc = CreateCompatibleDC(nullptr);
         FaderInst_Draw(&inst, dc);
         DeleteDC(dc);
         FaderInst_Deinit(&inst);
         FaderInst_Deinit(&inst);
         return n;
       }},
      {"Trackbar null instance", Want::Any, [] {
         SIZE s;
         RECT r;
         LONG_PTR n = TrackbarInst_Init(nullptr, 0, nullptr, nullptr, 0, nullptr, 0);
         TrackbarInst_Move(nullptr, nullptr);
         TrackbarInst_Draw(nullptr, nullptr);
         TrackbarInst_DrawThumb(nullptr, nullptr);
         n += TrackbarInst_Message(nullptr, TBKM_SETPOS, 1, 5);
         n += TrackbarInst_SetId(nullptr, 5);
         TrackbarInst_SetOwnerHwnd(nullptr, nullptr);
         n += static_cast<LONG_PTR>(TrackbarInst_GetMinSize(nullptr, &s));
         n += Ptr(TrackbarInst_GetThumbRect(&r, nullptr));
         n += Ptr(TrackbarInst_GetThumbRect(nullptr, nullptr));
         n += Ptr(TrackbarInst_SetThumbBitmap(nullptr, nullptr, nullptr));
         n += TrackbarInst_SetThumbImageList(nullptr, nullptr, nullptr);
         TrackbarInst_DefScrollProc(nullptr, FADER_PAGEUP, nullptr, 1, 1);
         Trackbar_DefScrollProc(nullptr, FADER_PAGEUP, nullptr, 1, 1);
         return n;
       }},
      {"Trackbar zeroed instance", Want::Any, [] {
         ZQTRACKBARINST inst{};
         HDC dc = CreateCompatibleDC(nullptr);
         TrackbarInst_Draw(&inst, dc);
         TrackbarInst_DrawThumb(&inst, dc);
         DeleteDC(dc);
         LONG_PTR n = TrackbarInst_Message(&inst, TBKM_SETPOS, 1, 5) + TrackbarInst_Message(&inst, WM_LBUTTONDOWN, 0, 0) +
                      TrackbarInst_Message(&inst, TBKM_GETTRACK, 0, 0);
         RECT r;
         n += Ptr(TrackbarInst_GetThumbRect(&r, &inst));
         n += static_cast<LONG_PTR>(TrackbarInst_GetMinSize(&inst, nullptr));
         TrackbarInst_DefScrollProc(&inst, FADER_PAGEDOWN, nullptr, INT_MAX, INT_MIN);
         return n;
       }},
      {"Trackbar set up oddly", Want::Any, [&] {
         ZQTRACKBARINST inst{};
         const RECT inverted{50, 50, -50, -50};
         if (!TrackbarInst_Init(&inst, TBKS_TAPER | TBKS_LOGARITHMIC | TBKS_FINEMAPPING, &inverted, nullptr, 1,
                                TrackbarNoted, 0))
           return static_cast<LONG_PTR>(-1);
         LONG_PTR n = TrackbarInst_Message(&inst, TBKM_SETRANGE, 1, MAKELONG(0x7FFF, 0x8000));
         n += TrackbarInst_Message(&inst, TBKM_SETMIN, 1, INT_MAX);
         n += TrackbarInst_Message(&inst, TBKM_SETMAX, 1, INT_MIN);
         n += TrackbarInst_Message(&inst, TBKM_SETPOS, 1, INT_MIN);
         n += TrackbarInst_Message(&inst, TBKM_SETIMAGELIST, 0, 0);
         n += TrackbarInst_Message(&inst, WM_MOUSEWHEEL, MAKEWPARAM(0, 0x8000), 0);
         n += TrackbarInst_Message(&inst, WM_KEYDOWN, VK_NEXT, 0);
         TrackbarInst_DefScrollProc(&inst, FADER_PAGEDOWN, nullptr, INT_MAX, INT_MAX);
         TrackbarInst_DefScrollProc(&inst, 77, nullptr, 0, 0);
         HBITMAP b = CreateBitmap(0x4000, 1, 1, 1, nullptr);
         TrackbarInst_SetThumbBitmap(&inst, b, b);
         HDC dc = CreateCompatibleDC(nullptr);
         TrackbarInst_Draw(&inst, dc);
         DeleteDC(dc);
         TrackbarInst_SetThumbBitmap(&inst, nullptr, nullptr);
         DeleteObject(b);
         Trackbar_DefScrollProc(&inst, FADER_LINEUP, gone, 1, 1);
         return n;
       }},
      {"Spinner null instance", Want::Any, [] {
         LONG_PTR n = SpinnerInst_Init(nullptr, 0, nullptr, nullptr, 0, nullptr, 0);
         SpinnerInst_Deinit(nullptr);
         SpinnerInst_Move(nullptr, nullptr);
         SpinnerInst_Draw(nullptr, nullptr);
         n += SpinnerInst_Message(nullptr, SPNM_SETPOS, 0, 5);
         n += SpinnerInst_SetId(nullptr, 1);
         SpinnerInst_SetScrollProc(nullptr, SpinnerNoted, 0);
         SpinnerInst_SetOwnerHwnd(nullptr, nullptr);
         SpinnerInst_DefScrollProc(nullptr, FADER_LINEUP, nullptr, 1, 1);
         Spinner_DefScrollProc(nullptr, FADER_LINEUP, nullptr, 1, 1, 0);
         n += SpinnerInitialize(nullptr, nullptr) + SpinnerTerminate(nullptr, nullptr);
         return n;
       }},
      {"Spinner zeroed instance", Want::Any, [&] {
         ZQSPINNERINST inst{};
         HDC dc = CreateCompatibleDC(nullptr);
         SpinnerInst_Draw(&inst, dc);
         DeleteDC(dc);
         LONG_PTR n = SpinnerInst_Message(&inst, SPNM_SETPOS, 0, 5) + SpinnerInst_Message(&inst, WM_LBUTTONDOWN, 0, 0) +
                      SpinnerInst_Message(&inst, SPNM_SETBUDDY, reinterpret_cast<WPARAM>(gone), 5);
         SpinnerInst_DefScrollProc(&inst, FADER_PAGEDOWN, nullptr, INT_MAX, INT_MIN);
         SpinnerInst_Deinit(&inst);
         Spinner_DefScrollProc(&inst, FADER_LINEUP, gone, 1, 1, 0);
         return n;
       }},
      {"Spinner set up oddly", Want::Any, [&] {
         ZQSPINNERINST inst{};
         const RECT inverted{50, 50, -50, -50};
         if (!SpinnerInst_Init(&inst, SPNS_TAPER | SPNS_DRAG_MASK | SPNS_VERT, &inverted, nullptr, 1, SpinnerNoted, 0))
           return static_cast<LONG_PTR>(-1);
         LONG_PTR n = SpinnerInst_Message(&inst, SPNM_SETRANGE, 0, MAKELONG(0x7FFF, 0x8000));
         n += SpinnerInst_Message(&inst, SPNM_SETSENSITIVITY, 0, 0);
         n += SpinnerInst_Message(&inst, SPNM_SETSENSITIVITY, 0, INT_MIN);
         n += SpinnerInst_Message(&inst, SPNM_SETMIN, 0, INT_MAX);
         n += SpinnerInst_Message(&inst, SPNM_SETPOS, 0, INT_MIN);
         n += SpinnerInst_Message(&inst, SPNM_SETBUDDY, reinterpret_cast<WPARAM>(gone), MAKELPARAM(0xFFFF, 0));
         n += SpinnerInst_Message(&inst, SPNM_SETSTYLE, 0xFFFF, 1);
         n += SpinnerInst_Message(&inst, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-32768, 32767));
         SpinnerInst_DefScrollProc(&inst, FADER_PAGEDOWN, nullptr, INT_MAX, INT_MAX);
         HDC dc = CreateCompatibleDC(nullptr);
         SpinnerInst_Draw(&inst, dc);
         DeleteDC(dc);
         SpinnerInst_Deinit(&inst);
         return n;
       }},
  };
  RunCases(cases);
}

// The three controls as windows, sent their private messages with null
// and nonsense pointers and extreme values.
TEST(Controls, WindowFormsTakeNullPointers) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  ASSERT_TRUE(FaderInitialize(instance, L"RobustFader"));
  ASSERT_TRUE(TrackbarInitialize(instance, L"RobustTrackbar"));
  ASSERT_TRUE(SpinnerInitialize(instance, L"RobustSpinner"));
  HWND host = CreateWindowW(L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR32, 1, 1);
  HIMAGELIST lists[3] = {list, nullptr, list};
  static const LONG extremes[4] = {LONG_MAX, LONG_MIN, -1, 0x40000000};
  struct Window {
    const char* name;
    const WCHAR* className;
    DWORD style;
  };
  const Window windows[] = {
      {"fader", L"RobustFader", FADS_VERT | FADS_STEREO | FADS_TAPER | FADS_NOTIFY | 0xF000},
      {"horizontal fader", L"RobustFader", FADS_THUMB10},
      {"trackbar", L"RobustTrackbar", TBKS_VERT | TBKS_TAPER | TBKS_LOGARITHMIC | TBKS_JUMPTOPOINT | TBKS_NOTIFY},
      {"spinner", L"RobustSpinner", SPNS_VERT | SPNS_DRAG_MASK | SPNS_TAPER | SPNS_NOTIFY | SPNS_BUDDY},
  };
  struct Message {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  const Message messages[] = {
      {"setup null", FDM_SETUP, 0, 0},
      {"get channel into null", FDM_GETCHANNEL, MAKEWPARAM(0, 0), 0},
      {"get channel 2 into null", FDM_GETCHANNEL, MAKEWPARAM(0, 2), 0},
      {"set channel 0xFFFF", FDM_SETCHANNEL, MAKEWPARAM(1, 0xFFFF), LONG_MIN},
      {"set channel mask 0", FDM_SETCHANNELMASK, 0, 0},
      {"image lists, no metrics", FDM_SETIMAGELIST, reinterpret_cast<WPARAM>(lists), 0},
      {"image lists, extreme metrics", FDM_SETIMAGELIST, reinterpret_cast<WPARAM>(lists),
       reinterpret_cast<LPARAM>(extremes)},
      {"trackbar image lists, extreme metrics", TBKM_SETIMAGELIST, reinterpret_cast<WPARAM>(lists),
       reinterpret_cast<LPARAM>(extremes)},
      {"range inverted", FDM_SETRANGE, 1, MAKELONG(0x7FFF, 0x8000)},
      {"minimum INT_MAX", FDM_SETMIN, 1, INT_MAX},
      {"maximum INT_MIN", FDM_SETMAX, 1, INT_MIN},
      {"position INT_MIN", FDM_SETPOS, 1, INT_MIN},
      {"centre INT_MAX", FDM_SETCENTER, 1, INT_MAX},
      {"sensitivity 0", SPNM_SETSENSITIVITY, 0, 0},
      {"sensitivity negative", SPNM_SETSENSITIVITY, 0, INT_MIN},
      {"notify to a destroyed window", SPNM_SETNOTIFY, reinterpret_cast<WPARAM>(DestroyedWindow()), 0},
      {"buddy destroyed", SPNM_SETBUDDY, reinterpret_cast<WPARAM>(DestroyedWindow()), 5},
      {"controller null record", 0x7F0A, 0, 0},
      {"controller tracking", 0x7F0D, 0xFFFF, INT_MAX},
      {"controller final", 0x7F0E, 0, INT_MIN},
      {"wheel far", WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 0x8000), MAKELPARAM(0x8000, 0x7FFF)},
      {"press far outside", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0x8000, 0x8000)},
      {"drag far outside", WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0x7FFF, 0x8000)},
      {"release", WM_LBUTTONUP, 0, MAKELPARAM(0x7FFF, 0x7FFF)},
      {"key page down", WM_KEYDOWN, VK_NEXT, 0},
      {"key end", WM_KEYDOWN, VK_END, 0},
      {"size 0", WM_SIZE, 0, 0},
      {"paint", WM_PAINT, 0, 0},
  };
  for (const Window& w : windows) {
    HWND control = CreateWindowExW(0, w.className, L"", WS_CHILD | WS_VISIBLE | w.style, 10, 10, 40, 150, host,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(5)), instance, nullptr);
    ASSERT_NE(control, nullptr) << w.name;
    for (const Message& m : messages) {
      std::string name = std::string(w.name) + " / " + m.name;
      Begin();
      g_case = name.c_str();
      SendMessageW(control, m.message, m.wParam, m.lParam);
      if (m.message == WM_SIZE) MoveWindow(control, 0, 0, 0, 0, TRUE);
      UpdateWindow(control);
      g_case = nullptr;
    }
    g_case = w.name;
    DestroyWindow(control);
    // Messages that arrive after the window is gone.
    SendMessageW(control, FDM_GETCHANNEL, 0, 0);
    g_case = nullptr;
    EXPECT_FALSE(IsWindow(control)) << w.name;
  }
  DestroyWindow(host);
  ImageList_Destroy(list);
  EXPECT_TRUE(FaderTerminate(instance, L"RobustFader"));
  EXPECT_TRUE(TrackbarTerminate(instance, L"RobustTrackbar"));
  EXPECT_TRUE(SpinnerTerminate(instance, L"RobustSpinner"));
}

}  // namespace
