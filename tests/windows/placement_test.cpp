// Monitor geometry, desktop forcing, pop-up placement, caption visibility,
// centring and stored window placements, through the module's exports in
// real windows on the display server's one monitor.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "registry_helpers.h"
#include "zq/metric.h"
#include "zq/monitor.h"

namespace {

RECT WorkArea() {
  RECT area;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}
int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

std::string Show(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

#define EXPECT_RECT(actual, expected) EXPECT_EQ(Show(actual), Show(expected))

// A top-level window that goes away with the test.
struct Window {
  HWND hwnd;
  Window(int x, int y, int width, int height, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, HWND parent = nullptr)
      : hwnd(CreateWindowExW(0, L"STATIC", L"Placement", style, x, y, width, height, parent, nullptr, nullptr,
                             nullptr)) {}
  ~Window() { DestroyWindow(hwnd); }
  RECT rect() const {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
  }
};

TEST(MonitorGeometry, RectanglesClippedAndCentredOnTheArea) {
  const RECT a = WorkArea();
  const RECT screen{0, 0, ScreenWidth(), ScreenHeight()};
  RECT r{a.right - 50, a.bottom - 40, a.right + 150, a.bottom + 60};
  EXPECT_TRUE(ZqMonitor_ClipRectToMonitor(nullptr, &r, TRUE));
  EXPECT_RECT(r, (RECT{a.right - 200, a.bottom - 100, a.right, a.bottom}));
  r = RECT{-10, -20, a.right - a.left + 500, 50};  // wider than the area: its left on the area's left
  ZqMonitor_ClipRectToMonitor(nullptr, &r, TRUE);
  EXPECT_EQ(r.left, a.left);
  EXPECT_EQ(r.top, a.top);
  EXPECT_EQ(r.right - r.left, a.right - a.left + 510);
  r = RECT{100, 120, 300, 220};  // already inside
  ZqMonitor_ClipRectToMonitor(nullptr, &r, FALSE);
  EXPECT_RECT(r, (RECT{100, 120, 300, 220}));
  r = RECT{0, 0, 101, 51};
  ZqMonitor_CenterRectToMonitor(nullptr, &r, FALSE);
  EXPECT_RECT(r, (RECT{(screen.right - 101) / 2, (screen.bottom - 51) / 2, (screen.right - 101) / 2 + 101,
                       (screen.bottom - 51) / 2 + 51}));
  EXPECT_FALSE(ZqMonitor_ClipRectToMonitor(nullptr, nullptr, TRUE));

  RECT area;
  EXPECT_EQ(ZqMonitor_GetMonitorRectFromPt(10, 10, &area, TRUE), MonitorFromPoint(POINT{10, 10}, MONITOR_DEFAULTTONEAREST));
  EXPECT_RECT(area, a);
  EXPECT_NE(ZqMonitor_GetMonitorRectFromPt(-4000, 10, &area, FALSE), nullptr);
  EXPECT_RECT(area, screen);
  EXPECT_TRUE(ZqMonitor_IsPointOnScreen(POINT{screen.right - 1, screen.bottom - 1}));
  EXPECT_FALSE(ZqMonitor_IsPointOnScreen(POINT{screen.right, 0}));
  EXPECT_FALSE(ZqMonitor_IsPointOnScreen(POINT{-1, 5}));
  const RECT offScreen{screen.right + 5, 0, screen.right + 50, 50}, partly{screen.right - 1, 0, screen.right + 50, 50};
  EXPECT_FALSE(ZqMonitor_IsRectOnScreen(&offScreen));
  EXPECT_TRUE(ZqMonitor_IsRectOnScreen(&partly));
}

TEST(MonitorGeometry, WindowsMovedOntoTheirMonitorKeepTheirSize) {
  const RECT a = WorkArea();
  Window window(a.right + 300, a.bottom + 200, 240, 160);
  ASSERT_NE(window.hwnd, nullptr);
  EXPECT_FALSE(ZqMonitor_IsWindowOnScreen(window.hwnd));
  RECT monitor;
  EXPECT_EQ(ZqMonitor_GetMonitorRect(window.hwnd, &monitor, TRUE), MonitorFromWindow(window.hwnd, MONITOR_DEFAULTTONEAREST));
  EXPECT_RECT(monitor, a);
  EXPECT_TRUE(ZqMonitor_MakeSureWindowIsVisible(window.hwnd));
  EXPECT_RECT(window.rect(), (RECT{a.right - 240, a.bottom - 160, a.right, a.bottom}));
  EXPECT_FALSE(ZqMonitor_MakeSureWindowIsVisible(window.hwnd));  // visible now: left alone
  EXPECT_TRUE(ZqMonitor_CenterWindow(window.hwnd));
  const int left = a.left + (a.right - a.left - 240) / 2, top = a.top + (a.bottom - a.top - 160) / 2;
  EXPECT_RECT(window.rect(), (RECT{left, top, left + 240, top + 160}));
  SetWindowPos(window.hwnd, nullptr, -100, -50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(ZqMonitor_ClipWindowToMonitor(nullptr, window.hwnd, TRUE));
  EXPECT_RECT(window.rect(), (RECT{a.left, a.top, a.left + 240, a.top + 160}));
  EXPECT_TRUE(ZqMonitor_CenterWindowToMonitor(nullptr, window.hwnd, FALSE));
  EXPECT_EQ(window.rect().left, (ScreenWidth() - 240) / 2);
}

TEST(DesktopForcing, RectanglesKeepTheMarginsAndTheirSize) {
  const RECT a = WorkArea();
  struct Case {
    RECT in, out;
    BOOL moved;
  };
  const Case cases[] = {
      {{a.left + 100, a.top + 100, a.left + 300, a.top + 250}, {a.left + 100, a.top + 100, a.left + 300, a.top + 250}, 0},
      {{a.left - 30, a.top + 50, a.left + 70, a.top + 150}, {a.left + 5, a.top + 50, a.left + 105, a.top + 150}, 1},
      {{a.right - 50, a.top + 3, a.right + 50, a.top + 43}, {a.right - 105, a.top + 7, a.right - 5, a.top + 47}, 1},
      {{a.left + 10, a.bottom - 10, a.left + 20, a.bottom + 30}, {a.left + 10, a.bottom - 47, a.left + 20, a.bottom - 7}, 1},
      // Larger than the area: the left and top edges stay inside.
      {{a.left - 100, a.top - 100, a.right + 100, a.bottom + 100},
       {a.left + 5, a.top + 7, a.right + 205, a.bottom + 207}, 1},
      // Off every monitor.
      {{5000, 5000, 5400, 5300}, {a.right - 405, a.bottom - 307, a.right - 5, a.bottom - 7}, 1},
  };
  for (const Case& c : cases) {
    RECT r = c.in;
    EXPECT_EQ(ZqForceRectOntoDesktop(&r, 5, 7), c.moved) << Show(c.in);
    EXPECT_RECT(r, c.out);
  }
  EXPECT_FALSE(ZqForceRectOntoDesktop(nullptr, 0, 0));
}

TEST(DesktopForcing, PopupsOpenBesideTheirAnchorTowardsTheCentre) {
  const RECT a = WorkArea();
  struct Case {
    const char* what;
    RECT anchor, out;
  };
  const Case cases[] = {
      {"lower right quarter: above and to the left",
       {a.right - 200, a.bottom - 150, a.right - 180, a.bottom - 130},
       {a.right - 320, a.bottom - 230, a.right - 200, a.bottom - 150}},
      {"upper left quarter: below and to the right",
       {a.left + 40, a.top + 30, a.left + 60, a.top + 50},
       {a.left + 60, a.top + 50, a.left + 180, a.top + 130}},
      {"lower left quarter: above and to the right",
       {a.left + 40, a.bottom - 60, a.left + 60, a.bottom - 40},
       {a.left + 60, a.bottom - 140, a.left + 180, a.bottom - 60}},
      {"crossing the left edge: pushed inside the margin",
       {a.left + 10, a.top + 10, a.right - 5, a.top + 30},
       {a.left + 4, a.top + 30, a.left + 124, a.top + 110}},
  };
  for (const Case& c : cases) {
    RECT popup{0, 0, 120, 80};
    EXPECT_TRUE(ZqForcePopupRectOntoDesktop(&popup, &c.anchor, 4, 4));
    EXPECT_EQ(Show(popup), Show(c.out)) << c.what;
  }
}

TEST(DesktopForcing, CaptionVisibleWhenAThresholdSquareOfItShows) {
  const int caption = GetSystemMetrics(SM_CYSMCAPTION);
  const int threshold = caption > 5 ? caption / 2 : 3;
  const int w = ScreenWidth();
  struct Case {
    RECT rect;
    BOOL visible;
  };
  const Case cases[] = {
      {{100, 100, 400, 300}, 1},
      {{w - threshold, 100, w + 300, 300}, 1},
      {{w - threshold + 1, 100, w + 300, 300}, 0},
      {{100, threshold - caption, 400, 300}, 1},
      {{100, threshold - caption - 1, 400, 300}, 0},
      {{-400, 100, threshold, 300}, 1},
      {{-400, 100, threshold - 1, 300}, 0},
      {{5000, 5000, 5400, 5300}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ZqIsWindowCaptionVisible(&c.rect), c.visible) << Show(c.rect);
}

TEST(Centring, ByFlagsOnTheScreenAWindowItsClientAreaOrTheParent) {
  const int sw = ScreenWidth(), sh = ScreenHeight();
  const RECT a = WorkArea();
  Window window(10, 10, 200, 150, WS_POPUP | WS_VISIBLE);
  const POINT none{0, 0};
  ASSERT_TRUE(ZqWndCenter(window.hwnd, nullptr, none, ZQ_WNDCENTER_AREA));
  EXPECT_RECT(window.rect(), (RECT{(sw - 200) / 2, (sh - 150) / 2, (sw - 200) / 2 + 200, (sh - 150) / 2 + 150}));
  ZqWndCenter(window.hwnd, nullptr, none, ZQ_WNDCENTER_THIRD);
  EXPECT_EQ(window.rect().top, sh / 3 - 150 / 3);
  EXPECT_EQ(window.rect().left, (sw - 200) / 2);
  ZqWndCenter(window.hwnd, nullptr, POINT{300, 310}, ZQ_WNDCENTER_POINT);
  EXPECT_RECT(window.rect(), (RECT{200, 235, 400, 385}));
  ZqWndCenter(window.hwnd, nullptr, POINT{5, 5}, ZQ_WNDCENTER_POINT);  // kept on the desktop
  EXPECT_RECT(window.rect(), (RECT{a.left, a.top, a.left + 200, a.top + 150}));
  POINT cursor;
  if (SetCursorPos(500, 400) && GetCursorPos(&cursor) && cursor.x == 500 && cursor.y == 400) {
    ZqWndCenter(window.hwnd, nullptr, none, ZQ_WNDCENTER_MOUSE);
    EXPECT_RECT(window.rect(), (RECT{400, 325, 600, 475}));
  }

  Window reference(300, 200, 500, 400);
  RECT outer = reference.rect(), client;
  GetClientRect(reference.hwnd, &client);
  MapWindowPoints(reference.hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  ZqWndCenter(window.hwnd, reference.hwnd, none, ZQ_WNDCENTER_AREA);
  EXPECT_EQ(window.rect().left, outer.left + (outer.right - outer.left - 200) / 2);
  EXPECT_EQ(window.rect().top, outer.top + (outer.bottom - outer.top - 150) / 2);
  ZqWndCenter(window.hwnd, reference.hwnd, none, ZQ_WNDCENTER_CLIENT);
  EXPECT_EQ(window.rect().left, client.left + (client.right - client.left - 200) / 2);
  EXPECT_EQ(window.rect().top, client.top + (client.bottom - client.top - 150) / 2);
  ZqWndCenter(window.hwnd, reference.hwnd, none, ZQ_WNDCENTER_CLIENT | ZQ_WNDCENTER_THIRD);
  EXPECT_EQ(window.rect().top, client.top + (client.bottom - client.top) / 3 - 150 / 3);

  // A child centred in its parent's client area lands there on the screen.
  Window child(0, 0, 60, 40, WS_CHILD | WS_VISIBLE, reference.hwnd);
  ASSERT_TRUE(ZqWndCenter(child.hwnd, nullptr, none, ZQ_WNDCENTER_PARENT | ZQ_WNDCENTER_CLIENT));
  EXPECT_EQ(child.rect().left, client.left + (client.right - client.left - 60) / 2);
  EXPECT_EQ(child.rect().top, client.top + (client.bottom - client.top - 40) / 2);
  ZqWndCenter(child.hwnd, nullptr, none, ZQ_WNDCENTER_PARENT);
  EXPECT_EQ(child.rect().left, outer.left + (outer.right - outer.left - 60) / 2);
  // A window without a parent is centred on the screen.
  ZqWndCenter(window.hwnd, nullptr, none, ZQ_WNDCENTER_PARENT);
  EXPECT_EQ(window.rect().left, (sw - 200) / 2);
  EXPECT_FALSE(ZqWndCenter(nullptr, nullptr, none, 0));
}

// ---- Stored placements --------------------------------------------------------

constexpr DWORD kVersion = ZQMETRIC_VERSION(1, 0);
constexpr LONG kId = 7;

class Placement : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = std::wstring(L"QuilletTest.Placement.") +
            std::wstring(testing::UnitTest::GetInstance()->current_test_info()->name(),
                         testing::UnitTest::GetInstance()->current_test_info()->name() +
                             std::strlen(testing::UnitTest::GetInstance()->current_test_info()->name()));
    ZqMetric_DeleteAll(name_.c_str(), kVersion);
    ASSERT_EQ(ZqMetric_Open(&metric_, name_.c_str(), kVersion, nullptr), S_OK);
  }
  void TearDown() override {
    ZqMetric_Close(metric_);
    ZqMetric_DeleteAll(name_.c_str(), kVersion);
  }
  void Store(const WINDOWPLACEMENT& placement, DWORD size = sizeof(WINDOWPLACEMENT)) {
    ASSERT_EQ(ZqSetMetricBinary(metric_, kId, &placement, size), S_OK);
  }
  static WINDOWPLACEMENT Normal(RECT rect, UINT show = SW_SHOWNORMAL) {
    WINDOWPLACEMENT p{};
    p.length = sizeof(p);
    p.showCmd = show;
    p.ptMinPosition = POINT{-1, -1};
    p.ptMaxPosition = POINT{-1, -1};
    p.rcNormalPosition = rect;
    return p;
  }
  static RECT NormalRect(HWND window) {
    WINDOWPLACEMENT p{};
    p.length = sizeof(p);
    GetWindowPlacement(window, &p);
    return p.rcNormalPosition;
  }
  static RECT DefaultRect() {
    const RECT a = WorkArea();
    const int dx = (a.right - a.left) / 16, dy = (a.bottom - a.top) / 16;
    return RECT{a.left + dx, a.top + dy, a.right - dx, a.bottom - dy};
  }
  std::wstring name_;
  HZQMETRIC metric_ = nullptr;
};

// The bytes reg.exe shows for a REG_BINARY value.
std::vector<BYTE> RegQueryBinary(const std::wstring& key, const wchar_t* value) {
  std::string output;
  const DWORD code = testsupport::RunSystemProgramCapture(L"reg.exe query \"" + key + L"\" /v " + value, &output);
  EXPECT_EQ(code, 0u) << output;
  const size_t at = output.find("REG_BINARY");
  if (at == std::string::npos) return {};
  size_t pos = output.find_first_not_of(" \t", at + 10);
  std::vector<BYTE> bytes;
  while (pos + 1 < output.size() && isxdigit(static_cast<unsigned char>(output[pos])) &&
         isxdigit(static_cast<unsigned char>(output[pos + 1]))) {
    bytes.push_back(static_cast<BYTE>(std::stoi(output.substr(pos, 2), nullptr, 16)));
    pos += 2;
  }
  return bytes;
}

TEST_F(Placement, SavedAsFortyFourBytesThatRegQueryShows) {
  Window window(120, 140, 420, 300);
  ASSERT_EQ(ZqWindowPlacement(window.hwnd, metric_, kId, ZQ_PLACEMENT_SAVE), S_OK);
  WINDOWPLACEMENT expected{};
  expected.length = sizeof(expected);
  ASSERT_TRUE(GetWindowPlacement(window.hwnd, &expected));
  const BYTE* raw = reinterpret_cast<const BYTE*>(&expected);
  const std::vector<BYTE> shown =
      RegQueryBinary(L"HKCU\\Software\\Halvane\\" + name_ + L"\\1.0\\Metrics", L"B7");
  ASSERT_EQ(shown.size(), 44u);
  EXPECT_EQ(shown, std::vector<BYTE>(raw, raw + 44));

  WINDOWPLACEMENT loaded{};
  EXPECT_EQ(ZqLoadWindowPlacement(metric_, kId, ZQ_PLACEMENT_RESTORE, &loaded), 0);
  EXPECT_EQ(std::memcmp(&loaded, &expected, 44), 0);
  EXPECT_EQ(ZqLoadWindowPlacement(metric_, kId, ZQ_PLACEMENT_RESTORE, nullptr), E_POINTER);
  EXPECT_EQ(ZqWindowPlacement(window.hwnd, metric_, kId, 3), E_FAIL);
  EXPECT_EQ(ZqWindowPlacement(window.hwnd, metric_, kId, -1), E_FAIL);
}

TEST_F(Placement, RestoredInEachMode) {
  const RECT a = WorkArea();
  const RECT stored{a.left + 60, a.top + 70, a.left + 460, a.top + 370};
  const RECT offEverything{5000, 5000, 5400, 5300};
  const RECT forced{a.right - 400, a.bottom - 300, a.right, a.bottom};
  const RECT moved{a.left + 10, a.top + 20, a.left + 310, a.top + 220};
  struct Case {
    const char* what;
    bool store;
    WINDOWPLACEMENT placement;
    DWORD size;
    int mode;
    HRESULT result;
    RECT expected;  // the window's normal rectangle afterwards
  };
  WINDOWPLACEMENT maximisedAt = Normal(stored);
  maximisedAt.ptMaxPosition = POINT{0, 0};
  const Case cases[] = {
      {"stored, mode 1", true, Normal(stored), 44, 1, 0, stored},
      {"stored, mode 2", true, Normal(stored), 44, 2, 0, stored},
      {"nothing stored, mode 1: untouched", false, {}, 0, 1, 1, moved},
      {"nothing stored, mode 2: the default", false, {}, 0, 2, 1, DefaultRect()},
      {"off every monitor, mode 1", true, Normal(offEverything), 44, 1, 0, forced},
      {"off every monitor, mode 2", true, Normal(offEverything), 44, 2, 0, forced},
      {"40 bytes, mode 1: ignored", true, Normal(stored), 40, 1, 1, moved},
      {"40 bytes, mode 2: the default", true, Normal(stored), 40, 2, 1, DefaultRect()},
      {"a maximised position, mode 2: the default", true, maximisedAt, 44, 2, 1, DefaultRect()},
      {"a maximised position, mode 1", true, maximisedAt, 44, 1, 0, stored},
      {"minimised, mode 1: shown normal", true, Normal(stored, SW_SHOWMINIMIZED), 44, 1, 0, stored},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ZqDeleteMetric(metric_, kId, ZQMETRIC_KIND_BINARY);
    if (c.store) Store(c.placement, c.size);
    Window window(moved.left, moved.top, moved.right - moved.left, moved.bottom - moved.top);
    EXPECT_EQ(ZqWindowPlacement(window.hwnd, metric_, kId, c.mode), c.result);
    EXPECT_RECT(NormalRect(window.hwnd), c.expected);
    EXPECT_FALSE(IsIconic(window.hwnd));
    if (c.result == 0) {
      EXPECT_RECT(window.rect(), c.expected);
    }
  }
}

TEST_F(Placement, LoadingFillsTheDefaultOnlyInMode2) {
  WINDOWPLACEMENT placement;
  std::memset(&placement, 0xAB, sizeof(placement));
  EXPECT_EQ(ZqLoadWindowPlacement(metric_, kId, ZQ_PLACEMENT_RESTORE_DEFAULT, &placement), 1);
  EXPECT_EQ(placement.length, 44u);
  EXPECT_EQ(placement.flags, 0u);
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  EXPECT_EQ(placement.ptMinPosition.x, -1);
  EXPECT_EQ(placement.ptMaxPosition.y, -1);
  EXPECT_RECT(placement.rcNormalPosition, DefaultRect());
  EXPECT_EQ(ZqLoadWindowPlacement(metric_, kId, ZQ_PLACEMENT_RESTORE, &placement), 1);

  WINDOWPLACEMENT minimised = Normal(RECT{5000, 5000, 5100, 5100}, SW_SHOWMINIMIZED);
  EXPECT_TRUE(ZqFixWindowPlacement(&minimised));
  EXPECT_EQ(minimised.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  const RECT a = WorkArea();
  EXPECT_RECT(minimised.rcNormalPosition, (RECT{a.right - 100, a.bottom - 100, a.right, a.bottom}));
  EXPECT_FALSE(ZqFixWindowPlacement(nullptr));
}

}  // namespace
