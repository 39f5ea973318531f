// Compositing a 1920 x 1080 Rgba32 picture: ZqDibOver and the Screen,
// Overlay and Darken compositors against pixman's OVER, SCREEN, OVERLAY and
// DARKEN on a8r8g8b8, in megapixels per second. pixman is built for this
// target by scripts/bench-peers; without it only our figures print, against
// a plain memcpy of the same bytes.
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench.h"
#include "zq/overlay.h"

#ifdef QUILLET_HAVE_PIXMAN
#include <pixman.h>
#endif

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kRepeats = 10, kStride = kWidth * 4;
constexpr double kMegapixels = kWidth * double(kHeight) * kRepeats / 1e6;

std::vector<BYTE> RandomPicture(unsigned seed) {
  std::vector<BYTE> p(static_cast<size_t>(kStride) * kHeight);
  std::mt19937 rng(seed);
  for (size_t i = 0; i < p.size(); i += 4) {
    DWORD v = rng();
    std::memcpy(&p[i], &v, 4);
  }
  return p;
}

void Line(const std::string& name, double ours, double baseline, const std::string& baselineName) {
  bench::Report(name, ours, baseline, baselineName);
  std::printf("    %.0f Mpix/s ours, %.0f Mpix/s %s\n", kMegapixels / ours, kMegapixels / baseline,
              baselineName.c_str());
}

#ifdef QUILLET_HAVE_PIXMAN
double TimePixman(pixman_op_t op, std::vector<BYTE>& dst, std::vector<BYTE>& src) {
  pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight,
                                               reinterpret_cast<uint32_t*>(dst.data()), kStride);
  pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight,
                                               reinterpret_cast<uint32_t*>(src.data()), kStride);
  double t = bench::Time([] {},
                         [&] {
                           for (int i = 0; i < kRepeats; ++i)
                             pixman_image_composite32(op, s, nullptr, d, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
                         });
  pixman_image_unref(d);
  pixman_image_unref(s);
  return t;
}
#endif

double Baseline(std::vector<BYTE>& dst, std::vector<BYTE>& src, int pixmanOp, const char*& name) {
#ifdef QUILLET_HAVE_PIXMAN
  name = pixmanOp == PIXMAN_OP_OVER      ? "pixman OVER"
         : pixmanOp == PIXMAN_OP_SCREEN  ? "pixman SCREEN"
         : pixmanOp == PIXMAN_OP_OVERLAY ? "pixman OVERLAY"
                                         : "pixman DARKEN";
  return TimePixman(static_cast<pixman_op_t>(pixmanOp), dst, src);
#else
  (void)pixmanOp;
  name = "memcpy";
  return bench::Time([] {},
                     [&] {
                       for (int i = 0; i < kRepeats; ++i) std::memcpy(dst.data(), src.data(), dst.size());
                     });
#endif
}

#ifdef QUILLET_HAVE_PIXMAN
constexpr int kOver = PIXMAN_OP_OVER, kScreen = PIXMAN_OP_SCREEN, kOverlay = PIXMAN_OP_OVERLAY,
              kDarken = PIXMAN_OP_DARKEN;
#else
constexpr int kOver = 0, kScreen = 0, kOverlay = 0, kDarken = 0;
#endif

void Over() {
  std::vector<BYTE> src = RandomPicture(1), dst = RandomPicture(2);
  RECT bounds{0, 0, kWidth, kHeight};
  double ours = bench::Time([] {},
                            [&] {
                              for (int i = 0; i < kRepeats; ++i)
                                ZqDibOver(dst.data(), &bounds, kStride, nullptr, src.data(), &bounds, kStride,
                                          nullptr, 4, nullptr);
                            });
  const char* name = "";
  double theirs = Baseline(dst, src, kOver, name);
  Line("ZqDibOver Rgba32 1920x1080 x10", ours, theirs, name);
}

void Compositors() {
  struct Case {
    int index;
    int op;
    const char* name;
  };
  const Case cases[] = {{1, kScreen, "Screen compositor Rgba32 1920x1080 x10"},
                        {2, kOverlay, "Overlay compositor Rgba32 1920x1080 x10"},
                        {6, kDarken, "Darken compositor Rgba32 1920x1080 x10"}};
  std::vector<BYTE> src = RandomPicture(3), dst = RandomPicture(4);
  for (const Case& c : cases) {
    const tZQOVERLAY* entry = ZqOverlay_GetCompositor(c.index);
    double ours = bench::Time([] {},
                              [&] {
                                for (int i = 0; i < kRepeats; ++i)
                                  for (int y = 0; y < kHeight; ++y)
                                    entry->row(reinterpret_cast<ZQRGBA*>(dst.data() + y * kStride),
                                               reinterpret_cast<const ZQRGBA*>(src.data() + y * kStride), 200,
                                               kWidth);
                              });
    const char* name = "";
    double theirs = Baseline(dst, src, c.op, name);
    Line(c.name, ours, theirs, name);
  }
}

}  // namespace

BENCHMARK_ENTRY("compositing over", Over);
BENCHMARK_ENTRY("overlay compositors", Compositors);
