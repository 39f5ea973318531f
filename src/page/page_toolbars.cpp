// The page's two toolbars: made in place of their placeholders, with
// tooltips, and usable from the keyboard: Tab reaches them, the arrows move
// between the enabled buttons (the one with the focus is drawn hot), Space
// or Enter presses it.
#include <windows.h>
#include <commctrl.h>

#include "core/module_state.h"
#include "page/page_ids.h"
#include "page/page_window.h"
#include "zq/lang.h"

namespace quillet::page {
namespace {

constexpr int kNone = -1;

bool Pressable(HWND bar, int index) {
  TBBUTTON button{};
  if (!SendMessageW(bar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button))) return false;
  return !(button.fsStyle & BTNS_SEP) && (button.fsState & TBSTATE_ENABLED) && !(button.fsState & TBSTATE_HIDDEN);
}

// The next pressable button from `from` in direction `step`, `from` itself
// when there is none.
int Step(HWND bar, int from, int step) {
  const int count = static_cast<int>(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
  for (int i = from + step; i >= 0 && i < count; i += step)
    if (Pressable(bar, i)) return i;
  return from;
}

int Hot(HWND bar) { return static_cast<int>(SendMessageW(bar, TB_GETHOTITEM, 0, 0)); }

LRESULT CALLBACK ToolbarKeys(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_GETDLGCODE: {
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      const bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
      return DLGC_WANTARROWS | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_SETFOCUS: {
      LRESULT result = DefSubclassProc(bar, message, wParam, lParam);
      if (!Pressable(bar, Hot(bar))) SendMessageW(bar, TB_SETHOTITEM, Step(bar, kNone, 1), 0);
      return result;
    }
    case WM_KILLFOCUS:
      SendMessageW(bar, TB_SETHOTITEM, kNone, 0);
      break;
    case WM_KEYDOWN: {
      const int hot = Hot(bar);
      switch (wParam) {
        case VK_LEFT:
        case VK_UP:
          SendMessageW(bar, TB_SETHOTITEM, Step(bar, hot < 0 ? 0 : hot, -1), 0);
          return 0;
        case VK_RIGHT:
        case VK_DOWN:
          SendMessageW(bar, TB_SETHOTITEM, Step(bar, hot, 1), 0);
          return 0;
        case VK_HOME:
          SendMessageW(bar, TB_SETHOTITEM, Step(bar, kNone, 1), 0);
          return 0;
        case VK_END:
          SendMessageW(bar, TB_SETHOTITEM, Step(bar, static_cast<int>(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0)), -1), 0);
          return 0;
        case VK_SPACE:
        case VK_RETURN: {
          TBBUTTON button{};
          if (Pressable(bar, hot) && SendMessageW(bar, TB_GETBUTTON, hot, reinterpret_cast<LPARAM>(&button)))
            SendMessageW(GetParent(bar), WM_COMMAND, MAKEWPARAM(button.idCommand, BN_CLICKED),
                         reinterpret_cast<LPARAM>(bar));
          return 0;
        }
        default:
          break;
      }
      break;
    }
    case WM_CHAR:
      if (wParam == L' ' || wParam == L'\r') return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(bar, ToolbarKeys, 0);
      break;
    default:
      break;
  }
  return DefSubclassProc(bar, message, wParam, lParam);
}

struct Tip {
  int command;
  UINT text;
};
constexpr Tip kTips[] = {
    {IDM_PAGE_ADD_TRACK, IDS_TIP_ADD_TRACK},         {IDM_PAGE_DELETE_TRACK, IDS_TIP_DELETE_TRACK},
    {IDM_PAGE_CHASE_FILTER, IDS_TIP_CHASE_FILTER},   {IDM_PAGE_PLAYBACK_FILTER, IDS_TIP_PLAYBACK_FILTER},
    {IDM_PAGE_PLAY, IDS_TIP_PLAY},                   {IDM_PAGE_STOP, IDS_TIP_STOP},
    {IDM_PAGE_PLAY_LOOPED, IDS_TIP_PLAY_LOOPED},     {IDM_PAGE_RECORD, IDS_TIP_RECORD},
    {IDM_PAGE_LOOP, IDS_TIP_LOOP},                   {IDM_PAGE_PLAY_FROM_START, IDS_TIP_PLAY_FROM_START},
    {IDM_PAGE_PAUSE, IDS_TIP_PAUSE},                 {IDM_PAGE_GO_TO_START, IDS_TIP_GO_TO_START},
};

// A toolbar in place of the static `id`: same place, same z-order, same id.
HWND ReplaceWithToolbar(HWND dialog, int id, HIMAGELIST images, HIMAGELIST disabled, const TBBUTTON* buttons,
                        int count) {
  HWND placeholder = GetDlgItem(dialog, id);
  if (!placeholder) return nullptr;
  RECT r;
  GetWindowRect(placeholder, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  HWND bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                                 CCS_NORESIZE | CCS_NOPARENTALIGN,
                             r.left, r.top, r.right - r.left, r.bottom - r.top, dialog, nullptr,
                             zq::core::ModuleInstance(), nullptr);
  if (!bar) return nullptr;
  SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  if (disabled) SendMessageW(bar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabled));
  SendMessageW(bar, TB_ADDBUTTONSW, count, reinterpret_cast<LPARAM>(buttons));
  SetWindowPos(bar, placeholder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  DestroyWindow(placeholder);
  SetWindowLongPtrW(bar, GWLP_ID, id);
  SetWindowSubclass(bar, ToolbarKeys, 0, 0);
  return bar;
}

}  // namespace

void CreateToolbars(PageWindow& w) noexcept {
  const TBBUTTON track[] = {
      {0, IDM_PAGE_ADD_TRACK, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {1, IDM_PAGE_DELETE_TRACK, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {0, 0, 0, BTNS_SEP, {}, 0, 0},
      {2, IDM_PAGE_CHASE_FILTER, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {3, IDM_PAGE_PLAYBACK_FILTER, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
  };
  const TBBUTTON transport[] = {
      {0, IDM_PAGE_LOOP, TBSTATE_ENABLED, BTNS_CHECK, {}, 0, 0},
      {0, 0, 0, BTNS_SEP, {}, 0, 0},
      {1, IDM_PAGE_PLAY_FROM_START, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {2, IDM_PAGE_PLAY, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {3, IDM_PAGE_PAUSE, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {4, IDM_PAGE_STOP, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {0, 0, 0, BTNS_SEP, {}, 0, 0},
      {5, IDM_PAGE_GO_TO_START, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
  };
  w.trackBar = ReplaceWithToolbar(w.dialog, IDC_PAGE_TRACK_TOOLBAR, w.page->Images(0), nullptr, track,
                                  ARRAYSIZE(track));
  w.transportBar = ReplaceWithToolbar(w.dialog, IDC_PAGE_TRANSPORT, w.page->Images(1), w.page->Images(2), transport,
                                      ARRAYSIZE(transport));
}

// Tooltip texts, cut to the 79 characters the record holds.
bool AnswerTooltip(NMTTDISPINFOW* info) noexcept {
  for (const Tip& tip : kTips) {
    if (static_cast<int>(info->hdr.idFrom) != tip.command) continue;
    info->lpszText = info->szText;
    info->hinst = nullptr;
    ZqLoadString(zq::core::DefaultLang(), tip.text, info->szText, ARRAYSIZE(info->szText));
    return true;
  }
  return false;
}

}  // namespace quillet::page
