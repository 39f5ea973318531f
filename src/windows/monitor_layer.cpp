// The multi-monitor layer: five platform functions looked up in USER32 at
// start-up, each replaced by a fall-back that models one primary monitor
// covering the screen when the system lacks it.
#include "windows/monitor_layer.h"

#include "zq/monitor.h"

namespace zq::windows {
namespace {

using EnumMonitorsFn = BOOL(WINAPI*)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
using FromRectFn = HMONITOR(WINAPI*)(LPCRECT, DWORD);
using FromPointFn = HMONITOR(WINAPI*)(POINT, DWORD);
using FromWindowFn = HMONITOR(WINAPI*)(HWND, DWORD);
using InfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);

constexpr DWORD kDefaultMask = MONITOR_DEFAULTTOPRIMARY | MONITOR_DEFAULTTONEAREST;

RECT Screen() noexcept { return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

HMONITOR WINAPI FallbackFromRect(LPCRECT rect, DWORD flags) {
  if (flags & kDefaultMask) return ZQ_PSEUDO_MONITOR;
  if (!rect) return nullptr;
  const RECT screen = Screen();
  if (rect->right > 0 && rect->bottom > 0 && rect->left < screen.right && rect->top < screen.bottom)
    return ZQ_PSEUDO_MONITOR;
  return nullptr;
}

HMONITOR WINAPI FallbackFromPoint(POINT point, DWORD flags) {
  if (flags & kDefaultMask) return ZQ_PSEUDO_MONITOR;
  const RECT screen = Screen();
  return PtInRect(&screen, point) ? ZQ_PSEUDO_MONITOR : nullptr;
}

HMONITOR WINAPI FallbackFromWindow(HWND window, DWORD flags) {
  if (flags & kDefaultMask) return ZQ_PSEUDO_MONITOR;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  RECT rect;
  if (IsIconic(window)) {
    if (!GetWindowPlacement(window, &placement)) return nullptr;
    rect = placement.rcNormalPosition;
  } else if (!GetWindowRect(window, &rect)) {
    return nullptr;
  }
  return FallbackFromRect(&rect, flags);
}

BOOL WINAPI FallbackInfo(HMONITOR monitor, LPMONITORINFO info) {
  if (monitor != ZQ_PSEUDO_MONITOR || !info || info->cbSize < sizeof(MONITORINFO)) return FALSE;
  info->rcMonitor = Screen();
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &info->rcWork, 0)) info->rcWork = info->rcMonitor;
  info->dwFlags = MONITORINFOF_PRIMARY;
  if (info->cbSize > 103) {
    auto* extended = reinterpret_cast<MONITORINFOEXW*>(info);
    static const WCHAR kDevice[] = L"DISPLAY";
    ZeroMemory(extended->szDevice, sizeof(extended->szDevice));
    CopyMemory(extended->szDevice, kDevice, sizeof(kDevice));
  }
  return TRUE;
}

BOOL WINAPI FallbackEnum(HDC dc, LPCRECT clip, MONITORENUMPROC callback, LPARAM data) {
  if (!callback) return FALSE;
  RECT area = Screen();
  if (clip && !IntersectRect(&area, &area, clip)) return TRUE;
  if (dc) {
    RECT box;
    if (GetClipBox(dc, &box) == ERROR) return TRUE;
    POINT origin{};
    GetDCOrgEx(dc, &origin);
    OffsetRect(&box, origin.x, origin.y);
    if (!IntersectRect(&area, &area, &box)) return TRUE;
  }
  if (IsRectEmpty(&area)) return TRUE;
  callback(ZQ_PSEUDO_MONITOR, dc, &area, data);
  return TRUE;
}

struct Bound {
  EnumMonitorsFn enumMonitors = FallbackEnum;
  FromRectFn fromRect = FallbackFromRect;
  FromPointFn fromPoint = FallbackFromPoint;
  FromWindowFn fromWindow = FallbackFromWindow;
  InfoFn info = FallbackInfo;
};
Bound g_bound;

template <typename Fn>
Fn Lookup(HMODULE module, const char* name, Fn fallback) noexcept {
  FARPROC found = module ? GetProcAddress(module, name) : nullptr;
  return found ? reinterpret_cast<Fn>(found) : fallback;
}

}  // namespace

void BindMonitorFunctions(HMODULE user32) noexcept {
  g_bound.enumMonitors = Lookup<EnumMonitorsFn>(user32, "EnumDisplayMonitors", FallbackEnum);
  g_bound.fromRect = Lookup<FromRectFn>(user32, "MonitorFromRect", FallbackFromRect);
  g_bound.fromPoint = Lookup<FromPointFn>(user32, "MonitorFromPoint", FallbackFromPoint);
  g_bound.info = Lookup<InfoFn>(user32, "GetMonitorInfoW", FallbackInfo);
  g_bound.fromWindow = Lookup<FromWindowFn>(user32, "MonitorFromWindow", FallbackFromWindow);
}

void MonitorStartup() noexcept { BindMonitorFunctions(GetModuleHandleW(L"USER32")); }

bool MonitorArea(HMONITOR monitor, bool workArea, RECT* area) noexcept {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (monitor && g_bound.info(monitor, &info)) {
    *area = workArea ? info.rcWork : info.rcMonitor;
    return true;
  }
  HDC screen = GetDC(nullptr);
  if (!screen || GetClipBox(screen, area) == ERROR) *area = Screen();
  if (screen) ReleaseDC(nullptr, screen);
  return false;
}

}  // namespace zq::windows

using zq::windows::g_bound;

ZQAPI BOOL WINAPI ZqMonitor_EnumDisplayMonitors(HDC dc, LPCRECT clip, MONITORENUMPROC callback,
                                                LPARAM data) noexcept {
  // Both layers would call through a null procedure.
  if (!callback) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return g_bound.enumMonitors(dc, clip, callback, data);
}

ZQAPI HMONITOR WINAPI ZqMonitor_MonitorFromRect(LPCRECT rect, DWORD flags) noexcept {
  if (!rect) return nullptr;
  return g_bound.fromRect(rect, flags);
}

ZQAPI HMONITOR WINAPI ZqMonitor_MonitorFromPoint(int x, int y, DWORD flags) noexcept {
  return g_bound.fromPoint(POINT{x, y}, flags);
}

ZQAPI HMONITOR WINAPI ZqMonitor_MonitorFromWindow(HWND window, DWORD flags) noexcept {
  return g_bound.fromWindow(window, flags);
}

ZQAPI BOOL WINAPI ZqMonitor_GetMonitorInfo(HMONITOR monitor, LPMONITORINFO info) noexcept {
  if (!info) return FALSE;
  return g_bound.info(monitor, info);
}
