#include "msgbox_test_support.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace msgboxtest {
namespace {

struct WatchdogData {
  HANDLE stop;
  int seconds;
  std::string test;
};

DWORD WINAPI WatchdogThread(void* param) {
  auto* data = static_cast<WatchdogData*>(param);
  if (WaitForSingleObject(data->stop, data->seconds * 1000) == WAIT_TIMEOUT) {
    std::fprintf(stderr, "\nWATCHDOG: %s still running after %d s (a box nobody answered?); failing.\n",
                 data->test.c_str(), data->seconds);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 99);
  }
  delete data;
  return 0;
}

std::wstring TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(length + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(wcslen(text.c_str()));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

BoxAnswerer* g_answerer = nullptr;

std::map<UINT_PTR, std::function<void()>>& Steps() {
  static std::map<UINT_PTR, std::function<void()>> steps;
  return steps;
}
UINT_PTR g_nextStep = 0x5100;

void CALLBACK RunStep(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  auto found = Steps().find(id);
  if (found == Steps().end()) return;
  std::function<void()> step = std::move(found->second);
  Steps().erase(found);
  step();
}

}  // namespace

Watchdog::Watchdog(int seconds) {
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "test";
  thread_ = CreateThread(nullptr, 0, WatchdogThread, new WatchdogData{stop_, seconds, name}, 0, nullptr);
}

Watchdog::~Watchdog() {
  SetEvent(stop_);
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  CloseHandle(stop_);
}

std::vector<int> BoxView::Ids() const {
  std::vector<int> ids;
  for (const ButtonView& b : buttons) ids.push_back(b.id);
  return ids;
}

const ButtonView* BoxView::Button(int id) const {
  for (const ButtonView& b : buttons)
    if (b.id == id) return &b;
  return nullptr;
}

BoxView ReadBox(HWND box) {
  BoxView view;
  view.window = box;
  view.owner = GetWindow(box, GW_OWNER);
  GetWindowRect(box, &view.rect);
  GetClientRect(box, &view.client);
  MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&view.client), 2);
  view.caption = TextOf(box);
  const LRESULT def = SendMessageW(box, DM_GETDEFID, 0, 0);
  if (HIWORD(def) == DC_HASDEFID) view.defId = LOWORD(def);
  const UINT close = GetMenuState(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND);
  view.closeEnabled = close != static_cast<UINT>(-1) && !(close & MF_GRAYED);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    const bool visible = (style & WS_VISIBLE) != 0;
    const std::wstring cls = ClassOf(child);
    const int id = GetDlgCtrlID(child);
    RECT rect;
    GetWindowRect(child, &rect);
    if (lstrcmpiW(cls.c_str(), L"Static") == 0) {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        view.iconShown = view.iconShown || visible;
      } else if (visible) {
        std::wstring text = TextOf(child);
        if (text.size() > view.text.size()) view.text = text;
      }
    } else if (lstrcmpiW(cls.c_str(), L"Button") == 0) {
      const LONG type = style & BS_TYPEMASK;
      if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) {
        view.hasCheck = true;
        view.checked = SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
        view.checkText = TextOf(child);
        view.checkRect = rect;
      } else if (visible && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)) {
        view.buttons.push_back({id, TextOf(child), rect, type == BS_DEFPUSHBUTTON});
      }
    } else if (lstrcmpiW(cls.c_str(), L"Edit") == 0 && id == 201) {
      view.hasDetails = true;
      view.detailsVisible = visible;
      view.details = TextOf(child);
      view.detailsRect = rect;
    }
  }
  std::stable_sort(view.buttons.begin(), view.buttons.end(),
                   [](const ButtonView& a, const ButtonView& b) { return a.rect.left < b.rect.left; });
  return view;
}

void Press(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  if (button) PostMessageW(button, BM_CLICK, 0, 0);
  else PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void PressKey(HWND box, UINT key) {
  HWND focus = GetFocus();
  if (!focus || (focus != box && !IsChild(box, focus))) focus = box;
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

void After(HWND box, UINT ms, std::function<void()> step) {
  const UINT_PTR id = ++g_nextStep;
  Steps()[id] = std::move(step);
  SetTimer(box, id, ms, RunStep);
}

BoxAnswerer::BoxAnswerer(Action action) : action_(std::move(action)) {
  g_answerer = this;
  hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

BoxAnswerer::~BoxAnswerer() {
  UnhookWindowsHookEx(hook_);
  g_answerer = nullptr;
}

LRESULT CALLBACK BoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
  BoxAnswerer* self = g_answerer;
  if (self && code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    // At creation the class is only an atom; by activation it has its name.
    // The system's box is activated while it initialises: it is read (and
    // answered) once its message loop runs. Activations of other processes'
    // windows can reach this hook too (when one of theirs closes): those are
    // not ours to answer.
    if (GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId() && ClassOf(box) == L"#32770" &&
        std::find(self->handled_.begin(), self->handled_.end(), box) == self->handled_.end()) {
      self->handled_.push_back(box);
      After(box, 20, [self, box] {
        self->seen_.push_back(ReadBox(box));
        if (self->action_) self->action_(box, self->seen_.back());
      });
    }
  }
  return CallNextHookEx(self ? self->hook_ : nullptr, code, wParam, lParam);
}

BoxAnswerer::Action PressEach(int id) {
  return [id](HWND box, const BoxView&) { Press(box, id); };
}

RECT Centre(const RECT& r) {
  const LONG x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  return RECT{x, y, x, y};
}

HWND CreateOwnerWindow(int x, int y, int width, int height) {
  HWND window = CreateWindowExW(0, L"Static", L"owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, x, y, width, height,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window) UpdateWindow(window);
  return window;
}

}  // namespace msgboxtest
