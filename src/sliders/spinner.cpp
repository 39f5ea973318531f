// The spinner's instance: set-up, layout of the buttons and the drag area,
// private messages, notifications, and the window class that hosts one
// instance per window.
#include <cstring>
#include <new>

#include "sliders/slider_window.h"
#include "sliders/spinner_internal.h"
#include "ui/theme_internal.h"
#include "zq/window.h"
#include "zq/ui.h"

namespace zq::controls {
namespace {

constexpr UINT kNmKillFocus = static_cast<UINT>(NM_KILLFOCUS);

// The window form's scroll procedure: WM_VSCROLL / WM_HSCROLL to the
// notification window; the start of a gesture in buddy mode hands the focus
// to the buddy.
void CALLBACK WindowScrollProc(ZQSPINNERINST* inst, int, LPARAM, int code, LONG value) {
  Spinner& s = *SpinnerOf(inst);
  if (code == FADER_STARTGESTURE && (s.style & SPNS_BUDDY) && s.buddy && GetFocus() != s.buddy) {
    if (HWND dialog = GetParent(s.buddy))
      SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(s.buddy), TRUE);
  }
  HWND target = NotifyWindow(s);
  if (!target) return;
  const WORD position = (code == FADER_FINAL || code == FADER_TRACKING) ? static_cast<WORD>(value) : 0;
  SendMessageW(target, s.vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position),
               reinterpret_cast<LPARAM>(s.window));
}

void ApplyStyle(Spinner& s, DWORD style) {
  s.style = style;
  s.vertical = (style & SPNS_VERT) != 0;
  s.buttonsOnly = (style & SPNS_DRAG_MASK) == 0;
  s.noFocus = s.buttonsOnly || (style & SPNS_BUDDY);
  s.flat = (style & SPNS_FLAT) != 0;
  s.commands = (style & SPNS_NOTIFY) != 0;
  s.dragCursor = ZqGetUICursor(s.vertical ? ZQ_UICURSOR_DRAG_V : ZQ_UICURSOR_DRAG_H);
}

void Rederive(Spinner& s) {
  if (s.min > s.max) {
    const LONG swap = s.min;
    s.min = s.max;
    s.max = swap;
  }
  if (s.min >= 0 || s.max < 0) s.centre = static_cast<LONG>(s.min + (static_cast<LONGLONG>(s.max) - s.min) / 2);
  else s.centre = s.max != 0 ? 0 : s.min;
  slider::Scale scale = ScaleOf(s);
  slider::PrepareTaper(scale);
  s.taperOffset = scale.offset;
  s.taperSpan = scale.span;
  s.value = slider::Clamp(s.value, s.min, s.max);
  s.fineMapping = s.sensitivity >= static_cast<LONGLONG>(s.max) - s.min;
}

void Initialise(Spinner& s, DWORD style, const RECT& rect, HWND window, int id, ZQSPINNERSCROLLPROC proc,
                LPARAM ownerData, bool hosted) {
  std::memset(&s, 0, sizeof(s));
  ApplyStyle(s, style);
  s.hosted = hosted;
  s.disabled = (style & WS_DISABLED) != 0;
  s.window = window;
  s.id = id;
  s.proc = proc;
  s.ownerData = ownerData;
  s.min = 0;
  s.max = 100;
  s.value = s.centre = 50;
  s.sensitivity = GetSystemMetrics(SM_CYSCREEN) / 4;
  if (s.sensitivity < 1) s.sensitivity = 1;
  s.tracking = s.hot = -1;
  s.control = rect;
  Rederive(s);
  Layout(s);
}

LRESULT SetStyleWord(Spinner& s, WPARAM wParam, LPARAM lParam) {
  const DWORD style = (s.style & 0xFFFF0000u) | LOWORD(wParam);
  ApplyStyle(s, style);
  if (!s.hosted && s.window)
    SetWindowLongW(s.window, GWL_STYLE,
                   static_cast<LONG>((static_cast<DWORD>(GetWindowLongW(s.window, GWL_STYLE)) & 0xFFFF0000u) |
                                     LOWORD(wParam)));
  Layout(s);
  if (LOWORD(lParam)) Repaint(s);
  return 0;
}

