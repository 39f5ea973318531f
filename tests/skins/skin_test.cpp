// Skin bitmaps and image lists: ImageMagick strips (PNG with alpha, BMP
// with 40- and 124-byte headers, a 108-byte header derived from the
// latter) cut into image lists, the tint against a model of the Overlay
// compositor, damaged BMP headers refused, and "skins.ini" overrides.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../dib/compose_model.h"
#include "screenshot.h"
#include "test_paths.h"
#include "zq/dib.h"
#include "zq/lang.h"
#include "zq/png.h"
#include "zq/skin.h"

namespace {

std::wstring Reference(const wchar_t* name) {
  std::string dir = QUILLET_SKIN_REFERENCE_DIR;
  return std::wstring(dir.begin(), dir.end()) + L"\\" + name;
}
std::vector<BYTE> ReadFile(const std::wstring& path) {
  std::vector<BYTE> out;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return out;
  out.resize(GetFileSize(f, nullptr));
  DWORD got = 0;
  ::ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
  CloseHandle(f);
  return out;
}
std::wstring WriteTemp(const wchar_t* name, const std::vector<BYTE>& bytes) {
  std::wstring path = testsupport::ExeDirectory() + L"\\" + name;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD put = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(f);
  return path;
}
template <typename T>
void Put(std::vector<BYTE>& b, size_t at, T v) {
  std::memcpy(&b[at], &v, sizeof v);
}
template <typename T>
T Get(const std::vector<BYTE>& b, size_t at) {
  T v;
  std::memcpy(&v, &b[at], sizeof v);
  return v;
}

// Pixel (x, y) of picture row y of a list's image, read back from its bitmap.
struct ListPixels {
  std::vector<DWORD> bits;
  int width = 0;
  RECT image{};
  ListPixels(HIMAGELIST list, int index) {
    IMAGEINFO info{};
    if (!ImageList_GetImageInfo(list, index, &info)) return;
    BITMAP bm{};
    GetObject(info.hbmImage, sizeof bm, &bm);
    width = bm.bmWidth;
    image = info.rcImage;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bits.resize(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmImage, 0, bm.bmHeight, bits.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
  }
  DWORD At(int x, int y) const { return bits[static_cast<size_t>(image.top + y) * width + image.left + x]; }
};

// The caption tint, worked out here from the system colours.
composemodel::Pixel CaptionTint() {
  COLORREF a = GetSysColor(COLOR_ACTIVECAPTION), b = GetSysColor(COLOR_GRADIENTACTIVECAPTION);
  int r = (GetRValue(a) + GetRValue(b)) / 2, g = (GetGValue(a) + GetGValue(b)) / 2, bl = (GetBValue(a) + GetBValue(b)) / 2;
  int hi = std::max({r, g, bl}), lo = std::min({r, g, bl});
  double s = hi == lo ? 0 : (hi + lo <= 255 ? double(hi - lo) / (hi + lo) : double(hi - lo) / (510 - hi - lo));
  if (s < 0.1) return composemodel::Pixel{255, 190, 140, 255};
  return composemodel::Pixel{bl, g, r, 255};
}

// A pixel over the button face with its alpha, as the masked lists store it.
DWORD OverFace(const composemodel::Pixel& s) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const composemodel::Pixel f{GetBValue(face), GetGValue(face), GetRValue(face), 255};
  DWORD out = 0;
  for (int c = 0; c < 3; ++c)
    out |= static_cast<DWORD>(composemodel::Quot(s[c] * s[3] + f[c] * (255 - s[3]), 255)) << (8 * c);
  return out;
}

class Lists {
 public:
  explicit Lists(int n) : lists_(n, nullptr) {}
  ~Lists() {
    for (HIMAGELIST l : lists_)
      if (l) ImageList_Destroy(l);
  }
  HIMAGELIST* Data() { return lists_.data(); }
  HIMAGELIST operator[](int i) const { return lists_[i]; }

