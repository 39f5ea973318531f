// The fader through real messages under the display server: scroll codes
// from keys and their page default, Ctrl steps and the centre rule, mouse
// gestures with the scroll procedure's calls recorded, stereo grabs and
// channel messages, the notifications a parent receives, the wheel, and the
// window-less instance answering as the window does.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <vector>

#include "controls_test_support.h"
#include "fader_test_support.h"
#include "zq/fader.h"
#include "zq/ui.h"

using controlstest::Message;
using controlstest::TestWindow;
using fadertest::Codes;
using fadertest::Host;
using fadertest::Keys;
using fadertest::Point;
using fadertest::TakeCalls;

namespace {

void Configure(HWND window, LONG min, LONG max, LONG centre, std::initializer_list<LONG> values, LONG line = 1,
           LONG page = 0) {
  LONG v[2] = {0, 0};
  int i = 0;
  for (LONG value : values) v[i++] = value;
  ZQFADERSETUP setup{min, max, centre, line, page, 0, 0, 0, v};
  SendMessageW(window, FDM_SETUP, 0, reinterpret_cast<LPARAM>(&setup));
}

void Configure(Host& host, LONG min, LONG max, LONG centre, std::initializer_list<LONG> values, LONG line = 1,
           LONG page = 0) {
  LONG v[2] = {0, 0};
  int i = 0;
  for (LONG value : values) v[i++] = value;
  ZQFADERSETUP setup{min, max, centre, line, page, 0, 0, 0, v};
  host.Send(FDM_SETUP, 0, reinterpret_cast<LPARAM>(&setup));
}

struct Notes {
  std::vector<Message> commands;   // WM_COMMAND
  std::vector<int> notifyCodes;    // WM_NOTIFY codes
  std::vector<UINT> keys;          // FDN_KEY keys
  std::vector<LONG> scrollCodes;   // FDN_SCROLL codes
};

// The parent's view: scroll messages are recorded by the test window,
// notifications here.
void Listen(TestWindow& parent, Notes& notes) {
  parent.onMessage = [&notes](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_COMMAND) notes.commands.push_back({message, wParam, lParam});
    if (message == WM_NOTIFY) {
      auto hdr = reinterpret_cast<NMHDR*>(lParam);
      notes.notifyCodes.push_back(static_cast<int>(hdr->code));
      if (static_cast<int>(hdr->code) == FDN_KEY) notes.keys.push_back(reinterpret_cast<ZQFADERNMKEY*>(lParam)->key);
      if (static_cast<int>(hdr->code) == FDN_SCROLL)
        notes.scrollCodes.push_back(reinterpret_cast<ZQFADERNMSCROLL*>(lParam)->code);
      return 0;
    }
    return -1;
  };
}

HWND CreateFader(HWND parent, DWORD style, int x, int y, int width, int height, int id = 5) {
  EXPECT_TRUE(fadertest::RegisterClassOnce());
  HWND fader = CreateWindowExW(0, fadertest::kClass, L"", WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                               parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                               nullptr);
  EXPECT_NE(fader, nullptr);
  controlstest::Pump(10);
  return fader;
}

// ---- Window form and scroll codes -------------------------------------------------------

