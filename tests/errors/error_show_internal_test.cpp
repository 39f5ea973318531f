// What reaches the message box: the text as written, the warning prefix,
// the details copy and its style bits, the reset afterwards, the exception
// filter. The show step is replaced by a recording hook, so no box appears.
// The program carries the library's error strings itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/module_state.h"
#include "errors/show_message.h"
#include "text/printer.h"
#include "zq/errors.h"
#include "zq/lang.h"
#include "zq/printf.h"

namespace {

struct Shown {
  HWND owner;
  std::wstring text, caption;
  UINT style;
  bool hasDetails;
  std::wstring details;
  bool detailsTerminatedAtCopyLimit;
};

struct Recorder {
  std::vector<Shown> shown;
  int answer = IDRETRY;
};
Recorder g_recorder;

constexpr int kCopyCharacters = 16368 / 2;

int Record(void* context, HWND owner, const WCHAR* text, const WCHAR* caption, UINT style,
           const WCHAR* details) noexcept {
  auto* recorder = static_cast<Recorder*>(context);
  Shown s{owner, text, caption, style, details != nullptr, {}, false};
  if (details) {
    // The copy is at most 16,368 bytes: a terminator within them.
    s.detailsTerminatedAtCopyLimit = wmemchr(details, 0, kCopyCharacters) != nullptr;
    s.details = details;
  }
  recorder->shown.push_back(s);
  return recorder->answer;
}

class LibraryStrings : public ::testing::Environment {
 public:
  void SetUp() override {
    HINSTANCE self = GetModuleHandleW(nullptr);
    zq::core::SetModuleInstance(self);
    ASSERT_TRUE(zq::text::TokenTableStartup());
    ASSERT_EQ(ZqLang_Open(&lang_, self, 0, 0), S_OK);
    zq::core::SetDefaultLang(lang_);
  }
  void TearDown() override {
    zq::core::SetDefaultLang(nullptr);
    ZqLang_Close(lang_);
    zq::text::TokenTableShutdown();
  }

