// The spreadsheet grid's class, owner interface and private messages,
// driven by real messages against a scripted owner that records every
// callback while the parent records every notification.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "controls_test_support.h"
#include "grid_test_support.h"
#include "guarded_memory.h"
#include "zq/grid.h"

using gridtest::Call;
using gridtest::Grid;
using gridtest::Note;

namespace {

constexpr DWORD kMulti = SPS_MULTIROW | SPS_MULTICOLUMN;

ZQSPREADCOLUMN Column(SHORT spec, WORD flags = SPC_LEFT, WORD id = 0) {
  ZQSPREADCOLUMN c{};
  c.spec = spec;
  c.flags = flags;
  c.id = id;
  return c;
}

void FourColumns(Grid& grid) {
  grid.SetColumns({Column(64, SPC_LEFT, 10), Column(64, SPC_LEFT, 11), Column(64, SPC_LEFT, 12),
                   Column(64, SPC_LEFT, 13)},
                  {L"A", L"B", L"C", L"D"});
}

// Removes the queued WM_USER+26 messages of `window`, runs them and
// returns how many there were.
int RunQueuedRefreshes(HWND window) {
  MSG msg;
  int count = 0;
  while (PeekMessageW(&msg, window, SPM_REFRESHROWS, SPM_REFRESHROWS, PM_REMOVE)) {
    ++count;
    DispatchMessageW(&msg);
  }
  return count;
}

// Notification codes without the focus gained and lost ones.
std::vector<int> CodesWithoutFocus(Grid& grid) {
  std::vector<int> codes;
  for (int code : grid.TakeCodes())
    if (code != SPN_SETFOCUS && code != SPN_KILLFOCUS) codes.push_back(code);
  return codes;
}

std::vector<ZQSPREADRANGE> ReadRanges(Grid& grid) {
  std::vector<ZQSPREADRANGE> ranges(static_cast<size_t>(grid.Send(SPM_GETRANGECOUNT)));
  EXPECT_EQ(grid.Send(SPM_GETRANGES, ranges.size(), reinterpret_cast<LPARAM>(ranges.data())), 1);
  return ranges;
}

bool Same(const ZQSPREADRANGE& a, const ZQSPREADRANGE& b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }

}  // namespace

