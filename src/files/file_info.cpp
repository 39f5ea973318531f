// Facts about files: existence, size, times.
#include "zq/errors.h"
#include "zq/files.h"

namespace {

HANDLE OpenForReading(LPCWSTR path) {
  return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

DWORD DosDateTime(LPCWSTR path, bool local) {
  if (!path) return 0;
  HANDLE file = OpenForReading(path);
  if (file == INVALID_HANDLE_VALUE) return 0;
  FILETIME written{}, shown{};
  const BOOL ok = GetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
  if (!ok) return 0;
  if (!local) shown = written;
  else if (!FileTimeToLocalFileTime(&written, &shown)) return 0;
  WORD date = 0, time = 0;
  if (!FileTimeToDosDateTime(&shown, &date, &time)) return 0;
  return static_cast<DWORD>(date) << 16 | time;
}

}  // namespace

ZQAPI BOOL WINAPI ZqDoesFileExist(LPCWSTR path) noexcept {
  if (!path || !*path) return FALSE;
  HANDLE file = OpenForReading(path);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return TRUE;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION;  // held by someone else: it is there
}

ZQAPI HRESULT WINAPI ZqGetFileSizeByName(LPCWSTR path, ULONGLONG* size) noexcept {
  if (size) *size = 0;
  if (!path || !size) return E_INVALIDARG;
  HANDLE file = OpenForReading(path);
  if (file == INVALID_HANDLE_VALUE) return ZQ_E_FILE_OPEN;
  LARGE_INTEGER bytes{};
  const BOOL ok = GetFileSizeEx(file, &bytes);
  CloseHandle(file);
  if (!ok) return ZQ_E_FILE_OPEN;
  *size = static_cast<ULONGLONG>(bytes.QuadPart);
  return S_OK;
}

ZQAPI DWORD WINAPI ZqDosGetDateTime(LPCWSTR path) noexcept { return DosDateTime(path, true); }
ZQAPI DWORD WINAPI ZqDosGetDateTimeUTC(LPCWSTR path) noexcept { return DosDateTime(path, false); }

ZQAPI DWORD WINAPI ZqGetDateTime(DWORD* words) noexcept {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const DWORD hundredths = now.wMilliseconds / 10u;
  if (words) {
    words[0] = now.wYear | static_cast<DWORD>(now.wDay) << 16 | static_cast<DWORD>(now.wMonth) << 24;
    words[1] = hundredths | static_cast<DWORD>(now.wSecond) << 8 | static_cast<DWORD>(now.wMinute) << 16 |
               static_cast<DWORD>(now.wHour) << 24;
  }
  return hundredths;
}
