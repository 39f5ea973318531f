#include "text/library_strings.h"

#include <atomic>

#include "core/module_state.h"

namespace zq::text {
namespace {

std::atomic<LibraryStringSource> g_source{nullptr};

// The built-in loader: a few strings cached from the module's string table.
struct Cached {
  UINT id;
  WCHAR text[64];
};
Cached g_cache[16];
int g_cached = 0;
SRWLOCK g_cacheLock = SRWLOCK_INIT;
const WCHAR kEmpty[1] = {0};

const WCHAR* LoadFromModule(UINT id) noexcept {
  AcquireSRWLockExclusive(&g_cacheLock);
  const WCHAR* result = kEmpty;
  for (int i = 0; i < g_cached; ++i) {
    if (g_cache[i].id == id) {
      result = g_cache[i].text;
      break;
    }
  }
  if (result == kEmpty && g_cached < 16) {
    Cached& slot = g_cache[g_cached];
    if (LoadStringW(zq::core::ModuleInstance(), id, slot.text, 64) > 0) {
      slot.id = id;
      result = slot.text;
      ++g_cached;
    }
  }
  ReleaseSRWLockExclusive(&g_cacheLock);
  return result;
}

}  // namespace

void SetLibraryStringSource(LibraryStringSource source) noexcept { g_source.store(source); }

const WCHAR* LibraryString(UINT id) noexcept {
  LibraryStringSource source = g_source.load();
  const WCHAR* text = source ? source(id) : LoadFromModule(id);
  return text ? text : kEmpty;
}

}  // namespace zq::text
