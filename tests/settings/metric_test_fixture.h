// A test's own settings store: unique names, removed before and after.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "settings_test_support.h"
#include "zq/metric.h"

namespace settingstest {

constexpr DWORD kVersion = ZQMETRIC_VERSION(2, 5);

// Closes a handle when the test ends.
class Handle {
 public:
  Handle() = default;
  explicit Handle(HZQMETRIC handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { ZqMetric_Close(handle_); }
  operator HZQMETRIC() const { return handle_; }
  HZQMETRIC* out() { return &handle_; }

 private:
  HZQMETRIC handle_ = nullptr;
};

class MetricTest : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = TestKeyName(L"QuilletTest.");
    Wipe();
  }
  void TearDown() override { Wipe(); }
  void Wipe() {
    RemoveTree(kUser, AppKey());
    RemoveTree(kMachine, AppKey());
    RemoveTree(kMachine, ServiceKey());
  }
  std::wstring AppKey() const { return L"Software\\Halvane\\" + name_; }
  std::wstring ServiceKey() const { return L"SYSTEM\\CurrentControlSet\\Services\\" + name_; }
  std::wstring Metrics() const { return AppKey() + L"\\2.5\\Metrics"; }
  std::wstring ServiceMetrics() const { return ServiceKey() + L"\\2.5\\Metrics"; }
  // Opens the test's application store, optionally on a sub-key.
  HZQMETRIC Open(const wchar_t* subKey = nullptr) {
    HZQMETRIC handle = nullptr;
    EXPECT_EQ(ZqMetric_Open(&handle, name_.c_str(), kVersion, subKey), S_OK);
    EXPECT_NE(handle, nullptr);
    return handle;
  }

  std::wstring name_;
};

}  // namespace settingstest