 private:
  HZQLANG lang_ = nullptr;
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new LibraryStrings);

class ShowStep : public ::testing::Test {
 protected:
  void SetUp() override {
    g_recorder = Recorder{};
    zq::errors::SetShowMessageHook(Record, &g_recorder);
    ZqErrorHandler_DetailsInit();
  }
  void TearDown() override { zq::errors::SetShowMessageHook(nullptr, nullptr); }
  const Shown& Only() {
    EXPECT_EQ(g_recorder.shown.size(), 1u);
    static Shown none{};
    return g_recorder.shown.empty() ? none : g_recorder.shown.back();
  }
};

TEST_F(ShowStep, TextIsShownAsWrittenWithOrWithoutTheWarning) {
  const wchar_t* text = L"Cannot open C:\\100%s\\$(AppName)\\%d%n%%.mid";
  HWND owner = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(ZqErrorHandler_MsgBoxText(owner, MB_YESNO | MB_ICONSTOP, text, FALSE), IDRETRY);
  EXPECT_EQ(Only().text, text);
  EXPECT_EQ(Only().owner, owner);
  EXPECT_EQ(Only().style, static_cast<UINT>(MB_YESNO | MB_ICONSTOP));
  EXPECT_FALSE(Only().hasDetails);

  g_recorder.shown.clear();
  ZqErrorHandler_MsgBoxText(reinterpret_cast<HWND>(-1), 0, text, TRUE);
  EXPECT_EQ(Only().text, std::wstring(L"Warning: ") + text);
  EXPECT_EQ(Only().owner, reinterpret_cast<HWND>(-1));

  g_recorder.shown.clear();
  ZqErrorHandler_MsgBoxText(nullptr, 0, nullptr, TRUE);
  EXPECT_EQ(Only().text, L"Warning: ");
  // A long text is not cut.
  g_recorder.shown.clear();
  std::wstring longText(20000, L'%');
  ZqErrorHandler_MsgBoxText(nullptr, 0, longText.c_str(), FALSE);
  EXPECT_EQ(Only().text, longText);
}

TEST_F(ShowStep, MessageWithAFileNameIsShownAsComposed) {
  const wchar_t* file = L"D:\\50%s $(Tok) %x.mid";
  ASSERT_TRUE(ZqPrintF_AddToken(L"Tok", L"replaced"));
  std::wstring expected = ZqErrorHandler_GetErrorMessage(ZQ_ERROR_OPERATION(5), ZQ_E_FILE_OPEN, file);
  EXPECT_NE(expected.find(file), std::wstring::npos);
  ZqErrorHandler_MsgBox(nullptr, MB_OK, ZQ_ERROR_OPERATION(5), ZQ_E_FILE_OPEN, file, FALSE);
  EXPECT_EQ(Only().text, expected);
  EXPECT_EQ(Only().text,
            std::wstring(L"An error occurred while loading the project file ") + file +
                L".\n\nThe file could not be opened. Make sure the file exists and that you have access to the "
                L"file/folder.");
  ZqPrintF_DeleteToken(L"Tok");
}

TEST_F(ShowStep, CancelledShowsNothing) {
  ZqErrorHandler_DetailsAddString(ZQ_E_CANCELLED, L"kept");
  EXPECT_EQ(ZqErrorHandler_MsgBox(nullptr, MB_YESNO, nullptr, ZQ_E_CANCELLED, nullptr, TRUE), IDOK);
  EXPECT_TRUE(g_recorder.shown.empty());
  EXPECT_EQ(ZqErrorHandler_GetLastError(), ZQ_E_CANCELLED);
}

TEST_F(ShowStep, DetailsGoWithTheBoxAndAreResetAfterwards) {
  ASSERT_EQ(ZqErrorHandler_DetailsAddString(ZQ_E_FILE_READ, L"plain 1"), S_OK);
  ASSERT_EQ(ZqErrorHandler_DetailsAddString(ZQ_E_FILE_READ, L"track %d of %s: 100%%", 3, L"a%s$b"), S_OK);
  ASSERT_TRUE(ZqPrintF_AddToken(L"Who", L"Tarn"));
  ASSERT_EQ(ZqErrorHandler_DetailsAddString(ZQ_E_FILE_READ, L"$(Who) costs $$5"), S_OK);
  ZqPrintF_DeleteToken(L"Who");
  // A refused line changes nothing.
  ASSERT_EQ(ZqErrorHandler_DetailsAddString(ZQ_E_FILE_READ, std::wstring(9000, L'r').c_str()), E_FAIL);
  ASSERT_EQ(ZqErrorHandler_DetailsAddString(ZQ_E_FILE_READ, nullptr), E_POINTER);

  ZqErrorHandler_MsgBoxText(nullptr, MB_OK | 0x4000, L"text", FALSE);
  EXPECT_TRUE(Only().hasDetails);
  EXPECT_EQ(Only().details, L"plain 1\r\ntrack 3 of a%s$b: 100%\r\nTarn costs $5\r\n");
  EXPECT_EQ(Only().style, static_cast<UINT>(MB_OK | ZQ_MB_DETAILS));
  EXPECT_EQ(ZqErrorHandler_GetLastError(), S_OK);

  // The reset: the next box has no details, and its details bits are cleared.
  g_recorder.shown.clear();
  ZqErrorHandler_MsgBoxText(nullptr, MB_OK | ZQ_MB_DETAILS, L"text", FALSE);
  EXPECT_FALSE(Only().hasDetails);
  EXPECT_EQ(Only().style, static_cast<UINT>(MB_OK));
}

TEST_F(ShowStep, DetailsCopyIsCutAndTerminated) {
  // 8,190 characters of details: more than the 16,368-byte copy holds.
  std::wstring full;
  for (int i = 0; i < 8; ++i) {
    std::wstring line(998, static_cast<wchar_t>(L'a' + i));
    ASSERT_EQ(ZqErrorHandler_DetailsAddString(ZQ_E_FILE_READ, line.c_str()), S_OK);
    full += line + L"\r\n";
  }
  ASSERT_EQ(ZqErrorHandler_DetailsAddString(ZQ_E_FILE_READ, std::wstring(188, L'z').c_str()), S_OK);
  full += std::wstring(188, L'z') + L"\r\n";
  ASSERT_EQ(full.size(), 8190u);
  ZqErrorHandler_MsgBoxText(nullptr, MB_OK, L"text", FALSE);
  EXPECT_TRUE(Only().detailsTerminatedAtCopyLimit);
  EXPECT_EQ(Only().details, full.substr(0, kCopyCharacters - 1));
}

TEST_F(ShowStep, ExceptionFilterShowsTheReportInTheDetails) {
  CONTEXT context{};
  context.ContextFlags = CONTEXT_FULL;
  RtlCaptureContext(&context);
  EXCEPTION_RECORD record{};
  record.ExceptionCode = 0xC0000094;
  record.ExceptionAddress = reinterpret_cast<void*>(context.Eip);
  EXCEPTION_POINTERS pointers{&record, &context};
  ZqErrorHandler_DetailsAddString(ZQ_E_FILE_READ, L"earlier line");

  EXPECT_EQ(ZqErrorHandler_ExceptionFilter(&pointers, "render%s"), EXCEPTION_EXECUTE_HANDLER);
  const Shown& s = Only();
  EXPECT_EQ(s.text, L"An error occurred during the current operation.\n\nAn Exception has occurred.");
  EXPECT_EQ(s.owner, reinterpret_cast<HWND>(-1));
  EXPECT_EQ(s.style, static_cast<UINT>(MB_ICONEXCLAMATION | ZQ_MB_DETAILS));
  ASSERT_TRUE(s.hasDetails);
  EXPECT_EQ(s.details.find(L"earlier line"), std::wstring::npos);
  EXPECT_EQ(s.details.rfind(L"Exception 0xC0000094 (integer divide by zero) IP:0x", 0), 0u) << s.details;
  EXPECT_NE(s.details.find(L"Thread: render%s ID="), std::wstring::npos);
  EXPECT_NE(s.details.find(L"Registers:\r\n"), std::wstring::npos);
  EXPECT_NE(s.details.find(L"Stack Dump:\r\n"), std::wstring::npos);
  EXPECT_LE(s.details.size(), 4095u + 2u);
  EXPECT_EQ(ZqErrorHandler_GetLastError(), S_OK);  // reset by the box

  // A datatype misalignment is left to the next handler, and nothing shown.
  g_recorder.shown.clear();
  record.ExceptionCode = 0x80000002;
  EXPECT_EQ(ZqErrorHandler_ExceptionFilter(&pointers, nullptr), EXCEPTION_CONTINUE_SEARCH);
  EXPECT_TRUE(g_recorder.shown.empty());
}

}  // namespace
