// The property page as hosts drive it: created by the module's factory,
// hosted by the platform's property frame on a test thread and driven by
// messages, and driven slot by slot in a window of the test's own. Host
// edits are checked by the in-memory host's record of them.
#include <gtest/gtest.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "hostkit.h"
#include "page/page_ids.h"
#include "quillet/plugin.h"
#include "module_support.h"
#include "registry_helpers.h"
#include "screenshot.h"
#include "test_paths.h"
#include "zq/grid.h"

namespace {

using testsupport::Regsvr32;

using hostkit::Host;
using hostkit::HostEdit;

template <typename T>
T* Query(IUnknown* object, REFIID iid) {
  T* out = nullptr;
  return SUCCEEDED(object->QueryInterface(iid, reinterpret_cast<void**>(&out))) ? out : nullptr;
}


LONG RefCount(IUnknown* object) {
  object->AddRef();
  return static_cast<LONG>(object->Release());
}

std::wstring ItemText(HWND dialog, int id) {
  WCHAR text[512] = L"";
  GetDlgItemTextW(dialog, id, text, 512);
  return text;
}

QUILLET_EVENT Meta(DWORD subTrack, LONGLONG time, std::vector<BYTE> bytes) {
  return hostkit::MakeLong(QEV_META, subTrack, time, bytes.data(), static_cast<DWORD>(bytes.size()));
}

template <typename T>
T PropertyOf(Host* host, DWORD property) {
  T value{};
  std::vector<BYTE> bytes = host->Property(property);
  if (bytes.size() >= sizeof(T)) memcpy(&value, bytes.data(), sizeof(T));
  return value;
}

// ---- Driving dialogs that open on this thread ------------------------------------------

// A CBT hook finds each new top-level dialog once it is active; a thread
// timer then runs the next step for it (outside the hook).
struct Driver {
  std::vector<std::function<void(HWND)>> steps;  // run in order, one per dialog
  size_t next = 0;
  std::set<HWND> seen;
  HWND pending = nullptr;
  HHOOK hook = nullptr;
};
Driver* g_driver = nullptr;

void CALLBACK RunStep(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  Driver& d = *g_driver;
  HWND window = d.pending;
  d.pending = nullptr;
  if (d.next < d.steps.size()) d.steps[d.next++](window);
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_driver) {
    HWND window = reinterpret_cast<HWND>(wParam);
    WCHAR cls[64] = L"";
    GetClassNameW(window, cls, 64);
    if (wcscmp(cls, L"#32770") == 0 && g_driver->seen.insert(window).second) {
      g_driver->pending = window;
      SetTimer(nullptr, 0, 30, RunStep);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The page dialog inside a frame: the child that holds the grid.
HWND FindPage(HWND frame) {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumChildWindows(
      frame,
      [](HWND child, LPARAM data) CALLBACK -> BOOL {
        if (GetDlgItem(child, IDC_PAGE_GRID) && GetDlgItem(child, IDC_PAGE_PITCH)) {
          reinterpret_cast<Search*>(data)->found = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void PressOk(HWND frame) { PostMessageW(frame, PSM_PRESSBUTTON, PSBTN_OK, 0); }

// Edits a grid cell as the in-place editor does.
void TypeIntoCell(HWND page, DWORD row, DWORD column, const wchar_t* text) {
  ZQSPREADCELLREQ request{};
  request.row = row;
  request.column = column;
  request.format = SPF_TEXT;
  request.value = reinterpret_cast<LPARAM>(text);
  SendDlgItemMessageW(page, IDC_PAGE_GRID, SPM_SETCELLREQ, 0, reinterpret_cast<LPARAM>(&request));
}

std::wstring CellText(HWND page, DWORD row, DWORD column) {
  ZQSPREADCELLREQ request{};
  request.row = row;
  request.column = column;
  request.format = SPF_DISPLAY;
  SendDlgItemMessageW(page, IDC_PAGE_GRID, SPM_GETCELLREQ, 0, reinterpret_cast<LPARAM>(&request));
  return request.text ? std::wstring(request.text, static_cast<size_t>(std::max<LONG>(request.length, 0))) : L"";
}

void ClickCheckCell(HWND page, DWORD row, DWORD column) {
  ZQSPREADNM nm{};
  nm.hdr.hwndFrom = GetDlgItem(page, IDC_PAGE_GRID);
  nm.hdr.idFrom = IDC_PAGE_GRID;
  nm.hdr.code = SPN_BUTTONCLICK;
  nm.row = row;
  nm.column = column;
  SendMessageW(page, WM_NOTIFY, IDC_PAGE_GRID, reinterpret_cast<LPARAM>(&nm));
}

void Command(HWND page, int id, int code = 0, HWND control = nullptr) {
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

// The tree of the event filter dialog: each root item's text and check.
struct TreeItem {
  std::wstring text;
  bool checked;
  HTREEITEM item;
};
std::vector<TreeItem> TreeItems(HWND dialog) {
  HWND tree = GetDlgItem(dialog, IDC_FILTER_TREE);
  std::vector<TreeItem> items;
  for (HTREEITEM at = TreeView_GetRoot(tree); at; at = TreeView_GetNextSibling(tree, at)) {
    WCHAR text[128] = L"";
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = at;
    item.pszText = text;
    item.cchTextMax = 128;
    TreeView_GetItem(tree, &item);
    items.push_back({text, TreeView_GetCheckState(tree, at) == 1, at});
  }
  return items;
}

void SetTreeCheck(HWND dialog, HTREEITEM item, bool on) {
  TreeView_SetCheckState(GetDlgItem(dialog, IDC_FILTER_TREE), item, on);
}

// ---- The fixture ----------------------------------------------------------------------------

class Page : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(Regsvr32(L"/s"), 0u); }
  static void TearDownTestSuite() { Regsvr32(L"/s /u"); }

  void SetUp() override {
    CoInitialize(nullptr);
    host = Host::Create();
    host->SetTiming(480, 500000);
    host->AddSubTrack(0, L"Piano");
    host->AddSubTrack(9, L"Drums");
    host->AddSubTrack(-1, L"Everything");
    host->AddEvent(Meta(1, 0, {0x02, 'C', 'o', 'p', 'y', ' ', '1', '9', '9', '9'}));
    host->AddEvent(Meta(1, 0, {0x51, 0x07, 0xA1, 0x20}));  // 500,000 microseconds: 120 BPM
    host->AddEvent(hostkit::MakeShort(QEV_CONTROL, 1, 0, 0, 7, 100));
    host->filePath = L"C:\\songs\\tune.mid";
    QUILLET_FILE_RECORD file{};
    file.format = 0x0501;  // type 1, 5 tracks
    file.sizeLow = 3584;
    host->Set(QPROP_FILE_RECORD, 0, 0, sizeof(file), &file);
    LONG pitch = 3, root = 62;
    host->Set(QPROP_PITCH_SHIFT, 0, 0, sizeof(pitch), &pitch);
    host->Set(QPROP_ROOT_NOTE, 0, 0, sizeof(root), &root);
    QUILLET_LOOP loop{0, 1920, {}};
    host->Set(QPROP_LOOP, 0, 0, sizeof(loop), &loop);
    ASSERT_EQ(CoCreateInstance(CLSID_QuilletFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IQuilletFilter,
                               reinterpret_cast<void**>(&filter)),
              S_OK);
    DWORD caps = 0xFF;
    ASSERT_EQ(filter->Connect(static_cast<IQuilletTrack*>(host), nullptr, 1, 0, &caps), S_OK);
  }

  void TearDown() override {
    if (filter) {
      filter->Disconnect();
      EXPECT_EQ(filter->Release(), 0u);
    }
    EXPECT_EQ(host->Release(), 0u);
    CoUninitialize();
  }

  // Opens the filter's page in the platform's frame on a thread of its own;
  // `steps` run for the frame and for each dialog opened after it.
  void RunFrame(std::vector<std::function<void(HWND)>> steps) {
    // The filter is handed over as a host does: in-process, unmarshalled.
    std::thread([&] {
      CoInitialize(nullptr);
      IUnknown* object = Query<IUnknown>(filter, IID_IUnknown);
      Driver driver;
      driver.steps = std::move(steps);
      g_driver = &driver;
      driver.hook = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
      ISpecifyPropertyPages* pages = Query<ISpecifyPropertyPages>(object, IID_ISpecifyPropertyPages);
      CAUUID ids{};
      if (pages && SUCCEEDED(pages->GetPages(&ids))) {
        frameResult = OleCreatePropertyFrame(nullptr, 0, 0, L"Quillet", 1, &object, ids.cElems, ids.pElems,
                                             GetUserDefaultLCID(), 0, nullptr);
        CoTaskMemFree(ids.pElems);
      }
      if (pages) pages->Release();
      UnhookWindowsHookEx(driver.hook);
      stepsRun = driver.next;
      g_driver = nullptr;
      if (object) object->Release();
      CoUninitialize();
    }).join();
  }

  std::vector<HostEdit> EditsCaptioned(const wchar_t* caption) const {
    std::vector<HostEdit> found;
    for (const HostEdit& e : host->Edits())
      if (e.caption == caption) found.push_back(e);
    return found;
  }

  Host* host = nullptr;
  IQuilletFilter* filter = nullptr;
  HRESULT frameResult = E_FAIL;
  size_t stepsRun = 0;
};

// ---- In the platform's frame ----------------------------------------------------------------

TEST_F(Page, FrameShowsTheTrackAndClosesWithEverythingReleased) {
  std::wstring pitch, root, meta, attributes, tempo, size, name, location, time, title;
  int rows = -1;
  const LONG filterBefore = RefCount(filter), hostBefore = host->RefCount();
  RunFrame({[&](HWND frame) {
    HWND page = FindPage(frame);
    ASSERT_NE(page, nullptr);
    pitch = ItemText(page, IDC_PAGE_PITCH);
    root = ItemText(page, IDC_PAGE_ROOT);
    meta = ItemText(page, IDC_PAGE_META2);
    attributes = ItemText(page, IDC_PAGE_ATTRIBUTES);
    tempo = ItemText(page, IDC_PAGE_TEMPO);
    size = ItemText(page, IDC_PAGE_SIZE);
    name = ItemText(page, IDC_PAGE_FILE_NAME);
    location = ItemText(page, IDC_PAGE_LOCATION);
    time = ItemText(page, IDC_PAGE_TIME);
    rows = static_cast<int>(SendDlgItemMessageW(page, IDC_PAGE_GRID, SPM_GETROWCOUNT, 0, 0));
    WCHAR caption[128] = L"";
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = caption;
    tab.cchTextMax = 128;
    SendMessageW(PropSheet_GetTabControl(frame), TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tab));
    title = caption;
    EXPECT_GT(testsupport::SaveWindowScreenshot(frame, L"page_frame_english").colours, 1);
    PressOk(frame);
  }});
  EXPECT_EQ(frameResult, S_OK);
  EXPECT_EQ(stepsRun, 1u);
  EXPECT_EQ(title, L"General");
  EXPECT_EQ(pitch, L"3");
  EXPECT_EQ(root, L"D");  // 62 mod 12
  EXPECT_EQ(meta, L"Copy 1999");
  EXPECT_EQ(attributes, L"Type 1, 5 Tracks");
  EXPECT_EQ(tempo, L"120.000 BPM");
  EXPECT_EQ(size, L"3.50 KB");
  EXPECT_EQ(name, L"tune.mid");
  EXPECT_EQ(location, L"C:\\songs");
  EXPECT_FALSE(time.empty());
  EXPECT_EQ(rows, 3);
  // The page went with the frame and let go of the filter (and the host
  // the filter holds); the rest is counted down to zero at tear-down.
  EXPECT_EQ(RefCount(filter), filterBefore);
  EXPECT_EQ(host->RefCount(), hostBefore);
  EXPECT_EQ(host->OpenAccessCount(), 0);
}

TEST_F(Page, GridEditsGoToTheHostWithTheirCaptionsAndMasks) {
  std::vector<std::wstring> channelTexts, volumeTexts;
  RunFrame({[&](HWND frame) {
    HWND page = FindPage(frame);
    ASSERT_NE(page, nullptr);
    TypeIntoCell(page, 0, 0, L"Grand Piano");
    // Channels: 0 gives 1, 20 gives 16, -5 gives all channels.
    for (const wchar_t* typed : {L"0", L"20", L"-5"}) {
      TypeIntoCell(page, 1, 1, typed);
      channelTexts.push_back(CellText(page, 1, 1));
    }
    TypeIntoCell(page, 1, 1, L"-1");  // already all channels: no edit
    // Volume and pan: clamped to -127..127, shown in steps of 1/127.
    for (const wchar_t* typed : {L"127", L"200", L"-63.5", L"10.4"}) {
      TypeIntoCell(page, 0, 4, typed);
      volumeTexts.push_back(CellText(page, 0, 4));
    }
    TypeIntoCell(page, 2, 5, L"-300");
    ClickCheckCell(page, 0, 3);  // solo the piano
    ClickCheckCell(page, 0, 2);  // muting it clears the solo first
    ClickCheckCell(page, 1, 2);  // mute the drums
    ClickCheckCell(page, 1, 3);  // soloing them clears the mute first
    // A real click on the third row's mute cell, handled after this step.
    HWND grid = GetDlgItem(page, IDC_PAGE_GRID);
    RECT row{}, column{};
    SendMessageW(grid, SPM_GETROWRECT, 2, reinterpret_cast<LPARAM>(&row));
    SendMessageW(grid, SPM_GETCOLUMNRECT, 2, reinterpret_cast<LPARAM>(&column));
    const LPARAM at = MAKELPARAM((column.left + column.right) / 2, (row.top + row.bottom) / 2);
    PostMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(grid, WM_LBUTTONUP, 0, at);
    PressOk(frame);
  }});
  ASSERT_EQ(stepsRun, 1u);
  const auto& subs = host->SubTracks();
  EXPECT_EQ(subs[0].name, L"Grand Piano");
  EXPECT_TRUE(subs[0].mute);
  EXPECT_FALSE(subs[0].solo);
  EXPECT_FALSE(subs[1].mute);
  EXPECT_TRUE(subs[1].solo);
  EXPECT_EQ(subs[1].channel, -1);
  EXPECT_TRUE(subs[2].mute);  // clicked
  EXPECT_EQ(channelTexts, (std::vector<std::wstring>{L"1", L"16", L"-"}));
  EXPECT_EQ(volumeTexts, (std::vector<std::wstring>{L"127", L"127", L"-64", L"10"}));

  // The record of host edits: caption and change mask, one edit each.
  struct Expected {
    const wchar_t* caption;
    DWORD mask;
    size_t count;
  } expected[] = {
      {L"Edit Track Name", QSUB_NAME, 1},
      {L"Edit Track Channel", QSUB_CHANNEL, 3},
      {L"Solo MIDI sub track", QSUB_SOLO, 3},
      {L"Mute MIDI sub track", QSUB_MUTE, 4},
  };
  for (const Expected& e : expected) {
    std::vector<HostEdit> edits = EditsCaptioned(e.caption);
    EXPECT_EQ(edits.size(), e.count) << e.caption;
    for (const HostEdit& edit : edits) {
      EXPECT_EQ(edit.mask, e.mask) << e.caption;
      EXPECT_TRUE(edit.closed && edit.committed) << e.caption;
    }
  }
  EXPECT_EQ(host->Edits().size(), 11u);
  EXPECT_EQ(host->OpenAccessCount(), 0);
}

// Volume and pan offsets are the filter's: the next playback buffer
// applies them (a controller 7 of 100 on sub-track 1 and +127 steps gives 127).
TEST_F(Page, VolumeOffsetsReachPlayback) {
  RunFrame({[&](HWND frame) {
    HWND page = FindPage(frame);
    TypeIntoCell(page, 0, 4, L"127");
    TypeIntoCell(page, 1, 5, L"-127");
    PressOk(frame);
  }});
  hostkit::EventBuffer* buffer = hostkit::EventBuffer::Create();
  buffer->Add(hostkit::MakeShort(QEV_CONTROL, 1, 0, 0, 7, 100));
  QUILLET_BUFFERINFO info{};
  info.flags = QBUF_PLAYBACK;
  IQuilletProcess* process = Query<IQuilletProcess>(filter, IID_IQuilletProcess);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(process->Process(buffer, &info), S_OK);
  process->Release();
  int volume = -1;
  for (const QUILLET_EVENT& e : buffer->Events())
    if (e.subTrack == 1 && e.type == QEV_CONTROL && e.bytes[0] == 7) volume = e.bytes[1];
  EXPECT_EQ(volume, 127);
  // The drums' pan changed with no controller 10 in the buffer: one is injected at 0.
  bool panInjected = false;
  for (const QUILLET_EVENT& e : buffer->Events())
    if (e.subTrack == 2 && e.bytes[0] == 10) panInjected = e.bytes[1] == 0;
  EXPECT_TRUE(panInjected);
  EXPECT_EQ(buffer->Release(), 0u);
}

TEST_F(Page, ToolbarCommandsDriveTheTransportThroughHostProperties) {
  struct Step {
    int command;
    DWORD transportAfter;
    LONGLONG positionAfter;
  };
  // Each step starts from the state the previous one left.
  const Step steps[] = {
      {IDM_PAGE_PLAY, 0x1, 480},          {IDM_PAGE_PAUSE, 0x0, 480},  // pausing keeps the place
      {IDM_PAGE_PAUSE, 0x1, 480},         {IDM_PAGE_STOP, 0x0, 480},
      {IDM_PAGE_LOOP, 0x10, 480},         {IDM_PAGE_PLAY_FROM_START, 0x11, 0},
      {IDM_PAGE_LOOP, 0x1, 0},            {IDM_PAGE_STOP, 0x0, 0},
  };
  QUILLET_POSITION position{480, {}};
  host->Set(QPROP_POSITION, 0, 0, sizeof(position), &position);
  std::vector<DWORD> transports;
  std::vector<LONGLONG> positions;
  bool loopChecked = false, deleteEnabled = false, playEnabled = false;
  RunFrame({[&](HWND frame) {
    HWND page = FindPage(frame);
    HWND transport = GetDlgItem(page, IDC_PAGE_TRANSPORT), track = GetDlgItem(page, IDC_PAGE_TRACK_TOOLBAR);
    deleteEnabled = SendMessageW(track, TB_ISBUTTONENABLED, IDM_PAGE_DELETE_TRACK, 0) != 0;
    playEnabled = SendMessageW(transport, TB_ISBUTTONENABLED, IDM_PAGE_PLAY, 0) != 0;
    for (const Step& s : steps) {
      Command(page, s.command);
      transports.push_back(PropertyOf<DWORD>(host, QPROP_TRANSPORT));
      positions.push_back(PropertyOf<QUILLET_POSITION>(host, QPROP_POSITION).time);
      if (s.command == IDM_PAGE_LOOP && transports.back() & QTRANSPORT_LOOP)
        loopChecked = SendMessageW(transport, TB_ISBUTTONCHECKED, IDM_PAGE_LOOP, 0) != 0;
    }
    position.time = 960;
    host->Set(QPROP_POSITION, 0, 0, sizeof(position), &position);
    Command(page, IDM_PAGE_GO_TO_START);
    positions.push_back(PropertyOf<QUILLET_POSITION>(host, QPROP_POSITION).time);
    PressOk(frame);
  }});
  ASSERT_EQ(transports.size(), ARRAYSIZE(steps));
  for (size_t i = 0; i < ARRAYSIZE(steps); ++i) {
    EXPECT_EQ(transports[i], steps[i].transportAfter) << "step " << i;
    EXPECT_EQ(positions[i], steps[i].positionAfter) << "step " << i;
  }
  EXPECT_EQ(positions.back(), 0);
  EXPECT_TRUE(loopChecked);
  EXPECT_TRUE(deleteEnabled);  // three sub-tracks
  EXPECT_TRUE(playEnabled);    // connected to a host
}

TEST_F(Page, TrackCommandsAddAndDeleteSubTracks) {
  RunFrame({[&](HWND frame) {
    HWND page = FindPage(frame);
    Command(page, IDM_PAGE_ADD_TRACK);
    // Every row in one range, the first row again in another: every
    // sub-track but the last is deleted, in one edit.
    ZQSPREADRANGE ranges[] = {{0, 0, 3, 5}, {0, 0, 0, 5}};
    SendDlgItemMessageW(page, IDC_PAGE_GRID, SPM_SETRANGES, 2, reinterpret_cast<LPARAM>(ranges));
    Command(page, IDM_PAGE_DELETE_TRACK);
    PressOk(frame);
  }});
  std::vector<HostEdit> inserted = EditsCaptioned(L"Insert Track"), deleted = EditsCaptioned(L"Delete Track");
  ASSERT_EQ(inserted.size(), 1u);
  EXPECT_EQ(inserted[0].subTracksInserted, 1);
  ASSERT_EQ(deleted.size(), 1u);
  EXPECT_EQ(deleted[0].subTracksDeleted, 3);
  ASSERT_EQ(host->SubTracks().size(), 1u);
  EXPECT_EQ(host->SubTracks()[0].name, L"New Track");
  EXPECT_EQ(host->SubTracks()[0].channel, 0);  // in the first sub-track's description
}

TEST_F(Page, RootNoteAndPitchShift) {
  std::vector<std::wstring> pitches;
  std::vector<std::wstring> roots;
  std::vector<LONG> stored;
  LONG rootAfter = 0;
  RunFrame({[&](HWND frame) {
    HWND page = FindPage(frame);
    HWND list = GetDlgItem(page, IDC_PAGE_ROOT);
    for (int i = 0; i < static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0)); ++i) {
      WCHAR text[64] = L"";
      SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      roots.push_back(text);
    }
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    Command(page, IDC_PAGE_ROOT, CBN_SELCHANGE, list);
    rootAfter = PropertyOf<LONG>(host, QPROP_ROOT_NOTE);
    for (const wchar_t* typed : {L"30", L"-30", L"7"}) {
      SetDlgItemTextW(page, IDC_PAGE_PITCH, typed);
      Command(page, IDC_PAGE_PITCH, EN_KILLFOCUS, GetDlgItem(page, IDC_PAGE_PITCH));
      pitches.push_back(ItemText(page, IDC_PAGE_PITCH));
      stored.push_back(PropertyOf<LONG>(host, QPROP_PITCH_SHIFT));
    }
    // The spinner steps from the edit's (typed) value.
    HWND spin = GetDlgItem(page, IDC_PAGE_PITCH_SPIN);
    SetDlgItemTextW(page, IDC_PAGE_PITCH, L"24");
    SendMessageW(page, WM_VSCROLL, MAKEWPARAM(9, 0), reinterpret_cast<LPARAM>(spin));
    SendMessageW(page, WM_VSCROLL, MAKEWPARAM(4, static_cast<WORD>(-10)), reinterpret_cast<LPARAM>(spin));
    pitches.push_back(ItemText(page, IDC_PAGE_PITCH));
    stored.push_back(PropertyOf<LONG>(host, QPROP_PITCH_SHIFT));
    PressOk(frame);
  }});
  ASSERT_EQ(roots.size(), 13u);
  EXPECT_EQ(roots[0], L"Don't transpose");
  EXPECT_EQ(roots[1], L"C");
  EXPECT_EQ(roots[2], L"C#");
  EXPECT_EQ(roots[12], L"B");
  EXPECT_EQ(rootAfter, 127);
  EXPECT_EQ(pitches, (std::vector<std::wstring>{L"24", L"-24", L"7", L"-10"}));
  EXPECT_EQ(stored, (std::vector<LONG>{24, -24, 7, -10}));
}

TEST_F(Page, EventFilterDialogInBothModes) {
  IPersistStream* persist = Query<IPersistStream>(filter, IID_IPersistStream);
  ASSERT_NE(persist, nullptr);
  std::vector<TreeItem> chaseItems, playbackItems;
  std::wstring chaseTitle, playbackTitle, chaseLabel;
  RunFrame({
      [&](HWND frame) {
        HWND page = FindPage(frame);
        Command(page, IDM_PAGE_CHASE_FILTER);     // returns when the step below pressed OK
        Command(page, IDM_PAGE_PLAYBACK_FILTER);  // first: check everything, OK
        Command(page, IDM_PAGE_PLAYBACK_FILTER);  // second: uncheck control changes, cancel
        PressOk(frame);
      },
      [&](HWND dialog) {  // chase mode: no Note item; OK with everything checked
        WCHAR text[128] = L"";
        GetWindowTextW(dialog, text, 128);
        chaseTitle = text;
        chaseLabel = ItemText(dialog, IDC_FILTER_LABEL);
        for (const TreeItem& item : TreeItems(dialog)) SetTreeCheck(dialog, item.item, true);
        chaseItems = TreeItems(dialog);
        testsupport::SaveWindowScreenshot(dialog, L"page_chase_filter");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      },
      [&](HWND dialog) {
        WCHAR text[128] = L"";
        GetWindowTextW(dialog, text, 128);
        playbackTitle = text;
        for (const TreeItem& item : TreeItems(dialog)) SetTreeCheck(dialog, item.item, true);
        playbackItems = TreeItems(dialog);
        testsupport::SaveWindowScreenshot(dialog, L"page_event_filter");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      },
      [&](HWND dialog) {
        for (const TreeItem& item : TreeItems(dialog))
          if (item.text == L"Control Change") SetTreeCheck(dialog, item.item, false);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      },
  });
  ASSERT_EQ(stepsRun, 4u);
  EXPECT_EQ(chaseTitle, L"Chase Event Filter");
  EXPECT_EQ(chaseLabel, L"&MIDI events to filter on playback chase");
  EXPECT_EQ(playbackTitle, L"MIDI Event Filter");
  ASSERT_EQ(chaseItems.size(), 8u);
  ASSERT_EQ(playbackItems.size(), 9u);
  EXPECT_EQ(playbackItems[0].text, L"Note");
  for (const TreeItem& item : chaseItems) EXPECT_NE(item.text, L"Note");
  // The masks as the filter saves them: chase without the note bit,
  // playback with every item's bits and nothing else.
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  ASSERT_EQ(persist->Save(stream, TRUE), S_OK);
  HGLOBAL memory = nullptr;
  GetHGlobalFromStream(stream, &memory);
  const auto* words = static_cast<const DWORD*>(GlobalLock(memory));
  const DWORD all = QEV_NOTE | QEV_CONTROL | QEV_PATCH | QEV_PROGRAM | QEV_POLY_PRESSURE | QEV_CHAN_PRESSURE |
                    QEV_PITCH_BEND | QEV_PACKED_NRPN | QEV_PACKED_RPN | QEV_SYSEX | QEV_SYSEX_CONT;
  EXPECT_EQ(words[4], all & ~QEV_NOTE);  // chase
  EXPECT_EQ(words[5], all);              // playback: the cancelled change left it
  GlobalUnlock(memory);
  stream->Release();
  persist->Release();
}

TEST_F(Page, QuantizeDialogKeepsItsSettings) {
  std::vector<std::wstring> resolutions;
  int shownIndex = -1;
  std::vector<bool> shownChecks;
  RunFrame({
      [&](HWND frame) {
        HWND page = FindPage(frame);
        Command(page, IDM_PAGE_QUANTIZE);  // defaults shown; choose 8th triplets, playback on; Apply
        Command(page, IDM_PAGE_QUANTIZE);  // shows what was applied; cancel after a change
        Command(page, IDM_PAGE_QUANTIZE);  // still what was applied
        PressOk(frame);
      },
      [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_QUANTIZE_RESOLUTION);
        for (int i = 0; i < static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0)); ++i) {
          WCHAR text[64] = L"";
          SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
          resolutions.push_back(text);
        }
        shownIndex = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
        testsupport::SaveWindowScreenshot(dialog, L"page_quantize");
        SendMessageW(list, CB_SETCURSEL, 5, 0);
        CheckDlgButton(dialog, IDC_QUANTIZE_DURATIONS, BST_UNCHECKED);
        CheckDlgButton(dialog, IDC_QUANTIZE_PLAYBACK, BST_CHECKED);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      },
      [&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_QUANTIZE_RESOLUTION, CB_SETCURSEL, 0, 0);
        CheckDlgButton(dialog, IDC_QUANTIZE_START, BST_UNCHECKED);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      },
      [&](HWND dialog) {
        shownIndex = static_cast<int>(SendDlgItemMessageW(dialog, IDC_QUANTIZE_RESOLUTION, CB_GETCURSEL, 0, 0));
        for (int id : {IDC_QUANTIZE_START, IDC_QUANTIZE_DURATIONS, IDC_QUANTIZE_NOTES_ONLY, IDC_QUANTIZE_PLAYBACK})
          shownChecks.push_back(IsDlgButtonChecked(dialog, id) == BST_CHECKED);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      },
  });
  ASSERT_EQ(stepsRun, 4u);
  ASSERT_EQ(resolutions.size(), 11u);
  EXPECT_EQ(resolutions[0], L"Whole Note");
  EXPECT_EQ(resolutions[3], L"Quarter Note Triplet");
  EXPECT_EQ(resolutions[10], L"64th Note");
  EXPECT_EQ(shownIndex, 5);
  EXPECT_EQ(shownChecks, (std::vector<bool>{true, false, true, true}));
}

