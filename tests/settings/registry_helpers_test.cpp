// Sub-key counting, recursive deletion and the small registry probes.
#include <gtest/gtest.h>

#include <optional>

#include "settings_test_support.h"
#include "zq/registry.h"

namespace settingstest {
namespace {

// An empty access list lets nobody open the key (`locked`), or the
// default access comes back.
bool Lock(const std::wstring& path, bool locked) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(kUser, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return false;
  SECURITY_DESCRIPTOR sd;
  ACL empty;
  InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  InitializeAcl(&empty, sizeof(empty), ACL_REVISION);
  SetSecurityDescriptorDacl(&sd, TRUE, locked ? &empty : nullptr, FALSE);
  LONG status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

class RegistryHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = L"Software\\" + TestKeyName(L"QuilletTest.");
    RemoveTree(kUser, root_);
  }
  void TearDown() override {
    Lock(root_ + L"\\locked", false);
    RemoveTree(kUser, root_);
  }
  std::wstring root_;
};

TEST_F(RegistryHelpers, SubKeyCountAndLongestName) {
  for (const wchar_t* child : {L"\\a", L"\\abcde", L"\\twelve chars", L"\\abcde\\not counted"})
    ASSERT_TRUE(CreateKey(kUser, root_ + child));
  DWORD longest = 0;
  EXPECT_EQ(ZqRegGetSubKeyCount(kUser, root_.c_str(), &longest), 3);
  EXPECT_EQ(longest, 13u);
  EXPECT_EQ(ZqRegGetSubKeyCount(kUser, (root_ + L"\\a").c_str(), &longest), 0);
  EXPECT_EQ(longest, 1u);
  EXPECT_EQ(ZqRegGetSubKeyCount(kUser, (root_ + L"\\missing").c_str(), &longest), -1);
  EXPECT_EQ(longest, 1u);
  EXPECT_EQ(ZqRegGetSubKeyCount(kUser, root_.c_str(), nullptr), 3);
}

// Deleting while enumerating by index skips every second sub-key: the
// deletion must still take the whole tree.
TEST_F(RegistryHelpers, DeleteKeyTakesTheWholeTree) {
  for (int i = 0; i < 25; ++i) {
    std::wstring child = root_ + L"\\child" + std::to_wstring(i);
    ASSERT_TRUE(CreateKey(kUser, child + L"\\x\\y"));
    ASSERT_TRUE(CreateKey(kUser, child + L"\\z"));
    ASSERT_TRUE(WriteRaw(kUser, child, L"v", REG_DWORD, "abcd", 4));
  }
  EXPECT_EQ(ZqRegDeleteKey(kUser, root_.c_str()), ERROR_SUCCESS);
  EXPECT_FALSE(KeyExists(kUser, root_));
  EXPECT_EQ(ZqRegDeleteKey(kUser, root_.c_str()), ERROR_FILE_NOT_FOUND);
  EXPECT_NE(ZqRegDeleteKey(kUser, L""), ERROR_SUCCESS);  // never the root itself
  EXPECT_NE(ZqRegDeleteKey(kUser, nullptr), ERROR_SUCCESS);
  EXPECT_TRUE(KeyExists(kUser, L"Software"));
}

// A sub-key nobody may open cannot be deleted: the deletion takes what it
// can and stops with the registry's error instead of trying forever.
TEST_F(RegistryHelpers, DeleteKeyStopsAtAKeyItCannotOpen) {
  ASSERT_TRUE(CreateKey(kUser, root_ + L"\\locked\\inner"));
  ASSERT_TRUE(CreateKey(kUser, root_ + L"\\free\\inner"));
  ASSERT_TRUE(Lock(root_ + L"\\locked", true));
  EXPECT_EQ(ZqRegDeleteKey(kUser, root_.c_str()), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(KeyExists(kUser, root_));
  EXPECT_FALSE(KeyExists(kUser, root_ + L"\\free"));
  ASSERT_TRUE(Lock(root_ + L"\\locked", false));
  EXPECT_EQ(ZqRegDeleteKey(kUser, root_.c_str()), ERROR_SUCCESS);
  EXPECT_FALSE(KeyExists(kUser, root_));
}

// Explorer's setting lives in the user's own hive; the test puts back
// what it found.
TEST(RegistryProbes, FileExtensionsAreHiddenUnlessTheSettingSaysZero) {
  const std::wstring advanced = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
  const std::optional<RawValue> saved = ReadRaw(kUser, advanced, L"HideFileExt");
  const DWORD zero = 0, one = 1;
  struct Case {
    const char* label;
    DWORD type;
    const void* data;
    DWORD size;
    BOOL hidden;
  };
  const Case cases[] = {
      {"absent", REG_NONE, nullptr, 0, TRUE},
      {"number 0", REG_DWORD, &zero, 4, FALSE},
      {"number 1", REG_DWORD, &one, 4, TRUE},
      {"text 0", REG_SZ, L"0", 4, TRUE},
      {"binary zeros", REG_BINARY, &zero, 4, TRUE},
  };
  for (const Case& c : cases) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyW(kUser, advanced.c_str(), &key), ERROR_SUCCESS);
    RegDeleteValueW(key, L"HideFileExt");
    RegCloseKey(key);
    if (c.data) {
      ASSERT_TRUE(WriteRaw(kUser, advanced, L"HideFileExt", c.type, c.data, c.size));
    }
    EXPECT_EQ(ZqIsExplorerFileExtHidden(), c.hidden) << c.label;
  }
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(kUser, advanced.c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  if (saved)
    RegSetValueExW(key, L"HideFileExt", 0, saved->type, saved->bytes.data(), static_cast<DWORD>(saved->bytes.size()));
  else
    RegDeleteValueW(key, L"HideFileExt");
  RegCloseKey(key);
}

// Wine's user may write machine-wide settings; the probe leaves no key.
TEST(RegistryProbes, PowerUserProbeCleansUpAfterItself) {
  const std::wstring probe = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\~ZqTestLoginPrivilege";
  EXPECT_EQ(ZqIsPowerUser(), TRUE);
  EXPECT_FALSE(KeyExists(kMachine, probe));
  EXPECT_FALSE(KeyExists(kMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\~ZqTestLoginPrivilege"));
}

}  // namespace
}  // namespace settingstest
