// The grid under posted mouse and keyboard messages: selection, focus,
// scroll position and notifications after each gesture, checked against the
// scripted owner's calls; the in-place editor; clipboard formats read back;
// tooltips for texts that do not fit; and pictures of a session.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "controls_test_support.h"
#include "grid_test_support.h"
#include "screenshot.h"
#include "zq/grid.h"
#include "zq/ui.h"

using gridtest::Call;
using gridtest::Grid;
using gridtest::Note;

namespace {

constexpr DWORD kMulti = SPS_MULTIROW | SPS_MULTICOLUMN;

ZQSPREADCOLUMN Column(SHORT spec, WORD flags = SPC_LEFT) {
  ZQSPREADCOLUMN c{};
  c.spec = spec;
  c.flags = flags;
  return c;
}

void Columns(Grid& grid, WORD flags0 = SPC_LEFT | SPC_EDITABLE, WORD flags2 = SPC_LEFT) {
  grid.SetColumns({Column(64, flags0), Column(64, SPC_LEFT | SPC_EDITABLE), Column(64, flags2), Column(64)},
                  {L"A", L"B", L"C", L"D"});
}

RECT CellOf(Grid& grid, DWORD row, DWORD column) {
  RECT r, c;
  grid.Send(SPM_GETROWRECT, row, reinterpret_cast<LPARAM>(&r));
  grid.Send(SPM_GETCOLUMNRECT, column, reinterpret_cast<LPARAM>(&c));
  return RECT{c.left, r.top, c.right, r.bottom};
}

LPARAM Centre(const RECT& r) { return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
LPARAM CellPoint(Grid& grid, DWORD row, DWORD column) { return Centre(CellOf(grid, row, column)); }

void Post(Grid& grid, UINT message, WPARAM wParam, LPARAM lParam) {
  PostMessageW(grid.hwnd(), message, wParam, lParam);
  controlstest::Pump(5);
}

void Click(Grid& grid, LPARAM point, WPARAM keys = 0, bool right = false) {
  Post(grid, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, keys | (right ? MK_RBUTTON : MK_LBUTTON), point);
  Post(grid, right ? WM_RBUTTONUP : WM_LBUTTONUP, keys, point);
}

// Shift and Ctrl as GetKeyState sees them.
class Keys {
 public:
  Keys(bool shift, bool ctrl) {
    GetKeyboardState(saved_);
    BYTE keys[256];
    std::memcpy(keys, saved_, sizeof(keys));
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
  }
  ~Keys() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

void Key(Grid& grid, WPARAM key, bool shift = false, bool ctrl = false) {
  Keys state(shift, ctrl);
  SendMessageW(grid.hwnd(), WM_KEYDOWN, key, 1);
  controlstest::Pump(5);
}

std::vector<ZQSPREADRANGE> Ranges(Grid& grid) {
  std::vector<ZQSPREADRANGE> ranges(static_cast<size_t>(grid.Send(SPM_GETRANGECOUNT)));
  grid.Send(SPM_GETRANGES, ranges.size(), reinterpret_cast<LPARAM>(ranges.data()));
  return ranges;
}

bool Same(const ZQSPREADRANGE& a, const ZQSPREADRANGE& b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }

std::vector<int> Codes(Grid& grid) {
  std::vector<int> codes;
  for (int code : grid.TakeCodes())
    if (code != SPN_SETFOCUS && code != SPN_KILLFOCUS) codes.push_back(code);
  return codes;
}

}  // namespace

TEST(GridMouse, ClicksDragsShiftAndRightButtonInTheCells) {
  Grid grid(kMulti);
  Columns(grid);
  grid.owner.rows = 20;
  grid.Install();
  grid.TakeNotes();
  Click(grid, CellPoint(grid, 2, 1));
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(2, 1));
  EXPECT_EQ(Codes(grid), (std::vector<int>{SPN_FOCUSCHANGED, SPN_SELCHANGED}));
  EXPECT_EQ(GetFocus(), grid.hwnd());
  // Shift extends the current range from its anchor.
  Click(grid, CellPoint(grid, 4, 2), MK_SHIFT);
  auto ranges = Ranges(grid);
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_TRUE(Same(ranges[0], ZQSPREADRANGE{2, 1, 4, 2}));
  // A drag extends while the button is down.
  Post(grid, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(grid, 1, 0));
  Post(grid, WM_MOUSEMOVE, MK_LBUTTON, CellPoint(grid, 2, 0));
  Post(grid, WM_MOUSEMOVE, MK_LBUTTON, CellPoint(grid, 3, 1));
  Post(grid, WM_LBUTTONUP, 0, CellPoint(grid, 3, 1));
  ranges = Ranges(grid);
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_TRUE(Same(ranges[0], ZQSPREADRANGE{1, 0, 3, 1}));
  EXPECT_EQ(GetCapture(), nullptr);
  grid.TakeNotes();
  // Right button: focus moves, notification 3 with the press point at the release.
  const RECT cell = CellOf(grid, 5, 3);
  Click(grid, Centre(cell), 0, true);
  const auto notes = grid.TakeNotes();
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes.back(), (Note{SPN_RCLICK, 5, 3}));
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(5, 3));
  // Double-click: notification 4 for the cell under the point.
  Post(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, CellPoint(grid, 6, 0));
  EXPECT_EQ(grid.TakeNotes().back(), (Note{SPN_DBLCLK, 6, 0}));
  // Dragging a selected cell: the owner is asked with 22 (left) or 23
  // (right); a refused drag collapses the selection at the release.
  grid.Send(SPM_SETEXFLAGS, SPX_DRAGCELLS);
  const struct {
    bool right;
    LRESULT answer;
    int code;
    size_t rangesAfter;
  } drags[] = {{false, 1, SPN_BEGINDRAG, 1}, {true, 1, SPN_BEGINRDRAG, 1}, {true, 0, SPN_BEGINRDRAG, 1}};
  for (const auto& d : drags) {
    SCOPED_TRACE(d.code + (d.answer ? 100 : 0));
    const ZQSPREADRANGE two[1] = {{7, 1, 8, 2}};
    grid.Send(SPM_SETFOCUSCELL, 7, 1);
    grid.Send(SPM_EXTENDTO, 8, 2);
    ASSERT_TRUE(Same(Ranges(grid)[0], two[0]));
    grid.TakeNotes();
    int asked = 0;
    grid.answer = [&](const ZQSPREADNM& nm) -> LRESULT {
      if (nm.hdr.code == SPN_BEGINDRAG || nm.hdr.code == SPN_BEGINRDRAG) ++asked;
      return nm.hdr.code == static_cast<UINT>(d.code) ? d.answer : 0;
    };
    const UINT down = d.right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, up = d.right ? WM_RBUTTONUP : WM_LBUTTONUP;
    const WPARAM button = d.right ? MK_RBUTTON : MK_LBUTTON;
    Post(grid, down, button, CellPoint(grid, 8, 2));
    Post(grid, WM_MOUSEMOVE, button, CellPoint(grid, 10, 3));
    Post(grid, up, 0, CellPoint(grid, 10, 3));
    grid.answer = nullptr;
    EXPECT_EQ(asked, 1);
    bool found = false;
    for (const Note& n : grid.TakeNotes()) found |= n == Note{d.code, 8, 2};
    EXPECT_TRUE(found);
    const auto after = Ranges(grid);
    ASSERT_EQ(after.size(), d.rangesAfter);
    // Accepted: the selection stays for the owner to move; refused: it collapses.
    EXPECT_TRUE(Same(after[0], d.answer ? two[0] : ZQSPREADRANGE{8, 2, 8, 2}));
    EXPECT_EQ(GetCapture(), nullptr);
  }
}

