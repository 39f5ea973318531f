// The fader as a person sees it: thumbs drawn where the layout computes
// them (linear, tapered, over the full integer range), the window-less
// instance drawn by a host exactly as the window draws itself, and pictures
// of mono and stereo faders in each thumb style, with and without the focus.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <commctrl.h>
#include <string>

#include "controls_test_support.h"
#include "fader_test_support.h"
#include "screenshot.h"
#include "zq/fader.h"

using controlstest::Canvas;
using controlstest::TestWindow;
using fadertest::Host;

namespace {

void Configure(ZQFADERINST* inst, LONG min, LONG max, LONG value, DWORD style = 0, DWORD mask = 0) {
  LONG values[2] = {value, value};
  ZQFADERSETUP setup{min, max, 0, 1, 0, style, mask, 0, values};
  FaderInst_Message(inst, FDM_SETUP, 0, reinterpret_cast<LPARAM>(&setup));
}

// The grip of a mono thumb, found in a picture of a hosted instance.
LONG DrawnGrip(ZQFADERINST* inst, const RECT& area, bool vertical) {
  Canvas canvas(area.right, area.bottom);
  FaderInst_Draw(inst, canvas.dc());
  return fadertest::GripAt(canvas, vertical, 3);
}

TEST(FaderPaint, ThumbsAreDrawnWhereTheLayoutPutsThem) {
  struct Case {
    DWORD style;
    LONG min, max;
    std::initializer_list<LONG> values;
  } cases[] = {
      {FADS_VERT, 0, 100, {0, 1, 37, 50, 99, 100}},
      {0, -1000, 1000, {-1000, -3, 0, 777, 1000}},
      {FADS_VERT, INT_MIN, INT_MAX, {INT_MIN, -1, 0, INT_MAX / 3, INT_MAX}},
      {FADS_VERT | FADS_THUMB10, 0, 7, {0, 3, 7}},
  };
  for (const Case& c : cases) {
    const bool vertical = c.style & FADS_VERT;
    const RECT area = vertical ? RECT{0, 0, 36, 230} : RECT{0, 0, 230, 36};
    const int thumb = (c.style & FADS_THUMBSIZE_MASK) == FADS_THUMB10 ? 10 : 20;
    ZQFADERINST inst{};
    FaderInst_Init(&inst, c.style, &area, nullptr, 1, nullptr, 0);
    for (LONG value : c.values) {
      Configure(&inst, c.min, c.max, value);
      EXPECT_EQ(DrawnGrip(&inst, area, vertical), fadertest::ExpectedPixel(area, vertical, thumb, value, c.min, c.max))
          << c.min << ".." << c.max << " value " << value;
    }
    FaderInst_Deinit(&inst);
  }
}

TEST(FaderPaint, TaperDrawsThirtyWhereLinearDrawsTwoHundredFifty) {
  const RECT area{0, 0, 36, 230};
  ZQFADERINST taper{}, linear{};
  FaderInst_Init(&taper, FADS_VERT | FADS_TAPER, &area, nullptr, 1, nullptr, 0);
  FaderInst_Init(&linear, FADS_VERT, &area, nullptr, 2, nullptr, 0);
  Configure(&taper, 0, 1000, 30);
  Configure(&linear, 0, 1000, 250);
  const LONG grip = DrawnGrip(&linear, area, true);
  EXPECT_EQ(grip, fadertest::ExpectedPixel(area, true, 20, 250, 0, 1000));
  EXPECT_EQ(DrawnGrip(&taper, area, true), grip);
  // Over the whole track, a drag to a pixel gives the first value that
  // reaches it: drawn on that pixel, or (near the bottom, where one value
  // spans up to 250 / 30 taper units, under 2 pixels) on the next one up.
  for (LONG y = 10; y <= 220; y += 3) {
    FaderInst_Message(&taper, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, DrawnGrip(&taper, area, true)));
    FaderInst_Message(&taper, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, y));
    FaderInst_Message(&taper, WM_LBUTTONUP, 0, MAKELPARAM(3, y));
    const LONG drawn = DrawnGrip(&taper, area, true);
    EXPECT_LE(drawn, y) << "value " << FaderInst_Message(&taper, FDM_GETPOS, 0, 0);
    EXPECT_GE(drawn, y - 1) << "value " << FaderInst_Message(&taper, FDM_GETPOS, 0, 0);
    if (y < 150) {
      EXPECT_EQ(drawn, y);  // above the steep part every pixel is reached
    }
  }
  FaderInst_Deinit(&taper);
  FaderInst_Deinit(&linear);
}

