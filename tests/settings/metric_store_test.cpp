// Metric handles and values through the real registry: names, types and
// parts of every kind, read back by a second handle and by the plain API.
#include <cstring>

#include "metric_test_fixture.h"
#include "zq/registry.h"

namespace settingstest {
namespace {

DWORD ValueCount(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  DWORD count = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(key);
  return count;
}

using MetricStore = MetricTest;

TEST_F(MetricStore, EveryKindRoundTripsUnderThePrefixedNameTypeAndPart) {
  static const wchar_t kList[] = L"alpha\0beta\0";  // 12 characters with the final empty string
  const BYTE kBlob[] = {0, 1, 2, 0xFE, 0xFF};
  {
    Handle writer(Open());
    ASSERT_EQ(ZqSetMetric(writer, 12, 0x12345678), S_OK);
    ASSERT_EQ(ZqSetMetric(writer, -12, -5), S_OK);
    ASSERT_EQ(ZqSetMetricString(writer, 3, L"user text"), S_OK);
    ASSERT_EQ(ZqSetMetricString(writer, -3, L"machine text"), S_OK);
    ASSERT_EQ(ZqSetMetricBinary(writer, 4, kBlob, sizeof(kBlob)), S_OK);
    ASSERT_EQ(ZqSetMetricBinary(writer, -4, kBlob, 2), S_OK);
    ASSERT_EQ(ZqSetMetricMultiString(writer, 5, kList, 12), S_OK);
    ASSERT_EQ(ZqSetMetricMultiString(writer, -5, L"x\0", 3), S_OK);
    ASSERT_EQ(ZqSetMetricUsingName(writer, L"Volume", 77), S_OK);
    ASSERT_EQ(ZqSetMetric(writer, 0x7FFFFFFF, 1), S_OK);
    ASSERT_EQ(ZqSetMetric(writer, static_cast<LONG>(0x80000000), 2), S_OK);
  }

  struct Stored {
    HKEY root;
    const wchar_t* name;
    DWORD type;
    std::vector<BYTE> bytes;
  };
  const Stored table[] = {
      {kUser, L"12", REG_DWORD, NumberBytes(0x12345678)},
      {kMachine, L"12", REG_DWORD, NumberBytes(static_cast<DWORD>(-5))},
      {kUser, L"S3", REG_SZ, TextBytes(L"user text", 10)},
      {kMachine, L"S3", REG_SZ, TextBytes(L"machine text", 13)},
      {kUser, L"B4", REG_BINARY, std::vector<BYTE>(kBlob, kBlob + 5)},
      {kMachine, L"B4", REG_BINARY, std::vector<BYTE>(kBlob, kBlob + 2)},
      {kUser, L"Z5", REG_MULTI_SZ, TextBytes(kList, 12)},
      {kMachine, L"Z5", REG_MULTI_SZ, TextBytes(L"x\0", 3)},
      {kUser, L"Volume", REG_DWORD, NumberBytes(77)},
      {kUser, L"2147483647", REG_DWORD, NumberBytes(1)},
      {kMachine, L"2147483648", REG_DWORD, NumberBytes(2)},
  };
  for (const Stored& expected : table) {
    SCOPED_TRACE(testing::Message() << (expected.root == kUser ? "HKCU " : "HKLM ") << expected.name);
    auto raw = ReadRaw(expected.root, Metrics(), expected.name);
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->type, expected.type);
    EXPECT_EQ(raw->bytes, expected.bytes);
  }
  EXPECT_EQ(ValueCount(kUser, Metrics()), 6u);  // nothing else was written
  EXPECT_EQ(ValueCount(kMachine, Metrics()), 5u);

