// The page's information fields, root note list, pitch shift and time.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "core/module_state.h"
#include "plugin/filter_object.h"
#include "midi/midi_describe.h"
#include "midi/midi_event.h"
#include "midi/midi_names.h"
#include "midi/midi_time.h"
#include "page/page_ids.h"
#include "page/page_window.h"
#include "zq/lang.h"
#include "zq/msgbox.h"
#include "zq/number.h"
#include "zq/spinner.h"
#include "zq/timetext.h"
#include "zq/ui.h"

namespace quillet::page {

namespace {

constexpr LONG kNoTransposition = 127;

HZQLANG Lang() { return zq::core::DefaultLang(); }

void ShowNone(HWND dialog, int id) { ZqSetDlgItemTextId(Lang(), dialog, id, IDS_PAGE_NONE); }

// Host text goes into the field as it is: never as a format.
void ShowPlain(HWND dialog, int id, const WCHAR* text) { SetDlgItemTextW(dialog, id, text ? text : L""); }

void ShowMetaText(HWND dialog, FilterObject& filter) {
  QUILLET_EVENT e{};
  WCHAR text[260] = L"";
  if (filter.FindMetaEvent(filter.MetaText2Position(), 0x02, &e) == S_OK &&
      midi::DescribeEvent(&e, text, ARRAYSIZE(text), midi::kField4) == S_OK) {
    ShowPlain(dialog, IDC_PAGE_META2, text);
  } else {
    ShowNone(dialog, IDC_PAGE_META2);
  }
  ClearEvent(&e);
}

void ShowTempo(HWND dialog, FilterObject& filter) {
  QUILLET_EVENT e{};
  if (filter.FindMetaEvent(filter.TempoPosition(), 0x51, &e) == S_OK && e.dataLength >= 4) {
    const LONG micros = e.data[1] << 16 | e.data[2] << 8 | e.data[3];
    if (micros > 0) {
      double bpm = std::round(60000000.0 / micros * 1000.0) / 1000.0;
      ZqSetDlgItemText(dialog, IDC_PAGE_TEMPO, L"%.3f BPM", bpm);
      ClearEvent(&e);
      return;
    }
  }
  ClearEvent(&e);
  ShowNone(dialog, IDC_PAGE_TEMPO);
}

}  // namespace

void ShowInformation(HWND dialog, FilterObject& filter) noexcept {
  filter.RescanTrackPositions();
  ShowMetaText(dialog, filter);
  QUILLET_FILE_RECORD file{};
  filter.GetHostProperty(QPROP_FILE_RECORD, sizeof(file), &file);  // zeroed unless answered
  ZqSetDlgItemTextId(Lang(), dialog, IDC_PAGE_ATTRIBUTES, IDS_PAGE_ATTRIBUTES, static_cast<int>(file.format & 0xFF),
                     static_cast<int>(file.format >> 8 & 0xFF));
  ShowTempo(dialog, filter);
  ZqSetDlgItemTextId(Lang(), dialog, IDC_PAGE_SIZE, IDS_PAGE_KILOBYTES, file.sizeLow / 1024.0);
  LPWSTR title = nullptr, path = nullptr;
  filter.GetHostStrings(&title, &path);
  const WCHAR* name = path ? path : L"";
  if (path) {
    if (const WCHAR* slash = std::max(wcsrchr(path, L'\\'), wcsrchr(path, L'/'))) name = slash + 1;
  }
  ShowPlain(dialog, IDC_PAGE_FILE_NAME, name);
  if (path && name != path) {
    path[name - path - 1] = L'\0';  // the folder
    ShowPlain(dialog, IDC_PAGE_LOCATION, path);
  } else {
    ShowPlain(dialog, IDC_PAGE_LOCATION, L"");
  }
  CoTaskMemFree(title);
  CoTaskMemFree(path);
}

void FillRootNotes(HWND dialog, FilterObject& filter) noexcept {
  HWND list = GetDlgItem(dialog, IDC_PAGE_ROOT);
  if (!list) return;
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  auto add = [list](const WCHAR* text, LONG data) {
    LRESULT at = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (at >= 0) SendMessageW(list, CB_SETITEMDATA, at, data);
  };
  add(ZqGetString(Lang(), IDS_PAGE_NO_TRANSPOSE), kNoTransposition);
  for (LONG note = 48; note < 60; ++note) {
    WCHAR name[16];
    midi::NoteName(note, midi::Spelling::Sharps, name, ARRAYSIZE(name));
    for (WCHAR* c = name; *c; ++c)  // the pitch class only
      if (iswdigit(*c) || (*c == L'-' && c != name)) {
        *c = L'\0';
        break;
      }
    add(name, note);
  }
  LONG root = kNoTransposition;
  if (filter.GetHostProperty(QPROP_ROOT_NOTE, sizeof(root), &root) != S_OK) root = kNoTransposition;
  int item = (root == kNoTransposition || root < 0) ? 0 : static_cast<int>(root % 12) + 1;
  SendMessageW(list, CB_SETCURSEL, item, 0);
}

void ShowPitchShift(HWND dialog, FilterObject& filter) noexcept {
  LONG shift = 0;
  filter.GetHostProperty(QPROP_PITCH_SHIFT, sizeof(shift), &shift);
  ZqSetDlgItemTextNoFlash(dialog, IDC_PAGE_PITCH, L"%d", shift);
  SendDlgItemMessageW(dialog, IDC_PAGE_PITCH_SPIN, SPNM_SETPOS, 0, std::clamp<LONG>(shift, -24, 24));
}

void StorePitchShift(HWND dialog, FilterObject& filter) noexcept {
  WCHAR text[32] = L"";
  GetDlgItemTextW(dialog, IDC_PAGE_PITCH, text, ARRAYSIZE(text));
  LONG shift = std::clamp<LONG>(ZqTextToLongToken(text, nullptr), -24, 24);
  filter.SetHostProperty(QPROP_PITCH_SHIFT, sizeof(shift), &shift);
  ZqSetDlgItemTextNoFlash(dialog, IDC_PAGE_PITCH, L"%d", shift);
  SendDlgItemMessageW(dialog, IDC_PAGE_PITCH_SPIN, SPNM_SETPOS, 0, shift);
}

// The time display keeps its right edge and is as wide as its text: a
// left-aligned text drawn whole, standing right-aligned on the page.
void FitTimeToText(HWND dialog) noexcept {
  HWND time = GetDlgItem(dialog, IDC_PAGE_TIME);
  if (!time) return;
  RECT r;
  GetWindowRect(time, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  WCHAR text[64] = L"";
  GetWindowTextW(time, text, ARRAYSIZE(text));
  SIZE size = {};
  ZqGetTextExtent(reinterpret_cast<HFONT>(SendMessageW(time, WM_GETFONT, 0, 0)), text, -1, &size);
  const int width = size.cx + 1;
  if (width == r.right - r.left) return;
  SetWindowPos(time, nullptr, r.right - width, r.top, width, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(time, nullptr, TRUE);
}

void ShowTime(HWND dialog, FilterObject& filter) noexcept {
  QUILLET_POSITION position{};
  filter.GetHostProperty(QPROP_POSITION, sizeof(position), &position);
  WCHAR text[64] = L"";
  if (IQuilletTimeConvert* time = filter.TimeConverter();
      time && SUCCEEDED(midi::EventTimeText(time, position.time, ZQPOS_MBT, false, text, ARRAYSIZE(text))))
    ZqSetDlgItemTextNoFlash(dialog, IDC_PAGE_TIME, L"%s", text);
  FitTimeToText(dialog);
}

}  // namespace quillet::page
