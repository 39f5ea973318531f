#include "skins/help_viewers.h"

namespace zq::skins {
namespace {

HMODULE g_htmlHelpModule = nullptr;

// "HHCTRL.OCX" is loaded on first use and kept; the entry point is looked
// up on each call, and a module without it is released and forgotten.
HWND WINAPI PlatformHtmlHelp(HWND window, LPCWSTR file, UINT command, DWORD_PTR data) {
  if (!g_htmlHelpModule) g_htmlHelpModule = LoadLibraryW(L"HHCTRL.OCX");
  if (!g_htmlHelpModule) return nullptr;
  auto entry = reinterpret_cast<HtmlHelpFunction>(GetProcAddress(g_htmlHelpModule, "HtmlHelpW"));
  if (!entry) {
    FreeLibrary(g_htmlHelpModule);
    g_htmlHelpModule = nullptr;
    return nullptr;
  }
  return entry(window, file, command, data);
}

const HelpViewers kPlatform{WinHelpW, PlatformHtmlHelp};
HelpViewers g_viewers = kPlatform;

}  // namespace

const HelpViewers& Viewers() noexcept { return g_viewers; }
void SetHelpViewers(const HelpViewers* viewers) noexcept { g_viewers = viewers ? *viewers : kPlatform; }

}  // namespace zq::skins