bool Handle(Spinner& s, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  if (HandleInput(s, message, wParam, lParam, result)) return true;
  switch (message) {
    case SPNM_GETPOS: *result = s.value; return true;
    case SPNM_GETMIN: *result = s.min; return true;
    case SPNM_GETMAX: *result = s.max; return true;
    case SPNM_SETRANGE:
      s.min = static_cast<SHORT>(LOWORD(lParam));
      s.max = static_cast<SHORT>(HIWORD(lParam));
      Rederive(s);
      return true;
    case SPNM_SETMIN:
    case SPNM_SETMAX:
      (message == SPNM_SETMIN ? s.min : s.max) = static_cast<LONG>(lParam);
      Rederive(s);
      return true;
    case SPNM_SETPOS:
      s.value = slider::Clamp(static_cast<LONG>(lParam), s.min, s.max);
      *result = s.value;
      return true;
    case SPNM_SETCENTER:
      s.centre = slider::Clamp(static_cast<LONG>(lParam), s.min, s.max);
      *result = s.centre;
      return true;
    case SPNM_GETSENSITIVITY: *result = s.sensitivity; return true;
    case SPNM_SETSENSITIVITY:
      s.sensitivity = lParam > 0 ? static_cast<LONG>(lParam) : 1;
      Rederive(s);
      *result = s.sensitivity;
      return true;
    case SPNM_GETNOTIFY: *result = reinterpret_cast<LRESULT>(NotifyWindow(s)); return true;
    case SPNM_SETNOTIFY:
      s.notify = reinterpret_cast<HWND>(wParam);
      *result = static_cast<LRESULT>(wParam);
      return true;
    case SPNM_SETSTYLE: *result = SetStyleWord(s, wParam, lParam); return true;
    case SPNM_GETBUDDY: *result = reinterpret_cast<LRESULT>(s.buddy); return true;
    case SPNM_SETBUDDY: *result = AttachBuddy(s, reinterpret_cast<HWND>(wParam), LOWORD(lParam)); return true;
    case WM_SETFOCUS:
      s.focus = TRUE;
      ShowFocus(s);
      Command(s, SPNC_SETFOCUS);
      return true;
    case WM_KILLFOCUS:
      s.focus = FALSE;
      HideFocus(s);
      if (HWND target = NotifyWindow(s)) {
        NMHDR note{s.window, static_cast<UINT_PTR>(s.id), kNmKillFocus};
        SendMessageW(target, WM_NOTIFY, static_cast<WPARAM>(s.id), reinterpret_cast<LPARAM>(&note));
      }
      return true;
    case WM_ENABLE:
      s.disabled = !wParam;
      if (s.disabled && s.tracking >= 0) EndGesture(s, false);
      Repaint(s);
      return true;
    case WM_SYSCOLORCHANGE:
      BuildArrows();
      Repaint(s);
      return true;
    case WM_THEMECHANGED:
      XPTheme_Handle_WM_THEMECHANGED(nullptr, s.window);
      Layout(s);
      Repaint(s);
      return true;
    case WM_ERASEBKGND:
      if (s.hosted && wParam) Paint(s, reinterpret_cast<HDC>(wParam));
      *result = 1;
      return true;
    case WM_PAINT:
      if (s.hosted) {
        if (wParam) Paint(s, reinterpret_cast<HDC>(wParam));
        return true;
      }
      return false;  // the window form paints through its off-screen bitmap
  }
  return false;
}

}  // namespace

HWND NotifyWindow(const Spinner& s) { return s.notify ? s.notify : (s.window ? GetParent(s.window) : nullptr); }

bool Focusable(const Spinner& s) { return !s.noFocus; }

slider::Scale ScaleOf(const Spinner& s) {
  slider::Scale scale;
  scale.min = s.min;
  scale.max = s.max;
  scale.taper = (s.style & SPNS_TAPER) != 0;
  scale.offset = s.taperOffset;
  scale.span = s.taperSpan ? s.taperSpan : 1;
  return scale;
}

