// The fader's instance: set-up, private messages, notifications, and the
// window class that hosts one instance per window.
#include <cstring>
#include <new>
#include <utility>

#include "sliders/fader_internal.h"
#include "sliders/slider_window.h"
#include "zq/ui.h"

namespace zq::controls {
namespace {

constexpr UINT kNmKillFocus = static_cast<UINT>(NM_KILLFOCUS);

HWND NotifyWindow(const Fader& f) { return f.notify ? f.notify : (f.window ? GetParent(f.window) : nullptr); }

// The window form's scroll procedure: WM_NOTIFY FDN_SCROLL when the fader
// moves its own values, else WM_VSCROLL / WM_HSCROLL.
void CALLBACK WindowScrollProc(ZQFADERINST* inst, int id, LPARAM ownerData, int code, LONG* values, DWORD mask) {
  Fader& f = *FaderOf(inst);
  HWND target = NotifyWindow(f);
  if (!target) return;
  if (f.style & FADS_SELFMOVE) {
    ZQFADERNMSCROLL note{};
    note.hdr.hwndFrom = f.window;
    note.hdr.idFrom = static_cast<UINT_PTR>(id);
    note.hdr.code = static_cast<UINT>(FDN_SCROLL);
    note.ownerData = ownerData;
    note.channels = f.channels;
    note.channelMask = mask;
    note.code = code;
    note.values = values;
    SendMessageW(target, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&note));
    return;
  }
  const WORD position = (code == FADER_FINAL || code == FADER_TRACKING) ? static_cast<WORD>(values[0]) : 0;
  SendMessageW(target, IsVertical(f) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position),
               reinterpret_cast<LPARAM>(f.window));
}

void ApplyStyle(Fader& f, DWORD style) {
  f.style = style;
  f.channels = (style & FADS_STEREO) ? 2 : 1;
  if (f.channels == 2) f.style |= FADS_SELFMOVE;
  else f.channelMask = 1;
  if (!(f.channelMask & 3)) f.channelMask = 1;
  f.channelMask &= f.channels == 2 ? 3u : 1u;
  f.firstChannel = (f.channelMask & 1) ? 0 : 1;
  f.state &= ~(FADST_VERT | FADST_STEREO | FADST_COMMANDS | FADST_DISABLED);
  if (style & FADS_VERT) f.state |= FADST_VERT;
  if (f.channels == 2) f.state |= FADST_STEREO;
  if (style & FADS_NOTIFY) f.state |= FADST_COMMANDS;
  if (style & WS_DISABLED) f.state |= FADST_DISABLED;
  if (!(style & FADS_TICKS_MASK)) f.state |= FADST_NOTICKS;
  else f.state &= ~FADST_NOTICKS;
}

void Initialise(Fader& f, DWORD style, const RECT& rect, HWND window, int id, ZQFADERSCROLLPROC proc,
                LPARAM ownerData, bool hosted) {
  std::memset(&f, 0, sizeof(f));
  f.savedStyle = style;
  f.channelMask = 3;
  ApplyStyle(f, style);
  if (hosted) f.state |= FADST_HOSTED;
  if (slider::ManyColours()) f.state |= FADST_MANYCOLOURS;
  f.min = 0;
  f.max = 100;
  f.centre = 50;
  f.lineStep = 1;
  f.pageStep = 0;
  f.tracking = -1;
  f.window = window;
  f.id = id;
  f.proc = proc;
  f.ownerData = ownerData;
  f.background = ZqGetUIColor(COLOR_BTNFACE);
  f.area = rect;
  slider::AcquireMemoryDC();
  ZqGetUICursor(ZQ_UICURSOR_THUMB1);
  ZqGetUICursor(ZQ_UICURSOR_THUMB2);
  PrepareScale(f);
  Layout(f);
}

void Deinitialise(Fader& f) {
  if (f.tracking >= 0) EndTracking(f, false);
  HideFocus(f);
  if (f.extra) DeleteObject(f.extra);
  f.extra = nullptr;
  slider::ReleaseMemoryDC();
}

LRESULT SetupMessage(Fader& f, const ZQFADERSETUP* setup) {
  if (!setup) return 0;
  f.min = setup->minimum;
  f.max = setup->maximum;
  if (f.min > f.max) std::swap(f.min, f.max);
  f.lineStep = setup->lineStep;
  f.pageStep = setup->pageStep ? setup->pageStep
                               : static_cast<LONG>(slider::PageStep(f.min, f.max, 0, false));
  ApplyStyle(f, (f.style & ~setup->styleMask) | (setup->style & setup->styleMask));
  if (setup->values) {
    f.values[0] = setup->values[0];
    if (f.channels == 2) f.values[1] = setup->values[1];
  }
  PrepareScale(f);
  f.centre = setup->centre;
  ClampValues(f);
  Layout(f);
  Repaint(f, kPriorityChange);
  return 1;
}

}  // namespace

