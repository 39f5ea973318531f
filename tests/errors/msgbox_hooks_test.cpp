// The application data, the hooks and what reaches them: the UI thread rule,
// the caption limit, owner choice, the unattended answers for every button
// set and default index, the details markers, and the formatting rule
// (bounded, data never read as a format).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "msgbox_test_support.h"
#include "zq/errors.h"
#include "zq/lang.h"
#include "zq/msgbox.h"
#include "zq/printf.h"

namespace {

using msgboxtest::BoxAnswerer;
using msgboxtest::BoxTest;

const wchar_t kCaption[] = L"Hook Tests";

struct Call {
  HWND owner;
  std::wstring text, caption;
  UINT style;
};
struct Recorder {
  std::vector<Call> calls;
  int answer = 42;
};

int CALLBACK Record(LPVOID data, HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
  auto* recorder = static_cast<Recorder*>(data);
  recorder->calls.push_back({owner, text ? text : L"(null)", caption ? caption : L"(null)", style});
  return recorder->answer;
}

std::vector<std::wstring> g_reports;
void CALLBACK Report(LPCWSTR text) { g_reports.push_back(text ? text : L"(null)"); }

HINSTANCE Module() { return GetModuleHandleW(L"quillet.dll"); }

template <typename F>
void OnOtherThread(F f) {
  struct Box {
    F f;
    static DWORD WINAPI Run(void* p) {
      static_cast<Box*>(p)->f();
      return 0;
    }
  } box{f};
  HANDLE thread = CreateThread(nullptr, 0, Box::Run, &box, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(WaitForSingleObject(thread, 20000), WAIT_OBJECT_0);
  CloseHandle(thread);
}

class Hooks : public BoxTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ZqMsgBoxSetAppData(Module(), nullptr, kCaption));
    g_reports.clear();
    owner_ = msgboxtest::CreateOwnerWindow(40, 40, 300, 200);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override {
    ZqMsgBoxSetAppData(Module(), nullptr, L"MIDI Quillet");
    DestroyWindow(owner_);
  }
  void Recording() { ASSERT_TRUE(ZqMsgBoxSetHook(Record, &recorder_)); }
  const Call& Only() {
    EXPECT_EQ(recorder_.calls.size(), 1u);
    static Call none{};
    return recorder_.calls.empty() ? none : recorder_.calls.back();
  }

  HWND owner_ = nullptr;
  Recorder recorder_;
};

TEST_F(Hooks, CaptionIsCutTo127Characters) {
  std::wstring caption;
  for (int i = 0; i < 200; ++i) caption += static_cast<wchar_t>(L'a' + i % 26);
  ASSERT_TRUE(ZqMsgBoxSetAppData(Module(), nullptr, caption.c_str()));
  Recording();
  EXPECT_EQ(ZqMsgBox_Custom(owner_, MB_OK, nullptr, L"text"), 42);
  EXPECT_EQ(ZqMessageBox(owner_, L"text", nullptr, MB_OK), 42);
  ASSERT_EQ(recorder_.calls.size(), 2u);
  for (const Call& call : recorder_.calls) EXPECT_EQ(call.caption, caption.substr(0, 127));

  // A null caption is an empty one; a caller's caption is used as given.
  ASSERT_TRUE(ZqMsgBoxSetAppData(Module(), nullptr, nullptr));
  Recording();
  ZqMessageBox(owner_, L"text", nullptr, MB_OK);
  ZqMessageBox(owner_, L"text", caption.c_str(), MB_OK);
  ASSERT_EQ(recorder_.calls.size(), 4u);
  EXPECT_EQ(recorder_.calls[2].caption, L"");
  EXPECT_EQ(recorder_.calls[3].caption, caption);
}

TEST_F(Hooks, OnlyTheUiThreadSetsHooks) {
  Recording();
  BOOL setOther = -1, noUiOther = -1;
  Recorder other;
  OnOtherThread([&] {
    setOther = ZqMsgBoxSetHook(Record, &other);
    noUiOther = ZqMsgBoxSetNoUIHook(Report);
  });
  EXPECT_EQ(setOther, FALSE);
  EXPECT_EQ(noUiOther, FALSE);
  // Nothing changed: boxes still reach this thread's hook.
  EXPECT_EQ(ZqMessageBox(owner_, L"still mine", nullptr, MB_OK), 42);
  EXPECT_EQ(Only().text, L"still mine");
  EXPECT_TRUE(other.calls.empty());
  EXPECT_TRUE(g_reports.empty());

  // The thread that sets the application data becomes the UI thread.
  BOOL setThere = FALSE;
  OnOtherThread([&] {
    ZqMsgBoxSetAppData(Module(), nullptr, kCaption);
    setThere = ZqMsgBoxSetHook(Record, &other);
  });
  EXPECT_TRUE(setThere);
  EXPECT_FALSE(ZqMsgBoxSetHook(Record, &recorder_));
  EXPECT_EQ(ZqMessageBox(owner_, L"theirs", nullptr, MB_OK), 42);
  EXPECT_EQ(other.calls.size(), 1u);
}

