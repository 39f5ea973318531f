// The host program's entry in the mouse driver's exceptions list: written
// above every numbered entry, never over another program's, found again by
// the registry's own command-line tool.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <set>
#include <string>

#include "registry_helpers.h"
#include "zq/wheel.h"

namespace {

const std::wstring kKey = L"Control Panel\\Microsoft Input Devices\\Mouse\\Exceptions";

std::wstring OwnFileName() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring full(path);
  return full.substr(full.find_last_of(L"\\/") + 1);
}

std::set<std::wstring> SubKeys() {
  std::set<std::wstring> names;
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.insert(name);
  }
  RegCloseKey(key);
  return names;
}

void WriteEntry(const std::wstring& name, const std::wstring& fileName) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (kKey + L"\\" + name).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"Filename", 0, REG_SZ, reinterpret_cast<const BYTE*>(fileName.c_str()),
                 static_cast<DWORD>((fileName.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

std::wstring FileNameOf(const std::wstring& name) {
  return testsupport::ReadString(HKEY_CURRENT_USER, kKey + L"\\" + name, L"Filename").value_or(L"");
}

// Entries naming this program, whatever the letter case.
std::set<std::wstring> OwnEntries() {
  std::set<std::wstring> own;
  for (const std::wstring& name : SubKeys())
    if (lstrcmpiW(FileNameOf(name).c_str(), OwnFileName().c_str()) == 0) own.insert(name);
  return own;
}

unsigned long HighestNumber() {
  unsigned long highest = 0;
  for (const std::wstring& name : SubKeys()) {
    bool digits = !name.empty();
    for (wchar_t c : name) digits = digits && iswdigit(c);
    if (digits) highest = std::max(highest, std::wcstoul(name.c_str(), nullptr, 10));
  }
  return highest;
}

// Runs reg.exe with its output captured; its exit code.
DWORD RunReg(const std::wstring& arguments, std::string* output) {
  return testsupport::RunSystemProgramCapture(L"reg.exe " + arguments, output);
}

class WheelExceptions : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const std::wstring& name : OwnEntries()) RegDeleteKeyW(HKEY_CURRENT_USER, (kKey + L"\\" + name).c_str());
    before_ = SubKeys();
  }
  void TearDown() override {
    for (const std::wstring& name : SubKeys())
      if (!before_.count(name)) RegDeleteKeyW(HKEY_CURRENT_USER, (kKey + L"\\" + name).c_str());
  }
  std::set<std::wstring> before_;
};

TEST_F(WheelExceptions, FirstEntryIsNumbered1001) {
  if (HighestNumber() >= 1001) GTEST_SKIP() << "the list already has numbered entries";
  EXPECT_EQ(ZqWheel_Initialize(0, 0), ERROR_SUCCESS);
  EXPECT_EQ(OwnEntries(), (std::set<std::wstring>{L"1001"}));
}

TEST_F(WheelExceptions, NewEntryGoesAboveEveryNumberAndLeavesOthersAlone) {
  // Another program at 1999 and at 2000 (2000 is past the old scan's range),
  // a key that is not a number, and one far up.
  if (!before_.count(L"1999")) WriteEntry(L"1999", L"other.exe");
  if (!before_.count(L"2000")) WriteEntry(L"2000", L"another.exe");
  WriteEntry(L"mouse", L"notanumber.exe");
  const std::wstring at1999 = FileNameOf(L"1999"), at2000 = FileNameOf(L"2000");
  const unsigned long highest = HighestNumber();
  ASSERT_GE(highest, 2000u);

  EXPECT_EQ(ZqWheel_Initialize(0, 1), ERROR_SUCCESS);
  const std::wstring expected = std::to_wstring(highest + 1);
  ASSERT_EQ(OwnEntries(), (std::set<std::wstring>{expected}));
  EXPECT_EQ(FileNameOf(expected), OwnFileName());
  EXPECT_EQ(testsupport::ReadString(HKEY_CURRENT_USER, kKey + L"\\" + expected, L"Description"),
            std::wstring(L"Halvane Application"));
  EXPECT_EQ(testsupport::ReadDword(HKEY_CURRENT_USER, kKey + L"\\" + expected, L"Version"), 0xFFFFFFFFu);
  EXPECT_EQ(FileNameOf(L"1999"), at1999);
  EXPECT_EQ(FileNameOf(L"2000"), at2000);
  EXPECT_EQ(FileNameOf(L"mouse"), L"notanumber.exe");

  // The registry's own tool finds it.
  std::string shown;
  const std::wstring path = L"\"HKCU\\" + kKey + L"\\" + expected + L"\"";
  EXPECT_EQ(RunReg(L"query " + path + L" /v Filename", &shown), 0u);
  std::string ownNarrow;
  for (wchar_t c : OwnFileName()) ownNarrow += static_cast<char>(c);
  EXPECT_NE(shown.find(ownNarrow), std::string::npos) << shown;
  EXPECT_NE(shown.find("REG_SZ"), std::string::npos) << shown;
  shown.clear();
  EXPECT_NE(RunReg(L"query \"HKCU\\" + kKey + L"\\" + std::to_wstring(highest + 2) + L"\"", &shown), 0u);

  // Found again: nothing new, also when its letter case differs.
  const size_t count = SubKeys().size();
  EXPECT_EQ(ZqWheel_Initialize(0, 1), ERROR_SUCCESS);
  EXPECT_EQ(SubKeys().size(), count);
  std::wstring upper = OwnFileName();
  for (wchar_t& c : upper) c = towupper(c);
  WriteEntry(expected, upper);
  EXPECT_EQ(ZqWheel_Initialize(0, 1), ERROR_SUCCESS);
  EXPECT_EQ(SubKeys().size(), count);
}

}  // namespace
