// The trackbar through real messages under the display server: keyboard
// codes in both orientations (reported, applied only by the parent), the
// default procedures applying them, the logarithmic taper's table points on
// the track, mouse gestures with the scroll procedure's calls, hot tracking
// from the pointer, the full 32-bit range, the private messages, and
// pictures of each look.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <commctrl.h>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "control_host.h"
#include "controls_test_support.h"
#include "screenshot.h"
#include "zq/trackbar.h"

using controlstest::Canvas;
using controlstest::Message;
using controlstest::TestWindow;

namespace {

constexpr wchar_t kClass[] = L"QuilletTestTrackbar";
constexpr LONG kThumb = 12;  // the flat thumb

struct Call {
  int code;
  LONG value;
};
std::vector<Call> calls;
void CALLBACK Record(ZQTRACKBARINST*, int, LPARAM, int code, LONG value) { calls.push_back({code, value}); }
std::vector<Call> Take() {
  std::vector<Call> taken;
  taken.swap(calls);
  return taken;
}
std::vector<int> Codes(const std::vector<Call>& recorded) {
  std::vector<int> codes;
  for (const Call& c : recorded) codes.push_back(c.code);
  return codes;
}

using Host = controlstest::ControlHost<ZQTRACKBARINST, TrackbarInst_Message, TrackbarInst_Draw>;
Host MakeHost(HWND parent, DWORD style, const RECT& rect) {
  return Host(parent, rect, 7, [style](ZQTRACKBARINST* inst, const RECT& area, HWND window) {
    EXPECT_EQ(TrackbarInst_GetSize(), static_cast<int>(sizeof(ZQTRACKBARINST)));
    EXPECT_TRUE(TrackbarInst_Init(inst, style, &area, window, 7, Record, 0x5150));
  });
}

HWND CreateTrackbar(HWND parent, DWORD style, int x, int y, int width, int height, int id = 5) {
  static const bool registered = TrackbarInitialize(GetModuleHandleW(nullptr), kClass) != FALSE;
  EXPECT_TRUE(registered);
  HWND trackbar = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                  nullptr);
  EXPECT_NE(trackbar, nullptr);
  controlstest::Pump(10);
  return trackbar;
}

ZQTRACKBARINST* InstOf(HWND trackbar) { return reinterpret_cast<ZQTRACKBARINST*>(GetWindowLongPtrW(trackbar, 0)); }

// The thumb's centre line along the track.
LONG ThumbCentre(ZQTRACKBARINST* inst, bool vertical) {
  RECT thumb;
  TrackbarInst_GetThumbRect(&thumb, inst);
  return vertical ? thumb.top + kThumb / 2 : thumb.left + kThumb / 2;
}

// Where the layout puts the thumb's centre: half a thumb in from the start
// (the bottom for vertical trackbars), then (v - min) * travel / range.
LONG ExpectedCentre(LONG length, bool vertical, LONGLONG placed, LONGLONG range) {
  const LONGLONG d = range ? placed * (length - kThumb) / range : 0;
  return static_cast<LONG>(vertical ? length - kThumb / 2 - d : kThumb / 2 + d);
}

