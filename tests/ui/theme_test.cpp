// The visual-styles binding, run twice: with Wine's default theme, and with
// ThemeActive "0" in the prefix (QUILLET_THEMES=off, see run-unthemed).
// Check boxes and radio buttons are compared pixel for pixel with the
// platform drawing them itself, and left as a picture.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <uxtheme.h>
#include <vssym32.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "controls_test_support.h"
#include "screenshot.h"
#include "zq/theme.h"

using controlstest::Canvas;

namespace {

bool ThemesExpected() {
  const char* mode = std::getenv("QUILLET_THEMES");
  return !(mode && std::strcmp(mode, "off") == 0);
}

const char* const kNames[ZQXT_ENTRY_COUNT] = {
    "OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeText", "GetThemeBackgroundContentRect",
    "GetThemeBackgroundExtent", "GetThemePartSize", "GetThemeTextExtent", "GetThemeTextMetrics",
    "GetThemeBackgroundRegion", "HitTestThemeBackground", "DrawThemeEdge", "DrawThemeIcon", "IsThemePartDefined",
    "IsThemeBackgroundPartiallyTransparent", "GetThemeColor", "GetThemeMetric", "GetThemeMargins", "GetThemeString",
    "GetThemeBool", "GetThemeInt", "GetThemeEnumValue", "GetThemePosition", "GetThemeFont", "GetThemeRect",
    "GetThemeIntList", "GetThemePropertyOrigin", "SetWindowTheme", "GetThemeFilename", "GetThemeSysColor",
    "GetThemeSysColorBrush", "GetThemeSysBool", "GetThemeSysSize", "GetThemeSysFont", "GetThemeSysString",
    "GetThemeSysInt", "IsThemeActive", "IsAppThemed", "GetWindowTheme", "EnableThemeDialogTexture",
    "IsThemeDialogTextureEnabled", "GetThemeAppProperties", "SetThemeAppProperties", "GetCurrentThemeName",
    "GetThemeDocumentationProperty", "DrawThemeParentBackground", "EnableTheming",
};

// Frame-control states and the theme state ids they stand for.
struct FrameState {
  UINT state;
  int part, stateId;
} kStates[] = {
    {DFCS_BUTTONCHECK, BP_CHECKBOX, CBS_UNCHECKEDNORMAL},
    {DFCS_BUTTONCHECK | DFCS_CHECKED, BP_CHECKBOX, CBS_CHECKEDNORMAL},
    {DFCS_BUTTONCHECK | DFCS_PUSHED, BP_CHECKBOX, CBS_UNCHECKEDPRESSED},
    {DFCS_BUTTONCHECK | DFCS_PUSHED | DFCS_CHECKED, BP_CHECKBOX, CBS_CHECKEDPRESSED},
    {DFCS_BUTTONCHECK | DFCS_INACTIVE, BP_CHECKBOX, CBS_UNCHECKEDDISABLED},
    {DFCS_BUTTONCHECK | DFCS_INACTIVE | DFCS_CHECKED | DFCS_PUSHED, BP_CHECKBOX, CBS_CHECKEDDISABLED},
    {DFCS_BUTTONRADIO, BP_RADIOBUTTON, RBS_UNCHECKEDNORMAL},
    {DFCS_BUTTONRADIO | DFCS_CHECKED, BP_RADIOBUTTON, RBS_CHECKEDNORMAL},
    {DFCS_BUTTONRADIO | DFCS_PUSHED, BP_RADIOBUTTON, RBS_UNCHECKEDPRESSED},
    {DFCS_BUTTONRADIO | DFCS_INACTIVE | DFCS_CHECKED, BP_RADIOBUTTON, RBS_CHECKEDDISABLED},
};

class Theme : public ::testing::Test {
 protected:
  void SetUp() override { XPTheme_Default(FALSE); }
  void TearDown() override {
    XPTheme_Default(FALSE);
    SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT);
  }
  controlstest::TestWindow window{0, 60, 60, 360, 120};
};

