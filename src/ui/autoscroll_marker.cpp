// The auto-scroll origin marker: a 32 x 32 pop-up shaped like its picture
// (an origin cursor of the library), holding the capture and the timer of
// the run and passing the mouse on to the target when no run is going.
#include "ui/wheel_internal.h"
#include "zq/lang.h"

namespace zq::controls {
namespace {

constexpr wchar_t kMarkerClass[] = L"ZQ.OriginIcon";
constexpr int kMarkerSize = 32;
constexpr COLORREF kKey = RGB(255, 0, 255);

ZQAUTOSCROLL* RecordOf(HWND marker) {
  return reinterpret_cast<ZQAUTOSCROLL*>(GetWindowLongPtrW(marker, GWLP_USERDATA));
}

bool IsMouseMessage(UINT message) {
  return message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK;
}

// A point of the marker's client area in the target's.
POINT ToTarget(HWND marker, HWND target, LPARAM lParam) {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  MapWindowPoints(marker, target, &point, 1);
  return point;
}

LRESULT MouseMessage(HWND marker, ZQAUTOSCROLL* record, UINT message, WPARAM wParam, LPARAM lParam) {
  if (record && record->interactive && message == WM_MOUSEMOVE) {
    ZqWheel_AutoScrollSetCursor(record);
    return 0;
  }
  if (record && ZqWheel_AutoScrollInProgress(record)) {
    if (message == WM_MOUSEMOVE) return 0;
    const POINT p = ToTarget(marker, record->target, lParam);
    // A click without moving leaves the mode running until the next click.
    if (message == WM_MBUTTONUP && ZqWheel_AutoScrollPtInOrigin(record, p.x, p.y)) return 0;
    ZqWheel_AutoScrollTerminate(record);
    return 0;
  }
  if (record && IsWindow(record->target)) {
    const POINT p = ToTarget(marker, record->target, lParam);
    PostMessageW(record->target, message, wParam, MAKELPARAM(p.x, p.y));
  }
  return 0;
}

LRESULT CALLBACK MarkerProc(HWND marker, UINT message, WPARAM wParam, LPARAM lParam) {
  ZQAUTOSCROLL* record = RecordOf(marker);
  if (IsMouseMessage(message)) return MouseMessage(marker, record, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(marker, &paint);
      if (record && record->memoryDC) BitBlt(dc, 0, 0, kMarkerSize, kMarkerSize, record->memoryDC, 0, 0, SRCCOPY);
      EndPaint(marker, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (!record) break;
      ZqWheel_AutoScrollSetCursor(record);
      return TRUE;
    case WM_KEYDOWN:
    case WM_MOUSEWHEEL:
      if (record && ZqWheel_AutoScrollInProgress(record)) ZqWheel_AutoScrollTerminate(record);
      return 0;
    case WM_CAPTURECHANGED:
      if (record && record->interactive) ZqWheel_AutoScrollTerminate(record);
      return 0;
    case WM_TIMER:
      if (record && wParam == ZQWHEEL_TIMER_ID) AutoScrollTick(record);
      return 0;
  }
  return DefWindowProcW(marker, message, wParam, lParam);
}

bool RegisterMarkerClass(HINSTANCE instance) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, kMarkerClass, &existing)) return true;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = MarkerProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.lpszClassName = kMarkerClass;
  return RegisterClassExW(&cls) != 0;
}

// The region of the picture's pixels that are not the key colour; null when
// there are none or the picture cannot be read.
HRGN PictureRegion(HDC memory, HBITMAP bitmap) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kMarkerSize;
  info.bmiHeader.biHeight = -kMarkerSize;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  DWORD pixels[kMarkerSize * kMarkerSize];
  if (GetDIBits(memory, bitmap, 0, kMarkerSize, pixels, &info, DIB_RGB_COLORS) != kMarkerSize) return nullptr;
  const DWORD key = 0x00FF00FF;  // magenta as a DIB pixel
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (!region) return nullptr;
  bool any = false;
  for (int y = 0; y < kMarkerSize; ++y) {
    for (int x = 0; x < kMarkerSize;) {
      while (x < kMarkerSize && (pixels[y * kMarkerSize + x] & 0xFFFFFF) == key) ++x;
      const int start = x;
      while (x < kMarkerSize && (pixels[y * kMarkerSize + x] & 0xFFFFFF) != key) ++x;
      if (x > start) {
        HRGN run = CreateRectRgn(start, y, x, y + 1);
        if (run) {
          CombineRgn(region, region, run, RGN_OR);
          DeleteObject(run);
          any = true;
        }
      }
    }
  }
  if (!any) {
    DeleteObject(region);
    return nullptr;
  }
  return region;
}

