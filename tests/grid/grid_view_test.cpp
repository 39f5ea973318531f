// The grid on the screen: metrics and column layout against values worked
// out here from the font's own text metrics, the rows the owner is asked
// for while painting, and pictures of text, check, fader, trackbar and
// spinner columns (with Wine's theme, and with visual styles off:
// QUILLET_THEMES=off, see controls.cmake).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "controls_test_support.h"
#include "grid_test_support.h"
#include "screenshot.h"
#include "zq/fader.h"
#include "zq/grid.h"
#include "zq/spinner.h"

using controlstest::Canvas;
using controlstest::Rgb;
using gridtest::Grid;

namespace {

ZQSPREADCOLUMN Column(SHORT spec, WORD flags = SPC_LEFT, ZQSPREADCONTROL* control = nullptr) {
  ZQSPREADCOLUMN c{};
  c.spec = spec;
  c.flags = flags;
  c.control = control;
  return c;
}

ZQSPREADMETRICS Metrics(Grid& grid) {
  ZQSPREADMETRICS m{};
  grid.Send(SPM_GETMETRICS, 0, reinterpret_cast<LPARAM>(&m));
  return m;
}

// The grid's client area as it is on the screen.
void Capture(Grid& grid, Canvas& canvas) {
  RedrawWindow(grid.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(grid.hwnd());
  BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), dc, 0, 0, SRCCOPY);
  ReleaseDC(grid.hwnd(), dc);
}

int Colours(const Canvas& canvas, const RECT& r) {
  std::set<DWORD> seen;
  for (LONG y = r.top; y < r.bottom; ++y)
    for (LONG x = r.left; x < r.right; ++x) seen.insert(canvas.Pixel(x, y));
  return static_cast<int>(seen.size());
}

RECT CellOf(Grid& grid, DWORD row, DWORD column) {
  RECT r, c;
  grid.Send(SPM_GETROWRECT, row, reinterpret_cast<LPARAM>(&r));
  grid.Send(SPM_GETCOLUMNRECT, column, reinterpret_cast<LPARAM>(&c));
  return RECT{c.left, r.top, c.right, r.bottom};
}

LONG FirstRowTop(Grid& grid) {
  // Rows start one pixel higher, over the header's bottom line, with a theme.
  return Metrics(grid).headerHeight + 1 - (gridtest::ThemesExpected() ? 1 : 0);
}

}  // namespace

