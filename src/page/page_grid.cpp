// The page's window classes and its mix grid: one row per sub-track with
// name, channel, mute, solo, volume and pan, answered from the host and
// the filter's sub-track table.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cwchar>

#include "core/module_state.h"
#include "core/text_copy.h"
#include "plugin/filter_object.h"
#include "midi/midi_text.h"
#include "page/page_commands.h"
#include "page/page_ids.h"
#include "page/page_window.h"
#include "zq/lang.h"
#include "zq/number.h"
#include "zq/spinner.h"
#include "zq/ui.h"

namespace quillet {

namespace {
constexpr WCHAR kSpinnerClass[] = L"ZqKrn_Spinner_Class";
std::atomic<bool> g_spinnerRegistered{false};

enum Column : DWORD { kName, kChannel, kMute, kSolo, kVolume, kPan, kColumnCount };

struct ColumnSpec {
  UINT title;
  WORD flags;
};
constexpr ColumnSpec kColumns[kColumnCount] = {
    {IDS_PAGE_COL_NAME, SPC_LEFT | SPC_EDITABLE},     {IDS_PAGE_COL_CHANNEL, SPC_CENTER | SPC_EDITABLE},
    {IDS_PAGE_COL_MUTE, SPC_CENTER | SPC_BUTTON},     {IDS_PAGE_COL_SOLO, SPC_CENTER | SPC_BUTTON},
    {IDS_PAGE_COL_VOLUME, SPC_CENTER | SPC_EDITABLE}, {IDS_PAGE_COL_PAN, SPC_CENTER | SPC_EDITABLE},
};
constexpr LONG kFullScale = 127;
// Volume and Pan share the room the other columns leave, half each.
constexpr SHORT kSliderShare = -500;
// The least track a slider column keeps beside its value text, and the
// room the grid adds to that text.
constexpr LONG kMinimumTrack = 48;
constexpr LONG kValueTextMargin = 20;

HZQLANG Lang() { return zq::core::DefaultLang(); }

PageWindow* WindowOf(ZQSPREADIFACE* owner) { return owner ? reinterpret_cast<PageWindow*>(owner->owner0) : nullptr; }

// The sub-track of a row with its description (the name task-allocated).
struct Row {
  DWORD key = 0;
  QUILLET_SUBTRACK d{};
  explicit Row(FilterObject& filter, DWORD row) {
    key = filter.SubTrackKeyAt(static_cast<LONG>(row));
    if (key && filter.ReadSubTrack(key, &d) != S_OK) key = 0;
  }
  ~Row() { CoTaskMemFree(d.name); }
  Row(const Row&) = delete;
  Row& operator=(const Row&) = delete;
};

bool AllChannels(LONG channel) { return channel < 0 || channel > 15; }

// Offsets are shown in steps of 1/127, rounded half away from zero.
LONG OffsetSteps(float offset) { return static_cast<LONG>(std::lround(static_cast<double>(offset) * kFullScale)); }

int CALLBACK SliderText(const ZQSPREADCONTROL*, LONG value, LPWSTR text, int capacity) {
  WCHAR digits[32];
  ZqLongToText(value, digits, TRUE);
  zq::core::CopyText(text, capacity, digits);
  return static_cast<int>(wcslen(text));
}

LONG CALLBACK RowCount(ZQSPREADIFACE* owner) {
  PageWindow* w = WindowOf(owner);
  FilterObject* filter = w ? w->Filter() : nullptr;
  return filter ? std::max<LONG>(filter->SubTrackCount() - 1, 0) : 0;
}

float* MixOffset(FilterObject& filter, DWORD key, DWORD column, LONG** changed) {
  if (key == 0 || key >= QUILLET_SUBTRACKS) return nullptr;
  QUILLET_MIX& mix = filter.Mix()[key];
  *changed = column == kVolume ? &mix.volumeChanged : &mix.panChanged;
  return column == kVolume ? &mix.volumeOffset : &mix.panOffset;
}

const ZQSPREADCELL* CALLBACK GetCell(ZQSPREADIFACE* owner, DWORD row, DWORD column, int) {
  PageWindow* w = WindowOf(owner);
  FilterObject* filter = w ? w->Filter() : nullptr;
  if (!filter) return nullptr;
  MixGrid& m = w->mix;
  m.cell = ZQSPREADCELL{};
  m.text[0] = L'\0';
  m.cell.text = m.text;
  Row r(*filter, row);
  if (!r.key) return &m.cell;
  switch (column) {
    case kName:
      zq::core::CopyText(m.text, 257, r.d.name ? r.d.name : L"");  // up to 256 characters
      break;
    case kChannel:
      if (AllChannels(r.d.channel)) midi::CopyString(m.text, ARRAYSIZE(m.text), IDS_PAGE_ALL_CHANNELS);
      else midi::PrintId(m.text, ARRAYSIZE(m.text), IDS_PAGE_NUMBER, static_cast<int>(r.d.channel + 1));
      break;
    case kMute:
    case kSolo: {
      const bool checked = (column == kMute ? r.d.mute : r.d.solo) != 0;
      m.cell.flags = SPCF_FRAMEWIDEN | (checked ? DFCS_CHECKED : 0);
      break;
    }
    case kVolume:
    case kPan: {
      LONG* changed = nullptr;
      if (float* offset = MixOffset(*filter, r.key, column, &changed)) {
        m.cell.value = OffsetSteps(*offset);
        SliderText(nullptr, m.cell.value, m.text, ARRAYSIZE(m.text));
      }
      break;
    }
    default:
      break;
  }
  m.cell.length = static_cast<LONG>(wcslen(m.text));
  return &m.cell;
}

// Typed values: a name as it is; a channel clamped to 1-16 (negative: all
// channels); a volume or pan clamped to -127..127 and kept as a fraction.
DWORD CALLBACK SetCell(ZQSPREADIFACE* owner, DWORD row, DWORD column, int, LPARAM value) {
  PageWindow* w = WindowOf(owner);
  FilterObject* filter = w ? w->Filter() : nullptr;
  const auto* text = reinterpret_cast<LPCWSTR>(value);
  if (!filter || !text) return 0;
  Row r(*filter, row);
  if (!r.key) return 0;
  switch (column) {
    case kName: {
      QUILLET_SUBTRACK d = r.d;
      d.name = const_cast<LPWSTR>(text);
      filter->EditSubTrack(r.key, d, QSUB_NAME, ZqGetString(Lang(), IDS_EDIT_NAME));
      break;
    }
    case kChannel: {
      const LONG typed = ZqTextToLongToken(text, nullptr);
      const LONG channel = typed < 0 ? -1 : std::clamp<LONG>(typed, 1, 16) - 1;
      if (channel == r.d.channel || (channel < 0 && AllChannels(r.d.channel))) return SPR_ROW;
      QUILLET_SUBTRACK d = r.d;
      d.channel = channel;
      filter->EditSubTrack(r.key, d, QSUB_CHANNEL, ZqGetString(Lang(), IDS_EDIT_CHANNEL));
      break;
    }
    case kVolume:
    case kPan: {
      LONG* changed = nullptr;
      float* offset = MixOffset(*filter, r.key, column, &changed);
      if (!offset) return SPR_ROW;
      const double typed = std::clamp(ZqTextToDoubleToken(text, nullptr, TRUE), -127.0, 127.0);
      const float fraction = static_cast<float>(typed / kFullScale);
      if (fraction != *offset) {
        *offset = fraction;
        *changed = 1;
        filter->SetDirty();
      }
      break;
    }
    default:
      return 0;
  }
  return SPR_ROW;  // redrawn from the host's state, whatever it answered
}

// Every row of the grid shows a sub-track.
const ZQSPREADROW* CALLBACK GetRow(ZQSPREADIFACE*, DWORD row) {
  static const ZQSPREADROW kShown = {1, 0};
  static const ZQSPREADROW kEmpty = {0, 0};
  return row < ZQSPREAD_HEADERMIN ? &kShown : &kEmpty;
}

LONG TextSpec(HFONT font, LONG average, UINT title) {
  SIZE extent = {};
  ZqGetTextExtent(font, ZqGetString(Lang(), title), -1, &extent);
  return extent.cx * 8 / average + 8;
}

// The widest value a slider shows.
LONG ValueTextWidth(HFONT font) {
  SIZE extent = {};
  ZqGetTextExtent(font, L"-127", -1, &extent);
  return extent.cx > 0 ? extent.cx : 24;
}

void Redraw(PageWindow& w) {
  if (w.grid) InvalidateRect(w.grid, nullptr, FALSE);
}

}  // namespace

void RegisterPageClasses() noexcept {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  bool expected = false;
  if (!g_spinnerRegistered.compare_exchange_strong(expected, true)) return;
  if (!SpinnerInitialize(zq::core::ModuleInstance(), kSpinnerClass)) g_spinnerRegistered = false;
}

void UnregisterPageClasses() noexcept {
  if (g_spinnerRegistered.exchange(false)) SpinnerTerminate(zq::core::ModuleInstance(), kSpinnerClass);
}

namespace page {

void InitMixGrid(PageWindow& w) noexcept {
  w.grid = GetDlgItem(w.dialog, IDC_PAGE_GRID);
  if (!w.grid) return;
  MixGrid& m = w.mix;
  HFONT font = ZqGetUIFont(ZQ_UIFONT_NORMAL);
  SendMessageW(w.grid, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  const SIZE* average = ZqGetUIFontSize(ZQ_UIFONT_NORMAL);
  const LONG charWidth = average && average->cx > 0 ? average->cx : 7;
  size_t used = 0;
  for (DWORD c = 0; c < kColumnCount; ++c) {
    ZQSPREADCOLUMN& column = m.columns[c];
    column.flags = kColumns[c].flags;
    column.id = static_cast<WORD>(c);
    column.headerOffset = static_cast<WORD>(used);
    LPCWSTR title = ZqGetString(Lang(), kColumns[c].title);
    zq::core::CopyText(m.headers + used, static_cast<int>(ARRAYSIZE(m.headers) - used), title ? title : L"");
    used = std::min(used + wcslen(m.headers + used) + 1, ARRAYSIZE(m.headers) - 1);
    LONG spec = TextSpec(font, charWidth, kColumns[c].title);
    if (c == kName) {
      m.nameSpecMinimum = static_cast<SHORT>(std::clamp<LONG>(spec, 0, 32767));
      spec *= 2;
      m.nameSpec = static_cast<SHORT>(std::clamp<LONG>(spec, 0, 32767));
    }
    if (c == kMute || c == kSolo) spec = (spec < 32 || spec > 32767) ? 32 : spec;
    if (c == kVolume || c == kPan) {
      ZQSPREADCONTROL& slider = m.sliders[c - kVolume];
      slider.kind = SPK_TRACKBAR;
      slider.minimum = -kFullScale;
      slider.maximum = kFullScale;
      slider.u.trackbar.textWidth = ValueTextWidth(font);
      slider.u.trackbar.format = SliderText;
      column.control = &slider;
      spec = kSliderShare;
    }
    column.spec = static_cast<SHORT>(std::clamp<LONG>(spec, -32768, 32767));
  }
  ZQSPREADCOLUMNSET set{kColumnCount, kColumnCount, 0, m.columns, m.headers};
  SendMessageW(w.grid, SPM_SETCOLUMNS, 0, reinterpret_cast<LPARAM>(&set));
  SendMessageW(w.grid, SPM_SETEXFLAGS, SPX_DISCONTIGUOUS, 0);
  m.iface = ZQSPREADIFACE{};
  m.iface.owner0 = reinterpret_cast<LPARAM>(&w);
  m.iface.owner1 = 1;
  m.iface.owner29 = 1;
  m.iface.owner30 = static_cast<LPARAM>(0xFF000008u);
  m.iface.getRowCount = RowCount;
  m.iface.getCell = GetCell;
  m.iface.setCell = SetCell;
  m.iface.getRow = GetRow;
  SendMessageW(w.grid, SPM_SETIFACE, 0, reinterpret_cast<LPARAM>(&m.iface));
  // Row numbers as wide as the last sub-track's the filter keeps; no row
  // after the last (sub-tracks are added with the toolbar, not typed in).
  ZQSPREADMETRICS metrics{};
  SendMessageW(w.grid, SPM_GETMETRICS, 0, reinterpret_cast<LPARAM>(&metrics));
  metrics.flags = SPMF_NOAPPENDROW;
  metrics.rowsForDigits = QUILLET_SUBTRACKS - 1;
  metrics.digits = -1;
  SendMessageW(w.grid, SPM_SETMETRICS, 0, reinterpret_cast<LPARAM>(&metrics));
}

void FitMixColumns(PageWindow& w) noexcept {
  MixGrid& m = w.mix;
  if (!w.grid || !m.nameSpec) return;
  // The grid's own widths for the name at its full width; the name gives
  // way, down to its header's width, before a slider gets narrower than
  // its value text and a usable track.
  ZQSPREADCOLUMN trial[kColumnCount];
  std::copy(std::begin(m.columns), std::end(m.columns), trial);
  trial[kName].spec = m.nameSpec;
  ZQSPREADCOLUMNSET set{kColumnCount, kColumnCount, 0, trial, m.headers};
  SendMessageW(w.grid, SPM_CALCWIDTHS, 0, reinterpret_cast<LPARAM>(&set));
  const LONG slider = m.sliders[0].u.trackbar.textWidth + kValueTextMargin + kMinimumTrack;
  const LONG shortfall = std::max<LONG>(slider - trial[kVolume].width, 0);
  const LONG name = std::max<LONG>(trial[kName].width, 1);
  const SHORT spec = static_cast<SHORT>(
      std::clamp<LONG>(MulDiv(m.nameSpec, std::max<LONG>(name - 2 * shortfall, 0), name), m.nameSpecMinimum, m.nameSpec));
  if (spec == m.columns[kName].spec) return;
  m.columns[kName].spec = spec;
  set.columns = m.columns;
  SendMessageW(w.grid, SPM_SETCOLUMNS, 0, reinterpret_cast<LPARAM>(&set));
}

// Muting a soloed sub-track clears its solo first, soloing a muted one its
// mute; each change is one host edit.
void MixCheckClicked(PageWindow& w, DWORD row, DWORD column) noexcept {
  FilterObject* filter = w.Filter();
  if (!filter || (column != kMute && column != kSolo)) return;
  Row r(*filter, row);
  if (!r.key) return;
  QUILLET_SUBTRACK d = r.d;
  LPCWSTR muteCaption = ZqGetString(Lang(), IDS_EDIT_MUTE), soloCaption = ZqGetString(Lang(), IDS_EDIT_SOLO);
  if (column == kMute) {
    if (d.solo && !d.mute) {
      d.solo = 0;
      if (FAILED(filter->EditSubTrack(r.key, d, QSUB_SOLO, soloCaption))) return Redraw(w);
    }
    d.mute = !d.mute;
    filter->EditSubTrack(r.key, d, QSUB_MUTE, muteCaption);
  } else {
    if (!d.solo && d.mute) {
      d.mute = 0;
      if (FAILED(filter->EditSubTrack(r.key, d, QSUB_MUTE, muteCaption))) return Redraw(w);
    }
    d.solo = !d.solo;
    filter->EditSubTrack(r.key, d, QSUB_SOLO, soloCaption);
  }
  Redraw(w);
}

// Every row of every selected range, header indices left out.
std::vector<LONG> SelectedRows(PageWindow& w) noexcept {
  std::vector<LONG> rows;
  if (!w.grid) return rows;
  const LONG count = static_cast<LONG>(SendMessageW(w.grid, SPM_GETRANGECOUNT, 0, 0));
  if (count <= 0) return rows;
  std::vector<ZQSPREADRANGE> ranges(static_cast<size_t>(count));
  if (!SendMessageW(w.grid, SPM_GETRANGES, count, reinterpret_cast<LPARAM>(ranges.data()))) return rows;
  for (const ZQSPREADRANGE& range : ranges) {
    DWORD first = std::min(range.anchorRow, range.endRow), last = std::max(range.anchorRow, range.endRow);
    if (last >= ZQSPREAD_HEADERMIN) continue;
    for (DWORD row = first; row <= last; ++row) rows.push_back(static_cast<LONG>(row));
  }
  return rows;
}

}  // namespace page
}  // namespace quillet
