#include "plugin/library_startup.h"

#include "core/lang_handle.h"
#include "core/module_state.h"
#include "core/platform.h"
#include "core/timer.h"
#include "text/printer.h"
#include "zq/kernel.h"

namespace quillet {

bool LibraryStartup(HINSTANCE instance) noexcept {
  zq::core::TimerStartup();
  zq::core::PlatformStartup();
  zq::core::SetModuleInstance(instance);
  zq::text::TokenTableStartup();
  HZQLANG lang = zq::core::LangCreate(instance, 0);
  zq::core::SetDefaultLang(lang);
  ZqTimer_LateInitialize();
  return lang != nullptr;
}

void LibraryShutdown() noexcept {
  HZQLANG lang = zq::core::DefaultLang();
  zq::core::SetDefaultLang(nullptr);
  zq::core::LangDestroy(lang);
  zq::text::TokenTableShutdown();
  zq::core::ForgetModuleInstance();
}

}  // namespace quillet
