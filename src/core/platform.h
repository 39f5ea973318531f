// Platform facts: Windows family, version names, colour depth, processor.
#pragma once
#include "zq/kernel.h"

namespace zq::core {

// Computes the Windows-9x flag and the processor-feature word.
void PlatformStartup() noexcept;

// Pure rules over version information, for callers and tests alike.
// The platform name for a version record; false for an unknown platform
// (name "Unknown"); an empty name where the family has no name for it.
bool PlatformName(const OSVERSIONINFOW& info, const WCHAR** name) noexcept;
bool VersionMeets(const OSVERSIONINFOW& info, int requirement) noexcept;

// The processor-feature word from identification results; `probe` runs one
// instruction of a set (0 SSE, 1 SSE2, 2 SSE3) and says whether it executed.
struct CpuFacts {
  DWORD processorType;   // GetSystemInfo's dwProcessorType
  bool identification;   // the identification instruction may be used
  DWORD features;        // leaf 1, EDX
  DWORD features2;       // leaf 1, ECX
};
DWORD FeatureWord(const CpuFacts& facts, bool (*probe)(int set)) noexcept;

// Called on WM_SYSCOLORCHANGE after the colour flags are recomputed: the
// UI layer discards its cached drawing objects and reloads its colours.
void SetSysColorChangeHandler(void (*handler)()) noexcept;

}  // namespace zq::core
