// Faders in tests: a window of the registered class inside a parent that
// records what it is told, a host window that keeps a window-less instance,
// the scroll procedure's calls, and the thumb position as the documented
// layout places it.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "control_host.h"
#include "controls_test_support.h"
#include "zq/fader.h"

namespace fadertest {

constexpr wchar_t kClass[] = L"QuilletTestFader";

struct Call {
  int id;
  LPARAM owner;
  int code;
  LONG v0, v1;
  DWORD mask;
};
extern std::vector<Call> calls;  // every scroll procedure call
void CALLBACK RecordCalls(ZQFADERINST* inst, int id, LPARAM owner, int code, LONG* values, DWORD mask);
std::vector<int> Codes(const std::vector<Call>& recorded);
std::vector<Call> TakeCalls();

// A child window that keeps a fader instance and passes it its messages.
class Host : public controlstest::ControlHost<ZQFADERINST, FaderInst_Message, FaderInst_Draw> {
 public:
  Host(HWND parent, DWORD style, const RECT& rect, int id = 7);
  ~Host();
};

// Where the documented layout puts a thumb's centre line for `value`.
LONG ExpectedPixel(const RECT& area, bool vertical, int thumb, LONG value, LONG min, LONG max);

// Holds keys (VK_CONTROL, VK_SHIFT ...) down for this thread while it lives.
class Keys {
 public:
  explicit Keys(std::initializer_list<int> keys);
  ~Keys();

 private:
  BYTE saved_[256];
};

// The first row (vertical) or column (horizontal) at `across` showing the
// grip colour in a picture of the fader.
LONG GripAt(const controlstest::Canvas& canvas, bool vertical, int across);

bool RegisterClassOnce();
inline LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace fadertest
