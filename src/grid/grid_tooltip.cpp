// Tooltips of the grid (style 0x0080): the full text of a cell whose text,
// indent and margin do not fit its column, shown over the cell while the
// pointer rests on it.
#include <algorithm>

#include "grid/grid_internal.h"

namespace zq::controls::grid {
namespace {

bool Descendant(HWND window, HWND of) {
  return of && (window == of || IsChild(of, window));
}

// Remembers the cell a check failed on for a reason that will not change
// while the pointer stays there.
void Remember(Grid& g, DWORD row, DWORD column) {
  g.tooltipRow = row;
  g.tooltipColumn = column;
  g.tooltipValid = TRUE;
}

}  // namespace

void DestroyTooltip(Grid& g) {
  if (g.tooltip) DestroyWindow(g.tooltip);
  g.tooltip = nullptr;
  if (g.tooltipTimer) KillTimer(g.window, kTooltipTimer);
  g.tooltipTimer = FALSE;
}

void UpdateTooltip(Grid& g) {
  if (!(g.style & SPS_TOOLTIPS)) return;
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(g.window, &p);
  RECT client;
  GetClientRect(g.window, &client);
  const DWORD hit = HitTest(g, p, false);
  const DWORD row = LOWORD(hit), column = HIWORD(hit);
  if (g.tooltipValid && row == g.tooltipRow && column == g.tooltipColumn) return;
  g.tooltipValid = FALSE;
  if (!PtInRect(&client, p) || row == 0xFFFF || column == 0xFFFF || row >= static_cast<DWORD>(g.rowCount) ||
      !g.columns || column >= static_cast<DWORD>(g.columnCount)) {
    DestroyTooltip(g);
    return;
  }
  if (!Descendant(g.window, GetActiveWindow()) || GetCapture() || (g.editState != kIdle && g.editState != kControlEdit)) {
    DestroyTooltip(g);
    Remember(g, row, column);
    return;
  }
  const ZQSPREADCELL* cell = GetCell(g, row, column, SPF_DISPLAY);
  HFONT font = (cell->flags & SPCF_FONT) && cell->font ? cell->font : g.font;
  HDC dc = GetDC(g.window);
  HGDIOBJ old = SelectObject(dc, font);
  const int length = CopyToText(g, cell->text, cell->text ? cell->length : 0);
  SIZE size{};
  GetTextExtentPoint32W(dc, g.text, length, &size);
  SelectObject(dc, old);
  ReleaseDC(g.window, dc);
  LONG needed = size.cx + std::max<LONG>(cell->indent, 0) + 6;
  if ((g.columns[column].flags & SPC_BUTTON) && (SPCF_FRAMETYPE(cell->flags) || (cell->flags & SPCF_FRAMEWIDEN)))
    needed += 2 * g.rowHeight;
  if (length == 0 || needed <= g.columns[column].width) {
    DestroyTooltip(g);
    return;
  }
  TOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
  info.hwnd = g.window;
  info.uId = reinterpret_cast<UINT_PTR>(g.window);
  info.lpszText = g.text;
  const bool created = !g.tooltip;
  if (created) {
    g.tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, g.window, nullptr,
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(g.window, GWLP_HINSTANCE)), nullptr);
    if (!g.tooltip) return;
  }
  SendMessageW(g.tooltip, created ? TTM_ADDTOOLW : TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(g.tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  const RECT r = CellRect(g, row, column);
  POINT at{r.left + 1 + std::max<LONG>(cell->indent, 0),
           g.headerHeight + (static_cast<LONG>(row) - g.vscroll.pos + 1) * g.rowHeight - size.cy - 3 -
               ((g.style & SPS_HLINES) ? 1 : 0)};
  ClientToScreen(g.window, &at);
  SendMessageW(g.tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(g.tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
  g.tooltipTimer = SetTimer(g.window, kTooltipTimer, 5000, nullptr) != 0;
}

}  // namespace zq::controls::grid
