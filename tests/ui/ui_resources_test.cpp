// User-interface fonts, cursors and the recolouring bitmap loader, checked
// against the platform's fonts, metrics and cursor information.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <map>
#include <string>

#include "controls_test_support.h"
#include "screenshot.h"
#include "ui_test_ids.h"
#include "zq/ui.h"

using controlstest::Canvas;
using controlstest::Rgb;

namespace {

LOGFONTW FontOf(HGDIOBJ font) {
  LOGFONTW log{};
  EXPECT_EQ(GetObjectW(font, sizeof(log), &log), static_cast<int>(sizeof(log)));
  return log;
}

int Dpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// The character height of a stock font in points, from its text metrics.
int Points(int stock) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, GetStockObject(stock));
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return MulDiv(metrics.tmHeight - metrics.tmInternalLeading, 72, Dpi());
}

LONG Height(int points) { return -MulDiv(points, Dpi(), 72); }

BYTE ExpectedQuality() {
  BOOL smoothing = FALSE;
  UINT type = 0;
  SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &smoothing, 0);
  SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0);
  return smoothing && type == FE_FONTSMOOTHINGCLEARTYPE ? CLEARTYPE_QUALITY : PROOF_QUALITY;
}

SIZE ExtentIn(HFONT font, const wchar_t* text) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font);
  SIZE size{};
  GetTextExtentPoint32W(screen, text, static_cast<int>(wcslen(text)), &size);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return size;
}

// ---- Fonts --------------------------------------------------------------------

TEST(UiFonts, StockIdsAreMadeAnewWithTheLibrarysPrecisionAndQuality) {
  for (int id : {OEM_FIXED_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, SYSTEM_FONT, DEVICE_DEFAULT_FONT, SYSTEM_FIXED_FONT,
                 DEFAULT_GUI_FONT}) {
    HFONT first = ZqGetUIFont(id), second = ZqGetUIFont(id);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second) << id;
    EXPECT_NE(first, GetStockObject(id)) << id;
    const LOGFONTW made = FontOf(first), stock = FontOf(GetStockObject(id));
    EXPECT_EQ(made.lfHeight, stock.lfHeight) << id;
    EXPECT_STREQ(made.lfFaceName, stock.lfFaceName) << id;
    EXPECT_EQ(made.lfOutPrecision, OUT_TT_ONLY_PRECIS) << id;  // the system passes the XP test
    EXPECT_EQ(made.lfQuality, ExpectedQuality()) << id;
    EXPECT_TRUE(DeleteObject(first));
    EXPECT_TRUE(DeleteObject(second));
  }
  for (int other : {0, 9, 15, 18, 99, 101, 200, -1})
    EXPECT_EQ(ZqGetUIFont(other), GetStockObject(DEFAULT_GUI_FONT)) << other;
}