TEST(FaderWindow, KeysSendScrollCodesToTheParent) {
  TestWindow parent(0, 40, 40, 300, 260);
  Notes notes;
  Listen(parent, notes);
  HWND fader = CreateFader(parent.hwnd(), FADS_VERT, 20, 20, 40, 220);
  Configure(fader, 0, 100, 50, {50});
  struct Case {
    UINT key;
    WORD code;
  } cases[] = {{VK_PRIOR, 2}, {VK_NEXT, 3}, {VK_HOME, 6}, {VK_END, 7}, {VK_UP, 0},
               {VK_RIGHT, 0}, {VK_F9, 0},  {VK_DOWN, 1}, {VK_LEFT, 1}, {VK_F3, 1}};
  for (const Case& c : cases) {
    parent.Take();
    SendMessageW(fader, WM_KEYDOWN, c.key, 0);
    SendMessageW(fader, WM_KEYUP, c.key, 0);
    const std::vector<Message> got = parent.Take();
    ASSERT_EQ(got.size(), 2u) << c.key;
    EXPECT_EQ(got[0].message, static_cast<UINT>(WM_VSCROLL));
    EXPECT_EQ(LOWORD(got[0].wParam), c.code) << c.key;
    EXPECT_EQ(reinterpret_cast<HWND>(got[0].lParam), fader);
    EXPECT_EQ(LOWORD(got[1].wParam), FADER_ENDGESTURE) << c.key;
    // The parent moves the value; the fader alone does not.
    EXPECT_EQ(SendMessageW(fader, FDM_GETPOS, 0, 0), 50);
  }
  // A digit sets min + (max - min) * digit / 10 and reports the final position.
  parent.Take();
  SendMessageW(fader, WM_KEYDOWN, '7', 0);
  EXPECT_EQ(SendMessageW(fader, FDM_GETPOS, 0, 0), 70);
  std::vector<Message> got = parent.Take();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(LOWORD(got[0].wParam), FADER_FINAL);
  EXPECT_EQ(HIWORD(got[0].wParam), 70);
  // Keypad digits and Clear are ignored; other keys go to the parent.
  SendMessageW(fader, WM_KEYDOWN, VK_NUMPAD3, 0);
  SendMessageW(fader, WM_KEYDOWN, VK_CLEAR, 0);
  EXPECT_TRUE(parent.Take().empty());
  SendMessageW(fader, WM_KEYDOWN, 'X', 0x00250001);
  EXPECT_EQ(notes.keys, std::vector<UINT>{'X'});
  EXPECT_EQ(SendMessageW(fader, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
  DestroyWindow(fader);
}

TEST(FaderWindow, DefaultScrollProcedureAppliesCodes) {
  TestWindow parent(0, 40, 40, 300, 260);
  HWND fader = CreateFader(parent.hwnd(), FADS_VERT, 20, 20, 40, 220);
  struct Case {
    int code;
    LONG start;
    bool ctrl;
    LONG expected;
  } cases[] = {
      {0, 10, false, 13}, {1, 10, false, 7},  {2, 10, false, 30}, {3, 10, false, -10},
      {2, 10, true, 100}, {6, 10, false, 0},  {6, 10, true, 100}, {7, 10, false, -100},
      {3, -95, false, -100},
  };
  for (const Case& c : cases) {
    Configure(fader, -100, 100, 0, {c.start});
    Keys keys = c.ctrl ? Keys{VK_CONTROL} : Keys{};
    Fader_DefScrollProc(nullptr, c.code, fader, 3, 0);  // line 3, page (200 + 5) / 10 = 20
    EXPECT_EQ(SendMessageW(fader, FDM_GETPOS, 0, 0), c.expected) << c.code;
  }
  DestroyWindow(fader);
}

TEST(FaderSelfMove, KeysMoveTheValuesCtrlStepsPageDefaultAndCentre) {
  TestWindow parent(0, 40, 40, 300, 260);
  Host host(parent.hwnd(), FADS_VERT | FADS_SELFMOVE, RECT{20, 20, 60, 240});
  struct Case {
    LONG min, max, start;
    UINT key;
    bool ctrl;
    LONG expected;
    int code;
    LONG line = 1;
  } cases[] = {
      {0, 3, 0, VK_PRIOR, false, 1, 2},          // page (3 + 5) / 10 = 0, raised to 1
      {0, 1000, 500, VK_UP, false, 501, 0},      {0, 1000, 500, VK_UP, true, 510, 0},
      {0, 1000, 500, VK_NEXT, false, 400, 3},    {0, 1000, 500, VK_NEXT, true, 0, 3},
      {-100, 100, 37, VK_HOME, false, 0, 6},     {-100, 100, 37, VK_HOME, true, 100, 6},
      {-100, 100, 37, VK_END, false, -100, 7},   {0, 100, 37, VK_HOME, false, 100, 6},
      {0, 100, 100, VK_F9, false, 100, 0},       {0, 100, 0, VK_F3, false, 0, 1},
      // Ctrl steps past 32 bits are added whole, then clamped.
      {INT_MIN, INT_MAX, INT_MIN, VK_UP, true, 852516352, 0, 300000000},
      {INT_MIN, INT_MAX, INT_MAX, VK_DOWN, true, -852516353, 1, 300000000},
      {INT_MIN, INT_MAX, INT_MIN, VK_UP, true, INT_MAX, 0, INT_MAX},
      {INT_MIN, INT_MAX, INT_MAX, VK_DOWN, true, INT_MIN, 1, INT_MAX},
  };
  for (const Case& c : cases) {
    Configure(host, c.min, c.max, 0, {c.start}, c.line);
    TakeCalls();
    {
      Keys keys = c.ctrl ? Keys{VK_CONTROL} : Keys{};
      host.Send(WM_KEYDOWN, c.key, 0);
    }
    EXPECT_EQ(host.Send(FDM_GETPOS), c.expected) << c.min << ".." << c.max << " key " << c.key;
    const auto got = TakeCalls();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].code, c.code);
    EXPECT_EQ(got[0].v0, c.expected);
    EXPECT_EQ(got[0].id, 7);
    EXPECT_EQ(got[0].owner, 0x5150);
  }
}