bool CreateMarker(ZQAUTOSCROLL* record) {
  if (record->marker || !RegisterMarkerClass(record->instance)) return record->marker != nullptr;
  const int id = record->horizontal && !record->vertical ? 51 : record->vertical && !record->horizontal ? 50 : 52;
  record->markerCursor = ZqLoadCursor(nullptr, MAKEINTRESOURCEW(id));
  POINT centre{record->originX, record->originY};
  ClientToScreen(record->target, &centre);
  record->marker = CreateWindowExW(WS_EX_NOPARENTNOTIFY | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE,
                                   kMarkerClass, L"", WS_POPUP, centre.x - kMarkerSize / 2,
                                   centre.y - kMarkerSize / 2, kMarkerSize, kMarkerSize, record->target, nullptr,
                                   record->instance, nullptr);
  if (!record->marker) return false;
  SetWindowLongPtrW(record->marker, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));

  record->targetDC = GetDC(record->target);
  record->memoryDC = CreateCompatibleDC(record->targetDC);
  record->markerBitmap = CreateCompatibleBitmap(record->targetDC, kMarkerSize, kMarkerSize);
  if (!record->memoryDC || !record->markerBitmap) return false;
  record->previousBitmap = SelectObject(record->memoryDC, record->markerBitmap);
  const RECT all{0, 0, kMarkerSize, kMarkerSize};
  HBRUSH key = CreateSolidBrush(kKey);
  FillRect(record->memoryDC, &all, key);
  DeleteObject(key);
  if (record->markerCursor)
    DrawIconEx(record->memoryDC, 0, 0, record->markerCursor, kMarkerSize, kMarkerSize, 0, nullptr, DI_NORMAL);
  HRGN region = PictureRegion(record->memoryDC, record->markerBitmap);
  if (!region) {
    // No shape to follow: the picture on a white disc with a black rim.
    HGDIOBJ oldBrush = SelectObject(record->memoryDC, GetStockObject(WHITE_BRUSH));
    HGDIOBJ oldPen = SelectObject(record->memoryDC, GetStockObject(BLACK_PEN));
    Ellipse(record->memoryDC, 0, 0, kMarkerSize - 1, kMarkerSize - 1);
    SelectObject(record->memoryDC, oldPen);
    SelectObject(record->memoryDC, oldBrush);
    if (record->markerCursor)
      DrawIconEx(record->memoryDC, 0, 0, record->markerCursor, kMarkerSize, kMarkerSize, 0, nullptr, DI_NORMAL);
    region = CreateEllipticRgn(0, 0, kMarkerSize - 1, kMarkerSize - 1);
  }
  if (region && !SetWindowRgn(record->marker, region, FALSE)) DeleteObject(region);
  ShowWindow(record->marker, SW_SHOWNOACTIVATE);
  UpdateWindow(record->marker);
  if (record->interactive) {
    record->previousFocus = GetFocus();
    SetFocus(record->marker);
  }
  return true;
}

void DestroyMarker(ZQAUTOSCROLL* record) {
  HWND marker = record->marker;
  record->marker = nullptr;
  if (record->interactive && record->previousFocus && IsWindow(record->previousFocus))
    SetFocus(record->previousFocus);
  record->previousFocus = nullptr;
  if (marker) {
    SetWindowLongPtrW(marker, GWLP_USERDATA, 0);
    DestroyWindow(marker);
  }
  if (record->memoryDC) {
    if (record->previousBitmap) SelectObject(record->memoryDC, record->previousBitmap);
    DeleteDC(record->memoryDC);
  }
  if (record->markerBitmap) DeleteObject(record->markerBitmap);
  if (record->targetDC) ReleaseDC(record->target, record->targetDC);
  record->memoryDC = nullptr;
  record->previousBitmap = nullptr;
  record->markerBitmap = nullptr;
  record->targetDC = nullptr;
  record->markerCursor = nullptr;  // shared: the system keeps it
}

}  // namespace
}  // namespace zq::controls

using namespace zq::controls;

ZQAPI BOOL WINAPI ZqWheel_AutoScrollOriginIcon(ZQAUTOSCROLL* record, int op) noexcept {
  if (!record) return FALSE;
  switch (op) {
    case ZQWHEEL_ICON_CREATE:
      if (!IsWindow(record->target) || !record->instance) return FALSE;
      if (!CreateMarker(record)) {
        DestroyMarker(record);
        return FALSE;
      }
      return TRUE;
    case ZQWHEEL_ICON_DESTROY:
      DestroyMarker(record);
      return TRUE;
    case ZQWHEEL_ICON_HIDE:
      return record->marker && ShowWindow(record->marker, SW_HIDE) >= 0;
    case ZQWHEEL_ICON_SHOW:
      return record->marker && ShowWindow(record->marker, SW_SHOWNOACTIVATE) >= 0;
    default:
      return FALSE;
  }
}