void Report(Spinner& s, int code) {
  if (s.proc) s.proc(InstOf(&s), s.id, s.ownerData, code, s.value);
}

void Command(Spinner& s, int code) {
  if (!s.commands) return;
  HWND target = NotifyWindow(s);
  if (target) SendMessageW(target, WM_COMMAND, MAKEWPARAM(s.id, code), reinterpret_cast<LPARAM>(s.window));
}

// Button 0 at the top (vertical) or the left, button 1 at the other end,
// the drag area (4, 6 or 8 pixels) between them.
RECT PartRect(const Spinner& s, int part) {
  const RECT& c = s.control;
  const LONG length = s.vertical ? c.bottom - c.top : c.right - c.left;
  const LONG bits = static_cast<LONG>((s.style & SPNS_DRAG_MASK) >> 4);
  LONG drag = bits ? 2 + 2 * bits : 0;
  if (drag > length) drag = length;
  const LONG first = (length - drag) / 2;
  LONG from, to;
  switch (part) {
    case SPNP_BUTTON0: from = 0; to = first; break;
    case SPNP_BUTTON1: from = first + drag; to = length; break;
    case SPNP_DRAGAREA: from = first; to = first + drag; break;
    default: return RECT{};
  }
  RECT r = c;
  if (s.vertical) {
    r.top = c.top + from;
    r.bottom = c.top + to;
  } else {
    r.left = c.left + from;
    r.right = c.left + to;
  }
  if (IsRectEmpty(&r)) SetRectEmpty(&r);
  return r;
}

void Layout(Spinner& s) {
  const ZQXPTHEME* theme = ActiveTheme();
  s.themed = theme && theme->themes[ZQXPTHEME_SPIN];
  s.edges = !s.flat && !s.themed;
}

}  // namespace zq::controls

using namespace zq::controls;

namespace {

struct SpinnerWindow {
  using Record = Spinner;
  static constexpr bool kAnswersPrivateMessages = true;
  static void Create(Spinner& s, HWND window, const CREATESTRUCTW& create) {
    DefaultTheme(window);
    Initialise(s, static_cast<DWORD>(create.style), slider::ClientArea(window), window, slider::CreationId(create),
               WindowScrollProc, reinterpret_cast<LPARAM>(create.lpCreateParams), false);
  }
  // Once the window knows its record: messages the dialog adjustment sends
  // reach it.
  static void Created(Spinner&, HWND window, const CREATESTRUCTW& create) {
    slider::AcquireMemoryDC();
    const ZQXPTHEME* theme = DefaultTheme(window);
    if (theme && ThemeOutdated(*theme)) PostMessageW(window, WM_THEMECHANGED, 0, 0);
    if ((create.style & SPNS_DLGADJUST) && create.hwndParent) {
      const int id = slider::CreationId(create);
      const bool widen = (create.style & SPNS_VERT) && create.cx % 2 == 0;
      ZqDlgDeltaControlMove(create.hwndParent, id, 0, -1);
      ZqDlgDeltaControlSize(create.hwndParent, id, widen ? 1 : 0, 2);
    }
  }
  static void Destroy(Spinner& s) {
    EndGesture(s, false);
    DetachBuddy(s);
    HideFocus(s);
    slider::ReleaseMemoryDC();
  }
  static RECT& Area(Spinner& s) { return s.control; }
  static void Resized(Spinner& s) {
    Layout(s);
    Repaint(s);
  }
  static void Paint(Spinner& s, HDC memory) { zq::controls::Paint(s, memory); }
  static bool Handle(Spinner& s, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return zq::controls::Handle(s, message, wParam, lParam, result);
  }
};

}  // namespace

ZQAPI BOOL WINAPI SpinnerInitialize(HINSTANCE instance, LPCWSTR className) noexcept {
  if (!className) return FALSE;
  BuildArrows();
  return slider::RegisterControlClass(instance, className, slider::ControlWindowProc<SpinnerWindow>);
}