TEST(GridClass, RegisteredAtAttachWithTheEditorSuperclass) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetClassInfoExW(controlstest::Library(), ZQSPREAD_CLASSNAME, &info));
  EXPECT_EQ(info.style & (CS_GLOBALCLASS | CS_DBLCLKS), static_cast<UINT>(CS_GLOBALCLASS | CS_DBLCLKS));
  EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  EXPECT_TRUE(GetClassInfoExW(controlstest::Library(), ZQSPREAD_EDITCLASS, &info));
  // Already there: 1 without registering again; a name of the caller's own.
  EXPECT_EQ(SpreadInitialize(controlstest::Library(), ZQSPREAD_CLASSNAME), TRUE);
  EXPECT_FALSE(SpreadInitialize(GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(SpreadInitialize(GetModuleHandleW(nullptr), L"GridTestOwnClass"));
  HWND own = CreateWindowExW(0, L"GridTestOwnClass", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(own, nullptr);
  EXPECT_EQ(SendMessageW(own, SPM_GETROWHEIGHT, 0, 0) > 0, true);
  DestroyWindow(own);
  EXPECT_TRUE(SpreadTerminate(GetModuleHandleW(nullptr), L"GridTestOwnClass"));

  // The editor: made at creation with SPS_EDITOR, hidden, id 98.
  Grid with(SPS_EDITOR);
  HWND editor = reinterpret_cast<HWND>(with.Send(SPM_GETEDITOR));
  ASSERT_NE(editor, nullptr);
  wchar_t name[64];
  GetClassNameW(editor, name, 64);
  EXPECT_STREQ(name, ZQSPREAD_EDITCLASS);
  EXPECT_EQ(GetDlgCtrlID(editor), ZQSPREAD_EDITID);
  EXPECT_FALSE(IsWindowVisible(editor));
  Grid without(0);
  EXPECT_EQ(without.Send(SPM_GETEDITOR), 0);
}

TEST(GridOwner, InterfaceRecordDefaultsAndInstallation) {
  Grid grid(0);
  ZQSPREADIFACE record{};
  EXPECT_EQ(grid.Send(SPM_GETIFACE, 0, reinterpret_cast<LPARAM>(&record)), 144);
  EXPECT_EQ(grid.Send(SPM_GETIFACE), 144);  // null buffer: only the size
  // Every callback has its default; the grid's own slots are written.
  EXPECT_TRUE(record.getRowCount && record.getCell && record.mayEdit && record.setCell && record.getRow &&
              record.queryCommand && record.doCommand && record.getHeaderCell && record.keyHook &&
              record.rowRepaint && record.autoFit);
  EXPECT_EQ(record.grid, grid.hwnd());
  EXPECT_NE(record.text, nullptr);
  EXPECT_EQ(record.text, record.text2);
  EXPECT_EQ(record.textSize, 1024);
  EXPECT_EQ(record.owner1, 1);
  EXPECT_EQ(record.owner29, 1);
  EXPECT_EQ(static_cast<DWORD>(record.owner30), 0xFF000008u);
  EXPECT_EQ(grid.Send(SPM_GETROWCOUNT), 0);
  // The defaults answer as documented.
  const ZQSPREADCELL* header = record.getHeaderCell(&record, 41, ZQSPREAD_HEADER, 0);
  EXPECT_EQ(std::wstring(header->text, static_cast<size_t>(header->length)), L"42");
  EXPECT_EQ(record.getRow(&record, 3)->paint, 0u);
  EXPECT_EQ(record.mayEdit(&record, 0, 0, 0), FALSE);
  EXPECT_EQ(record.rowRepaint(&record, 0, 0), static_cast<DWORD>(SPR_ROW));
  const ZQSPREADRANGE wide{0, 0, 0, 2}, one{1, 1, 1, 1}, header2{ZQSPREAD_HEADER, 0, ZQSPREAD_HEADER, 0};
  EXPECT_TRUE(record.keyHook(&record, &wide, WM_KEYDOWN, 'A', 0));
  EXPECT_FALSE(record.keyHook(&record, &one, WM_KEYDOWN, 'A', 0));
  EXPECT_TRUE(record.keyHook(&record, &header2, WM_KEYDOWN, 'A', 0));
  UINT formats[10] = {7};
  EXPECT_EQ(record.queryCommand(&record, &one, formats, 10, WM_COPY), 0);
  EXPECT_EQ(formats[0], 0u);

  // The scripted owner: the count is read at once and stored in slot 3.
  grid.owner.rows = 12;
  grid.Install();
  EXPECT_EQ(grid.owner.TakeSlots(), std::vector<int>{14});
  EXPECT_EQ(grid.Send(SPM_GETROWCOUNT), 12);
  ZQSPREADIFACE installed{};
  grid.Send(SPM_GETIFACE, 0, reinterpret_cast<LPARAM>(&installed));
  EXPECT_EQ(installed.rowCount, 12);
  EXPECT_EQ(installed.getCell, grid.owner.Record()->getCell);
  EXPECT_EQ(installed.owner0, grid.owner.Record()->owner0);
  EXPECT_NE(installed.keyHook, nullptr);  // null in the owner's record: the default
  EXPECT_EQ(installed.grid, grid.hwnd());
  EXPECT_EQ(installed.textSize, 1024);

  // Null installs the defaults again.
  EXPECT_EQ(grid.Send(SPM_SETIFACE, 0, 0), 144);
  grid.Send(SPM_GETIFACE, 0, reinterpret_cast<LPARAM>(&installed));
  EXPECT_NE(installed.getCell, grid.owner.Record()->getCell);
  EXPECT_EQ(installed.owner1, 1);
  EXPECT_EQ(grid.owner.TakeSlots(), std::vector<int>{});
}

TEST(GridText, FocusTextCutToTheBufferAndTheFullLengthReturned) {
  Grid grid(0);
  FourColumns(grid);
  grid.owner.texts[{0, 0}] = L"Hello, grid";
  grid.Install();
  testsupport::GuardedMemory memory(64);
  ASSERT_TRUE(memory.Ready());
  // Size 0: nothing written (the buffer ends at the guard page), the length back.
  EXPECT_EQ(grid.Send(SPM_GETFOCUSTEXT, 0, reinterpret_cast<LPARAM>(memory.Output(0))), 11);
  EXPECT_EQ(grid.Send(SPM_GETFOCUSTEXT, 5, 0), 11);
  const struct {
    int size;
    const wchar_t* expected;
  } cases[] = {{1, L""}, {6, L"Hello"}, {11, L"Hello, gri"}, {12, L"Hello, grid"}, {30, L"Hello, grid"}};
  for (const auto& c : cases) {
    WCHAR* out = memory.Output(c.size);
    EXPECT_EQ(grid.Send(SPM_GETFOCUSTEXT, static_cast<WPARAM>(c.size), reinterpret_cast<LPARAM>(out)), 11) << c.size;
    EXPECT_STREQ(out, c.expected) << c.size;
  }
}

TEST(GridText, OwnerTextHasItsOwnLengthAndEveryCopyIsBounded) {
  Grid grid(SPS_EDITOR);
  grid.SetColumns({Column(40, SPC_LEFT | SPC_EDITABLE), Column(-1000, SPC_RIGHT)}, {L"Narrow", L"Wide"});
  grid.owner.rows = 3;
  // 5,000 characters without a terminator, right before a guard page.
  const int length = 5000;
  testsupport::GuardedMemory memory(length * sizeof(WCHAR));
  ASSERT_TRUE(memory.Ready());
  std::vector<BYTE> bytes(length * sizeof(WCHAR));
  for (int i = 0; i < length; ++i) {
    const WCHAR ch = static_cast<WCHAR>(L'a' + i % 26);
    std::memcpy(&bytes[i * sizeof(WCHAR)], &ch, sizeof(ch));
  }
  grid.owner.rawText = reinterpret_cast<const WCHAR*>(memory.PlaceBytes(bytes));
  grid.owner.rawLength = length;
  grid.Install();
  InvalidateRect(grid.hwnd(), nullptr, TRUE);
  UpdateWindow(grid.hwnd());
  ZQSPREADIFACE record{};
  grid.Send(SPM_GETIFACE, 0, reinterpret_cast<LPARAM>(&record));
  // The last text drawn went through the buffer cut and shortened.
  const size_t kept = wcsnlen(record.text, 1024);
  EXPECT_LT(kept, 1024u);
  EXPECT_EQ(std::wstring(record.text + kept - 3), L"...");
  // The focus text copies exactly what the caller's buffer takes.
  std::vector<WCHAR> out(length + 10, L'#');
  EXPECT_EQ(grid.Send(SPM_GETFOCUSTEXT, out.size(), reinterpret_cast<LPARAM>(out.data())), length);
  EXPECT_EQ(out[length], 0);
  EXPECT_EQ(out[length - 1], static_cast<WCHAR>(L'a' + (length - 1) % 26));
  // The editor gets the first 1,023 characters.
  grid.Send(SPM_OPENEDITOR);
  HWND editor = reinterpret_cast<HWND>(grid.Send(SPM_GETEDITOR));
  ASSERT_TRUE(IsWindowVisible(editor));
  EXPECT_EQ(GetWindowTextLengthW(editor), 1023);
  grid.Send(SPM_CLOSEEDITOR);
}

TEST(GridSelection, RangeCapacitiesAndReplacement) {
  Grid grid(kMulti);
  FourColumns(grid);
  grid.owner.rows = 100;
  grid.Install();
  const ZQSPREADRANGE three[3] = {{1, 0, 2, 1}, {4, 2, 4, 3}, {7, 1, 8, 1}};
  // Only with discontiguous selection.
  EXPECT_EQ(grid.Send(SPM_SETRANGES, 3, reinterpret_cast<LPARAM>(three)), 0);
  EXPECT_EQ(grid.Send(SPM_GETRANGECOUNT), 1);
  grid.Send(SPM_SETEXFLAGS, SPX_DISCONTIGUOUS);
  EXPECT_EQ(grid.Send(SPM_SETRANGES, 3, reinterpret_cast<LPARAM>(three)), 1);
  EXPECT_EQ(grid.Send(SPM_GETRANGECOUNT), 3);
  // +61: a capacity below the count copies nothing.
  ZQSPREADRANGE buffer[4];
  std::memset(buffer, 0xAB, sizeof(buffer));
  EXPECT_EQ(grid.Send(SPM_GETRANGES, 2, reinterpret_cast<LPARAM>(buffer)), 0);
  EXPECT_EQ(buffer[0].anchorRow, 0xABABABABu);
  EXPECT_EQ(grid.Send(SPM_GETRANGES, 3, reinterpret_cast<LPARAM>(buffer)), 1);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Same(buffer[i], three[i])) << i;
  EXPECT_EQ(buffer[3].anchorRow, 0xABABABABu);
  // A count whose list cannot be made: 0, the ranges as they were.
  EXPECT_EQ(grid.Send(SPM_SETRANGES, 0x0FFFFFFF, reinterpret_cast<LPARAM>(three)), 0);
  EXPECT_EQ(grid.Send(SPM_GETRANGECOUNT), 3);
  auto kept = ReadRanges(grid);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Same(kept[i], three[i])) << i;
  EXPECT_EQ(grid.Send(SPM_SETRANGES, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(three)), 0);
  EXPECT_EQ(grid.Send(SPM_SETRANGES, 2, 0), 0);

  // +64: a null buffer asks for the count; equal capacity is not enough.
  ZQSPREADSNAPSHOT snap{};
  EXPECT_EQ(grid.Send(SPM_GETSNAPSHOT, 0, reinterpret_cast<LPARAM>(&snap)), 1);
  EXPECT_EQ(snap.capacity, 3);
  std::memset(buffer, 0xAB, sizeof(buffer));
  snap.ranges = buffer;
  EXPECT_EQ(grid.Send(SPM_GETSNAPSHOT, 0, reinterpret_cast<LPARAM>(&snap)), 0);
  EXPECT_EQ(buffer[0].anchorRow, 0xABABABABu);
  snap.capacity = 4;
  grid.Send(SPM_SETFOCUSCELL, 0, 0);  // collapses to one range
  EXPECT_EQ(grid.Send(SPM_SETRANGES, 3, reinterpret_cast<LPARAM>(three)), 1);
  grid.Send(SPM_SETTOPROW, 2);
  EXPECT_EQ(grid.Send(SPM_GETSNAPSHOT, 0, reinterpret_cast<LPARAM>(&snap)), 1);
  EXPECT_EQ(snap.topRow, 2u);
  EXPECT_EQ(snap.anchorRow, 1u);  // the first range's anchor
  EXPECT_EQ(snap.anchorColumn, 0u);
  EXPECT_EQ(snap.focusRow, 0u);
  EXPECT_TRUE(Same(buffer[2], three[2]));

  // +65: indices clamped to the counts (0xFFFF kept), focus without collapsing.
  ZQSPREADRANGE wild[2] = {{500, 9, 3, 1}, {ZQSPREAD_HEADER, 2, ZQSPREAD_HEADER, 2}};
  ZQSPREADSNAPSHOT restore{1, 0, 3, 1, 4, 2, 2, wild};
  grid.TakeNotes();
  EXPECT_EQ(grid.Send(SPM_SETSNAPSHOT, 0, reinterpret_cast<LPARAM>(&restore)), 0);
  auto now = ReadRanges(grid);
  ASSERT_EQ(now.size(), 2u);
  EXPECT_TRUE(Same(now[0], ZQSPREADRANGE{100, 3, 3, 1}));  // the last row is the append row
  EXPECT_TRUE(Same(now[1], wild[1]));
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(4, 2));
  EXPECT_EQ(grid.Send(SPM_GETTOPROW), 1);
  EXPECT_EQ(grid.TakeNotes(), (std::vector<Note>{{SPN_FOCUSCHANGED, 4, 2}}));
}