TEST(UiFonts, CachedFontsAgainstThePlatform) {
  HDC screen = GetDC(nullptr);
  const BYTE charset = static_cast<BYTE>(GetTextCharset(screen));
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(ZqGetUIFontCharset(), charset);
  const LOGFONTW gui = FontOf(GetStockObject(DEFAULT_GUI_FONT));
  const int guiPoints = Points(DEFAULT_GUI_FONT), fixedPoints = Points(ANSI_FIXED_FONT);
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
  LOGFONTW iconTitle{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(iconTitle), &iconTitle, 0));

  struct Expect {
    int id;
    LONG height, weight;
    const wchar_t* face;
    BYTE pitch;  // 0: not checked
  } table[] = {
      {100, gui.lfHeight, FW_NORMAL, L"MS Shell Dlg 2", VARIABLE_PITCH | FF_SWISS},
      {104, gui.lfHeight, FW_BOLD, L"MS Shell Dlg 2", VARIABLE_PITCH | FF_SWISS},
      {110, Height(guiPoints - 1), FW_NORMAL, L"MS Shell Dlg 2", VARIABLE_PITCH | FF_SWISS},
      {112, Height(guiPoints - 1), FW_BOLD, L"MS Shell Dlg 2", VARIABLE_PITCH | FF_SWISS},
      {102, Height(fixedPoints - 1), FW_NORMAL, L"Courier New", FIXED_PITCH | FF_MODERN},
      {120, Height(fixedPoints - 2), FW_NORMAL, L"Courier New", FIXED_PITCH | FF_MODERN},
      {106, ncm.lfMessageFont.lfHeight, FW_NORMAL, ncm.lfMessageFont.lfFaceName, 0},
      {108, ncm.lfMessageFont.lfHeight, FW_BOLD, ncm.lfMessageFont.lfFaceName, 0},
      {129, Height(16), FW_MEDIUM, L"MS Shell Dlg 2", VARIABLE_PITCH},
      {130, Height(12), FW_MEDIUM, L"MS Shell Dlg 2", VARIABLE_PITCH | FF_SWISS},
      {134, Height(12), FW_BOLD, L"MS Shell Dlg 2", VARIABLE_PITCH},
      {140, ncm.lfCaptionFont.lfHeight, ncm.lfCaptionFont.lfWeight, ncm.lfCaptionFont.lfFaceName, 0},
      {141, ncm.lfSmCaptionFont.lfHeight, ncm.lfSmCaptionFont.lfWeight, ncm.lfSmCaptionFont.lfFaceName, 0},
      {142, ncm.lfMenuFont.lfHeight, ncm.lfMenuFont.lfWeight, ncm.lfMenuFont.lfFaceName, 0},
      {143, ncm.lfStatusFont.lfHeight, ncm.lfStatusFont.lfWeight, ncm.lfStatusFont.lfFaceName, 0},
      {144, ncm.lfMessageFont.lfHeight, ncm.lfMessageFont.lfWeight, ncm.lfMessageFont.lfFaceName, 0},
      {145, iconTitle.lfHeight, iconTitle.lfWeight, iconTitle.lfFaceName, 0},
      {146, iconTitle.lfHeight, iconTitle.lfWeight >= FW_BOLD ? FW_EXTRABOLD : FW_BOLD, iconTitle.lfFaceName, 0},
  };
  for (const Expect& e : table) {
    HFONT font = ZqGetUIFont(e.id);
    ASSERT_NE(font, nullptr) << e.id;
    EXPECT_EQ(ZqGetUIFont(e.id), font) << e.id;
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << e.id;
    const LOGFONTW log = FontOf(font);
    EXPECT_EQ(log.lfHeight, e.height) << e.id;
    EXPECT_EQ(log.lfWeight, e.weight) << e.id;
    EXPECT_STREQ(log.lfFaceName, e.face) << e.id;
    if (e.pitch) {
      EXPECT_EQ(log.lfPitchAndFamily, e.pitch) << e.id;
      EXPECT_EQ(log.lfCharSet, charset) << e.id;
    }
    if (e.id < 145) {
      EXPECT_EQ(log.lfOutPrecision, OUT_TT_ONLY_PRECIS) << e.id;
      EXPECT_EQ(log.lfQuality, ExpectedQuality()) << e.id;
    }
    // Its cached size is the extent of "0", the same record every time.
    const SIZE* size = ZqGetUIFontSize(e.id);
    ASSERT_NE(size, nullptr) << e.id;
    EXPECT_EQ(ZqGetUIFontSize(e.id), size);
    const SIZE zero = ExtentIn(font, L"0");
    EXPECT_EQ(size->cx, zero.cx) << e.id;
    EXPECT_EQ(size->cy, zero.cy) << e.id;
  }
}