TEST(FaderPaint, HostedInstanceDrawsAndAnswersAsTheWindow) {
  ASSERT_TRUE(fadertest::RegisterClassOnce());
  TestWindow parent(0, 40, 40, 300, 260);
  HWND fader = CreateWindowExW(0, fadertest::kClass, L"", WS_CHILD | WS_VISIBLE | FADS_VERT | FADS_STEREO, 20, 20,
                               41, 220, parent.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  Host host(parent.hwnd(), FADS_VERT | FADS_STEREO, RECT{100, 20, 141, 240});
  for (UINT message : {static_cast<UINT>(FDM_SETMAX), static_cast<UINT>(FDM_SETMIN)}) {
    const LPARAM value = message == FDM_SETMAX ? 500 : -500;
    SendMessageW(fader, message, TRUE, value);
    host.Send(message, TRUE, value);
  }
  const LONG values[2] = {-120, 333};
  SendMessageW(fader, FDM_SETCHANNEL, MAKEWPARAM(TRUE, 0), reinterpret_cast<LPARAM>(values));
  host.Send(FDM_SETCHANNEL, MAKEWPARAM(TRUE, 0), reinterpret_cast<LPARAM>(values));
  for (UINT key : std::initializer_list<UINT>{VK_UP, VK_PRIOR, 'R', VK_NEXT, '3'}) {
    SendMessageW(fader, WM_KEYDOWN, key, 0);
    host.Send(WM_KEYDOWN, key, 0);
  }
  for (int channel = 1; channel <= 2; ++channel)
    EXPECT_EQ(SendMessageW(fader, FDM_GETCHANNEL, MAKEWPARAM(0, channel), 0),
              host.Send(FDM_GETCHANNEL, MAKEWPARAM(0, channel), 0));
  EXPECT_EQ(SendMessageW(fader, FDM_GETMIN, 0, 0), -500);

  // The window's own picture against the host's drawing into a memory bitmap.
  RedrawWindow(fader, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  controlstest::Pump(20);
  Canvas fromWindow(41, 220), fromHost(41, 220);
  HDC dc = GetDC(fader);
  BitBlt(fromWindow.dc(), 0, 0, 41, 220, dc, 0, 0, SRCCOPY);
  ReleaseDC(fader, dc);
  FaderInst_Draw(host.inst(), fromHost.dc());
  EXPECT_TRUE(fromWindow.SameAs(fromHost));
  DestroyWindow(fader);
}

// ---- Pictures ----------------------------------------------------------------------------------

HBITMAP ThumbBitmap(int width, int height) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
  RECT mid{1, height / 2 - 1, width - 1, height / 2 + 1};
  FillRect(dc, &mid, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

HIMAGELIST ThumbImages(COLORREF colour) {
  HIMAGELIST images = ImageList_Create(15, 18, ILC_COLOR24, 2, 0);
  for (int i = 0; i < 2; ++i) {
    HBITMAP bitmap = ThumbBitmap(15, 18);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT inner{2, 2, 13, 16};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &inner, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_Add(images, bitmap, nullptr);
    DeleteObject(bitmap);
  }
  return images;
}

TEST(FaderPaint, PicturesOfEachThumbStyle) {
  ASSERT_TRUE(fadertest::RegisterClassOnce());
  TestWindow parent(0, 30, 30, 520, 280);
  struct Look {
    DWORD style;
    int kind;  // 0 drawn, 1 bitmap, 2 image list
  } looks[] = {
      {FADS_VERT | 0x1000, 0},
      {FADS_VERT | FADS_THUMB10, 0},
      {FADS_VERT | FADS_TRACK_NARROW, 0},
      {FADS_VERT, 1},
      {FADS_VERT, 2},
  };
  HBITMAP bitmap = ThumbBitmap(13, 24);
  HIMAGELIST normal = ThumbImages(RGB(0, 120, 215)), tracking = ThumbImages(RGB(255, 140, 0)),
             disabled = ThumbImages(RGB(160, 160, 160));
  HIMAGELIST lists[3] = {normal, tracking, disabled};
  const LONG metrics[4] = {15, 18, 18, 0};
  std::vector<HWND> faders;
  int x = 10;
  for (const Look& look : looks)
    for (bool stereo : {false, true}) {
      HWND fader = CreateWindowExW(0, fadertest::kClass, L"", WS_CHILD | WS_VISIBLE | look.style |
                                   (stereo ? FADS_STEREO : 0), x, 10, 40, 240, parent.hwnd(), nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
      const LONG values[2] = {stereo ? 30 : 70, 85};
      SendMessageW(fader, FDM_SETCHANNEL, MAKEWPARAM(TRUE, 0), reinterpret_cast<LPARAM>(values));
      auto inst = reinterpret_cast<ZQFADERINST*>(GetWindowLongPtrW(fader, 0));
      if (look.kind == 1) FaderInst_SetThumbBitmap(inst, bitmap, nullptr);
      if (look.kind == 2) SendMessageW(fader, FDM_SETIMAGELIST, reinterpret_cast<WPARAM>(lists),
                                       reinterpret_cast<LPARAM>(metrics));
      faders.push_back(fader);
      x += 50;
    }
  SetForegroundWindow(parent.hwnd());
  SetFocus(parent.hwnd());
  auto shot = testsupport::SaveWindowScreenshot(parent.hwnd(), L"fader_thumb_styles_unfocused");
  EXPECT_TRUE(shot.saved);
  EXPECT_GT(shot.colours, 6);
  // Each fader with the focus: the caret marks its thumbs (a grey block on
  // image-list thumbs).
  const wchar_t* names[] = {L"ticks", L"thumb10", L"narrow", L"bitmap", L"imagelist"};
  for (size_t i = 0; i < faders.size(); ++i) {
    SetFocus(faders[i]);
    EXPECT_EQ(GetFocus(), faders[i]);
    const std::wstring name = std::wstring(L"fader_focused_") + names[i / 2] + (i % 2 ? L"_stereo" : L"_mono");
    shot = testsupport::SaveWindowScreenshot(parent.hwnd(), name.c_str());
    EXPECT_TRUE(shot.saved);
  }
  for (HWND fader : faders) DestroyWindow(fader);
  DeleteObject(bitmap);
  for (HIMAGELIST list : lists) ImageList_Destroy(list);
}

}  // namespace
