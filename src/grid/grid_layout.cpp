// The grid's geometry: metrics from the grid font, the column layout, cell
// and row rectangles, hit tests, scroll bars and scrolling.
#include <algorithm>
#include <cstdlib>
#include <new>

#include "grid/grid_internal.h"
#include "ui/theme_internal.h"

namespace zq::controls::grid {
namespace {

// The built-in dot pattern of the grid lines: every other pixel.
HBRUSH MakeLineBrush(Grid& g) {
  if (g.style & SPS_SOLIDLINES) return CreateSolidBrush(RGB(192, 192, 192));
  static const WORD dots[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  g.lineBitmap = CreateBitmap(8, 8, 1, 1, dots);
  return g.lineBitmap ? CreatePatternBrush(g.lineBitmap) : nullptr;
}

int HeaderLines(const Grid& g) {
  int most = 1;
  if (!g.columns || !g.headers) return most;
  for (LONG c = 0; c < g.columnCount; ++c) {
    int lines = 1;
    for (LPCWSTR p = g.headers + g.columns[c].headerOffset; *p && lines < 3; ++p)
      if (*p == L'\n') ++lines;
    most = std::max(most, lines);
  }
  return most;
}

int AutomaticDigits(const Grid& g) {
  const DWORD rows = (g.derived & SPD_DIGITSFROMROWS) ? static_cast<DWORD>(g.rowCount)
                                                      : static_cast<DWORD>(g.rowsForDigits);
  int digits = 1;
  for (DWORD threshold = 10; digits < 10 && rows >= threshold; threshold *= 10) {
    ++digits;
    if (threshold == 1000000000u) break;
  }
  return digits + 1;
}

// The display order: frozen columns, then from the first scrolled column.
template <typename Visit>
void ForEachShown(const Grid& g, Visit visit) {
  LONG x = g.rowHeaderWidth;
  for (LONG c = 0; c < g.columnCount; ++c) {
    if (c >= g.frozen && c < g.hscroll.pos) continue;
    const LONG w = g.columns[c].width;
    if (!visit(c, x, x + w)) return;
    x += w;
  }
}

LONG RowsTop(const Grid& g) {
  if (g.derived & SPD_NOHEADER) return 0;
  const bool bothLines = (g.style & (SPS_HLINES | SPS_VLINES)) == (SPS_HLINES | SPS_VLINES);
  return g.headerHeight + 1 - (ThemedHeader(g) && !bothLines ? 1 : 0);
}

LONG TotalRows(const Grid& g) { return g.rowCount + ((g.derived & SPD_APPENDROW) ? 1 : 0); }

}  // namespace

LONG ClientWidth(const Grid& g) {
  RECT r;
  GetClientRect(g.window, &r);
  return r.right;
}

LONG ClientHeight(const Grid& g) {
  RECT r;
  GetClientRect(g.window, &r);
  return r.bottom;
}

LONG MeasureText(Grid& g, HDC dc, LPCWSTR text, LONG length, HFONT font) {
  if (!text || length <= 0) return 0;
  HGDIOBJ old = SelectObject(dc, font ? font : g.font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text, static_cast<int>(std::min<LONG>(length, kTextMax)), &size);
  SelectObject(dc, old);
  return size.cx;
}

void UpdateMetrics(Grid& g, HDC dc) {
  DefaultTheme(g.window);
  if (!g.lineBrush) g.lineBrush = MakeLineBrush(g);
  if (!g.memory) {
    g.memory = CreateCompatibleDC(dc);
    if (!g.memory) return;  // the layout stays dirty
  }
  SelectObject(g.memory, g.font);
  SelectObject(dc, g.font);
  g.textColour = GetSysColor(COLOR_WINDOWTEXT);
  g.backColour = GetSysColor(COLOR_WINDOW);
  const int digits = g.digits < 0 ? AutomaticDigits(g) : g.digits;
  g.iconRoom = 0;
  const ZQSPREADCELL* corner = GetHeaderCell(g, 0, kHeader, 1);
  if (corner->images) {
    int width = 0, height = 0;
    ImageList_GetIconSize(corner->images, &width, &height);
    g.iconRoom = width + 4;
    if (corner->indent > 0) g.iconRoom += 2 * width / corner->indent;
  }
  GetTextExtentPoint32W(g.memory, L"0", 1, &g.charCell);
  g.rowHeaderWidth =
      digits <= 0 ? 0 : std::max<LONG>(g.iconRoom + g.extraRowHeaderWidth + digits * g.charCell.cx + 8, g.charCell.cx);
  g.headerHeight = (g.derived & SPD_NOHEADER) ? 0 : g.charCell.cy * HeaderLines(g) + 4;
  g.rowHeight = g.extraRowHeight + g.charCell.cy + 3;
  const LONG width = std::max<LONG>(ClientWidth(g), 1);
  const LONG height = std::max(g.headerHeight + 1, g.rowHeight + 1);
  if (!g.memoryBitmap || g.memoryWidth < width || g.memoryHeight < height) {
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    if (!bitmap) return;
    HGDIOBJ old = SelectObject(g.memory, bitmap);
    if (g.memoryBitmap) DeleteObject(g.memoryBitmap);
    else g.memoryOldBitmap = old;
    g.memoryBitmap = bitmap;
    g.memoryWidth = width;
    g.memoryHeight = height;
  }
  if (g.columns) LayoutColumns(g, g.columns, g.columnCount, ClientWidth(g));
  UpdateScrollBars(g);
  g.layoutDirty = FALSE;
}

void EnsureLayout(Grid& g) {
  if (!g.layoutDirty) return;
  HDC dc = GetDC(g.window);
  if (!dc) return;
  UpdateMetrics(g, dc);
  ReleaseDC(g.window, dc);
}

bool LayoutColumns(Grid& g, ZQSPREADCOLUMN* columns, LONG count, LONG clientWidth) {
  if (!columns || count <= 0) return false;
  const LONG cx = g.charCell.cx > 0 ? g.charCell.cx : 8;
  const LONG available = std::max<LONG>(clientWidth - g.rowHeaderWidth, 0);
  LONG stretch = -1;
  for (LONG c = 0; c < count; ++c)
    if (columns[c].flags & SPC_STRETCH) stretch = c;
  if (stretch < 0 && (g.style & SPS_STRETCHLAST)) stretch = count - 1;
  LONG widths[256];
  LONG* w = count <= 256 ? widths : new (std::nothrow) LONG[count];
  if (!w) return false;
  LONG remaining = available;
  for (LONG c = 0; c < count; ++c) {
    w[c] = 0;
    if (columns[c].spec >= 0) {
      w[c] = MulDiv(columns[c].spec, cx, 8);
      remaining -= w[c];
    }
  }
  if (remaining > 0) {
    const LONG share = remaining;
    for (LONG c = 0; c < count; ++c) {
      if (columns[c].spec < 0) {
        w[c] = MulDiv(columns[c].spec, share, -1000);
        remaining -= w[c];
      }
    }
    if (stretch >= 0 && remaining > 0) w[stretch] += remaining;
  } else if (remaining < 0 && !(g.exFlags & SPX_NOSTRETCHFIT) && stretch >= 0) {
    // The last page ends flush with the window.
    LONG left = available;
    for (LONG c = count - 1; c >= 0 && left - w[c] >= 0; --c) left -= w[c];
    w[stretch] += left;
  }
  bool changed = false;
  for (LONG c = 0; c < count; ++c) {
    const SHORT pixels = static_cast<SHORT>(std::clamp<LONG>(w[c], 0, 0x7FFF));
    if (columns[c].width != pixels) changed = true;
    columns[c].width = pixels;
  }
  if (w != widths) delete[] w;
  return changed;
}

void SetColumnPixelWidth(Grid& g, ZQSPREADCOLUMN& column, LONG width) {
  width = std::max<LONG>(width, 0);
  const LONG cx = g.charCell.cx > 0 ? g.charCell.cx : 8;
  if (column.spec < 0) {
    const LONG old = column.width > 0 ? column.width : 1;
    LONG spec = width == 0 ? -1 : static_cast<LONG>(static_cast<LONGLONG>(column.spec) * width / old);
    if (spec >= 0) spec = -1;
    column.spec = static_cast<SHORT>(std::max<LONG>(spec, -0x8000));
    column.width = static_cast<SHORT>(std::min<LONG>(width, 0x7FFF));
  } else {
    column.spec = static_cast<SHORT>(std::min<LONG>(MulDiv(width, 8, cx), 0x7FFF));
    column.width = static_cast<SHORT>(MulDiv(column.spec, cx, 8));
  }
}

void UpdateAreas(Grid& g) {
  EnsureLayout(g);
  g.cellArea = RECT{g.rowHeaderWidth, RowsTop(g), ClientWidth(g), ClientHeight(g)};
  g.headerBand = RECT{0, 0, ClientWidth(g), (g.derived & SPD_NOHEADER) ? 0 : g.headerHeight + 1};
}

LONG VisibleRows(const Grid& g) {
  const LONG space = ClientHeight(g) - RowsTop(g);
  return g.rowHeight > 0 ? std::max<LONG>(space / g.rowHeight, 0) : 0;
}

LONG RowTop(const Grid& g, DWORD row) {
  return RowsTop(g) + (static_cast<LONG>(row) - g.vscroll.pos) * g.rowHeight;
}

bool ColumnSpan(const Grid& g, DWORD column, LONG* left, LONG* right) {
  if (!g.columns || column >= static_cast<DWORD>(g.columnCount)) return false;
  bool found = false;
  ForEachShown(g, [&](LONG c, LONG l, LONG r) {
    if (c != static_cast<LONG>(column)) return true;
    *left = l;
    *right = r;
    found = true;
    return false;
  });
  return found;
}

RECT CellRect(const Grid& g, DWORD row, DWORD column) {
  RECT r{};
  if (row == kHeader || IsHeaderIndex(row)) {
    r.top = 0;
    r.bottom = g.headerHeight;
  } else {
    r.top = RowTop(g, row);
    r.bottom = r.top + g.rowHeight;
  }
  if (column == kHeader || IsHeaderIndex(column)) {
    r.left = 0;
    r.right = g.rowHeaderWidth;
  } else if (!ColumnSpan(g, column, &r.left, &r.right)) {
    r.left = r.right = 0;
  }
  return r;
}

DWORD HitTest(const Grid& g, POINT point, bool nearestBoundary) {
  DWORD row = kHeader, column = kHeader;
  const LONG top = RowsTop(g);
  if (point.y >= top && g.rowHeight > 0) {
    const LONG offset = point.y - top;
    LONG r = g.vscroll.pos + (nearestBoundary ? (offset + g.rowHeight / 2) / g.rowHeight : offset / g.rowHeight);
    if (nearestBoundary) r = std::min<LONG>(r, g.rowCount);
    row = static_cast<DWORD>(std::min<LONG>(r, ZQSPREAD_HEADERMIN));
  }
  if (point.x >= g.rowHeaderWidth && g.columns && g.columnCount > 0) {
    LONG last = -1;
    ForEachShown(g, [&](LONG c, LONG, LONG r) {
      if (g.columns[c].width <= 0) return true;
      last = c;
      if (point.x < r + 1) {
        column = static_cast<DWORD>(c);
        return false;
      }
      return true;
    });
    if (column == kHeader && last >= 0) column = static_cast<DWORD>(last);
  }
  return MAKELONG(row, column);
}

DWORD LastRow(const Grid& g) {
  const LONG last = (g.derived & SPD_APPENDROW) ? g.rowCount : g.rowCount - 1;
  return static_cast<DWORD>(std::max<LONG>(last, 0));
}

bool Reachable(const Grid& g, DWORD row) {
  return row < static_cast<DWORD>(g.rowCount) || ((g.derived & SPD_APPENDROW) && row == static_cast<DWORD>(g.rowCount));
}

void UpdateScrollBars(Grid& g) {
  const LONG page = std::max<LONG>(VisibleRows(g), 1);
  g.vscroll.min = 0;
  g.vscroll.page = page;
  g.vscroll.max = std::max<LONG>(TotalRows(g) - page, 0);
  g.vscroll.pos = std::clamp(g.vscroll.pos, g.vscroll.min, g.vscroll.max);
  g.hscroll.min = g.frozen;
  LONG fixed = 0;
  for (LONG c = 0; c < g.frozen && c < g.columnCount; ++c) fixed += g.columns[c].width;
  const LONG room = ClientWidth(g) - g.rowHeaderWidth - fixed;
  LONG first = g.columnCount - 1, used = 0;
  while (first >= g.frozen && g.columns && used + g.columns[first].width <= room) used += g.columns[first--].width;
  g.hscroll.max = std::max<LONG>(first + 1, g.frozen);
  LONG shown = 0;
  used = 0;
  for (LONG c = std::max(g.hscroll.pos, g.frozen); g.columns && c < g.columnCount; ++c) {
    used += g.columns[c].width;
    if (used > room) break;
    ++shown;
  }
  g.hscroll.page = std::max<LONG>(shown, 1);
  g.hscroll.pos = std::clamp(g.hscroll.pos, g.hscroll.min, g.hscroll.max);

  SCROLLINFO info{sizeof(info), SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
  info.nMin = 0;
  info.nMax = std::max<LONG>(TotalRows(g) - 1, 0);
  info.nPage = static_cast<UINT>(page);
  info.nPos = g.vscroll.pos;
  if (!(g.derived & SPD_NOVSCROLL) && (g.bars & WS_VSCROLL)) SetScrollInfo(g.window, SB_VERT, &info, TRUE);
  info.nMin = g.frozen;
  info.nMax = std::max<LONG>(g.columnCount - 1, g.frozen);
  info.nPage = static_cast<UINT>(g.hscroll.page);
  info.nPos = g.hscroll.pos;
  if (!(g.derived & SPD_NOHSCROLL) && (g.bars & WS_HSCROLL)) SetScrollInfo(g.window, SB_HORZ, &info, TRUE);
}

LONG SetTopRow(Grid& g, LONG row) {
  const LONG previous = g.vscroll.pos;
  const LONG top = std::clamp(row, g.vscroll.min, g.vscroll.max);
  if (top == previous) return previous;
  const LONG delta = (previous - top) * g.rowHeight;
  g.vscroll.pos = top;
  RECT rows{0, RowsTop(g), ClientWidth(g), ClientHeight(g)};
  if (std::abs(delta) < rows.bottom - rows.top)
    ScrollWindowEx(g.window, 0, delta, &rows, &rows, nullptr, nullptr, SW_INVALIDATE);
  else InvalidateRect(g.window, &rows, FALSE);
  if (!(g.derived & SPD_NOVSCROLL) && (g.bars & WS_VSCROLL)) SetScrollPos(g.window, SB_VERT, top, TRUE);
  return previous;
}

void SetFirstColumn(Grid& g, LONG column) {
  const LONG first = std::clamp(column, g.hscroll.min, g.hscroll.max);
  if (first == g.hscroll.pos) return;
  g.hscroll.pos = first;
  UpdateScrollBars(g);
  InvalidateRect(g.window, nullptr, FALSE);
}

void EnsureVisible(Grid& g, DWORD row, DWORD column) {
  if (!IsHeaderIndex(row)) {
    const LONG r = static_cast<LONG>(row);
    const LONG page = std::max<LONG>(VisibleRows(g), 1);
    if (r < g.vscroll.pos) SetTopRow(g, r);
    else if (r >= g.vscroll.pos + page) SetTopRow(g, r - page + 1);
  }
  if (!IsHeaderIndex(column) && g.columns && static_cast<LONG>(column) >= g.frozen &&
      static_cast<LONG>(column) < g.columnCount) {
    const LONG c = static_cast<LONG>(column);
    if (c < g.hscroll.pos) {
      SetFirstColumn(g, c);
    } else {
      LONG fixed = 0;
      for (LONG i = 0; i < g.frozen; ++i) fixed += g.columns[i].width;
      const LONG room = ClientWidth(g) - g.rowHeaderWidth - fixed;
      LONG first = g.hscroll.pos, used = 0;
      for (LONG i = first; i <= c; ++i) used += g.columns[i].width;
      while (used > room && first < c) used -= g.columns[first++].width;
      SetFirstColumn(g, first);
    }
  }
}

void ScrollMessage(Grid& g, bool vertical, WPARAM wParam) {
  ScrollState& s = vertical ? g.vscroll : g.hscroll;
  LONG pos = s.pos;
  const LONG page = std::max<LONG>(s.page, 1);
  switch (LOWORD(wParam)) {
    case SB_LINEUP: pos -= 1; break;
    case SB_LINEDOWN: pos += 1; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = HIWORD(wParam); break;  // rows and columns fit 16 bits
    default: return;
  }
  pos = std::clamp(pos, s.min, s.max);
  g.inScroll = TRUE;
  if (vertical) SetTopRow(g, pos);
  else SetFirstColumn(g, pos);
  g.inScroll = FALSE;
}

}  // namespace zq::controls::grid
