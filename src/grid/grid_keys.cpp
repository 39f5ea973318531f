// The grid's keyboard: navigation from the focus cell (or the current
// range's end with Shift), editing keys, clipboard keys and typing into the
// in-place editor.
#include <algorithm>

#include "grid/grid_internal.h"

namespace zq::controls::grid {
namespace {

bool Down(int key) { return GetKeyState(key) < 0; }

bool Hooked(Grid& g, WPARAM key, LPARAM keyData) {
  const ZQSPREADRANGE range = SelectionArgument(g);
  return g.iface.keyHook(&g.iface, &range, WM_KEYDOWN, key, keyData) != 0;
}

// Navigation: the target cell for `key`, false for keys that do not move.
bool Target(Grid& g, WPARAM key, DWORD* row, DWORD* column, bool shift) {
  const DWORD lastRow = LastRow(g);
  const DWORD lastColumn = static_cast<DWORD>(std::max<LONG>(g.columnCount - 1, 0));
  const bool multi = MultiSelect(g);
  DWORD r = *row, c = *column;
  switch (key) {
    case VK_TAB:
      if (shift) {
        if (!IsHeaderIndex(c) && c > 0) --c;
      } else if (IsHeaderIndex(c) || c < lastColumn) {
        c = IsHeaderIndex(c) ? 0 : c + 1;
      } else if (!IsHeaderIndex(r) && r < lastRow) {
        c = 0;
        ++r;
      } else {
        c = 0;
        r = lastRow;
      }
      break;
    case VK_PRIOR:
    case VK_NEXT: {
      const LONG page = std::max<LONG>(g.vscroll.page, 1);
      const LONG from = IsHeaderIndex(r) ? g.vscroll.pos : static_cast<LONG>(r);
      r = static_cast<DWORD>(std::clamp<LONG>(key == VK_PRIOR ? from - page : from + page, 0, static_cast<LONG>(lastRow)));
      break;
    }
    case VK_HOME: r = 0; c = 0; break;
    case VK_END: r = lastRow; c = lastColumn; break;
    case VK_LEFT:
      if (IsHeaderIndex(c)) break;
      if (c > 0) --c;
      else if ((g.style & SPS_ROWSELECT) || (r == kHeader && multi)) c = kHeader;
      break;
    case VK_RIGHT:
      if (IsHeaderIndex(c)) c = 0;
      else if (c < lastColumn || ((g.derived & SPD_PASTLASTCOLUMN) && c == lastColumn)) ++c;
      break;
    case VK_UP:
      if (IsHeaderIndex(r)) break;
      if (r > 0) --r;
      else if ((g.style & SPS_COLUMNSELECT) || (c == kHeader && multi)) r = kHeader;
      break;
    case VK_DOWN:
      if (IsHeaderIndex(r)) r = 0;
      else if (r < lastRow) ++r;
      break;
    default: return false;
  }
  *row = r;
  *column = c;
  return true;
}

void Navigate(Grid& g, WPARAM key) {
  const bool shift = Down(VK_SHIFT), ctrl = Down(VK_CONTROL);
  const bool extend = shift && MultiSelect(g) && key != VK_TAB;
  DWORD row = g.focusRow, column = g.focusColumn;
  if (extend && !(g.exFlags & SPX_SIMPLEMOUSE)) {
    const LONG i = FocusRangeIndex(g);
    if (i >= 0) {
      row = Ranges(g)[i].endRow;
      column = Ranges(g)[i].endColumn;
    }
  }
  if (!Target(g, key, &row, &column, shift && key == VK_TAB)) return;
  if (extend) {
    DropOtherRanges(g);
    if (g.exFlags & SPX_SIMPLEMOUSE) SetFocusCell(g, row, column, false, true);
    ExtendTo(g, row, column);
  } else if (ctrl && (g.exFlags & SPX_DISCONTIGUOUS)) {
    SetFocusCell(g, row, column, false, true);
  } else {
    SetFocusCell(g, row, column, true, true);
  }
  EnsureVisible(g, row, column);
}

// Space on a button cell: the owner hears what a click tells it.
void PressButton(Grid& g) {
  if (IsHeaderIndex(g.focusRow) || g.focusRow >= static_cast<DWORD>(g.rowCount)) return;
  Notify(g, SPN_BUTTONIN, g.focusRow, g.focusColumn);
  Notify(g, SPN_BUTTONCLICK, g.focusRow, g.focusColumn);
  InvalidateCell(g, g.focusRow, g.focusColumn, false);
}

void Command(Grid& g, UINT message) { SendMessageW(g.window, message, 0, 0); }

}  // namespace

bool HandleKey(Grid& g, WPARAM key, LPARAM keyData) {
  const bool shift = Down(VK_SHIFT), ctrl = Down(VK_CONTROL);
  switch (key) {
    case VK_TAB: case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
      Navigate(g, key);
      return true;
    case VK_RETURN: case VK_SPACE: case VK_F2:
      if (Hooked(g, key, keyData)) return true;
      if (!IsButtonColumn(g, g.focusColumn)) OpenEditor(g);
      else if (key == VK_SPACE && !(keyData & (1 << 30))) PressButton(g);  // not again while held
      return true;
    case VK_ESCAPE:
      if ((g.mouseState & kMouseDrag) && Hooked(g, key, keyData)) return true;
      CancelMouse(g);
      return true;
    case VK_INSERT:
      if (shift) Command(g, WM_PASTE);
      else if (ctrl) Command(g, WM_COPY);
      return true;
    case VK_DELETE:
      Command(g, shift ? WM_CUT : WM_CLEAR);
      return true;
    case VK_BACK:
      if (keyData & (1 << 25)) Command(g, WM_UNDO);
      return true;
    case VK_APPS:
      SendMessageW(g.window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(g.window), -1);
      return true;
    case VK_F10:
      if (shift) {
        SendMessageW(g.window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(g.window), -1);
        return true;
      }
      break;
    case VK_NUMLOCK: return true;
  }
  if (ctrl) {
    switch (key) {
      case 'A': Command(g, SPM_SELECTALL); return true;
      case 'C': Command(g, WM_COPY); return true;
      case 'V': Command(g, WM_PASTE); return true;
      case 'X': Command(g, WM_CUT); return true;
      case 'Z': Command(g, shift ? SPM_REDO : WM_UNDO); return true;
    }
    return false;
  }
  if (Hooked(g, key, keyData)) return true;
  const bool typed = (key >= 0x30 && key <= 0x6F) || (key >= 0x80 && key <= 0xEF);
  if (typed && !IsButtonColumn(g, g.focusColumn) && g.editor) {
    OpenEditor(g);
    if (g.editState == kEditing) SendMessageW(g.editor, WM_KEYDOWN, key, keyData);
    return true;
  }
  return false;
}

}  // namespace zq::controls::grid
