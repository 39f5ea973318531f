// Shared pieces of the text tests that link the library itself: locale
// records to switch between, and a fixture that restores the English one.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "text/internationals_store.h"
#include "text/printer.h"

namespace texttest {

inline void SetText(WCHAR* field, DWORD* length, const WCHAR* text) {
  *length = static_cast<DWORD>(wcslen(text));
  wcscpy(field, text);
}

inline ZQINTERNATIONALS English() { return zq::text::DefaultInternationals(); }

inline ZQINTERNATIONALS German() {
  ZQINTERNATIONALS r = zq::text::DefaultInternationals();
  SetText(r.thousandSep, &r.thousandSepLength, L".");
  SetText(r.decimalSep, &r.decimalSepLength, L",");
  SetText(r.listSep, &r.listSepLength, L";");
  r.grouping = 3;
  r.leadingZero = 1;
  return r;
}

// Runs each test with the English record and the token table in place.
class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zq::text::TokenTableStartup();
    zq::text::SetInternationals(English());
  }
  void TearDown() override { zq::text::SetInternationals(English()); }
  void UseGerman() { zq::text::SetInternationals(German()); }
};

// The printer's result as a string.
inline std::wstring Print(const WCHAR* format, ...) {
  WCHAR out[4096];
  va_list args;
  va_start(args, format);
  int n = zq::text::VPrintBounded(out, 4096, format, args);
  va_end(args);
  EXPECT_EQ(n, static_cast<int>(wcslen(out)));
  return out;
}

}  // namespace texttest
