// The error boxes the module really shows (the library's own box, details
// in its details area), answered by a hook on this thread: what a person
// would read, and that a cancelled operation shows nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "test_paths.h"
#include "zq/errors.h"
#include "msgbox_test_support.h"
#include "screenshot.h"

namespace {

struct Seen {
  std::wstring caption, text;
  bool hasDetails = false;
  std::wstring details;  // the details area's text
};
std::vector<Seen> g_seen;
HHOOK g_hook = nullptr;
const wchar_t* g_screenshot = nullptr;  // name of the next box's screenshot


void PressOk(HWND box) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

void CALLBACK ShootAndPressOk(HWND box, UINT, UINT_PTR timer, DWORD) {
  KillTimer(box, timer);
  testsupport::SaveWindowScreenshot(box, g_screenshot);
  g_screenshot = nullptr;
  PressOk(box);
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM param) {
  wchar_t cls[32];
  GetClassNameW(child, cls, 32);
  if (lstrcmpiW(cls, L"Static") == 0) {
    int length = GetWindowTextLengthW(child);
    std::wstring text(length + 1, L'\0');
    GetWindowTextW(child, text.data(), length + 1);
    text.resize(length);
    auto* best = reinterpret_cast<std::wstring*>(param);
    if (text.size() > best->size()) *best = text;
  }
  return TRUE;
}

// Reads the box when it is activated and presses its first button.
LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam) {
  static HWND answered = nullptr;
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    wchar_t cls[32];
    GetClassNameW(box, cls, 32);
    // Each box of this thread once: a box is activated again when another
    // process's window closes, and other processes' boxes can show up here.
    if (lstrcmpW(cls, L"#32770") == 0 && box != answered &&
        GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId()) {
      answered = box;
      Seen seen;
      wchar_t caption[256];
      GetWindowTextW(box, caption, 256);
      seen.caption = caption;
      EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&seen.text));
      if (HWND details = GetDlgItem(box, 201)) {
        seen.hasDetails = true;
        int length = GetWindowTextLengthW(details);
        seen.details.assign(length + 1, L'\0');
        GetWindowTextW(details, seen.details.data(), length + 1);
        seen.details.resize(length);
      }
      g_seen.push_back(seen);
      if (g_screenshot) SetTimer(box, 1, 300, ShootAndPressOk);  // once it is drawn
      else PressOk(box);
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

class RealBoxes : public ::testing::Test {
 protected:
  msgboxtest::Watchdog watchdog_{30};  // a box nobody answered ends the test
  void SetUp() override {
    g_seen.clear();
    g_hook = SetWindowsHookExW(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    ZqErrorHandler_DetailsInit();
  }
  void TearDown() override { UnhookWindowsHookEx(g_hook); }
};

TEST_F(RealBoxes, TextWithPercentAndDollarAppearsAsWritten) {
  const wchar_t* text = L"Cannot open C:\\100%s\\$(AppName)\\%d%n.mid";
  EXPECT_EQ(ZqErrorHandler_MsgBoxText(reinterpret_cast<HWND>(-1), MB_OK | MB_ICONSTOP, text, FALSE), IDOK);
  ASSERT_EQ(g_seen.size(), 1u);
  EXPECT_EQ(g_seen[0].text, text);
}

TEST_F(RealBoxes, ComposedErrorWithAFileName) {
  const wchar_t* file = L"E:\\take 5%s.wav";
  g_screenshot = L"errors_composed_message";
  EXPECT_EQ(ZqErrorHandler_MsgBox(nullptr, MB_OK, ZQ_ERROR_OPERATION(6), ZQ_E_DISK_FULL, file, TRUE), IDOK);
  ASSERT_EQ(g_seen.size(), 1u);
  EXPECT_EQ(g_seen[0].text, std::wstring(L"Warning: An error occurred while saving the project file ") + file +
                                L".\n\nThe disk is full. Please free some space and try again.");
}

TEST_F(RealBoxes, DetailsFollowTheTextOnce) {
  ASSERT_EQ(ZqErrorHandler_DetailsAddString(ZQ_E_FILE_READ, L"chunk %d at 0x%08X", 4, 0x1F00u), S_OK);
  ZqErrorHandler_MsgBoxText(nullptr, MB_OK, L"Read failed.", FALSE);
  ZqErrorHandler_MsgBoxText(nullptr, MB_OK, L"Again.", FALSE);
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[0].text, L"Read failed.");
  EXPECT_TRUE(g_seen[0].hasDetails);
  EXPECT_EQ(g_seen[0].details, L"chunk 4 at 0x00001F00\r\n");
  EXPECT_EQ(g_seen[1].text, L"Again.");
  EXPECT_FALSE(g_seen[1].hasDetails);
}

TEST_F(RealBoxes, CancelledOperationShowsNothing) {
  EXPECT_EQ(ZqErrorHandler_MsgBox(nullptr, MB_YESNO, nullptr, ZQ_E_CANCELLED, nullptr, FALSE), IDOK);
  EXPECT_TRUE(g_seen.empty());
}

TEST_F(RealBoxes, ExceptionFilterReports) {
  CONTEXT context{};
  context.ContextFlags = CONTEXT_FULL;
  RtlCaptureContext(&context);
  EXCEPTION_RECORD record{};
  record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
  record.ExceptionAddress = reinterpret_cast<void*>(context.Eip);
  EXCEPTION_POINTERS pointers{&record, &context};
  g_screenshot = L"errors_exception_report";
  EXPECT_EQ(ZqErrorHandler_ExceptionFilter(&pointers, "main"), EXCEPTION_EXECUTE_HANDLER);
  ASSERT_EQ(g_seen.size(), 1u);
  EXPECT_EQ(g_seen[0].text, L"An error occurred during the current operation.\n\nAn Exception has occurred.");
  EXPECT_EQ(g_seen[0].caption, L"MIDI Quillet");
  // The report in the details, after the application's caption.
  const std::wstring start = L"MIDI Quillet\r\nException 0xC0000005 (access violation) IP:0x";
  EXPECT_EQ(g_seen[0].details.substr(0, start.size()), start);
}

}  // namespace