TEST(GridLayout, ColumnWidthsAndRowPositionsFromTextMetrics) {
  Grid grid(0, 600, 300, 0);
  grid.owner.rows = 30;
  grid.SetColumns({Column(80), Column(-500), Column(-250), Column(24, SPC_LEFT | SPC_STRETCH)},
                  {L"Fixed", L"Half", L"Quarter", L"Rest"});
  grid.Install();
  const SIZE cc = gridtest::CharCell(grid.hwnd());
  ASSERT_GT(cc.cx, 0);
  const ZQSPREADMETRICS m = Metrics(grid);
  EXPECT_EQ(m.headerHeight, cc.cy + 4);
  EXPECT_EQ(m.rowHeaderWidth, 6 * cc.cx + 8);  // 10,000 rows for digits: five digits and one more
  EXPECT_EQ(m.rowsForDigits, 10000);
  const LONG rowHeight = static_cast<LONG>(grid.Send(SPM_GETROWHEIGHT));
  EXPECT_EQ(rowHeight, cc.cy + 3);

  RECT client;
  GetClientRect(grid.hwnd(), &client);
  const LONG fixed0 = 10 * cc.cx, fixed3 = 3 * cc.cx;  // 80 and 24 eighths of a character
  const LONG left = client.right - m.rowHeaderWidth - fixed0 - fixed3;
  const LONG half = std::lround(left * 0.5), quarter = std::lround(left * 0.25);
  const LONG expected[4] = {fixed0, half, quarter, fixed3 + (left - half - quarter)};
  LONG x = m.rowHeaderWidth;
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(grid.columns[c].width, expected[c]) << c;
    RECT r;
    grid.Send(SPM_GETCOLUMNRECT, c, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, x) << c;
    EXPECT_EQ(r.right, x + expected[c]) << c;
    x += expected[c];
  }
  EXPECT_EQ(x, client.right);  // the stretch column ends flush
  for (DWORD row = 0; row < 4; ++row) {
    RECT r;
    grid.Send(SPM_GETROWRECT, row, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.top, FirstRowTop(grid) + static_cast<LONG>(row) * rowHeight) << row;
    EXPECT_EQ(r.bottom - r.top, rowHeight);
  }
  // Hit tests: cells, the headers (0xFFFF), the nearest row boundary.
  const RECT cell = CellOf(grid, 2, 1);
  EXPECT_EQ(grid.Send(SPM_HITTEST, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2), MAKELONG(2, 1));
  EXPECT_EQ(grid.Send(SPM_HITTEST, cell.left + 1, 2), MAKELONG(ZQSPREAD_HEADER, 1));
  EXPECT_EQ(grid.Send(SPM_HITTEST, 2, cell.top + 1), MAKELONG(2, ZQSPREAD_HEADER));
  EXPECT_EQ(grid.Send(SPM_INSERTHITTEST, cell.left + 1, cell.top + rowHeight * 3 / 4), MAKELONG(3, 1));
  EXPECT_EQ(grid.Send(SPM_INSERTHITTEST, cell.left + 1, cell.top + rowHeight / 4), MAKELONG(2, 1));

  // +44: another array, not installed.
  ZQSPREADCOLUMN other[2] = {Column(16), Column(-1000)};
  ZQSPREADCOLUMNSET set{2, 2, 0, other, L"\0"};
  grid.Send(SPM_CALCWIDTHS, 0, reinterpret_cast<LPARAM>(&set));
  EXPECT_EQ(other[0].width, 2 * cc.cx);
  EXPECT_EQ(other[1].width, client.right - m.rowHeaderWidth - 2 * cc.cx);
  EXPECT_EQ(grid.columns[0].width, fixed0);

  // Ideal size: fixed columns and the row header, rows and the header.
  SIZE ideal{}, roomy{5000, 5000}, tight{50, 50};
  EXPECT_EQ(grid.Send(SPM_IDEALSIZE, reinterpret_cast<WPARAM>(&roomy), reinterpret_cast<LPARAM>(&ideal)), 0);
  EXPECT_EQ(ideal.cx, m.rowHeaderWidth + 1 + fixed0 + fixed3);
  EXPECT_EQ(ideal.cy, 30 * rowHeight + m.headerHeight + 1);
  EXPECT_EQ(grid.Send(SPM_IDEALSIZE, reinterpret_cast<WPARAM>(&tight), reinterpret_cast<LPARAM>(&ideal)), 6);
  EXPECT_EQ(ideal.cx, m.rowHeaderWidth + 1 + fixed0 + fixed3 + GetSystemMetrics(SM_CXVSCROLL));
}

