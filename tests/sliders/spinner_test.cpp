// The spinner through real messages under the display server, run twice
// (Wine's theme, and visual styles off: QUILLET_THEMES=off, see
// run-unthemed): the default theme record its first window makes, a dialog
// where it is attached to a real edit control (typing, stepping, keys the
// edit keeps, the focus a gesture borrows and gives back, detaching and
// re-attaching), keyboard and wheel sequences, the drag area, repeats, the
// range rules and the full 32-bit range on a hosted instance, and pictures
// of its looks with the run's name.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <uxtheme.h>
#include <vssym32.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "control_host.h"
#include "controls_test_support.h"
#include "screenshot.h"
#include "zq/spinner.h"
#include "zq/theme.h"
#include "zq/ui.h"

using controlstest::Canvas;
using controlstest::TestWindow;

namespace {

constexpr wchar_t kClass[] = L"QuilletTestSpinner";

bool ThemesExpected() {
  const char* mode = std::getenv("QUILLET_THEMES");
  return !(mode && std::strcmp(mode, "off") == 0);
}

std::wstring RunName() { return ThemesExpected() ? L"themed" : L"classic"; }

bool RegisterOnce() {
  static const bool registered = SpinnerInitialize(GetModuleHandleW(nullptr), kClass) != FALSE;
  return registered;
}

struct Call {
  int code;
  LONG value;
};
std::vector<Call> calls;
void CALLBACK Record(ZQSPINNERINST*, int, LPARAM, int code, LONG value) { calls.push_back({code, value}); }
std::vector<int> TakeCodes() {
  std::vector<int> codes;
  for (const Call& c : calls) codes.push_back(c.code);
  calls.clear();
  return codes;
}

using Host = controlstest::ControlHost<ZQSPINNERINST, SpinnerInst_Message, SpinnerInst_Draw>;
Host MakeHost(HWND parent, DWORD style, const RECT& rect) {
  return Host(parent, rect, 7, [style](ZQSPINNERINST* inst, const RECT& area, HWND window) {
    EXPECT_EQ(SpinnerInst_GetSize(), static_cast<int>(sizeof(ZQSPINNERINST)));
    EXPECT_TRUE(SpinnerInst_Init(inst, style, &area, window, 7, Record, 0x5150));
  });
}

class Keys {
 public:
  explicit Keys(std::initializer_list<int> keys) {
    GetKeyboardState(saved_);
    BYTE state[256];
    memcpy(state, saved_, sizeof(state));
    for (int key : keys) state[key] = 0x80;
    SetKeyboardState(state);
  }
  ~Keys() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

// ---- The default theme record ----------------------------------------------------------------
// First in this program: no control has made the default record yet.

TEST(SpinnerTheme, TheFirstWindowMakesTheDefaultRecordFollowingTheSystem) {
  ASSERT_EQ(XPTheme_GetDefault(), nullptr);
  const DWORD before = GetThemeAppProperties();
  ASSERT_TRUE(RegisterOnce());
  TestWindow parent(0, 40, 40, 200, 100);
  HWND spinner = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE | SPNS_VERT | 0x10, 10, 10, 16, 40,
                                 parent.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(spinner, nullptr);
  const ZQXPTHEME* theme = XPTheme_GetDefault();
  ASSERT_NE(theme, nullptr);
  // Theming is not switched off for the process by a record that never
  // stated a wish: the record follows the system.
  EXPECT_EQ(GetThemeAppProperties(), before);
  EXPECT_EQ(theme->active != FALSE, ThemesExpected());
  EXPECT_EQ(theme->themes[ZQXPTHEME_SPIN] != nullptr, ThemesExpected());
  // A spinner made while the record no longer matches the system's state
  // brings it up to date by a WM_THEMECHANGED of its own.
  XPTheme_GetDefault()->active = !ThemesExpected();
  HWND second = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE | SPNS_VERT, 40, 10, 16, 40, parent.hwnd(),
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  controlstest::Pump(20);
  EXPECT_EQ(theme->active != FALSE, ThemesExpected());
  EXPECT_EQ(theme->themes[ZQXPTHEME_SPIN] != nullptr, ThemesExpected());
  DestroyWindow(second);
  DestroyWindow(spinner);

  // A wish the application stored is honoured: off switches theming off
  // for the process. Cleaning the record up forgets it again.
  XPTheme_Default(FALSE);
  spinner = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE | SPNS_VERT, 10, 10, 16, 40, parent.hwnd(),
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(XPTheme_GetDefault(), nullptr);
  EXPECT_FALSE(XPTheme_GetDefault()->active);
  EXPECT_EQ(GetThemeAppProperties(), 0u);
  DestroyWindow(spinner);
  SetThemeAppProperties(before);
  EXPECT_EQ(XPTheme_Cleanup(XPTheme_GetDefault()), nullptr);
  spinner = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE | SPNS_VERT, 10, 10, 16, 40, parent.hwnd(),
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(XPTheme_GetDefault(), nullptr);
  EXPECT_EQ(XPTheme_GetDefault()->active != FALSE, ThemesExpected());
  EXPECT_EQ(GetThemeAppProperties(), before);
  DestroyWindow(spinner);
}

// ---- In a dialog, with an edit control as the buddy --------------------------------------------

enum { kEdit = 100, kSpinner = 101, kButton = 102, kOtherEdit = 103, kButtonsOnly = 104 };

// An in-memory dialog template: the edit and its spinner (adjusted by
// style 0x0002 at creation), a button, a second edit and a buttons-only
// horizontal spinner.
std::vector<WORD> DialogTemplate() {
  std::vector<WORD> t;
  auto dword = [&t](DWORD v) {
    t.push_back(LOWORD(v));
    t.push_back(HIWORD(v));
  };
  auto text = [&t](const wchar_t* s) {
    for (; *s; ++s) t.push_back(*s);
    t.push_back(0);
  };
  auto align = [&t] {
    if (t.size() % 2) t.push_back(0);
  };
  dword(DS_SETFONT | WS_POPUP | WS_CAPTION | WS_VISIBLE);
  dword(0);
  t.push_back(5);  // items
  t.push_back(30);
  t.push_back(30);
  t.push_back(170);
  t.push_back(80);
  t.push_back(0);  // menu
  t.push_back(0);  // class
  text(L"Spinner buddy");
  t.push_back(8);
  text(L"MS Shell Dlg");
  struct Item {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    const wchar_t* cls;
    const wchar_t* title;
  } items[] = {
      {WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10, 10, 50, 14, kEdit, L"EDIT", L"10"},
      {WS_CHILD | WS_VISIBLE | WS_TABSTOP | SPNS_VERT | 0x10 | SPNS_DLGADJUST, 70, 10, 8, 14, kSpinner, kClass, L""},
      {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 10, 40, 40, 14, kButton, L"BUTTON", L"Other"},
      {WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 60, 40, 40, 14, kOtherEdit, L"EDIT", L"x"},
      {WS_CHILD | WS_VISIBLE | 0, 110, 40, 24, 12, kButtonsOnly, kClass, L""},
  };
  for (const Item& item : items) {
    align();
    dword(item.style);
    dword(0);
    t.push_back(static_cast<WORD>(item.x));
    t.push_back(static_cast<WORD>(item.y));
    t.push_back(static_cast<WORD>(item.cx));
    t.push_back(static_cast<WORD>(item.cy));
    t.push_back(item.id);
    text(item.cls);
    text(item.title);
    t.push_back(0);  // creation data
  }
  return t;
}

struct DialogState {
  std::vector<std::pair<int, WORD>> codes;  // (control id, code)
};
DialogState g_dialog;

// The dialog applies its spinners' codes and shows the value in the edit.
INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_VSCROLL && message != WM_HSCROLL) return FALSE;
  HWND spinner = reinterpret_cast<HWND>(lParam);
  const WORD code = LOWORD(wParam);
  g_dialog.codes.push_back({GetDlgCtrlID(spinner), code});
  const LONG value = static_cast<LONG>(SendMessageW(spinner, SPNM_GETPOS, 0, 0));
  Spinner_DefScrollProc(nullptr, code, spinner, 1, 0, value);
  if (GetDlgCtrlID(spinner) == kSpinner)
    SetDlgItemInt(dialog, kEdit, static_cast<UINT>(SendMessageW(spinner, SPNM_GETPOS, 0, 0)), TRUE);
  return TRUE;
}

