// The cached cursors: the library's own, the application's range and the
// system's.
#include "ui/ui_internal.h"
#include "core/module_state.h"
#include "zq/ui.h"

namespace zq::controls {
namespace {

constexpr int kFirstSystem = 0x7F00;     // IDC_ARROW
constexpr int kLastLowSystem = 0x7F04;   // IDC_UPARROW
constexpr int kFirstHighSystem = 32642;  // IDC_SIZENWSE
constexpr int kLastHighSystem = 32651;   // IDC_HELP

HCURSOR g_library[ZQ_UICURSOR_COUNT + 1];
HCURSOR g_application[ZQ_UICURSOR_APP_COUNT];
HCURSOR g_system[15];

HCURSOR Arrow() { return LoadCursorW(nullptr, IDC_ARROW); }

HCURSOR LoadOwned(HINSTANCE module, int id) {
  return static_cast<HCURSOR>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_CURSOR, 0, 0, LR_DEFAULTCOLOR));
}

int SystemSlot(int id) {
  if (id >= kFirstSystem && id <= kLastLowSystem) return id - kFirstSystem;
  if (id >= kFirstHighSystem && id <= kLastHighSystem) return 5 + id - kFirstHighSystem;
  return -1;
}

}  // namespace

void UiCursorsShutdown() noexcept {
  for (auto& cursor : g_library) {
    if (cursor) DestroyCursor(cursor);
    cursor = nullptr;
  }
  for (auto& cursor : g_application) {
    if (cursor) DestroyCursor(cursor);
    cursor = nullptr;
  }
  for (auto& cursor : g_system) cursor = nullptr;  // shared: the system's own
}

}  // namespace zq::controls

using namespace zq::controls;

ZQAPI HCURSOR WINAPI ZqGetUICursor(int index) noexcept {
  HCURSOR* slot = nullptr;
  if (index >= 1 && index <= ZQ_UICURSOR_COUNT) {
    slot = &g_library[index];
    if (!*slot) *slot = LoadOwned(zq::core::ModuleInstance(), index);
  } else if (index >= ZQ_UICURSOR_APP_FIRST && index < ZQ_UICURSOR_APP_FIRST + ZQ_UICURSOR_APP_COUNT) {
    slot = &g_application[index - ZQ_UICURSOR_APP_FIRST];
    if (!*slot) *slot = LoadOwned(GetModuleHandleW(nullptr), index);
  } else if (const int system = SystemSlot(index); system >= 0) {
    slot = &g_system[system];
    if (!*slot) *slot = LoadCursorW(nullptr, MAKEINTRESOURCEW(index));
  }
  if (slot && *slot) return *slot;
  return Arrow();
}