 private:
  std::vector<HIMAGELIST> lists_;
};

TEST(Skins, StripsCutIntoImageLists) {
  struct Case {
    const wchar_t* file;
    DWORD ownership;
    bool alpha;
  };
  const Case cases[] = {{L"strip.png", ZQSKIN_DECODED, true},
                        {L"strip124.bmp", ZQSKIN_GLOBAL_COPY, true},
                        {L"strip40.bmp", 0, false}};
  for (const Case& c : cases) {
    tZQSKINBMP skin{};
    ASSERT_EQ(ZqSkin_Bmp_GetFromFile(&skin, Reference(c.file).c_str()), S_OK) << c.file;
    EXPECT_EQ(skin.flags & (ZQSKIN_RESOURCE | ZQSKIN_GLOBAL_COPY | ZQSKIN_DECODED), c.ownership);
    Lists lists(4);
    SIZE cell{16, 0};
    int previous = -1;
    int n = ZqSkin_GetImageLists(&skin, &cell, lists.Data(), 4, 0, &previous);
    EXPECT_EQ(previous, 0);
    EXPECT_EQ(n, 10) << c.file;
    EXPECT_EQ(cell.cy, 16);
    for (int i = 0; i < (c.alpha ? 4 : 3); ++i) {
      ASSERT_NE(lists[i], nullptr) << c.file << " list " << i;
      EXPECT_EQ(ImageList_GetImageCount(lists[i]), 10);
      IMAGEINFO info{};
      ASSERT_TRUE(ImageList_GetImageInfo(lists[i], 9, &info));
      EXPECT_EQ(info.rcImage.right - info.rcImage.left, 16);
      EXPECT_EQ(info.rcImage.bottom - info.rcImage.top, 16);
    }
    if (!c.alpha) {
      EXPECT_EQ(lists[3], nullptr) << "rows of other depths fill only as many lists as there are rows";
    }
    // Appending adds another ten; removing 2, 3 and 4 leaves seven.
    EXPECT_EQ(ZqSkin_GetImageLists(&skin, &cell, lists.Data(), 1, ZQSKINLIST_APPEND, &previous), 20);
    EXPECT_EQ(previous, 10);
    ZqSkin_RemoveImageListsItems(lists.Data(), 2, 2, 3);
    EXPECT_EQ(ImageList_GetImageCount(lists[0]), 17);
    EXPECT_EQ(ImageList_GetImageCount(lists[1]), 7);
    ZqSkin_RemoveImageListsItems(lists.Data(), 4, 0, -1);
    EXPECT_EQ(ImageList_GetImageCount(lists[0]), 0);
    // A cell width of 0 cuts nothing and divides by nothing.
    SIZE zero{0, 0};
    EXPECT_EQ(ZqSkin_GetImageLists(&skin, &zero, lists.Data(), 4, 0, nullptr), 0);
    // A record that builds no lists only counts.
    skin.flags |= ZQSKIN_NO_LISTS;
    EXPECT_EQ(ZqSkin_GetImageLists(&skin, &cell, lists.Data(), 4, 0, nullptr), 0);
    ZqSkin_Bmp_Free(&skin);
    EXPECT_EQ(skin.bitmap, nullptr);
  }
}

TEST(Skins, TintFollowsTheOverlayCompositor) {
  tZQSKINBMP skin{};
  ASSERT_EQ(ZqSkin_Bmp_GetFromFile(&skin, Reference(L"strip.png").c_str()), S_OK);
  std::vector<BYTE> file = ReadFile(Reference(L"strip.png"));
  BITMAPINFOHEADER* source = nullptr;
  ASSERT_EQ(ZqDibFromPng(&source, file.data(), static_cast<DWORD>(file.size())), S_OK);
  auto sourceAt = [&](int x, int y) {
    const BYTE* p = reinterpret_cast<const BYTE*>(source + 1) + static_cast<size_t>(47 - y) * 640 + 4 * x;
    return composemodel::Load(p);
  };
  composemodel::Pixel tint = CaptionTint();
  for (DWORD opacity : {200u, 0u, 255u}) {
    Lists lists(2);
    SIZE cell{16, 0};
    ASSERT_EQ(ZqSkin_GetImageLists(&skin, &cell, lists.Data(), 2, opacity, nullptr), 10);
    for (int row = 0; row < 2; ++row)
      for (int image = 0; image < 10; image += 3) {
        ListPixels pixels(lists[row], image);
        ASSERT_FALSE(pixels.bits.empty());
        for (int y = 0; y < 16; ++y)
          for (int x = 0; x < 16; ++x) {
            composemodel::Pixel s = sourceAt(image * 16 + x, row * 16 + y);
            composemodel::Pixel m = composemodel::Composite(2, s, tint, opacity);
            m[3] = s[3];  // every pixel keeps its alpha
            DWORD got = pixels.At(x, y);
            composemodel::Pixel g{got & 255, (got >> 8) & 255, (got >> 16) & 255, got >> 24};
            ASSERT_EQ(g, m) << "opacity " << opacity << " row " << row << " image " << image << " at " << x << ","
                            << y;
          }
      }
  }
  ZqDibFree(source, 0);
  ZqSkin_Bmp_Free(&skin);
}

// The picture of strip.png through the module's PNG decoder (picture rows).
class StripPixels {
 public:
  StripPixels() {
    std::vector<BYTE> file = ReadFile(Reference(L"strip.png"));
    ZqDibFromPng(&header_, file.data(), static_cast<DWORD>(file.size()));
  }
  ~StripPixels() { ZqDibFree(header_, 0); }
  composemodel::Pixel At(int x, int y) const {
    return composemodel::Load(reinterpret_cast<const BYTE*>(header_ + 1) + static_cast<size_t>(47 - y) * 640 + 4 * x);
  }

