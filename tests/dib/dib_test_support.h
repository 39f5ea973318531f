// Image blocks for the image-engine tests: allocated through the module,
// filled with seeded random pixels, and read back row by row.
#pragma once
#include <windows.h>

#include <cstring>
#include <random>
#include <vector>

#include "dib_model.h"
#include "zq/dib.h"

namespace dibtest {

class TestImage {
 public:
  TestImage(int type, int width, int height, const std::vector<RGBQUAD>& table = {}) {
    ZqDibAlloc(&header_, type, width, height, table.empty() ? nullptr : table.data(),
               static_cast<int>(table.size()), ZQDIBALLOC_ZERO);
    if (!header_) return;
    type_ = type;
    stride_ = (width * dibmodel::Bits(type) + 31) / 32 * 4;
    int offset = header_->biCompression == BI_BITFIELDS ? 12 : 4 * static_cast<int>(header_->biClrUsed);
    bits_ = reinterpret_cast<BYTE*>(header_ + 1) + offset;
  }
  ~TestImage() { ZqDibFree(header_, 0); }
  TestImage(const TestImage&) = delete;
  TestImage& operator=(const TestImage&) = delete;

  bool Ok() const { return header_ != nullptr; }
  BITMAPINFOHEADER* Header() const { return header_; }
  BYTE* Bits() const { return bits_; }
  int Type() const { return type_; }
  int Width() const { return header_->biWidth; }
  int Height() const { return header_->biHeight; }
  int Stride() const { return stride_; }
  size_t Bytes() const { return static_cast<size_t>(stride_) * Height(); }
  // Picture row y (0 = top).
  BYTE* Row(int y) const { return bits_ + static_cast<size_t>(Height() - 1 - y) * stride_; }
  std::vector<BYTE> Snapshot() const { return std::vector<BYTE>(bits_, bits_ + Bytes()); }
  dibmodel::Palette Palette() const {
    dibmodel::Palette p;
    if (dibmodel::IsPaletteType(type_)) {
      p.table = reinterpret_cast<const RGBQUAD*>(header_ + 1);
      p.entries = static_cast<int>(header_->biClrUsed);
    }
    return p;
  }

  // Random pixels; float types get values from -0.25 to 1.25 and a few
  // special values, so that every clamp is crossed.
  void Randomise(std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255);
    for (size_t i = 0; i < Bytes(); ++i) bits_[i] = static_cast<BYTE>(byte(rng));
    if (type_ == ZqPixel_GrayFloat || type_ == ZqPixel_RgbaFloat) {
      std::uniform_real_distribution<float> level(-0.25f, 1.25f);
      const float special[] = {0.0f, 1.0f, 0.5f, 1.0f / 65535.0f, -0.0f};
      int n = 0;
      for (int y = 0; y < Height(); ++y) {
        auto f = reinterpret_cast<float*>(Row(y));
        int count = Width() * (type_ == ZqPixel_GrayFloat ? 1 : 4);
        for (int i = 0; i < count; ++i, ++n) f[i] = n % 7 == 0 ? special[(n / 7) % 5] : level(rng);
      }
    }
  }

 private:
  BITMAPINFOHEADER* header_ = nullptr;
  BYTE* bits_ = nullptr;
  int type_ = 0;
  int stride_ = 0;
};

inline std::vector<RGBQUAD> RandomPalette(std::mt19937& rng, int entries) {
  std::vector<RGBQUAD> table(entries);
  std::uniform_int_distribution<int> byte(0, 255);
  for (auto& e : table) e = RGBQUAD{BYTE(byte(rng)), BYTE(byte(rng)), BYTE(byte(rng)), 0};
  return table;
}

// A palette for palette types, nothing for the others.
inline std::vector<RGBQUAD> PaletteFor(int type, std::mt19937& rng) {
  if (type == ZqPixel_Pal4) return RandomPalette(rng, 16);
  if (type == ZqPixel_Pal8) return RandomPalette(rng, 256);
  return {};
}

}  // namespace dibtest
