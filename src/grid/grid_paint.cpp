// Painting the grid: the column header (classic or with the theme's header
// parts), then row by row through the memory bitmap: the row header, the
// cells with their text, frame controls, image buttons and embedded
// controls, and the grid lines.
#include <algorithm>
#include <cstring>

#include "grid/grid_internal.h"
#include "ui/theme_internal.h"
#include "zq/theme.h"
#include "zq/ui.h"

#include <vssym32.h>

namespace zq::controls::grid {
namespace {

// Room between a row number and the row header's right edge, as a header
// control leaves beside its titles.
constexpr LONG kRowNumberMargin = 6;

struct Colours {
  COLORREF text, back;
  COLORREF face, highlight, shadow, frame, selection, selectionText, buttonText, grayText;
};

Colours ColoursOf(COLORREF text, COLORREF back) {
  return Colours{text,
                 back,
                 GetSysColor(COLOR_BTNFACE),
                 GetSysColor(COLOR_BTNHIGHLIGHT),
                 GetSysColor(COLOR_BTNSHADOW),
                 GetSysColor(COLOR_WINDOWFRAME),
                 GetSysColor(COLOR_HIGHLIGHT),
                 GetSysColor(COLOR_HIGHLIGHTTEXT),
                 GetSysColor(COLOR_BTNTEXT),
                 GetSysColor(COLOR_GRAYTEXT)};
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// A raised (or sunken) one-pixel edge inside `r`.
void Edges(HDC dc, const RECT& r, bool sunken) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  HGDIOBJ old = SelectObject(dc, ZqGetUIBrush(sunken ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT));
  PatBlt(dc, r.left, r.top, w, 1, PATCOPY);
  PatBlt(dc, r.left, r.top, 1, h, PATCOPY);
  SelectObject(dc, ZqGetUIBrush(sunken ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW));
  PatBlt(dc, r.left, r.bottom - 1, w, 1, PATCOPY);
  PatBlt(dc, r.right - 1, r.top, 1, h, PATCOPY);
  SelectObject(dc, old);
}

// A button-face cell with a raised (or sunken) one-pixel edge.
void Bevel(HDC dc, const RECT& r, const Colours& c, bool sunken) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  Fill(dc, r, c.face);
  Edges(dc, r, sunken);
}

// Themed header items drawn once per size and state and copied from then
// on (the theme draws them far more slowly than a copy); shared by every
// grid of the process, dropped when the theme handle changes or the last
// grid goes.
struct ItemCache {
  HTHEME theme;
  HDC dc;
  int next;
  struct Item {
    LONG width, height;
    int state;
    HBITMAP bitmap;
  } items[16];
} g_items{};
int g_grids = 0;

void FlushItems() {
  for (auto& item : g_items.items)
    if (item.bitmap) DeleteObject(item.bitmap);
  if (g_items.dc) DeleteDC(g_items.dc);
  g_items = ItemCache{};
}

bool DrawThemedItem(HDC dc, const RECT& r, int state) {
  const ZQXPTHEME* theme = ActiveTheme();
  if (!theme || !theme->themes[ZQXPTHEME_HEADER] || r.right <= r.left) return false;
  auto draw = reinterpret_cast<decltype(&DrawThemeBackground)>(theme->entries[ZQXT_DrawThemeBackground]);
  if (!draw) return false;
  HTHEME header = theme->themes[ZQXPTHEME_HEADER];
  if (g_items.theme != header) {
    FlushItems();
    g_items.theme = header;
  }
  const LONG width = r.right - r.left, height = r.bottom - r.top;
  if (!g_items.dc) g_items.dc = CreateCompatibleDC(dc);
  ItemCache::Item* found = nullptr;
  for (auto& item : g_items.items)
    if (item.bitmap && item.width == width && item.height == height && item.state == state) found = &item;
  if (!found && g_items.dc) {
    ItemCache::Item& slot = g_items.items[g_items.next];
    g_items.next = (g_items.next + 1) % 16;
    if (slot.bitmap) DeleteObject(slot.bitmap);
    slot = ItemCache::Item{width, height, state, CreateCompatibleBitmap(dc, width, height)};
    if (slot.bitmap) {
      HGDIOBJ old = SelectObject(g_items.dc, slot.bitmap);
      const RECT whole{0, 0, width, height};
      const bool drawn = SUCCEEDED(draw(header, g_items.dc, HP_HEADERITEM, state, &whole, nullptr));
      SelectObject(g_items.dc, old);
      if (drawn) found = &slot;
      else {
        DeleteObject(slot.bitmap);
        slot = ItemCache::Item{};
      }
    }
  }
  if (!found) return SUCCEEDED(draw(header, dc, HP_HEADERITEM, state, &r, nullptr));
  HGDIOBJ old = SelectObject(g_items.dc, found->bitmap);
  BitBlt(dc, r.left, r.top, width, height, g_items.dc, 0, 0, SRCCOPY);
  SelectObject(g_items.dc, old);
  return true;
}

// Copies `length` characters of `text` into the grid's buffer, shortened
// with "..." to fit `width` pixels. Returns the length in the buffer.
int FitText(Grid& g, HDC dc, LPCWSTR text, LONG length, LONG width) {
  int kept = CopyToText(g, text, length);
  if (kept == 0) return 0;
  SIZE size{};
  GetTextExtentPoint32W(dc, g.text, kept, &size);
  if (size.cx <= width) return kept;
  SIZE dots{};
  GetTextExtentPoint32W(dc, L"...", 3, &dots);
  int fit = 0;
  const LONG room = std::max<LONG>(width - dots.cx, 0);
  GetTextExtentExPointW(dc, g.text, kept, room, &fit, nullptr, &size);
  fit = std::clamp(fit, 0, kTextMax - 4);
  std::memcpy(g.text + fit, L"...", 3 * sizeof(WCHAR));
  g.text[fit + 3] = 0;
  return fit + 3;
}

// Up to three header lines, centred; the last on the bottom, the others at
// a half or at a third and two thirds of the height. Returns the right end
// of the widest line.
LONG HeaderTitle(Grid& g, HDC dc, const RECT& cell, LPCWSTR title, LONG shift) {
  LPCWSTR lines[3];
  int lengths[3], count = 0;
  for (LPCWSTR p = title; count < 3;) {
    LPCWSTR end = p;
    while (*end && *end != L'\n') ++end;
    lines[count] = p;
    lengths[count++] = static_cast<int>(end - p);
    if (!*end) break;
    p = end + 1;
  }
  const LONG height = cell.bottom - cell.top;
  LONG rightmost = cell.left;
  SetTextAlign(dc, TA_CENTER | TA_BOTTOM);
  const LONG middle = (cell.left + cell.right) / 2 - shift;
  for (int i = 0; i < count; ++i) {
    const LONG bottom = i == count - 1 ? cell.bottom - 1 : cell.top + height * (i + 1) / count;
    RECT clip{cell.left + 1, cell.top, cell.right - 1, cell.bottom};
    const int n = FitText(g, dc, lines[i], lengths[i], clip.right - clip.left - 2);
    SIZE size{};
    GetTextExtentPoint32W(dc, g.text, n, &size);
    ExtTextOutW(dc, middle, bottom, ETO_CLIPPED, &clip, g.text, static_cast<UINT>(n), nullptr);
    rightmost = std::max(rightmost, middle + size.cx / 2);
  }
  return rightmost;
}

void SortTriangle(HDC dc, LONG x, const RECT& cell, bool down) {
  const LONG top = (cell.top + cell.bottom - 6) / 2;
  HPEN shadow = ZqGetUIPenWithStyle(COLOR_BTNSHADOW, ZQ_UIPEN_SOLID);
  HPEN highlight = ZqGetUIPenWithStyle(COLOR_BTNHIGHLIGHT, ZQ_UIPEN_SOLID);
  HGDIOBJ old = SelectObject(dc, shadow);
  if (down) {
    // Upper and left strokes in shadow, the right one in highlight.
    MoveToEx(dc, x, top, nullptr);
    LineTo(dc, x + 7, top);
    MoveToEx(dc, x, top, nullptr);
    LineTo(dc, x + 3, top + 6);
    SelectObject(dc, highlight);
    MoveToEx(dc, x + 6, top, nullptr);
    LineTo(dc, x + 3, top + 6);
  } else {
    MoveToEx(dc, x + 3, top, nullptr);
    LineTo(dc, x, top + 6);
    SelectObject(dc, highlight);
    MoveToEx(dc, x + 3, top, nullptr);
    LineTo(dc, x + 6, top + 6);
    LineTo(dc, x - 1, top + 6);
  }
  SelectObject(dc, old);
}

void PaintHeader(Grid& g, HDC dc, const Colours& c, LONG width) {
  HDC m = g.memory;
  const LONG h = g.headerHeight;
  const bool themed = ThemedHeader(g);
  const bool multi = MultiSelect(g);
  Fill(m, RECT{0, 0, width, h + 1}, themed ? c.back : c.frame);
  // The corner.
  const bool all = [&] {
    for (LONG i = 0; i < RangeCount(g); ++i)
      if (IsHeaderIndex(Ranges(g)[i].anchorRow) && IsHeaderIndex(Ranges(g)[i].anchorColumn)) return true;
    return false;
  }();
  if (g.rowHeaderWidth > 0) {
    const RECT corner{0, 0, g.rowHeaderWidth - 1, h};
    if (!themed || !DrawThemedItem(m, RECT{0, 0, g.rowHeaderWidth, h + 1}, all ? HIS_PRESSED : HIS_NORMAL))
      Bevel(m, corner, c, all);
  }
  SetBkMode(m, TRANSPARENT);
  const bool disabled = !IsWindowEnabled(g.window);
  LONG end = g.rowHeaderWidth;
  if (g.columns) {
    for (LONG col = 0; col < g.columnCount; ++col) {
      LONG left, right;
      if (!ColumnSpan(g, static_cast<DWORD>(col), &left, &right)) continue;
      end = right;
      if (right <= left || left >= width) continue;
      const ZQSPREADCOLUMN& column = g.columns[col];
      const bool sunken = multi && ColumnSelected(g, static_cast<DWORD>(col));
      RECT cell{left, 0, right - 1, h};
      if (!themed || !DrawThemedItem(m, RECT{left, 0, right, h + 1}, sunken ? HIS_PRESSED : HIS_NORMAL))
        Bevel(m, cell, c, sunken);
      SetTextColor(m, (disabled || (column.flags & SPC_GRAYTITLE)) ? c.grayText : c.buttonText);
      const bool sorted = g.sortColumn == static_cast<DWORD>(col);
      const LONG shift = sorted ? 6 : 0;
      const LPCWSTR title = g.headers ? g.headers + column.headerOffset : L"";
      const LONG titleEnd = HeaderTitle(g, m, cell, title, shift);
      if (sorted && h > 10 && titleEnd + 4 + 7 <= cell.right - 1) SortTriangle(m, titleEnd + 4, cell, g.sortDirection != 0);
    }
  }
  if (end < width) {
    RECT rest{end, 0, width, h};
    if (!themed || !DrawThemedItem(m, RECT{end, 0, width, h + 1}, HIS_NORMAL)) Bevel(m, rest, c, false);
  }
  // The theme's items end without a line; the rows get one as the classic
  // header gives them.
  if (themed) Fill(m, RECT{0, h, width, h + 1}, c.shadow);
  SetBkMode(m, OPAQUE);
  BitBlt(dc, 0, 0, width, h + 1, m, 0, 0, SRCCOPY);
}

// A frame control: a type in bits 11 ... 15, or the widening flag (check
// boxes have type 0).
bool HasFrame(const ZQSPREADCELL& c) { return SPCF_FRAMETYPE(c.flags) != 0 || (c.flags & SPCF_FRAMEWIDEN); }

void PaintFrame(HDC dc, const RECT& cell, const ZQSPREADCELL* c, LONG indent, bool pressed = false) {
  const UINT type = SPCF_FRAMETYPE(c->flags);
  const UINT state = (SPCF_FRAMESTATE(c->flags) << 8) | (pressed ? UINT{DFCS_PUSHED} : 0u);
  const LONG size = std::max<LONG>(std::min<LONG>(cell.bottom - cell.top - 3, 13), 4);
  const LONG top = (cell.top + cell.bottom - size) / 2;
  RECT box{cell.left + 2 + indent, top, cell.left + 2 + indent + size, top + size};
  if ((type & 0xF) == DFCS_BUTTONCHECK || (type & 0xF) == DFCS_BUTTONRADIO) XPTheme_DrawFrameControl(dc, &box, type | state);
  else DrawFrameControl(dc, &box, DFC_BUTTON, type | state);
}

// Whether a press that started on this cell is still inside it (for image
// buttons: inside the button).
bool PressedHere(const Grid& g, DWORD row, DWORD column, DWORD kind, DWORD inside) {
  return (g.mouseState & (kind | inside)) == (kind | inside) && g.pressRow == row && g.pressColumn == column;
}

void PaintImageButton(Grid& g, HDC dc, DWORD row, DWORD column, const RECT& cell, LONG inset) {
  const ControlEntry& e = g.controls[column];
  auto images = reinterpret_cast<HIMAGELIST>(static_cast<UINT_PTR>(e.button[1]));
  RECT button = ImageButtonArea(g, column, cell);
  const LONG in = inset >= 3 ? 2 : 1;
  if (images) ImageList_Draw(images, static_cast<int>(e.button[4]), dc, button.left + in, button.top + in, ILD_NORMAL);
  if (PressedHere(g, row, column, kMouseImage, kMouseImageInside)) DrawEdge(dc, &button, BDR_SUNKENOUTER, BF_RECT);
}

struct RowPaint {
  DWORD row;
  LONG top, bottom;  // the row's rectangle (client y)
  bool painted;      // the owner's row record asked for it
  bool data;         // a row below the count shows nothing
};

void PaintRowHeader(Grid& g, HDC m, const RowPaint& rp, const Colours& c) {
  if (g.rowHeaderWidth <= 0) return;
  const bool sunken = MultiSelect(g) && rp.data && RowSelected(g, rp.row);
  RECT cell{0, rp.top, g.rowHeaderWidth - 1, rp.bottom};
  Fill(m, RECT{g.rowHeaderWidth - 1, rp.top, g.rowHeaderWidth, rp.bottom}, c.frame);
  if (!rp.data) {
    Bevel(m, cell, c, sunken);
    return;
  }
  const ZQSPREADCELL* h = GetHeaderCell(g, rp.row, kHeader, 0);
  RECT text = cell;
  if (sunken) OffsetRect(&text, 0, 1);
  const bool decorated = h->images || HasFrame(*h);
  if (decorated) {
    Fill(m, cell, c.face);
    if (h->images) ImageList_Draw(h->images, h->extra, m, text.left + 2, text.top + 1, ILD_TRANSPARENT);
    if (HasFrame(*h)) PaintFrame(m, text, h, 0);
  }
  SetTextColor(m, (h->flags & SPCF_COLOUR) ? h->colour : c.buttonText);
  SetBkColor(m, c.face);
  HGDIOBJ old = (h->flags & SPCF_FONT) && h->font ? SelectObject(m, h->font) : nullptr;
  const int n = FitText(g, m, h->text, h->length, text.right - text.left - kRowNumberMargin - 1);
  SetTextAlign(m, TA_RIGHT | TA_BOTTOM);
  // The face and the number in one call, unless images or a frame lie under it.
  if (decorated) SetBkMode(m, TRANSPARENT);
  ExtTextOutW(m, text.right - kRowNumberMargin, text.bottom - 1, ETO_CLIPPED | (decorated ? 0 : ETO_OPAQUE), &cell,
              g.text, static_cast<UINT>(n), nullptr);
  SetBkMode(m, OPAQUE);
  Edges(m, cell, sunken);
  if (old) SelectObject(m, old);
}

void PaintCell(Grid& g, HDC m, const RowPaint& rp, DWORD column, RECT cell, const Colours& c) {
  const ZQSPREADCOLUMN& col = g.columns[column];
  const bool selected = CellSelected(g, rp.row, column) && rp.data;
  const bool focused = g.derived & SPD_HASFOCUS;
  COLORREF back = c.back, text = c.text;
  if (selected) {
    back = focused ? c.selection : c.face;
    text = focused ? c.selectionText : c.text;
  }
  if (!rp.data) {
    Fill(m, cell, back);
    return;
  }
  const ZQSPREADCELL* cellData = GetCell(g, rp.row, column, SPF_DISPLAY);
  if ((cellData->flags & SPCF_COLOUR) && !(selected && focused)) text = cellData->colour;
  const ZQSPREADCONTROL* d = col.control;
  // Plain text: the background and the text in one call.
  const bool plain = !d && !HasFrame(*cellData);
  if (!plain) Fill(m, cell, back);
  if (d && d->kind != SPK_IMAGEBUTTON) {
    DrawControl(g, m, rp.row, column, cell, cellData, back, text);
    return;
  }
  LONG indent = std::max<LONG>(cellData->indent, 0);
  RECT area = cell;
  if (HasFrame(*cellData)) {
    PaintFrame(m, cell, cellData, indent, PressedHere(g, rp.row, column, kMouseButton, kMouseButtonInside));
    if (cellData->flags & SPCF_FRAMEWIDEN) area.left += cell.bottom - cell.top;
  }
  const bool imageButton = d && d->kind == SPK_IMAGEBUTTON && column < static_cast<DWORD>(g.controlCapacity);
  if (imageButton) {
    PaintImageButton(g, m, rp.row, column, cell, indent);
    if (!(g.controls[column].button[0] & SPB_WITHTEXT)) return;
  }
  const DWORD align = (cellData->flags & SPCF_ALIGN) ? cellData->align : col.flags;
  HGDIOBJ old = (cellData->flags & SPCF_FONT) && cellData->font ? SelectObject(m, cellData->font) : nullptr;
  const LONG room = (area.right - area.left) - indent - 4;
  const int n = FitText(g, m, cellData->text, cellData->length, room);
  SetTextColor(m, text);
  SetBkColor(m, back);
  if (!plain) SetBkMode(m, TRANSPARENT);
  LONG x;
  switch (align & SPC_ALIGNMASK) {
    case SPC_LEFT: SetTextAlign(m, TA_LEFT | TA_BOTTOM); x = area.left + indent + 2; break;
    case SPC_CENTER: SetTextAlign(m, TA_CENTER | TA_BOTTOM); x = (area.left + area.right) / 2; break;
    default: SetTextAlign(m, TA_RIGHT | TA_BOTTOM); x = area.right - 2; break;
  }
  ExtTextOutW(m, x, area.bottom - 1, ETO_CLIPPED | (plain ? ETO_OPAQUE : 0), &area, g.text, static_cast<UINT>(n),
              nullptr);
  SetBkMode(m, OPAQUE);
  if (old) SelectObject(m, old);
}

// A grid line. The dot pattern takes the DC's text and background colours:
// those of the grid, not whatever the last cell drawn left selected.
void GridLine(Grid& g, HDC m, const Colours& c, LONG x, LONG y, LONG width, LONG height) {
  SelectObject(m, g.lineBrush);
  SetTextColor(m, c.text);
  SetBkColor(m, c.back);
  PatBlt(m, x, y, width, height, PATCOPY);
}

bool DrawsRowLine(Grid& g, DWORD row) {
  if (g.exFlags & SPX_ASKLINES) return Notify(g, SPN_ROWLINE, row, 0) != 0;
  return (g.style & SPS_HLINES) != 0;
}

void PaintRow(Grid& g, HDC dc, const RowPaint& rp, const Colours& c, LONG width) {
  HDC m = g.memory;
  SetViewportOrgEx(m, 0, -rp.top, nullptr);
  const bool lines = (g.style & SPS_HLINES) || (g.exFlags & SPX_ASKLINES);
  const LONG cellBottom = lines ? rp.bottom - 1 : rp.bottom;
  PaintRowHeader(g, m, RowPaint{rp.row, rp.top, rp.bottom, rp.painted, rp.data}, c);
  LONG end = g.rowHeaderWidth;
  if (g.columns) {
    for (LONG col = 0; col < g.columnCount; ++col) {
      LONG left, right;
      if (!ColumnSpan(g, static_cast<DWORD>(col), &left, &right)) continue;
      end = right;
      if (right <= left || left >= width) continue;
      RECT cell{left, rp.top, right, cellBottom};
      if (g.style & SPS_VLINES) cell.right -= 1;
      PaintCell(g, m, rp, static_cast<DWORD>(col), cell, c);
      if (g.style & SPS_VLINES) GridLine(g, m, c, right - 1, rp.top, 1, rp.bottom - rp.top);
    }
  }
  if (end < width) Fill(m, RECT{end, rp.top, width, rp.bottom}, c.back);
  if (lines) {
    const LONG right = std::min(end, width);
    if (rp.data && DrawsRowLine(g, rp.row)) {
      GridLine(g, m, c, g.rowHeaderWidth, rp.bottom - 1, right - g.rowHeaderWidth, 1);
    } else {
      Fill(m, RECT{g.rowHeaderWidth, rp.bottom - 1, right, rp.bottom}, c.back);
    }
  }
  // The focus mark, wherever the focus can stand: on a row of the owner's
  // (painted or not) or on the append row.
  const bool showFocus =
      (g.derived & (SPD_FOCUSALWAYS | SPD_HASFOCUS)) && g.focusRow == rp.row && Reachable(g, rp.row);
  if (showFocus && g.editState != kEditing) {
    RECT focus;
    if (g.derived & SPD_ROWFOCUSRECT) {
      focus = RECT{g.rowHeaderWidth, rp.top, std::min(end, width), cellBottom};
    } else {
      focus = CellRect(g, rp.row, g.focusColumn);
      focus.bottom = cellBottom;
    }
    if (focus.right > focus.left) {
      SetTextColor(m, c.text);
      SetBkColor(m, c.back);
      DrawFocusRect(m, &focus);
    }
  }
  SetViewportOrgEx(m, 0, 0, nullptr);
  BitBlt(dc, 0, rp.top, width, rp.bottom - rp.top, m, 0, 0, SRCCOPY);
}

}  // namespace

