// The colours and font the message boxes draw with. The one place the boxes
// ask the system for them.
#pragma once
#include <windows.h>

namespace zq::errors {

// A system colour and its brush (the brush belongs to the system).
COLORREF UiColour(int index) noexcept;
HBRUSH UiBrush(int index) noexcept;
// The user-interface font (belongs to the system).
HFONT UiFont() noexcept;

}  // namespace zq::errors
