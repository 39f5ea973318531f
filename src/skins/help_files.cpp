// Finding a module's help file (beside it, beside the host, in the shared
// help folder; localised variants first) and the current file per help
// system.
#include <cwchar>

#include "core/module_state.h"
#include "core/text_copy.h"
#include "text/printer.h"
#include "zq/files.h"
#include "zq/help.h"
#include "zq/lang.h"

namespace {

constexpr int kPath = MAX_PATH;
WCHAR g_current[2][kPath];  // one current file per help system

const WCHAR* Extension(int kind) { return kind == ZQHELP_HTML ? L".chm" : L".hlp"; }

// Replaces `path` (kPath characters) by its variant for the library's
// language when that file exists: the abbreviation before the extension,
// else the first match of its first two letters and anything.
void Localise(WCHAR* path) {
  WCHAR abbrev[16] = L"";
  ZqLang_GetLangAbbrev(zq::core::DefaultLang(), abbrev, 16);
  if (!abbrev[0] || CompareStringOrdinal(abbrev, -1, L"enu", -1, TRUE) == CSTR_EQUAL) return;
  WCHAR base[kPath], extension[kPath], candidate[kPath];
  zq::core::CopyText(base, kPath, path);
  WCHAR* dot = const_cast<WCHAR*>(ZqGetFileNameExtensionPtrW(base));
  zq::core::CopyText(extension, kPath, dot);
  *dot = 0;
  if (zq::text::PrintBounded(candidate, kPath, L"%s%s%s", base, abbrev, extension) < kPath - 1 &&
      ZqDoesFileExist(candidate)) {
    zq::core::CopyText(path, kPath, candidate);
    return;
  }
  const WCHAR two[3] = {abbrev[0], abbrev[1], 0};
  if (zq::text::PrintBounded(candidate, kPath, L"%s%s%s%s", base, two, L"*", extension) >= kPath - 1) return;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(candidate, &found);
  if (find == INVALID_HANDLE_VALUE) return;
  FindClose(find);
  WCHAR folder[kPath];
  const int n = ZqGetPathNameFromFilePath(base, folder, kPath);
  if (n + wcslen(found.cFileName) + 1 > static_cast<size_t>(kPath)) return;
  zq::core::AppendText(folder, kPath, found.cFileName);
  zq::core::CopyText(path, kPath, folder);
}

// The help file's name for `module` in `folder` (with its "\"), or beside
// the module when `folder` is null; localised.
bool HelpPath(int kind, HMODULE module, const WCHAR* folder, WCHAR* path) {
  WCHAR modulePath[kPath];
  if (!ZqGetModuleFileName(module, modulePath, kPath)) return false;
  if (folder) {
    path[0] = 0;
    zq::core::CopyText(path, kPath, folder);
    if (wcslen(path) + wcslen(ZqGetFileNamePtrW(modulePath)) + 4 >= static_cast<size_t>(kPath)) return false;
    zq::core::AppendText(path, kPath, ZqGetFileNamePtrW(modulePath));
  } else {
    zq::core::CopyText(path, kPath, modulePath);
  }
  WCHAR* dot = const_cast<WCHAR*>(ZqGetFileNameExtensionPtrW(path));
  *dot = 0;
  if (ZqAddExtensionToPathName(path, kPath, Extension(kind)) <= 0 ||
      wcscmp(ZqGetFileNameExtensionPtrW(path), Extension(kind)) != 0)
    return false;
  Localise(path);
  return true;
}

// The shared help folder with its "\", when it names an existing folder.
bool SharedFolder(WCHAR* folder) {
  DWORD bytes = (kPath - 1) * sizeof(WCHAR);
  DWORD type = 0;
  folder[0] = 0;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Halvane\\Shared Information", L"HelpFolder", RRF_RT_REG_SZ,
                   &type, folder, &bytes) != ERROR_SUCCESS)
    return false;
  folder[kPath - 1] = 0;
  const DWORD attributes = GetFileAttributesW(folder);
  if (!folder[0] || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  return ZqAddSlashToPathName(folder, kPath) > 0;
}