 private:
  BITMAPINFOHEADER* header_ = nullptr;
};

TEST(Skins, DerivedListsAndMaskedLists) {
  tZQSKINBMP skin{};
  ASSERT_EQ(ZqSkin_Bmp_GetFromFile(&skin, Reference(L"strip.png").c_str()), S_OK);
  StripPixels strip;
  // Cells of 48: one row of three images; list 2 is the first row
  // desaturated, then faded a quarter (63/255) toward white; list 3 plain.
  Lists lists(4);
  SIZE cell{48, 0};
  ASSERT_EQ(ZqSkin_GetImageLists(&skin, &cell, lists.Data(), 4, 0, nullptr), 3);
  EXPECT_EQ(cell.cy, 48);
  for (int i = 1; i < 4; ++i) EXPECT_EQ(ImageList_GetImageCount(lists[i]), 3);
  ListPixels hot(lists[1], 1), disabled(lists[2], 1), plain(lists[3], 1);
  int hotChanged = 0;
  for (int y = 0; y < 48; y += 5)
    for (int x = 0; x < 48; x += 5) {
      composemodel::Pixel s = strip.At(48 + x, y);
      int64_t grey = std::min<int64_t>((s[0] + s[1] + s[2]) / 3, s[3]);
      int64_t x255 = (255 - grey) * 63;
      int64_t faded = grey + (((x255 + 128) + ((x255 + 128) >> 8)) >> 8);
      DWORD d = disabled.At(x, y), p = plain.At(x, y), h = hot.At(x, y);
      EXPECT_EQ(d & 0xFFFFFF, static_cast<DWORD>(faded * 0x010101)) << x << "," << y;
      EXPECT_EQ(d >> 24, s[3]);
      EXPECT_EQ(p, static_cast<DWORD>(s[0] | s[1] << 8 | s[2] << 16 | s[3] << 24));
      EXPECT_EQ(h >> 24, s[3]);
      hotChanged += (h & 0xFFFFFF) != (p & 0xFFFFFF);
    }
  EXPECT_GT(hotChanged, 50) << "the hot list is darker and more saturated";

  // Desaturation before the tint: bits 8-15 at 255 leave grey at the
  // lightness ((max + min) / 2), alpha kept; half of it keeps some colour.
  for (DWORD desaturation : {255u, 128u}) {
    Lists grey(1);
    SIZE greyCell{16, 0};
    ASSERT_EQ(ZqSkin_GetImageLists(&skin, &greyCell, grey.Data(), 1, desaturation << 8, nullptr), 10);
    ListPixels g(grey[0], 2);
    for (int y = 0; y < 16; y += 3)
      for (int x = 0; x < 16; x += 3) {
        composemodel::Pixel src = strip.At(32 + x, y);
        DWORD got = g.At(x, y);
        int b = got & 255, gr = (got >> 8) & 255, r = (got >> 16) & 255;
        int64_t hi = std::max({src[0], src[1], src[2]}), lo = std::min({src[0], src[1], src[2]});
        if (desaturation == 255) {
          EXPECT_TRUE(b == gr && gr == r) << x << "," << y;
          EXPECT_NEAR(r, (hi + lo) / 2.0, 1.0);
        } else if (hi - lo > 40) {
          EXPECT_GT(std::max({b, gr, r}) - std::min({b, gr, r}), 0);
          EXPECT_LT(std::max({b, gr, r}) - std::min({b, gr, r}), hi - lo);
        }
        EXPECT_EQ(got >> 24, src[3]);
      }
  }

  // Masked 24-bit lists: each pixel over the button face with its alpha,
  // (s x a + face x (255 - a)) / 255, clear pixels masked.
  Lists masked(1);
  SIZE small{16, 0};
  ASSERT_EQ(ZqSkin_GetImageLists(&skin, &small, masked.Data(), 1, ZQSKINLIST_MASKED, nullptr), 10);
  ListPixels image(masked[0], 4);
  IMAGEINFO info{};
  ASSERT_TRUE(ImageList_GetImageInfo(masked[0], 4, &info));
  ASSERT_NE(info.hbmMask, nullptr);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      composemodel::Pixel s = strip.At(64 + x, y);
      if (s[3] == 0) continue;
      EXPECT_EQ(image.At(x, y) & 0xFFFFFF, OverFace(s)) << x << "," << y;
    }
  ZqSkin_Bmp_Free(&skin);
}