// Recording: short messages of the record target arriving on input passes
// become one new sub-track in one host edit.
TEST_F(Page, RecordingFinishesIntoOneHostEdit) {
  filter->SetStoredValue(0, 2);  // the record target: the drums
  RunFrame({[&](HWND frame) {
    HWND page = FindPage(frame);
    Command(page, IDM_PAGE_RECORD);
    hostkit::EventBuffer* input = hostkit::EventBuffer::Create();
    input->Add(hostkit::MakeShort(QEV_NOTE, 2, 9, 100, 36, 100));
    input->Add(hostkit::MakeShort(QEV_CONTROL, 2, 9, 200, 7, 90));
    input->Add(hostkit::MakeShort(QEV_NOTE, 1, 0, 150, 60, 100));  // not the target
    QUILLET_BUFFERINFO info{};
    info.flags = QBUF_INPUT;
    filter->Process(input, &info);
    input->Release();
    Command(page, IDM_PAGE_STOP);
    PressOk(frame);
  }});
  std::vector<HostEdit> edits = EditsCaptioned(L"Record MIDI Track");
  ASSERT_EQ(edits.size(), 1u);
  EXPECT_TRUE(edits[0].closed && edits[0].committed);
  EXPECT_EQ(edits[0].subTracksInserted, 1);
  EXPECT_EQ(edits[0].blocksInserted, 1);
  EXPECT_EQ(edits[0].eventsInserted, 3);  // the track name and the two recorded events
  ASSERT_EQ(host->SubTracks().size(), 4u);
  const DWORD key = host->SubTracks()[3].key;
  EXPECT_EQ(host->SubTracks()[3].name, L"Track 4");
  ASSERT_EQ(host->Blocks().size(), 1u);
  EXPECT_EQ(host->Blocks()[0].name, L"Block 1");
  EXPECT_EQ(host->Blocks()[0].subTrack, key);
  EXPECT_EQ(PropertyOf<DWORD>(host, QPROP_TRANSPORT) & QTRANSPORT_RUNNING, 0u);
  size_t recorded = 0;
  for (size_t i = 0; i < host->EventCount(); ++i) {
    QUILLET_EVENT e = host->EventAt(i);
    if (e.subTrack == key) ++recorded;
    hostkit::FreeEvent(e);
  }
  EXPECT_EQ(recorded, 3u);
}

