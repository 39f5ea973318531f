/// @file
/// PNG images: decoding a file, a language-module resource or a block of
/// memory into an image block, and saving an image block as a PNG file
/// (8-bit RGBA). Decoding and encoding are libpng's; images come from
/// ZqDibAlloc and are released with ZqDibFree.
///
/// Pixel type of a loaded image by PNG colour type and depth ("tRNS": the
/// file has a transparency chunk):
///   grey 1/2/4/8         Gray1/Gray2/Gray4/Gray8   with tRNS Rgba32
///   grey 16              Gray16                    with tRNS Rgba64
///   RGB 8 / 16           Rgb24 / Rgba64            with tRNS Rgba32 / Rgba64
///   palette 1, 8 / 2, 4  Pal8 / Pal4               with tRNS Rgba32
///   grey+alpha, RGBA     Rgba32 (8) / Rgba64 (16)
/// A palette image's colour table always has 2^depth entries: indices past
/// the file's palette read as opaque black. A file gamma g corrects every
/// image for a screen gamma of 2.2, with the exponent 1 / (2.2 x g), unless
/// that is within 5 % of 1: libpng corrects the pixels, the colour table
/// of a palette image becomes trunc(255 x (v / 255)^(1 / (2.2 x g))).
///
/// Results: S_OK; E_INVALIDARG (null path or out pointer, unsupported
/// save type); ZQ_E_FILE_OPEN (0x8004E007) the file cannot be opened;
/// ZQ_E_FILE_CORRUPT (0x8004E00B) no PNG signature, or a file shorter than
/// one; ZQ_E_RESOURCE_MISSING (0x8004E00E) no such resource, or an empty
/// one; ZQ_E_FILE_CREATE (0x8004E006) the output file cannot be created;
/// E_FAIL libpng could not be set up or found the data damaged, or the
/// colour type and depth are not supported; the errors of ZqDibAlloc
/// (for sizes past 2 GB), ZqDibCopy and ZqDibSwapRB.
#pragma once
#include "zq/base.h"

/// Options of a PNG file to write.
typedef struct ZQPNGFILEOPTIONS {
  DWORD pixelType;  ///< ZqPixel_Rgb32 or ZqPixel_Rgba32: the rows written
  DWORD interlace;  ///< nonzero: Adam7-interlaced file
} ZQPNGFILEOPTIONS;

#define ZQPNG_FROM_FILE 0x1u  ///< ZqLoadPngDib: the name is a file path

/// The out pointer is always written (null on failure).
ZQAPI HRESULT WINAPI ZqDibFromPng(BITMAPINFOHEADER** image, const void* data, DWORD length) ZQ_NOTHROW;
/// A file (flag ZQPNG_FROM_FILE) or a resource of the handle's modules, of
/// type 32 or "BINARY".
ZQAPI HRESULT WINAPI ZqLoadPngDib(HZQLANG lang, LPCWSTR name, DWORD flags, BITMAPINFOHEADER** image) ZQ_NOTHROW;
/// Image block or null; `ZqLoadResourcePngDibEx(language module, name, out image block)` -> status.
ZQAPI BITMAPINFOHEADER* WINAPI ZqLoadResourcePngDib(HZQLANG lang, LPCWSTR name) ZQ_NOTHROW;
/// As ZqLoadResourcePngDib, returning the status; `*image` is null on failure.
ZQAPI HRESULT WINAPI ZqLoadResourcePngDibEx(HZQLANG lang, LPCWSTR name, BITMAPINFOHEADER** image) ZQ_NOTHROW;
/// Image block or null; `ZqLoadDiskPngDibEx(path, out image block)` -> status.
ZQAPI BITMAPINFOHEADER* WINAPI ZqLoadDiskPngDib(LPCWSTR path) ZQ_NOTHROW;
/// As ZqLoadDiskPngDib, returning the status (0x8004E007 for a file that cannot be opened);
/// `*image` is null on failure.
ZQAPI HRESULT WINAPI ZqLoadDiskPngDibEx(LPCWSTR path, BITMAPINFOHEADER** image) ZQ_NOTHROW;
/// Writes the image (bits null: they follow the header) through an
/// intermediate image of the options' type; null options: Rgba32, not
/// interlaced. A failed save removes the partial file.
ZQAPI HRESULT WINAPI ZqSaveDiskPngDib(LPCWSTR path, const BITMAPINFOHEADER* header, const void* bits,
                                      const ZQPNGFILEOPTIONS* options) ZQ_NOTHROW;