void Report(Fader& f, int code) {
  if (f.proc) f.proc(InstOf(&f), f.id, f.ownerData, code, f.values, f.channelMask);
}

void Command(Fader& f, int code) {
  if (!(f.state & FADST_COMMANDS)) return;
  HWND target = NotifyWindow(f);
  if (target)
    SendMessageW(target, WM_COMMAND, MAKEWPARAM(f.id, code), reinterpret_cast<LPARAM>(f.window));
}

// Sets the channels of `mask`; repaints when a thumb moved by a pixel.
void SetValues(Fader& f, const LONG* values, DWORD mask, bool repaint) {
  bool moved = false;
  for (int c = 0; c < f.channels; ++c) {
    if (!(mask & (1u << c))) continue;
    const LONG before = PixelOf(f, f.values[c]);
    f.values[c] = slider::Clamp(values[c], f.min, f.max);
    moved = moved || PixelOf(f, f.values[c]) != before;
  }
  PlaceThumbs(f);
  if (repaint && moved) Repaint(f, kPriorityChange);
}

bool Handle(Fader& f, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  if (HandleInput(f, message, wParam, lParam, result)) return true;
  const bool repaint = LOWORD(wParam) != 0;
  switch (message) {
    case FDM_GETPOS: *result = f.values[0]; return true;
    case FDM_GETMIN: *result = f.min; return true;
    case FDM_GETMAX: *result = f.max; return true;
    case FDM_SETRANGE:
      f.min = static_cast<SHORT>(LOWORD(lParam));
      f.max = static_cast<SHORT>(HIWORD(lParam));
      RederiveRange(f);
      if (wParam) Repaint(f, kPriorityChange);
      return true;
    case FDM_SETMIN:
    case FDM_SETMAX:
      (message == FDM_SETMIN ? f.min : f.max) = static_cast<LONG>(lParam);
      RederiveRange(f);
      if (wParam) Repaint(f, kPriorityChange);
      return true;
    case FDM_SETPOS: {
      const LONG values[2] = {static_cast<LONG>(lParam), f.values[1]};
      SetValues(f, values, 1, wParam != 0);
      *result = f.values[0];
      return true;
    }
    case FDM_SETCENTER:
      f.centre = slider::Clamp(static_cast<LONG>(lParam), f.min, f.max);
      *result = f.centre;
      return true;
    case FDM_SETBKCOLOR:
      f.background = static_cast<COLORREF>(lParam);
      Repaint(f, kPriorityChange);
      return true;
    case FDM_GETBKCOLOR: *result = f.background; return true;
    case FDM_SETOWNERDATA: f.ownerData = lParam; return true;
    case FDM_GETOWNERDATA: *result = f.ownerData; return true;
    case FDM_SETUP: *result = SetupMessage(f, reinterpret_cast<const ZQFADERSETUP*>(lParam)); return true;
    case FDM_SETCHANNELMASK: {
      DWORD mask = static_cast<DWORD>(lParam) & (f.channels == 2 ? 3u : 1u);
      f.channelMask = mask ? mask : 1;
      f.firstChannel = (f.channelMask & 1) ? 0 : 1;
      UpdateFocus(f);
      *result = f.channelMask;
      return true;
    }
    case FDM_SETCHANNEL: {
      const int channel = HIWORD(wParam);
      if (channel == 0) {
        const LONG* values = reinterpret_cast<const LONG*>(lParam);
        if (values) SetValues(f, values, 3, repaint);
        return true;
      }
      if (channel > f.channels) return true;
      LONG values[2] = {f.values[0], f.values[1]};
      values[channel - 1] = static_cast<LONG>(lParam);
      SetValues(f, values, 1u << (channel - 1), repaint);
      *result = f.values[channel - 1];
      return true;
    }
    case FDM_GETCHANNEL: {
      const int channel = HIWORD(wParam);
      if (channel >= 1 && channel <= f.channels) {
        *result = f.values[channel - 1];
        if (lParam) *reinterpret_cast<LONG*>(lParam) = *result;
      } else if (channel == 0 && lParam) {
        std::memcpy(reinterpret_cast<LONG*>(lParam), f.values, sizeof(LONG) * f.channels);
      }
      return true;
    }
    case FDM_SETGANGINVERT:
    case FDM_SETNOSPLITGRAB: {
      const DWORD bit = message == FDM_SETGANGINVERT ? FADST_GANGINVERTED : FADST_NOSPLITGRAB;
      f.state = lParam ? (f.state | bit) : (f.state & ~bit);
      return true;
    }
    case FDM_GETGANGINVERT: *result = (f.state & FADST_GANGINVERTED) ? 1 : 0; return true;
    case FDM_GETNOSPLITGRAB: *result = (f.state & FADST_NOSPLITGRAB) ? 1 : 0; return true;
    case FDM_SETIMAGELIST:
      *result = FaderInst_SetThumbImageList(InstOf(&f), reinterpret_cast<HIMAGELIST*>(wParam),
                                            reinterpret_cast<const LONG*>(lParam));
      return true;
    case WM_SETFOCUS:
      f.state |= FADST_FOCUS;
      ShowFocus(f);
      Repaint(f, kPriorityChange);
      Command(f, FDC_SETFOCUS);
      return true;
    case WM_KILLFOCUS:
      f.state &= ~FADST_FOCUS;
      HideFocus(f);
      Repaint(f, kPriorityChange);
      if (f.state & FADST_HOSTED) {
        Command(f, FDC_KILLFOCUS);
      } else if (HWND target = NotifyWindow(f)) {
        NMHDR note{f.window, static_cast<UINT_PTR>(f.id), kNmKillFocus};
        SendMessageW(target, WM_NOTIFY, static_cast<WPARAM>(f.id), reinterpret_cast<LPARAM>(&note));
      }
      return true;
    case WM_ENABLE:
      f.state = wParam ? (f.state & ~FADST_DISABLED) : (f.state | FADST_DISABLED);
      if (!wParam && f.tracking >= 0) EndTracking(f, false);
      Repaint(f, kPriorityChange);
      if (!(f.state & FADST_HOSTED) && f.window) UpdateWindow(f.window);
      return true;
    case WM_SYSCOLORCHANGE:
    case WM_WININICHANGE:
      f.state = slider::ManyColours() ? (f.state | FADST_MANYCOLOURS) : (f.state & ~FADST_MANYCOLOURS);
      Repaint(f, kPriorityChange);
      return true;
    case WM_ERASEBKGND:
      if (f.state & FADST_HOSTED) {
        if (wParam) Paint(f, reinterpret_cast<HDC>(wParam));
      }
      *result = 1;
      return true;
    case WM_PAINT:
      if (f.state & FADST_HOSTED) {
        if (wParam) Paint(f, reinterpret_cast<HDC>(wParam));
        return true;
      }
      return false;  // the window form paints through its off-screen bitmap
  }
  return false;
}

}  // namespace zq::controls

