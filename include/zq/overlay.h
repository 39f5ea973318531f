/// @file
/// Image engine: compositing of two raw pixel buffers (over, under, alpha
/// blends, cross-fades, custom and field blends, sub-pixel accumulation),
/// one-buffer operations (blend with a colour, premultiplication and its
/// repairs, alpha preparation), the fade to a colour on an image block, and
/// the registry of the ten overlay compositors.
///
/// Raw buffers are (base, bounds, stride, rectangle or null) as in dib.h;
/// 4 bytes per pixel means 8-bit blue, green, red, alpha, any other value
/// 16-byte float pixels. The first buffer is the destination, changed in
/// place. The two rectangles must have equal sizes; an empty region is
/// success with nothing changed.
///
/// The 8-bit arithmetic is this library's own and is kept exactly as
/// stored images and peers expect it; it is not the textbook compositing:
/// - x / 256 below is signed, truncating toward zero; x / 255 and
///   x / 16384 truncate toward zero.
/// - over:  c = d + ((s - d) x sA) / 256 for blue, green and red, and
///          alpha = dA + (sA x (sA - dA)) / 256 (half-transparent over
///          opaque gives 192, not 255).
/// - under: c = s + (dA x (d - s)) / 256, alpha = sA + (dA x (dA - sA)) / 256.
/// - premultiply: c x A >> 8 (alpha 255 maps 255 to 254).
/// - absolute alpha blend: w = trunc(weight x 255 + 0.5); relative alpha
///   blend: w = trunc(weight x 255), t = (sA x w) >> 8; both d + (w or t) x
///   (s - d) / 256 on all four channels (weight 0.5 gives 128 and 127).
/// - cross-fade: (b x s + a x d) / 16384 held to 255, a and b the weights
///   x 16384.
/// Weights (blends, cross-fade, accumulate, colours) are held to 0..1
/// before use, NaN as 0, so no sum can wrap and no byte is stored wrapped.
#pragma once
#include "zq/dib.h"

// ---- overlay compositors ---------------------------------------------------
///@{
/// Opacity: the low 8 bits of the integer are used. The describe function
/// copies the display name (at most length - 1 characters and a terminator,
/// nothing when length is 0 or the buffer null), writes the GUID when given
/// one and returns 0.
typedef void(WINAPI* ZQOVERLAYPIXELPROC)(ZQRGBA* dst, const ZQRGBA* src, int opacity);
typedef void(WINAPI* ZQOVERLAYROWPROC)(ZQRGBA* dst, const ZQRGBA* src, int opacity, int count);
typedef HRESULT(WINAPI* ZQOVERLAYDESCRIBEPROC)(LPWSTR name, int length, GUID* guid);
/// An overlay compositor: its pixel and row functions and its description.
typedef struct tZQOVERLAY {
  ZQOVERLAYPIXELPROC pixel;  ///< one pixel
  ZQOVERLAYROWPROC row;  ///< groups of four pixels, then the rest
  ZQOVERLAYDESCRIBEPROC describe;  ///< name and GUID
} tZQOVERLAY;
///@}

/// Registry order: 0 Cut, 1 Screen, 2 Overlay, 3 Hard Light, 4 Dodge,
/// 5 Burn, 6 Darken, 7 Lighten, 8 Difference, 9 Difference Squared.
/// o is the opacity; mix(v) = (v x o + d x (255 - o)) / 255 per colour
/// channel for all but Dodge and Burn; sumA = min(255, sA + dA).
/// Overlay and Hard Light compute the upper branch as 255 + 2 x (255 - s) x
/// (d - 255) / 255, the quotient truncated toward zero.
#define ZQOVERLAY_COUNT 10
/// The number of overlay compositors (ZQOVERLAY_COUNT).
ZQAPI int WINAPI ZqOverlay_GetCompositorCount(void) ZQ_NOTHROW;
/// Compositor `index` in registry order; null outside 0..9.
ZQAPI const tZQOVERLAY* WINAPI ZqOverlay_GetCompositor(int index) ZQ_NOTHROW;
/// Nonzero when the index is valid and its GUID was written.
ZQAPI BOOL WINAPI ZqOverlay_GetCompositorGUID(int index, GUID* guid) ZQ_NOTHROW;
/// The entry whose GUID equals `guid` byte for byte, or null. Exported
/// under this plain name; C++ callers may use the overload below.
ZQAPI const tZQOVERLAY* WINAPI ZqOverlay_GetCompositorByGUID(REFGUID guid) ZQ_NOTHROW;
/// The registry index of the compositor with this GUID, or -1.
ZQAPI int WINAPI ZqOverlay_GetCompositorIndex(REFGUID guid) ZQ_NOTHROW;
#ifdef __cplusplus
/// C++: ZqOverlay_GetCompositorByGUID.
inline const tZQOVERLAY* ZqOverlay_GetCompositor(REFGUID guid) noexcept { return ZqOverlay_GetCompositorByGUID(guid); }
#endif

