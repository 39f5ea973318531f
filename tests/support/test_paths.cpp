#include "test_paths.h"

#include <windows.h>

namespace testsupport {

std::wstring ExeDirectory() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  return dir.substr(0, dir.find_last_of(L"\\/"));
}

std::wstring ModulePath() { return ExeDirectory() + L"\\quillet.dll"; }

std::wstring BuildPath(const wchar_t* relative) {
  std::wstring bin = ExeDirectory();
  return bin.substr(0, bin.find_last_of(L"\\/")) + L"\\" + relative;
}

}  // namespace testsupport