RECT RectIn(HWND dialog, HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring Text(HWND window) {
  wchar_t buffer[64] = {};
  GetWindowTextW(window, buffer, 64);
  return buffer;
}

// Posts a key to the window and lets the message loop translate and
// deliver it, as typing does.
void Type(HWND window, UINT key, LPARAM data = 1) {
  PostMessageW(window, WM_KEYDOWN, key, data);
  PostMessageW(window, WM_KEYUP, key, data | 0xC0000000);
  controlstest::Pump(20);
}

std::vector<WORD> CodesOf(int id) {
  std::vector<WORD> codes;
  for (const auto& c : g_dialog.codes)
    if (c.first == id) codes.push_back(c.second);
  g_dialog.codes.clear();
  return codes;
}

class SpinnerDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RegisterOnce());
    templ = DialogTemplate();
    dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(templ.data()),
                                        nullptr, DialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    edit = GetDlgItem(dialog, kEdit);
    spinner = GetDlgItem(dialog, kSpinner);
    button = GetDlgItem(dialog, kButton);
    otherEdit = GetDlgItem(dialog, kOtherEdit);
    buttonsOnly = GetDlgItem(dialog, kButtonsOnly);
    editProc = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    SetForegroundWindow(dialog);
    controlstest::Pump(30);
    g_dialog.codes.clear();
  }
  void TearDown() override {
    DestroyWindow(dialog);
    controlstest::Pump(10);
  }
  void Press(HWND control, int x, int y) {
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    focusDuring = GetFocus();
    SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  std::vector<WORD> templ;
  HWND dialog = nullptr, edit = nullptr, spinner = nullptr, button = nullptr, otherEdit = nullptr,
       buttonsOnly = nullptr, focusDuring = nullptr;
  LONG_PTR editProc = 0;
};

