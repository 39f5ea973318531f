// Runtime services through the module's exports.
#include <gtest/gtest.h>
#include <cpuid.h>
#include <objbase.h>

#include <string>

#include "zq/kernel.h"

namespace {

TEST(Cpu, FeatureWordAgreesWithTheProcessor) {
  unsigned a, b, c, d;
  __cpuid(1, a, b, c, d);
  const bool sse2 = (d >> 26) & 1, mmx = (d >> 23) & 1;
  EXPECT_EQ(ZqGetCPUSupport(ZQCPU_SSE2), sse2 ? ZQCPU_SSE2 : 0u);
  EXPECT_EQ(ZqGetCPUSupport(ZQCPU_MMX), mmx ? ZQCPU_MMX : 0u);
  DWORD word = ZqGetCPUSupport(0);
  EXPECT_EQ(word & ZQCPU_LEVEL_MASK, sse2 ? 6u : word & ZQCPU_LEVEL_MASK);
  EXPECT_EQ(ZqGetCPUSupport(0xFFFFFFFF), word);
  EXPECT_EQ(ZqGetCPUSupport(ZQCPU_SSE3) != 0, (c & 1) != 0);
}

TEST(Platform, NameAndRequirementsOfTheRunningSystem) {
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof(v);
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ASSERT_TRUE(GetVersionExW(&v));
  ASSERT_EQ(v.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_FALSE(ZqIsWin95());
  wchar_t name[32];
  EXPECT_TRUE(ZqGetOS(name, 32));
  std::wstring expected = v.dwMajorVersion < 5 ? L"Windows NT" : v.dwMinorVersion == 0 ? L"Windows 2000" : L"Windows XP";
  EXPECT_EQ(name, expected);
  wchar_t small[5] = {L'#', L'#', L'#', L'#', L'#'};
  EXPECT_TRUE(ZqGetOS(small, 4));
  EXPECT_EQ(std::wstring(small), expected.substr(0, 3));
  EXPECT_EQ(small[4], L'#');
  small[0] = L'#';
  ZqGetOS(small, 0);
  EXPECT_EQ(small[0], L'#');  // nothing written without room

  EXPECT_FALSE(ZqOSVersionOK(ZQOS_WIN95));
  EXPECT_FALSE(ZqOSVersionOK(3));  // any 9x system only
  EXPECT_TRUE(ZqOSVersionOK(ZQOS_NT4));
  EXPECT_EQ(ZqOSVersionOK(ZQOS_WINXP), v.dwMajorVersion > 5 || (v.dwMajorVersion == 5 && v.dwMinorVersion >= 1));
}

TEST(Platform, ColourFlagsFollowTheScreen) {
  HDC dc = GetDC(nullptr);
  if (!dc) GTEST_SKIP() << "no display";
  bool high = GetDeviceCaps(dc, BITSPIXEL) > 15;
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(ZqIsHighColor() != 0, high);
  EXPECT_EQ(ZqKernel_UserPrefChanges(nullptr, WM_DISPLAYCHANGE, 0, 0), 0);
  EXPECT_EQ(ZqIsHighColor() != 0, high);
  EXPECT_EQ(ZqIsAllMonitorsHighColor() != 0, high);  // one screen under test
}

TEST(Platform, SplashValueIsKeptOnly) {
  int marker;
  EXPECT_EQ(ZqKernel_SetSplash(&marker), &marker);
  EXPECT_EQ(ZqKernel_SetSplash(nullptr), nullptr);
}

TEST(Timer, DeltaRestartsTheStampGetDoesNot) {
  ZQTIMESTAMP stamp = 0;
  ZqDeltaMillisecEx(&stamp);
  ZQTIMESTAMP start = stamp;
  Sleep(60);
  DWORD first = ZqGetMillisecEx(&stamp);
  EXPECT_EQ(stamp, start);
  EXPECT_GE(first, 50u);
  EXPECT_LT(first, 2000u);
  Sleep(20);
  EXPECT_GE(ZqGetMillisecEx(&stamp), first + 15);
  DWORD micro = ZqGetMicrosecEx(&stamp);
  EXPECT_GE(micro, (first + 15) * 1000u);
  const DWORD total = ZqDeltaMillisecEx(&stamp);
  EXPECT_GE(total, first + 15);
  EXPECT_LT(ZqDeltaMillisecEx(&stamp), total / 2);  // just restarted (with room for a busy machine)
  ZqDeltaMicrosecEx(&stamp);
  EXPECT_LT(ZqDeltaMicrosecEx(&stamp), total * 1000 / 2);
  EXPECT_EQ(ZqGetMillisecEx(nullptr), 0u);
}

TEST(Timer, LibraryClockRunsFromStartUp) {
  DWORD ms = ZqGetMillisec();
  Sleep(30);
  EXPECT_GE(ZqGetMillisec(), ms + 25);
  EXPECT_GE(ZqGetMicrosec(), (ms + 25) * 1000u);
  EXPECT_EQ(ZqTimer_LateInitialize(), 0u);
}

TEST(GuidText, RoundTripAndFormat) {
  const GUID g = {0x01234567, 0x89ab, 0xcdef, {0xfe, 0xdc, 0xba, 0x98, 0x76, 0x54, 0x32, 0x10}};
  wchar_t text[40];
  EXPECT_EQ(ZqGuidToString(g, text, 40), S_OK);
  EXPECT_STREQ(text, L"01234567-89ab-cdef-fedc-ba9876543210");
  GUID back{};
  EXPECT_EQ(ZqGuidFromString(text, &back), S_OK);
  EXPECT_TRUE(IsEqualGUID(g, back));
  // Cross-check with the system's own GUID text.
  wchar_t system[40];
  StringFromGUID2(g, system, 40);
  EXPECT_EQ(_wcsicmp(std::wstring(system).substr(1, 36).c_str(), text), 0);
  EXPECT_EQ(ZqGuidFromString(L"7F2A1B3C-0D4E-4F50-8A9B-0C1D2E3F4A5B", &back), S_OK);
  EXPECT_EQ(back.Data1, 0x7F2A1B3Cu);
  EXPECT_EQ(back.Data4[7], 0x5B);

  wchar_t shortText[9] = {};
  ZqGuidToString(g, shortText, 9);
  EXPECT_STREQ(shortText, L"01234567");
  GUID untouched = g;
  EXPECT_EQ(ZqGuidFromString(system, &untouched), E_FAIL);  // braces are not part of the pattern
  EXPECT_EQ(ZqGuidFromString(L"01234567-89ab-cdef-fedc", &untouched), E_FAIL);
  EXPECT_EQ(ZqGuidFromString(L"", &untouched), E_FAIL);
  EXPECT_TRUE(IsEqualGUID(untouched, g));
  EXPECT_EQ(ZqGuidFromString(nullptr, &untouched), E_POINTER);
}

TEST(Bits, CountAndMasks) {
  EXPECT_EQ(ZqCountBits(0xF0F0), 8);
  EXPECT_EQ(ZqCountBits(0), 0);
  EXPECT_EQ(ZqCountBits(0xFFFFFFFF), 32);
  struct Case { int first, count; DWORD mask; } cases[] = {
      {4, 3, 0x70},        {0, 32, 0xFFFFFFFF}, {0, 0, 0},          {3, -2, 0},
      {31, 1, 0x80000000}, {30, 5, 0xC0000000}, {32, 1, 0},         {40, 8, 0},
      {-2, 4, 0x3},        {0, 1000, 0xFFFFFFFF}, {-100, 50, 0}, {16, 0x7FFFFFFF, 0xFFFF0000},
  };
  for (const auto& c : cases) EXPECT_EQ(ZqCreateBitMask(c.first, c.count), c.mask) << c.first << "," << c.count;
  // Against a bit-by-bit construction.
  for (int first = -3; first < 36; ++first)
    for (int count = 0; count < 36; ++count) {
      DWORD expected = 0;
      for (int b = first; b < first + count; ++b)
        if (b >= 0 && b < 32) expected |= 1u << b;
      ASSERT_EQ(ZqCreateBitMask(first, count), expected);
    }
}

}  // namespace
