// The formatted printer against swprintf, and cached string lookups
// against loading the string from the module each time.
#include <cstdio>
#include <cwchar>
#include <string>

#include "bench.h"
#include "zq/lang.h"
#include "zq/printf.h"

namespace {

constexpr int kCalls = 200000;

template <typename Arg>
void Compare(const wchar_t* ours, const wchar_t* theirs, Arg arg, const char* name) {
  wchar_t out[256];
  volatile int sink = 0;
  double zq = bench::Time([] {}, [&] {
    for (int i = 0; i < kCalls; ++i) sink = sink + ZqPrintF(out, ours, arg);
  });
  double crt = bench::Time([] {}, [&] {
    for (int i = 0; i < kCalls; ++i) sink = sink + swprintf(out, 256, theirs, arg);
  });
  bench::Report(std::string("ZqPrintF ") + name + " x" + std::to_string(kCalls), zq, crt, "swprintf");
}

void Printer() {
  Compare(L"%d", L"%d", 1234567, "\"%d\"");
  Compare(L"$d", L"%d", 1234567, "\"$d\"");
  Compare(L"%s", L"%ls", L"Acoustic Grand Piano", "\"%s\"");
  Compare(L"$s", L"%ls", L"Acoustic Grand Piano", "\"$s\"");
  Compare(L"%.3f", L"%.3f", 1234.5678, "\"%.3f\"");
  Compare(L"$.3f", L"%.3f", 1234.5678, "\"$.3f\"");
}

void CachedStrings() {
  HMODULE module = GetModuleHandleW(L"quillet.dll");
  HZQLANG lang = nullptr;
  if (!module || FAILED(ZqLang_Open(&lang, module, 0, 0))) {
    std::printf("ZqGetString: no language handle\n");
    return;
  }
  constexpr UINT kId = 1000;  // the registration name
  ZqGetString(lang, kId);     // the first lookup loads and caches it
  volatile size_t sink = 0;
  constexpr int kLookups = 1000000;
  double cached = bench::Time([] {}, [&] {
    for (int i = 0; i < kLookups; ++i) sink = sink + reinterpret_cast<size_t>(ZqGetString(lang, kId));
  });
  wchar_t text[256];
  double loaded = bench::Time([] {}, [&] {
    for (int i = 0; i < kLookups; ++i) sink = sink + LoadStringW(module, kId, text, 256);
  });
  bench::Report("ZqGetString cached x" + std::to_string(kLookups), cached, loaded, "LoadStringW each time");
  std::printf("    %.1f million cached lookups per second\n", kLookups / cached / 1e6);
  ZqLang_Close(lang);
}

}  // namespace

BENCHMARK_ENTRY("printf", Printer);
BENCHMARK_ENTRY("string cache", CachedStrings);