// ---- Mouse ------------------------------------------------------------------------------------

class FaderMouse : public ::testing::Test {
 protected:
  TestWindow parent{0, 40, 40, 300, 260};
  const RECT area{0, 0, 40, 220};
  LONG ThumbY(LONG value, LONG min = 0, LONG max = 200) {
    return fadertest::ExpectedPixel(area, true, 20, value, min, max);
  }
};

TEST_F(FaderMouse, ThumbDragReportsStartTrackingFinalEnd) {
  Host host(parent.hwnd(), FADS_VERT | FADS_SELFMOVE, RECT{20, 20, 60, 240});
  Configure(host, 0, 200, 100, {60});  // 200 values on a 200-pixel track: one per pixel
  TakeCalls();
  const LONG y = ThumbY(60);
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(5, y + 3));
  EXPECT_EQ(GetCapture(), host.hwnd());
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, Point(5, y + 3 - 30));
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, Point(5, y + 3 - 30));  // no change: no report
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, Point(5, y + 3 + 10));
  host.Send(WM_LBUTTONUP, 0, Point(5, y + 3 + 10));
  const auto got = TakeCalls();
  EXPECT_EQ(Codes(got), (std::vector<int>{9, 5, 5, 4, 8}));
  EXPECT_EQ(got[1].v0, 90);
  EXPECT_EQ(got[2].v0, 50);
  EXPECT_EQ(host.Send(FDM_GETPOS), 50);
  EXPECT_NE(GetCapture(), host.hwnd());

  // Escape during a drag restores the values from the press.
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(5, ThumbY(50)));
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, Point(5, ThumbY(50) - 40));
  EXPECT_EQ(host.Send(FDM_GETPOS), 90);
  host.Send(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(host.Send(FDM_GETPOS), 50);
  EXPECT_NE(GetCapture(), host.hwnd());
  EXPECT_EQ(Codes(TakeCalls()), (std::vector<int>{9, 5, 4, 4, 8}));
}

TEST_F(FaderMouse, FineDragMovesHalfThePointerAndWarpsItBack) {
  Host host(parent.hwnd(), FADS_VERT | FADS_SELFMOVE, RECT{20, 20, 60, 240});
  Configure(host, 0, 200, 100, {60});
  const LONG y = ThumbY(60);
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, Point(5, y));
  TakeCalls();
  host.Send(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, Point(5, y - 9));  // 9 up: +5 (halved away from zero)
  EXPECT_EQ(host.Send(FDM_GETPOS), 65);
  POINT cursor;
  GetCursorPos(&cursor);
  ScreenToClient(host.hwnd(), &cursor);
  EXPECT_EQ(cursor.y, ThumbY(65));  // back on the thumb
  host.Send(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, Point(5, cursor.y));  // the warp's own move
  host.Send(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, Point(5, cursor.y + 4));  // 4 down: -2
  EXPECT_EQ(host.Send(FDM_GETPOS), 63);
  host.Send(WM_LBUTTONUP, 0, Point(5, cursor.y + 4));
  EXPECT_EQ(Codes(TakeCalls()), (std::vector<int>{5, 5, 4, 8}));
}