TEST_F(Theme, PlatformStateIsWhatThisRunExpects) {
  EXPECT_EQ(IsThemeActive() != FALSE, ThemesExpected());
}

TEST_F(Theme, InitializeBindsEveryEntryPointAndBecomesTheDefault) {
  EXPECT_EQ(XPTheme_GetDefault(), nullptr);
  EXPECT_EQ(XPTheme_Initialize(nullptr, window.hwnd(), TRUE), E_POINTER);
  ZQXPTHEME record;
  std::memset(&record, 0xCD, sizeof(record));  // cleared by the call, except the wish
  record.wanted = TRUE;
  ASSERT_EQ(XPTheme_Initialize(&record, window.hwnd(), TRUE), ZQXPTHEME_OK);
  EXPECT_EQ(XPTheme_GetDefault(), &record);
  ASSERT_NE(record.library, nullptr);
  EXPECT_EQ(record.library, GetModuleHandleW(L"uxtheme.dll"));
  for (int i = 0; i < ZQXT_ENTRY_COUNT; ++i)
    EXPECT_EQ(record.entries[i], GetProcAddress(record.library, kNames[i])) << kNames[i];
  EXPECT_TRUE(record.wanted);  // the process's theme properties are not 0
  EXPECT_EQ(record.active != FALSE, ThemesExpected());
  if (ThemesExpected()) {
    for (int cls : {ZQXPTHEME_WINDOW, ZQXPTHEME_BUTTON, ZQXPTHEME_SCROLLBAR, ZQXPTHEME_EDIT, ZQXPTHEME_TAB})
      EXPECT_NE(record.themes[cls], nullptr) << cls;
  } else {
    for (HTHEME theme : record.themes) EXPECT_EQ(theme, nullptr);
  }

  // A theme change closes and reopens the handles.
  EXPECT_EQ(XPTheme_Handle_WM_THEMECHANGED(nullptr, window.hwnd()), S_OK);
  EXPECT_EQ(record.themes[ZQXPTHEME_BUTTON] != nullptr, ThemesExpected());
  EXPECT_EQ(record.active != FALSE, ThemesExpected());

  // Clean-up with a default: the record is cleared and the default goes.
  EXPECT_EQ(XPTheme_Cleanup(&record), nullptr);
  EXPECT_EQ(record.library, nullptr);
  EXPECT_FALSE(record.active);
  EXPECT_EQ(XPTheme_GetDefault(), nullptr);
  EXPECT_EQ(XPTheme_Cleanup(&record), nullptr);  // no default: the default (none)
  EXPECT_EQ(XPTheme_Handle_WM_THEMECHANGED(nullptr, window.hwnd()), S_OK);
}

TEST_F(Theme, TheApplicationsWishSwitchesProcessTheming) {
  ZQXPTHEME record{};
  record.wanted = FALSE;
  ASSERT_EQ(XPTheme_Initialize(&record, window.hwnd(), FALSE), ZQXPTHEME_OK);
  EXPECT_FALSE(record.active);
  EXPECT_EQ(GetThemeAppProperties(), 0u);  // theming off for the process
  EXPECT_EQ(record.themes[ZQXPTHEME_BUTTON], nullptr);

  record.wanted = TRUE;
  ASSERT_EQ(XPTheme_Initialize(&record, window.hwnd(), FALSE), ZQXPTHEME_OK);
  EXPECT_EQ(record.active != FALSE, ThemesExpected());
  if (ThemesExpected()) {
    EXPECT_EQ(GetThemeAppProperties(), static_cast<DWORD>(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS |
                                                          STAP_ALLOW_WEBCONTENT));
    EXPECT_NE(record.themes[ZQXPTHEME_BUTTON], nullptr);
  }
  // Following the system with theming off for the process: not wanted, not active.
  SetThemeAppProperties(0);
  ASSERT_EQ(XPTheme_Initialize(&record, window.hwnd(), TRUE), ZQXPTHEME_OK);
  EXPECT_FALSE(record.wanted);
  EXPECT_FALSE(record.active);
  EXPECT_EQ(XPTheme_Cleanup(&record), nullptr);
}