class Keys {
 public:
  explicit Keys(std::initializer_list<int> keys) {
    GetKeyboardState(saved_);
    BYTE state[256];
    memcpy(state, saved_, sizeof(state));
    for (int key : keys) state[key] = 0x80;
    SetKeyboardState(state);
  }
  ~Keys() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

// ---- Keyboard and the default procedures --------------------------------------------------

TEST(TrackbarKeys, CodesInBothOrientationsAndTheParentApplyingThem) {
  TestWindow parent(0, 40, 40, 320, 260);
  HWND horizontal = CreateTrackbar(parent.hwnd(), 0, 10, 10, 200, 24);
  HWND vertical = CreateTrackbar(parent.hwnd(), TBKS_VERT, 250, 10, 24, 200);
  // The parent applies each code with the default procedure.
  bool apply = false;
  parent.onMessage = [&apply](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (apply && (message == WM_HSCROLL || message == WM_VSCROLL))
      Trackbar_DefScrollProc(nullptr, LOWORD(wParam), reinterpret_cast<HWND>(lParam), 3, 0);
    return -1;
  };
  struct Case {
    UINT key;
    WORD horizontalCode, verticalCode;
    LONG after;  // from 10 in -100 ... 100 (line 3, page 20), the same in both orientations
    LONG afterVertical;
  } cases[] = {
      {VK_RIGHT, 1, 0, 13, 13},   {VK_F9, 1, 0, 13, 13},     {VK_UP, 1, 0, 13, 13},
      {VK_LEFT, 0, 1, 7, 7},      {VK_F3, 0, 1, 7, 7},       {VK_DOWN, 0, 1, 7, 7},
      {VK_PRIOR, 3, 2, 30, 30},   {VK_NEXT, 2, 3, -10, -10},
      {VK_HOME, 6, 6, -100, 100},  // the left end; the top (no centre rule)
      {VK_END, 7, 7, 100, -100},
  };
  for (HWND trackbar : {horizontal, vertical}) {
    const bool isVertical = trackbar == vertical;
    SendMessageW(trackbar, TBKM_SETMIN, TRUE, -100);
    SendMessageW(trackbar, TBKM_SETMAX, TRUE, 100);
    for (const Case& c : cases) {
      SendMessageW(trackbar, TBKM_SETPOS, TRUE, 10);
      apply = false;
      parent.Take();
      SendMessageW(trackbar, WM_KEYDOWN, c.key, 0);
      SendMessageW(trackbar, WM_KEYUP, c.key, 0);
      const std::vector<Message> got = parent.Take();
      ASSERT_EQ(got.size(), 2u) << c.key;
      EXPECT_EQ(got[0].message, static_cast<UINT>(isVertical ? WM_VSCROLL : WM_HSCROLL));
      EXPECT_EQ(LOWORD(got[0].wParam), isVertical ? c.verticalCode : c.horizontalCode) << c.key;
      EXPECT_EQ(HIWORD(got[0].wParam), 0);
      EXPECT_EQ(LOWORD(got[1].wParam), 8) << c.key;
      EXPECT_EQ(SendMessageW(trackbar, TBKM_GETPOS, 0, 0), 10) << "a key alone never moves the trackbar";
      apply = true;
      SendMessageW(trackbar, WM_KEYDOWN, c.key, 0);
      EXPECT_EQ(SendMessageW(trackbar, TBKM_GETPOS, 0, 0), isVertical ? c.afterVertical : c.after)
          << (isVertical ? "vertical " : "horizontal ") << c.key;
    }
    // Page 0 with Ctrl: ten pages.
    SendMessageW(trackbar, TBKM_SETPOS, TRUE, -100);
    {
      Keys ctrl{VK_CONTROL};
      SendMessageW(trackbar, WM_KEYDOWN, VK_PRIOR, 0);
    }
    EXPECT_EQ(SendMessageW(trackbar, TBKM_GETPOS, 0, 0), 100);
  }
  apply = false;
  // Digits set the value themselves and report it; other keys go to the parent.
  std::vector<UINT> unhandled;
  parent.onMessage = [&unhandled](UINT message, WPARAM, LPARAM lParam) -> LRESULT {
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(TBKN_KEY))
      unhandled.push_back(reinterpret_cast<ZQFADERNMKEY*>(lParam)->key);
    return -1;
  };
  parent.Take();
  SendMessageW(horizontal, WM_KEYDOWN, '3', 0);
  EXPECT_EQ(SendMessageW(horizontal, TBKM_GETPOS, 0, 0), -40);
  std::vector<Message> got = parent.Take();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(LOWORD(got[0].wParam), 4);
  EXPECT_EQ(static_cast<SHORT>(HIWORD(got[0].wParam)), -40);
  SendMessageW(horizontal, WM_KEYDOWN, VK_NUMPAD4, 0);
  SendMessageW(horizontal, WM_KEYDOWN, 'Q', 0);
  EXPECT_EQ(unhandled, std::vector<UINT>{'Q'});
  EXPECT_TRUE(parent.Take().empty());
  EXPECT_EQ(SendMessageW(horizontal, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
  // Disabled: keys do nothing.
  EnableWindow(horizontal, FALSE);
  SendMessageW(horizontal, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_TRUE(parent.Take().empty());
  DestroyWindow(horizontal);
  DestroyWindow(vertical);
}

TEST(TrackbarMessages, SetPosRangeCentreTrackAndFlags) {
  TestWindow parent(0, 40, 40, 320, 120);
  HWND trackbar = CreateTrackbar(parent.hwnd(), 0, 10, 10, 212, 24);
  ZQTRACKBARINST* inst = InstOf(trackbar);
  EXPECT_EQ(SendMessageW(trackbar, TBKM_GETPOS, 0, 0), 50);  // defaults 0 ... 100, 50
  EXPECT_EQ(SendMessageW(trackbar, TBKM_GETMAX, 0, 0), 100);
  // Above the maximum without repaint: the maximum is stored, the thumb
  // rectangle moves, nothing is invalidated.
  UpdateWindow(trackbar);
  EXPECT_EQ(SendMessageW(trackbar, TBKM_SETPOS, 0, 1000), 100);
  EXPECT_FALSE(GetUpdateRect(trackbar, nullptr, FALSE));
  EXPECT_EQ(ThumbCentre(inst, false), ExpectedCentre(212, false, 100, 100));
  EXPECT_EQ(SendMessageW(trackbar, TBKM_SETPOS, TRUE, 20), 20);
  EXPECT_TRUE(GetUpdateRect(trackbar, nullptr, FALSE));
  // The range in 16-bit halves, the centre rule, the track.
  SendMessageW(trackbar, TBKM_SETRANGE, TRUE, MAKELONG(static_cast<WORD>(-30), 90));
  EXPECT_EQ(SendMessageW(trackbar, TBKM_GETMIN, 0, 0), -30);
  EXPECT_EQ(SendMessageW(trackbar, TBKM_SETCENTER, 0, 500), 90);
  SendMessageW(trackbar, TBKM_SETRANGE, TRUE, MAKELONG(10, 30));
  SendMessageW(trackbar, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(ThumbCentre(inst, false), 12));
  EXPECT_EQ(SendMessageW(trackbar, TBKM_GETPOS, 0, 0), 20);  // the centre (10 + 30) / 2
  const LRESULT track = SendMessageW(trackbar, TBKM_GETTRACK, 0, 0);
  EXPECT_EQ(LOWORD(track), 200);  // 212 - the thumb
  EXPECT_EQ(static_cast<SHORT>(HIWORD(track)), kThumb / 2 - 2);
  EXPECT_EQ(SendMessageW(trackbar, TBKM_SETFILLCENTRE, TRUE, 1), 1);
  EXPECT_EQ(SendMessageW(trackbar, TBKM_SETFILL, FALSE, 0), 0);
  EXPECT_EQ(SendMessageW(trackbar, TBKM_SETFILL, FALSE, 1), 1);
  SendMessageW(trackbar, TBKM_SETOWNERDATA, 0, 1234);
  EXPECT_EQ(SendMessageW(trackbar, TBKM_GETOWNERDATA, 0, 0), 1234);
  SendMessageW(trackbar, TBKM_SETBKCOLOR, 0, RGB(1, 2, 3));
  EXPECT_EQ(SendMessageW(trackbar, TBKM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(RGB(1, 2, 3)));
  EXPECT_EQ(SendMessageW(trackbar, WM_USER + 600, 1, 1), 0);  // other numbers
  EXPECT_EQ(TrackbarInst_Message(nullptr, TBKM_GETPOS, 0, 0), 0);
  SIZE size{};
  EXPECT_EQ(TrackbarInst_GetMinSize(inst, &size), (19ULL << 32) | 50);
  EXPECT_EQ(size.cx, 50);
  EXPECT_EQ(size.cy, 19);
  RECT out;
  EXPECT_EQ(TrackbarInst_GetThumbRect(&out, inst), &out);
  EXPECT_EQ(out.right - out.left, kThumb);
  // A bitmap thumb takes its width; null gives the flat thumb back.
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 9, 16);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(TrackbarInst_SetThumbBitmap(inst, bitmap, nullptr), nullptr);
  TrackbarInst_GetThumbRect(&out, inst);
  EXPECT_EQ(out.right - out.left, 9);
  EXPECT_EQ(out.bottom - out.top, 16);
  EXPECT_EQ(TrackbarInst_SetThumbBitmap(inst, nullptr, nullptr), bitmap);
  TrackbarInst_GetThumbRect(&out, inst);
  EXPECT_EQ(out.right - out.left, kThumb);
  DeleteObject(bitmap);
  DestroyWindow(trackbar);
}

// ---- Taper ------------------------------------------------------------------------------------

TEST(TrackbarTaper, LogarithmicTablePointsOnTheTrack) {
  TestWindow parent(0, 40, 40, 320, 120);
  Host host = MakeHost(parent.hwnd(), TBKS_TAPER | TBKS_LOGARITHMIC, RECT{10, 10, 222, 34});
  host.Send(TBKM_SETMAX, TRUE, 163840);
  host.Send(TBKM_SETMIN, TRUE, 0);
  const LONG table[][2] = {{0, 0},         {20, 1000},     {30, 1500},     {40, 2000},     {80, 3000},
                           {160, 4000},    {320, 5000},    {640, 6000},    {1280, 7000},   {2560, 8000},
                           {5120, 9000},   {10240, 10000}, {20480, 11000}, {40960, 12000}, {81920, 13000},
                           {163840, 14000}};
  for (const auto& point : table) {
    host.Send(TBKM_SETPOS, TRUE, point[0]);
    EXPECT_EQ(ThumbCentre(host.inst(), false), ExpectedCentre(212, false, point[1], 14000)) << point[0];
  }
  // Past the table the doublings go on: 0 ... 655360 puts 163840 at 14/16.
  host.Send(TBKM_SETMAX, TRUE, 655360);
  host.Send(TBKM_SETPOS, TRUE, 163840);
  EXPECT_EQ(ThumbCentre(host.inst(), false), ExpectedCentre(212, false, 14000, 16000));
  // A drag to each pixel gives a value drawn on it: no gap in the track.
  for (LONG x = kThumb / 2; x <= 212 - kThumb / 2; x += 5) {
    host.Send(TBKM_SETPOS, TRUE, 0);
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kThumb / 2, 12));
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 12));
    host.Send(WM_LBUTTONUP, 0, MAKELPARAM(x, 12));
    const LONG drawn = ThumbCentre(host.inst(), false);
    EXPECT_GE(drawn, x);
    EXPECT_LE(drawn, x + 1) << "value " << host.Send(TBKM_GETPOS);
  }
  // The standard taper: 30 of 0 ... 1000 where a linear trackbar draws 250.
  Host standard = MakeHost(parent.hwnd(), TBKS_TAPER, RECT{10, 50, 222, 74});
  standard.Send(TBKM_SETMAX, TRUE, 1000);
  standard.Send(TBKM_SETPOS, TRUE, 30);
  EXPECT_EQ(ThumbCentre(standard.inst(), false), ExpectedCentre(212, false, 250, 1000));
  Take();
}

