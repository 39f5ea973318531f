// String (REG_SZ, "S%d") and multi-string (REG_MULTI_SZ, "Z%d") metrics.
#include <memory>
#include <new>

#include "core/text_copy.h"
#include "settings/metric_store.h"

using zq::settings::MetricAccess;
using zq::settings::Resolved;

namespace {

constexpr int kNotStored = -1;

// Makes the `chars` characters read into `buffer` a terminated text (one
// final null for strings, two for lists) and returns the index of the
// last null, i.e. the length the caller is told. Data that another writer
// stored without its terminators gets them here; when they do not fit the
// value reads as not stored, like any text too long for the buffer.
int Terminate(DWORD type, WCHAR* buffer, int capacity, int chars) {
  if (chars == 0) return 0;
  int missing = 0;
  if (type == REG_SZ) {
    missing = buffer[chars - 1] == 0 ? 0 : 1;
  } else if (chars == 1) {
    missing = buffer[0] == 0 ? 0 : 2;
  } else if (buffer[chars - 1] != 0) {
    missing = 2;
  } else if (buffer[chars - 2] != 0) {
    missing = 1;
  }
  if (chars + missing > capacity) return kNotStored;
  for (int i = 0; i < missing; ++i) buffer[chars + i] = 0;
  return chars + missing - 1;
}

int GetText(HZQMETRIC handle, LONG id, DWORD type, LPWSTR buffer, int capacity, LPCWSTR fallback,
            BOOL emptyIsSet) {
  if (!buffer || capacity <= 0) return 0;
  int length = kNotStored;
  MetricAccess access;
  if (zq::settings::ResolveMetric(handle, id, type, &access) == Resolved::ok) {
    DWORD stored = REG_NONE;
    DWORD bytes = static_cast<DWORD>(capacity) * sizeof(WCHAR);
    if (RegQueryValueExW(access.key, access.name, nullptr, &stored, reinterpret_cast<BYTE*>(buffer), &bytes) ==
            ERROR_SUCCESS &&
        stored == type)
      length = Terminate(type, buffer, capacity, static_cast<int>(bytes / sizeof(WCHAR)));
  }
  if (length > 0) {
    ZeroMemory(buffer + length, (capacity - length) * sizeof(WCHAR));
    return length;
  }
  ZeroMemory(buffer, capacity * sizeof(WCHAR));
  if (length == 0 && emptyIsSet) return 0;
  return fallback ? zq::core::CopyText(buffer, capacity, fallback) : 0;
}

HRESULT SetValue(HZQMETRIC handle, LONG id, DWORD type, const WCHAR* data, DWORD bytes) {
  MetricAccess access;
  if (zq::settings::ResolveMetric(handle, id, type, &access) != Resolved::ok) return E_FAIL;
  return RegSetValueExW(access.key, access.name, 0, type, reinterpret_cast<const BYTE*>(data), bytes) ==
                 ERROR_SUCCESS
             ? S_OK
             : E_FAIL;
}

// How many nulls a list of `length` characters lacks at its end.
int MissingListTerminators(const WCHAR* data, int length) {
  if (length == 0) return 0;
  if (length == 1) return data[0] == 0 ? 0 : 2;
  if (data[length - 1] != 0) return 2;
  return data[length - 2] != 0 ? 1 : 0;
}

}  // namespace

ZQAPI int WINAPI ZqGetMetricStringEx(HZQMETRIC handle, LONG id, LPWSTR buffer, int capacity, LPCWSTR fallback,
                                     BOOL emptyIsSet) noexcept {
  return GetText(handle, id, REG_SZ, buffer, capacity, fallback, emptyIsSet);
}

ZQAPI int WINAPI ZqGetMetricMultiStringEx(HZQMETRIC handle, LONG id, LPWSTR buffer, int capacity,
                                          LPCWSTR fallback, BOOL emptyIsSet) noexcept {
  return GetText(handle, id, REG_MULTI_SZ, buffer, capacity, fallback, emptyIsSet);
}

ZQAPI HRESULT WINAPI ZqSetMetricString(HZQMETRIC handle, LONG id, LPCWSTR text) noexcept {
  if (!zq::settings::StoreFromHandle(handle)) return E_FAIL;
  if (!text) return E_POINTER;
  DWORD bytes = static_cast<DWORD>(lstrlenW(text) + 1) * sizeof(WCHAR);
  return SetValue(handle, id, REG_SZ, text, bytes);
}

// A list that lacks its final empty string is stored with it, so that
// every reader of the value finds the end.
ZQAPI HRESULT WINAPI ZqSetMetricMultiString(HZQMETRIC handle, LONG id, LPCWSTR data, int length) noexcept {
  if (!zq::settings::StoreFromHandle(handle)) return E_FAIL;
  if (length < 0 || length > 0x3FFFFFF0) return E_INVALIDARG;
  if (!data && length > 0) return E_POINTER;
  int missing = MissingListTerminators(data, length);
  if (!missing) return SetValue(handle, id, REG_MULTI_SZ, data, static_cast<DWORD>(length) * sizeof(WCHAR));
  std::unique_ptr<WCHAR[]> list(new (std::nothrow) WCHAR[length + missing]);
  if (!list) return E_OUTOFMEMORY;
  CopyMemory(list.get(), data, length * sizeof(WCHAR));
  for (int i = 0; i < missing; ++i) list[length + i] = 0;
  return SetValue(handle, id, REG_MULTI_SZ, list.get(), static_cast<DWORD>(length + missing) * sizeof(WCHAR));
}
