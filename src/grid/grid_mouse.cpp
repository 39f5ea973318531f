// The grid under the mouse: hit zones chosen on WM_NCHITTEST, the cursor,
// and the handlers of the four zones (column resize, cells, column header,
// row header), embedded controls that own the mouse while pressed, and the
// auto-scroll timers 1 and 2.
#include <algorithm>

#include "grid/grid_internal.h"
#include "zq/ui.h"

namespace zq::controls::grid {
namespace {

constexpr UINT_PTR kHeaderScrollTimer = 1, kCellScrollTimer = 2;
constexpr UINT kScrollInterval = 100;

enum Zone : LONG { kCells = 0, kResize = 1, kColumnHeader = 2, kRowHeader = 3 };

// The embedded control that owns the mouse while a button is down: one for
// the whole process.
struct MouseOwner {
  HWND grid;
  DWORD row, column;
  bool leftOnly;
} g_owner{};

POINT PointOf(LPARAM lParam) { return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))}; }

DWORD RowAt(const Grid& g, POINT p) { return LOWORD(HitTest(g, p, false)); }
DWORD ColumnAt(const Grid& g, POINT p) {
  const DWORD c = HIWORD(HitTest(g, p, false));
  return c == 0xFFFF ? kHeader : c;
}

RECT ScrollableCells(const Grid& g) {
  RECT r = g.cellArea;
  LONG fixed = 0;
  for (LONG c = 0; c < g.frozen && c < g.columnCount; ++c) fixed += g.columns[c].width;
  r.left = std::min(r.right, r.left + fixed);
  return r;
}

void StartDragThreshold(Grid& g, POINT p) {
  const LONG dx = (GetSystemMetrics(SM_CXDRAG) + 1) / 2, dy = (GetSystemMetrics(SM_CYDRAG) + 1) / 2;
  g.dragRect = RECT{p.x - dx, p.y - dy, p.x + dx, p.y + dy};
}

LRESULT ControlMessage(Grid& g, DWORD row, DWORD column, UINT message, WPARAM wParam, LPARAM lParam) {
  void* inst = InstanceOf(g, row, column);
  if (!inst) return 0;
  switch (g.columns[column].control->kind) {
    case SPK_FADER: return FaderInst_Message(static_cast<ZQFADERINST*>(inst), message, wParam, lParam);
    case SPK_SPINNER: return SpinnerInst_Message(static_cast<ZQSPINNERINST*>(inst), message, wParam, lParam);
    case SPK_TRACKBAR: return TrackbarInst_Message(static_cast<ZQTRACKBARINST*>(inst), message, wParam, lParam);
  }
  return 0;
}

bool IsControlColumn(const Grid& g, DWORD column) {
  if (!g.columns || column >= static_cast<DWORD>(g.columnCount)) return false;
  const ZQSPREADCONTROL* d = g.columns[column].control;
  return d && (d->kind == SPK_FADER || d->kind == SPK_SPINNER || d->kind == SPK_TRACKBAR);
}

// A button-column cell or an image button: the cells a click presses.
bool IsButtonCell(const Grid& g, DWORD row, DWORD column) {
  if (IsButtonColumn(g, column)) return true;
  const RECT image = ImageButtonArea(g, column, CellRect(g, row, column));
  return !IsRectEmpty(&image);
}

// The value text beside a trackbar (double-clicks there are the grid's).
bool OnTrackbarValue(const Grid& g, DWORD column, POINT p) {
  const ZQSPREADCONTROL* d = g.columns[column].control;
  if (!d || d->kind != SPK_TRACKBAR || !(g.style & SPS_EDITOR) || !(g.columns[column].flags & SPC_EDITABLE))
    return false;
  LONG left, right;
  if (!ColumnSpan(g, column, &left, &right)) return false;
  const LONG width = (column < static_cast<DWORD>(g.controlCapacity) ? g.controls[column].textWidth : 0) + 3;
  return (g.columns[column].flags & SPC_ALIGNMASK) == SPC_LEFT ? p.x < left + width : p.x >= right - width;
}

// Zone 1: the inverted bar that follows a resize.
void DrawResizeBar(Grid& g) {
  if (g.resizeX < 0) return;
  HDC dc = GetDC(g.window);
  HGDIOBJ old = SelectObject(dc, ZqGetUIBrush(COLOR_WINDOWTEXT));
  PatBlt(dc, g.resizeX - 1, 0, 3, ClientHeight(g), PATINVERT);
  SelectObject(dc, old);
  ReleaseDC(g.window, dc);
}

