// Dialogs, accelerators, menus and data through a handle: language module
// first, module as fallback. Dialogs are modeless or end themselves.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "lang_test_ids.h"
#include "screenshot.h"
#include "lang_test_support.h"
#include "settings/lang_ids.h"

using namespace langtest;

namespace {

std::wstring g_initCaption;

INT_PTR CALLBACK EndAtOnce(HWND dialog, UINT message, WPARAM, LPARAM param) {
  if (message == WM_INITDIALOG) {
    g_initCaption = WindowText(dialog);
    EndDialog(dialog, param);
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK Quiet(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::string Bytes(const void* data, DWORD size) { return std::string(static_cast<const char*>(data), size); }

// The data of a resource in a module file, read without the library.
std::string FileResource(const std::wstring& file, LPCWSTR name, LPCWSTR type, WORD language) {
  HMODULE data = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  std::string bytes;
  HRSRC found = data ? FindResourceExW(data, type, name, language) : nullptr;
  if (found) bytes = Bytes(LockResource(LoadResource(data, found)), SizeofResource(data, found));
  if (data) FreeLibrary(data);
  return bytes;
}

std::string ProgramResource(LPCWSTR name, LPCWSTR type) {
  HRSRC found = FindResourceW(Program(), name, type);
  return found ? Bytes(LockResource(LoadResource(Program(), found)), SizeofResource(Program(), found)) : "";
}

}  // namespace

TEST(LangDialogs, GermanDialogFromTheLibraryLanguageModule) {
  Handle lang(Library());
  lang.German();
  HWND dialog = ZqCreateDialogParam(lang, MAKEINTRESOURCEW(IDD_ZQ_LANGUAGE_CHECK), nullptr, Quiet, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), L"Sprachmodul pr\u00FCfen");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_ZQ_LANGUAGE_NAME)), L"Sprache: Deutsch");
  ShowWindow(dialog, SW_SHOW);
  UpdateWindow(dialog);
  PumpMessages(200);
  EXPECT_TRUE(testsupport::SaveWindowScreenshot(dialog, L"lang_german_dialog").saved);
  EXPECT_TRUE(DestroyWindow(dialog));
  // The module has no such dialog: in English there is nothing to create.
  lang.English();
  EXPECT_EQ(ZqCreateDialogParam(lang, MAKEINTRESOURCEW(IDD_ZQ_LANGUAGE_CHECK), nullptr, Quiet, 0), nullptr);
}

TEST(LangDialogs, ModelessDialogsFollowTheLanguageAndFallBack) {
  Handle lang(Program());
  struct Case {
    bool german;
    UINT id;
    const wchar_t* caption;
  } cases[] = {{false, IDD_T_BOTH, L"Test dialog"},
               {true, IDD_T_BOTH, L"Testdialog"},
               {true, IDD_T_MODULE_ONLY, L"Program dialog"}};
  for (const Case& c : cases) {
    if (c.german) lang.German(); else lang.English();
    HWND dialog = ZqCreateDialogParam(lang, MAKEINTRESOURCEW(c.id), nullptr, Quiet, 0);
    ASSERT_NE(dialog, nullptr) << c.id;
    EXPECT_EQ(WindowText(dialog), c.caption);
    DestroyWindow(dialog);
  }
  EXPECT_EQ(ZqCreateDialogParam(lang, MAKEINTRESOURCEW(999), nullptr, Quiet, 0), nullptr);
  EXPECT_EQ(ZqCreateDialogParam(nullptr, MAKEINTRESOURCEW(IDD_T_BOTH), nullptr, Quiet, 0), nullptr);
}

