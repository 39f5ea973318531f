#pragma once
#include <windows.h>

namespace quillet {
HRESULT RegisterModule(HINSTANCE instance) noexcept;
HRESULT UnregisterModule(HINSTANCE instance) noexcept;
}  // namespace quillet
