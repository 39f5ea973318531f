// Image copies and fills of a 1920 x 1080 picture against pixman's
// composite with the SRC operator between the same formats, and against
// memcpy/memset of the same bytes. pixman is built for this target by
// scripts/bench-peers; without it only the memory baselines run.
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "bench.h"
#include "zq/dib.h"

#ifdef QUILLET_HAVE_PIXMAN
#include <pixman.h>
#endif

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kRepeats = 10;
constexpr double kMegapixels = kWidth * double(kHeight) * kRepeats / 1e6;

class Picture {
 public:
  explicit Picture(int type) {
    ZqDibAlloc(&header_, type, kWidth, kHeight, nullptr, 0, ZQDIBALLOC_ZERO);
    bits_ = reinterpret_cast<BYTE*>(header_ + 1) + (header_->biCompression == BI_BITFIELDS ? 12 : 0);
    std::mt19937 rng(5);
    for (DWORD i = 0; i < header_->biSizeImage; i += 4) {
      DWORD v = rng();
      std::memcpy(bits_ + i, &v, 4);
    }
  }
  ~Picture() { ZqDibFree(header_, 0); }
  BITMAPINFOHEADER* Header() const { return header_; }
  BYTE* Bits() const { return bits_; }
  int Stride() const { return static_cast<int>(header_->biSizeImage / kHeight); }
  size_t Bytes() const { return header_->biSizeImage; }

 private:
  BITMAPINFOHEADER* header_ = nullptr;
  BYTE* bits_ = nullptr;
};

void Line(const std::string& name, double ours, double baseline, const std::string& baselineName) {
  bench::Report(name, ours, baseline, baselineName);
  std::printf("    %.0f Mpix/s ours, %.0f Mpix/s %s\n", kMegapixels / ours, kMegapixels / baseline,
              baselineName.c_str());
}

void CopyRepeats(Picture& dst, Picture& src) {
  for (int i = 0; i < kRepeats; ++i) ZqDibCopy(dst.Header(), nullptr, nullptr, 0, src.Header(), nullptr, nullptr, 0, 0);
}
double TimeCopy(Picture& dst, Picture& src) {
  return bench::Time([] {}, [&] { CopyRepeats(dst, src); });
}

#ifdef QUILLET_HAVE_PIXMAN
pixman_image_t* Wrap(const Picture& p, pixman_format_code_t format) {
  return pixman_image_create_bits(format, kWidth, kHeight, reinterpret_cast<uint32_t*>(p.Bits()), p.Stride());
}
void PixmanRepeats(pixman_image_t* dst, pixman_image_t* src) {
  for (int i = 0; i < kRepeats; ++i)
    pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
}
double TimePixman(pixman_image_t* dst, pixman_image_t* src) {
  return bench::Time([] {}, [&] { PixmanRepeats(dst, src); });
}
void Conversion(int dstType, int srcType, pixman_format_code_t dstFormat, pixman_format_code_t srcFormat,
                const char* name) {
  Picture src(srcType), dst(dstType), check(dstType);
  pixman_image_t *ps = Wrap(src, srcFormat), *pd = Wrap(check, dstFormat);
  bench::Pair times = bench::TimePair([&] { CopyRepeats(dst, src); }, [&] { PixmanRepeats(pd, ps); });
  pixman_image_unref(ps);
  pixman_image_unref(pd);
  Line(std::string("ZqDibCopy ") + name, times.ours, times.theirs, "pixman SRC");
  // The colour bits agree (pixman's Rgb24 -> 32-bit also sets alpha to 255).
  if (std::memcmp(dst.Bits(), check.Bits(), dst.Bytes()) != 0) std::printf("    (results differ from pixman's)\n");
}
#endif

void Conversions() {
#ifdef QUILLET_HAVE_PIXMAN
  Conversion(ZqPixel_Rgba32, ZqPixel_Rgb24, PIXMAN_a8r8g8b8, PIXMAN_r8g8b8, "Rgb24->Rgba32 1920x1080 x10");
  Conversion(ZqPixel_Rgb565, ZqPixel_Rgba32, PIXMAN_r5g6b5, PIXMAN_a8r8g8b8, "Rgba32->Rgb565 1920x1080 x10");
#else
  std::printf("image conversions: pixman not built (scripts/bench-peers)\n");
#endif
}

void UnscaledCopy() {
  Picture src(ZqPixel_Rgba32), dst(ZqPixel_Rgba32);
  double ours = TimeCopy(dst, src);
  double copy = bench::Time([] {},
                            [&] {
                              for (int i = 0; i < kRepeats; ++i) std::memcpy(dst.Bits(), src.Bits(), dst.Bytes());
                            });
  Line("ZqDibCopy Rgba32->Rgba32 1920x1080 x10", ours, copy, "memcpy");
#ifdef QUILLET_HAVE_PIXMAN
  pixman_image_t *ps = Wrap(src, PIXMAN_a8r8g8b8), *pd = Wrap(dst, PIXMAN_a8r8g8b8);
  Line("ZqDibCopy Rgba32->Rgba32 1920x1080 x10", ours, TimePixman(pd, ps), "pixman SRC");
  pixman_image_unref(ps);
  pixman_image_unref(pd);
#endif
}

void Fill() {
  Picture image(ZqPixel_Rgb32);
  volatile float level = 0.5f;
  double ours = bench::Time([] {},
                            [&] {
                              for (int i = 0; i < kRepeats; ++i)
                                ZqDibSet(image.Header(), nullptr, nullptr, 0, level, 0.25f, 1.0f, 1.0f, 0);
                            });
  double set = bench::Time([] {},
                           [&] {
                             for (int i = 0; i < kRepeats; ++i) std::memset(image.Bits(), i, image.Bytes());
                           });
  Line("ZqDibSet Rgb32 1920x1080 x10", ours, set, "memset");
#ifdef QUILLET_HAVE_PIXMAN
  pixman_color_t colour{0xFFFF, 0x4000, 0x8000, 0xFFFF};
  pixman_image_t *solid = pixman_image_create_solid_fill(&colour), *pd = Wrap(image, PIXMAN_x8r8g8b8);
  Line("ZqDibSet Rgb32 1920x1080 x10", ours, TimePixman(pd, solid), "pixman SRC solid");
  pixman_image_unref(solid);
  pixman_image_unref(pd);
#endif
}

}  // namespace

BENCHMARK_ENTRY("image conversions", Conversions);
BENCHMARK_ENTRY("image unscaled copy", UnscaledCopy);
BENCHMARK_ENTRY("image fill", Fill);
