// The library's own texts (ids 48000 and up) through its default language
// handle, for layers below that cannot reach the handle themselves.
#pragma once
#include <windows.h>

namespace zq::settings {

// ZqGetString on the default handle: valid until the handle is closed at
// shut-down; "" when there is no handle or no such string.
const WCHAR* DefaultLangString(UINT id) noexcept;

}  // namespace zq::settings
