// The trackbar's instance: set-up, private messages, notifications, and the
// window class that hosts one instance per window.
#include <cstring>
#include <new>

#include "sliders/slider_window.h"
#include "sliders/trackbar_internal.h"
#include "zq/ui.h"

namespace zq::controls {
namespace {

// The window form's scroll procedure: WM_VSCROLL / WM_HSCROLL to the
// notification window.
void CALLBACK WindowScrollProc(ZQTRACKBARINST* inst, int, LPARAM, int code, LONG value) {
  Trackbar& t = *TrackbarOf(inst);
  HWND target = NotifyWindow(t);
  if (!target) return;
  const WORD position = (code == FADER_FINAL || code == FADER_TRACKING) ? static_cast<WORD>(value) : 0;
  SendMessageW(target, IsVertical(t) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position),
               reinterpret_cast<LPARAM>(t.window));
}

void Initialise(Trackbar& t, DWORD style, const RECT& rect, HWND window, int id, ZQTRACKBARSCROLLPROC proc,
                LPARAM ownerData, bool hosted) {
  std::memset(&t, 0, sizeof(t));
  t.style = t.savedStyle = style;
  t.state = TBKST_FILL | TBKST_FLATTHUMB;
  if (hosted) t.state |= TBKST_HOSTED;
  if (style & TBKS_VERT) t.state |= TBKST_VERT;
  if (style & TBKS_NOTIFY) t.state |= TBKST_COMMANDS;
  if (style & TBKS_JUMPTOPOINT) t.state |= TBKST_JUMPTOPOINT;
  if (style & WS_DISABLED) t.state |= TBKST_DISABLED;
  if (slider::ManyColours()) t.state |= TBKST_MANYCOLOURS;
  t.min = 0;
  t.max = 100;
  t.centre = t.value = 50;
  t.hover = t.tracking = -1;
  t.window = window;
  t.id = id;
  t.proc = proc;
  t.ownerData = ownerData;
  t.background = ZqGetUIColor(COLOR_BTNFACE);
  t.area = rect;
  PrepareScale(t);
  Layout(t);
}

void Deinitialise(Trackbar& t) {
  if (t.tracking >= 0) EndTracking(t, false);
  HideFocus(t);
}

LRESULT SetFlag(Trackbar& t, DWORD flag, WPARAM wParam, LPARAM lParam) {
  t.state = lParam ? (t.state | flag) : (t.state & ~flag);
  if (wParam) Repaint(t);
  return (t.state & flag) ? 1 : 0;
}

bool Handle(Trackbar& t, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  if (HandleInput(t, message, wParam, lParam, result)) return true;
  switch (message) {
    case TBKM_GETPOS: *result = t.value; return true;
    case TBKM_GETMIN: *result = t.min; return true;
    case TBKM_GETMAX: *result = t.max; return true;
    case TBKM_SETRANGE:
      t.min = static_cast<SHORT>(LOWORD(lParam));
      t.max = static_cast<SHORT>(HIWORD(lParam));
      RederiveRange(t);
      if (wParam) Repaint(t);
      return true;
    case TBKM_SETMIN:
    case TBKM_SETMAX:
      (message == TBKM_SETMIN ? t.min : t.max) = static_cast<LONG>(lParam);
      RederiveRange(t);
      if (wParam) Repaint(t);
      return true;
    case TBKM_SETPOS:
      SetValue(t, static_cast<LONG>(lParam), wParam != 0);
      *result = t.value;
      return true;
    case TBKM_SETCENTER:
      t.centre = slider::Clamp(static_cast<LONG>(lParam), t.min, t.max);
      if (t.state & TBKST_FILLCENTRE) Repaint(t);
      *result = t.centre;
      return true;
    case TBKM_GETTRACK: *result = MAKELONG(t.trackLength, t.track.left); return true;
    case TBKM_SETFILLCENTRE: *result = SetFlag(t, TBKST_FILLCENTRE, wParam, lParam); return true;
    case TBKM_SETFILL: *result = SetFlag(t, TBKST_FILL, wParam, lParam); return true;
    case TBKM_SETBKCOLOR:
      t.background = static_cast<COLORREF>(lParam);
      Repaint(t);
      return true;
    case TBKM_GETBKCOLOR: *result = t.background; return true;
    case TBKM_SETOWNERDATA: t.ownerData = lParam; return true;
    case TBKM_GETOWNERDATA: *result = t.ownerData; return true;
    case TBKM_SETIMAGELIST:
      *result = TrackbarInst_SetThumbImageList(InstOf(&t), reinterpret_cast<HIMAGELIST*>(wParam),
                                               reinterpret_cast<const LONG*>(lParam));
      return true;
    case WM_SETFOCUS:
      t.state |= TBKST_FOCUS;
      ShowFocus(t);
      Repaint(t);
      Command(t, TBKC_SETFOCUS);
      return true;
    case WM_KILLFOCUS:
      t.state &= ~TBKST_FOCUS;
      HideFocus(t);
      Repaint(t);
      Command(t, TBKC_KILLFOCUS);
      return true;
    case WM_ENABLE:
      t.state = wParam ? (t.state & ~TBKST_DISABLED) : (t.state | TBKST_DISABLED);
      if (!wParam && t.tracking >= 0) EndTracking(t, false);
      Repaint(t);
      if (!(t.state & TBKST_HOSTED) && t.window) UpdateWindow(t.window);
      return true;
    case WM_SYSCOLORCHANGE:
    case WM_WININICHANGE:
      t.state = slider::ManyColours() ? (t.state | TBKST_MANYCOLOURS) : (t.state & ~TBKST_MANYCOLOURS);
      Repaint(t);
      return true;
    case WM_ERASEBKGND:
      if ((t.state & TBKST_HOSTED) && wParam) Paint(t, reinterpret_cast<HDC>(wParam));
      *result = 1;
      return true;
    case WM_PAINT:
      if (t.state & TBKST_HOSTED) {
        if (wParam) Paint(t, reinterpret_cast<HDC>(wParam));
        return true;
      }
      return false;  // the window form paints through its off-screen bitmap
  }
  return false;
}

// The window form's background: the brush its notification window gives for
// WM_CTLCOLORDLG, over the window colour.
void Erase(Trackbar& t, HDC dc) {
  FillRect(dc, &t.area, ZqGetUIBrush(COLOR_WINDOW));
  HWND target = NotifyWindow(t);
  HBRUSH brush = target ? reinterpret_cast<HBRUSH>(SendMessageW(target, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                                reinterpret_cast<LPARAM>(t.window)))
                        : nullptr;
  if (brush) {
    FillRect(dc, &t.area, brush);
  } else {
    SetBkColor(dc, t.background);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &t.area, nullptr, 0, nullptr);
  }
}

}  // namespace

