// Buffers, malformed stored values and missing handles: every read stays
// inside the caller's buffer (guard units after it must survive), every
// text comes back terminated, bad input gets its documented result.
#include <cstring>
#include <vector>

#include "metric_test_fixture.h"

namespace settingstest {
namespace {

constexpr size_t kGuard = 8;

// A buffer of `capacity` units followed by guard units, all pre-filled
// with a pattern the module never writes.
template <typename T>
class Guarded {
 public:
  explicit Guarded(size_t capacity) : capacity_(capacity), units_(capacity + kGuard, Fill()) {}
  T* get() { return units_.data(); }
  T operator[](size_t i) const { return units_[i]; }
  bool GuardIntact() const {
    for (size_t i = capacity_; i < units_.size(); ++i)
      if (units_[i] != Fill()) return false;
    return true;
  }
  bool ZeroFrom(size_t first) const {
    for (size_t i = first; i < capacity_; ++i)
      if (units_[i] != 0) return false;
    return true;
  }

 private:
  static T Fill() { return static_cast<T>(0xCCCC); }
  size_t capacity_;
  std::vector<T> units_;
};

std::vector<BYTE> Bytes(const wchar_t* text, size_t chars) { return TextBytes(text, chars); }

struct TextCase {
  const char* label;
  DWORD kind;       // REG_SZ or REG_MULTI_SZ: the getter used
  bool stored;      // a value is written as below, with the plain API
  DWORD type;
  std::vector<BYTE> bytes;
  int capacity;
  const wchar_t* fallback;
  BOOL emptyIsSet;
  int expected;           // length returned
  std::wstring contents;  // the buffer up to and including the last null
};

class MetricLimits : public MetricTest {};

TEST_F(MetricLimits, TextReadsStayInsideTheBufferAndComeBackTerminated) {
  const TextCase cases[] = {
      {"fits exactly", REG_SZ, true, REG_SZ, Bytes(L"hello", 6), 6, L"dflt", 0, 5, {L"hello", 6}},
      {"fits with room", REG_SZ, true, REG_SZ, Bytes(L"hello", 6), 10, L"dflt", 0, 5, {L"hello", 6}},
      {"one too long: not stored", REG_SZ, true, REG_SZ, Bytes(L"hello", 6), 5, L"dflt", 0, 4, {L"dflt", 5}},
      {"default cut to the buffer", REG_SZ, true, REG_SZ, Bytes(L"hello", 6), 5, L"a long default", 0, 4,
       {L"a lo", 5}},
      {"capacity one", REG_SZ, true, REG_SZ, Bytes(L"hello", 6), 1, L"dflt", 0, 0, {L"", 1}},
      {"empty, flag off", REG_SZ, true, REG_SZ, Bytes(L"", 1), 8, L"dflt", 0, 4, {L"dflt", 5}},
      {"empty, flag on", REG_SZ, true, REG_SZ, Bytes(L"", 1), 8, L"dflt", 1, 0, {L"", 1}},
      {"zero bytes, flag on", REG_SZ, true, REG_SZ, {}, 8, L"dflt", 1, 0, {L"", 1}},
      {"nothing stored, no default", REG_SZ, false, 0, {}, 8, nullptr, 0, 0, {L"", 1}},
      {"no terminator, room for it", REG_SZ, true, REG_SZ, Bytes(L"abc", 3), 4, L"d", 0, 3, {L"abc", 4}},
      {"no terminator, no room", REG_SZ, true, REG_SZ, Bytes(L"abc", 3), 3, L"d", 0, 1, {L"d", 2}},
      {"odd byte count", REG_SZ, true, REG_SZ, {'a', 0, 'b', 0, 'c'}, 8, L"d", 0, 2, {L"ab", 3}},
      {"expandable string is another type", REG_SZ, true, REG_EXPAND_SZ, Bytes(L"hello", 6), 10, L"dflt", 0, 4,
       {L"dflt", 5}},
      {"number is another type", REG_SZ, true, REG_DWORD, NumberBytes(65), 10, L"dflt", 0, 4, {L"dflt", 5}},
      {"list fits exactly", REG_MULTI_SZ, true, REG_MULTI_SZ, Bytes(L"a\0bc\0", 6), 6, L"d", 0, 5,
       {L"a\0bc\0", 6}},
      {"list one too long", REG_MULTI_SZ, true, REG_MULTI_SZ, Bytes(L"a\0bc\0", 6), 5, L"d", 0, 1, {L"d", 2}},
      {"list without its final empty string", REG_MULTI_SZ, true, REG_MULTI_SZ, Bytes(L"a\0bc", 5), 6, L"d", 0, 5,
       {L"a\0bc\0", 6}},
      {"list without final, no room", REG_MULTI_SZ, true, REG_MULTI_SZ, Bytes(L"a\0bc", 5), 5, L"d", 0, 1,
       {L"d", 2}},
      {"list without any terminator", REG_MULTI_SZ, true, REG_MULTI_SZ, Bytes(L"a\0bc", 4), 6, L"d", 0, 5,
       {L"a\0bc\0", 6}},
      {"empty list, flag on", REG_MULTI_SZ, true, REG_MULTI_SZ, Bytes(L"", 1), 6, L"d", 1, 0, {L"", 1}},
      {"empty list, flag off", REG_MULTI_SZ, true, REG_MULTI_SZ, Bytes(L"", 1), 6, L"d", 0, 1, {L"d", 2}},
      {"string is another type", REG_MULTI_SZ, true, REG_SZ, Bytes(L"a", 2), 6, L"d", 0, 1, {L"d", 2}},
  };
  Handle handle(Open());
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.label);
    const wchar_t* name = c.kind == REG_SZ ? L"S9" : L"Z9";
    ZqDeleteMetric(handle, 9, c.kind);
    if (c.stored) {
      ASSERT_TRUE(WriteRaw(kUser, Metrics(), name, c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size())));
    }
    Guarded<WCHAR> buffer(c.capacity);
    int length = c.kind == REG_SZ
                     ? ZqGetMetricStringEx(handle, 9, buffer.get(), c.capacity, c.fallback, c.emptyIsSet)
                     : ZqGetMetricMultiStringEx(handle, 9, buffer.get(), c.capacity, c.fallback, c.emptyIsSet);
    EXPECT_EQ(length, c.expected);
    EXPECT_EQ(std::wstring(buffer.get(), c.contents.size()), c.contents);
    EXPECT_TRUE(buffer.ZeroFrom(c.contents.size() - 1)) << "the rest of the buffer is cleared";
    EXPECT_TRUE(buffer.GuardIntact());
  }
}