TEST(GridMouse, CtrlClicksEditDiscontiguousRanges) {
  Grid grid(kMulti);
  Columns(grid);
  grid.owner.rows = 20;
  grid.Install();
  grid.Send(SPM_SETEXFLAGS, SPX_DISCONTIGUOUS);
  const ZQSPREADRANGE start[1] = {{2, 1, 6, 1}};
  ASSERT_EQ(grid.Send(SPM_SETRANGES, 1, reinterpret_cast<LPARAM>(start)), 1);
  grid.TakeNotes();
  // Outside every range: a range of its own.
  Click(grid, CellPoint(grid, 9, 3), MK_CONTROL);
  auto ranges = Ranges(grid);
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_TRUE(Same(ranges[1], ZQSPREADRANGE{9, 3, 9, 3}));
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(9, 3));
  EXPECT_EQ(Codes(grid), (std::vector<int>{SPN_FOCUSCHANGED, SPN_SELCHANGED}));
  // An inner row splits its range, an end row shrinks it, a one-row range goes.
  Click(grid, CellPoint(grid, 4, 1), MK_CONTROL);
  ranges = Ranges(grid);
  ASSERT_EQ(ranges.size(), 3u);
  EXPECT_TRUE(Same(ranges[0], ZQSPREADRANGE{2, 1, 3, 1}));
  EXPECT_TRUE(Same(ranges[1], ZQSPREADRANGE{5, 1, 6, 1}));
  Click(grid, CellPoint(grid, 6, 1), MK_CONTROL);
  ranges = Ranges(grid);
  ASSERT_EQ(ranges.size(), 3u);
  EXPECT_TRUE(Same(ranges[1], ZQSPREADRANGE{5, 1, 5, 1}));
  Click(grid, CellPoint(grid, 5, 1), MK_CONTROL);
  ranges = Ranges(grid);
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_TRUE(Same(ranges[1], ZQSPREADRANGE{9, 3, 9, 3}));
}