ZQAPI BOOL WINAPI SpinnerTerminate(HINSTANCE instance, LPCWSTR className) noexcept {
  DeleteArrows();
  return className && UnregisterClassW(className, instance);
}

ZQAPI int WINAPI SpinnerInst_GetSize(void) noexcept { return ZQ_SPINNERINST_SIZE; }

ZQAPI BOOL WINAPI SpinnerInst_Init(ZQSPINNERINST* inst, DWORD style, const RECT* rect, HWND host, int id,
                                   ZQSPINNERSCROLLPROC proc, LPARAM ownerData) noexcept {
  if (!inst) return FALSE;
  RECT area{};
  if (rect) area = *rect;
  if (host) DefaultTheme(host);
  Initialise(*SpinnerOf(inst), style, area, host, id, proc, ownerData, true);
  return TRUE;
}

ZQAPI void WINAPI SpinnerInst_Deinit(ZQSPINNERINST* inst) noexcept {
  if (!inst) return;
  // Nothing of its own to release; a gesture or a buddy must not outlive it.
  EndGesture(*SpinnerOf(inst), false);
  DetachBuddy(*SpinnerOf(inst));
  HideFocus(*SpinnerOf(inst));
}

ZQAPI void WINAPI SpinnerInst_Move(ZQSPINNERINST* inst, const RECT* rect) noexcept {
  if (!inst || !rect) return;
  SpinnerOf(inst)->control = *rect;
  Layout(*SpinnerOf(inst));
}

ZQAPI LRESULT WINAPI SpinnerInst_Message(ZQSPINNERINST* inst, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (!inst) return 0;
  LRESULT result = 0;
  Handle(*SpinnerOf(inst), message, wParam, lParam, &result);
  return result;
}

ZQAPI int WINAPI SpinnerInst_SetId(ZQSPINNERINST* inst, int id) noexcept {
  if (inst) SpinnerOf(inst)->id = id;
  return id;
}

ZQAPI void WINAPI SpinnerInst_SetScrollProc(ZQSPINNERINST* inst, ZQSPINNERSCROLLPROC proc, LPARAM ownerData) noexcept {
  if (!inst) return;
  SpinnerOf(inst)->proc = proc;
  SpinnerOf(inst)->ownerData = ownerData;
}

ZQAPI void WINAPI SpinnerInst_SetOwnerHwnd(ZQSPINNERINST* inst, HWND window) noexcept {
  if (inst && SpinnerOf(inst)->hosted) SpinnerOf(inst)->window = window;
}

ZQAPI void WINAPI SpinnerInst_DefScrollProc(ZQSPINNERINST* inst, int code, HWND, LONG amount, LONG page) noexcept {
  if (!inst) return;
  Spinner& s = *SpinnerOf(inst);
  const LONG value = slider::ApplyOrientedScrollCode(code, s.vertical, true, s.value, s.min, s.max, amount, page,
                                                     slider::CtrlHeld());
  SpinnerInst_Message(inst, SPNM_SETPOS, TRUE, value);
  Repaint(s);
}

ZQAPI void WINAPI Spinner_DefScrollProc(ZQSPINNERINST*, int code, HWND window, LONG amount, LONG page,
                                        LONG value) noexcept {
  if (!window) return;
  LONG next = value;
  if (code != FADER_ENDGESTURE && code != FADER_STARTGESTURE) {
    const bool vertical = GetWindowLongW(window, GWL_STYLE) & SPNS_VERT;
    const LONG min = static_cast<LONG>(SendMessageW(window, SPNM_GETMIN, 0, 0));
    const LONG max = static_cast<LONG>(SendMessageW(window, SPNM_GETMAX, 0, 0));
    const LONG current = static_cast<LONG>(SendMessageW(window, SPNM_GETPOS, 0, 0));
    next = slider::ApplyOrientedScrollCode(code, vertical, true, current, min, max, amount, page, slider::CtrlHeld());
  }
  SendMessageW(window, SPNM_SETPOS, TRUE, next);
}