  Handle reader(Open());
  EXPECT_EQ(ZqGetMetric(reader, 12), 0x12345678);
  EXPECT_EQ(ZqGetMetric(reader, -12), -5);
  EXPECT_EQ(ZqGetMetric(reader, static_cast<LONG>(0x80000000)), 2);
  WCHAR text[32];
  EXPECT_EQ(ZqGetMetricStringEx(reader, 3, text, 32, L"none", FALSE), 9);
  EXPECT_STREQ(text, L"user text");
  EXPECT_EQ(ZqGetMetricStringEx(reader, -3, text, 32, L"none", FALSE), 12);
  EXPECT_STREQ(text, L"machine text");
  BYTE blob[8];
  DWORD size = 0;
  EXPECT_EQ(ZqGetMetricBinaryEx(reader, 4, blob, sizeof(blob), &size), S_OK);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(std::memcmp(blob, kBlob, 5), 0);
  EXPECT_EQ(ZqGetMetricBinary(reader, -4, blob, sizeof(blob)), 2u);
  WCHAR list[32];
  EXPECT_EQ(ZqGetMetricMultiStringEx(reader, 5, list, 32, nullptr, FALSE), 11);
  EXPECT_EQ(std::memcmp(list, kList, 12 * sizeof(WCHAR)), 0);
  EXPECT_EQ(ZqGetMetricMultiStringEx(reader, -5, list, 32, nullptr, FALSE), 2);
  EXPECT_EQ(ZqGetMetricUsingName(reader, L"Volume", -1), 77);
  EXPECT_EQ(ZqGetMetricUsingName(reader, L"Missing", -1), -1);
}

TEST_F(MetricStore, TheSameIdInEachPartIsTwoValues) {
  Handle handle(Open());
  ASSERT_EQ(ZqSetMetric(handle, 5, 50), S_OK);
  ASSERT_EQ(ZqSetMetric(handle, -5, -50), S_OK);
  EXPECT_EQ(ZqGetMetric(handle, 5), 50);
  EXPECT_EQ(ZqGetMetric(handle, -5), -50);
  ASSERT_EQ(ZqDeleteMetric(handle, -5, ZQMETRIC_KIND_NUMBER), S_OK);
  EXPECT_EQ(ZqGetMetric(handle, 5), 50);
  EXPECT_EQ(ZqGetMetricEx(handle, -5, 0, 0, 9), 9);
}

TEST_F(MetricStore, NumbersAreClampedAsAskedAndFallBackToTheDefault) {
  struct Case {
    bool stored;
    LONG value, minimum, maximum, fallback, expected;
  };
  const Case cases[] = {
      {true, 15, 0, 10, 20, 10},  {true, -3, 0, 10, 20, 0},   {true, 7, 0, 10, 20, 7},
      {true, 15, 5, 5, 20, 15},   // minimum == maximum: no clamping
      {false, 0, 0, 10, 20, 10},  // the default is clamped too
      {false, 0, 0, 10, -4, 0},   {false, 0, 3, 3, 99, 99},
  };
  Handle handle(Open());
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " in " << c.minimum << ".." << c.maximum);
    ZqDeleteMetric(handle, 1, ZQMETRIC_KIND_NUMBER);
    if (c.stored) {
      ASSERT_EQ(ZqSetMetric(handle, 1, c.value), S_OK);
    }
    EXPECT_EQ(ZqGetMetricEx(handle, 1, c.minimum, c.maximum, c.fallback), c.expected);
  }
}

TEST_F(MetricStore, BooleansReadAnyNonZeroNumberAsOne) {
  Handle handle(Open());
  ASSERT_EQ(ZqSetMetric(handle, 1, 0), S_OK);
  ASSERT_EQ(ZqSetMetric(handle, 2, 5), S_OK);
  ASSERT_TRUE(WriteRaw(kUser, Metrics(), L"3", REG_SZ, L"1", 4));  // not a number
  struct Case {
    LONG id;
    BOOL fallback, expected;
  };
  const Case cases[] = {{1, TRUE, 0}, {2, FALSE, 1}, {3, TRUE, 1}, {3, FALSE, 0}, {4, 7, 1}, {4, FALSE, 0}};
  for (const Case& c : cases) EXPECT_EQ(ZqGetMetricBool(handle, c.id, c.fallback), c.expected) << c.id;
}