TEST(GridSelection, FocusExtensionAndHeaderIndexRules) {
  Grid grid(0);
  FourColumns(grid);
  grid.Install();
  grid.TakeNotes();
  EXPECT_EQ(grid.Send(SPM_SETFOCUSCELL, 3, 2), MAKELONG(3, 2));
  EXPECT_EQ(grid.TakeNotes(), (std::vector<Note>{{SPN_FOCUSCHANGED, 3, 2}, {SPN_SELCHANGED, 3, 2}}));
  EXPECT_EQ(grid.Send(SPM_SETFOCUSCELL, 3, 2), MAKELONG(3, 2));
  EXPECT_TRUE(grid.TakeNotes().empty());
  // Header rows and columns: kept only with the multi-selection styles.
  const struct {
    DWORD style;
    DWORD row, column;
    LRESULT expected;
  } cases[] = {
      {0, ZQSPREAD_HEADER, 1, MAKELONG(0, 1)},
      {SPS_MULTIROW, ZQSPREAD_HEADER, 1, MAKELONG(ZQSPREAD_HEADER, 1)},
      {0, 2, ZQSPREAD_HEADER, MAKELONG(2, 0)},
      {SPS_MULTICOLUMN, 2, ZQSPREAD_HEADER, MAKELONG(2, ZQSPREAD_HEADER)},
      {kMulti, 0xFF01, 1, MAKELONG(0, 1)},   // above 0xFF00 counts as a header index
      {0, 500, 99, MAKELONG(10, 3)},         // clamped: the append row, the last column
      {0, 0xFF00, 0, MAKELONG(10, 0)},
  };
  for (const auto& c : cases) {
    grid.Send(SPM_SETSTYLE, c.style);
    EXPECT_EQ(grid.Send(SPM_SETFOCUSCELL, c.row, c.column), c.expected) << c.row << "," << c.column;
  }
  // Extending keeps the anchor and moves the end.
  grid.Send(SPM_SETSTYLE, kMulti);
  grid.Send(SPM_SETFOCUSCELL, 5, 3);
  grid.TakeNotes();
  EXPECT_EQ(grid.Send(SPM_EXTENDTO, 2, 1), MAKELONG(2, 1));
  EXPECT_EQ(grid.TakeNotes(), (std::vector<Note>{{SPN_FOCUSCHANGED, 2, 1}, {SPN_SELCHANGED, 2, 1}}));
  ZQSPREADRANGE range{};
  EXPECT_EQ(grid.Send(SPM_GETSELECTION, 0, reinterpret_cast<LPARAM>(&range)), 1);
  EXPECT_TRUE(Same(range, ZQSPREADRANGE{5, 3, 2, 1}));
  EXPECT_EQ(grid.Send(SPM_GETSELECTION, 1, reinterpret_cast<LPARAM>(&range)), 1);
  EXPECT_TRUE(Same(range, ZQSPREADRANGE{2, 1, 5, 3}));
  ZQSPREADSUMMARY summary{};
  EXPECT_EQ(grid.Send(SPM_GETSELECTION, 2, reinterpret_cast<LPARAM>(&summary)), 1);
  EXPECT_EQ(summary.ranges, 1);
  EXPECT_EQ(summary.lastRow, 5u);
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(2, 1));
  EXPECT_EQ(grid.Send(SPM_EXTENDTO, 0xFF05, 0), MAKELONG(0, 0));  // header index: 0
  // Single-row style: the end row stays the anchor's.
  grid.Send(SPM_SETSTYLE, SPS_MULTICOLUMN);
  grid.Send(SPM_SETFOCUSCELL, 5, 3);
  EXPECT_EQ(grid.Send(SPM_EXTENDTO, 2, 1), MAKELONG(5, 1));
  // View state: six values, as many bytes as the caller's record holds.
  DWORD view[7];
  std::memset(view, 0xCD, sizeof(view));
  EXPECT_EQ(grid.Send(SPM_GETVIEW, 12, reinterpret_cast<LPARAM>(view)), 24);
  EXPECT_EQ(view[0], 5u);
  EXPECT_EQ(view[2], 5u);  // the end row: the anchor's without 0x0100
  EXPECT_EQ(view[3], 0xCDCDCDCDu);
  EXPECT_EQ(grid.Send(SPM_GETVIEW, 28, reinterpret_cast<LPARAM>(view)), 24);
  EXPECT_EQ(view[6], 0xCDCDCDCDu);
  const DWORD saved[6] = {1, 0, 6, 2, 0, 0};
  EXPECT_EQ(grid.Send(SPM_SETVIEW, sizeof(saved), reinterpret_cast<LPARAM>(saved)), 24);
  EXPECT_EQ(grid.Send(SPM_GETRANGEEND), MAKELONG(1, 2));  // rows stay the anchor's without 0x0100
}