TEST_F(FaderMouse, PartsStepAndRepeatDoubleClickCentres) {
  Host host(parent.hwnd(), FADS_VERT | FADS_SELFMOVE, RECT{20, 20, 60, 240});
  Configure(host, 0, 200, 100, {100});
  TakeCalls();
  // In the track below the thumb: page down (20), repeated by timer 42 while
  // the pointer stays on the part.
  const LONG below = ThumbY(100) + 70;
  POINT screen{20, below};
  ClientToScreen(host.hwnd(), &screen);
  SetCursorPos(screen.x, screen.y);
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(20, below));
  EXPECT_EQ(host.Send(FDM_GETPOS), 80);
  controlstest::Pump(700);
  host.Send(WM_LBUTTONUP, 0, Point(20, below));
  auto got = TakeCalls();
  ASSERT_GE(got.size(), 4u);
  EXPECT_EQ(got.front().code, 9);
  EXPECT_EQ(got.back().code, 8);
  int pages = 0;
  for (const auto& call : got) pages += call.code == 3;
  EXPECT_GE(pages, 2);
  EXPECT_LE(host.Send(FDM_GETPOS), 60);
  // Beside the track above the thumb: a line up.
  const LONG value = static_cast<LONG>(host.Send(FDM_GETPOS));
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(2, ThumbY(value) - 40));
  host.Send(WM_LBUTTONUP, 0, Point(2, ThumbY(value) - 40));
  EXPECT_EQ(host.Send(FDM_GETPOS), value + 1);
  EXPECT_EQ(Codes(TakeCalls()), (std::vector<int>{9, 0, 8}));
  // A double-click on the thumb returns to the centre.
  host.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Point(5, ThumbY(value + 1)));
  EXPECT_EQ(host.Send(FDM_GETPOS), 100);
  EXPECT_EQ(Codes(TakeCalls()), std::vector<int>{4});
  // The right button alongside the left does nothing more.
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, Point(5, ThumbY(100)));
  EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(FaderMouse, WheelStepsTenOrOneWithCtrl) {
  Host host(parent.hwnd(), FADS_VERT | FADS_SELFMOVE, RECT{20, 20, 60, 240});
  Configure(host, 0, 200, 100, {100});
  TakeCalls();
  host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(host.Send(FDM_GETPOS), 110);
  host.Send(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), 0);
  EXPECT_EQ(host.Send(FDM_GETPOS), 111);
  host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)), 0);
  EXPECT_EQ(host.Send(FDM_GETPOS), 91);
  host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-30 * WHEEL_DELTA)), 0);
  EXPECT_EQ(host.Send(FDM_GETPOS), 0);
  EXPECT_EQ(Codes(TakeCalls()), (std::vector<int>{4, 4, 4, 4}));
}

// ---- Stereo -------------------------------------------------------------------------------------