TEST_F(SpinnerDialog, CreationAdjustsTheItemThenTheBuddyPlacesIt) {
  // Style 0x0002: one pixel up, two taller, one wider (vertical, even width).
  RECT item{70, 10, 78, 24};
  MapDialogRect(dialog, &item);
  const RECT r = RectIn(dialog, spinner);
  const LONG width = item.right - item.left;
  EXPECT_EQ(r.top, item.top - 1);
  EXPECT_EQ(r.bottom - r.top, item.bottom - item.top + 2);
  EXPECT_EQ(r.right - r.left, width % 2 == 0 ? width + 1 : width);
  EXPECT_EQ(r.left, item.left);

  // Attaching: subclassed with both properties, limited, placed at the
  // edit's right edge, 13 wide, the edit's top and bottom; buddy mode, no
  // tab stop.
  ASSERT_TRUE(GetWindowLongW(spinner, GWL_STYLE) & WS_TABSTOP);
  EXPECT_EQ(SendMessageW(spinner, SPNM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 5), reinterpret_cast<LRESULT>(edit));
  EXPECT_EQ(SendMessageW(spinner, SPNM_GETBUDDY, 0, 0), reinterpret_cast<LRESULT>(edit));
  EXPECT_EQ(GetPropW(edit, L"SpinMeRound"), reinterpret_cast<HANDLE>(GetWindowLongPtrW(spinner, 0)));
  EXPECT_EQ(GetPropW(edit, L"SpinMeLo"), reinterpret_cast<HANDLE>(editProc));
  EXPECT_NE(GetWindowLongPtrW(edit, GWLP_WNDPROC), editProc);
  EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 5);
  const DWORD style = static_cast<DWORD>(GetWindowLongW(spinner, GWL_STYLE));
  EXPECT_TRUE(style & SPNS_BUDDY);
  EXPECT_FALSE(style & WS_TABSTOP);
  const RECT e = RectIn(dialog, edit), s = RectIn(dialog, spinner);
  EXPECT_EQ(s.left, e.right);
  EXPECT_EQ(s.right - s.left, 13);
  EXPECT_EQ(s.top, e.top);
  EXPECT_EQ(s.bottom, e.bottom);
}