HWND NotifyWindow(const Trackbar& t) { return t.notify ? t.notify : (t.window ? GetParent(t.window) : nullptr); }

void Report(Trackbar& t, int code, LONG value) {
  if (t.proc) t.proc(InstOf(&t), t.id, t.ownerData, code, value);
}

void Command(Trackbar& t, int code) {
  if (!(t.state & TBKST_COMMANDS)) return;
  HWND target = NotifyWindow(t);
  if (target) SendMessageW(target, WM_COMMAND, MAKEWPARAM(t.id, code), reinterpret_cast<LPARAM>(t.window));
}

// Sets the value, clamped; with `repaint` the control repaints when the
// thumb moved by a pixel, otherwise only the thumb rectangle moves.
void SetValue(Trackbar& t, LONG value, bool repaint) {
  const LONG before = PixelOf(t, t.value);
  t.value = slider::Clamp(value, t.min, t.max);
  PlaceThumb(t);
  if (repaint && PixelOf(t, t.value) != before) Repaint(t);
}

}  // namespace zq::controls

using namespace zq::controls;

namespace {

struct TrackbarWindow {
  using Record = Trackbar;
  static constexpr bool kAnswersPrivateMessages = true;
  static void Create(Trackbar& t, HWND window, const CREATESTRUCTW& create) {
    Initialise(t, static_cast<DWORD>(create.style), slider::ClientArea(window), window, slider::CreationId(create),
               WindowScrollProc, reinterpret_cast<LPARAM>(create.lpCreateParams), false);
    slider::AcquireMemoryDC();
  }
  static void Destroy(Trackbar& t) {
    Deinitialise(t);
    slider::ReleaseMemoryDC();
  }
  static RECT& Area(Trackbar& t) { return t.area; }
  static void Resized(Trackbar& t) {
    Layout(t);
    Repaint(t);
  }
  static void Paint(Trackbar& t, HDC memory) {
    Erase(t, memory);
    zq::controls::Paint(t, memory);
  }
  static bool Handle(Trackbar& t, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return zq::controls::Handle(t, message, wParam, lParam, result);
  }
};

}  // namespace

ZQAPI BOOL WINAPI TrackbarInitialize(HINSTANCE instance, LPCWSTR className) noexcept {
  return slider::RegisterControlClass(instance, className, slider::ControlWindowProc<TrackbarWindow>);
}

ZQAPI BOOL WINAPI TrackbarTerminate(HINSTANCE instance, LPCWSTR className) noexcept {
  return className && UnregisterClassW(className, instance);
}

ZQAPI int WINAPI TrackbarInst_GetSize(void) noexcept { return ZQ_TRACKBARINST_SIZE; }

