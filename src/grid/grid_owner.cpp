// The grid's owner: the interface record with the defaults of its null
// callbacks, the notifications, refresh flags and the coalesced re-reading
// of the row count.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "grid/grid_internal.h"

namespace zq::controls::grid {
namespace {

ZQSPREADCELL emptyCell{L"", 0, 0, 0, 0, 0, nullptr, nullptr, 0, 0, 0};
const ZQSPREADROW emptyRow{0, 0};

LONG CALLBACK DefaultRowCount(ZQSPREADIFACE* owner) { return owner->rowCount; }
const ZQSPREADCELL* CALLBACK DefaultCell(ZQSPREADIFACE*, DWORD, DWORD, int) { return &emptyCell; }
BOOL CALLBACK DefaultMayEdit(ZQSPREADIFACE*, DWORD, DWORD, LPARAM) { return FALSE; }
DWORD CALLBACK DefaultSetCell(ZQSPREADIFACE*, DWORD, DWORD, int, LPARAM) { return 0; }
const ZQSPREADROW* CALLBACK DefaultRow(ZQSPREADIFACE*, DWORD) { return &emptyRow; }
LONG CALLBACK DefaultQueryCommand(ZQSPREADIFACE*, const ZQSPREADRANGE*, UINT* formats, int capacity, UINT) {
  if (formats && capacity > 0) formats[0] = 0;
  return 0;
}
LRESULT CALLBACK DefaultDoCommand(ZQSPREADIFACE*, const ZQSPREADRANGE*, UINT, const ZQSPREADDATA*, UINT) { return 0; }

// The row number plus one, written into the grid's text buffer through the
// record's own pointer to it.
const ZQSPREADCELL* CALLBACK DefaultHeaderCell(ZQSPREADIFACE* owner, DWORD index, DWORD kind, LPARAM) {
  static ZQSPREADCELL cell;
  cell = emptyCell;
  if (kind == ZQSPREAD_HEADER && owner->text && owner->textSize > 0) {
    const int n = std::snprintf(nullptr, 0, "%lu", static_cast<unsigned long>(index) + 1);
    char digits[16];
    std::snprintf(digits, sizeof(digits), "%lu", static_cast<unsigned long>(index) + 1);
    const int kept = std::min(n, static_cast<int>(owner->textSize) - 1);
    for (int i = 0; i < kept; ++i) owner->text[i] = static_cast<WCHAR>(digits[i]);
    owner->text[kept] = 0;
    cell.text = owner->text;
    cell.length = kept;
  }
  return &cell;
}

BOOL CALLBACK DefaultKeyHook(ZQSPREADIFACE*, const ZQSPREADRANGE* range, UINT, WPARAM, LPARAM) {
  if (!range) return FALSE;
  return IsHeaderIndex(range->anchorRow) || IsHeaderIndex(range->anchorColumn) ||
         range->anchorColumn != range->endColumn;
}
DWORD CALLBACK DefaultRowRepaint(ZQSPREADIFACE*, DWORD, DWORD) { return SPR_ROW; }
LONG CALLBACK DefaultAutoFit(ZQSPREADIFACE*, DWORD) { return 0; }

template <typename T>
void Default(T& slot, T value) {
  if (!slot) slot = value;
}

}  // namespace

void InstallOwner(Grid& g, const ZQSPREADIFACE* record) {
  if (record) {
    g.iface = *record;
  } else {
    std::memset(&g.iface, 0, sizeof(g.iface));
    g.iface.owner1 = 1;
    g.iface.owner29 = 1;
    g.iface.owner30 = static_cast<LPARAM>(0xFF000008u);
  }
  ZQSPREADIFACE& f = g.iface;
  Default(f.getRowCount, &DefaultRowCount);
  Default(f.getCell, &DefaultCell);
  Default(f.mayEdit, &DefaultMayEdit);
  Default(f.setCell, &DefaultSetCell);
  Default(f.getRow, &DefaultRow);
  Default(f.queryCommand, &DefaultQueryCommand);
  Default(f.doCommand, &DefaultDoCommand);
  Default(f.getHeaderCell, &DefaultHeaderCell);
  Default(f.keyHook, &DefaultKeyHook);
  Default(f.rowRepaint, &DefaultRowRepaint);
  Default(f.autoFit, &DefaultAutoFit);
  f.grid = g.window;
  f.text = f.text2 = g.text;
  f.textSize = kTextMax;
}

const ZQSPREADCELL* GetCell(Grid& g, DWORD row, DWORD column, int format) {
  const ZQSPREADCELL* cell = g.iface.getCell(&g.iface, row, column, format);
  return cell ? cell : &emptyCell;
}

const ZQSPREADCELL* GetHeaderCell(Grid& g, DWORD index, DWORD kind, LPARAM extra) {
  const ZQSPREADCELL* cell = g.iface.getHeaderCell(&g.iface, index, kind, extra);
  return cell ? cell : &emptyCell;
}

const ZQSPREADROW* GetRow(Grid& g, DWORD row) {
  if (row >= static_cast<DWORD>(g.rowCount)) return &emptyRow;
  const ZQSPREADROW* record = g.iface.getRow(&g.iface, row);
  return record ? record : &emptyRow;
}

// The owner's count, taken as at most ZQSPREAD_MAXROWS rows.
LONG OwnerRowCount(Grid& g) {
  const LONG count = g.iface.getRowCount(&g.iface);
  if (count < 0) return 0;
  return std::min<LONG>(count, ZQSPREAD_MAXROWS);
}

int CopyToText(Grid& g, LPCWSTR text, LONG length) {
  if (!text) {
    g.text[0] = 0;
    return 0;
  }
  if (length < 0) length = static_cast<LONG>(wcsnlen(text, kTextMax - 1));
  const int kept = static_cast<int>(std::min<LONG>(length, kTextMax - 1));
  if (text != g.text) std::memmove(g.text, text, kept * sizeof(WCHAR));
  g.text[kept] = 0;
  return kept;
}

LRESULT Notify(Grid& g, int code, DWORD row, DWORD column, LONG x, LONG y) {
  if (!g.owner || !IsWindow(g.owner)) return 0;
  g.nm.hdr.hwndFrom = g.window;
  g.nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(g.window));
  g.nm.hdr.code = static_cast<UINT>(code);
  g.nm.row = row;
  g.nm.column = column;
  g.nm.x = x;
  g.nm.y = y;
  return SendMessageW(g.owner, WM_NOTIFY, g.nm.hdr.idFrom, reinterpret_cast<LPARAM>(&g.nm));
}

