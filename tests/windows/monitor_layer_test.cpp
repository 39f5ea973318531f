// The one-monitor fall-back layer against Wine's own monitor functions on
// the one monitor of the display server: bound both ways in the library
// the module is built from, the same questions give the same answers.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "windows/monitor_layer.h"
#include "zq/monitor.h"

namespace {

struct Bound {
  explicit Bound(bool fallback) { zq::windows::BindMonitorFunctions(fallback ? nullptr : GetModuleHandleW(L"user32")); }
  ~Bound() { zq::windows::BindMonitorFunctions(GetModuleHandleW(L"user32")); }
};

int Width() { return GetSystemMetrics(SM_CXSCREEN); }
int Height() { return GetSystemMetrics(SM_CYSCREEN); }

// Answers of both layers to one question, as found / not found.
template <typename Ask>
void SameAnswer(Ask ask, const char* what) {
  bool platform, fallback;
  {
    Bound bound(false);
    platform = ask() != nullptr;
  }
  {
    Bound bound(true);
    HMONITOR answer = ask();
    fallback = answer != nullptr;
    if (answer) {
      EXPECT_EQ(answer, ZQ_PSEUDO_MONITOR) << what;
    }
  }
  EXPECT_EQ(fallback, platform) << what;
}

TEST(MonitorFallback, PointsRectanglesAndWindowsFindTheSameMonitor) {
  const int w = Width(), h = Height();
  const POINT points[] = {{0, 0}, {-1, 0}, {0, -1}, {w - 1, h - 1}, {w, h - 1}, {w - 1, h}, {w, h}, {100, 100},
                          {-5000, -5000}, {5000, 50}};
  for (DWORD flags : {MONITOR_DEFAULTTONULL, MONITOR_DEFAULTTOPRIMARY, MONITOR_DEFAULTTONEAREST})
    for (const POINT& p : points)
      SameAnswer([&] { return ZqMonitor_MonitorFromPoint(p.x, p.y, flags); },
                 (std::to_string(p.x) + "," + std::to_string(p.y) + " flags " + std::to_string(flags)).c_str());

  const RECT rects[] = {{10, 10, 200, 100}, {-10, -10, 1, 1}, {-10, -10, 0, 0}, {w - 1, h - 1, w + 50, h + 50},
                        {w, 0, w + 10, 10}, {0, h, 10, h + 10}, {-100, 10, 0, 20}, {-500, -500, w + 500, h + 500},
                        {3000, 3000, 3100, 3100}};
  for (DWORD flags : {MONITOR_DEFAULTTONULL, MONITOR_DEFAULTTOPRIMARY, MONITOR_DEFAULTTONEAREST})
    for (const RECT& r : rects)
      SameAnswer([&] { return ZqMonitor_MonitorFromRect(&r, flags); },
                 (std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                  std::to_string(r.bottom) + " flags " + std::to_string(flags))
                     .c_str());

  // A window on the screen, one off it, and a minimised one (its normal
  // rectangle on the screen).
  struct Placed {
    int x, y;
    bool minimise;
  };
  for (const Placed& placed : {Placed{50, 60, false}, Placed{w + 400, h + 400, false}, Placed{70, 80, true}}) {
    HWND window = CreateWindowExW(0, L"STATIC", L"monitor", WS_POPUP | WS_VISIBLE, placed.x, placed.y, 120, 90,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    if (placed.minimise) ShowWindow(window, SW_MINIMIZE);
    for (DWORD flags : {MONITOR_DEFAULTTONULL, MONITOR_DEFAULTTONEAREST})
      SameAnswer([&] { return ZqMonitor_MonitorFromWindow(window, flags); },
                 (std::to_string(placed.x) + " window, flags " + std::to_string(flags)).c_str());
    DestroyWindow(window);
  }
}

TEST(MonitorFallback, InformationMatchesThePrimaryMonitor) {
  MONITORINFOEXW platform{};
  platform.cbSize = sizeof(platform);
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &platform));
  Bound bound(true);
  for (DWORD size : {DWORD(sizeof(MONITORINFO)), DWORD(sizeof(MONITORINFOEXW))}) {
    MONITORINFOEXW info{};
    info.cbSize = size;
    ASSERT_TRUE(ZqMonitor_GetMonitorInfo(ZQ_PSEUDO_MONITOR, &info)) << size;
    EXPECT_TRUE(EqualRect(&info.rcMonitor, &platform.rcMonitor));
    EXPECT_TRUE(EqualRect(&info.rcWork, &platform.rcWork));
    EXPECT_EQ(info.dwFlags, static_cast<DWORD>(MONITORINFOF_PRIMARY));
    EXPECT_STREQ(info.szDevice, size > 103 ? L"DISPLAY" : L"");
  }
  MONITORINFO small{};
  small.cbSize = 39;
  EXPECT_FALSE(ZqMonitor_GetMonitorInfo(ZQ_PSEUDO_MONITOR, &small));
  small.cbSize = sizeof(small);
  EXPECT_FALSE(ZqMonitor_GetMonitorInfo(reinterpret_cast<HMONITOR>(0x1234), &small));
  EXPECT_FALSE(ZqMonitor_GetMonitorInfo(ZQ_PSEUDO_MONITOR, nullptr));
}

