#include "fader_test_support.h"

namespace fadertest {

std::vector<Call> calls;

void CALLBACK RecordCalls(ZQFADERINST*, int id, LPARAM owner, int code, LONG* values, DWORD mask) {
  calls.push_back({id, owner, code, values[0], values[1], mask});
}

std::vector<int> Codes(const std::vector<Call>& recorded) {
  std::vector<int> codes;
  for (const Call& c : recorded) codes.push_back(c.code);
  return codes;
}

std::vector<Call> TakeCalls() {
  std::vector<Call> taken;
  taken.swap(calls);
  return taken;
}

namespace {
constexpr wchar_t kHostClass[] = L"QuilletTestFaderHost";
}

Host::Host(HWND parent, DWORD style, const RECT& rect, int id) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW cls{};
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = Proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.lpszClassName = kHostClass;
    registered = RegisterClassW(&cls) != 0;
  }
  window_ = CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                            rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
  RECT area{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  EXPECT_EQ(FaderInst_GetSize(), static_cast<int>(sizeof(inst_)));
  EXPECT_TRUE(FaderInst_Init(&inst_, style, &area, window_, id, RecordCalls, 0x5150));
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  InvalidateRect(window_, nullptr, TRUE);
  controlstest::Pump(10);
}

Host::~Host() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  FaderInst_Deinit(&inst_);
  DestroyWindow(window_);
}

LRESULT CALLBACK Host::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto self = reinterpret_cast<Host*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      FaderInst_Draw(&self->inst_, dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_KEYDOWN: case WM_KEYUP: case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
    case WM_MOUSEWHEEL: case WM_TIMER: case WM_CAPTURECHANGED: case WM_CANCELMODE:
      return FaderInst_Message(&self->inst_, message, wParam, lParam);
    case WM_GETDLGCODE:
      return FaderInst_Message(&self->inst_, message, wParam, lParam);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LONG ExpectedPixel(const RECT& area, bool vertical, int thumb, LONG value, LONG min, LONG max) {
  const LONG length = vertical ? area.bottom - area.top : area.right - area.left;
  const LONGLONG travel = length - thumb;
  const LONGLONG range = static_cast<LONGLONG>(max) - min;
  const LONGLONG d = range == 0 ? 0 : (static_cast<LONGLONG>(value) - min) * travel / range;
  return static_cast<LONG>(vertical ? area.bottom - (thumb - thumb / 2) - d : area.left + thumb / 2 + d);
}

Keys::Keys(std::initializer_list<int> keys) {
  GetKeyboardState(saved_);
  BYTE state[256];
  memcpy(state, saved_, sizeof(state));
  for (int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
}

Keys::~Keys() { SetKeyboardState(saved_); }

LONG GripAt(const controlstest::Canvas& canvas, bool vertical, int across) {
  const DWORD grip = controlstest::Rgb(GetSysColor(COLOR_BTNTEXT));
  const int length = vertical ? canvas.height() : canvas.width();
  for (int i = 0; i < length; ++i) {
    const DWORD p = vertical ? canvas.Pixel(across, i) : canvas.Pixel(i, across);
    if (p == grip) return i;
  }
  return -1;
}

bool RegisterClassOnce() {
  static const bool registered = FaderInitialize(GetModuleHandleW(nullptr), kClass) != FALSE;
  return registered;
}

}  // namespace fadertest