TEST_F(Hooks, SettingTheApplicationDataClearsTheHooks) {
  Recording();
  ASSERT_TRUE(ZqMsgBoxSetAppData(Module(), nullptr, kCaption));
  BoxAnswerer answer(msgboxtest::PressEach(IDOK));
  EXPECT_EQ(ZqMessageBox(owner_, L"shown again", nullptr, MB_OK), IDOK);
  EXPECT_TRUE(recorder_.calls.empty());
  ASSERT_EQ(answer.Seen().size(), 1u);
  EXPECT_EQ(answer.Seen()[0].text, L"shown again");
}

TEST_F(Hooks, MinusOneLetsTheBoxBeShown) {
  Recording();
  recorder_.answer = IDRETRY;
  EXPECT_EQ(ZqMsgBox_Custom(owner_, MB_OK, nullptr, L"answered"), IDRETRY);
  recorder_.answer = -1;
  BoxAnswerer answer(msgboxtest::PressEach(IDOK));
  EXPECT_EQ(ZqMessageBox(owner_, L"system", L"Cap", MB_OK), IDOK);
  EXPECT_EQ(ZqMsgBox_Custom(owner_, MB_OK, nullptr, L"custom"), IDOK);
  EXPECT_EQ(recorder_.calls.size(), 3u);
  ASSERT_EQ(answer.Seen().size(), 2u);
  EXPECT_EQ(answer.Seen()[0].caption, L"Cap");
  EXPECT_EQ(answer.Seen()[1].caption, kCaption);
}

TEST_F(Hooks, OwnerChoice) {
  HWND fallback = msgboxtest::CreateOwnerWindow(400, 300, 200, 100);
  ASSERT_TRUE(ZqMsgBoxSetAppData(Module(), fallback, kCaption));
  Recording();
  const HWND none = reinterpret_cast<HWND>(-1);
  struct Case {
    HWND given, expected;
  } cases[] = {{nullptr, fallback}, {none, nullptr}, {owner_, owner_}};
  for (const Case& c : cases) {
    recorder_.calls.clear();
    ZqMessageBox(c.given, L"a", nullptr, MB_OK);
    ZqMsgBox(c.given, MB_OK, L"b");
    ZqMsgBox_Custom(c.given, MB_OK, nullptr, L"c");
    ZqMsgBox_CustomEx(c.given, MB_YESNO, nullptr, nullptr, nullptr, L"d");
    ASSERT_EQ(recorder_.calls.size(), 4u);
    for (const Call& call : recorder_.calls) EXPECT_EQ(call.owner, c.expected) << call.text;
  }
  // A default owner that is gone is no owner.
  DestroyWindow(fallback);
  recorder_.calls.clear();
  ZqMessageBox(nullptr, L"a", nullptr, MB_OK);
  EXPECT_EQ(Only().owner, nullptr);
}

// The unattended answers: set x default index, from the button sets.
int ExpectedAnswer(int set, int index) {
  static const std::vector<std::vector<int>> rows = {
      {1}, {1, 2}, {3, 4, 5}, {6, 7, 2}, {6, 7}, {4, 2}, {1}, {1}, {1}, {1},
      {6, 100, 7, 2}, {6, 7, 101}, {6, 7, 102, 2}, {6, 100, 7, 102, 2}, {1}, {1}};
  const std::vector<int>& row = rows[set];
  if (row.size() == 1 && row[0] == 1) return 1;  // OK only: any index
  return index < static_cast<int>(row.size()) ? row[index] : -1;
}

