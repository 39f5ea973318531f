/// @file
/// Image engine: pixel types, image blocks (packed device-independent
/// bitmaps), single-pixel access, regions, format-converting copy and fill,
/// the raw 4- and 16-byte-pixel buffer family and the single-sample
/// bilinear samplers.
///
/// Image blocks hold a BITMAPINFOHEADER, then three bit masks (compression
/// BI_BITFIELDS) or a colour table, then the pixel rows: bottom-up, each row
/// padded to four bytes. Coordinates are measured from the top-left corner
/// of the picture. Headers with a negative height (top-down rows) are not
/// supported: ZqGetPixelType returns 0 for them and every operation refuses
/// them like any other unsupported type.
#pragma once
#include "zq/base.h"

// ---- pixel types ------------------------------------------------------
///@{
/// The values are part of the interface. 16..22 form the single-channel
/// group, 23..32 the colour group.
enum {
  ZqPixel_Unsupported = 0,
  ZqPixel_Mono1 = 16,
  ZqPixel_Gray1 = 17,
  ZqPixel_Gray2 = 18,
  ZqPixel_Gray4 = 19,
  ZqPixel_Gray8 = 20,
  ZqPixel_Gray16 = 21,
  ZqPixel_GrayFloat = 22,
  ZqPixel_Pal4 = 23,
  ZqPixel_Pal8 = 24,
  ZqPixel_Rgb555 = 25,
  ZqPixel_Rgb565 = 26,
  ZqPixel_Rgb24 = 27,
  ZqPixel_Rgb32 = 28,
  ZqPixel_Rgba32 = 29,
  ZqPixel_Rgb30 = 30,
  ZqPixel_Rgba64 = 31,
  ZqPixel_RgbaFloat = 32,
};
#define ZQPIXEL_FIRST 16
#define ZQPIXEL_LAST 32
///@}

///@{
/// FourCC codes kept in biCompression (first character in the lowest byte).
#define ZQDIB_FOURCC_RGBA 0x4244515Au /**< "ZQDB" */
#define ZQDIB_FOURCC_GRAY 0x5347515Au /**< "ZQGS" */
///@}

// ---- pixel records (blue, green, red, alpha order) --------------------
/// An 8-bit pixel.
typedef struct ZQRGBA {
  ///@{
  /// channels, 0 to 255
  BYTE blue, green, red, alpha;
  ///@}
} ZQRGBA;
/// A float pixel, channels nominally 0.0 to 1.0.
typedef struct ZQRGBAFLOAT {
  ///@{
  /// channels
  float blue, green, red, alpha;
  ///@}
} ZQRGBAFLOAT;
/// A float pixel record, the same layout and range as ZQRGBAFLOAT.
typedef struct ZQDIBPIXEL {
  ///@{
  /// channels
  float blue, green, red, alpha;
  ///@}
} ZQDIBPIXEL;
/// Hue, saturation, lightness and alpha, each 0.0 to 1.0.
typedef struct ZQHSL {
  ///@{
  /// components
  double hue, saturation, lightness, alpha;
  ///@}
} ZQHSL;
/// The working pixel every conversion goes through: full intensity 65535.
typedef struct ZQWIDEPIXEL {
  ///@{
  /// channels, 0 to 65535
  WORD blue, green, red, alpha;
  ///@}
} ZQWIDEPIXEL;

/// The block ZqPixelTypeToBitAttribs fills (64 bytes).
typedef struct ZQPIXELATTRIBS {
  DWORD size;     ///< 64
  DWORD flags;    ///< 4096 for types 17..22, else 0xFFFFFFFF
  DWORD zero;     ///< 0
  LONG minusOne;  ///< -1
  double low;     ///< 0.0
  double high;    ///< 1.0
  BYTE reserved[32];  ///< reserved, zero
} ZQPIXELATTRIBS;

