/// @file
/// Image engine: the floating-point hue/saturation/lightness model on the
/// pixel records, look-up tables on raw-buffer regions, desaturation, the
/// gamma transfer functions that linearise 8-bit images into float images
/// and back, and the broadcast-safe ("hot") colour checks of NTSC and PAL.
///
/// HSL values are doubles in 0..1 (hue: each sixth one sextant, red,
/// yellow, green, cyan, blue, magenta). Conversions to integers hold the
/// value to range in the float domain first (NaN as 0), then truncate.
#pragma once
#include "zq/dib.h"

// ---- HSL ------------------------------------------------------------------------
/// Lightness (max + min) / 2; saturation d / (max + min) up to lightness
/// 0.5, else d / (2 - max - min); alpha copied. The 8-bit forms read
/// channels x 1/255 and store trunc(value x 255).
ZQAPI void WINAPI ZQRGBA_To_ZQHSL(ZQHSL* out, ZQRGBA colour) ZQ_NOTHROW;
/// As ZQRGBA_To_ZQHSL, from a float colour.
ZQAPI void WINAPI ZQRGBAFLOAT_To_ZQHSL(ZQHSL* out, ZQRGBAFLOAT colour) ZQ_NOTHROW;
/// As ZQRGBA_To_ZQHSL, from a float pixel record.
ZQAPI void WINAPI ZQDIBPIXEL_To_ZQHSL(ZQHSL* out, ZQDIBPIXEL colour) ZQ_NOTHROW;
/// The 8-bit colour of an HSL value (alpha kept).
ZQAPI void WINAPI ZQHSL_To_ZQRGBA(ZQRGBA* out, ZQHSL hsl) ZQ_NOTHROW;
/// As ZQHSL_To_ZQRGBA, to a float colour.
ZQAPI void WINAPI ZQHSL_To_ZQRGBAFLOAT(ZQRGBAFLOAT* out, ZQHSL hsl) ZQ_NOTHROW;
/// As ZQHSL_To_ZQRGBA, to a float pixel record.
ZQAPI void WINAPI ZQHSL_To_ZQDIBPIXEL(ZQDIBPIXEL* out, ZQHSL hsl) ZQ_NOTHROW;

// ---- look-up tables on raw buffers (4-byte or 16-byte pixels) ---------------------
/// Tables are 256 bytes (table8 set) or 65536 WORDs. 8-bit pixels read a
/// byte table at the channel value, a WORD table at value x 257 (its high
/// byte stored). Float pixels read index trunc(value x 255) or
/// trunc(value x 65535), held to the table, and store entry / 255 or
/// entry / 65535. With `premultiplied`, alpha is mapped first (when
/// `alpha` is set) and each colour channel is then limited to it.
ZQAPI HRESULT WINAPI ZqDibSingleLUT(BYTE* base, const RECT* bounds, int stride, const RECT* rect, int bytesPerPixel,
                                    const void* table, BOOL table8, BOOL alpha, BOOL premultiplied) ZQ_NOTHROW;
/// A null table leaves its channel unchanged.
ZQAPI HRESULT WINAPI ZqDibPerChannelLUT(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                        int bytesPerPixel, const void* red, const void* green, const void* blue,
                                        const void* alpha, BOOL table8) ZQ_NOTHROW;
/// Grey (blue + green + red) / 3 (float: x 0.33333334), or with `hsl` the
/// HSL lightness at saturation 0; limited to alpha.
ZQAPI HRESULT WINAPI ZqDibDesaturate(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                     int bytesPerPixel, BOOL hsl) ZQ_NOTHROW;

// ---- transfer functions ----------------------------------------------------------------
/// 0: x^(1/0.45) | x^0.45; 1: x^2.8 | x^(1/2.8); 2: ITU-R BT.709;
/// 3: SMPTE 240M; 4: identity; 5: x^(1/g) both ways (gamma 0 taken as 1).
/// Decoding (to linear) | encoding (from linear).
#define ZQTRANSFER_COUNT 6
/// Source Rgb32 or Rgba32, destination RgbaFloat, equal rectangles (else
/// E_INVALIDARG, also for a transfer number outside 0..5); every byte,
/// alpha included, becomes the decoded value.
ZQAPI HRESULT WINAPI ZqDibLinearize_ZQRGBAFLOAT_From_RGBA(BITMAPINFOHEADER* dstHeader, void* dstBits,
                                                         const RECT* dstRect, int dstStride,
                                                         const BITMAPINFOHEADER* srcHeader, const void* srcBits,
                                                         const RECT* srcRect, int srcStride, int transfer,
                                                         double gamma) ZQ_NOTHROW;
/// In place on an RgbaFloat image, all four channels; with `table`, through
/// a 256-entry table at index trunc(value x 255) held to 0..255. Other types
/// are left unchanged. 0.
ZQAPI HRESULT WINAPI ZqDibApplyTransferFunc_ZQRGBAFLOAT(BITMAPINFOHEADER* header, void* bits, const RECT* rect,
                                                       int stride, int transfer, double gamma,
                                                       BOOL table) ZQ_NOTHROW;

// ---- broadcast-safe checks ----------------------------------------------------------------
/// BT.709-encoded colour through the YIQ or YUV matrix; hot when
/// (L - Y)^2 < C1^2 + C2^2 with L = 1.2162163 (NTSC, 7.5 % set-up) or 1.2
/// (PAL). The plain checks return 1 when hot; the Return forms bring a hot
/// colour's composite peak down to 1.15 (chroma scaled, at most by 1),
/// return 1, and leave other colours untouched (0). Alpha is kept.
ZQAPI BOOL WINAPI HotCheckNTSCYIQ(const ZQRGBAFLOAT* colour) ZQ_NOTHROW;
/// NTSC (YUV matrix): 1 when the colour is hot, else 0.
ZQAPI BOOL WINAPI HotCheckNTSCYUV(const ZQRGBAFLOAT* colour) ZQ_NOTHROW;
/// PAL (YUV matrix): 1 when the colour is hot, else 0.
ZQAPI BOOL WINAPI HotCheckPALYUV(const ZQRGBAFLOAT* colour) ZQ_NOTHROW;
/// NTSC (YIQ matrix): brings a hot colour down to the limit and returns 1; 0 (unchanged) otherwise.
ZQAPI BOOL WINAPI HotCheckNTSCYIQReturn(ZQRGBAFLOAT* colour) ZQ_NOTHROW;
/// NTSC (YUV matrix): brings a hot colour down to the limit and returns 1; 0 (unchanged) otherwise.
ZQAPI BOOL WINAPI HotCheckNTSCYUVReturn(ZQRGBAFLOAT* colour) ZQ_NOTHROW;
/// PAL (YUV matrix): brings a hot colour down to the limit and returns 1; 0 (unchanged) otherwise.
ZQAPI BOOL WINAPI HotCheckPALYUVReturn(ZQRGBAFLOAT* colour) ZQ_NOTHROW;
