// The event filter dialog and the quantize dialog.
#include <windows.h>
#include <commctrl.h>

#include "core/module_state.h"
#include "plugin/filter_object.h"
#include "page/page_ids.h"
#include "page/page_window.h"
#include "zq/lang.h"
#include "zq/monitor.h"
#include "zq/msgbox.h"
#include "zq/ui.h"

namespace quillet::page {

namespace {

HZQLANG Lang() { return zq::core::DefaultLang(); }

struct FilterItem {
  DWORD bits;
  UINT text;
  bool playbackOnly;
};
constexpr FilterItem kFilterItems[] = {
    {QEV_NOTE, IDS_FILTER_NOTE, true},
    {QEV_CONTROL, IDS_FILTER_CONTROL, false},
    {QEV_PATCH | QEV_PROGRAM, IDS_FILTER_PATCH, false},
    {QEV_POLY_PRESSURE, IDS_FILTER_POLY_PRESSURE, false},
    {QEV_CHAN_PRESSURE, IDS_FILTER_AFTER_TOUCH, false},
    {QEV_PITCH_BEND, IDS_FILTER_PITCH_BEND, false},
    {QEV_PACKED_NRPN, IDS_FILTER_PACKED_NRPN, false},
    {QEV_PACKED_RPN, IDS_FILTER_PACKED_RPN, false},
    {QEV_SYSEX | QEV_SYSEX_CONT, IDS_FILTER_SYSEX, false},
};

struct FilterDialog {
  FilterObject* filter;
  bool chase;
};

void CentreOnOwner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  POINT none = {0, 0};
  if (owner) ZqWndCenter(dialog, owner, none, 0);
  else ZqMonitor_CenterWindow(dialog);
}

void InitFilterDialog(HWND dialog, const FilterDialog& d) {
  CentreOnOwner(dialog);
  ZqSetWindowTextId(Lang(), dialog, d.chase ? IDS_CHASE_TITLE : IDS_FILTER_TITLE);
  ZqSetDlgItemTextId(Lang(), dialog, IDC_FILTER_LABEL, d.chase ? IDS_CHASE_LABEL : IDS_FILTER_LABEL);
  HWND tree = GetDlgItem(dialog, IDC_FILTER_TREE);
  SendMessageW(tree, WM_SETFONT, reinterpret_cast<WPARAM>(ZqGetUIFont(ZQ_UIFONT_NORMAL)), FALSE);
  // Check boxes are taken on after creation, as the tree view asks.
  SetWindowLongW(tree, GWL_STYLE, GetWindowLongW(tree, GWL_STYLE) | TVS_CHECKBOXES);
  const DWORD mask = d.chase ? d.filter->ChaseMask() : d.filter->PlaybackMask();
  for (const FilterItem& item : kFilterItems) {
    if (item.playbackOnly && d.chase) continue;
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<LPWSTR>(ZqGetString(Lang(), item.text));
    insert.item.lParam = static_cast<LPARAM>(item.bits);
    HTREEITEM at = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (at) TreeView_SetCheckState(tree, at, (mask & item.bits) != 0);
  }
}

// Bits without an item (meta events, for one) end up clear.
DWORD CheckedBits(HWND tree) {
  DWORD mask = 0;
  for (HTREEITEM at = TreeView_GetRoot(tree); at; at = TreeView_GetNextSibling(tree, at)) {
    TVITEMW item{};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = at;
    if (TreeView_GetItem(tree, &item) && TreeView_GetCheckState(tree, at) == 1) mask |= static_cast<DWORD>(item.lParam);
  }
  return mask;
}

INT_PTR CALLBACK FilterDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* d = reinterpret_cast<FilterDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      InitFilterDialog(dialog, *reinterpret_cast<FilterDialog*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && d) {
        DWORD mask = CheckedBits(GetDlgItem(dialog, IDC_FILTER_TREE));
        (d->chase ? d->filter->ChaseMask() : d->filter->PlaybackMask()) = mask;
        d->filter->SetDirty();
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// The quantize resolutions in list order: string id and note length in
// quarter notes as a fraction (numerator, denominator).
struct Resolution {
  UINT text;
  int numerator, denominator;
  DWORD code;
};
constexpr Resolution kResolutions[] = {
    {378, 4, 1, 1}, {379, 2, 1, 1},  {380, 1, 1, 2},  {384, 2, 3, 2},  {381, 1, 2, 3},  {385, 1, 3, 3},
    {382, 1, 4, 4}, {386, 1, 6, 4},  {383, 1, 8, 5},  {387, 1, 12, 5}, {388, 1, 16, 6},
};
constexpr int kResolutionCount = ARRAYSIZE(kResolutions);

constexpr DWORD kTriplet = 0x20000, kStartTimes = 0x20000000, kDurations = 0x40000000, kOnPlayback = 0x80000000;

struct QuantizeControl {
  int id;
  bool QuantizeSettings::*flag;
};
constexpr QuantizeControl kSwitches[] = {
    {IDC_QUANTIZE_START, &QuantizeSettings::startTimes},
    {IDC_QUANTIZE_DURATIONS, &QuantizeSettings::durations},
    {IDC_QUANTIZE_NOTES_ONLY, &QuantizeSettings::notesOnly},
    {IDC_QUANTIZE_PLAYBACK, &QuantizeSettings::onPlayback},
};

INT_PTR CALLBACK QuantizeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* filter = reinterpret_cast<FilterObject*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      filter = reinterpret_cast<FilterObject*>(lParam);
      CentreOnOwner(dialog);
      const QuantizeSettings& q = filter->Quantize();
      HWND list = GetDlgItem(dialog, IDC_QUANTIZE_RESOLUTION);
      for (int i = 0; i < kResolutionCount; ++i) {
        LRESULT at = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ZqGetString(Lang(), kResolutions[i].text)));
        SendMessageW(list, CB_SETITEMDATA, at, i);
      }
      SendMessageW(list, CB_SETCURSEL, q.resolution >= 0 && q.resolution < kResolutionCount ? q.resolution : 2, 0);
      for (const QuantizeControl& c : kSwitches) CheckDlgButton(dialog, c.id, q.*c.flag ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && filter) {
        QuantizeSettings& q = filter->Quantize();
        for (const QuantizeControl& c : kSwitches) q.*c.flag = IsDlgButtonChecked(dialog, c.id) == BST_CHECKED;
        HWND list = GetDlgItem(dialog, IDC_QUANTIZE_RESOLUTION);
        LRESULT at = SendMessageW(list, CB_GETCURSEL, 0, 0);
        if (at >= 0) q.resolution = static_cast<int>(SendMessageW(list, CB_GETITEMDATA, at, 0));
        q.word = QuantizeWord(q.word, q.resolution, q.startTimes, q.durations, q.onPlayback);
        const Resolution& r = kResolutions[q.resolution];
        q.lengthTicks = filter->Timing()[0] * r.numerator / r.denominator;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

DWORD QuantizeWord(DWORD current, int resolution, bool startTimes, bool durations, bool onPlayback) noexcept {
  if (resolution < 0 || resolution >= kResolutionCount) resolution = 2;
  DWORD word = current & 0x1FFF0000u & ~kTriplet;
  word |= kResolutions[resolution].code;
  if (resolution == 3 || resolution == 5 || resolution == 7 || resolution == 9) word |= kTriplet;
  if (startTimes) word |= kStartTimes;
  if (durations) word |= kDurations;
  if (onPlayback) word |= kOnPlayback;
  return word;
}

INT_PTR EventFilterDialog(HWND owner, FilterObject& filter, bool chase) noexcept {
  FilterDialog d{&filter, chase};
  return ZqDialogBoxParam(Lang(), MAKEINTRESOURCEW(IDD_EVENT_FILTER), owner, FilterDialogProc,
                          reinterpret_cast<LPARAM>(&d));
}

INT_PTR QuantizeDialog(HWND owner, FilterObject& filter) noexcept {
  return ZqDialogBoxParam(Lang(), MAKEINTRESOURCEW(IDD_QUANTIZE), owner, QuantizeDialogProc,
                          reinterpret_cast<LPARAM>(&filter));
}

}  // namespace quillet::page
