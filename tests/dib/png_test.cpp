// PNG images through the module: libpng's own test images decoded to the
// pixels ImageMagick reads from them, damaged and hostile data refused
// cleanly, saved files read back (and checked outside Wine by pngcheck
// and ImageMagick, png_saved_check.sh), resources of both types.
#include <gtest/gtest.h>
#include <png.h>
#include <windows.h>
#include <psapi.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "dib_test_support.h"
#include "module_support.h"
#include "test_paths.h"
#include "zq/errors.h"
#include "zq/lang.h"
#include "zq/png.h"

namespace {

using testsupport::BusyHeapBytes;

std::vector<BYTE> ReadFile(const std::wstring& path) {
  std::vector<BYTE> bytes;
  if (FILE* f = _wfopen(path.c_str(), L"rb")) {
    BYTE buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
  }
  return bytes;
}

void WriteFile(const std::wstring& path, const void* data, size_t size) {
  if (FILE* f = _wfopen(path.c_str(), L"wb")) {
    fwrite(data, 1, size, f);
    fclose(f);
  }
}

std::vector<std::wstring> Files(const std::wstring& pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.push_back(data.cFileName);
  while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

DWORD BigEndian(const BYTE* p) { return DWORD(p[0]) << 24 | DWORD(p[1]) << 16 | DWORD(p[2]) << 8 | p[3]; }

// The file's gamma (gAMA, or sRGB's), 0 when it has none.
double FileGamma(const std::vector<BYTE>& png) {
  for (size_t at = 8; at + 12 <= png.size();) {
    const DWORD length = BigEndian(&png[at]);
    const std::string type(reinterpret_cast<const char*>(&png[at + 4]), 4);
    if (type == "gAMA" && length == 4 && at + 12 <= png.size()) return BigEndian(&png[at + 8]) / 100000.0;
    if (type == "sRGB") return 0.45455;
    if (type == "IDAT") break;
    at += 12 + length;
  }
  return 0.0;
}

struct Reference {
  int width = 0, height = 0;
  std::vector<WORD> rgba;  // 16-bit red, green, blue, alpha, top row first
};

Reference ReadReference(const std::wstring& base) {
  Reference r;
  const std::vector<BYTE> size = ReadFile(base + L".size");
  sscanf(std::string(size.begin(), size.end()).c_str(), "%d %d", &r.width, &r.height);
  std::vector<BYTE> raw = ReadFile(base + L".rgba");
  r.rgba.resize(raw.size() / 2);
  memcpy(r.rgba.data(), raw.data(), r.rgba.size() * 2);
  return r;
}

// Every decodable image of the two suites gives ImageMagick's pixels: at
// 16 bits for 16-bit files, at 8 bits otherwise; gamma-corrected files
// within two 8-bit steps of the corrected reference.
TEST(Png, SuiteImagesDecodeToTheReferencePixels) {
  const std::wstring dir = testsupport::BuildPath(L"png-check\\reference\\");
  const std::vector<std::wstring> names = Files(dir + L"*.rgba");
  ASSERT_GE(names.size(), 100u) << "no reference images: png_reference.sh did not run";
  int corrected = 0;
  for (const std::wstring& name : names) {
    const std::wstring base = dir + name.substr(0, name.size() - 5);
    const std::vector<BYTE> file = ReadFile(base + L".png");
    const int depth = file.size() > 24 ? file[24] : 0;
    const double gamma = FileGamma(file);
    const double exponent = gamma > 0 ? 1.0 / (2.2 * gamma) : 1.0;
    const bool gammaApplies = std::fabs(exponent - 1.0) >= 0.05;
    corrected += gammaApplies;
    BITMAPINFOHEADER* image = nullptr;
    ASSERT_EQ(ZqLoadDiskPngDibEx((base + L".png").c_str(), &image), S_OK) << std::string(name.begin(), name.end());
    const Reference ref = ReadReference(base);
    ASSERT_EQ(image->biWidth, ref.width);
    ASSERT_EQ(image->biHeight, ref.height);
    int worst = 0;
    for (int y = 0; y < ref.height; ++y)
      for (int x = 0; x < ref.width; ++x) {
        ZQWIDEPIXEL p{};
        ASSERT_EQ(ZqDibGetPixel(image, nullptr, 0, x, y, &p), S_OK);
        const WORD ours[4] = {p.red, p.green, p.blue, p.alpha};
        const WORD* theirs = &ref.rgba[(static_cast<size_t>(y) * ref.width + x) * 4];
        for (int c = 0; c < 4; ++c) {
          double expected = theirs[c];
          if (gammaApplies && c < 3) expected = std::pow(theirs[c] / 65535.0, exponent) * 65535.0;
          // libpng corrects grey of 2 and 4 bits at that depth: one step of it.
          const int type = ZqGetPixelType(image);
          const double step = type == ZqPixel_Gray2 ? 21845 : type == ZqPixel_Gray4 ? 4369 : 2 * 257;
          const double tolerance = gammaApplies ? step + 1 : depth == 16 ? 0 : 255;
          const int off = static_cast<int>(std::fabs(ours[c] - expected));
          if (!gammaApplies && depth != 16) {
            ASSERT_EQ(ours[c] >> 8, theirs[c] >> 8) << std::string(name.begin(), name.end()) << " " << x << "," << y;
          } else {
            ASSERT_LE(off, tolerance) << std::string(name.begin(), name.end()) << " " << x << "," << y << " " << c << " ours " << ours[c] << " ref " << theirs[c] << " gamma " << gamma;
          }
          worst = std::max(worst, off);
        }
      }
    ZqDibFree(image, 0);
  }
  EXPECT_GT(corrected, 0);  // the suites hold gamma files: the path ran
}


bool CleanFailure(HRESULT hr) {
  return hr == E_FAIL || hr == ZQ_E_FILE_CORRUPT || hr == E_OUTOFMEMORY || hr == E_INVALIDARG;
}

// The damaged files libpng keeps for its own tests: each is refused with a
// clear code (or, for an oversized ancillary chunk libpng skips, loaded),
// never a crash; nothing is left allocated.
TEST(Png, DamagedFilesFailCleanlyAndLeakNothing) {
  const std::wstring dir = testsupport::BuildPath(L"deps\\src\\libpng\\contrib\\testpngs\\crashers\\");
  const std::vector<std::wstring> names = Files(dir + L"*.png");
  ASSERT_GE(names.size(), 10u);
  auto loadAll = [&](bool check) {
    for (const std::wstring& name : names) {
      const std::vector<BYTE> bytes = ReadFile(dir + name);
      BITMAPINFOHEADER* image = reinterpret_cast<BITMAPINFOHEADER*>(1);
      const HRESULT hr = ZqDibFromPng(&image, bytes.data(), static_cast<DWORD>(bytes.size()));
      if (!check) {
        ZqDibFree(image, 0);
        continue;
      }
      const std::string n(name.begin(), name.end());
      if (n.rfind("bad", 0) == 0 || n == "huge_IDAT.png") EXPECT_TRUE(CleanFailure(hr)) << n << " " << std::hex << hr;
      else EXPECT_TRUE(hr == S_OK || CleanFailure(hr)) << n << " " << std::hex << hr;
      EXPECT_EQ(image == nullptr, FAILED(hr)) << n;
      ZqDibFree(image, 0);
    }
  };
  loadAll(true);
  const SIZE_T before = BusyHeapBytes();
  for (int i = 0; i < 3; ++i) loadAll(false);
  EXPECT_EQ(BusyHeapBytes(), before);
}

// CRC-32 of the PNG chunks written here.
DWORD Crc(const BYTE* data, size_t n) {
  DWORD crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::vector<BYTE> HeaderOnly(DWORD width, DWORD height) {
  std::vector<BYTE> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (DWORD v : {width, height})
    for (int s = 24; s >= 0; s -= 8) png.push_back(static_cast<BYTE>(v >> s));
  png.insert(png.end(), {8, 6, 0, 0, 0});
  const DWORD crc = Crc(&png[12], 17);
  for (int s = 24; s >= 0; s -= 8) png.push_back(static_cast<BYTE>(crc >> s));
  return png;
}

TEST(Png, MemoryAndFileSourcesRefuseWhatIsNotAPng) {
  const std::vector<BYTE> good = ReadFile(testsupport::BuildPath(L"deps\\src\\libpng\\contrib\\pngsuite\\basn2c16.png"));
  ASSERT_GT(good.size(), 100u);
  BITMAPINFOHEADER* image = reinterpret_cast<BITMAPINFOHEADER*>(1);
  // The start of a signature only: on to libpng, which finds no header.
  for (DWORD n = 1; n < 8; ++n) {
    EXPECT_EQ(ZqDibFromPng(&image, good.data(), n), E_FAIL) << n;
    EXPECT_EQ(image, nullptr);
  }
  EXPECT_EQ(ZqDibFromPng(&image, good.data(), 0), ZQ_E_FILE_CORRUPT);
  EXPECT_EQ(ZqDibFromPng(&image, nullptr, 10), ZQ_E_FILE_CORRUPT);
  EXPECT_EQ(ZqDibFromPng(nullptr, good.data(), static_cast<DWORD>(good.size())), E_POINTER);
  std::vector<BYTE> wrong = good;
  wrong[1] = 'Q';
  EXPECT_EQ(ZqDibFromPng(&image, wrong.data(), static_cast<DWORD>(wrong.size())), ZQ_E_FILE_CORRUPT);
  for (size_t cut : {size_t(20), size_t(40), good.size() / 2, good.size() - 13})
    EXPECT_EQ(ZqDibFromPng(&image, good.data(), static_cast<DWORD>(cut)), E_FAIL) << cut;
  EXPECT_EQ(image, nullptr);
  // A 16-bit RGB file loads as Rgba64.
  ASSERT_EQ(ZqDibFromPng(&image, good.data(), static_cast<DWORD>(good.size())), S_OK);
  EXPECT_EQ(ZqGetPixelType(image), ZqPixel_Rgba64);
  ZqDibFree(image, 0);

  // A header of 100,000 x 100,000 is refused before anything of that size.
  PROCESS_MEMORY_COUNTERS before{}, after{};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  const std::vector<BYTE> huge = HeaderOnly(100000, 100000);
  const HRESULT hr = ZqDibFromPng(&image, huge.data(), static_cast<DWORD>(huge.size()));
  EXPECT_TRUE(FAILED(hr));
  EXPECT_EQ(image, nullptr);
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  EXPECT_LT(after.PeakPagefileUsage - before.PeakPagefileUsage, 64u << 20);

  // Files: missing, not a PNG, too short, a null path.
  EXPECT_EQ(ZqLoadDiskPngDib(L"Z:\\no\\such\\file.png"), nullptr);
  EXPECT_EQ(ZqLoadDiskPngDibEx(L"Z:\\no\\such\\file.png", &image), ZQ_E_FILE_OPEN);
  EXPECT_EQ(image, nullptr);
  EXPECT_EQ(ZqLoadDiskPngDibEx(testsupport::ModulePath().c_str(), &image), ZQ_E_FILE_CORRUPT);
  EXPECT_EQ(ZqLoadDiskPngDibEx(nullptr, &image), E_INVALIDARG);
  const std::wstring shortFile = testsupport::BuildPath(L"png-check\\short.png");
  WriteFile(shortFile, good.data(), 5);
  EXPECT_EQ(ZqLoadDiskPngDibEx(shortFile.c_str(), &image), ZQ_E_FILE_CORRUPT);
}

// A palette of two entries under pixels that use every index: written by
// libpng itself, loaded with the table padded so no index reads past it.
TEST(Png, PixelsBeyondAShortPaletteReadOpaqueBlack) {
  const std::wstring path = testsupport::BuildPath(L"png-check\\short-palette.png");
  FILE* file = _wfopen(path.c_str(), L"wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    fclose(file);
    FAIL() << "libpng refused to write the test file";
  }
  png_set_check_for_invalid_index(png, 0);  // the indices are the point
  png_init_io(png, file);
  png_set_IHDR(png, info, 16, 16, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color palette[2] = {{200, 100, 50}, {10, 20, 30}};
  png_set_PLTE(png, info, palette, 2);
  png_write_info(png, info);
  BYTE row[16];
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) row[x] = static_cast<BYTE>(y * 16 + x);
    png_write_row(png, row);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  fclose(file);

  BITMAPINFOHEADER* image = nullptr;
  const HRESULT hr = ZqLoadDiskPngDibEx(path.c_str(), &image);
  if (hr != S_OK) {  // libpng may call the indices an error: then a clean one
    EXPECT_EQ(hr, E_FAIL);
    EXPECT_EQ(image, nullptr);
    return;
  }
  ASSERT_EQ(ZqGetPixelType(image), ZqPixel_Pal8);
  EXPECT_EQ(image->biClrUsed, 256u);
  const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(image + 1);
  EXPECT_EQ(table[0].rgbRed, 200);
  EXPECT_EQ(table[1].rgbBlue, 30);
  for (int i = 2; i < 256; ++i) ASSERT_EQ(table[i].rgbRed | table[i].rgbGreen | table[i].rgbBlue, 0) << i;
  ZQWIDEPIXEL p{};
  ASSERT_EQ(ZqDibGetPixel(image, nullptr, 0, 15, 15, &p), S_OK);  // index 255
  EXPECT_EQ(p.red | p.green | p.blue, 0);
  EXPECT_EQ(p.alpha, 65535);
  ZqDibFree(image, 0);
}

TEST(Png, ResourcesOfTypeThirtyTwoAndBinaryAreFound) {
  HZQLANG lang = nullptr;
  ASSERT_EQ(ZqLang_Open(&lang, GetModuleHandleW(nullptr), 0, 0), S_OK);
  BITMAPINFOHEADER* image = nullptr;
  ASSERT_EQ(ZqLoadResourcePngDibEx(lang, MAKEINTRESOURCEW(1), &image), S_OK);
  EXPECT_EQ(ZqGetPixelType(image), ZqPixel_Rgba32);  // basn6a08: RGBA
  ZqDibFree(image, 0);
  image = ZqLoadResourcePngDib(lang, MAKEINTRESOURCEW(2));  // "BINARY" only
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(ZqGetPixelType(image), ZqPixel_Rgb24);
  EXPECT_EQ(image->biWidth, 32);
  ZqDibFree(image, 0);
  EXPECT_EQ(ZqLoadPngDib(lang, MAKEINTRESOURCEW(3), 0, &image), ZQ_E_RESOURCE_MISSING);
  EXPECT_EQ(image, nullptr);
  EXPECT_EQ(ZqLoadPngDib(lang, nullptr, 0, &image), E_INVALIDARG);
  ZqLang_Close(lang);
}

// Saved images read back as the module's own RGBA conversion of them, in
// both interlace methods; each file and its pixels are left for the
// outside check.
TEST(Png, SavedImagesReadBackAsTheirRgbaConversion) {
  std::mt19937 rng(77);
  const std::wstring dir = testsupport::BuildPath(L"png-check\\saved\\");
  CreateDirectoryW(dir.c_str(), nullptr);
  for (const std::wstring& old : Files(dir + L"*")) DeleteFileW((dir + old).c_str());
  const struct {
    int type, width, height;
  } sources[] = {{ZqPixel_Rgba32, 37, 23}, {ZqPixel_Rgb24, 16, 9}, {ZqPixel_Pal8, 5, 31}, {ZqPixel_Gray8, 1, 1},
                 {ZqPixel_Rgba64, 64, 3}};
  for (const auto& s : sources)
    for (DWORD interlace : {0u, 1u})
      for (DWORD type : {DWORD(ZqPixel_Rgba32), DWORD(ZqPixel_Rgb32)}) {
        dibtest::TestImage source(s.type, s.width, s.height, dibtest::PaletteFor(s.type, rng));
        source.Randomise(rng);
        dibtest::TestImage rgba(static_cast<int>(type), s.width, s.height);
        ASSERT_EQ(ZqDibCopy(rgba.Header(), nullptr, nullptr, 0, source.Header(), nullptr, nullptr, 0, 3), S_OK);
        const std::wstring name = dir + std::to_wstring(s.type) + L"-" + std::to_wstring(type) +
                                  (interlace ? L"-adam7" : L"");
        ZQPNGFILEOPTIONS options{type, interlace};
        ASSERT_EQ(ZqSaveDiskPngDib((name + L".png").c_str(), source.Header(), nullptr, &options), S_OK);
        BITMAPINFOHEADER* back = nullptr;
        ASSERT_EQ(ZqLoadDiskPngDibEx((name + L".png").c_str(), &back), S_OK);
        ASSERT_EQ(ZqGetPixelType(back), ZqPixel_Rgba32);
        std::vector<BYTE> dump;
        for (int y = 0; y < s.height; ++y) {
          const BYTE* want = rgba.Row(y);
          const BYTE* got = reinterpret_cast<const BYTE*>(back + 1) + static_cast<size_t>(s.height - 1 - y) * s.width * 4;
          ASSERT_EQ(memcmp(want, got, static_cast<size_t>(s.width) * 4), 0) << s.type << " row " << y;
          for (int x = 0; x < s.width; ++x) dump.insert(dump.end(), {want[4 * x + 2], want[4 * x + 1], want[4 * x], want[4 * x + 3]});
        }
        ZqDibFree(back, 0);
        WriteFile(name + L".rgba", dump.data(), dump.size());
      }
  dibtest::TestImage small(ZqPixel_Rgb24, 4, 4);
  ZQPNGFILEOPTIONS bad{ZqPixel_Rgb24, 0};
  EXPECT_EQ(ZqSaveDiskPngDib((dir + L"x.png").c_str(), small.Header(), nullptr, &bad), E_INVALIDARG);
  EXPECT_EQ(ZqSaveDiskPngDib(L"Z:\\no\\such\\folder\\x.png", small.Header(), nullptr, nullptr), ZQ_E_FILE_CREATE);
  EXPECT_EQ(ZqSaveDiskPngDib((dir + L"x.png").c_str(), nullptr, nullptr, nullptr), E_INVALIDARG);
  EXPECT_EQ(GetFileAttributesW((dir + L"x.png").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
