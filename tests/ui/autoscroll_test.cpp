// Middle-button auto-scroll, driven by messages from start to end on a real
// window with scroll bars: the origin marker shown and removed, the
// direction cursors, the timer's steps and the ways a run ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "controls_test_support.h"
#include "screenshot.h"
#include "zq/ui.h"
#include "zq/wheel.h"

using controlstest::Message;
using controlstest::TestWindow;

namespace {

constexpr int kOriginX = 200, kOriginY = 150;

bool IsZero(const ZQAUTOSCROLL& record) {
  static const ZQAUTOSCROLL zero{};
  return std::memcmp(&record, &zero, sizeof(record)) == 0;
}

struct Counted {
  int vDown = 0, vUp = 0, hDown = 0, hUp = 0, other = 0;
};

Counted Count(const std::vector<Message>& messages) {
  Counted c;
  for (const Message& m : messages) {
    if (m.message == WM_VSCROLL && LOWORD(m.wParam) == SB_LINEDOWN) ++c.vDown;
    else if (m.message == WM_VSCROLL && LOWORD(m.wParam) == SB_LINEUP) ++c.vUp;
    else if (m.message == WM_HSCROLL && LOWORD(m.wParam) == SB_LINEDOWN) ++c.hDown;
    else if (m.message == WM_HSCROLL && LOWORD(m.wParam) == SB_LINEUP) ++c.hUp;
    else if (m.message == WM_VSCROLL || m.message == WM_HSCROLL) ++c.other;
  }
  return c;
}

// The marker's picture comes through the library's shared cursor loader.
HCURSOR LibraryCursor(int id) { return LoadCursorW(controlstest::Library(), MAKEINTRESOURCEW(id)); }

class AutoScroll : public ::testing::Test {
 protected:
  // The pointer at an offset from the origin, in screen coordinates.
  void PointerAt(HWND target, int dx, int dy) {
    POINT p{kOriginX + dx, kOriginY + dy};
    ClientToScreen(target, &p);
    SetCursorPos(p.x, p.y);
    controlstest::Pump(10);
  }
  void Tick(const ZQAUTOSCROLL& record) { SendMessageW(record.marker, WM_TIMER, ZQWHEEL_TIMER_ID, 0); }