// ---- Mouse -------------------------------------------------------------------------------------

TEST(TrackbarMouse, DragsPartsFineDragEscapeWheelAndJumpToPoint) {
  TestWindow parent(0, 40, 40, 320, 260);
  Host host = MakeHost(parent.hwnd(), 0, RECT{10, 10, 222, 34});  // 200 values on 200 pixels
  host.Send(TBKM_SETMAX, TRUE, 200);
  host.Send(TBKM_SETPOS, TRUE, 60);
  Take();
  const LONG x = ThumbCentre(host.inst(), false);
  EXPECT_EQ(x, kThumb / 2 + 60);
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x + 2, 12));
  EXPECT_EQ(GetCapture(), host.hwnd());
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 32, 12));
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 32, 12));  // no change: no report
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x - 8, 12));
  host.Send(WM_LBUTTONUP, 0, MAKELPARAM(x - 8, 12));
  auto got = Take();
  EXPECT_EQ(Codes(got), (std::vector<int>{9, 5, 5, 4, 8}));
  EXPECT_EQ(got[1].value, 90);
  EXPECT_EQ(got[2].value, 50);
  EXPECT_EQ(host.Send(TBKM_GETPOS), 50);
  EXPECT_NE(GetCapture(), host.hwnd());

  // Escape during a drag restores the value from the press.
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kThumb / 2 + 50, 12));
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kThumb / 2 + 120, 12));
  EXPECT_EQ(host.Send(TBKM_GETPOS), 120);
  host.Send(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(host.Send(TBKM_GETPOS), 50);
  EXPECT_EQ(Codes(Take()), (std::vector<int>{9, 5, 4, 4, 8}));

  // Fine drag: half the pointer's movement.
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(kThumb / 2 + 50, 12));
  host.Send(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, MAKELPARAM(kThumb / 2 + 59, 12));
  EXPECT_EQ(host.Send(TBKM_GETPOS), 55);
  host.Send(WM_LBUTTONUP, 0, MAKELPARAM(kThumb / 2 + 59, 12));
  Take();

  // Parts: in the track right of the thumb code 3 (a page toward the
  // maximum on a horizontal trackbar), left of it 2; off the track 1 and 0.
  // Codes come with value 0: the procedure applies them.
  struct Part {
    int x, y, code;
  } parts[] = {{150, 12, 3}, {20, 12, 2}, {150, 2, 1}, {20, 21, 0}};
  for (const Part& p : parts) {
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    host.Send(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    got = Take();
    ASSERT_EQ(Codes(got), (std::vector<int>{9, p.code, 8})) << p.x << "," << p.y;
    EXPECT_EQ(got[1].value, 0);
  }
  EXPECT_EQ(host.Send(TBKM_GETPOS), 55);
  // ... repeated by timer 42 while the pointer stays on the part.
  POINT screen{150, 12};
  ClientToScreen(host.hwnd(), &screen);
  SetCursorPos(screen.x, screen.y);
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 12));
  controlstest::Pump(700);
  host.Send(WM_LBUTTONUP, 0, MAKELPARAM(150, 12));
  int pages = 0;
  for (const Call& c : Take()) pages += c.code == 3;
  EXPECT_GE(pages, 3);

  // Wheel: ten per notch, one with Ctrl, clamped; code 4.
  host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(host.Send(TBKM_GETPOS), 65);
  host.Send(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(host.Send(TBKM_GETPOS), 64);
  host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-30 * WHEEL_DELTA)), 0);
  EXPECT_EQ(host.Send(TBKM_GETPOS), 0);
  EXPECT_EQ(Codes(Take()), (std::vector<int>{4, 4, 4}));

  // With style 0x4000 a press in the track brings the thumb to the pointer
  // and drags it from there.
  Host jump = MakeHost(parent.hwnd(), TBKS_JUMPTOPOINT, RECT{10, 60, 222, 84});
  jump.Send(TBKM_SETMAX, TRUE, 200);
  Take();
  jump.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kThumb / 2 + 170, 12));
  EXPECT_EQ(jump.Send(TBKM_GETPOS), 170);
  jump.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kThumb / 2 + 180, 12));
  jump.Send(WM_LBUTTONUP, 0, MAKELPARAM(kThumb / 2 + 180, 12));
  got = Take();
  EXPECT_EQ(Codes(got), (std::vector<int>{9, 5, 5, 4, 8}));
  EXPECT_EQ(got.back().value, 180);
}

