// PNG to image block: colour type and depth choose the pixel type and
// libpng's transformations; rows are read bottom-up into the block.
// No object with a destructor lives in the frame that libpng may leave by
// longjmp: everything to release is in a plain record the caller owns.
#include <png.h>

#include <climits>
#include <cmath>
#include <cstring>

#include "dib/dib_layout.h"
#include "dib/png_internal.h"
#include "zq/dib.h"

namespace zq::dib::png {
namespace {

constexpr double kScreenGamma = 2.2;

// What a decode holds; released by the caller whatever happened.
struct Decoding {
  Source* source;
  png_structp png;
  png_infop info;
  BITMAPINFOHEADER* image;
  png_bytep* rows;
  HRESULT result;  // the failure to report when not libpng's own
};

void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

// libpng asks for exact counts: a source that ends early is an error, and
// the position never passes the end.
void ReadMemory(png_structp png, png_bytep out, size_t count) {
  Source* source = static_cast<Source*>(png_get_io_ptr(png));
  if (count > source->length - source->position) png_error(png, "the PNG data ends early");
  memcpy(out, source->data + source->position, count);
  source->position += count;
}

// The pixel type for a colour type and depth, with or without tRNS; 0
// for a combination that is not supported.
int PixelTypeOf(int colourType, int depth, bool trns) {
  switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
      if (depth == 16) return trns ? ZqPixel_Rgba64 : ZqPixel_Gray16;
      if (trns && depth <= 8) return ZqPixel_Rgba32;
      switch (depth) {
        case 1: return ZqPixel_Gray1;
        case 2: return ZqPixel_Gray2;
        case 4: return ZqPixel_Gray4;
        case 8: return ZqPixel_Gray8;
        default: return 0;
      }
    case PNG_COLOR_TYPE_RGB:
      if (depth == 8) return trns ? ZqPixel_Rgba32 : ZqPixel_Rgb24;
      return depth == 16 ? ZqPixel_Rgba64 : 0;
    case PNG_COLOR_TYPE_PALETTE:
      if (depth != 1 && depth != 2 && depth != 4 && depth != 8) return 0;
      if (trns) return ZqPixel_Rgba32;
      return depth == 1 || depth == 8 ? ZqPixel_Pal8 : ZqPixel_Pal4;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
    case PNG_COLOR_TYPE_RGB_ALPHA:
      if (depth == 8) return ZqPixel_Rgba32;
      return depth == 16 ? ZqPixel_Rgba64 : 0;
    default:
      return ZqPixel_Rgba32;
  }
}

// The transformations that turn the file's rows into the type's rows.
void Transform(png_structp png, int colourType, int depth, bool trns) {
  if (depth == 16) png_set_swap(png);  // little-endian words
  switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
      if (trns) {
        png_set_expand(png);  // depths below 8 to 8, tRNS to alpha
        png_set_gray_to_rgb(png);
      }
      break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      png_set_gray_to_rgb(png);
      break;
    case PNG_COLOR_TYPE_PALETTE:
      if (trns) {
        png_set_expand(png);
        png_set_bgr(png);  // expanded colours come as red, green, blue
      } else if (depth == 1) {
        png_set_packing(png);  // one index a byte
      }
      break;
    case PNG_COLOR_TYPE_RGB:
      png_set_bgr(png);
      if (trns) png_set_tRNS_to_alpha(png);
      else if (depth == 16) png_set_filler(png, 0xFFFF, PNG_FILLER_AFTER);
      break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      png_set_bgr(png);
      break;
    default:
      break;
  }
}

// 2-bit indices widened to one 4-bit index a nibble, from the row's end
// so that nothing is overwritten before it is read.
void WidenTwoBitRow(BYTE* row, int width) {
  for (int x = width - 1; x >= 0; --x) {
    const unsigned index = (row[x >> 2] >> (6 - 2 * (x & 3))) & 3u;
    BYTE& target = row[x >> 1];
    target = (x & 1) ? static_cast<BYTE>((target & 0xF0) | index) : static_cast<BYTE>((target & 0x0F) | index << 4);
  }
}

