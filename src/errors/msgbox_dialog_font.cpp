// The dialog font fix-up: on systems whose ANSI code page is not 1252 the
// fonts of resource dialogs may lack the characters of the user's language,
// so every direct child is given the UI font (or the caller's).
#include "errors/msgbox_internal.h"
#include "errors/msgbox_ui_colours.h"

ZQAPI BOOL WINAPI ZqDlgInitFont(HWND dialog, HFONT font) noexcept {
  if (GetACP() == 1252) return FALSE;
  if (!font) font = zq::errors::UiFont();
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  return TRUE;
}