TEST(TrackbarMouse, HotTrackingFollowsThePointer) {
  TestWindow parent(0, 40, 40, 320, 120);
  HWND trackbar = CreateTrackbar(parent.hwnd(), 0, 10, 10, 212, 30);
  SendMessageW(trackbar, TBKM_SETMAX, TRUE, 200);
  SendMessageW(trackbar, TBKM_SETPOS, TRUE, 100);
  const LONG x = ThumbCentre(InstOf(trackbar), false);
  auto face = [trackbar, x]() {
    Canvas canvas(212, 30);
    TrackbarInst_Draw(InstOf(trackbar), canvas.dc());
    return canvas.Pixel(x - 3, 8);
  };
  const DWORD normal = controlstest::Rgb(GetSysColor(COLOR_BTNFACE));
  const DWORD lit = controlstest::Rgb(GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(face(), normal);
  // The real pointer over the thumb, then away from the trackbar.
  POINT p{x - 3, 8};
  ClientToScreen(trackbar, &p);
  SetCursorPos(p.x, p.y);
  controlstest::Pump(60);
  EXPECT_EQ(face(), lit);
  SetCursorPos(p.x, p.y + 80);
  controlstest::Pump(400);  // WM_MOUSELEAVE
  EXPECT_EQ(face(), normal);
  DestroyWindow(trackbar);
}

TEST(TrackbarNotifications, FocusPressAndReleaseCommandsAndControllerInput) {
  TestWindow parent(0, 40, 40, 320, 120);
  std::vector<WORD> commands;
  std::vector<int> notes;
  parent.onMessage = [&](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_COMMAND && LOWORD(wParam) == 12) commands.push_back(HIWORD(wParam));
    if (message == WM_NOTIFY) notes.push_back(static_cast<int>(reinterpret_cast<NMHDR*>(lParam)->code));
    return -1;
  };
  HWND other = CreateWindowExW(0, L"BUTTON", L"other", WS_CHILD | WS_VISIBLE, 240, 10, 60, 24, parent.hwnd(),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND trackbar = CreateTrackbar(parent.hwnd(), TBKS_NOTIFY, 10, 10, 212, 24, 12);
  SetForegroundWindow(parent.hwnd());
  SetFocus(trackbar);
  const LONG x = ThumbCentre(InstOf(trackbar), false);
  SendMessageW(trackbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 12));
  EXPECT_EQ(SendMessageW(trackbar, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
  SendMessageW(trackbar, WM_LBUTTONUP, 0, MAKELPARAM(x, 12));
  SetFocus(other);
  EXPECT_EQ(commands, (std::vector<WORD>{TBKC_SETFOCUS, TBKC_PRESSED, TBKC_RELEASED, TBKC_KILLFOCUS}));

  // Controller input: refused (WM_NOTIFY -108) until a controller registers.
  parent.Take();
  SendMessageW(trackbar, 0x7F0E, 0, 20);
  EXPECT_EQ(notes, std::vector<int>{TBKN_CONTROLLER});
  int controller = 0;
  SendMessageW(trackbar, 0x7F0A, 0, reinterpret_cast<LPARAM>(&controller));
  SendMessageW(trackbar, 0x7F0D, 0, 20);
  EXPECT_EQ(SendMessageW(trackbar, TBKM_GETPOS, 0, 0), 20);
  std::vector<WORD> codes;
  for (const Message& m : parent.Take()) codes.push_back(LOWORD(m.wParam));
  EXPECT_EQ(codes, (std::vector<WORD>{9, 5, 8}));
  SendMessageW(trackbar, 0x7F0A, 0, 0);
  DestroyWindow(trackbar);
  DestroyWindow(other);
}

// ---- The full 32-bit range ---------------------------------------------------------------------

TEST(TrackbarRange, TheFullIntegerRange) {
  TestWindow parent(0, 40, 40, 320, 120);
  for (DWORD style : {DWORD{0}, DWORD{TBKS_TAPER | TBKS_LOGARITHMIC}}) {
    Host host = MakeHost(parent.hwnd(), style, RECT{10, 10, 222, 34});
    host.Send(TBKM_SETMIN, TRUE, INT_MIN);
    host.Send(TBKM_SETMAX, TRUE, INT_MAX);
    host.Send(WM_KEYDOWN, '5', 0);
    EXPECT_EQ(host.Send(TBKM_GETPOS), -1);
    host.Send(TBKM_SETPOS, TRUE, INT_MIN);
    EXPECT_EQ(ThumbCentre(host.inst(), false), kThumb / 2);
    TrackbarInst_DefScrollProc(host.inst(), 3, nullptr, 1, 0);  // + a page on a horizontal trackbar
    EXPECT_EQ(host.Send(TBKM_GETPOS), INT_MIN + 429496730);
    TrackbarInst_DefScrollProc(host.inst(), 7, nullptr, 1, 0);
    EXPECT_EQ(host.Send(TBKM_GETPOS), INT_MAX);
    EXPECT_EQ(ThumbCentre(host.inst(), false), 212 - kThumb / 2);
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(212 - kThumb / 2, 12));
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-50, 12));
    EXPECT_EQ(host.Send(TBKM_GETPOS), INT_MIN);
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(106, 12));
    const LONG middle = static_cast<LONG>(host.Send(TBKM_GETPOS));
    EXPECT_EQ(ThumbCentre(host.inst(), false), 106);
    EXPECT_LT(std::llabs(static_cast<LONGLONG>(middle)), style ? 1000000LL : 4294967296LL / 200 + 1);
    host.Send(WM_LBUTTONUP, 0, MAKELPARAM(106, 12));
  }
  Take();
}

