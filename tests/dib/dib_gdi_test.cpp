// The platform as a second oracle for the block layout: GDI draws our
// 16-, 24- and 32-bit blocks (stride, bottom-up rows, bit masks) and writes
// into them, and every pixel agrees with ZqDibGetPixel.
#include <gtest/gtest.h>

#include <random>

#include "dib_test_support.h"

namespace {

using dibtest::TestImage;

// A top-down 32-bit DIB section selected into a memory device context.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels_), nullptr, 0);
    if (bitmap_) old_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    if (old_) SelectObject(dc_, old_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  bool Ok() const { return pixels_ != nullptr; }
  HDC Dc() const { return dc_; }
  HBITMAP Bitmap() const { return bitmap_; }
  const BYTE* Pixel(int x, int y) const { return pixels_ + (static_cast<size_t>(y) * width_ + x) * 4; }
  BYTE* Pixel(int x, int y) { return pixels_ + (static_cast<size_t>(y) * width_ + x) * 4; }

 private:
  int width_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  BYTE* pixels_ = nullptr;
};

// Significant bits per channel (blue, green, red) of each type.
struct Depth {
  int type, b, g, r;
};
const Depth kTypes[] = {{ZqPixel_Rgb555, 5, 5, 5}, {ZqPixel_Rgb565, 5, 6, 5}, {ZqPixel_Rgb24, 8, 8, 8},
                        {ZqPixel_Rgb32, 8, 8, 8}};

void ExpectSameTopBits(const BYTE* gdi, const ZQWIDEPIXEL& ours, const Depth& d, int x, int y) {
  EXPECT_EQ(gdi[0] >> (8 - d.b), ours.blue >> (16 - d.b)) << "type " << d.type << " at " << x << "," << y;
  EXPECT_EQ(gdi[1] >> (8 - d.g), ours.green >> (16 - d.g)) << "type " << d.type << " at " << x << "," << y;
  EXPECT_EQ(gdi[2] >> (8 - d.r), ours.red >> (16 - d.r)) << "type " << d.type << " at " << x << "," << y;
}

TEST(DibPlatform, GdiDrawsOurBlocksAsWeReadThem) {
  std::mt19937 rng(90);
  const int width = 13, height = 7;  // odd width: rows carry padding
  for (const Depth& d : kTypes) {
    TestImage image(d.type, width, height);
    image.Randomise(rng);
    Canvas canvas(width, height);
    ASSERT_TRUE(canvas.Ok());
    ASSERT_EQ(SetDIBitsToDevice(canvas.Dc(), 0, 0, width, height, 0, 0, 0, height, image.Bits(),
                                reinterpret_cast<BITMAPINFO*>(image.Header()), DIB_RGB_COLORS),
              height);
    GdiFlush();
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        ZQWIDEPIXEL p;
        ASSERT_EQ(ZqDibGetPixel(image.Header(), nullptr, 0, x, y, &p), S_OK);
        ExpectSameTopBits(canvas.Pixel(x, y), p, d, x, y);
      }
  }
}

TEST(DibPlatform, GdiWritesOurBlocksAsWeReadThem) {
  std::mt19937 rng(91);
  const int width = 11, height = 5;
  for (const Depth& d : kTypes) {
    Canvas canvas(width, height);
    ASSERT_TRUE(canvas.Ok());
    std::uniform_int_distribution<int> byte(0, 255);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        for (int c = 0; c < 4; ++c) canvas.Pixel(x, y)[c] = static_cast<BYTE>(byte(rng));
    GdiFlush();
    // GDI writes a section laid out by our header; we read its bits. (Wine 8's
    // GetDIBits leaves a 16-bit bit-field target empty, so it is not used.)
    TestImage image(d.type, width, height);
    BYTE* sectionBits = nullptr;
    HBITMAP section = CreateDIBSection(canvas.Dc(), reinterpret_cast<BITMAPINFO*>(image.Header()), DIB_RGB_COLORS,
                                       reinterpret_cast<void**>(&sectionBits), nullptr, 0);
    ASSERT_NE(section, nullptr);
    HDC sectionDc = CreateCompatibleDC(canvas.Dc());
    HGDIOBJ old = SelectObject(sectionDc, section);
    ASSERT_TRUE(BitBlt(sectionDc, 0, 0, width, height, canvas.Dc(), 0, 0, SRCCOPY));
    GdiFlush();
    std::memcpy(image.Bits(), sectionBits, image.Bytes());
    SelectObject(sectionDc, old);
    DeleteDC(sectionDc);
    DeleteObject(section);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        ZQWIDEPIXEL p;
        ASSERT_EQ(ZqDibGetPixel(image.Header(), nullptr, 0, x, y, &p), S_OK);
        ExpectSameTopBits(canvas.Pixel(x, y), p, d, x, y);
      }
    // Our writer, read back by GDI: packing round-trips through the platform.
    ZQWIDEPIXEL colour{0x1234, 0xABCD, 0xF00F, 0xFFFF};
    ASSERT_EQ(ZqDibSetPixel(image.Header(), nullptr, 0, 3, 2, &colour), S_OK);
    ASSERT_EQ(SetDIBitsToDevice(canvas.Dc(), 0, 0, width, height, 0, 0, 0, height, image.Bits(),
                                reinterpret_cast<BITMAPINFO*>(image.Header()), DIB_RGB_COLORS),
              height);
    GdiFlush();
    ExpectSameTopBits(canvas.Pixel(3, 2), colour, d, 3, 2);
  }
}

}  // namespace
