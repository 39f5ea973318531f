// The trackbar's input: keyboard codes (reported, never applied here),
// mouse gestures (thumb drag, repeating parts, fine drag, jump to the
// pointer, double-click), hot tracking, wheel and controller messages.
#include "sliders/trackbar_internal.h"

namespace zq::controls {
namespace {

constexpr UINT kControllerFirst = 0x7F0A, kControllerLast = 0x7F0E;
constexpr UINT_PTR kRepeatTimer = 42;
constexpr UINT kRepeatMs = 250;
constexpr int kThumbPart = 5;

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

// The part under a point: the thumb (5), or a line (0, 1) or page (2, 3)
// step toward its side of the thumb; -1 outside or while unusable.
int HitTest(const Trackbar& t, POINT p, bool* inTrack = nullptr) {
  if (!PtInRect(&t.control, p) || !IsUsable(t)) return -1;
  if (PtInRect(&t.thumb, p)) return kThumbPart;
  const LONG pixel = PixelOf(t, t.value);
  const bool increase = IsVertical(t) ? p.y < pixel : p.x > pixel;
  const bool track = PtInRect(&t.track, p);
  if (inTrack) *inTrack = track;
  return slider::OrientedStepCode(increase, track, IsVertical(t));
}

bool IsStepCode(int code) { return code <= 3 || code == 6 || code == 7; }

void ReportCode(Trackbar& t, int code) { Report(t, code, IsStepCode(code) ? 0 : t.value); }

void SetHover(Trackbar& t, int part) {
  if (part == t.hover) return;
  const bool thumbChanged = (part == kThumbPart) != (t.hover == kThumbPart);
  t.hover = part;
  if (thumbChanged && t.window) InvalidateRect(t.window, &t.thumb, FALSE);
}

void StartLeaveTracking(Trackbar& t) {
  if (t.leaveTracked || !t.window || (t.state & TBKST_HOSTED)) return;
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, t.window, 0};
  t.leaveTracked = TrackMouseEvent(&track);
}

void Press(Trackbar& t, UINT message, WPARAM keys, POINT p) {
  if (!(t.style & TBKS_NOFOCUS) && t.window && GetFocus() != t.window) SetFocus(t.window);
  if (t.tracking >= 0) return;  // the other button is already down
  if (message == WM_LBUTTONDOWN && (keys & MK_RBUTTON)) return;
  bool inTrack = false;
  const int part = HitTest(t, p, &inTrack);
  if (part < 0) return;
  Command(t, TBKC_PRESSED);
  t.saved = t.value;
  HideFocus(t);
  if (t.window) SetCapture(t.window);
  t.lastPoint = p;
  t.lastTime = GetMessageTime();
  Report(t, FADER_STARTGESTURE, t.value);
  const bool fine = (keys & MK_CONTROL) || (keys & MK_RBUTTON) || message == WM_RBUTTONDOWN;
  if (part != kThumbPart && inTrack && (t.state & TBKST_JUMPTOPOINT)) {
    // The thumb comes to the pointer and the drag goes on from there.
    t.tracking = kThumbPart;
    t.dragOffset = 0;
    SetValue(t, ValueAt(t, Along(t, p)), true);
    Report(t, FADER_TRACKING, t.value);
    return;
  }
  if (part == kThumbPart) {
    t.tracking = kThumbPart;
    t.dragOffset = PixelOf(t, t.value) - Along(t, p);
    if (fine) t.state |= TBKST_FINEDRAG;
    Repaint(t);
    return;
  }
  t.tracking = part;
  ReportCode(t, part);
  if (t.window) t.repeating = SetTimer(t.window, kRepeatTimer, kRepeatMs, nullptr) != 0;
}

void Drag(Trackbar& t, WPARAM keys, POINT p) {
  if (t.state & TBKST_IGNOREMOVE) {
    t.state &= ~TBKST_IGNOREMOVE;
    t.lastPoint = p;
    return;
  }
  const bool fine = (keys & MK_CONTROL) || (keys & MK_RBUTTON);
  LONG value;
  if (fine) {
    t.state |= TBKST_FINEDRAG | TBKST_FINEACTIVE;
    LONG moved = Along(t, p) - Along(t, t.lastPoint);
    if (IsVertical(t)) moved = -moved;
    const LONG delta = slider::HalfAwayFromZero(moved);
    if (delta == 0) return;
    value = slider::Clamp(static_cast<LONGLONG>(t.value) + delta, t.min, t.max);
  } else {
    t.state &= ~TBKST_FINEACTIVE;
    value = ValueAt(t, Along(t, p) + t.dragOffset);
  }
  t.lastPoint = p;
  if (value == t.value) return;
  SetValue(t, value, true);
  if (fine && t.window) {
    // The pointer goes back onto the thumb.
    POINT back = p;
    (IsVertical(t) ? back.y : back.x) = PixelOf(t, t.value) - t.dragOffset;
    t.lastPoint = back;
    ClientToScreen(t.window, &back);
    t.state |= TBKST_IGNOREMOVE;
    SetCursorPos(back.x, back.y);
  }
  Report(t, FADER_TRACKING, t.value);
}

void Release(Trackbar& t) {
  if (t.tracking < 0) return;
  const bool thumb = t.tracking == kThumbPart;
  t.tracking = -1;
  if (t.repeating && t.window) KillTimer(t.window, kRepeatTimer);
  t.repeating = FALSE;
  t.state &= ~(TBKST_FINEDRAG | TBKST_FINEACTIVE | TBKST_IGNOREMOVE);
  if (t.window && GetCapture() == t.window) ReleaseCapture();
  if (thumb) Report(t, FADER_FINAL, t.value);
  Report(t, FADER_ENDGESTURE, t.value);
  Repaint(t);
  if (t.state & TBKST_FOCUS) ShowFocus(t);
  Command(t, TBKC_RELEASED);
}

void DoubleClick(Trackbar& t, WPARAM keys, POINT p) {
  if (HitTest(t, p) != kThumbPart) {
    Press(t, WM_LBUTTONDOWN, keys, p);
    return;
  }
  SetValue(t, t.centre, true);
  Report(t, FADER_FINAL, t.value);
}

void Wheel(Trackbar& t, WPARAM wParam) {
  if (!IsUsable(t)) return;
  const LONGLONG delta = static_cast<short>(HIWORD(wParam));
  const LONGLONG step = (LOWORD(wParam) & MK_CONTROL) ? delta / WHEEL_DELTA : delta * 10 / WHEEL_DELTA;
  SetValue(t, slider::Clamp(t.value + step, t.min, t.max), true);
  Report(t, FADER_FINAL, t.value);
}

// ---- Keyboard ---------------------------------------------------------------------------

// The code of a key, -1 for keys that are not steps. Right, Up, Page Up
// and F9 increase; Left, Down, Page Down and F3 decrease; Home is code 6,
// End code 7.
int CodeOfKey(const Trackbar& t, UINT key) {
  const bool vertical = IsVertical(t);
  switch (key) {
    case VK_PRIOR: return slider::OrientedStepCode(true, true, vertical);
    case VK_NEXT: return slider::OrientedStepCode(false, true, vertical);
    case VK_HOME: return FADER_TOP;
    case VK_END: return FADER_BOTTOM;
    case VK_RIGHT: case VK_UP: case VK_F9: return slider::OrientedStepCode(true, false, vertical);
    case VK_LEFT: case VK_DOWN: case VK_F3: return slider::OrientedStepCode(false, false, vertical);
    default: return -1;
  }
}

void NotifyKey(Trackbar& t, UINT key, LPARAM data) {
  HWND target = NotifyWindow(t);
  if (!target) return;
  ZQFADERNMKEY note{};
  note.hdr.hwndFrom = t.window;
  note.hdr.idFrom = static_cast<UINT_PTR>(t.id);
  note.hdr.code = static_cast<UINT>(TBKN_KEY);
  note.key = key;
  note.keyDataLow = LOWORD(data);
  note.keyDataHigh = HIWORD(data);
  SendMessageW(target, WM_NOTIFY, static_cast<WPARAM>(t.id), reinterpret_cast<LPARAM>(&note));
}

void KeyDown(Trackbar& t, UINT key, LPARAM data) {
  if (!IsUsable(t)) return;
  if (t.tracking >= 0) {
    if (key == VK_ESCAPE) EndTracking(t, true);
    return;
  }
  const int code = CodeOfKey(t, key);
  if (code >= 0) {
    ReportCode(t, code);
    return;
  }
  if (key >= '0' && key <= '9') {
    SetValue(t, slider::DigitValue(t.min, t.max, static_cast<int>(key - '0')), true);
    Report(t, FADER_FINAL, t.value);
    return;
  }
  if (key == VK_CLEAR || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)) return;
  NotifyKey(t, key, data);
}

