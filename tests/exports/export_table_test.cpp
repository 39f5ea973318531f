// The built module's export table against the names each family must export.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <set>
#include <string>

#include "test_paths.h"

namespace {

std::set<std::string> ExportedNames(HMODULE module) {
  auto base = reinterpret_cast<const BYTE*>(module);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  std::set<std::string> result;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) result.insert(reinterpret_cast<const char*>(base + names[i]));
  return result;
}

std::set<std::string> ExpectedNames() {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  std::string dir = QUILLET_EXPECTED_EXPORTS_DIR;
  HANDLE search = FindFirstFileA((dir + "/*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::ifstream file(dir + "/" + found.cFileName);
    std::string line;
    while (std::getline(file, line)) {
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
      if (!line.empty() && line[0] != '#') names.insert(line);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

TEST(ExportTable, MatchesTheNamesOfTheImplementedFamilies) {
  HMODULE module = LoadLibraryW(testsupport::ModulePath().c_str());
  ASSERT_NE(module, nullptr);
  std::set<std::string> exported = ExportedNames(module), expected = ExpectedNames();
  ASSERT_GT(expected.size(), 50u);
  for (const auto& name : expected) EXPECT_TRUE(exported.count(name)) << "missing export: " << name;
  for (const auto& name : exported) EXPECT_TRUE(expected.count(name)) << "unexpected export: " << name;
  for (const auto& name : exported) EXPECT_EQ(name.find('@'), std::string::npos) << "decorated: " << name;
  FreeLibrary(module);
}

}  // namespace
