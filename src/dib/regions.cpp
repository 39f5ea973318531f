// Region preparation for every one- and two-image operation: clipping a
// rectangle to its image and keeping a second rectangle in step with it.
#include <cstdint>
#include <cstring>

#include "dib/dib_internal.h"
#include "dib/pixel_kernels.h"

namespace zq::dib {
namespace {

struct Span {
  int64_t left, top, right, bottom;
};
Span Wide(const RECT& r) noexcept { return Span{r.left, r.top, r.right, r.bottom}; }
RECT Narrow(const Span& s) noexcept {
  return RECT{static_cast<LONG>(s.left), static_cast<LONG>(s.top), static_cast<LONG>(s.right),
              static_cast<LONG>(s.bottom)};
}
Span Meet(const Span& a, const Span& b) noexcept {
  Span r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
         a.bottom < b.bottom ? a.bottom : b.bottom};
  if (r.right <= r.left || r.bottom <= r.top) return Span{0, 0, 0, 0};
  return r;
}
bool Empty(const Span& s) noexcept { return s.right <= s.left || s.bottom <= s.top; }

// Moves the two edges of `other` along one axis by the trims of `r`,
// in proportion to the sizes of the two (r's own size, not its bounds').
void MoveInProportion(int64_t trimLow, int64_t trimHigh, int64_t size, LONG& low, LONG& high) noexcept {
  if (size <= 0 || (trimLow == 0 && trimHigh == 0)) return;
  int64_t otherSize = static_cast<int64_t>(high) - low;
  int64_t newLow = low + trimLow * otherSize / size;
  int64_t newHigh = high - trimHigh * otherSize / size;
  if (newHigh < newLow) newHigh = newLow;
  low = static_cast<LONG>(newLow);
  high = static_cast<LONG>(newHigh);
}

RECT HeaderBounds(const BITMAPINFOHEADER* header) noexcept {
  if (!header || header->biWidth <= 0 || header->biHeight <= 0) return RECT{0, 0, 0, 0};
  return RECT{0, 0, header->biWidth, header->biHeight};
}

}  // namespace

void ClipProportional(RECT& r, const RECT& b, RECT& other) noexcept {
  if (r.left >= b.left && r.top >= b.top && r.right <= b.right && r.bottom <= b.bottom) return;
  if (IsEmpty(r) || r.left >= b.right || r.right <= b.left || r.top >= b.bottom || r.bottom <= b.top) {
    r = other = RECT{0, 0, 0, 0};
    return;
  }
  int64_t tl = static_cast<int64_t>(b.left) - r.left, tr = static_cast<int64_t>(r.right) - b.right;
  int64_t tt = static_cast<int64_t>(b.top) - r.top, tb = static_cast<int64_t>(r.bottom) - b.bottom;
  tl = tl > 0 ? tl : 0;
  tr = tr > 0 ? tr : 0;
  tt = tt > 0 ? tt : 0;
  tb = tb > 0 ? tb : 0;
  MoveInProportion(tl, tr, static_cast<int64_t>(r.right) - r.left, other.left, other.right);
  MoveInProportion(tt, tb, static_cast<int64_t>(r.bottom) - r.top, other.top, other.bottom);
  r.left += static_cast<LONG>(tl);
  r.right -= static_cast<LONG>(tr);
  r.top += static_cast<LONG>(tt);
  r.bottom -= static_cast<LONG>(tb);
}

void PrepareRectPair(const RECT& dstBounds, RECT& dst, const RECT& srcBounds, RECT& src, RECT* trims) noexcept {
  RECT given = src;
  ClipProportional(src, srcBounds, dst);
  ClipProportional(dst, dstBounds, src);
  if (trims) {
    if (IsEmpty(src) || IsEmpty(dst))
      *trims = RECT{0, 0, 0, 0};
    else
      *trims = RECT{src.left - given.left, src.top - given.top, given.right - src.right, given.bottom - src.bottom};
  }
}

