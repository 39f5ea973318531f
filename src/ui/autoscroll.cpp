// Middle-button auto-scroll: the run's start and end, the direction cursor
// for the pointer's zone around the origin, and the timer tick that
// scrolls by the pointer's distance from the origin.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "ui/wheel_internal.h"
#include "zq/ui.h"
#include "zq/wheel.h"

namespace zq::controls {
namespace {

int g_horizontalTicks = 0;  // ticks since the last horizontal step

// Cursor ids per zone (above-left ... below-right, row by row) and axes.
constexpr int kZoneCursors[3][9] = {
    {45, 39, 43, 42, 49, 40, 46, 41, 44},  // both axes (and neither)
    {42, 48, 40, 42, 48, 40, 42, 48, 40},  // horizontal only
    {39, 39, 39, 47, 47, 47, 41, 41, 41},  // vertical only
};

POINT PointerInTarget(const ZQAUTOSCROLL& record) {
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(record.target, &point);
  return point;
}

// Steps for a distance beyond the origin: at least 1. An origin placed far
// off the screen would ask for billions of steps a tick; no pointer on the
// screen is farther from a point on it than the screen's extent.
int Steps(int64_t distance, LONG divisor) {
  const int64_t reach =
      int64_t{GetSystemMetrics(SM_CXVIRTUALSCREEN)} + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const int64_t steps = std::min(distance, reach) / divisor;
  return steps < 1 ? 1 : static_cast<int>(steps);
}

}  // namespace

void AutoScrollTick(ZQAUTOSCROLL* record) noexcept {
  const POINT p = PointerInTarget(*record);
  const RECT& origin = record->origin;
  if (PtInRect(&origin, p)) return;
  if (record->horizontal) {
    int direction = 0, steps = 0;
    if (p.x < origin.left) {
      direction = ZQWHEEL_UP_LEFT;
      steps = Steps(int64_t{origin.left} - p.x, record->divisor);
    } else if (p.x >= origin.right) {
      direction = ZQWHEEL_DOWN_RIGHT;
      steps = Steps(int64_t{p.x} - origin.right, record->divisor);
    }
    if (record->scrollProc) {
      if (steps) record->scrollProc(record->target, ZQWHEEL_AXIS_H, direction, steps);
    } else if (++g_horizontalTicks >= record->horizontalDivisor) {
      for (int i = 0; i < steps; ++i) {
        if (record->invalidate) InvalidateRect(record->target, &record->origin, TRUE);
        ZqWheel_ScrollWindow(record->target, ZQWHEEL_AXIS_H, direction, 1);
      }
      g_horizontalTicks = 0;
    }
  }
  if (record->vertical) {
    int direction = 0, steps = 0;
    if (p.y < origin.top) {
      direction = ZQWHEEL_UP_LEFT;
      steps = Steps(int64_t{origin.top} - p.y, record->divisor);
    } else if (p.y >= origin.bottom) {
      direction = ZQWHEEL_DOWN_RIGHT;
      steps = Steps(int64_t{p.y} - origin.bottom, record->divisor);
    }
    if (steps) {
      if (record->scrollProc) record->scrollProc(record->target, ZQWHEEL_AXIS_V, direction, steps);
      else ZqWheel_ScrollWindow(record->target, ZQWHEEL_AXIS_V, direction, steps);
    }
  }
  if (record->horizontal && !record->scrollProc && record->invalidate) UpdateWindow(record->target);
}

}  // namespace zq::controls

using namespace zq::controls;

ZQAPI BOOL WINAPI ZqWheel_AutoScrollInit(ZQAUTOSCROLL* record) noexcept {
  if (!record || !IsWindow(record->target) || !record->instance) return FALSE;
  if (record->interactive) {
    record->vertical = HasScrollRange(record->target, SB_VERT);
    record->horizontal = HasScrollRange(record->target, SB_HORZ);
    if (record->vertical && record->horizontal && GetKeyState(VK_SHIFT) < 0) record->vertical = FALSE;
  }
  if (!record->vertical && !record->horizontal) return FALSE;
  // ZQWHEEL_DEFAULT picks the default; so does a value that would divide by
  // zero or never tick.
  if (record->originHalfSize == ZQWHEEL_DEFAULT || record->originHalfSize < 0) record->originHalfSize = 16;
  if (record->interval == ZQWHEEL_DEFAULT || record->interval == 0) record->interval = 75;
  if (record->divisor == ZQWHEEL_DEFAULT || record->divisor <= 0) record->divisor = 25;
  if (record->horizontalDivisor == ZQWHEEL_DEFAULT || record->horizontalDivisor <= 0) record->horizontalDivisor = 3;
  // Edges in 64 bits, held to what a rectangle holds: a far origin with a
  // large half size cannot wrap round to the other side.
  const int64_t half = record->originHalfSize;
  auto edge = [](int64_t v) { return static_cast<LONG>(std::clamp<int64_t>(v, LONG_MIN, LONG_MAX)); };
  SetRect(&record->origin, edge(record->originX - half), edge(record->originY - half), edge(record->originX + half),
          edge(record->originY + half));
  record->markerBitmap = nullptr;
  record->targetDC = nullptr;
  record->memoryDC = nullptr;
  record->previousBitmap = nullptr;
  record->markerCursor = nullptr;
  record->marker = nullptr;
  record->previousFocus = nullptr;
  if (!record->interactive) return TRUE;

  if (!ZqWheel_AutoScrollOriginIcon(record, ZQWHEEL_ICON_CREATE)) {
    ZqWheel_AutoScrollTerminate(record);
    return FALSE;
  }
  ZqWheel_AutoScrollSetCursor(record);
  SetCapture(record->marker);
  SetTimer(record->marker, ZQWHEEL_TIMER_ID, record->interval, nullptr);
  return TRUE;
}

ZQAPI int WINAPI ZqWheel_AutoScrollTerminate(ZQAUTOSCROLL* record) noexcept {
  if (!record) return 0;
  if (record->interactive && record->marker) {
    // The marker forgets the record first: losing the capture below must not
    // end the run a second time.
    SetWindowLongPtrW(record->marker, GWLP_USERDATA, 0);
    KillTimer(record->marker, ZQWHEEL_TIMER_ID);
    if (GetCapture() == record->marker) ReleaseCapture();
  }
  if (record->marker) ZqWheel_AutoScrollOriginIcon(record, ZQWHEEL_ICON_DESTROY);
  std::memset(record, 0, sizeof(*record));
  return 0;
}

ZQAPI BOOL WINAPI ZqWheel_AutoScrollInProgress(const ZQAUTOSCROLL* record) noexcept {
  return record && record->interactive && record->marker && IsWindow(record->marker) &&
         GetCapture() == record->marker;
}

ZQAPI BOOL WINAPI ZqWheel_AutoScrollPtInOrigin(const ZQAUTOSCROLL* record, LONG x, LONG y) noexcept {
  return record && PtInRect(&record->origin, POINT{x, y});
}

ZQAPI BOOL WINAPI ZqWheel_AutoScrollSetCursor(ZQAUTOSCROLL* record) noexcept {
  if (!record || !IsWindow(record->target)) return FALSE;
  const POINT p = PointerInTarget(*record);
  const RECT& o = record->origin;
  const int column = p.x < o.left ? 0 : p.x >= o.right ? 2 : 1;
  const int row = p.y < o.top ? 0 : p.y >= o.bottom ? 2 : 1;
  const int axes = record->horizontal && !record->vertical ? 1 : record->vertical && !record->horizontal ? 2 : 0;
  SetCursor(ZqGetUICursor(kZoneCursors[axes][row * 3 + column]));
  return TRUE;
}
