// The fader's input: keyboard, mouse gestures (thumb drags, repeating page
// and line parts, fine drag, double-click), wheel and controller messages.
#include <cstring>

#include "sliders/fader_internal.h"
#include "zq/ui.h"

namespace zq::controls {
namespace {

constexpr UINT kControllerFirst = 0x7F0A, kControllerLast = 0x7F0E;

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

bool Usable(const Fader& f) { return !(f.state & (FADST_DISABLED | FADST_HIDDEN)); }

// Moves the masked channels by a code (when the fader moves its own values),
// repaints and reports the code.
void Step(Fader& f, int code, bool ctrl) {
  if (f.style & FADS_SELFMOVE) {
    const LONGLONG line = ctrl ? static_cast<LONGLONG>(f.lineStep) * 10 : f.lineStep;
    LONG values[2] = {f.values[0], f.values[1]};
    for (int c = 0; c < f.channels; ++c)
      if (f.channelMask & (1u << c))
        values[c] = slider::ApplyScrollCode(code, f.values[c], f.min, f.max, line, f.pageStep, ctrl);
    SetValues(f, values, f.channelMask, true);
  }
  Report(f, code);
}

void SetMasked(Fader& f, LONG value, DWORD mask) {
  LONG values[2] = {f.values[0], f.values[1]};
  for (int c = 0; c < f.channels; ++c)
    if (mask & (1u << c)) values[c] = value;
  SetValues(f, values, mask, true);
}

// ---- Hit testing ------------------------------------------------------------------------

struct Hit {
  int part = -1;       // 0 ... 3 a stepping part, 5 a thumb
  DWORD grab = 0;      // thumbs: the channels grabbed
  int thumb = -1;      // the thumb under the point
};

int ThumbAt(const Fader& f, POINT p) {
  int found = -1;
  for (int c = 0; c < f.channels; ++c)
    if (PtInRect(&f.thumbs[c].rect, p)) found = found < 0 ? c : found;
  return found;
}

Hit HitTest(const Fader& f, POINT p, bool shift) {
  Hit hit;
  if (!PtInRect(&f.control, p) || !Usable(f)) return hit;
  hit.thumb = ThumbAt(f, p);
  if (hit.thumb >= 0) {
    hit.part = 5;
    if (!IsStereo(f)) {
      hit.grab = 1;
      return hit;
    }
    const bool all = (f.state & FADST_GANGINVERTED) ? !shift : shift;
    if (all) {
      hit.grab = 3;
      return hit;
    }
    hit.grab = 1u << hit.thumb;
    if (!(f.state & FADST_NOSPLITGRAB)) {
      // The inner half of a thumb (toward the other one) grabs both.
      const LONG across = IsVertical(f) ? p.x : p.y;
      const bool inner = hit.thumb == 0 ? across >= f.thumbs[0].split : across < f.thumbs[1].split;
      if (inner) hit.grab = 3;
    }
    return hit;
  }
  // Outside the thumbs: page inside the track, line elsewhere, toward the
  // maximum when the point lies on the maximum's side of the thumb.
  const LONG pixel = f.thumbs[f.firstChannel].pixel;
  const bool towardMax = IsVertical(f) ? p.y < pixel : p.x > pixel;
  const bool inTrack = PtInRect(&f.track, p);
  hit.part = inTrack ? (towardMax ? 2 : 3) : (towardMax ? 0 : 1);
  return hit;
}

// ---- Mouse ---------------------------------------------------------------------------------

void Press(Fader& f, UINT message, WPARAM keys, POINT p) {
  if (!(f.style & FADS_NOFOCUS) && f.window && GetFocus() != f.window) SetFocus(f.window);
  if (message == WM_RBUTTONDOWN) f.state |= FADST_RBUTTON;
  if (f.tracking >= 0) return;  // the other button is already down
  if (message == WM_LBUTTONDOWN && (keys & MK_RBUTTON)) return;
  const Hit hit = HitTest(f, p, keys & MK_SHIFT);
  if (hit.part < 0) return;
  Command(f, FDC_PRESSED);
  std::memcpy(f.saved, f.values, sizeof(f.saved));
  HideFocus(f);
  if (f.window) SetCapture(f.window);
  f.lastPoint = p;
  f.lastTime = GetMessageTime();
  Report(f, FADER_STARTGESTURE);
  if (hit.part == 5) {
    f.tracking = 5;
    f.grabMask = hit.grab;
    for (int c = 0; c < f.channels; ++c) f.dragOffset[c] = f.thumbs[c].pixel - Along(f, p);
    if ((keys & MK_CONTROL) || (keys & MK_RBUTTON) || message == WM_RBUTTONDOWN) f.state |= FADST_FINEDRAG;
    Repaint(f, kPriorityChange);
    return;
  }
  f.tracking = hit.part;
  Step(f, hit.part, keys & MK_CONTROL);
  if (f.window) f.repeating = SetTimer(f.window, kRepeatTimer, kRepeatMs, nullptr) != 0;
}

void Drag(Fader& f, WPARAM keys, POINT p) {
  if (f.state & FADST_IGNOREMOVE) {
    f.state &= ~FADST_IGNOREMOVE;
    f.lastPoint = p;
    return;
  }
  const int lead = (f.grabMask & (1u << f.firstChannel)) ? f.firstChannel : (f.grabMask & 1 ? 0 : 1);
  const bool fine = (keys & MK_CONTROL) || (keys & MK_RBUTTON);
  LONG values[2] = {f.values[0], f.values[1]};
  if (fine) {
    f.state |= FADST_FINEDRAG | FADST_FINEACTIVE;
    // Half the pixel movement, in value units; the pointer goes back onto the thumb.
    LONG moved = Along(f, p) - Along(f, f.lastPoint);
    if (IsVertical(f)) moved = -moved;
    const LONG delta = slider::HalfAwayFromZero(moved);
    if (delta == 0) return;
    for (int c = 0; c < f.channels; ++c)
      if (f.grabMask & (1u << c))
        values[c] = slider::Clamp(static_cast<LONGLONG>(f.values[c]) + delta, f.min, f.max);
  } else {
    f.state &= ~FADST_FINEACTIVE;
    const LONG target = ValueAt(f, Along(f, p) + f.dragOffset[lead]);
    const LONGLONG delta = static_cast<LONGLONG>(target) - f.saved[lead];
    for (int c = 0; c < f.channels; ++c)
      if (f.grabMask & (1u << c)) values[c] = slider::Clamp(f.saved[c] + delta, f.min, f.max);
  }
  f.lastPoint = p;
  if (values[0] == f.values[0] && values[1] == f.values[1]) return;
  SetValues(f, values, f.grabMask, true);
  if (fine && f.window) {
    POINT back = p;
    if (IsVertical(f)) back.y = f.thumbs[lead].pixel - f.dragOffset[lead];
    else back.x = f.thumbs[lead].pixel - f.dragOffset[lead];
    f.lastPoint = back;
    ClientToScreen(f.window, &back);
    f.state |= FADST_IGNOREMOVE;
    SetCursorPos(back.x, back.y);
  }
  Report(f, FADER_TRACKING);
}

void Release(Fader& f) {
  if (f.tracking < 0) return;
  const bool thumb = f.tracking == 5;
  f.tracking = -1;
  if (f.repeating && f.window) KillTimer(f.window, kRepeatTimer);
  f.repeating = FALSE;
  f.state &= ~(FADST_FINEDRAG | FADST_FINEACTIVE | FADST_IGNOREMOVE | FADST_RBUTTON);
  if (f.window && GetCapture() == f.window) ReleaseCapture();
  if (thumb) Report(f, FADER_FINAL);
  Report(f, FADER_ENDGESTURE);
  Repaint(f, kPriorityChange);
  if (f.state & FADST_FOCUS) ShowFocus(f);
  Command(f, FDC_RELEASED);
}

void DoubleClick(Fader& f, WPARAM keys, POINT p) {
  const Hit hit = HitTest(f, p, keys & MK_SHIFT);
  if (hit.part != 5) {
    Press(f, WM_LBUTTONDOWN, keys, p);
    return;
  }
  if (!IsStereo(f) || hit.grab == 3) {
    SetMasked(f, f.centre, f.channelMask);
  } else {
    const int other = 1 - hit.thumb;
    SetMasked(f, f.values[hit.thumb], 1u << other);
  }
  Report(f, FADER_FINAL);
}

void Wheel(Fader& f, WPARAM wParam) {
  if (!Usable(f)) return;
  const LONGLONG delta = static_cast<short>(HIWORD(wParam));
  const LONGLONG step = (LOWORD(wParam) & MK_CONTROL) ? delta / WHEEL_DELTA : delta * 10 / WHEEL_DELTA;
  LONG values[2] = {f.values[0], f.values[1]};
  for (int c = 0; c < f.channels; ++c)
    if (f.channelMask & (1u << c)) values[c] = slider::Clamp(f.values[c] + step, f.min, f.max);
  SetValues(f, values, f.channelMask, true);
  Report(f, FADER_FINAL);
}

// ---- Keyboard --------------------------------------------------------------------------------

bool IsStepKey(UINT key) {
  switch (key) {
    case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END: case VK_UP: case VK_RIGHT: case VK_DOWN:
    case VK_LEFT: case VK_F3: case VK_F9:
      return true;
    default:
      return false;
  }
}

int CodeOfKey(UINT key) {
  switch (key) {
    case VK_PRIOR: return FADER_PAGEUP;
    case VK_NEXT: return FADER_PAGEDOWN;
    case VK_HOME: return FADER_TOP;
    case VK_END: return FADER_BOTTOM;
    case VK_UP: case VK_RIGHT: case VK_F9: return FADER_LINEUP;
    default: return FADER_LINEDOWN;
  }
}

void NotifyKey(Fader& f, UINT key, LPARAM data) {
  HWND target = f.notify ? f.notify : (f.window ? GetParent(f.window) : nullptr);
  if (!target) return;
  ZQFADERNMKEY note{};
  note.hdr.hwndFrom = f.window;
  note.hdr.idFrom = static_cast<UINT_PTR>(f.id);
  note.hdr.code = static_cast<UINT>(FDN_KEY);
  note.key = key;
  note.keyDataLow = LOWORD(data);
  note.keyDataHigh = HIWORD(data);
  SendMessageW(target, WM_NOTIFY, static_cast<WPARAM>(f.id), reinterpret_cast<LPARAM>(&note));
}

void KeyDown(Fader& f, UINT key, LPARAM data) {
  if (!Usable(f)) return;
  if (f.tracking >= 0) {
    if (key == VK_ESCAPE) EndTracking(f, true);
    return;
  }
  if (IsStepKey(key)) {
    Step(f, CodeOfKey(key), slider::CtrlHeld());
    return;
  }
  if (key >= '0' && key <= '9') {
    SetMasked(f, slider::DigitValue(f.min, f.max, static_cast<int>(key - '0')), f.channelMask);
    Report(f, FADER_FINAL);
    return;
  }
  if (key == VK_CLEAR || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)) return;
  if ((f.style & FADS_SELFMOVE) && IsStereo(f)) {
    DWORD mask = 0;
    if (key == 'B' || key == 'C' || key == 'G' || key == 'S') mask = 3;
    else if (key == 'L') mask = 1;
    else if (key == 'R') mask = 2;
    if (mask) {
      FaderInst_Message(InstOf(&f), FDM_SETCHANNELMASK, 0, mask);
      return;
    }
  }
  NotifyKey(f, key, data);
}

void Controller(Fader& f, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == 0x7F0A) {
    slider::SetControllerRecord(reinterpret_cast<void*>(lParam));
    f.state = lParam ? (f.state | FADST_CONTROLLER) : (f.state & ~FADST_CONTROLLER);
    return;
  }
  if ((message == 0x7F0D || message == 0x7F0E) && (f.state & FADST_CONTROLLER) && Usable(f)) {
    // wParam: channel (1-based, 0 = the masked ones); lParam: the value.
    const int channel = static_cast<int>(wParam);
    const DWORD mask = channel >= 1 && channel <= f.channels ? 1u << (channel - 1) : f.channelMask;
    Report(f, FADER_STARTGESTURE);
    LONG values[2] = {f.values[0], f.values[1]};
    for (int c = 0; c < f.channels; ++c)
      if (mask & (1u << c)) values[c] = slider::Clamp(static_cast<LONG>(lParam), f.min, f.max);
    SetValues(f, values, mask, false);
    Repaint(f, kPriorityController);
    Report(f, message == 0x7F0D ? FADER_TRACKING : FADER_FINAL);
    Report(f, FADER_ENDGESTURE);
    return;
  }
  HWND target = f.notify ? f.notify : (f.window ? GetParent(f.window) : nullptr);
  if (!target) return;
  ZQFADERNMCONTROLLER note{};
  note.hdr.hwndFrom = f.window;
  note.hdr.idFrom = static_cast<UINT_PTR>(f.id);
  note.hdr.code = static_cast<UINT>(FDN_CONTROLLER);
  note.message = message;
  note.wParam = wParam;
  note.lParam = lParam;
  SendMessageW(target, WM_NOTIFY, static_cast<WPARAM>(f.id), reinterpret_cast<LPARAM>(&note));
}

}  // namespace