TEST_F(Hooks, UnattendedAnswerForEverySetAndDefaultIndex) {
  ASSERT_TRUE(ZqMsgBoxSetNoUIHook(Report));
  const std::wstring invalid = L"Invalid Message Box parameter...User intervention is needed!";
  // Boxes the hook cannot answer are shown: press their first button.
  BoxAnswerer answer([](HWND box, const msgboxtest::BoxView& view) {
    msgboxtest::Press(box, view.buttons.empty() ? IDOK : view.buttons[0].id);
  });
  for (int set = 0; set < 16; ++set) {
    for (int index = 0; index < 6; ++index) {
      SCOPED_TRACE(testing::Message() << "set " << set << " index " << index);
      g_reports.clear();
      const size_t shownBefore = answer.Seen().size();
      const UINT style = static_cast<UINT>(set | (index << 8) | MB_ICONQUESTION);
      const int result = ZqMsgBox(owner_, style, L"Set %d, index %d", set, index);
      const std::wstring text = L"Set " + std::to_wstring(set) + L", index " + std::to_wstring(index);
      const int expected = ExpectedAnswer(set, index);
      if (expected != -1) {
        EXPECT_EQ(result, expected);
        EXPECT_EQ(answer.Seen().size(), shownBefore);
        EXPECT_EQ(g_reports, std::vector<std::wstring>{text});
      } else {
        ASSERT_EQ(answer.Seen().size(), shownBefore + 1);
        EXPECT_EQ(result, answer.Seen().back().buttons.at(0).id);
        EXPECT_EQ(g_reports, (std::vector<std::wstring>{text, invalid}));
      }
    }
  }
}

TEST_F(Hooks, UnattendedHookAnswersZeroOffTheUiThread) {
  ASSERT_TRUE(ZqMsgBoxSetNoUIHook(Report));
  int system = -1, custom = -1;
  OnOtherThread([&] {
    system = ZqMessageBox(nullptr, L"from a worker", nullptr, MB_YESNO);
    custom = ZqMsgBox_Custom(nullptr, MB_YESNO, nullptr, L"from a worker");
  });
  EXPECT_EQ(system, 0);
  EXPECT_EQ(custom, 0);
  EXPECT_TRUE(g_reports.empty());
  // On the UI thread: Yes/No with the second button as default answers No.
  EXPECT_EQ(ZqMessageBox(nullptr, L"on the UI thread", nullptr, 0x00000104), IDNO);
}

TEST_F(Hooks, DetailsReachTheHookBetweenTheirMarkers) {
  Recording();
  const wchar_t* details = L"line 1 %s $(AppName)\r\nline 2 %n";
  const std::wstring expected = std::wstring(L"Saved 5 of 7/r/n-----DETAILS START-----/r/n") + details +
                                L"/r/n-----DETAILS END-----";
  for (UINT bits : {0xC000u, 0x4000u, 0x8000u}) {
    recorder_.calls.clear();
    EXPECT_EQ(ZqMsgBox_Custom(owner_, MB_OK | bits, details, L"Saved %d of %d", 5, 7), 42);
    EXPECT_EQ(Only().text, expected);
    EXPECT_EQ(Only().caption, kCaption);
    EXPECT_EQ(Only().style, MB_OK | bits);
  }
  // Without a details bit the details are not shown.
  recorder_.calls.clear();
  ZqMsgBox_Custom(owner_, MB_OK, details, L"Saved %d of %d", 5, 7);
  EXPECT_EQ(Only().text, L"Saved 5 of 7");
}

TEST_F(Hooks, MissingDetailsOrCheckStateShowNothing) {
  Recording();
  int state = 1;
  EXPECT_EQ(ZqMsgBox_Custom(owner_, MB_OK | 0xC000, nullptr, L"no details"), 0);
  EXPECT_EQ(ZqMsgBox_Custom(owner_, MB_OK | 0x4000, nullptr, L"no details"), 0);
  EXPECT_EQ(ZqMsgBox_CustomEx(owner_, MB_OK | 0x8000, nullptr, nullptr, &state, L"no details"), 0);
  EXPECT_EQ(ZqMsgBox_CustomEx(owner_, MB_OK | ZQ_MB_CHECKBOX, nullptr, L"check", nullptr, L"no state"), 0);
  EXPECT_TRUE(recorder_.calls.empty());
  // Bits 0x3000 both set are no check box: no state needed.
  EXPECT_EQ(ZqMsgBox_CustomEx(owner_, MB_OK | 0x3000, nullptr, nullptr, nullptr, L"fine"), 42);
  // A hook's answer leaves the check state alone.
  EXPECT_EQ(ZqMsgBox_CustomEx(owner_, MB_OK | ZQ_MB_CHECKBOX, nullptr, nullptr, &state, L"hooked"), 42);
  EXPECT_EQ(state, 1);
}

