// Mouse wheel: the process-wide preference, wheel steps on windows with
// standard scroll bars, and passing wheel messages to the hovered window.
#include "ui/wheel_internal.h"
#include "zq/wheel.h"

namespace zq::controls {
namespace {

DWORD g_passToHover = 0;
bool g_passing = false;            // one pass at a time
HWND g_linesWindow = nullptr;      // the window the cached wheel lines were read for
int g_lines = 0;

int WheelLines(HWND window) {
  if (window != g_linesWindow || g_lines == 0) {
    UINT lines = 0;
    if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
    g_lines = lines == 0 ? 3 : static_cast<int>(lines);
    g_linesWindow = window;
  }
  return g_lines;
}

}  // namespace

bool HasScrollRange(HWND window, int bar) {
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  if (!(style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL))) return false;
  int low = 0, high = 0;
  return GetScrollRange(window, bar, &low, &high) && high > low;
}

}  // namespace zq::controls

using namespace zq::controls;

ZQAPI DWORD WINAPI ZqWheel_UpdatePrefs(DWORD passToHover) noexcept {
  g_passToHover = passToHover;
  return passToHover;
}

ZQAPI LONG WINAPI ZqWheel_Initialize(DWORD, DWORD passToHover) noexcept {
  g_passToHover = passToHover;
  return RegisterWheelException();
}

ZQAPI void WINAPI ZqWheel_Terminate(DWORD) noexcept {}

ZQAPI int WINAPI ZqWheel_CreateZqGlobalSubclasses(void) noexcept { return 0; }

ZQAPI void WINAPI ZqWheel_DeleteZqGlobalSubclasses(void) noexcept {}

ZQAPI BOOL WINAPI ZqWheel_PassToHover(HWND window, WPARAM wParam, LPARAM lParam) noexcept {
  if (!g_passToHover || GetCapture() || (LOWORD(wParam) & ZQWHEEL_PASSED) || !window || window != GetFocus())
    return FALSE;
  if (g_passing) return FALSE;
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  HWND hovered = WindowFromPoint(point);
  DWORD process = 0;
  if (!hovered || hovered == window || !GetWindowThreadProcessId(hovered, &process) ||
      process != GetCurrentProcessId())
    return FALSE;
  g_passing = true;
  SendMessageW(hovered, WM_MOUSEWHEEL, wParam | ZQWHEEL_PASSED, lParam);
  g_passing = false;
  return TRUE;
}

ZQAPI HWND WINAPI ZqWheel_GetControlWindow(WPARAM wParam, LPARAM lParam, int* outId) noexcept {
  if (!(LOWORD(wParam) & ZQWHEEL_FORWARDED)) return nullptr;
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  HWND control = WindowFromPoint(point);
  if (control && outId) *outId = GetDlgCtrlID(control);
  return control;
}

ZQAPI LRESULT WINAPI ZqWheel_ScrollWindow(HWND window, int axis, int direction, int count) noexcept {
  if (count == 0 || !IsWindow(window)) return 0;
  if (axis == ZQWHEEL_DEFAULT) {
    const bool vertical = HasScrollRange(window, SB_VERT), horizontal = HasScrollRange(window, SB_HORZ);
    if (vertical && horizontal) axis = (GetKeyState(VK_SHIFT) < 0) ? ZQWHEEL_AXIS_H : ZQWHEEL_AXIS_V;
    else if (vertical) axis = ZQWHEEL_AXIS_V;
    else if (horizontal) axis = ZQWHEEL_AXIS_H;
    else return 0;
  }
  if (axis != ZQWHEEL_AXIS_H && axis != ZQWHEEL_AXIS_V) return 0;
  bool pages = false;
  if (axis == ZQWHEEL_AXIS_H) {
    count = 1;
  } else if (count == ZQWHEEL_DEFAULT) {
    count = WheelLines(window);
    if (count == static_cast<int>(WHEEL_PAGESCROLL)) {
      pages = true;
      count = 1;
    }
  } else if (count > 5) {
    count = 5;
  }
  if (count < 0) return 0;
  const bool back = direction == ZQWHEEL_UP_LEFT;
  const WORD code = pages ? (back ? SB_PAGEUP : SB_PAGEDOWN) : (back ? SB_LINEUP : SB_LINEDOWN);
  const UINT message = axis == ZQWHEEL_AXIS_H ? WM_HSCROLL : WM_VSCROLL;
  LRESULT result = 0;
  for (int i = 0; i < count; ++i) result = SendMessageW(window, message, code, 0);
  return result;
}
