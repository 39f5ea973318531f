// Wheel steps recorded from real windows with scroll bars for each
// wheel-lines setting, and wheel messages passed to the hovered window.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "controls_test_support.h"
#include "zq/wheel.h"

using controlstest::Message;
using controlstest::TestWindow;

namespace {

struct Step {
  UINT message;
  WORD code;
  bool operator==(const Step& other) const { return message == other.message && code == other.code; }
};

std::vector<Step> Steps(const std::vector<Message>& messages) {
  std::vector<Step> steps;
  for (const Message& m : messages) {
    if (m.message != WM_VSCROLL && m.message != WM_HSCROLL) continue;
    EXPECT_EQ(m.lParam, 0);  // the window's own scroll bar
    steps.push_back({m.message, LOWORD(m.wParam)});
  }
  return steps;
}

std::vector<Step> Repeat(UINT message, WORD code, int count) { return std::vector<Step>(count, Step{message, code}); }

class WheelLines {
 public:
  WheelLines() { SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &saved_, 0); }
  ~WheelLines() { Set(saved_); }
  static void Set(UINT lines) { ASSERT_TRUE(SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, 0)); }

 private:
  UINT saved_ = 3;
};

void SetRange(HWND window, int bar) { SetScrollRange(window, bar, 0, 100, TRUE); }

// Holds Shift down for this thread while it lives.
class ShiftHeld {
 public:
  ShiftHeld() {
    GetKeyboardState(saved_);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
  }
  ~ShiftHeld() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

TEST(WheelScroll, VerticalStepsForEachWheelLinesSetting) {
  WheelLines restore;
  struct Case {
    int lines;  // the system's setting
    int direction, count;
    std::vector<Step> expected;
  } cases[] = {
      {3, 2, ZQWHEEL_DEFAULT, Repeat(WM_VSCROLL, SB_LINEDOWN, 3)},
      {3, 1, ZQWHEEL_DEFAULT, Repeat(WM_VSCROLL, SB_LINEUP, 3)},
      {0, 2, ZQWHEEL_DEFAULT, Repeat(WM_VSCROLL, SB_LINEDOWN, 3)},  // 0 behaves as 3
      {7, 2, ZQWHEEL_DEFAULT, Repeat(WM_VSCROLL, SB_LINEDOWN, 7)},  // the system's count is not limited
      {static_cast<int>(WHEEL_PAGESCROLL), 2, ZQWHEEL_DEFAULT, Repeat(WM_VSCROLL, SB_PAGEDOWN, 1)},
      {static_cast<int>(WHEEL_PAGESCROLL), 1, ZQWHEEL_DEFAULT, Repeat(WM_VSCROLL, SB_PAGEUP, 1)},
      {3, 2, 2, Repeat(WM_VSCROLL, SB_LINEDOWN, 2)},
      {3, 2, 9, Repeat(WM_VSCROLL, SB_LINEDOWN, 5)},  // explicit counts stop at 5
      {static_cast<int>(WHEEL_PAGESCROLL), 2, 2, Repeat(WM_VSCROLL, SB_LINEDOWN, 2)},
      {3, 2, 0, {}},
      {3, 2, -4, {}},
  };
  for (const Case& c : cases) {
    WheelLines::Set(static_cast<UINT>(c.lines));
    TestWindow window(WS_VSCROLL, 50, 50, 200, 120);  // a new window: the setting is read again
    SetRange(window.hwnd(), SB_VERT);
    window.scrollResult = 1234;
    window.Take();
    const LRESULT result = ZqWheel_ScrollWindow(window.hwnd(), ZQWHEEL_DEFAULT, c.direction, c.count);
    EXPECT_EQ(Steps(window.Take()), c.expected) << c.lines << " " << c.direction << " " << c.count;
    EXPECT_EQ(result, c.expected.empty() ? 0 : 1234);
  }
}

TEST(WheelScroll, AxisFromTheScrollBars) {
  WheelLines restore;
  WheelLines::Set(3);
  TestWindow horizontal(WS_HSCROLL, 50, 50, 200, 120);
  SetRange(horizontal.hwnd(), SB_HORZ);
  horizontal.Take();
  ZqWheel_ScrollWindow(horizontal.hwnd(), ZQWHEEL_DEFAULT, 2, ZQWHEEL_DEFAULT);
  ZqWheel_ScrollWindow(horizontal.hwnd(), ZQWHEEL_DEFAULT, 1, 4);
  EXPECT_EQ(Steps(horizontal.Take()), (std::vector<Step>{{WM_HSCROLL, SB_LINEDOWN}, {WM_HSCROLL, SB_LINEUP}}));

  TestWindow both(WS_VSCROLL | WS_HSCROLL, 50, 50, 200, 120);
  SetRange(both.hwnd(), SB_VERT);
  SetRange(both.hwnd(), SB_HORZ);
  both.Take();
  ZqWheel_ScrollWindow(both.hwnd(), ZQWHEEL_DEFAULT, 2, 1);
  EXPECT_EQ(Steps(both.Take()), Repeat(WM_VSCROLL, SB_LINEDOWN, 1));
  {
    ShiftHeld shift;
    ZqWheel_ScrollWindow(both.hwnd(), ZQWHEEL_DEFAULT, 2, 1);
  }
  EXPECT_EQ(Steps(both.Take()), Repeat(WM_HSCROLL, SB_LINEDOWN, 1));
  ZqWheel_ScrollWindow(both.hwnd(), ZQWHEEL_AXIS_H, 1, 1);
  ZqWheel_ScrollWindow(both.hwnd(), ZQWHEEL_AXIS_V, 1, 1);
  EXPECT_EQ(Steps(both.Take()), (std::vector<Step>{{WM_HSCROLL, SB_LINEUP}, {WM_VSCROLL, SB_LINEUP}}));

  // No bar, or a bar with an empty range: nothing to scroll.
  TestWindow none(0, 50, 50, 200, 120);
  TestWindow empty(WS_VSCROLL, 50, 50, 200, 120);
  SetScrollRange(empty.hwnd(), SB_VERT, 0, 0, TRUE);
  none.Take();
  empty.Take();
  EXPECT_EQ(ZqWheel_ScrollWindow(none.hwnd(), ZQWHEEL_DEFAULT, 2, 3), 0);
  EXPECT_EQ(ZqWheel_ScrollWindow(empty.hwnd(), ZQWHEEL_DEFAULT, 2, 3), 0);
  EXPECT_EQ(ZqWheel_ScrollWindow(none.hwnd(), 7, 2, 3), 0);
  EXPECT_EQ(ZqWheel_ScrollWindow(nullptr, ZQWHEEL_AXIS_V, 2, 3), 0);
  EXPECT_TRUE(Steps(none.Take()).empty());
  EXPECT_TRUE(Steps(empty.Take()).empty());
}

// ---- Passing to the hovered window -------------------------------------------------

LPARAM ScreenPoint(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return MAKELPARAM(p.x, p.y);
}

TEST(WheelPassToHover, HandsTheMessageOnMarkedOnce) {
  TestWindow focus(0, 40, 40, 200, 150), hovered(0, 320, 40, 200, 150);
  SetForegroundWindow(focus.hwnd());
  SetFocus(focus.hwnd());
  ASSERT_EQ(GetFocus(), focus.hwnd());
  const WPARAM wheel = MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-WHEEL_DELTA));
  const LPARAM overHovered = ScreenPoint(hovered.hwnd(), 100, 75);
  const LPARAM overFocus = ScreenPoint(focus.hwnd(), 100, 75);
  const LPARAM overDesktop = MAKELPARAM(1270, 1015);  // the desktop: another process's window

  BOOL nested = -1;
  hovered.onMessage = [&](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    // A pass while one is going on is refused.
    if (message == WM_MOUSEWHEEL) nested = ZqWheel_PassToHover(focus.hwnd(), wParam & ~ZQWHEEL_PASSED, lParam);
    return -1;
  };

  EXPECT_EQ(ZqWheel_UpdatePrefs(0), 0u);
  EXPECT_FALSE(ZqWheel_PassToHover(focus.hwnd(), wheel, overHovered));  // preference off
  EXPECT_EQ(ZqWheel_UpdatePrefs(1), 1u);
  hovered.Take();
  ASSERT_TRUE(ZqWheel_PassToHover(focus.hwnd(), wheel, overHovered));
  const std::vector<Message> got = hovered.Take();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].message, static_cast<UINT>(WM_MOUSEWHEEL));
  EXPECT_EQ(got[0].wParam, wheel | ZQWHEEL_PASSED);
  EXPECT_EQ(got[0].lParam, overHovered);
  EXPECT_EQ(nested, FALSE);

  // Refusals: already passed, not the focus window, the pointer over the
  // window itself or over another process's window, the mouse captured.
  EXPECT_FALSE(ZqWheel_PassToHover(focus.hwnd(), wheel | ZQWHEEL_PASSED, overHovered));
  EXPECT_FALSE(ZqWheel_PassToHover(hovered.hwnd(), wheel, ScreenPoint(focus.hwnd(), 100, 75)));
  EXPECT_FALSE(ZqWheel_PassToHover(focus.hwnd(), wheel, overFocus));
  EXPECT_FALSE(ZqWheel_PassToHover(focus.hwnd(), wheel, overDesktop));
  SetCapture(focus.hwnd());
  EXPECT_FALSE(ZqWheel_PassToHover(focus.hwnd(), wheel, overHovered));
  ReleaseCapture();
  EXPECT_FALSE(ZqWheel_PassToHover(nullptr, wheel, overHovered));
  EXPECT_TRUE(hovered.Take().empty());
  ZqWheel_UpdatePrefs(0);
}

