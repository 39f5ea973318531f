// Page rules no window reaches on its own: the quantize word, deleting
// sub-tracks by grid rows, host reads that do not answer S_OK, and context
// help with the help viewers replaced by a recorder.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "hostkit.h"
#include "module/library_startup.h"
#include "plugin/filter_object.h"
#include "plugin/global_object.h"
#include "page/page_commands.h"
#include "page/page_ids.h"
#include "page/page_object.h"
#include "page/page_window.h"
#include "quillet/clsid.h"
#include "skins/help_viewers.h"
#include "zq/grid.h"
#include "zq/help.h"

namespace {

// The test program's resources (the page's string table) stand in for the
// module's.
class LibraryEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(quillet::LibraryStartup(GetModuleHandleW(nullptr))); }
  void TearDown() override { quillet::LibraryShutdown(); }
};
const auto* g_environment = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

using hostkit::Host;
using quillet::FilterObject;

// Bits 0-15 the note code, 0x20000 triplets, 0x20000000 start times,
// 0x40000000 durations, 0x80000000 on playback; other bits of 16-28 kept.
TEST(QuantizeWord, EachResolutionAndSwitch) {
  const struct {
    int resolution;
    DWORD code;
    bool triplet;
  } notes[] = {{0, 1, false}, {1, 1, false}, {2, 2, false}, {3, 2, true},  {4, 3, false}, {5, 3, true},
               {6, 4, false}, {7, 4, true},  {8, 5, false}, {9, 5, true},  {10, 6, false}};
  for (const auto& n : notes) {
    for (int switches = 0; switches < 8; ++switches) {
      const bool start = switches & 1, durations = switches & 2, playback = switches & 4;
      DWORD expected = n.code | (n.triplet ? 0x20000u : 0u) | (start ? 0x20000000u : 0u) |
                       (durations ? 0x40000000u : 0u) | (playback ? 0x80000000u : 0u);
      EXPECT_EQ(quillet::page::QuantizeWord(0, n.resolution, start, durations, playback), expected)
          << n.resolution << " " << switches;
    }
  }
  // Bits 16-28 of the old word stay, except the triplet bit; the rest is new.
  EXPECT_EQ(quillet::page::QuantizeWord(0xFFFFFFFFu, 4, false, false, false), 0x1FFD0000u | 3u);
  EXPECT_EQ(quillet::page::QuantizeWord(0x00050000u, 9, true, false, false), 0x00070000u | 5u | 0x20000000u);
}

class PageInternal : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    filter = quillet::GlobalNew<FilterObject>(CLSID_QuilletFilter);
    ASSERT_EQ(filter->Initialize(), S_OK);
    filter->AddRef();
    host = Host::Create();
  }
  void TearDown() override {
    filter->Disconnect();
    EXPECT_EQ(filter->Release(), 0u);
    EXPECT_EQ(host->Release(), 0u);
    CoUninitialize();
  }
  void Connect(int subTracks) {
    for (int i = 0; i < subTracks; ++i) host->AddSubTrack(i, L"s" + std::to_wstring(i + 1));
    DWORD caps = 1;
    ASSERT_EQ(filter->Connect(static_cast<IQuilletTrack*>(host), nullptr, 1, 0, &caps), S_OK);
  }
  std::vector<DWORD> Keys() const {
    std::vector<DWORD> keys;
    for (const auto& s : host->SubTracks()) keys.push_back(s.key);
    return keys;
  }
  FilterObject* filter = nullptr;
  Host* host = nullptr;
};

// Rows are counted, not ranges: one range over every row, or the same row
// named twice, never deletes the last sub-track; the deletions run from the
// highest row down in one edit.
TEST_F(PageInternal, DeleteByRowsKeepsOneSubTrack) {
  const struct {
    int subTracks;
    std::vector<LONG> rows;
    std::vector<DWORD> left;
    HRESULT result;
  } cases[] = {
      {3, {0, 1, 2}, {3}, S_OK},          // every row: the last stays
      {3, {0, 0, 1}, {3}, S_OK},          // a row twice counts once
      {4, {2, 0}, {2, 4}, S_OK},          // any order
      {3, {1, 7, -1}, {1, 3}, S_OK},      // rows outside the grid are ignored
      {2, {0}, {2}, S_OK},
      {1, {0}, {1}, S_FALSE},             // the only sub-track stays
      {3, {}, {1, 2, 3}, S_FALSE},        // nothing selected
  };
  for (const auto& c : cases) {
    TearDown();
    SetUp();
    Connect(c.subTracks);
    EXPECT_EQ(quillet::page::DeleteSubTrackRows(*filter, c.rows), c.result);
    EXPECT_EQ(Keys(), c.left);
    EXPECT_EQ(host->OpenAccessCount(), 0);
    if (c.result == S_OK) {
      ASSERT_EQ(host->Edits().size(), 1u);
      EXPECT_EQ(host->Edits()[0].caption, L"Delete Track");
      EXPECT_EQ(host->Edits()[0].subTracksDeleted, static_cast<int>(c.subTracks - c.left.size()));
    }
  }
}

