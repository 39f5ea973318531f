// Moving and growing a dialog's controls by their ids.
#include "zq/window.h"

namespace zq::windows {
namespace {

// The control's window rectangle in the coordinates of its parent's client
// area.
bool ControlRect(HWND dialog, int id, HWND* control, RECT* rect) {
  if (!dialog || !IsWindow(dialog)) return false;
  *control = GetDlgItem(dialog, id);
  if (!*control || !GetWindowRect(*control, rect)) return false;
  HWND parent = GetParent(*control);
  MapWindowPoints(nullptr, parent ? parent : dialog, reinterpret_cast<POINT*>(rect), 2);
  return true;
}

constexpr UINT kQuietly = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

bool MoveControl(HWND dialog, int id, int dx, int dy) {
  HWND control;
  RECT rect;
  if (!ControlRect(dialog, id, &control, &rect)) return false;
  return SetWindowPos(control, nullptr, rect.left + dx, rect.top + dy, 0, 0, kQuietly | SWP_NOSIZE) != FALSE;
}

bool SizeControl(HWND dialog, int id, int dx, int dy) {
  HWND control;
  RECT rect;
  if (!ControlRect(dialog, id, &control, &rect)) return false;
  const LONGLONG width = static_cast<LONGLONG>(rect.right) - rect.left + dx;
  const LONGLONG height = static_cast<LONGLONG>(rect.bottom) - rect.top + dy;
  return SetWindowPos(control, nullptr, 0, 0, width < 0 ? 0 : static_cast<int>(width),
                      height < 0 ? 0 : static_cast<int>(height), kQuietly | SWP_NOMOVE) != FALSE;
}

}  // namespace
}  // namespace zq::windows

ZQAPI BOOL WINAPI ZqDlgDeltaControlMove(HWND dialog, int id, int dx, int dy) noexcept {
  return zq::windows::MoveControl(dialog, id, dx, dy);
}

ZQAPI BOOL WINAPI ZqDlgDeltaControlSize(HWND dialog, int id, int dx, int dy) noexcept {
  return zq::windows::SizeControl(dialog, id, dx, dy);
}
