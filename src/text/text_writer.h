// A bounded output cursor: the printer and the number formatters write
// through it, so nothing goes past the capacity the caller gave.
#pragma once
#include <windows.h>

#include "core/text_copy.h"

namespace zq::text {

class TextWriter {
 public:
  // capacity in characters, terminator included. A null `out` or a
  // capacity <= 0 gives a writer that drops everything.
  TextWriter(WCHAR* out, int capacity) noexcept
      : out_(out && capacity > 0 ? out : nullptr), capacity_(out && capacity > 0 ? capacity : 0) {
    if (out_) out_[0] = 0;
  }

  void Put(WCHAR c) noexcept {
    if (position_ + 1 < capacity_) out_[position_++] = c;
  }
  // At most `length` characters of `text`, stopping at its terminator.
  void Put(const WCHAR* text, int length) noexcept {
    if (!text) return;
    const int room = capacity_ - 1 - position_;
    const int limit = length < room ? length : room;
    WCHAR* at = out_ + position_;
    int n = 0;
    while (n < limit && text[n]) {
      at[n] = text[n];
      ++n;
    }
    position_ += n;
  }
  void Put(const WCHAR* text) noexcept { Put(text, 0x7FFFFFFF); }

  // Lets `write(cursor, room)` write at most room-1 characters and a
  // terminator at the cursor; it returns the characters written.
  template <typename Write>
  void Emit(Write&& write) noexcept {
    if (position_ + 1 < capacity_) {
      int n = write(out_ + position_, capacity_ - position_);
      if (n > 0) position_ += n < capacity_ - position_ ? n : capacity_ - position_ - 1;
    }
  }

  int Length() const noexcept { return position_; }
  // Terminates the output and returns its length.
  int Finish() noexcept {
    if (out_) out_[position_] = 0;
    return position_;
  }

 private:
  WCHAR* out_;
  int capacity_;
  int position_ = 0;
};

}  // namespace zq::text
