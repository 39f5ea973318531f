// Showing help: topics, control pop-ups and the toolbar hit test.
#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include <cwchar>

#include "core/text_copy.h"
#include "skins/help_viewers.h"
#include "zq/files.h"
#include "zq/help.h"

using zq::skins::Viewers;

namespace {

constexpr int kPath = MAX_PATH;

// The given path, else the kind's current file; false when empty.
bool PathFor(int kind, LPCWSTR given, WCHAR* path) {
  path[0] = 0;
  if (given) zq::core::CopyText(path, kPath, given);
  else ZqHelp_GetHelpFilePath(kind, path, kPath);
  return path[0] != 0;
}

}  // namespace

ZQAPI BOOL WINAPI ZqHelp_ContextHelp(int kind, HWND window, DWORD_PTR data, UINT command, LPCWSTR path) noexcept {
  if (kind != ZQHELP_CLASSIC && kind != ZQHELP_HTML) return FALSE;
  WCHAR file[kPath];
  if (!PathFor(kind, path, file)) return FALSE;
  if (kind == ZQHELP_CLASSIC) {
    if ((command == 0 || command == 2) && !ZqDoesFileExist(file)) return FALSE;
    return Viewers().winHelp(window, file, command, data);
  }
  HWND help = Viewers().htmlHelp(GetDesktopWindow(), file, command, data);
  if (!help) return FALSE;
  BringWindowToTop(help);
  return TRUE;
}

ZQAPI BOOL WINAPI ZqHelp_ContextPopupHelp(int kind, HWND window, DWORD topic, int controlId,
                                          const ZQHELPIDPAIR* table, LPCWSTR path) noexcept {
  if (kind != ZQHELP_CLASSIC && kind != ZQHELP_HTML) return FALSE;
  WCHAR file[kPath];
  if (!PathFor(kind, path, file)) return FALSE;
  UINT command;
  if (kind == ZQHELP_HTML || table) {
    if (controlId == 0 || controlId == -1) return FALSE;
    // A table decides: a control it does not list gets no help. Without
    // one the given topic stands.
    if (table) {
      const ZQHELPIDPAIR* pair = table;
      while (pair->controlId && pair->controlId != static_cast<DWORD>(controlId)) ++pair;
      if (!pair->controlId) return FALSE;
      topic = pair->topic;
    }
    if (topic == 0) return FALSE;
    command = kind == ZQHELP_CLASSIC ? HELP_CONTEXTPOPUP : HH_DISPLAY_TEXT_POPUP;
  } else {
    topic = 0;
    command = HELP_QUIT;
  }
  if (kind == ZQHELP_CLASSIC) return Viewers().winHelp(window, file, command, topic);

  // The pop-up text lives in the file's "Popup.txt": no room for the
  // suffix, no pop-up (never a path cut short).
  static const WCHAR kPopup[] = L"::/Popup.txt";
  WCHAR popupFile[kPath];
  if (wcslen(file) + wcslen(kPopup) + 1 > static_cast<size_t>(kPath)) return FALSE;
  zq::core::CopyText(popupFile, kPath, file);
  zq::core::AppendText(popupFile, kPath, kPopup);
  HH_POPUP popup{};
  popup.cbStruct = sizeof(popup);
  popup.idString = topic;
  GetCursorPos(&popup.pt);
  popup.clrForeground = static_cast<COLORREF>(-1);
  popup.clrBackground = static_cast<COLORREF>(-1);
  popup.rcMargins = RECT{-1, -1, -1, -1};
  popup.pszFont = L"MS Shell Dlg, 8";
  const HWND shown = Viewers().htmlHelp(window, popupFile, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup));
  if (window) SetFocus(window);
  return shown != nullptr;
}

ZQAPI BOOL WINAPI ZqHelp_HitTestToolbar(HWND toolbar, HELPINFO* info) noexcept {
  if (!toolbar || !info) return FALSE;
  POINT at = info->MousePos;
  ScreenToClient(toolbar, &at);
  const int index = static_cast<int>(SendMessageW(toolbar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&at)));
  if (index < 0) return FALSE;
  TBBUTTON button{};
  if (!SendMessageW(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)) || button.idCommand == 0)
    return FALSE;
  info->iCtrlId = button.idCommand;
  return TRUE;
}