void EndResize(Grid& g, bool apply, POINT p) {
  DrawResizeBar(g);
  const LONG x = g.resizeX;
  g.resizeX = -1;
  ClipCursor(nullptr);
  g.mouseState &= ~kMouseResize;
  if (!apply || g.zoneColumn < 0 || g.zoneColumn >= g.columnCount) return;
  LONG left, right;
  if (!ColumnSpan(g, static_cast<DWORD>(g.zoneColumn), &left, &right)) return;
  const LONG width = std::max<LONG>(x - g.resizeOffset - left, 0);
  if (width == g.columns[g.zoneColumn].width) return;
  (void)p;
  SetColumnPixelWidth(g, g.columns[g.zoneColumn], width);
  g.layoutDirty = TRUE;
  Repaint(g);
}

void AutoFit(Grid& g, DWORD column) {
  LONG width = g.iface.autoFit(&g.iface, column);
  if (width == 0) {
    HDC dc = GetDC(g.window);
    const LPCWSTR title = g.headers ? g.headers + g.columns[column].headerOffset : L"";
    width = MeasureText(g, dc, title, static_cast<LONG>(wcscspn(title, L"\n")), nullptr) + 6;
    const LONG rows = std::min<LONG>(g.rowCount, g.vscroll.pos + VisibleRows(g) + 1);
    for (LONG r = g.vscroll.pos; r < rows; ++r) {
      const ZQSPREADCELL* c = GetCell(g, static_cast<DWORD>(r), column, SPF_DISPLAY);
      const LONG w = MeasureText(g, dc, c->text, c->text ? c->length : 0,
                                 (c->flags & SPCF_FONT) ? c->font : nullptr) + std::max<LONG>(c->indent, 0) + 6;
      width = std::max(width, w);
    }
    ReleaseDC(g.window, dc);
  }
  SetColumnPixelWidth(g, g.columns[column], std::max<LONG>(width, 8));
  g.layoutDirty = TRUE;
  Repaint(g);
}

bool ResizeHandler(Grid& g, UINT message, WPARAM wParam, POINT p) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      if (g.zoneColumn < 0) return true;
      if (wParam & MK_SHIFT) {
        // The last column right of the border that is nearly closed.
        for (LONG c = g.zoneColumn + 1; c < g.columnCount && g.columns[c].width < 2; ++c) g.zoneColumn = c;
      }
      SetCapture(g.window);
      LONG left, right;
      ColumnSpan(g, static_cast<DWORD>(g.zoneColumn), &left, &right);
      RECT confine{left + ((wParam & MK_SHIFT) ? 0 : 4), 0, ClientWidth(g), ClientHeight(g)};
      MapWindowPoints(g.window, nullptr, reinterpret_cast<POINT*>(&confine), 2);
      ClipCursor(&confine);
      g.mouseState |= kMouseResize | kMouseLeft;
      g.resizeX = p.x;
      DrawResizeBar(g);
      return true;
    }
    case WM_MOUSEMOVE:
      if (!(g.mouseState & kMouseResize)) return true;
      DrawResizeBar(g);
      g.resizeX = std::max(p.x, 0L);
      DrawResizeBar(g);
      return true;
    case WM_LBUTTONUP:
      if (g.mouseState & kMouseResize) {
        EndResize(g, true, p);
        ReleaseCapture();
      }
      g.mouseState = 0;
      return true;
    case WM_LBUTTONDBLCLK:
      if (g.zoneColumn >= 0) AutoFit(g, static_cast<DWORD>(g.zoneColumn));
      return true;
  }
  return true;
}

