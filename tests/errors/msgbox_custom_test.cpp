// The library's own box, shown for real and answered through its buttons:
// every button set (buttons, order, captions, default, answer), Enter,
// Escape and Close, icons, the check box, the details area, the text area,
// owner and centring. Leaves a picture of the expanded details area.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "msgbox_test_support.h"
#include "screenshot.h"
#include "zq/msgbox.h"

namespace {

using msgboxtest::BoxAnswerer;
using msgboxtest::BoxTest;
using msgboxtest::BoxView;

const wchar_t kCaption[] = L"Custom Box Tests";

HINSTANCE Module() { return GetModuleHandleW(L"quillet.dll"); }

struct SetCase {
  UINT set;
  std::vector<int> ids;
  std::vector<std::wstring> captions;
  bool noCancel;  // Escape and Close do nothing
  int cancelAnswer;
};

const std::vector<SetCase>& SetCases() {
  static const std::vector<SetCase> cases = {
      {0, {1}, {L"OK"}, false, IDOK},
      {1, {1, 2}, {L"OK", L"Cancel"}, false, IDCANCEL},
      {2, {3, 4, 5}, {L"&Abort", L"&Retry", L"&Ignore"}, true, 0},
      {3, {6, 7, 2}, {L"&Yes", L"&No", L"Cancel"}, false, IDCANCEL},
      {4, {6, 7}, {L"&Yes", L"&No"}, true, 0},
      {5, {4, 2}, {L"&Retry", L"Cancel"}, false, IDCANCEL},
      {10, {6, 100, 7, 2}, {L"&Yes", L"Yes to &All", L"&No", L"Cancel"}, false, IDCANCEL},
      {11, {6, 7, 101}, {L"&Yes", L"&No", L"D&elete"}, true, 0},
      {12, {6, 7, 102, 2}, {L"&Yes", L"&No", L"N&o to All", L"Cancel"}, false, IDCANCEL},
      {13, {6, 100, 7, 102, 2}, {L"&Yes", L"Yes to &All", L"&No", L"N&o to All", L"Cancel"}, false, IDCANCEL},
      {7, {1}, {L"OK"}, false, IDOK},   // unknown sets are OK only
      {15, {1}, {L"OK"}, false, IDOK},
  };
  return cases;
}

class CustomBox : public BoxTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ZqMsgBoxSetAppData(Module(), nullptr, kCaption));
    owner_ = msgboxtest::CreateOwnerWindow(60, 80, 520, 360);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override {
    ZqMsgBoxSetAppData(Module(), nullptr, L"MIDI Quillet");
    DestroyWindow(owner_);
  }
  HWND owner_ = nullptr;
};

TEST_F(CustomBox, EveryButtonSetShowsItsButtonsAndAnswersWithThePressedOne) {
  for (const SetCase& c : SetCases()) {
    const int count = static_cast<int>(c.ids.size());
    for (int index = 0; index <= count; ++index) {  // one past the end: capped at the last
      SCOPED_TRACE(testing::Message() << "set " << c.set << " default index " << index);
      const int defaultIndex = std::min(index, count - 1);
      const int pressed = (index + 1) % count;  // not always the default
      BoxAnswerer answer([&](HWND box, const BoxView& view) { msgboxtest::Press(box, c.ids[pressed]); });
      const int result = ZqMsgBox_Custom(owner_, c.set | ZQ_MB_DEFBUTTON(index) | MB_ICONQUESTION, nullptr,
                                         L"Button set %u, default %d.", c.set, index);
      EXPECT_EQ(result, c.ids[pressed]);
      ASSERT_EQ(answer.Seen().size(), 1u);
      const BoxView& view = answer.Seen()[0];
      EXPECT_EQ(view.caption, kCaption);
      EXPECT_EQ(view.text, L"Button set " + std::to_wstring(c.set) + L", default " + std::to_wstring(index) + L".");
      EXPECT_EQ(view.Ids(), c.ids);
      ASSERT_EQ(view.buttons.size(), c.captions.size());
      for (int i = 0; i < count; ++i) {
        EXPECT_EQ(view.buttons[i].caption, c.captions[i]);
        EXPECT_EQ(view.buttons[i].isDefault, i == defaultIndex) << "button " << i;
        // One row, one width, no overlap, inside the box.
        EXPECT_EQ(view.buttons[i].rect.top, view.buttons[0].rect.top);
        EXPECT_EQ(view.buttons[i].rect.right - view.buttons[i].rect.left,
                  view.buttons[0].rect.right - view.buttons[0].rect.left);
        if (i > 0) {
          EXPECT_GT(view.buttons[i].rect.left, view.buttons[i - 1].rect.right);
        }
        EXPECT_GE(view.buttons[i].rect.left, view.client.left);
        EXPECT_LE(view.buttons[i].rect.right, view.client.right);
        EXPECT_LE(view.buttons[i].rect.bottom, view.client.bottom);
      }
      EXPECT_EQ(view.defId, c.ids[defaultIndex]);
      EXPECT_EQ(view.closeEnabled, !c.noCancel);
      EXPECT_FALSE(view.hasCheck);
      EXPECT_FALSE(view.hasDetails);
      // Without a check box the buttons are centred.
      const int leftSpace = view.buttons.front().rect.left - view.client.left;
      const int rightSpace = view.client.right - view.buttons.back().rect.right;
      EXPECT_LE(std::abs(leftSpace - rightSpace), 1);
    }
  }
}

