// Keeping rectangles on the desktop: forced inside a monitor's work area
// with margins, pop-ups placed diagonally beside their anchor, and whether
// a caption can still be grabbed.
#include "windows/monitor_layer.h"

#include "zq/monitor.h"

namespace {

using zq::windows::MonitorArea;

RECT WorkAreaOf(const RECT& rect) noexcept {
  RECT area;
  MonitorArea(ZqMonitor_MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY), true, &area);
  return area;
}

// The move that brings [low, high) inside [areaLow + margin, areaHigh - margin),
// the low edge first.
int Shift(LONG low, LONG high, LONG areaLow, LONG areaHigh, int margin) noexcept {
  if (low < areaLow + margin) return areaLow + margin - low;
  if (high > areaHigh - margin) return areaHigh - margin - high;
  return 0;
}

bool Inside(const RECT& rect, const RECT& area) noexcept {
  return rect.left >= area.left && rect.top >= area.top && rect.right <= area.right && rect.bottom <= area.bottom;
}

struct CaptionSearch {
  RECT strip;
  int threshold;
  bool visible;
};

BOOL CALLBACK FindVisibleCaption(HMONITOR, HDC, LPRECT part, LPARAM data) {
  auto* search = reinterpret_cast<CaptionSearch*>(data);
  RECT piece;
  if (IntersectRect(&piece, part, &search->strip) && piece.right - piece.left >= search->threshold &&
      piece.bottom - piece.top >= search->threshold) {
    search->visible = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

ZQAPI BOOL WINAPI ZqForceRectOntoDesktop(RECT* rect, int marginX, int marginY) noexcept {
  if (!rect) return FALSE;
  const RECT area = WorkAreaOf(*rect);
  const int dx = Shift(rect->left, rect->right, area.left, area.right, marginX);
  const int dy = Shift(rect->top, rect->bottom, area.top, area.bottom, marginY);
  OffsetRect(rect, dx, dy);
  return dx != 0 || dy != 0;
}

ZQAPI BOOL WINAPI ZqForcePopupRectOntoDesktop(RECT* popup, LPCRECT anchor, int marginX, int marginY) noexcept {
  if (!popup || !anchor) return FALSE;
  RECT area;
  MonitorArea(ZqMonitor_MonitorFromRect(anchor, MONITOR_DEFAULTTONEAREST), true, &area);
  InflateRect(&area, -marginX, -marginY);
  const int width = popup->right - popup->left, height = popup->bottom - popup->top;
  const bool leftHalf = (area.left + area.right) / 2 >= (anchor->left + anchor->right) / 2;
  const bool topHalf = (area.top + area.bottom) / 2 >= (anchor->top + anchor->bottom) / 2;
  RECT candidate;
  candidate.left = leftHalf ? anchor->right : anchor->left - width;
  candidate.top = topHalf ? anchor->bottom : anchor->top - height;
  candidate.right = candidate.left + width;
  candidate.bottom = candidate.top + height;
  if (!Inside(candidate, area)) ZqForceRectOntoDesktop(&candidate, marginX, marginY);
  *popup = candidate;
  return TRUE;
}

ZQAPI BOOL WINAPI ZqIsWindowCaptionVisible(LPCRECT rect) noexcept {
  if (!rect) return FALSE;
  const int caption = GetSystemMetrics(SM_CYSMCAPTION);
  CaptionSearch search{{rect->left, rect->top, rect->right, rect->top + caption}, caption > 5 ? caption / 2 : 3,
                       false};
  ZqMonitor_EnumDisplayMonitors(nullptr, &search.strip, FindVisibleCaption, reinterpret_cast<LPARAM>(&search));
  return search.visible;
}
