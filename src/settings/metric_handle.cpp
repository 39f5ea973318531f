// Metric handles: opening a store's two keys, closing, deleting the store.
#include <new>

#include "core/text_copy.h"
#include "settings/metric_store.h"
#include "zq/registry.h"

using zq::settings::kStorePathCapacity;
using zq::settings::StoreKind;

namespace {

// Both keys are created when missing. A key that cannot be created stays
// null: the handle then serves only the other part.
HRESULT OpenStore(StoreKind kind, HZQMETRIC* handle, LPCWSTR name, DWORD version, LPCWSTR subKey) {
  if (!handle) return E_POINTER;
  *handle = nullptr;
  WCHAR path[kStorePathCapacity];
  if (!zq::settings::FormatStorePath(kind, name, version, subKey, path)) return E_INVALIDARG;
  tZQMETRIC* store = new (std::nothrow) tZQMETRIC{};
  if (!store) return E_OUTOFMEMORY;
  zq::core::CopyText(store->machinePath, kStorePathCapacity, path);
  zq::core::CopyText(store->userPath, kStorePathCapacity, path);
  store->userRoot = kind == StoreKind::service ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  HKEY key = nullptr;
  if (RegCreateKeyW(HKEY_LOCAL_MACHINE, store->machinePath, &key) == ERROR_SUCCESS) store->machineKey.reset(key);
  key = nullptr;
  if (RegCreateKeyW(store->userRoot, store->userPath, &key) == ERROR_SUCCESS) store->userKey.reset(key);
  *handle = store;
  return S_OK;
}

void CloseKeys(tZQMETRIC* store) {
  store->userKey.reset();
  store->machineKey.reset();
}

}  // namespace

namespace zq::settings {

// The module's default handle is never filled, so -1 reads as no handle.
tZQMETRIC* StoreFromHandle(HZQMETRIC handle) noexcept {
  return handle == ZQMETRIC_DEFAULT ? nullptr : handle;
}

}  // namespace zq::settings

ZQAPI HRESULT WINAPI ZqMetric_Open(HZQMETRIC* handle, LPCWSTR application, DWORD version, LPCWSTR subKey) noexcept {
  return OpenStore(StoreKind::application, handle, application, version, subKey);
}

ZQAPI HRESULT WINAPI ZqMetric_OpenService(HZQMETRIC* handle, LPCWSTR service, DWORD version,
                                          LPCWSTR subKey) noexcept {
  return OpenStore(StoreKind::service, handle, service, version, subKey);
}

// The new handle belongs to the same store (name and version read back
// from the existing handle's path) and opens `subKey` of its Metrics key.
ZQAPI HRESULT WINAPI ZqMetric_OpenSubKey(HZQMETRIC* handle, HZQMETRIC existing, LPCWSTR subKey) noexcept {
  if (!handle) return E_POINTER;
  *handle = nullptr;
  tZQMETRIC* store = zq::settings::StoreFromHandle(existing);
  if (!store) return E_FAIL;
  StoreKind kind = StoreKind::application;
  WCHAR name[kStorePathCapacity];
  DWORD version = 0;
  if (!zq::settings::ParseStorePath(store->userPath, &kind, name, &version)) return E_FAIL;
  return OpenStore(kind, handle, name, version, subKey);
}

ZQAPI HRESULT WINAPI ZqMetric_Close(HZQMETRIC handle) noexcept {
  tZQMETRIC* store = zq::settings::StoreFromHandle(handle);
  if (!store) return S_OK;
  CloseKeys(store);
  delete store;
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqMetric_CloseAndDeleteKey(HZQMETRIC handle) noexcept {
  tZQMETRIC* store = zq::settings::StoreFromHandle(handle);
  if (!store) return E_FAIL;
  CloseKeys(store);
  ZqRegDeleteKey(store->userRoot, store->userPath);
  ZqRegDeleteKey(HKEY_LOCAL_MACHINE, store->machinePath);
  delete store;
  return S_OK;
}