void Controller(Trackbar& t, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == 0x7F0A) {
    slider::SetControllerRecord(reinterpret_cast<void*>(lParam));
    return;
  }
  if ((message == 0x7F0D || message == 0x7F0E) && slider::ControllerRecord() && IsUsable(t)) {
    Report(t, FADER_STARTGESTURE, t.value);
    SetValue(t, static_cast<LONG>(lParam), true);
    Report(t, message == 0x7F0D ? FADER_TRACKING : FADER_FINAL, t.value);
    Report(t, FADER_ENDGESTURE, t.value);
    return;
  }
  HWND target = NotifyWindow(t);
  if (!target) return;
  ZQFADERNMCONTROLLER note{};
  note.hdr.hwndFrom = t.window;
  note.hdr.idFrom = static_cast<UINT_PTR>(t.id);
  note.hdr.code = static_cast<UINT>(TBKN_CONTROLLER);
  note.message = message;
  note.wParam = wParam;
  note.lParam = lParam;
  SendMessageW(target, WM_NOTIFY, static_cast<WPARAM>(t.id), reinterpret_cast<LPARAM>(&note));
}

}  // namespace

void EndTracking(Trackbar& t, bool restore) {
  if (t.tracking < 0) return;
  if (restore) {
    SetValue(t, t.saved, true);
    Report(t, FADER_FINAL, t.value);
  }
  Release(t);
}