// Zone 0: presses, drags, releases and double-clicks on the cells.
bool CellHandler(Grid& g, UINT message, WPARAM wParam, POINT p) {
  const bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_LBUTTONDBLCLK;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      if (g.rowCount == 0 && !(g.derived & SPD_APPENDROW)) return true;
      SetFocus(g.window);
      const DWORD row = ClampRow(g, RowAt(g, p), false), column = ClampColumn(g, ColumnAt(g, p), false);
      if (left && !(g.exFlags & SPX_SIMPLEMOUSE) && IsControlColumn(g, column) && row < static_cast<DWORD>(g.rowCount)) {
        SetFocusCell(g, row, column, true, true);
        g_owner = MouseOwner{g.window, row, column, g.columns[column].control->kind == SPK_SPINNER};
        g.editState = kControlEdit;
        PlaceControl(g, row, column);
        ControlMessage(g, row, column, WM_LBUTTONDOWN, wParam, MAKELPARAM(p.x, p.y));
        return true;
      }
      SetCapture(g.window);
      g.press = p;
      g.pressRow = row;
      g.pressColumn = column;
      g.mouseState = kMousePressed | (left ? kMouseLeft : kMouseRight) | ((wParam & MK_CONTROL) ? DWORD{kMouseCtrl} : 0u) |
                     ((wParam & MK_SHIFT) ? DWORD{kMouseShift} : 0u);
      if ((wParam & MK_SHIFT) && MultiSelect(g)) {
        DropOtherRanges(g);
        SetFocusCell(g, row, column, false, true);
        ExtendTo(g, row, column);
      } else if ((g.exFlags & SPX_DISCONTIGUOUS) && (wParam & MK_CONTROL)) {
        // The release decides.
      } else if ((g.exFlags & SPX_DRAGCELLS) && CellSelected(g, row, column)) {
        g.mouseState |= kMouseDeferred;
        SetFocusCell(g, row, column, false, true);
      } else {
        SetFocusCell(g, row, column, true, true);
      }
      EnsureVisible(g, row, column);
      if (left && IsButtonColumn(g, column)) {
        g.mouseState |= kMouseButton | kMouseButtonInside;
        InvalidateCell(g, row, column, false);
        Notify(g, SPN_BUTTONIN, row, column, p.x, p.y);
      }
      const RECT image = ImageButtonArea(g, column, CellRect(g, row, column));
      if (left && !IsRectEmpty(&image)) {
        g.mouseState |= kMouseImage | (PtInRect(&image, p) ? DWORD{kMouseImageInside} : 0u);
        InvalidateCell(g, row, column, false);
      }
      StartDragThreshold(g, p);
      const RECT scrollable = ScrollableCells(g);
      RECT area = PtInRect(&scrollable, p) ? scrollable : (PtInRect(&g.cellArea, p) ? g.cellArea : RECT{});
      if (!IsRectEmpty(&area)) InflateRect(&area, -1, -1);
      g.autoScrollRect = area;
      return true;
    }
    case WM_MOUSEMOVE: {
      if (!(g.mouseState & kMousePressed) || GetCapture() != g.window) return true;
      if (!(g.mouseState & kMouseDrag) && !PtInRect(&g.dragRect, p)) {
        g.mouseState |= kMouseDrag;
        if ((g.exFlags & SPX_DRAGCELLS) && (g.mouseState & kMouseDeferred)) {
          const int code = (g.mouseState & kMouseLeft) ? SPN_BEGINDRAG : SPN_BEGINRDRAG;
          if (!Notify(g, code, g.pressRow, g.pressColumn, p.x, p.y)) g.mouseState |= kMouseRefused;
          return true;
        }
      }
      if (g.mouseState & kMouseImage) {
        const RECT image = ImageButtonArea(g, g.pressColumn, CellRect(g, g.pressRow, g.pressColumn));
        if ((PtInRect(&image, p) != FALSE) != ((g.mouseState & kMouseImageInside) != 0)) {
          g.mouseState ^= kMouseImageInside;
          InvalidateCell(g, g.pressRow, g.pressColumn, false);
        }
      }
      if (g.mouseState & kMouseButton) {
        const RECT cell = CellRect(g, g.pressRow, g.pressColumn);
        const bool inside = PtInRect(&cell, p) != FALSE;
        if (inside != ((g.mouseState & kMouseButtonInside) != 0)) {
          g.mouseState ^= kMouseButtonInside;
          InvalidateCell(g, g.pressRow, g.pressColumn, false);
          Notify(g, inside ? SPN_BUTTONIN : SPN_BUTTONOUT, g.pressRow, g.pressColumn, p.x, p.y);
        }
        return true;
      }
      if (MultiSelect(g) && !(g.mouseState & kMouseDeferred) && !(g.mouseState & kMouseCtrl)) {
        const DWORD row = ClampRow(g, RowAt(g, p), false), column = ClampColumn(g, ColumnAt(g, p), false);
        SetFocusCell(g, row, column, false, false);
        ExtendTo(g, row, column);
      }
      if (!IsRectEmpty(&g.autoScrollRect) && !PtInRect(&g.autoScrollRect, p) && !g.autoScrolling) {
        g.autoScrolling = TRUE;
        SetTimer(g.window, kCellScrollTimer, kScrollInterval, nullptr);
      }
      return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      if (!(g.mouseState & kMousePressed)) return true;
      const DWORD state = g.mouseState;
      g.mouseState = 0;
      if (GetCapture() == g.window) ReleaseCapture();
      const DWORD row = g.pressRow, column = g.pressColumn;
      if ((g.exFlags & SPX_DISCONTIGUOUS) && (state & kMouseCtrl) && !(state & kMouseDrag)) {
        ToggleCell(g, row, column);
        ApplyRefresh(g, row, column, SPR_CELL | SPR_TOLEFT | SPR_TOTOP);
        SetFocusCell(g, row, column, false, false);
        Notify(g, SPN_FOCUSCHANGED, g.focusRow, g.focusColumn);
        Notify(g, SPN_SELCHANGED, g.focusRow, g.focusColumn);
      } else if (state & kMouseDeferred) {
        if (!(state & kMouseDrag) || (state & kMouseRefused)) SetFocusCell(g, row, column, true, true);
      }
      if (state & kMouseImage) InvalidateCell(g, row, column, false);
      if (left && (state & kMouseButton)) {
        if (state & kMouseButtonInside)
          Notify(g, (state & kMouseDrag) ? SPN_BUTTONDRAGCLICK : SPN_BUTTONCLICK, row, column, p.x, p.y);
        InvalidateCell(g, row, column, false);
      }
      if (!left) Notify(g, SPN_RCLICK, row, column, g.press.x, g.press.y);
      return true;
    }
    case WM_LBUTTONDBLCLK: {
      const DWORD row = RowAt(g, p), column = ColumnAt(g, p);
      if (!(g.exFlags & SPX_SIMPLEMOUSE) && IsControlColumn(g, column) && row < static_cast<DWORD>(g.rowCount) &&
          !OnTrackbarValue(g, column, p)) {
        PlaceControl(g, row, column);
        ControlMessage(g, row, column, message, wParam, MAKELPARAM(p.x, p.y));
        return true;
      }
      // On a button the second click of a double-click is a press of its
      // own, so two quick clicks act twice.
      if (row < static_cast<DWORD>(g.rowCount) && IsButtonCell(g, row, column))
        CellHandler(g, WM_LBUTTONDOWN, wParam, p);
      Notify(g, SPN_DBLCLK, row, column, p.x, p.y);
      return true;
    }
  }
  return true;
}