TEST_F(CustomBox, EnterAnswersWithTheDefaultButton) {
  struct Case {
    UINT style;
    int expected;
  } cases[] = {
      {13 | ZQ_MB_DEFBUTTON(9), IDCANCEL},  // capped at the fifth button
      {3 | ZQ_MB_DEFBUTTON(1), IDNO},
      {10 | ZQ_MB_DEFBUTTON(1), ZQ_IDYESTOALL},
      {11 | ZQ_MB_DEFBUTTON(2), ZQ_IDDELETE},
      {0, IDOK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << std::hex << c.style);
    BoxAnswerer answer([](HWND box, const BoxView&) {
      msgboxtest::After(box, 100, [box] { msgboxtest::PressKey(box, VK_RETURN); });
    });
    EXPECT_EQ(ZqMsgBox_Custom(owner_, c.style, nullptr, L"Press Enter."), c.expected);
    EXPECT_EQ(answer.Seen().size(), 1u);
  }
}

TEST_F(CustomBox, EscapeAndCloseCancelUnlessTheSetCannotCancel) {
  for (const SetCase& c : SetCases()) {
    for (bool close : {false, true}) {
      SCOPED_TRACE(testing::Message() << "set " << c.set << (close ? " Close" : " Escape"));
      // Cancel first; a box that ignores it is answered with its first button.
      BoxAnswerer answer([&](HWND box, const BoxView&) {
        msgboxtest::After(box, 50, [box, close] {
          if (close) PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
          else msgboxtest::PressKey(box, VK_ESCAPE);
        });
        msgboxtest::After(box, 400, [box, &c] { msgboxtest::Press(box, c.ids[0]); });
      });
      const int result = ZqMsgBox_Custom(owner_, c.set, nullptr, L"Cancel me.");
      EXPECT_EQ(result, c.noCancel ? c.ids[0] : c.cancelAnswer);
    }
  }
}

TEST_F(CustomBox, IconsByStyle) {
  struct Case {
    UINT icon;
    bool shown;
  } cases[] = {{0x00, false}, {0x10, true}, {0x20, true}, {0x30, true}, {0x40, true}, {0x50, false}, {0xF0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "icon " << std::hex << c.icon);
    BoxAnswerer answer(msgboxtest::PressEach(IDOK));
    EXPECT_EQ(ZqMsgBox_Custom(owner_, MB_OK | c.icon, nullptr, L"Icon"), IDOK);
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].iconShown, c.shown);
  }
}

TEST_F(CustomBox, CheckBoxStateComesBack) {
  struct Case {
    int initial;
    bool click;
    const wchar_t* text;
    int expected;
  } cases[] = {
      {0, true, nullptr, 1},
      {1, false, nullptr, 1},
      {1, true, L"Remember my answer for all 12% of $(Files)", 0},
      {0, false, L"Ask me again", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "initial " << c.initial << " click " << c.click);
    int state = c.initial;
    BoxAnswerer answer([&](HWND box, const BoxView&) {
      if (c.click) msgboxtest::Press(box, ZQ_IDCHECKBOX);
      msgboxtest::After(box, 150, [box] { msgboxtest::Press(box, IDNO); });
    });
    EXPECT_EQ(ZqMsgBox_CustomEx(owner_, MB_YESNO | MB_ICONQUESTION | ZQ_MB_CHECKBOX, nullptr, c.text, &state,
                                L"Overwrite the file?"),
              IDNO);
    EXPECT_EQ(state, c.expected);
    ASSERT_EQ(answer.Seen().size(), 1u);
    const BoxView& view = answer.Seen()[0];
    ASSERT_TRUE(view.hasCheck);
    EXPECT_EQ(view.checked, c.initial != 0);
    EXPECT_EQ(view.checkText, c.text ? c.text : L"Do no&t show this message again.");
    // Above the buttons, which are right-aligned.
    ASSERT_EQ(view.buttons.size(), 2u);
    EXPECT_LE(view.checkRect.bottom, view.buttons[0].rect.top);
    const int margin = view.checkRect.left - view.client.left;
    EXPECT_GT(margin, 0);
    EXPECT_EQ(view.client.right - view.buttons.back().rect.right, margin);
    if (c.text && wcslen(c.text) > 20) {
      EXPECT_GT(view.buttons.front().rect.left - view.client.left, margin);
    }
  }
}

