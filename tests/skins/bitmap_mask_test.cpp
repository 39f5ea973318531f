// Key-colour masks and background recolouring checked pixel by pixel
// against the picture they were made from; resources written out byte for
// byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skins_test_ids.h"
#include "test_paths.h"
#include "zq/errors.h"
#include "zq/lang.h"
#include "zq/marker.h"

namespace {

constexpr int kWidth = 23, kHeight = 9;
constexpr COLORREF kKey = RGB(255, 0, 255);

// A 32-bit top-down DIB section: its pixels readable after GdiFlush.
struct Dib {
  HBITMAP bitmap = nullptr;
  DWORD* bits = nullptr;
  Dib(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pixels = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = static_cast<DWORD*>(pixels);
  }
  ~Dib() { DeleteObject(bitmap); }
  DWORD& at(int x, int y) { return bits[y * kWidth + x]; }
};

// 0x00RRGGBB of a COLORREF.
DWORD Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// A picture where every third pixel (by x + y) has the key colour.
std::vector<DWORD> Picture() {
  std::vector<DWORD> pixels;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      pixels.push_back((x + y) % 3 == 0 ? Rgb(kKey) : Rgb(RGB(x * 11, y * 27, 90 + x)));
  return pixels;
}

// The pixels of a monochrome mask, as 0 (black) or 1 (white).
std::vector<int> MaskBits(HBITMAP mask) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<DWORD> pixels(kWidth * kHeight);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, mask, 0, kHeight, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  std::vector<int> bits;
  for (DWORD p : pixels) bits.push_back((p & 0xFFFFFF) == 0xFFFFFF ? 1 : (p & 0xFFFFFF) == 0 ? 0 : -1);
  return bits;
}

TEST(BitmapMasks, MaskIsWhiteWhereTheKeyWasAndTheKeyTurnsBlack) {
  for (bool borrowScreen : {true, false}) {
    SCOPED_TRACE(borrowScreen ? "screen context" : "caller's context");
    Dib dib(kWidth, kHeight);
    const std::vector<DWORD> picture = Picture();
    std::copy(picture.begin(), picture.end(), dib.bits);
    HDC caller = borrowScreen ? nullptr : CreateCompatibleDC(nullptr);
    HBITMAP mask = ZqCreateBitmapMask(caller, dib.bitmap, kKey);
    if (caller) DeleteDC(caller);
    ASSERT_NE(mask, nullptr);
    BITMAP info;
    ASSERT_EQ(GetObjectW(mask, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidth, kWidth);
    EXPECT_EQ(info.bmHeight, kHeight);
    const std::vector<int> bits = MaskBits(mask);
    GdiFlush();
    for (int i = 0; i < kWidth * kHeight; ++i) {
      const bool key = picture[i] == Rgb(kKey);
      ASSERT_EQ(bits[i], key ? 1 : 0) << i;
      ASSERT_EQ(dib.bits[i] & 0xFFFFFF, key ? 0u : picture[i]) << i;
    }
    DeleteObject(mask);
  }
  EXPECT_EQ(ZqCreateBitmapMask(nullptr, nullptr, kKey), nullptr);
}

TEST(BitmapMasks, BackgroundTakesTheNewColourAndNothingElseChanges) {
  Dib dib(kWidth, kHeight);
  std::vector<DWORD> picture = Picture();
  picture[0] = Rgb(RGB(10, 20, 30));
  for (int i = 5; i < kWidth * kHeight; i += 4) picture[i] = picture[0];
  std::copy(picture.begin(), picture.end(), dib.bits);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib.bitmap);
  BITMAP info;
  GetObjectW(dib.bitmap, sizeof(info), &info);
  const COLORREF fresh = RGB(0, 200, 100);
  EXPECT_TRUE(ZqBitmapColorTranslate(dc, &info, fresh));
  GdiFlush();
  for (int i = 0; i < kWidth * kHeight; ++i)
    ASSERT_EQ(dib.bits[i] & 0xFFFFFF, picture[i] == picture[0] ? Rgb(fresh) : picture[i]) << i;
  // Already in the new colour: nothing to do.
  const std::vector<DWORD> before(dib.bits, dib.bits + kWidth * kHeight);
  EXPECT_TRUE(ZqBitmapColorTranslate(dc, &info, fresh));
  GdiFlush();
  EXPECT_EQ(std::vector<DWORD>(dib.bits, dib.bits + kWidth * kHeight), before);
  SelectObject(dc, old);

  // Monochrome bitmaps are left alone.
  const WORD rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xFF, 0x00, 0x0F, 0xF0};
  HBITMAP mono = CreateBitmap(8, 8, 1, 1, rows);
  SelectObject(dc, mono);
  GetObjectW(mono, sizeof(info), &info);
  EXPECT_TRUE(ZqBitmapColorTranslate(dc, &info, fresh));
  SelectObject(dc, old);
  WORD after[8] = {};
  GetBitmapBits(mono, sizeof(after), after);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(after[i] & 0xFF, rows[i]) << i;
  DeleteObject(mono);
  DeleteDC(dc);
}