TEST_F(FaderMouse, StereoGrabsAndChannelMessages) {
  Host host(parent.hwnd(), FADS_VERT | FADS_STEREO, RECT{20, 20, 60, 240});
  EXPECT_TRUE(FaderInst_IsStereo(host.inst()));
  Configure(host, 0, 200, 100, {50, 150});
  host.Send(FDM_SETCHANNEL, MAKEWPARAM(TRUE, 1), 40);
  EXPECT_EQ(host.Send(FDM_SETCHANNEL, MAKEWPARAM(TRUE, 2), 160), 160);
  EXPECT_EQ(host.Send(FDM_GETCHANNEL, MAKEWPARAM(0, 1), 0), 40);
  LONG both[2] = {};
  host.Send(FDM_GETCHANNEL, 0, reinterpret_cast<LPARAM>(both));
  EXPECT_EQ(both[0], 40);
  EXPECT_EQ(both[1], 160);
  const LONG all[2] = {60, 140};
  host.Send(FDM_SETCHANNEL, MAKEWPARAM(TRUE, 0), reinterpret_cast<LPARAM>(all));
  EXPECT_EQ(host.Send(FDM_GETCHANNEL, MAKEWPARAM(0, 2), 0), 140);
  EXPECT_EQ(host.Send(FDM_SETCHANNEL, MAKEWPARAM(TRUE, 2), 999), 200);  // clamped

  // A 40-pixel stereo fader is drawn 39 wide: thumb 1 takes x 0 ... 19
  // (split at 10), thumb 2 x 20 ... 38 (split at 29).
  struct Grab {
    int x;
    std::initializer_list<int> keys;
    bool gangInverted, noSplit;
    LONG expected0, expected1;  // after dragging thumb 1 (or 2) up by 20
    int thumb;
  } grabs[] = {
      {3, {}, false, false, 80, 140, 0},              // outer half: one thumb
      {15, {}, false, false, 80, 160, 0},             // inner half: both
      {3, {VK_SHIFT}, false, false, 80, 160, 0},      // Shift: both
      {3, {}, true, false, 80, 160, 0},               // gang inverted: plain press takes both
      {3, {VK_SHIFT}, true, false, 80, 140, 0},       // ... and Shift one
      {15, {}, false, true, 80, 140, 0},              // split grab suppressed
      {36, {}, false, false, 60, 160, 1},             // outer half of thumb 2
      {22, {}, false, false, 80, 160, 1},             // inner half of thumb 2
  };
  for (const Grab& g : grabs) {
    const LONG start[2] = {60, 140};
    host.Send(FDM_SETCHANNEL, MAKEWPARAM(TRUE, 0), reinterpret_cast<LPARAM>(start));
    host.Send(FDM_SETGANGINVERT, 0, g.gangInverted);
    host.Send(FDM_SETNOSPLITGRAB, 0, g.noSplit);
    EXPECT_EQ(host.Send(FDM_GETGANGINVERT), g.gangInverted ? 1 : 0);
    const LONG y = ThumbY(start[g.thumb]);
    WPARAM buttons = MK_LBUTTON;
    for (int key : g.keys) buttons |= key == VK_SHIFT ? MK_SHIFT : 0;
    host.Send(WM_LBUTTONDOWN, buttons, Point(g.x, y));
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, Point(g.x, y - 20));
    host.Send(WM_LBUTTONUP, 0, Point(g.x, y - 20));
    EXPECT_EQ(host.Send(FDM_GETCHANNEL, MAKEWPARAM(0, 1), 0), g.expected0) << "x " << g.x;
    EXPECT_EQ(host.Send(FDM_GETCHANNEL, MAKEWPARAM(0, 2), 0), g.expected1) << "x " << g.x;
  }
  host.Send(FDM_SETGANGINVERT, 0, 0);
  host.Send(FDM_SETNOSPLITGRAB, 0, 0);

  // Double-click on thumb 2: channel 1 takes channel 2's value.
  const LONG start[2] = {60, 140};
  host.Send(FDM_SETCHANNEL, MAKEWPARAM(TRUE, 0), reinterpret_cast<LPARAM>(start));
  TakeCalls();
  host.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Point(36, ThumbY(140)));
  EXPECT_EQ(host.Send(FDM_GETCHANNEL, MAKEWPARAM(0, 1), 0), 140);
  EXPECT_EQ(host.Send(FDM_GETCHANNEL, MAKEWPARAM(0, 2), 0), 140);
  EXPECT_EQ(Codes(TakeCalls()), std::vector<int>{4});

  // The channel keys (stereo faders move their own values): L, R, B.
  host.Send(FDM_SETCHANNEL, MAKEWPARAM(TRUE, 0), reinterpret_cast<LPARAM>(start));
  host.Send(WM_KEYDOWN, 'L', 0);
  host.Send(WM_KEYDOWN, VK_UP, 0);
  host.Send(WM_KEYDOWN, 'R', 0);
  host.Send(WM_KEYDOWN, VK_DOWN, 0);
  host.Send(WM_KEYDOWN, 'B', 0);
  host.Send(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(host.Send(FDM_GETCHANNEL, MAKEWPARAM(0, 1), 0), 62);
  EXPECT_EQ(host.Send(FDM_GETCHANNEL, MAKEWPARAM(0, 2), 0), 140);
  EXPECT_EQ(host.Send(FDM_SETCHANNELMASK, 0, 0), 1);  // 0 becomes channel 1
  EXPECT_EQ(host.Send(FDM_SETCHANNELMASK, 0, 7), 3);  // limited to the channels
}

// ---- Notifications ---------------------------------------------------------------------------------