// Zones 2 and 3: the column header (columns) or the row header (rows).
bool HeaderHandler(Grid& g, UINT message, WPARAM wParam, POINT p, bool columns) {
  const DWORD selectStyle = columns ? SPS_COLUMNSELECT : SPS_ROWSELECT;
  const DWORD dragStyle = columns ? SPS_DRAGCOLUMNS : SPS_DRAGROWS;
  const DWORD index = columns ? ClampColumn(g, ColumnAt(g, p), false) : ClampRow(g, RowAt(g, p), false);
  auto selected = [&](DWORD i) { return columns ? ColumnSelected(g, i) : RowSelected(g, i); };
  auto select = [&](DWORD i, bool extend) {
    if (extend) {
      SetFocusCell(g, columns ? kHeader : i, columns ? i : kHeader, false, true);
      ExtendTo(g, columns ? kHeader : i, columns ? i : kHeader);
    } else {
      SetFocusCell(g, columns ? kHeader : i, columns ? i : kHeader, true, true);
    }
  };
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      SetFocus(g.window);
      SetCapture(g.window);
      g.press = p;
      if (columns) g.pressColumn = index;
      else g.pressRow = index;
      g.mouseState = kMousePressed | (message == WM_LBUTTONDOWN ? kMouseLeft : kMouseRight);
      StartDragThreshold(g, p);
      if (message == WM_RBUTTONDOWN) {
        if ((g.style & selectStyle) && !selected(index)) select(index, false);
        return true;
      }
      if (g.style & selectStyle) {
        if ((wParam & MK_SHIFT) && MultiSelect(g)) select(index, true);
        else if ((g.style & dragStyle) && selected(index)) g.mouseState |= kMousePrepared;
        else select(index, false);
      } else if (g.style & dragStyle) {
        g.mouseState |= kMousePrepared;
      }
      if (g.mouseState & kMousePrepared) {
        const ZQSPREADRANGE r = SelectionArgument(g);
        const bool wide = columns ? r.anchorColumn != r.endColumn : r.anchorRow != r.endRow;
        g.dropCursor = ZqGetUICursor(columns ? (wide ? 19 : 18) : (wide ? 21 : 20));
      }
      g.autoScrollRect = g.cellArea;
      return true;
    }
    case WM_MOUSEMOVE: {
      if (!(g.mouseState & kMousePressed) || GetCapture() != g.window) return true;
      if ((g.mouseState & kMousePrepared) && !(g.mouseState & kMouseDrag) && !PtInRect(&g.dragRect, p)) {
        g.mouseState |= kMouseDrag;
        if (!Notify(g, SPN_BEGINDRAG, columns ? kHeader : g.pressRow, columns ? g.pressColumn : kHeader, p.x, p.y) &&
            !columns)
          g.mouseState |= kMouseRefused;
      }
      if (g.mouseState & kMouseDrag) {
        const bool onBand = columns ? p.y >= 0 && p.y < g.headerHeight + 1 : p.x >= 0 && p.x < g.rowHeaderWidth;
        SetCursor(onBand && !(g.mouseState & kMouseRefused) ? g.dropCursor
                  : (g.exFlags & SPX_REFUSEDCURSOR)          ? ZqGetUICursor(26)
                                                             : LoadCursorW(nullptr, IDC_NO));
      } else if ((g.style & selectStyle) && MultiSelect(g) && (g.mouseState & kMouseLeft)) {
        select(index, true);
      }
      if (!PtInRect(&g.autoScrollRect, p) && !g.autoScrolling) {
        g.autoScrolling = TRUE;
        SetTimer(g.window, kHeaderScrollTimer, kScrollInterval, nullptr);
      }
      return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      if (!(g.mouseState & kMousePressed)) return true;
      const DWORD state = g.mouseState;
      g.mouseState = 0;
      if (GetCapture() == g.window) ReleaseCapture();
      const DWORD pressed = columns ? g.pressColumn : g.pressRow;
      if (message == WM_RBUTTONUP) {
        Notify(g, SPN_RCLICK, columns ? kHeader : pressed, columns ? pressed : kHeader, g.press.x, g.press.y);
        return true;
      }
      if ((state & kMouseDrag) && !(state & kMouseRefused)) {
        if (columns) {
          const bool onBand = p.y >= 0 && p.y < g.headerHeight + 1;
          NotifyDrag(g, pressed, onBand ? index : kHeader, p);
        } else {
          const DWORD insert = LOWORD(HitTest(g, p, true));
          Notify(g, SPN_ROWDROP, std::min<DWORD>(insert, static_cast<DWORD>(g.rowCount)), kHeader, p.x, p.y);
        }
      } else if (index == pressed) {
        if (columns) Notify(g, SPN_HEADERCLICK, kHeader, index, p.x, p.y);
      } else if (MultiSelect(g) && (g.style & selectStyle)) {
        select(index, true);
      }
      return true;
    }
    case WM_LBUTTONDBLCLK:
      Notify(g, columns ? SPN_COLHEADERDBLCLK : SPN_ROWHEADERDBLCLK, columns ? kHeader : index, columns ? index : kHeader,
             p.x, p.y);
      return true;
  }
  return true;
}

}  // namespace