TEST_F(Hooks, FormattingIsBoundedAndDataIsNeverAFormat) {
  Recording();
  ASSERT_TRUE(ZqPrintF_AddToken(L"Who", L"Tarn"));
  // Three conversions of 1,000 characters (the printer writes at most 1,023
  // per string conversion): more than the buffer holds.
  const std::wstring part(1000, L'b');
  const std::wstring all = part + part + part;
  const std::wstring longPlain(3000, L'a');

  ZqMsgBox(owner_, MB_OK, L"%d files in %s", 3, L"C:\\x");
  ZqMsgBox(owner_, MB_OK, L"$(Who) says hello");
  ZqMsgBox(owner_, MB_OK, L"%s%s%s", part.c_str(), part.c_str(), part.c_str());
  ZqMsgBox_Custom(owner_, MB_OK, nullptr, L"%s%s%s", part.c_str(), part.c_str(), part.c_str());
  ZqMsgBox_Custom(owner_, MB_OK | 0xC000, L"%s %d", L"%s%s%s", part.c_str(), part.c_str(), part.c_str());
  ZqMsgBox(owner_, MB_OK, longPlain.c_str());
  ZqMsgBox(owner_, MB_OK, L"%s", L"100% of $(Who) %d");
  ZqMessageBox(owner_, L"100% of $(Who) %d", L"%s caption", MB_OK);
  ZqPrintF_DeleteToken(L"Who");

  ASSERT_EQ(recorder_.calls.size(), 8u);
  EXPECT_EQ(recorder_.calls[0].text, L"3 files in C:\\x");
  EXPECT_EQ(recorder_.calls[1].text, L"Tarn says hello");
  // Cut to the buffer of 2,048 characters, terminator included.
  EXPECT_EQ(recorder_.calls[2].text, all.substr(0, 2047));
  EXPECT_EQ(recorder_.calls[3].text, all.substr(0, 2047));
  EXPECT_EQ(recorder_.calls[4].text, all.substr(0, 2047) +
                                         L"/r/n-----DETAILS START-----/r/n%s %d/r/n-----DETAILS END-----");
  // A text without directives is used as it stands, however long.
  EXPECT_EQ(recorder_.calls[5].text, longPlain);
  EXPECT_EQ(recorder_.calls[6].text, L"100% of $(Who) %d");
  EXPECT_EQ(recorder_.calls[7].text, L"100% of $(Who) %d");
  EXPECT_EQ(recorder_.calls[7].caption, L"%s caption");
}

TEST_F(Hooks, StringIdFormats) {
  Recording();
  HZQLANG lang = nullptr;
  ASSERT_EQ(ZqLang_Open(&lang, Module(), 0, 0), S_OK);
  const std::wstring expected = L"\n\nThe file 'a.mid' is in use by another operation.";
  ZqMsgBoxId(lang, owner_, MB_OK, 48027, L"a.mid");
  ZqMsgBoxId(nullptr, owner_, MB_OK, 48027, L"a.mid");  // the library's own handle
  ZqMsgBoxId(lang, owner_, MB_OK, 48313);
  ZqLang_Close(lang);
  ASSERT_EQ(recorder_.calls.size(), 3u);
  EXPECT_EQ(recorder_.calls[0].text, expected);
  EXPECT_EQ(recorder_.calls[1].text, expected);
  EXPECT_EQ(recorder_.calls[2].text, L"&Yes");
}

TEST_F(Hooks, ErrorBoxesReachTheHookAsWritten) {
  Recording();
  ZqErrorHandler_DetailsInit();
  ASSERT_EQ(ZqErrorHandler_DetailsAddString(ZQ_E_FILE_READ, L"chunk %d", 4), S_OK);
  EXPECT_EQ(ZqErrorHandler_MsgBoxText(owner_, MB_OKCANCEL, L"50% of $(AppName) %s", TRUE), 42);
  EXPECT_EQ(Only().text,
            L"Warning: 50% of $(AppName) %s/r/n-----DETAILS START-----/r/nchunk 4\r\n/r/n-----DETAILS END-----");
  EXPECT_EQ(Only().style, static_cast<UINT>(MB_OKCANCEL | ZQ_MB_DETAILS));
  EXPECT_EQ(Only().caption, kCaption);
  EXPECT_EQ(Only().owner, owner_);
}

}  // namespace
