// Pixel types, image blocks, single-pixel access, flip, red/blue exchange
// and the colour quantizer, against the independent model.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "dib_model.h"
#include "dib_test_support.h"
#include "guarded_memory.h"

namespace {

using dibtest::TestImage;

struct HeaderWithMasks {
  BITMAPINFOHEADER header;
  DWORD masks[3];
};

TEST(DibPixelTypes, ClassifiesHeaders) {
  struct Case {
    DWORD compression;
    WORD bits;
    DWORD masks[3];
    int type;
  };
  const DWORD rgba = ZQDIB_FOURCC_RGBA, gray = ZQDIB_FOURCC_GRAY;
  const Case cases[] = {
      {BI_RGB, 1, {}, 16},
      {gray, 1, {}, 17},
      {gray, 2, {}, 18},
      {gray, 4, {}, 19},
      {gray, 8, {}, 20},
      {gray, 16, {}, 21},
      {gray, 32, {}, 22},
      {BI_RGB, 4, {}, 23},
      {BI_RGB, 8, {}, 24},
      {BI_RGB, 16, {}, 25},
      {BI_BITFIELDS, 16, {0xF800, 0x07E0, 0x001F}, 26},
      {BI_BITFIELDS, 16, {0x7C00, 0x03E0, 0x001F}, 25},
      {BI_BITFIELDS, 16, {0x001F, 0x7C00, 0x03E0}, 25},  // 5, 5, 5 bits anywhere
      {BI_RGB, 24, {}, 27},
      {BI_RGB, 32, {}, 28},
      {BI_BITFIELDS, 32, {0xFF0000, 0xFF00, 0xFF}, 28},
      {rgba, 32, {}, 29},
      {BI_BITFIELDS, 32, {0x3FF00000, 0xFFC00, 0x3FF}, 30},
      {rgba, 64, {}, 31},
      {rgba, 128, {}, 32},
      // unsupported
      {BI_BITFIELDS, 32, {0xF800, 0x07E0, 0x001F}, 0},
      {rgba, 24, {}, 0},
      {gray, 24, {}, 0},
      {BI_RGB, 2, {}, 0},
      {BI_RLE8, 8, {}, 0},
      {BI_BITFIELDS, 24, {0xFF0000, 0xFF00, 0xFF}, 0},
  };
  for (const Case& c : cases) {
    HeaderWithMasks h{};
    h.header.biSize = 40;
    h.header.biWidth = 4;
    h.header.biHeight = 4;
    h.header.biPlanes = 1;
    h.header.biBitCount = c.bits;
    h.header.biCompression = c.compression;
    std::memcpy(h.masks, c.masks, sizeof(h.masks));
    EXPECT_EQ(ZqGetPixelType(&h.header), c.type) << c.compression << "/" << c.bits;
    EXPECT_EQ(ZqVideo_IsCompressed(&h.header), c.type == 0) << c.compression << "/" << c.bits;
    h.header.biHeight = -4;  // top-down rows are not supported anywhere
    EXPECT_EQ(ZqGetPixelType(&h.header), 0);
  }
  EXPECT_EQ(ZqGetPixelType(nullptr), 0);
}

TEST(DibPixelTypes, ChannelBitsAttributesAndMasks) {
  const BYTE channels[17][4] = {{0, 0, 0, 1},     {0, 0, 0, 1},    {0, 0, 0, 2}, {0, 0, 0, 4}, {0, 0, 0, 8},
                                {0, 0, 0, 16},    {0, 0, 0, 32},   {8, 8, 8, 0}, {8, 8, 8, 0}, {5, 5, 5, 1},
                                {5, 6, 5, 0},     {8, 8, 8, 0},    {8, 8, 8, 8}, {8, 8, 8, 8}, {10, 10, 10, 2},
                                {16, 16, 16, 16}, {32, 32, 32, 32}};
  for (int t = 16; t <= 32; ++t) {
    BYTE bits[4];
    EXPECT_EQ(ZqGetPixelBitsPerChannel(t, bits), dibmodel::Bits(t));
    EXPECT_EQ(std::memcmp(bits, channels[t - 16], 4), 0) << t;
    DWORD compression = 1234, masks[3] = {1, 1, 1};
    ZQPIXELATTRIBS attribs;
    std::memset(&attribs, 0x5A, sizeof(attribs));
    EXPECT_EQ(ZqPixelTypeToBitAttribs(t, &compression, &attribs, sizeof(attribs), masks), dibmodel::Bits(t));
    EXPECT_EQ(attribs.size, 64u);
    EXPECT_EQ(attribs.flags, t >= 17 && t <= 22 ? 4096u : 0xFFFFFFFFu) << t;
    EXPECT_EQ(attribs.minusOne, -1);
    EXPECT_EQ(attribs.high, 1.0);
    if (t == 26) {
      EXPECT_EQ(compression, DWORD(BI_BITFIELDS));
      EXPECT_EQ(masks[0], 0xF800u);
      EXPECT_EQ(masks[1], 0x07E0u);
      EXPECT_EQ(masks[2], 0x001Fu);
    } else if (t == 30) {
      EXPECT_EQ(masks[0], 0x3FF00000u);
      EXPECT_EQ(masks[1], 0x000FFC00u);
      EXPECT_EQ(masks[2], 0x000003FFu);
    } else {
      EXPECT_EQ(masks[0] | masks[1] | masks[2], 0u) << t;
    }
  }
  BYTE bits[4] = {9, 9, 9, 9};
  EXPECT_EQ(ZqGetPixelBitsPerChannel(15, bits), 0);
  EXPECT_EQ(bits[0] | bits[1] | bits[2] | bits[3], 0);
  BYTE small[40];
  std::memset(small, 0x77, sizeof(small));
  EXPECT_EQ(ZqPixelTypeToBitAttribs(27, nullptr, small, sizeof(small), nullptr), 0);
  EXPECT_EQ(small[0], 0x77);
  EXPECT_EQ(ZqPixelTypeToBitAttribs(33, nullptr, nullptr, 0, nullptr), 0);
}

TEST(DibBlocks, HeadersSizesAndTables) {
  struct Case {
    int type, width, height;
    DWORD stride, clrUsed;
    int bitsOffset;  // from the header start
  };
  const Case cases[] = {
      {ZqPixel_Mono1, 33, 2, 8, 2, 48},   {ZqPixel_Gray2, 17, 3, 8, 4, 56},     {ZqPixel_Pal4, 9, 5, 8, 16, 104},
      {ZqPixel_Pal8, 5, 3, 8, 256, 1064}, {ZqPixel_Rgb565, 3, 3, 8, 0, 52},     {ZqPixel_Rgb24, 5, 2, 16, 0, 40},
      {ZqPixel_Rgb30, 2, 2, 8, 0, 52},    {ZqPixel_RgbaFloat, 3, 1, 48, 0, 40}, {ZqPixel_Gray16, 3, 3, 8, 0, 40},
  };
  for (const Case& c : cases) {
    BITMAPINFOHEADER* block = nullptr;
    ASSERT_EQ(ZqDibAlloc(&block, c.type, c.width, c.height, nullptr, 0, ZQDIBALLOC_ZERO), S_OK);
    EXPECT_EQ(block->biSize, 40u);
    EXPECT_EQ(block->biPlanes, 1);
    EXPECT_EQ(block->biSizeImage, c.stride * c.height) << c.type;
    EXPECT_EQ(block->biClrUsed, c.clrUsed) << c.type;
    EXPECT_EQ(ZqGetPixelType(block), c.type);
    // The bits start where the layout rule puts them: write the last byte
    // of the image through a pixel and find it at the end of the block.
    EXPECT_EQ(GlobalSize(GlobalHandle(block)), static_cast<SIZE_T>(c.bitsOffset) + c.stride * c.height) << c.type;
    DWORD size = 0;
    BITMAPINFOHEADER copy[2];
    EXPECT_EQ(ZqVideo_InitBitmapInfo(copy, c.type, c.width, c.height, nullptr, c.type >= 25 ? 0 : 1, &size), S_OK);
    EXPECT_EQ(size, c.stride * c.height);
    ZqDibFree(block, 0);
  }
  EXPECT_EQ(ZqDibFree(nullptr, 0), S_OK);
  // A given table is copied.
  RGBQUAD table[3] = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}};
  BITMAPINFOHEADER* block = nullptr;
  ASSERT_EQ(ZqDibAlloc(&block, ZqPixel_Pal8, 4, 4, table, 3, 0), S_OK);
  EXPECT_EQ(block->biClrUsed, 3u);
  EXPECT_EQ(std::memcmp(block + 1, table, sizeof(table)), 0);
  ZqDibFree(block, 0);
  // A table with a count of 0: a palette header with count 0 has its bits
  // after a full table, so a full table is reserved and the bits lie inside
  // the block.
  ASSERT_EQ(ZqDibAlloc(&block, ZqPixel_Pal8, 4, 4, table, 0, 0), S_OK);
  EXPECT_EQ(block->biClrUsed, 256u);
  EXPECT_EQ(GlobalSize(GlobalHandle(block)), SIZE_T(40 + 1024 + 16));
  ZQWIDEPIXEL p{65535, 65535, 65535, 65535};
  EXPECT_EQ(ZqDibSetPixel(block, nullptr, 0, 3, 3, &p), S_OK);
  ZqDibFree(block, 0);
}