ZQAPI BOOL WINAPI TrackbarInst_Init(ZQTRACKBARINST* inst, DWORD style, const RECT* rect, HWND host, int id,
                                    ZQTRACKBARSCROLLPROC proc, LPARAM ownerData) noexcept {
  if (!inst) return FALSE;
  RECT area{};
  if (rect) area = *rect;
  Initialise(*TrackbarOf(inst), style, area, host, id, proc, ownerData, true);
  return TRUE;
}

ZQAPI void WINAPI TrackbarInst_Move(ZQTRACKBARINST* inst, const RECT* rect) noexcept {
  if (!inst || !rect) return;
  TrackbarOf(inst)->area = *rect;
  Layout(*TrackbarOf(inst));
  UpdateFocus(*TrackbarOf(inst));
}

ZQAPI LRESULT WINAPI TrackbarInst_Message(ZQTRACKBARINST* inst, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (!inst) return 0;
  LRESULT result = 0;
  Handle(*TrackbarOf(inst), message, wParam, lParam, &result);
  return result;
}

ZQAPI int WINAPI TrackbarInst_SetId(ZQTRACKBARINST* inst, int id) noexcept {
  if (inst) TrackbarOf(inst)->id = id;
  return id;
}

ZQAPI void WINAPI TrackbarInst_SetOwnerHwnd(ZQTRACKBARINST* inst, HWND window) noexcept {
  if (inst && (TrackbarOf(inst)->state & TBKST_HOSTED)) TrackbarOf(inst)->window = window;
}

ZQAPI HBITMAP WINAPI TrackbarInst_SetThumbBitmap(ZQTRACKBARINST* inst, HBITMAP bitmap, HBITMAP mask) noexcept {
  if (!inst) return nullptr;
  Trackbar& t = *TrackbarOf(inst);
  HBITMAP previous = t.thumbBitmap;
  BITMAP info{};
  if (bitmap && !GetObjectW(bitmap, sizeof(info), &info)) bitmap = nullptr;
  t.thumbBitmap = bitmap;
  t.thumbMask = bitmap ? mask : nullptr;
  t.bitmapWidth = bitmap ? info.bmWidth : 0;
  t.bitmapHeight = bitmap ? info.bmHeight : 0;
  t.state = (bitmap || t.images[0]) ? (t.state & ~TBKST_FLATTHUMB) : (t.state | TBKST_FLATTHUMB);
  Layout(t);
  Repaint(t);
  return previous;
}

ZQAPI BOOL WINAPI TrackbarInst_SetThumbImageList(ZQTRACKBARINST* inst, HIMAGELIST* images,
                                                 const LONG* metrics) noexcept {
  if (!inst) return FALSE;
  Trackbar& t = *TrackbarOf(inst);
  HIMAGELIST wanted[3] = {};
  if (images) std::memcpy(wanted, images, sizeof(wanted));
  if (std::memcmp(wanted, t.images, sizeof(wanted)) == 0) return TRUE;
  std::memcpy(t.images, wanted, sizeof(wanted));
  if (metrics) std::memcpy(t.imageMetrics, metrics, sizeof(t.imageMetrics));
  else std::memset(t.imageMetrics, 0, sizeof(t.imageMetrics));
  t.state = (t.images[0] || t.thumbBitmap) ? (t.state & ~TBKST_FLATTHUMB) : (t.state | TBKST_FLATTHUMB);
  Layout(t);
  Repaint(t);
  return TRUE;
}

ZQAPI void WINAPI TrackbarInst_DefScrollProc(ZQTRACKBARINST* inst, int code, HWND, LONG amount, LONG page) noexcept {
  if (!inst) return;
  Trackbar& t = *TrackbarOf(inst);
  const LONG value = slider::ApplyOrientedScrollCode(code, IsVertical(t), false, t.value, t.min, t.max, amount, page,
                                                     slider::CtrlHeld());
  TrackbarInst_Message(inst, TBKM_SETPOS, TRUE, value);
}

ZQAPI void WINAPI Trackbar_DefScrollProc(ZQTRACKBARINST*, int code, HWND window, LONG amount, LONG page) noexcept {
  if (!window) return;
  const bool vertical = GetWindowLongW(window, GWL_STYLE) & TBKS_VERT;
  const LONG min = static_cast<LONG>(SendMessageW(window, TBKM_GETMIN, 0, 0));
  const LONG max = static_cast<LONG>(SendMessageW(window, TBKM_GETMAX, 0, 0));
  const LONG value = static_cast<LONG>(SendMessageW(window, TBKM_GETPOS, 0, 0));
  const LONG next =
      slider::ApplyOrientedScrollCode(code, vertical, false, value, min, max, amount, page, slider::CtrlHeld());
  SendMessageW(window, TBKM_SETPOS, TRUE, next);
}
