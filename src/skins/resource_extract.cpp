// A resource, found through a language handle, written out to a file that
// ends where the writing ended.
#include "zq/errors.h"
#include "zq/lang.h"
#include "zq/marker.h"

ZQAPI HRESULT WINAPI ZqExtractResourceToFile(HZQLANG lang, LPCWSTR name, LPCWSTR type, LPCWSTR path) noexcept {
  if (!path) return E_POINTER;
  HRSRC resource = ZqFindResource(lang, name, type);
  if (!resource) return ZQ_E_NOT_FOUND;
  HGLOBAL loaded = ZqLoadResource(lang, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = bytes ? ZqSizeofResource(lang, resource) : 0;
  if (!size) return E_UNEXPECTED;
  HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ZQ_E_FILE_OPEN;
  DWORD written = 0;
  const BOOL wrote = WriteFile(file, bytes, size, &written, nullptr);
  // Cut the file where the writing ended, whether it went through or not.
  SetFilePointer(file, static_cast<LONG>(written), nullptr, FILE_BEGIN);
  SetEndOfFile(file);
  CloseHandle(file);
  return wrote && written == size ? S_OK : ZQ_E_FILE_WRITE;
}