HRESULT PrepareEqualPair(const RECT& dstBounds, const RECT* dstRect, const RECT& srcBounds, const RECT* srcRect,
                         RECT* dstOut, RECT* srcOut) noexcept {
  Span d = Wide(dstRect ? *dstRect : dstBounds), s = Wide(srcRect ? *srcRect : srcBounds);
  if (d.right - d.left != s.right - s.left || d.bottom - d.top != s.bottom - s.top) return E_INVALIDARG;
  Span dc = Meet(d, Wide(dstBounds)), sc = Meet(s, Wide(srcBounds));
  if (Empty(dc) || Empty(sc)) return S_FALSE;
  // The clipped source, carried through the offset between the two
  // rectangles as given, meets the clipped destination; the source follows.
  int64_t dx = d.left - s.left, dy = d.top - s.top;
  Span fd = Meet(Span{sc.left + dx, sc.top + dy, sc.right + dx, sc.bottom + dy}, dc);
  if (Empty(fd)) return S_FALSE;
  *dstOut = Narrow(fd);
  *srcOut = Narrow(Span{fd.left - dx, fd.top - dy, fd.right - dx, fd.bottom - dy});
  return S_OK;
}

int ChannelOffset(int channel, int bytesPerPixel) noexcept {
  if (channel < 0 || channel > 3) return 0;
  return channel * (bytesPerPixel / 4);
}

}  // namespace zq::dib

using namespace zq::dib;

ZQAPI void WINAPI ZqDibPrepareRects(const BITMAPINFOHEADER* dstHeader, RECT* dstOut, const RECT* dstRect,
                                    const BITMAPINFOHEADER* srcHeader, RECT* srcOut, const RECT* srcRect,
                                    RECT* srcTrims) noexcept {
  RECT dstBounds = HeaderBounds(dstHeader), srcBounds = HeaderBounds(srcHeader);
  RECT dst = dstRect ? *dstRect : dstBounds, src = srcRect ? *srcRect : srcBounds;
  PrepareRectPair(dstBounds, dst, srcBounds, src, srcTrims);
  if (dstOut) *dstOut = dst;
  if (srcOut) *srcOut = src;
}

