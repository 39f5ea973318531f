// The formatted printer against swprintf, and cached string lookups
// against loading the string from the module each time.
#include <charconv>
#include <cstdio>
#include <cwchar>
#include <string>

#include "bench.h"
#include "zq/lang.h"
#include "zq/number.h"
#include "zq/printf.h"

namespace {

constexpr int kCalls = 200000;

// The floor: the digits alone, from std::to_chars, widened into the
// same buffer.
int Widen(wchar_t* out, const char* text, const char* end) {
  int n = 0;
  for (const char* p = text; p < end; ++p) out[n++] = static_cast<wchar_t>(*p);
  out[n] = 0;
  return n;
}
int Floor(wchar_t* out, int value) {
  char text[32];
  return Widen(out, text, std::to_chars(text, text + 32, value).ptr);
}
int Floor(wchar_t* out, double value) {
  char text[64];
  return Widen(out, text, std::to_chars(text, text + 64, value, std::chars_format::fixed, 3).ptr);
}
int Floor(wchar_t* out, const wchar_t* value) {
  int n = 0;
  for (; value[n]; ++n) out[n] = value[n];
  out[n] = 0;
  return n;
}

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
  double floor = bench::Time([] {}, [&] {
    for (int i = 0; i < kCalls; ++i) sink = sink + Floor(out, arg);
  });
  bench::Report(std::string("ZqPrintF ") + name + " x" + std::to_string(kCalls), zq, crt, "swprintf");
  bench::Report("  the same", zq, floor, "std::to_chars floor");
}

void Printer() {
  Compare(L"%d", L"%d", 1234567, "\"%d\"");
  Compare(L"$d", L"%d", 1234567, "\"$d\"");
  Compare(L"%s", L"%ls", L"Acoustic Grand Piano", "\"%s\"");
  Compare(L"$s", L"%ls", L"Acoustic Grand Piano", "\"$s\"");
  Compare(L"%.3f", L"%.3f", 1234.5678, "\"%.3f\"");
  Compare(L"$.3f", L"%.3f", 1234.5678, "\"$.3f\"");
}

// Grouped number text: the locale's grouping against swprintf's plain
// digits and the to_chars floor.
void GroupedNumbers() {
  wchar_t out[64];
  volatile int sink = 0;
  double zq = bench::Time([] {}, [&] {
    for (int i = 0; i < kCalls; ++i) sink = sink + ZqLongToText(1234567 + i, out, TRUE);
  });
  double crt = bench::Time([] {}, [&] {
    for (int i = 0; i < kCalls; ++i) sink = sink + swprintf(out, 64, L"%d", 1234567 + i);
  });
  double floor = bench::Time([] {}, [&] {
    for (int i = 0; i < kCalls; ++i) sink = sink + Floor(out, 1234567 + i);
  });
  bench::Report("ZqLongToText grouped x" + std::to_string(kCalls), zq, crt, "swprintf");
  bench::Report("  the same", zq, floor, "std::to_chars floor");
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
BENCHMARK_ENTRY("number text grouped", GroupedNumbers);
BENCHMARK_ENTRY("string cache", CachedStrings);