TEST(LangDialogs, ModalDialogsEndThemselvesAndReportTheirResult) {
  Handle lang(Program());
  lang.German();
  EXPECT_EQ(ZqDialogBoxParam(lang, MAKEINTRESOURCEW(IDD_T_BOTH), nullptr, EndAtOnce, 17), 17);
  EXPECT_EQ(g_initCaption, L"Testdialog");
  EXPECT_EQ(ZqDialogBoxParam(lang, MAKEINTRESOURCEW(IDD_T_MODULE_ONLY), nullptr, EndAtOnce, 18), 18);
  EXPECT_EQ(g_initCaption, L"Program dialog");
  EXPECT_EQ(ZqDialogBoxParam(lang, MAKEINTRESOURCEW(999), nullptr, EndAtOnce, 19), -1);
  EXPECT_EQ(ZqDialogBoxParam(nullptr, MAKEINTRESOURCEW(IDD_T_BOTH), nullptr, EndAtOnce, 19), -1);
}

TEST(LangDialogs, IndirectTemplates) {
  auto* dialogTemplate = static_cast<LPCDLGTEMPLATEW>(
      LockResource(LoadResource(Program(), FindResourceW(Program(), MAKEINTRESOURCEW(IDD_T_MODULE_ONLY), RT_DIALOG))));
  ASSERT_NE(dialogTemplate, nullptr);
  Handle lang(Program());
  lang.German();
  HWND dialog = ZqCreateDialogIndirectParam(lang, dialogTemplate, nullptr, Quiet, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), L"Program dialog");
  EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)),
            GetModuleHandleW(L"lang_tests.lng"));
  DestroyWindow(dialog);
  EXPECT_EQ(ZqDialogBoxIndirectParam(lang, dialogTemplate, nullptr, EndAtOnce, 23), 23);
  EXPECT_EQ(ZqCreateDialogIndirectParam(lang, nullptr, nullptr, Quiet, 0), nullptr);
  EXPECT_EQ(ZqDialogBoxIndirectParam(lang, nullptr, nullptr, EndAtOnce, 0), -1);
}

TEST(LangDialogs, DialogSizeIsTheCreatedWindowsSize) {
  Handle lang(Program());
  for (bool german : {false, true}) {
    if (german) lang.German();
    HWND reference = ZqCreateDialogParam(lang, MAKEINTRESOURCEW(IDD_T_BOTH), GetDesktopWindow(), Quiet, 0);
    ASSERT_NE(reference, nullptr);
    RECT rect;
    GetWindowRect(reference, &rect);
    DestroyWindow(reference);
    SIZE size{-1, -1};
    EXPECT_TRUE(ZqGetDialogSize(lang, MAKEINTRESOURCEW(IDD_T_BOTH), Quiet, 0, &size));
    EXPECT_EQ(size.cx, rect.right - rect.left);
    EXPECT_EQ(size.cy, rect.bottom - rect.top);
  }
  SIZE untouched{5, 6};
  EXPECT_FALSE(ZqGetDialogSize(lang, MAKEINTRESOURCEW(999), Quiet, 0, &untouched));
  EXPECT_EQ(untouched.cx, 5);
  EXPECT_FALSE(ZqGetDialogSize(nullptr, MAKEINTRESOURCEW(IDD_T_BOTH), Quiet, 0, &untouched));
}

TEST(LangAccelerators, TranslatedTableFromTheLanguageModule) {
  Handle lang(Program());
  ACCEL entry{};
  HACCEL english = ZqLoadAccelerators(lang, MAKEINTRESOURCEW(IDA_T_KEYS));
  ASSERT_NE(english, nullptr);
  ASSERT_EQ(CopyAcceleratorTableW(english, &entry, 1), 1);
  EXPECT_EQ(entry.key, 'O');
  EXPECT_EQ(entry.cmd, IDM_T_OPEN);
  lang.German();
  HACCEL german = ZqLoadAccelerators(lang, MAKEINTRESOURCEW(IDA_T_KEYS));
  ASSERT_NE(german, nullptr);
  ASSERT_EQ(CopyAcceleratorTableW(german, nullptr, 0), 1);
  ASSERT_EQ(CopyAcceleratorTableW(german, &entry, 1), 1);
  EXPECT_EQ(entry.key, 'F');
  EXPECT_EQ(entry.cmd, IDM_T_SAVE);
  EXPECT_EQ(entry.fVirt & (FVIRTKEY | FCONTROL | FSHIFT), FVIRTKEY | FCONTROL | FSHIFT);
  DestroyAcceleratorTable(german);
  EXPECT_EQ(ZqLoadAccelerators(lang, MAKEINTRESOURCEW(999)), nullptr);
  EXPECT_EQ(ZqLoadAccelerators(nullptr, MAKEINTRESOURCEW(IDA_T_KEYS)), nullptr);
}