TEST(Skins, MaskedListsKeepOpaqueColours) {
  // One uniform cell per case, untinted (opacity 0): opaque pixels keep
  // their colour exactly, translucent ones lie within one step of the face
  // mixed in exact arithmetic.
  struct Case {
    BYTE red, green, blue, alpha;
  } cases[] = {{16, 30, 200, 255}, {255, 255, 255, 255}, {0, 0, 0, 255},  {1, 254, 128, 255},
               {200, 100, 50, 128}, {255, 255, 255, 1},  {0, 0, 0, 254}};
  const int n = static_cast<int>(std::size(cases));
  BITMAPINFOHEADER* strip = nullptr;
  ASSERT_EQ(ZqDibAlloc(&strip, ZqPixel_Rgba32, 4 * n, 4, nullptr, 0, ZQDIBALLOC_ZERO), S_OK);
  auto pixels = reinterpret_cast<ZQRGBA*>(strip + 1);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4 * n; ++x) {
      const Case& c = cases[x / 4];
      pixels[y * 4 * n + x] = ZQRGBA{c.blue, c.green, c.red, c.alpha};
    }
  Lists masked(1);
  SIZE cell{4, 0};
  ASSERT_EQ(ZqSkin_GetImageLists(strip, &cell, masked.Data(), 1, ZQSKINLIST_MASKED, nullptr), n);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  for (int i = 0; i < n; ++i) {
    const Case& c = cases[i];
    const DWORD got = ListPixels(masked[0], i).At(1, 2);
    if (c.alpha == 255) {
      EXPECT_EQ(got & 0xFFFFFF, static_cast<DWORD>(c.blue | c.green << 8 | c.red << 16)) << "case " << i;
      continue;
    }
    const BYTE mine[3] = {c.blue, c.green, c.red}, faces[3] = {GetBValue(face), GetGValue(face), GetRValue(face)};
    for (int k = 0; k < 3; ++k) {
      const double exact = (mine[k] * c.alpha + faces[k] * (255.0 - c.alpha)) / 255.0;
      EXPECT_NEAR(static_cast<double>((got >> (8 * k)) & 255), exact, 1.0) << "case " << i << " channel " << k;
    }
  }
  ZqDibFree(strip, 0);
}

