// The PNG exports: bytes from a file, a language-module resource or the
// caller's memory into the decoder; an image block through an
// intermediate RGBA image into a file.
#include <cstdio>

#include "dib/png_internal.h"
#include "zq/dib.h"
#include "zq/errors.h"
#include "zq/lang.h"
#include "zq/png.h"

namespace {
using namespace zq::dib;

HRESULT FromMemory(const void* data, size_t length, BITMAPINFOHEADER** image) noexcept {
  const BYTE* bytes = static_cast<const BYTE*>(data);
  if (!bytes || length == 0 || !png::HasSignature(bytes, length)) return ZQ_E_FILE_CORRUPT;
  png::Source source;
  source.data = bytes;
  source.length = length;
  source.position = length < 8 ? length : 8;
  return png::Decode(source, image);
}

HRESULT FromFile(LPCWSTR path, BITMAPINFOHEADER** image) noexcept {
  FILE* file = _wfopen(path, L"rb");
  if (!file) return ZQ_E_FILE_OPEN;
  BYTE signature[8];
  HRESULT hr;
  if (fread(signature, 1, 8, file) != 8 || !png::HasSignature(signature, 8)) {
    hr = ZQ_E_FILE_CORRUPT;
  } else {
    png::Source source;
    source.file = file;
    hr = png::Decode(source, image);
  }
  fclose(file);
  return hr;
}

// A resource of type 32, else of type "BINARY".
HRESULT FromResource(HZQLANG lang, LPCWSTR name, BITMAPINFOHEADER** image) noexcept {
  DWORD size = 0;
  HGLOBAL resource = ZqLoadResourceCustom(lang, name, MAKEINTRESOURCEW(32), &size);
  if (!resource) resource = ZqLoadResourceCustom(lang, name, L"BINARY", &size);
  const void* bytes = resource ? LockResource(resource) : nullptr;
  if (!bytes || size == 0) return ZQ_E_RESOURCE_MISSING;
  return FromMemory(bytes, size, image);
}

}  // namespace

ZQAPI HRESULT WINAPI ZqDibFromPng(BITMAPINFOHEADER** image, const void* data, DWORD length) noexcept {
  if (!image) return E_POINTER;
  *image = nullptr;
  return FromMemory(data, length, image);
}

ZQAPI HRESULT WINAPI ZqLoadPngDib(HZQLANG lang, LPCWSTR name, DWORD flags, BITMAPINFOHEADER** image) noexcept {
  if (!image) return E_POINTER;
  *image = nullptr;
  if (!name) return E_INVALIDARG;
  return (flags & ZQPNG_FROM_FILE) ? FromFile(name, image) : FromResource(lang, name, image);
}

ZQAPI HRESULT WINAPI ZqLoadResourcePngDibEx(HZQLANG lang, LPCWSTR name, BITMAPINFOHEADER** image) noexcept {
  return ZqLoadPngDib(lang, name, 0, image);
}

ZQAPI BITMAPINFOHEADER* WINAPI ZqLoadResourcePngDib(HZQLANG lang, LPCWSTR name) noexcept {
  BITMAPINFOHEADER* image = nullptr;
  ZqLoadResourcePngDibEx(lang, name, &image);
  return image;
}

ZQAPI HRESULT WINAPI ZqLoadDiskPngDibEx(LPCWSTR path, BITMAPINFOHEADER** image) noexcept {
  return ZqLoadPngDib(nullptr, path, ZQPNG_FROM_FILE, image);
}

ZQAPI BITMAPINFOHEADER* WINAPI ZqLoadDiskPngDib(LPCWSTR path) noexcept {
  BITMAPINFOHEADER* image = nullptr;
  ZqLoadDiskPngDibEx(path, &image);
  return image;
}

ZQAPI HRESULT WINAPI ZqSaveDiskPngDib(LPCWSTR path, const BITMAPINFOHEADER* header, const void* bits,
                                      const ZQPNGFILEOPTIONS* options) noexcept {
  if (!path || !header) return E_INVALIDARG;
  const int type = options ? static_cast<int>(options->pixelType) : ZqPixel_Rgba32;
  if (type != ZqPixel_Rgb32 && type != ZqPixel_Rgba32) return E_INVALIDARG;
  if (header->biWidth <= 0 || header->biHeight <= 0) return E_INVALIDARG;

  // The rows written: the picture in the options' type, red first.
  BITMAPINFOHEADER* rgba = nullptr;
  HRESULT hr = ZqDibAlloc(&rgba, type, header->biWidth, header->biHeight, nullptr, 0, ZQDIBALLOC_ZERO);
  if (FAILED(hr)) return hr;
  hr = ZqDibCopy(rgba, nullptr, nullptr, 0, header, bits, nullptr, 0, 3);
  if (SUCCEEDED(hr)) hr = ZqDibSwapRB(rgba, nullptr, nullptr, 0);
  if (SUCCEEDED(hr)) {
    FILE* file = _wfopen(path, L"wb+");
    if (!file) {
      hr = ZQ_E_FILE_CREATE;
    } else {
      hr = png::Encode(file, rgba, options && options->interlace);
      if (fclose(file) != 0 && SUCCEEDED(hr)) hr = ZQ_E_FILE_WRITE;
      if (FAILED(hr)) _wremove(path);  // never leave a damaged file behind
    }
  }
  ZqDibFree(rgba, 0);
  return hr;
}
