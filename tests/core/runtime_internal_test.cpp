// Runtime rules no export reaches on this machine: other platforms, other
// processors, other counters, and the ring's own bookkeeping.
#include <gtest/gtest.h>

#include <string>

#include "core/lang_handle.h"
#include "core/platform.h"
#include "core/timer.h"
#include "zq/kernel.h"

namespace {
using namespace zq::core;

OSVERSIONINFOW Version(DWORD platform, DWORD major, DWORD minor, const wchar_t* sp = L"") {
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof(v);
  v.dwPlatformId = platform;
  v.dwMajorVersion = major;
  v.dwMinorVersion = minor;
  lstrcpynW(v.szCSDVersion, sp, 128);
  return v;
}
constexpr DWORD k9x = VER_PLATFORM_WIN32_WINDOWS, kNT = VER_PLATFORM_WIN32_NT;

TEST(PlatformRules, Names) {
  struct Case { OSVERSIONINFOW v; bool known; const wchar_t* name; } cases[] = {
      {Version(k9x, 3, 95), true, L"Windows 95"},  {Version(k9x, 4, 0), true, L"Windows 95"},
      {Version(k9x, 4, 10), true, L"Windows 98"},  {Version(k9x, 4, 10, L" A "), true, L"Windows 98 SE"},
      {Version(k9x, 4, 90), true, L"Windows Me"},  {Version(k9x, 5, 0), true, L""},
      {Version(kNT, 4, 0), true, L"Windows NT"},   {Version(kNT, 5, 0), true, L"Windows 2000"},
      {Version(kNT, 5, 1), true, L"Windows XP"},   {Version(kNT, 6, 1), true, L"Windows XP"},
      {Version(7, 1, 0), false, L"Unknown"},
  };
  for (const auto& c : cases) {
    const wchar_t* name;
    EXPECT_EQ(PlatformName(c.v, &name), c.known);
    EXPECT_STREQ(name, c.name);
  }
}

TEST(PlatformRules, Requirements) {
  struct Case { OSVERSIONINFOW v; int code; bool ok; } cases[] = {
      {Version(k9x, 4, 0), 0, true},   {Version(k9x, 4, 0), 1, false},
      {Version(k9x, 4, 10), 1, true},  {Version(k9x, 4, 1), 2, false},
      {Version(k9x, 4, 1, L"Service Pack 1"), 2, true}, {Version(k9x, 4, 1, L"Service Pack 2"), 2, true},
      {Version(k9x, 4, 1, L"garbage"), 2, false},       {Version(kNT, 4, 0), 0, false},
      {Version(kNT, 4, 0), 4, true},   {Version(kNT, 5, 0), 6, false},
      {Version(kNT, 5, 1), 6, true},   {Version(kNT, 6, 0), 6, true},
      {Version(k9x, 0, 0), 3, true},   {Version(kNT, 6, 1), 3, false},
      {Version(k9x, 4, 0), 99, true},  {Version(kNT, 3, 51), 4, false},
  };
  for (const auto& c : cases) EXPECT_EQ(VersionMeets(c.v, c.code), c.ok) << c.code;
}

bool Executes(int) { return true; }
bool Faults(int) { return false; }
bool OnlySse(int set) { return set == 0; }

TEST(CpuRules, LevelsAndFlags) {
  constexpr DWORD fpu = 1, tsc = 1 << 4, cmov = 1 << 15, mmx = 1 << 23, sse = 1 << 25, sse2 = 1 << 26;
  struct Case { CpuFacts facts; bool (*probe)(int); DWORD word; } cases[] = {
      {{386, false, 0, 0}, Executes, 0},
      {{486, false, 0, 0}, Executes, 1},
      {{586, true, 0, 0}, Executes, 2},
      {{586, true, tsc | cmov, 0}, Executes, 2 | ZQCPU_TSC | ZQCPU_CMOV},
      {{586, true, fpu | cmov | mmx, 0}, Executes, 4 | ZQCPU_CMOV | ZQCPU_FCMOV | ZQCPU_MMX},
      {{586, true, mmx, 0}, Executes, 2 | ZQCPU_MMX},
      {{586, true, fpu | cmov | mmx | sse | sse2, 1}, Executes,
       6 | ZQCPU_CMOV | ZQCPU_FCMOV | ZQCPU_MMX | ZQCPU_SSE | ZQCPU_SSE2 | ZQCPU_SSE3},
      {{586, true, fpu | cmov | mmx | sse | sse2, 1}, Faults, 4 | ZQCPU_CMOV | ZQCPU_FCMOV | ZQCPU_MMX},
      {{586, true, fpu | cmov | mmx | sse | sse2, 1}, OnlySse, 5 | ZQCPU_CMOV | ZQCPU_FCMOV | ZQCPU_MMX | ZQCPU_SSE},
  };
  for (const auto& c : cases) EXPECT_EQ(FeatureWord(c.facts, c.probe), c.word) << std::hex << c.word;
}

TEST(TimerRules, CountersOfEverySpeed) {
  CounterRates r = RatesFor(10000000);
  EXPECT_EQ(CounterMillis(r, 25000000), 2500u);
  EXPECT_EQ(CounterMicros(r, 25000000), 2500000u);
  // 3.579545 MHz: no drift from truncated ticks per unit.
  r = RatesFor(3579545);
  for (unsigned long long t : {1ull, 3579545ull, 123456789ull}) {
    unsigned long long truth = t * 1000000 / 3579545;
    long long diff = static_cast<long long>(CounterMicros(r, t)) - static_cast<long long>(truth);
    EXPECT_EQ(diff, 0) << t;
    EXPECT_EQ(CounterMillis(r, t), static_cast<DWORD>(t * 1000 / 3579545));
  }
  // Slower than 1 MHz and 1 kHz: no division by zero, sound values.
  r = RatesFor(32768);
  EXPECT_EQ(CounterMicros(r, 32768), 1000000u);
  EXPECT_EQ(CounterMillis(r, 65536), 2000u);
  r = RatesFor(500);
  EXPECT_EQ(CounterMillis(r, 1000), 2000u);
  EXPECT_EQ(CounterMicros(r, 1), 2000u);
  r = RatesFor(0);
  EXPECT_EQ(CounterMillis(r, 5), 5000u);
  // Huge differences wrap modulo 2^32 instead of faulting.
  r = RatesFor(10000000);
  unsigned long long huge = 0xFFFFFFFFFFFFull;
  EXPECT_EQ(CounterMillis(r, huge), static_cast<DWORD>(huge / 10000));
  EXPECT_EQ(CounterMicros(r, huge), static_cast<DWORD>(huge / 10));
}

class Ring : public ::testing::Test {
 protected:
  void SetUp() override { lang = LangCreate(nullptr, 0); ASSERT_NE(lang, nullptr); }
  void TearDown() override { LangDestroy(lang); }
  UINT Offset(const void* p) const { return static_cast<UINT>(static_cast<const WCHAR*>(p) - lang->buffer); }
  bool Inside(const void* p, size_t bytes) const {
    auto b = reinterpret_cast<const BYTE*>(lang->buffer);
    auto q = static_cast<const BYTE*>(p);
    return q >= b && q + bytes <= b + lang->bufferCapacity * sizeof(WCHAR);
  }
  HZQLANG lang = nullptr;
};

TEST(RingSizes, FollowTheRequest) {
  struct Case { UINT requested, units; } cases[] = {{0, 8192}, {1, 2048}, {100, 2048}, {2048, 2048}, {2049, 2049}, {50000, 50000}};
  for (const auto& c : cases) {
    HZQLANG l = LangCreate(nullptr, c.requested);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->bufferCapacity, c.units);
    EXPECT_EQ(l->bufferReserve, 1024u);
    LangDestroy(l);
  }
}