bool HandleInput(Trackbar& t, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      Press(t, message, wParam, PointOf(lParam));
      return true;
    case WM_LBUTTONDBLCLK:
      if (IsUsable(t)) DoubleClick(t, wParam, PointOf(lParam));
      return true;
    case WM_MOUSEMOVE:
      if (t.tracking == kThumbPart) {
        Drag(t, wParam, PointOf(lParam));
      } else if (t.tracking < 0) {
        SetHover(t, HitTest(t, PointOf(lParam)));
        StartLeaveTracking(t);
      }
      return true;
    case WM_MOUSELEAVE:
      t.leaveTracked = FALSE;
      SetHover(t, -1);
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (t.tracking >= 0 && !(message == WM_RBUTTONUP && (wParam & MK_LBUTTON))) Release(t);
      return true;
    case WM_CANCELMODE:
      EndTracking(t, false);
      return true;
    case WM_CAPTURECHANGED:
      if (t.tracking >= 0 && reinterpret_cast<HWND>(lParam) != t.window) EndTracking(t, false);
      return true;
    case WM_TIMER:
      if (wParam != kRepeatTimer) return false;
      if (t.tracking >= 0 && t.tracking < 4 && t.window) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(t.window, &p);
        if (HitTest(t, p) == t.tracking) ReportCode(t, t.tracking);
      }
      return true;
    case WM_MOUSEWHEEL:
      Wheel(t, wParam);
      return true;
    case WM_KEYDOWN:
      KeyDown(t, static_cast<UINT>(wParam), lParam);
      return true;
    case WM_KEYUP:
      if (IsUsable(t) && t.tracking < 0 && CodeOfKey(t, static_cast<UINT>(wParam)) >= 0)
        Report(t, FADER_ENDGESTURE, t.value);
      return true;
    case WM_GETDLGCODE:
      *result = (t.window && GetCapture() == t.window) ? DLGC_WANTALLKEYS : (DLGC_WANTARROWS | DLGC_WANTCHARS);
      return true;
    case WM_CONTEXTMENU:
      return t.tracking >= 0;  // swallowed while tracking
  }
  if (message >= kControllerFirst && message <= kControllerLast) {
    Controller(t, message, wParam, lParam);
    return true;
  }
  return false;
}

}  // namespace zq::controls
