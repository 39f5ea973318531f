#include "screenshot.h"

#include <set>
#include <vector>

#include "test_paths.h"

namespace testsupport {
namespace {

bool WriteBitmap(const std::wstring& path, const BITMAPINFOHEADER& info, const std::vector<BYTE>& pixels) {
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof(file), &written, nullptr) && written == sizeof(file);
  ok = ok && WriteFile(out, &info, sizeof(info), &written, nullptr) && written == sizeof(info);
  ok = ok && WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr) &&
       written == pixels.size();
  CloseHandle(out);
  return ok;
}

}  // namespace

Screenshot SaveWindowScreenshot(HWND window, const wchar_t* name) {
  Screenshot shot;
  RECT rect;
  if (!GetWindowRect(window, &rect)) return shot;
  shot.width = rect.right - rect.left;
  shot.height = rect.bottom - rect.top;
  if (shot.width <= 0 || shot.height <= 0) return shot;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();

  // From the window's own DC: what the window shows, frame included, even
  // where another window overlaps it.
  HDC source = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, shot.width, shot.height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, shot.width, shot.height, source, 0, 0, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = shot.width;
  info.biHeight = shot.height;  // bottom-up, as a BMP file stores it
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (shot.width * 3 + 3) & ~3;
  std::vector<BYTE> pixels(static_cast<size_t>(stride) * shot.height);
  const int rows = GetDIBits(memory, bitmap, 0, shot.height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                             DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
  if (rows != shot.height) return shot;

  std::set<DWORD> colours;
  for (int y = 0; y < shot.height && colours.size() < 64; ++y)
    for (int x = 0; x < shot.width && colours.size() < 64; ++x) {
      const BYTE* p = &pixels[static_cast<size_t>(y) * stride + x * 3];
      colours.insert(p[0] | (p[1] << 8) | (p[2] << 16));
    }
  shot.colours = static_cast<int>(colours.size());

  const std::wstring dir = BuildPath(L"screenshots");
  CreateDirectoryW(dir.c_str(), nullptr);
  shot.path = dir + L"\\" + name + L".bmp";
  shot.saved = WriteBitmap(shot.path, info, pixels);
  return shot;
}

}  // namespace testsupport