TEST(LangMenus, LoadedMenuFollowsTheLanguage) {
  Handle lang(Library());
  lang.German();
  HMENU menu = ZqLoadMenu(lang, MAKEINTRESOURCEW(IDM_ZQ_LANGUAGE_CHECK));
  ASSERT_NE(menu, nullptr);
  WCHAR text[64];
  GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Datei");
  GetMenuStringW(menu, IDM_ZQ_LANGUAGE_OPEN, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"\u00D6&ffnen");
  DestroyMenu(menu);
  lang.English();
  EXPECT_EQ(ZqLoadMenu(lang, MAKEINTRESOURCEW(IDM_ZQ_LANGUAGE_CHECK)), nullptr);
  EXPECT_EQ(ZqLoadMenu(nullptr, MAKEINTRESOURCEW(IDM_ZQ_LANGUAGE_CHECK)), nullptr);
}

TEST(LangData, CustomResourcesComeFromTheLanguageModuleFirst) {
  Handle lang(Program());
  std::wstring lng = BinPath(L"lang_tests.lng");
  DWORD size = 99;
  HGLOBAL data = ZqLoadResourceCustom(lang, MAKEINTRESOURCEW(IDR_T_BOTH), RT_RCDATA, &size);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(Bytes(LockResource(data), size), ProgramResource(MAKEINTRESOURCEW(IDR_T_BOTH), RT_RCDATA));
  lang.German();
  data = ZqLoadResourceCustom(lang, MAKEINTRESOURCEW(IDR_T_BOTH), RT_RCDATA, &size);
  ASSERT_NE(data, nullptr);
  std::string german = FileResource(lng, MAKEINTRESOURCEW(IDR_T_BOTH), RT_RCDATA, kGerman);
  ASSERT_FALSE(german.empty());
  EXPECT_EQ(Bytes(LockResource(data), size), german);
  data = ZqLoadResourceCustom(lang, MAKEINTRESOURCEW(IDR_T_MODULE_ONLY), RT_RCDATA, &size);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(Bytes(LockResource(data), size), ProgramResource(MAKEINTRESOURCEW(IDR_T_MODULE_ONLY), RT_RCDATA));
  size = 99;
  EXPECT_EQ(ZqLoadResourceCustom(lang, MAKEINTRESOURCEW(999), RT_RCDATA, &size), nullptr);
  EXPECT_EQ(size, 0u);
  EXPECT_NE(ZqLoadResourceCustom(lang, MAKEINTRESOURCEW(IDR_T_BOTH), RT_RCDATA, nullptr), nullptr);
  EXPECT_EQ(ZqLoadResourceCustom(nullptr, MAKEINTRESOURCEW(IDR_T_BOTH), RT_RCDATA, &size), nullptr);
}