TEST(UiFonts, SizesAndTextExtents) {
  for (int id = 0; id <= 17; ++id) EXPECT_NE(ZqGetUIFontSize(id), nullptr) << id;
  const SIZE* gui = ZqGetUIFontSize(DEFAULT_GUI_FONT);
  const SIZE expected = ExtentIn(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), L"0");
  EXPECT_EQ(gui->cx, expected.cx);
  EXPECT_EQ(gui->cy, expected.cy);
  for (int id : {18, 99, 101, 147, 200, -1}) EXPECT_EQ(ZqGetUIFontSize(id), nullptr) << id;

  HFONT font = ZqGetUIFont(ZQ_UIFONT_BOLD);
  SIZE size{};
  ASSERT_TRUE(ZqGetFontSize(font, &size));
  EXPECT_EQ(size.cx, ExtentIn(font, L"0").cx);
  EXPECT_FALSE(ZqGetFontSize(font, nullptr));

  const wchar_t* text = L"Volume and pan";
  ASSERT_TRUE(ZqGetTextExtent(font, text, 0, &size));
  EXPECT_EQ(size.cx, ExtentIn(font, text).cx);
  EXPECT_EQ(size.cy, ExtentIn(font, text).cy);
  ASSERT_TRUE(ZqGetTextExtent(font, text, -3, &size));
  EXPECT_EQ(size.cx, ExtentIn(font, text).cx);
  ASSERT_TRUE(ZqGetTextExtent(font, text, 6, &size));
  EXPECT_EQ(size.cx, ExtentIn(font, L"Volume").cx);
  ASSERT_TRUE(ZqGetTextExtent(font, nullptr, 5, &size));
  EXPECT_EQ(size.cx, 0);
  EXPECT_FALSE(ZqGetTextExtent(font, text, 0, nullptr));
}

// ---- Cursors ----------------------------------------------------------------------

// Every library cursor's hot spot: those of 9, 11, 12, 18 ... 21, 26 ... 28
// and 39 ... 52 are what the controls rely on, the others where each drawing
// points (a tip, a centre, the pointer's tip above a badge).
const std::map<int, POINT> kHotSpots = {
    {1, {15, 15}},  {2, {0, 0}},    {3, {0, 0}},    {4, {0, 0}},    {5, {15, 15}},  {6, {15, 15}},  {7, {5, 0}},
    {8, {1, 30}},   {9, {15, 15}},  {10, {15, 15}}, {11, {15, 15}}, {12, {15, 14}}, {13, {15, 15}}, {14, {15, 15}},
    {15, {15, 15}}, {16, {15, 15}}, {17, {15, 15}}, {18, {0, 0}},   {19, {0, 0}},   {20, {0, 0}},   {21, {0, 0}},
    {22, {15, 23}}, {23, {23, 15}}, {24, {15, 15}}, {25, {15, 15}}, {26, {0, 0}},   {27, {0, 0}},   {28, {0, 0}},
    {29, {12, 12}}, {30, {12, 12}}, {31, {15, 15}}, {32, {15, 15}}, {33, {0, 0}},   {34, {0, 0}},   {35, {15, 15}},
    {36, {15, 2}},  {37, {5, 27}},  {38, {1, 30}},  {39, {15, 20}}, {40, {10, 14}}, {41, {16, 8}},  {42, {21, 14}},
    {43, {12, 18}}, {44, {12, 11}}, {45, {20, 18}}, {46, {19, 10}}, {47, {16, 15}}, {48, {16, 15}}, {49, {16, 15}},
    {50, {0, 0}},   {51, {0, 0}},   {52, {0, 0}},   {53, {15, 15}}, {54, {0, 0}},   {55, {0, 0}},   {56, {0, 0}},
};

struct CursorFacts {
  bool ok = false, icon = true;
  POINT hot{};
  int maskWidth = 0, maskHeight = 0, colourBits = 0;
  int black = 0, white = 0, inverted = 0;  // opaque pixels by colour, and screen-inverting ones
  std::string picture;                     // the AND and XOR halves as read
};

