// Pixel-type classification, per-type facts, format and size texts and
// palette entry conversions.
#include <cstring>

#include "core/text_copy.h"
#include "dib/dib_layout.h"
#include "text/printer.h"
#include "zq/kernel.h"
#include "zq/number.h"

using zq::dib::Type;
using zq::dib::TypeInfo;

ZQAPI int WINAPI ZqGetPixelType(const BITMAPINFOHEADER* header) noexcept {
  if (!header || header->biHeight < 0) return 0;
  int bits = header->biBitCount;
  switch (header->biCompression) {
    case BI_RGB:
      switch (bits) {
        case 1: return ZqPixel_Mono1;
        case 4: return ZqPixel_Pal4;
        case 8: return ZqPixel_Pal8;
        case 16: return ZqPixel_Rgb555;
        case 24: return ZqPixel_Rgb24;
        case 32: return ZqPixel_Rgb32;
        default: return 0;
      }
    case BI_BITFIELDS: {
      const DWORD* masks = reinterpret_cast<const DWORD*>(header + 1);
      int r = ZqCountBits(masks[0]), g = ZqCountBits(masks[1]), b = ZqCountBits(masks[2]);
      if (bits == 16 && r == 5 && g == 5 && b == 5) return ZqPixel_Rgb555;
      if (bits == 16 && r == 5 && g == 6 && b == 5) return ZqPixel_Rgb565;
      if (bits == 32 && r == 8 && g == 8 && b == 8) return ZqPixel_Rgb32;
      if (bits == 32 && r == 10 && g == 10 && b == 10) return ZqPixel_Rgb30;
      return 0;
    }
    case ZQDIB_FOURCC_GRAY:
      switch (bits) {
        case 1: return ZqPixel_Gray1;
        case 2: return ZqPixel_Gray2;
        case 4: return ZqPixel_Gray4;
        case 8: return ZqPixel_Gray8;
        case 16: return ZqPixel_Gray16;
        case 32: return ZqPixel_GrayFloat;
        default: return 0;
      }
    case ZQDIB_FOURCC_RGBA:
      switch (bits) {
        case 32: return ZqPixel_Rgba32;
        case 64: return ZqPixel_Rgba64;
        case 128: return ZqPixel_RgbaFloat;
        default: return 0;
      }
    default: return 0;
  }
}

ZQAPI int WINAPI ZqGetPixelBitsPerChannel(int type, BYTE* bits4) noexcept {
  const TypeInfo* info = Type(type);
  if (bits4) {
    if (info) std::memcpy(bits4, info->channelBits, 4);
    else std::memset(bits4, 0, 4);
  }
  return info ? info->bitsPerPixel : 0;
}

ZQAPI int WINAPI ZqPixelTypeToBitAttribs(int type, DWORD* compression, void* attribs, int attribsSize,
                                         DWORD* masks3) noexcept {
  const TypeInfo* info = Type(type);
  if (!info) return 0;
  if (attribs) {
    if (attribsSize < static_cast<int>(sizeof(ZQPIXELATTRIBS))) return 0;
    ZQPIXELATTRIBS block{};
    block.size = sizeof(ZQPIXELATTRIBS);
    block.flags = type >= ZqPixel_Gray1 && type <= ZqPixel_GrayFloat ? 4096 : 0xFFFFFFFFu;
    block.minusOne = -1;
    block.low = 0.0;
    block.high = 1.0;
    std::memcpy(attribs, &block, sizeof(block));
  }
  if (compression) *compression = info->compression;
  if (masks3) {
    int r = info->maskBits[0], g = info->maskBits[1];
    masks3[0] = r ? ZqCreateBitMask(r + g, r) : 0;
    masks3[1] = r ? ZqCreateBitMask(r, g) : 0;
    masks3[2] = r ? ZqCreateBitMask(0, r) : 0;
  }
  return info->bitsPerPixel;
}

ZQAPI BOOL WINAPI ZqVideo_IsCompressed(const BITMAPINFOHEADER* header) noexcept {
  if (!header) return TRUE;
  DWORD c = header->biCompression;
  if (c != BI_RGB && c != BI_BITFIELDS && c != ZQDIB_FOURCC_RGBA && c != ZQDIB_FOURCC_GRAY) return TRUE;
  return ZqGetPixelType(header) == 0;
}

ZQAPI HRESULT WINAPI ZqVideo_GetFormatText(DWORD compression, LPWSTR text, int length) noexcept {
  if (!text || length <= 0) return S_OK;
  const WCHAR* name = nullptr;
  WCHAR code[5];
  switch (compression) {
    case BI_RGB: name = L"RGB"; break;
    case BI_BITFIELDS: name = L"RGB (bitfields)"; break;
    case ZQDIB_FOURCC_RGBA: name = L"RGBA"; break;
    case ZQDIB_FOURCC_GRAY: name = L"Grayscale"; break;
    default:
      ZqFourCCToString(compression, code);
      name = code;
      break;
  }
  zq::core::CopyText(text, length, name);
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqVideo_GetAttribsText(const BITMAPINFOHEADER* header, LPWSTR text, int) noexcept {
  // "-2147483648x-2147483648x65535" is the longest text: 29 characters.
  if (header && text) zq::text::PrintBounded(text, 30, L"%dx%dx%d", header->biWidth, header->biHeight,
                                             static_cast<int>(header->biBitCount));
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqVideo_GetAttribsTextEx(const BITMAPINFOHEADER* header, DWORD, LPWSTR text, DWORD,
                                              DWORD) noexcept {
  return ZqVideo_GetAttribsText(header, text, 0);
}

ZQAPI void WINAPI ZqVideo_PaletteRGBAFromEntry(ZQRGBA* out, const PALETTEENTRY* entries, int count) noexcept {
  if (!out || !entries) return;
  for (int i = 0; i < count; ++i) out[i] = ZQRGBA{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
}

ZQAPI void WINAPI ZqVideo_PaletteEntryFromRGBA(PALETTEENTRY* out, const ZQRGBA* colours, int count) noexcept {
  if (!out || !colours) return;
  for (int i = 0; i < count; ++i) out[i] = PALETTEENTRY{colours[i].red, colours[i].green, colours[i].blue, 0};
}

ZQAPI HRESULT WINAPI ZqVideoDSP_ForceExternRef(void) noexcept { return S_OK; }
