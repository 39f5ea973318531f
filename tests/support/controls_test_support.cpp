#include "controls_test_support.h"

namespace controlstest {
namespace {

constexpr wchar_t kClass[] = L"QuilletControlsTestWindow";

bool Recorded(UINT message) {
  switch (message) {
    case WM_VSCROLL: case WM_HSCROLL: case WM_MOUSEWHEEL:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_MBUTTONDOWN: case WM_MBUTTONUP:
      return true;
    default:
      return false;
  }
}

}  // namespace

TestWindow::TestWindow(DWORD style, int x, int y, int width, int height) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = Proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    cls.lpszClassName = kClass;
    registered = RegisterClassW(&cls) != 0;
  }
  RECT frame{0, 0, width, height};
  const DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | style;
  AdjustWindowRect(&frame, windowStyle & ~(WS_VSCROLL | WS_HSCROLL), FALSE);
  if (style & WS_VSCROLL) frame.right += GetSystemMetrics(SM_CXVSCROLL);
  if (style & WS_HSCROLL) frame.bottom += GetSystemMetrics(SM_CYHSCROLL);
  window_ = CreateWindowExW(0, kClass, L"Controls test", windowStyle, x, y, frame.right - frame.left,
                            frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  Pump(20);
}

TestWindow::~TestWindow() {
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  Pump(10);
}

std::vector<Message> TestWindow::Take() {
  std::vector<Message> taken;
  taken.swap(messages);
  return taken;
}

LRESULT CALLBACK TestWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (Recorded(message)) self->messages.push_back({message, wParam, lParam});
  if (self->onMessage) {
    const LRESULT result = self->onMessage(message, wParam, lParam);
    if (result != -1) return result;
  }
  switch (message) {
    case WM_VSCROLL:
    case WM_HSCROLL:
      return self->scrollResult;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (self->onPaint) self->onPaint(dc);
      EndPaint(window, &paint);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void Pump(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(1);
  } while (GetTickCount() - start < milliseconds);
}

HMODULE Library() { return GetModuleHandleW(L"quillet.dll"); }

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<DWORD*>(bits);
  dc_ = CreateCompatibleDC(nullptr);
  old_ = SelectObject(dc_, bitmap_);
  Fill(RGB(255, 255, 255));
}

Canvas::~Canvas() {
  SelectObject(dc_, old_);
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

void Canvas::Fill(COLORREF colour) {
  GdiFlush();
  for (int i = 0; i < width_ * height_; ++i) bits_[i] = Rgb(colour);
}

bool Canvas::SameAs(const Canvas& other) const {
  GdiFlush();
  if (width_ != other.width_ || height_ != other.height_) return false;
  for (int i = 0; i < width_ * height_; ++i)
    if ((bits_[i] & 0xFFFFFF) != (other.bits_[i] & 0xFFFFFF)) return false;
  return true;
}

}  // namespace controlstest