CursorFacts Facts(HCURSOR cursor) {
  CursorFacts facts;
  ICONINFO info{};
  if (!GetIconInfo(cursor, &info)) return facts;
  facts.ok = true;
  facts.icon = info.fIcon;
  facts.hot = {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
  BITMAP mask{};
  GetObjectW(info.hbmMask, sizeof(mask), &mask);
  facts.maskWidth = mask.bmWidth;
  facts.maskHeight = mask.bmHeight;
  facts.colourBits = info.hbmColor ? 1 : 0;
  if (mask.bmWidth == 32 && mask.bmHeight == 64) {
    facts.picture.resize(mask.bmWidthBytes * 64);
    GetBitmapBits(info.hbmMask, static_cast<LONG>(facts.picture.size()), facts.picture.data());
    auto bit = [&](int x, int y) { return (facts.picture[y * mask.bmWidthBytes + x / 8] >> (7 - x % 8)) & 1; };
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const int andBit = bit(x, y), xorBit = bit(x, y + 32);
        facts.black += !andBit && !xorBit;
        facts.white += !andBit && xorBit;
        facts.inverted += andBit && xorBit;
      }
  }
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return facts;
}

// Each cursor at its size over a light and a dark background, with its index.
void PaintCursors(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, ZqGetUIFont(ZQ_UIFONT_SMALL));
  for (int i = 1; i <= 56; ++i) {
    const int x = 8 + ((i - 1) % 8) * 88, y = 8 + ((i - 1) / 8) * 56;
    const RECT light{x, y, x + 40, y + 36}, dark{x + 40, y, x + 80, y + 36};
    FillRect(dc, &light, ZqGetUIBrush(COLOR_BTNFACE));
    FillRect(dc, &dark, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
    DrawIconEx(dc, x + 4, y + 2, ZqGetUICursor(i), 32, 32, 0, nullptr, DI_NORMAL);
    DrawIconEx(dc, x + 44, y + 2, ZqGetUICursor(i), 32, 32, 0, nullptr, DI_NORMAL);
    wchar_t label[8];
    wsprintfW(label, L"%d", i);
    RECT text{x, y + 36, x + 80, y + 50};
    DrawTextW(dc, label, -1, &text, DT_CENTER | DT_SINGLELINE);
  }
}

TEST(UiCursors, LibraryCursorsWithTheirHotSpots) {
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  std::map<std::string, int> pictures;
  for (int i = 1; i <= 56; ++i) {
    HCURSOR cursor = ZqGetUICursor(i);
    ASSERT_NE(cursor, nullptr) << i;
    EXPECT_NE(cursor, arrow) << i;
    EXPECT_EQ(ZqGetUICursor(i), cursor) << i;
    const CursorFacts facts = Facts(cursor);
    ASSERT_TRUE(facts.ok) << i;
    EXPECT_FALSE(facts.icon) << i;
    EXPECT_EQ(facts.maskWidth, 32) << i;
    EXPECT_EQ(facts.maskHeight, 64) << i;  // monochrome: AND and XOR halves
    EXPECT_EQ(facts.colourBits, 0) << i;
    const POINT hot = kHotSpots.at(i);
    EXPECT_EQ(facts.hot.x, hot.x) << i;
    EXPECT_EQ(facts.hot.y, hot.y) << i;
    // The system's manner: white shapes outlined in black, nothing inverted.
    EXPECT_GT(facts.white, 0) << i;
    EXPECT_GT(facts.black, 0) << i;
    EXPECT_EQ(facts.inverted, 0) << i;
    // Each is a picture of its own.
    const auto same = pictures.emplace(facts.picture, i);
    EXPECT_TRUE(same.second) << i << " repeats " << same.first->second;
  }
  controlstest::TestWindow window(0, 40, 40, 712, 408);
  window.onPaint = PaintCursors;
  const auto shot = testsupport::SaveWindowScreenshot(window.hwnd(), L"ui_cursors");
  EXPECT_TRUE(shot.saved);
  EXPECT_GT(shot.colours, 2);
}

TEST(UiCursors, ApplicationAndSystemRanges) {
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  // 120 lives in this test program's resources (a copy of cursor 9).
  HCURSOR app = ZqGetUICursor(IDC_TEST_APP_CURSOR);
  EXPECT_NE(app, arrow);
  EXPECT_EQ(ZqGetUICursor(IDC_TEST_APP_CURSOR), app);
  EXPECT_EQ(Facts(app).hot.x, 15);
  for (int none : {0, 57, 99, 100, 149, 150, 0x7EFF, 32517, 32647, 32652, -1})
    EXPECT_EQ(ZqGetUICursor(none), arrow) << none;
  const LPCWSTR system[] = {IDC_ARROW, IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_UPARROW, IDC_SIZENWSE, IDC_SIZENESW,
                            IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL, IDC_NO, IDC_HAND, IDC_APPSTARTING, IDC_HELP};
  for (LPCWSTR id : system) {
    const int index = static_cast<int>(reinterpret_cast<ULONG_PTR>(id));
    EXPECT_EQ(ZqGetUICursor(index), LoadCursorW(nullptr, id)) << index;
  }
}

