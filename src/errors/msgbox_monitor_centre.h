// Where the message boxes go on the desktop: the monitor they belong to and
// centring on the owner or the monitor. The one place the boxes ask the
// system about monitors.
#pragma once
#include <windows.h>

namespace zq::errors {

// The monitor rectangle (or, with `workArea`, its work area) of the monitor
// nearest to `window`; the primary monitor for a null window.
RECT MonitorArea(HWND window, bool workArea) noexcept;

// Centres `window` (size unchanged, no activation) on `owner` when the owner
// is visible and not minimised, else on the work area of the window's
// monitor; the result is kept inside that work area.
void CentreWindow(HWND window, HWND owner) noexcept;

}  // namespace zq::errors