TEST_F(CustomBox, DetailsAreaToggles) {
  const wchar_t* details =
      L"Track 3 \"Strings 50%\": 1,024 events could not be written.\n"
      L"Track 7 \"Drums\": a tempo change at 12:03:007 lies before the start.\r\n"
      L"The disk reported error 0x8004E002 (disk full).";
  const std::wstring shownDetails =
      L"Track 3 \"Strings 50%\": 1,024 events could not be written.\r\n"
      L"Track 7 \"Drums\": a tempo change at 12:03:007 lies before the start.\r\n"
      L"The disk reported error 0x8004E002 (disk full).";
  BoxView collapsed, expanded, again;
  testsupport::Screenshot shot;
  BoxAnswerer answer([&](HWND box, const BoxView& view) {
    collapsed = view;
    msgboxtest::Press(box, ZQ_IDDETAILS);
    msgboxtest::After(box, 400, [&, box] {
      expanded = msgboxtest::ReadBox(box);
      shot = testsupport::SaveWindowScreenshot(box, L"msgbox_details_expanded");
      msgboxtest::Press(box, ZQ_IDDETAILS);
      msgboxtest::After(box, 200, [&, box] {
        again = msgboxtest::ReadBox(box);
        msgboxtest::Press(box, IDNO);
      });
    });
  });
  const int result = ZqMsgBox_Custom(owner_, MB_YESNOCANCEL | MB_ICONEXCLAMATION | ZQ_MB_DETAILS, details,
                                     L"The project %s could not be saved completely.\n\nSave it again?",
                                     L"C:\\Songs\\Demo 1.mid");
  EXPECT_EQ(result, IDNO);
  ASSERT_EQ(answer.Seen().size(), 1u);

  EXPECT_EQ(collapsed.text, L"The project C:\\Songs\\Demo 1.mid could not be saved completely.\n\nSave it again?");
  EXPECT_EQ(collapsed.Ids(), (std::vector<int>{IDYES, IDNO, IDCANCEL, ZQ_IDDETAILS}));
  EXPECT_EQ(collapsed.Button(ZQ_IDDETAILS)->caption, L"&Details >>");
  ASSERT_TRUE(collapsed.hasDetails);
  EXPECT_FALSE(collapsed.detailsVisible);
  EXPECT_EQ(collapsed.details, shownDetails);
  EXPECT_GE(collapsed.rect.right - collapsed.rect.left, 1280 * 3 / 8);  // at least 3/8 of the screen
  EXPECT_LE(collapsed.detailsRect.top, collapsed.detailsRect.bottom);

  ASSERT_TRUE(expanded.hasDetails);
  EXPECT_TRUE(expanded.detailsVisible);
  EXPECT_EQ(expanded.Button(ZQ_IDDETAILS)->caption, L"No &Details");
  const int grown = (expanded.rect.bottom - expanded.rect.top) - (collapsed.rect.bottom - collapsed.rect.top);
  const int editHeight = expanded.detailsRect.bottom - expanded.detailsRect.top;
  EXPECT_GT(editHeight, 1024 / 5);            // about a quarter of the screen's height
  EXPECT_GT(grown, editHeight);               // the edit plus its margins
  EXPECT_EQ(expanded.rect.left, collapsed.rect.left);
  EXPECT_EQ(expanded.rect.top, collapsed.rect.top);
  EXPECT_GE(expanded.detailsRect.top, expanded.buttons[0].rect.bottom);  // below the content
  EXPECT_LE(expanded.detailsRect.bottom, expanded.client.bottom);
  EXPECT_GE(expanded.detailsRect.left, expanded.client.left);
  EXPECT_LE(expanded.detailsRect.right, expanded.client.right);

  EXPECT_FALSE(again.detailsVisible);
  EXPECT_EQ(again.Button(ZQ_IDDETAILS)->caption, L"&Details >>");
  EXPECT_EQ(again.rect.bottom - again.rect.top, collapsed.rect.bottom - collapsed.rect.top);

  EXPECT_TRUE(shot.saved) << "no picture written";
  EXPECT_GT(shot.colours, 4) << "the picture is blank";
}

