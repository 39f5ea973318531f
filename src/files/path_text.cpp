#include "files/path_text.h"

namespace zq::files {

int BoundedLength(const WCHAR* text, int limit) noexcept {
  if (!text) return 0;
  for (int n = 0; n < limit; ++n)
    if (!text[n]) return n;
  return -1;
}

bool SameIgnoringCase(WCHAR a, WCHAR b) noexcept {
  if (a == b) return true;
  return CompareStringOrdinal(&a, 1, &b, 1, TRUE) == CSTR_EQUAL;
}

}  // namespace zq::files
