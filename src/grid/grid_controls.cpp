// Embedded controls of the grid: the control table (one record per column),
// the per-row fader, spinner and trackbar instances of its columns, the
// scroll procedures that turn their gestures into set-cell calls, and the
// drawing of an embedded control in its cell.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "grid/grid_internal.h"
#include "zq/ui.h"

namespace zq::controls::grid {
namespace {

void* Allocate(SIZE_T bytes) { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes); }
void Release(void* block) {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

Grid* GridFromData(LPARAM data) {
  HWND window = reinterpret_cast<HWND>(data);
  return IsWindow(window) ? GridOf(window) : nullptr;
}

const ZQSPREADCONTROL* DescriptorOf(const Grid& g, DWORD column) {
  if (!g.columns || column >= static_cast<DWORD>(g.columnCount)) return nullptr;
  return g.columns[column].control;
}

int ValueText(const Grid& g, DWORD column, LONG value, LPWSTR text, int capacity) {
  const ZQSPREADCONTROL* d = DescriptorOf(g, column);
  const ControlEntry* e = column < static_cast<DWORD>(g.controlCapacity) ? &g.controls[column] : nullptr;
  int length = 0;
  if (e && e->format && d) {
    text[0] = 0;
    length = e->format(d, value, text, capacity);
    length = std::clamp(length, 0, capacity - 1);
    text[length] = 0;
    length = static_cast<int>(wcsnlen(text, static_cast<size_t>(length)));
  } else {
    char digits[16];
    length = std::snprintf(digits, sizeof(digits), "%ld", static_cast<long>(value));
    length = std::clamp(length, 0, capacity - 1);
    for (int i = 0; i < length; ++i) text[i] = static_cast<WCHAR>(digits[i]);
    text[length] = 0;
  }
  return length;
}

// A new value of the instance at (row, column): its text goes to the owner.
void Report(Grid& g, DWORD row, DWORD column, LONG value) {
  WCHAR text[kValueTextMax];
  ValueText(g, column, value, text, kValueTextMax);
  const DWORD flags = g.iface.setCell(&g.iface, row, column, SPF_TEXT, reinterpret_cast<LPARAM>(text));
  ApplyRefresh(g, row, column, flags | SPR_CELL);
}

LONG PageOf(LONG min, LONG max) { return std::max<LONG>((max - min + 5) / 10, 1); }

void CALLBACK FaderProc(ZQFADERINST* inst, int id, LPARAM data, int code, LONG* values, DWORD) {
  Grid* g = GridFromData(data);
  if (!g) return;
  const ZQSPREADCONTROL* d = DescriptorOf(*g, HIWORD(id));
  if (!d) return;
  LONG value = values ? values[0] : 0;
  if (code <= FADER_PAGEDOWN || code == FADER_TOP || code == FADER_BOTTOM) {
    FaderInst_DefScrollProc(inst, code, nullptr, 1, PageOf(d->minimum, d->maximum));
    value = static_cast<LONG>(FaderInst_Message(inst, FDM_GETPOS, 0, 0));
  } else if (code == FADER_FINAL || code == FADER_TRACKING) {
    FaderInst_Message(inst, FDM_SETPOS, TRUE, value);
  } else {
    return;
  }
  Report(*g, LOWORD(id), HIWORD(id), value);
}

void CALLBACK TrackbarProc(ZQTRACKBARINST* inst, int id, LPARAM data, int code, LONG value) {
  Grid* g = GridFromData(data);
  if (!g) return;
  const ZQSPREADCONTROL* d = DescriptorOf(*g, HIWORD(id));
  if (!d) return;
  if (code <= FADER_PAGEDOWN || code == FADER_TOP || code == FADER_BOTTOM) {
    TrackbarInst_DefScrollProc(inst, code, nullptr, 1, PageOf(d->minimum, d->maximum));
    value = static_cast<LONG>(TrackbarInst_Message(inst, TBKM_GETPOS, 0, 0));
  } else if (code == FADER_FINAL || code == FADER_TRACKING) {
    TrackbarInst_Message(inst, TBKM_SETPOS, TRUE, value);
  } else {
    return;
  }
  Report(*g, LOWORD(id), HIWORD(id), value);
}

void CALLBACK SpinnerProc(ZQSPINNERINST* inst, int id, LPARAM data, int code, LONG value) {
  Grid* g = GridFromData(data);
  if (!g) return;
  const ZQSPREADCONTROL* d = DescriptorOf(*g, HIWORD(id));
  if (!d) return;
  if (code <= FADER_PAGEDOWN || code == FADER_TOP || code == FADER_BOTTOM) {
    SpinnerInst_DefScrollProc(inst, code, nullptr, 1, PageOf(d->minimum, d->maximum));
    value = static_cast<LONG>(SpinnerInst_Message(inst, SPNM_GETPOS, 0, 0));
  } else if (code == FADER_FINAL || code == FADER_TRACKING) {
    SpinnerInst_Message(inst, SPNM_SETPOS, TRUE, value);
  } else {
    return;
  }
  Report(*g, LOWORD(id), HIWORD(id), value);
}

void InitInstance(Grid& g, const ZQSPREADCONTROL& d, BYTE* inst, DWORD row, DWORD column) {
  const RECT empty{};
  const int id = static_cast<int>(MAKELONG(row, column));
  const LPARAM data = reinterpret_cast<LPARAM>(g.window);
  switch (d.kind) {
    case SPK_FADER: {
      auto* f = reinterpret_cast<ZQFADERINST*>(inst);
      FaderInst_Init(f, d.u.fader.style, &empty, g.window, id, FaderProc, data);
      FaderInst_Message(f, FDM_SETMIN, FALSE, d.minimum);
      FaderInst_Message(f, FDM_SETMAX, FALSE, d.maximum);
      FaderInst_Message(f, FDM_SETCENTER, FALSE, d.u.fader.centre);
      break;
    }
    case SPK_SPINNER: {
      auto* s = reinterpret_cast<ZQSPINNERINST*>(inst);
      SpinnerInst_Init(s, d.u.spinner.style, &empty, g.window, id, SpinnerProc, data);
      SpinnerInst_Message(s, SPNM_SETMIN, 0, d.minimum);
      SpinnerInst_Message(s, SPNM_SETMAX, 0, d.maximum);
      break;
    }
    case SPK_TRACKBAR: {
      auto* t = reinterpret_cast<ZQTRACKBARINST*>(inst);
      TrackbarInst_Init(t, d.u.trackbar.style | TBKS_JUMPTOPOINT, &empty, g.window, id, TrackbarProc, data);
      TrackbarInst_Message(t, TBKM_SETMIN, FALSE, d.minimum);
      TrackbarInst_Message(t, TBKM_SETMAX, FALSE, d.maximum);
      TrackbarInst_Message(t, TBKM_SETCENTER, FALSE, d.u.trackbar.centre);
      TrackbarInst_Message(t, TBKM_SETFILLCENTRE, FALSE, d.u.trackbar.fillCentre ? 1 : 0);
      break;
    }
  }
}

// An array holds `rows` instance records followed by one bit per row that
// tells whether the record was initialised: a record is made ready the
// first time its row is painted or pressed, so a grid of many rows is
// installed at once.
BYTE* ReadyBits(BYTE* array, LONG rows, SIZE_T size) { return array + static_cast<SIZE_T>(rows) * size; }

void ReleaseArray(BYTE*& array, DWORD kind, LONG rows) {
  if (!array) return;
  if (kind == SPK_FADER || kind == SPK_SPINNER) {  // trackbars keep nothing to release
    const BYTE* ready = ReadyBits(array, rows, kind == SPK_FADER ? ZQ_FADERINST_SIZE : ZQ_SPINNERINST_SIZE);
    for (LONG r = 0; r < rows; ++r) {
      if (!(ready[r / 8] & (1u << (r % 8)))) continue;
      if (kind == SPK_FADER) FaderInst_Deinit(reinterpret_cast<ZQFADERINST*>(array + r * ZQ_FADERINST_SIZE));
      else SpinnerInst_Deinit(reinterpret_cast<ZQSPINNERINST*>(array + r * ZQ_SPINNERINST_SIZE));
    }
  }
  Release(array);
  array = nullptr;
}

BYTE** ArrayFor(ControlEntry& e, DWORD kind) {
  switch (kind) {
    case SPK_FADER: return &e.faders;
    case SPK_SPINNER: return &e.spinners;
    case SPK_TRACKBAR: return &e.trackbars;
  }
  return nullptr;
}

SIZE_T InstanceSize(DWORD kind) {
  switch (kind) {
    case SPK_FADER: return static_cast<SIZE_T>(FaderInst_GetSize());
    case SPK_SPINNER: return static_cast<SIZE_T>(SpinnerInst_GetSize());
    case SPK_TRACKBAR: return static_cast<SIZE_T>(TrackbarInst_GetSize());
  }
  return 0;
}

}  // namespace

bool CheckedArrayBytes(SIZE_T count, SIZE_T size, SIZE_T* bytes) {
  if (size != 0 && count > static_cast<SIZE_T>(-1) / size) return false;
  *bytes = count * size;
  return true;
}

bool GrowControlTable(Grid& g, LONG columns) {
  if (columns <= g.controlCapacity) return true;
  SIZE_T bytes;
  if (columns < 0 || !CheckedArrayBytes(static_cast<SIZE_T>(columns), sizeof(ControlEntry), &bytes)) return false;
  auto* table = static_cast<ControlEntry*>(Allocate(bytes));
  if (!table) return false;
  if (g.controls) std::memcpy(table, g.controls, static_cast<size_t>(g.controlCapacity) * sizeof(ControlEntry));
  Release(g.controls);
  g.controls = table;
  g.controlCapacity = columns;
  return true;
}

void FreeInstances(Grid& g) {
  for (LONG c = 0; c < g.controlCapacity; ++c) {
    ControlEntry& e = g.controls[c];
    ReleaseArray(e.faders, SPK_FADER, g.instanceRows);
    ReleaseArray(e.spinners, SPK_SPINNER, g.instanceRows);
    ReleaseArray(e.trackbars, SPK_TRACKBAR, g.instanceRows);
  }
  g.instanceRows = 0;
}

void FreeControlTable(Grid& g) {
  FreeInstances(g);
  Release(g.controls);
  g.controls = nullptr;
  g.controlCapacity = 0;
}

// Makes room for one instance per row in every embedded-control column
// (each made ready when first used). A column whose array cannot be made
// (its size does not fit, or memory runs out) keeps no instances at all,
// and the rebuild reports the failure.
bool RebuildInstances(Grid& g) {
  FreeInstances(g);
  if (!g.columns || !GrowControlTable(g, g.columnCount)) return g.columnCount == 0;
  bool complete = true;
  const LONG rows = g.rowCount;
  for (LONG c = 0; c < g.columnCount; ++c) {
    ControlEntry& e = g.controls[c];
    const ZQSPREADCONTROL* d = g.columns[c].control;
    if (!d) continue;
    switch (d->kind) {
      case SPK_FADER: e.format = d->u.fader.format; e.textWidth = d->u.fader.textWidth; break;
      case SPK_TRACKBAR: e.format = d->u.trackbar.format; e.textWidth = d->u.trackbar.textWidth; break;
      case SPK_SPINNER:
        e.format = d->u.spinner.format;
        e.textWidth = d->u.spinner.textWidth;
        e.owner[0] = d->u.spinner.owner[0];
        e.owner[1] = d->u.spinner.owner[1];
        break;
      case SPK_IMAGEBUTTON:
        e.button[0] = d->u.button.flags;
        e.button[1] = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(d->u.button.images));
        e.button[2] = static_cast<DWORD>(d->u.button.buttonWidth);
        e.button[3] = static_cast<DWORD>(d->u.button.reserved);
        e.button[4] = static_cast<DWORD>(d->u.button.image);
        continue;
      default: continue;
    }
    if (e.textWidth > 0) e.textWidth += 20;
    BYTE** array = ArrayFor(e, d->kind);
    const SIZE_T size = InstanceSize(d->kind);
    SIZE_T bytes = 0;
    if (rows <= 0) continue;
    const SIZE_T bits = (static_cast<SIZE_T>(rows) + 7) / 8;
    if (!CheckedArrayBytes(static_cast<SIZE_T>(rows), size, &bytes) || bytes > static_cast<SIZE_T>(-1) - bits ||
        !(*array = static_cast<BYTE*>(Allocate(bytes + bits)))) {
      complete = false;
      continue;
    }
  }
  g.instanceRows = rows;
  return complete;
}

