#include "errors/msgbox_ui_colours.h"

namespace zq::errors {

COLORREF UiColour(int index) noexcept { return GetSysColor(index); }

HBRUSH UiBrush(int index) noexcept { return GetSysColorBrush(index); }

HFONT UiFont() noexcept { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

}  // namespace zq::errors
