#include "module/library_startup.h"

#include "core/module_state.h"
#include "core/platform.h"
#include "ui/ui_internal.h"
#include "core/timer.h"
#include "settings/lang_library.h"
#include "text/library_strings.h"
#include "text/printer.h"
#include "windows/monitor_layer.h"
#include "zq/kernel.h"
#include "zq/lang.h"

namespace quillet {

bool LibraryStartup(HINSTANCE instance) noexcept {
  zq::core::TimerStartup();
  zq::core::PlatformStartup();
  zq::core::SetModuleInstance(instance);
  zq::windows::MonitorStartup();
  zq::controls::UiColorsStartup(instance);
  zq::core::SetSysColorChangeHandler(zq::controls::UiSysColorChanged);
  zq::text::TokenTableStartup();
  HZQLANG lang = nullptr;
  bool opened = SUCCEEDED(ZqLang_Open(&lang, instance, 0, 0));
  zq::core::SetDefaultLang(lang);
  if (opened) {
    zq::text::SetLibraryStringSource(zq::settings::DefaultLangString);
    ZqLang_GetInternationals(nullptr, 0);
  }
  ZqTimer_LateInitialize();
  return opened;
}

void LibraryShutdown() noexcept {
  HZQLANG lang = zq::core::DefaultLang();
  zq::text::SetLibraryStringSource(nullptr);
  zq::core::SetDefaultLang(nullptr);
  ZqLang_Close(lang);
  zq::text::TokenTableShutdown();
  zq::core::SetSysColorChangeHandler(nullptr);
  zq::controls::UiDrawingObjectsShutdown();
  zq::controls::UiCursorsShutdown();
  zq::core::ForgetModuleInstance();
}

}  // namespace quillet