TEST_F(SpinnerDialog, TypingAndSteppingThroughTheBuddy) {
  SendMessageW(spinner, SPNM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 5);
  SendMessageW(spinner, SPNM_SETMIN, 0, 0);
  SendMessageW(spinner, SPNM_SETMAX, 0, 20);
  SendMessageW(spinner, SPNM_SETPOS, 0, 10);
  SetFocus(edit);
  SetDlgItemInt(dialog, kEdit, 10, TRUE);
  // The text set is selected whole: typing replaces it, within the limit.
  DWORD from = 1, to = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 0u);
  EXPECT_EQ(to, 2u);
  for (UINT key : {'7', '3', '1', '2', '3', '4', '5'}) Type(edit, key);
  EXPECT_EQ(Text(edit), L"73123");

  // Stepping keys go to the spinner, which the dialog answers.
  struct Step {
    UINT key;
    bool ctrl;
    WORD code;
    LONG value;
  } steps[] = {{VK_UP, false, 0, 11},  {VK_PRIOR, false, 2, 13}, {VK_DOWN, false, 1, 12},
               {VK_NEXT, false, 3, 10}, {VK_END, true, 7, 0},     {VK_HOME, true, 6, 20}};
  for (const Step& step : steps) {
    Keys keys = step.ctrl ? Keys{VK_CONTROL} : Keys{};
    Type(edit, step.key);
    EXPECT_EQ(CodesOf(kSpinner), (std::vector<WORD>{9, step.code, 8})) << step.key;
    EXPECT_EQ(SendMessageW(spinner, SPNM_GETPOS, 0, 0), step.value);
    EXPECT_EQ(Text(edit), std::to_wstring(step.value));
  }
  // An auto-repeated key reports no new start.
  Type(edit, VK_DOWN, 1 | (1 << 30));
  EXPECT_EQ(CodesOf(kSpinner), (std::vector<WORD>{1, 8}));
  // Home, End, Left and Right without Ctrl stay with the edit: the whole
  // selection collapses to the caret.
  for (UINT key : {VK_HOME, VK_LEFT, VK_END, VK_RIGHT}) {
    SetDlgItemInt(dialog, kEdit, 19, TRUE);
    Type(edit, key);
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, to) << key;
    EXPECT_TRUE(CodesOf(kSpinner).empty()) << key;
  }
}

