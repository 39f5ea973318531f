// The spreadsheet grid's instance block and what its files share.
#pragma once
#include "zq/fader.h"
#include "zq/grid.h"
#include "zq/list.h"
#include "zq/spinner.h"
#include "zq/trackbar.h"

namespace zq::controls::grid {

constexpr DWORD kHeader = ZQSPREAD_HEADER;
constexpr int kTextMax = ZQSPREAD_TEXTMAX;
constexpr int kValueTextMax = 260;
constexpr UINT_PTR kTooltipTimer = 3;

inline bool IsHeaderIndex(DWORD index) { return index > ZQSPREAD_HEADERMIN; }

// Edit states.
enum : LONG { kIdle = 0, kEditing = 1, kControlEdit = 2, kSuspended = 3, kNoOwner = 4 };

struct ScrollState {
  LONG min, max, pos, page;
};

// Per column: the value-text callback and width, the owner values, the
// per-row instance arrays and, for image-button columns, their five values.
struct ControlEntry {
  ZQSPREADFORMATPROC format;
  LONG textWidth;
  LPARAM owner[2];
  BYTE* faders;
  BYTE* spinners;
  BYTE* trackbars;
  DWORD button[5];
};
static_assert(sizeof(void*) != 4 || sizeof(ControlEntry) == 48, "control table record");

struct Grid {
  HWND window;
  LONG editState;
  HWND editor;
  RECT editorRect;
  BOOL editorDirty;
  HWND tooltip;
  BOOL tooltipTimer;
  DWORD tooltipRow, tooltipColumn;
  BOOL tooltipValid;
  LONG rowsForDigits;
  LONG columnCapacity;
  DWORD focusRow, focusColumn;
  tZQLIST* ranges;
  DWORD anchorRow, anchorColumn;
  LONG current;  // index of the range being extended, -1 none
  DWORD sortColumn;
  LONG sortDirection;
  LONG rowCount;
  LONG columnCount, frozen;
  LONG rowHeaderWidth, headerHeight;
  RECT cellArea, headerBand, autoScrollRect;
  BOOL autoScrolling;
  BOOL inScroll;
  ScrollState hscroll, vscroll;
  LONG digits;
  LONG extraRowHeaderWidth, extraRowHeight;
  BOOL layoutDirty;
  HDC memory;
  HBITMAP memoryBitmap;
  HGDIOBJ memoryOldBitmap;
  LONG memoryWidth, memoryHeight;
  SIZE charCell;
  HBRUSH lineBrush;
  HBITMAP lineBitmap;
  HFONT font;
  COLORREF textColour, backColour;
  LRESULT dialogCode;
  HWND owner;
  ZQSPREADNM nm;
  ZQSPREADNMEX nmex;
  DWORD derived;
  DWORD style;
  DWORD exFlags;
  LONG rowHeight;
  HCURSOR dropCursor;
  LONG zone;
  LONG zoneColumn, resizeOffset;
  LONG mouseHandler;
  POINT press;
  RECT dragRect, dropRect;
  DWORD mouseState;  // kMouse bits
  DWORD pressRow, pressColumn;
  LONG resizeX;      // the resize bar's x, -1 none
  LONG iconRoom;
  DWORD bars;  // WS_HSCROLL and WS_VSCROLL of the window at creation
  ZQSPREADCOLUMN* columns;
  LPCWSTR headers;
  ControlEntry* controls;
  LONG controlCapacity;  // records in `controls`
  LONG instanceRows;     // rows of the per-row arrays
  ZQSPREADIFACE iface;
  WCHAR text[kTextMax];
};
constexpr SIZE_T kBlockSize = 2684;
static_assert(sizeof(Grid) <= kBlockSize, "grid instance block");

inline Grid* GridOf(HWND window) { return reinterpret_cast<Grid*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

inline ZQSPREADRANGE* Ranges(const Grid& g) { return reinterpret_cast<ZQSPREADRANGE*>(g.ranges->slots); }
inline LONG RangeCount(const Grid& g) { return g.ranges ? g.ranges->count : 0; }
inline bool MultiSelect(const Grid& g) { return g.style & (SPS_MULTIROW | SPS_MULTICOLUMN); }
// A column whose cells are buttons.
inline bool IsButtonColumn(const Grid& g, DWORD column) {
  return g.columns && column < static_cast<DWORD>(g.columnCount) && (g.columns[column].flags & SPC_BUTTON);
}

// grid_owner.cpp: the owner interface and notifications
void InstallOwner(Grid& g, const ZQSPREADIFACE* record);
const ZQSPREADCELL* GetCell(Grid& g, DWORD row, DWORD column, int format);
const ZQSPREADCELL* GetHeaderCell(Grid& g, DWORD index, DWORD kind, LPARAM extra);
const ZQSPREADROW* GetRow(Grid& g, DWORD row);
LONG OwnerRowCount(Grid& g);
LRESULT Notify(Grid& g, int code, DWORD row, DWORD column, LONG x = -1, LONG y = -1);
LRESULT NotifyDrag(Grid& g, DWORD source, DWORD target, POINT point);
void ApplyRefresh(Grid& g, DWORD row, DWORD column, DWORD flags);
void QueueRowRefresh(Grid& g);
LONG RefreshRows(Grid& g, DWORD firstChanged);
// Copies `length` characters of `text` (null-terminated when length < 0)
// into the grid's text buffer, cut to what it holds; returns the length kept.
int CopyToText(Grid& g, LPCWSTR text, LONG length);

// grid_layout.cpp: metrics, columns, rectangles, scroll bars
void UpdateMetrics(Grid& g, HDC dc);
void EnsureLayout(Grid& g);  // the metrics, when the layout is dirty
void UpdateAreas(Grid& g);   // the cell-area and header-band rectangles
bool LayoutColumns(Grid& g, ZQSPREADCOLUMN* columns, LONG count, LONG clientWidth);
void SetColumnPixelWidth(Grid& g, ZQSPREADCOLUMN& column, LONG width);
LONG ClientWidth(const Grid& g);
LONG ClientHeight(const Grid& g);
LONG RowTop(const Grid& g, DWORD row);  // client y of a visible row's top
LONG VisibleRows(const Grid& g);
bool ColumnSpan(const Grid& g, DWORD column, LONG* left, LONG* right);  // client x of a shown column
RECT CellRect(const Grid& g, DWORD row, DWORD column);
DWORD HitTest(const Grid& g, POINT point, bool nearestBoundary);
void UpdateScrollBars(Grid& g);
void EnsureVisible(Grid& g, DWORD row, DWORD column);
LONG SetTopRow(Grid& g, LONG row);
void SetFirstColumn(Grid& g, LONG column);
DWORD LastRow(const Grid& g);  // the last reachable row (the append row with SPD_APPENDROW)
bool Reachable(const Grid& g, DWORD row);  // a row of the owner's, or the append row
void ScrollMessage(Grid& g, bool vertical, WPARAM wParam);
LONG MeasureText(Grid& g, HDC dc, LPCWSTR text, LONG length, HFONT font);

// grid_paint.cpp
void Paint(Grid& g, HDC dc, const RECT& update);
void InvalidateCell(Grid& g, DWORD row, DWORD column, bool now);
void InvalidateRow(Grid& g, DWORD row);
void InvalidateColumn(Grid& g, DWORD column);
void Repaint(Grid& g);
bool ThemedHeader(const Grid& g);
// The part of an image-button cell its button takes (empty for other columns).
RECT ImageButtonArea(const Grid& g, DWORD column, const RECT& cell);
// Every grid holds the shared drawing cache from creation to destruction.
void GridPaintAcquire();
void GridPaintRelease();

// grid_select.cpp
// A header index is replaced by the top row or first scrolled column unless
// the selection style allows it (or `keepHeaders`).
bool SetFocusCell(Grid& g, DWORD row, DWORD column, bool collapse, bool notify, bool keepHeaders = false);
void CollapseSelection(Grid& g);
bool ExtendTo(Grid& g, DWORD row, DWORD column);
void DropOtherRanges(Grid& g);
void ToggleCell(Grid& g, DWORD row, DWORD column);
bool CellSelected(const Grid& g, DWORD row, DWORD column);
bool ColumnSelected(const Grid& g, DWORD column);
bool RowSelected(const Grid& g, DWORD row);
LONG FocusRangeIndex(const Grid& g);
DWORD ClampRow(const Grid& g, DWORD row, bool keepHeader);
DWORD ClampColumn(const Grid& g, DWORD column, bool keepHeader);
LRESULT SelectionMessage(Grid& g, UINT message, WPARAM wParam, LPARAM lParam, bool* handled);

// grid_controls.cpp: per-row instances of embedded-control columns
bool GrowControlTable(Grid& g, LONG columns);
bool RebuildInstances(Grid& g);
void FreeInstances(Grid& g);
void FreeControlTable(Grid& g);
void* InstanceOf(Grid& g, DWORD row, DWORD column);
void PlaceControl(Grid& g, DWORD row, DWORD column);
void DrawControl(Grid& g, HDC dc, DWORD row, DWORD column, const RECT& cell, const ZQSPREADCELL* c,
                 COLORREF background, COLORREF text);
// Bytes of `count` records of `size`, false when the product does not fit.
bool CheckedArrayBytes(SIZE_T count, SIZE_T size, SIZE_T* bytes);

// grid_edit.cpp: the in-place editor
bool RegisterEditClass(HINSTANCE instance);
HWND CreateEditor(Grid& g);
void OpenEditor(Grid& g);
void CommitEditor(Grid& g);
void CloseEditor(Grid& g);

// grid_messages.cpp
bool HandleMessage(Grid& g, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// Mouse state bits.
enum : DWORD {
  kMouseCtrl = 0x1, kMouseShift = 0x2, kMouseLeft = 0x4, kMouseRight = 0x8, kMouseDrag = 0x10,
  kMouseRefused = 0x20, kMouseDeferred = 0x40, kMouseButton = 0x80, kMouseButtonInside = 0x100,
  kMousePrepared = 0x200, kMouseResize = 0x400, kMousePressed = 0x800, kMouseImage = 0x1000,
  kMouseImageInside = 0x2000
};

// grid_input.cpp: editor commands, focus, dispatch of mouse and keys
bool HandleInput(Grid& g, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// grid_mouse.cpp: hit zones, the four zone handlers, auto-scroll timers
LRESULT HitZone(Grid& g, POINT client);
bool HandleMouse(Grid& g, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
void CancelMouse(Grid& g);
void AutoScrollTimer(Grid& g, UINT_PTR timer);
bool ControlOwnsMouse(const Grid& g);

// grid_keys.cpp
bool HandleKey(Grid& g, WPARAM key, LPARAM keyData);

// grid_commands.cpp: clipboard and owner commands
LRESULT ClipboardCommand(Grid& g, UINT message);
LRESULT SimpleCommand(Grid& g, UINT message);
ZQSPREADRANGE SelectionArgument(const Grid& g);

// grid_tooltip.cpp
void UpdateTooltip(Grid& g);
void DestroyTooltip(Grid& g);

}  // namespace zq::controls::grid
