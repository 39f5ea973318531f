// The window-text setters on real windows: formatting and its bound, string
// ids, the "no flash" form that leaves an unchanged text alone, the
// multi-line edit print, bad windows and null formats, the dialog font fix.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "zq/lang.h"
#include "zq/msgbox.h"
#include "zq/printf.h"

namespace {

constexpr int kStatic = 10, kEdit = 11, kButton = 12;

int g_setTextCount = 0;
WNDPROC g_staticProc = nullptr;

// Counts the texts set on the static control.
LRESULT CALLBACK CountSetText(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) ++g_setTextCount;
  return CallWindowProcW(g_staticProc, window, message, wParam, lParam);
}

std::wstring TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(length + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(wcslen(text.c_str()));
  return text;
}

class WindowText : public ::testing::Test {
 protected:
  void SetUp() override {
    HINSTANCE self = GetModuleHandleW(nullptr);
    window_ = CreateWindowExW(0, L"Static", L"start", WS_POPUP | WS_CAPTION, 10, 10, 400, 300, nullptr, nullptr,
                              self, nullptr);
    ASSERT_NE(window_, nullptr);
    auto child = [&](const wchar_t* cls, DWORD style, int id) {
      return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 300, 100, window_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), self, nullptr);
    };
    static_ = child(L"Static", 0, kStatic);
    edit_ = child(L"Edit", ES_MULTILINE | ES_AUTOVSCROLL, kEdit);
    button_ = child(L"Button", BS_PUSHBUTTON, kButton);
    ASSERT_TRUE(static_ && edit_ && button_);
    g_staticProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(static_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountSetText)));
    g_setTextCount = 0;
  }
  void TearDown() override { DestroyWindow(window_); }

  HWND window_ = nullptr, static_ = nullptr, edit_ = nullptr, button_ = nullptr;
};

TEST_F(WindowText, SettersFormatAndReturnTheLength) {
  EXPECT_EQ(ZqSetWindowText(window_, L"Track %d of %s", 3, L"12"), 13);
  EXPECT_EQ(TextOf(window_), L"Track 3 of 12");
  EXPECT_EQ(ZqSetDlgItemText(window_, kStatic, L"%s", L"50% of $(AppName)"), 17);
  EXPECT_EQ(TextOf(static_), L"50% of $(AppName)");
  EXPECT_EQ(ZqSetDlgItemText(window_, kButton, L"plain text"), 10);
  EXPECT_EQ(TextOf(button_), L"plain text");
  ASSERT_TRUE(ZqPrintF_AddToken(L"Song", L"Demo"));
  EXPECT_EQ(ZqSetWindowText(window_, L"$(Song) - %d%%", 7), 9);
  EXPECT_EQ(TextOf(window_), L"Demo - 7%");
  ZqPrintF_DeleteToken(L"Song");
}

TEST_F(WindowText, StringIds) {
  HZQLANG lang = nullptr;
  ASSERT_EQ(ZqLang_Open(&lang, GetModuleHandleW(L"quillet.dll"), 0, 0), S_OK);
  const std::wstring expected = L"\n\nThe file 'b.mid' is in use by another operation.";
  EXPECT_EQ(ZqSetWindowTextId(lang, window_, 48027, L"b.mid"), static_cast<int>(expected.size()));
  EXPECT_EQ(TextOf(window_), expected);
  EXPECT_EQ(ZqSetDlgItemTextId(lang, window_, kButton, 48315), 11);
  EXPECT_EQ(TextOf(button_), L"Yes to &All");
  EXPECT_EQ(ZqSetDlgItemTextId(nullptr, window_, kStatic, 48320), 11);  // the library's own handle
  EXPECT_EQ(TextOf(static_), L"No &Details");
  ZqLang_Close(lang);
}

TEST_F(WindowText, BadInputSetsNothing) {
  EXPECT_EQ(ZqSetWindowText(window_, nullptr), 0);
  EXPECT_EQ(TextOf(window_), L"start");
  EXPECT_EQ(ZqSetDlgItemText(window_, kStatic, nullptr), 0);
  EXPECT_EQ(ZqSetDlgItemTextNoFlash(window_, kStatic, nullptr), 0);
  EXPECT_EQ(g_setTextCount, 0);
  EXPECT_EQ(ZqSetDlgItemText(window_, 999, L"no such item"), 0);
  EXPECT_EQ(ZqSetDlgItemTextNoFlash(window_, 999, L"no such item"), 0);
  EXPECT_EQ(ZqSetWindowText(reinterpret_cast<HWND>(0x7FFF0), L"no window %d", 1), 0);
  EXPECT_EQ(ZqSetDlgItemText(nullptr, kStatic, L"no dialog"), 0);
}