TEST(GridMouse, ButtonColumnsReportPressLeaveAndClick) {
  Grid grid(0);
  Columns(grid, SPC_LEFT, SPC_BUTTON | SPC_CENTER);
  // Push-button frames: pushed while a press on the cell is inside it.
  grid.owner.decorate = [](DWORD, DWORD column, ZQSPREADCELL& c) {
    if (column == 2) c.flags = static_cast<WORD>(DFCS_BUTTONPUSH << 11);
  };
  grid.Install();
  grid.TakeNotes();
  const RECT cell = CellOf(grid, 3, 2);
  // The frame's pixels as they are on the screen.
  auto frame = [&] {
    RedrawWindow(grid.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(grid.hwnd());
    for (LONG y = cell.top + 2; y < cell.bottom - 2; ++y)
      for (LONG x = cell.left + 2; x < cell.left + 15; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(grid.hwnd(), dc);
    return pixels;
  };
  Post(grid, WM_LBUTTONDOWN, MK_LBUTTON, Centre(cell));
  const auto pushed = frame();
  Post(grid, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(cell.right + 30, cell.top + 40));
  const auto raised = frame();
  EXPECT_NE(pushed, raised);
  Post(grid, WM_MOUSEMOVE, MK_LBUTTON, Centre(cell));
  EXPECT_EQ(frame(), pushed);
  Post(grid, WM_LBUTTONUP, 0, Centre(cell));
  EXPECT_EQ(frame(), raised);
  std::vector<Note> buttons;
  for (const Note& n : grid.TakeNotes())
    if (n.code >= SPN_BUTTONIN && n.code <= SPN_BUTTONDRAGCLICK) buttons.push_back(n);
  EXPECT_EQ(buttons, (std::vector<Note>{{SPN_BUTTONIN, 3, 2}, {SPN_BUTTONOUT, 3, 2}, {SPN_BUTTONIN, 3, 2},
                                        {SPN_BUTTONDRAGCLICK, 3, 2}}));
  Click(grid, Centre(cell));
  buttons.clear();
  for (const Note& n : grid.TakeNotes())
    if (n.code >= SPN_BUTTONIN && n.code <= SPN_BUTTONDRAGCLICK) buttons.push_back(n);
  EXPECT_EQ(buttons, (std::vector<Note>{{SPN_BUTTONIN, 3, 2}, {SPN_BUTTONCLICK, 3, 2}}));
  // Never edited in place.
  Key(grid, VK_F2);
  EXPECT_FALSE(IsWindowVisible(reinterpret_cast<HWND>(grid.Send(SPM_GETEDITOR))));
}

namespace {

// The owner's key hook for the next grid installed: consumes every key
// while `consumeKeys` is set, and counts the keys it was offered.
bool consumeKeys = false;
std::vector<WPARAM> hookedKeys;
BOOL CALLBACK CountingKeyHook(ZQSPREADIFACE*, const ZQSPREADRANGE*, UINT, WPARAM key, LPARAM) {
  hookedKeys.push_back(key);
  return consumeKeys;
}

}  // namespace

TEST(GridMouse, ButtonCellsCountEveryClickOfADoubleClickAndSpace) {
  // Column 1 holds check boxes, column 2 push buttons, column 0 text.
  enum Gesture { kClick, kDoubleClick, kSpace, kSpaceHeld, kEnter };
  const struct {
    const char* name;
    Gesture gesture;
    DWORD column;
    bool hookConsumes;
    std::vector<int> codes;  // button and double-click notifications, in order
  } cases[] = {
      {"click on a check box", kClick, 1, false, {SPN_BUTTONIN, SPN_BUTTONCLICK}},
      {"double-click on a check box", kDoubleClick, 1, false,
       {SPN_BUTTONIN, SPN_BUTTONCLICK, SPN_BUTTONIN, SPN_DBLCLK, SPN_BUTTONCLICK}},
      {"double-click on a push button", kDoubleClick, 2, false,
       {SPN_BUTTONIN, SPN_BUTTONCLICK, SPN_BUTTONIN, SPN_DBLCLK, SPN_BUTTONCLICK}},
      {"double-click on text", kDoubleClick, 0, false, {SPN_DBLCLK}},
      {"Space on a check box", kSpace, 1, false, {SPN_BUTTONIN, SPN_BUTTONCLICK}},
      {"Space on a push button", kSpace, 2, false, {SPN_BUTTONIN, SPN_BUTTONCLICK}},
      {"Space the key hook takes", kSpace, 1, true, {}},
      {"Space repeating while held", kSpaceHeld, 1, false, {}},
      {"Enter on a check box", kEnter, 1, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Grid grid(SPS_EDITOR | SPS_HLINES | SPS_VLINES);
    grid.SetColumns({Column(64, SPC_LEFT | SPC_EDITABLE), Column(32, SPC_CENTER | SPC_BUTTON),
                     Column(64, SPC_CENTER | SPC_BUTTON)},
                    {L"Name", L"Mute", L"Go"});
    grid.owner.decorate = [](DWORD, DWORD column, ZQSPREADCELL& cell) {
      if (column == 1) cell.flags = SPCF_FRAMEWIDEN;
      if (column == 2) cell.flags = static_cast<WORD>(DFCS_BUTTONPUSH << 11);
    };
    grid.owner.Record()->keyHook = CountingKeyHook;
    consumeKeys = c.hookConsumes;
    hookedKeys.clear();
    grid.Install();
    const LPARAM point = CellPoint(grid, 3, c.column);
    grid.Send(SPM_SETFOCUSCELL, 3, c.column);
    SetFocus(grid.hwnd());
    grid.TakeNotes();
    switch (c.gesture) {
      case kClick: Click(grid, point); break;
      case kDoubleClick:
        // What a double-click brings: down, up, double-click, up.
        Click(grid, point);
        Post(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
        Post(grid, WM_LBUTTONUP, 0, point);
        break;
      case kSpace: Key(grid, VK_SPACE); break;
      case kSpaceHeld:
        SendMessageW(grid.hwnd(), WM_KEYDOWN, VK_SPACE, 1 | (1 << 30));  // the key was down already
        break;
      case kEnter: Key(grid, VK_RETURN); break;
    }
    std::vector<int> codes;
    for (const Note& n : grid.TakeNotes()) {
      if ((n.code >= SPN_BUTTONIN && n.code <= SPN_BUTTONDRAGCLICK) || n.code == SPN_DBLCLK) {
        codes.push_back(n.code);
        EXPECT_EQ(n.row, 3u);
        EXPECT_EQ(n.column, c.column);
      }
    }
    EXPECT_EQ(codes, c.codes);
    if (c.gesture == kSpace || c.gesture == kSpaceHeld || c.gesture == kEnter) {
      EXPECT_EQ(hookedKeys.size(), 1u);  // asked first
    }
    // Buttons are never edited in place.
    EXPECT_FALSE(IsWindowVisible(reinterpret_cast<HWND>(grid.Send(SPM_GETEDITOR))));
    EXPECT_EQ(GetCapture(), nullptr);
  }
  consumeKeys = false;
}

TEST(GridMouse, HeadersClickSelectDoubleClickAndResizeColumns) {
  Grid grid(SPS_COLUMNSELECT | SPS_MULTICOLUMN | SPS_RESIZECOLUMNS);
  grid.SetColumns({Column(64), Column(64), Column(64), Column(64)}, {L"A", L"B", L"", L"D"});
  grid.owner.rows = 10;
  for (DWORD r = 0; r < 10; ++r) grid.owner.texts[{r, 2}] = L"";
  grid.Install();
  grid.TakeNotes();
  const RECT head = CellOf(grid, ZQSPREAD_HEADER, 1);
  const LPARAM middle = MAKELPARAM((head.left + head.right) / 2, head.bottom / 2);
  Click(grid, middle);
  auto ranges = Ranges(grid);
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_EQ(ranges[0].anchorRow, ZQSPREAD_HEADER);  // the whole column
  EXPECT_EQ(ranges[0].anchorColumn, 1u);
  auto notes = grid.TakeNotes();
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes.back(), (Note{SPN_HEADERCLICK, ZQSPREAD_HEADER, 1}));
  Post(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, middle);
  EXPECT_EQ(grid.TakeNotes().back(), (Note{SPN_COLHEADERDBLCLK, ZQSPREAD_HEADER, 1}));
  Click(grid, middle, 0, true);
  EXPECT_EQ(grid.TakeNotes().back(), (Note{SPN_RCLICK, ZQSPREAD_HEADER, 1}));
  // Row header double-click: 9.
  const RECT row = CellOf(grid, 4, ZQSPREAD_HEADER);
  Post(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, Centre(row));
  EXPECT_EQ(grid.TakeNotes().back(), (Note{SPN_ROWHEADERDBLCLK, 4, ZQSPREAD_HEADER}));

  // A one-pixel-left point at column 1's border resizes; the width follows the release.
  const LONG before = grid.columns[1].width;
  Post(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(head.right - 1, 3));
  EXPECT_EQ(GetCapture(), grid.hwnd());
  Post(grid, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(head.right + 29, 3));
  Post(grid, WM_LBUTTONUP, 0, MAKELPARAM(head.right + 29, 3));
  EXPECT_NEAR(grid.columns[1].width, before + 30, gridtest::CharCell(grid.hwnd()).cx / 8 + 1);
  EXPECT_GT(grid.columns[1].spec, 64);
  // Double-click on the border of a column with no text: 8 pixels.
  const RECT empty = CellOf(grid, ZQSPREAD_HEADER, 2);
  Post(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(empty.right, 3));
  EXPECT_NEAR(grid.columns[2].width, 8, gridtest::CharCell(grid.hwnd()).cx / 8 + 1);

  // The cursor follows the zone found by the last hit test: the resize
  // cursor on a border, the arrow elsewhere.
  const RECT border = CellOf(grid, ZQSPREAD_HEADER, 0), cell = CellOf(grid, 3, 1);
  const struct {
    POINT at;
    HCURSOR cursor;
  } cursors[] = {
      {{border.right - 1, 3}, ZqGetUICursor(9)},
      {{(border.left + border.right) / 2, 3}, LoadCursorW(nullptr, IDC_ARROW)},
      {{border.right + 1, 3}, ZqGetUICursor(9)},
      {{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2}, LoadCursorW(nullptr, IDC_ARROW)},
      {{2, cell.top + 2}, LoadCursorW(nullptr, IDC_ARROW)},
  };
  ASSERT_NE(ZqGetUICursor(9), LoadCursorW(nullptr, IDC_ARROW));
  for (const auto& c : cursors) {
    SCOPED_TRACE(testing::Message() << c.at.x << "," << c.at.y);
    POINT screen = c.at;
    ClientToScreen(grid.hwnd(), &screen);
    ASSERT_EQ(grid.Send(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)), HTCLIENT);
    SetCursor(nullptr);
    EXPECT_EQ(grid.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(grid.hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), c.cursor);
  }

  // Shift on the border before hidden columns pulls the last hidden one open.
  grid.SetColumns({Column(64), Column(64), Column(0), Column(0), Column(64)}, {L"A", L"B", L"C", L"D", L"E"});
  const RECT before1 = CellOf(grid, ZQSPREAD_HEADER, 1);
  const LONG width1 = grid.columns[1].width;
  ASSERT_EQ(grid.columns[2].width, 0);
  const struct {
    WPARAM keys;
    int column;   // the column that opens
    LONG width;   // to this width
  } shiftResizes[] = {{MK_SHIFT, 3, 20}, {0, 1, width1 + 20}};
  for (const auto& r : shiftResizes) {
    SCOPED_TRACE(r.column);
    const RECT head1 = CellOf(grid, ZQSPREAD_HEADER, 1);
    ASSERT_EQ(head1.right, before1.right);
    Post(grid, WM_LBUTTONDOWN, MK_LBUTTON | r.keys, MAKELPARAM(head1.right - 1, 3));
    Post(grid, WM_MOUSEMOVE, MK_LBUTTON | r.keys, MAKELPARAM(head1.right + 19, 3));
    Post(grid, WM_LBUTTONUP, r.keys, MAKELPARAM(head1.right + 19, 3));
    EXPECT_NEAR(grid.columns[r.column].width, r.width, gridtest::CharCell(grid.hwnd()).cx / 8 + 1);
    if (r.keys) {
      EXPECT_EQ(grid.columns[1].width, width1);
      EXPECT_EQ(grid.columns[2].width, 0);
      // Back to hidden for the plain resize that follows.
      grid.SetColumns({Column(64), Column(64), Column(0), Column(0), Column(64)}, {L"A", L"B", L"C", L"D", L"E"});
    }
  }
}

TEST(GridKeys, NavigationTableExtensionAndCtrlMovesOnlyTheFocus) {
  Grid grid(kMulti);
  Columns(grid);
  grid.owner.rows = 30;
  grid.Install();
  grid.Send(SPM_SETFOCUSCELL, 0, 0);
  const struct {
    WPARAM key;
    bool shift;
    LRESULT expected;
  } steps[] = {
      {VK_RIGHT, false, MAKELONG(0, 1)}, {VK_DOWN, false, MAKELONG(1, 1)}, {VK_TAB, false, MAKELONG(1, 2)},
      {VK_TAB, false, MAKELONG(1, 3)},   {VK_TAB, false, MAKELONG(2, 0)},  {VK_TAB, true, MAKELONG(2, 0)},
      {VK_END, false, MAKELONG(30, 3)},  {VK_TAB, false, MAKELONG(30, 0)}, {VK_DOWN, false, MAKELONG(30, 0)},
      {VK_HOME, false, MAKELONG(0, 0)},  {VK_LEFT, false, MAKELONG(0, 0)}, {VK_UP, false, MAKELONG(0, 0)},
  };
  for (const auto& s : steps) {
    Key(grid, s.key, s.shift);
    EXPECT_EQ(grid.Send(SPM_GETSELECTION), s.expected) << s.key;
  }
  // Page Down: by the page; the top row follows.
  Key(grid, VK_NEXT);
  const LRESULT paged = grid.Send(SPM_GETSELECTION);
  EXPECT_GT(LOWORD(paged), 5);
  Key(grid, VK_NEXT);
  Key(grid, VK_NEXT);
  EXPECT_GT(grid.Send(SPM_GETTOPROW), 0);
  Key(grid, VK_HOME);
  EXPECT_EQ(grid.Send(SPM_GETTOPROW), 0);
  // Shift+arrows extend from the range's end; the focus stays.
  grid.Send(SPM_SETFOCUSCELL, 2, 1);
  grid.TakeNotes();
  Key(grid, VK_DOWN, true);
  Key(grid, VK_RIGHT, true);
  auto ranges = Ranges(grid);
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_TRUE(Same(ranges[0], ZQSPREADRANGE{2, 1, 3, 2}));
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(2, 1));
  EXPECT_EQ(Codes(grid), (std::vector<int>{SPN_SELCHANGED, SPN_SELCHANGED}));
  // Ctrl with discontiguous selection: the focus alone.
  grid.Send(SPM_SETEXFLAGS, SPX_DISCONTIGUOUS);
  Key(grid, VK_DOWN, false, true);
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(3, 1));
  EXPECT_EQ(Ranges(grid).size(), 1u);
  EXPECT_TRUE(Same(Ranges(grid)[0], ZQSPREADRANGE{2, 1, 3, 2}));
  // Row count 0 with the append row: the only reachable row.
  grid.owner.rows = 0;
  grid.Send(SPM_REFRESHROWS);
  Key(grid, VK_DOWN);
  Key(grid, VK_NEXT);
  EXPECT_EQ(LOWORD(grid.Send(SPM_GETSELECTION)), 0);
}

