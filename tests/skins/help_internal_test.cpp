// Help files and context help, with the help viewers replaced by
// recorders: the search order with files made for the test and the shared
// folder set through reg.exe, the localisation rules, topics and pop-ups
// as the viewers receive them, and the toolbar hit test on a real toolbar.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include <string>
#include <vector>

#include "core/module_state.h"
#include "registry_helpers.h"
#include "skins/help_viewers.h"
#include "test_paths.h"
#include "zq/help.h"
#include "zq/lang.h"

namespace {

struct Call {
  int viewer;  // 0 WinHelp, 1 HtmlHelp
  HWND window;
  std::wstring file;
  UINT command;
  ULONG_PTR data;
  HH_POPUP popup;
};
std::vector<Call> g_calls;
HWND g_htmlAnswer = nullptr;

BOOL WINAPI RecordWinHelp(HWND w, LPCWSTR file, UINT command, ULONG_PTR data) {
  g_calls.push_back({0, w, file, command, data, {}});
  return TRUE;
}
HWND WINAPI RecordHtmlHelp(HWND w, LPCWSTR file, UINT command, DWORD_PTR data) {
  Call c{1, w, file, command, data, {}};
  if (command == HH_DISPLAY_TEXT_POPUP) c.popup = *reinterpret_cast<const HH_POPUP*>(data);
  g_calls.push_back(c);
  return g_htmlAnswer;
}

std::wstring Bin() { return testsupport::ExeDirectory() + L"\\"; }
void Touch(const std::wstring& path) { CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)); }
void Remove(const std::wstring& path) { DeleteFileW(path.c_str()); }

class Help : public ::testing::Test {
 protected:
  void SetUp() override {
    const zq::skins::HelpViewers recorders{RecordWinHelp, RecordHtmlHelp};
    zq::skins::SetHelpViewers(&recorders);
    g_calls.clear();
    UseLanguage(0x0409);
  }
  void TearDown() override {
    zq::skins::SetHelpViewers(nullptr);
    zq::core::SetDefaultLang(nullptr);
    if (lang_) ZqLang_Close(lang_);
    lang_ = nullptr;
    SharedFolder(nullptr);
    for (const wchar_t* name : {L"help_tests.chm", L"help_testsDEU.chm", L"help_testsDE-x.chm", L"help_tests.hlp"})
      Remove(Bin() + name);
  }
  // The library's language: English (ENU) or German (DEU).
  void UseLanguage(LCID lcid) {
    zq::core::SetDefaultLang(nullptr);
    if (lang_) ZqLang_Close(lang_);
    ZqLang_Open(&lang_, GetModuleHandleW(nullptr), lcid, 0);
    zq::core::SetDefaultLang(lang_);
  }
  // Sets (or deletes, for null) the shared help folder with reg.exe.
  static void SharedFolder(const wchar_t* folder) {
    const std::wstring key = L"\"HKLM\\Software\\Halvane\\Shared Information\"";
    if (folder) {
      ASSERT_EQ(testsupport::RunSystemProgram(L"reg.exe add " + key + L" /v HelpFolder /t REG_SZ /d \"" + folder +
                                              L"\" /f"),
                0u);
    } else {
      testsupport::RunSystemProgram(L"reg.exe delete " + key + L" /v HelpFolder /f");
    }
  }
  HMODULE Self() const { return GetModuleHandleW(nullptr); }
  HZQLANG lang_ = nullptr;
};

TEST_F(Help, LocalisedFilesAreFoundInTheirOrder) {
  WCHAR path[MAX_PATH];
  Touch(Bin() + L"help_tests.chm");
  Touch(Bin() + L"help_testsDEU.chm");
  Touch(Bin() + L"help_testsDE-x.chm");
  // English: no localised file is looked for, even when one exists.
  EXPECT_FALSE(ZqHelp_CreateHelpFilePath(ZQHELP_HTML, Self(), path, MAX_PATH));
  EXPECT_EQ(std::wstring(path), Bin() + L"help_tests.chm");
  UseLanguage(0x0407);
  EXPECT_TRUE(ZqHelp_CreateHelpFilePath(ZQHELP_HTML, Self(), path, MAX_PATH));
  EXPECT_EQ(std::wstring(path), Bin() + L"help_testsDEU.chm");  // the exact abbreviation first
  Remove(Bin() + L"help_testsDEU.chm");
  EXPECT_TRUE(ZqHelp_CreateHelpFilePath(ZQHELP_HTML, Self(), path, MAX_PATH));
  EXPECT_EQ(std::wstring(path), Bin() + L"help_testsDE-x.chm");  // then DE and anything
  Remove(Bin() + L"help_testsDE-x.chm");
  EXPECT_FALSE(ZqHelp_CreateHelpFilePath(ZQHELP_HTML, Self(), path, MAX_PATH));
  EXPECT_EQ(std::wstring(path), Bin() + L"help_tests.chm");
  // Classic help: ".hlp"; a short buffer is cut, never overrun.
  WCHAR small[12];
  ZqHelp_CreateHelpFilePath(ZQHELP_CLASSIC, Self(), small, 12);
  EXPECT_EQ(wcslen(small), 11u);
  EXPECT_FALSE(ZqHelp_CreateHelpFilePath(ZQHELP_HTML, Self(), nullptr, MAX_PATH));
}