// Existence asks for the exact type; deletion takes the kind's name.
TEST_F(MetricStore, ExistenceAndDeletionByKind) {
  Handle handle(Open());
  std::vector<BYTE> large(5000, 0xAB);  // far larger than the one-byte probe
  ASSERT_EQ(ZqSetMetric(handle, 1, 1), S_OK);
  ASSERT_EQ(ZqSetMetricString(handle, 1, L"s"), S_OK);
  ASSERT_EQ(ZqSetMetricBinary(handle, -1, large.data(), static_cast<DWORD>(large.size())), S_OK);
  ASSERT_EQ(ZqSetMetricMultiString(handle, 1, L"m\0", 3), S_OK);
  ASSERT_TRUE(WriteRaw(kUser, Metrics(), L"S2", REG_EXPAND_SZ, L"x", 4));  // right name, wrong type

  struct Case {
    LONG id;
    DWORD kind;
    HRESULT exists;
  };
  const Case cases[] = {
      {1, ZQMETRIC_KIND_NUMBER, S_OK},      {1, ZQMETRIC_KIND_STRING, S_OK},
      {1, ZQMETRIC_KIND_BINARY, S_FALSE},   {-1, ZQMETRIC_KIND_BINARY, S_OK},
      {1, ZQMETRIC_KIND_MULTISTRING, S_OK}, {1, 42, S_OK},  // other codes mean multi-string
      {-1, ZQMETRIC_KIND_NUMBER, S_FALSE},  {2, ZQMETRIC_KIND_STRING, S_FALSE},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ZqDoesMetricExist(handle, c.id, c.kind), c.exists) << c.id << " kind " << c.kind;

  EXPECT_EQ(ZqDeleteMetric(handle, 1, ZQMETRIC_KIND_STRING), S_OK);
  EXPECT_FALSE(ReadRaw(kUser, Metrics(), L"S1").has_value());
  EXPECT_TRUE(ReadRaw(kUser, Metrics(), L"1").has_value());
  EXPECT_EQ(ZqDeleteMetric(handle, 1, ZQMETRIC_KIND_STRING), E_FAIL);  // already gone
  EXPECT_EQ(ZqDeleteMetric(handle, -1, ZQMETRIC_KIND_BINARY), S_OK);
  EXPECT_EQ(ZqDeleteMetric(handle, 1, 42), S_OK);
  EXPECT_FALSE(ReadRaw(kUser, Metrics(), L"Z1").has_value());
  // Deletion does not look at the type.
  EXPECT_EQ(ZqDeleteMetric(handle, 2, ZQMETRIC_KIND_STRING), S_OK);

  ASSERT_EQ(ZqSetMetricUsingName(handle, L"Named", 3), S_OK);
  EXPECT_EQ(ZqDeleteMetricUsingName(handle, L"Named", ZQMETRIC_KIND_STRING), S_OK);
  EXPECT_FALSE(ReadRaw(kUser, Metrics(), L"Named").has_value());
  EXPECT_EQ(ZqDeleteMetricUsingName(handle, L"Named", ZQMETRIC_KIND_NUMBER), E_FAIL);
}

TEST_F(MetricStore, ServiceHandlesKeepBothPartsInOneMachineKey) {
  Handle handle;
  ASSERT_EQ(ZqMetric_OpenService(handle.out(), name_.c_str(), kVersion, nullptr), S_OK);
  ASSERT_EQ(ZqSetMetric(handle, 3, 30), S_OK);
  ASSERT_EQ(ZqSetMetric(handle, -4, 40), S_OK);
  ASSERT_EQ(ZqSetMetric(handle, -3, 31), S_OK);  // the same value as id 3
  EXPECT_EQ(ZqGetMetric(handle, 3), 31);
  EXPECT_EQ(ReadRaw(kMachine, ServiceMetrics(), L"3")->bytes, NumberBytes(31));
  EXPECT_EQ(ReadRaw(kMachine, ServiceMetrics(), L"4")->bytes, NumberBytes(40));
  EXPECT_FALSE(KeyExists(kUser, ServiceMetrics()));
  EXPECT_FALSE(KeyExists(kMachine, Metrics()));

  Handle sub;
  ASSERT_EQ(ZqMetric_OpenSubKey(sub.out(), handle, L"Ports"), S_OK);
  ASSERT_EQ(ZqSetMetricString(sub, 1, L"COM1"), S_OK);
  EXPECT_TRUE(ReadRaw(kMachine, ServiceMetrics() + L"\\Ports", L"S1").has_value());

  EXPECT_EQ(ZqMetric_DeleteKeyService(name_.c_str(), kVersion, L"Ports"), S_OK);
  EXPECT_FALSE(KeyExists(kMachine, ServiceMetrics() + L"\\Ports"));
  EXPECT_TRUE(KeyExists(kMachine, ServiceMetrics()));
  EXPECT_EQ(ZqMetric_DeleteAllService(name_.c_str(), kVersion), S_OK);
  EXPECT_FALSE(KeyExists(kMachine, ServiceMetrics()));
}

