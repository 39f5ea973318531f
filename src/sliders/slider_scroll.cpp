// Scroll-code arithmetic of the slider-like controls.
#include "sliders/slider.h"

namespace zq::controls::slider {

LONG Clamp(LONGLONG value, LONG min, LONG max) noexcept {
  if (value < min) return min;
  if (value > max) return max;
  return static_cast<LONG>(value);
}

LONGLONG PageStep(LONG min, LONG max, LONG page, bool ctrl) noexcept {
  LONGLONG step = page;
  if (step == 0) {
    step = (static_cast<LONGLONG>(max) - min + 5) / 10;
    if (step < 1) step = 1;
  }
  return ctrl ? step * 10 : step;
}

LONG ApplyScrollCode(int code, LONG value, LONG min, LONG max, LONGLONG line, LONG page, bool ctrl) noexcept {
  LONGLONG result = value;
  switch (code) {
    case 0: result += line; break;
    case 1: result -= line; break;
    case 2: result += PageStep(min, max, page, ctrl); break;
    case 3: result -= PageStep(min, max, page, ctrl); break;
    case 6: result = (min < 0 && max > 0 && !ctrl) ? 0 : max; break;
    case 7: result = min; break;
    default: break;
  }
  return Clamp(result, min, max);
}

LONG ApplyOrientedScrollCode(int code, bool vertical, bool centreRule, LONG value, LONG min, LONG max, LONG line,
                             LONG page, bool ctrl) noexcept {
  if (vertical) {
    if (code == 6 && !centreRule) return max;
    return ApplyScrollCode(code, value, min, max, line, page, ctrl);
  }
  switch (code) {
    case 0: case 2: return ApplyScrollCode(code + 1, value, min, max, line, page, ctrl);
    case 1: case 3: return ApplyScrollCode(code - 1, value, min, max, line, page, ctrl);
    case 6: return min;
    case 7: return max;
    default: return Clamp(value, min, max);
  }
}

int OrientedStepCode(bool increase, bool page, bool vertical) noexcept {
  const int base = page ? 2 : 0;
  return base + ((increase == vertical) ? 0 : 1);
}

LONG DigitValue(LONG min, LONG max, int digit) noexcept {
  return Clamp(min + (static_cast<LONGLONG>(max) - min) * digit / 10, min, max);
}

LONG HalfAwayFromZero(LONG movement) noexcept {
  return movement >= 0 ? (movement + 1) / 2 : -((-static_cast<LONGLONG>(movement) + 1) / 2);
}

bool CtrlHeld() noexcept { return GetKeyState(VK_CONTROL) < 0; }

namespace {
void* g_controller = nullptr;
}

void* ControllerRecord() noexcept { return g_controller; }

void SetControllerRecord(void* record) noexcept { g_controller = record; }

bool ShiftHeld() noexcept { return GetKeyState(VK_SHIFT) < 0; }

}  // namespace zq::controls::slider