// ---- copy and set flags -------------------------------------------------
#define ZQDIB_QUALITY_MASK    0x0000000Fu  ///< quality level 1..4
#define ZQDIB_FEATHER_TOP     0x00001000u  ///< edge at the last stored row
#define ZQDIB_FEATHER_BOTTOM  0x00002000u  ///< edge at the first stored row
#define ZQDIB_FEATHER_LEFT    0x00004000u  ///< feather the left edge
#define ZQDIB_FEATHER_RIGHT   0x00008000u  ///< feather the right edge
#define ZQDIB_FEATHER_MASK    0x0000F000u  ///< every feather edge
#define ZQDIB_PARAM_MASK      0x00FF0000u  ///< byte parameter; feather width in source pixels
#define ZQDIB_PARAM_SHIFT     16  ///< shift of the byte parameter
#define ZQDIB_SUBPIXEL        0x01000000u  ///< rectangles in 18.14 units
#define ZQDIB_SHRINK_FILTER   0x02000000u  ///< first scaler option
#define ZQDIB_BICUBIC         0x04000000u  ///< scale with the bicubic kernels instead of the bilinear ones
#define ZQDIB_REPLACE_EDGES   0x08000000u  ///< second scaler option

///@{
/// Selector bits the exchange set keeps (quality 1..4 map to 0x180, 0x1C0,
/// 0x1E0, 0x1F0).
#define ZQXCHG_WIDE           0x00000010u  ///< 16-bit working pixel
#define ZQXCHG_EXACT          0x00000020u  ///< 8-bit channels x 257 instead of x 256
#define ZQXCHG_ALT_BLEND      0x00000040u
#define ZQXCHG_ALT_BLEND2     0x00000080u
#define ZQXCHG_QUALITY_BIT    0x00000100u
///@}

// ---- the exchange set ----------------------------------------------------
///@{
/// Readers fill `work` from the source cursor and advance it by one pixel
/// (four for the four-pixel forms); writers pack `work` at the destination
/// cursor and advance it. Without ZQXCHG_WIDE the working pixels are the
/// 8-bit `narrow` form. Blend operation 3 mixes work[1] into work[0] with
/// weight blend[1] (0..65535): work[0] += (work[1] - work[0]) * weight / 65535.
typedef struct ZQXCHGSET ZQXCHGSET;
/// A reader, writer or blend operation of an exchange set.
typedef void(WINAPI* ZQXCHGPROC)(ZQXCHGSET* set);
struct ZQXCHGSET {
  DWORD flags;   ///< effective flags (selector bits applied)
  int srcType;  ///< source pixel type
  int dstType;  ///< destination pixel type
  ///@{
  /// writers of one and of four pixels
  ZQXCHGPROC write1, write4;
  ///@}
  ///@{
  /// readers of one and of four pixels
  ZQXCHGPROC read1, read4;
  ///@}
  ZQXCHGPROC read2x2;     ///< work[0..3] = pixel, right, below, below-right
  ZQXCHGPROC readInterp;  ///< work[0] = 2x2 block weighted by fracX, fracY
  ZQXCHGPROC blend[4];  ///< blend operations
  DWORD param;  ///< flag bits 16..23
  union {
    ZQWIDEPIXEL wide[4];
    ZQRGBA narrow[4];
  } work;  ///< the working pixels
  BYTE* src;  ///< source cursor
  int srcBit;  ///< bit offset at the source cursor (sub-byte types)
  BYTE* dst;  ///< destination cursor
  int dstBit;  ///< bit offset at the destination cursor
  ///@{
  /// 14-bit fractions of the interpolating reader
  int fracX, fracY;
  ///@}
  int nextRow;       ///< bytes from a source pixel to the one below
  const RGBQUAD* srcTable;  ///< colour table of a palette source
  int srcTableCount;        ///< its entries; indices beyond read as black
  const BYTE* quantizer;    ///< ColorQuantizer of a palette destination
  DWORD blendBlock[7];  ///< the blend operations' state
};
///@}

