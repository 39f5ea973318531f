// Broadcast-safe checks: a float colour against the composite-signal
// limits of NTSC (7.5 % set-up) and PAL, and the correction that scales a
// hot colour's chroma down to a peak of 1.15.
#include <cmath>

#include "zq/colour.h"

namespace zq::dib {
namespace {

// Rows: luma and two chroma components from (blue, green, red); the
// inverse's rows give blue, green and red from (Y, C1, C2).
using Matrix = double[3][3];
constexpr Matrix kRgbToYiq = {{0.114, 0.587, 0.299},
                              {-0.321746, -0.274133, 0.595879},
                              {0.311878, -0.523083, 0.211205}};
constexpr Matrix kYiqToRgb = {{1, -1.104744, 1.701157}, {1, -0.272558, -0.646709}, {1, 0.956295, 0.621025}};
constexpr Matrix kRgbToYuv = {{0.114, 0.587, 0.299},
                              {0.436798, -0.289391, -0.147407},
                              {-0.099978, -0.514799, 0.614777}};
constexpr Matrix kYuvToRgb = {{1, 2.028398, 0}, {1, -0.393931, -0.580809}, {1, 0, 1.140251}};

struct Standard {
  const Matrix& forward;
  const Matrix& inverse;
  double limit;
  bool setup;  // 7.5 % set-up: the peak is 0.925 x (Y + f |C|) + 0.075
};
constexpr Standard kNtscYiq{kRgbToYiq, kYiqToRgb, 1.2162163, true};
constexpr Standard kNtscYuv{kRgbToYuv, kYuvToRgb, 1.2162163, true};
constexpr Standard kPalYuv{kRgbToYuv, kYuvToRgb, 1.2, false};

double Encode709(double x) noexcept { return x < 0.018 ? 4.5 * x : 1.099 * std::pow(x, 0.45) - 0.099; }
double Decode709(double x) noexcept { return x < 0.081 ? x / 4.5 : std::pow((x + 0.099) / 1.099, 1 / 0.45); }
float Unit(double v) noexcept { return static_cast<float>(v > 0 ? (v < 1 ? v : 1) : 0); }

struct Signal {
  double y, c1, c2;
};
Signal Measure(const Standard& s, const ZQRGBAFLOAT& c) noexcept {
  double in[3] = {Encode709(c.blue), Encode709(c.green), Encode709(c.red)};
  double out[3];
  for (int row = 0; row < 3; ++row)
    out[row] = s.forward[row][0] * in[0] + s.forward[row][1] * in[1] + s.forward[row][2] * in[2];
  return Signal{out[0], out[1], out[2]};
}
bool IsHot(const Standard& s, const Signal& v) noexcept {
  double headroom = s.limit - v.y;
  return headroom * headroom < v.c1 * v.c1 + v.c2 * v.c2;
}

BOOL Check(const Standard& s, const ZQRGBAFLOAT* c) noexcept { return c && IsHot(s, Measure(s, *c)); }

BOOL Correct(const Standard& s, ZQRGBAFLOAT* c) noexcept {
  if (!c) return FALSE;
  Signal v = Measure(s, *c);
  if (!IsHot(s, v)) return FALSE;
  double chroma = std::sqrt(v.c1 * v.c1 + v.c2 * v.c2);
  double f = s.setup ? (1.15 - (0.925 * v.y + 0.075)) / (0.925 * chroma) : (1.15 - v.y) / chroma;
  if (f > 1) f = 1;
  double in[3] = {v.y, v.c1 * f, v.c2 * f};
  double out[3];
  for (int row = 0; row < 3; ++row)
    out[row] = Decode709(s.inverse[row][0] * in[0] + s.inverse[row][1] * in[1] + s.inverse[row][2] * in[2]);
  c->blue = Unit(out[0]);
  c->green = Unit(out[1]);
  c->red = Unit(out[2]);
  return TRUE;
}

}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI BOOL WINAPI HotCheckNTSCYIQ(const ZQRGBAFLOAT* colour) noexcept { return Check(kNtscYiq, colour); }
ZQAPI BOOL WINAPI HotCheckNTSCYUV(const ZQRGBAFLOAT* colour) noexcept { return Check(kNtscYuv, colour); }
ZQAPI BOOL WINAPI HotCheckPALYUV(const ZQRGBAFLOAT* colour) noexcept { return Check(kPalYuv, colour); }
ZQAPI BOOL WINAPI HotCheckNTSCYIQReturn(ZQRGBAFLOAT* colour) noexcept { return Correct(kNtscYiq, colour); }
ZQAPI BOOL WINAPI HotCheckNTSCYUVReturn(ZQRGBAFLOAT* colour) noexcept { return Correct(kNtscYuv, colour); }
ZQAPI BOOL WINAPI HotCheckPALYUVReturn(ZQRGBAFLOAT* colour) noexcept { return Correct(kPalYuv, colour); }