TEST(FaderNotifications, FocusAndButtonsReachTheParent) {
  TestWindow parent(0, 40, 40, 300, 260);
  Notes notes;
  Listen(parent, notes);
  HWND other = CreateWindowExW(0, L"BUTTON", L"other", WS_CHILD | WS_VISIBLE, 200, 20, 60, 24, parent.hwnd(),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND fader = CreateFader(parent.hwnd(), FADS_VERT | FADS_NOTIFY, 20, 20, 40, 220, 12);
  Configure(fader, 0, 200, 100, {100});
  SetForegroundWindow(parent.hwnd());
  SetFocus(fader);
  const RECT area{0, 0, 40, 220};
  const LONG y = fadertest::ExpectedPixel(area, true, 20, 100, 0, 200);
  SendMessageW(fader, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, y));
  EXPECT_EQ(SendMessageW(fader, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
  SendMessageW(fader, WM_LBUTTONUP, 0, Point(5, y));
  SetFocus(other);
  std::vector<WORD> codes;
  for (const Message& m : notes.commands) {
    if (reinterpret_cast<HWND>(m.lParam) != fader) continue;
    EXPECT_EQ(LOWORD(m.wParam), 12);
    codes.push_back(HIWORD(m.wParam));
  }
  EXPECT_EQ(codes, (std::vector<WORD>{FDC_SETFOCUS, FDC_PRESSED, FDC_RELEASED}));
  bool killFocus = false;
  for (int code : notes.notifyCodes) killFocus = killFocus || code == static_cast<int>(NM_KILLFOCUS);
  EXPECT_TRUE(killFocus);
  DestroyWindow(fader);

  // A hosted instance reports losing the focus with WM_COMMAND.
  notes = Notes{};
  Host host(parent.hwnd(), FADS_VERT | FADS_NOTIFY, RECT{20, 20, 60, 240});
  SetFocus(host.hwnd());
  SetFocus(other);
  codes.clear();
  for (const Message& m : notes.commands)
    if (reinterpret_cast<HWND>(m.lParam) == host.hwnd()) codes.push_back(HIWORD(m.wParam));
  EXPECT_EQ(codes, (std::vector<WORD>{FDC_SETFOCUS, FDC_KILLFOCUS}));
  DestroyWindow(other);
}

TEST(FaderNotifications, SelfMovingWindowsNotifyScrollStereoCursorsAndControllerInput) {
  TestWindow parent(0, 40, 40, 300, 260);
  Notes notes;
  Listen(parent, notes);
  HWND fader = CreateFader(parent.hwnd(), FADS_VERT | FADS_STEREO, 20, 20, 41, 220);
  Configure(fader, 0, 200, 100, {60, 140});
  SendMessageW(fader, WM_KEYDOWN, VK_UP, 0);
  SendMessageW(fader, WM_KEYUP, VK_UP, 0);
  EXPECT_EQ(notes.scrollCodes, (std::vector<LONG>{FADER_LINEUP, FADER_ENDGESTURE}));
  EXPECT_EQ(SendMessageW(fader, FDM_GETCHANNEL, MAKEWPARAM(0, 2), 0), 141);
  EXPECT_TRUE(parent.Take().empty());  // no WM_VSCROLL from a fader that moves itself

  // The pointer over each stereo thumb picks its cursor.
  const RECT area{0, 0, 41, 220};
  for (int channel = 0; channel < 2; ++channel) {
    POINT p{channel == 0 ? 5 : 35, fadertest::ExpectedPixel(area, true, 20, channel == 0 ? 61 : 141, 0, 200)};
    ClientToScreen(fader, &p);
    SetCursorPos(p.x, p.y);
    controlstest::Pump(10);
    const LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_EQ(SendMessageW(fader, WM_SETCURSOR, reinterpret_cast<WPARAM>(fader), hit), 1);
    EXPECT_EQ(GetCursor(), ZqGetUICursor(channel == 0 ? ZQ_UICURSOR_THUMB1 : ZQ_UICURSOR_THUMB2));
  }

  // Controller input: unhandled before a controller registers, then values.
  notes = Notes{};
  SendMessageW(fader, 0x7F0E, 1, 20);
  EXPECT_EQ(notes.notifyCodes, std::vector<int>{FDN_CONTROLLER});
  int controller = 0;
  SendMessageW(fader, 0x7F0A, 0, reinterpret_cast<LPARAM>(&controller));
  SendMessageW(fader, 0x7F0E, 1, 20);
  EXPECT_EQ(SendMessageW(fader, FDM_GETCHANNEL, MAKEWPARAM(0, 1), 0), 20);
  EXPECT_EQ(SendMessageW(fader, FDM_GETCHANNEL, MAKEWPARAM(0, 2), 0), 141);
  EXPECT_EQ(notes.scrollCodes, (std::vector<LONG>{FADER_STARTGESTURE, FADER_FINAL, FADER_ENDGESTURE}));
  SendMessageW(fader, 0x7F0A, 0, 0);
  DestroyWindow(fader);
}

// ---- Ranges and sizes ---------------------------------------------------------------------------------

TEST(FaderRange, RangeMessagesCentreRuleAndTheFullIntegerRange) {
  TestWindow parent(0, 40, 40, 300, 260);
  Host host(parent.hwnd(), FADS_VERT | FADS_SELFMOVE, RECT{20, 20, 60, 240});
  host.Send(FDM_SETRANGE, TRUE, MAKELONG(static_cast<WORD>(-50), 50));
  EXPECT_EQ(host.Send(FDM_GETMIN), -50);
  EXPECT_EQ(host.Send(FDM_GETMAX), 50);
  EXPECT_EQ(host.Send(FDM_SETCENTER, 0, 500), 50);  // clamped
  host.Send(FDM_SETRANGE, TRUE, MAKELONG(10, 30));
  const LONG thumb = fadertest::ExpectedPixel(RECT{0, 0, 40, 220}, true, 20, 10, 10, 30);
  host.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Point(5, thumb));
  EXPECT_EQ(host.Send(FDM_GETPOS), 20);  // centre (10 + 30) / 2
  host.Send(FDM_SETMIN, TRUE, -40);
  host.Send(FDM_SETMAX, TRUE, 0);
  EXPECT_EQ(host.Send(FDM_SETCENTER, 0, -99), -40);

  // INT_MIN ... INT_MAX: pages, digits and drags stay exact.
  host.Send(FDM_SETMIN, TRUE, INT_MIN);
  host.Send(FDM_SETMAX, TRUE, INT_MAX);
  host.Send(FDM_SETPOS, TRUE, INT_MIN);
  host.Send(WM_KEYDOWN, VK_PRIOR, 0);
  EXPECT_EQ(host.Send(FDM_GETPOS), INT_MIN + 429496730);
  host.Send(WM_KEYDOWN, '5', 0);
  EXPECT_EQ(host.Send(FDM_GETPOS), -1);
  host.Send(FDM_SETPOS, TRUE, INT_MIN);
  const RECT area{0, 0, 40, 220};
  const LONG bottom = fadertest::ExpectedPixel(area, true, 20, INT_MIN, INT_MIN, INT_MAX);
  const LONG top = fadertest::ExpectedPixel(area, true, 20, INT_MAX, INT_MIN, INT_MAX);
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON, Point(5, bottom));
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, Point(5, top));
  EXPECT_EQ(host.Send(FDM_GETPOS), INT_MAX);
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, Point(5, (top + bottom) / 2));
  const LONG middle = static_cast<LONG>(host.Send(FDM_GETPOS));
  EXPECT_LT(std::llabs(static_cast<LONGLONG>(middle)), 4294967296LL / 200 + 1);
  host.Send(WM_LBUTTONUP, 0, Point(5, (top + bottom) / 2));
}

TEST(FaderRange, MinimumSizes) {
  struct Case {
    DWORD style;
    LONG cx, cy;
  } cases[] = {
      {FADS_VERT, 8, 36},                     {FADS_VERT | FADS_THUMB10, 8, 16},
      {FADS_VERT | FADS_TRACK_NARROW, 10, 38}, {FADS_VERT | FADS_STEREO, 14, 36},
      {0, 36, 8},                             {FADS_THUMB10 | FADS_TRACK_NARROW, 18, 10},
  };
  for (const Case& c : cases) {
    ZQFADERINST inst{};
    const RECT rect{0, 0, 40, 200};
    FaderInst_Init(&inst, c.style, &rect, nullptr, 1, nullptr, 0);
    SIZE size{};
    const ULONGLONG packed = FaderInst_GetMinSize(&inst, &size);
    EXPECT_EQ(size.cx, c.cx) << std::hex << c.style;
    EXPECT_EQ(size.cy, c.cy) << std::hex << c.style;
    EXPECT_EQ(packed, static_cast<ULONGLONG>(c.cx) | (static_cast<ULONGLONG>(c.cy) << 32));
    FaderInst_Deinit(&inst);
  }
}

}  // namespace
