// What the user-interface resource files share, and the steps the library's
// start-up and shut-down call.
#pragma once
#include <windows.h>

namespace zq::controls {

// Start-up: loads the default colour table from the module's resources.
void UiColorsStartup(HINSTANCE module) noexcept;
// WM_SYSCOLORCHANGE: cached brushes and pens go, the colour table returns
// to its defaults.
void UiSysColorChanged() noexcept;
// Shut-down: cached brushes, pens and fonts; then the cached cursors.
void UiDrawingObjectsShutdown() noexcept;
void UiCursorsShutdown() noexcept;

void DeleteCachedBrushesAndPens() noexcept;
void DeleteCachedFonts() noexcept;

// The packed HLS conversion (plain arithmetic).
DWORD RgbToHls(COLORREF rgb) noexcept;
COLORREF HlsToRgb(DWORD hls) noexcept;

}  // namespace zq::controls