TEST_F(Page, GermanWithTheGermanModule) {
  IQuilletLanguage* language = Query<IQuilletLanguage>(filter, IID_IQuilletLanguage);
  ASSERT_NE(language, nullptr);
  ASSERT_EQ(language->SetLanguage(0x0407), S_OK);
  std::wstring label, none, header;
  RunFrame({[&](HWND frame) {
    HWND page = FindPage(frame);
    label = ItemText(page, IDC_PAGE_PITCH_LABEL);
    HWND list = GetDlgItem(page, IDC_PAGE_ROOT);
    WCHAR text[64] = L"";
    SendMessageW(list, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    none = text;
    ZQSPREADCOLUMNSET set{};
    SendDlgItemMessageW(page, IDC_PAGE_GRID, SPM_GETCOLUMNS, 0, reinterpret_cast<LPARAM>(&set));
    if (set.headers && set.count > 1) header = set.headers + set.columns[1].headerOffset;
    EXPECT_GT(testsupport::SaveWindowScreenshot(frame, L"page_frame_german").colours, 1);
    PressOk(frame);
  }});
  language->SetLanguage(0x0409);
  language->Release();
  EXPECT_EQ(label, L"&Tonhöhe (Halbtöne):");
  EXPECT_EQ(none, L"Nicht transponieren");
  EXPECT_EQ(header, L"Kanal");
}

// ---- Driven slot by slot ----------------------------------------------------------------------

class PageSlots : public Page {
 protected:
  void SetUp() override {
    Page::SetUp();
    ASSERT_EQ(CoCreateInstance(CLSID_QuilletPropPage, nullptr, CLSCTX_INPROC_SERVER, IID_IQuilletPropertyPage,
                               reinterpret_cast<void**>(&page)),
              S_OK);
    parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1000, 600, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override {
    if (page) {
      EXPECT_EQ(page->Release(), 0u);
    }
    DestroyWindow(parent);
    Page::TearDown();
  }
  HWND PageWindow() const { return FindWindowExW(parent, nullptr, nullptr, nullptr); }
  // The page for the filter, active in the parent at (0, 0, width, height).
  void ShowPage(LONG width, LONG height) {
    IUnknown* objects[] = {filter};
    ASSERT_EQ(page->SetObjects(1, objects), S_OK);
    RECT area{0, 0, width, height};
    ASSERT_EQ(page->Activate(parent, &area, FALSE), S_OK);
  }
  void HidePage() {
    page->Deactivate();
    page->SetObjects(0, nullptr);
  }
  // Messages of `message` waiting for the page window.
  int Waiting(UINT message) {
    int count = 0;
    MSG msg;
    std::vector<MSG> taken;
    while (PeekMessageW(&msg, PageWindow(), message, message, PM_REMOVE)) taken.push_back(msg);
    count = static_cast<int>(taken.size());
    for (const MSG& m : taken) DispatchMessageW(&m);
    return count;
  }

  IQuilletPropertyPage* page = nullptr;
  HWND parent = nullptr;
};

TEST_F(PageSlots, FixedAnswersAndPageInfo) {
  EXPECT_EQ(page->IsPageDirty(), S_FALSE);
  EXPECT_EQ(page->Apply(), S_OK);
  EXPECT_EQ(page->Help(nullptr), E_NOTIMPL);
  EXPECT_EQ(page->TranslateAccelerator(nullptr), S_FALSE);
  EXPECT_EQ(page->Reserved18(), E_NOTIMPL);
  EXPECT_EQ(page->GetPageInfo(nullptr), E_POINTER);
  PROPPAGEINFO info{};
  info.cb = 100;
  ASSERT_EQ(page->GetPageInfo(&info), S_OK);
  EXPECT_EQ(info.cb, 28u);
  ASSERT_NE(info.pszTitle, nullptr);
  EXPECT_STREQ(info.pszTitle, L"General");
  EXPECT_EQ(info.pszDocString, nullptr);
  EXPECT_EQ(info.pszHelpFile, nullptr);
  CoTaskMemFree(info.pszTitle);
  // One identity: the page, the observer face and IUnknown answer the same.
  IUnknown* a = Query<IUnknown>(page, IID_IUnknown);
  IQuilletObserver* observer = Query<IQuilletObserver>(page, IID_IQuilletObserver);
  ASSERT_NE(observer, nullptr);
  IUnknown* b = Query<IUnknown>(observer, IID_IUnknown);
  EXPECT_EQ(a, b);
  a->Release();
  b->Release();
  observer->Release();
  // Nothing to show yet.
  EXPECT_EQ(page->Show(SW_SHOW), E_UNEXPECTED);
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(page->Move(&r), E_UNEXPECTED);
  EXPECT_EQ(page->Activate(reinterpret_cast<HWND>(static_cast<UINT_PTR>(0xDEAD0)), &r, FALSE), E_UNEXPECTED);
}

// The frame's detach (0, null) and the observer link: counts return to
// where they were, so that page and filter never keep each other.
TEST_F(PageSlots, ObjectsAndObserverAreReleased) {
  const LONG filterBefore = RefCount(filter), pageBefore = RefCount(page);
  IUnknown* objects[] = {filter};
  ASSERT_EQ(page->SetObjects(1, objects), S_OK);
  EXPECT_EQ(RefCount(filter), filterBefore + 1);
  RECT r{0, 0, 700, 300};
  ASSERT_EQ(page->Activate(parent, &r, FALSE), S_OK);
  EXPECT_EQ(RefCount(page), pageBefore + 1);  // the filter's observer
  ASSERT_EQ(page->Deactivate(), S_OK);
  EXPECT_EQ(RefCount(page), pageBefore);
  ASSERT_EQ(page->Activate(parent, &r, FALSE), S_OK);
  EXPECT_EQ(page->SetObjects(0, nullptr), S_OK);
  EXPECT_EQ(RefCount(filter), filterBefore);
  EXPECT_EQ(RefCount(page), pageBefore);
  EXPECT_EQ(page->Deactivate(), S_OK);
  // A parent that destroys the page window without a Deactivate ends the
  // observing too.
  ASSERT_EQ(page->SetObjects(1, objects), S_OK);
  ASSERT_EQ(page->Activate(parent, &r, FALSE), S_OK);
  EXPECT_EQ(RefCount(page), pageBefore + 1);
  DestroyWindow(PageWindow());
  EXPECT_EQ(RefCount(page), pageBefore);
  EXPECT_EQ(page->SetObjects(0, nullptr), S_OK);
  // Not a filter of this module: refused, nothing held.
  IUnknown* foreign[] = {static_cast<IQuilletTrack*>(host)};
  EXPECT_EQ(page->SetObjects(1, foreign), E_NOINTERFACE);
  IUnknown* none[] = {nullptr};
  EXPECT_EQ(page->SetObjects(1, none), E_POINTER);
}

// Page events refresh the time display one at a time, and again after each
// has been handled.
TEST_F(PageSlots, PageEventsKeepTheTimeDisplayRunning) {
  ASSERT_NO_FATAL_FAILURE(ShowPage(700, 300));
  const std::wstring start = ItemText(PageWindow(), IDC_PAGE_TIME);
  for (int round = 0; round < 3; ++round) {
    QUILLET_POSITION position{480 * 4 * (round + 1), {}};  // a measure further each round
    host->Set(QPROP_POSITION, 0, 0, sizeof(position), &position);
    filter->PageEvent(0, 0);  // through the filter to its observer
    page->PageEvent(0, 0);
    EXPECT_EQ(Waiting(WM_APP + 2), 1) << "round " << round;
    std::wstring now = ItemText(PageWindow(), IDC_PAGE_TIME);
    EXPECT_NE(now, start);
    EXPECT_EQ(now.substr(0, 1), std::to_wstring(round + 2)) << now;  // the measure
  }
  // A forwarded notification posts one refresh and clears the change bit.
  QUILLET_NOTIFICATION n{};
  n.kind = QNOTIFY_TRANSPORT;
  QNOTIFY_WORD(&n, 9) = QNOTIFY_FORCE_FORWARD;
  page->FilterNotify(&n);
  page->FilterNotify(&n);
  EXPECT_EQ(Waiting(WM_APP + 1), 1);
  page->FilterNotify(&n);
  EXPECT_EQ(Waiting(WM_APP + 1), 1);
  HidePage();
}

// Host text is shown as it is, never read as a format.
TEST_F(PageSlots, HostTextIsNeverAFormat) {
  host->filePath = L"C:\\100%s %n%d\\50%.mid";
  ASSERT_NO_FATAL_FAILURE(ShowPage(700, 300));
  EXPECT_EQ(ItemText(PageWindow(), IDC_PAGE_FILE_NAME), L"50%.mid");
  EXPECT_EQ(ItemText(PageWindow(), IDC_PAGE_LOCATION), L"C:\\100%s %n%d");
  HidePage();
}

// A host edit that fails is closed without commit, and the row shows the
// host's state again.
TEST_F(PageSlots, FailedHostEditLeavesTheRowAsTheHostHasIt) {
  ASSERT_NO_FATAL_FAILURE(ShowPage(700, 300));
  host->FailChanges(1);
  TypeIntoCell(PageWindow(), 0, 0, L"Lost");
  EXPECT_EQ(host->SubTracks()[0].name, L"Piano");
  EXPECT_EQ(CellText(PageWindow(), 0, 0), L"Piano");
  ASSERT_EQ(host->Edits().size(), 1u);
  EXPECT_TRUE(host->Edits()[0].closed);
  EXPECT_FALSE(host->Edits()[0].committed);
  // Muting a soloed sub-track whose solo cannot be cleared changes nothing more.
  host->AddSubTrack(2, L"Solo");
  filter->RebuildSubTrackLists(TRUE);
  ClickCheckCell(PageWindow(), 3, 3);  // solo it
  host->FailChanges(1);
  ClickCheckCell(PageWindow(), 3, 2);  // the solo change fails: no mute
  EXPECT_TRUE(host->SubTracks()[3].solo);
  EXPECT_FALSE(host->SubTracks()[3].mute);
  EXPECT_EQ(host->OpenAccessCount(), 0);
  HidePage();
}

// Each toolbar command's tooltip, as the toolbars ask for it.
TEST_F(PageSlots, TooltipsOfEveryCommand) {
  ASSERT_NO_FATAL_FAILURE(ShowPage(700, 300));
  const struct {
    int command;
    const wchar_t* text;
  } tips[] = {
      {IDM_PAGE_ADD_TRACK, L"Add New Track"},        {IDM_PAGE_DELETE_TRACK, L"Delete Track"},
      {IDM_PAGE_CHASE_FILTER, L"Chase Filter..."},   {IDM_PAGE_PLAYBACK_FILTER, L"Playback Filter..."},
      {IDM_PAGE_PLAY, L"Play/Preview"},              {IDM_PAGE_STOP, L"Stop"},
      {IDM_PAGE_PLAY_LOOPED, L"Play Looped"},        {IDM_PAGE_RECORD, L"Record (Ctrl+R)"},
      {IDM_PAGE_LOOP, L"Loop Playback"},             {IDM_PAGE_PLAY_FROM_START, L"Play from Start (Shift+Space)"},
      {IDM_PAGE_PAUSE, L"Pause"},                    {IDM_PAGE_GO_TO_START, L"Go to Start (Ctrl+Home)"},
  };
  for (const auto& tip : tips) {
    NMTTDISPINFOW info{};
    info.hdr.idFrom = static_cast<UINT_PTR>(tip.command);
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(PageWindow(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, tip.text);
  }
  NMTTDISPINFOW other{};
  other.hdr.idFrom = 999;
  other.hdr.code = TTN_GETDISPINFOW;
  SendMessageW(PageWindow(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&other));
  EXPECT_EQ(other.lpszText, nullptr);
  HidePage();
}

// The page's window follows its size: the grid takes the room between the
// toolbars, the time display sits at the bottom right, and the page never
// lays out below its minimum.
TEST_F(PageSlots, LayoutFollowsTheSize) {
  IUnknown* objects[] = {filter};
  ASSERT_EQ(page->SetObjects(1, objects), S_OK);
  RECT small{0, 0, 700, 300}, large{0, 0, 900, 500};
  ASSERT_EQ(page->Activate(parent, &small, FALSE), S_OK);
  auto rectOf = [&](int id) {
    RECT rc{};
    GetWindowRect(GetDlgItem(PageWindow(), id), &rc);
    MapWindowPoints(nullptr, PageWindow(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  };
  RECT gridSmall = rectOf(IDC_PAGE_GRID);
  // The spinner stands flush against its edit and is as tall.
  const RECT edit = rectOf(IDC_PAGE_PITCH), spin = rectOf(IDC_PAGE_PITCH_SPIN);
  EXPECT_EQ(spin.left, edit.right);
  EXPECT_EQ(spin.top, edit.top);
  EXPECT_EQ(spin.bottom, edit.bottom);
  // At the page's own size every column shows: Volume and Pan share what
  // the others leave, each wide enough for its value text and a track.
  HWND gridWindow = GetDlgItem(PageWindow(), IDC_PAGE_GRID);
  ZQSPREADMETRICS metrics{};
  SendMessageW(gridWindow, SPM_GETMETRICS, 0, reinterpret_cast<LPARAM>(&metrics));
  ZQSPREADCOLUMNSET columns{};
  SendMessageW(gridWindow, SPM_GETCOLUMNS, 0, reinterpret_cast<LPARAM>(&columns));
  ASSERT_EQ(columns.count, 6);
  RECT client;
  GetClientRect(gridWindow, &client);
  LONG used = metrics.rowHeaderWidth;
  for (LONG c = 0; c < columns.count; ++c) used += columns.columns[c].width;
  EXPECT_LE(used, client.right);
  EXPECT_GE(used, client.right - 2);
  EXPECT_LE(std::abs(columns.columns[4].width - columns.columns[5].width), 1);
  EXPECT_GE(columns.columns[4].width, 80);
  // The time display holds its whole text, whatever it shows, and ends
  // under the grid's right edge.
  HWND timeWindow = GetDlgItem(PageWindow(), IDC_PAGE_TIME);
  for (const wchar_t* shown : {L"1.1.000", L"00000.00.000"}) {
    SetWindowTextW(timeWindow, shown);
    SendMessageW(PageWindow(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(700, 300));
    HDC dc = GetDC(timeWindow);
    HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(timeWindow, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32W(dc, shown, static_cast<int>(wcslen(shown)), &text);
    SelectObject(dc, font);
    ReleaseDC(timeWindow, dc);
    RECT timeRect;
    GetClientRect(timeWindow, &timeRect);
    EXPECT_GE(timeRect.right, text.cx) << shown;
    EXPECT_EQ(rectOf(IDC_PAGE_TIME).right, rectOf(IDC_PAGE_GRID).right) << shown;
  }
  ASSERT_EQ(page->Move(&large), S_OK);
  RECT grid = rectOf(IDC_PAGE_GRID), transport = rectOf(IDC_PAGE_TRANSPORT), time = rectOf(IDC_PAGE_TIME),
       track = rectOf(IDC_PAGE_TRACK_TOOLBAR);
  EXPECT_EQ(grid.right - gridSmall.right, 200);
  EXPECT_EQ(grid.bottom - gridSmall.bottom, 200);
  EXPECT_LE(grid.bottom, transport.top);
  EXPECT_EQ(transport.left, grid.left);
  EXPECT_LE(track.bottom, grid.top);
  EXPECT_GT(time.left, transport.right);
  EXPECT_LE(time.right, 900);
  // What the parent does not show is left out.
  RECT beyond{0, 0, 1200, 700};
  ASSERT_EQ(page->Move(&beyond), S_OK);
  EXPECT_LE(rectOf(IDC_PAGE_TIME).right, 1000);
  EXPECT_LE(rectOf(IDC_PAGE_TRANSPORT).bottom, 600);
  RECT tiny{0, 0, 50, 20};
  ASSERT_EQ(page->Move(&tiny), S_OK);
  EXPECT_GT(rectOf(IDC_PAGE_GRID).right, rectOf(IDC_PAGE_GRID).left);
  HidePage();
}

// The shortcuts the transport tooltips name, as a frame hands keys to the
// page: they run their command wherever the focus is on the page, except in
// a field being typed into; other keys are left to the controls.
TEST_F(PageSlots, ShortcutsTheTooltipsNameRunTheirCommands) {
  ASSERT_NO_FATAL_FAILURE(ShowPage(700, 300));
  HWND grid = GetDlgItem(PageWindow(), IDC_PAGE_GRID), pitch = GetDlgItem(PageWindow(), IDC_PAGE_PITCH);
  struct Case {
    HWND* target;
    WPARAM key;
    bool shift, ctrl;
    HRESULT handled;
    DWORD transportAfter;
    LONGLONG positionAfter;
  };
  const Case cases[] = {
      {&grid, VK_SPACE, true, false, S_OK, QTRANSPORT_RUNNING, 0},  // Shift+Space: play from the start
      {&grid, VK_HOME, false, true, S_OK, 0, 0},                     // Ctrl+Home: go to the start
      {&grid, VK_SPACE, false, false, S_FALSE, 0, 480},              // the grid's own Space
      {&pitch, VK_HOME, false, true, S_FALSE, 0, 480},               // typing in the edit
      {&grid, 'Q', false, false, S_FALSE, 0, 480},
  };
  for (const Case& c : cases) {
    QUILLET_POSITION position{480, {}};
    host->Set(QPROP_POSITION, 0, 0, sizeof(position), &position);
    const DWORD stopped = 0;
    host->Set(QPROP_TRANSPORT, 0, 0, sizeof(stopped), &stopped);
    BYTE keys[256] = {};
    keys[VK_SHIFT] = c.shift ? 0x80 : 0;
    keys[VK_CONTROL] = c.ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG message{*c.target, WM_KEYDOWN, c.key, 1, 0, {}};
    EXPECT_EQ(page->TranslateAccelerator(&message), c.handled) << c.key;
    EXPECT_EQ(PropertyOf<DWORD>(host, QPROP_TRANSPORT) & QTRANSPORT_RUNNING, c.transportAfter) << c.key;
    EXPECT_EQ(PropertyOf<QUILLET_POSITION>(host, QPROP_POSITION).time, c.positionAfter) << c.key;
  }
  BYTE none[256] = {};
  SetKeyboardState(none);
  HidePage();
}

}  // namespace
