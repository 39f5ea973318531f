// Image block to PNG file through libpng: 8-bit RGBA rows, filters none,
// sub and Paeth, compression level 9, optionally Adam7-interlaced. As in
// decoding, the frame libpng may leave by longjmp holds nothing with a
// destructor.
#include <png.h>

#include "dib/dib_layout.h"
#include "dib/png_internal.h"

namespace zq::dib::png {
namespace {

void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

HRESULT Run(png_structp png, png_infop info, FILE* file, const Image* image, bool interlace) {
  if (setjmp(png_jmpbuf(png))) return E_FAIL;
  png_init_io(png, file);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE | PNG_FILTER_SUB | PNG_FILTER_PAETH);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image->width), static_cast<png_uint_32>(image->height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // Each pass the library asks for gets every row, top of the picture first.
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < image->height; ++y) png_write_row(png, image->Row(y));
  png_write_end(png, info);
  return S_OK;
}

}  // namespace

HRESULT Encode(FILE* file, const BITMAPINFOHEADER* rgba, bool interlace) noexcept {
  Image image;
  HRESULT hr = OpenImage(rgba, nullptr, 0, &image);
  if (FAILED(hr)) return hr;
  if (image.type != ZqPixel_Rgb32 && image.type != ZqPixel_Rgba32) return E_INVALIDARG;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (!png) return E_FAIL;
  png_infop info = png_create_info_struct(png);
  hr = info ? Run(png, info, file, &image, interlace) : E_FAIL;
  png_destroy_write_struct(&png, info ? &info : nullptr);
  return hr;
}

}  // namespace zq::dib::png