void* InstanceOf(Grid& g, DWORD row, DWORD column) {
  if (!g.columns || column >= static_cast<DWORD>(g.columnCount) || column >= static_cast<DWORD>(g.controlCapacity) ||
      row >= static_cast<DWORD>(g.instanceRows))
    return nullptr;
  const ZQSPREADCONTROL* d = g.columns[column].control;
  if (!d) return nullptr;
  BYTE** array = ArrayFor(g.controls[column], d->kind);
  if (!array || !*array) return nullptr;
  const SIZE_T size = InstanceSize(d->kind);
  BYTE* inst = *array + row * size;
  BYTE* ready = ReadyBits(*array, g.instanceRows, size);
  if (!(ready[row / 8] & (1u << (row % 8)))) {
    InitInstance(g, *d, inst, row, column);
    ready[row / 8] |= static_cast<BYTE>(1u << (row % 8));
  }
  return inst;
}

namespace {

// The control's part of a cell and the value text's part beside it.
void SplitCell(const Grid& g, DWORD column, const RECT& cell, RECT* control, RECT* value) {
  const bool left = (g.columns[column].flags & SPC_ALIGNMASK) == SPC_LEFT;
  const LONG textWidth = std::min<LONG>(std::max<LONG>(g.controls[column].textWidth, 0), cell.right - cell.left);
  *control = *value = cell;
  if (left) {
    value->right = value->left + textWidth;
    control->left = value->right;
  } else {
    value->left = value->right - textWidth;
    control->right = value->left;
  }
}

}  // namespace