std::vector<RECT> Enumerate(HDC dc, const RECT* clip, BOOL* result) {
  std::vector<RECT> seen;
  *result = ZqMonitor_EnumDisplayMonitors(
      dc, clip,
      [](HMONITOR, HDC, LPRECT rect, LPARAM data) CALLBACK -> BOOL {
        reinterpret_cast<std::vector<RECT>*>(data)->push_back(*rect);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen));
  return seen;
}

TEST(MonitorFallback, EnumerationClipsTheScreenLikeThePlatform) {
  const int w = Width(), h = Height();
  const RECT clips[] = {{10, 20, 300, 400}, {-50, -50, 40, 30}, {w - 10, h - 10, w + 10, h + 10},
                        {w + 10, 0, w + 20, 10}};
  std::vector<const RECT*> cases{nullptr};
  for (const RECT& clip : clips) cases.push_back(&clip);
  for (const RECT* clip : cases) {
    BOOL platformResult, fallbackResult;
    std::vector<RECT> platform, fallback;
    {
      Bound bound(false);
      platform = Enumerate(nullptr, clip, &platformResult);
    }
    {
      Bound bound(true);
      fallback = Enumerate(nullptr, clip, &fallbackResult);
    }
    EXPECT_EQ(fallbackResult, platformResult);
    ASSERT_EQ(fallback.size(), platform.size()) << (clip ? clip->left : -1);
    for (size_t i = 0; i < fallback.size(); ++i) EXPECT_TRUE(EqualRect(&fallback[i], &platform[i]));
  }
  // A screen context clipped to a region.
  HDC screen = GetDC(nullptr);
  HRGN region = CreateRectRgn(100, 50, 260, 170);
  SelectClipRgn(screen, region);
  BOOL result;
  std::vector<RECT> platform, fallback;
  {
    Bound bound(false);
    platform = Enumerate(screen, nullptr, &result);
  }
  {
    Bound bound(true);
    fallback = Enumerate(screen, nullptr, &result);
  }
  ASSERT_EQ(fallback.size(), 1u);
  ASSERT_EQ(platform.size(), 1u);
  EXPECT_TRUE(EqualRect(&fallback[0], &platform[0]));
  const RECT expected{100, 50, 260, 170};
  EXPECT_TRUE(EqualRect(&fallback[0], &expected));
  DeleteObject(region);
  ReleaseDC(nullptr, screen);
  Bound bound(true);
  EXPECT_FALSE(ZqMonitor_EnumDisplayMonitors(nullptr, nullptr, nullptr, 0));
}

TEST(MonitorFallback, PlacementRulesGiveTheSameRectangles) {
  const int w = Width(), h = Height();
  const RECT rects[] = {{10, 10, 200, 100}, {w - 50, h - 40, w + 150, h + 60}, {-300, -200, -100, -50},
                        {-10, 40, w + 20, 90}, {5000, 5000, 5400, 5300}};
  for (const RECT& original : rects) {
    std::vector<RECT> answers[2];
    std::vector<BOOL> visible[2];
    for (int fallback = 0; fallback < 2; ++fallback) {
      Bound bound(fallback != 0);
      RECT r = original;
      ZqMonitor_ClipRectToMonitor(nullptr, &r, TRUE);
      answers[fallback].push_back(r);
      r = original;
      ZqMonitor_CenterRectToMonitor(nullptr, &r, FALSE);
      answers[fallback].push_back(r);
      r = original;
      ZqForceRectOntoDesktop(&r, 7, 9);
      answers[fallback].push_back(r);
      RECT popup{0, 0, 120, 80};
      ZqForcePopupRectOntoDesktop(&popup, &original, 4, 4);
      answers[fallback].push_back(popup);
      visible[fallback].push_back(ZqIsWindowCaptionVisible(&original));
      visible[fallback].push_back(ZqMonitor_IsPointOnScreen(POINT{original.left, original.top}));
    }
    for (size_t i = 0; i < answers[0].size(); ++i)
      EXPECT_TRUE(EqualRect(&answers[0][i], &answers[1][i])) << original.left << " answer " << i;
    EXPECT_EQ(visible[0], visible[1]) << original.left;
  }
}

