// Painting helpers of the slider-like controls: the shared memory DC,
// gradients and the caret focus display.
#include "sliders/slider.h"
#include "zq/ui.h"

namespace zq::controls::slider {
namespace {

HDC g_memory = nullptr;
int g_users = 0;

}  // namespace

HDC AcquireMemoryDC() noexcept {
  if (!g_memory) g_memory = CreateCompatibleDC(nullptr);
  if (g_memory) ++g_users;
  return g_memory;
}

void ReleaseMemoryDC() noexcept {
  if (g_users > 0 && --g_users == 0 && g_memory) {
    DeleteDC(g_memory);
    g_memory = nullptr;
  }
}

bool ManyColours() noexcept {
  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  const bool many = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) > 8;
  ReleaseDC(nullptr, screen);
  return many;
}

// The colours go into a one-pixel strip that is stretched across the
// rectangle in one call; each line keeps its exact colour.
void Gradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical) noexcept {
  const int lines = vertical ? rect.right - rect.left : rect.bottom - rect.top;
  const int across = vertical ? rect.bottom - rect.top : rect.right - rect.left;
  if (lines <= 0 || across <= 0) return;
  const int r0 = GetRValue(from), g0 = GetGValue(from), b0 = GetBValue(from);
  const int r1 = (r0 + GetRValue(to)) / 2, g1 = (g0 + GetGValue(to)) / 2, b1 = (b0 + GetBValue(to)) / 2;
  const int steps = lines > 1 ? lines - 1 : 1;
  constexpr int kStrip = 1024;
  DWORD strip[kStrip];
  for (int start = 0; start < lines; start += kStrip) {
    const int count = lines - start < kStrip ? lines - start : kStrip;
    for (int k = 0; k < count; ++k) {
      const int i = start + k;
      const DWORD r = static_cast<DWORD>(r0 + (r1 - r0) * i / steps), g = static_cast<DWORD>(g0 + (g1 - g0) * i / steps),
                  b = static_cast<DWORD>(b0 + (b1 - b0) * i / steps);
      // Bottom-up rows: a vertical strip is stored last line first.
      strip[vertical ? k : count - 1 - k] = (r << 16) | (g << 8) | b;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = vertical ? count : 1;
    info.bmiHeader.biHeight = vertical ? 1 : count;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int mode = SetStretchBltMode(dc, COLORONCOLOR);
    if (vertical)
      StretchDIBits(dc, rect.left + start, rect.top, count, across, 0, 0, count, 1, strip, &info, DIB_RGB_COLORS,
                    SRCCOPY);
    else
      StretchDIBits(dc, rect.left, rect.top + start, across, count, 0, 0, 1, count, strip, &info, DIB_RGB_COLORS,
                    SRCCOPY);
    SetStretchBltMode(dc, mode);
  }
}

HBITMAP ShowThumbCaret(HWND window, const RECT& area, const RECT* thumbs, int count, int inset) noexcept {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (!window || width <= 0 || height <= 0) return nullptr;
  HBITMAP bitmap = CreateBitmap(width, height, 1, 1, nullptr);
  HDC dc = bitmap ? CreateCompatibleDC(nullptr) : nullptr;
  if (!dc) {
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, width, height, BLACKNESS);  // black: the caret leaves these pixels alone
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  for (int i = 0; i < count; ++i) {
    RECT thumb = thumbs[i];
    OffsetRect(&thumb, -area.left, -area.top);
    InflateRect(&thumb, -inset, -inset);
    if (!IsRectEmpty(&thumb)) FillRect(dc, &thumb, ZqGetUIBrush(ZQ_UIBRUSH_PATTERN8(0)));
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  if (!CreateCaret(window, bitmap, width, height)) {
    DeleteObject(bitmap);
    return nullptr;
  }
  SetCaretPos(area.left, area.top);
  ShowCaret(window);
  return bitmap;
}

void ShowGreyCaret(HWND window, const RECT& rect) noexcept {
  if (!window || !CreateCaret(window, reinterpret_cast<HBITMAP>(1), rect.right - rect.left, rect.bottom - rect.top))
    return;
  SetCaretPos(rect.left, rect.top);
  ShowCaret(window);
}

void HideThumbCaret(HBITMAP& caret) noexcept {
  if (!caret) return;
  DestroyCaret();
  if (caret != reinterpret_cast<HBITMAP>(1)) DeleteObject(caret);
  caret = nullptr;
}

BOOL RegisterControlClass(HINSTANCE instance, LPCWSTR className, WNDPROC procedure) noexcept {
  if (!className) return FALSE;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.style = CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  cls.lpfnWndProc = procedure;
  cls.cbWndExtra = sizeof(void*);
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = className;
  return RegisterClassExW(&cls) != 0;
}

}  // namespace zq::controls::slider
