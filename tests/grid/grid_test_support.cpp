#include "grid_test_support.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <ostream>

namespace gridtest {

void PrintTo(const Call& c, std::ostream* os) {
  *os << "{slot " << c.slot << ", " << c.row << ", " << c.column << ", " << c.format << "}";
}
void PrintTo(const Note& n, std::ostream* os) { *os << "{code " << n.code << ", " << n.row << ", " << n.column << "}"; }

ScriptedOwner::ScriptedOwner() {
  record_.owner0 = reinterpret_cast<LPARAM>(this);
  record_.getRowCount = RowCount;
  record_.getCell = Cell;
  record_.mayEdit = MayEdit;
  record_.setCell = SetCell;
  record_.getRow = Row;
  record_.queryCommand = Query;
  record_.doCommand = Do;
  record_.getHeaderCell = HeaderCell;
  record_.rowRepaint = RowRepaint;
}

std::vector<int> ScriptedOwner::TakeSlots() {
  std::vector<int> slots;
  for (const Call& c : calls) slots.push_back(c.slot);
  calls.clear();
  return slots;
}

LONG CALLBACK ScriptedOwner::RowCount(ZQSPREADIFACE* r) {
  From(r)->calls.push_back({14, 0, 0, 0});
  return From(r)->rows;
}

const ZQSPREADCELL* CALLBACK ScriptedOwner::Cell(ZQSPREADIFACE* r, DWORD row, DWORD column, int format) {
  ScriptedOwner* self = From(r);
  self->calls.push_back({15, row, column, format});
  auto t = self->cellTemplates.find(column);
  self->cell_ = t != self->cellTemplates.end() ? t->second : ZQSPREADCELL{};
  if (self->rawText) {
    self->cell_.text = self->rawText;
    self->cell_.length = self->rawLength;
    return &self->cell_;
  }
  auto text = self->texts.find({row, column});
  self->text_ = text != self->texts.end() ? text->second
                                          : L"r" + std::to_wstring(row) + L"c" + std::to_wstring(column);
  self->cell_.text = self->text_.c_str();
  self->cell_.length = static_cast<LONG>(self->text_.size());
  auto value = self->values.find(row * 100 + column);
  if (value != self->values.end()) self->cell_.value = value->second;
  if (self->decorate) self->decorate(row, column, self->cell_);
  return &self->cell_;
}

BOOL CALLBACK ScriptedOwner::MayEdit(ZQSPREADIFACE* r, DWORD row, DWORD column, LPARAM extra) {
  From(r)->calls.push_back({16, row, column, static_cast<LONG>(extra)});
  return From(r)->mayEditResult;
}

DWORD CALLBACK ScriptedOwner::SetCell(ZQSPREADIFACE* r, DWORD row, DWORD column, int format, LPARAM value) {
  ScriptedOwner* self = From(r);
  self->calls.push_back({17, row, column, format});
  self->lastValue = value;
  if (format == SPF_TEXT && value) self->lastSet = reinterpret_cast<LPCWSTR>(value);
  return self->setCellResult;
}

const ZQSPREADROW* CALLBACK ScriptedOwner::Row(ZQSPREADIFACE* r, DWORD row) {
  From(r)->calls.push_back({18, row, 0, 0});
  return &From(r)->row_;
}

LONG CALLBACK ScriptedOwner::Query(ZQSPREADIFACE* r, const ZQSPREADRANGE*, UINT* formats, int capacity,
                                   UINT message) {
  ScriptedOwner* self = From(r);
  self->calls.push_back({19, 0, 0, static_cast<LONG>(message)});
  for (size_t i = 0; i < self->queryFormats.size() && static_cast<int>(i) < capacity; ++i)
    formats[i] = self->queryFormats[i];
  return message == WM_PASTE ? static_cast<LONG>(self->queryFormats.size()) : self->queryResult;
}

LRESULT CALLBACK ScriptedOwner::Do(ZQSPREADIFACE* r, const ZQSPREADRANGE*, UINT format, const ZQSPREADDATA*,
                                   UINT message) {
  From(r)->calls.push_back({20, format, 0, static_cast<LONG>(message)});
  return From(r)->doCommandResult;
}

const ZQSPREADCELL* CALLBACK ScriptedOwner::HeaderCell(ZQSPREADIFACE* r, DWORD index, DWORD kind, LPARAM extra) {
  ScriptedOwner* self = From(r);
  self->calls.push_back({21, index, kind, static_cast<LONG>(extra)});
  self->headerText_ = std::to_wstring(index + 1);
  self->header_ = ZQSPREADCELL{};
  self->header_.text = self->headerText_.c_str();
  self->header_.length = static_cast<LONG>(self->headerText_.size());
  return &self->header_;
}

DWORD CALLBACK ScriptedOwner::RowRepaint(ZQSPREADIFACE* r, DWORD row, DWORD column) {
  From(r)->calls.push_back({23, row, column, 0});
  return SPR_CELL;
}

// The parent's notifications, answered with any value (-1 included).
LRESULT CALLBACK Grid::ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) {
  auto* self = reinterpret_cast<Grid*>(data);
  if (message == WM_NOTIFY) {
    const auto* nm = reinterpret_cast<const ZQSPREADNM*>(lParam);
    if (nm->hdr.hwndFrom == self->grid_) {
      self->notes.push_back({static_cast<int>(nm->hdr.code), nm->row, nm->column});
      return self->answer ? self->answer(*nm) : 0;
    }
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

Grid::Grid(DWORD style, int width, int height, DWORD windowStyle) : parent_(0, 40, 40, width + 20, height + 20) {
  SetWindowSubclass(parent_.hwnd(), ParentProc, 1, reinterpret_cast<DWORD_PTR>(this));
  grid_ = CreateWindowExW(0, ZQSPREAD_CLASSNAME, L"", WS_CHILD | WS_VISIBLE | windowStyle | style, 10, 10, width,
                          height, parent_.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(77)),
                          GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(grid_, nullptr);
}

Grid::~Grid() {
  if (grid_) DestroyWindow(grid_);
  RemoveWindowSubclass(parent_.hwnd(), ParentProc, 1);
}

void Grid::SetColumns(std::vector<ZQSPREADCOLUMN> list, const std::vector<std::wstring>& titles, LONG frozen) {
  columns = std::move(list);
  headers.clear();
  for (size_t i = 0; i < columns.size(); ++i) {
    columns[i].headerOffset = static_cast<WORD>(headers.size());
    headers += i < titles.size() ? titles[i] : L"";
    headers.push_back(L'\0');
  }
  ZQSPREADCOLUMNSET set{static_cast<LONG>(columns.size()), static_cast<LONG>(columns.size()), frozen,
                        columns.data(), headers.c_str()};
  Send(SPM_SETCOLUMNS, 0, reinterpret_cast<LPARAM>(&set));
}

std::vector<int> Grid::TakeCodes() {
  std::vector<int> codes;
  for (const Note& n : notes) codes.push_back(n.code);
  notes.clear();
  return codes;
}

SIZE CharCell(HWND grid) {
  HDC dc = GetDC(grid);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(grid, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, L"0", 1, &size);
  SelectObject(dc, old);
  ReleaseDC(grid, dc);
  return size;
}

bool ThemesExpected() {
  const char* mode = std::getenv("QUILLET_THEMES");
  return !(mode && std::strcmp(mode, "off") == 0);
}

std::wstring RunName() { return ThemesExpected() ? L"themed" : L"classic"; }

}  // namespace gridtest
