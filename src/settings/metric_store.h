// The metric handle record and the rules that turn a metric id into a key
// and a value name.
#pragma once
#include "settings/registry_key.h"
#include "zq/metric.h"

namespace zq::settings {
// Registry paths of a store are kept in fixed buffers of this many
// characters, terminator included.
constexpr int kStorePathCapacity = 260;
}  // namespace zq::settings

// The record behind an HZQMETRIC, allocated zero-filled. The machine key is
// null when it could not be created; the user key lives under `userRoot`
// (HKEY_CURRENT_USER for applications, HKEY_LOCAL_MACHINE for services).
struct tZQMETRIC {
  WCHAR machinePath[zq::settings::kStorePathCapacity];
  zq::settings::RegKey machineKey;
  WCHAR userPath[zq::settings::kStorePathCapacity];
  zq::settings::RegKey userKey;
  HKEY userRoot;
};

namespace zq::settings {

enum class StoreKind { application, service };

// "Software\Halvane\<name>\<major>.<minor>\Metrics[\<subKey>]" or the
// service form under "SYSTEM\CurrentControlSet\Services\". False (and an
// empty `path`) when the name is missing or empty, or the path would not
// fit kStorePathCapacity.
bool FormatStorePath(StoreKind kind, LPCWSTR name, DWORD version, LPCWSTR subKey,
                     WCHAR (&path)[kStorePathCapacity]) noexcept;
// Recovers kind, name and version word from a path made by FormatStorePath.
bool ParseStorePath(LPCWSTR path, StoreKind* kind, WCHAR (&name)[kStorePathCapacity], DWORD* version) noexcept;

// The store of a handle argument: ZQMETRIC_DEFAULT stands for the module's
// default handle, which is never filled.
tZQMETRIC* StoreFromHandle(HZQMETRIC handle) noexcept;

// One id-based access: the key of the id's part and the value name.
struct MetricAccess {
  HKEY key;
  DWORD type;      // the registry type of the kind
  WCHAR name[16];  // prefix and absolute id
};
enum class Resolved { ok, noHandle, noKey };
// `kind` is a kind code (ZQMETRIC_KIND_*; unknown codes mean multi-string).
Resolved ResolveMetric(HZQMETRIC handle, LONG id, DWORD kind, MetricAccess* access) noexcept;
// The per-user key of a handle for the by-name operations (null when
// there is no handle or no key).
HKEY UserKeyOf(HZQMETRIC handle) noexcept;

}  // namespace zq::settings
