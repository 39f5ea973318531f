// Module entry: process attach and detach, and the COM server entry points.
#include <windows.h>

#include "core/module_state.h"
#include "module/class_factory.h"
#include "module/library_startup.h"
#include "page/page_object.h"
#include "module/registration.h"
#include "zq/grid.h"
#include "zq/msgbox.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) noexcept {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      // Attach never fails, whatever the steps report.
      quillet::LibraryStartup(instance);
      ZqMsgBoxSetAppData(instance, nullptr, L"MIDI Quillet");
      SpreadInitialize(instance, ZQSPREAD_CLASSNAME);
      break;
    case DLL_PROCESS_DETACH:
      quillet::ReleaseUnlockedFactories();
      quillet::UnregisterPageClasses();
      SpreadTerminate(zq::core::ModuleInstance(), ZQSPREAD_CLASSNAME);
      quillet::LibraryShutdown();
      break;
    default:
      break;
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept {
  return quillet::GetClassObject(clsid, iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() noexcept { return quillet::CanUnloadNow(); }

extern "C" HRESULT WINAPI DllRegisterServer() noexcept {
  return quillet::RegisterModule(zq::core::ModuleInstance());
}

extern "C" HRESULT WINAPI DllUnregisterServer() noexcept {
  return quillet::UnregisterModule(zq::core::ModuleInstance());
}
