// The project version as Windows reads it back from every binary's
// VERSIONINFO, and as quillet-host --version prints it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry_helpers.h"
#include "test_paths.h"
#include "zq/registry.h"

namespace {

struct Binary {
  const wchar_t* relative;  // under the build folder
  const wchar_t* fileName;
  DWORD fileType;
  WORD language;
  bool selfRegisters;
};

const Binary kBinaries[] = {
    {L"bin\\quillet.dll", L"quillet.dll", VFT_DLL, 0x0409, true},
    {L"bin\\quillet-host.exe", L"quillet-host.exe", VFT_APP, 0x0409, false},
    {L"bin\\quillet.lng", L"quillet.lng", VFT_DLL, 0x0407, false},
};

std::wstring StringValue(const std::vector<BYTE>& block, WORD language, WORD codePage, const wchar_t* name) {
  wchar_t path[128];
  wsprintfW(path, L"\\StringFileInfo\\%04x%04x\\%s", language, codePage, name);
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), path, &value, &length) || !value) return L"(missing)";
  return static_cast<const wchar_t*>(value);
}

TEST(Version, EveryBinaryCarriesTheProjectVersion) {
  const DWORD high = MAKELONG(QUILLET_EXPECTED_MINOR, QUILLET_EXPECTED_MAJOR);
  const DWORD low = MAKELONG(0, QUILLET_EXPECTED_PATCH);
  for (const Binary& b : kBinaries) {
    SCOPED_TRACE(testing::Message() << "file " << b.fileName);
    const std::wstring path = testsupport::BuildPath(b.relative);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_NE(size, 0u) << "no VERSIONINFO";
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileType, b.fileType);

    struct Translation { WORD language, codePage; }* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, sizeof(Translation));
    EXPECT_EQ(translation->language, b.language);
    EXPECT_EQ(translation->codePage, 1200);
    const WORD lang = translation->language, cp = translation->codePage;
    EXPECT_EQ(StringValue(block, lang, cp, L"FileVersion"), QUILLET_EXPECTED_VERSION);
    EXPECT_EQ(StringValue(block, lang, cp, L"ProductVersion"), QUILLET_EXPECTED_VERSION);
    EXPECT_EQ(StringValue(block, lang, cp, L"OriginalFilename"), b.fileName);
    EXPECT_EQ(StringValue(block, lang, cp, L"ProductName"), L"Quillet");
    EXPECT_NE(StringValue(block, lang, cp, L"FileDescription"), L"(missing)");

    // The library's own reading of the self-registration entry.
    EXPECT_EQ(ZqSelfRegister_IsSupported(path.c_str()), b.selfRegisters ? S_OK : E_NOTIMPL);
  }
}

TEST(Version, HostPrintsTheProjectVersion) {
  std::string output;
  const std::wstring line = L"\"" + testsupport::BuildPath(L"bin\\quillet-host.exe") + L"\" --version";
  EXPECT_EQ(testsupport::RunSystemProgramCapture(line, &output), 0u);
  std::wstring expected = std::wstring(L"quillet-host ") + QUILLET_EXPECTED_VERSION + L"\n";
  EXPECT_EQ(std::wstring(output.begin(), output.end()), expected);

  output.clear();
  const std::wstring help = L"\"" + testsupport::BuildPath(L"bin\\quillet-host.exe") + L"\" --help";
  EXPECT_EQ(testsupport::RunSystemProgramCapture(help, &output), 0u);
  EXPECT_NE(output.find("--version"), std::string::npos);
}

}  // namespace