// A header the caller sized by what it gives: the masks of the bit-field
// types and the entries of a given table follow it, nothing else. Blocks of
// the library's own fill the entries nobody gave with a grey ramp.
TEST(DibBlocks, HeadersWriteOnlyTheMasksAndEntriesGiven) {
  const RGBQUAD table[3] = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}};
  const DWORD masks565[3] = {0xF800, 0x07E0, 0x001F};
  struct Case {
    int type;
    const RGBQUAD* table;
    int count;
    DWORD clrUsed;
    const void* after;  // what follows the header
    size_t afterBytes;
  } cases[] = {
      {ZqPixel_Gray2, nullptr, 0, 4, nullptr, 0},       {ZqPixel_Mono1, nullptr, 1, 1, nullptr, 0},
      {ZqPixel_Pal8, nullptr, 0, 256, nullptr, 0},      {ZqPixel_Pal4, nullptr, -3, 16, nullptr, 0},
      {ZqPixel_Pal8, table, 3, 3, table, 12},           {ZqPixel_Pal4, table, 2, 2, table, 8},
      {ZqPixel_Rgb565, table, 3, 0, masks565, 12},      {ZqPixel_Rgb24, nullptr, 0, 0, nullptr, 0},
  };
  for (const Case& c : cases) {
    std::vector<BYTE> block(sizeof(BITMAPINFOHEADER) + 4 * 256, 0xAB);
    auto header = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
    ASSERT_EQ(ZqVideo_InitBitmapInfo(header, c.type, 4, 4, c.table, c.count, nullptr), S_OK) << c.type;
    EXPECT_EQ(header->biClrUsed, c.clrUsed) << c.type;
    if (c.afterBytes) {
      EXPECT_EQ(std::memcmp(header + 1, c.after, c.afterBytes), 0) << c.type;
    }
    size_t written = 0;
    for (size_t i = sizeof(BITMAPINFOHEADER); i < block.size(); ++i)
      if (block[i] != 0xAB) written = i + 1 - sizeof(BITMAPINFOHEADER);
    EXPECT_EQ(written, c.afterBytes) << "type " << c.type << " count " << c.count;
  }
  BITMAPINFOHEADER* own = nullptr;
  ASSERT_EQ(ZqDibAlloc(&own, ZqPixel_Gray2, 4, 4, nullptr, 0, 0), S_OK);
  const RGBQUAD ramp[4] = {{0, 0, 0, 0}, {85, 85, 85, 0}, {170, 170, 170, 0}, {255, 255, 255, 0}};
  EXPECT_EQ(std::memcmp(own + 1, ramp, sizeof(ramp)), 0);
  ZqDibFree(own, 0);
}