// ---- two-buffer blends -----------------------------------------------------------
/// Matte colour: blue, green, red as doubles (8-bit: trunc(value x 255)
/// held to 0..255). With it over gives s + (d - m) + ((m - d) x sA) / 256,
/// held to 0..255, alpha unchanged.
ZQAPI HRESULT WINAPI ZqDibOver(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                               const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                               int bytesPerPixel, const double* matte) ZQ_NOTHROW;
/// The destination laid over the source, weighted by the destination's
/// alpha. The region preparation's status.
ZQAPI HRESULT WINAPI ZqDibUnder(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                int bytesPerPixel) ZQ_NOTHROW;
/// Blends the source into the destination with a fixed weight (0..1). The
/// region preparation's status.
ZQAPI HRESULT WINAPI ZqDibAbsoluteAlphaValueBlend(BYTE* dstBase, const RECT* dstBounds, int dstStride,
                                                  const RECT* dstRect, const BYTE* srcBase, const RECT* srcBounds,
                                                  int srcStride, const RECT* srcRect, int bytesPerPixel,
                                                  double weight) ZQ_NOTHROW;
/// Blends the source into the destination with the source's alpha scaled by
/// a weight (0..1). The region preparation's status.
ZQAPI HRESULT WINAPI ZqDibRelativeAlphaValueBlend(BYTE* dstBase, const RECT* dstBounds, int dstStride,
                                                  const RECT* dstRect, const BYTE* srcBase, const RECT* srcBounds,
                                                  int srcStride, const RECT* srcRect, int bytesPerPixel,
                                                  double weight) ZQ_NOTHROW;
/// Per-pixel callback of ZqDibCustomBlend: destination and source pixel addresses and the user value.
typedef void(WINAPI* ZQBLENDPROC)(BYTE* dstPixel, const BYTE* srcPixel, DWORD_PTR user);
/// E_POINTER for a null function.
ZQAPI HRESULT WINAPI ZqDibCustomBlend(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                      const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                      int bytesPerPixel, ZQBLENDPROC function, DWORD_PTR user) ZQ_NOTHROW;
/// destination x its weight + source x its weight, per channel (8-bit
/// channels capped at 255). The region preparation's status.
ZQAPI HRESULT WINAPI ZqDibWeightedCrossFade(BYTE* dstBase, const RECT* dstBounds, int dstStride,
                                            const RECT* dstRect, double dstWeight, const BYTE* srcBase,
                                            const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                            double srcWeight, int bytesPerPixel) ZQ_NOTHROW;
/// (4 x centre + 2 x edge neighbours + diagonal neighbours) / 16 of the
/// source, the region's edge rows and columns repeated outward.
ZQAPI HRESULT WINAPI ZqDibFieldBlend(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                     const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                     int bytesPerPixel) ZQ_NOTHROW;
/// Mode 3 only (2: E_NOTIMPL after the region is prepared; others at once).
/// The source is sampled at the destination position plus the offsets
/// (pixels), inside the source's bounds, with the safe bilinear samplers.
ZQAPI HRESULT WINAPI ZqDibAccumulate(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                     const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                     int mode, double weight, double offsetX, double offsetY,
                                     int bytesPerPixel) ZQ_NOTHROW;

// ---- one-buffer operations ----------------------------------------------------------
/// colour: blue, green, red, alpha (the weight), each held to 0..1.
ZQAPI HRESULT WINAPI ZqDibBlendWithColor(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                         int bytesPerPixel, const double* colour) ZQ_NOTHROW;
/// Multiplies every colour channel by alpha, in place. The region
/// preparation's status.
ZQAPI HRESULT WINAPI ZqDibPremultiply(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                      int bytesPerPixel) ZQ_NOTHROW;
/// Each colour channel becomes min(c, A).
ZQAPI HRESULT WINAPI ZqDibPatchPreMultiplied(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                             int bytesPerPixel) ZQ_NOTHROW;
/// matte: blue, green, red as floats. With a matte whose sum is above 0,
/// 8-bit colour channels become clamp(c - m + (A x m) / 256, 0, A) and float
/// pixels are left alone; without one, the same as ZqDibPatchPreMultiplied.
/// `unused` is accepted and not read.
ZQAPI HRESULT WINAPI ZqDibPrepAlphaImage(BYTE* base, const RECT* bounds, int stride, const RECT* rect, int unused,
                                         const float* matte, int bytesPerPixel) ZQ_NOTHROW;
/// Mode 0 or -1: alpha set to 1; 1: premultiply; 2, 3: ZqDibPrepAlphaImage;
/// 0 for those modes, E_NOTIMPL for the others.
ZQAPI HRESULT WINAPI ZqDibPrepAlpha(BYTE* base, int width, int height, int stride, const RECT* rect, int mode,
                                    const float* matte, int bytesPerPixel) ZQ_NOTHROW;

// ---- image blocks ----------------------------------------------------------------------------
/// Rgb32, Rgba32 and RgbaFloat only (E_NOTIMPL otherwise). amount is held
/// to 0..1; colourOnly leaves alpha alone; ZQDIB_SUBPIXEL in flags: the
/// rectangle is in 18.14 units and its partly covered edge pixels fade in
/// proportion. 0.
ZQAPI HRESULT WINAPI ZqDibFadeToColor(BITMAPINFOHEADER* header, void* bits, const RECT* rect, int stride,
                                      ZQRGBAFLOAT colour, float amount, BOOL colourOnly, DWORD flags) ZQ_NOTHROW;
