// Binary metrics: REG_BINARY values named "B%d".
#include "settings/metric_store.h"

using zq::settings::MetricAccess;
using zq::settings::Resolved;

namespace {

enum class BinaryRead { stored, notStored, tooLarge };

// Reads at most `capacity` bytes; `bytes` receives the size read or, for
// a value that does not fit, the size needed. Anything but REG_BINARY
// counts as not stored.
BinaryRead ReadBinary(const MetricAccess& access, void* buffer, DWORD capacity, DWORD* bytes) {
  DWORD type = REG_NONE;
  *bytes = capacity;
  LONG status = RegQueryValueExW(access.key, access.name, nullptr, &type, static_cast<BYTE*>(buffer), bytes);
  if ((status != ERROR_SUCCESS && status != ERROR_MORE_DATA) || type != REG_BINARY) {
    *bytes = 0;
    return BinaryRead::notStored;
  }
  // Without a buffer the registry reports the size with success.
  if (status == ERROR_MORE_DATA || *bytes > capacity) return BinaryRead::tooLarge;
  return BinaryRead::stored;
}

void ClearAfter(void* buffer, DWORD capacity, DWORD used) {
  if (buffer && used < capacity) ZeroMemory(static_cast<BYTE*>(buffer) + used, capacity - used);
}

}  // namespace

ZQAPI DWORD WINAPI ZqGetMetricBinary(HZQMETRIC handle, LONG id, void* buffer, DWORD capacity) noexcept {
  if (!buffer) return 0;
  DWORD read = 0;
  MetricAccess access;
  if (zq::settings::ResolveMetric(handle, id, REG_BINARY, &access) == Resolved::ok &&
      ReadBinary(access, buffer, capacity, &read) != BinaryRead::stored)
    read = 0;
  ClearAfter(buffer, capacity, read);
  return read;
}

ZQAPI HRESULT WINAPI ZqGetMetricBinaryEx(HZQMETRIC handle, LONG id, void* buffer, DWORD capacity,
                                         DWORD* size) noexcept {
  if (!size) return E_INVALIDARG;
  if (!buffer && capacity) return E_INVALIDARG;
  MetricAccess access;
  if (zq::settings::ResolveMetric(handle, id, REG_BINARY, &access) != Resolved::ok) return ZQ_E_METRIC_NOKEY;
  DWORD bytes = 0;
  switch (ReadBinary(access, buffer, capacity, &bytes)) {
    case BinaryRead::tooLarge:
      *size = bytes;
      return ZQ_E_METRIC_TOOLARGE;
    case BinaryRead::notStored:
      *size = 0;
      ClearAfter(buffer, capacity, 0);
      return S_FALSE;
    case BinaryRead::stored:
      break;
  }
  *size = bytes;
  ClearAfter(buffer, capacity, bytes);
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqSetMetricBinary(HZQMETRIC handle, LONG id, const void* data, DWORD size) noexcept {
  MetricAccess access;
  if (zq::settings::ResolveMetric(handle, id, REG_BINARY, &access) != Resolved::ok) return E_FAIL;
  if (!data && size) return E_POINTER;
  return RegSetValueExW(access.key, access.name, 0, REG_BINARY, static_cast<const BYTE*>(data), size) ==
                 ERROR_SUCCESS
             ? S_OK
             : E_FAIL;
}
