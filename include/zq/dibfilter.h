/// @file
/// Image filters: 3 x 3 neighbourhoods, channel blur, bi-level dither and
/// the field operations on raw buffers (4-byte 8-bit or 16-byte float
/// pixels, first image the destination, regions prepared as for
/// ZqDibCopyUnscaled; row y of a buffer lies at base + y x stride), and the
/// header operations de-interlacing copy, field merge and palette
/// quantizer. Fields: field 1 is the picture rows 0, 2, 4, ... counted from
/// the top, field 0 the rows 1, 3, 5, ...
#pragma once
#include "zq/base.h"

/// (4 x centre + 2 x the four edge neighbours + the four corners) / 16 per
/// channel, alpha included; 8-bit results truncated.
ZQAPI HRESULT WINAPI ZqDibBlur(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                               const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                               int bytesPerPixel) ZQ_NOTHROW;
/// kernel: nine weights in row order (row before first). The weighted sum
/// is divided by the divisor, truncating toward zero, and held to 0..255 for
/// 8-bit channels; a divisor of 0 is E_INVALIDARG.
ZQAPI HRESULT WINAPI ZqDib3x3Convolution(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                         const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                                         const RECT* srcRect, int bytesPerPixel, const LONG* kernel,
                                         LONG divisor) ZQ_NOTHROW;
/// Fills the destination region with opaque black, then (8-bit pixels) the
/// source channel reduced by block averaging to (1 - amount) of the size,
/// at least 2 pixels, and enlarged bilinearly into the destination
/// channel. amount is held to 0..1.
ZQAPI HRESULT WINAPI ZqDibChannelBlur(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                      int dstChannel, const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                                      const RECT* srcRect, int srcChannel, int bytesPerPixel,
                                      double amount) ZQ_NOTHROW;
/// Floyd-Steinberg to black and white (8-bit pixels); the first and last
/// column and the last row of the region are not written.
ZQAPI HRESULT WINAPI ZqDibBiLevelDither(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                        const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                                        const RECT* srcRect, int bytesPerPixel) ZQ_NOTHROW;
/// In place: every row becomes (row before + 2 x row + row after) >> 2.
/// 8-bit pixels only (E_NOTIMPL otherwise).
ZQAPI HRESULT WINAPI ZqDibInterlaceFilter(BYTE* base, int width, int height, int stride, const RECT* rect,
                                          DWORD unused, int bytesPerPixel) ZQ_NOTHROW;
/// Copies the rows of `field` and makes each row of the other field the
/// average of the source rows before and after it. Rectangles as for
/// ZqDibCopy; they must have equal sizes (E_NOTIMPL otherwise).
ZQAPI HRESULT WINAPI ZqDibCopyInterlace(BITMAPINFOHEADER* dstHeader, void* dstBits, const RECT* dstRect,
                                        int dstStride, const BITMAPINFOHEADER* srcHeader, const void* srcBits,
                                        const RECT* srcRect, int srcStride, int field, DWORD flags) ZQ_NOTHROW;
/// Copies the rows of `field` of an image with the same bit count, width
/// and height (E_NOTIMPL otherwise), every byte of each row.
ZQAPI HRESULT WINAPI ZqDibMergeFields(BITMAPINFOHEADER* dstHeader, void* dstBits, int dstStride,
                                      const BITMAPINFOHEADER* srcHeader, const void* srcBits, int srcStride,
                                      int field, DWORD unused) ZQ_NOTHROW;
/// Builds the colour table of a Pal4 or Pal8 image (biClrUsed entries)
/// from the colours of the source region by the box search. Each covering
/// trial starts from a clean set of marks.
ZQAPI HRESULT WINAPI ZqDibQuantizePalette(BITMAPINFOHEADER* paletteHeader, const BITMAPINFOHEADER* srcHeader,
                                          const void* srcBits, const RECT* rect, int srcStride,
                                          DWORD flags) ZQ_NOTHROW;
/// Not implemented: always E_NOTIMPL.
ZQAPI HRESULT WINAPI ZqDibLine(BYTE* base, const RECT* bounds, int stride, const RECT* rect, int bytesPerPixel,
                               int x1, int y1, int x2, int y2, float red, float green, float blue, float alpha,
                               DWORD flags) ZQ_NOTHROW;
/// Not implemented: always E_NOTIMPL.
ZQAPI HRESULT WINAPI ZqDibChannelLine(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                      int bytesPerPixel, int channel, int x1, int y1, int x2, int y2, float value,
                                      DWORD flags, DWORD reserved1, DWORD reserved2, DWORD reserved3,
                                      DWORD reserved4) ZQ_NOTHROW;