using namespace zq::controls;

namespace {

struct FaderWindow {
  using Record = Fader;
  static constexpr bool kAnswersPrivateMessages = false;
  static void Create(Fader& f, HWND window, const CREATESTRUCTW& create) {
    Initialise(f, static_cast<DWORD>(create.style), slider::ClientArea(window), window, slider::CreationId(create),
               WindowScrollProc, reinterpret_cast<LPARAM>(create.lpCreateParams), false);
  }
  static void Destroy(Fader& f) { Deinitialise(f); }
  static RECT& Area(Fader& f) { return f.area; }
  static void Resized(Fader& f) {
    Layout(f);
    Repaint(f, kPriorityChange);
  }
  static void Paint(Fader& f, HDC memory) { zq::controls::Paint(f, memory); }
  static bool Handle(Fader& f, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return zq::controls::Handle(f, message, wParam, lParam, result);
  }
};

}  // namespace

ZQAPI BOOL WINAPI FaderInitialize(HINSTANCE instance, LPCWSTR className) noexcept {
  return slider::RegisterControlClass(instance, className, slider::ControlWindowProc<FaderWindow>);
}

ZQAPI BOOL WINAPI FaderTerminate(HINSTANCE instance, LPCWSTR className) noexcept {
  return className && UnregisterClassW(className, instance);
}

ZQAPI int WINAPI FaderInst_GetSize(void) noexcept { return ZQ_FADERINST_SIZE; }

ZQAPI BOOL WINAPI FaderInst_Init(ZQFADERINST* inst, DWORD style, const RECT* rect, HWND host, int id,
                                 ZQFADERSCROLLPROC proc, LPARAM ownerData) noexcept {
  if (!inst) return FALSE;
  RECT area{};
  if (rect) area = *rect;
  Initialise(*FaderOf(inst), style, area, host, id, proc, ownerData, true);
  return TRUE;
}

