// Windows family, version names and requirements, colour depth.
#include "core/platform.h"

#include <atomic>
#include <cwchar>

#include "core/text_copy.h"

namespace zq::core {
namespace {

std::atomic<int> g_win95{-1};
std::atomic<int> g_highColor{-1};
std::atomic<int> g_allHighColor{-1};
std::atomic<void (*)()> g_sysColorHandler{nullptr};

OSVERSIONINFOW ReadVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&info);
#pragma GCC diagnostic pop
  return info;
}

bool ComputeHighColor() {
  HDC dc = GetDC(nullptr);
  if (!dc) return false;
  bool high = GetDeviceCaps(dc, BITSPIXEL) > 15;
  ReleaseDC(nullptr, dc);
  return high;
}

BOOL CALLBACK CheckMonitorDepth(HMONITOR monitor, HDC, LPRECT, LPARAM flag) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    HDC dc = CreateDCW(L"DISPLAY", info.szDevice, nullptr, nullptr);
    if (dc) {
      if (GetDeviceCaps(dc, BITSPIXEL) < 16) *reinterpret_cast<bool*>(flag) = false;
      DeleteDC(dc);
    }
  }
  return TRUE;
}

bool ComputeAllMonitorsHighColor() {
  bool all = true;
  EnumDisplayMonitors(nullptr, nullptr, CheckMonitorDepth, reinterpret_cast<LPARAM>(&all));
  return all;
}

void RecomputeColorFlags() {
  g_highColor = ComputeHighColor() ? 1 : 0;
  g_allHighColor = ComputeAllMonitorsHighColor() ? 1 : 0;
}

int ServicePackNumber(const WCHAR* text) {
  int number = 0;
  if (!text || !*text || swscanf(text, L"Service Pack %d", &number) != 1) return 0;
  return number;
}

struct Requirement {
  DWORD platform, major, minor;
  int servicePack;
};

Requirement RequirementFor(int code) {
  switch (code) {
    case 0: return {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0};
    case 1: return {VER_PLATFORM_WIN32_WINDOWS, 4, 1, 0};
    case 2: return {VER_PLATFORM_WIN32_WINDOWS, 4, 1, 1};
    case 4: return {VER_PLATFORM_WIN32_NT, 4, 0, 0};
    case 5: return {VER_PLATFORM_WIN32_NT, 5, 0, 0};
    case 6: return {VER_PLATFORM_WIN32_NT, 5, 1, 0};
    default: return {VER_PLATFORM_WIN32_WINDOWS, 0, 0, 0};
  }
}

}  // namespace

bool PlatformName(const OSVERSIONINFOW& v, const WCHAR** name) noexcept {
  *name = L"";
  if (v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
    if (v.dwMajorVersion < 4) *name = L"Windows 95";
    else if (v.dwMinorVersion >= 90) *name = L"Windows Me";
    else if (v.dwMinorVersion >= 1) *name = v.szCSDVersion[0] && v.szCSDVersion[1] == L'A' ? L"Windows 98 SE" : L"Windows 98";
    else if (v.dwMajorVersion == 4) *name = L"Windows 95";
    return true;
  }
  if (v.dwPlatformId == VER_PLATFORM_WIN32_NT) {
    if (v.dwMajorVersion < 5) *name = L"Windows NT";
    else *name = v.dwMinorVersion == 0 ? L"Windows 2000" : L"Windows XP";
    return true;
  }
  *name = L"Unknown";
  return false;
}

bool VersionMeets(const OSVERSIONINFOW& v, int code) noexcept {
  Requirement need = RequirementFor(code);
  if (v.dwPlatformId != need.platform) return false;
  if (v.dwMajorVersion != need.major) return v.dwMajorVersion > need.major;
  if (v.dwMinorVersion != need.minor) return v.dwMinorVersion > need.minor;
  return ServicePackNumber(v.szCSDVersion) >= need.servicePack;
}

void SetSysColorChangeHandler(void (*handler)()) noexcept { g_sysColorHandler = handler; }

DWORD CpuFeatureWord() noexcept;  // cpu.cpp

void PlatformStartup() noexcept {
  g_win95 = ReadVersion().dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? 1 : 0;
  CpuFeatureWord();
}

}  // namespace zq::core

using namespace zq::core;

ZQAPI BOOL WINAPI ZqIsWin95(void) noexcept {
  int cached = g_win95.load();
  if (cached < 0) {
    cached = ReadVersion().dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? 1 : 0;
    g_win95 = cached;
  }
  return cached;
}

ZQAPI BOOL WINAPI ZqGetOS(LPWSTR name, int capacity) noexcept {
  const WCHAR* text = nullptr;
  bool known = PlatformName(ReadVersion(), &text);
  // A family without a name for this version writes nothing.
  if (*text) CopyText(name, capacity, text);
  return known ? TRUE : FALSE;
}

ZQAPI BOOL WINAPI ZqOSVersionOK(int requirement) noexcept { return VersionMeets(ReadVersion(), requirement); }

ZQAPI BOOL WINAPI ZqIsHighColor(void) noexcept {
  if (g_highColor.load() < 0) g_highColor = ComputeHighColor() ? 1 : 0;
  return g_highColor.load();
}

ZQAPI BOOL WINAPI ZqIsAllMonitorsHighColor(void) noexcept {
  if (g_allHighColor.load() < 0) g_allHighColor = ComputeAllMonitorsHighColor() ? 1 : 0;
  return g_allHighColor.load();
}

ZQAPI LRESULT WINAPI ZqKernel_UserPrefChanges(HWND, UINT message, WPARAM, LPARAM) noexcept {
  if (message == WM_SYSCOLORCHANGE) {
    RecomputeColorFlags();
    if (auto handler = g_sysColorHandler.load()) handler();
  } else if (message == WM_DISPLAYCHANGE) {
    RecomputeColorFlags();
  }
  return 0;
}
