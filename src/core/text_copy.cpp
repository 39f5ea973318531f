#include "core/text_copy.h"

namespace zq::core {

int CopyTextN(WCHAR* dest, int capacity, const WCHAR* source, int length) noexcept {
  if (!dest || capacity <= 0) return 0;
  int n = 0;
  if (source) {
    while (n < capacity - 1 && n < length && source[n]) {
      dest[n] = source[n];
      ++n;
    }
  }
  dest[n] = 0;
  return n;
}

int CopyText(WCHAR* dest, int capacity, const WCHAR* source) noexcept {
  return CopyTextN(dest, capacity, source, 0x7FFFFFFF);
}

int CopyTextA(char* dest, int capacity, const char* source) noexcept {
  if (!dest || capacity <= 0) return 0;
  int n = 0;
  if (source) {
    while (n < capacity - 1 && source[n]) {
      dest[n] = source[n];
      ++n;
    }
  }
  dest[n] = 0;
  return n;
}

int AppendText(WCHAR* dest, int capacity, const WCHAR* source) noexcept {
  if (!dest || capacity <= 0) return 0;
  int used = 0;
  while (used < capacity - 1 && dest[used]) ++used;
  return used + CopyText(dest + used, capacity - used, source);
}

}  // namespace zq::core