TEST(LangData, FoundResourcesLoadFromTheModuleThatHoldsThem) {
  Handle lang(Program());
  lang.German();
  HMODULE lng = GetModuleHandleW(L"lang_tests.lng");
  // Found in the language module.
  HRSRC both = ZqFindResource(lang, MAKEINTRESOURCEW(IDR_T_BOTH), RT_RCDATA);
  ASSERT_NE(both, nullptr);
  EXPECT_EQ(Bytes(LockResource(ZqLoadResource(lang, both)), ZqSizeofResource(lang, both)),
            FileResource(BinPath(L"lang_tests.lng"), MAKEINTRESOURCEW(IDR_T_BOTH), RT_RCDATA, kGerman));
  EXPECT_EQ(ZqFindResInstance(lang, MAKEINTRESOURCEW(IDR_T_BOTH), RT_RCDATA), lng);
  // Found in the module although the language module is in use: loading
  // it must still read the module's bytes.
  HRSRC only = ZqFindResource(lang, MAKEINTRESOURCEW(IDR_T_MODULE_ONLY), RT_RCDATA);
  ASSERT_NE(only, nullptr);
  EXPECT_EQ(Bytes(LockResource(ZqLoadResource(lang, only)), ZqSizeofResource(lang, only)),
            ProgramResource(MAKEINTRESOURCEW(IDR_T_MODULE_ONLY), RT_RCDATA));
  EXPECT_EQ(ZqFindResInstance(lang, MAKEINTRESOURCEW(IDR_T_MODULE_ONLY), RT_RCDATA), Program());
  EXPECT_EQ(ZqFindResource(lang, MAKEINTRESOURCEW(999), RT_RCDATA), nullptr);
  EXPECT_EQ(ZqLoadResource(lang, nullptr), nullptr);
  EXPECT_EQ(ZqSizeofResource(lang, nullptr), 0u);
  EXPECT_EQ(ZqLoadResource(nullptr, both), nullptr);
  EXPECT_EQ(ZqFindResInstance(nullptr, MAKEINTRESOURCEW(IDR_T_BOTH), RT_RCDATA), nullptr);
}

TEST(LangData, FindResourceMultiTakesTheFirstMatchingType) {
  Handle lang(Program());
  const LPCWSTR types[] = {L"ZQDATA", RT_RCDATA};
  int index = 7;
  HRSRC found = ZqFindResourceMulti(lang, MAKEINTRESOURCEW(IDR_T_TYPES), types, 2, &index);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(index, 1);  // English: only the module's RCDATA
  EXPECT_EQ(Bytes(LockResource(ZqLoadResource(lang, found)), ZqSizeofResource(lang, found)),
            ProgramResource(MAKEINTRESOURCEW(IDR_T_TYPES), RT_RCDATA));
  lang.German();
  found = ZqFindResourceMulti(lang, MAKEINTRESOURCEW(IDR_T_TYPES), types, 2, &index);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(Bytes(LockResource(ZqLoadResource(lang, found)), ZqSizeofResource(lang, found)),
            FileResource(BinPath(L"lang_tests.lng"), MAKEINTRESOURCEW(IDR_T_TYPES), L"ZQDATA", kGerman));
  EXPECT_EQ(ZqFindResourceMulti(lang, MAKEINTRESOURCEW(999), types, 2, &index), nullptr);
  EXPECT_EQ(index, -1);
  index = 7;
  EXPECT_EQ(ZqFindResourceMulti(lang, MAKEINTRESOURCEW(IDR_T_TYPES), nullptr, 2, &index), nullptr);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(ZqFindResourceMulti(lang, MAKEINTRESOURCEW(IDR_T_TYPES), types, 0, nullptr), nullptr);
}

TEST(LangImages, ImagesComeFromTheHandlesModuleOrTheSystem) {
  EXPECT_EQ(ZqLoadCursor(nullptr, IDC_ARROW), LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(ZqLoadIcon(nullptr, IDI_APPLICATION), LoadIconW(nullptr, IDI_APPLICATION));
  // A null handle with a name the system does not know looks in the library:
  // it has its own cursors, but none with this id.
  EXPECT_NE(ZqLoadCursor(nullptr, MAKEINTRESOURCEW(5)), nullptr);
  EXPECT_EQ(ZqLoadCursor(nullptr, MAKEINTRESOURCEW(4000)), nullptr);
  Handle lang(Program());
  EXPECT_EQ(ZqLoadCursor(lang, IDC_ARROW), nullptr);  // the program has no cursors
  EXPECT_EQ(ZqLoadBitmap(lang, MAKEINTRESOURCEW(1)), nullptr);
  HANDLE icon = ZqLoadImage(nullptr, IDI_APPLICATION, IMAGE_ICON, 0, 0, LR_SHARED);
  EXPECT_NE(icon, nullptr);
  EXPECT_EQ(ZqImageList_LoadImage(lang, MAKEINTRESOURCEW(1), 16, 1, CLR_NONE, IMAGE_BITMAP, 0), nullptr);
}