// Sizes whose 32-bit products wrap would give a short block; they are refused.
TEST(DibBlocks, ImpossibleSizesAreRefused) {
  struct Case {
    int type, width, height;
    HRESULT expected;
  };
  const Case cases[] = {
      {ZqPixel_Rgb24, 65536, 65536, E_INVALIDARG},   // stride x height = 3 x 2^32
      {ZqPixel_Rgb32, 0x7FFFFFFF, 1, E_INVALIDARG},  // the stride alone
      {ZqPixel_RgbaFloat, 20000, 20000, E_INVALIDARG},
      {ZqPixel_Rgb32, 0, 10, E_INVALIDARG},
      {ZqPixel_Rgb32, 10, -1, E_INVALIDARG},
      {ZqPixel_Rgb32, -10, 10, E_INVALIDARG},
      {15, 10, 10, E_INVALIDARG},
      {33, 10, 10, E_INVALIDARG},
  };
  for (const Case& c : cases) {
    BITMAPINFOHEADER* block = reinterpret_cast<BITMAPINFOHEADER*>(1);
    EXPECT_EQ(ZqDibAlloc(&block, c.type, c.width, c.height, nullptr, 0, 0), c.expected) << c.width << "x" << c.height;
    EXPECT_EQ(block, nullptr);
    BITMAPINFOHEADER header;
    EXPECT_EQ(ZqVideo_InitBitmapInfo(&header, c.type, c.width, c.height, nullptr, 0, nullptr), c.expected);
  }
  EXPECT_EQ(ZqVideo_InitBitmapInfo(nullptr, ZqPixel_Rgb24, 4, 4, nullptr, 0, nullptr), E_INVALIDARG);
  // A crafted header with a wrapping size is refused by the pixel operations too.
  TestImage image(ZqPixel_Rgb24, 4, 4);
  BITMAPINFOHEADER crafted = *image.Header();
  crafted.biWidth = 65536;
  crafted.biHeight = 65536;
  ZQWIDEPIXEL p{};
  EXPECT_EQ(ZqDibSetPixel(&crafted, image.Bits(), 0, 65535, 0, &p), E_INVALIDARG);
  EXPECT_EQ(ZqDibSet(&crafted, image.Bits(), nullptr, 0, 1, 1, 1, 1, 0), E_INVALIDARG);
  // A colour count that would place the bits far outside any block.
  BITMAPINFOHEADER* block = image.Header();
  DWORD used = block->biClrUsed;
  block->biClrUsed = 0x40000000;
  EXPECT_EQ(ZqDibSetPixel(block, nullptr, 0, 0, 0, &p), E_INVALIDARG);
  block->biClrUsed = used;
}

