// The library's message box as a dialog: the buttons of the style's set,
// the icon, the text measured to fit the monitor, the check box, the
// collapsible details area, and the commands that end it.
#include <wchar.h>

#include <algorithm>
#include <memory>
#include <new>

#include "errors/errors_internal.h"
#include "errors/msgbox_ids.h"
#include "errors/msgbox_internal.h"
#include "errors/msgbox_monitor_centre.h"
#include "errors/msgbox_ui_colours.h"

namespace zq::errors {
namespace {

// What the dialog keeps while it runs (on the caller's stack).
struct DialogState {
  CustomBoxRecord* record;
  const ButtonSet* set;
  HWND check;
  HWND toggle;
  HWND details;
};

// Measures of the dialog's font and of its template, in pixels.
struct Metrics {
  int charHeight;
  int averageChar;
  int marginX, marginY;  // around the content
  int gap;               // between buttons
  SIZE button;           // the prototype button
  SIZE minimumText;      // the template's text static
  SIZE checkBox;         // height of the check box row
  RECT screen;           // the monitor the box belongs to
};

// System icons by the style's icon bits.
LPCWSTR IconOf(UINT style) noexcept {
  switch (style & ZQ_MB_ICON_MASK) {
    case MB_ICONHAND: return MAKEINTRESOURCEW(32513);
    case MB_ICONQUESTION: return MAKEINTRESOURCEW(32514);
    case MB_ICONEXCLAMATION: return MAKEINTRESOURCEW(32515);
    case MB_ICONASTERISK: return MAKEINTRESOURCEW(32516);
    default: return nullptr;
  }
}

bool HasDetailsArea(UINT style) noexcept { return (style & ZQ_MB_DETAILS) == ZQ_MB_DETAILS; }

SIZE ChildSize(HWND dialog, int id) noexcept {
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

int DialogUnitsX(HWND dialog, int units) noexcept {
  RECT r{0, 0, units, 0};
  MapDialogRect(dialog, &r);
  return r.right;
}

int DialogUnitsY(HWND dialog, int units) noexcept {
  RECT r{0, 0, 0, units};
  MapDialogRect(dialog, &r);
  return r.bottom;
}

// Width of one line of text in the DC's font.
int LineWidth(HDC dc, const WCHAR* text, int length, UINT prefix) noexcept {
  RECT r{0, 0, 0, 0};
  if (length > 0) DrawTextW(dc, text, length, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | prefix);
  return r.right - r.left;
}

// The text area: each paragraph's width plus one average character is
// wrapped into the available width to count the lines; one line more than
// counted is given, as slack for word breaks.
SIZE MeasureText(HDC dc, const WCHAR* text, int available, int maxHeight, const Metrics& m) noexcept {
  available = std::max(available, m.averageChar);
  int lines = 0, widest = 0;
  const WCHAR* p = text;
  for (;;) {
    const WCHAR* end = p;
    while (*end && *end != L'\r' && *end != L'\n') ++end;
    const int width = LineWidth(dc, p, static_cast<int>(end - p), DT_NOPREFIX) + m.averageChar;
    widest = std::max(widest, width);
    lines += std::max(1, (width + available - 1) / available);
    if (!*end) break;
    p = end + ((end[0] == L'\r' && end[1] == L'\n') ? 2 : 1);
  }
  SIZE size;
  size.cx = std::max<int>(std::min(widest, available), m.minimumText.cx);
  size.cy = std::max<int>((lines + 1) * m.charHeight, m.minimumText.cy);
  size.cy = std::min<int>(size.cy, std::max<int>(maxHeight, m.charHeight));
  return size;
}

// The details with every line break as "\r\n", as the edit control wants
// them. Null when it cannot be allocated.
std::unique_ptr<WCHAR[]> EditLineBreaks(const WCHAR* text) noexcept {
  size_t breaks = 0, length = 0;
  for (const WCHAR* p = text; *p; ++p, ++length)
    if (*p == L'\n' || *p == L'\r') ++breaks;
  std::unique_ptr<WCHAR[]> out(new (std::nothrow) WCHAR[length + breaks + 1]);
  if (!out) return nullptr;
  WCHAR* o = out.get();
  for (const WCHAR* p = text; *p; ++p) {
    if (*p == L'\r' && p[1] == L'\n') {
      *o++ = *p++;
      *o++ = *p;
    } else if (*p == L'\r' || *p == L'\n') {
      *o++ = L'\r';
      *o++ = L'\n';
    } else {
      *o++ = *p;
    }
  }
  *o = 0;
  return out;
}

HWND CreateChild(HWND dialog, const WCHAR* className, const WCHAR* text, DWORD style, DWORD exStyle, int id,
                 HFONT font) noexcept {
  HWND child = CreateWindowExW(exStyle, className, text, WS_CHILD | style, 0, 0, 0, 0, dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
  if (child) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

void Place(HWND window, int x, int y, int cx, int cy) noexcept {
  SetWindowPos(window, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

Metrics Measure(HWND dialog, HDC dc, HWND owner) noexcept {
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  Metrics m{};
  m.charHeight = std::max<int>(tm.tmHeight, 1);
  m.averageChar = std::max<int>(tm.tmAveCharWidth, 1);
  m.marginX = DialogUnitsX(dialog, 7);
  m.marginY = DialogUnitsY(dialog, 7);
  m.gap = DialogUnitsX(dialog, 4);
  m.button = ChildSize(dialog, kPrototypeId);
  m.minimumText = ChildSize(dialog, kTextId);
  m.checkBox = SIZE{0, std::max<int>(DialogUnitsY(dialog, 10), m.charHeight + 2)};
  m.screen = MonitorArea(owner ? owner : dialog, false);
  return m;
}

BOOL Initialise(HWND dialog, DialogState* state) noexcept {
  CustomBoxRecord* record = state->record;
  const UINT style = record->style;
  const ButtonSet& set = *state->set;
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  SetWindowTextW(dialog, record->caption);

  HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  HDC dc = GetDC(dialog);
  HGDIOBJ oldFont = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  const Metrics m = Measure(dialog, dc, record->owner);
  const int screenWidth = m.screen.right - m.screen.left, screenHeight = m.screen.bottom - m.screen.top;

  // 1. The icon, or none.
  HWND iconStatic = GetDlgItem(dialog, kIconId);
  HICON icon = IconOf(style) ? LoadIconW(nullptr, IconOf(style)) : nullptr;
  SIZE iconSize{0, 0};
  if (icon) {
    SendMessageW(iconStatic, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    iconSize = SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  } else {
    ShowWindow(iconStatic, SW_HIDE);
  }

  // 2. The buttons of the set, the details toggle after them.
  const bool details = HasDetailsArea(style);
  record->noCancel = set.noCancel;
  if (set.noCancel) EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  const int defaultIndex = std::min<int>((style & ZQ_MB_DEFBUTTON_MASK) >> 8, set.count - 1);

  // 4. The check box comes before the buttons in the tab order.
  const WCHAR* checkText = record->checkText ? record->checkText : LibraryText(IDS_MB_DONT_SHOW);
  if (record->checkState) {
    state->check = CreateChild(dialog, L"Button", checkText, WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX,
                               0, ZQ_IDCHECKBOX, font);
    SendMessageW(state->check, BM_SETCHECK, *record->checkState ? BST_CHECKED : BST_UNCHECKED, 0);
  }

  HWND buttons[kMaxButtons + 1] = {};
  int widest = 0;
  for (int i = 0; i < set.count; ++i) {
    const WCHAR* caption = LibraryText(ButtonCaptionId(set.ids[i]));
    widest = std::max(widest, LineWidth(dc, caption, static_cast<int>(wcslen(caption)), 0));
    DWORD buttonStyle = WS_VISIBLE | WS_TABSTOP | (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    if (i == 0) buttonStyle |= WS_GROUP;
    buttons[i] = CreateChild(dialog, L"Button", caption, buttonStyle, 0, set.ids[i], font);
  }
  int buttonCount = set.count;
  if (details) {
    const WCHAR* show = LibraryText(IDS_MB_DETAILS_SHOW);
    const WCHAR* hide = LibraryText(IDS_MB_DETAILS_HIDE);
    widest = std::max(widest, LineWidth(dc, show, static_cast<int>(wcslen(show)), 0));
    widest = std::max(widest, LineWidth(dc, hide, static_cast<int>(wcslen(hide)), 0));
    state->toggle = CreateChild(dialog, L"Button", show, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                ZQ_IDDETAILS, font);
    buttons[buttonCount++] = state->toggle;
  }
  const int buttonWidth = std::max<int>(widest + m.averageChar, m.button.cx);
  const int buttonsWidth = buttonCount * buttonWidth + (buttonCount - 1) * m.gap;

  // 3. The text area.
  const int iconSpace = icon ? iconSize.cx + m.marginX : 0;
  const int available = screenWidth * 3 / 8 - iconSpace;
  const int maxHeight = details ? screenHeight * 3 / 8 : screenHeight * 3 / 4;
  const SIZE text = MeasureText(dc, record->text, available, maxHeight, m);
  int checkWidth = 0;
  if (state->check) {
    checkWidth = LineWidth(dc, checkText, static_cast<int>(wcslen(checkText)), 0) + 3 * m.averageChar;
  }
  SelectObject(dc, oldFont);
  ReleaseDC(dialog, dc);

  // Client width: the content, the check box, the buttons.
  const int contentHeight = std::max<int>(text.cy, iconSize.cy);
  int clientWidth = m.marginX + iconSpace + text.cx + m.marginX;
  clientWidth = std::max(clientWidth, 2 * m.marginX + checkWidth);
  clientWidth = std::max(clientWidth, 2 * m.marginX + buttonsWidth);
  const DWORD windowStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
  const DWORD windowExStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, windowStyle, FALSE, windowExStyle);
  const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
  // 5. With a details area the box is at least 3/8 of the screen wide.
  if (details) clientWidth = std::max(clientWidth, screenWidth * 3 / 8 - frameWidth);

  // Place everything from the top down.
  if (icon) Place(iconStatic, m.marginX, m.marginY, iconSize.cx, iconSize.cy);
  const int textTop = m.marginY + (text.cy < iconSize.cy ? (iconSize.cy - text.cy) / 2 : 0);
  HWND textStatic = GetDlgItem(dialog, kTextId);
  SetWindowTextW(textStatic, record->text);
  Place(textStatic, m.marginX + iconSpace, textTop, text.cx, text.cy);
  int y = m.marginY + contentHeight + m.marginY;
  if (state->check) {
    Place(state->check, m.marginX, y, clientWidth - 2 * m.marginX, m.checkBox.cy);
    y += m.checkBox.cy + m.marginY;
  }
  // Right-aligned under a check box, else centred.
  int x = state->check ? clientWidth - m.marginX - buttonsWidth : (clientWidth - buttonsWidth) / 2;
  for (int i = 0; i < buttonCount; ++i, x += buttonWidth + m.gap) Place(buttons[i], x, y, buttonWidth, m.button.cy);
  const int clientHeight = y + m.button.cy + m.marginY;
  const int windowHeight = clientHeight + frameHeight;

  // 5. The details area below the content, hidden until the toggle opens it.
  if (details) {
    const int usual = screenHeight * 3 / 8 * 2 / 3;
    const int editHeight = windowHeight > usual ? std::min(windowHeight, screenHeight * 3 / 8) : usual;
    state->details = CreateChild(dialog, L"Edit", L"",
                                 WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                                 WS_EX_CLIENTEDGE, ZQ_IDDETAILSTEXT, font);
    SendMessageW(state->details, EM_SETLIMITTEXT, 0, 0);
    std::unique_ptr<WCHAR[]> shown = EditLineBreaks(record->details);
    SetWindowTextW(state->details, shown ? shown.get() : record->details);
    Place(state->details, m.marginX, clientHeight + m.marginY, clientWidth - 2 * m.marginX, editHeight);
    record->detailsHeight = editHeight + 2 * m.marginY;
  }

  // 6. Size, centre, focus on the default button.
  SetWindowPos(dialog, nullptr, 0, 0, clientWidth + frameWidth, windowHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CentreWindow(dialog, record->owner);
  SendMessageW(dialog, DM_SETDEFID, set.ids[defaultIndex], 0);
  SetFocus(buttons[defaultIndex]);
  return FALSE;
}

void ToggleDetails(HWND dialog, DialogState* state) noexcept {
  CustomBoxRecord* record = state->record;
  if (!state->details) return;
  record->detailsShown = !record->detailsShown;
  RECT r;
  GetWindowRect(dialog, &r);
  const int change = record->detailsShown ? record->detailsHeight : -record->detailsHeight;
  const int height = r.bottom - r.top + change;
  // A box that would grow past the bottom of its monitor's work area moves
  // up as far as it must (never above the work area's top).
  const RECT area = MonitorArea(dialog, true);
  int top = r.top;
  if (top + height > area.bottom) top = std::max<int>(area.top, area.bottom - height);
  SetWindowPos(dialog, nullptr, r.left, top, r.right - r.left, height, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(state->details, record->detailsShown ? SW_SHOWNA : SW_HIDE);
  SetWindowTextW(state->toggle, LibraryText(record->detailsShown ? IDS_MB_DETAILS_HIDE : IDS_MB_DETAILS_SHOW));
}

void End(HWND dialog, DialogState* state, int result) noexcept {
  if (state->check && state->record->checkState)
    *state->record->checkState = SendMessageW(state->check, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  EndDialog(dialog, result);
}

bool IsButtonOfSet(const ButtonSet& set, int id) noexcept {
  for (int i = 0; i < set.count; ++i)
    if (set.ids[i] == id) return true;
  return false;
}

void Command(HWND dialog, DialogState* state, int id) noexcept {
  if (id == ZQ_IDDETAILS) {
    ToggleDetails(dialog, state);
  } else if (id == IDCANCEL) {
    // Escape, the Close item, or the Cancel button.
    if (state->record->noCancel) return;
    End(dialog, state, state->set->okOnly ? IDOK : IDCANCEL);
  } else if (IsButtonOfSet(*state->set, id)) {
    End(dialog, state, id);
  }
}

INT_PTR CALLBACK MessageBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
      case WM_INITDIALOG:
        return Initialise(dialog, reinterpret_cast<DialogState*>(lParam));
      case WM_COMMAND:
        // Clicks, accelerators, and the dialog manager's Enter and Escape.
        if (state && HIWORD(wParam) <= 1) Command(dialog, state, LOWORD(wParam));
        return TRUE;
      case WM_CTLCOLORSTATIC:
        // The details read on the window colour, as text to be read does.
        if (state && reinterpret_cast<HWND>(lParam) == state->details) {
          HDC dc = reinterpret_cast<HDC>(wParam);
          SetTextColor(dc, UiColour(COLOR_WINDOWTEXT));
          SetBkColor(dc, UiColour(COLOR_WINDOW));
          return reinterpret_cast<INT_PTR>(UiBrush(COLOR_WINDOW));
        }
        return FALSE;
      default:
        return FALSE;
    }
  } catch (...) {
    return FALSE;
  }
}

}  // namespace

int RunCustomDialog(HINSTANCE instance, CustomBoxRecord* record) noexcept {
  const DLGTEMPLATE* dialogTemplate = BuildMessageBoxTemplate();
  if (!dialogTemplate) return 0;
  DialogState state{record, &ButtonSetOf(record->style), nullptr, nullptr, nullptr};
  const INT_PTR result = DialogBoxIndirectParamW(instance, dialogTemplate, record->owner, MessageBoxProc,
                                                 reinterpret_cast<LPARAM>(&state));
  FreeMessageBoxTemplate(dialogTemplate);
  return result == -1 ? 0 : static_cast<int>(result);
}

}  // namespace zq::errors