// ---- Two monitors ----------------------------------------------------------------
// A (0,0)-(1280,1024), work area to 984; B (1280,0)-(2304,768) to its right.

class TwinMonitors : public ::testing::Test {
 protected:
  void SetUp() override {
    twin_ = LoadLibraryW(L"windows_twin_monitors.dll");
    ASSERT_NE(twin_, nullptr);
    zq::windows::BindMonitorFunctions(twin_);
  }
  void TearDown() override {
    zq::windows::BindMonitorFunctions(GetModuleHandleW(L"user32"));
    if (twin_) FreeLibrary(twin_);
  }
  HMODULE twin_ = nullptr;
};

std::string Show(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

TEST_F(TwinMonitors, RectanglesKeepToTheMonitorTheyAreOn) {
  RECT area;
  ZqMonitor_GetMonitorRectFromPt(1500, 100, &area, FALSE);
  EXPECT_EQ(Show(area), Show(RECT{1280, 0, 2304, 768}));
  ZqMonitor_GetMonitorRectFromPt(100, 1000, &area, TRUE);
  EXPECT_EQ(Show(area), Show(RECT{0, 0, 1280, 984}));

  struct Case {
    const char* what;
    RECT in, clipped, forced;
  };
  const Case cases[] = {
      {"past B's right edge", {2200, 100, 2400, 200}, {2104, 100, 2304, 200}, {2099, 100, 2299, 200}},
      {"below B's bottom, which A's bottom is not", {1500, 700, 1700, 800}, {1500, 668, 1700, 768},
       {1500, 663, 1700, 763}},
      {"below A's work area", {100, 950, 300, 1050}, {100, 884, 300, 984}, {100, 879, 300, 979}},
      {"off every monitor: onto the primary", {3000, 100, 3200, 200}, {2104, 100, 2304, 200},
       {1075, 100, 1275, 200}},
  };
  for (const Case& c : cases) {
    RECT r = c.in;
    ZqMonitor_ClipRectToMonitor(nullptr, &r, TRUE);
    EXPECT_EQ(Show(r), Show(c.clipped)) << c.what;
    r = c.in;
    ZqForceRectOntoDesktop(&r, 5, 5);
    EXPECT_EQ(Show(r), Show(c.forced)) << c.what;
  }
}

TEST_F(TwinMonitors, PopupsAndCaptionsFollowTheAnchorsMonitor) {
  // Anchored in B's lower right quarter: above and to the left, inside B.
  const RECT anchor{2200, 700, 2220, 720};
  RECT popup{0, 0, 150, 100};
  ZqForcePopupRectOntoDesktop(&popup, &anchor, 0, 0);
  EXPECT_EQ(Show(popup), Show(RECT{2050, 600, 2200, 700}));
  // Anchored in B's upper left quarter, next to A: below and to the right.
  const RECT left{1300, 50, 1320, 70};
  popup = RECT{0, 0, 150, 100};
  ZqForcePopupRectOntoDesktop(&popup, &left, 0, 0);
  EXPECT_EQ(Show(popup), Show(RECT{1320, 70, 1470, 170}));

  const RECT onA{100, 900, 500, 1100}, belowB{1500, 800, 1900, 1000}, acrossTheSeam{1270, 100, 1600, 300};
  EXPECT_TRUE(ZqIsWindowCaptionVisible(&onA));
  EXPECT_FALSE(ZqIsWindowCaptionVisible(&belowB));
  EXPECT_TRUE(ZqIsWindowCaptionVisible(&acrossTheSeam));
  EXPECT_TRUE(ZqMonitor_IsPointOnScreen(POINT{1500, 767}));
  EXPECT_FALSE(ZqMonitor_IsPointOnScreen(POINT{1500, 768}));
  EXPECT_TRUE(ZqMonitor_IsPointOnScreen(POINT{1279, 1023}));
}

}  // namespace
