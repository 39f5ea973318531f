// Dialog and window conveniences on a dialog built from a template: control
// rectangles and groups, radio groups, a dropped combo box, hooked dialogs
// lined up with their main dialog, toolbars, classes, OLE and copies of
// global blocks.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "zq/dlgtemplate.h"
#include "zq/lang.h"
#include "zq/window.h"

namespace {

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

enum { kRadio1 = 10, kRadio2, kRadio3, kCheck = 20, kEdit, kCombo, kWide, kNarrow };

// A modeless dialog with a radio group, a check box, an edit, a combo box
// and two static controls.
class Dialog {
 public:
  explicit Dialog(HWND parent = nullptr, short x = 10, short cx = 200) {
    const WORD button = 0x80, edit = 0x81, statik = 0x82, combo = 0x85;
    const ZQDLGITEMEX items[] = {
        {0, 0, WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | WS_GROUP, 5, 5, 60, 10, kRadio1,
         MAKEINTRESOURCEW(button), L"One", 0, nullptr},
        {0, 0, WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 5, 17, 60, 10, kRadio2, MAKEINTRESOURCEW(button), L"Two",
         0, nullptr},
        {0, 0, WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 5, 29, 60, 10, kRadio3, MAKEINTRESOURCEW(button),
         L"Three", 0, nullptr},
        {0, 0, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | WS_GROUP, 80, 5, 60, 10, kCheck, MAKEINTRESOURCEW(button),
         L"Check", 0, nullptr},
        {0, 0, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 80, 17, 60, 12, kEdit, MAKEINTRESOURCEW(edit),
         L"text", 0, nullptr},
        {0, 0, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 80, 32, 60, 60, kCombo,
         MAKEINTRESOURCEW(combo), nullptr, 0, nullptr},
        {0, 0, WS_CHILD | WS_VISIBLE | SS_LEFT, 5, 50, 150, 8, kWide, MAKEINTRESOURCEW(statik), L"wide", 0, nullptr},
        {0, 0, WS_CHILD | WS_VISIBLE | SS_LEFT, 20, 62, 30, 8, kNarrow, MAKEINTRESOURCEW(statik), L"narrow", 0,
         nullptr},
    };
    ZQDLGTEMPLATEEX header{};
    header.style = DS_SETFONT | WS_POPUP | WS_CAPTION | WS_VISIBLE | (parent ? WS_CHILD : 0);
    if (parent) header.style &= ~(WS_POPUP | WS_CAPTION);
    header.itemCount = 8;
    header.x = x, header.y = 10, header.cx = cx, header.cy = 80;
    header.title = L"Conveniences";
    header.pointSize = 8;
    header.weight = FW_NORMAL;
    header.charSet = DEFAULT_CHARSET;
    LPDLGTEMPLATEW built = ZqCreateDialogTemplateEx(nullptr, &header, items, nullptr);
    hwnd = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), built, parent, QuietProc, 0);
    GlobalFree(GlobalHandle(built));
  }
  ~Dialog() { DestroyWindow(hwnd); }
  HWND item(int id) const { return GetDlgItem(hwnd, id); }
  RECT rect() const {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
  }
  HWND hwnd;
};