TEST(Skins, BmpHeadersCheckedAgainstTheFile) {
  std::vector<BYTE> v5 = ReadFile(Reference(L"strip124.bmp"));
  ASSERT_GT(v5.size(), 138u);
  tZQSKINBMP reference{};
  ASSERT_EQ(ZqSkin_Bmp_GetFromFile(&reference, Reference(L"strip124.bmp").c_str()), S_OK);
  auto rows = [](const tZQSKINBMP& s) {
    const BYTE* bits = reinterpret_cast<const BYTE*>(s.bitmap) + 52;
    return std::vector<BYTE>(bits, bits + 160 * 4 * 48);
  };
  // A 108-byte header: the 124-byte one without its last 16 bytes.
  std::vector<BYTE> v4 = v5;
  v4.erase(v4.begin() + 14 + 108, v4.begin() + 138);
  Put<DWORD>(v4, 2, static_cast<DWORD>(v4.size()));
  Put<DWORD>(v4, 10, 14 + 108);
  Put<DWORD>(v4, 14, 108);
  // Rows further on than the header: bfOffBits is honoured.
  std::vector<BYTE> gap = v5;
  gap.insert(gap.begin() + 138, 20, BYTE{0xEE});
  Put<DWORD>(gap, 2, static_cast<DWORD>(gap.size()));
  Put<DWORD>(gap, 10, 138 + 20);
  for (auto& good : {std::pair{L"skin108.bmp", &v4}, std::pair{L"skingap.bmp", &gap}}) {
    tZQSKINBMP skin{};
    ASSERT_EQ(ZqSkin_Bmp_GetFromFile(&skin, WriteTemp(good.first, *good.second).c_str()), S_OK) << good.first;
    EXPECT_EQ(skin.bitmap->biSize, 40u);
    EXPECT_EQ(rows(skin), rows(reference)) << good.first;
    ZqSkin_Bmp_Free(&skin);
  }
  // Damaged headers: refused cleanly, the record left empty.
  std::vector<std::pair<const wchar_t*, std::vector<BYTE>>> bad;
  auto with = [&](const wchar_t* name, auto change) {
    std::vector<BYTE> b = v5;
    change(b);
    bad.emplace_back(name, b);
  };
  with(L"negative height", [](auto& b) { Put<LONG>(b, 22, -48); });
  with(L"bits past the end", [](auto& b) { Put<DWORD>(b, 10, static_cast<DWORD>(b.size()) - 100); });
  with(L"offset beyond the file", [](auto& b) { Put<DWORD>(b, 10, 0x7FFFFFF0u); });
  with(L"offset inside the header", [](auto& b) { Put<DWORD>(b, 10, 40); });
  with(L"64-byte header", [](auto& b) { Put<DWORD>(b, 14, 64); });
  with(L"huge width", [](auto& b) { Put<LONG>(b, 18, 0x40000000); });
  with(L"zero width", [](auto& b) { Put<LONG>(b, 18, 0); });
  with(L"bit count 7", [](auto& b) { Put<WORD>(b, 28, 7); });
  with(L"short file", [](auto& b) { b.resize(54); });
  with(L"declared longer than the file", [](auto& b) { Put<DWORD>(b, 2, static_cast<DWORD>(b.size()) + 1); });
  for (auto& [name, bytes] : bad) {
    tZQSKINBMP skin{};
    EXPECT_EQ(ZqSkin_Bmp_GetFromFile(&skin, WriteTemp(L"skinbad.bmp", bytes).c_str()), E_FAIL) << name;
    EXPECT_EQ(skin.bitmap, nullptr) << name;
  }
  // A PNG under any name is decoded.
  tZQSKINBMP png{};
  EXPECT_EQ(ZqSkin_Bmp_GetFromFile(&png, WriteTemp(L"skinpng.bmp", ReadFile(Reference(L"strip.png"))).c_str()), S_OK);
  EXPECT_EQ(png.flags & ZQSKIN_DECODED, ZQSKIN_DECODED);
  // Copies: a mapped or decoded bitmap becomes a global copy with the same rows.
  tZQSKINBMP copy{};
  ASSERT_EQ(ZqSkin_Bmp_Copy(&copy, &reference), S_OK);
  EXPECT_EQ(copy.flags & ZQSKIN_GLOBAL_COPY, ZQSKIN_GLOBAL_COPY);
  EXPECT_EQ(rows(copy), rows(reference));
  ZqSkin_Bmp_Free(&copy);
  ZqSkin_Bmp_Free(&png);
  ZqSkin_Bmp_Free(&reference);
}

