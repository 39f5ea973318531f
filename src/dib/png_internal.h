// PNG decoding and encoding through libpng: the pieces the PNG exports
// share. Every function here returns the library's result codes.
#pragma once
#include <windows.h>

#include <cstdio>

namespace zq::dib::png {

// Where the PNG bytes come from. The eight signature bytes have been
// read and checked already: from `file` when it is set, else `data` holds
// all `length` bytes and `position` is past the signature (at most
// `length`).
struct Source {
  FILE* file = nullptr;
  const BYTE* data = nullptr;
  size_t length = 0;
  size_t position = 0;
};

// Whether the first min(length, 8) bytes are the PNG signature.
bool HasSignature(const BYTE* bytes, size_t length) noexcept;

// Decodes the rest of the PNG into a new image block.
HRESULT Decode(Source& source, BITMAPINFOHEADER** image) noexcept;

// Writes `rgba` (an Rgb32 or Rgba32 image whose rows hold red, green,
// blue, alpha bytes) to `file` as 8-bit RGBA.
HRESULT Encode(FILE* file, const BITMAPINFOHEADER* rgba, bool interlace) noexcept;

}  // namespace zq::dib::png
