// Windows for the controls' tests: a top-level test window that records the
// messages a test looks for and paints with a test's function, a message
// pump, and pixels read back from a DC.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace controlstest {

struct Message {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class TestWindow {
 public:
  // A top-level window of `style` (WS_OVERLAPPEDWINDOW bits, WS_VSCROLL ...)
  // at screen position x, y with a client area of width x height, shown.
  TestWindow(DWORD style, int x, int y, int width, int height);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND hwnd() const { return window_; }
  // Scroll, wheel and mouse-button messages in the order they came.
  std::vector<Message> messages;
  // Called for every message first; a result other than -1 is returned.
  std::function<LRESULT(UINT, WPARAM, LPARAM)> onMessage;
  // Paints the client area (after it was filled white).
  std::function<void(HDC)> onPaint;
  // What WM_VSCROLL and WM_HSCROLL return.
  LRESULT scrollResult = 0;

  std::vector<Message> Take();  // the recorded messages, cleared

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND window_ = nullptr;
};

// Handles this thread's messages for `milliseconds`.
void Pump(DWORD milliseconds);

// The library module the test runs against.
HMODULE Library();

// A 32-bit top-down DIB section selected into a memory DC.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC dc() const { return dc_; }
  // 0x00RRGGBB
  DWORD Pixel(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
  void Fill(COLORREF colour);
  bool SameAs(const Canvas& other) const;
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  DWORD* bits_ = nullptr;
};

// 0x00RRGGBB of a COLORREF, to compare with Canvas::Pixel.
inline DWORD Rgb(COLORREF colour) { return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour); }

}  // namespace controlstest