LRESULT HitZone(Grid& g, POINT p) {
  EnsureLayout(g);
  g.zoneColumn = -1;
  g.resizeOffset = 0;
  const bool inHeader = !(g.derived & SPD_NOHEADER) && p.y < g.headerHeight + 1;
  if (p.x < g.rowHeaderWidth) {
    g.zone = kRowHeader;
    return g.zone;
  }
  g.zone = inHeader ? kColumnHeader : kCells;
  const bool resizable = (g.style & SPS_RESIZECOLUMNS) != 0;
  LONG x = g.rowHeaderWidth, last = -1;
  for (LONG c = 0; g.columns && c < g.columnCount; ++c) {
    if (c >= g.frozen && c < g.hscroll.pos) continue;
    const LONG w = g.columns[c].width;
    const LONG r = x + w;
    x = r;
    if (w <= 0) continue;
    last = c;
    if (inHeader && resizable && p.x - r >= -1 && p.x - r <= 2) {
      g.zone = kResize;
      g.zoneColumn = c;
      g.resizeOffset = p.x - r;
      return g.zone;
    }
    if (p.x < (resizable ? r - 1 : r + 1)) {
      g.zoneColumn = c;
      return g.zone;
    }
  }
  g.zoneColumn = last;
  return g.zone;
}

bool ControlOwnsMouse(const Grid& g) { return g_owner.grid == g.window; }