class Extraction : public ::testing::Test {
 protected:
  void SetUp() override {
    ZqLang_Open(&lang_, GetModuleHandleW(nullptr), 0, 0);
    path_ = testsupport::BuildPath(L"skins_extracted.bin");
    DeleteFileW(path_.c_str());
  }
  void TearDown() override {
    DeleteFileW(path_.c_str());
    ZqLang_Close(lang_);
  }
  std::vector<char> FileBytes() const {
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<char> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
  }
  void WriteFileBytes(size_t count) const {
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const std::string text(count, 'x');
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(count), &written, nullptr);
    CloseHandle(file);
  }
  HZQLANG lang_ = nullptr;
  std::wstring path_;
};

std::vector<char> ResourceBytes(int id) {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_RCDATA));
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(self, found)));
  return std::vector<char>(bytes, bytes + SizeofResource(self, found));
}

TEST_F(Extraction, WritesExactlyTheResourcesBytesOverALongerFile) {
  const std::vector<char> expected = ResourceBytes(IDR_EXTRACT);
  ASSERT_GT(expected.size(), 40u);
  for (size_t existing : {size_t(0), size_t(4000), size_t(3)}) {
    SCOPED_TRACE(existing);
    if (existing) WriteFileBytes(existing);
    EXPECT_EQ(ZqExtractResourceToFile(lang_, MAKEINTRESOURCEW(IDR_EXTRACT), RT_RCDATA, path_.c_str()), S_OK);
    EXPECT_EQ(FileBytes(), expected);
  }
}

TEST_F(Extraction, FailuresHaveTheirCodesAndLeaveFilesAlone) {
  WriteFileBytes(10);
  EXPECT_EQ(ZqExtractResourceToFile(lang_, MAKEINTRESOURCEW(999), RT_RCDATA, path_.c_str()), ZQ_E_NOT_FOUND);
  EXPECT_EQ(ZqExtractResourceToFile(lang_, MAKEINTRESOURCEW(IDR_EXTRACT), RT_BITMAP, path_.c_str()),
            ZQ_E_NOT_FOUND);
  EXPECT_EQ(ZqExtractResourceToFile(lang_, MAKEINTRESOURCEW(IDR_EMPTY), RT_RCDATA, path_.c_str()), E_UNEXPECTED);
  EXPECT_EQ(FileBytes(), std::vector<char>(10, 'x'));
  const std::wstring nowhere = testsupport::BuildPath(L"no-such-folder\\x.bin");
  EXPECT_EQ(ZqExtractResourceToFile(lang_, MAKEINTRESOURCEW(IDR_EXTRACT), RT_RCDATA, nowhere.c_str()),
            ZQ_E_FILE_OPEN);
  // Opened by someone who lets others read only.
  HANDLE held = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(ZqExtractResourceToFile(lang_, MAKEINTRESOURCEW(IDR_EXTRACT), RT_RCDATA, path_.c_str()),
            ZQ_E_FILE_OPEN);
  CloseHandle(held);
  EXPECT_EQ(ZqExtractResourceToFile(lang_, MAKEINTRESOURCEW(IDR_EXTRACT), RT_RCDATA, nullptr), E_POINTER);
  // A device that takes no bytes (the host's /dev/full): the write fails.
  EXPECT_EQ(ZqExtractResourceToFile(lang_, MAKEINTRESOURCEW(IDR_EXTRACT), RT_RCDATA, L"Z:\\dev\\full"),
            ZQ_E_FILE_WRITE);
  EXPECT_EQ(FileBytes(), std::vector<char>(10, 'x'));
}

}  // namespace
