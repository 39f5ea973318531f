// A bounded cursor over an ANSI buffer for the dumps: never writes past the
// size it was given and keeps the text terminated after every write.
#pragma once
#include <windows.h>

namespace zq::errors {

class AnsiWriter {
 public:
  // A null `out` or a size <= 0 gives a writer that drops everything.
  AnsiWriter(char* out, int size) noexcept
      : out_(out && size > 0 ? out : nullptr), size_(out && size > 0 ? size : 0) {
    if (out_) out_[0] = 0;
  }

  // Bytes left, the terminator's included.
  int Room() const noexcept { return size_ - position_; }
  int Length() const noexcept { return position_; }

  void Put(char c) noexcept {
    if (position_ + 1 < size_) {
      out_[position_++] = c;
      out_[position_] = 0;
    }
  }
  void Put(const char* text) noexcept {
    if (!text) return;
    while (*text && position_ + 1 < size_) out_[position_++] = *text++;
    if (out_) out_[position_] = 0;
  }
  // `value` in hexadecimal with at least `digits` digits.
  void Hex(DWORD value, int digits, bool upper = true) noexcept {
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char text[9];
    int n = 0;
    do {
      text[n++] = set[value & 0xF];
      value >>= 4;
    } while (value && n < 8);
    while (n < digits && n < 8) text[n++] = '0';
    while (n > 0) Put(text[--n]);
  }

 private:
  char* out_;
  int size_;
  int position_ = 0;
};

}  // namespace zq::errors
