// An owned registry key handle: closed when the owner goes away.
#pragma once
#include <windows.h>

namespace zq::settings {

class RegKey {
 public:
  RegKey() noexcept = default;
  explicit RegKey(HKEY key) noexcept : key_(key) {}
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept : key_(other.release()) {}
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~RegKey() { reset(); }

  HKEY get() const noexcept { return key_; }
  explicit operator bool() const noexcept { return key_ != nullptr; }
  // For the out parameter of RegOpenKeyEx/RegCreateKey: closes the old key.
  HKEY* put() noexcept {
    reset();
    return &key_;
  }
  HKEY release() noexcept {
    HKEY key = key_;
    key_ = nullptr;
    return key;
  }
  void reset(HKEY key = nullptr) noexcept {
    if (key_) RegCloseKey(key_);
    key_ = key;
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace zq::settings