// ---- Recolourable bitmaps ------------------------------------------------------------

const COLORREF kVga[16] = {RGB(0, 0, 0),     RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
                           RGB(0, 0, 128),   RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
                           RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 255, 0),   RGB(255, 255, 0),
                           RGB(0, 0, 255),   RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};

// The colour of palette block `index` (4 x 4 pixels each, four per row).
DWORD BlockColour(HBITMAP bitmap, int index) {
  Canvas canvas(16, 16);
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(source, bitmap);
  BitBlt(canvas.dc(), 0, 0, 16, 16, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  return canvas.Pixel((index % 4) * 4 + 1, (index / 4) * 4 + 1);
}

HBITMAP Load(int id, const COLORREF (&c)[6]) {
  return ZqLoadUIBitmapEx(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), c[0], c[1], c[2], c[3], c[4], c[5]);
}

TEST(UiBitmaps, SixteenColourBitmapsAreRecolouredFromACopy) {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(IDB_TEST_16COLORS), RT_BITMAP);
  ASSERT_NE(found, nullptr);
  const BYTE* resource = static_cast<const BYTE*>(LockResource(LoadResource(self, found)));
  const std::string before(reinterpret_cast<const char*>(resource), SizeofResource(self, found));

  const int replaced[6] = {0, 7, 8, 15, 11, 10};
  const COLORREF first[6] = {RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90), RGB(100, 110, 120),
                             RGB(130, 140, 150), RGB(160, 170, 180)};
  const COLORREF second[6] = {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4), RGB(5, 5, 5), RGB(6, 6, 6)};
  for (const auto* colours : {&first, &second}) {
    HBITMAP bitmap = Load(IDB_TEST_16COLORS, *colours);
    ASSERT_NE(bitmap, nullptr);
    for (int index = 0; index < 16; ++index) {
      COLORREF expected = kVga[index];
      for (int k = 0; k < 6; ++k)
        if (replaced[k] == index) expected = (*colours)[k];
      EXPECT_EQ(BlockColour(bitmap, index), Rgb(expected)) << index;
    }
    DeleteObject(bitmap);
  }
  // The resource (read-only memory) is as it was.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(resource), before.size()), before);
}

TEST(UiBitmaps, OtherBitmapsLoadUnpatchedOrNotAtAll) {
  const COLORREF colours[6] = {RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90), RGB(100, 110, 120),
                               RGB(130, 140, 150), RGB(160, 170, 180)};
  // A 4-bit bitmap with an 8-entry table and an 8-bit one: loaded as they are.
  for (int id : {IDB_TEST_8ENTRIES, IDB_TEST_256COLORS}) {
    HBITMAP bitmap = Load(id, colours);
    ASSERT_NE(bitmap, nullptr) << id;
    EXPECT_EQ(BlockColour(bitmap, 0), Rgb(kVga[0])) << id;
    EXPECT_EQ(BlockColour(bitmap, 7), Rgb(kVga[7])) << id;
    DeleteObject(bitmap);
  }
  // A core header, a resource shorter than its bits or its table, a missing one.
  for (int id : {IDB_TEST_COREHEADER, IDB_TEST_TRUNCATED, IDB_TEST_TABLE_ONLY, 999})
    EXPECT_EQ(Load(id, colours), nullptr) << id;
  EXPECT_EQ(ZqLoadUIBitmapEx(controlstest::Library(), MAKEINTRESOURCEW(IDB_TEST_16COLORS), 0, 0, 0, 0, 0, 0), nullptr);
}

}  // namespace