// ---- two-image parameter record for plug-in kernels -----------------------
/// Two images prepared for a plug-in kernel (DibPreparePluginParam).
typedef struct ZQPLUGINPARAM {
  BITMAPINFOHEADER* dstHeader;  ///< destination image
  BYTE* dstBits;  ///< its bits
  BYTE* dstFirst;  ///< first stored row of the clipped destination rectangle
  int dstBitOffset;  ///< bit offset of the first pixel
  const RECT* dstRect;  ///< points at dstRectStore below
  ///@{
  /// size of the clipped destination rectangle, and the stride
  int dstWidth, dstHeight, dstStride;
  ///@}
  BITMAPINFOHEADER* srcHeader;  ///< source image
  BYTE* srcBits;  ///< its bits
  BYTE* srcFirst;  ///< first stored row of the clipped source rectangle
  int srcBitOffset;  ///< bit offset of the first pixel
  const RECT* srcRect;  ///< points at srcRectStore below
  ///@{
  /// size of the clipped source rectangle, and the stride
  int srcWidth, srcHeight, srcStride;
  ///@}
  ///@{
  /// pixels clipped off each edge
  int trimLeft, trimTop, trimRight, trimBottom;
  ///@}
  DWORD user;  ///< caller's value
  DWORD zero;  ///< zero
  ///@{
  /// The clipped rectangles the two references point at: they live as long
  /// as the record does.
  RECT dstRectStore, srcRectStore;
  ///@}
} ZQPLUGINPARAM;

/// Per-channel callback of ZqDibChannelInPlaceOp: the channel's address and the user value.
typedef void(WINAPI* ZQCHANNELPROC)(void* channel, DWORD_PTR user);
/// Per-channel callback of ZqDibChannelOp: destination and source channel addresses and the user value.
typedef void(WINAPI* ZQCHANNELPAIRPROC)(void* dstChannel, const void* srcChannel, DWORD_PTR user);

// ---- pixel types and image blocks -------------------------------------------
/// Pixel type (int, 0 if unsupported). Reads `biCompression` and `biBitCount`, and for compression
/// 3 counts the bits of the three masks with `ZqCountBits`.
ZQAPI int WINAPI ZqGetPixelType(const BITMAPINFOHEADER* header) ZQ_NOTHROW;
/// Bits per pixel of a pixel type; writes its four channel widths (blue, green, red, alpha) to
/// `bits4`. An unknown type writes zeros and returns 0.
ZQAPI int WINAPI ZqGetPixelBitsPerChannel(int type, BYTE* bits4) ZQ_NOTHROW;
/// Bits per pixel of a pixel type (0 for an unknown type); writes its compression code (0, 3 or the
/// library's FourCC) and, for the bit-field types, the red, green and blue masks. An attribute
/// block smaller than 64 bytes gives 0.
ZQAPI int WINAPI ZqPixelTypeToBitAttribs(int type, DWORD* compression, void* attribs, int attribsSize,
                                         DWORD* masks3) ZQ_NOTHROW;
/// Fills a header (and what follows it) for a new image. Returns `E_INVALIDARG` if the type is
/// unknown or the header pointer is null. After the header come the three masks of the bit-field
/// types, or the entries of a given colour table; without a table no entries are written, although
/// `biClrUsed` counts them.
ZQAPI HRESULT WINAPI ZqVideo_InitBitmapInfo(BITMAPINFOHEADER* header, int type, int width, int height,
                                            const RGBQUAD* table, int count, DWORD* imageSize) ZQ_NOTHROW;
/// Image dimensions are positive; stride x height and the whole block are
/// limited to 2 GB (E_INVALIDARG / E_OUTOFMEMORY beyond).
ZQAPI HRESULT WINAPI ZqDibAlloc(BITMAPINFOHEADER** block, int type, int width, int height, const RGBQUAD* table,
                                int count, DWORD flags) ZQ_NOTHROW;
#define ZQDIBALLOC_ZERO 0x1u  ///< ZqDibAlloc: zero the bits
/// Unlocks and frees a block from `ZqDibAlloc`; a null block is accepted. Returns 0.
ZQAPI HRESULT WINAPI ZqDibFree(void* block, DWORD flags) ZQ_NOTHROW;
/// Nonzero when `biCompression` is none of 0, 3, "ZQDB", "ZQGS", or when `ZqGetPixelType` returns
/// 0.
ZQAPI BOOL WINAPI ZqVideo_IsCompressed(const BITMAPINFOHEADER* header) ZQ_NOTHROW;
/// 0 -> "RGB", 3 -> "RGB (bitfields)", "ZQDB" -> "RGBA", "ZQGS" -> "Grayscale"; any other code is
/// written as its FourCC through `ZqFourCCToString`, for which the buffer must hold five characters
/// whatever the length says.
ZQAPI HRESULT WINAPI ZqVideo_GetFormatText(DWORD compression, LPWSTR text, int length) ZQ_NOTHROW;
/// Writes at most 30 characters ("%dx%dx%d" of width, height and bit count).
ZQAPI HRESULT WINAPI ZqVideo_GetAttribsText(const BITMAPINFOHEADER* header, LPWSTR text, int unused) ZQ_NOTHROW;
/// As ZqVideo_GetAttribsText (the other arguments are not used).
ZQAPI HRESULT WINAPI ZqVideo_GetAttribsTextEx(const BITMAPINFOHEADER* header, DWORD unused1, LPWSTR text,
                                              DWORD unused2, DWORD unused3) ZQ_NOTHROW;
