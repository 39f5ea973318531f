// Every value the number formatters print parses back to itself.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <string>

#include "zq/number.h"

namespace {

TEST(NumberRoundTrip, ThirtyTwoBitValues) {
  std::mt19937 rng(5);
  std::vector<LONG> values = {0, 1, -1, 9, 10, -10, 999, 1000, INT_MAX, INT_MIN, INT_MIN + 1};
  for (int i = 0; i < 5000; ++i) values.push_back(static_cast<LONG>(rng()));
  for (LONG v : values) {
    wchar_t text[64];
    ZqLongToText(v, text, FALSE);
    LPCWSTR end = nullptr;
    ASSERT_EQ(ZqTextToLongToken(text, &end), v) << text;
    EXPECT_EQ(*end, 0) << text;
    DWORD u = static_cast<DWORD>(v);
    ZqDWordToText(u, text, FALSE);
    ASSERT_EQ(ZqTextToDWordToken(text, &end), u) << text;
    EXPECT_EQ(*end, 0) << text;
  }
}

TEST(NumberRoundTrip, SixtyFourBitValues) {
  std::mt19937_64 rng(6);
  std::vector<LONGLONG> values = {0, -1, LLONG_MAX, LLONG_MIN, LLONG_MIN + 1, 4294967296LL, -4294967296LL};
  for (int i = 0; i < 5000; ++i) values.push_back(static_cast<LONGLONG>(rng() >> (rng() % 64)));
  for (LONGLONG v : values) {
    wchar_t text[64];
    ULONGLONG bits = static_cast<ULONGLONG>(v);
    ZqLongLongToText(static_cast<DWORD>(bits), static_cast<LONG>(bits >> 32), text, FALSE);
    ASSERT_EQ(ZqTextToLongLongToken(text, nullptr), v) << text;
    ZqDWordLongToText(static_cast<DWORD>(bits), static_cast<DWORD>(bits >> 32), text, FALSE);
    ASSERT_EQ(ZqTextToDWordLongToken(text, nullptr), bits) << text;
  }
}

TEST(NumberRoundTrip, DoublesAtThePrintedPrecision) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> magnitude(-9, 12);
  for (int i = 0; i < 4000; ++i) {
    double v = std::pow(10.0, magnitude(rng)) * (rng() & 1 ? -1 : 1);
    int decimals = static_cast<int>(rng() % 7);
    wchar_t first[128], second[128];
    ZqDoubleToText(first, v, decimals, FALSE);
    double back = ZqTextToDoubleToken(first, nullptr, FALSE);
    ZqDoubleToText(second, back, decimals, FALSE);
    ASSERT_STREQ(second, first) << v << " with " << decimals << " decimals";
  }
}

}  // namespace
