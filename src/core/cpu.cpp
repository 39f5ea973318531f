// The processor-feature word: identification instruction plus an execution
// probe per instruction set (an illegal-instruction fault clears the flag).
#include <cpuid.h>

#include <atomic>

#include "core/platform.h"

// Each probe runs one instruction of its set and returns 0; when the
// instruction faults, the exception handler resumes at zq_probe_faulted,
// which returns 1.
extern "C" int zq_probe_sse();
extern "C" int zq_probe_sse2();
extern "C" int zq_probe_sse3();
extern "C" int zq_probe_faulted();
asm(R"(
  .text
  .globl _zq_probe_sse
_zq_probe_sse:
  xorps %xmm0, %xmm0
  xorl %eax, %eax
  ret
  .globl _zq_probe_sse2
_zq_probe_sse2:
  pxor %xmm0, %xmm0
  xorl %eax, %eax
  ret
  .globl _zq_probe_sse3
_zq_probe_sse3:
  haddps %xmm0, %xmm0
  xorl %eax, %eax
  ret
  .globl _zq_probe_faulted
_zq_probe_faulted:
  movl $1, %eax
  ret
)");

namespace zq::core {
namespace {

constexpr DWORD kIllegalInstruction = 0xC000001D;

LONG CALLBACK ProbeHandler(EXCEPTION_POINTERS* info) {
  if (info->ExceptionRecord->ExceptionCode != kIllegalInstruction) return EXCEPTION_CONTINUE_SEARCH;
  DWORD at = info->ContextRecord->Eip;
  if (at == reinterpret_cast<DWORD>(&zq_probe_sse) || at == reinterpret_cast<DWORD>(&zq_probe_sse2) ||
      at == reinterpret_cast<DWORD>(&zq_probe_sse3)) {
    info->ContextRecord->Eip = reinterpret_cast<DWORD>(&zq_probe_faulted);
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

bool RunProbe(int set) {
  static int (*const probes[])() = {zq_probe_sse, zq_probe_sse2, zq_probe_sse3};
  PVOID handler = AddVectoredExceptionHandler(1, ProbeHandler);
  bool executed = probes[set]() == 0;
  if (handler) RemoveVectoredExceptionHandler(handler);
  return executed;
}

// On the 9x platform the identification instruction exists when the ID
// bit (21) of the flags register can be toggled.
bool IdBitToggles() {
  DWORD before, after;
  asm volatile(
      "pushfl\n\t"
      "popl %0\n\t"
      "movl %0, %1\n\t"
      "xorl $0x200000, %1\n\t"
      "pushl %1\n\t"
      "popfl\n\t"
      "pushfl\n\t"
      "popl %1\n\t"
      "pushl %0\n\t"
      "popfl"
      : "=&r"(before), "=&r"(after)
      :
      : "cc");
  return ((before ^ after) & 0x200000) != 0;
}

CpuFacts ReadFacts() {
  CpuFacts facts{};
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  facts.processorType = info.dwProcessorType;
  facts.identification = ZqIsWin95() ? IdBitToggles() : info.dwProcessorType == PROCESSOR_INTEL_PENTIUM;
  if (facts.identification) {
    unsigned a, b, c, d;
    __cpuid(0, a, b, c, d);
    if (a >= 1) {
      __cpuid(1, a, b, c, d);
      facts.features = d;
      facts.features2 = c;
    }
  }
  return facts;
}

std::atomic<DWORD> g_word{0};
std::atomic<bool> g_known{false};

}  // namespace

DWORD FeatureWord(const CpuFacts& f, bool (*probe)(int set)) noexcept {
  DWORD level = 0, flags = 0;
  if (f.processorType == PROCESSOR_INTEL_486) level = ZQCPU_LEVEL_486;
  else if (f.processorType == PROCESSOR_INTEL_PENTIUM) level = ZQCPU_LEVEL_PENTIUM;
  auto bit = [](DWORD reg, int n) { return (reg >> n) & 1u; };
  if (bit(f.features, 4)) flags |= ZQCPU_TSC;
  if (bit(f.features, 15)) {
    flags |= ZQCPU_CMOV;
    if (bit(f.features, 0)) {
      flags |= ZQCPU_FCMOV;
      level = ZQCPU_LEVEL_CMOV;
    }
  }
  if (bit(f.features, 23)) {
    flags |= ZQCPU_MMX;
    if (level == ZQCPU_LEVEL_CMOV) level = ZQCPU_LEVEL_MMX;
  }
  if (bit(f.features, 25) && probe(0)) {
    flags |= ZQCPU_SSE;
    level = ZQCPU_LEVEL_SSE;
  }
  if (bit(f.features, 26) && probe(1)) {
    flags |= ZQCPU_SSE2;
    level = ZQCPU_LEVEL_SSE2;
  }
  if (bit(f.features2, 0) && probe(2)) flags |= ZQCPU_SSE3;
  return level | flags;
}

DWORD CpuFeatureWord() noexcept {
  if (g_known.load()) return g_word.load();
  DWORD word = FeatureWord(ReadFacts(), RunProbe);
  g_word = word;
  g_known = true;
  // Flush denormals to zero on the detecting thread.
  if (word & ZQCPU_SSE2) {
    unsigned csr;
    asm volatile("stmxcsr %0" : "=m"(csr));
    csr |= 0x8040;
    asm volatile("ldmxcsr %0" : : "m"(csr));
  }
  return word;
}

}  // namespace zq::core

ZQAPI DWORD WINAPI ZqGetCPUSupport(DWORD mask) noexcept {
  DWORD word = zq::core::CpuFeatureWord();
  return mask ? word & mask : word;
}