TEST(GridLayout, OverflowEndsTheLastPageFlushAndHeaderMetricsFollowTheirSettings) {
  Grid grid(0, 300, 200, 0);
  grid.SetColumns({Column(96), Column(96, SPC_LEFT | SPC_STRETCH), Column(96), Column(96)},
                  {L"One", L"Two\nlines", L"Three", L"Four"});
  grid.Install();
  const SIZE cc = gridtest::CharCell(grid.hwnd());
  ZQSPREADMETRICS m = Metrics(grid);
  EXPECT_EQ(m.headerHeight, 2 * cc.cy + 4);
  RECT client;
  GetClientRect(grid.hwnd(), &client);
  // Fixed columns wider than the window: the columns that fit whole from the
  // end leave a remainder, which the stretch column takes.
  const LONG available = client.right - m.rowHeaderWidth, w = 12 * cc.cx;
  LONG fitting = 0;
  while (fitting < 4 && (fitting + 1) * w <= available) ++fitting;
  ASSERT_LT(fitting, 4);
  EXPECT_EQ(grid.columns[1].width, w + (available - fitting * w));
  EXPECT_EQ(grid.columns[0].width, w);
  EXPECT_EQ(grid.columns[3].width, w);
  // Extended flag 0x20: no adjustment.
  grid.Send(SPM_SETEXFLAGS, SPX_NOSTRETCHFIT);
  SendMessageW(grid.hwnd(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  EXPECT_EQ(grid.columns[1].width, w);

  // Row-header digits: 9 rows one digit, 10 rows two, each plus one.
  const struct {
    LONG rowsForDigits, digits, width;
  } cases[] = {{9, -1, 2 * cc.cx + 8}, {10, -1, 3 * cc.cx + 8}, {1000000000, -1, 11 * cc.cx + 8},
               {10, 0, 0},            {10, 4, 4 * cc.cx + 8}};
  for (const auto& c : cases) {
    ZQSPREADMETRICS set{0, c.rowsForDigits, 0, 0, c.digits, 0, 0};
    grid.Send(SPM_SETMETRICS, 0, reinterpret_cast<LPARAM>(&set));
    EXPECT_EQ(set.rowHeaderWidth, c.width) << c.rowsForDigits << " " << c.digits;
    EXPECT_EQ(Metrics(grid).rowHeaderWidth, c.width);
  }
  // Digits from the real row count; extra widths and heights; no header.
  grid.owner.rows = 12345;
  grid.Send(SPM_REFRESHROWS);
  ZQSPREADMETRICS set{SPMF_DIGITSFROMROWS | SPMF_NOHEADER, 0, 0, 0, -1, 5, 4};
  grid.Send(SPM_SETMETRICS, 0, reinterpret_cast<LPARAM>(&set));
  EXPECT_EQ(set.rowHeaderWidth, 5 + 6 * cc.cx + 8);
  EXPECT_EQ(set.headerHeight, 0);
  EXPECT_EQ(grid.Send(SPM_GETROWHEIGHT), cc.cy + 3 + 4);
  RECT first;
  grid.Send(SPM_GETROWRECT, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_EQ(first.top, 0);
  // +45: the window holds exactly that many rows.
  grid.Send(SPM_FITROWS, 7, 0);
  GetClientRect(grid.hwnd(), &client);
  EXPECT_EQ(client.bottom, 7 * (cc.cy + 7));
}

TEST(GridPaint, WithoutAnOwnerNothingIsPaintedButTheBackground) {
  Grid grid(SPS_HLINES | SPS_SOLIDLINES, 300, 160, 0);
  grid.SetColumns({Column(80), Column(80)}, {L"A", L"B"});
  Canvas canvas(300, 160);
  Capture(grid, canvas);
  EXPECT_EQ(Colours(canvas, RECT{0, 0, 300, 160}), 1);
  EXPECT_EQ(canvas.Pixel(150, 80), Rgb(GetSysColor(COLOR_WINDOW)));
  EXPECT_TRUE(grid.owner.calls.empty());
  // Suspended painting: the same.
  grid.Install();
  grid.Send(SPM_SUSPEND, 1);
  grid.owner.Take();
  Capture(grid, canvas);
  EXPECT_EQ(Colours(canvas, RECT{0, 0, 300, 160}), 1);
  EXPECT_TRUE(grid.owner.Take().empty());
  grid.Send(SPM_SUSPEND, 0);
  Capture(grid, canvas);
  EXPECT_GT(Colours(canvas, RECT{0, 0, 300, 160}), 3);
}

TEST(GridPaint, OnlyTheRowsInTheUpdateRegionAreAskedFor) {
  Grid grid(0, 400, 300, WS_VSCROLL);
  grid.SetColumns({Column(80), Column(80), Column(-1000)}, {L"A", L"B", L"C"});
  grid.owner.rows = 200;
  grid.Install();
  grid.Send(SPM_SETTOPROW, 50);
  grid.owner.Take();
  Canvas canvas(400, 300);
  Capture(grid, canvas);
  std::set<DWORD> rows, cellRows;
  for (const auto& c : grid.owner.Take()) {
    if (c.slot == 18) rows.insert(c.row);
    if (c.slot == 15) cellRows.insert(c.row);
  }
  RECT client;
  GetClientRect(grid.hwnd(), &client);
  const LONG rowHeight = static_cast<LONG>(grid.Send(SPM_GETROWHEIGHT));
  const LONG visible = (client.bottom - FirstRowTop(grid) + rowHeight - 1) / rowHeight;
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(*rows.begin(), 50u);
  EXPECT_EQ(rows.size(), static_cast<size_t>(visible));
  EXPECT_EQ(cellRows, rows);
  // One row's refresh asks for that row alone.
  grid.Send(SPM_REFRESHCELL, 57, MAKELPARAM(1, SPR_ROW));
  UpdateWindow(grid.hwnd());
  rows.clear();
  for (const auto& c : grid.owner.Take())
    if (c.slot == 18) rows.insert(c.row);
  EXPECT_EQ(rows, std::set<DWORD>{57});
  // Beyond the count: empty rows, nobody asked.
  grid.owner.rows = 3;
  grid.Send(SPM_REFRESHROWS);
  grid.owner.Take();
  Capture(grid, canvas);
  rows.clear();
  for (const auto& c : grid.owner.Take())
    if (c.slot == 18) rows.insert(c.row);
  EXPECT_EQ(rows, (std::set<DWORD>{0, 1, 2}));
}

namespace {

int CALLBACK PercentText(const ZQSPREADCONTROL*, LONG value, LPWSTR text, int capacity) {
  return swprintf(text, static_cast<size_t>(capacity), L"%ld%%", static_cast<long>(value));
}

}  // namespace

TEST(GridPaint, TextCheckFaderTrackbarAndSpinnerColumnsInPictures) {
  ZQSPREADCONTROL fader{}, trackbar{}, spinner{};
  fader.kind = SPK_FADER;
  fader.minimum = 0;
  fader.maximum = 127;
  fader.u.fader.centre = 64;
  fader.u.fader.style = FADS_THUMB10;
  fader.u.fader.textWidth = 12;
  fader.u.fader.format = PercentText;
  trackbar.kind = SPK_TRACKBAR;
  trackbar.minimum = -127;
  trackbar.maximum = 127;
  trackbar.u.trackbar.style = 0x608;
  trackbar.u.trackbar.textWidth = 3;
  trackbar.u.trackbar.fillCentre = 1;
  spinner.kind = SPK_SPINNER;
  spinner.minimum = 0;
  spinner.maximum = 99;
  spinner.u.spinner.style = SPNS_VERT;
  spinner.u.spinner.textWidth = 10;
  Grid grid(SPS_HLINES | SPS_VLINES | SPS_SOLIDLINES | SPS_MULTIROW | SPS_MULTICOLUMN, 620, 260, WS_VSCROLL);
  grid.SetColumns({Column(96, SPC_LEFT), Column(24, SPC_CENTER), Column(-400, SPC_RIGHT, &fader),
                   Column(-400, SPC_RIGHT, &trackbar), Column(-200, SPC_RIGHT, &spinner)},
                  {L"Name", L"On", L"Volume", L"Pan\n(centre 0)", L"Chan"});
  grid.owner.rows = 40;
  for (DWORD row = 0; row < 40; ++row) {
    grid.owner.texts[{row, 0}] = L"Track " + std::to_wstring(row + 1);
    grid.owner.texts[{row, 1}] = L"";
    grid.owner.values[row * 100 + 2] = static_cast<LONG>(row * 9 % 128);
    grid.owner.values[row * 100 + 3] = static_cast<LONG>(row * 23 % 255) - 127;
    grid.owner.values[row * 100 + 4] = static_cast<LONG>(row % 16 + 1);
  }
  grid.owner.decorate = [](DWORD row, DWORD column, ZQSPREADCELL& cell) {
    if (column == 1) cell.flags = static_cast<WORD>(SPCF_FRAMEWIDEN | (row % 2 ? (DFCS_CHECKED >> 8) << 8 : 0));
  };
  grid.Install();
  ZQSPREADMETRICS more{0, -1, 0, 0, -1, 0, 6};
  grid.Send(SPM_SETMETRICS, 0, reinterpret_cast<LPARAM>(&more));
  grid.Send(SPM_SETSORT, 1, 0);
  grid.Send(SPM_SETFOCUSCELL, 2, 0);
  grid.Send(SPM_EXTENDTO, 3, 0);
  Canvas canvas(620, 260);
  Capture(grid, canvas);

  const RECT plain = CellOf(grid, 5, 0), selected = CellOf(grid, 3, 0);
  EXPECT_EQ(canvas.Pixel(plain.right - 4, plain.top + 1), Rgb(GetSysColor(COLOR_WINDOW)));
  // Selected, the grid without the keyboard focus: the button face.
  EXPECT_EQ(canvas.Pixel(selected.right - 4, selected.top + 1), Rgb(GetSysColor(COLOR_BTNFACE)));
  EXPECT_GT(Colours(canvas, plain), 1);  // its text
  // Solid grid lines under the rows and at the columns' right edges.
  EXPECT_EQ(canvas.Pixel(plain.left + 5, plain.bottom - 1), 0xC0C0C0u);
  EXPECT_EQ(canvas.Pixel(plain.right - 1, plain.top + 3), 0xC0C0C0u);
  // Check boxes, faders, trackbars and spinners draw in their cells.
  for (DWORD column = 1; column < 5; ++column) {
    RECT cell = CellOf(grid, 5, column);
    cell.bottom -= 1;
    cell.right -= 1;
    EXPECT_GE(Colours(canvas, cell), 3) << column;
  }
  // The checked and unchecked boxes differ.
  const RECT on = CellOf(grid, 5, 1), off = CellOf(grid, 4, 1);
  int differing = 0;
  for (LONG y = 1; y < on.bottom - on.top - 1; ++y)
    for (LONG x = 1; x < on.right - on.left - 1; ++x)
      differing += canvas.Pixel(on.left + x, on.top + y) != canvas.Pixel(off.left + x, off.top + y);
  EXPECT_GT(differing, 4);
  if (!gridtest::ThemesExpected()) {
    // The classic header: button-face cells with a highlight edge.
    const RECT head = CellOf(grid, ZQSPREAD_HEADER, 0);
    EXPECT_EQ(canvas.Pixel(head.left + 2, head.top + 2), Rgb(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(canvas.Pixel(head.left + 2, head.top), Rgb(GetSysColor(COLOR_BTNHIGHLIGHT)));
  }
  // A line closes the header above the first row, themed or not.
  const LONG headerBottom = Metrics(grid).headerHeight;
  const RECT under = CellOf(grid, ZQSPREAD_HEADER, 2);
  EXPECT_EQ(canvas.Pixel((under.left + under.right) / 2, headerBottom),
            Rgb(GetSysColor(gridtest::ThemesExpected() ? COLOR_BTNSHADOW : COLOR_WINDOWFRAME)));
  EXPECT_EQ(CellOf(grid, 0, 0).top, headerBottom + 1);  // both grid-line styles: the rows leave it
  // Row numbers keep clear of the separator, as header titles do: nothing
  // but the face in the 5 pixels before the row header's edges.
  const LONG rowHeader = Metrics(grid).rowHeaderWidth;
  for (DWORD row = 0; row < 8; ++row) {
    SCOPED_TRACE(row);
    const RECT number = CellOf(grid, row, ZQSPREAD_HEADER);
    EXPECT_EQ(Colours(canvas, RECT{rowHeader - 7, number.top + 1, rowHeader - 2, number.bottom - 1}), 1);
    EXPECT_GT(Colours(canvas, RECT{rowHeader - 7 - 2 * gridtest::CharCell(grid.hwnd()).cx, number.top + 1,
                                   rowHeader - 7, number.bottom - 1}), 1);
  }
  // With the keyboard focus, the selection in the highlight colour.
  SetFocus(grid.hwnd());
  Capture(grid, canvas);
  EXPECT_EQ(canvas.Pixel(selected.right - 4, selected.top + 1), Rgb(GetSysColor(COLOR_HIGHLIGHT)));
  const auto shot = testsupport::SaveWindowScreenshot(grid.parent(), (L"grid_columns_" + gridtest::RunName()).c_str());
  EXPECT_TRUE(shot.saved);
  EXPECT_GT(shot.colours, 8);

  // Freed instances: the control cells show only their background.
  grid.Send(SPM_FREECONTROLS);
  Capture(grid, canvas);
  RECT faderCell = CellOf(grid, 5, 2);
  faderCell.right -= 1;
  faderCell.bottom -= 1;
  EXPECT_EQ(Colours(canvas, faderCell), 1);
}

TEST(GridPaint, EmbeddedControlsOnTheLastUsableRow) {
  ZQSPREADCONTROL fader{};
  fader.kind = SPK_FADER;
  fader.maximum = 100;
  fader.u.fader.style = FADS_THUMB10;
  Grid grid(0, 300, 200, WS_VSCROLL);
  grid.SetColumns({Column(48), Column(-1000, SPC_RIGHT, &fader)}, {L"Row", L"Level"});
  grid.owner.rows = 0x7FFFFFFF;  // taken as ZQSPREAD_MAXROWS rows, one fader each
  grid.owner.values[(ZQSPREAD_MAXROWS - 1) * 100 + 1] = 70;
  grid.Install();
  ASSERT_EQ(grid.Send(SPM_GETROWCOUNT), static_cast<LRESULT>(ZQSPREAD_MAXROWS));
  grid.Send(SPM_SETFOCUSCELL, ZQSPREAD_MAXROWS - 1, 1);
  Canvas canvas(300, 200);
  Capture(grid, canvas);
  RECT cell = CellOf(grid, ZQSPREAD_MAXROWS - 1, 1);
  ASSERT_GT(cell.bottom, cell.top);
  ASSERT_LE(cell.bottom, 200);
  EXPECT_GE(Colours(canvas, RECT{cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1}), 3);
  const auto shot = testsupport::SaveWindowScreenshot(grid.parent(), (L"grid_last_rows_" + gridtest::RunName()).c_str());
  EXPECT_TRUE(shot.saved);
}

namespace {

// Two 16-pixel images: red, then green.
HIMAGELIST RedGreenImages() {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24, 2, 0);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP strip = CreateCompatibleBitmap(screen, 32, 16);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, strip);
  const RECT red{0, 0, 16, 16}, green{16, 0, 32, 16};
  HBRUSH r = CreateSolidBrush(RGB(255, 0, 0)), g = CreateSolidBrush(RGB(0, 255, 0));
  FillRect(dc, &red, r);
  FillRect(dc, &green, g);
  SelectObject(dc, old);
  DeleteObject(r);
  DeleteObject(g);
  DeleteDC(dc);
  ImageList_Add(list, strip, nullptr);
  DeleteObject(strip);
  return list;
}

}  // namespace

TEST(GridPaint, ImageButtonCellsAndRowLinesTheOwnerChooses) {
  HIMAGELIST images = RedGreenImages();
  ASSERT_EQ(ImageList_GetImageCount(images), 2);
  ZQSPREADCONTROL whole{}, rightPart{};
  whole.kind = rightPart.kind = SPK_IMAGEBUTTON;
  whole.u.button = {0, images, 0, 0, 0};
  rightPart.u.button = {SPB_RIGHTPART | SPB_WITHTEXT, images, 20, 0, 1};
  Grid grid(SPS_SOLIDLINES | SPS_VLINES, 400, 220, 0);
  grid.SetColumns({Column(64), Column(24, SPC_LEFT, &whole), Column(-1000, SPC_LEFT, &rightPart)},
                  {L"Name", L"Go", L"Solo"});
  grid.owner.rows = 6;
  grid.Install();
  // The owner draws the line under even rows only.
  std::vector<DWORD> asked;
  grid.answer = [&](const ZQSPREADNM& nm) -> LRESULT {
    if (nm.hdr.code != SPN_ROWLINE) return 0;
    EXPECT_EQ(nm.column, 0u);
    asked.push_back(nm.row);
    return nm.row % 2 == 0;
  };
  grid.Send(SPM_SETEXFLAGS, SPX_ASKLINES);
  Canvas canvas(400, 220);
  Capture(grid, canvas);
  grid.answer = nullptr;
  EXPECT_EQ(std::set<DWORD>(asked.begin(), asked.end()), (std::set<DWORD>{0, 1, 2, 3, 4, 5}));
  for (DWORD row = 0; row < 6; ++row) {
    SCOPED_TRACE(row);
    const RECT name = CellOf(grid, row, 0);
    EXPECT_EQ(canvas.Pixel(name.left + 5, name.bottom - 1),
              row % 2 == 0 ? 0xC0C0C0u : Rgb(GetSysColor(COLOR_WINDOW)));
    // The whole-cell button: image 0 one pixel inside; no text.
    const RECT go = CellOf(grid, row, 1);
    EXPECT_EQ(canvas.Pixel(go.left + 1, go.top + 1), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(go.left + 8, go.top + 8), 0xFF0000u);
    EXPECT_EQ(canvas.Pixel(go.left, go.top + 8), Rgb(GetSysColor(COLOR_WINDOW)));
    // The right-part button: image 1 in its last 20 pixels, the text left of it.
    const RECT solo = CellOf(grid, row, 2);
    const LONG button = solo.right - 1 - 20;  // less the vertical line
    EXPECT_EQ(canvas.Pixel(button + 1, solo.top + 1), 0x00FF00u);
    EXPECT_EQ(canvas.Pixel(button, solo.top + 8), Rgb(GetSysColor(COLOR_WINDOW)));
    EXPECT_GT(Colours(canvas, RECT{solo.left, solo.top, button, solo.bottom - 1}), 1);  // "r<row>c2"
  }
  // A press that started on a cell sinks its button while the pointer is
  // on the button (for the second column only its right part counts).
  const RECT go = CellOf(grid, 2, 1), solo = CellOf(grid, 2, 2);
  const LONG button = solo.right - 1 - 20;
  const DWORD shadow = Rgb(GetSysColor(COLOR_BTNSHADOW));
  auto post = [&](UINT message, WPARAM keys, LONG x, LONG y) {
    PostMessageW(grid.hwnd(), message, keys, MAKELPARAM(x, y));
    controlstest::Pump(5);
    Capture(grid, canvas);
  };
  const LONG y = solo.top + 8;
  ASSERT_NE(canvas.Pixel(button, y), shadow);
  const struct {
    UINT message;
    LONG x;
    bool goSunken, soloSunken;
  } presses[] = {
      {WM_LBUTTONDOWN, button + 10, false, true},  {WM_MOUSEMOVE, solo.left + 5, false, false},
      {WM_MOUSEMOVE, button + 4, false, true},     {WM_LBUTTONUP, button + 4, false, false},
      {WM_LBUTTONDOWN, solo.left + 5, false, false}, {WM_MOUSEMOVE, button + 4, false, true},
      {WM_LBUTTONUP, button + 4, false, false},    {WM_LBUTTONDOWN, go.left + 12, true, false},
      {WM_MOUSEMOVE, go.right + 30, false, false}, {WM_MOUSEMOVE, go.left + 3, true, false},
      {WM_LBUTTONUP, go.left + 3, false, false},
  };
  int step = 0;
  for (const auto& press : presses) {
    SCOPED_TRACE(step++);
    post(press.message, press.message == WM_LBUTTONUP ? 0 : MK_LBUTTON, press.x, y);
    EXPECT_EQ(canvas.Pixel(button, y) == shadow, press.soloSunken);
    EXPECT_EQ(canvas.Pixel(go.left, y) == shadow, press.goSunken);
    if (step == 1) {
      EXPECT_TRUE(testsupport::SaveWindowScreenshot(grid.parent(), (L"grid_image_button_pressed_" + gridtest::RunName()).c_str()).saved);
    }
  }
  EXPECT_EQ(GetCapture(), nullptr);
  const auto shot = testsupport::SaveWindowScreenshot(grid.parent(), (L"grid_image_buttons_" + gridtest::RunName()).c_str());
  EXPECT_TRUE(shot.saved);
  ImageList_Destroy(images);
}

namespace {

int CALLBACK StepText(const ZQSPREADCONTROL*, LONG value, LPWSTR text, int capacity) {
  return swprintf(text, static_cast<size_t>(capacity), L"%ld", static_cast<long>(value));
}

}  // namespace

TEST(GridPaint, ARowLooksFreshlyPaintedAfterAThumbDrag) {
  // A mix grid's volume column, the last one: a trackbar per row with the
  // value text beside it; dotted grid lines.
  ZQSPREADCONTROL volume{};
  volume.kind = SPK_TRACKBAR;
  volume.minimum = -127;
  volume.maximum = 127;
  volume.u.trackbar.style = 0x608;
  volume.u.trackbar.textWidth = 28;
  volume.u.trackbar.format = StepText;
  Grid grid(SPS_EDITOR | SPS_HLINES | SPS_VLINES | SPS_MULTIROW, 420, 200, WS_BORDER | WS_VSCROLL);
  grid.SetColumns({Column(96, SPC_LEFT | SPC_EDITABLE), Column(-1000, SPC_CENTER | SPC_EDITABLE, &volume)},
                  {L"Name", L"Volume"});
  grid.owner.rows = 6;
  // The owner keeps what the trackbar reports.
  grid.owner.setCellResult = SPR_ROW;
  grid.owner.decorate = [&](DWORD row, DWORD column, ZQSPREADCELL& cell) {
    if (column == 1 && row == 2 && !grid.owner.lastSet.empty()) cell.value = _wtol(grid.owner.lastSet.c_str());
  };
  grid.Install();
  grid.Send(SPM_SETEXFLAGS, SPX_DISCONTIGUOUS);
  const RECT cell = CellOf(grid, 2, 1);
  const LONG y = (cell.top + cell.bottom) / 2;
  const LONG x = (cell.left + cell.right - 28 - 20) / 2;  // the thumb, at the centre value
  auto post = [&](UINT message, WPARAM keys, LONG px) {
    PostMessageW(grid.hwnd(), message, keys, MAKELPARAM(px, y));
    controlstest::Pump(5);
  };
  post(WM_MOUSEMOVE, 0, x);
  post(WM_LBUTTONDOWN, MK_LBUTTON, x);
  for (LONG step = 1; step <= 6; ++step) post(WM_MOUSEMOVE, MK_LBUTTON, x + step * 5);
  post(WM_LBUTTONUP, 0, x + 30);
  post(WM_MOUSEMOVE, 0, x + 30);
  ASSERT_GT(_wtol(grid.owner.lastSet.c_str()), 0);
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(2, 1));
  ASSERT_EQ(GetFocus(), grid.hwnd());  // the dragged cell in the highlight colour
  // The screen as the drag left it, then as a full repaint draws it.
  Canvas after(420, 200), fresh(420, 200);
  controlstest::Pump(20);
  HDC dc = GetDC(grid.hwnd());
  BitBlt(after.dc(), 0, 0, after.width(), after.height(), dc, 0, 0, SRCCOPY);
  ReleaseDC(grid.hwnd(), dc);
  Capture(grid, fresh);
  int differing = 0;
  for (LONG py = 0; py < after.height(); ++py)
    for (LONG px = 0; px < after.width(); ++px) differing += after.Pixel(px, py) != fresh.Pixel(px, py);
  EXPECT_EQ(differing, 0);
  // The grid lines of the dragged row are those of any other row: the line
  // under it, and the line right of its first cell (the focus mark frames
  // the second).
  const RECT other = CellOf(grid, 4, 1), name = CellOf(grid, 2, 0);
  const LONG down = other.top - cell.top;
  for (LONG px = name.left; px < cell.right; ++px) {
    SCOPED_TRACE(px);
    ASSERT_EQ(after.Pixel(px, cell.bottom - 1), after.Pixel(px, other.bottom - 1));
  }
  for (LONG py = cell.top; py < cell.bottom; ++py) {
    SCOPED_TRACE(py);
    ASSERT_EQ(after.Pixel(name.right - 1, py), after.Pixel(name.right - 1, py + down));
  }
  const std::wstring shot = L"grid_after_thumb_drag_" + gridtest::RunName();
  EXPECT_TRUE(testsupport::SaveWindowScreenshot(grid.parent(), shot.c_str()).saved);
}
