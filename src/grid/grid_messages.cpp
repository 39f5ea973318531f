// The grid's private messages (WM_USER+5 ... +72, +1000) and the standard
// messages it treats in its own way.
#include <algorithm>
#include <cstring>

#include "grid/grid_internal.h"
#include "ui/theme_internal.h"
#include "zq/ui.h"

namespace zq::controls::grid {
namespace {

void SetColumns(Grid& g, const ZQSPREADCOLUMNSET& set) {
  g.columns = set.columns;
  g.headers = set.headers;
  g.columnCount = set.columns ? std::max<LONG>(set.count, 0) : 0;
  g.columnCapacity = set.capacity;
  g.frozen = std::clamp<LONG>(set.frozen, 0, g.columnCount);
  if (g.hscroll.pos < g.frozen) g.hscroll.pos = g.frozen;
  if (!IsHeaderIndex(g.focusColumn) && static_cast<LONG>(g.focusColumn) >= g.columnCount) {
    SetTopRow(g, 0);
    g.hscroll.pos = g.frozen;
    SetFocusCell(g, g.focusRow, 0, true, true);
  }
  GrowControlTable(g, g.columnCount);
  RebuildInstances(g);
  g.layoutDirty = TRUE;
  Repaint(g);
}

// Moves the columns first ... last of the array to before `target`.
void MoveColumns(Grid& g, DWORD target, const ZQSPREADRANGE& range) {
  if (!g.columns || IsHeaderIndex(range.anchorColumn) || IsHeaderIndex(range.endColumn)) return;
  const LONG first = static_cast<LONG>(std::min(range.anchorColumn, range.endColumn));
  const LONG last = static_cast<LONG>(std::max(range.anchorColumn, range.endColumn));
  const LONG to = static_cast<LONG>(std::min<DWORD>(target, static_cast<DWORD>(g.columnCount)));
  if (last >= g.columnCount || (to >= first && to <= last + 1)) return;
  ZQSPREADCOLUMN* c = g.columns;
  if (to < first) std::rotate(c + to, c + first, c + last + 1);
  else std::rotate(c + first, c + last + 1, c + to);
  // The instances follow their descriptors.
  RebuildInstances(g);
  g.layoutDirty = TRUE;
  Repaint(g);
}

void FillMetrics(const Grid& g, ZQSPREADMETRICS* m) {
  m->rowsForDigits = g.rowsForDigits;
  m->rowHeaderWidth = g.rowHeaderWidth;
  m->headerHeight = g.headerHeight;
}

void SetMetrics(Grid& g, ZQSPREADMETRICS* m) {
  if (m->flags & SPMF_NOAPPENDROW) g.derived &= ~SPD_APPENDROW;
  if (m->flags & SPMF_APPENDROW) g.derived |= SPD_APPENDROW;
  if (m->flags & SPMF_DIGITSFROMROWS) g.derived |= SPD_DIGITSFROMROWS;
  if (m->flags & SPMF_NOHEADER) g.derived |= SPD_NOHEADER;
  // Without the append row the focus cannot stay on it.
  if (!IsHeaderIndex(g.focusRow) && g.focusRow > LastRow(g)) SetFocusCell(g, LastRow(g), g.focusColumn, true, true);
  if (m->extraRowHeaderWidth != g.extraRowHeaderWidth || m->rowsForDigits != -1) {
    g.digits = m->digits;
    g.extraRowHeaderWidth = m->extraRowHeaderWidth;
    g.extraRowHeight = m->extraRowHeight;
    if (m->rowsForDigits != -1) g.rowsForDigits = m->rowsForDigits;
    g.layoutDirty = TRUE;
  } else if (g.columns) {
    LayoutColumns(g, g.columns, g.columnCount, ClientWidth(g));
  }
  Repaint(g);
  EnsureLayout(g);
  FillMetrics(g, m);
}

LRESULT FocusText(Grid& g, WPARAM size, LPWSTR buffer) {
  const ZQSPREADCELL* cell = GetCell(g, g.focusRow, g.focusColumn, SPF_DISPLAY);
  LONG length = cell->text ? std::max<LONG>(cell->length, 0) : 0;
  if (cell->text && cell->length < 0) length = static_cast<LONG>(wcslen(cell->text));
  if (buffer && size > 0) {
    const size_t kept = std::min<size_t>(static_cast<size_t>(length), size - 1);
    if (kept) std::memmove(buffer, cell->text, kept * sizeof(WCHAR));
    buffer[kept] = 0;
  }
  return length;
}

void CellRequest(Grid& g, ZQSPREADCELLREQ* r) {
  const ZQSPREADROW* row = GetRow(g, r->row);
  r->rowPaint = row->paint;
  r->rowData = row->data;
  const ZQSPREADCELL* cell = GetCell(g, r->row, r->column, r->format);
  r->text = cell->text;
  r->length = cell->length;
  r->filled = 1;
}

LRESULT IdealSize(Grid& g, const SIZE* limit, SIZE* out) {
  EnsureLayout(g);
  LONG width = g.rowHeaderWidth + (g.rowHeaderWidth > 0 ? 1 : 0);
  for (LONG c = 0; g.columns && c < g.columnCount; ++c)
    if (g.columns[c].spec >= 0) width += MulDiv(g.columns[c].spec, g.charCell.cx, 8);
  LONG height = g.rowCount * g.rowHeight + ((g.derived & SPD_NOHEADER) ? 0 : g.headerHeight + 1);
  LRESULT bars = 0;
  if (limit && width > limit->cx && g.columnCount >= 2) {
    height += GetSystemMetrics(SM_CYHSCROLL);
    bars |= 2;
  }
  if (limit && height > limit->cy && g.rowCount >= 2) {
    width += GetSystemMetrics(SM_CXVSCROLL);
    bars |= 4;
  }
  if (out) *out = SIZE{width, height};
  return bars;
}

void FitRows(Grid& g, LONG rows, ZQSPREADMETRICS* m) {
  EnsureLayout(g);
  RECT window, client;
  GetWindowRect(g.window, &window);
  GetClientRect(g.window, &client);
  const LONG top = (g.derived & SPD_NOHEADER) ? 0 : g.headerHeight + 1;
  LONG wanted = rows > 0 ? top + rows * g.rowHeight
                         : top + std::max<LONG>((client.bottom - top) / std::max<LONG>(g.rowHeight, 1), 0) * g.rowHeight;
  const LONG frame = (window.bottom - window.top) - client.bottom;
  SetWindowPos(g.window, nullptr, 0, 0, window.right - window.left, wanted + frame,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (m) SetMetrics(g, m);
}

// Commands the owner offers, as availability bits.
LRESULT CommandBits(Grid& g) {
  if (g.editState == kEditing && g.editor) {
    LRESULT bits = 0;
    if (SendMessageW(g.editor, EM_CANUNDO, 0, 0)) bits |= 0x10;
    DWORD from = 0, to = 0;
    SendMessageW(g.editor, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    if (to > from) bits |= 0x0A;
    if (IsClipboardFormatAvailable(CF_TEXT)) bits |= 0x04;
    return bits;
  }
  const LONG i = FocusRangeIndex(g);
  const ZQSPREADRANGE range = i >= 0 ? Ranges(g)[i] : ZQSPREADRANGE{g.focusRow, g.focusColumn, g.focusRow, g.focusColumn};
  UINT formats[10] = {};
  LRESULT bits = 0;
  const struct {
    UINT message;
    LRESULT bit;
  } queries[] = {{WM_UNDO, 0x10}, {WM_CLEAR, 0x08}, {WM_COPY, 0x02}, {WM_CUT, 0x01}};
  for (const auto& q : queries)
    if (g.iface.queryCommand(&g.iface, &range, formats, 10, q.message)) bits |= q.bit;
  const LONG count = std::clamp<LONG>(g.iface.queryCommand(&g.iface, &range, formats, 10, WM_PASTE), 0, 10);
  for (LONG f = 0; f < count; ++f)
    if (formats[f] && IsClipboardFormatAvailable(formats[f])) {
      bits |= 0x04;
      break;
    }
  return bits;
}

LRESULT UndoCommand(Grid& g, bool run) {
  if (g.editState == kEditing && g.editor) return SendMessageW(g.editor, run ? EM_UNDO : EM_CANUNDO, 0, 0);
  const LONG i = FocusRangeIndex(g);
  const ZQSPREADRANGE range = i >= 0 ? Ranges(g)[i] : ZQSPREADRANGE{g.focusRow, g.focusColumn, g.focusRow, g.focusColumn};
  if (!run) {
    UINT formats[10] = {};
    return g.iface.queryCommand(&g.iface, &range, formats, 10, WM_UNDO);
  }
  const LRESULT flags = g.iface.doCommand(&g.iface, &range, 0, nullptr, WM_UNDO);
  if (flags) {
    ApplyRefresh(g, g.focusRow, g.focusColumn, static_cast<DWORD>(flags));
    PostMessageW(g.window, SPM_NOTIFY, SPN_EDITCOMMAND, 0);
    PostMessageW(g.window, SPM_NOTIFY, SPN_DATACHANGED, 0);
  }
  return flags;
}

void InvalidateRangeCorners(Grid& g, const ZQSPREADRANGE& r, bool now) {
  auto corner = [&](DWORD row, DWORD column) {
    RECT cell = CellRect(g, std::min<DWORD>(row, kHeader), std::min<DWORD>(column, kHeader));
    RECT meet;
    if (!IntersectRect(&meet, &cell, &g.cellArea)) {
      // Outside the view: the cell area's edge.
      cell.left = std::clamp(cell.left, g.cellArea.left, g.cellArea.right);
      cell.right = std::clamp(cell.right, g.cellArea.left, g.cellArea.right);
      cell.top = std::clamp(cell.top, g.cellArea.top, g.cellArea.bottom);
      cell.bottom = std::clamp(cell.bottom, g.cellArea.top, g.cellArea.bottom);
    }
    return cell;
  };
  RECT a = corner(r.anchorRow, r.anchorColumn), b = corner(r.endRow, r.endColumn), both;
  UnionRect(&both, &a, &b);
  InvalidateRect(g.window, &both, FALSE);
  if (now) UpdateWindow(g.window);
}

LRESULT Private(Grid& g, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
  *handled = true;
  switch (message) {
    case SPM_OWNERFLAG: {
      const LRESULT previous = (g.derived & SPD_OWNERFLAG) ? 1 : 0;
      g.derived = wParam ? (g.derived | SPD_OWNERFLAG) : (g.derived & ~SPD_OWNERFLAG);
      return previous;
    }
    case SPM_MOVECOLUMNS: {
      ZQSPREADRANGE range;
      if (lParam) range = *reinterpret_cast<const ZQSPREADRANGE*>(lParam);
      else {
        const LONG i = g.current >= 0 && g.current < RangeCount(g) ? g.current : FocusRangeIndex(g);
        if (i < 0) return 0;
        range = Ranges(g)[i];
      }
      MoveColumns(g, static_cast<DWORD>(wParam), range);
      return 0;
    }
    case SPM_GETCOLUMNCOUNT: return g.columnCount;
    case SPM_GETCOLUMNS:
      if (lParam) {
        auto* set = reinterpret_cast<ZQSPREADCOLUMNSET*>(lParam);
        *set = ZQSPREADCOLUMNSET{g.columnCount, g.columnCapacity, g.frozen, g.columns, g.headers};
      }
      return reinterpret_cast<LRESULT>(g.columns);
    case SPM_SETCOLUMNS: {
      const LRESULT previous = reinterpret_cast<LRESULT>(g.columns);
      if (lParam) SetColumns(g, *reinterpret_cast<const ZQSPREADCOLUMNSET*>(lParam));
      return previous;
    }
    case SPM_GETFOCUSTEXT: return FocusText(g, wParam, reinterpret_cast<LPWSTR>(lParam));
    case SPM_SETFOCUSVALUE: {
      const DWORD flags = g.iface.setCell(&g.iface, g.focusRow, g.focusColumn, static_cast<int>(wParam), lParam);
      ApplyRefresh(g, g.focusRow, g.focusColumn, flags);
      return 0;
    }
    case SPM_GETROW: {
      const DWORD row = static_cast<LONG>(wParam) == -1 ? g.focusRow : static_cast<DWORD>(wParam);
      return reinterpret_cast<LRESULT>(GetRow(g, row));
    }
    case SPM_GETCOMMANDS: return CommandBits(g);
    case SPM_GETMETRICS:
      EnsureLayout(g);
      if (lParam) FillMetrics(g, reinterpret_cast<ZQSPREADMETRICS*>(lParam));
      return 0;
    case SPM_NOTIFY: return Notify(g, static_cast<int>(wParam), g.focusRow, g.focusColumn);
    case SPM_GETIFACE:
      if (lParam) std::memcpy(reinterpret_cast<void*>(lParam), &g.iface, sizeof(g.iface));
      return sizeof(ZQSPREADIFACE);
    case SPM_SETIFACE: {
      const auto* record = reinterpret_cast<const ZQSPREADIFACE*>(lParam);
      if (!record && g.editState == kEditing) CommitEditor(g);
      InstallOwner(g, record);
      g.editState = record ? (g.editState == kNoOwner ? kIdle : g.editState) : kSuspended;
      g.rowCount = -1;  // the count is read anew
      RefreshRows(g, 0);
      Repaint(g);
      return sizeof(ZQSPREADIFACE);
    }
    case SPM_REFRESHROWS: return RefreshRows(g, 0);
    case SPM_ROWSCHANGED: return RefreshRows(g, static_cast<DWORD>(wParam));
    case SPM_GETROWCOUNT: return g.rowCount;
    case SPM_GETTOPROW: return g.vscroll.pos;
    case SPM_SETTOPROW: return SetTopRow(g, static_cast<LONG>(std::min<WPARAM>(wParam, ZQSPREAD_MAXROWS)));
    case SPM_CANUNDO: return UndoCommand(g, false);
    case SPM_UNDO: UndoCommand(g, true); return 0;
    case SPM_GETFROZEN: return g.frozen;
    case SPM_SETFROZEN: {
      const LONG previous = g.frozen;
      g.frozen = std::clamp<LONG>(static_cast<LONG>(wParam), 0, g.columnCount);
      if (g.hscroll.pos == previous || g.hscroll.pos < g.frozen) g.hscroll.pos = g.frozen;
      g.layoutDirty = TRUE;
      Repaint(g);
      return previous;
    }
    case SPM_INVALIDATECELL:
      InvalidateCell(g, static_cast<DWORD>(wParam), LOWORD(lParam) == 0xFFFF ? kHeader : LOWORD(lParam),
                     HIWORD(lParam) != 0);
      return 0;
    case SPM_GETEDITOR: return reinterpret_cast<LRESULT>(g.editor);
    case SPM_GETOWNER: return reinterpret_cast<LRESULT>(g.owner);
    case SPM_SETOWNER: {
      const LRESULT previous = reinterpret_cast<LRESULT>(g.owner);
      HWND owner = reinterpret_cast<HWND>(wParam);
      if (IsWindow(owner)) g.owner = owner;
      return previous;
    }
    case SPM_GETCELLREQ:
      if (lParam) CellRequest(g, reinterpret_cast<ZQSPREADCELLREQ*>(lParam));
      return 0;
    case SPM_SETCELLREQ: {
      auto* r = reinterpret_cast<ZQSPREADCELLREQ*>(lParam);
      if (!r) return 0;
      const DWORD flags = g.iface.setCell(&g.iface, r->row, r->column, r->format, r->value);
      ApplyRefresh(g, r->row, r->column, flags);
      return 0;
    }
    case SPM_CALCWIDTHS: {
      const auto* set = reinterpret_cast<const ZQSPREADCOLUMNSET*>(lParam);
      if (!set) return 0;
      EnsureLayout(g);
      return LayoutColumns(g, set->columns, set->count, ClientWidth(g)) ? 1 : 0;
    }
    case SPM_FITROWS: FitRows(g, static_cast<LONG>(wParam), reinterpret_cast<ZQSPREADMETRICS*>(lParam)); return 0;
    case SPM_SETDLGCODE: g.dialogCode = lParam; return 0;
    case SPM_OPENEDITOR: OpenEditor(g); return 0;
    case SPM_CLOSEEDITOR: CommitEditor(g); return 0;
    case SPM_REFRESHCELL: ApplyRefresh(g, static_cast<DWORD>(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;
    case SPM_MAYEDIT: {
      const auto* r = reinterpret_cast<const ZQSPREADCELLREQ*>(lParam);
      return r ? g.iface.mayEdit(&g.iface, r->row, r->column, r->value) : 0;
    }
    case SPM_HITTEST:
    case SPM_INSERTHITTEST:
      EnsureLayout(g);
      return HitTest(g, POINT{static_cast<LONG>(wParam), static_cast<LONG>(lParam)}, message == SPM_INSERTHITTEST);
    case SPM_GETSTYLE: return g.style;
    case SPM_SETSTYLE:
      g.style = LOWORD(wParam);
      if (g.lineBrush) DeleteObject(g.lineBrush);
      if (g.lineBitmap) DeleteObject(g.lineBitmap);
      g.lineBrush = nullptr;
      g.lineBitmap = nullptr;
      g.layoutDirty = TRUE;
      Repaint(g);
      return 0;
    case SPM_SETMETRICS:
      if (lParam) SetMetrics(g, reinterpret_cast<ZQSPREADMETRICS*>(lParam));
      return 0;
    case SPM_SUSPEND:
      if (wParam) {
        if (g.editState == kEditing) CommitEditor(g);
        g.editState = kSuspended;
      } else {
        g.editState = kIdle;
        Repaint(g);
      }
      return 0;
    case SPM_INVALIDATERANGE:
      if (lParam) {
        UpdateAreas(g);
        InvalidateRangeCorners(g, *reinterpret_cast<const ZQSPREADRANGE*>(lParam), wParam != 0);
      }
      return 0;
    case SPM_SETSORT: {
      const DWORD column = static_cast<DWORD>(lParam);
      g.sortColumn = column == kHeader ? kHeader : std::min<DWORD>(column, static_cast<DWORD>(g.columnCount));
      g.sortDirection = wParam ? 1 : 0;
      Repaint(g);
      return g.sortColumn;
    }
    case SPM_SETEXFLAGS: g.exFlags = static_cast<DWORD>(wParam); Repaint(g); return 0;
    case SPM_IDEALSIZE:
      return IdealSize(g, reinterpret_cast<const SIZE*>(wParam), reinterpret_cast<SIZE*>(lParam));
    case SPM_ENABLESCROLL:
      g.derived = wParam ? (g.derived & ~SPD_NOHSCROLL) : (g.derived | SPD_NOHSCROLL);
      g.derived = lParam ? (g.derived & ~SPD_NOVSCROLL) : (g.derived | SPD_NOVSCROLL);
      return 0;
    case SPM_FREECONTROLS: FreeInstances(g); return 0;
    case SPM_GETROWHEIGHT: EnsureLayout(g); return g.rowHeight;
    case SPM_GETROWRECT:
    case SPM_GETCOLUMNRECT: {
      EnsureLayout(g);
      if (!lParam) return 0;
      RECT r = message == SPM_GETROWRECT ? CellRect(g, static_cast<DWORD>(wParam), kHeader)
                                         : CellRect(g, kHeader, static_cast<DWORD>(wParam));
      if (message == SPM_GETROWRECT && !IsHeaderIndex(static_cast<DWORD>(wParam))) r.right = ClientWidth(g);
      if (message == SPM_GETCOLUMNRECT && !IsHeaderIndex(static_cast<DWORD>(wParam))) r.bottom = ClientHeight(g);
      *reinterpret_cast<RECT*>(lParam) = r;
      return 1;
    }
    case SPM_ENABLESCROLLBAR: return EnableScrollBar(g.window, static_cast<UINT>(wParam), static_cast<UINT>(lParam));
  }
  *handled = false;
  return 0;
}

}  // namespace

bool HandleMessage(Grid& g, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  bool handled = false;
  // Geometry answers and moves need the metrics of the current font.
  if (message >= WM_USER && message <= SPM_ENABLESCROLLBAR) EnsureLayout(g);
  *result = SelectionMessage(g, message, wParam, lParam, &handled);
  if (handled) return true;
  *result = Private(g, message, wParam, lParam, &handled);
  if (handled) return true;
  *result = 0;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(g.window, &paint);
      if (dc) {
        UpdateAreas(g);
        Paint(g, dc, paint.rcPaint);
      }
      EndPaint(g.window, &paint);
      return true;
    }
    case WM_ERASEBKGND:
      if (g.layoutDirty || g.editState > kControlEdit) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        HWND parent = GetParent(g.window);
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        if (parent) SendMessageW(parent, WM_CTLCOLOREDIT, wParam, reinterpret_cast<LPARAM>(g.window));
        RECT client;
        GetClientRect(g.window, &client);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
      }
      *result = 1;
      return true;
    case WM_NCCALCSIZE: {
      *result = DefWindowProcW(g.window, message, wParam, lParam);
      if ((g.derived & SPD_BORDER) && lParam) reinterpret_cast<RECT*>(lParam)->left -= 1;
      return true;
    }
    case WM_SETFONT:
      g.font = wParam ? reinterpret_cast<HFONT>(wParam) : ZqGetUIFont(ZQ_UIFONT_NORMAL);
      if (g.editor) SendMessageW(g.editor, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), 0);
      g.layoutDirty = TRUE;
      Repaint(g);
      return true;
    case WM_GETFONT: *result = reinterpret_cast<LRESULT>(g.font); return true;
    case WM_SETTEXT:
      if (!lParam) return true;
      *result = DefWindowProcW(g.window, message, wParam, lParam);
      return true;
    case WM_ENABLE:
      Repaint(g);
      UpdateWindow(g.window);
      return true;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      if (message == WM_THEMECHANGED) {
        ZQXPTHEME* theme = DefaultTheme(g.window);
        if (theme && ThemeOutdated(*theme)) XPTheme_Handle_WM_THEMECHANGED(theme, g.window);
      }
      g.layoutDirty = TRUE;
      Repaint(g);
      return true;
    case WM_SHOWWINDOW:
      if (wParam && !IsHeaderIndex(g.focusRow)) InvalidateCell(g, g.focusRow, g.focusColumn, false);
      *result = DefWindowProcW(g.window, message, wParam, lParam);
      return true;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) {
        if (g.columns && LayoutColumns(g, g.columns, g.columnCount, ClientWidth(g))) Repaint(g);
        UpdateScrollBars(g);
        g.layoutDirty = TRUE;
        Repaint(g);
      }
      return true;
    case WM_GETDLGCODE: {
      LRESULT code = LOWORD(g.dialogCode);
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (msg && msg->message == WM_KEYDOWN) {
        if (msg->wParam == VK_ESCAPE) {
          if (GetCapture() == g.window) code |= DLGC_WANTALLKEYS;
          else if (g.dialogCode & 0x10000000) code &= ~DLGC_WANTALLKEYS;
        } else if (msg->wParam == VK_RETURN && g.editState != kEditing) {
          code &= ~DLGC_WANTALLKEYS;
        }
      }
      *result = code;
      return true;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      ScrollMessage(g, message == WM_VSCROLL, wParam);
      return true;
    case WM_DROPFILES:
      if (GetParent(g.window)) PostMessageW(GetParent(g.window), message, wParam, lParam);
      return true;
    case WM_MOUSEACTIVATE:
      if (!(g.exFlags & SPX_CLICKACTIVATES) && GetForegroundWindow() != GetAncestor(g.window, GA_ROOT)) {
        *result = MA_ACTIVATEANDEAT;
        return true;
      }
      return false;
    case WM_SETFOCUS:
      g.derived |= SPD_HASFOCUS;
      Repaint(g);
      Notify(g, SPN_SETFOCUS, g.focusRow, g.focusColumn);
      return true;
    case WM_KILLFOCUS:
      g.derived &= ~SPD_HASFOCUS;
      Repaint(g);
      Notify(g, SPN_KILLFOCUS, g.focusRow, g.focusColumn);
      return true;
  }
  return false;
}

}  // namespace zq::controls::grid
