// Writing dialog templates: a writer that first measures (no buffer) and
// then writes the same sequence into a buffer of the measured size.
#pragma once
#include <windows.h>

namespace zq::windows {

class TemplateWriter {
 public:
  explicit TemplateWriter(BYTE* buffer = nullptr) : buffer_(buffer) {}

  void Word(WORD value) noexcept { Put(&value, sizeof(value)); }
  void Dword(DWORD value) noexcept { Put(&value, sizeof(value)); }
  void Byte(BYTE value) noexcept { Put(&value, sizeof(value)); }
  void Bytes(const void* data, DWORD count) noexcept { Put(data, count); }
  // A terminated string (null: the empty string).
  void String(const WCHAR* text) noexcept {
    if (!text) text = L"";
    Put(text, static_cast<DWORD>((lstrlenW(text) + 1) * sizeof(WCHAR)));
  }
  // 0xFFFF and the ordinal.
  void Ordinal(WORD ordinal) noexcept {
    Word(0xFFFF);
    Word(ordinal);
  }
  void Align4() noexcept { size_ = (size_ + 3) & ~3u; }  // the gap stays zero
  DWORD size() const noexcept { return size_; }

 private:
  void Put(const void* data, DWORD count) noexcept {
    if (buffer_ && count) CopyMemory(buffer_ + size_, data, count);
    size_ += count;
  }
  BYTE* buffer_;
  DWORD size_ = 0;
};

}  // namespace zq::windows
