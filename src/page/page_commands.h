// Sub-track commands of the page, callable without a window.
#pragma once
#include <windows.h>

#include <vector>

namespace quillet {

class FilterObject;
struct PageWindow;

namespace page {

// Appends a sub-track named "New Track" in the first one's description.
HRESULT AddSubTrack(FilterObject& filter) noexcept;
// Deletes the sub-tracks of the given grid rows in one host edit; S_FALSE
// when nothing was to be deleted.
HRESULT DeleteSubTrackRows(FilterObject& filter, std::vector<LONG> rows) noexcept;
// The grid's selected rows (none without a grid).
std::vector<LONG> SelectedRows(PageWindow& w) noexcept;
// The toolbar command a shortcut key runs anywhere on the page (the ones
// the transport tooltips name); 0 for other keys.
int ShortcutCommand(WPARAM key, bool shift, bool ctrl, bool alt) noexcept;

}  // namespace page
}  // namespace quillet