TEST_F(MetricLimits, TextReadsWithoutARoomToWriteTouchNothing) {
  Handle handle(Open());
  ASSERT_EQ(ZqSetMetricString(handle, 1, L"stored"), S_OK);
  Guarded<WCHAR> buffer(0);
  EXPECT_EQ(ZqGetMetricStringEx(handle, 1, buffer.get(), 0, L"dflt", FALSE), 0);
  EXPECT_EQ(ZqGetMetricMultiStringEx(handle, 1, buffer.get(), -3, L"dflt", FALSE), 0);
  EXPECT_TRUE(buffer.GuardIntact());
  EXPECT_EQ(ZqGetMetricStringEx(handle, 1, nullptr, 10, L"dflt", FALSE), 0);
}

TEST_F(MetricLimits, ListsAreStoredWithTheirFinalEmptyString) {
  Handle handle(Open());
  struct Case {
    const wchar_t* data;
    int length;
  };
  // Complete, missing the final empty string, missing both nulls.
  const Case cases[] = {{L"a\0bc\0", 6}, {L"a\0bc\0", 5}, {L"a\0bc", 4}};
  for (const Case& c : cases) {
    ASSERT_EQ(ZqSetMetricMultiString(handle, 2, c.data, c.length), S_OK) << c.length;
    auto raw = ReadRaw(kUser, Metrics(), L"Z2");
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(raw->bytes, Bytes(L"a\0bc\0", 6)) << c.length;
  }
  EXPECT_EQ(ZqSetMetricMultiString(handle, 3, L"x\0", -1), E_INVALIDARG);
  EXPECT_EQ(ZqSetMetricMultiString(handle, 3, nullptr, 3), E_POINTER);
  EXPECT_EQ(ZqSetMetricString(handle, 3, nullptr), E_POINTER);
  EXPECT_EQ(ZqSetMetricBinary(handle, 3, nullptr, 4), E_POINTER);
  EXPECT_EQ(ZqDoesMetricExist(handle, 3, ZQMETRIC_KIND_MULTISTRING), S_FALSE);
  EXPECT_EQ(ZqDoesMetricExist(handle, 3, ZQMETRIC_KIND_STRING), S_FALSE);
  EXPECT_EQ(ZqDoesMetricExist(handle, 3, ZQMETRIC_KIND_BINARY), S_FALSE);
}