RECT ImageButtonArea(const Grid& g, DWORD column, const RECT& cell) {
  if (!g.columns || column >= static_cast<DWORD>(g.columnCount) || column >= static_cast<DWORD>(g.controlCapacity) ||
      !g.columns[column].control || g.columns[column].control->kind != SPK_IMAGEBUTTON)
    return RECT{};
  const ControlEntry& e = g.controls[column];
  RECT button = cell;
  if (e.button[0] & SPB_RIGHTPART) button.left = std::max<LONG>(cell.right - static_cast<LONG>(e.button[2]), cell.left);
  return button;
}

void GridPaintAcquire() { ++g_grids; }

void GridPaintRelease() {
  if (g_grids > 0 && --g_grids == 0) FlushItems();
}

bool ThemedHeader(const Grid& g) {
  const ZQXPTHEME* theme = ActiveTheme();
  return !(g.derived & SPD_NOHEADER) && theme && theme->themes[ZQXPTHEME_HEADER];
}

void Paint(Grid& g, HDC dc, const RECT& update) {
  if (g.editState >= kSuspended) return;
  DefaultTheme(g.window);
  if (g.layoutDirty) UpdateMetrics(g, dc);
  if (g.layoutDirty || !g.memory || !g.memoryBitmap) return;
  SelectObject(dc, g.font);
  SelectObject(g.memory, g.font);
  SetTextColor(dc, g.textColour);
  SetBkColor(dc, g.backColour);
  HWND parent = GetParent(g.window);
  if (parent) SendMessageW(parent, SPM_CTLCOLORGRID, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(g.window));
  const Colours c = ColoursOf(GetTextColor(dc), GetBkColor(dc));
  const LONG width = std::min<LONG>(ClientWidth(g), g.memoryWidth);
  if (!(g.derived & SPD_NOHEADER) && update.top < g.headerHeight + 1) PaintHeader(g, dc, c, width);
  const LONG firstTop = RowTop(g, static_cast<DWORD>(g.vscroll.pos));
  const LONG bottom = update.bottom;
  for (LONG row = g.vscroll.pos, top = firstTop; top < bottom && row < static_cast<LONG>(ZQSPREAD_HEADERMIN);
       ++row, top += g.rowHeight) {
    if (top + g.rowHeight <= update.top) continue;
    RowPaint rp{static_cast<DWORD>(row), top, top + g.rowHeight, false, false};
    if (row < g.rowCount) {
      const ZQSPREADROW* record = GetRow(g, rp.row);
      rp.painted = record && record->paint;
      rp.data = rp.painted;
    }
    PaintRow(g, dc, rp, c, width);
  }
}

void InvalidateCell(Grid& g, DWORD row, DWORD column, bool now) {
  RECT r;
  if (column == kHeader) {
    r = CellRect(g, row, kHeader);
    r.right = ClientWidth(g);
  } else {
    r = CellRect(g, row, column);
  }
  InflateRect(&r, 1, 1);
  InvalidateRect(g.window, &r, FALSE);
  if (now) UpdateWindow(g.window);
}

void InvalidateRow(Grid& g, DWORD row) { InvalidateCell(g, row, kHeader, false); }

void InvalidateColumn(Grid& g, DWORD column) {
  RECT r = CellRect(g, kHeader, column);
  r.bottom = ClientHeight(g);
  InvalidateRect(g.window, &r, FALSE);
}

void Repaint(Grid& g) { InvalidateRect(g.window, nullptr, FALSE); }

}  // namespace zq::controls::grid