TEST(DibTexts, FormatAndAttributeTexts) {
  struct Case {
    DWORD compression;
    int length;
    const wchar_t* text;
  };
  const Case cases[] = {
      {BI_RGB, 64, L"RGB"},
      {BI_BITFIELDS, 64, L"RGB (bitfields)"},
      {ZQDIB_FOURCC_RGBA, 64, L"RGBA"},
      {ZQDIB_FOURCC_GRAY, 64, L"Grayscale"},
      {ZQDIB_FOURCC_GRAY, 5, L"Gray"},
      {BI_RGB, 1, L""},
      {0x32595559, 64, L"YUY2"},
      {0x01025859, 64, L"YX.."},
      {0x32595559, 3, L"YU"},
      {0x32595559, 1, L""},
  };
  testsupport::GuardedMemory guard(256);
  ASSERT_TRUE(guard.Ready());
  for (const Case& c : cases) {
    // The buffer ends at an inaccessible page: a write past the capacity faults.
    WCHAR* out = guard.Output(c.length);
    EXPECT_EQ(ZqVideo_GetFormatText(c.compression, out, c.length), S_OK);
    EXPECT_STREQ(out, c.text);
  }
  TestImage image(ZqPixel_Rgb24, 640, 2);
  WCHAR text[32];
  EXPECT_EQ(ZqVideo_GetAttribsText(image.Header(), text, 0), S_OK);
  EXPECT_STREQ(text, L"640x2x24");
  EXPECT_EQ(ZqVideo_GetAttribsTextEx(image.Header(), 0, text, 0, 0), S_OK);
  EXPECT_STREQ(text, L"640x2x24");
  EXPECT_EQ(ZqVideo_GetAttribsText(image.Header(), nullptr, 0), S_OK);
  EXPECT_EQ(ZqVideoDSP_ForceExternRef(), S_OK);

  PALETTEENTRY entries[2] = {{10, 20, 30, 99}, {1, 2, 3, 4}};
  ZQRGBA rgba[2];
  ZqVideo_PaletteRGBAFromEntry(rgba, entries, 2);
  EXPECT_EQ(rgba[0].blue, 30);
  EXPECT_EQ(rgba[0].green, 20);
  EXPECT_EQ(rgba[0].red, 10);
  EXPECT_EQ(rgba[0].alpha, 0);
  PALETTEENTRY back[2];
  ZqVideo_PaletteEntryFromRGBA(back, rgba, 2);
  EXPECT_EQ(back[1].peRed, 1);
  EXPECT_EQ(back[1].peBlue, 3);
  EXPECT_EQ(back[1].peFlags, 0);
}

