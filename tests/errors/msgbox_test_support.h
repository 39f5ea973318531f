// Real message boxes in tests: a watchdog that fails a test whose box is
// never answered, a reader of what a box shows, and an answerer that acts
// on each box this thread opens.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace msgboxtest {

// Ends the process with a message when it is still alive after `seconds`
// (a box nobody answered); stopped by its destructor.
class Watchdog {
 public:
  explicit Watchdog(int seconds);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  HANDLE stop_;
  HANDLE thread_;
};

struct ButtonView {
  int id;
  std::wstring caption;
  RECT rect;  // screen coordinates
  bool isDefault;
};

// What a box shows, read from its windows.
struct BoxView {
  HWND window = nullptr;
  HWND owner = nullptr;
  RECT rect{};                      // screen coordinates
  RECT client{};                    // client rectangle in screen coordinates
  std::wstring caption, text;       // text: the longest static text
  std::vector<ButtonView> buttons;  // visible push buttons, left to right
  int defId = 0;                    // DM_GETDEFID
  bool iconShown = false;           // a visible icon static
  bool closeEnabled = true;         // the window menu's Close item
  bool hasCheck = false, checked = false;
  std::wstring checkText;
  RECT checkRect{};
  bool hasDetails = false, detailsVisible = false;
  std::wstring details;
  RECT detailsRect{};
  // The ids of the buttons, in order.
  std::vector<int> Ids() const;
  const ButtonView* Button(int id) const;
};

BoxView ReadBox(HWND box);

// Clicks a button of the box as a user would (BM_CLICK on the button).
void Press(HWND box, int id);
// A key press delivered to the box's focus window.
void PressKey(HWND box, UINT key);
// Runs `step` after `ms` milliseconds inside the box's message loop.
void After(HWND box, UINT ms, std::function<void()> step);

// While it lives, every dialog this thread activates is read, once it is up,
// and handed to `action` once (which must answer it, directly or through
// After).
class BoxAnswerer {
 public:
  using Action = std::function<void(HWND box, const BoxView& view)>;
  explicit BoxAnswerer(Action action);
  ~BoxAnswerer();
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;
  const std::vector<BoxView>& Seen() const { return seen_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  Action action_;
  HHOOK hook_;
  std::vector<BoxView> seen_;
  std::vector<HWND> handled_;
};

// Presses `id` in every box.
BoxAnswerer::Action PressEach(int id);

// Fixture: a watchdog per test.
class BoxTest : public ::testing::Test {
 protected:
  BoxTest() : watchdog_(30) {}

 private:
  Watchdog watchdog_;
};

RECT Centre(const RECT& r);  // a 0-size rectangle at the centre
HWND CreateOwnerWindow(int x, int y, int width, int height);

}  // namespace msgboxtest
