#include "lang_test_support.h"

#include <vector>

#include "test_paths.h"

namespace langtest {

HMODULE Program() { return GetModuleHandleW(nullptr); }
HMODULE Library() { return GetModuleHandleW(L"quillet.dll"); }
std::wstring BinPath(const wchar_t* file) { return testsupport::ExeDirectory() + L"\\" + file; }

std::optional<std::wstring> StringInFile(const std::wstring& file, UINT id, WORD language) {
  HMODULE data = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!data) return std::nullopt;
  std::optional<std::wstring> result;
  HRSRC block = FindResourceExW(data, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
  HGLOBAL loaded = block ? LoadResource(data, block) : nullptr;
  auto* p = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
  if (p) {
    const WCHAR* end = p + SizeofResource(data, block) / sizeof(WCHAR);
    for (UINT i = 0; i < id % 16 && p < end; ++i) p += 1 + *p;
    if (p < end && *p) result = std::wstring(p + 1, *p);
  }
  FreeLibrary(data);
  return result;
}

std::wstring ModuleString(HMODULE module, UINT id) {
  WCHAR text[1024] = {};
  int length = LoadStringW(module, id, text, 1024);
  return std::wstring(text, length > 0 ? length : 0);
}

Handle::Handle(HMODULE module, LCID lcid, UINT buffer) { ZqLang_Open(&lang_, module, lcid, buffer); }

Handle::~Handle() {
  if (lang_) ZqLang_UpdateKernelLCID(lang_, kEnglishUs, 0);
  ZqLang_Close(lang_);
}

std::wstring WindowText(HWND window) {
  WCHAR text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

void PumpMessages(DWORD milliseconds) {
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  } while (GetTickCount() - start < milliseconds);
}


}  // namespace langtest
