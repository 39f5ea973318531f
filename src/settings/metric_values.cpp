// Kind-generic metric operations: existence checks and deletion.
#include "settings/metric_store.h"

using zq::settings::MetricAccess;
using zq::settings::Resolved;

namespace {

HRESULT DeleteValue(HKEY key, LPCWSTR name) {
  return RegDeleteValueW(key, name) == ERROR_SUCCESS ? S_OK : E_FAIL;
}

}  // namespace

// A one-byte probe: a larger value answers "more data" with its type,
// which is all this needs.
ZQAPI HRESULT WINAPI ZqDoesMetricExist(HZQMETRIC handle, LONG id, DWORD kind) noexcept {
  MetricAccess access;
  if (zq::settings::ResolveMetric(handle, id, kind, &access) != Resolved::ok) return S_FALSE;
  BYTE probe = 0;
  DWORD type = REG_NONE, size = sizeof(probe);
  LONG status = RegQueryValueExW(access.key, access.name, nullptr, &type, &probe, &size);
  if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return S_FALSE;
  return type == access.type ? S_OK : S_FALSE;
}

ZQAPI HRESULT WINAPI ZqDeleteMetric(HZQMETRIC handle, LONG id, DWORD kind) noexcept {
  MetricAccess access;
  if (zq::settings::ResolveMetric(handle, id, kind, &access) != Resolved::ok) return S_FALSE;
  return DeleteValue(access.key, access.name);
}

ZQAPI HRESULT WINAPI ZqDeleteMetricUsingName(HZQMETRIC handle, LPCWSTR name, DWORD kind) noexcept {
  HKEY key = zq::settings::UserKeyOf(handle);
  if (!key) return S_FALSE;
  return DeleteValue(key, name);
}