TEST_F(SpinnerDialog, GesturesGiveTheFocusBack) {
  // Without a buddy the spinner with a drag area takes the focus and keeps it.
  SetFocus(button);
  Press(spinner, 6, 2);
  EXPECT_EQ(GetFocus(), spinner);
  EXPECT_EQ(CodesOf(kSpinner), (std::vector<WORD>{9, 0, 8}));
  SendMessageW(spinner, SPNM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 5);
  SendMessageW(spinner, SPNM_SETPOS, 0, 10);
  // Buddy mode: the gesture hands the focus to the buddy, borrows it for
  // its length and leaves it with the buddy.
  SetFocus(button);
  Press(spinner, 6, 2);  // the upper button
  EXPECT_EQ(focusDuring, spinner);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(CodesOf(kSpinner), (std::vector<WORD>{9, 0, 8}));
  EXPECT_EQ(Text(edit), L"11");
  // A buttons-only spinner never keeps the focus: it goes back where it was.
  EXPECT_EQ(SendMessageW(buttonsOnly, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
  SetFocus(button);
  RECT r;
  GetClientRect(buttonsOnly, &r);
  Press(buttonsOnly, r.right - 3, r.bottom / 2);  // right: + a line on a horizontal spinner
  EXPECT_EQ(focusDuring, buttonsOnly);
  EXPECT_EQ(GetFocus(), button);
  EXPECT_EQ(CodesOf(kButtonsOnly), (std::vector<WORD>{9, 1, 8}));
  EXPECT_EQ(SendMessageW(buttonsOnly, SPNM_GETPOS, 0, 0), 51);
  // ... nor when the window that had it is gone by the release.
  HWND gone = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, dialog, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  SetFocus(gone);
  SendMessageW(buttonsOnly, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  DestroyWindow(gone);
  SendMessageW(buttonsOnly, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(CodesOf(kButtonsOnly), (std::vector<WORD>{9, 0, 8}));
}

TEST_F(SpinnerDialog, DetachingAndReattachingInOrder) {
  const LONG_PTR otherProc = GetWindowLongPtrW(otherEdit, GWLP_WNDPROC);
  ASSERT_TRUE(SendMessageW(spinner, SPNM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 5));
  const LONG_PTR subclass = GetWindowLongPtrW(edit, GWLP_WNDPROC);
  // Twice the same edit: given back its procedure before it is subclassed
  // again, so it keeps the edit's own as the one to call.
  ASSERT_TRUE(SendMessageW(spinner, SPNM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 5));
  EXPECT_EQ(GetPropW(edit, L"SpinMeLo"), reinterpret_cast<HANDLE>(editProc));
  EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), subclass);
  SetDlgItemInt(dialog, kEdit, 12, TRUE);
  EXPECT_EQ(Text(edit), L"12");
  // Another edit: the first is restored and loses its properties.
  ASSERT_EQ(SendMessageW(spinner, SPNM_SETBUDDY, reinterpret_cast<WPARAM>(otherEdit), 3),
            reinterpret_cast<LRESULT>(otherEdit));
  EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), editProc);
  EXPECT_EQ(GetPropW(edit, L"SpinMeRound"), nullptr);
  EXPECT_EQ(GetPropW(edit, L"SpinMeLo"), nullptr);
  EXPECT_EQ(GetPropW(otherEdit, L"SpinMeLo"), reinterpret_cast<HANDLE>(otherProc));
  // Keys of the first edit no longer reach the spinner.
  SetFocus(edit);
  Type(edit, VK_UP);
  EXPECT_TRUE(CodesOf(kSpinner).empty());
  // Null detaches; a handle that is not a window attaches nothing.
  EXPECT_EQ(SendMessageW(spinner, SPNM_SETBUDDY, 0, 0), 0);
  EXPECT_EQ(GetWindowLongPtrW(otherEdit, GWLP_WNDPROC), otherProc);
  EXPECT_EQ(SendMessageW(spinner, SPNM_GETBUDDY, 0, 0), 0);
  EXPECT_EQ(SendMessageW(spinner, SPNM_SETBUDDY, 0x12345678, 0), 0);
  EXPECT_EQ(SendMessageW(spinner, SPNM_GETBUDDY, 0, 0), 0);
  // Re-attached, the first edit steps the spinner again.
  ASSERT_TRUE(SendMessageW(spinner, SPNM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 5));
  SetFocus(edit);
  Type(edit, VK_UP);
  EXPECT_EQ(CodesOf(kSpinner), (std::vector<WORD>{9, 0, 8}));
  // A buddy destroyed while attached leaves the spinner without one.
  ASSERT_TRUE(SendMessageW(spinner, SPNM_SETBUDDY, reinterpret_cast<WPARAM>(otherEdit), 3));
  DestroyWindow(otherEdit);
  EXPECT_EQ(SendMessageW(spinner, SPNM_GETBUDDY, 0, 0), 0);
}

TEST_F(SpinnerDialog, Picture) {
  SendMessageW(spinner, SPNM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 5);
  SetDlgItemInt(dialog, kEdit, 42, TRUE);
  SetFocus(edit);
  const auto shot = testsupport::SaveWindowScreenshot(dialog, (L"spinner_dialog_" + RunName()).c_str());
  EXPECT_TRUE(shot.saved);
  EXPECT_GT(shot.colours, 4);
}

// ---- Hosted instance: keys, wheel, drags, repeats, ranges ------------------------------------

