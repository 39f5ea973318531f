// The spinner's buddy: an edit control subclassed while it is attached,
// whose stepping keys go to the spinner, and beside which the spinner is
// placed.
#include "sliders/spinner_internal.h"

namespace zq::controls {
namespace {

constexpr LONG kBuddyWidth = 13;

Spinner* SpinnerOfBuddy(HWND edit) { return static_cast<Spinner*>(GetPropW(edit, SPINNER_BUDDY_INSTANCE)); }

WNDPROC PreviousProc(HWND edit) { return reinterpret_cast<WNDPROC>(GetPropW(edit, SPINNER_BUDDY_PROC)); }

LRESULT CALLBACK BuddyProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC previous = PreviousProc(edit);
  Spinner* s = SpinnerOfBuddy(edit);
  if (!previous) return DefWindowProcW(edit, message, wParam, lParam);
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = CallWindowProcW(previous, edit, message, wParam, lParam);
      if (s) SpinnerInst_Message(InstOf(s), message, wParam, lParam);
      return result;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (s && IsBuddyKey(static_cast<UINT>(wParam))) {
        KeyMessage(*s, message, static_cast<UINT>(wParam), lParam);
        // The character the key made, if any, is not the edit's either.
        MSG pending;
        if (message == WM_KEYDOWN) PeekMessageW(&pending, edit, WM_CHAR, WM_CHAR, PM_REMOVE | PM_NOYIELD);
        return 0;
      }
      break;
    case WM_SETTEXT: {
      const LRESULT result = CallWindowProcW(previous, edit, message, wParam, lParam);
      CallWindowProcW(previous, edit, EM_SETSEL, 0, -1);
      return result;
    }
    case WM_NCDESTROY:
      RemovePropW(edit, SPINNER_BUDDY_INSTANCE);
      RemovePropW(edit, SPINNER_BUDDY_PROC);
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      if (s && s->buddy == edit) {
        s->buddy = nullptr;
        s->buddyProc = nullptr;
      }
      break;
  }
  return CallWindowProcW(previous, edit, message, wParam, lParam);
}

// Beside the buddy's right edge (one pixel further on system versions
// before 4), 13 pixels wide, from the buddy's top to its bottom.
void PlaceBesideBuddy(Spinner& s, HWND edit) {
  RECT r;
  if (!GetWindowRect(edit, &r)) return;
  HWND parent = s.hosted ? s.window : (s.window ? GetParent(s.window) : nullptr);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  const LONG x = r.right + (LOBYTE(LOWORD(GetVersion())) < 4 ? 1 : 0);
  if (s.hosted) {
    s.control = RECT{x, r.top, x + kBuddyWidth, r.bottom};
    Layout(s);
  } else if (s.window) {
    SetWindowPos(s.window, nullptr, x, r.top, kBuddyWidth, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace

bool IsBuddyKey(UINT key) {
  switch (key) {
    case VK_PRIOR: case VK_NEXT: case VK_UP: case VK_DOWN:
      return true;
    case VK_HOME: case VK_END:
      return slider::CtrlHeld();
    default:
      return false;
  }
}

void DetachBuddy(Spinner& s) {
  HWND edit = s.buddy;
  if (!edit) return;
  s.buddy = nullptr;
  if (IsWindow(edit)) {
    if (GetWindowLongPtrW(edit, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(BuddyProc) && s.buddyProc)
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.buddyProc));
    RemovePropW(edit, SPINNER_BUDDY_INSTANCE);
    RemovePropW(edit, SPINNER_BUDDY_PROC);
  }
  s.buddyProc = nullptr;
}

LRESULT AttachBuddy(Spinner& s, HWND edit, WORD limit) {
  DetachBuddy(s);
  if (!edit || !IsWindow(edit) || edit == s.window) return 0;
  if (GetWindowLongPtrW(edit, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(BuddyProc)) return 0;  // another spinner's
  const LONG_PTR previous = GetWindowLongPtrW(edit, GWLP_WNDPROC);
  if (!previous || !SetPropW(edit, SPINNER_BUDDY_INSTANCE, &s) ||
      !SetPropW(edit, SPINNER_BUDDY_PROC, reinterpret_cast<HANDLE>(previous))) {
    RemovePropW(edit, SPINNER_BUDDY_INSTANCE);
    RemovePropW(edit, SPINNER_BUDDY_PROC);
    return 0;
  }
  SetLastError(0);
  if (!SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BuddyProc)) && GetLastError() != 0) {
    RemovePropW(edit, SPINNER_BUDDY_INSTANCE);
    RemovePropW(edit, SPINNER_BUDDY_PROC);
    return 0;
  }
  s.buddy = edit;
  s.buddyProc = reinterpret_cast<WNDPROC>(previous);
  SendMessageW(edit, EM_LIMITTEXT, limit, 0);
  s.style = (s.style | SPNS_BUDDY) & ~static_cast<DWORD>(WS_TABSTOP);
  s.noFocus = TRUE;
  if (!s.hosted && s.window) {
    const DWORD style = static_cast<DWORD>(GetWindowLongW(s.window, GWL_STYLE));
    SetWindowLongW(s.window, GWL_STYLE, static_cast<LONG>((style | SPNS_BUDDY) & ~static_cast<DWORD>(WS_TABSTOP)));
  }
  PlaceBesideBuddy(s, edit);
  Repaint(s);
  return reinterpret_cast<LRESULT>(edit);
}

}  // namespace zq::controls
