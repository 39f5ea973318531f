// Folders: recursive creation and deletion, writability, emptiness.
#include <cwchar>
#include <string>

#include "core/text_copy.h"
#include "files/path_text.h"
#include "zq/errors.h"
#include "zq/files.h"

using namespace zq::files;

namespace {

bool IsFolder(LPCWSTR path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDots(const WCHAR* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

// Deletes what matches `pattern` in `folder` (which ends in "\"), then the
// folder. Links are removed as links: the walk never enters one.
HRESULT DeleteTree(const std::wstring& folder, const WCHAR* pattern, bool recurse) {
  HRESULT result = S_OK;
  bool restart = true;
  while (restart) {
    restart = false;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + pattern).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) break;
    do {
      if (IsDots(entry.cFileName)) continue;
      const std::wstring path = folder + entry.cFileName;
      const bool directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      const bool link = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      if (directory) {
        if (!recurse) continue;
        if (link) {  // the link goes, never what it points at
          if (RemoveDirectoryW(path.c_str()) || DeleteFileW(path.c_str())) restart = true;
          else result = E_FAIL;
        } else if (SUCCEEDED(DeleteTree(path + L"\\", L"*.*", true))) {
          restart = true;  // the listing changed under us: begin again
        } else {
          result = E_FAIL;
        }
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(path.c_str())) result = E_FAIL;
      }
    } while (!restart && FindNextFileW(find, &entry));
    FindClose(find);
  }
  if (!RemoveDirectoryW(folder.c_str())) return E_FAIL;
  return result;
}

}  // namespace

ZQAPI BOOL WINAPI ZqCreateDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES security) noexcept {
  if (!path || BoundedLength(path, kMaxPath) <= 0) return FALSE;
  WCHAR work[kMaxPath];
  const int root = ZqGetRootPathFromFilePath(path, work, kMaxPath);
  if (root <= 2 || !IsFolder(work)) return FALSE;
  zq::core::CopyText(work, kMaxPath, path);
  const int length = static_cast<int>(wcslen(work));
  for (int i = root; i <= length; ++i) {
    if (i < length && work[i] != L'\\') continue;
    const WCHAR kept = work[i];
    work[i] = 0;
    if (work[i - 1] != L'\\' && !IsFolder(work) && !CreateDirectoryW(work, security)) return FALSE;
    work[i] = kept;
  }
  return TRUE;
}

ZQAPI HRESULT WINAPI ZqDeleteDirectory(LPCWSTR path, LPCWSTR pattern, BOOL recurse) noexcept {
  if (!path || BoundedLength(path, kMaxPath) <= 0 || !IsFolder(path)) return ZQ_E_INVALID_FILE_NAME;
  try {
    std::wstring folder(path);
    if (folder.back() != L'\\') folder += L'\\';
    // The folder itself a link: remove the link, never what it points at.
    if (GetFileAttributesW(path) & FILE_ATTRIBUTE_REPARSE_POINT) return RemoveDirectoryW(path) ? S_OK : E_FAIL;
    return DeleteTree(folder, pattern && *pattern ? pattern : L"*.*", recurse != FALSE);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

ZQAPI BOOL WINAPI ZqIsDirectoryWritable(LPCWSTR path) noexcept {
  if (!path || BoundedLength(path, kMaxPath) <= 0 || !IsFolder(path)) return FALSE;
  // A file made for real and deleted again: a free name alone proves nothing.
  WCHAR prefix[kMaxPath];
  zq::core::CopyText(prefix, kMaxPath, path);
  if (ZqAddSlashToPathName(prefix, kMaxPath) <= 0) return FALSE;
  zq::core::AppendText(prefix, kMaxPath, L"zqw");
  WCHAR file[kMaxPath];
  if (FAILED(ZqCreateTempFileAndName(prefix, L".tmp", file, kMaxPath))) return FALSE;
  DeleteFileW(file);
  return TRUE;
}

ZQAPI BOOL WINAPI ZqIsDirectoryEmpty(LPCWSTR path) noexcept {
  const int length = path ? BoundedLength(path, kMaxPath) : -1;
  if (length < 0 || length + 4 >= kMaxPath) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return FALSE;
  }
  WCHAR pattern[kMaxPath];
  zq::core::CopyText(pattern, kMaxPath, path);
  ZqAddSlashToPathName(pattern, kMaxPath);
  zq::core::AppendText(pattern, kMaxPath, L"*.*");
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW(pattern, &entry);
  if (find == INVALID_HANDLE_VALUE) return FALSE;  // cannot be listed: not known to be empty
  bool empty = true;
  do {
    if (!IsDots(entry.cFileName)) empty = false;
  } while (empty && FindNextFileW(find, &entry));
  FindClose(find);
  if (empty) SetLastError(ERROR_SUCCESS);
  return empty;
}