TEST(WheelPassToHover, ControlWindowOfAForwardedMessage) {
  TestWindow parent(0, 40, 40, 200, 150);
  HWND control = CreateWindowExW(0, L"BUTTON", L"knob", WS_CHILD | WS_VISIBLE, 20, 20, 60, 30, parent.hwnd(),
                                 reinterpret_cast<HMENU>(77), GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(control, nullptr);
  controlstest::Pump(20);
  const LPARAM overControl = ScreenPoint(parent.hwnd(), 50, 35);
  int id = -1;
  EXPECT_EQ(ZqWheel_GetControlWindow(MAKEWPARAM(ZQWHEEL_FORWARDED, WHEEL_DELTA), overControl, &id), control);
  EXPECT_EQ(id, 77);
  EXPECT_EQ(ZqWheel_GetControlWindow(MAKEWPARAM(ZQWHEEL_FORWARDED, WHEEL_DELTA), overControl, nullptr), control);
  id = -1;
  EXPECT_EQ(ZqWheel_GetControlWindow(MAKEWPARAM(0, WHEEL_DELTA), overControl, &id), nullptr);
  EXPECT_EQ(id, -1);
  DestroyWindow(control);
}

TEST(WheelPassToHover, LifecycleCalls) {
  EXPECT_EQ(ZqWheel_CreateZqGlobalSubclasses(), 0);
  ZqWheel_DeleteZqGlobalSubclasses();
  ZqWheel_Terminate(0);
}

}  // namespace