TEST(SpinnerKeys, CodesWheelSequencesAndTheDefaultProcedure) {
  TestWindow parent(0, 40, 40, 200, 120);
  Host host = MakeHost(parent.hwnd(), 0x10, RECT{10, 10, 50, 26});  // horizontal
  calls.clear();
  struct Case {
    UINT key;
    int code;
  } cases[] = {{VK_PRIOR, 2}, {VK_NEXT, 3}, {VK_END, 7}, {VK_HOME, 6},
               {VK_LEFT, 0},  {VK_UP, 0},   {VK_RIGHT, 1}, {VK_DOWN, 1}};
  for (const Case& c : cases) {
    host.Send(WM_KEYDOWN, c.key, 1);
    host.Send(WM_KEYUP, c.key, 0xC0000001);
    EXPECT_EQ(TakeCodes(), (std::vector<int>{9, c.code, 8})) << c.key;
    EXPECT_EQ(host.Send(SPNM_GETPOS), 50);  // keys only report
  }
  host.Send(WM_KEYDOWN, '4', 1);
  EXPECT_EQ(host.Send(SPNM_GETPOS), 40);
  EXPECT_EQ(TakeCodes(), std::vector<int>{4});
  // The wheel: 9, a page per notch (a line with Ctrl), 8; the value stays.
  host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
  EXPECT_EQ(TakeCodes(), (std::vector<int>{9, 3, 3, 8}));
  host.Send(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 120), 0);
  EXPECT_EQ(TakeCodes(), (std::vector<int>{9, 0, 8}));
  EXPECT_EQ(host.Send(SPNM_GETPOS), 40);

  // The default procedure: horizontal spinners run toward the left.
  struct Apply {
    DWORD style;
    int code;
    bool ctrl;
    LONG expected;  // from 10 in -100 ... 100, line 3, page 20
  } applies[] = {{0, 0, false, 7},     {0, 1, false, 13},   {0, 2, false, -10},  {0, 3, false, 30},
                 {0, 6, false, -100},  {0, 7, false, 100},  {SPNS_VERT, 0, false, 13},
                 {SPNS_VERT, 6, false, 0}, {SPNS_VERT, 6, true, 100}, {SPNS_VERT, 7, false, -100},
                 {SPNS_VERT, 2, true, 100}};
  for (const Apply& a : applies) {
    ZQSPINNERINST inst{};
    const RECT rect{0, 0, 16, 30};
    SpinnerInst_Init(&inst, a.style, &rect, nullptr, 1, nullptr, 0);
    SpinnerInst_Message(&inst, SPNM_SETMIN, 0, -100);
    SpinnerInst_Message(&inst, SPNM_SETMAX, 0, 100);
    SpinnerInst_Message(&inst, SPNM_SETPOS, 0, 10);
    Keys keys = a.ctrl ? Keys{VK_CONTROL} : Keys{};
    SpinnerInst_DefScrollProc(&inst, a.code, nullptr, 3, 0);
    EXPECT_EQ(SpinnerInst_Message(&inst, SPNM_GETPOS, 0, 0), a.expected) << a.style << " code " << a.code;
    SpinnerInst_Deinit(&inst);
  }
}

TEST(SpinnerMouse, DragAreaFineDragEscapeDoubleClickAndRepeats) {
  TestWindow parent(0, 40, 40, 200, 160);
  // Vertical, 60 high, an 8-pixel drag area: buttons 0 ... 26 and 34 ... 60.
  Host host = MakeHost(parent.hwnd(), SPNS_VERT | 0x30, RECT{20, 20, 36, 80});
  host.Send(SPNM_SETSENSITIVITY, 0, 100);  // 100 pixels for 0 ... 100
  EXPECT_EQ(host.Send(SPNM_GETSENSITIVITY), 100);
  calls.clear();
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 30));
  EXPECT_EQ(GetCapture(), host.hwnd());
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(8, 20));  // 10 up
  EXPECT_EQ(host.Send(SPNM_GETPOS), 60);
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(8, 45));  // 25 down
  EXPECT_EQ(host.Send(SPNM_GETPOS), 35);
  host.Send(WM_LBUTTONUP, 0, MAKELPARAM(8, 45));
  EXPECT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[1].value, 60);
  EXPECT_EQ(calls[3].value, 35);
  EXPECT_EQ(TakeCodes(), (std::vector<int>{9, 5, 5, 4, 8}));
  // Fine drag: half the movement, halved away from zero.
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(8, 30));
  host.Send(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, MAKELPARAM(8, 21));
  EXPECT_EQ(host.Send(SPNM_GETPOS), 40);
  host.Send(WM_LBUTTONUP, 0, MAKELPARAM(8, 21));
  TakeCodes();
  // Escape restores the press value, reports it and ends the gesture.
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 30));
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(8, 0));
  EXPECT_EQ(host.Send(SPNM_GETPOS), 70);
  host.Send(WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(host.Send(SPNM_GETPOS), 40);
  EXPECT_EQ(calls.back().code, 8);
  EXPECT_EQ(calls[calls.size() - 2].value, 40);
  EXPECT_EQ(TakeCodes(), (std::vector<int>{9, 5, 5, 8}));
  EXPECT_NE(GetCapture(), host.hwnd());
  // A double-click on the drag area: the centre.
  host.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(8, 30));
  EXPECT_EQ(host.Send(SPNM_GETPOS), 50);
  EXPECT_EQ(TakeCodes(), std::vector<int>{4});
  // The drag cursor over the drag area.
  POINT p{8, 30};
  ClientToScreen(host.hwnd(), &p);
  SetCursorPos(p.x, p.y);
  controlstest::Pump(20);
  EXPECT_EQ(host.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(host.hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
  EXPECT_EQ(GetCursor(), ZqGetUICursor(ZQ_UICURSOR_DRAG_V));
  // A button held down repeats its code while the pointer stays on it.
  p = POINT{8, 50};
  ClientToScreen(host.hwnd(), &p);
  SetCursorPos(p.x, p.y);
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 50));
  controlstest::Pump(700);
  host.Send(WM_LBUTTONUP, 0, MAKELPARAM(8, 50));
  const std::vector<int> codes = TakeCodes();
  ASSERT_GE(codes.size(), 5u);
  EXPECT_EQ(codes.front(), 9);
  EXPECT_EQ(codes.back(), 8);
  int lines = 0;
  for (int code : codes) lines += code == 1;
  EXPECT_GE(lines, 3);
}

