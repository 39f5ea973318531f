// Deleting whole settings stores (or one sub-key of them) by name and
// version, without a handle.
#include "settings/metric_store.h"
#include "zq/registry.h"

using zq::settings::kStorePathCapacity;
using zq::settings::StoreKind;

namespace {

// A name whose path does not fit is refused: a cut path could name
// another store.
HRESULT DeleteStore(StoreKind kind, LPCWSTR name, DWORD version, LPCWSTR subKey) {
  WCHAR path[kStorePathCapacity];
  if (!zq::settings::FormatStorePath(kind, name, version, subKey, path)) return E_INVALIDARG;
  ZqRegDeleteKey(HKEY_LOCAL_MACHINE, path);
  if (kind == StoreKind::application) ZqRegDeleteKey(HKEY_CURRENT_USER, path);
  return S_OK;
}

}  // namespace

ZQAPI HRESULT WINAPI ZqMetric_DeleteAll(LPCWSTR application, DWORD version) noexcept {
  return DeleteStore(StoreKind::application, application, version, nullptr);
}

ZQAPI HRESULT WINAPI ZqMetric_DeleteKey(LPCWSTR application, DWORD version, LPCWSTR subKey) noexcept {
  return DeleteStore(StoreKind::application, application, version, subKey);
}

ZQAPI HRESULT WINAPI ZqMetric_DeleteAllService(LPCWSTR service, DWORD version) noexcept {
  return DeleteStore(StoreKind::service, service, version, nullptr);
}

ZQAPI HRESULT WINAPI ZqMetric_DeleteKeyService(LPCWSTR service, DWORD version, LPCWSTR subKey) noexcept {
  return DeleteStore(StoreKind::service, service, version, subKey);
}