  ZQAUTOSCROLL Start(HWND target) {
    ZQAUTOSCROLL record{};
    record.target = target;
    record.instance = GetModuleHandleW(nullptr);
    record.originX = kOriginX;
    record.originY = kOriginY;
    record.interactive = TRUE;
    record.originHalfSize = ZQWHEEL_DEFAULT;
    record.interval = ZQWHEEL_DEFAULT;
    record.divisor = ZQWHEEL_DEFAULT;
    record.horizontalDivisor = ZQWHEEL_DEFAULT;
    return record;
  }
};

void Ranges(HWND window, bool vertical, bool horizontal) {
  if (vertical) SetScrollRange(window, SB_VERT, 0, 100, TRUE);
  if (horizontal) SetScrollRange(window, SB_HORZ, 0, 100, TRUE);
}

TEST_F(AutoScroll, RefusedWithoutTargetInstanceOrAxis) {
  TestWindow target(WS_VSCROLL, 100, 100, 400, 300);
  ZQAUTOSCROLL record = Start(target.hwnd());
  record.target = nullptr;
  EXPECT_FALSE(ZqWheel_AutoScrollInit(&record));
  record = Start(target.hwnd());
  record.instance = nullptr;
  EXPECT_FALSE(ZqWheel_AutoScrollInit(&record));
  record = Start(target.hwnd());  // a scroll bar with an empty range: no axis
  SetScrollRange(target.hwnd(), SB_VERT, 0, 0, TRUE);
  EXPECT_FALSE(ZqWheel_AutoScrollInit(&record));
  EXPECT_EQ(record.marker, nullptr);
  EXPECT_FALSE(ZqWheel_AutoScrollInit(nullptr));
  EXPECT_EQ(ZqWheel_AutoScrollTerminate(nullptr), 0);
  EXPECT_FALSE(ZqWheel_AutoScrollInProgress(nullptr));

  // Non-interactive: the caller's axes; defaults for 9191 and for zero.
  record = ZQAUTOSCROLL{};
  record.target = target.hwnd();
  record.instance = GetModuleHandleW(nullptr);
  record.originX = 50;
  record.originY = 60;
  EXPECT_FALSE(ZqWheel_AutoScrollInit(&record));  // neither axis
  record.vertical = TRUE;
  record.originHalfSize = ZQWHEEL_DEFAULT;
  ASSERT_TRUE(ZqWheel_AutoScrollInit(&record));
  EXPECT_EQ(record.marker, nullptr);
  EXPECT_FALSE(ZqWheel_AutoScrollInProgress(&record));
  EXPECT_EQ(record.interval, 75u);
  EXPECT_EQ(record.divisor, 25);
  EXPECT_EQ(record.horizontalDivisor, 3);
  EXPECT_EQ(record.origin.left, 34);
  EXPECT_EQ(record.origin.top, 44);
  EXPECT_EQ(record.origin.right, 66);
  EXPECT_EQ(record.origin.bottom, 76);
  EXPECT_TRUE(ZqWheel_AutoScrollPtInOrigin(&record, 50, 60));
  EXPECT_TRUE(ZqWheel_AutoScrollPtInOrigin(&record, 34, 44));
  EXPECT_FALSE(ZqWheel_AutoScrollPtInOrigin(&record, 66, 60));
  EXPECT_FALSE(ZqWheel_AutoScrollPtInOrigin(&record, 50, 43));
  EXPECT_EQ(ZqWheel_AutoScrollTerminate(&record), 0);
  EXPECT_TRUE(IsZero(record));
}

TEST_F(AutoScroll, RunFromMiddleClickToNextClick) {
  TestWindow target(WS_VSCROLL, 100, 100, 400, 300);
  Ranges(target.hwnd(), true, false);
  SetForegroundWindow(target.hwnd());
  SetFocus(target.hwnd());
  PointerAt(target.hwnd(), 0, 0);
  ZQAUTOSCROLL record = Start(target.hwnd());
  ASSERT_TRUE(ZqWheel_AutoScrollInit(&record));
  EXPECT_TRUE(record.vertical);
  EXPECT_FALSE(record.horizontal);
  ASSERT_TRUE(ZqWheel_AutoScrollInProgress(&record));

  // The marker: a 32 x 32 pop-up of class "ZQ.OriginIcon" centred on the
  // origin, shaped by a region, holding the capture and the focus.
  HWND marker = record.marker;
  ASSERT_TRUE(IsWindow(marker));
  wchar_t cls[64];
  GetClassNameW(marker, cls, 64);
  EXPECT_STREQ(cls, L"ZQ.OriginIcon");
  EXPECT_TRUE(IsWindowVisible(marker));
  EXPECT_EQ(GetWindow(marker, GW_OWNER), target.hwnd());
  EXPECT_TRUE(GetWindowLongW(marker, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT rect;
  GetWindowRect(marker, &rect);
  POINT centre{kOriginX, kOriginY};
  ClientToScreen(target.hwnd(), &centre);
  EXPECT_EQ(rect.left, centre.x - 16);
  EXPECT_EQ(rect.top, centre.y - 16);
  EXPECT_EQ(rect.right - rect.left, 32);
  EXPECT_EQ(rect.bottom - rect.top, 32);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(marker, region), COMPLEXREGION);
  RECT box;
  GetRgnBox(region, &box);
  EXPECT_LT(box.right - box.left, 33);
  DeleteObject(region);
  EXPECT_EQ(GetCapture(), marker);
  EXPECT_EQ(GetFocus(), marker);
  EXPECT_EQ(record.previousFocus, target.hwnd());
  EXPECT_EQ(record.markerCursor, LibraryCursor(ZQ_UICURSOR_ORIGIN_V));
  const auto shot = testsupport::SaveWindowScreenshot(marker, L"autoscroll_origin_marker");
  EXPECT_TRUE(shot.saved);
  EXPECT_GE(shot.colours, 2);

  // Ticks: 60 pixels below the origin scroll (60 - 16) / 25 = 1 line, 110
  // below 3, 60 above one line up; inside the origin nothing.
  struct Case {
    int dy, down, up;
  } cases[] = {{60, 1, 0}, {110, 3, 0}, {-60, 0, 1}, {5, 0, 0}, {16, 1, 0}};
  for (const Case& c : cases) {
    PointerAt(target.hwnd(), 0, c.dy);
    target.Take();
    Tick(record);
    const Counted got = Count(target.Take());
    EXPECT_EQ(got.vDown, c.down) << c.dy;
    EXPECT_EQ(got.vUp, c.up) << c.dy;
    EXPECT_EQ(got.hDown + got.hUp + got.other, 0);
  }
  // The real timer runs too.
  PointerAt(target.hwnd(), 0, 60);
  target.Take();
  controlstest::Pump(400);
  EXPECT_GE(Count(target.Take()).vDown, 2);

  // A middle-button release inside the origin keeps the run going; the next
  // click ends it.
  PointerAt(target.hwnd(), 0, 0);
  SendMessageW(marker, WM_MBUTTONUP, 0, MAKELPARAM(16, 16));
  EXPECT_TRUE(ZqWheel_AutoScrollInProgress(&record));
  SendMessageW(marker, WM_MBUTTONUP, 0, MAKELPARAM(16, 16 + 40));  // outside: ends
  EXPECT_FALSE(IsWindow(marker));
  EXPECT_TRUE(IsZero(record));
  EXPECT_NE(GetCapture(), marker);
  EXPECT_EQ(GetFocus(), target.hwnd());
}

TEST_F(AutoScroll, KeysWheelClicksAndLostCaptureEndARun) {
  TestWindow target(WS_VSCROLL, 100, 100, 400, 300);
  Ranges(target.hwnd(), true, false);
  PointerAt(target.hwnd(), 0, 0);
  struct Ender {
    const char* name;
    void (*end)(HWND marker);
  } enders[] = {
      {"key", [](HWND m) { SendMessageW(m, WM_KEYDOWN, VK_ESCAPE, 0); }},
      {"wheel", [](HWND m) { SendMessageW(m, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0); }},
      {"left click", [](HWND m) { SendMessageW(m, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(16, 16)); }},
      {"right click", [](HWND m) { SendMessageW(m, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(16, 16)); }},
      {"lost capture", [](HWND) { ReleaseCapture(); }},
      {"terminate", nullptr},
  };
  for (const Ender& e : enders) {
    ZQAUTOSCROLL record = Start(target.hwnd());
    ASSERT_TRUE(ZqWheel_AutoScrollInit(&record)) << e.name;
    HWND marker = record.marker;
    // Moves only change the cursor.
    SendMessageW(marker, WM_MOUSEMOVE, 0, MAKELPARAM(16, 90));
    EXPECT_TRUE(ZqWheel_AutoScrollInProgress(&record)) << e.name;
    if (e.end) e.end(marker);
    else EXPECT_EQ(ZqWheel_AutoScrollTerminate(&record), 0);
    EXPECT_FALSE(IsWindow(marker)) << e.name;
    EXPECT_TRUE(IsZero(record)) << e.name;
    EXPECT_EQ(GetCapture(), nullptr) << e.name;
  }
}

TEST_F(AutoScroll, DirectionCursorsByZone) {
  struct Axes {
    DWORD bars;
    bool shift;
    int cursors[9];  // above-left, above, above-right, left, inside, right, below-left, below, below-right
  } axes[] = {
      {WS_VSCROLL | WS_HSCROLL, false, {45, 39, 43, 42, 49, 40, 46, 41, 44}},
      {WS_HSCROLL, false, {42, 48, 40, 42, 48, 40, 42, 48, 40}},
      {WS_VSCROLL, false, {39, 39, 39, 47, 47, 47, 41, 41, 41}},
      {WS_VSCROLL | WS_HSCROLL, true, {42, 48, 40, 42, 48, 40, 42, 48, 40}},  // Shift: horizontal only
  };
  const int offsets[3] = {-40, 0, 40};
  for (const Axes& a : axes) {
    TestWindow target(a.bars, 100, 100, 400, 300);
    Ranges(target.hwnd(), a.bars & WS_VSCROLL, a.bars & WS_HSCROLL);
    PointerAt(target.hwnd(), 0, 0);
    BYTE keys[256], saved[256];
    GetKeyboardState(saved);
    std::memcpy(keys, saved, sizeof(keys));
    if (a.shift) keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    ZQAUTOSCROLL record = Start(target.hwnd());
    const BOOL started = ZqWheel_AutoScrollInit(&record);
    SetKeyboardState(saved);
    ASSERT_TRUE(started);
    const int origin = record.horizontal && record.vertical ? ZQ_UICURSOR_ORIGIN
                       : record.horizontal                  ? ZQ_UICURSOR_ORIGIN_H
                                                            : ZQ_UICURSOR_ORIGIN_V;
    EXPECT_EQ(record.markerCursor, LibraryCursor(origin));
    for (int row = 0; row < 3; ++row)
      for (int column = 0; column < 3; ++column) {
        PointerAt(target.hwnd(), offsets[column], offsets[row]);
        ASSERT_TRUE(ZqWheel_AutoScrollSetCursor(&record));
        EXPECT_EQ(GetCursor(), ZqGetUICursor(a.cursors[row * 3 + column])) << row << "," << column;
      }
    ZqWheel_AutoScrollTerminate(&record);
  }
}

TEST_F(AutoScroll, HorizontalStepsOnEveryThirdTickAndTheScrollFunction) {
  TestWindow target(WS_VSCROLL | WS_HSCROLL, 100, 100, 400, 300);
  Ranges(target.hwnd(), true, true);
  PointerAt(target.hwnd(), 0, 0);
  ZQAUTOSCROLL record = Start(target.hwnd());
  record.interval = 60000;  // only the ticks sent below
  ASSERT_TRUE(ZqWheel_AutoScrollInit(&record));
  ASSERT_TRUE(record.horizontal && record.vertical);
  // 80 pixels left: (80 - 16) / 25 = 2 steps, every third tick; nothing vertical.
  PointerAt(target.hwnd(), -80, 0);
  target.Take();
  int ticksWithSteps = 0, steps = 0;
  for (int tick = 0; tick < 6; ++tick) {
    Tick(record);
    const Counted got = Count(target.Take());
    EXPECT_EQ(got.vDown + got.vUp + got.hDown, 0);
    if (got.hUp) ++ticksWithSteps;
    steps += got.hUp;
  }
  EXPECT_EQ(ticksWithSteps, 2);
  EXPECT_EQ(steps, 4);
  ZqWheel_AutoScrollTerminate(&record);

  // A scroll function takes every step, with no divisor.
  static std::vector<std::vector<int>> calls;
  calls.clear();
  record = Start(target.hwnd());
  record.interval = 60000;
  record.scrollProc = [](HWND window, int axis, int direction, int count) CALLBACK {
    calls.push_back({axis, direction, count});
  };
  PointerAt(target.hwnd(), 0, 0);
  ASSERT_TRUE(ZqWheel_AutoScrollInit(&record));
  PointerAt(target.hwnd(), 60, 110);
  target.Take();
  Tick(record);
  EXPECT_EQ(calls, (std::vector<std::vector<int>>{{1, 2, 1}, {2, 2, 3}}));
  EXPECT_EQ(Count(target.Take()).vDown, 0);
  ZqWheel_AutoScrollTerminate(&record);
}

TEST_F(AutoScroll, MarkerWithoutARunPassesTheMouseOnAndShowsAndHides) {
  TestWindow target(WS_VSCROLL, 100, 100, 400, 300);
  ZQAUTOSCROLL record{};
  record.target = target.hwnd();
  record.instance = GetModuleHandleW(nullptr);
  record.originX = kOriginX;
  record.originY = kOriginY;
  record.vertical = TRUE;
  ASSERT_TRUE(ZqWheel_AutoScrollInit(&record));
  ASSERT_TRUE(ZqWheel_AutoScrollOriginIcon(&record, ZQWHEEL_ICON_CREATE));
  HWND marker = record.marker;
  ASSERT_TRUE(IsWindow(marker));
  EXPECT_EQ(record.previousFocus, nullptr);  // not interactive: the focus stays
  target.Take();
  SendMessageW(marker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  controlstest::Pump(20);
  const std::vector<Message> got = target.Take();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(static_cast<short>(LOWORD(got[0].lParam)), kOriginX - 16 + 3);
  EXPECT_EQ(static_cast<short>(HIWORD(got[0].lParam)), kOriginY - 16 + 4);
  EXPECT_TRUE(ZqWheel_AutoScrollOriginIcon(&record, ZQWHEEL_ICON_HIDE));
  EXPECT_FALSE(IsWindowVisible(marker));
  EXPECT_TRUE(ZqWheel_AutoScrollOriginIcon(&record, ZQWHEEL_ICON_SHOW));
  EXPECT_TRUE(IsWindowVisible(marker));
  EXPECT_FALSE(ZqWheel_AutoScrollOriginIcon(&record, 9));
  EXPECT_TRUE(ZqWheel_AutoScrollOriginIcon(&record, ZQWHEEL_ICON_DESTROY));
  EXPECT_FALSE(IsWindow(marker));
  EXPECT_EQ(record.memoryDC, nullptr);
  EXPECT_EQ(record.markerBitmap, nullptr);
  EXPECT_EQ(ZqWheel_AutoScrollTerminate(&record), 0);
}

}  // namespace