TEST(Skins, IniOverridesReadOnlyWhenTheOverrideLoaded) {
  HZQLANG lang = nullptr;
  ASSERT_EQ(ZqLang_Open(&lang, GetModuleHandleW(nullptr), 0, 0), S_OK);
  std::wstring ini = testsupport::ExeDirectory() + L"\\skins.ini";
  std::string file = "[skins]\r\nUseSection=mine\r\n[mine]\r\nStrip=205\r\nTileStrip=1\r\nMaskStrip=0\r\n"
                     "Bitmap=300\r\nMissing=nothere.png\r\nTileMissing=1\r\nFour=1234\r\nTileFour=1\r\n";
  WriteTemp(L"skins.ini", std::vector<BYTE>(file.begin(), file.end()));
  {
    CZqSkinContext context(lang, GetModuleHandleW(nullptr), 7);
    ASSERT_NE(context.section, nullptr);
    EXPECT_STREQ(context.section, L"mine");
    struct Case {
      CSkinID id;
      LONG width;  // 160: the override; 32: the default resource
      DWORD flags;
    };
    const Case cases[] = {
        {{ZQSKINID_MASK, L"Strip", 101}, 160, ZQSKIN_TILE | ZQSKIN_DECODED},          // 205 of type 32
        {{ZQSKINID_COLORIZE, L"Bitmap", 101}, 160, ZQSKIN_COLORIZE | ZQSKIN_RESOURCE},  // bitmap used in place
        {{0, L"Missing", 101}, 32, ZQSKIN_DECODED},                                     // Tile not read
        {{0, L"Four", 101}, 32, ZQSKIN_DECODED},                                        // four digits: a file name
        {{ZQSKINID_TILE, L"Absent", 101}, 32, ZQSKIN_TILE | ZQSKIN_DECODED},
        {{0, nullptr, 101}, 32, ZQSKIN_DECODED},
    };
    for (const Case& c : cases) {
      tZQSKINBMP skin{};
      ASSERT_EQ(ZqSkin_Bmp_Load(&skin, &c.id, &context), S_OK) << (c.id.key ? c.id.key : L"(no key)");
      EXPECT_EQ(skin.bitmap->biWidth, c.width);
      EXPECT_EQ(skin.flags, c.flags) << (c.id.key ? c.id.key : L"(no key)");
      ZqSkin_Bmp_Free(&skin);
    }
    // Without an instance every lookup takes the defaults.
    CZqSkinContext none(lang, nullptr, 0);
    EXPECT_EQ(none.section, nullptr);
    tZQSKINBMP skin{};
    CSkinID strip{0, L"Strip", 101};
    ASSERT_EQ(ZqSkin_Bmp_Load(&skin, &strip, &none), S_OK);
    EXPECT_EQ(skin.bitmap->biWidth, 32);
    ZqSkin_Bmp_Free(&skin);
    CSkinID missing{0, nullptr, 999};
    EXPECT_EQ(ZqSkin_Bmp_Load(&skin, &missing, &none), E_FAIL);
  }
  DeleteFileW(ini.c_str());
  ZqLang_Close(lang);
}