TEST(GridRefresh, RowCountReReadsAreCoalescedAndTheCountCapped) {
  Grid grid(0);
  FourColumns(grid);
  grid.owner.rows = 10;
  grid.Install();
  grid.Send(SPM_SETFOCUSCELL, 9, 1);
  RunQueuedRefreshes(grid.hwnd());
  grid.owner.Take();
  grid.TakeNotes();
  // Set-cell asks for a re-read twice: one WM_USER+26 waits in the queue.
  grid.owner.setCellResult = SPR_ROWCOUNT;
  EXPECT_EQ(grid.Send(SPM_SETFOCUSVALUE, 2, 1234), 0);
  EXPECT_EQ(grid.Send(SPM_SETFOCUSVALUE, 2, 1234), 0);
  EXPECT_EQ(grid.owner.Take(), (std::vector<Call>{{17, 9, 1, 2}, {17, 9, 1, 2}}));
  EXPECT_EQ(grid.owner.lastValue, 1234);
  grid.owner.rows = 3;
  EXPECT_EQ(RunQueuedRefreshes(grid.hwnd()), 1);
  EXPECT_EQ(grid.owner.TakeSlots(), std::vector<int>{14});
  EXPECT_EQ(grid.Send(SPM_GETROWCOUNT), 3);
  // The focus row came back to the last row (the append row).
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(3, 1));
  EXPECT_EQ(grid.TakeNotes(), (std::vector<Note>{{SPN_FOCUSCHANGED, 3, 1}, {SPN_SELCHANGED, 3, 1}}));
  // +26 and +52 return the previous count.
  grid.owner.rows = 25;
  EXPECT_EQ(grid.Send(SPM_REFRESHROWS), 3);
  EXPECT_EQ(grid.Send(SPM_ROWSCHANGED, 4), 25);
  // A count beyond the usable rows is taken as ZQSPREAD_MAXROWS: every row
  // and the append row keep indices below the header indices.
  grid.owner.rows = 20000000;
  grid.Send(SPM_REFRESHROWS);
  EXPECT_EQ(grid.Send(SPM_GETROWCOUNT), static_cast<LRESULT>(ZQSPREAD_MAXROWS));
  EXPECT_EQ(grid.Send(SPM_SETFOCUSCELL, 0xFF00, 0), MAKELONG(ZQSPREAD_MAXROWS, 0));
  EXPECT_LT(ZQSPREAD_MAXROWS, ZQSPREAD_HEADERMIN);
  grid.owner.rows = -5;
  grid.Send(SPM_REFRESHROWS);
  EXPECT_EQ(grid.Send(SPM_GETROWCOUNT), 0);
  // Top row: clamped, the previous one returned.
  grid.owner.rows = 100;
  grid.Send(SPM_REFRESHROWS);
  const LRESULT top = grid.Send(SPM_GETTOPROW);
  EXPECT_EQ(grid.Send(SPM_SETTOPROW, 40), top);
  EXPECT_EQ(grid.Send(SPM_GETTOPROW), 40);
  // Far beyond: the last page (rows and the append row) fills the view.
  EXPECT_EQ(grid.Send(SPM_SETTOPROW, 100000), 40);
  const LRESULT last = grid.Send(SPM_GETTOPROW);
  EXPECT_GT(last, 40);
  EXPECT_LE(last, 100);
  RECT appendRow;
  grid.Send(SPM_GETROWRECT, 100, reinterpret_cast<LPARAM>(&appendRow));
  RECT client;
  GetClientRect(grid.hwnd(), &client);
  EXPECT_LE(appendRow.bottom, client.bottom);
  EXPECT_GT(appendRow.bottom + grid.Send(SPM_GETROWHEIGHT), client.bottom);
}

