// Number metrics: 4-byte REG_DWORD values, by id or by name.
#include "settings/metric_store.h"

using zq::settings::MetricAccess;
using zq::settings::Resolved;

namespace {

// Only a 4-byte REG_DWORD counts as a stored number.
bool ReadNumber(HKEY key, LPCWSTR name, LONG* value) {
  DWORD type = REG_NONE, data = 0, size = sizeof(data);
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS)
    return false;
  if (type != REG_DWORD || size != sizeof(data)) return false;
  *value = static_cast<LONG>(data);
  return true;
}

HRESULT WriteNumber(HKEY key, LPCWSTR name, LONG value) {
  DWORD data = static_cast<DWORD>(value);
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data)) ==
                 ERROR_SUCCESS
             ? S_OK
             : E_FAIL;
}

}  // namespace

ZQAPI LONG WINAPI ZqGetMetric(HZQMETRIC handle, LONG id) noexcept {
  MetricAccess access;
  LONG value = 0;
  if (zq::settings::ResolveMetric(handle, id, REG_DWORD, &access) == Resolved::ok)
    ReadNumber(access.key, access.name, &value);
  return value;
}

// Without a handle or key the fallback comes back as given; otherwise the
// stored value (or the fallback) is clamped unless minimum == maximum.
ZQAPI LONG WINAPI ZqGetMetricEx(HZQMETRIC handle, LONG id, LONG minimum, LONG maximum, LONG fallback) noexcept {
  MetricAccess access;
  if (zq::settings::ResolveMetric(handle, id, REG_DWORD, &access) != Resolved::ok) return fallback;
  LONG value = fallback;
  ReadNumber(access.key, access.name, &value);
  if (minimum != maximum) {
    if (value < minimum)
      value = minimum;
    else if (value > maximum)
      value = maximum;
  }
  return value;
}

ZQAPI BOOL WINAPI ZqGetMetricBool(HZQMETRIC handle, LONG id, BOOL fallback) noexcept {
  MetricAccess access;
  LONG value = 0;
  if (zq::settings::ResolveMetric(handle, id, REG_DWORD, &access) == Resolved::ok &&
      ReadNumber(access.key, access.name, &value))
    return value != 0;
  return fallback != 0;
}

ZQAPI HRESULT WINAPI ZqSetMetric(HZQMETRIC handle, LONG id, LONG value) noexcept {
  MetricAccess access;
  if (zq::settings::ResolveMetric(handle, id, REG_DWORD, &access) != Resolved::ok) return E_FAIL;
  return WriteNumber(access.key, access.name, value);
}

ZQAPI LONG WINAPI ZqGetMetricUsingName(HZQMETRIC handle, LPCWSTR name, LONG fallback) noexcept {
  HKEY key = zq::settings::UserKeyOf(handle);
  LONG value = fallback;
  if (key) ReadNumber(key, name, &value);
  return value;
}

ZQAPI HRESULT WINAPI ZqSetMetricUsingName(HZQMETRIC handle, LPCWSTR name, LONG value) noexcept {
  HKEY key = zq::settings::UserKeyOf(handle);
  if (!key) return E_FAIL;
  return WriteNumber(key, name, value);
}
