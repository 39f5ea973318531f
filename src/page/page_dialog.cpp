// The page window: initialisation, layout, refresh messages and the
// message dispatch (the toolbars are in page_toolbars.cpp).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <new>

#include "plugin/filter_object.h"
#include "page/page_ids.h"
#include "page/page_window.h"
#include "zq/help.h"
#include "zq/msgbox.h"
#include "zq/spinner.h"
#include "zq/ui.h"

namespace quillet {

namespace {

constexpr int kMargin = 7;
constexpr int kHelpBase = 3000;

SIZE ToolbarSize(HWND bar) {
  SIZE size = {};
  if (bar) SendMessageW(bar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  return size;
}

RECT ChildRect(HWND dialog, HWND child) {
  RECT r = {};
  if (!child) return r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The grid keeps its left edge and top; the page is at least 25 average
// characters wider than that edge and 10 characters high.
void Layout(PageWindow& w, int width, int height) {
  w.laidOut = {width, height};
  HWND gridWindow = w.grid ? w.grid : GetDlgItem(w.dialog, IDC_PAGE_GRID);
  if (!gridWindow) return;
  const SIZE* font = ZqGetUIFontSize(ZQ_UIFONT_NORMAL);
  const int charWidth = font && font->cx > 0 ? font->cx : 7, charHeight = font && font->cy > 0 ? font->cy : 13;
  RECT grid = ChildRect(w.dialog, gridWindow);
  width = std::max<int>(width, grid.left + 25 * charWidth);
  height = std::max(height, 10 * charHeight);
  SIZE track = ToolbarSize(w.trackBar), transport = ToolbarSize(w.transportBar);
  if (w.trackBar) {
    int top = std::max<int>(0, (grid.top - track.cy) / 2);
    SetWindowPos(w.trackBar, nullptr, grid.left, top, std::max<int>(track.cx, 1), track.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  int bottomBand = std::max<int>(transport.cy, charHeight + 4);
  int bandTop = height - kMargin / 2 - bottomBand;
  if (w.transportBar)
    SetWindowPos(w.transportBar, nullptr, grid.left, bandTop, std::max<int>(transport.cx, 1), transport.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (HWND time = GetDlgItem(w.dialog, IDC_PAGE_TIME)) {
    // Ends under the grid's right edge, as wide as its text.
    RECT t = ChildRect(w.dialog, time);
    const int timeHeight = t.bottom - t.top;
    SetWindowPos(time, nullptr, width - kMargin - (t.right - t.left), bandTop + (bottomBand - timeHeight) / 2, 0, 0,
                 SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    page::FitTimeToText(w.dialog);
  }
  SetWindowPos(gridWindow, nullptr, 0, 0, std::max<int>(width - kMargin - grid.left, 1),
               std::max<int>(bandTop - 3 - grid.top, 1), SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  page::FitMixColumns(w);
}

// The part of the page its ancestors show: a frame may make the page
// larger than its own client area or the display area of its tabs.
SIZE VisibleSize(HWND dialog, int width, int height) {
  RECT visible;
  GetWindowRect(dialog, &visible);
  visible.right = visible.left + width;
  visible.bottom = visible.top + height;
  for (HWND child = dialog; GetWindowLongW(child, GWL_STYLE) & WS_CHILD;) {
    HWND parent = GetParent(child);
    if (!parent) break;
    RECT area;
    GetClientRect(parent, &area);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&area), 2);
    if (HWND tabs = FindWindowExW(parent, nullptr, WC_TABCONTROLW, nullptr)) {
      RECT display;
      GetWindowRect(tabs, &display);
      TabCtrl_AdjustRect(tabs, FALSE, &display);
      IntersectRect(&area, &area, &display);
    }
    RECT both;
    if (IntersectRect(&both, &visible, &area)) visible = both;
    child = parent;
  }
  RECT page;
  GetWindowRect(dialog, &page);
  return {std::min<LONG>(width, visible.right - page.left), std::min<LONG>(height, visible.bottom - page.top)};
}

void Refresh(PageWindow& w) {
  FilterObject* filter = w.Filter();
  if (!filter) return;
  filter->RunQueuedNotifications(FALSE);
  page::ShowInformation(w.dialog, *filter);
  page::FillRootNotes(w.dialog, *filter);
  page::ShowPitchShift(w.dialog, *filter);
  if (w.grid) SendMessageW(w.grid, SPM_REFRESHROWS, 0, 0);
  page::UpdateToolbars(w);
}

void InitPage(PageWindow& w) {
  HWND dialog = w.dialog;
  XPTheme_Initialize(w.page->Theme(), dialog, TRUE);
  HWND spin = GetDlgItem(dialog, IDC_PAGE_PITCH_SPIN);
  SendMessageW(spin, SPNM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_PAGE_PITCH)), 4);
  SendMessageW(spin, SPNM_SETRANGE, 0, MAKELONG(static_cast<WORD>(-24), 24));
  SendMessageW(spin, SPNM_SETNOTIFY, reinterpret_cast<WPARAM>(dialog), 0);
  // Flush against its edit's right edge and as tall, as the platform's
  // up-down control stands beside its buddy.
  HWND pitch = GetDlgItem(dialog, IDC_PAGE_PITCH);
  if (spin && pitch) {
    const RECT edit = ChildRect(dialog, pitch), own = ChildRect(dialog, spin);
    SetWindowPos(spin, nullptr, edit.right, edit.top, own.right - own.left, edit.bottom - edit.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  page::CreateToolbars(w);
  page::InitMixGrid(w);
  if (FilterObject* filter = w.Filter()) {
    page::ShowPitchShift(dialog, *filter);
    page::FillRootNotes(dialog, *filter);
    page::ShowInformation(dialog, *filter);
    page::UpdateToolbars(w);
    page::ShowTime(dialog, *filter);
  }
  RECT client;
  GetClientRect(dialog, &client);
  SIZE visible = VisibleSize(dialog, client.right, client.bottom);
  Layout(w, visible.cx, visible.cy);
}

void OnSpinner(PageWindow& w, WPARAM wParam) {
  FilterObject* filter = w.Filter();
  HWND spin = GetDlgItem(w.dialog, IDC_PAGE_PITCH_SPIN);
  if (!filter || !spin) return;
  const int code = LOWORD(wParam);
  if (code == 8 || code == 9) {  // the edit may hold a typed value
    page::StorePitchShift(w.dialog, *filter);
  }
  if (code == 4 || code == 5) {  // a drag: the value comes with the message
    SendMessageW(spin, SPNM_SETPOS, TRUE, static_cast<SHORT>(HIWORD(wParam)));
  } else {
    Spinner_DefScrollProc(nullptr, code, spin, 1, 4, static_cast<LONG>(SendMessageW(spin, SPNM_GETPOS, 0, 0)));
  }
  LONG now = std::clamp<LONG>(static_cast<LONG>(SendMessageW(spin, SPNM_GETPOS, 0, 0)), -24, 24);
  filter->SetHostProperty(QPROP_PITCH_SHIFT, sizeof(now), &now);
  ZqSetDlgItemTextNoFlash(w.dialog, IDC_PAGE_PITCH, L"%d", now);
}

void OnHelp(PageWindow& w, HELPINFO* info) {
  if (!info) return;
  for (HWND bar : {w.trackBar, w.transportBar})
    if (bar && reinterpret_cast<HWND>(info->hItemHandle) == bar) ZqHelp_HitTestToolbar(bar, info);
  ZqHelp_ContextHelp(ZQHELP_HTML, w.dialog, kHelpBase + static_cast<DWORD>(info->iCtrlId), 0x000F /* context */,
                     nullptr);
}

INT_PTR Dispatch(PageWindow& w, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      SIZE visible = VisibleSize(w.dialog, LOWORD(lParam), HIWORD(lParam));
      Layout(w, visible.cx, visible.cy);
      return TRUE;
    }
    case WM_PAINT: {
      // A frame may size the page's surroundings after the page: lay out
      // again when what shows of it changed.
      RECT client;
      GetClientRect(w.dialog, &client);
      SIZE visible = VisibleSize(w.dialog, client.right, client.bottom);
      if (visible.cx != w.laidOut.cx || visible.cy != w.laidOut.cy) Layout(w, visible.cx, visible.cy);
      return FALSE;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == TTN_GETDISPINFOW) return page::AnswerTooltip(reinterpret_cast<NMTTDISPINFOW*>(lParam));
      if (header->idFrom == IDC_PAGE_GRID && header->code == SPN_BUTTONCLICK) {
        const auto* click = reinterpret_cast<ZQSPREADNM*>(lParam);
        page::MixCheckClicked(w, click->row, click->column);
        return TRUE;
      }
      return FALSE;
    }
    case WM_COMMAND:
      page::RunCommand(w, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lParam) == GetDlgItem(w.dialog, IDC_PAGE_PITCH_SPIN)) OnSpinner(w, wParam);
      return TRUE;
    case WM_HELP:
      OnHelp(w, reinterpret_cast<HELPINFO*>(lParam));
      return TRUE;
    case WM_THEMECHANGED:
      XPTheme_Handle_WM_THEMECHANGED(w.page->Theme(), w.dialog);
      return FALSE;
    case kPageRefreshMessage:
      Refresh(w);
      return TRUE;
    case kPageTimeMessage:
      if (FilterObject* filter = w.Filter()) {
        filter->ClearFlag(kPageEventPending);
        page::ShowTime(w.dialog, *filter);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR CALLBACK PageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    auto* w = reinterpret_cast<PageWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
      auto* page = reinterpret_cast<PropertyPage*>(lParam);
      if (!page) return TRUE;  // measured only
      w = new (std::nothrow) PageWindow;
      if (!w) return TRUE;
      w->page = page;
      w->dialog = dialog;
      page->SetWindow(dialog);
      SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(w));
      InitPage(*w);
      return TRUE;
    }
    if (message == WM_SETFONT) {
      ZqDlgInitFont(dialog, reinterpret_cast<HFONT>(wParam));
      return FALSE;
    }
    if (message == WM_NCDESTROY) {
      // A frame may destroy the window without deactivating the page: the
      // page stops observing its filter either way.
      SetWindowLongPtrW(dialog, DWLP_USER, 0);
      PropertyPage* page = w ? w->page : nullptr;
      delete w;
      if (page) page->WindowGone(dialog);  // may release the page's last reference
      return FALSE;
    }
    return w ? Dispatch(*w, message, wParam, lParam) : FALSE;
  } catch (...) {
    return FALSE;
  }
}

}  // namespace quillet
