#include "errors/msgbox_monitor_centre.h"

namespace zq::errors {
namespace {

RECT AreaOf(HMONITOR monitor, bool workArea) noexcept {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (monitor && GetMonitorInfoW(monitor, &info)) return workArea ? info.rcWork : info.rcMonitor;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (workArea) SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

}  // namespace

RECT MonitorArea(HWND window, bool workArea) noexcept {
  HMONITOR monitor = window ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  return AreaOf(monitor, workArea);
}

void CentreWindow(HWND window, HWND owner) noexcept {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  RECT reference;
  const bool onOwner = owner && IsWindowVisible(owner) && !IsIconic(owner) && GetWindowRect(owner, &reference);
  const RECT work = AreaOf(MonitorFromWindow(onOwner ? owner : window, MONITOR_DEFAULTTONEAREST), true);
  if (!onOwner) reference = work;
  int left = reference.left + (reference.right - reference.left - width) / 2;
  int top = reference.top + (reference.bottom - reference.top - height) / 2;
  // Keep it on the work area; one larger than the area keeps its top left.
  if (left + width > work.right) left = work.right - width;
  if (left < work.left) left = work.left;
  if (top + height > work.bottom) top = work.bottom - height;
  if (top < work.top) top = work.top;
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace zq::errors
