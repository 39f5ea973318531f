#include "core/lang_handle.h"

namespace zq::core {

UINT RingUnitsFor(UINT requested) noexcept {
  if (requested == 0) return kDefaultRingUnits;
  if (requested <= kSmallRingUnits) return kSmallRingUnits;
  return requested;
}

HZQLANG LangCreate(HINSTANCE module, UINT bufferSize) noexcept {
  auto* lang = static_cast<HZQLANG>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(tZQLANG)));
  if (!lang) return nullptr;
  lang->module = module;
  InitializeCriticalSection(&lang->lock);
  lang->lockReady = TRUE;
  UINT units = RingUnitsFor(bufferSize);
  if (units > (0x7FFFFFFFu / sizeof(WCHAR))) {
    LangDestroy(lang);
    return nullptr;
  }
  lang->bufferBlock = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, units * sizeof(WCHAR));
  lang->buffer = lang->bufferBlock ? static_cast<WCHAR*>(GlobalLock(lang->bufferBlock)) : nullptr;
  if (!lang->buffer) {
    LangDestroy(lang);
    return nullptr;
  }
  lang->bufferCapacity = units;
  lang->bufferReserve = kRingReserve;
  return lang;
}

void LangDestroy(HZQLANG lang) noexcept {
  if (!lang) return;
  if (lang->bufferBlock) {
    GlobalUnlock(lang->bufferBlock);
    GlobalFree(lang->bufferBlock);
  }
  if (lang->lockReady) DeleteCriticalSection(&lang->lock);
  HeapFree(GetProcessHeap(), 0, lang);
}

}  // namespace zq::core
