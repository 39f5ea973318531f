// Window placements kept as 44-byte binary metrics of a settings store:
// saved, loaded (with a default for the restore-or-default mode), mended
// so that the window comes back where its caption can be grabbed, and
// applied.
#include "zq/metric.h"
#include "zq/monitor.h"

namespace {

static_assert(sizeof(WINDOWPLACEMENT) == 44, "stored window placement");

void DefaultPlacement(WINDOWPLACEMENT* placement) noexcept {
  RECT work;
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
    SetRect(&work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const int insetX = (work.right - work.left) / 16, insetY = (work.bottom - work.top) / 16;
  ZeroMemory(placement, sizeof(*placement));
  placement->length = sizeof(*placement);
  placement->showCmd = SW_SHOWNORMAL;
  placement->ptMinPosition = POINT{-1, -1};
  placement->ptMaxPosition = POINT{-1, -1};
  placement->rcNormalPosition = RECT{work.left + insetX, work.top + insetY, work.right - insetX, work.bottom - insetY};
}

void MendPlacement(WINDOWPLACEMENT* placement) noexcept {
  if (placement->showCmd == SW_SHOWMINIMIZED) placement->showCmd = SW_SHOWNORMAL;
  if (!ZqIsWindowCaptionVisible(&placement->rcNormalPosition))
    ZqForceRectOntoDesktop(&placement->rcNormalPosition, 0, 0);
}

}  // namespace

ZQAPI int WINAPI ZqLoadWindowPlacement(HZQMETRIC metric, LONG id, int mode, WINDOWPLACEMENT* placement) noexcept {
  if (!placement) return E_POINTER;
  const DWORD read = ZqGetMetricBinary(metric, id, placement, sizeof(*placement));
  const bool stored = read == sizeof(*placement);
  if (mode != ZQ_PLACEMENT_RESTORE_DEFAULT) return stored ? 0 : 1;
  if (stored && placement->ptMaxPosition.x < 0 && placement->ptMaxPosition.y < 0) return 0;
  DefaultPlacement(placement);
  return 1;
}

ZQAPI BOOL WINAPI ZqFixWindowPlacement(WINDOWPLACEMENT* placement) noexcept {
  if (!placement) return FALSE;
  MendPlacement(placement);
  return TRUE;
}

ZQAPI HRESULT WINAPI ZqWindowPlacement(HWND window, HZQMETRIC metric, LONG id, int mode) noexcept {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  switch (mode) {
    case ZQ_PLACEMENT_SAVE:
      if (!GetWindowPlacement(window, &placement)) return E_FAIL;
      return ZqSetMetricBinary(metric, id, &placement, sizeof(placement));
    case ZQ_PLACEMENT_RESTORE:
    case ZQ_PLACEMENT_RESTORE_DEFAULT: {
      const int loaded = ZqLoadWindowPlacement(metric, id, mode, &placement);
      if (loaded != 0 && mode == ZQ_PLACEMENT_RESTORE) return loaded;
      MendPlacement(&placement);
      placement.length = sizeof(placement);
      if (!SetWindowPlacement(window, &placement)) return E_FAIL;
      return loaded;
    }
    default:
      return E_FAIL;
  }
}