TEST_F(Ring, OffsetsAdvanceAndWrap) {
  EXPECT_EQ(Offset(ZqGetTempStringBuffer(lang, 10)), 0u);
  EXPECT_EQ(Offset(ZqGetTempStringBuffer(lang, 10)), 12u);
  EXPECT_EQ(Offset(ZqGetTempStringBuffer(lang, 3)), 24u);  // (24 + 3 + 2) rounded down to even
  EXPECT_EQ(lang->bufferPosition, 28u);
  WCHAR* empty = ZqGetTempStringBuffer(lang, 0);
  EXPECT_EQ(empty[0], 0);
  lang->bufferPosition = 8192 - 1024;
  EXPECT_EQ(Offset(ZqGetTempStringBuffer(lang, 4)), 8192u - 1024);
  lang->bufferPosition = 8192 - 1023;
  EXPECT_EQ(Offset(ZqGetTempStringBuffer(lang, 4)), 0u);
  // A request beyond the reserve could run past the ring: refused.
  lang->bufferPosition = 8192 - 1024;
  EXPECT_EQ(ZqGetTempStringBuffer(lang, 1025), nullptr);
  EXPECT_NE(ZqGetTempStringBuffer(lang, 1024), nullptr);
  EXPECT_EQ(ZqGetTempStringBuffer(nullptr, 4), nullptr);
}

TEST_F(Ring, ConversionsOfAnyLengthStayInsideTheRing) {
  for (int length : {0, 1, 511, 512, 600, 1023, 1024, 5000}) {
    std::wstring wide(length, L'w');
    std::string narrow(length, 'n');
    for (int round = 0; round < 12; ++round) {  // walk the ring around
      LPCSTR a = ZqGetMultiByteFromPrintString(lang, wide.c_str());
      size_t alen = strlen(a);
      EXPECT_TRUE(length == 0 || Inside(a, alen + 1)) << length;
      EXPECT_EQ(std::string(a), std::string(std::min<size_t>(length, alen), 'w'));
      LPCWSTR w = ZqGetPrintFromMultiByteString(lang, narrow.c_str());
      size_t wlen = wcslen(w);
      EXPECT_TRUE(length == 0 || Inside(w, (wlen + 1) * 2)) << length;
      EXPECT_EQ(std::wstring(w), std::wstring(wlen, L'n'));
      EXPECT_EQ(wlen, static_cast<size_t>(std::min(length, 1023)));
    }
  }
  EXPECT_STREQ(ZqGetMultiByteFromPrintString(lang, L"Gr\u00fc\u00dfe"), "Gr\xfc\xdf" "e");
  EXPECT_STREQ(ZqGetPrintFromMultiByteString(lang, "Gr\xfc\xdf" "e"), L"Gr\u00fc\u00dfe");
  EXPECT_STREQ(ZqGetMultiByteFromPrintString(lang, nullptr), "");
  EXPECT_STREQ(ZqGetMultiByteFromPrintString(nullptr, L"x"), "");
  EXPECT_STREQ(ZqGetPrintFromMultiByteString(nullptr, "x"), L"");
  const wchar_t* same = L"same";
  EXPECT_EQ(ZqGetWideFromPrintString(lang, same), same);
  EXPECT_EQ(ZqGetPrintFromWideString(lang, same), same);
  EXPECT_STREQ(ZqGetPrintFromWideString(nullptr, same), L"");
}

}  // namespace