TEST(Skins, TrackIconListsTintEachListWithItsColour) {
  tZQSKINBMP skin{};
  ASSERT_EQ(ZqSkin_Bmp_GetFromFile(&skin, Reference(L"strip.png").c_str()), S_OK);
  Lists lists(3);
  SIZE cell{16, 0};
  const COLORREF colours[2] = {RGB(255, 0, 0), RGB(0, 0, 255)};
  ASSERT_EQ(ZqSkin_GetTrackIconImageLists(&skin, &cell, colours, 2, 3, lists.Data(), 255), 10);
  ListPixels first(lists[0], 0), third(lists[2], 0), second(lists[1], 0);
  EXPECT_EQ(first.At(3, 3), third.At(3, 3));  // the colours are used in turn
  EXPECT_NE(first.At(3, 3), second.At(3, 3));
  tZQSKINBMP grey{};
  ASSERT_EQ(ZqSkin_Bmp_GetFromFile(&grey, Reference(L"strip40.bmp").c_str()), S_OK);
  Lists none(1);
  EXPECT_EQ(ZqSkin_GetTrackIconImageLists(&grey, &cell, colours, 2, 1, none.Data(), 255), 0);  // 24-bit: none
  ZqSkin_Bmp_Free(&grey);
  ZqSkin_Bmp_Free(&skin);
}

// The four lists of the strip (tinted rows, hot and disabled lists) and a
// masked list, drawn the way a toolbar draws them, for a person to look at.
TEST(Skins, ListsOnScreen) {
  tZQSKINBMP skin{};
  ASSERT_EQ(ZqSkin_Bmp_GetFromFile(&skin, Reference(L"strip.png").c_str()), S_OK);
  struct Shown {
    Lists lists{5};
  } shown;
  SIZE cell{16, 0};
  ZqSkin_GetImageLists(&skin, &cell, shown.lists.Data(), 4, 160, nullptr);
  SIZE wide{48, 0};
  ZqSkin_GetImageLists(&skin, &wide, shown.lists.Data() + 4, 1, 0x20000 | 160, nullptr);
  WNDCLASSW wc{};
  wc.lpszClassName = L"QuilletSkinListsTest";
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) CALLBACK -> LRESULT {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    auto shownLists = reinterpret_cast<Shown*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    for (int list = 0; list < 5; ++list)
      for (int i = 0; shownLists && i < ImageList_GetImageCount(shownLists->lists[list]); ++i) {
        int size = list == 4 ? 52 : 20;
        ImageList_Draw(shownLists->lists[list], i, dc, 8 + i * size, 8 + list * 24, ILD_TRANSPARENT);
      }
    EndPaint(window, &ps);
    return 0;
  };
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Skin lists", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 260,
                                220, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&shown));
  testsupport::Screenshot shot = testsupport::SaveWindowScreenshot(window, L"skin_lists");
  EXPECT_TRUE(shot.saved);
  EXPECT_GT(shot.colours, 8);
  DestroyWindow(window);
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
  ZqSkin_Bmp_Free(&skin);
}

}  // namespace