TEST_F(MetricStore, SubKeyHandlesShareTheApplicationAndVersion) {
  Handle main(Open());
  Handle mixer;
  ASSERT_EQ(ZqMetric_OpenSubKey(mixer.out(), main, L"Mixer"), S_OK);
  ASSERT_EQ(ZqSetMetric(mixer, 1, 11), S_OK);
  ASSERT_EQ(ZqSetMetric(mixer, -1, 12), S_OK);
  EXPECT_EQ(ReadRaw(kUser, Metrics() + L"\\Mixer", L"1")->bytes, NumberBytes(11));
  EXPECT_EQ(ReadRaw(kMachine, Metrics() + L"\\Mixer", L"1")->bytes, NumberBytes(12));
  EXPECT_FALSE(ReadRaw(kUser, Metrics(), L"1").has_value());

  // From a sub-key handle, the new sub-key is a sibling, not a child.
  Handle tracks;
  ASSERT_EQ(ZqMetric_OpenSubKey(tracks.out(), mixer, L"Tracks"), S_OK);
  ASSERT_EQ(ZqSetMetric(tracks, 2, 2), S_OK);
  EXPECT_TRUE(ReadRaw(kUser, Metrics() + L"\\Tracks", L"2").has_value());

  HZQMETRIC none = reinterpret_cast<HZQMETRIC>(1);
  EXPECT_EQ(ZqMetric_OpenSubKey(&none, nullptr, L"X"), E_FAIL);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(ZqMetric_OpenSubKey(&none, ZQMETRIC_DEFAULT, L"X"), E_FAIL);
  EXPECT_EQ(ZqMetric_OpenSubKey(nullptr, main, L"X"), E_POINTER);
}

TEST_F(MetricStore, DeletingStoresAndKeys) {
  {
    Handle main(Open());
    Handle tools(Open(L"Tools"));
    ASSERT_EQ(ZqSetMetric(main, 1, 1), S_OK);
    ASSERT_EQ(ZqSetMetric(main, -1, 1), S_OK);
    ASSERT_EQ(ZqSetMetric(tools, 1, 1), S_OK);
    ASSERT_EQ(ZqSetMetric(tools, -1, 1), S_OK);
  }
  EXPECT_EQ(ZqMetric_DeleteKey(name_.c_str(), kVersion, L"Tools"), S_OK);
  for (HKEY root : {kUser, kMachine}) {
    EXPECT_FALSE(KeyExists(root, Metrics() + L"\\Tools"));
    EXPECT_TRUE(ReadRaw(root, Metrics(), L"1").has_value());
  }
  {
    Handle tools(Open(L"Tools"));
    ASSERT_EQ(ZqSetMetric(tools, 1, 1), S_OK);
    ASSERT_EQ(ZqMetric_CloseAndDeleteKey(tools), S_OK);
    *tools.out() = nullptr;
  }
  EXPECT_FALSE(KeyExists(kUser, Metrics() + L"\\Tools"));
  EXPECT_TRUE(KeyExists(kUser, Metrics()));

  ASSERT_TRUE(CreateKey(kUser, Metrics() + L"\\Deep\\Deeper"));
  EXPECT_EQ(ZqMetric_DeleteAll(name_.c_str(), kVersion), S_OK);
  EXPECT_FALSE(KeyExists(kUser, Metrics()));
  EXPECT_FALSE(KeyExists(kMachine, Metrics()));
  EXPECT_TRUE(KeyExists(kUser, AppKey()));  // only the Metrics key goes

  EXPECT_EQ(ZqMetric_CloseAndDeleteKey(nullptr), E_FAIL);
  EXPECT_EQ(ZqMetric_CloseAndDeleteKey(ZQMETRIC_DEFAULT), E_FAIL);
  EXPECT_EQ(ZqMetric_Close(nullptr), S_OK);
  EXPECT_EQ(ZqMetric_Close(ZQMETRIC_DEFAULT), S_OK);
}

