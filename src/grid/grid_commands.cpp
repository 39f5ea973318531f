// The grid's commands through its owner: cut, copy and paste over every
// clipboard format the owner offers, clear, undo, redo and select all.
#include <algorithm>

#include "grid/grid_internal.h"

namespace zq::controls::grid {
namespace {

void AfterCommand(Grid& g, LRESULT flags) {
  if (!flags) return;
  ApplyRefresh(g, g.focusRow, g.focusColumn, static_cast<DWORD>(flags));
  PostMessageW(g.window, SPM_NOTIFY, SPN_EDITCOMMAND, 0);
  PostMessageW(g.window, SPM_NOTIFY, SPN_DATACHANGED, 0);
}

}  // namespace

// The focus cell's range (or the focus cell itself).
ZQSPREADRANGE SelectionArgument(const Grid& g) {
  const LONG i = FocusRangeIndex(g);
  return i >= 0 ? Ranges(g)[i] : ZQSPREADRANGE{g.focusRow, g.focusColumn, g.focusRow, g.focusColumn};
}

LRESULT ClipboardCommand(Grid& g, UINT message) {
  if (g.editState == kEditing && g.editor) return SendMessageW(g.editor, message, 0, 0);
  const ZQSPREADRANGE range = SelectionArgument(g);
  UINT formats[10] = {};
  const LONG count = std::clamp<LONG>(g.iface.queryCommand(&g.iface, &range, formats, 10, message), 0, 10);
  if (count == 0) return 0;
  if (!OpenClipboard(g.window)) return 0;
  LRESULT result = 0;
  if (message == WM_COPY || message == WM_CUT) {
    bool emptied = false;
    for (LONG f = count - 1; f >= 0; --f) {
      const auto handle = reinterpret_cast<HANDLE>(g.iface.doCommand(&g.iface, &range, formats[f], nullptr, message));
      if (!handle) continue;
      if (!emptied) {
        EmptyClipboard();
        emptied = true;
      }
      if (SetClipboardData(formats[f], handle)) result = 1;
      else GlobalFree(handle);
    }
    CloseClipboard();
    if (result && message == WM_CUT) AfterCommand(g, g.iface.doCommand(&g.iface, &range, 0, nullptr, WM_CLEAR));
    return result;
  }
  // Paste: the first listed format on the clipboard.
  for (LONG f = 0; f < count; ++f) {
    if (!formats[f] || !IsClipboardFormatAvailable(formats[f])) continue;
    HANDLE handle = GetClipboardData(formats[f]);
    const void* bytes = handle ? GlobalLock(handle) : nullptr;
    if (!bytes) break;
    const ZQSPREADDATA data{bytes, GlobalSize(handle)};
    result = g.iface.doCommand(&g.iface, &range, formats[f], &data, WM_PASTE);
    GlobalUnlock(handle);
    break;
  }
  CloseClipboard();
  if (!result) PostMessageW(g.window, SPM_NOTIFY, SPN_EDITCOMMAND, 0);
  AfterCommand(g, result);
  return result;
}

LRESULT SimpleCommand(Grid& g, UINT message) {
  if (g.editState == kEditing && g.editor && (message == WM_CLEAR || message == WM_UNDO))
    return SendMessageW(g.editor, message, 0, 0);
  const ZQSPREADRANGE range = SelectionArgument(g);
  const LRESULT flags = g.iface.doCommand(&g.iface, &range, 0, nullptr, message);
  AfterCommand(g, flags);
  return flags;
}

}  // namespace zq::controls::grid
