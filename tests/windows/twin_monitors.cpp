// A stand-in for USER32's five monitor functions that models two monitors
// side by side, for binding the library's monitor layer to in tests:
// primary A (0,0)-(1280,1024) with a 40-pixel task bar at its bottom, and
// B (1280,0)-(2304,768) to its right.
#include <windows.h>

namespace {

struct Monitor {
  RECT rect, work;
};
const Monitor kMonitors[2] = {{{0, 0, 1280, 1024}, {0, 0, 1280, 984}}, {{1280, 0, 2304, 768}, {1280, 0, 2304, 768}}};

HMONITOR Handle(int index) { return reinterpret_cast<HMONITOR>(static_cast<ULONG_PTR>(0x7100 + index)); }
int Index(HMONITOR monitor) {
  const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(monitor);
  return value == 0x7100 || value == 0x7101 ? static_cast<int>(value - 0x7100) : -1;
}

LONG Distance(const RECT& r, POINT p) {
  const LONG dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - r.right + 1 : 0;
  const LONG dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - r.bottom + 1 : 0;
  return dx * dx + dy * dy;
}

HMONITOR Default(POINT p, DWORD flags) {
  if (flags == MONITOR_DEFAULTTOPRIMARY) return Handle(0);
  if (flags == MONITOR_DEFAULTTONEAREST) return Distance(kMonitors[0].rect, p) <= Distance(kMonitors[1].rect, p) ? Handle(0) : Handle(1);
  return nullptr;
}

}  // namespace

extern "C" {

HMONITOR WINAPI TwinFromPoint(POINT p, DWORD flags) {
  for (int i = 0; i < 2; ++i)
    if (PtInRect(&kMonitors[i].rect, p)) return Handle(i);
  return Default(p, flags);
}

HMONITOR WINAPI TwinFromRect(LPCRECT rect, DWORD flags) {
  LONG best = 0;
  HMONITOR found = nullptr;
  for (int i = 0; i < 2; ++i) {
    RECT common;
    if (!IntersectRect(&common, rect, &kMonitors[i].rect)) continue;
    const LONG area = (common.right - common.left) * (common.bottom - common.top);
    if (area > best) best = area, found = Handle(i);
  }
  return found ? found : Default(POINT{(rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2}, flags);
}

HMONITOR WINAPI TwinFromWindow(HWND window, DWORD flags) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return nullptr;
  return TwinFromRect(&rect, flags);
}

BOOL WINAPI TwinInfo(HMONITOR monitor, LPMONITORINFO info) {
  const int index = Index(monitor);
  if (index < 0 || !info || info->cbSize < sizeof(MONITORINFO)) return FALSE;
  info->rcMonitor = kMonitors[index].rect;
  info->rcWork = kMonitors[index].work;
  info->dwFlags = index == 0 ? MONITORINFOF_PRIMARY : 0;
  return TRUE;
}

BOOL WINAPI TwinEnum(HDC, LPCRECT clip, MONITORENUMPROC callback, LPARAM data) {
  for (int i = 0; i < 2; ++i) {
    RECT part = kMonitors[i].rect;
    if (clip && !IntersectRect(&part, &part, clip)) continue;
    if (!callback(Handle(i), nullptr, &part, data)) break;
  }
  return TRUE;
}

}  // extern "C"