/// Convert between the red-green-blue-flags order of a logical palette entry and the blue-green-
/// red-alpha order of `ZQRGBA`; the fourth byte of each output is set to 0. No status.
ZQAPI void WINAPI ZqVideo_PaletteRGBAFromEntry(ZQRGBA* out, const PALETTEENTRY* entries, int count) ZQ_NOTHROW;
/// The reverse of ZqVideo_PaletteRGBAFromEntry: `count` ZQRGBA colours to palette entries (flags 0).
ZQAPI void WINAPI ZqVideo_PaletteEntryFromRGBA(PALETTEENTRY* out, const ZQRGBA* colours, int count) ZQ_NOTHROW;
/// Reads one pixel, expanded with the exact (x 257) rule. Returns `E_NOTIMPL` for an unsupported
/// type and also when x or y lies outside the image.
ZQAPI HRESULT WINAPI ZqDibGetPixel(const BITMAPINFOHEADER* header, const void* bits, int stride, int x, int y,
                                   ZQWIDEPIXEL* pixel) ZQ_NOTHROW;
/// On a palette image the nearest entry is chosen through a colour
/// quantizer built for the call.
ZQAPI HRESULT WINAPI ZqDibSetPixel(BITMAPINFOHEADER* header, void* bits, int stride, int x, int y,
                                   const ZQWIDEPIXEL* pixel) ZQ_NOTHROW;
/// When the vertical flag is nonzero, reverses the order of rows in place by swapping whole stored
/// rows (stride bytes each) through a row-sized temporary.
ZQAPI HRESULT WINAPI ZqDibFlip(BITMAPINFOHEADER* header, void* bits, const RECT* rect, int stride, BOOL horizontal,
                               BOOL vertical) ZQ_NOTHROW;
/// Exchanges red and blue of every pixel of the clipped rows, in place: Rgb24, Rgb32 and Rgba32
/// images; E_NOTIMPL for every other type.
ZQAPI HRESULT WINAPI ZqDibSwapRB(BITMAPINFOHEADER* header, void* bits, const RECT* rect, int stride) ZQ_NOTHROW;
/// Takes no arguments, has no observable effect and returns 0.
ZQAPI HRESULT WINAPI ZqVideoDSP_ForceExternRef(void) ZQ_NOTHROW;
/// A 32768-byte inverse colour table (5:5:5 cell -> palette index); free it
/// with ZqDibFree.
ZQAPI HRESULT WINAPI ZqDibCreateColorQuantizer(BYTE** table, const BITMAPINFOHEADER* header) ZQ_NOTHROW;

// ---- regions ---------------------------------------------------------------------
/// Clips a source and a destination rectangle (null: the whole image) to their images, moving the
/// other rectangle in proportion. No result.
ZQAPI void WINAPI ZqDibPrepareRects(const BITMAPINFOHEADER* dstHeader, RECT* dstOut, const RECT* dstRect,
                                    const BITMAPINFOHEADER* srcHeader, RECT* srcOut, const RECT* srcRect,
                                    RECT* srcTrims) ZQ_NOTHROW;
/// Clips the rectangle (default: bounds) to the bounds; if the result is not empty, writes width,
/// height and base + bytes-per-pixel x left + stride x top.
ZQAPI HRESULT WINAPI ZqDibPrepareSet(int* width, int* height, BYTE** first, BYTE* base, const RECT* bounds,
                                     int stride, const RECT* rect, int bytesPerPixel) ZQ_NOTHROW;
