#include "core/module_state.h"

#include <atomic>

#include "zq/kernel.h"

namespace zq::core {
namespace {
std::atomic<HINSTANCE> g_module{nullptr};
std::atomic<HINSTANCE> g_host{nullptr};
std::atomic<HZQLANG> g_defaultLang{nullptr};
std::atomic<void*> g_splash{nullptr};
}  // namespace

HINSTANCE ModuleInstance() noexcept { return g_module.load(); }
HINSTANCE HostInstance() noexcept { return g_host.load(); }

void SetModuleInstance(HINSTANCE instance) noexcept {
  g_module = instance;
  g_host = GetModuleHandleW(nullptr);
  g_splash = nullptr;
}

void ForgetModuleInstance() noexcept {
  g_module = nullptr;
  g_host = nullptr;
}

HZQLANG DefaultLang() noexcept { return g_defaultLang.load(); }
void SetDefaultLang(HZQLANG lang) noexcept { g_defaultLang = lang; }

}  // namespace zq::core

// The splash value belongs to the application; the library only keeps it.
ZQAPI void* WINAPI ZqKernel_SetSplash(void* splash) noexcept {
  zq::core::g_splash = splash;
  return splash;
}