TEST_F(MetricLimits, BinaryReadsRefuseWhatDoesNotFit) {
  Handle handle(Open());
  const BYTE data[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  ASSERT_EQ(ZqSetMetricBinary(handle, 1, data, sizeof(data)), S_OK);
  ASSERT_EQ(ZqSetMetricBinary(handle, 2, nullptr, 0), S_OK);
  ASSERT_TRUE(WriteRaw(kUser, Metrics(), L"B3", REG_SZ, L"text", 10));

  struct Case {
    LONG id;
    DWORD capacity;
    DWORD plainResult;  // ZqGetMetricBinary
    HRESULT exResult;   // ZqGetMetricBinaryEx
    DWORD exSize;
  };
  const Case cases[] = {
      {1, 16, 10, S_OK, 10},  {1, 10, 10, S_OK, 10}, {1, 9, 0, ZQ_E_METRIC_TOOLARGE, 10},
      {2, 4, 0, S_OK, 0},     // stored, empty
      {3, 16, 0, S_FALSE, 0},  // another type
      {4, 16, 0, S_FALSE, 0},  // not stored
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "id " << c.id << " capacity " << c.capacity);
    Guarded<BYTE> plain(c.capacity);
    EXPECT_EQ(ZqGetMetricBinary(handle, c.id, plain.get(), c.capacity), c.plainResult);
    EXPECT_EQ(std::memcmp(plain.get(), data, c.plainResult), 0);
    EXPECT_TRUE(plain.ZeroFrom(c.plainResult));
    EXPECT_TRUE(plain.GuardIntact());

    Guarded<BYTE> ex(c.capacity);
    DWORD size = 0xDEAD;
    EXPECT_EQ(ZqGetMetricBinaryEx(handle, c.id, ex.get(), c.capacity, &size), c.exResult);
    EXPECT_EQ(size, c.exSize);
    if (c.exResult != ZQ_E_METRIC_TOOLARGE) {
      EXPECT_EQ(std::memcmp(ex.get(), data, size), 0);
      EXPECT_TRUE(ex.ZeroFrom(size));
    }
    EXPECT_TRUE(ex.GuardIntact());
  }
  DWORD size = 0;
  EXPECT_EQ(ZqGetMetricBinaryEx(handle, 1, nullptr, 0, &size), ZQ_E_METRIC_TOOLARGE);  // size query
  EXPECT_EQ(size, 10u);
  BYTE buffer[16];
  EXPECT_EQ(ZqGetMetricBinaryEx(handle, 1, buffer, sizeof(buffer), nullptr), E_INVALIDARG);
  EXPECT_EQ(ZqGetMetricBinaryEx(handle, 1, nullptr, 16, &size), E_INVALIDARG);
  EXPECT_EQ(ZqGetMetricBinary(handle, 1, nullptr, 16), 0u);
  EXPECT_EQ(ZqDoesMetricExist(handle, 2, ZQMETRIC_KIND_BINARY), S_OK);
}

