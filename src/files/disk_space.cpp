// Free and total space of a volume, and the free-space text.
#include <cwchar>

#include "core/text_copy.h"
#include "files/files_ids.h"
#include "files/path_text.h"
#include "settings/lang_library.h"
#include "text/printer.h"
#include "zq/files.h"

using namespace zq::files;

namespace {

// The volume's free and total bytes; false (GetLastError set) when the
// path has no root or the volume cannot be asked. The path's folder is
// asked itself: a file in a missing folder has no space to tell.
bool QuerySpace(LPCWSTR path, ULONGLONG* free, ULONGLONG* total) {
  if (!path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  WCHAR folder[kMaxPath];
  const int length = ZqGetPathNameFromFilePath(path, folder, kMaxPath);
  if (length > 0 && length < kMaxPath) {
    ULARGE_INTEGER available{}, size{};
    if (!GetDiskFreeSpaceExW(folder, &available, &size, nullptr)) return false;
    *free = available.QuadPart;
    *total = size.QuadPart;
    return true;
  }
  WCHAR root[kMaxPath];
  if (ZqGetRootPathFromFilePath(path, root, kMaxPath) <= 0) {
    SetLastError(ERROR_BAD_PATHNAME);
    return false;
  }
  DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceW(root, &sectors, &bytes, &freeClusters, &clusters)) return false;
  *free = static_cast<ULONGLONG>(sectors) * bytes * freeClusters;
  *total = static_cast<ULONGLONG>(sectors) * bytes * clusters;
  return true;
}

DWORD InUnits(ULONGLONG bytes, DWORD unit) {
  const ULONGLONG v = unit ? bytes / unit : bytes;
  return v > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(v);
}

}  // namespace

ZQAPI DWORD WINAPI ZqGetDiskFreeSpace(LPCWSTR path, DWORD unit) noexcept {
  ULONGLONG free = 0, total = 0;
  return QuerySpace(path, &free, &total) ? InUnits(free, unit) : 0;
}

ZQAPI DWORD WINAPI ZqGetDiskTotalSpace(LPCWSTR path, DWORD unit) noexcept {
  ULONGLONG free = 0, total = 0;
  return QuerySpace(path, &free, &total) ? InUnits(total, unit) : 0;
}

ZQAPI int WINAPI ZqFormatDiskFreeSpace(LPCWSTR path, LPWSTR buffer) noexcept {
  if (!buffer) return 0;
  ULONGLONG free = 0, total = 0;
  if (path && *path && QuerySpace(path, &free, &total) && InUnits(free, 102400) != 0xFFFFFFFFu) {
    const LONG tenths = static_cast<LONG>(InUnits(free, 102400) > 0x7FFFFFFFu ? 0x7FFFFFFF : InUnits(free, 102400));
    return zq::text::PrintBounded(buffer, ZQ_SIZE_TEXT_CAPACITY,
                                  zq::settings::DefaultLangString(IDS_ZQ_DISK_SPACE_MB), tenths);
  }
  return zq::core::CopyText(buffer, ZQ_SIZE_TEXT_CAPACITY, zq::settings::DefaultLangString(IDS_ZQ_DISK_SPACE_UNKNOWN));
}