TEST(GridColumns, InstallReadMoveFreezeAndSortIndicator) {
  Grid grid(kMulti);
  grid.Install();
  ZQSPREADCOLUMN first[2] = {Column(64), Column(64)};
  ZQSPREADCOLUMNSET set{2, 2, 0, first, L"X\0Y\0"};
  first[1].headerOffset = 2;
  EXPECT_EQ(grid.Send(SPM_SETCOLUMNS, 0, reinterpret_cast<LPARAM>(&set)), 0);
  FourColumns(grid);  // returns the previous array
  ZQSPREADCOLUMNSET read{};
  EXPECT_EQ(grid.Send(SPM_GETCOLUMNS, 0, reinterpret_cast<LPARAM>(&read)), reinterpret_cast<LRESULT>(grid.columns.data()));
  EXPECT_EQ(read.count, 4);
  EXPECT_EQ(read.headers, grid.headers.c_str());
  EXPECT_EQ(grid.Send(SPM_GETCOLUMNCOUNT), 4);
  EXPECT_EQ(grid.Send(SPM_SETCOLUMNS, 0, reinterpret_cast<LPARAM>(&set)), reinterpret_cast<LRESULT>(grid.columns.data()));
  FourColumns(grid);

  // Columns 2 ... 3 move before column 0; a target inside the span changes nothing.
  ZQSPREADRANGE span{0, 2, 0, 3};
  grid.Send(SPM_MOVECOLUMNS, 0, reinterpret_cast<LPARAM>(&span));
  auto ids = [&] {
    std::vector<int> v;
    for (const auto& c : grid.columns) v.push_back(c.id);
    return v;
  };
  EXPECT_EQ(ids(), (std::vector<int>{12, 13, 10, 11}));
  span = ZQSPREADRANGE{0, 1, 0, 2};
  grid.Send(SPM_MOVECOLUMNS, 2, reinterpret_cast<LPARAM>(&span));
  EXPECT_EQ(ids(), (std::vector<int>{12, 13, 10, 11}));
  grid.Send(SPM_MOVECOLUMNS, 4, reinterpret_cast<LPARAM>(&span));
  EXPECT_EQ(ids(), (std::vector<int>{12, 11, 13, 10}));

  EXPECT_EQ(grid.Send(SPM_SETFROZEN, 1), 0);
  EXPECT_EQ(grid.Send(SPM_GETFROZEN), 1);
  EXPECT_EQ(grid.Send(SPM_SETFROZEN, 9), 1);
  EXPECT_EQ(grid.Send(SPM_GETFROZEN), 4);
  EXPECT_EQ(grid.Send(SPM_SETSORT, 1, 2), 2);
  EXPECT_EQ(grid.Send(SPM_SETSORT, 0, 99), 4);
  EXPECT_EQ(grid.Send(SPM_SETSORT, 0, ZQSPREAD_HEADER), static_cast<LRESULT>(ZQSPREAD_HEADER));

  // A focus column beyond a smaller set moves to column 0.
  grid.Send(SPM_SETFOCUSCELL, 2, 3);
  first[1].headerOffset = 2;
  grid.Send(SPM_SETCOLUMNS, 0, reinterpret_cast<LPARAM>(&set));
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(2, 0));
}