// Copies a help path into the caller's buffer (cut to its length).
void Give(const WCHAR* path, LPWSTR buffer, int length) { zq::core::CopyText(buffer, length, path); }

}  // namespace

ZQAPI BOOL WINAPI ZqHelp_CreateHelpFilePath(int kind, HMODULE module, LPWSTR buffer, int length) noexcept {
  if (!buffer || length <= 0) return FALSE;
  WCHAR path[kPath], plain[kPath];
  if (!HelpPath(kind, module, nullptr, path)) {
    buffer[0] = 0;
    return FALSE;
  }
  Give(path, buffer, length);
  // Localised when the path is not the plain one.
  zq::core::CopyText(plain, kPath, path);
  WCHAR modulePath[kPath];
  ZqGetModuleFileName(module, modulePath, kPath);
  *const_cast<WCHAR*>(ZqGetFileNameExtensionPtrW(modulePath)) = 0;
  ZqAddExtensionToPathName(modulePath, kPath, Extension(kind));
  return CompareStringOrdinal(path, -1, modulePath, -1, TRUE) != CSTR_EQUAL;
}

ZQAPI BOOL WINAPI ZqHelp_CreateSharedHelpFilePath(int kind, HMODULE module, LPWSTR buffer, int length) noexcept {
  if (!buffer || length <= 0) return FALSE;
  WCHAR folder[kPath], path[kPath];
  if (!SharedFolder(folder) || !HelpPath(kind, module, folder, path)) return FALSE;
  Give(path, buffer, length);
  return TRUE;
}

ZQAPI BOOL WINAPI ZqHelp_CreateHelpFilePathEX(int kind, HMODULE module, LPWSTR buffer, int length) noexcept {
  if (ZqHelp_CreateSharedHelpFilePath(kind, module, buffer, length)) return TRUE;
  return ZqHelp_CreateHelpFilePath(kind, module, buffer, length);
}

ZQAPI BOOL WINAPI ZqHelp_CreateUnsharedHelpFilePath(int kind, HMODULE module, LPWSTR buffer, int length) noexcept {
  if (!buffer || length <= 0) return FALSE;
  WCHAR path[kPath];
  if (HelpPath(kind, module, nullptr, path) && ZqDoesFileExist(path)) {
    Give(path, buffer, length);
    return TRUE;
  }
  WCHAR hostFolder[kPath];
  if (!ZqGetModulePath(nullptr, hostFolder, kPath) || !HelpPath(kind, module, hostFolder, path)) {
    buffer[0] = 0;
    return FALSE;
  }
  Give(path, buffer, length);
  return ZqDoesFileExist(path);
}

ZQAPI BOOL WINAPI ZqHelp_CreatePluginHelpFilePath(int kind, HMODULE module, LPWSTR buffer, int length,
                                                  BOOL preferShared) noexcept {
  if (!buffer || length <= 0) return FALSE;
  buffer[0] = 0;
  auto shared = [&] { return ZqHelp_CreateSharedHelpFilePath(kind, module, buffer, length) && ZqDoesFileExist(buffer); };
  auto unshared = [&] { return ZqHelp_CreateUnsharedHelpFilePath(kind, module, buffer, length) != FALSE; };
  const bool found = preferShared ? (shared() || unshared()) : (unshared() || shared());
  if (!found) buffer[0] = 0;
  return found;
}

ZQAPI void WINAPI ZqHelp_SetHelpFilePath(int kind, LPCWSTR path) noexcept {
  if (kind != ZQHELP_CLASSIC && kind != ZQHELP_HTML) return;
  zq::core::CopyText(g_current[kind], kPath, path);
}

ZQAPI void WINAPI ZqHelp_GetHelpFilePath(int kind, LPWSTR buffer, int length) noexcept {
  if (kind != ZQHELP_CLASSIC && kind != ZQHELP_HTML) return;
  zq::core::CopyText(buffer, length, g_current[kind]);
}
