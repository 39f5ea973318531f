// What a user does to the grid, dispatched: hit zones and cursors, mouse
// messages to the zone handlers, keys, characters for the open editor, the
// editor's commit and cancel, timers, commands, the context menu, and the
// middle button and wheel.
#include <algorithm>

#include "grid/grid_internal.h"
#include "zq/ui.h"
#include "zq/wheel.h"

namespace zq::controls::grid {
namespace {

// One middle-button auto-scroll at a time in the process.
ZQAUTOSCROLL g_autoScroll{};

void ContextMenu(Grid& g) {
  UpdateAreas(g);
  RECT cell = CellRect(g, g.focusRow, g.focusColumn);
  InflateRect(&cell, 1, 1);
  RECT meet;
  if (!IntersectRect(&meet, &cell, &g.cellArea)) meet = g.cellArea;
  Notify(g, SPN_CONTEXTMENU, g.focusRow, g.focusColumn, meet.left + 3, meet.top + 3);
}

bool EditorCommand(Grid& g, WPARAM wParam, LPARAM lParam) {
  if (g.editor && reinterpret_cast<HWND>(lParam) == g.editor && HIWORD(wParam) == EN_CHANGE) {
    g.editorDirty = TRUE;
    if (g.style & SPS_TOOLTIPS) UpdateTooltip(g);
    return true;
  }
  if (g.editor && reinterpret_cast<HWND>(lParam) == g.editor && HIWORD(wParam) == EN_KILLFOCUS) {
    CommitEditor(g);  // the focus went elsewhere
    return true;
  }
  if (HIWORD(wParam) != 0) return false;
  if (LOWORD(wParam) == IDOK) {
    CommitEditor(g);
    return true;
  }
  if (LOWORD(wParam) == IDCANCEL) {
    CloseEditor(g);
    return true;
  }
  return false;
}

}  // namespace

bool HandleInput(Grid& g, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_COMMAND: return EditorCommand(g, wParam, lParam);
    case WM_NCHITTEST:
      *result = DefWindowProcW(g.window, message, wParam, lParam);
      if (*result == HTCLIENT && GetCapture() != g.window) {
        POINT p{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
        ScreenToClient(g.window, &p);
        HitZone(g, p);
      }
      return true;
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT || reinterpret_cast<HWND>(wParam) != g.window) return false;
      if (g.mouseState & kMouseDrag) {
        *result = TRUE;
        return true;
      }
      SetCursor(g.zone == 1 ? ZqGetUICursor(9) : LoadCursorW(nullptr, IDC_ARROW));
      *result = TRUE;
      return true;
    case WM_MBUTTONDOWN:
      if (ZqWheel_AutoScrollInProgress(&g_autoScroll)) ZqWheel_AutoScrollTerminate(&g_autoScroll);
      g_autoScroll = ZQAUTOSCROLL{};
      g_autoScroll.target = g.window;
      g_autoScroll.instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(g.window, GWLP_HINSTANCE));
      g_autoScroll.originX = static_cast<SHORT>(LOWORD(lParam));
      g_autoScroll.originY = static_cast<SHORT>(HIWORD(lParam));
      g_autoScroll.horizontal = g_autoScroll.vertical = TRUE;
      g_autoScroll.interactive = TRUE;
      g_autoScroll.originHalfSize = ZQWHEEL_DEFAULT;
      g_autoScroll.interval = ZQWHEEL_DEFAULT;
      g_autoScroll.divisor = ZQWHEEL_DEFAULT;
      g_autoScroll.horizontalDivisor = ZQWHEEL_DEFAULT;
      ZqWheel_AutoScrollInit(&g_autoScroll);
      return true;
    case WM_MBUTTONUP:
      if (g_autoScroll.target == g.window && ZqWheel_AutoScrollInProgress(&g_autoScroll))
        ZqWheel_AutoScrollTerminate(&g_autoScroll);
      return true;
    case WM_MOUSEWHEEL:
      if (g_autoScroll.target == g.window && ZqWheel_AutoScrollInProgress(&g_autoScroll))
        ZqWheel_AutoScrollTerminate(&g_autoScroll);
      *result = ZqWheel_ScrollWindow(g.window, ZQWHEEL_DEFAULT,
                                     GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? ZQWHEEL_DOWN_RIGHT : ZQWHEEL_UP_LEFT,
                                     ZQWHEEL_DEFAULT);
      return true;
    case WM_KEYDOWN:
      if (HandleKey(g, wParam, lParam)) return true;
      return false;
    case WM_CHAR:
      if (g.editState == kEditing && g.editor && wParam >= 32) {
        SendMessageW(g.editor, message, wParam, lParam);
        return true;
      }
      return false;
    case WM_TIMER:
      if (wParam == 1 || wParam == 2) AutoScrollTimer(g, wParam);
      else if (wParam == kTooltipTimer) {
        g.tooltipValid = FALSE;
        UpdateTooltip(g);
      }
      return true;
    case WM_CANCELMODE:
      CancelMouse(g);
      return true;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != g.window && (g.mouseState & (kMousePressed | kMouseResize)) &&
          !ControlOwnsMouse(g))
        CancelMouse(g);
      return true;
    case WM_CONTEXTMENU:
      ContextMenu(g);
      return true;
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE: *result = ClipboardCommand(g, message); return true;
    case WM_CLEAR:
    case WM_UNDO:
    case SPM_REDO:
    case SPM_SELECTALL: *result = SimpleCommand(g, message); return true;
    case WM_DESTROYCLIPBOARD: {
      const ZQSPREADRANGE range = SelectionArgument(g);
      g.iface.doCommand(&g.iface, &range, 0, nullptr, WM_DESTROYCLIPBOARD);
      return true;
    }
  }
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    HandleMouse(g, message, wParam, lParam, result);
    UpdateTooltip(g);
    return true;
  }
  return false;
}

}  // namespace zq::controls::grid
