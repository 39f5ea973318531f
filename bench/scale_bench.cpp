// Scaling a 1920 x 1080 picture of 8-bit pixels: bilinear up by 1.5 and
// down by 2 against pixman's bilinear filter with a scaling transform, and
// bicubic up by 1.5 against stb_image_resize's Catmull-Rom filter.
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench.h"
#include "zq/dib.h"

#ifdef QUILLET_HAVE_PIXMAN
#include <pixman.h>
#endif
#ifdef QUILLET_HAVE_STB
#include <stb_image_resize.h>
#endif

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kRepeats = 3;

struct Buffer {
  int width, height;
  std::vector<BYTE> pixels;
  Buffer(int w, int h) : width(w), height(h), pixels(size_t(w) * h * 4) {}
  int Stride() const { return width * 4; }
};

Buffer Source() {
  Buffer b(kWidth, kHeight);
  std::mt19937 rng(11);
  for (size_t i = 0; i < b.pixels.size(); i += 4) {
    DWORD v = rng();
    std::memcpy(&b.pixels[i], &v, 4);
  }
  return b;
}

void Line(const std::string& name, const Buffer& dst, double ours, double theirs, const std::string& peer) {
  bench::Report(name, ours, theirs, peer);
  double mp = double(dst.width) * dst.height * kRepeats / 1e6;
  std::printf("    %.0f Mpix/s ours, %.0f Mpix/s %s (destination pixels)\n", mp / ours, mp / theirs, peer.c_str());
}

void OursRepeats(Buffer& dst, const Buffer& src, bool bicubic) {
  SIZE ds{dst.width, dst.height}, ss{src.width, src.height};
  auto scale = bicubic ? ZqDibScale_BiCubic : ZqDibScale_Bilinear;
  for (int i = 0; i < kRepeats; ++i)
    scale(dst.pixels.data(), &ds, dst.Stride(), nullptr, src.pixels.data(), &ss, src.Stride(), nullptr, 4, FALSE, TRUE);
}
double Ours(Buffer& dst, const Buffer& src, bool bicubic) {
  return bench::Time([] {}, [&] { OursRepeats(dst, src, bicubic); });
}

void Bilinear(double factor, const char* name) {
  Buffer src = Source(), dst(int(kWidth * factor), int(kHeight * factor));
#ifdef QUILLET_HAVE_PIXMAN
  Buffer peer(dst.width, dst.height);
  pixman_image_t* ps = pixman_image_create_bits(PIXMAN_a8r8g8b8, src.width, src.height,
                                                reinterpret_cast<uint32_t*>(src.pixels.data()), src.Stride());
  pixman_image_t* pd = pixman_image_create_bits(PIXMAN_a8r8g8b8, peer.width, peer.height,
                                                reinterpret_cast<uint32_t*>(peer.pixels.data()), peer.Stride());
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(double(src.width) / peer.width),
                              pixman_double_to_fixed(double(src.height) / peer.height));
  pixman_image_set_transform(ps, &t);
  pixman_image_set_filter(ps, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  pixman_image_set_repeat(ps, PIXMAN_REPEAT_PAD);
  bench::Pair times = bench::TimePair([&] { OursRepeats(dst, src, false); },
                                      [&] {
                                        for (int i = 0; i < kRepeats; ++i)
                                          pixman_image_composite32(PIXMAN_OP_SRC, ps, nullptr, pd, 0, 0, 0, 0, 0, 0,
                                                                   peer.width, peer.height);
                                      });
  pixman_image_unref(ps);
  pixman_image_unref(pd);
  Line(std::string("ZqDibScale_Bilinear ") + name, dst, times.ours, times.theirs, "pixman bilinear");
#else
  std::printf("ZqDibScale_Bilinear %s: %.2f ms (pixman not built: scripts/bench-peers)\n", name,
              Ours(dst, src, false) * 1000);
#endif
}

void Bilinears() {
  Bilinear(1.5, "1920x1080 x1.5 x3");
  Bilinear(0.5, "1920x1080 x0.5 x3");
}

void Bicubic() {
  Buffer src = Source(), dst(kWidth * 3 / 2, kHeight * 3 / 2);
  double ours = Ours(dst, src, true);
#ifdef QUILLET_HAVE_STB
  Buffer peer(dst.width, dst.height);
  double theirs = bench::Time([] {},
                              [&] {
                                for (int i = 0; i < kRepeats; ++i)
                                  stbir_resize_uint8_generic(src.pixels.data(), src.width, src.height, src.Stride(),
                                                             peer.pixels.data(), peer.width, peer.height, peer.Stride(),
                                                             4, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP,
                                                             STBIR_FILTER_CATMULLROM, STBIR_COLORSPACE_LINEAR, nullptr);
                              });
  Line("ZqDibScale_BiCubic 1920x1080 x1.5 x3", dst, ours, theirs, "stb_image_resize");
#else
  std::printf("ZqDibScale_BiCubic: %.2f ms (stb_image_resize not installed: scripts/bench-peers)\n", ours * 1000);
#endif
}

}  // namespace

BENCHMARK_ENTRY("image scaling bilinear", Bilinears);
BENCHMARK_ENTRY("image scaling bicubic", Bicubic);
