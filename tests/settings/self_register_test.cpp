// Self-registration of other modules: three small test modules built
// beside the tests (see test_module.cpp).
#include <gtest/gtest.h>

#include <string>

#include "settings_test_support.h"
#include "test_module_ids.h"
#include "test_paths.h"
#include "zq/registry.h"

namespace settingstest {
namespace {

std::wstring Beside(const wchar_t* name) { return testsupport::ExeDirectory() + L"\\" + name; }

class SelfRegister : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RemoveTree(HKEY_CLASSES_ROOT, kSelfRegClassKey);
    RemoveTree(HKEY_CLASSES_ROOT, kPlainClassKey);
  }
};

TEST_F(SelfRegister, ADeclaringModuleRegistersAndRemovesItself) {
  const std::wstring path = Beside(kSelfRegModule);
  ASSERT_EQ(GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES, true) << "test module not built";
  EXPECT_EQ(ZqSelfRegister_IsSupported(path.c_str()), S_OK);

  EXPECT_EQ(ZqSelfRegister_Register(path.c_str(), FALSE), S_OK);
  auto server = ReadRaw(HKEY_CLASSES_ROOT, std::wstring(kSelfRegClassKey) + L"\\InProcServer32", nullptr);
  ASSERT_TRUE(server.has_value());
  EXPECT_EQ(server->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(lstrcmpiW(reinterpret_cast<const wchar_t*>(server->bytes.data()), path.c_str()), 0);
  EXPECT_EQ(GetModuleHandleW(path.c_str()), nullptr) << "the module is unloaded again";

  EXPECT_EQ(ZqSelfRegister_Register(path.c_str(), TRUE), S_OK);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kSelfRegClassKey));
  // Nothing left to remove: the module's own result comes back.
  EXPECT_EQ(ZqSelfRegister_Register(path.c_str(), TRUE), kSelfRegClassError);
  EXPECT_EQ(GetModuleHandleW(path.c_str()), nullptr);
}

TEST_F(SelfRegister, ModulesThatDoNotDeclareItAreNeverLoaded) {
  struct Case {
    const char* label;
    std::wstring path;
    HRESULT result;
  };
  const Case cases[] = {
      {"no entry in the first translation", Beside(kPlainModule), E_NOTIMPL},
      {"no version information", Beside(L"settings_self_register_tests.exe"), E_FAIL},
      {"no such file", Beside(L"settings_missing_module.dll"), E_FAIL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(ZqSelfRegister_IsSupported(c.path.c_str()), c.result);
    EXPECT_EQ(ZqSelfRegister_Register(c.path.c_str(), FALSE), c.result);
  }
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kPlainClassKey)) << "the plain module's DllRegisterServer ran";
  EXPECT_EQ(ZqSelfRegister_IsSupported(nullptr), E_POINTER);
  EXPECT_EQ(ZqSelfRegister_Register(nullptr, FALSE), E_POINTER);
}

TEST_F(SelfRegister, ADeclaringModuleWithoutEntryPoints) {
  const std::wstring path = Beside(kNoEntryModule);
  EXPECT_EQ(ZqSelfRegister_IsSupported(path.c_str()), S_OK);
  EXPECT_EQ(ZqSelfRegister_Register(path.c_str(), FALSE), E_NOTIMPL);
  EXPECT_EQ(ZqSelfRegister_Register(path.c_str(), TRUE), E_NOTIMPL);
  EXPECT_EQ(GetModuleHandleW(path.c_str()), nullptr);
}

}  // namespace
}  // namespace settingstest