RECT ClientRectOf(HWND dialog, HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(DialogControls, RectanglesGroupsAndRadioButtons) {
  Dialog dialog;
  ASSERT_NE(dialog.hwnd, nullptr);
  RECT rect;
  ASSERT_TRUE(ZqDlgGetControlRect(dialog.hwnd, nullptr, kEdit, &rect));
  const RECT edit = ClientRectOf(dialog.hwnd, dialog.item(kEdit));
  EXPECT_TRUE(EqualRect(&rect, &edit));
  ASSERT_TRUE(ZqDlgGetControlRect(dialog.hwnd, dialog.item(kCheck), 0, &rect));
  const RECT check = ClientRectOf(dialog.hwnd, dialog.item(kCheck));
  EXPECT_TRUE(EqualRect(&rect, &check));
  EXPECT_FALSE(ZqDlgGetControlRect(dialog.hwnd, nullptr, 999, &rect));
  EXPECT_TRUE(IsRectEmpty(&rect));

  const int group[] = {kCheck, kEdit, 999};
  EXPECT_TRUE(ZqDlgEnableControls(dialog.hwnd, group, 3, FALSE));
  EXPECT_FALSE(IsWindowEnabled(dialog.item(kCheck)));
  EXPECT_FALSE(IsWindowEnabled(dialog.item(kEdit)));
  EXPECT_TRUE(IsWindowEnabled(dialog.item(kCombo)));
  ZqDlgEnableControls(dialog.hwnd, group, 2, TRUE);
  EXPECT_TRUE(IsWindowEnabled(dialog.item(kEdit)));
  EXPECT_TRUE(ZqDlgShowControls(dialog.hwnd, group, 2, FALSE));
  EXPECT_FALSE(IsWindowVisible(dialog.item(kCheck)));
  EXPECT_TRUE(IsWindowVisible(dialog.item(kCombo)));
  HWND active = GetActiveWindow();
  ZqDlgShowControls(dialog.hwnd, group, 2, TRUE);
  EXPECT_TRUE(IsWindowVisible(dialog.item(kEdit)));
  EXPECT_EQ(GetActiveWindow(), active);
  EXPECT_FALSE(ZqDlgEnableControls(dialog.hwnd, nullptr, 2, TRUE));

  EXPECT_EQ(ZqDlgWhichRadioButton(dialog.hwnd, kRadio1, kRadio3, -7), -7);
  CheckDlgButton(dialog.hwnd, kRadio2, BST_CHECKED);
  EXPECT_EQ(ZqDlgWhichRadioButton(dialog.hwnd, kRadio1, kRadio3, -7), kRadio2);
  CheckDlgButton(dialog.hwnd, kRadio3, BST_CHECKED);
  EXPECT_EQ(ZqDlgWhichRadioButton(dialog.hwnd, kRadio1, kRadio3, -7), kRadio2);  // the first one ticked
  EXPECT_EQ(ZqDlgWhichRadioButton(dialog.hwnd, kRadio3, kRadio3, -7), kRadio3);

  // Points in the control: right and bottom edges excluded, screen or client coordinates.
  RECT screen;
  GetWindowRect(dialog.item(kEdit), &screen);
  EXPECT_TRUE(ZqIsMouseInControl(dialog.hwnd, kEdit, screen.left, screen.top, FALSE));
  EXPECT_FALSE(ZqIsMouseInControl(dialog.hwnd, kEdit, screen.right, screen.top, FALSE));
  EXPECT_FALSE(ZqIsMouseInControl(dialog.hwnd, kEdit, screen.left, screen.bottom, FALSE));
  EXPECT_TRUE(ZqIsMouseInControl(dialog.hwnd, kEdit, edit.right - 1, edit.bottom - 1, TRUE));
  EXPECT_FALSE(ZqIsMouseInControl(dialog.hwnd, kEdit, edit.right, edit.bottom - 1, TRUE));
  EXPECT_FALSE(ZqIsMouseInControl(dialog.hwnd, 999, edit.left, edit.top, TRUE));
}

TEST(DialogControls, RealClientRectCountsTheScrollBars) {
  for (DWORD bars : {DWORD(0), DWORD(WS_VSCROLL), DWORD(WS_HSCROLL), DWORD(WS_VSCROLL | WS_HSCROLL)}) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE | bars, 20, 20, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    RECT client, real;
    GetClientRect(window, &client);
    ASSERT_TRUE(ZqGetRealClientRect(window, &real));
    EXPECT_EQ(real.right, client.right + ((bars & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0));
    EXPECT_EQ(real.bottom, client.bottom + ((bars & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0));
    DestroyWindow(window);
  }
  RECT rect{1, 2, 3, 4};
  EXPECT_FALSE(ZqGetRealClientRect(nullptr, &rect));
}

TEST(DialogControls, DroppedComboBoxIsClosed) {
  Dialog dialog;
  HWND combo = dialog.item(kCombo);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"first"));
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"second"));
  SetForegroundWindow(dialog.hwnd);
  SetFocus(combo);
  EXPECT_FALSE(ZqDlgUndropComboBox(0));  // not dropped
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_TRUE(ZqDlgUndropComboBox(0));
  EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  SetFocus(dialog.item(kEdit));
  EXPECT_FALSE(ZqDlgUndropComboBox(0));  // an edit that is not in a combo box
}

TEST(DialogControls, HookedDialogsLineUpWithTheMainDialog) {
  Dialog main(nullptr, 10, 240);
  Dialog hook(main.hwnd, 0, 100);
  ASSERT_NE(hook.hwnd, nullptr);
  // The hook's control takes the horizontal extent of the main dialog's.
  RECT before = ClientRectOf(hook.hwnd, hook.item(kNarrow));
  ASSERT_TRUE(ZqSetHorizHookControlPos(hook.hwnd, nullptr, kNarrow, kWide));
  RECT after = ClientRectOf(hook.hwnd, hook.item(kNarrow));
  RECT wide;
  GetWindowRect(main.item(kWide), &wide);
  RECT afterScreen;
  GetWindowRect(hook.item(kNarrow), &afterScreen);
  EXPECT_EQ(afterScreen.left, wide.left);
  EXPECT_EQ(afterScreen.right, wide.right);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  EXPECT_FALSE(ZqSetHorizHookControlPos(hook.hwnd, main.hwnd, kNarrow, 999));

  const RECT hookBefore = hook.rect();
  ASSERT_LT(hookBefore.right, main.rect().right);
  EXPECT_FALSE(ZqLineupHookWithMainDialog(hook.hwnd, nullptr));
  EXPECT_EQ(hook.rect().right, main.rect().right);
  EXPECT_EQ(hook.rect().left, hookBefore.left);
  EXPECT_EQ(hook.rect().bottom - hook.rect().top, hookBefore.bottom - hookBefore.top);
  EXPECT_TRUE(ZqLineupHookWithMainDialog(hook.hwnd, main.hwnd));  // already there
}

