// Where a test finds the built module and writes what it leaves behind.
#pragma once
#include <string>

namespace testsupport {
std::wstring ExeDirectory();              // the folder of the running test
std::wstring ModulePath();                // build/bin/quillet.dll
std::wstring BuildPath(const wchar_t* relative);  // build/<relative>
}  // namespace testsupport
