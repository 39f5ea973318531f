// A full repaint of a screen-sized spreadsheet grid (60 visible rows, six
// columns, two embedded faders per row) against plain ExtTextOutW of the
// same cell texts into a bitmap of the same size, copied to the same window.
// Needs a display (scripts/run-bench starts a virtual one).
#include <cstdio>
#include <string>
#include <vector>

#include "bench.h"
#include "zq/fader.h"
#include "zq/grid.h"

namespace {

constexpr int kRows = 1000, kColumns = 6, kVisible = 60, kFrames = 40;

struct Table {
  std::vector<std::wstring> texts;  // kRows x kColumns
  std::vector<LONG> values;
  ZQSPREADCELL cell{};
  ZQSPREADROW row{1, 0};
  const std::wstring& Text(DWORD r, DWORD c) const { return texts[r * kColumns + c]; }
};
Table table;

int CALLBACK DecibelText(const ZQSPREADCONTROL*, LONG value, LPWSTR text, int capacity) {
  return swprintf(text, static_cast<size_t>(capacity), L"%+ld dB", static_cast<long>(value) - 100);
}

LONG CALLBACK RowCount(ZQSPREADIFACE*) { return kRows; }
const ZQSPREADROW* CALLBACK Row(ZQSPREADIFACE*, DWORD) { return &table.row; }
const ZQSPREADCELL* CALLBACK Cell(ZQSPREADIFACE*, DWORD row, DWORD column, int) {
  const std::wstring& text = table.Text(row, column);
  table.cell.text = text.c_str();
  table.cell.length = static_cast<LONG>(text.size());
  table.cell.value = table.values[row * kColumns + column];
  return &table.cell;
}

void Fill() {
  table.texts.resize(kRows * kColumns);
  table.values.resize(kRows * kColumns);
  wchar_t buffer[64];
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      const LONG value = (r * 37 + c * 11) % 128;
      table.values[r * kColumns + c] = value;
      switch (c) {
        case 0: swprintf(buffer, 64, L"Track %d", r + 1); break;
        case 1: swprintf(buffer, 64, L"%d", r % 16 + 1); break;
        case 2: case 3: DecibelText(nullptr, value, buffer, 64); break;
        case 4: swprintf(buffer, 64, L"C%d  %d", r % 8, value); break;
        default: swprintf(buffer, 64, L"A longer comment for row %d that the grid may shorten", r + 1); break;
      }
      table.texts[r * kColumns + c] = buffer;
    }
  }
}

HDC baselineMemory;
LONG baselineRowHeight;
RECT baselineSpans[kColumns];
RECT baselineSize;

LRESULT CALLBACK BaselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  for (int r = 0; r < kVisible; ++r) {
    const LONG top = baselineSpans[0].top + r * baselineRowHeight;
    for (int c = 0; c < kColumns; ++c) {
      const std::wstring& text = table.Text(static_cast<DWORD>(r), static_cast<DWORD>(c));
      RECT cell{baselineSpans[c].left, top, baselineSpans[c].right, top + baselineRowHeight};
      ExtTextOutW(baselineMemory, cell.left + 2, cell.top + 1, ETO_OPAQUE | ETO_CLIPPED, &cell, text.c_str(),
                  static_cast<UINT>(text.size()), nullptr);
    }
  }
  BitBlt(dc, 0, 0, baselineSize.right, baselineSize.bottom, baselineMemory, 0, 0, SRCCOPY);
  EndPaint(window, &paint);
  return 0;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

