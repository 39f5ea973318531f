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

Host::Host(HWND parent, DWORD style, const RECT& rect, int id)
    : ControlHost(parent, rect, id, [&](ZQFADERINST* inst, const RECT& area, HWND window) {
        EXPECT_EQ(FaderInst_GetSize(), static_cast<int>(sizeof(*inst)));
        EXPECT_TRUE(FaderInst_Init(inst, style, &area, window, id, RecordCalls, 0x5150));
      }) {}

Host::~Host() {
  Detach();
  FaderInst_Deinit(inst());
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
