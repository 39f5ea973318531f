// A child window that keeps a window-less control instance (fader,
// trackbar, spinner) and passes it its messages, as the spreadsheet grid
// does.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "controls_test_support.h"

namespace controlstest {

template <typename Inst, LRESULT(WINAPI* MessageFn)(Inst*, UINT, WPARAM, LPARAM), void(WINAPI* DrawFn)(Inst*, HDC)>
class ControlHost {
 public:
  // `init` initialises the zeroed instance for the host window and the
  // area (0, 0, width, height).
  template <typename Init>
  ControlHost(HWND parent, const RECT& rect, int id, Init init) {
    static const std::wstring name = L"QuilletTestHost" + std::to_wstring(reinterpret_cast<UINT_PTR>(&Proc));
    static const bool registered = [] {
      WNDCLASSW cls{};
      cls.style = CS_DBLCLKS;
      cls.lpfnWndProc = Proc;
      cls.hInstance = GetModuleHandleW(nullptr);
      cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      cls.lpszClassName = name.c_str();
      return RegisterClassW(&cls) != 0;
    }();
    EXPECT_TRUE(registered);
    window_ = CreateWindowExW(0, name.c_str(), L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    const RECT area{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    init(&inst_, area, window_);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    InvalidateRect(window_, nullptr, TRUE);
    Pump(10);
  }
  ~ControlHost() {
    Detach();
    DestroyWindow(window_);
  }
  // The window stops passing messages to the instance (before it is
  // deinitialised).
  void Detach() { SetWindowLongPtrW(window_, GWLP_USERDATA, 0); }
  ControlHost(const ControlHost&) = delete;
  ControlHost& operator=(const ControlHost&) = delete;

  HWND hwnd() const { return window_; }
  Inst* inst() { return &inst_; }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return MessageFn(&inst_, message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto self = reinterpret_cast<ControlHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        DrawFn(&self->inst_, dc);
        EndPaint(window, &paint);
        return 0;
      }
      case WM_ERASEBKGND:
        return 1;
      case WM_SETFOCUS: case WM_KILLFOCUS: case WM_KEYDOWN: case WM_KEYUP: case WM_MOUSEMOVE:
      case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
      case WM_MOUSEWHEEL: case WM_TIMER: case WM_CAPTURECHANGED: case WM_CANCELMODE: case WM_GETDLGCODE:
        return MessageFn(&self->inst_, message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  HWND window_ = nullptr;
  Inst inst_{};
};

}  // namespace controlstest
