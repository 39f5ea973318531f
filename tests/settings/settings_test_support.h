// Plain registry access for the settings tests: what the module wrote,
// read back without going through the module.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace settingstest {

inline const HKEY kUser = HKEY_CURRENT_USER;
inline const HKEY kMachine = HKEY_LOCAL_MACHINE;

struct RawValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

// A value as stored (RegQueryValueExW); nothing when the key or value is missing.
std::optional<RawValue> ReadRaw(HKEY root, const std::wstring& path, const wchar_t* name);
// Writes a value the way another program could (no checks of its form).
bool WriteRaw(HKEY root, const std::wstring& path, const wchar_t* name, DWORD type, const void* data,
              DWORD size);
bool KeyExists(HKEY root, const std::wstring& path);
bool CreateKey(HKEY root, const std::wstring& path);
// Removes a test's keys (RegDeleteTreeW, not the module's own deletion).
void RemoveTree(HKEY root, const std::wstring& path);

// Bytes of a UTF-16 text of `chars` characters (embedded nulls kept).
std::vector<BYTE> TextBytes(const wchar_t* text, size_t chars);
std::vector<BYTE> NumberBytes(DWORD value);

// The current test's name, for keys no other test uses.
std::wstring TestKeyName(const wchar_t* prefix);

}  // namespace settingstest