// A host read that does not answer S_OK leaves nothing behind in the
// caller's buffer.
TEST_F(PageInternal, UnansweredHostReadsLeaveZeroedBuffers) {
  Connect(2);
  QUILLET_SUBTRACK d;
  memset(&d, 0xCD, sizeof(d));
  EXPECT_EQ(filter->ReadSubTrack(99, &d), S_FALSE);
  const QUILLET_SUBTRACK zero{};
  EXPECT_EQ(memcmp(&d, &zero, sizeof(d)), 0);
  BYTE record[276];
  memset(record, 0xCD, sizeof(record));
  EXPECT_EQ(filter->GetHostProperty(QPROP_FILE_RECORD, sizeof(record), record), S_FALSE);
  for (BYTE b : record) ASSERT_EQ(b, 0);
  LPWSTR title = reinterpret_cast<LPWSTR>(1), path = reinterpret_cast<LPWSTR>(1);
  filter->Disconnect();
  EXPECT_EQ(filter->GetHostStrings(&title, &path), S_FALSE);
  EXPECT_EQ(title, nullptr);
  EXPECT_EQ(path, nullptr);
  LONG value = 7;
  EXPECT_EQ(filter->GetHostProperty(QPROP_PITCH_SHIFT, sizeof(value), &value), S_FALSE);
  EXPECT_EQ(value, 0);
}

struct HelpCall {
  int viewer;  // 0 classic, 1 HTML Help
  HWND window;
  std::wstring file;
  UINT command;
  ULONG_PTR data;
};
std::vector<HelpCall> g_help;
BOOL WINAPI RecordWinHelp(HWND w, LPCWSTR file, UINT command, ULONG_PTR data) {
  g_help.push_back({0, w, file ? file : L"", command, data});
  return TRUE;
}
HWND WINAPI RecordHtmlHelp(HWND w, LPCWSTR file, UINT command, DWORD_PTR data) {
  g_help.push_back({1, w, file ? file : L"", command, data});
  return nullptr;
}

// F1 on the page: HTML Help for 3000 + the control's id; over a toolbar,
// the id of the button under the pointer.
TEST_F(PageInternal, HelpNamesTheControlOrTheToolbarButton) {
  Connect(2);
  // As the module's attach does.
  ASSERT_TRUE(SpreadInitialize(GetModuleHandleW(nullptr), ZQSPREAD_CLASSNAME));
  IPropertyPage* page = nullptr;
  ASSERT_EQ(quillet::CreatePageObject(IID_IPropertyPage, reinterpret_cast<void**>(&page)), S_OK);
  IUnknown* object = static_cast<IQuilletFilter*>(filter);
  ASSERT_EQ(page->SetObjects(1, &object), S_OK);
  HWND frame = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 700, 500, nullptr, nullptr, nullptr, nullptr);
  const RECT place{0, 0, 700, 500};
  ASSERT_EQ(page->Activate(frame, &place, FALSE), S_OK);
  HWND dialog = GetWindow(frame, GW_CHILD);
  ASSERT_NE(dialog, nullptr);
  const zq::skins::HelpViewers recorders{RecordWinHelp, RecordHtmlHelp};
  zq::skins::SetHelpViewers(&recorders);
  const std::wstring file = L"C:\\quillet_page_help.chm";
  ZqHelp_SetHelpFilePath(ZQHELP_HTML, file.c_str());

  HWND track = GetDlgItem(dialog, IDC_PAGE_TRACK_TOOLBAR), transport = GetDlgItem(dialog, IDC_PAGE_TRANSPORT);
  HWND pitch = GetDlgItem(dialog, IDC_PAGE_PITCH);
  ASSERT_TRUE(track && transport && pitch);
  // The centre of a toolbar button, on the screen.
  auto over = [](HWND bar, int command) {
    RECT r{};
    SendMessageW(bar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(bar, &p);
    return p;
  };
  POINT outside{0, 0};
  ClientToScreen(pitch, &outside);
  const struct {
    HWND item;
    int id;
    POINT mouse;
    ULONG_PTR topic;
  } cases[] = {
      {pitch, IDC_PAGE_PITCH, outside, 3000 + IDC_PAGE_PITCH},
      {track, IDC_PAGE_TRACK_TOOLBAR, over(track, IDM_PAGE_DELETE_TRACK), 3000 + IDM_PAGE_DELETE_TRACK},
      {transport, IDC_PAGE_TRANSPORT, over(transport, IDM_PAGE_STOP), 3000 + IDM_PAGE_STOP},
      // Not over a button: the toolbar's own id.
      {transport, IDC_PAGE_TRANSPORT, outside, 3000 + IDC_PAGE_TRANSPORT},
      // A toolbar's point counts only for that toolbar.
      {pitch, IDC_PAGE_PITCH, over(track, IDM_PAGE_DELETE_TRACK), 3000 + IDC_PAGE_PITCH},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.topic);
    g_help.clear();
    HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, c.id, c.item, 0, c.mouse};
    SendMessageW(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_EQ(g_help.size(), 1u);
    EXPECT_EQ(g_help[0].viewer, 1);
    EXPECT_EQ(g_help[0].window, GetDesktopWindow());
    EXPECT_EQ(g_help[0].file, file);
    EXPECT_EQ(g_help[0].command, 0x000Fu);  // context
    EXPECT_EQ(g_help[0].data, c.topic);
  }
  // No record, or no help file: nothing is shown.
  g_help.clear();
  SendMessageW(dialog, WM_HELP, 0, 0);
  ZqHelp_SetHelpFilePath(ZQHELP_HTML, L"");
  HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, IDC_PAGE_PITCH, pitch, 0, outside};
  SendMessageW(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_TRUE(g_help.empty());

  zq::skins::SetHelpViewers(nullptr);
  EXPECT_EQ(page->Deactivate(), S_OK);
  EXPECT_EQ(page->SetObjects(0, nullptr), S_OK);
  EXPECT_EQ(page->Release(), 0u);
  DestroyWindow(frame);
}

}  // namespace
