// The grid's in-place editor: the "ZqSpreadEdit" superclass of the system's
// edit control, opening it over the focus cell, committing its text to the
// owner and closing it.
#include <algorithm>

#include "grid/grid_internal.h"

namespace zq::controls::grid {
namespace {

WNDPROC g_editProc = nullptr;

bool OwnsKey(WPARAM key) {
  return key == VK_RETURN || key == VK_ESCAPE || key == VK_TAB;
}

LRESULT CALLBACK EditorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND grid = GetParent(window);
  switch (message) {
    case WM_GETDLGCODE:
      return CallWindowProcW(g_editProc, window, message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_TAB: case VK_PRIOR: case VK_NEXT: case VK_UP: case VK_DOWN:
          SendMessageW(grid, message, wParam, lParam);
          return 0;
        case VK_HOME: case VK_END: case VK_LEFT: case VK_RIGHT:
          if (!IsWindowVisible(window)) {
            SendMessageW(grid, message, wParam, lParam);
            return 0;
          }
          break;
        case VK_RETURN:
          SendMessageW(grid, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(window));
          if (lParam & (1 << 24)) PostMessageW(grid, WM_KEYDOWN, VK_DOWN, 0);
          return 0;
        case VK_ESCAPE:
          SendMessageW(grid, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(window));
          return 0;
      }
      break;
    case WM_KEYUP:
    case WM_CHAR:
      if (OwnsKey(wParam)) return 0;
      if (message == WM_CHAR && !IsWindowVisible(window)) return 0;
      break;
  }
  return CallWindowProcW(g_editProc, window, message, wParam, lParam);
}

}  // namespace

bool RegisterEditClass(HINSTANCE instance) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (g_editProc && GetClassInfoExW(instance, ZQSPREAD_EDITCLASS, &existing)) return true;
  WNDCLASSEXW edit{};
  edit.cbSize = sizeof(edit);
  if (!GetClassInfoExW(nullptr, L"EDIT", &edit)) return false;
  g_editProc = edit.lpfnWndProc;
  edit.lpfnWndProc = EditorProc;
  edit.hInstance = instance;
  edit.style |= CS_GLOBALCLASS;
  edit.lpszClassName = ZQSPREAD_EDITCLASS;
  return RegisterClassExW(&edit) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateEditor(Grid& g) {
  if (g.editor) return g.editor;
  auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(g.window, GWLP_HINSTANCE));
  g.editor = CreateWindowExW(WS_EX_NOPARENTNOTIFY, ZQSPREAD_EDITCLASS, L"", WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                             0, 0, 0, 0, g.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ZQSPREAD_EDITID)),
                             instance, nullptr);
  if (g.editor) SendMessageW(g.editor, WM_SETFONT, reinterpret_cast<WPARAM>(g.font), 0);
  return g.editor;
}

void OpenEditor(Grid& g) {
  if (g.editState == kControlEdit) g.editState = kIdle;
  if (g.editState != kIdle || !g.columns) return;
  const DWORD row = g.focusRow, column = g.focusColumn;
  if ((row >= static_cast<DWORD>(g.rowCount) && row != kHeader) || column >= static_cast<DWORD>(g.columnCount)) return;
  const WORD flags = g.columns[column].flags;
  if (flags & SPC_BUTTON) return;
  if ((flags & SPC_ASKEDIT) || (g.style & SPS_ASKEDIT)) {
    if (g.iface.mayEdit(&g.iface, row, column, 0) != 1) return;
  } else if (!(flags & SPC_EDITABLE)) {
    return;
  }
  if (!g.editor) return;
  EnsureLayout(g);
  SetFocusCell(g, row == kHeader ? 0 : row, column, true, true);
  RECT cell = CellRect(g, g.focusRow, g.focusColumn);
  InflateRect(&cell, 1, 1);
  g.editorRect = cell;
  if (Notify(g, SPN_EDITOPENING, g.focusRow, g.focusColumn) == -1) return;
  const ZQSPREADCELL* c = GetCell(g, g.focusRow, g.focusColumn, SPF_TEXT);
  CopyToText(g, c->text, c->text ? c->length : 0);
  SetWindowTextW(g.editor, g.text);
  SetWindowPos(g.editor, HWND_TOP, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top, SWP_SHOWWINDOW);
  SendMessageW(g.editor, EM_SETSEL, 0, 0x7FFF);
  SetFocus(g.editor);
  g.editorDirty = FALSE;
  g.editState = kEditing;
}

void CommitEditor(Grid& g) {
  if (g.editState != kEditing) return;
  if (g.editorDirty && g.editor) {
    GetWindowTextW(g.editor, g.text, kTextMax);
    g.text[kTextMax - 1] = 0;
    const DWORD flags =
        g.iface.setCell(&g.iface, g.focusRow, g.focusColumn, SPF_TEXT, reinterpret_cast<LPARAM>(g.text));
    ApplyRefresh(g, g.focusRow, g.focusColumn, flags);
    if (flags) Notify(g, SPN_EDITCOMMITTED, g.focusRow, g.focusColumn);
  }
  CloseEditor(g);
}

void CloseEditor(Grid& g) {
  if (g.editState != kEditing) return;
  g.editState = kIdle;
  if (g.editor) {
    if (GetFocus() == g.editor) SetFocus(g.window);
    ShowWindow(g.editor, SW_HIDE);
  }
  InvalidateRect(g.window, &g.editorRect, FALSE);
}

}  // namespace zq::controls::grid