// The colour table: every index a depth can hold, those beyond the file's
// palette opaque black. A file gamma corrects it as libpng corrects the
// other images, for a screen gamma of 2.2 (exponent 1 / (2.2 x gamma)),
// and as libpng does, not when that exponent is within 5 % of 1: a palette
// image then shows as the same picture stored without a palette.
void BuildTable(png_structp png, png_infop info, RGBQUAD* table, int entries) {
  png_colorp palette = nullptr;
  int count = 0;
  if (!png_get_PLTE(png, info, &palette, &count)) count = 0;
  double gamma = 0.0;
  double exponent = 1.0;
  if (png_get_gAMA(png, info, &gamma) && gamma >= 0.000005) exponent = 1.0 / (kScreenGamma * gamma);
  const bool correct = std::fabs(exponent - 1.0) >= 0.05;
  auto channel = [&](png_byte v) -> BYTE {
    if (!correct) return v;
    const double c = std::trunc(255.0 * std::pow(v / 255.0, exponent));
    return static_cast<BYTE>(c < 0.0 ? 0.0 : c > 255.0 ? 255.0 : c);
  };
  for (int i = 0; i < entries; ++i) {
    RGBQUAD& e = table[i];
    if (i < count) {
      e.rgbBlue = channel(palette[i].blue);
      e.rgbGreen = channel(palette[i].green);
      e.rgbRed = channel(palette[i].red);
    } else {
      e.rgbBlue = e.rgbGreen = e.rgbRed = 0;
    }
    e.rgbReserved = 255;
  }
}

// Runs libpng up to the rows. Returns through setjmp on libpng's errors.
HRESULT Run(Decoding* d) {
  if (setjmp(png_jmpbuf(d->png))) return E_FAIL;
  png_structp png = d->png;
  png_infop info = d->info;
  if (d->source->file) png_init_io(png, d->source->file);
  else png_set_read_fn(png, d->source, ReadMemory);
  png_set_sig_bytes(png, 8);
  png_read_info(png, info);

  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
  const bool trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  const int type = PixelTypeOf(colourType, depth, trns);
  if (!type || width == 0 || height == 0 || width > INT_MAX || height > INT_MAX) return E_FAIL;

  // The table first: libpng corrects a palette in place once asked for gamma.
  RGBQUAD table[256];
  int entries = 0;
  if (type == ZqPixel_Pal4 || type == ZqPixel_Pal8) {
    entries = 1 << depth;
    BuildTable(png, info, table, entries);
  }
  double gamma = 0.0;
  if (png_get_gAMA(png, info, &gamma)) png_set_gamma(png, kScreenGamma, gamma);
  Transform(png, colourType, depth, trns);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  // Sizes past what an image block may hold are refused before anything
  // of that size is allocated.
  HRESULT hr = ZqDibAlloc(&d->image, type, static_cast<int>(width), static_cast<int>(height),
                          entries ? table : nullptr, entries, 0);  // every row is read
  if (FAILED(hr)) {
    d->image = nullptr;
    d->result = hr;
    return hr;
  }
  Image image;
  if (FAILED(OpenImage(d->image, nullptr, 0, &image)) || png_get_rowbytes(png, info) > static_cast<size_t>(image.stride))
    return E_FAIL;
  d->rows = static_cast<png_bytep*>(HeapAlloc(GetProcessHeap(), 0, sizeof(png_bytep) * height));
  if (!d->rows) {
    d->result = E_OUTOFMEMORY;
    return E_OUTOFMEMORY;
  }
  for (png_uint_32 y = 0; y < height; ++y) d->rows[y] = image.Row(static_cast<int>(y));
  png_read_image(png, d->rows);
  if (colourType == PNG_COLOR_TYPE_PALETTE && depth == 2 && !trns)
    for (png_uint_32 y = 0; y < height; ++y) WidenTwoBitRow(d->rows[y], static_cast<int>(width));
  return S_OK;
}

}  // namespace

bool HasSignature(const BYTE* bytes, size_t length) noexcept {
  return png_sig_cmp(bytes, 0, length < 8 ? length : 8) == 0;
}

HRESULT Decode(Source& source, BITMAPINFOHEADER** image) noexcept {
  *image = nullptr;
  Decoding d{&source, nullptr, nullptr, nullptr, nullptr, S_OK};
  d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (!d.png) return E_FAIL;
  d.info = png_create_info_struct(d.png);
  HRESULT hr = d.info ? Run(&d) : E_FAIL;
  png_destroy_read_struct(&d.png, d.info ? &d.info : nullptr, nullptr);
  if (d.rows) HeapFree(GetProcessHeap(), 0, d.rows);
  if (FAILED(hr)) {
    if (d.image) ZqDibFree(d.image, 0);
    return FAILED(d.result) ? d.result : hr;
  }
  *image = d.image;
  return S_OK;
}

}  // namespace zq::dib::png
