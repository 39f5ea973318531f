// The bicubic scaler against ImageMagick's Catmull-Rom resize (the same
// a = -0.5 kernel, pixel-centre mapping and vertical pass first) on
// enlargements of a seeded plasma picture: every channel within 2 (at the
// borders ImageMagick renormalises the taps that fall outside, where the
// scaler repeats the edge pixel).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "zq/dib.h"

namespace {

struct Picture {
  int width = 0, height = 0;
  std::vector<BYTE> bgra;  // row 0 first
};

// A binary PPM ("P6", maximum 255) as 4-byte pixels with alpha 255.
bool ReadPpm(const std::string& path, Picture& picture) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maximum = 0;
  if (!(in >> magic >> picture.width >> picture.height >> maximum) || magic != "P6" || maximum != 255) return false;
  in.get();
  std::vector<BYTE> rgb(static_cast<size_t>(picture.width) * picture.height * 3);
  if (!in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()))) return false;
  picture.bgra.resize(static_cast<size_t>(picture.width) * picture.height * 4);
  for (size_t i = 0; i < rgb.size() / 3; ++i) {
    picture.bgra[4 * i] = rgb[3 * i + 2];
    picture.bgra[4 * i + 1] = rgb[3 * i + 1];
    picture.bgra[4 * i + 2] = rgb[3 * i];
    picture.bgra[4 * i + 3] = 255;
  }
  return true;
}

TEST(DibMagick, BicubicEnlargementsMatchCatmullRom) {
  std::string dir = QUILLET_DIB_REFERENCE_DIR;
  Picture source;
  ASSERT_TRUE(ReadPpm(dir + "/plasma.ppm", source));
  for (const char* name : {"/catrom-36x24.ppm", "/catrom-60x40.ppm"}) {
    Picture reference;
    ASSERT_TRUE(ReadPpm(dir + name, reference));
    std::vector<BYTE> ours(reference.bgra.size(), 0);
    SIZE ds{reference.width, reference.height}, ss{source.width, source.height};
    ASSERT_EQ(ZqDibScale_BiCubic(ours.data(), &ds, reference.width * 4, nullptr, source.bgra.data(), &ss,
                                 source.width * 4, nullptr, 4, FALSE, TRUE),
              S_OK);
    int worst = 0;
    for (size_t i = 0; i < ours.size(); ++i) worst = std::max(worst, std::abs(ours[i] - reference.bgra[i]));
    EXPECT_LE(worst, 2) << name;
  }
}

}  // namespace
