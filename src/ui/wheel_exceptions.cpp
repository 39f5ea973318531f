// The host program's entry in the mouse driver's list of programs that do
// their own wheel scrolling: one numbered subkey per program under
// HKEY_CURRENT_USER, holding its file name.
#include <cwchar>

#include "ui/wheel_internal.h"
#include "settings/registry_key.h"

namespace zq::controls {
namespace {

using Key = zq::settings::RegKey;

constexpr wchar_t kExceptionsKey[] = L"Control Panel\\Microsoft Input Devices\\Mouse\\Exceptions";
constexpr DWORD kFirstNumber = 1001;

// The number a subkey is named by; false for a name that is not all digits.
bool KeyNumber(const wchar_t* name, DWORD* number) {
  if (!*name) return false;
  unsigned long long value = 0;
  for (const wchar_t* c = name; *c; ++c) {
    if (*c < L'0' || *c > L'9') return false;
    value = value * 10 + (*c - L'0');
    if (value > 0xFFFFFFFEull) return false;
  }
  *number = static_cast<DWORD>(value);
  return true;
}

// The "Filename" of a subkey: empty when it has none.
LONG ReadFileName(HKEY key, wchar_t* text, DWORD capacity) {
  DWORD type = 0, bytes = (capacity - 1) * sizeof(wchar_t);
  text[0] = 0;
  const LONG status = RegQueryValueExW(key, L"Filename", nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
    text[0] = 0;
    return status;
  }
  text[bytes / sizeof(wchar_t)] = 0;
  return status;
}

LONG WriteEntry(HKEY key, const wchar_t* fileName) {
  LONG status = RegSetValueExW(key, L"Filename", 0, REG_SZ, reinterpret_cast<const BYTE*>(fileName),
                               static_cast<DWORD>((wcslen(fileName) + 1) * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS) return status;
  static const wchar_t kDescription[] = L"Halvane Application";
  status = RegSetValueExW(key, L"Description", 0, REG_SZ, reinterpret_cast<const BYTE*>(kDescription),
                          sizeof(kDescription));
  if (status != ERROR_SUCCESS) return status;
  const DWORD version = 0xFFFFFFFF;
  return RegSetValueExW(key, L"Version", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&version), sizeof(version));
}

}  // namespace

LONG RegisterWheelException() noexcept {
  wchar_t path[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
  path[length] = 0;
  const wchar_t* fileName = path;
  for (const wchar_t* c = path; *c; ++c)
    if (*c == L'\\' || *c == L'/' || *c == L':') fileName = c + 1;

  Key exceptions;
  LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, kExceptionsKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                exceptions.put(), nullptr);
  if (status != ERROR_SUCCESS) return status;

  // Every numbered entry counts, whatever its number.
  DWORD highest = 0;
  wchar_t name[256], existing[MAX_PATH + 1];
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = 256;
    status = RegEnumKeyExW(exceptions.get(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) return status;
    DWORD number = 0;
    if (!KeyNumber(name, &number)) continue;
    if (number > highest) highest = number;
    Key entry;
    status = RegOpenKeyExW(exceptions.get(), name, 0, KEY_READ, entry.put());
    if (status != ERROR_SUCCESS) continue;
    status = ReadFileName(entry.get(), existing, MAX_PATH + 1);
    if (status == ERROR_SUCCESS && lstrcmpiW(existing, fileName) == 0) return status;
  }

  // A new entry above all others. A key that appeared meanwhile under that
  // number is left alone when it names another program.
  DWORD number = highest + 1 < kFirstNumber ? kFirstNumber : highest + 1;
  for (int tries = 0; tries < 16 && number != 0; ++tries, ++number) {
    swprintf(name, 256, L"%lu", static_cast<unsigned long>(number));
    Key entry;
    DWORD disposition = 0;
    status = RegCreateKeyExW(exceptions.get(), name, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, entry.put(),
                             &disposition);
    if (status != ERROR_SUCCESS) return status;
    if (disposition == REG_OPENED_EXISTING_KEY) {
      ReadFileName(entry.get(), existing, MAX_PATH + 1);
      if (existing[0] && lstrcmpiW(existing, fileName) != 0) continue;
    }
    return WriteEntry(entry.get(), fileName);
  }
  return ERROR_ALREADY_EXISTS;
}

}  // namespace zq::controls
