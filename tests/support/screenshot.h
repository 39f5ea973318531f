// Pictures of windows for a person to look at: a window (with its frame)
// captured from the screen into build/screenshots/<name>.bmp.
#pragma once
#include <windows.h>

#include <string>

namespace testsupport {

struct Screenshot {
  bool saved = false;
  std::wstring path;   // the file written
  int width = 0, height = 0;
  int colours = 0;     // distinct colours seen, counted up to 64 (1: a blank picture)
};

// Redraws `window` and its children, then captures what it shows.
Screenshot SaveWindowScreenshot(HWND window, const wchar_t* name);

}  // namespace testsupport
