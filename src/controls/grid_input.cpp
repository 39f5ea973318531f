// What reaches the grid from its in-place editor: text changes, commit and
// cancel.
#include "controls/grid_internal.h"

namespace zq::controls::grid {

bool HandleInput(Grid& g, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  if (message != WM_COMMAND) return false;
  if (g.editor && reinterpret_cast<HWND>(lParam) == g.editor && HIWORD(wParam) == EN_CHANGE) {
    g.editorDirty = TRUE;
    return true;
  }
  if (LOWORD(wParam) == IDOK && HIWORD(wParam) == 0) {
    CommitEditor(g);
    return true;
  }
  if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == 0) {
    CloseEditor(g);
    return true;
  }
  return false;
}

}  // namespace zq::controls::grid
