// Gamma transfer functions: linearising 8-bit images into float images
// and encoding float images in place.
#include <cmath>

#include "dib/compose_internal.h"
#include "dib/dib_internal.h"
#include "zq/colour.h"

namespace zq::dib {
namespace {

double Decode(int number, double x, double g) noexcept {
  switch (number) {
    case 0: return std::pow(x, 1 / 0.45);
    case 1: return std::pow(x, 2.8);
    case 2: return x <= 0.081 ? x / 4.5 : std::pow((x + 0.099) / 1.099, 1 / 0.45);
    case 3: return x <= 0.0912 ? x / 4 : std::pow((x + 0.1115) / 1.1115, 1 / 0.45);
    case 5: return std::pow(x, 1 / g);
    default: return x;
  }
}
double Encode(int number, double x, double g) noexcept {
  switch (number) {
    case 0: return std::pow(x, 0.45);
    case 1: return std::pow(x, 1 / 2.8);
    case 2: return x <= 0.018 ? 4.5 * x : 1.099 * std::pow(x, 0.45) - 0.099;
    case 3: return x <= 0.0228 ? 4 * x : 1.1115 * std::pow(x, 0.45) - 0.1115;
    case 5: return std::pow(x, 1 / g);
    default: return x;
  }
}

template <typename F>
void BuildTable(float (&table)[256], F&& f) noexcept {
  for (int i = 0; i < 256; ++i) table[i] = static_cast<float>(f(i * (1.0 / 255)));
}

}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI HRESULT WINAPI ZqDibLinearize_ZQRGBAFLOAT_From_RGBA(BITMAPINFOHEADER* dstHeader, void* dstBits,
                                                         const RECT* dstRect, int dstStride,
                                                         const BITMAPINFOHEADER* srcHeader, const void* srcBits,
                                                         const RECT* srcRect, int srcStride, int transfer,
                                                         double gamma) noexcept {
  if (transfer < 0 || transfer >= ZQTRANSFER_COUNT) return E_INVALIDARG;
  Image dst, src;
  if (FAILED(OpenImage(dstHeader, dstBits, dstStride, &dst)) || FAILED(OpenImage(srcHeader, srcBits, srcStride, &src)))
    return E_INVALIDARG;
  if (dst.type != ZqPixel_RgbaFloat || (src.type != ZqPixel_Rgb32 && src.type != ZqPixel_Rgba32)) return E_INVALIDARG;
  RECT d, s;
  HRESULT hr = PrepareEqualPair(dst.Bounds(), dstRect, src.Bounds(), srcRect, &d, &s);
  if (hr == S_FALSE) return S_OK;
  if (FAILED(hr)) return E_INVALIDARG;
  double g = gamma == 0 ? 1.0 : gamma;
  float table[256];
  BuildTable(table, [&](double x) { return Decode(transfer, x, g); });
  int width = d.right - d.left;
  for (int y = 0; y < d.bottom - d.top; ++y) {
    float* out = reinterpret_cast<float*>(dst.Row(d.top + y)) + 4 * d.left;
    const BYTE* in = src.Row(s.top + y) + 4 * s.left;
    int i = 0;
    for (; i + 4 <= width * 4; i += 4) {  // one pixel's four channels a step
      out[i] = table[in[i]];
      out[i + 1] = table[in[i + 1]];
      out[i + 2] = table[in[i + 2]];
      out[i + 3] = table[in[i + 3]];
    }
  }
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqDibApplyTransferFunc_ZQRGBAFLOAT(BITMAPINFOHEADER* header, void* bits, const RECT* rect,
                                                       int stride, int transfer, double gamma, BOOL table) noexcept {
  Image image;
  if (FAILED(OpenImage(header, bits, stride, &image)) || image.type != ZqPixel_RgbaFloat) return S_OK;
  if (transfer < 0 || transfer >= ZQTRANSFER_COUNT) return E_INVALIDARG;
  RECT r = Intersect(rect ? *rect : image.Bounds(), image.Bounds());
  if (IsEmpty(r)) return S_OK;
  double g = gamma == 0 ? 1.0 : gamma;
  float entries[256];
  if (table) BuildTable(entries, [&](double x) { return Encode(transfer, x, g); });
  for (int y = r.top; y < r.bottom; ++y) {
    float* p = reinterpret_cast<float*>(image.Row(y)) + 4 * r.left;
    for (int i = 0; i < (r.right - r.left) * 4; ++i)
      p[i] = table ? entries[ClampedInt(p[i] * 255.0, 0, 255)] : static_cast<float>(Encode(transfer, p[i], g));
  }
  return S_OK;
}