TEST(GridMessages, SmallMessagesAnswerAsDocumented) {
  Grid grid(SPS_HLINES | SPS_TOOLTIPS);
  FourColumns(grid);
  grid.Install();
  EXPECT_EQ(grid.Send(SPM_OWNERFLAG, 1), 0);
  EXPECT_EQ(grid.Send(SPM_OWNERFLAG, 0), 1);
  EXPECT_EQ(grid.Send(SPM_OWNERFLAG, 0), 0);
  EXPECT_EQ(grid.Send(SPM_GETOWNER), reinterpret_cast<LRESULT>(grid.parent()));
  EXPECT_EQ(grid.Send(SPM_SETOWNER, 12345), reinterpret_cast<LRESULT>(grid.parent()));  // not a window: kept
  EXPECT_EQ(grid.Send(SPM_GETOWNER), reinterpret_cast<LRESULT>(grid.parent()));
  EXPECT_EQ(grid.Send(SPM_GETSTYLE), SPS_HLINES | SPS_TOOLTIPS);
  grid.Send(SPM_SETSTYLE, SPS_VLINES);
  EXPECT_EQ(grid.Send(SPM_GETSTYLE), SPS_VLINES);
  // Dialog code: its low word; Enter loses DLGC_WANTALLKEYS without an open editor.
  EXPECT_EQ(SendMessageW(grid.hwnd(), WM_GETDLGCODE, 0, 0), 0x81);
  grid.Send(SPM_SETDLGCODE, 0, 0x10000000 | DLGC_WANTALLKEYS | DLGC_WANTARROWS);
  MSG enter{grid.hwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  MSG escape{grid.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_EQ(SendMessageW(grid.hwnd(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)), DLGC_WANTARROWS);
  EXPECT_EQ(SendMessageW(grid.hwnd(), WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&escape)), DLGC_WANTARROWS);
  EXPECT_EQ(SendMessageW(grid.hwnd(), WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS | DLGC_WANTARROWS);
  // Notification on request: the owner's answer comes back.
  grid.Send(SPM_SETFOCUSCELL, 2, 1);
  grid.TakeNotes();
  grid.answer = [](const ZQSPREADNM& nm) -> LRESULT { return nm.hdr.code == 9 ? 77 : 0; };
  EXPECT_EQ(grid.Send(SPM_NOTIFY, 9), 77);
  EXPECT_EQ(grid.TakeNotes(), (std::vector<Note>{{9, 2, 1}}));
  // Row records: the owner's, or a static empty one beyond the count.
  auto* row = reinterpret_cast<const ZQSPREADROW*>(grid.Send(SPM_GETROW, static_cast<WPARAM>(-1)));
  EXPECT_EQ(row->data, 7u);
  EXPECT_EQ(grid.owner.Take().back(), (Call{18, 2, 0, 0}));
  row = reinterpret_cast<const ZQSPREADROW*>(grid.Send(SPM_GETROW, 50));
  EXPECT_EQ(row->paint, 0u);
  EXPECT_TRUE(grid.owner.Take().empty());
  // Unlisted private messages: 0.
  EXPECT_EQ(grid.Send(WM_USER + 100, 1, 1), 0);
  EXPECT_EQ(grid.Send(WM_USER + 9, 1, 1), 0);
  EXPECT_EQ(grid.Send(SPM_GETROWHEIGHT), gridtest::CharCell(grid.hwnd()).cy + 3);
  EXPECT_EQ(SendMessageW(grid.hwnd(), WM_GETFONT, 0, 0) != 0, true);
}

TEST(GridCommands, CommandBitsUndoCellRequestsAndMayEdit) {
  Grid grid(0);
  FourColumns(grid);
  grid.Install();
  grid.Send(SPM_SETFOCUSCELL, 2, 1);
  grid.owner.Take();
  // Each query in turn; paste when a format it names is on the clipboard.
  grid.owner.queryResult = 1;
  grid.owner.queryFormats = {CF_UNICODETEXT};
  ASSERT_TRUE(OpenClipboard(grid.hwnd()));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(grid.Send(SPM_GETCOMMANDS), 0x1B);
  std::vector<Call> calls = grid.owner.Take();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0].format, WM_UNDO);
  EXPECT_EQ(calls[1].format, WM_CLEAR);
  EXPECT_EQ(calls[2].format, WM_COPY);
  EXPECT_EQ(calls[3].format, WM_CUT);
  EXPECT_EQ(calls[4].format, WM_PASTE);
  ASSERT_TRUE(OpenClipboard(grid.hwnd()));
  HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 8);
  std::memcpy(GlobalLock(text), L"abc", 8);
  GlobalUnlock(text);
  SetClipboardData(CF_UNICODETEXT, text);
  CloseClipboard();
  EXPECT_EQ(grid.Send(SPM_GETCOMMANDS), 0x1F);
  grid.owner.queryResult = 0;
  EXPECT_EQ(grid.Send(SPM_GETCOMMANDS), 0x04);
  grid.owner.Take();
  // Undo through the owner; its refresh flags bring notifications 8 and 2.
  EXPECT_EQ(grid.Send(SPM_CANUNDO), 0);
  grid.owner.doCommandResult = SPR_CELL;
  grid.TakeNotes();
  grid.Send(SPM_UNDO);
  EXPECT_EQ(grid.owner.Take(), (std::vector<Call>{{19, 0, 0, WM_UNDO}, {20, 0, 0, WM_UNDO}}));
  controlstest::Pump(30);
  grid.owner.Take();
  EXPECT_EQ(grid.TakeCodes(), (std::vector<int>{SPN_EDITCOMMAND, SPN_DATACHANGED}));
  // Cell requests.
  ZQSPREADCELLREQ request{};
  request.row = 3;
  request.column = 2;
  request.format = SPF_TEXT;
  EXPECT_EQ(grid.Send(SPM_GETCELLREQ, 0, reinterpret_cast<LPARAM>(&request)), 0);
  EXPECT_EQ(request.filled, 1);
  EXPECT_EQ(request.rowPaint, 1u);
  EXPECT_EQ(request.rowData, 7u);
  EXPECT_EQ(std::wstring(request.text, static_cast<size_t>(request.length)), L"r3c2");
  EXPECT_EQ(grid.owner.Take(), (std::vector<Call>{{18, 3, 0, 0}, {15, 3, 2, SPF_TEXT}}));
  request.value = 99;
  request.format = 5;
  grid.owner.setCellResult = 0;
  EXPECT_EQ(grid.Send(SPM_SETCELLREQ, 0, reinterpret_cast<LPARAM>(&request)), 0);
  EXPECT_EQ(grid.owner.Take(), (std::vector<Call>{{17, 3, 2, 5}}));
  EXPECT_EQ(grid.owner.lastValue, 99);
  grid.owner.mayEditResult = 0;
  EXPECT_EQ(grid.Send(SPM_MAYEDIT, 0, reinterpret_cast<LPARAM>(&request)), 0);
  grid.owner.mayEditResult = 1;
  EXPECT_EQ(grid.Send(SPM_MAYEDIT, 0, reinterpret_cast<LPARAM>(&request)), 1);
  EXPECT_EQ(grid.owner.Take(), (std::vector<Call>{{16, 3, 2, 99}, {16, 3, 2, 99}}));
}

