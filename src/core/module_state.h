// Process-wide module state kept by the library start-up.
#pragma once
#include "zq/base.h"

namespace zq::core {

HINSTANCE ModuleInstance() noexcept;        // the module the library lives in
HINSTANCE HostInstance() noexcept;          // the host executable
void SetModuleInstance(HINSTANCE instance) noexcept;  // also records the host, clears the splash
void ForgetModuleInstance() noexcept;

// The library's own language handle, opened at start-up (null before).
HZQLANG DefaultLang() noexcept;
void SetDefaultLang(HZQLANG lang) noexcept;

}  // namespace zq::core