void GridRepaint() {
  Fill();
  WNDCLASSW cls{};
  cls.lpfnWndProc = HostProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  cls.lpszClassName = L"QuilletGridBenchHost";
  RegisterClassW(&cls);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  HWND host = CreateWindowExW(0, cls.lpszClassName, L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
                              nullptr, nullptr, cls.hInstance, nullptr);
  HWND grid = host ? CreateWindowExW(0, ZQSPREAD_CLASSNAME, L"", WS_CHILD | WS_VISIBLE | SPS_HLINES | SPS_VLINES, 0, 0,
                                     width, height, host, nullptr, cls.hInstance, nullptr)
                   : nullptr;
  if (!grid) {
    std::printf("%-46s (no display: skipped)\n", "grid full repaint");
    if (host) DestroyWindow(host);
    return;
  }
  ZQSPREADCONTROL fader{};
  fader.kind = SPK_FADER;
  fader.maximum = 127;
  fader.u.fader.centre = 100;
  fader.u.fader.style = FADS_THUMB10;
  fader.u.fader.textWidth = 44;
  fader.u.fader.format = DecibelText;
  ZQSPREADCOLUMN columns[kColumns] = {};
  const SHORT specs[kColumns] = {96, 32, -250, -250, 80, -500};
  for (int c = 0; c < kColumns; ++c) {
    columns[c].spec = specs[c];
    columns[c].flags = c == 0 || c == 5 ? SPC_LEFT : SPC_RIGHT;
    if (c == 2 || c == 3) columns[c].control = &fader;
    columns[c].headerOffset = 0;
  }
  ZQSPREADCOLUMNSET set{kColumns, kColumns, 0, columns, L"Column"};
  SendMessageW(grid, SPM_SETCOLUMNS, 0, reinterpret_cast<LPARAM>(&set));
  ZQSPREADIFACE owner{};
  owner.getRowCount = RowCount;
  owner.getRow = Row;
  owner.getCell = Cell;
  SendMessageW(grid, SPM_SETIFACE, 0, reinterpret_cast<LPARAM>(&owner));
  SendMessageW(grid, SPM_FITROWS, kVisible, 0);
  UpdateWindow(grid);
  RECT client;
  GetClientRect(grid, &client);

  const double ours = bench::Time([] {},
                                  [&] {
                                    for (int i = 0; i < kFrames; ++i)
                                      RedrawWindow(grid, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                                    GdiFlush();
                                  });

  // The baseline: a plain window of the same size whose WM_PAINT writes the
  // same texts with ExtTextOutW into a bitmap of the same size, row by row
  // and cell by cell, clipped and opaque, then copies it to the window.
  HDC screen = GetDC(grid);
  baselineMemory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  ReleaseDC(grid, screen);
  HGDIOBJ oldBitmap = SelectObject(baselineMemory, bitmap);
  HGDIOBJ oldFont = SelectObject(baselineMemory, reinterpret_cast<HFONT>(SendMessageW(grid, WM_GETFONT, 0, 0)));
  baselineRowHeight = static_cast<LONG>(SendMessageW(grid, SPM_GETROWHEIGHT, 0, 0));
  for (int c = 0; c < kColumns; ++c)
    SendMessageW(grid, SPM_GETCOLUMNRECT, c, reinterpret_cast<LPARAM>(&baselineSpans[c]));
  baselineSize = client;
  ShowWindow(grid, SW_HIDE);
  WNDCLASSW plain{};
  plain.lpfnWndProc = BaselineProc;
  plain.hInstance = cls.hInstance;
  plain.lpszClassName = L"QuilletGridBenchBaseline";
  RegisterClassW(&plain);
  HWND other = CreateWindowExW(0, plain.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom,
                               host, nullptr, cls.hInstance, nullptr);
  UpdateWindow(other);
  const double baseline = bench::Time([] {},
                                      [&] {
                                        for (int i = 0; i < kFrames; ++i)
                                          RedrawWindow(other, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                                        GdiFlush();
                                      });
  DestroyWindow(other);
  SelectObject(baselineMemory, oldFont);
  SelectObject(baselineMemory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(baselineMemory);

  bench::Report("grid full repaint (60 rows, 120 faders) x40", ours, baseline, "ExtTextOutW, same texts");
  std::printf("    %.0f frames/s grid (%.2f ms a frame), %.0f frames/s ExtTextOutW, %ldx%ld client\n",
              kFrames / ours, ours * 1000 / kFrames, kFrames / baseline, static_cast<long>(client.right),
              static_cast<long>(client.bottom));
  DestroyWindow(host);
}

}  // namespace

BENCHMARK_ENTRY("grid", GridRepaint);
