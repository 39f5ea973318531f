// Moving and growing a dialog's controls by id, in a real window with a
// caption (client coordinates differ from the window's), checked against
// the rectangles the window system reports.
#include <gtest/gtest.h>
#include <windows.h>

#include "zq/window.h"

namespace {

RECT ClientRectOf(HWND parent, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(DialogLayout, MoveAndSizeControlsById) {
  HWND dialog = CreateWindowExW(0, L"#32770", L"Layout", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(dialog, nullptr);
  HWND control = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE, 10, 20, 40, 30, dialog,
                                 reinterpret_cast<HMENU>(5), GetModuleHandleW(nullptr), nullptr);
  struct Step {
    bool move;
    int dx, dy;
    RECT expected;
  } steps[] = {
      {true, 3, -2, {13, 18, 53, 48}},   {true, 0, 0, {13, 18, 53, 48}},    {false, 5, 4, {13, 18, 58, 52}},
      {false, -1, 2, {13, 18, 57, 54}},  {true, -20, -30, {-7, -12, 37, 24}}, {false, -500, -500, {-7, -12, -7, -12}},
  };
  for (const Step& s : steps) {
    EXPECT_TRUE(s.move ? ZqDlgDeltaControlMove(dialog, 5, s.dx, s.dy) : ZqDlgDeltaControlSize(dialog, 5, s.dx, s.dy));
    const RECT r = ClientRectOf(dialog, control);
    EXPECT_EQ(r.left, s.expected.left);
    EXPECT_EQ(r.top, s.expected.top);
    EXPECT_EQ(r.right, s.expected.right) << (s.move ? "move " : "size ") << s.dx << "," << s.dy;
    EXPECT_EQ(r.bottom, s.expected.bottom);
  }
  // No such control, no dialog: 0 and nothing moves.
  EXPECT_FALSE(ZqDlgDeltaControlMove(dialog, 6, 1, 1));
  EXPECT_FALSE(ZqDlgDeltaControlSize(dialog, 6, 1, 1));
  EXPECT_FALSE(ZqDlgDeltaControlMove(nullptr, 5, 1, 1));
  EXPECT_FALSE(ZqDlgDeltaControlSize(reinterpret_cast<HWND>(0x1234), 5, 1, 1));
  const RECT r = ClientRectOf(dialog, control);
  EXPECT_EQ(r.left, -7);
  EXPECT_EQ(r.right, -7);
  DestroyWindow(dialog);
}

}  // namespace