LRESULT NotifyDrag(Grid& g, DWORD source, DWORD target, POINT point) {
  if (!g.owner || !IsWindow(g.owner)) return 0;
  g.nmex.nm.hdr.hwndFrom = g.window;
  g.nmex.nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(g.window));
  g.nmex.nm.hdr.code = SPN_COLUMNDRAG;
  g.nmex.nm.row = kHeader;
  g.nmex.nm.column = target;
  g.nmex.nm.x = point.x;
  g.nmex.nm.y = point.y;
  g.nmex.source = source;
  g.nmex.one = 1;
  return SendMessageW(g.owner, WM_NOTIFY, g.nmex.nm.hdr.idFrom, reinterpret_cast<LPARAM>(&g.nmex));
}

// Posts WM_USER+26 unless one is already waiting in the queue.
void QueueRowRefresh(Grid& g) {
  MSG waiting;
  if (PeekMessageW(&waiting, g.window, SPM_REFRESHROWS, SPM_REFRESHROWS, PM_NOREMOVE)) return;
  PostMessageW(g.window, SPM_REFRESHROWS, 0, 0);
}

void ApplyRefresh(Grid& g, DWORD row, DWORD column, DWORD flags) {
  if (flags & SPR_ROWCOUNT) QueueRowRefresh(g);
  if (flags & SPR_ASKROW) {
    for (LONG c = 0; c < g.columnCount; ++c) {
      LONG left, right;
      if (!ColumnSpan(g, c, &left, &right)) continue;
      const DWORD mask = g.iface.rowRepaint(&g.iface, row, c);
      if (mask & SPR_ROW) {
        InvalidateRow(g, row);
        break;
      }
      if (mask & SPR_CELL) InvalidateCell(g, row, c, false);
    }
  }
  if (!(flags & (SPR_CELL | SPR_ROW | SPR_COLUMN))) return;
  RECT area;
  if (flags & SPR_ROW) {
    area = CellRect(g, row, kHeader);
    area.left = g.rowHeaderWidth;
    area.right = ClientWidth(g);
  } else if (flags & SPR_COLUMN) {
    area = CellRect(g, kHeader, column);
    area.top = g.headerHeight;
    area.bottom = ClientHeight(g);
  } else {
    area = CellRect(g, row, column);
  }
  if (flags & SPR_TOLEFT) area.left = 0;
  if (flags & SPR_TOTOP) area.top = 0;
  InvalidateRect(g.window, &area, FALSE);
}

LONG RefreshRows(Grid& g, DWORD firstChanged) {
  const LONG previous = g.rowCount;
  const LONG count = OwnerRowCount(g);
  g.iface.rowCount = count;
  RECT cells = g.cellArea;
  if (firstChanged != 0 && firstChanged < static_cast<DWORD>(count)) {
    const LONG top = RowTop(g, firstChanged);
    if (top > cells.top) cells.top = top;
  }
  InvalidateRect(g.window, &cells, FALSE);
  if (count != previous) {
    g.rowCount = count;
    if (static_cast<LONG>(g.instanceRows) != count) RebuildInstances(g);
    UpdateScrollBars(g);
    const DWORD last = LastRow(g);
    if (!IsHeaderIndex(g.focusRow) && g.focusRow > last) {
      SetFocusCell(g, last, g.focusColumn, true, true);
    }
    if (!IsHeaderIndex(g.focusRow)) EnsureVisible(g, g.focusRow, kHeader);
    if (g.digits < 0 && (g.derived & SPD_DIGITSFROMROWS)) g.layoutDirty = TRUE;
    Repaint(g);
  }
  return previous;
}

}  // namespace zq::controls::grid