TEST_F(WindowText, FormattingIsBoundedTo2048Characters) {
  // Three conversions of 1,000 characters each (the printer writes at most
  // 1,023 per string conversion).
  const std::wstring part(1000, L'x');
  const std::wstring all = part + L"-" + part + L"-" + part;
  EXPECT_EQ(ZqSetWindowText(window_, L"%s-%s-%s", part.c_str(), part.c_str(), part.c_str()), 2047);
  EXPECT_EQ(TextOf(window_), all.substr(0, 2047));
  EXPECT_EQ(ZqMEditPrintF(edit_, L"~%s-%s-%s", part.c_str(), part.c_str(), part.c_str()), 2047);
  EXPECT_EQ(TextOf(edit_), all.substr(0, 2047));
  // A text without directives is set as it stands, however long.
  const std::wstring plain(3000, L'p');
  EXPECT_EQ(ZqSetDlgItemText(window_, kButton, plain.c_str()), 3000);
  EXPECT_EQ(TextOf(button_), plain);
}

TEST_F(WindowText, NoFlashLeavesAnUnchangedTextAlone) {
  EXPECT_EQ(ZqSetDlgItemTextNoFlash(window_, kStatic, L"Volume %d", 90), 9);
  EXPECT_EQ(g_setTextCount, 1);
  EXPECT_EQ(ZqSetDlgItemTextNoFlash(window_, kStatic, L"Volume %d", 90), 9);
  EXPECT_EQ(g_setTextCount, 1);  // untouched
  EXPECT_EQ(ZqSetDlgItemTextNoFlash(window_, kStatic, L"Volume 90 "), 10);
  EXPECT_EQ(g_setTextCount, 2);
  EXPECT_EQ(ZqSetDlgItemTextNoFlash(window_, kStatic, L"volume 90 "), 10);  // case counts
  EXPECT_EQ(g_setTextCount, 3);
  // Texts of 8,192 characters and more are always set.
  const std::wstring longText(8192, L'v');
  EXPECT_EQ(ZqSetDlgItemTextNoFlash(window_, kStatic, longText.c_str()), 8192);
  EXPECT_EQ(ZqSetDlgItemTextNoFlash(window_, kStatic, longText.c_str()), 8192);
  EXPECT_EQ(g_setTextCount, 5);
  const std::wstring shorter(8191, L'v');
  EXPECT_EQ(ZqSetDlgItemTextNoFlash(window_, kStatic, shorter.c_str()), 8191);
  EXPECT_EQ(ZqSetDlgItemTextNoFlash(window_, kStatic, shorter.c_str()), 8191);
  EXPECT_EQ(g_setTextCount, 6);
}

TEST_F(WindowText, MultiLineEditPrint) {
  EXPECT_EQ(ZqMEditPrintF(edit_, L"line %d", 1), 6);
  EXPECT_EQ(ZqMEditPrintF(edit_, L"~abc"), 3);
  EXPECT_EQ(ZqMEditPrintF(edit_, L"~~%s", L"de"), 2);
  EXPECT_EQ(ZqMEditPrintF(edit_, L"~"), 0);
  EXPECT_EQ(ZqMEditPrintF(edit_, L"100%% done"), 9);
  EXPECT_EQ(ZqMEditPrintF(edit_, L"plain 100%"), 10);
  EXPECT_EQ(TextOf(edit_), L"line 1\r\nabcde100% done\r\nplain 100%\r\n");
  // The text goes to the end, whatever the selection.
  SendMessageW(edit_, EM_SETSEL, 0, 3);
  EXPECT_EQ(ZqMEditPrintF(edit_, L"~end"), 3);
  EXPECT_EQ(TextOf(edit_), L"line 1\r\nabcde100% done\r\nplain 100%\r\nend");
  // A null format clears the control.
  EXPECT_EQ(ZqMEditPrintF(edit_, nullptr), 0);
  EXPECT_EQ(TextOf(edit_), L"");
}

TEST_F(WindowText, DialogFontOnlyOutsideCodePage1252) {
  HFONT font = CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  const LRESULT before = SendMessageW(static_, WM_GETFONT, 0, 0);
  const BOOL result = ZqDlgInitFont(window_, font);
  if (GetACP() == 1252) {
    EXPECT_EQ(result, FALSE);
    EXPECT_EQ(SendMessageW(static_, WM_GETFONT, 0, 0), before);
  } else {
    EXPECT_EQ(result, TRUE);
    for (HWND child : {static_, edit_, button_})
      EXPECT_EQ(SendMessageW(child, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
  }
  DestroyWindow(window_);
  window_ = nullptr;
  DeleteObject(font);
}

}  // namespace