// Every value of the small types, random pixels of the others: expansion
// with the exact rule.
TEST(DibPixelAccess, GetPixelExpandsLikeTheModel) {
  std::mt19937 rng(61);
  for (int t = 16; t <= 32; ++t) {
    // A short colour table: indices past it must read black, not past the table.
    std::vector<RGBQUAD> table = t == ZqPixel_Pal8 ? dibtest::RandomPalette(rng, 200) : dibtest::PaletteFor(t, rng);
    int bits = dibmodel::Bits(t);
    int width = bits <= 16 ? (1 << bits) : 64;
    TestImage image(t, width, 3, table);
    image.Randomise(rng);
    if (bits <= 16)
      for (int v = 0; v < width; ++v) {
        for (int k = 0; k < bits; ++k)
          dibmodel::SetBitAt(image.Row(1), int64_t(v) * bits + k, (v >> (bits - 1 - k)) & 1);
        if (bits == 16) dibmodel::PutUnit(image.Row(1) + 2 * v, 2, v);
      }
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < width; ++x) {
        ZQWIDEPIXEL p;
        ASSERT_EQ(ZqDibGetPixel(image.Header(), nullptr, 0, x, y, &p), S_OK);
        dibmodel::Wide w = dibmodel::Expand(t, image.Row(y), x, true, image.Palette());
        ASSERT_EQ((dibmodel::Wide{p.blue, p.green, p.red, p.alpha}), w) << "type " << t << " x " << x << " y " << y;
      }
    ZQWIDEPIXEL p;
    EXPECT_EQ(ZqDibGetPixel(image.Header(), nullptr, 0, width, 0, &p), E_NOTIMPL);
    EXPECT_EQ(ZqDibGetPixel(image.Header(), nullptr, 0, 0, -1, &p), E_NOTIMPL);
  }
  // (0, 0) is in the last stored row.
  TestImage image(ZqPixel_Gray8, 4, 3);
  image.Bits()[2 * image.Stride()] = 200;
  ZQWIDEPIXEL p;
  ASSERT_EQ(ZqDibGetPixel(image.Header(), nullptr, 0, 0, 0, &p), S_OK);
  EXPECT_EQ(p.red, 200 * 257);
}

TEST(DibPixelAccess, SetPixelPacksLikeTheModel) {
  std::mt19937 rng(62);
  std::uniform_int_distribution<int> level(0, 65535);
  for (int t = 16; t <= 32; ++t) {
    TestImage image(t, 9, 4, dibtest::PaletteFor(t, rng));
    image.Randomise(rng);
    std::vector<BYTE> expected = image.Snapshot();
    std::vector<BYTE> quantizer;
    if (dibmodel::IsPaletteType(t)) quantizer = dibmodel::Quantizer(image.Palette().table, image.Palette().entries);
    for (int i = 0; i < 36; ++i) {
      int x = i % 9, y = i / 9;
      ZQWIDEPIXEL p{WORD(level(rng)), WORD(level(rng)), WORD(level(rng)), WORD(level(rng))};
      if (i == 0) p = ZQWIDEPIXEL{32767, 32767, 32768, 0};  // sum 98302: a clear bit
      if (i == 1) p = ZQWIDEPIXEL{32768, 32768, 32767, 0};  // sum 98303: a set bit
      ASSERT_EQ(ZqDibSetPixel(image.Header(), nullptr, 0, x, y, &p), S_OK);
      dibmodel::Pack(t, expected.data() + size_t(image.Height() - 1 - y) * image.Stride(), x,
                     dibmodel::Wide{p.blue, p.green, p.red, p.alpha}, quantizer.data());
    }
    ASSERT_EQ(image.Snapshot(), expected) << "type " << t;
    if (t == ZqPixel_Mono1) {
      EXPECT_EQ(image.Row(0)[0] & 0xC0, 0x40);
    }
    ZQWIDEPIXEL p{};
    EXPECT_EQ(ZqDibSetPixel(image.Header(), nullptr, 0, 9, 0, &p), E_INVALIDARG);
    EXPECT_EQ(ZqDibSetPixel(image.Header(), nullptr, 0, 0, 4, &p), E_INVALIDARG);
  }
}