// Paths hold 259 characters: "Software\Halvane\" (17) + name + "\2.5\Metrics" (12).
TEST_F(MetricStore, NamesThatDoNotFitThePathAreRefusedNotCut) {
  const std::wstring fits(230, L'q');
  ASSERT_EQ(17 + fits.size() + 12, 259u);
  Handle victim;
  ASSERT_EQ(ZqMetric_Open(victim.out(), fits.c_str(), kVersion, nullptr), S_OK);
  const std::wstring victimPath = L"Software\\Halvane\\" + fits + L"\\2.5\\Metrics";
  ASSERT_EQ(ZqSetMetric(victim, 1, 1234), S_OK);
  EXPECT_EQ(ReadRaw(kUser, victimPath, L"1")->bytes, NumberBytes(1234));

  // Cut to 259 characters, this name's path would be the store above.
  const std::wstring intruder = fits + L"\\2.5\\Metrics";
  HZQMETRIC handle = reinterpret_cast<HZQMETRIC>(1);
  EXPECT_EQ(ZqMetric_Open(&handle, intruder.c_str(), kVersion, nullptr), E_INVALIDARG);
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(ZqMetric_Open(&handle, fits.c_str(), kVersion, L"Sub"), E_INVALIDARG);
  EXPECT_EQ(ZqMetric_OpenService(&handle, std::wstring(300, L's').c_str(), kVersion, nullptr), E_INVALIDARG);
  EXPECT_EQ(ZqMetric_DeleteAll(intruder.c_str(), kVersion), E_INVALIDARG);
  EXPECT_EQ(ZqMetric_DeleteKey(fits.c_str(), kVersion, L"Sub"), E_INVALIDARG);
  EXPECT_EQ(ZqMetric_DeleteAllService(std::wstring(300, L's').c_str(), kVersion), E_INVALIDARG);
  EXPECT_EQ(ReadRaw(kUser, victimPath, L"1")->bytes, NumberBytes(1234));

  EXPECT_EQ(ZqMetric_CloseAndDeleteKey(victim), S_OK);
  *victim.out() = nullptr;
  RemoveTree(kUser, L"Software\\Halvane\\" + fits);
  RemoveTree(kMachine, L"Software\\Halvane\\" + fits);

  EXPECT_EQ(ZqMetric_Open(&handle, nullptr, kVersion, nullptr), E_INVALIDARG);
  EXPECT_EQ(ZqMetric_Open(&handle, L"", kVersion, nullptr), E_INVALIDARG);
  EXPECT_EQ(ZqMetric_Open(nullptr, name_.c_str(), kVersion, nullptr), E_POINTER);
  EXPECT_EQ(ZqMetric_DeleteAll(nullptr, kVersion), E_INVALIDARG);
}

// A volatile key cannot have a stored child: creating the machine-wide part
// fails for real, as it does for a user without rights to it.
TEST_F(MetricStore, AHandleWithoutItsMachinePartStillServesTheUser) {
  ASSERT_TRUE(CreateKey(kMachine, L"Software\\Halvane"));
  HKEY blocker = nullptr;
  ASSERT_EQ(RegCreateKeyExW(kMachine, AppKey().c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            &blocker, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(blocker);

  Handle handle(Open());
  ASSERT_NE(static_cast<HZQMETRIC>(handle), nullptr);
  EXPECT_FALSE(KeyExists(kMachine, Metrics()));
  EXPECT_EQ(ZqSetMetric(handle, 1, 5), S_OK);
  EXPECT_EQ(ZqGetMetric(handle, 1), 5);
  EXPECT_EQ(ZqSetMetricString(handle, 1, L"user"), S_OK);

  WCHAR text[8];
  BYTE blob[4] = {1, 2, 3, 4};
  DWORD size = 77;
  EXPECT_EQ(ZqSetMetric(handle, -1, 5), E_FAIL);
  EXPECT_EQ(ZqSetMetricString(handle, -1, L"machine"), E_FAIL);
  EXPECT_EQ(ZqSetMetricBinary(handle, -1, blob, 4), E_FAIL);
  EXPECT_EQ(ZqSetMetricMultiString(handle, -1, L"a\0", 3), E_FAIL);
  EXPECT_EQ(ZqGetMetric(handle, -1), 0);
  EXPECT_EQ(ZqGetMetricEx(handle, -1, 0, 10, 20), 20);  // no key: the default, unclamped
  EXPECT_EQ(ZqGetMetricBool(handle, -1, TRUE), TRUE);
  EXPECT_EQ(ZqGetMetricStringEx(handle, -1, text, 8, L"dflt", FALSE), 4);
  EXPECT_STREQ(text, L"dflt");
  EXPECT_EQ(ZqGetMetricBinaryEx(handle, -1, blob, 4, &size), ZQ_E_METRIC_NOKEY);
  EXPECT_EQ(size, 77u);
  EXPECT_EQ(ZqDoesMetricExist(handle, -1, ZQMETRIC_KIND_NUMBER), S_FALSE);
  EXPECT_EQ(ZqDeleteMetric(handle, -1, ZQMETRIC_KIND_NUMBER), S_FALSE);
  EXPECT_EQ(ReadRaw(kUser, Metrics(), L"1")->bytes, NumberBytes(5));
}

}  // namespace
}  // namespace settingstest
