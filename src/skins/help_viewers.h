// The two help viewers, called through pointers so that a test can put
// recorders in their place (the real viewers block or are incomplete
// under some systems).
#pragma once
#include <windows.h>

namespace zq::skins {

using WinHelpFunction = BOOL(WINAPI*)(HWND, LPCWSTR, UINT, ULONG_PTR);
using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

struct HelpViewers {
  WinHelpFunction winHelp;
  HtmlHelpFunction htmlHelp;
};

// The viewers in use; SetHelpViewers(nullptr) restores the platform's.
const HelpViewers& Viewers() noexcept;
void SetHelpViewers(const HelpViewers* viewers) noexcept;

}  // namespace zq::skins
