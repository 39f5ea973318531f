// The spreadsheet grid's window: the instance block made at creation and
// released at destruction, the window procedure that hands messages to the
// message, input and painting files, and the class registration.
#include <cstring>
#include <initializer_list>

#include "grid/grid_internal.h"
#include "zq/ui.h"

namespace zq::controls::grid {
namespace {

HGLOBAL BlockHandle(Grid* g) { return GlobalHandle(g); }

Grid* Create(HWND window, const CREATESTRUCTW& create) {
  HGLOBAL block = GlobalAlloc(GHND, kBlockSize);
  if (!block) return nullptr;
  auto* g = static_cast<Grid*>(GlobalLock(block));
  if (!g) {
    GlobalFree(block);
    return nullptr;
  }
  if (FAILED(ZqList_CreateExZ(&g->ranges, sizeof(ZQSPREADRANGE), 4, 4, ZQLIST_ARRAY, nullptr, 0, nullptr))) {
    GlobalUnlock(block);
    GlobalFree(block);
    return nullptr;
  }
  const ZQSPREADRANGE empty{};
  if (FAILED(ZqList_InsertList(g->ranges, 0, &empty, 1))) {
    ZqList_Destroy(g->ranges);
    GlobalUnlock(block);
    GlobalFree(block);
    return nullptr;
  }
  g->window = window;
  g->editState = kNoOwner;
  g->rowsForDigits = 10000;
  g->columnCapacity = 66;
  g->current = 0;
  g->sortColumn = kHeader;
  g->sortDirection = 1;
  g->rowHeaderWidth = 48;
  g->headerHeight = 36;
  g->hscroll = g->vscroll = ScrollState{0, 4, 0, 1};
  g->digits = -1;
  g->layoutDirty = TRUE;
  g->font = ZqGetUIFont(ZQ_UIFONT_NORMAL);
  g->textColour = GetSysColor(COLOR_WINDOWTEXT);
  g->backColour = GetSysColor(COLOR_WINDOW);
  g->dialogCode = 0x81;
  g->owner = create.hwndParent;
  g->rowHeight = 18;
  g->style = LOWORD(create.style);
  g->derived = SPD_APPENDROW;
  if (!(g->style & SPS_FOCUSONLYACTIVE)) g->derived |= SPD_FOCUSALWAYS;
  if ((g->style & 0x20) && !(g->style & (0x10 | 0x40))) g->derived |= SPD_ROWFOCUSRECT;
  if (create.style & WS_BORDER) g->derived |= SPD_BORDER;
  g->bars = static_cast<DWORD>(create.style) & (WS_HSCROLL | WS_VSCROLL);
  g->zoneColumn = -1;
  InstallOwner(*g, nullptr);
  g->editState = kNoOwner;
  return g;
}

void Destroy(HWND window, Grid* g) {
  CancelMouse(*g);
  DestroyTooltip(*g);
  if (g->memory) {
    SelectObject(g->memory, g->memoryOldBitmap);
    DeleteDC(g->memory);
  }
  if (g->memoryBitmap) DeleteObject(g->memoryBitmap);
  if (g->lineBrush) DeleteObject(g->lineBrush);
  if (g->lineBitmap) DeleteObject(g->lineBitmap);
  if (g->ranges) ZqList_Destroy(g->ranges);
  FreeControlTable(*g);
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  HGLOBAL block = BlockHandle(g);
  GlobalUnlock(block);
  GlobalFree(block);
}

LRESULT CALLBACK GridWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    Grid* g = Create(window, *reinterpret_cast<CREATESTRUCTW*>(lParam));
    if (!g) return -1;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(g));
    GridPaintAcquire();
    if (g->style & SPS_EDITOR) CreateEditor(*g);
    return 0;
  }
  Grid* g = GridOf(window);
  if (!g) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_DESTROY) {
    Destroy(window, g);
    GridPaintRelease();
    return 0;
  }
  LRESULT result = 0;
  if (HandleInput(*g, message, wParam, lParam, &result)) return result;
  if (HandleMessage(*g, message, wParam, lParam, &result)) return result;
  if (message >= WM_USER && message <= WM_USER + 1000) return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace
}  // namespace zq::controls::grid

using namespace zq::controls::grid;

ZQAPI BOOL WINAPI SpreadInitialize(HINSTANCE instance, LPCWSTR className) noexcept {
  if (!className) return FALSE;
  for (int index : {9, 18, 19, 20, 21, 22, 23, 24, 25, 26}) ZqGetUICursor(index);
  if (!RegisterEditClass(instance)) return FALSE;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, className, &existing)) return TRUE;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.style = CS_GLOBALCLASS | CS_DBLCLKS;
  cls.lpfnWndProc = GridWindowProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  cls.lpszClassName = className;
  return RegisterClassExW(&cls) != 0;
}

ZQAPI BOOL WINAPI SpreadTerminate(HINSTANCE instance, LPCWSTR className) noexcept {
  return className && UnregisterClassW(className, instance);
}
