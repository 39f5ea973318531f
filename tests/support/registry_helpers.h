// Reading the registry the plain way, to check what the module wrote.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace testsupport {
bool KeyExists(HKEY root, const std::wstring& path);
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const wchar_t* name);
std::optional<DWORD> ReadDword(HKEY root, const std::wstring& path, const wchar_t* name);
// Runs a program of the system directory (e.g. L"regsvr32.exe /s x.dll"); its exit code.
DWORD RunSystemProgram(const std::wstring& commandLine);
// The same with what it writes to its output and error streams captured.
DWORD RunSystemProgramCapture(const std::wstring& commandLine, std::string* output);
}  // namespace testsupport