TEST_F(MetricLimits, NumbersOfAnotherFormAreNotStored) {
  Handle handle(Open());
  const WORD shortNumber = 7;
  const BYTE fourBytes[4] = {1, 0, 0, 0};
  ASSERT_TRUE(WriteRaw(kUser, Metrics(), L"1", REG_BINARY, fourBytes, 4));
  ASSERT_TRUE(WriteRaw(kUser, Metrics(), L"2", REG_DWORD, &shortNumber, 2));
  ASSERT_TRUE(WriteRaw(kUser, Metrics(), L"3", REG_SZ, L"12", 6));
  for (LONG id : {1, 2, 3}) {
    EXPECT_EQ(ZqGetMetric(handle, id), 0) << id;
    EXPECT_EQ(ZqGetMetricEx(handle, id, 0, 0, 42), 42) << id;
    EXPECT_EQ(ZqDoesMetricExist(handle, id, ZQMETRIC_KIND_NUMBER), id == 2 ? S_OK : S_FALSE) << id;
  }
}

// -1 stands for the module's default handle, which is never filled.
TEST_F(MetricLimits, WithoutAHandleEveryOperationTakesItsNoHandleOutcome) {
  for (HZQMETRIC handle : {static_cast<HZQMETRIC>(nullptr), ZQMETRIC_DEFAULT}) {
    SCOPED_TRACE(handle ? "default handle" : "null handle");
    EXPECT_EQ(ZqGetMetric(handle, 1), 0);
    EXPECT_EQ(ZqGetMetricEx(handle, 1, 0, 10, 20), 20);
    EXPECT_EQ(ZqGetMetricBool(handle, -1, 3), TRUE);
    EXPECT_EQ(ZqSetMetric(handle, 1, 1), E_FAIL);
    EXPECT_EQ(ZqGetMetricUsingName(handle, L"x", 6), 6);
    EXPECT_EQ(ZqSetMetricUsingName(handle, L"x", 6), E_FAIL);
    Guarded<WCHAR> text(8);
    EXPECT_EQ(ZqGetMetricStringEx(handle, 1, text.get(), 8, L"dflt", FALSE), 4);
    EXPECT_EQ(std::wstring(text.get()), L"dflt");
    EXPECT_TRUE(text.ZeroFrom(4));
    EXPECT_TRUE(text.GuardIntact());
    EXPECT_EQ(ZqGetMetricMultiStringEx(handle, 1, text.get(), 8, nullptr, FALSE), 0);
    EXPECT_TRUE(text.ZeroFrom(0));
    EXPECT_EQ(ZqSetMetricString(handle, 1, L"x"), E_FAIL);
    EXPECT_EQ(ZqSetMetricString(handle, 1, nullptr), E_FAIL);
    EXPECT_EQ(ZqSetMetricMultiString(handle, 1, L"x\0", 3), E_FAIL);
    Guarded<BYTE> bytes(4);
    EXPECT_EQ(ZqGetMetricBinary(handle, 1, bytes.get(), 4), 0u);
    EXPECT_TRUE(bytes.ZeroFrom(0));
    DWORD size = 55;
    EXPECT_EQ(ZqGetMetricBinaryEx(handle, 1, bytes.get(), 4, &size), ZQ_E_METRIC_NOKEY);
    EXPECT_EQ(size, 55u);
    EXPECT_EQ(ZqGetMetricBinaryEx(handle, 1, bytes.get(), 4, nullptr), E_INVALIDARG);
    EXPECT_EQ(ZqSetMetricBinary(handle, 1, "abcd", 4), E_FAIL);
    EXPECT_EQ(ZqDoesMetricExist(handle, 1, ZQMETRIC_KIND_NUMBER), S_FALSE);
    EXPECT_EQ(ZqDeleteMetric(handle, 1, ZQMETRIC_KIND_NUMBER), S_FALSE);
    EXPECT_EQ(ZqDeleteMetricUsingName(handle, L"x", ZQMETRIC_KIND_NUMBER), S_FALSE);
  }
}

}  // namespace
}  // namespace settingstest