TEST_F(Help, SharedFolderThenModuleThenHost) {
  WCHAR path[MAX_PATH];
  const std::wstring shared = testsupport::BuildPath(L"help-shared");
  CreateDirectoryW(shared.c_str(), nullptr);
  SharedFolder(shared.c_str());
  ASSERT_TRUE(ZqHelp_CreateSharedHelpFilePath(ZQHELP_HTML, Self(), path, MAX_PATH));
  EXPECT_EQ(std::wstring(path), shared + L"\\help_tests.chm");
  EXPECT_TRUE(ZqHelp_CreateHelpFilePathEX(ZQHELP_HTML, Self(), path, MAX_PATH));
  EXPECT_EQ(std::wstring(path), shared + L"\\help_tests.chm");
  // Preferring the shared file, which does not exist: the unshared one.
  Touch(Bin() + L"help_tests.chm");
  EXPECT_TRUE(ZqHelp_CreatePluginHelpFilePath(ZQHELP_HTML, Self(), path, MAX_PATH, TRUE));
  EXPECT_EQ(std::wstring(path), Bin() + L"help_tests.chm");
  Touch(shared + L"\\help_tests.chm");
  EXPECT_TRUE(ZqHelp_CreatePluginHelpFilePath(ZQHELP_HTML, Self(), path, MAX_PATH, TRUE));
  EXPECT_EQ(std::wstring(path), shared + L"\\help_tests.chm");
  EXPECT_TRUE(ZqHelp_CreatePluginHelpFilePath(ZQHELP_HTML, Self(), path, MAX_PATH, FALSE));
  EXPECT_EQ(std::wstring(path), Bin() + L"help_tests.chm");
  Remove(shared + L"\\help_tests.chm");
  // No shared folder: the module's own folder.
  SharedFolder(nullptr);
  EXPECT_FALSE(ZqHelp_CreateSharedHelpFilePath(ZQHELP_HTML, Self(), path, MAX_PATH));
  ZqHelp_CreateHelpFilePathEX(ZQHELP_HTML, Self(), path, MAX_PATH);
  EXPECT_EQ(std::wstring(path), Bin() + L"help_tests.chm");
  SharedFolder(L"Z:\\no\\such\\folder");
  EXPECT_FALSE(ZqHelp_CreateSharedHelpFilePath(ZQHELP_HTML, Self(), path, MAX_PATH));
  // A module elsewhere: its help file beside the host is found.
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  Touch(Bin() + L"kernel32.chm");
  EXPECT_TRUE(ZqHelp_CreateUnsharedHelpFilePath(ZQHELP_HTML, kernel, path, MAX_PATH));
  EXPECT_EQ(std::wstring(path), Bin() + L"kernel32.chm");
  Remove(Bin() + L"kernel32.chm");
  EXPECT_FALSE(ZqHelp_CreatePluginHelpFilePath(ZQHELP_HTML, kernel, path, MAX_PATH, FALSE));
  EXPECT_STREQ(path, L"");
}