TEST(SpinnerRange, CentreRuleMessagesAndTheFullIntegerRange) {
  TestWindow parent(0, 40, 40, 200, 160);
  Host host = MakeHost(parent.hwnd(), SPNS_VERT | 0x30, RECT{20, 20, 36, 80});
  struct Range {
    LONG min, max, centre;
  } ranges[] = {{-7, -2, -5}, {-100, 100, 0}, {-40, 0, -40}, {3, 8, 5}, {INT_MIN, INT_MAX, 0}};
  for (const Range& r : ranges) {
    host.Send(SPNM_SETMIN, 0, INT_MIN);
    host.Send(SPNM_SETMAX, 0, r.max);
    host.Send(SPNM_SETMIN, 0, r.min);
    host.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(8, 30));
    EXPECT_EQ(host.Send(SPNM_GETPOS), r.centre) << r.min << ".." << r.max;
  }
  host.Send(SPNM_SETRANGE, 0, MAKELONG(static_cast<WORD>(-20), 20));
  EXPECT_EQ(host.Send(SPNM_GETMIN), -20);
  EXPECT_EQ(host.Send(SPNM_SETPOS, 0, 99), 20);
  EXPECT_EQ(host.Send(SPNM_SETCENTER, 0, -99), -20);
  EXPECT_EQ(host.Send(SPNM_SETNOTIFY, reinterpret_cast<WPARAM>(parent.hwnd()), 0),
            reinterpret_cast<LRESULT>(parent.hwnd()));
  EXPECT_EQ(host.Send(SPNM_GETNOTIFY), reinterpret_cast<LRESULT>(parent.hwnd()));
  // Buttons only after a style change: wants every key.
  EXPECT_EQ(host.Send(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
  host.Send(SPNM_SETSTYLE, SPNS_VERT, TRUE);
  EXPECT_EQ(host.Send(WM_GETDLGCODE), DLGC_WANTALLKEYS);
  host.Send(SPNM_SETSTYLE, SPNS_VERT | 0x30, TRUE);

  // INT_MIN ... INT_MAX: digits, pages and a drag over the whole range.
  host.Send(SPNM_SETMIN, 0, INT_MIN);
  host.Send(SPNM_SETMAX, 0, INT_MAX);
  host.Send(WM_KEYDOWN, '5', 1);
  EXPECT_EQ(host.Send(SPNM_GETPOS), -1);
  host.Send(SPNM_SETPOS, 0, INT_MIN);
  SpinnerInst_DefScrollProc(host.inst(), 2, nullptr, 1, 0);
  EXPECT_EQ(host.Send(SPNM_GETPOS), INT_MIN + 429496730);
  host.Send(SPNM_SETPOS, 0, INT_MIN);
  host.Send(SPNM_SETSENSITIVITY, 0, 1000);
  host.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 30));
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(8, 30 - 500));
  EXPECT_LT(std::llabs(static_cast<LONGLONG>(host.Send(SPNM_GETPOS))), 4294967296LL / 1000 + 1);
  host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(8, 30 - 1200));
  EXPECT_EQ(host.Send(SPNM_GETPOS), INT_MAX);
  host.Send(WM_LBUTTONUP, 0, MAKELPARAM(8, 30 - 1200));
  calls.clear();
}