TEST(GridKeys, TheFocusStandsWhereRowsAreAndIsAlwaysMarked) {
  // From the last of ten rows, with and without the append row; the grid
  // shrinking to six rows deletes the focused one.
  enum Step { kDown, kPageDown, kEnd, kShrink, kShrinkAbove, kAppendRowOff };
  const struct {
    const char* name;
    bool appendRow;
    Step step;
    DWORD row;  // where the focus ends
  } cases[] = {
      {"Down", false, kDown, 9},         {"Page Down", false, kPageDown, 9},
      {"End", false, kEnd, 9},           {"rows deleted", false, kShrink, 5},
      {"rows deleted below", false, kShrinkAbove, 2},
      {"Down to the append row", true, kDown, 10}, {"Page Down to the append row", true, kPageDown, 10},
      {"End on the append row", true, kEnd, 10},   {"rows deleted, append row", true, kShrink, 6},
      {"append row switched off", true, kAppendRowOff, 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Grid grid(SPS_EDITOR);
    grid.SetColumns({Column(64, SPC_LEFT | SPC_EDITABLE), Column(64, SPC_LEFT | SPC_EDITABLE),
                     Column(64, SPC_LEFT | SPC_EDITABLE), Column(64, SPC_LEFT | SPC_EDITABLE)},
                    {L"A", L"B", L"C", L"D"});
    grid.owner.rows = 10;
    grid.owner.Record()->keyHook = CountingKeyHook;
    hookedKeys.clear();
    grid.Install();
    if (!c.appendRow) {
      ZQSPREADMETRICS off{SPMF_NOAPPENDROW, -1, 0, 0, -1, 0, 0};
      grid.Send(SPM_SETMETRICS, 0, reinterpret_cast<LPARAM>(&off));
    }
    SetFocus(grid.hwnd());
    grid.Send(SPM_SETFOCUSCELL, c.step == kShrinkAbove ? 2 : 9, 2);
    switch (c.step) {
      case kDown: Key(grid, VK_DOWN); break;
      case kPageDown: Key(grid, VK_NEXT); break;
      case kEnd: Key(grid, VK_END); break;
      case kShrink:
      case kShrinkAbove:
        grid.owner.rows = 6;
        grid.Send(SPM_REFRESHROWS);
        break;
      case kAppendRowOff: {
        Key(grid, VK_DOWN);
        ASSERT_EQ(LOWORD(grid.Send(SPM_GETSELECTION)), 10);
        ZQSPREADMETRICS off{SPMF_NOAPPENDROW, -1, 0, 0, -1, 0, 0};
        grid.Send(SPM_SETMETRICS, 0, reinterpret_cast<LPARAM>(&off));
        break;
      }
    }
    const LRESULT focus = grid.Send(SPM_GETSELECTION);
    EXPECT_EQ(LOWORD(focus), c.row);
    const DWORD column = HIWORD(focus);
    // The mark: the dotted frame shows on the cell's left edge, which holds
    // no text.
    RedrawWindow(grid.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const RECT cell = CellOf(grid, c.row, column);
    HDC dc = GetDC(grid.hwnd());
    std::vector<COLORREF> edge;
    for (LONG y = cell.top + 1; y < cell.bottom - 1; ++y) edge.push_back(GetPixel(dc, cell.left, y));
    ReleaseDC(grid.hwnd(), dc);
    std::sort(edge.begin(), edge.end());
    EXPECT_GE(std::unique(edge.begin(), edge.end()) - edge.begin(), 2) << "no focus mark";
    // F2: the owner's key hook hears it first; the editor opens on a row of
    // the owner's (the append row is the owner's to fill).
    hookedKeys.clear();
    Key(grid, VK_F2);
    EXPECT_EQ(hookedKeys, std::vector<WPARAM>{VK_F2});
    HWND editor = reinterpret_cast<HWND>(grid.Send(SPM_GETEDITOR));
    EXPECT_EQ(IsWindowVisible(editor) != FALSE, c.row < static_cast<DWORD>(grid.owner.rows));
    SendMessageW(editor, WM_KEYDOWN, VK_ESCAPE, 0);
  }
}

TEST(GridEditor, TypingF2EnterFocusLossEscapeAndLongEntries) {
  Grid grid(SPS_EDITOR);
  Columns(grid);
  grid.owner.rows = 10;
  grid.Install();
  HWND editor = reinterpret_cast<HWND>(grid.Send(SPM_GETEDITOR));
  grid.Send(SPM_SETFOCUSCELL, 1, 0);
  SetFocus(grid.hwnd());
  grid.owner.setCellResult = SPR_CELL;
  // Typing opens the editor with the typed character (the pump's
  // TranslateMessage makes the WM_CHAR).
  Post(grid, WM_KEYDOWN, 'Q', 1);
  ASSERT_TRUE(IsWindowVisible(editor));
  wchar_t text[64];
  GetWindowTextW(editor, text, 64);
  EXPECT_STREQ(text, L"q");
  grid.TakeNotes();
  SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(IsWindowVisible(editor));
  EXPECT_EQ(grid.owner.lastSet, L"q");
  EXPECT_EQ(Codes(grid), std::vector<int>{SPN_EDITCOMMITTED});
  // The keypad's Enter (extended-key bit) commits and then moves down.
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(1, 0));
  Key(grid, VK_F2);
  ASSERT_TRUE(IsWindowVisible(editor));
  SetWindowTextW(editor, L"keypad");
  SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 1 | (1 << 24));
  controlstest::Pump(10);
  EXPECT_FALSE(IsWindowVisible(editor));
  EXPECT_EQ(grid.owner.lastSet, L"keypad");
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(2, 0));
  grid.Send(SPM_SETFOCUSCELL, 1, 0);
  // F2 opens with the owner's text; focus loss commits.
  Key(grid, VK_F2);
  ASSERT_TRUE(IsWindowVisible(editor));
  GetWindowTextW(editor, text, 64);
  EXPECT_STREQ(text, L"r1c0");
  SetWindowTextW(editor, L"by focus");
  SetFocus(grid.parent());
  EXPECT_FALSE(IsWindowVisible(editor));
  EXPECT_EQ(grid.owner.lastSet, L"by focus");
  // Double-click opens it too (the owner answers notification 4 by opening).
  grid.answer = [&](const ZQSPREADNM& nm) -> LRESULT {
    if (nm.hdr.code == SPN_DBLCLK) PostMessageW(grid.hwnd(), SPM_OPENEDITOR, 0, 0);
    return 0;
  };
  Post(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, CellPoint(grid, 2, 1));
  controlstest::Pump(10);
  EXPECT_TRUE(IsWindowVisible(editor));
  grid.answer = nullptr;
  // Escape cancels.
  SetWindowTextW(editor, L"not kept");
  grid.owner.lastSet.clear();
  SendMessageW(editor, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(IsWindowVisible(editor));
  EXPECT_TRUE(grid.owner.lastSet.empty());
  // The owner keeps its text (set-cell reports nothing): no notification 7.
  grid.owner.setCellResult = 0;
  Key(grid, VK_F2);
  SetWindowTextW(editor, L"vetoed");
  grid.TakeNotes();
  SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(Codes(grid), std::vector<int>{});
  WCHAR shown[32];
  grid.Send(SPM_GETFOCUSTEXT, 32, reinterpret_cast<LPARAM>(shown));
  EXPECT_STREQ(shown, L"r1c0");
  // 5,000 characters: the first 1,023 reach the owner.
  Key(grid, VK_F2);
  const std::wstring longText(5000, L'x');
  SetWindowTextW(editor, longText.c_str());
  SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(grid.owner.lastSet.size(), 1023u);
}

