// The one place where the error handler shows a message box: the library's
// own box (with its hook and details area). Everything the handler shows
// goes through ShowMessage, which a test can replace.
#pragma once
#include <windows.h>

namespace zq::errors {

// Returns the button id, as the message box would.
using ShowMessageHook = int (*)(void* context, HWND owner, const WCHAR* text, const WCHAR* caption, UINT style,
                                const WCHAR* details) noexcept;

// Routes every box to `hook` (null: the real box again).
void SetShowMessageHook(ShowMessageHook hook, void* context) noexcept;

// Shows `text` as written. An owner of (HWND)-1 means no owner; a null
// caption means the application caption. `details` (may be null) is the
// details-area text for a style with ZQ_MB_DETAILS bits.
int ShowMessage(HWND owner, const WCHAR* text, const WCHAR* caption, UINT style, const WCHAR* details) noexcept;

// The caption of the application's message boxes ("" while none is set).
const WCHAR* ApplicationCaption() noexcept;

}  // namespace zq::errors