/// Clips two equal-sized rectangles (null: the whole images) to their bounds and gives the start
/// addresses and the common size. S_OK; E_POINTER for a null output or bounds; E_INVALIDARG when
/// the sizes differ.
ZQAPI HRESULT WINAPI ZqDibPrepareCopy(int* width, int* height, BYTE** srcFirst, BYTE** dstFirst, BYTE* dstBase,
                                      const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                      const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                                      const RECT* srcRect, int bytesPerPixel) ZQ_NOTHROW;
/// As ZqDibPrepareCopy, giving offsets instead of addresses and writing the clipped source
/// rectangle back.
ZQAPI HRESULT WINAPI ZqDibPrepareTransform(RECT* finalSrc, int* width, int* height, int* srcOffset, int* dstOffset,
                                           int dstBase, const RECT* dstBounds, int dstRowStep, const RECT* dstRect,
                                           int srcBase, const RECT* srcBounds, int srcRowStep, const RECT* srcRect,
                                           int columnStep) ZQ_NOTHROW;
/// `E_POINTER` for a null record or header; both flags are set to 0 and the record cleared. Both
/// images must have the same pixel type, and it must be `Rgb32` or `Rgba32` (float flag 0) or
/// `RgbaFloat` (float flag 1), else `E_INVALIDARG`.
ZQAPI HRESULT WINAPI DibPreparePluginParam(ZQPLUGINPARAM* record, BITMAPINFOHEADER* dstHeader, void* dstBits,
                                           const RECT* dstRect, int dstStride, BITMAPINFOHEADER* srcHeader,
                                           void* srcBits, const RECT* srcRect, int srcStride, DWORD user,
                                           BOOL* isFloat, BOOL* nothingToDo) ZQ_NOTHROW;
/// Fills an exchange set with the reader and writer functions for two pixel types and a quality.
/// S_OK; E_INVALIDARG for a type outside 16 to 32.
ZQAPI HRESULT WINAPI ZqXCHGGetFunctionPointers(int dstType, int srcType, DWORD flags, ZQXCHGSET* set,
                                               const DWORD* blendBlock) ZQ_NOTHROW;

// ---- header operations ----------------------------------------------------------------
/// Converts between any two supported types and scales when the rectangles differ in size. Returns
/// 0, or the status of the chosen path.
ZQAPI HRESULT WINAPI ZqDibCopy(BITMAPINFOHEADER* dstHeader, void* dstBits, const RECT* dstRect, int dstStride,
                               const BITMAPINFOHEADER* srcHeader, const void* srcBits, const RECT* srcRect,
                               int srcStride, DWORD flags) ZQ_NOTHROW;
/// Fills the clipped rectangle with one colour; the four channel values are floats, nominally 0.0
/// to 1.0. With flag 0x1000000 the rectangle is in 18.14 units and is divided down to whole pixels.
/// `E_NOTIMPL` for an unsupported type; 0 for an empty rectangle.
ZQAPI HRESULT WINAPI ZqDibSet(BITMAPINFOHEADER* header, void* bits, const RECT* rect, int stride, float red,
                              float green, float blue, float alpha, DWORD flags) ZQ_NOTHROW;
/// `ZqDibSet` with the channels of a `ZQRGBAFLOAT` colour.
ZQAPI HRESULT WINAPI ZqDibFillRect(BITMAPINFOHEADER* header, void* bits, const RECT* rect, int stride,
                                   const ZQRGBAFLOAT* colour, DWORD flags) ZQ_NOTHROW;
/// Not implemented: always E_NOTIMPL.
ZQAPI HRESULT WINAPI ZqDibFillRectChannel(BITMAPINFOHEADER* header, void* bits, const RECT* rect, int stride,
                                          int channel, float value, DWORD flags) ZQ_NOTHROW;

// ---- raw buffers of 4-byte (8-bit) or 16-byte (float) pixels --------------------------------
/// Channel numbers: 0 blue, 1 green, 2 red, 3 alpha.
ZQAPI HRESULT WINAPI ZqDibCopyUnscaled(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                       const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                                       const RECT* srcRect, int bytesPerPixel) ZQ_NOTHROW;
/// For 4-byte pixels each value x 255 is clamped to 0...255 and truncated; for 16-byte pixels the
/// values are stored as floats unchanged; every pixel of the clipped rectangle gets the colour.
ZQAPI HRESULT WINAPI ZqDibSetUnscaled(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                      int bytesPerPixel, double red, double green, double blue,
                                      double alpha) ZQ_NOTHROW;