namespace {

UINT PrivateFormat() {
  static const UINT format = RegisterClipboardFormatW(L"QuilletGridTestCells");
  return format;
}

struct ClipboardOwner {
  static LONG CALLBACK Query(ZQSPREADIFACE*, const ZQSPREADRANGE*, UINT* formats, int capacity, UINT message) {
    if (message != WM_COPY && message != WM_CUT && message != WM_PASTE) return 0;
    if (capacity >= 2) {
      formats[0] = CF_UNICODETEXT;
      formats[1] = PrivateFormat();
    }
    return 2;
  }
  static LRESULT CALLBACK Do(ZQSPREADIFACE* record, const ZQSPREADRANGE*, UINT format, const ZQSPREADDATA* data,
                             UINT message) {
    if (message == WM_DESTROYCLIPBOARD) return 0;  // our own earlier copy leaves the clipboard
    order.push_back(message == WM_PASTE ? 1000 + format : format);
    if (message == WM_PASTE && data) {
      pasted.assign(static_cast<const wchar_t*>(data->bytes));
      return SPR_CELL;
    }
    if (message == WM_CLEAR) return SPR_CELL;
    if (message != WM_COPY && message != WM_CUT) return 0;
    // Every range of the selection, in the format's own words.
    HWND grid = record->grid;
    std::vector<ZQSPREADRANGE> ranges(static_cast<size_t>(SendMessageW(grid, SPM_GETRANGECOUNT, 0, 0)));
    SendMessageW(grid, SPM_GETRANGES, ranges.size(), reinterpret_cast<LPARAM>(ranges.data()));
    std::wstring text = format == CF_UNICODETEXT ? L"text" : L"cells";
    for (const auto& r : ranges)
      text += L" " + std::to_wstring(r.anchorRow) + L":" + std::to_wstring(r.endRow);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    return reinterpret_cast<LRESULT>(block);
  }
  static std::vector<UINT> order;
  static std::wstring pasted;
};
std::vector<UINT> ClipboardOwner::order;
std::wstring ClipboardOwner::pasted;

std::wstring ClipboardText(HWND window, UINT format) {
  std::wstring text;
  if (!OpenClipboard(window)) return L"(not opened)";
  HANDLE handle = GetClipboardData(format);
  if (handle) {
    text = static_cast<const wchar_t*>(GlobalLock(handle));
    GlobalUnlock(handle);
  }
  CloseClipboard();
  return text;
}

}  // namespace

