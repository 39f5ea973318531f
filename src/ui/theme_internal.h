// The default theme record as the controls use it.
#pragma once
#include "zq/theme.h"

namespace zq::controls {

// The default record. The first time a control asks while there is none,
// the process-wide record is initialised for `window`: with the wish an
// application stored through XPTheme_Default, or else following the
// system's theme settings (a fresh record's wish of 0 would switch theming
// off for the whole process). Null when the visual-styles library cannot be
// bound.
ZQXPTHEME* DefaultTheme(HWND window) noexcept;
// Whether the system's theme state differs from what `record` recorded.
bool ThemeOutdated(const ZQXPTHEME& record) noexcept;
// The default record when it draws themes, else null.
const ZQXPTHEME* ActiveTheme() noexcept;

}  // namespace zq::controls
