// Single bilinear samples of 4-byte (8-bit) and 16-byte (float) images:
// the fast forms take a 2 x 2 block and 14-bit fractions, the safe forms
// an 18.14 position and the image size, and blend only with neighbours
// that exist.
#include <cstring>

#include "zq/dib.h"

namespace {

constexpr int kOne = 16384;

struct Weights {
  int w00, w10, w01, w11;  // top-left, right, below, below-right
};
Weights FastWeights(int a, int b) noexcept {
  return Weights{(kOne - b) * (kOne - a) / kOne, (kOne - b) * a / kOne, (kOne - a) * b / kOne, a * b / kOne};
}

inline const float* FloatAt(const float* p, ptrdiff_t stride) noexcept {
  return reinterpret_cast<const float*>(reinterpret_cast<const BYTE*>(p) + stride);
}

// Blends two pixels: (fraction x second + (16384 - fraction) x first) / 16384.
void Blend32(BYTE* out, const BYTE* first, const BYTE* second, int fraction) noexcept {
  for (int c = 0; c < 4; ++c) out[c] = static_cast<BYTE>((fraction * second[c] + (kOne - fraction) * first[c]) / kOne);
}
void Blend128(float* out, const float* first, const float* second, int fraction) noexcept {
  float f = static_cast<float>(fraction) / kOne;
  for (int c = 0; c < 4; ++c) out[c] = first[c] + (second[c] - first[c]) * f;
}

}  // namespace

ZQAPI BYTE* WINAPI ZqGetSubPixel32Fast(BYTE* out, const BYTE* topLeft, int stride, int fractionX,
                                       int fractionY) noexcept {
  Weights w = FastWeights(fractionX, fractionY);
  const BYTE* p00 = topLeft;
  const BYTE* p10 = topLeft + 4;
  const BYTE* p01 = topLeft + stride;
  const BYTE* p11 = topLeft + stride + 4;
  for (int c = 0; c < 4; ++c)
    out[c] = static_cast<BYTE>((w.w00 * p00[c] + w.w10 * p10[c] + w.w01 * p01[c] + w.w11 * p11[c]) >> 14);
  return out;
}

ZQAPI float* WINAPI ZqGetSubPixel128Fast(float* out, const float* topLeft, int stride, int fractionX,
                                         int fractionY) noexcept {
  Weights w = FastWeights(fractionX, fractionY);
  const float* p00 = topLeft;
  const float* p10 = topLeft + 4;
  const float* p01 = FloatAt(topLeft, stride);
  const float* p11 = p01 + 4;
  const float scale = 1.0f / kOne;
  float a = w.w00 * scale, b = w.w10 * scale, c = w.w01 * scale, d = w.w11 * scale;
  for (int i = 0; i < 4; ++i) out[i] = a * p00[i] + b * p10[i] + c * p01[i] + d * p11[i];
  return out;
}

ZQAPI BOOL WINAPI ZqGetSubPixel32Safe(BYTE* out, const BYTE* base, int width, int height, int stride, int x,
                                      int y) noexcept {
  if (!out) return FALSE;
  std::memset(out, 0, 4);
  if (!base || x < 0 || y < 0) return FALSE;
  int ix = x / kOne, iy = y / kOne, fx = x % kOne, fy = y % kOne;
  if (ix >= width || iy >= height) return FALSE;
  const BYTE* p = base + static_cast<ptrdiff_t>(stride) * iy + static_cast<ptrdiff_t>(ix) * 4;
  bool right = ix <= width - 2, below = iy <= height - 2;
  if (right && below) ZqGetSubPixel32Fast(out, p, stride, fx, fy);
  else if (below) Blend32(out, p, p + stride, fy);
  else if (right) Blend32(out, p, p + 4, fx);
  else std::memcpy(out, p, 4);
  return TRUE;
}

ZQAPI BOOL WINAPI ZqGetSubPixel128Safe(float* out, const float* base, int width, int height, int stride, int x,
                                       int y) noexcept {
  if (!out) return FALSE;
  std::memset(out, 0, 16);
  if (!base) return FALSE;
  // Truncation toward zero: a position in (-1, 0) is pixel 0 with a
  // negative fraction.
  int ix = x / kOne, iy = y / kOne, fx = x % kOne, fy = y % kOne;
  if (ix < 0 || iy < 0 || ix >= width || iy >= height) return FALSE;
  const float* p = FloatAt(base, static_cast<ptrdiff_t>(stride) * iy) + static_cast<ptrdiff_t>(ix) * 4;
  bool right = ix <= width - 2, below = iy <= height - 2;
  if (right && below) ZqGetSubPixel128Fast(out, p, stride, fx, fy);
  else if (below) Blend128(out, p, FloatAt(p, stride), fy);
  else if (right) Blend128(out, p, p + 4, fx);
  else std::memcpy(out, p, 16);
  return TRUE;
}