TEST(GridClipboard, CopyCutAndPasteInEveryFormatTheOwnerOffers) {
  Grid grid(kMulti);
  Columns(grid);
  grid.owner.rows = 20;
  ZQSPREADIFACE* record = grid.owner.Record();
  record->queryCommand = ClipboardOwner::Query;
  record->doCommand = ClipboardOwner::Do;
  grid.Install();
  grid.Send(SPM_SETEXFLAGS, SPX_DISCONTIGUOUS);
  const ZQSPREADRANGE two[2] = {{1, 0, 3, 1}, {7, 2, 8, 2}};
  grid.Send(SPM_SETRANGES, 2, reinterpret_cast<LPARAM>(two));
  ClipboardOwner::order.clear();
  Key(grid, 'C', false, true);
  // Last format first; the clipboard emptied once, both formats on it.
  EXPECT_EQ(ClipboardOwner::order, (std::vector<UINT>{PrivateFormat(), CF_UNICODETEXT}));
  EXPECT_EQ(ClipboardText(grid.hwnd(), CF_UNICODETEXT), L"text 1:3 7:8");
  EXPECT_EQ(ClipboardText(grid.hwnd(), PrivateFormat()), L"cells 1:3 7:8");
  // Cut: the copy, then clear; notifications 8 and 2 follow.
  ClipboardOwner::order.clear();
  grid.TakeNotes();
  EXPECT_NE(grid.Send(WM_CUT), 0);
  controlstest::Pump(20);
  EXPECT_EQ(ClipboardOwner::order, (std::vector<UINT>{PrivateFormat(), CF_UNICODETEXT, 0}));
  EXPECT_EQ(Codes(grid), (std::vector<int>{SPN_EDITCOMMAND, SPN_DATACHANGED}));
  // Paste: the first listed format present.
  ClipboardOwner::order.clear();
  Key(grid, 'V', false, true);
  EXPECT_EQ(ClipboardOwner::order, (std::vector<UINT>{1000 + CF_UNICODETEXT}));
  EXPECT_EQ(ClipboardOwner::pasted, L"text 1:3 7:8");
}

TEST(GridTooltip, ShownExactlyWhenTheTextDoesNotFit) {
  Grid grid(SPS_TOOLTIPS, 400, 200);
  grid.SetColumns({Column(96), Column(96)}, {L"A", L"B"});
  grid.owner.rows = 5;
  grid.Install();
  SetForegroundWindow(grid.parent());
  SetActiveWindow(grid.parent());
  const LONG width = grid.columns[0].width;
  HDC dc = GetDC(grid.hwnd());
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(grid.Send(WM_GETFONT)));
  SIZE size;
  GetTextExtentPoint32W(dc, L"r2c0", 4, &size);
  SelectObject(dc, old);
  ReleaseDC(grid.hwnd(), dc);
  auto tooltipShown = [&] {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM out) CALLBACK -> BOOL {
      wchar_t name[64];
      GetClassNameW(w, name, 64);
      if (_wcsicmp(name, TOOLTIPS_CLASSW) == 0 && IsWindowVisible(w)) *reinterpret_cast<HWND*>(out) = w;
      return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    // A pop-up made with a child as its parent is owned by the top-level window.
    return found != nullptr && (GetWindow(found, GW_OWNER) == grid.hwnd() || GetWindow(found, GW_OWNER) == grid.parent());
  };
  const struct {
    LONG indent;
    bool shown;
  } cases[] = {{width - 6 - size.cx, false}, {width - 6 - size.cx + 1, true}, {0, false}};
  for (const auto& c : cases) {
    grid.owner.decorate = [&](DWORD, DWORD, ZQSPREADCELL& cell) { cell.indent = c.indent; };
    const RECT cell = CellOf(grid, 2, 0);
    POINT at{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    ClientToScreen(grid.hwnd(), &at);
    SetCursorPos(at.x, at.y);
    // Another cell first: a cell is examined again only after the pointer left it.
    Post(grid, WM_MOUSEMOVE, 0, CellPoint(grid, 3, 1));
    Post(grid, WM_MOUSEMOVE, 0, CellPoint(grid, 2, 0));
    EXPECT_EQ(tooltipShown(), c.shown) << c.indent;
    SetCursorPos(0, 0);
    Post(grid, WM_MOUSEMOVE, 0, MAKELPARAM(1000, 1000));
  }
}

TEST(GridTooltip, ACutNameShowsWhole) {
  // A mix grid: grid lines both ways, a border, the editor; names cut with
  // "..." show whole in the tooltip, names that fit show none.
  Grid grid(SPS_TOOLTIPS | SPS_EDITOR | SPS_HLINES | SPS_VLINES | SPS_MULTIROW, 400, 200, WS_BORDER | WS_VSCROLL);
  grid.SetColumns({Column(96, SPC_LEFT | SPC_EDITABLE), Column(64, SPC_CENTER | SPC_EDITABLE)}, {L"Name", L"Channel"});
  grid.owner.rows = 4;
  const std::wstring longName = L"Strings and woodwinds, second ending (long)";
  grid.owner.texts[{1, 0}] = longName;
  grid.owner.texts[{2, 0}] = L"Bass";
  grid.Install();
  SetForegroundWindow(grid.parent());
  SetActiveWindow(grid.parent());
  auto shownText = [&]() -> std::wstring {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM out) CALLBACK -> BOOL {
      wchar_t name[64];
      GetClassNameW(w, name, 64);
      if (_wcsicmp(name, TOOLTIPS_CLASSW) == 0 && IsWindowVisible(w)) *reinterpret_cast<HWND*>(out) = w;
      return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    if (!found) return L"(none)";
    wchar_t text[128] = L"";
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = grid.hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(grid.hwnd());
    info.lpszText = text;
    SendMessageW(found, TTM_GETTEXTW, ARRAYSIZE(text), reinterpret_cast<LPARAM>(&info));
    return text;
  };
  const struct {
    DWORD row, column;
    std::wstring shown;
  } cases[] = {{1, 0, longName}, {2, 0, L"(none)"}, {1, 1, L"(none)"}, {1, 0, longName}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row * 10 + c.column);
    const RECT cell = CellOf(grid, c.row, c.column);
    POINT at{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    ClientToScreen(grid.hwnd(), &at);
    SetCursorPos(at.x, at.y);
    Post(grid, WM_MOUSEMOVE, 0, CellPoint(grid, c.row, c.column));
    EXPECT_EQ(shownText(), c.shown);
  }
  SetCursorPos(0, 0);
  Post(grid, WM_MOUSEMOVE, 0, MAKELPARAM(1000, 1000));
  EXPECT_EQ(shownText(), L"(none)");
}

