// The grid's focus cell and selection ranges, and the messages that read,
// move and replace them.
#include <algorithm>
#include <cstring>

#include "grid/grid_internal.h"

namespace zq::controls::grid {
namespace {

struct Span {
  DWORD first, last;
  bool all;  // a header index: every row (or column)
};

Span SpanOf(DWORD a, DWORD b) {
  if (IsHeaderIndex(a) || IsHeaderIndex(b)) return {0, 0xFFFFFFFFu, true};
  return {std::min(a, b), std::max(a, b), false};
}

bool Covers(const ZQSPREADRANGE& r, DWORD row, DWORD column) {
  const Span rows = SpanOf(r.anchorRow, r.endRow), columns = SpanOf(r.anchorColumn, r.endColumn);
  return (rows.all || (row >= rows.first && row <= rows.last)) &&
         (columns.all || (column >= columns.first && column <= columns.last));
}

ZQSPREADRANGE CurrentRange(const Grid& g) {
  const LONG i = g.current >= 0 && g.current < RangeCount(g) ? g.current : FocusRangeIndex(g);
  if (i < 0) return ZQSPREADRANGE{g.focusRow, g.focusColumn, g.focusRow, g.focusColumn};
  return Ranges(g)[i];
}

bool SeveralCells(const ZQSPREADRANGE& r) { return r.anchorRow != r.endRow || r.anchorColumn != r.endColumn; }

void InvalidateRange(Grid& g, const ZQSPREADRANGE& r) {
  const Span rows = SpanOf(r.anchorRow, r.endRow), columns = SpanOf(r.anchorColumn, r.endColumn);
  RECT area{0, 0, ClientWidth(g), ClientHeight(g)};
  if (!rows.all) {
    const LONG top = std::max<LONG>(RowTop(g, rows.first), 0);
    const LONG bottom = RowTop(g, std::min<DWORD>(rows.last, ZQSPREAD_HEADERMIN)) + g.rowHeight;
    area.top = std::min(top, bottom);
    area.bottom = std::max<LONG>(bottom, 0);
  }
  if (!columns.all) {
    LONG left = area.right, right = 0;
    for (DWORD c = columns.first; c <= columns.last && c < static_cast<DWORD>(g.columnCount); ++c) {
      LONG l, r2;
      if (!ColumnSpan(g, c, &l, &r2)) continue;
      left = std::min(left, l);
      right = std::max(right, r2);
    }
    if (right < left) return;
    area.left = left;
    area.right = right;
  }
  InvalidateRect(g.window, &area, FALSE);
  // The headers show whole-row and whole-column selections.
  RECT headers{0, 0, ClientWidth(g), g.headerHeight + 1};
  if (rows.all) InvalidateRect(g.window, &headers, FALSE);
  RECT rowHeaders{0, 0, g.rowHeaderWidth, ClientHeight(g)};
  if (columns.all) InvalidateRect(g.window, &rowHeaders, FALSE);
}

void InvalidateAllRanges(Grid& g) {
  for (LONG i = 0; i < RangeCount(g); ++i) InvalidateRange(g, Ranges(g)[i]);
}

void InvalidateFocus(Grid& g) {
  if (g.derived & SPD_ROWFOCUSRECT) InvalidateRow(g, g.focusRow);
  else InvalidateCell(g, g.focusRow, g.focusColumn, false);
}

// Indices above 0xFF00 become 0 unless `header` and 0xFFFF; others are
// clamped to the counts.
DWORD ClampIndex(DWORD index, DWORD last, bool keepHeader) {
  if (index == kHeader && keepHeader) return kHeader;
  if (IsHeaderIndex(index)) return 0;
  return std::min(index, last);
}

void ViewOf(Grid& g, ZQSPREADVIEW* view) {
  const ZQSPREADRANGE r = CurrentRange(g);
  view->anchorRow = r.anchorRow;
  view->anchorColumn = r.anchorColumn;
  view->endRow = (g.style & SPS_MULTIROW) ? r.endRow : r.anchorRow;
  view->endColumn = (g.style & SPS_MULTICOLUMN) ? r.endColumn : r.anchorColumn;
  view->topRow = static_cast<DWORD>(g.vscroll.pos);
  view->firstColumn = static_cast<DWORD>(g.hscroll.pos);
}

// Replaces the range list by `count` records; on failure the list is as it was.
bool ReplaceRanges(Grid& g, const ZQSPREADRANGE* ranges, LONG count) {
  const LONG before = RangeCount(g);
  if (count > before) {
    if (FAILED(ZqList_ArrayForceItemCount(g.ranges, count, FALSE))) {
      if (RangeCount(g) != before) ZqList_ArrayForceItemCount(g.ranges, before, FALSE);
      return false;
    }
  } else if (count < before) {
    ZqList_DeleteList(g.ranges, count, before - count, TRUE);
  }
  if (count > 0) std::memmove(Ranges(g), ranges, static_cast<size_t>(count) * sizeof(ZQSPREADRANGE));
  return true;
}

LRESULT GetSelection(Grid& g, WPARAM wParam, LPARAM lParam) {
  const ZQSPREADRANGE r = CurrentRange(g);
  switch (wParam) {
    case 0:
      *reinterpret_cast<ZQSPREADRANGE*>(lParam) = r;
      return SeveralCells(r) ? 1 : 0;
    case 1: {
      ZQSPREADRANGE n{std::min(r.anchorRow, r.endRow), std::min(r.anchorColumn, r.endColumn),
                      std::max(r.anchorRow, r.endRow), std::max(r.anchorColumn, r.endColumn)};
      if (!IsHeaderIndex(n.endRow)) n.endRow = std::min<DWORD>(n.endRow, std::max<LONG>(g.rowCount - 1, 0));
      if (!IsHeaderIndex(n.endColumn))
        n.endColumn = std::min<DWORD>(n.endColumn, std::max<LONG>(g.columnCount - 1, 0));
      *reinterpret_cast<ZQSPREADRANGE*>(lParam) = n;
      return SeveralCells(n) ? 1 : 0;
    }
    case 2: {
      ZQSPREADSUMMARY s{0xFFFFFFFFu, 0xFFFFFFFFu, 0, 0, RangeCount(g)};
      for (LONG i = 0; i < RangeCount(g); ++i) {
        const ZQSPREADRANGE& x = Ranges(g)[i];
        const Span rows = SpanOf(x.anchorRow, x.endRow), columns = SpanOf(x.anchorColumn, x.endColumn);
        const DWORD lastRow = static_cast<DWORD>(std::max<LONG>(g.rowCount - 1, 0));
        const DWORD lastColumn = static_cast<DWORD>(std::max<LONG>(g.columnCount - 1, 0));
        s.firstRow = std::min(s.firstRow, rows.first);
        s.lastRow = std::max(s.lastRow, std::min(rows.last, rows.all ? lastRow : rows.last));
        s.firstColumn = std::min(s.firstColumn, columns.first);
        s.lastColumn = std::max(s.lastColumn, std::min(columns.last, columns.all ? lastColumn : columns.last));
      }
      if (s.ranges == 0) s.firstRow = s.firstColumn = 0;
      *reinterpret_cast<ZQSPREADSUMMARY*>(lParam) = s;
      return (s.lastRow > s.firstRow || s.lastColumn > s.firstColumn) ? 1 : 0;
    }
  }
  return 0;
}

}  // namespace

DWORD ClampRow(const Grid& g, DWORD row, bool keepHeader) { return ClampIndex(row, LastRow(g), keepHeader); }

DWORD ClampColumn(const Grid& g, DWORD column, bool keepHeader) {
  return ClampIndex(column, static_cast<DWORD>(std::max<LONG>(g.columnCount - 1, 0)), keepHeader);
}

bool CellSelected(const Grid& g, DWORD row, DWORD column) {
  for (LONG i = 0; i < RangeCount(g); ++i)
    if (Covers(Ranges(g)[i], row, column)) return true;
  return false;
}

bool ColumnSelected(const Grid& g, DWORD column) {
  for (LONG i = 0; i < RangeCount(g); ++i) {
    const ZQSPREADRANGE& r = Ranges(g)[i];
    if (IsHeaderIndex(r.anchorRow) && Covers(r, 0, column)) return true;
  }
  return false;
}

bool RowSelected(const Grid& g, DWORD row) {
  for (LONG i = 0; i < RangeCount(g); ++i) {
    const ZQSPREADRANGE& r = Ranges(g)[i];
    if (IsHeaderIndex(r.anchorColumn) && Covers(r, row, 0)) return true;
  }
  return false;
}

LONG FocusRangeIndex(const Grid& g) {
  for (LONG i = 0; i < RangeCount(g); ++i)
    if (Covers(Ranges(g)[i], g.focusRow, g.focusColumn)) return i;
  return RangeCount(g) > 0 ? 0 : -1;
}

void CollapseSelection(Grid& g) {
  InvalidateAllRanges(g);
  const ZQSPREADRANGE one{g.focusRow, g.focusColumn, g.focusRow, g.focusColumn};
  if (ReplaceRanges(g, &one, 1)) g.current = 0;
  g.anchorRow = g.focusRow;
  g.anchorColumn = g.focusColumn;
  InvalidateAllRanges(g);
}

bool SetFocusCell(Grid& g, DWORD row, DWORD column, bool collapse, bool notify, bool keepHeaders) {
  if (g.editState == kEditing) CommitEditor(g);
  if ((g.style & 0xF0) == SPS_ROWSELECT) column = kHeader;
  if ((g.style & 0xF0) == SPS_COLUMNSELECT) row = kHeader;
  if (IsHeaderIndex(row) && !keepHeaders && !(g.style & SPS_COLUMNSELECT)) row = static_cast<DWORD>(g.vscroll.pos);
  if (IsHeaderIndex(column) && !keepHeaders && !(g.style & SPS_ROWSELECT)) column = static_cast<DWORD>(g.hscroll.pos);
  const bool moved = row != g.focusRow || column != g.focusColumn;
  const LONG rangesBefore = RangeCount(g);
  const ZQSPREADRANGE before = RangeCount(g) ? Ranges(g)[0] : ZQSPREADRANGE{};
  InvalidateFocus(g);
  g.focusRow = row;
  g.focusColumn = column;
  InvalidateFocus(g);
  if (collapse) CollapseSelection(g);
  const bool selectionChanged =
      collapse && (rangesBefore != RangeCount(g) || std::memcmp(&before, Ranges(g), sizeof(before)) != 0);
  if (notify && moved) Notify(g, SPN_FOCUSCHANGED, g.focusRow, g.focusColumn);
  if (notify && selectionChanged) Notify(g, SPN_SELCHANGED, g.focusRow, g.focusColumn);
  return moved;
}

bool ExtendTo(Grid& g, DWORD row, DWORD column) {
  if (RangeCount(g) == 0) {
    const ZQSPREADRANGE one{g.anchorRow, g.anchorColumn, g.anchorRow, g.anchorColumn};
    if (!ReplaceRanges(g, &one, 1)) return false;
    g.current = 0;
  }
  if (g.current < 0 || g.current >= RangeCount(g)) g.current = 0;
  ZQSPREADRANGE& r = Ranges(g)[g.current];
  const ZQSPREADRANGE before = r;
  InvalidateRange(g, r);
  r.anchorRow = g.anchorRow;
  r.anchorColumn = g.anchorColumn;
  r.endRow = (g.style & SPS_MULTIROW) ? row : g.anchorRow;
  r.endColumn = ((g.style & SPS_MULTICOLUMN) && !(g.exFlags & SPX_DISCONTIGUOUS)) ? column : g.anchorColumn;
  InvalidateRange(g, r);
  const bool changed = std::memcmp(&before, &r, sizeof(r)) != 0;
  if (changed && g.editState == kEditing) CloseEditor(g);
  if (changed) Notify(g, SPN_SELCHANGED, g.focusRow, g.focusColumn);
  return changed;
}

void DropOtherRanges(Grid& g) {
  if (RangeCount(g) <= 1) return;
  const LONG keep = g.current >= 0 && g.current < RangeCount(g) ? g.current : 0;
  const ZQSPREADRANGE range = Ranges(g)[keep];
  InvalidateAllRanges(g);
  if (ReplaceRanges(g, &range, 1)) g.current = 0;
}

// A Ctrl+click with discontiguous selection: a cell outside every range
// becomes a range of its own; inside a range, its row leaves that range (a
// one-row range goes, an end row shrinks it, an inner row splits it).
void ToggleCell(Grid& g, DWORD row, DWORD column) {
  LONG hit = -1;
  for (LONG i = 0; i < RangeCount(g) && hit < 0; ++i)
    if (Covers(Ranges(g)[i], row, column)) hit = i;
  if (hit < 0) {
    const ZQSPREADRANGE one{row, column, row, column};
    if (SUCCEEDED(ZqList_InsertList(g.ranges, RangeCount(g), &one, 1))) g.current = RangeCount(g) - 1;
  } else {
    ZQSPREADRANGE r = Ranges(g)[hit];
    InvalidateRange(g, r);
    const Span rows = SpanOf(r.anchorRow, r.endRow);
    const bool upward = r.anchorRow > r.endRow;
    if (rows.all || rows.first == rows.last) {
      ZqList_DeleteList(g.ranges, hit, 1, TRUE);
    } else if (row == rows.first || row == rows.last) {
      const DWORD other = row == rows.first ? rows.first + 1 : rows.last - 1;
      DWORD& moved = ((row == r.anchorRow) ? r.anchorRow : r.endRow);
      moved = other;
      Ranges(g)[hit] = r;
    } else {
      ZQSPREADRANGE above = r, below = r;
      above.anchorRow = upward ? row - 1 : rows.first;
      above.endRow = upward ? rows.first : row - 1;
      below.anchorRow = upward ? rows.last : row + 1;
      below.endRow = upward ? row + 1 : rows.last;
      if (SUCCEEDED(ZqList_InsertList(g.ranges, hit + 1, &below, 1))) Ranges(g)[hit] = above;
    }
    g.current = RangeCount(g) > 0 ? std::min<LONG>(hit, RangeCount(g) - 1) : -1;
  }
  const ZQSPREADRANGE* first = RangeCount(g) > 0 ? &Ranges(g)[0] : nullptr;
  g.anchorRow = (g.style & SPS_MULTIROW) || !first ? row : first->anchorRow;
  g.anchorColumn = (g.style & SPS_MULTICOLUMN) || !first ? column : first->anchorColumn;
}

LRESULT SelectionMessage(Grid& g, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
  *handled = true;
  switch (message) {
    case SPM_GETSELECTION:
      if (!lParam) return MAKELONG(g.focusRow, g.focusColumn);
      return GetSelection(g, wParam, lParam);
    case SPM_SETFOCUSCELL: {
      DWORD row = static_cast<DWORD>(wParam), column = static_cast<DWORD>(lParam);
      row = (row == kHeader && (g.style & SPS_MULTIROW)) ? kHeader : ClampRow(g, row, false);
      column = (column == kHeader && (g.style & SPS_MULTICOLUMN)) ? kHeader : ClampColumn(g, column, false);
      SetFocusCell(g, row, column, true, true, true);
      EnsureVisible(g, g.focusRow, g.focusColumn);
      return MAKELONG(g.focusRow, g.focusColumn);
    }
    case SPM_GETVIEW: {
      if (!lParam) return 0;
      ZQSPREADVIEW view;
      ViewOf(g, &view);
      std::memcpy(reinterpret_cast<void*>(lParam), &view, std::min<size_t>(wParam, sizeof(view)));
      return sizeof(view);
    }
    case SPM_SETVIEW: {
      if (!lParam) return 0;
      ZQSPREADVIEW view{};
      std::memcpy(&view, reinterpret_cast<const void*>(lParam), std::min<size_t>(wParam, sizeof(view)));
      SetFocusCell(g, ClampRow(g, view.anchorRow, true), ClampColumn(g, view.anchorColumn, true), true, true);
      if (MultiSelect(g)) ExtendTo(g, ClampRow(g, view.endRow, true), ClampColumn(g, view.endColumn, true));
      SetTopRow(g, static_cast<LONG>(std::min<DWORD>(view.topRow, ZQSPREAD_MAXROWS)));
      SetFirstColumn(g, static_cast<LONG>(std::min<DWORD>(view.firstColumn, 0x7FFF)));
      return sizeof(view);
    }
    case SPM_GETRANGEEND: {
      const LONG i = FocusRangeIndex(g);
      if (i < 0) return MAKELONG(g.focusRow, g.focusColumn);
      return MAKELONG(Ranges(g)[i].endRow, Ranges(g)[i].endColumn);
    }
    case SPM_EXTENDTO: {
      const DWORD row = ClampRow(g, static_cast<DWORD>(wParam), false);
      const DWORD column = ClampColumn(g, static_cast<DWORD>(lParam), false);
      SetFocusCell(g, row, column, false, true);
      ExtendTo(g, row, column);
      const LONG i = FocusRangeIndex(g);
      return i < 0 ? MAKELONG(g.focusRow, g.focusColumn) : MAKELONG(Ranges(g)[i].endRow, Ranges(g)[i].endColumn);
    }
    case SPM_ENSUREVISIBLE:
      EnsureVisible(g, ClampRow(g, static_cast<DWORD>(wParam), false), ClampColumn(g, static_cast<DWORD>(lParam), false));
      return 0;
    case SPM_GETRANGES: {
      const LONG count = RangeCount(g);
      if (!lParam || static_cast<LONG>(wParam) < count || static_cast<INT_PTR>(wParam) < 0) return 0;
      if (count) std::memcpy(reinterpret_cast<void*>(lParam), Ranges(g), static_cast<size_t>(count) * sizeof(ZQSPREADRANGE));
      return 1;
    }
    case SPM_GETRANGECOUNT: return RangeCount(g);
    case SPM_SETRANGES: {
      const LONG count = static_cast<LONG>(wParam);
      if (!(g.exFlags & SPX_DISCONTIGUOUS) || count < 0 || (count > 0 && !lParam)) return 0;
      InvalidateAllRanges(g);
      if (!ReplaceRanges(g, reinterpret_cast<const ZQSPREADRANGE*>(lParam), count)) return 0;
      g.current = count > 0 ? 0 : -1;
      g.anchorRow = count > 0 ? Ranges(g)[0].anchorRow : g.focusRow;
      g.anchorColumn = count > 0 ? Ranges(g)[0].anchorColumn : g.focusColumn;
      InvalidateAllRanges(g);
      return 1;
    }
    case SPM_GETSNAPSHOT: {
      auto* s = reinterpret_cast<ZQSPREADSNAPSHOT*>(lParam);
      if (!s) return 0;
      const LONG count = RangeCount(g);
      if (!s->ranges) {
        s->capacity = count;
        return 1;
      }
      if (s->capacity <= count) return 0;
      s->topRow = static_cast<DWORD>(g.vscroll.pos);
      s->firstColumn = static_cast<DWORD>(g.hscroll.pos);
      s->anchorRow = g.anchorRow;
      s->anchorColumn = g.anchorColumn;
      s->focusRow = g.focusRow;
      s->focusColumn = g.focusColumn;
      if (count) std::memcpy(s->ranges, Ranges(g), static_cast<size_t>(count) * sizeof(ZQSPREADRANGE));
      s->capacity = count;
      return 1;
    }
    case SPM_SETSNAPSHOT: {
      const auto* s = reinterpret_cast<const ZQSPREADSNAPSHOT*>(lParam);
      if (!s || s->capacity < 0 || (s->capacity > 0 && !s->ranges)) return 0;
      InvalidateAllRanges(g);
      if (ReplaceRanges(g, s->ranges, s->capacity)) {
        for (LONG i = 0; i < s->capacity; ++i) {
          ZQSPREADRANGE& r = Ranges(g)[i];
          r.anchorRow = ClampRow(g, r.anchorRow, true);
          r.endRow = ClampRow(g, r.endRow, true);
          r.anchorColumn = ClampColumn(g, r.anchorColumn, true);
          r.endColumn = ClampColumn(g, r.endColumn, true);
        }
        g.current = s->capacity > 0 ? 0 : -1;
      }
      InvalidateAllRanges(g);
      g.anchorRow = ClampRow(g, s->anchorRow, true);
      g.anchorColumn = ClampColumn(g, s->anchorColumn, true);
      SetFocusCell(g, ClampRow(g, s->focusRow, true), ClampColumn(g, s->focusColumn, true), false, true);
      SetTopRow(g, static_cast<LONG>(std::min<DWORD>(s->topRow, ZQSPREAD_MAXROWS)));
      SetFirstColumn(g, static_cast<LONG>(std::min<DWORD>(s->firstColumn, 0x7FFF)));
      return 0;
    }
  }
  *handled = false;
  return 0;
}

}  // namespace zq::controls::grid