void CancelMouse(Grid& g) {
  if (g_owner.grid == g.window) {
    g_owner = MouseOwner{};
    if (g.editState == kControlEdit) g.editState = kIdle;
  }
  if (g.mouseState & kMouseResize) EndResize(g, false, POINT{});
  if (g.autoScrolling) {
    KillTimer(g.window, kHeaderScrollTimer);
    KillTimer(g.window, kCellScrollTimer);
    g.autoScrolling = FALSE;
  }
  if (g.mouseState & (kMouseButton | kMouseImage)) InvalidateCell(g, g.pressRow, g.pressColumn, false);
  g.mouseState = 0;
  if (GetCapture() == g.window) ReleaseCapture();
}

bool HandleMouse(Grid& g, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  const POINT p = PointOf(lParam);
  UpdateAreas(g);
  // A pressed embedded control receives everything until its button is up.
  if (g_owner.grid == g.window) {
    ControlMessage(g, g_owner.row, g_owner.column, message, wParam, lParam);
    const bool up = message == WM_LBUTTONUP || (!g_owner.leftOnly && message == WM_RBUTTONUP);
    if (up) {
      g_owner = MouseOwner{};
      if (g.editState == kControlEdit) g.editState = kIdle;
    }
    return true;
  }
  if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_LBUTTONDBLCLK ||
      (GetCapture() != g.window && message == WM_MOUSEMOVE))
    if (GetCapture() != g.window) HitZone(g, p);
  switch (g.zone) {
    case kResize: return ResizeHandler(g, message, wParam, p);
    case kColumnHeader: return HeaderHandler(g, message, wParam, p, true);
    case kRowHeader: return HeaderHandler(g, message, wParam, p, false);
    default: return CellHandler(g, message, wParam, p);
  }
}

// Timers 1 and 2: one step toward the pointer while it is outside the
// auto-scroll rectangle.
void AutoScrollTimer(Grid& g, UINT_PTR timer) {
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(g.window, &p);
  if (!g.autoScrolling || PtInRect(&g.autoScrollRect, p)) {
    KillTimer(g.window, timer);
    g.autoScrolling = FALSE;
    return;
  }
  const bool rows = g.style & (SPS_MULTIROW | SPS_DRAGROWS), cols = g.style & (SPS_MULTICOLUMN | SPS_DRAGCOLUMNS);
  DWORD row, column;
  if (timer == kCellScrollTimer) {
    const LONG i = FocusRangeIndex(g);
    row = i >= 0 ? Ranges(g)[i].endRow : g.focusRow;
    column = i >= 0 ? Ranges(g)[i].endColumn : g.focusColumn;
  } else {
    row = p.y > g.autoScrollRect.bottom ? static_cast<DWORD>(g.vscroll.pos + VisibleRows(g) - 1)
                                         : static_cast<DWORD>(g.vscroll.pos);
    column = p.x > g.autoScrollRect.right ? static_cast<DWORD>(g.hscroll.pos + g.hscroll.page - 1)
                                           : static_cast<DWORD>(g.hscroll.pos);
  }
  if (IsHeaderIndex(row)) row = static_cast<DWORD>(g.vscroll.pos);
  if (IsHeaderIndex(column)) column = static_cast<DWORD>(g.hscroll.pos);
  if (rows && p.y >= g.autoScrollRect.bottom) row = std::min<DWORD>(row + 1, LastRow(g));
  else if (rows && p.y < g.autoScrollRect.top) row = row == 0 ? kHeader : row - 1;
  if (cols && p.x >= g.autoScrollRect.right) {
    const DWORD lastColumn = static_cast<DWORD>(g.columnCount - ((g.derived & SPD_PASTLASTCOLUMN) ? 0 : 1));
    column = std::min<DWORD>(column + 1, lastColumn);
  } else if (cols && p.x < g.autoScrollRect.left) {
    if (static_cast<LONG>(column) <= g.frozen) {
      KillTimer(g.window, timer);
      g.autoScrolling = FALSE;
      if (timer == kCellScrollTimer && (g.style & SPS_MULTICOLUMN)) ExtendTo(g, row, ClampColumn(g, ColumnAt(g, p), false));
      return;
    }
    column -= 1;
  }
  EnsureVisible(g, row, column);
  if (timer == kCellScrollTimer && MultiSelect(g)) {
    SetFocusCell(g, IsHeaderIndex(row) ? 0 : row, column, false, false);
    ExtendTo(g, IsHeaderIndex(row) ? 0 : row, column);
  }
}

}  // namespace zq::controls::grid