void EndTracking(Fader& f, bool restore) {
  if (f.tracking < 0) return;
  if (restore) {
    SetValues(f, f.saved, 3, true);
    Report(f, FADER_FINAL);
  }
  Release(f);
}

void ApplyCode(Fader& f, int code) { Step(f, code, slider::CtrlHeld()); }

bool HandleInput(Fader& f, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      Press(f, message, wParam, PointOf(lParam));
      return true;
    case WM_LBUTTONDBLCLK:
      if (Usable(f)) DoubleClick(f, wParam, PointOf(lParam));
      return true;
    case WM_MOUSEMOVE:
      if (f.tracking == 5) Drag(f, wParam, PointOf(lParam));
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (message == WM_RBUTTONUP) f.state &= ~FADST_RBUTTON;
      if (f.tracking >= 0 && !(message == WM_RBUTTONUP && (wParam & MK_LBUTTON))) Release(f);
      return true;
    case WM_CANCELMODE:
      EndTracking(f, false);
      return true;
    case WM_CAPTURECHANGED:
      if (f.tracking >= 0 && reinterpret_cast<HWND>(lParam) != f.window) EndTracking(f, false);
      return true;
    case WM_TIMER:
      if (wParam != kRepeatTimer) return false;
      if (f.tracking >= 0 && f.tracking < 4 && f.window) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(f.window, &p);
        if (HitTest(f, p, false).part == f.tracking) Step(f, f.tracking, slider::CtrlHeld());
      }
      return true;
    case WM_MOUSEWHEEL:
      Wheel(f, wParam);
      return true;
    case WM_KEYDOWN:
      KeyDown(f, static_cast<UINT>(wParam), lParam);
      return true;
    case WM_KEYUP:
      if (Usable(f) && f.tracking < 0 && IsStepKey(static_cast<UINT>(wParam))) Report(f, FADER_ENDGESTURE);
      return true;
    case WM_GETDLGCODE:
      *result = (f.window && GetCapture() == f.window) ? DLGC_WANTALLKEYS : (DLGC_WANTARROWS | DLGC_WANTCHARS);
      return true;
    case WM_CONTEXTMENU:
      return f.tracking >= 0;  // swallowed while tracking
    case WM_SETCURSOR: {
      if (!f.window) return false;
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(f.window, &p);
      const int thumb = IsStereo(f) ? ThumbAt(f, p) : -1;
      SetCursor(thumb == 0   ? ZqGetUICursor(ZQ_UICURSOR_THUMB1)
                : thumb == 1 ? ZqGetUICursor(ZQ_UICURSOR_THUMB2)
                             : LoadCursorW(nullptr, IDC_ARROW));
      *result = 1;
      return true;
    }
  }
  if (message >= kControllerFirst && message <= kControllerLast) {
    Controller(f, message, wParam, lParam);
    return true;
  }
  return false;
}

}  // namespace zq::controls