// ---- Drawing ------------------------------------------------------------------------------------

TEST(SpinnerPaint, ButtonsDrawnWithTheThemeOrClassic) {
  ASSERT_TRUE(RegisterOnce());
  TestWindow parent(0, 40, 40, 200, 100);
  HWND spinner = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE | SPNS_VERT, 10, 10, 16, 40, parent.hwnd(),
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
  auto inst = reinterpret_cast<ZQSPINNERINST*>(GetWindowLongPtrW(spinner, 0));
  Canvas drawn(16, 40), reference(16, 40);
  SpinnerInst_Draw(inst, drawn.dc());
  const RECT top{0, 0, 16, 20};
  if (ThemesExpected()) {
    // The upper button as the theme draws its "Spin" up part.
    HTHEME theme = OpenThemeData(spinner, L"Spin");
    ASSERT_NE(theme, nullptr);
    FillRect(reference.dc(), &top, GetSysColorBrush(COLOR_BTNFACE));
    DrawThemeBackground(theme, reference.dc(), SPNP_UP, UPS_NORMAL, &top, nullptr);
    CloseThemeData(theme);
    GdiFlush();
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 16; ++x) ASSERT_EQ(drawn.Pixel(x, y), reference.Pixel(x, y)) << x << "," << y;
  } else {
    // A raised edge as the system draws it, around the up arrow: 16 pixels
    // of button text in a triangle one, three, five and seven wide.
    RECT edge = top;
    FillRect(reference.dc(), &edge, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(reference.dc(), &edge, EDGE_RAISED, BF_RECT);
    GdiFlush();
    for (int x = 0; x < 16; ++x) {
      EXPECT_EQ(drawn.Pixel(x, 0), reference.Pixel(x, 0)) << x;
      EXPECT_EQ(drawn.Pixel(x, 19), reference.Pixel(x, 19)) << x;
    }
    const DWORD text = controlstest::Rgb(GetSysColor(COLOR_BTNTEXT));
    std::vector<int> widths;
    for (int y = 2; y < 18; ++y) {
      int width = 0;
      for (int x = 2; x < 14; ++x) width += drawn.Pixel(x, y) == text;
      if (width) widths.push_back(width);
    }
    EXPECT_EQ(widths, (std::vector<int>{1, 3, 5, 7}));
  }
  DestroyWindow(spinner);
}

TEST(SpinnerPaint, PicturesOfEachLook) {
  ASSERT_TRUE(RegisterOnce());
  TestWindow parent(0, 30, 30, 340, 150);
  struct Look {
    DWORD style;
    int width, height;
  } looks[] = {
      {SPNS_VERT, 16, 40},          {SPNS_VERT | 0x10, 16, 44},  {SPNS_VERT | 0x30, 16, 52},
      {SPNS_VERT | SPNS_FLAT, 16, 40}, {SPNS_VERT | WS_DISABLED, 16, 40}, {0, 40, 18},
      {0x20, 46, 18},               {SPNS_FLAT | 0x30, 50, 18},
  };
  std::vector<HWND> spinners;
  int x = 10;
  for (const Look& look : looks) {
    const bool vertical = look.style & SPNS_VERT;
    HWND s = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE | look.style, x, vertical ? 10 : 70, look.width,
                             look.height, parent.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    spinners.push_back(s);
    x += look.width + 10;
  }
  // One button held down, one drag area lit by the pointer.
  SendMessageW(spinners[0], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 5));
  SendMessageW(spinners[2], WM_MOUSEMOVE, 0, MAKELPARAM(8, 26));
  const auto shot = testsupport::SaveWindowScreenshot(parent.hwnd(), (L"spinner_looks_" + RunName()).c_str());
  EXPECT_TRUE(shot.saved);
  EXPECT_GT(shot.colours, 4);
  SendMessageW(spinners[0], WM_LBUTTONUP, 0, MAKELPARAM(8, 5));
  for (HWND s : spinners) DestroyWindow(s);
}

}  // namespace