TEST(GridEditor, OpenCommitCancelAndTheOwnersVeto) {
  Grid grid(SPS_EDITOR);
  grid.SetColumns({Column(80, SPC_LEFT | SPC_EDITABLE), Column(80, SPC_LEFT), Column(80, SPC_LEFT | SPC_ASKEDIT)},
                  {L"Name", L"Fixed", L"Asked"});
  grid.Install();
  HWND editor = reinterpret_cast<HWND>(grid.Send(SPM_GETEDITOR));
  grid.Send(SPM_SETFOCUSCELL, 1, 0);
  grid.owner.Take();
  grid.TakeNotes();
  grid.Send(SPM_OPENEDITOR);
  EXPECT_TRUE(IsWindowVisible(editor));
  EXPECT_EQ(CodesWithoutFocus(grid), std::vector<int>{SPN_EDITOPENING});
  EXPECT_EQ(grid.owner.Take().back(), (Call{15, 1, 0, SPF_TEXT}));
  wchar_t text[32];
  GetWindowTextW(editor, text, 32);
  EXPECT_STREQ(text, L"r1c0");
  // Over the cell rectangle grown by a pixel.
  RECT cell, placed;
  grid.Send(SPM_GETROWRECT, 1, reinterpret_cast<LPARAM>(&cell));
  GetWindowRect(editor, &placed);
  MapWindowPoints(nullptr, grid.hwnd(), reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.top, cell.top - 1);
  EXPECT_EQ(placed.bottom, cell.bottom + 1);
  // Commit: set-cell with the text; notification 7 when it reports a change.
  SetWindowTextW(editor, L"changed");
  grid.owner.setCellResult = SPR_CELL;
  grid.owner.Take();
  grid.Send(SPM_CLOSEEDITOR);
  EXPECT_FALSE(IsWindowVisible(editor));
  EXPECT_EQ(grid.owner.Take(), (std::vector<Call>{{17, 1, 0, SPF_TEXT}}));
  EXPECT_EQ(grid.owner.lastSet, L"changed");
  EXPECT_EQ(CodesWithoutFocus(grid), std::vector<int>{SPN_EDITCOMMITTED});
  // Escape cancels: nothing is set.
  grid.Send(SPM_OPENEDITOR);
  SetWindowTextW(editor, L"dropped");
  SendMessageW(editor, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(IsWindowVisible(editor));
  grid.owner.calls.clear();
  grid.Send(SPM_CLOSEEDITOR);
  EXPECT_TRUE(grid.owner.Take().empty());
  // Enter commits.
  grid.Send(SPM_OPENEDITOR);
  SetWindowTextW(editor, L"entered");
  SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(IsWindowVisible(editor));
  EXPECT_EQ(grid.owner.lastSet, L"entered");
  // The owner refuses with -1; a column without edit flags; may-edit says 0.
  grid.answer = [](const ZQSPREADNM& nm) -> LRESULT { return nm.hdr.code == SPN_EDITOPENING ? -1 : 0; };
  grid.Send(SPM_OPENEDITOR);
  EXPECT_FALSE(IsWindowVisible(editor));
  grid.answer = nullptr;
  grid.Send(SPM_SETFOCUSCELL, 1, 1);
  grid.Send(SPM_OPENEDITOR);
  EXPECT_FALSE(IsWindowVisible(editor));
  grid.Send(SPM_SETFOCUSCELL, 1, 2);
  grid.owner.mayEditResult = 0;
  grid.owner.Take();
  grid.Send(SPM_OPENEDITOR);
  EXPECT_FALSE(IsWindowVisible(editor));
  EXPECT_EQ(grid.owner.Take(), (std::vector<Call>{{16, 1, 2, 0}}));
  grid.owner.mayEditResult = 1;
  grid.Send(SPM_OPENEDITOR);
  EXPECT_TRUE(IsWindowVisible(editor));
  // Suspending commits the open edit.
  grid.Send(SPM_SUSPEND, 1);
  EXPECT_FALSE(IsWindowVisible(editor));
  grid.Send(SPM_SUSPEND, 0);
}

TEST(GridMessages, ScrollingIntoViewInvalidatingAndScrollBars) {
  Grid grid(0, 480, 300, WS_VSCROLL | WS_HSCROLL);
  FourColumns(grid);
  grid.owner.rows = 100;
  grid.Install();
  UpdateWindow(grid.hwnd());
  // +58: the cell comes into view, the focus stays.
  EXPECT_EQ(grid.Send(SPM_ENSUREVISIBLE, 50, 1), 0);
  const LRESULT top = grid.Send(SPM_GETTOPROW);
  RECT row;
  grid.Send(SPM_GETROWRECT, 50, reinterpret_cast<LPARAM>(&row));
  RECT client;
  GetClientRect(grid.hwnd(), &client);
  EXPECT_GT(top, 0);
  EXPECT_LE(row.bottom, client.bottom);
  EXPECT_EQ(grid.Send(SPM_GETSELECTION), MAKELONG(0, 0));
  EXPECT_EQ(GetScrollPos(grid.hwnd(), SB_VERT), top);
  // +67: a disabled bar is left alone.
  grid.Send(SPM_ENABLESCROLL, 1, 0);
  grid.Send(SPM_SETTOPROW, 10);
  EXPECT_EQ(GetScrollPos(grid.hwnd(), SB_VERT), top);
  grid.Send(SPM_ENABLESCROLL, 1, 1);
  grid.Send(SPM_SETTOPROW, 20);
  EXPECT_EQ(GetScrollPos(grid.hwnd(), SB_VERT), 20);
  EXPECT_NE(grid.Send(SPM_ENABLESCROLLBAR, SB_VERT, ESB_DISABLE_BOTH), 0);
  // +34 and +57: what they invalidate.
  UpdateWindow(grid.hwnd());
  RECT update{};
  RECT cell, other;
  grid.Send(SPM_GETROWRECT, 22, reinterpret_cast<LPARAM>(&cell));
  grid.Send(SPM_INVALIDATECELL, 22, MAKELPARAM(0xFFFF, 0));
  ASSERT_TRUE(GetUpdateRect(grid.hwnd(), &update, FALSE));
  EXPECT_LE(update.top, cell.top);
  EXPECT_GE(update.bottom, cell.bottom);
  EXPECT_LT(update.bottom - update.top, 3 * (cell.bottom - cell.top));
  grid.Send(SPM_INVALIDATECELL, 22, MAKELPARAM(1, 1));  // painted now
  EXPECT_FALSE(GetUpdateRect(grid.hwnd(), &update, FALSE));
  const ZQSPREADRANGE corners{21, 0, 24, 2};
  grid.Send(SPM_INVALIDATERANGE, 0, reinterpret_cast<LPARAM>(&corners));
  ASSERT_TRUE(GetUpdateRect(grid.hwnd(), &update, FALSE));
  grid.Send(SPM_GETROWRECT, 21, reinterpret_cast<LPARAM>(&cell));
  grid.Send(SPM_GETROWRECT, 24, reinterpret_cast<LPARAM>(&other));
  EXPECT_EQ(update.top, cell.top);
  EXPECT_EQ(update.bottom, other.bottom);
  RECT third;
  grid.Send(SPM_GETCOLUMNRECT, 2, reinterpret_cast<LPARAM>(&third));
  EXPECT_EQ(update.right, third.right);
  grid.Send(SPM_INVALIDATERANGE, 1, reinterpret_cast<LPARAM>(&corners));  // painted now
  EXPECT_FALSE(GetUpdateRect(grid.hwnd(), &update, FALSE));
}