TEST(WindowHelpers, ToolbarSizeCountsTheVisibleButtons) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 200, nullptr,
                                nullptr, nullptr, nullptr);
  HZQLANG lang = nullptr;
  ZqLang_Open(&lang, GetModuleHandleW(nullptr), 0, 0);
  HWND toolbar = ZqCreateToolbarEmpty(lang, parent, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 77);
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(GetDlgCtrlID(toolbar), 77);
  EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(toolbar, GWLP_HINSTANCE)), ZqLang_InstFromLang(lang));
  SIZE size{-1, -1};
  EXPECT_TRUE(ZqGetToolbarSize(toolbar, &size));
  EXPECT_EQ(size.cx, 0);
  EXPECT_EQ(size.cy, 0);
  TBBUTTON buttons[4] = {};
  for (int i = 0; i < 4; ++i) {
    buttons[i].iBitmap = I_IMAGENONE;
    buttons[i].idCommand = 100 + i;
    buttons[i].fsState = TBSTATE_ENABLED | (i == 2 ? TBSTATE_HIDDEN : 0);
    buttons[i].fsStyle = i == 1 ? BTNS_SEP : BTNS_BUTTON;
  }
  SendMessageW(toolbar, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
  int width = 0, height = 0;
  for (int i : {0, 1, 3}) {
    RECT r;
    SendMessageW(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    width += r.right - r.left;
    height = std::max<int>(height, r.bottom - r.top);
  }
  ASSERT_TRUE(ZqGetToolbarSize(toolbar, &size));
  EXPECT_EQ(size.cx, width);
  EXPECT_EQ(size.cy, height);
  EXPECT_GT(size.cx, 0);
  EXPECT_FALSE(ZqGetToolbarSize(toolbar, nullptr));
  DestroyWindow(parent);
  ZqLang_Close(lang);
}

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(WindowHelpers, ClassesPreviousInstanceOleAndCopies) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = PlainProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"QuilletPreviousInstance";
  ASSERT_NE(ZqRegisterClass(&cls), 0);
  EXPECT_EQ(ZqActivatePrevAppInstance(L"QuilletPreviousInstance"), nullptr);
  HWND previous = CreateWindowExW(0, cls.lpszClassName, L"previous", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 200,
                                  100, nullptr, nullptr, cls.hInstance, nullptr);
  ShowWindow(previous, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(previous));
  EXPECT_EQ(ZqActivatePrevAppInstance(L"QuilletPreviousInstance"), previous);
  EXPECT_FALSE(IsIconic(previous));
  DestroyWindow(previous);
  EXPECT_TRUE(ZqUnregisterClass(L"QuilletPreviousInstance", cls.hInstance));
  EXPECT_FALSE(ZqUnregisterClass(L"QuilletPreviousInstance", cls.hInstance));
  EXPECT_FALSE(ZqUnregisterClass(nullptr, cls.hInstance));
  EXPECT_EQ(ZqRegisterClass(nullptr), 0);

  EXPECT_FALSE(ZqOleInit(FALSE));  // not initialised
  EXPECT_TRUE(ZqOleInit(TRUE));
  EXPECT_TRUE(ZqOleInit(TRUE));    // once
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);  // the apartment OLE made
  EXPECT_TRUE(ZqOleInit(FALSE));
  EXPECT_FALSE(ZqOleInit(FALSE));

  const char bytes[] = "global bytes\0with a zero";
  HGLOBAL source = GlobalAlloc(GMEM_MOVEABLE, sizeof(bytes));
  std::memcpy(GlobalLock(source), bytes, sizeof(bytes));
  GlobalUnlock(source);
  HGLOBAL copy = ZqCopyHandle(source);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, source);
  EXPECT_EQ(GlobalSize(copy), sizeof(bytes));
  EXPECT_EQ(GlobalFlags(copy) & GMEM_LOCKCOUNT, 0u);
  EXPECT_EQ(std::memcmp(GlobalLock(copy), bytes, sizeof(bytes)), 0);
  GlobalUnlock(copy);
  GlobalFree(copy);
  GlobalFree(source);
  EXPECT_EQ(ZqCopyHandle(nullptr), nullptr);
}

}  // namespace