TEST(DibQuantizer, MatchesTheModelAndReachesEveryIndex) {
  std::mt19937 rng(63);
  for (int entries : {1, 7, 16, 256}) {
    std::vector<RGBQUAD> table = dibtest::RandomPalette(rng, entries);
    if (entries == 256) table[255] = RGBQUAD{255, 255, 255, 0};  // the only white entry
    TestImage image(entries <= 16 ? ZqPixel_Pal4 : ZqPixel_Pal8, 2, 2, table);
    BYTE* cells = nullptr;
    ASSERT_EQ(ZqDibCreateColorQuantizer(&cells, image.Header()), S_OK);
    std::vector<BYTE> model = dibmodel::Quantizer(table.data(), entries);
    EXPECT_EQ(std::vector<BYTE>(cells, cells + 32768), model) << entries;
    if (entries == 256) {
      EXPECT_EQ(cells[32767], 255);  // white maps to entry 255
    }
    ZqDibFree(cells, 0);
  }
  TestImage rgb(ZqPixel_Rgb24, 2, 2);
  BYTE* cells = reinterpret_cast<BYTE*>(1);
  EXPECT_EQ(ZqDibCreateColorQuantizer(&cells, rgb.Header()), E_INVALIDARG);
  EXPECT_EQ(cells, nullptr);
  EXPECT_EQ(ZqDibCreateColorQuantizer(nullptr, rgb.Header()), E_POINTER);
}

// Flip and red/blue exchange work on the rectangle asked for, wherever it lies.
TEST(DibInPlace, FlipAndSwapWorkOnTheRectangle) {
  std::mt19937 rng(64);
  for (int t : {ZqPixel_Pal4, ZqPixel_Pal8, ZqPixel_Rgb555, ZqPixel_Rgb24, ZqPixel_Rgba32, ZqPixel_Rgba64}) {
    TestImage image(t, 11, 7, dibtest::PaletteFor(t, rng));
    image.Randomise(rng);
    std::vector<BYTE> before = image.Snapshot();
    RECT r{3, 1, 7, 6};  // both ends inside a byte of the 4-bit type
    ASSERT_EQ(ZqDibFlip(image.Header(), nullptr, &r, 0, TRUE, TRUE), S_OK);
    int bits = dibmodel::Bits(t);
    auto valueAt = [&](const BYTE* data, int x, int y) {
      const BYTE* row = data + size_t(image.Height() - 1 - y) * image.Stride();
      uint64_t v = 0;
      for (int k = 0; k < bits; ++k) v = v << 1 | dibmodel::BitAt(row, int64_t(x) * bits + k);
      return v;
    };
    std::vector<BYTE> after = image.Snapshot();
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 11; ++x) {
        bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        int from = inside ? r.top + r.bottom - 1 - y : y;
        ASSERT_EQ(valueAt(after.data(), x, y), valueAt(before.data(), x, from)) << t << " " << x << "," << y;
      }
  }
  for (int t : {16, 17, 20, 22, 30, 32}) {
    TestImage image(t, 4, 4);
    EXPECT_EQ(ZqDibFlip(image.Header(), nullptr, nullptr, 0, FALSE, TRUE), E_NOTIMPL) << t;
  }
  for (int t : {ZqPixel_Rgb24, ZqPixel_Rgb32, ZqPixel_Rgba32}) {
    TestImage image(t, 9, 6);
    image.Randomise(rng);
    std::vector<BYTE> before = image.Snapshot();
    RECT r{2, 3, 7, 5};
    ASSERT_EQ(ZqDibSwapRB(image.Header(), nullptr, &r, 0), S_OK);
    int step = dibmodel::Bits(t) / 8;
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 9; ++x) {
        bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        const BYTE* now = image.Row(y) + x * step;
        const BYTE* was = before.data() + size_t(5 - y) * image.Stride() + x * step;
        EXPECT_EQ(now[0], was[inside ? 2 : 0]);
        EXPECT_EQ(now[2], was[inside ? 0 : 2]);
        EXPECT_EQ(now[1], was[1]);
      }
  }
  TestImage other(ZqPixel_Rgb565, 4, 4);
  EXPECT_EQ(ZqDibSwapRB(other.Header(), nullptr, nullptr, 0), E_NOTIMPL);
}

}  // namespace
