// Shared pieces of the language tests: the modules involved, a reader of
// language-module string tables that does not go through the library, and
// handles that put the library back to English when a test ends.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "zq/lang.h"

namespace langtest {

constexpr LCID kGerman = 0x0407;
constexpr LCID kEnglishUs = 0x0409;

HMODULE Program();                   // the test program (English resources)
HMODULE Library();                   // quillet.dll
std::wstring BinPath(const wchar_t* file);  // a file beside the test program

// String `id` of a module file's string table in `language`, read with the
// resource functions on a data-file load; nothing when the block or the
// entry is missing or empty.
std::optional<std::wstring> StringInFile(const std::wstring& file, UINT id, WORD language);
// The module's own string (LoadStringW).
std::wstring ModuleString(HMODULE module, UINT id);

// A handle opened for a test; closing it also sets the library's default
// handle back to English (ZqLang_UpdateKernelLCID changes both).
class Handle {
 public:
  explicit Handle(HMODULE module, LCID lcid = 0, UINT buffer = 0);
  ~Handle();
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HZQLANG get() const { return lang_; }
  operator HZQLANG() const { return lang_; }
  void German() const { ZqLang_UpdateKernelLCID(lang_, kGerman, 0); }
  void English() const { ZqLang_UpdateKernelLCID(lang_, kEnglishUs, 0); }

 private:
  HZQLANG lang_ = nullptr;
};

std::wstring WindowText(HWND window);
// Lets a shown window paint.
void PumpMessages(DWORD milliseconds);
}  // namespace langtest
