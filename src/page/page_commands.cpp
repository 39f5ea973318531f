// The page's commands: sub-tracks, dialogs, transport and recording, root
// note and pitch shift.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/module_state.h"
#include "plugin/filter_object.h"
#include "midi/midi_event.h"
#include "midi/midi_text.h"
#include "page/page_commands.h"
#include "page/page_ids.h"
#include "page/page_window.h"
#include "zq/lang.h"

namespace quillet::page {

namespace {

LPCWSTR Text(UINT id) { return ZqGetString(zq::core::DefaultLang(), id); }

DWORD TransportState(FilterObject& filter) {
  DWORD state = 0;
  filter.GetHostProperty(QPROP_TRANSPORT, sizeof(state), &state);
  return state;
}

HRESULT SetTransportState(FilterObject& filter, DWORD state) {
  return filter.SetHostProperty(QPROP_TRANSPORT, sizeof(state), &state);
}

HRESULT MoveToStart(FilterObject& filter) {
  QUILLET_POSITION start{};
  return filter.SetHostProperty(QPROP_POSITION, sizeof(start), &start);
}

// The description of the first sub-track, as the model of a new one.
QUILLET_SUBTRACK FirstDescription(FilterObject& filter) {
  QUILLET_SUBTRACK d{};
  if (DWORD key = filter.SubTrackKeyAt(0)) filter.ReadSubTrack(key, &d);
  CoTaskMemFree(d.name);
  d.name = nullptr;
  d.key = 0;
  return d;
}

// The key of the sub-track the host appended last.
DWORD LastKey(FilterObject& filter) {
  filter.BuildSubTrackList();
  return filter.SubTrackKeyAt(filter.SubTrackCount() - 2);
}

HRESULT InsertNamedSubTrack(FilterObject& filter, WCHAR* name) {
  QUILLET_SUBTRACK d = FirstDescription(filter);
  d.name = name;
  return filter.InsertRecord(QEDIT_SUBTRACK, &d);
}

void ChangeRootNote(HWND dialog, FilterObject& filter) {
  HWND list = GetDlgItem(dialog, IDC_PAGE_ROOT);
  LRESULT at = SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (at < 0) return;
  LONG root = static_cast<LONG>(SendMessageW(list, CB_GETITEMDATA, at, 0));
  filter.SetHostProperty(QPROP_ROOT_NOTE, sizeof(root), &root);
}

}  // namespace

HRESULT AddSubTrack(FilterObject& filter) noexcept {
  WCHAR name[256];
  midi::CopyString(name, ARRAYSIZE(name), IDS_NEW_TRACK);
  HRESULT hr = filter.BeginEdit(Text(IDS_EDIT_INSERT_TRACK));
  if (FAILED(hr)) return hr;
  hr = InsertNamedSubTrack(filter, name);
  filter.EndEdit(SUCCEEDED(hr));
  filter.BuildSubTrackList();
  return hr;
}

// Rows count once however many ranges name them; at least one sub-track
// stays, and deleting from the highest row down keeps the lower rows' keys
// where they were found.
HRESULT DeleteSubTrackRows(FilterObject& filter, std::vector<LONG> rows) noexcept {
  const LONG count = filter.SubTrackCount();
  if (count < 3) return S_FALSE;
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  rows.erase(std::remove_if(rows.begin(), rows.end(), [&](LONG r) { return r < 0 || r >= count - 1; }), rows.end());
  if (rows.empty()) return S_FALSE;
  if (static_cast<LONG>(rows.size()) >= count - 1) rows.pop_back();
  std::vector<DWORD> keys;
  for (LONG row : rows) keys.push_back(filter.SubTrackKeyAt(row));
  HRESULT hr = filter.BeginEdit(Text(IDS_EDIT_DELETE_TRACK));
  if (FAILED(hr)) return hr;
  for (auto key = keys.rbegin(); key != keys.rend() && SUCCEEDED(hr); ++key) hr = filter.DeleteSubTrack(*key);
  filter.EndEdit(SUCCEEDED(hr));
  filter.BuildSubTrackList();
  return hr;
}

HRESULT RunTransport(FilterObject& filter, int command) noexcept {
  DWORD state = TransportState(filter);
  switch (command) {
    case IDM_PAGE_PLAY:
      return SetTransportState(filter, state | QTRANSPORT_RUNNING);
    case IDM_PAGE_STOP:
      if (filter.Recording()) return FinishRecording(filter);
      return SetTransportState(filter, state & ~QTRANSPORT_RUNNING);
    case IDM_PAGE_RECORD: {
      HRESULT hr = filter.StartRecording();
      if (FAILED(hr)) return hr;
      SetTransportState(filter, state & ~QTRANSPORT_LOOP);
      MoveToStart(filter);
      return SetTransportState(filter, (state & ~QTRANSPORT_LOOP) | QTRANSPORT_RUNNING);
    }
    case IDM_PAGE_LOOP:
      return SetTransportState(filter, state ^ QTRANSPORT_LOOP);
    case IDM_PAGE_PLAY_FROM_START:
      MoveToStart(filter);
      return SetTransportState(filter, state | QTRANSPORT_RUNNING);
    case IDM_PAGE_PAUSE: {
      if (!(state & QTRANSPORT_RUNNING)) return SetTransportState(filter, state | QTRANSPORT_RUNNING);
      QUILLET_POSITION position{};
      filter.GetHostProperty(QPROP_POSITION, sizeof(position), &position);
      HRESULT hr = SetTransportState(filter, state & ~QTRANSPORT_RUNNING);
      filter.SetHostProperty(QPROP_POSITION, sizeof(position), &position);  // stopping keeps the place
      return hr;
    }
    case IDM_PAGE_GO_TO_START:
      return MoveToStart(filter);
    default:
      return S_FALSE;
  }
}

HRESULT FinishRecording(FilterObject& filter) noexcept {
  SetTransportState(filter, TransportState(filter) & ~QTRANSPORT_RUNNING);
  filter.SetRecording(false);
  tZQLIST* records = filter.RecordList();
  if (!records || records->count == 0) return S_OK;
  HRESULT hr = filter.BeginEdit(Text(IDS_EDIT_RECORD));
  if (FAILED(hr)) return hr;
  WCHAR name[256];
  midi::PrintId(name, ARRAYSIZE(name), IDS_RECORD_TRACK_NAME, static_cast<int>(filter.SubTrackCount()));
  hr = InsertNamedSubTrack(filter, name);
  const DWORD key = SUCCEEDED(hr) ? LastKey(filter) : 0;
  const LONGLONG start = static_cast<QUILLET_EVENT*>(ZQLIST_SLOT(records, 0))->time;
  if (SUCCEEDED(hr)) {
    WCHAR block[64];
    midi::PrintId(block, ARRAYSIZE(block), IDS_BLOCK_NAME, 1);
    QUILLET_EVENT e{};
    e.type = QEV_META;
    e.subTrack = key;
    e.time = start;
    e.dataLength = static_cast<DWORD>(wcslen(block) * sizeof(WCHAR));
    e.data = reinterpret_cast<BYTE*>(block);
    hr = filter.InsertRecord(QEDIT_BLOCK, &e);
  }
  if (SUCCEEDED(hr)) {
    // The track name as a meta event of type 3 (text in the ANSI code page).
    BYTE meta[257] = {0x03};
    int bytes = WideCharToMultiByte(CP_ACP, 0, name, -1, reinterpret_cast<char*>(meta + 1), 256, nullptr, nullptr);
    QUILLET_EVENT e{};
    e.type = QEV_META;
    e.subTrack = key;
    e.channel = -1;
    e.time = start;
    e.dataLength = static_cast<DWORD>(bytes > 0 ? bytes : 1);  // type byte and text without its terminator
    e.data = meta;
    hr = filter.InsertRecord(QEDIT_EVENT, &e);
  }
  for (LONG i = 0; SUCCEEDED(hr) && i < records->count; ++i) {
    QUILLET_EVENT e = *static_cast<QUILLET_EVENT*>(ZQLIST_SLOT(records, i));
    e.subTrack = key;
    hr = filter.InsertRecord(QEDIT_EVENT, &e);
  }
  filter.EmptyRecordList();
  filter.EndEdit(SUCCEEDED(hr));  // closed whatever happened
  filter.BuildSubTrackList();
  return hr;
}

void UpdateToolbars(PageWindow& w) noexcept {
  FilterObject* filter = w.Filter();
  if (!filter) return;
  if (w.trackBar) SendMessageW(w.trackBar, TB_ENABLEBUTTON, IDM_PAGE_DELETE_TRACK, filter->SubTrackCount() > 2);
  if (!w.transportBar) return;
  const BOOL playable = filter->CanPlay();
  for (int command : {IDM_PAGE_PLAY_FROM_START, IDM_PAGE_PLAY, IDM_PAGE_PAUSE, IDM_PAGE_STOP})
    SendMessageW(w.transportBar, TB_ENABLEBUTTON, command, playable);
  QUILLET_LOOP loop{};
  filter->GetHostProperty(QPROP_LOOP, sizeof(loop), &loop);
  SendMessageW(w.transportBar, TB_ENABLEBUTTON, IDM_PAGE_LOOP, loop.end - loop.start > 0);
  SendMessageW(w.transportBar, TB_CHECKBUTTON, IDM_PAGE_LOOP, (TransportState(*filter) & QTRANSPORT_LOOP) != 0);
}

int ShortcutCommand(WPARAM key, bool shift, bool ctrl, bool alt) noexcept {
  struct Shortcut {
    WPARAM key;
    bool shift, ctrl;
    int command;
  };
  static constexpr Shortcut kShortcuts[] = {
      {VK_SPACE, true, false, IDM_PAGE_PLAY_FROM_START},
      {VK_HOME, false, true, IDM_PAGE_GO_TO_START},
  };
  if (alt) return 0;
  for (const Shortcut& s : kShortcuts)
    if (s.key == key && s.shift == shift && s.ctrl == ctrl) return s.command;
  return 0;
}

void RunCommand(PageWindow& w, int id, int code) noexcept {
  FilterObject* filter = w.Filter();
  if (!filter) return;
  switch (id) {
    case IDM_PAGE_ADD_TRACK:
      AddSubTrack(*filter);
      break;
    case IDM_PAGE_DELETE_TRACK:
      DeleteSubTrackRows(*filter, SelectedRows(w));
      break;
    case IDM_PAGE_CHASE_FILTER:
    case IDM_PAGE_PLAYBACK_FILTER:
      EventFilterDialog(w.dialog, *filter, id == IDM_PAGE_CHASE_FILTER);
      return;
    case IDM_PAGE_QUANTIZE:
      QuantizeDialog(w.dialog, *filter);
      return;
    case IDM_PAGE_PLAY:
    case IDM_PAGE_STOP:
    case IDM_PAGE_RECORD:
    case IDM_PAGE_LOOP:
    case IDM_PAGE_PLAY_FROM_START:
    case IDM_PAGE_PAUSE:
    case IDM_PAGE_GO_TO_START:
      RunTransport(*filter, id);
      break;
    case IDC_PAGE_ROOT:
      if (code == CBN_SELCHANGE) ChangeRootNote(w.dialog, *filter);
      return;
    case IDC_PAGE_PITCH:
      if (code == EN_KILLFOCUS) StorePitchShift(w.dialog, *filter);
      return;
    default:
      return;
  }
  if (w.grid) SendMessageW(w.grid, SPM_REFRESHROWS, 0, 0);
  UpdateToolbars(w);
}

}  // namespace quillet::page
