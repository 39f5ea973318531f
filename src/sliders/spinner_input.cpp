// The spinner's input: keyboard codes (from the spinner or its buddy),
// button presses repeated by a timer, drags over a virtual track, fine
// drag, double-click, hot parts, wheel sequences, and the focus a gesture
// borrows and gives back.
#include <initializer_list>

#include "sliders/spinner_internal.h"

namespace zq::controls {
namespace {

constexpr UINT_PTR kRepeatTimer = 42;
constexpr UINT kRepeatMs = 250;

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

int HitTest(const Spinner& s, POINT p) {
  if (s.disabled || !PtInRect(&s.control, p)) return -1;
  for (int part : {SPNP_BUTTON0, SPNP_BUTTON1, SPNP_DRAGAREA}) {
    const RECT r = PartRect(s, part);
    if (PtInRect(&r, p)) return part;
  }
  return -1;
}

// Movement toward the maximum: up for vertical spinners, right otherwise.
LONG Movement(const Spinner& s, POINT from, POINT to) { return s.vertical ? from.y - to.y : to.x - from.x; }

void SetHot(Spinner& s, int part) {
  if (part == s.hot) return;
  s.hot = part;
  Repaint(s);
}

void Press(Spinner& s, UINT message, WPARAM keys, POINT p) {
  if (s.tracking >= 0) return;  // the other button is already down
  const int part = HitTest(s, p);
  if (part < 0) return;
  if (Focusable(s) && s.window && GetFocus() != s.window) SetFocus(s.window);
  Command(s, SPNC_PRESSED);
  if (Focusable(s)) HideFocus(s);
  s.saved = s.value;
  s.tracking = part;
  Report(s, FADER_STARTGESTURE);
  if (s.window) {
    SetCapture(s.window);
    if (s.noFocus) {
      // Borrowed for the gesture: Escape reaches the spinner, and the
      // focus goes back at the release.
      s.previousFocus = GetFocus();
      if (s.previousFocus != s.window) SetFocus(s.window);
      else s.previousFocus = nullptr;
    }
  }
  s.lastPoint = p;
  s.lastTime = GetMessageTime();
  if (part == SPNP_DRAGAREA) {
    s.fine = (keys & (MK_CONTROL | MK_RBUTTON)) || message == WM_RBUTTONDOWN;
    s.dragDistance = slider::ValueToDistance(ScaleOf(s), s.value, s.sensitivity);
  } else {
    s.pressed[part] = TRUE;
    Report(s, part);
    if (s.window) s.timer = SetTimer(s.window, kRepeatTimer, kRepeatMs, nullptr);
  }
  Repaint(s);
}

void Drag(Spinner& s, WPARAM keys, POINT p) {
  if (s.ignoreMove) {
    s.ignoreMove = FALSE;
    return;
  }
  const LONG moved = Movement(s, s.lastPoint, p);
  if (moved == 0) return;
  const slider::Scale scale = ScaleOf(s);
  LONG value;
  if ((keys & (MK_CONTROL | MK_RBUTTON)) || s.fine) {
    // Half the movement in values; the pointer goes back where it was.
    value = slider::Clamp(static_cast<LONGLONG>(s.value) + slider::HalfAwayFromZero(moved), s.min, s.max);
    if (s.window) {
      POINT back = s.lastPoint;
      ClientToScreen(s.window, &back);
      s.ignoreMove = TRUE;
      SetCursorPos(back.x, back.y);
    }
    s.dragDistance = slider::ValueToDistance(scale, value, s.sensitivity);
  } else {
    LONGLONG distance = static_cast<LONGLONG>(s.dragDistance) + moved;
    if (distance < 0) distance = 0;
    if (distance > s.sensitivity) distance = s.sensitivity;
    s.dragDistance = static_cast<LONG>(distance);
    value = slider::DistanceToValue(scale, s.dragDistance, s.sensitivity);
    s.lastPoint = p;
  }
  if (value == s.value) return;
  s.value = value;
  Report(s, FADER_TRACKING);
}

// Ends a gesture; a drag reports its final value unless it was undone.
void Release(Spinner& s, bool undone = false) {
  if (s.tracking < 0) return;
  const bool drag = s.tracking == SPNP_DRAGAREA;
  s.tracking = -1;
  if (drag && !undone) Report(s, FADER_FINAL);
  if (s.timer && s.window) KillTimer(s.window, kRepeatTimer);
  s.timer = 0;
  s.fine = s.ignoreMove = FALSE;
  if (s.window && GetCapture() == s.window) ReleaseCapture();
  Report(s, FADER_ENDGESTURE);
  if (s.previousFocus) {
    HWND previous = s.previousFocus;
    s.previousFocus = nullptr;
    if (IsWindow(previous)) SetFocus(previous);
  }
  if (Focusable(s) && s.focus) ShowFocus(s);
  s.pressed[0] = s.pressed[1] = FALSE;
  Repaint(s);
  Command(s, SPNC_RELEASED);
}

void DoubleClick(Spinner& s, WPARAM keys, POINT p) {
  const int part = HitTest(s, p);
  if (part != SPNP_DRAGAREA) {
    Press(s, WM_LBUTTONDOWN, keys, p);
    return;
  }
  s.value = s.centre;
  Report(s, FADER_FINAL);
}

void Wheel(Spinner& s, WPARAM wParam) {
  if (s.disabled) return;
  const int delta = static_cast<short>(HIWORD(wParam));
  const bool ctrl = LOWORD(wParam) & MK_CONTROL;
  const int code = delta > 0 ? (ctrl ? FADER_LINEUP : FADER_PAGEUP) : (ctrl ? FADER_LINEDOWN : FADER_PAGEDOWN);
  Report(s, FADER_STARTGESTURE);
  for (int steps = (delta < 0 ? -delta : delta) / WHEEL_DELTA; steps > 0; --steps) Report(s, code);
  Report(s, FADER_ENDGESTURE);
}

int CodeOfKey(UINT key) {
  switch (key) {
    case VK_PRIOR: return FADER_PAGEUP;
    case VK_NEXT: return FADER_PAGEDOWN;
    case VK_END: return FADER_BOTTOM;
    case VK_HOME: return FADER_TOP;
    case VK_LEFT: case VK_UP: return FADER_LINEUP;
    case VK_RIGHT: case VK_DOWN: return FADER_LINEDOWN;
    default: return -1;
  }
}

}  // namespace

void EndGesture(Spinner& s, bool restore) {
  if (s.tracking < 0) return;
  if (restore) {
    s.value = s.saved;
    Report(s, FADER_TRACKING);
  }
  Release(s, restore);
}

// Keys of the spinner or its buddy.
void KeyMessage(Spinner& s, UINT message, UINT key, LPARAM data) {
  if (s.disabled) return;
  if (message == WM_KEYUP) {
    if (s.tracking < 0 && CodeOfKey(key) >= 0) Report(s, FADER_ENDGESTURE);
    return;
  }
  if (s.tracking >= 0) {
    if (key == VK_ESCAPE) EndGesture(s, true);
    return;
  }
  const int code = CodeOfKey(key);
  if (code >= 0) {
    if (!(data & (1 << 30))) Report(s, FADER_STARTGESTURE);
    Report(s, code);
    return;
  }
  if (key >= '0' && key <= '9') {
    s.value = slider::DigitValue(s.min, s.max, static_cast<int>(key - '0'));
    Report(s, FADER_FINAL);
  }
}

bool HandleInput(Spinner& s, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (message == WM_LBUTTONDOWN && (wParam & MK_RBUTTON)) return true;
      Press(s, message, wParam, PointOf(lParam));
      return true;
    case WM_LBUTTONDBLCLK:
      if (!s.disabled) DoubleClick(s, wParam, PointOf(lParam));
      return true;
    case WM_MOUSEMOVE:
      if (s.tracking == SPNP_DRAGAREA) {
        Drag(s, wParam, PointOf(lParam));
      } else if (s.tracking < 0) {
        SetHot(s, HitTest(s, PointOf(lParam)));
        if (!s.leaveTracked && !s.hosted && s.window) {
          TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, s.window, 0};
          s.leaveTracked = TrackMouseEvent(&track);
        }
      }
      return true;
    case WM_MOUSELEAVE:
      s.leaveTracked = FALSE;
      SetHot(s, -1);
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (s.tracking >= 0 && !(message == WM_RBUTTONUP && (wParam & MK_LBUTTON))) Release(s);
      return true;
    case WM_CANCELMODE:
      EndGesture(s, false);
      return true;
    case WM_CAPTURECHANGED:
      if (s.tracking >= 0 && reinterpret_cast<HWND>(lParam) != s.window) EndGesture(s, false);
      return true;
    case WM_TIMER:
      if (wParam != kRepeatTimer) return false;
      if ((s.tracking == SPNP_BUTTON0 || s.tracking == SPNP_BUTTON1) && s.window) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(s.window, &p);
        const bool over = HitTest(s, p) == s.tracking;
        if (over) Report(s, s.tracking);
        if (over != (s.pressed[s.tracking] != FALSE)) {
          s.pressed[s.tracking] = over;
          Repaint(s);
        }
      }
      return true;
    case WM_MOUSEWHEEL:
      Wheel(s, wParam);
      return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
      KeyMessage(s, message, static_cast<UINT>(wParam), lParam);
      return true;
    case WM_GETDLGCODE:
      *result = (s.buttonsOnly || (s.window && GetCapture() == s.window)) ? DLGC_WANTALLKEYS
                                                                          : (DLGC_WANTARROWS | DLGC_WANTCHARS);
      return true;
    case WM_SETCURSOR: {
      if (!s.window) return false;
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(s.window, &p);
      if (HitTest(s, p) != SPNP_DRAGAREA) return false;
      SetCursor(s.dragCursor);
      *result = 1;
      return true;
    }
  }
  return false;
}

}  // namespace zq::controls