ZQAPI void WINAPI FaderInst_Deinit(ZQFADERINST* inst) noexcept {
  if (inst) Deinitialise(*FaderOf(inst));
}

ZQAPI void WINAPI FaderInst_Move(ZQFADERINST* inst, const RECT* rect) noexcept {
  if (!inst || !rect) return;
  FaderOf(inst)->area = *rect;
  Layout(*FaderOf(inst));
  UpdateFocus(*FaderOf(inst));
}

ZQAPI LRESULT WINAPI FaderInst_Message(ZQFADERINST* inst, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (!inst) return 0;
  LRESULT result = 0;
  Handle(*FaderOf(inst), message, wParam, lParam, &result);
  return result;
}

ZQAPI int WINAPI FaderInst_SetId(ZQFADERINST* inst, int id) noexcept {
  if (inst) FaderOf(inst)->id = id;
  return id;
}

ZQAPI void WINAPI FaderInst_SetScrollProc(ZQFADERINST* inst, ZQFADERSCROLLPROC proc, LPARAM ownerData) noexcept {
  if (!inst) return;
  FaderOf(inst)->proc = proc;
  FaderOf(inst)->ownerData = ownerData;
}

ZQAPI void WINAPI FaderInst_SetOwnerHwnd(ZQFADERINST* inst, HWND window) noexcept {
  if (inst && (FaderOf(inst)->state & FADST_HOSTED)) FaderOf(inst)->window = window;
}

ZQAPI HBITMAP WINAPI FaderInst_SetThumbBitmap(ZQFADERINST* inst, HBITMAP bitmap, HBITMAP mask) noexcept {
  if (!inst) return nullptr;
  Fader& f = *FaderOf(inst);
  HBITMAP previous = f.thumbBitmap;
  f.thumbBitmap = bitmap;
  f.thumbMask = bitmap ? mask : nullptr;
  f.state = (bitmap || f.images[0]) ? (f.state | FADST_IMAGETHUMB) : (f.state & ~FADST_IMAGETHUMB);
  Layout(f);
  Repaint(f, kPriorityChange);
  return previous;
}

ZQAPI BOOL WINAPI FaderInst_SetThumbImageList(ZQFADERINST* inst, HIMAGELIST* images, const LONG* metrics) noexcept {
  if (!inst) return FALSE;
  Fader& f = *FaderOf(inst);
  HIMAGELIST wanted[3] = {};
  if (images) std::memcpy(wanted, images, sizeof(wanted));
  if (std::memcmp(wanted, f.images, sizeof(wanted)) == 0) return TRUE;
  std::memcpy(f.images, wanted, sizeof(wanted));
  if (metrics) std::memcpy(f.imageMetrics, metrics, sizeof(f.imageMetrics));
  else std::memset(f.imageMetrics, 0, sizeof(f.imageMetrics));
  f.state = (f.images[0] || f.thumbBitmap) ? (f.state | FADST_IMAGETHUMB) : (f.state & ~FADST_IMAGETHUMB);
  Layout(f);
  Repaint(f, kPriorityChange);
  return TRUE;
}

ZQAPI BOOL WINAPI FaderInst_IsStereo(ZQFADERINST* inst) noexcept { return inst && IsStereo(*FaderOf(inst)); }

ZQAPI void WINAPI FaderInst_DefScrollProc(ZQFADERINST* inst, int code, HWND, LONG amount, LONG page) noexcept {
  if (!inst) return;
  Fader& f = *FaderOf(inst);
  const LONG value = slider::ApplyScrollCode(code, f.values[0], f.min, f.max, amount, page, slider::CtrlHeld());
  FaderInst_Message(inst, FDM_SETPOS, TRUE, value);
}

ZQAPI void WINAPI Fader_DefScrollProc(ZQFADERINST*, int code, HWND window, LONG amount, LONG page) noexcept {
  if (!window) return;
  const LONG min = static_cast<LONG>(SendMessageW(window, FDM_GETMIN, 0, 0));
  const LONG max = static_cast<LONG>(SendMessageW(window, FDM_GETMAX, 0, 0));
  const LONG value = static_cast<LONG>(SendMessageW(window, FDM_GETPOS, 0, 0));
  const LONG next = slider::ApplyScrollCode(code, value, min, max, amount, page, slider::CtrlHeld());
  SendMessageW(window, FDM_SETCHANNEL, MAKEWPARAM(TRUE, 1), next);
}