ZQAPI HRESULT WINAPI ZqDibPrepareSet(int* width, int* height, BYTE** first, BYTE* base, const RECT* bounds, int stride,
                                     const RECT* rect, int bytesPerPixel) noexcept {
  if (!bounds || !width || !height || !first) return E_POINTER;
  RECT r = Intersect(rect ? *rect : *bounds, *bounds);
  if (IsEmpty(r)) return S_OK;
  // A region with pixels needs memory to address them in.
  if (!base) return E_POINTER;
  *width = r.right - r.left;
  *height = r.bottom - r.top;
  *first = base + static_cast<ptrdiff_t>(bytesPerPixel) * r.left + static_cast<ptrdiff_t>(stride) * r.top;
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqDibPrepareCopy(int* width, int* height, BYTE** srcFirst, BYTE** dstFirst, BYTE* dstBase,
                                      const RECT* dstBounds, int dstStride, const RECT* dstRect, const BYTE* srcBase,
                                      const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                      int bytesPerPixel) noexcept {
  if (!width || !height || !srcFirst) return E_POINTER;
  *width = *height = 0;
  *srcFirst = nullptr;
  if (dstFirst) *dstFirst = nullptr;
  if (!dstBounds || !srcBounds) return E_POINTER;
  RECT d, s;
  HRESULT hr = PrepareEqualPair(*dstBounds, dstRect, *srcBounds, srcRect, &d, &s);
  if (hr != S_OK) return hr == S_FALSE ? S_OK : hr;
  if (!srcBase || (dstFirst && !dstBase)) return E_POINTER;
  *width = d.right - d.left;
  *height = d.bottom - d.top;
  *srcFirst = const_cast<BYTE*>(srcBase) + static_cast<ptrdiff_t>(srcStride) * s.top +
              static_cast<ptrdiff_t>(bytesPerPixel) * s.left;
  if (dstFirst)
    *dstFirst = dstBase + static_cast<ptrdiff_t>(dstStride) * d.top + static_cast<ptrdiff_t>(bytesPerPixel) * d.left;
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqDibPrepareTransform(RECT* finalSrc, int* width, int* height, int* srcOffset, int* dstOffset,
                                           int dstBase, const RECT* dstBounds, int dstRowStep, const RECT* dstRect,
                                           int srcBase, const RECT* srcBounds, int srcRowStep, const RECT* srcRect,
                                           int columnStep) noexcept {
  if (!finalSrc || !width || !height || !srcOffset || !dstBounds || !srcBounds) return E_POINTER;
  *width = *height = *srcOffset = 0;
  if (dstOffset) *dstOffset = 0;
  RECT d, s;
  HRESULT hr = PrepareEqualPair(*dstBounds, dstRect, *srcBounds, srcRect, &d, &s);
  if (hr != S_OK) return hr == S_FALSE ? S_OK : hr;
  *finalSrc = s;
  *width = d.right - d.left;
  *height = d.bottom - d.top;
  *srcOffset = srcBase + srcRowStep * s.top + columnStep * s.left;
  if (dstOffset) *dstOffset = dstBase + dstRowStep * d.top + columnStep * d.left;
  return S_OK;
}

ZQAPI HRESULT WINAPI DibPreparePluginParam(ZQPLUGINPARAM* record, BITMAPINFOHEADER* dstHeader, void* dstBits,
                                           const RECT* dstRect, int dstStride, BITMAPINFOHEADER* srcHeader,
                                           void* srcBits, const RECT* srcRect, int srcStride, DWORD user, BOOL* isFloat,
                                           BOOL* nothingToDo) noexcept {
  if (isFloat) *isFloat = FALSE;
  if (nothingToDo) *nothingToDo = FALSE;
  if (!record || !dstHeader || !srcHeader) return E_POINTER;
  std::memset(record, 0, sizeof(*record));
  int type = ZqGetPixelType(dstHeader);
  if (type != ZqGetPixelType(srcHeader) ||
      (type != ZqPixel_Rgb32 && type != ZqPixel_Rgba32 && type != ZqPixel_RgbaFloat))
    return E_INVALIDARG;
  Image dst, src;
  if (FAILED(OpenImage(dstHeader, dstBits, dstStride, &dst)) || FAILED(OpenImage(srcHeader, srcBits, srcStride, &src)))
    return E_INVALIDARG;
  if (isFloat) *isFloat = type == ZqPixel_RgbaFloat;
  RECT d = dstRect ? *dstRect : dst.Bounds(), s = srcRect ? *srcRect : src.Bounds(), trims;
  PrepareRectPair(dst.Bounds(), d, src.Bounds(), s, &trims);
  if (IsEmpty(d) || IsEmpty(s)) {
    if (nothingToDo) *nothingToDo = TRUE;
    return S_OK;
  }
  if (d.right - d.left != s.right - s.left || d.bottom - d.top != s.bottom - s.top) return E_INVALIDARG;
  int bytes = dst.bpp / 8;
  record->dstHeader = dstHeader;
  record->dstBits = dst.bits;
  record->dstFirst = dst.Row(d.bottom - 1) + static_cast<ptrdiff_t>(bytes) * d.left;
  record->dstRectStore = d;
  record->dstRect = &record->dstRectStore;
  record->dstWidth = d.right - d.left;
  record->dstHeight = d.bottom - d.top;
  record->dstStride = dst.stride;
  record->srcHeader = srcHeader;
  record->srcBits = src.bits;
  record->srcFirst = src.Row(s.bottom - 1) + static_cast<ptrdiff_t>(bytes) * s.left;
  record->srcRectStore = s;
  record->srcRect = &record->srcRectStore;
  record->srcWidth = s.right - s.left;
  record->srcHeight = s.bottom - s.top;
  record->srcStride = src.stride;
  record->trimLeft = trims.left;
  record->trimTop = trims.top;
  record->trimRight = trims.right;
  record->trimBottom = trims.bottom;
  record->user = user;
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqXCHGGetFunctionPointers(int dstType, int srcType, DWORD flags, ZQXCHGSET* set,
                                               const DWORD* blendBlock) noexcept {
  if (!set) return E_POINTER;
  return PrepareExchange(dstType, srcType, flags, set, blendBlock);
}
