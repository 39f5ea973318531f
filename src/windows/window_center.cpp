// Centring a window on a reference area: the screen, a given window or the
// window's parent (its window or client rectangle), one third down, on the
// mouse cursor or on a point; always kept on the desktop.
#include "zq/monitor.h"

namespace {

RECT ScreenRect() noexcept { return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

RECT ReferenceArea(HWND window, HWND reference, UINT flags) noexcept {
  if (flags & ZQ_WNDCENTER_PARENT) {
    reference = GetParent(window);
    if (reference && IsIconic(reference)) reference = nullptr;
  }
  RECT area = ScreenRect();
  if (!reference) return area;
  if (flags & ZQ_WNDCENTER_CLIENT) {
    if (GetClientRect(reference, &area)) MapWindowPoints(reference, nullptr, reinterpret_cast<POINT*>(&area), 2);
  } else {
    GetWindowRect(reference, &area);
  }
  return area;
}

}  // namespace

ZQAPI BOOL WINAPI ZqWndCenter(HWND window, HWND reference, POINT point, UINT flags) noexcept {
  RECT rect;
  if (!window || !GetWindowRect(window, &rect)) return FALSE;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const RECT area = ReferenceArea(window, reference, flags);
  const int areaWidth = area.right - area.left, areaHeight = area.bottom - area.top;
  int left = area.left + (areaWidth - width) / 2;
  int top = area.top + (areaHeight - height) / 2;
  switch (flags & ZQ_WNDCENTER_POSITION_MASK) {
    case ZQ_WNDCENTER_THIRD:
      top = area.top + areaHeight / 3 - height / 3;
      break;
    case ZQ_WNDCENTER_MOUSE:
      if (GetCursorPos(&point)) {
        left = point.x - width / 2;
        top = point.y - height / 2;
      }
      break;
    case ZQ_WNDCENTER_POINT:
      left = point.x - width / 2;
      top = point.y - height / 2;
      break;
    default:
      break;
  }
  SetRect(&rect, left, top, left + width, top + height);
  ZqForceRectOntoDesktop(&rect, 0, 0);
  POINT corner{rect.left, rect.top};
  HWND parent = GetAncestor(window, GA_PARENT);
  if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) && parent) ScreenToClient(parent, &corner);
  return SetWindowPos(window, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}
