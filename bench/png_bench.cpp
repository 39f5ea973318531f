// PNG loading and saving of a 1920 x 1080 photo-like RGBA picture against
// bare libpng on the same file in the same run (its simplified reading
// API; its own writer at the same settings), and the 3 x 3 filters in
// megapixels per second against a memcpy of the same bytes.
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench.h"
#include "zq/dib.h"
#include "zq/dibfilter.h"
#include "zq/png.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

// Smooth gradients with a little noise, as a photograph compresses.
BITMAPINFOHEADER* PhotoLike() {
  BITMAPINFOHEADER* image = nullptr;
  ZqDibAlloc(&image, ZqPixel_Rgba32, kWidth, kHeight, nullptr, 0, ZQDIBALLOC_ZERO);
  BYTE* bits = reinterpret_cast<BYTE*>(image + 1);
  std::mt19937 rng(3);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      BYTE* p = bits + (static_cast<size_t>(y) * kWidth + x) * 4;
      const double u = x / double(kWidth), v = y / double(kHeight);
      p[0] = static_cast<BYTE>(128 + 100 * std::sin(6 * u + 2 * v) + rng() % 7);
      p[1] = static_cast<BYTE>(128 + 90 * std::cos(4 * v - 3 * u) + rng() % 7);
      p[2] = static_cast<BYTE>(128 + 110 * std::sin(5 * u * v + 1) + rng() % 7);
      p[3] = static_cast<BYTE>(255 - (x + y) % 64);
    }
  return image;
}

// libpng's own writer with the settings the module uses.
bool SaveWithLibpng(const char* path, const BITMAPINFOHEADER* image) {
  FILE* file = fopen(path, "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE | PNG_FILTER_SUB | PNG_FILTER_PAETH);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_bgr(png);
  png_write_info(png, info);
  const BYTE* bits = reinterpret_cast<const BYTE*>(image + 1);
  for (int y = 0; y < kHeight; ++y)
    png_write_row(png, const_cast<BYTE*>(bits) + static_cast<size_t>(kHeight - 1 - y) * kWidth * 4);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  fclose(file);
  return true;
}

void PngFiles() {
  BITMAPINFOHEADER* image = PhotoLike();
  const wchar_t* ours = L"png_bench_ours.png";
  double save = bench::Time([] {}, [&] { ZqSaveDiskPngDib(ours, image, nullptr, nullptr); }, 2);
  double saveLibpng = bench::Time([] {}, [&] { SaveWithLibpng("png_bench_libpng.png", image); }, 2);
  bench::Report("ZqSaveDiskPngDib 1920x1080 RGBA", save, saveLibpng, "libpng writer, same settings");

  // Both sides end with a new picture in memory of their own.
  double load = bench::Time([] {}, [&] {
    BITMAPINFOHEADER* back = nullptr;
    ZqLoadDiskPngDibEx(ours, &back);
    ZqDibFree(back, 0);
  }, 5);
  double loadLibpng = bench::Time([] {}, [&] {
    png_image simple{};
    simple.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&simple, "png_bench_ours.png")) {
      simple.format = PNG_FORMAT_BGRA;
      BYTE* pixels = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED, PNG_IMAGE_SIZE(simple)));
      png_image_finish_read(&simple, nullptr, pixels, -kWidth * 4, nullptr);
      GlobalFree(pixels);
    }
    png_image_free(&simple);
  }, 5);
  bench::Report("ZqLoadDiskPngDib 1920x1080 RGBA", load, loadLibpng, "libpng simplified API");
  ZqDibFree(image, 0);
  _wremove(ours);
  remove("png_bench_libpng.png");
}

void Filters() {
  std::vector<BYTE> src(static_cast<size_t>(kWidth) * kHeight * 4), dst(src.size());
  std::mt19937 rng(9);
  for (auto& b : src) b = static_cast<BYTE>(rng());
  const RECT bounds{0, 0, kWidth, kHeight};
  const LONG sharpen[9] = {0, -1, 0, -1, 5, -1, 0, -1, 0};
  const double megapixels = kWidth * double(kHeight) / 1e6;
  double copy = bench::Time([] {}, [&] { memcpy(dst.data(), src.data(), src.size()); });
  double blur = bench::Time([] {}, [&] {
    ZqDibBlur(dst.data(), &bounds, kWidth * 4, nullptr, src.data(), &bounds, kWidth * 4, nullptr, 4);
  });
  double convolution = bench::Time([] {}, [&] {
    ZqDib3x3Convolution(dst.data(), &bounds, kWidth * 4, nullptr, src.data(), &bounds, kWidth * 4, nullptr, 4, sharpen,
                        1);
  });
  bench::Report("ZqDibBlur 1920x1080 8-bit", blur, copy, "memcpy of the same bytes");
  std::printf("    %.0f megapixels per second\n", megapixels / blur);
  bench::Report("ZqDib3x3Convolution 1920x1080 8-bit", convolution, copy, "memcpy of the same bytes");
  std::printf("    %.0f megapixels per second\n", megapixels / convolution);
}

}  // namespace

BENCHMARK_ENTRY("png files", PngFiles);
BENCHMARK_ENTRY("image filters", Filters);
