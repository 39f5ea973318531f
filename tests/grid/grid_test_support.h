// A spreadsheet grid in a test window with a scripted owner: the owner
// answers from its own table of cells and records every callback, and the
// parent records every notification, so tests compare what the grid asked
// and told with what they expect.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "controls_test_support.h"
#include "zq/grid.h"

namespace gridtest {

// One callback: its slot number (14 ... 24), row (or index), column (or
// kind), format (or extra).
struct Call {
  int slot;
  DWORD row, column;
  LONG format;
  bool operator==(const Call& o) const {
    return slot == o.slot && row == o.row && column == o.column && format == o.format;
  }
};
struct Note {
  int code;
  DWORD row, column;
  bool operator==(const Note& o) const { return code == o.code && row == o.row && column == o.column; }
};
void PrintTo(const Call& c, std::ostream* os);
void PrintTo(const Note& n, std::ostream* os);

class ScriptedOwner {
 public:
  ScriptedOwner();
  // The record to install (slot 0 leads back to this owner).
  ZQSPREADIFACE* Record() { return &record_; }

  LONG rows = 10;
  // Cell texts by (row, column); others read "r<row>c<column>".
  std::map<std::pair<DWORD, DWORD>, std::wstring> texts;
  // Cell records by column, copied for every row (text from `texts`).
  std::map<DWORD, ZQSPREADCELL> cellTemplates;
  std::map<DWORD, LONG> values;  // the embedded control value of (row * 100 + column)
  // Changes the record of a data cell after it was filled.
  std::function<void(DWORD row, DWORD column, ZQSPREADCELL&)> decorate;
  // What set-cell returns; the text of format 3 lands in `lastSet`.
  DWORD setCellResult = 0;
  std::wstring lastSet;
  LPARAM lastValue = 0;
  BOOL mayEditResult = 1;
  LONG queryResult = 0;
  std::vector<UINT> queryFormats;
  LRESULT doCommandResult = 0;
  // Overrides the text of every data cell (pointer and length as given).
  const WCHAR* rawText = nullptr;
  LONG rawLength = 0;

  std::vector<Call> calls;
  std::vector<Call> Take() {
    std::vector<Call> taken;
    taken.swap(calls);
    return taken;
  }
  // The slots of the recorded calls, in order, cleared.
  std::vector<int> TakeSlots();

 private:
  static ScriptedOwner* From(ZQSPREADIFACE* record) { return reinterpret_cast<ScriptedOwner*>(record->owner0); }
  static LONG CALLBACK RowCount(ZQSPREADIFACE*);
  static const ZQSPREADCELL* CALLBACK Cell(ZQSPREADIFACE*, DWORD, DWORD, int);
  static BOOL CALLBACK MayEdit(ZQSPREADIFACE*, DWORD, DWORD, LPARAM);
  static DWORD CALLBACK SetCell(ZQSPREADIFACE*, DWORD, DWORD, int, LPARAM);
  static const ZQSPREADROW* CALLBACK Row(ZQSPREADIFACE*, DWORD);
  static LONG CALLBACK Query(ZQSPREADIFACE*, const ZQSPREADRANGE*, UINT*, int, UINT);
  static LRESULT CALLBACK Do(ZQSPREADIFACE*, const ZQSPREADRANGE*, UINT, const ZQSPREADDATA*, UINT);
  static const ZQSPREADCELL* CALLBACK HeaderCell(ZQSPREADIFACE*, DWORD, DWORD, LPARAM);
  static DWORD CALLBACK RowRepaint(ZQSPREADIFACE*, DWORD, DWORD);
  ZQSPREADIFACE record_{};
  ZQSPREADCELL cell_{};
  ZQSPREADCELL header_{};
  ZQSPREADROW row_{1, 7};
  std::wstring text_;
  std::wstring headerText_;
};

// A grid child of a test window, with columns and the owner installed.
class Grid {
 public:
  Grid(DWORD style, int width = 480, int height = 300, DWORD windowStyle = WS_VSCROLL | WS_HSCROLL);
  ~Grid();
  Grid(const Grid&) = delete;
  Grid& operator=(const Grid&) = delete;

  HWND hwnd() const { return grid_; }
  HWND parent() const { return parent_.hwnd(); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(grid_, message, wParam, lParam);
  }
  void Install() { Send(SPM_SETIFACE, 0, reinterpret_cast<LPARAM>(owner.Record())); }
  // Columns: the array and the headers stay with this object.
  void SetColumns(std::vector<ZQSPREADCOLUMN> columns, const std::vector<std::wstring>& titles, LONG frozen = 0);
  std::vector<Note> TakeNotes() {
    std::vector<Note> taken;
    taken.swap(notes);
    return taken;
  }
  std::vector<int> TakeCodes();

  ScriptedOwner owner;
  std::vector<Note> notes;
  std::function<LRESULT(const ZQSPREADNM&)> answer;  // what WM_NOTIFY returns (default 0)
  std::vector<ZQSPREADCOLUMN> columns;
  std::wstring headers;

 private:
  static LRESULT CALLBACK ParentProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  controlstest::TestWindow parent_;
  HWND grid_ = nullptr;
};

// The character cell of the grid's font, measured here.
SIZE CharCell(HWND grid);
// Whether this run has visual styles (QUILLET_THEMES unset) or not ("off").
bool ThemesExpected();
std::wstring RunName();

}  // namespace gridtest
