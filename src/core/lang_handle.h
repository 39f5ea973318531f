// The language handle record. Runtime services own its temporary-string
// ring; localisation owns the rest of its behaviour.
#pragma once
#include "zq/base.h"
#include "zq/list.h"

struct tZQLANG {
  HINSTANCE module;          // the module whose resources are the fallback
  BOOL lockReady;            // `lock` has been initialised
  CRITICAL_SECTION lock;     // guards the string cache and the ring position
  UINT bufferCapacity;       // ring size, in UTF-16 units
  UINT bufferReserve;        // always kRingReserve
  UINT bufferPosition;       // next free unit of the ring
  WCHAR* buffer;             // the ring: zero-filled global memory
  BOOL useLanguageModule;    // set when the handle's language is not English
  HINSTANCE languageModule;  // the loaded language resource module, or null
  LCID language;             // low 16 bits: the resource language
  DWORD spare;
  tZQLIST* stringCache;      // cached strings, sorted by id
  HGLOBAL bufferBlock;       // the global memory block behind `buffer`
  HINSTANCE loadedLanguageModule;  // the language module this handle loaded itself (freed at close)
  tZQLIST* retiredCaches;    // earlier string caches, kept alive until close (pointer list)
};

namespace zq::core {

constexpr UINT kRingReserve = 1024;
constexpr UINT kDefaultRingUnits = 8192;
constexpr UINT kSmallRingUnits = 2048;

// Ring size for a requested buffer size: 0 -> 8192, 1..2048 -> 2048, else as is.
UINT RingUnitsFor(UINT requested) noexcept;

// Allocates a zero-filled handle for `module` with its lock and ring.
// Null on allocation failure.
HZQLANG LangCreate(HINSTANCE module, UINT bufferSize) noexcept;
// Frees the ring, the lock and the record (the string cache and language
// module must have been released by their owner). Null is accepted.
void LangDestroy(HZQLANG lang) noexcept;

// Lock guard over a handle's critical section.
class LangLock {
 public:
  explicit LangLock(HZQLANG lang) noexcept : lang_(lang->lockReady ? lang : nullptr) {
    if (lang_) EnterCriticalSection(&lang_->lock);
  }
  ~LangLock() {
    if (lang_) LeaveCriticalSection(&lang_->lock);
  }
  LangLock(const LangLock&) = delete;
  LangLock& operator=(const LangLock&) = delete;

 private:
  HZQLANG lang_;
};

}  // namespace zq::core