/// 4-byte pixels: value x 255, truncated and held to 0..255.
ZQAPI HRESULT WINAPI ZqDibChannelSet(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                     int bytesPerPixel, int channel, double value) ZQ_NOTHROW;
/// Copies one channel of each source pixel into a (possibly different) channel of the matching
/// destination pixel; one byte for 4-byte pixels, one float for 16-byte pixels.
ZQAPI HRESULT WINAPI ZqDibChannelCopyUnscaled(BYTE* dstBase, const RECT* dstBounds, int dstStride,
                                              const RECT* dstRect, int dstChannel, const BYTE* srcBase,
                                              const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                              int srcChannel, int bytesPerPixel) ZQ_NOTHROW;
/// Calls function(address of the channel in the pixel, user value) for every pixel of the clipped
/// rectangle, row by row, left to right.
ZQAPI HRESULT WINAPI ZqDibChannelInPlaceOp(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                           int bytesPerPixel, int channel, ZQCHANNELPROC function,
                                           DWORD_PTR user) ZQ_NOTHROW;
/// Calls function(destination channel address, source channel address, user value) for every pixel
/// pair. `E_POINTER` when the function is null.
ZQAPI HRESULT WINAPI ZqDibChannelOp(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                    int dstChannel, const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                                    const RECT* srcRect, int srcChannel, int bytesPerPixel,
                                    ZQCHANNELPAIRPROC function, DWORD_PTR user) ZQ_NOTHROW;

// ---- single-sample bilinear samplers (14-bit fractions, 18.14 positions) ----------------------
/// The bilinear sample of a 4-byte-pixel image at an 18.14 position, written to `out`; returns
/// `out`. No bounds checks.
ZQAPI BYTE* WINAPI ZqGetSubPixel32Fast(BYTE* out, const BYTE* topLeft, int stride, int fractionX,
                                       int fractionY) ZQ_NOTHROW;
/// As ZqGetSubPixel32Fast, for 16-byte (float) pixels.
ZQAPI float* WINAPI ZqGetSubPixel128Fast(float* out, const float* topLeft, int stride, int fractionX,
                                         int fractionY) ZQ_NOTHROW;
/// 1 when (x, y) lies in the image, else 0 with a zero pixel. x and y are 18.14 positions.
ZQAPI BOOL WINAPI ZqGetSubPixel32Safe(BYTE* out, const BYTE* base, int width, int height, int stride, int x,
                                      int y) ZQ_NOTHROW;
/// As ZqGetSubPixel32Safe, for 16-byte (float) pixels.
ZQAPI BOOL WINAPI ZqGetSubPixel128Safe(float* out, const float* base, int width, int height, int stride, int x,
                                       int y) ZQ_NOTHROW;

// ---- scaling (18.14 fixed point: 16384 = one pixel) -----------------------------------------
/// Scaler images are (base of row 0, size, stride); the stride may be
/// negative, so a bottom-up block is passed as its last stored row with the
/// negated stride. Pixels are 4 bytes (8-bit blue, green, red, alpha) or,
/// for any other bytes-per-pixel value, 16 (floats).
///
/// Choices the scalers make where their description leaves room:
/// - 8-bit bilinear samples use ZqGetSubPixel32Fast's truncated 14-bit
///   weights; the SSE2 form may differ from the scalar one by one unit.
/// - Area averaging divides by the sum of the weights it used (so uniform
///   images stay uniform at the clipped right and bottom footprints); with
///   one direction interpolated, the interpolated value carries one extra
///   bit ((v0 (16384 - f) + v1 f) >> 13) and the sum is divided by twice
///   the weights.
/// - Bicubic, 8-bit: vertical pass first, kept as value x 64
///   ((sum + 128) >> 8) and held to 0..255 x 64, so overshoot does not
///   carry into the horizontal pass, which rounds ((sum + 2^19) >> 20) and
///   holds to 0..255. Float images are not clamped.
/// - Partial edge pixels, 8-bit: coverage c (14 bits, row coverage times
///   column coverage >> 14); d + (s - d) x c / 16384, truncated toward zero.
typedef struct ZQSUBPIXELPARAM {
  DWORD reserved0;  ///< reserved
  BYTE* dstBase;  ///< destination base address
  int dstStride;  ///< destination stride
  DWORD reserved1;  ///< reserved
  RECT dstFinal;  ///< destination rectangle after clipping
  RECT dstGiven;  ///< destination rectangle as given
  DWORD reserved2;  ///< reserved
  BYTE* srcBase;  ///< source base address
  int srcStride;  ///< source stride
  DWORD reserved3;  ///< reserved
  RECT srcFinal;  ///< source rectangle after clipping
  RECT srcClipped;  ///< source rectangle clipped to the image
  ///@{
  /// interpolation steps
  int stepX, stepY;
  ///@}
  ///@{
  /// source pixels per destination pixel
  int scaleX, scaleY;
  ///@}
  DWORD reserved4[2];  ///< reserved
} ZQSUBPIXELPARAM;

