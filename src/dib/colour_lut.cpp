// Look-up tables and desaturation on raw-buffer regions.
#include <algorithm>

#include "dib/compose_internal.h"
#include "zq/colour.h"

namespace zq::dib {
namespace {

// One table of either kind.
struct Table {
  const void* entries;
  bool narrow;
  explicit operator bool() const noexcept { return entries != nullptr; }
  BYTE Map8(BYTE v) const noexcept {
    if (narrow) return static_cast<const BYTE*>(entries)[v];
    return static_cast<BYTE>(static_cast<const WORD*>(entries)[v * 257] >> 8);
  }
  // The index is held to the table in the float domain (NaN as 0).
  float MapFloat(float v) const noexcept {
    if (narrow) return static_cast<const BYTE*>(entries)[ClampedInt(v * 255.0, 0, 255)] * (1.0f / 255);
    return static_cast<const WORD*>(entries)[ClampedInt(v * 65535.0, 0, 65535)] * (1.0f / 65535);
  }
};

// Channel order of a pixel: blue, green, red, alpha.
HRESULT MapRegion(BYTE* base, const RECT* bounds, int stride, const RECT* rect, int bytesPerPixel,
                  const Table (&tables)[4], bool premultiplied) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  OneRegion r;
  HRESULT hr = PrepareOne(r, base, bounds, stride, rect, bytes);
  if (FAILED(hr)) return hr;
  if (bytes == 4) {
    EachPixel(r, 4, [&](BYTE* p) {
      if (tables[3]) p[3] = tables[3].Map8(p[3]);
      for (int c = 0; c < 3; ++c)
        if (tables[c]) p[c] = tables[c].Map8(p[c]);
      if (premultiplied)
        for (int c = 0; c < 3; ++c) p[c] = std::min(p[c], p[3]);
    });
  } else {
    EachPixel(r, 16, [&](BYTE* p) {
      float v[4];
      std::memcpy(v, p, 16);
      if (tables[3]) v[3] = tables[3].MapFloat(v[3]);
      for (int c = 0; c < 3; ++c)
        if (tables[c]) v[c] = tables[c].MapFloat(v[c]);
      if (premultiplied)
        for (int c = 0; c < 3; ++c) v[c] = std::min(v[c], v[3]);
      std::memcpy(p, v, 16);
    });
  }
  return hr;
}

}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI HRESULT WINAPI ZqDibSingleLUT(BYTE* base, const RECT* bounds, int stride, const RECT* rect, int bytesPerPixel,
                                    const void* table, BOOL table8, BOOL alpha, BOOL premultiplied) noexcept {
  if (!table) return E_POINTER;
  Table t{table, table8 != FALSE}, none{nullptr, true};
  const Table tables[4] = {t, t, t, alpha ? t : none};
  return MapRegion(base, bounds, stride, rect, bytesPerPixel, tables, premultiplied != FALSE);
}

ZQAPI HRESULT WINAPI ZqDibPerChannelLUT(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                        int bytesPerPixel, const void* red, const void* green, const void* blue,
                                        const void* alpha, BOOL table8) noexcept {
  bool narrow = table8 != FALSE;
  const Table tables[4] = {{blue, narrow}, {green, narrow}, {red, narrow}, {alpha, narrow}};
  return MapRegion(base, bounds, stride, rect, bytesPerPixel, tables, false);
}

ZQAPI HRESULT WINAPI ZqDibDesaturate(BYTE* base, const RECT* bounds, int stride, const RECT* rect, int bytesPerPixel,
                                     BOOL hsl) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  OneRegion r;
  HRESULT hr = PrepareOne(r, base, bounds, stride, rect, bytes);
  if (FAILED(hr)) return hr;
  if (bytes == 4) {
    EachPixel(r, 4, [&](BYTE* p) {
      if (hsl) {
        ZQHSL h;
        ZQRGBA c{p[0], p[1], p[2], p[3]};
        ZQRGBA_To_ZQHSL(&h, c);
        h.saturation = 0;
        ZQHSL_To_ZQRGBA(&c, h);
        p[0] = std::min(c.blue, p[3]);
        p[1] = std::min(c.green, p[3]);
        p[2] = std::min(c.red, p[3]);
      } else {
        BYTE grey = std::min(static_cast<BYTE>((p[0] + p[1] + p[2]) / 3), p[3]);
        p[0] = p[1] = p[2] = grey;
      }
    });
  } else {
    EachPixel(r, 16, [&](BYTE* p) {
      ZQRGBAFLOAT c;
      std::memcpy(&c, p, 16);
      if (hsl) {
        ZQHSL h;
        ZQRGBAFLOAT_To_ZQHSL(&h, c);
        h.saturation = 0;
        float a = c.alpha;
        ZQHSL_To_ZQRGBAFLOAT(&c, h);
        c.alpha = a;
        c.blue = std::min(c.blue, a);
        c.green = std::min(c.green, a);
        c.red = std::min(c.red, a);
      } else {
        float grey = std::min((c.blue + c.green + c.red) * 0.33333334f, c.alpha);
        c.blue = c.green = c.red = grey;
      }
      std::memcpy(p, &c, 16);
    });
  }
  return hr;
}
