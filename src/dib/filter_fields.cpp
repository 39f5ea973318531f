// Field operations on image blocks: the de-interlacing copy and the field
// merge. Field 1 is the picture rows 0, 2, 4, ... from the top, field 0
// the rows 1, 3, 5, ...
#include <cstring>

#include "dib/dib_internal.h"
#include "dib/pixel_kernels.h"
#include "zq/dib.h"
#include "zq/dibfilter.h"

namespace {
using namespace zq::dib;

// A picture row belongs to `field` when its parity says so.
inline bool InField(int pictureRow, int field) { return ((pictureRow & 1) == 0) == (field != 0); }

// The rectangle asked for, in whole pixels (sub-pixel units divided down).
RECT WholeRect(const RECT* rect, const Image& image, DWORD flags) {
  if (!rect) return image.Bounds();
  return (flags & ZQDIB_SUBPIXEL) ? Divided(*rect) : *rect;
}

}  // namespace

// The kept field's rows are converted pixel for pixel; each row of the
// other field is the average (a + b) >> 1, per channel of the working
// pixel, of the source rows before and after it (the one there is at the
// region's first and last row). The field of a row is that of its source
// row in the source picture.
ZQAPI HRESULT WINAPI ZqDibCopyInterlace(BITMAPINFOHEADER* dstHeader, void* dstBits, const RECT* dstRect,
                                        int dstStride, const BITMAPINFOHEADER* srcHeader, const void* srcBits,
                                        const RECT* srcRect, int srcStride, int field, DWORD flags) noexcept {
  if (!dstHeader || !srcHeader) return E_INVALIDARG;
  Image dst, src;
  HRESULT hr = OpenImage(dstHeader, dstBits, dstStride, &dst);
  if (FAILED(hr)) return hr;
  hr = OpenImage(srcHeader, srcBits, srcStride, &src);
  if (FAILED(hr)) return hr;
  RECT d = WholeRect(dstRect, dst, flags), s = WholeRect(srcRect, src, flags);
  if (IsEmpty(d) || IsEmpty(s)) return S_OK;
  if (d.right - d.left != s.right - s.left || d.bottom - d.top != s.bottom - s.top) return E_NOTIMPL;
  RECT dOut, sOut;
  hr = PrepareEqualPair(dst.Bounds(), &d, src.Bounds(), &s, &dOut, &sOut);
  if (hr != S_OK) return FAILED(hr) ? hr : S_OK;

  ScopedQuantizer quantizer;
  hr = quantizer.For(dst);
  if (FAILED(hr)) return hr;
  ZQXCHGSET set;
  hr = PrepareExchange(dst.type, src.type, flags, &set, nullptr);
  if (FAILED(hr)) return hr;
  AttachImages(set, dst, src, quantizer.Cells());

  const int width = sOut.right - sOut.left, height = sOut.bottom - sOut.top;
  for (int j = 0; j < height; ++j) {
    const int sy = sOut.top + j;
    BYTE* out = dst.Row(dOut.top + j);
    for (int i = 0; i < width; ++i) {
      const long long sx = sOut.left + i, dx = dOut.left + i;
      auto read = [&](int y) {
        const long long bit = sx * src.bpp;
        return ExpandPixel(src.type, src.Row(y) + (bit >> 3), static_cast<int>(bit & 7), set);
      };
      ZQWIDEPIXEL p;
      if (InField(sy, field)) {
        p = read(sy);
      } else {
        const ZQWIDEPIXEL a = read(j > 0 ? sy - 1 : sy + (height > 1 ? 1 : 0));
        const ZQWIDEPIXEL b = read(j + 1 < height ? sy + 1 : sy - (height > 1 ? 1 : 0));
        p.blue = static_cast<WORD>((a.blue + b.blue) >> 1);
        p.green = static_cast<WORD>((a.green + b.green) >> 1);
        p.red = static_cast<WORD>((a.red + b.red) >> 1);
        p.alpha = static_cast<WORD>((a.alpha + b.alpha) >> 1);
      }
      const long long bit = dx * dst.bpp;
      PackPixel(dst.type, out + (bit >> 3), static_cast<int>(bit & 7), p, set);
    }
  }
  return S_OK;
}

// Every byte of each row, the last partial byte of 1-, 2- and 4-bit rows
// included.
ZQAPI HRESULT WINAPI ZqDibMergeFields(BITMAPINFOHEADER* dstHeader, void* dstBits, int dstStride,
                                      const BITMAPINFOHEADER* srcHeader, const void* srcBits, int srcStride,
                                      int field, DWORD) noexcept {
  if (!dstHeader || !srcHeader) return E_INVALIDARG;
  Image dst, src;
  HRESULT hr = OpenImage(dstHeader, dstBits, dstStride, &dst);
  if (FAILED(hr)) return hr;
  hr = OpenImage(srcHeader, srcBits, srcStride, &src);
  if (FAILED(hr)) return hr;
  if (dst.bpp != src.bpp || dst.width != src.width || dst.height != src.height) return E_NOTIMPL;
  const size_t rowBytes = (static_cast<size_t>(dst.width) * dst.bpp + 7) / 8;
  for (int y = field != 0 ? 0 : 1; y < dst.height; y += 2) memmove(dst.Row(y), src.Row(y), rowBytes);
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqDibLine(BYTE*, const RECT*, int, const RECT*, int, int, int, int, int, float, float, float,
                               float, DWORD) noexcept {
  return E_NOTIMPL;
}

ZQAPI HRESULT WINAPI ZqDibChannelLine(BYTE*, const RECT*, int, const RECT*, int, int, int, int, int, int, float,
                                      DWORD, DWORD, DWORD, DWORD, DWORD) noexcept {
  return E_NOTIMPL;
}