/// 1 when there is something to draw, 0 otherwise (the record is cleared first in both cases).
/// Rectangles are 18.14; a null one means the whole image.
ZQAPI int WINAPI ZqPrepareSubpixelParam(ZQSUBPIXELPARAM* record, BYTE* dstBase, const SIZE* dstSize, int dstStride,
                                        const RECT* dstRect, const BYTE* srcBase, const SIZE* srcSize,
                                        int srcStride, const RECT* srcRect) ZQ_NOTHROW;
/// Scales a region bilinearly (rectangles in whole pixels; equal sizes copy the rows unchanged). 0.
ZQAPI HRESULT WINAPI ZqDibScale_Bilinear(BYTE* dstBase, const SIZE* dstSize, int dstStride, const RECT* dstRect,
                                         const BYTE* srcBase, const SIZE* srcSize, int srcStride,
                                         const RECT* srcRect, int bytesPerPixel, BOOL shrinkFilter,
                                         BOOL replaceEdges) ZQ_NOTHROW;
/// As ZqDibScale_Bilinear, with the bicubic kernel.
ZQAPI HRESULT WINAPI ZqDibScale_BiCubic(BYTE* dstBase, const SIZE* dstSize, int dstStride, const RECT* dstRect,
                                        const BYTE* srcBase, const SIZE* srcSize, int srcStride,
                                        const RECT* srcRect, int bytesPerPixel, BOOL shrinkFilter,
                                        BOOL replaceEdges) ZQ_NOTHROW;
/// Scales a region bilinearly, rectangles in 18.14 units. 0.
ZQAPI HRESULT WINAPI ZqDibScale_BilinearSubPixel(BYTE* dstBase, const SIZE* dstSize, int dstStride,
                                                 const RECT* dstRect, const BYTE* srcBase, const SIZE* srcSize,
                                                 int srcStride, const RECT* srcRect, int bytesPerPixel,
                                                 BOOL shrinkFilter, BOOL replaceEdges) ZQ_NOTHROW;
/// As ZqDibScale_BilinearSubPixel, with the bicubic kernel.
ZQAPI HRESULT WINAPI ZqDibScale_BiCubicSubPixel(BYTE* dstBase, const SIZE* dstSize, int dstStride,
                                                const RECT* dstRect, const BYTE* srcBase, const SIZE* srcSize,
                                                int srcStride, const RECT* srcRect, int bytesPerPixel,
                                                BOOL shrinkFilter, BOOL replaceEdges) ZQ_NOTHROW;
/// Raw-buffer reducers and the plain bicubic copy (regions by ZqDibPrepareSet).
ZQAPI HRESULT WINAPI ZqDibCopyBiCubic(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                      const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                                      const RECT* srcRect, int bytesPerPixel) ZQ_NOTHROW;
/// Area-averaging reduction; does nothing unless the source region is at least as large as the
/// destination region in both directions.
ZQAPI HRESULT WINAPI ZqDownSample(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                  const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                  int bytesPerPixel) ZQ_NOTHROW;
/// Block-averaging reduction with whole-pixel blocks; same size condition.
ZQAPI HRESULT WINAPI ZqPixelate(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                int bytesPerPixel) ZQ_NOTHROW;