// A box near the bottom of the screen moves up when its details area opens,
// so that all of it stays on the screen.
TEST_F(CustomBox, ExpandedDetailsStayOnTheScreen) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  BoxView low, expanded;
  BoxAnswerer answer([&](HWND box, const BoxView& view) {
    RECT r = view.rect;
    SetWindowPos(box, nullptr, r.left, work.bottom - (r.bottom - r.top) - 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    low = msgboxtest::ReadBox(box);
    msgboxtest::Press(box, ZQ_IDDETAILS);
    msgboxtest::After(box, 300, [&, box] {
      expanded = msgboxtest::ReadBox(box);
      msgboxtest::Press(box, IDOK);
    });
  });
  EXPECT_EQ(ZqMsgBox_Custom(owner_, MB_OK | ZQ_MB_DETAILS, L"line 1\nline 2", L"Low on the screen"), IDOK);
  ASSERT_TRUE(expanded.detailsVisible);
  EXPECT_LE(expanded.rect.bottom, work.bottom);
  EXPECT_GE(expanded.rect.top, work.top);
  EXPECT_LT(expanded.rect.top, low.rect.top);  // it moved up
  EXPECT_EQ(expanded.rect.left, low.rect.left);
}

TEST_F(CustomBox, OneDetailsBitNeedsTheTextButShowsNoArea) {
  BoxAnswerer answer(msgboxtest::PressEach(IDOK));
  EXPECT_EQ(ZqMsgBox_Custom(owner_, MB_OK | 0x4000, L"the details", L"One bit"), IDOK);
  ASSERT_EQ(answer.Seen().size(), 1u);
  EXPECT_FALSE(answer.Seen()[0].hasDetails);
  EXPECT_EQ(answer.Seen()[0].Ids(), std::vector<int>{IDOK});
}

TEST_F(CustomBox, TextIsShownAsWrittenAndWrappedToTheScreen) {
  // A text passed as an argument is never read as a format.
  const wchar_t* data = L"50% of $(AppName) & %s more";
  std::wstring longText;
  for (int i = 0; i < 120; ++i) longText += L"word" + std::to_wstring(i) + L" ";
  BoxAnswerer answer(msgboxtest::PressEach(IDOK));
  EXPECT_EQ(ZqMsgBox_Custom(owner_, MB_OK, nullptr, L"%s", data), IDOK);
  EXPECT_EQ(ZqMsgBox_Custom(owner_, MB_OK | MB_ICONASTERISK, nullptr, longText.c_str()), IDOK);
  EXPECT_EQ(ZqMsgBox_Custom(owner_, MB_OK, nullptr, L"short"), IDOK);
  ASSERT_EQ(answer.Seen().size(), 3u);
  EXPECT_EQ(answer.Seen()[0].text, data);
  const BoxView& wrapped = answer.Seen()[1];
  EXPECT_EQ(wrapped.text, longText);
  const BoxView& small = answer.Seen()[2];
  // The long text takes at most 3/8 of the screen's width (and the icon and
  // margins), and several lines.
  EXPECT_LE(wrapped.rect.right - wrapped.rect.left, 1280 * 3 / 8 + 120);
  EXPECT_GT(wrapped.rect.right - wrapped.rect.left, small.rect.right - small.rect.left);
  EXPECT_GT(wrapped.rect.bottom - wrapped.rect.top, (small.rect.bottom - small.rect.top) + 40);
  EXPECT_LE(wrapped.rect.bottom - wrapped.rect.top, 1024);
}

TEST_F(CustomBox, OwnerAndCentring) {
  HWND fallback = msgboxtest::CreateOwnerWindow(700, 500, 300, 200);
  ASSERT_TRUE(ZqMsgBoxSetAppData(Module(), fallback, kCaption));
  BoxAnswerer answer(msgboxtest::PressEach(IDOK));
  ZqMsgBox_Custom(owner_, MB_OK, nullptr, L"owned");
  ZqMsgBox_Custom(nullptr, MB_OK, nullptr, L"default owner");
  ZqMsgBox_Custom(reinterpret_cast<HWND>(-1), MB_OK, nullptr, L"no owner");
  ASSERT_EQ(answer.Seen().size(), 3u);

  RECT ownerRect, fallbackRect;
  GetWindowRect(owner_, &ownerRect);
  GetWindowRect(fallback, &fallbackRect);
  EXPECT_EQ(answer.Seen()[0].owner, owner_);
  EXPECT_EQ(answer.Seen()[1].owner, fallback);
  EXPECT_EQ(answer.Seen()[2].owner, nullptr);
  auto closeTo = [](const RECT& a, const RECT& b) { return std::abs(a.left - b.left) <= 1 && std::abs(a.top - b.top) <= 1; };
  EXPECT_TRUE(closeTo(msgboxtest::Centre(answer.Seen()[0].rect), msgboxtest::Centre(ownerRect)));
  EXPECT_TRUE(closeTo(msgboxtest::Centre(answer.Seen()[1].rect), msgboxtest::Centre(fallbackRect)));
  // Unowned: centred on the monitor's work area.
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_TRUE(closeTo(msgboxtest::Centre(answer.Seen()[2].rect), msgboxtest::Centre(work)));
  DestroyWindow(fallback);
}

}  // namespace