// Moves the instance of (row, column) to where its cell is now (rows move
// by scrolling without being painted again).
void PlaceControl(Grid& g, DWORD row, DWORD column) {
  const ZQSPREADCONTROL* d = DescriptorOf(g, column);
  void* inst = InstanceOf(g, row, column);
  if (!d || !inst) return;
  RECT cell = CellRect(g, row, column), control, value;
  if ((g.style & SPS_HLINES) || (g.exFlags & SPX_ASKLINES)) cell.bottom -= 1;
  if (g.style & SPS_VLINES) cell.right -= 1;
  SplitCell(g, column, cell, &control, &value);
  switch (d->kind) {
    case SPK_FADER: FaderInst_Move(static_cast<ZQFADERINST*>(inst), &control); break;
    case SPK_SPINNER: SpinnerInst_Move(static_cast<ZQSPINNERINST*>(inst), &control); break;
    case SPK_TRACKBAR: TrackbarInst_Move(static_cast<ZQTRACKBARINST*>(inst), &control); break;
  }
}

void DrawControl(Grid& g, HDC dc, DWORD row, DWORD column, const RECT& cell, const ZQSPREADCELL* c,
                 COLORREF background, COLORREF text) {
  const ZQSPREADCONTROL* d = DescriptorOf(g, column);
  void* inst = InstanceOf(g, row, column);
  if (!d || !inst) return;
  RECT control, value;
  SplitCell(g, column, cell, &control, &value);
  const LONG textWidth = value.right - value.left;
  const LONG v = c->value;
  switch (d->kind) {
    case SPK_FADER: {
      auto* f = static_cast<ZQFADERINST*>(inst);
      FaderInst_Move(f, &control);
      if (static_cast<COLORREF>(FaderInst_Message(f, FDM_GETBKCOLOR, 0, 0)) != background)
        FaderInst_Message(f, FDM_SETBKCOLOR, 0, static_cast<LPARAM>(background));
      FaderInst_Message(f, FDM_SETPOS, 0, v);
      FaderInst_Draw(f, dc);
      break;
    }
    case SPK_SPINNER: {
      auto* s = static_cast<ZQSPINNERINST*>(inst);
      SpinnerInst_Move(s, &control);
      SpinnerInst_Message(s, SPNM_SETPOS, 0, v);
      SpinnerInst_Draw(s, dc);
      break;
    }
    case SPK_TRACKBAR: {
      auto* t = static_cast<ZQTRACKBARINST*>(inst);
      TrackbarInst_Move(t, &control);
      if (static_cast<COLORREF>(TrackbarInst_Message(t, TBKM_GETBKCOLOR, 0, 0)) != background)
        TrackbarInst_Message(t, TBKM_SETBKCOLOR, 0, static_cast<LPARAM>(background));
      TrackbarInst_Message(t, TBKM_SETPOS, 0, v);
      TrackbarInst_Draw(t, dc);
      break;
    }
  }
  if (textWidth <= 0) return;
  WCHAR buffer[kValueTextMax];
  const int length = ValueText(g, column, v, buffer, kValueTextMax);
  SetTextColor(dc, text);
  SetBkColor(dc, background);
  SetTextAlign(dc, TA_RIGHT | TA_BOTTOM);
  ExtTextOutW(dc, value.right - 2, value.bottom - 1, ETO_CLIPPED | ETO_OPAQUE, &value, buffer,
              static_cast<UINT>(length), nullptr);
}

}  // namespace zq::controls::grid
