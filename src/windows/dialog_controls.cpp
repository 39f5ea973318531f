// Dialog conveniences on controls: rectangles in dialog coordinates,
// groups enabled or shown together, radio groups, dropped combo boxes,
// and hooked dialogs lined up with their main dialog.
#include "zq/window.h"

namespace {

// The control's window rectangle in dialog client coordinates.
bool ControlRect(HWND dialog, HWND control, RECT* rect) noexcept {
  if (!control || !GetWindowRect(control, rect)) return false;
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(rect), 2);
  return true;
}

bool IsClass(HWND window, const WCHAR* name) noexcept {
  WCHAR found[16];
  return window && GetClassNameW(window, found, 16) && lstrcmpiW(found, name) == 0;
}

template <typename Apply>
BOOL ForEachControl(HWND dialog, const int* ids, int count, Apply apply) noexcept {
  if (!dialog || (count > 0 && !ids)) return FALSE;
  for (int i = 0; i < count; ++i)
    if (HWND control = GetDlgItem(dialog, ids[i])) apply(control);
  return TRUE;
}

}  // namespace

ZQAPI BOOL WINAPI ZqGetRealClientRect(HWND window, RECT* rect) noexcept {
  if (!rect) return FALSE;
  if (!GetClientRect(window, rect)) {
    SetRectEmpty(rect);
    return FALSE;
  }
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  if (style & WS_HSCROLL) rect->bottom += GetSystemMetrics(SM_CYHSCROLL);
  if (style & WS_VSCROLL) rect->right += GetSystemMetrics(SM_CXVSCROLL);
  return TRUE;
}

ZQAPI BOOL WINAPI ZqDlgGetControlRect(HWND dialog, HWND control, int id, RECT* rect) noexcept {
  if (!rect) return FALSE;
  if (!control && dialog) control = GetDlgItem(dialog, id);
  if (!dialog || !ControlRect(dialog, control, rect)) {
    SetRectEmpty(rect);
    return FALSE;
  }
  return TRUE;
}

ZQAPI BOOL WINAPI ZqDlgEnableControls(HWND dialog, const int* ids, int count, BOOL enable) noexcept {
  return ForEachControl(dialog, ids, count, [enable](HWND control) { EnableWindow(control, enable); });
}

ZQAPI BOOL WINAPI ZqDlgShowControls(HWND dialog, const int* ids, int count, BOOL show) noexcept {
  return ForEachControl(dialog, ids, count,
                        [show](HWND control) { ShowWindow(control, show ? SW_SHOWNA : SW_HIDE); });
}

ZQAPI int WINAPI ZqDlgWhichRadioButton(HWND dialog, int first, int last, int fallback) noexcept {
  if (!dialog || first > last) return fallback;
  // The lowest ticked id in the range, found among the dialog's controls
  // rather than by trying every id: a range up to INT_MAX stays quick and
  // the count cannot run past it.
  bool found = false;
  int lowest = 0;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    if (id < first || id > last || (found && id >= lowest)) continue;
    if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) {
      lowest = id;
      found = true;
    }
  }
  return found ? lowest : fallback;
}

ZQAPI BOOL WINAPI ZqDlgUndropComboBox(DWORD) noexcept {
  HWND focus = GetFocus();
  HWND combo = nullptr;
  if (IsClass(focus, L"ComboBox")) {
    combo = focus;
  } else if (IsClass(focus, L"Edit")) {
    HWND parent = GetParent(focus);
    if (IsClass(parent, L"ComboBox")) combo = parent;
  }
  if (!combo || !SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) return FALSE;
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  return TRUE;
}

ZQAPI BOOL WINAPI ZqIsMouseInControl(HWND dialog, int id, int x, int y, BOOL client) noexcept {
  HWND control = dialog ? GetDlgItem(dialog, id) : nullptr;
  RECT rect;
  if (!control || !GetWindowRect(control, &rect)) return FALSE;
  if (client) MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return PtInRect(&rect, POINT{x, y});
}

ZQAPI BOOL WINAPI ZqSetHorizHookControlPos(HWND dialog, HWND other, int id, int otherId) noexcept {
  if (!dialog) return FALSE;
  if (!other) other = GetParent(dialog);
  HWND control = GetDlgItem(dialog, id);
  HWND otherControl = other ? GetDlgItem(other, otherId) : nullptr;
  RECT own, target;
  if (!ControlRect(dialog, control, &own) || !ControlRect(dialog, otherControl, &target)) return FALSE;
  return SetWindowPos(control, nullptr, target.left, own.top, target.right - target.left, own.bottom - own.top,
                      SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

ZQAPI BOOL WINAPI ZqLineupHookWithMainDialog(HWND dialog, HWND mainDialog) noexcept {
  if (!dialog) return FALSE;
  if (!mainDialog) mainDialog = GetParent(dialog);
  RECT own, main;
  if (!mainDialog || !GetWindowRect(dialog, &own) || !GetWindowRect(mainDialog, &main)) return FALSE;
  if (own.right >= main.right) return TRUE;
  SetWindowPos(dialog, nullptr, 0, 0, main.right - own.left, own.bottom - own.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return FALSE;
}