TEST_F(Help, TopicsAndPopupsReachTheViewers) {
  const std::wstring file = Bin() + L"help_tests.hlp";
  ZqHelp_SetHelpFilePath(ZQHELP_CLASSIC, file.c_str());
  ZqHelp_SetHelpFilePath(ZQHELP_HTML, L"Z:\\docs\\manual.chm");
  ZqHelp_SetHelpFilePath(7, L"ignored");
  WCHAR current[8];
  ZqHelp_GetHelpFilePath(ZQHELP_HTML, current, 8);
  EXPECT_STREQ(current, L"Z:\\docs");
  // Classic help for a file that is not there opens nothing (commands 0, 2).
  EXPECT_FALSE(ZqHelp_ContextHelp(ZQHELP_CLASSIC, nullptr, 5, 0, nullptr));
  EXPECT_FALSE(ZqHelp_ContextHelp(ZQHELP_CLASSIC, nullptr, 5, HELP_QUIT, nullptr));
  EXPECT_TRUE(g_calls.empty());
  Touch(file);
  EXPECT_TRUE(ZqHelp_ContextHelp(ZQHELP_CLASSIC, nullptr, 5, HELP_CONTEXT, nullptr));
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].file, file);
  EXPECT_EQ(g_calls[0].command, static_cast<UINT>(HELP_CONTEXT));
  EXPECT_EQ(g_calls[0].data, 5u);
  // HTML Help: the desktop as owner; success only when a window came back.
  g_calls.clear();
  EXPECT_FALSE(ZqHelp_ContextHelp(ZQHELP_HTML, nullptr, 9, HH_HELP_CONTEXT, nullptr));
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].window, GetDesktopWindow());
  EXPECT_EQ(g_calls[0].file, L"Z:\\docs\\manual.chm");
  EXPECT_FALSE(ZqHelp_ContextHelp(5, nullptr, 9, 0, L"x"));

  const ZQHELPIDPAIR table[] = {{101, 5001}, {102, 0}, {0, 0}};
  g_calls.clear();
  EXPECT_FALSE(ZqHelp_ContextPopupHelp(ZQHELP_HTML, nullptr, 77, 999, table, nullptr));  // not in the table
  EXPECT_FALSE(ZqHelp_ContextPopupHelp(ZQHELP_HTML, nullptr, 77, 102, table, nullptr));  // topic 0
  EXPECT_FALSE(ZqHelp_ContextPopupHelp(ZQHELP_HTML, nullptr, 77, -1, table, nullptr));
  EXPECT_TRUE(g_calls.empty());
  g_htmlAnswer = GetDesktopWindow();
  EXPECT_TRUE(ZqHelp_ContextPopupHelp(ZQHELP_HTML, nullptr, 77, 101, table, nullptr));
  g_htmlAnswer = nullptr;
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].file, L"Z:\\docs\\manual.chm::/Popup.txt");
  EXPECT_EQ(g_calls[0].command, static_cast<UINT>(HH_DISPLAY_TEXT_POPUP));
  const HH_POPUP& p = g_calls[0].popup;
  EXPECT_EQ(p.cbStruct, 52);
  EXPECT_EQ(p.idString, 5001u);
  EXPECT_EQ(p.clrForeground, static_cast<COLORREF>(-1));
  EXPECT_EQ(p.rcMargins.left, -1);
  EXPECT_STREQ(p.pszFont, L"MS Shell Dlg, 8");
  // Classic pop-ups: through the table, or closing help without one.
  g_calls.clear();
  EXPECT_TRUE(ZqHelp_ContextPopupHelp(ZQHELP_CLASSIC, nullptr, 77, 101, table, nullptr));
  EXPECT_TRUE(ZqHelp_ContextPopupHelp(ZQHELP_CLASSIC, nullptr, 77, 555, nullptr, nullptr));
  ASSERT_EQ(g_calls.size(), 2u);
  EXPECT_EQ(g_calls[0].command, static_cast<UINT>(HELP_CONTEXTPOPUP));
  EXPECT_EQ(g_calls[0].data, 5001u);
  EXPECT_EQ(g_calls[1].command, static_cast<UINT>(HELP_QUIT));
  EXPECT_EQ(g_calls[1].data, 0u);
  // A path that already fills the limit gets no pop-up suffix and no call.
  g_calls.clear();
  const std::wstring full = L"Z:\\" + std::wstring(252, L'p') + L".chm";
  EXPECT_FALSE(ZqHelp_ContextPopupHelp(ZQHELP_HTML, nullptr, 77, 101, table, full.c_str()));
  EXPECT_TRUE(g_calls.empty());
  Remove(file);
}

TEST_F(Help, ToolbarHitTestNamesTheButtonsCommand) {
  InitCommonControls();
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, 300, 60, nullptr, nullptr,
                                nullptr, nullptr);
  HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 300, 30,
                                 parent, nullptr, nullptr, nullptr);
  ASSERT_NE(toolbar, nullptr);
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBBUTTON buttons[2] = {{0, 4001, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0}, {1, 4002, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0}};
  SendMessageW(toolbar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
  RECT second{};
  SendMessageW(toolbar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  POINT centre{(second.left + second.right) / 2, (second.top + second.bottom) / 2};
  ClientToScreen(toolbar, &centre);
  HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, 77, toolbar, 0, centre};
  EXPECT_TRUE(ZqHelp_HitTestToolbar(toolbar, &info));
  EXPECT_EQ(info.iCtrlId, 4002);
  info.MousePos = POINT{0, 0};
  info.iCtrlId = 77;
  EXPECT_FALSE(ZqHelp_HitTestToolbar(toolbar, &info));
  EXPECT_EQ(info.iCtrlId, 77);
  DestroyWindow(parent);
}

// The real HTML Help viewer, once: a missing file opens no window.
TEST(HelpViewer, RealHtmlHelpFindsNoWindowForAMissingFile) {
  EXPECT_FALSE(ZqHelp_ContextHelp(ZQHELP_HTML, nullptr, 0, HH_DISPLAY_TOPIC, L"Z:\\no\\such\\help.chm"));
}

}  // namespace
