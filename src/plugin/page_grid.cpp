// The page's window classes and its mix grid.
#include <windows.h>

#include <atomic>

#include "core/module_state.h"
#include "plugin/page_commands.h"
#include "plugin/page_window.h"
#include "zq/spinner.h"

namespace quillet {

namespace {
constexpr WCHAR kSpinnerClass[] = L"ZqKrn_Spinner_Class";
std::atomic<bool> g_spinnerRegistered{false};
}  // namespace

void RegisterPageClasses() noexcept {
  bool expected = false;
  if (!g_spinnerRegistered.compare_exchange_strong(expected, true)) return;
  if (!SpinnerInitialize(zq::core::ModuleInstance(), kSpinnerClass)) g_spinnerRegistered = false;
}

void UnregisterPageClasses() noexcept {
  if (g_spinnerRegistered.exchange(false)) SpinnerTerminate(zq::core::ModuleInstance(), kSpinnerClass);
}

namespace page {

// Without the grid window there is no selection.
std::vector<LONG> SelectedRows(PageWindow& w) noexcept {
  std::vector<LONG> rows;
  if (!w.grid) return rows;
  return rows;
}

}  // namespace page
}  // namespace quillet
