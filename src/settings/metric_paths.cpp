// Registry paths of settings stores: formatting (bounded: a name that does
// not fit is refused, never cut into another store's path) and parsing.
#include "core/text_copy.h"
#include "settings/metric_store.h"

namespace zq::settings {

namespace {

constexpr WCHAR kApplicationRoot[] = L"Software\\Halvane\\";
constexpr WCHAR kServiceRoot[] = L"SYSTEM\\CurrentControlSet\\Services\\";
constexpr WCHAR kMetrics[] = L"\\Metrics";

LPCWSTR RootOf(StoreKind kind) { return kind == StoreKind::service ? kServiceRoot : kApplicationRoot; }

// Appends pieces to a path buffer; once a piece does not fit, the whole
// path is void.
class PathWriter {
 public:
  explicit PathWriter(WCHAR (&path)[kStorePathCapacity]) : path_(path) { path_[0] = 0; }
  void Add(LPCWSTR text) {
    int length = lstrlenW(text);
    if (!fits_ || length >= kStorePathCapacity - used_) {
      fits_ = false;
      return;
    }
    used_ += core::CopyText(path_ + used_, kStorePathCapacity - used_, text);
  }
  void AddNumber(unsigned value) {
    WCHAR digits[12];
    int at = ARRAYSIZE(digits) - 1;
    digits[at] = 0;
    do {
      digits[--at] = static_cast<WCHAR>(L'0' + value % 10);
      value /= 10;
    } while (value);
    Add(digits + at);
  }
  bool Finish() {
    if (!fits_) path_[0] = 0;
    return fits_;
  }

 private:
  WCHAR (&path_)[kStorePathCapacity];
  int used_ = 0;
  bool fits_ = true;
};

bool StartsWith(LPCWSTR text, LPCWSTR prefix) {
  for (; *prefix; ++text, ++prefix)
    if (*text != *prefix) return false;
  return true;
}

// Decimal digits up to `stop`; false when there are none or another
// character comes first.
bool ParseNumber(LPCWSTR* cursor, WCHAR stop, unsigned* value) {
  LPCWSTR p = *cursor;
  unsigned result = 0;
  if (*p < L'0' || *p > L'9') return false;
  while (*p >= L'0' && *p <= L'9') {
    result = result * 10 + static_cast<unsigned>(*p - L'0');
    if (result > 0xFF) return false;
    ++p;
  }
  if (*p != stop) return false;
  *cursor = p + 1;
  *value = result;
  return true;
}

}  // namespace

bool FormatStorePath(StoreKind kind, LPCWSTR name, DWORD version, LPCWSTR subKey,
                     WCHAR (&path)[kStorePathCapacity]) noexcept {
  PathWriter writer(path);  // empties `path`
  if (!name || !*name) return false;
  writer.Add(RootOf(kind));
  writer.Add(name);
  writer.Add(L"\\");
  writer.AddNumber(version >> 24 & 0xFF);
  writer.Add(L".");
  writer.AddNumber(version >> 16 & 0xFF);
  writer.Add(kMetrics);
  if (subKey && *subKey) {
    writer.Add(L"\\");
    writer.Add(subKey);
  }
  return writer.Finish();
}

bool ParseStorePath(LPCWSTR path, StoreKind* kind, WCHAR (&name)[kStorePathCapacity], DWORD* version) noexcept {
  name[0] = 0;
  if (!path) return false;
  if (StartsWith(path, kApplicationRoot)) {
    *kind = StoreKind::application;
  } else if (StartsWith(path, kServiceRoot)) {
    *kind = StoreKind::service;
  } else {
    return false;
  }
  LPCWSTR p = path + lstrlenW(RootOf(*kind));
  LPCWSTR end = p;
  while (*end && *end != L'\\') ++end;
  if (end == p || !*end) return false;  // no name, or nothing after it
  core::CopyTextN(name, kStorePathCapacity, p, static_cast<int>(end - p));
  p = end + 1;
  unsigned major = 0, minor = 0;
  if (!ParseNumber(&p, L'.', &major) || !ParseNumber(&p, L'\\', &minor)) {
    name[0] = 0;
    return false;
  }
  *version = static_cast<DWORD>(major) << 24 | static_cast<DWORD>(minor) << 16;
  return true;
}

}  // namespace zq::settings