TEST_F(Theme, DefaultStorageAndCleanupWithoutADefault) {
  ZQXPTHEME other{};
  EXPECT_EQ(XPTheme_Cleanup(&other), nullptr);  // no default yet
  EXPECT_TRUE(XPTheme_Default(TRUE));
  EXPECT_EQ(XPTheme_GetDefault(), nullptr);
  ASSERT_EQ(XPTheme_Initialize(&other, window.hwnd(), TRUE), ZQXPTHEME_OK);
  EXPECT_EQ(XPTheme_Cleanup(nullptr), &other);  // no record: the default
  EXPECT_FALSE(XPTheme_Default(FALSE));
  EXPECT_EQ(XPTheme_GetDefault(), nullptr);
  XPTheme_Cleanup(&other);
}

void DrawAllStates(HDC dc, int top, bool platform, HWND window) {
  HTHEME button = platform && ThemesExpected() ? OpenThemeData(window, L"Button") : nullptr;
  int x = 10;
  for (const FrameState& s : kStates) {
    RECT box{x, top, x + 13, top + 13};
    if (!platform) XPTheme_DrawFrameControl(dc, &box, s.state);
    else if (button) DrawThemeBackground(button, dc, s.part, s.stateId, &box, nullptr);
    else DrawFrameControl(dc, &box, DFC_BUTTON, s.state);
    x += 24;
  }
  if (button) CloseThemeData(button);
}

TEST_F(Theme, FrameControlsMatchThePlatformsOwnDrawing) {
  ZQXPTHEME record{};
  ASSERT_EQ(XPTheme_Initialize(&record, window.hwnd(), TRUE), ZQXPTHEME_OK);
  EXPECT_FALSE(XPTheme_DrawFrameControl(nullptr, nullptr, DFCS_BUTTONCHECK));
  for (const FrameState& s : kStates) {
    Canvas mine(13, 13), platform(13, 13), classic(13, 13);
    RECT box{0, 0, 13, 13};
    ASSERT_TRUE(XPTheme_DrawFrameControl(mine.dc(), &box, s.state)) << s.state;
    if (ThemesExpected()) {
      HTHEME button = OpenThemeData(window.hwnd(), L"Button");
      ASSERT_NE(button, nullptr);
      DrawThemeBackground(button, platform.dc(), s.part, s.stateId, &box, nullptr);
      CloseThemeData(button);
    } else {
      DrawFrameControl(platform.dc(), &box, DFC_BUTTON, s.state);
    }
    EXPECT_TRUE(mine.SameAs(platform)) << std::hex << s.state;
    // Without a default theme the classic drawing is used.
    XPTheme_Cleanup(&record);
    ASSERT_TRUE(XPTheme_DrawFrameControl(classic.dc(), &box, s.state));
    Canvas reference(13, 13);
    DrawFrameControl(reference.dc(), &box, DFC_BUTTON, s.state);
    EXPECT_TRUE(classic.SameAs(reference)) << std::hex << s.state;
    if (ThemesExpected() && s.state == (DFCS_BUTTONCHECK | DFCS_CHECKED)) {
      EXPECT_FALSE(mine.SameAs(classic));
    }
    ASSERT_EQ(XPTheme_Initialize(&record, window.hwnd(), TRUE), ZQXPTHEME_OK);
  }

  // The picture: the library's drawing above, the platform's below.
  window.onPaint = [&](HDC dc) {
    DrawAllStates(dc, 20, false, window.hwnd());
    DrawAllStates(dc, 60, true, window.hwnd());
  };
  const auto shot = testsupport::SaveWindowScreenshot(
      window.hwnd(), ThemesExpected() ? L"theme_frame_controls_themed" : L"theme_frame_controls_classic");
  EXPECT_TRUE(shot.saved);
  EXPECT_GT(shot.colours, 2);
  XPTheme_Cleanup(&record);
}

}  // namespace
