// What the wheel and auto-scroll files share.
#pragma once
#include "zq/wheel.h"

namespace zq::controls {

// WS_VSCROLL (SB_VERT) or WS_HSCROLL (SB_HORZ) with a non-empty range.
bool HasScrollRange(HWND window, int bar);

// Enters the host program in the mouse driver's exceptions list; the
// registry status of the last step.
LONG RegisterWheelException() noexcept;

// One timer tick of an auto-scroll run.
void AutoScrollTick(ZQAUTOSCROLL* record) noexcept;

}  // namespace zq::controls