TEST(GridScroll, ScrollBarMessagesAndTheWheel) {
  Grid grid(0);
  Columns(grid);
  grid.owner.rows = 100;
  grid.Install();
  SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid.Send(SPM_GETTOPROW), 1);
  SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEUP, 0);
  SendMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(grid.Send(SPM_GETTOPROW), 0);
  SendMessageW(grid.hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
  const LRESULT page = grid.Send(SPM_GETTOPROW);
  EXPECT_GT(page, 3);
  SendMessageW(grid.hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5000), 0);
  EXPECT_LE(grid.Send(SPM_GETTOPROW), 100);
  EXPECT_GT(grid.Send(SPM_GETTOPROW), 80);
  grid.Send(SPM_SETTOPROW, 10);
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  SendMessageW(grid.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(grid.Send(SPM_GETTOPROW), 10 + static_cast<LRESULT>(lines));
  SendMessageW(grid.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(grid.Send(SPM_GETTOPROW), 10);
}

TEST(GridPictures, SelectEditAndResizeAColumn) {
  Grid grid(SPS_EDITOR | SPS_RESIZECOLUMNS | kMulti | SPS_HLINES, 420, 220);
  grid.SetColumns({Column(96, SPC_LEFT | SPC_EDITABLE), Column(64, SPC_CENTER), Column(-1000, SPC_RIGHT)},
                  {L"Name", L"Channel", L"Comment"});
  grid.owner.rows = 12;
  grid.Install();
  Click(grid, CellPoint(grid, 1, 0));
  Click(grid, CellPoint(grid, 3, 1), MK_SHIFT);
  const std::wstring run = gridtest::RunName();
  EXPECT_TRUE(testsupport::SaveWindowScreenshot(grid.parent(), (L"grid_session_1_select_" + run).c_str()).saved);
  Click(grid, CellPoint(grid, 5, 0));
  Post(grid, WM_KEYDOWN, 'N', 1);  // translated to 'n'
  Post(grid, WM_CHAR, 'e', 1);
  Post(grid, WM_CHAR, 'w', 1);
  EXPECT_TRUE(testsupport::SaveWindowScreenshot(grid.parent(), (L"grid_session_2_edit_" + run).c_str()).saved);
  SendMessageW(reinterpret_cast<HWND>(grid.Send(SPM_GETEDITOR)), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(grid.owner.lastSet, L"new");
  const RECT head = CellOf(grid, ZQSPREAD_HEADER, 0);
  Post(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(head.right - 1, 3));
  Post(grid, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(head.right + 40, 3));
  Post(grid, WM_LBUTTONUP, 0, MAKELPARAM(head.right + 40, 3));
  EXPECT_TRUE(testsupport::SaveWindowScreenshot(grid.parent(), (L"grid_session_3_resize_" + run).c_str()).saved);
}

TEST(GridMouse, ColumnAndRowDragsDropWithTheirNotifications) {
  Grid grid(SPS_DRAGCOLUMNS | SPS_DRAGROWS);
  Columns(grid);
  grid.owner.rows = 10;
  grid.Install();
  grid.TakeNotes();
  const RECT from = CellOf(grid, ZQSPREAD_HEADER, 1), to = CellOf(grid, ZQSPREAD_HEADER, 3);
  const LPARAM start = MAKELPARAM((from.left + from.right) / 2, from.bottom / 2);
  Post(grid, WM_LBUTTONDOWN, MK_LBUTTON, start);
  Post(grid, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((to.left + to.right) / 2, to.bottom / 2));
  Post(grid, WM_LBUTTONUP, 0, MAKELPARAM((to.left + to.right) / 2, to.bottom / 2));
  auto notes = grid.TakeNotes();
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes.back(), (Note{SPN_COLUMNDRAG, ZQSPREAD_HEADER, 3}));
  // Dropped outside the header band: target 0xFFFF.
  Post(grid, WM_LBUTTONDOWN, MK_LBUTTON, start);
  Post(grid, WM_MOUSEMOVE, MK_LBUTTON, CellPoint(grid, 5, 2));
  Post(grid, WM_LBUTTONUP, 0, CellPoint(grid, 5, 2));
  EXPECT_EQ(grid.TakeNotes().back(), (Note{SPN_COLUMNDRAG, ZQSPREAD_HEADER, ZQSPREAD_HEADER}));
  // Rows: the owner accepts the drag (22); the drop names the nearest row boundary.
  grid.answer = [](const ZQSPREADNM& nm) -> LRESULT { return nm.hdr.code == SPN_BEGINDRAG ? 1 : 0; };
  const RECT row2 = CellOf(grid, 2, ZQSPREAD_HEADER), row6 = CellOf(grid, 6, ZQSPREAD_HEADER);
  Post(grid, WM_LBUTTONDOWN, MK_LBUTTON, Centre(row2));
  Post(grid, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(row6.left + 2, row6.top + 2));
  Post(grid, WM_LBUTTONUP, 0, MAKELPARAM(row6.left + 2, row6.top + 2));
  std::vector<int> codes;
  for (const Note& n : grid.TakeNotes()) codes.push_back(n.code);
  ASSERT_GE(codes.size(), 2u);
  EXPECT_EQ(codes[codes.size() - 2], SPN_BEGINDRAG);
  EXPECT_EQ(grid.notes.empty(), true);
  // Escape during a drag: nothing dropped.
  Post(grid, WM_LBUTTONDOWN, MK_LBUTTON, start);
  Post(grid, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((to.left + to.right) / 2, to.bottom / 2));
  Key(grid, VK_ESCAPE);
  EXPECT_EQ(GetCapture(), nullptr);
  Post(grid, WM_LBUTTONUP, 0, MAKELPARAM((to.left + to.right) / 2, to.bottom / 2));
  for (const Note& n : grid.TakeNotes()) EXPECT_NE(n.code, SPN_COLUMNDRAG);

  // The cursor during a column drag: the drop cursor over the header band,
  // elsewhere the refused one (the library's with extended flag 0x01).
  const struct {
    DWORD exFlags;
    LPARAM at;
    HCURSOR cursor;
  } cursors[] = {
      {0, MAKELPARAM((to.left + to.right) / 2, to.bottom / 2), ZqGetUICursor(18)},
      {0, CellPoint(grid, 5, 2), LoadCursorW(nullptr, IDC_NO)},
      {SPX_REFUSEDCURSOR, CellPoint(grid, 5, 2), ZqGetUICursor(26)},
  };
  for (const auto& c : cursors) {
    SCOPED_TRACE(c.exFlags);
    grid.Send(SPM_SETEXFLAGS, c.exFlags);
    SetCursor(nullptr);
    Post(grid, WM_LBUTTONDOWN, MK_LBUTTON, start);
    Post(grid, WM_MOUSEMOVE, MK_LBUTTON, c.at);
    EXPECT_EQ(GetCursor(), c.cursor);
    // WM_SETCURSOR leaves the drag's cursor alone.
    EXPECT_EQ(grid.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(grid.hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), c.cursor);
    Post(grid, WM_LBUTTONUP, 0, c.at);
  }
}

TEST(GridMouse, DraggingBelowTheCellsScrollsAndExtends) {
  Grid grid(kMulti, 400, 200);
  Columns(grid);
  grid.owner.rows = 60;
  grid.Install();
  RECT client;
  GetClientRect(grid.hwnd(), &client);
  POINT below{60, client.bottom + 30};
  POINT screen = below;
  ClientToScreen(grid.hwnd(), &screen);
  SetCursorPos(screen.x, screen.y);
  Post(grid, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(grid, 1, 0));
  Post(grid, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(below.x, below.y));
  controlstest::Pump(700);
  const LRESULT top = grid.Send(SPM_GETTOPROW);
  Post(grid, WM_LBUTTONUP, 0, MAKELPARAM(below.x, below.y));
  SetCursorPos(0, 0);
  EXPECT_GT(top, 0);
  const auto ranges = Ranges(grid);
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_EQ(ranges[0].anchorRow, 1u);
  EXPECT_GT(ranges[0].endRow, static_cast<DWORD>(top));
  controlstest::Pump(250);
  EXPECT_EQ(grid.Send(SPM_GETTOPROW), top);  // the timer stopped with the release

  // Pressed on the row header: the view scrolls from its edge (timer 1) and
  // the selection stays as it was.
  grid.Send(SPM_SETTOPROW, 0);
  grid.Send(SPM_SETFOCUSCELL, 2, 1);
  SetCursorPos(screen.x, screen.y);
  Post(grid, WM_LBUTTONDOWN, MK_LBUTTON, Centre(CellOf(grid, 1, ZQSPREAD_HEADER)));
  Post(grid, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(below.x, below.y));
  controlstest::Pump(700);
  const LRESULT headerTop = grid.Send(SPM_GETTOPROW);
  Post(grid, WM_LBUTTONUP, 0, MAKELPARAM(below.x, below.y));
  SetCursorPos(0, 0);
  EXPECT_GT(headerTop, 0);
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(2, 1));
  controlstest::Pump(250);
  EXPECT_EQ(grid.Send(SPM_GETTOPROW), headerTop);

  // A column drag held right of the window scrolls the columns, never the
  // frozen first one.
  Grid wide(SPS_DRAGCOLUMNS, 300, 200);
  std::vector<ZQSPREADCOLUMN> many(12, Column(96));
  wide.SetColumns(many, {L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10", L"11"}, 1);
  wide.Install();
  const RECT head = CellOf(wide, ZQSPREAD_HEADER, 1);
  POINT right{340, head.bottom / 2};
  POINT rightScreen = right;
  ClientToScreen(wide.hwnd(), &rightScreen);
  SetCursorPos(rightScreen.x, rightScreen.y);
  const int first = GetScrollPos(wide.hwnd(), SB_HORZ);
  Post(wide, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((head.left + head.right) / 2, head.bottom / 2));
  Post(wide, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(right.x, right.y));
  controlstest::Pump(500);
  const int scrolled = GetScrollPos(wide.hwnd(), SB_HORZ);
  Post(wide, WM_LBUTTONUP, 0, MAKELPARAM(right.x, right.y));
  SetCursorPos(0, 0);
  EXPECT_GT(scrolled, first);
  EXPECT_GE(first, 1);
  RECT frozen;
  wide.Send(SPM_GETCOLUMNRECT, 0, reinterpret_cast<LPARAM>(&frozen));
  EXPECT_GT(frozen.right, frozen.left);  // still shown
}

TEST(GridKeys, CommandKeysAndTheContextMenu) {
  Grid grid(SPS_EDITOR);
  Columns(grid);
  grid.Install();
  grid.Send(SPM_SETFOCUSCELL, 3, 2);
  grid.owner.Take();
  grid.TakeNotes();
  Key(grid, VK_APPS);
  Key(grid, VK_F10, true);
  const auto notes = grid.TakeNotes();
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0], (Note{SPN_CONTEXTMENU, 3, 2}));
  EXPECT_EQ(notes[1], (Note{SPN_CONTEXTMENU, 3, 2}));
  // Ctrl+A, Ctrl+Z, Ctrl+Shift+Z, Delete; Backspace only with bit 25.
  Key(grid, 'A', false, true);
  Key(grid, 'Z', false, true);
  Key(grid, 'Z', true, true);
  Key(grid, VK_DELETE);
  SendMessageW(grid.hwnd(), WM_KEYDOWN, VK_BACK, 1);
  SendMessageW(grid.hwnd(), WM_KEYDOWN, VK_BACK, 1 | (1 << 25));
  std::vector<LONG> commands;
  for (const Call& c : grid.owner.Take())
    if (c.slot == 20) commands.push_back(c.format);
  EXPECT_EQ(commands, (std::vector<LONG>{SPM_SELECTALL, WM_UNDO, SPM_REDO, WM_CLEAR, WM_UNDO}));
}

