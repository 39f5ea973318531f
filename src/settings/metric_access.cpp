// From a metric id to a key and a value name: the sign chooses the part,
// the kind chooses the registry type and the name prefix.
#include "core/text_copy.h"
#include "settings/metric_store.h"

namespace zq::settings {

namespace {

struct KindRule {
  DWORD kind;  // kind code = registry type
  LPCWSTR prefix;
};
// Unknown kind codes take the last rule.
constexpr KindRule kKinds[] = {
    {REG_DWORD, L""},
    {REG_SZ, L"S"},
    {REG_BINARY, L"B"},
    {REG_MULTI_SZ, L"Z"},
};

const KindRule& RuleFor(DWORD kind) {
  for (const KindRule& rule : kKinds)
    if (rule.kind == kind) return rule;
  return kKinds[ARRAYSIZE(kKinds) - 1];
}

// Prefix and absolute id in decimal. The magnitude is computed unsigned so
// that the most negative id has a name too.
void FormatValueName(LPCWSTR prefix, LONG id, WCHAR (&name)[16]) {
  DWORD magnitude = id < 0 ? 0u - static_cast<DWORD>(id) : static_cast<DWORD>(id);
  WCHAR digits[12];
  int at = ARRAYSIZE(digits) - 1;
  digits[at] = 0;
  do {
    digits[--at] = static_cast<WCHAR>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  int used = core::CopyText(name, ARRAYSIZE(name), prefix);
  core::CopyText(name + used, ARRAYSIZE(name) - used, digits + at);
}

}  // namespace

Resolved ResolveMetric(HZQMETRIC handle, LONG id, DWORD kind, MetricAccess* access) noexcept {
  access->key = nullptr;
  access->name[0] = 0;
  const KindRule& rule = RuleFor(kind);
  access->type = rule.kind;
  tZQMETRIC* store = StoreFromHandle(handle);
  if (!store) return Resolved::noHandle;
  FormatValueName(rule.prefix, id, access->name);
  access->key = id < 0 ? store->machineKey.get() : store->userKey.get();
  return access->key ? Resolved::ok : Resolved::noKey;
}

HKEY UserKeyOf(HZQMETRIC handle) noexcept {
  tZQMETRIC* store = StoreFromHandle(handle);
  return store ? store->userKey.get() : nullptr;
}

}  // namespace zq::settings