// ---- Pictures ------------------------------------------------------------------------------------

HBITMAP ThumbBitmap(int width, int height) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
  RECT mid{width / 2 - 1, 2, width / 2 + 1, height - 2};
  FillRect(dc, &mid, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

TEST(TrackbarPaint, HostedInstanceDrawsAsTheWindowAndPicturesOfEachLook) {
  TestWindow parent(0, 30, 30, 420, 300);
  // The window's picture against a hosted instance's drawing of the same state.
  HWND window = CreateTrackbar(parent.hwnd(), 0, 10, 10, 212, 24);
  ZQTRACKBARINST hosted{};
  const RECT area{0, 0, 212, 24};
  TrackbarInst_Init(&hosted, 0, &area, nullptr, 1, nullptr, 0);
  for (ZQTRACKBARINST* inst : {InstOf(window), &hosted}) {
    TrackbarInst_Message(inst, TBKM_SETMIN, TRUE, -50);
    TrackbarInst_Message(inst, TBKM_SETPOS, TRUE, 20);
    TrackbarInst_Message(inst, TBKM_SETFILLCENTRE, TRUE, 1);
  }
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  controlstest::Pump(20);
  Canvas fromWindow(212, 24), fromHost(212, 24);
  HDC dc = GetDC(window);
  BitBlt(fromWindow.dc(), 0, 0, 212, 24, dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  fromHost.Fill(GetSysColor(COLOR_BTNFACE));
  TrackbarInst_Message(&hosted, TBKM_SETBKCOLOR, 0, GetSysColor(COLOR_BTNFACE));
  TrackbarInst_Draw(&hosted, fromHost.dc());
  EXPECT_TRUE(fromWindow.SameAs(fromHost));
  // The fill from the centre (0) to the value (20) in the halfway colour.
  const COLORREF face = GetSysColor(COLOR_BTNFACE), text = GetSysColor(COLOR_BTNTEXT);
  const DWORD fill = controlstest::Rgb(RGB((GetRValue(face) + GetRValue(text)) / 2,
                                           (GetGValue(face) + GetGValue(text)) / 2,
                                           (GetBValue(face) + GetBValue(text)) / 2));
  const LONG centreX = ExpectedCentre(212, false, 50, 150), valueX = ExpectedCentre(212, false, 70, 150);
  EXPECT_EQ(fromHost.Pixel(centreX + 2, 12), fill);
  EXPECT_NE(fromHost.Pixel(centreX - 12, 12), fill);
  EXPECT_NE(fromHost.Pixel(valueX + 12, 12), fill);
  DestroyWindow(window);

  struct Look {
    DWORD style;
    int kind;  // 0 flat, 1 bitmap, 2 image list, 3 disabled, 4 fill from the centre
  } looks[] = {{0, 0}, {TBKS_TRACK_NARROW, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}};
  HBITMAP bitmap = ThumbBitmap(11, 20);
  HIMAGELIST images = ImageList_Create(14, 22, ILC_COLOR24, 2, 0);
  HBITMAP strip = ThumbBitmap(28, 22);
  ImageList_Add(images, strip, nullptr);
  DeleteObject(strip);
  HIMAGELIST lists[3] = {images, images, images};
  const LONG metrics[4] = {14, 22, 14, 22};
  std::vector<HWND> trackbars;
  int y = 10;
  for (const Look& look : looks) {
    HWND h = CreateTrackbar(parent.hwnd(), look.style | (look.kind == 3 ? WS_DISABLED : 0), 10, y, 260, 30);
    HWND v = CreateTrackbar(parent.hwnd(), look.style | TBKS_VERT | (look.kind == 3 ? WS_DISABLED : 0),
                            290 + static_cast<int>(trackbars.size() / 2) * 20, 10, 20, 200);
    for (HWND t : {h, v}) {
      SendMessageW(t, TBKM_SETMIN, TRUE, -100);
      SendMessageW(t, TBKM_SETPOS, TRUE, 40);
      if (look.kind == 1) TrackbarInst_SetThumbBitmap(InstOf(t), bitmap, nullptr);
      if (look.kind == 2)
        SendMessageW(t, TBKM_SETIMAGELIST, reinterpret_cast<WPARAM>(lists), reinterpret_cast<LPARAM>(metrics));
      if (look.kind == 4) SendMessageW(t, TBKM_SETFILLCENTRE, TRUE, 1);
      trackbars.push_back(t);
    }
    y += 40;
  }
  SetForegroundWindow(parent.hwnd());
  SetFocus(trackbars[0]);
  const char* themes = std::getenv("QUILLET_THEMES");
  const bool classic = themes && std::strcmp(themes, "off") == 0;
  auto shot = testsupport::SaveWindowScreenshot(parent.hwnd(), classic ? L"trackbar_looks_classic"
                                                                       : L"trackbar_looks_themed");
  EXPECT_TRUE(shot.saved);
  EXPECT_GT(shot.colours, 5);
  for (HWND t : trackbars) DestroyWindow(t);
  DeleteObject(bitmap);
  ImageList_Destroy(images);
}

}  // namespace
