// Monitor geometry: areas of the monitor nearest to a window or a point,
// rectangles and windows clipped or centred onto them, and visibility on
// the screen.
#include "windows/monitor_layer.h"

#include "zq/monitor.h"

namespace {

using zq::windows::MonitorArea;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// The monitor of `window`, or (null window) the one nearest to `rect`.
HMONITOR MonitorFor(HWND window, const RECT& rect) noexcept {
  return window ? ZqMonitor_MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                : ZqMonitor_MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
}

void ClipInto(RECT* rect, const RECT& area) noexcept {
  const int width = Width(*rect), height = Height(*rect);
  int left = rect->left < area.right - width ? rect->left : area.right - width;
  if (left < area.left) left = area.left;
  int top = rect->top < area.bottom - height ? rect->top : area.bottom - height;
  if (top < area.top) top = area.top;
  SetRect(rect, left, top, left + width, top + height);
}

void CentreInto(RECT* rect, const RECT& area) noexcept {
  const int width = Width(*rect), height = Height(*rect);
  const int left = area.left + (Width(area) - width) / 2;
  const int top = area.top + (Height(area) - height) / 2;
  SetRect(rect, left, top, left + width, top + height);
}

// Moves a window to the rectangle's top left corner (screen coordinates
// turned into the parent's client coordinates for a child window).
bool MoveWindowTo(HWND window, const RECT& rect) noexcept {
  POINT corner{rect.left, rect.top};
  HWND parent = GetAncestor(window, GA_PARENT);
  if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) && parent) ScreenToClient(parent, &corner);
  return SetWindowPos(window, nullptr, corner.x, corner.y, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

using Placer = void (*)(RECT*, const RECT&);

BOOL PlaceRect(HWND window, RECT* rect, BOOL workArea, Placer place) noexcept {
  if (!rect) return FALSE;
  RECT area;
  MonitorArea(MonitorFor(window, *rect), workArea != FALSE, &area);
  place(rect, area);
  return TRUE;
}

BOOL PlaceWindow(HWND monitorWindow, HWND window, BOOL workArea, Placer place) noexcept {
  RECT rect;
  if (!window || !GetWindowRect(window, &rect)) return FALSE;
  PlaceRect(monitorWindow ? monitorWindow : window, &rect, workArea, place);
  return MoveWindowTo(window, rect);
}

bool VisibleOnScreen(const RECT& rect) noexcept {
  // RectVisible puts the edges in order first: an inverted rectangle has
  // no part to show.
  if (rect.right < rect.left || rect.bottom < rect.top) return false;
  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  const bool visible = RectVisible(screen, &rect) != FALSE;
  ReleaseDC(nullptr, screen);
  return visible;
}

}  // namespace

ZQAPI HMONITOR WINAPI ZqMonitor_GetMonitorRect(HWND window, RECT* rect, BOOL workArea) noexcept {
  if (!rect) return nullptr;
  SetRectEmpty(rect);
  HMONITOR monitor = ZqMonitor_MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
  if (monitor) MonitorArea(monitor, workArea != FALSE, rect);
  return monitor;
}

ZQAPI HMONITOR WINAPI ZqMonitor_GetMonitorRectFromPt(int x, int y, RECT* rect, BOOL workArea) noexcept {
  if (!rect) return nullptr;
  SetRectEmpty(rect);
  HMONITOR monitor = ZqMonitor_MonitorFromPoint(x, y, MONITOR_DEFAULTTONEAREST);
  if (monitor) MonitorArea(monitor, workArea != FALSE, rect);
  return monitor;
}

ZQAPI BOOL WINAPI ZqMonitor_ClipRectToMonitor(HWND window, RECT* rect, BOOL workArea) noexcept {
  return PlaceRect(window, rect, workArea, ClipInto);
}

ZQAPI BOOL WINAPI ZqMonitor_CenterRectToMonitor(HWND window, RECT* rect, BOOL workArea) noexcept {
  return PlaceRect(window, rect, workArea, CentreInto);
}

ZQAPI BOOL WINAPI ZqMonitor_CenterWindowToMonitor(HWND monitorWindow, HWND window, BOOL workArea) noexcept {
  return PlaceWindow(monitorWindow, window, workArea, CentreInto);
}

ZQAPI BOOL WINAPI ZqMonitor_ClipWindowToMonitor(HWND monitorWindow, HWND window, BOOL workArea) noexcept {
  return PlaceWindow(monitorWindow, window, workArea, ClipInto);
}

ZQAPI BOOL WINAPI ZqMonitor_CenterWindow(HWND window) noexcept {
  return PlaceWindow(window, window, TRUE, CentreInto);
}

ZQAPI BOOL WINAPI ZqMonitor_IsRectOnScreen(LPCRECT rect) noexcept {
  return rect && VisibleOnScreen(*rect);
}

ZQAPI BOOL WINAPI ZqMonitor_IsWindowOnScreen(HWND window) noexcept {
  RECT rect;
  return window && GetWindowRect(window, &rect) && VisibleOnScreen(rect);
}

ZQAPI BOOL WINAPI ZqMonitor_IsPointOnScreen(POINT point) noexcept {
  HMONITOR monitor = ZqMonitor_MonitorFromPoint(point.x, point.y, MONITOR_DEFAULTTONULL);
  if (!monitor) return FALSE;
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!ZqMonitor_GetMonitorInfo(monitor, &info)) {
    HDC screen = GetDC(nullptr);
    const BOOL visible = screen && PtVisible(screen, point.x, point.y);
    if (screen) ReleaseDC(nullptr, screen);
    return visible;
  }
  return PtInRect(&info.rcMonitor, point);
}

ZQAPI BOOL WINAPI ZqMonitor_MakeSureWindowIsVisible(HWND window) noexcept {
  if (!window || ZqMonitor_IsWindowOnScreen(window)) return FALSE;
  return ZqMonitor_ClipWindowToMonitor(window, window, TRUE);
}
