// The system box through the library: centred on its owner (except the
// system-modal stop box), formatted texts, and the library's button sets
// shown in the library's box. (Owner choice: see the hooks tests.)
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "msgbox_test_support.h"
#include "zq/msgbox.h"

namespace {

using msgboxtest::BoxAnswerer;
using msgboxtest::BoxTest;
using msgboxtest::BoxView;

const wchar_t kCaption[] = L"System Box Tests";

HINSTANCE Module() { return GetModuleHandleW(L"quillet.dll"); }

int Distance(const RECT& a, const RECT& b) {
  const RECT ca = msgboxtest::Centre(a), cb = msgboxtest::Centre(b);
  return std::abs(ca.left - cb.left) + std::abs(ca.top - cb.top);
}

class SystemBox : public BoxTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ZqMsgBoxSetAppData(Module(), nullptr, kCaption));
    // Well away from the middle of the screen, where the system puts a box.
    owner_ = msgboxtest::CreateOwnerWindow(20, 30, 460, 340);
    ASSERT_NE(owner_, nullptr);
    GetWindowRect(owner_, &ownerRect_);
  }
  void TearDown() override {
    ZqMsgBoxSetAppData(Module(), nullptr, L"MIDI Quillet");
    DestroyWindow(owner_);
  }
  HWND owner_ = nullptr;
  RECT ownerRect_{};
};

TEST_F(SystemBox, CentredOnTheOwner) {
  BoxAnswerer answer(msgboxtest::PressEach(IDOK));
  EXPECT_EQ(ZqMessageBox(owner_, L"Centred on its owner.", L"Where am I", MB_OK | MB_ICONASTERISK), IDOK);
  EXPECT_EQ(ZqMessageBox(owner_, L"Again.", L"Where am I", MB_OK), IDOK);  // the hook went; a new one
  ASSERT_EQ(answer.Seen().size(), 2u);
  for (const BoxView& view : answer.Seen()) {
    EXPECT_EQ(view.caption, L"Where am I");
    EXPECT_EQ(view.owner, owner_);
    EXPECT_LE(Distance(view.rect, ownerRect_), 2);
  }
}

TEST_F(SystemBox, SystemModalStopBoxIsNotCentredByTheLibrary) {
  BoxAnswerer answer(msgboxtest::PressEach(IDOK));
  EXPECT_EQ(ZqMessageBox(owner_, L"System modal.", nullptr, MB_SYSTEMMODAL | MB_ICONHAND), IDOK);
  // The same box with another icon is centred: only the exact style is left alone.
  EXPECT_EQ(ZqMessageBox(owner_, L"System modal.", nullptr, MB_SYSTEMMODAL | MB_ICONEXCLAMATION), IDOK);
  ASSERT_EQ(answer.Seen().size(), 2u);
  EXPECT_GT(Distance(answer.Seen()[0].rect, ownerRect_), 100);
  EXPECT_LE(Distance(answer.Seen()[1].rect, ownerRect_), 2);
}

TEST_F(SystemBox, FormattedTexts) {
  BoxAnswerer answer(msgboxtest::PressEach(IDYES));
  EXPECT_EQ(ZqMsgBox(owner_, MB_YESNO, L"Delete %d of %s?", 3, L"50% $(x).mid"), IDYES);
  EXPECT_EQ(ZqMessageBox(owner_, L"Keep 50% of $(x) %s?", nullptr, MB_YESNO), IDYES);
  ASSERT_EQ(answer.Seen().size(), 2u);
  EXPECT_EQ(answer.Seen()[0].text, L"Delete 3 of 50% $(x).mid?");
  EXPECT_EQ(answer.Seen()[1].text, L"Keep 50% of $(x) %s?");
}

TEST_F(SystemBox, LibraryButtonSetsUseTheLibrarysBox) {
  BoxAnswerer answer(msgboxtest::PressEach(ZQ_IDNOTOALL));
  EXPECT_EQ(ZqMessageBox(owner_, L"Replace all?", L"Replace", ZQ_MB_YESYESALLNONOALLCANCEL | 0x1000), ZQ_IDNOTOALL);
  EXPECT_EQ(ZqMsgBox(owner_, ZQ_MB_YESNONOALLCANCEL, L"Replace %d?", 4), ZQ_IDNOTOALL);
  ASSERT_EQ(answer.Seen().size(), 2u);
  EXPECT_EQ(answer.Seen()[0].Ids(), (std::vector<int>{IDYES, ZQ_IDYESTOALL, IDNO, ZQ_IDNOTOALL, IDCANCEL}));
  EXPECT_EQ(answer.Seen()[0].caption, L"Replace");
  EXPECT_FALSE(answer.Seen()[0].hasCheck);  // the high bits keep their system meaning here
  EXPECT_EQ(answer.Seen()[1].text, L"Replace 4?");
  EXPECT_EQ(answer.Seen()[1].caption, kCaption);
}

}  // namespace
