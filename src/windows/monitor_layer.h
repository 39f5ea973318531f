// The multi-monitor layer's binding: the platform's functions where USER32
// has them, the one-monitor fall-backs where it does not.
#pragma once
#include <windows.h>

namespace zq::windows {

// Binds each of the five monitor functions from `user32` (null: binds every
// fall-back). Until it is first called the fall-backs answer.
void BindMonitorFunctions(HMODULE user32) noexcept;

// Library start-up: binds from the loaded USER32.
void MonitorStartup() noexcept;

// The work rectangle (or monitor rectangle) of `monitor`, else the screen's
// clip box (or the system work area); true when the monitor answered.
bool MonitorArea(HMONITOR monitor, bool workArea, RECT* area) noexcept;

}  // namespace zq::windows
