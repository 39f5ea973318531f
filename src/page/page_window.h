// The page window's state and the pieces its procedure is made of.
#pragma once
#include <windows.h>

#include "page/page_object.h"
#include "zq/grid.h"

namespace quillet {

class FilterObject;

// The mix grid's owner side: the grid keeps pointers to the columns, the
// header texts and the slider descriptions, and answers cells from `text`.
struct MixGrid {
  ZQSPREADIFACE iface = {};
  ZQSPREADCOLUMN columns[6] = {};
  ZQSPREADCONTROL sliders[2] = {};
  WCHAR headers[256] = {};
  WCHAR text[260] = {};
  ZQSPREADCELL cell = {};
  SHORT nameSpec = 0;         // the name column's width: twice its header's
  SHORT nameSpecMinimum = 0;  // the least it gives way to: its header's
};

// Lives from WM_INITDIALOG to WM_NCDESTROY.
struct PageWindow {
  PropertyPage* page = nullptr;
  HWND dialog = nullptr;
  HWND trackBar = nullptr, transportBar = nullptr, grid = nullptr;
  MixGrid mix;
  SIZE laidOut = {};  // the size the last layout used
  FilterObject* Filter() const { return page ? page->Filter() : nullptr; }
};

namespace page {

// Information fields, root note list, pitch shift and time display
// (page_info.cpp).
void ShowInformation(HWND dialog, FilterObject& filter) noexcept;
void FillRootNotes(HWND dialog, FilterObject& filter) noexcept;
void ShowPitchShift(HWND dialog, FilterObject& filter) noexcept;
// Reads the edit, clamps to -24..24, stores it in the host and shows it.
void StorePitchShift(HWND dialog, FilterObject& filter) noexcept;
void ShowTime(HWND dialog, FilterObject& filter) noexcept;
// Sizes the time display to its text, keeping its right edge.
void FitTimeToText(HWND dialog) noexcept;

// The mix grid (page_grid.cpp): columns and owner record, and the clicks
// of its check cells.
void InitMixGrid(PageWindow& w) noexcept;
// Fits the columns to the grid's width (after it was sized): Volume and Pan
// share what the other columns leave.
void FitMixColumns(PageWindow& w) noexcept;
void MixCheckClicked(PageWindow& w, DWORD row, DWORD column) noexcept;

// The toolbars (page_toolbars.cpp): made in place of their placeholders
// and usable from the keyboard; their tooltip texts.
void CreateToolbars(PageWindow& w) noexcept;
bool AnswerTooltip(NMTTDISPINFOW* info) noexcept;

// Commands of the toolbars and dialogs (page_commands.cpp).
void RunCommand(PageWindow& w, int id, int code) noexcept;
HRESULT RunTransport(FilterObject& filter, int command) noexcept;
HRESULT FinishRecording(FilterObject& filter) noexcept;
void UpdateToolbars(PageWindow& w) noexcept;

// Modal dialogs (page_dialogs.cpp). IDOK when the settings changed.
INT_PTR EventFilterDialog(HWND owner, FilterObject& filter, bool chase) noexcept;
INT_PTR QuantizeDialog(HWND owner, FilterObject& filter) noexcept;
// The quantize word for a resolution index and three switches, keeping
// bits 16-28 of `current` except the triplet bit.
DWORD QuantizeWord(DWORD current, int resolution, bool startTimes, bool durations, bool onPlayback) noexcept;

}  // namespace page
}  // namespace quillet