namespace {

int CALLBACK LevelText(const ZQSPREADCONTROL*, LONG value, LPWSTR text, int capacity) {
  return swprintf(text, static_cast<size_t>(capacity), L"level %ld", static_cast<long>(value));
}

}  // namespace

TEST(GridMouse, EmbeddedControlsTakeThePressAndReportTheirValueAsText) {
  ZQSPREADCONTROL fader{};
  fader.kind = SPK_FADER;
  fader.maximum = 100;
  fader.u.fader.textWidth = 30;
  fader.u.fader.format = LevelText;
  Grid grid(0, 400, 200);
  grid.SetColumns({Column(64), Column(-1000, SPC_RIGHT)}, {L"Name", L"Level"});
  grid.columns[1].control = &fader;
  ZQSPREADCOLUMNSET set{2, 2, 0, grid.columns.data(), grid.headers.c_str()};
  grid.Send(SPM_SETCOLUMNS, 0, reinterpret_cast<LPARAM>(&set));
  grid.owner.rows = 30;
  grid.Install();
  // Scrolled without the row being painted again: the press still finds it.
  grid.Send(SPM_SETTOPROW, 2);
  grid.owner.Take();
  grid.TakeNotes();
  const RECT cell = CellOf(grid, 4, 1);
  // Near the right end of the track: a page toward the maximum.
  const LPARAM point = MAKELPARAM(cell.right - (30 + 20) - 15, (cell.top + cell.bottom) / 2);  // left of the value text
  Post(grid, WM_LBUTTONDOWN, MK_LBUTTON, point);
  Post(grid, WM_LBUTTONUP, 0, point);
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(4, 1));
  std::vector<Call> sets;
  for (const Call& c : grid.owner.Take())
    if (c.slot == 17) sets.push_back(c);
  ASSERT_FALSE(sets.empty());
  EXPECT_EQ(sets[0], (Call{17, 4, 1, SPF_TEXT}));
  EXPECT_EQ(grid.owner.lastSet.rfind(L"level ", 0), 0u);
  EXPECT_NE(grid.owner.lastSet, L"level 0");
  // With simple mouse handling the press stays the grid's.
  grid.Send(SPM_SETEXFLAGS, SPX_SIMPLEMOUSE);
  grid.owner.Take();
  Post(grid, WM_LBUTTONDOWN, MK_LBUTTON, point);
  Post(grid, WM_LBUTTONUP, 0, point);
  for (const Call& c : grid.owner.Take()) EXPECT_NE(c.slot, 17);
}

TEST(GridScroll, MiddleButtonRunsAnAutoScrollThatTheWheelEnds) {
  Grid grid(0);
  Columns(grid);
  grid.owner.rows = 100;
  grid.Install();
  SendMessageW(grid.hwnd(), WM_MBUTTONDOWN, MK_MBUTTON, CellPoint(grid, 3, 1));
  HWND marker = GetCapture();
  ASSERT_NE(marker, nullptr);  // the run's origin marker holds the mouse
  EXPECT_NE(marker, grid.hwnd());
  SendMessageW(grid.hwnd(), WM_MBUTTONUP, 0, CellPoint(grid, 3, 1));
  EXPECT_EQ(GetCapture(), nullptr);
  SendMessageW(grid.hwnd(), WM_MBUTTONDOWN, MK_MBUTTON, CellPoint(grid, 3, 1));
  EXPECT_NE(GetCapture(), nullptr);
  const LRESULT top = grid.Send(SPM_GETTOPROW);
  SendMessageW(grid.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_GT(grid.Send(SPM_GETTOPROW), top);
}
