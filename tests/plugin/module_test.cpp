// The module as a COM server: class objects, unload policy, registration.
#include <gtest/gtest.h>
#include <ocidl.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "quillet/clsid.h"
#include "module_support.h"
#include "registry_helpers.h"
#include "test_paths.h"
#include "zq/registry.h"

namespace {

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using NoArgFn = HRESULT(WINAPI*)();

const std::wstring kFilterKey = L"CLSID\\" QUILLET_FILTER_CLSID_TEXT;
const std::wstring kPageKey = L"CLSID\\" QUILLET_PROPPAGE_CLSID_TEXT;
const std::wstring kPlugins = L"Software\\MIDI Plugins";

class Module : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = LoadLibraryW(testsupport::ModulePath().c_str());
    ASSERT_NE(module_, nullptr);
    getClassObject_ = reinterpret_cast<GetClassObjectFn>(GetProcAddress(module_, "DllGetClassObject"));
    canUnloadNow_ = reinterpret_cast<NoArgFn>(GetProcAddress(module_, "DllCanUnloadNow"));
  }
  IClassFactory* Factory(REFCLSID clsid) {
    IClassFactory* factory = nullptr;
    EXPECT_EQ(getClassObject_(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    return factory;
  }
  static HMODULE module_;
  static GetClassObjectFn getClassObject_;
  static NoArgFn canUnloadNow_;
};
HMODULE Module::module_;
GetClassObjectFn Module::getClassObject_;
NoArgFn Module::canUnloadNow_;

// Runs first: nothing has asked for a factory yet.
TEST_F(Module, UnloadPolicyFollowsTheLockCounts) {
  EXPECT_EQ(canUnloadNow_(), S_OK);
  IClassFactory* filter = Factory(CLSID_QuilletFilter);
  ASSERT_NE(filter, nullptr);
  EXPECT_EQ(canUnloadNow_(), S_OK);  // factories alone do not keep the module
  filter->LockServer(FALSE);         // at zero it stays at zero
  EXPECT_EQ(canUnloadNow_(), S_OK);
  filter->LockServer(TRUE);
  EXPECT_EQ(canUnloadNow_(), S_FALSE);
  filter->LockServer(FALSE);
  EXPECT_EQ(canUnloadNow_(), S_OK);
  IClassFactory* page = Factory(CLSID_QuilletPropPage);
  page->LockServer(TRUE);
  page->LockServer(TRUE);
  page->LockServer(FALSE);
  EXPECT_EQ(canUnloadNow_(), S_FALSE);
  page->LockServer(FALSE);
  EXPECT_EQ(canUnloadNow_(), S_OK);
  filter->Release();
  page->Release();
}

TEST_F(Module, LiveObjectsKeepTheModule) {
  IClassFactory* factory = Factory(CLSID_QuilletFilter);
  IUnknown* filter = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&filter)), S_OK);
  factory->Release();
  EXPECT_EQ(canUnloadNow_(), S_FALSE);
  IPersistStream* persist = nullptr;
  ASSERT_EQ(filter->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist)), S_OK);
  filter->Release();
  EXPECT_EQ(canUnloadNow_(), S_FALSE);  // held through a companion alone
  EXPECT_EQ(persist->Release(), 0u);
  EXPECT_EQ(canUnloadNow_(), S_OK);
}

TEST_F(Module, ClassObjectsAreOnePerClass) {
  IClassFactory* a = Factory(CLSID_QuilletFilter);
  IClassFactory* b = Factory(CLSID_QuilletFilter);
  IUnknown* unknown = nullptr;
  ASSERT_EQ(getClassObject_(CLSID_QuilletFilter, IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(a, b);
  EXPECT_EQ(static_cast<IUnknown*>(a), unknown);
  EXPECT_NE(static_cast<IUnknown*>(Factory(CLSID_QuilletPropPage)), unknown);
  // The slot holds one reference: ours are 3 (a, b, unknown) and the page's 1.
  EXPECT_EQ(a->AddRef(), 5u);
  EXPECT_EQ(a->Release(), 4u);
  unknown->Release();
  b->Release();
  EXPECT_EQ(a->Release(), 1u);
  IClassFactory* page = Factory(CLSID_QuilletPropPage);
  page->Release();
  EXPECT_EQ(page->Release(), 1u);  // the earlier Factory() call above
}

TEST_F(Module, UnknownClassesAndInterfacesAreRefused) {
  const GUID other = {0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject_(other, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject_(CLSID_QuilletFilter, IID_IDispatch, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(getClassObject_(CLSID_QuilletFilter, IID_IClassFactory, nullptr), E_POINTER);
  IClassFactory* factory = Factory(CLSID_QuilletFilter);
  EXPECT_EQ(factory->QueryInterface(IID_IDispatch, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  factory->Release();
}

// Both factories make their objects; an interface the object does not
// have destroys it again. A live page keeps the module loaded.
TEST_F(Module, FactoriesCreateFiltersAndPagesAndRefuseWhatTheyCannotMake) {
  IClassFactory* filter = Factory(CLSID_QuilletFilter);
  IClassFactory* page = Factory(CLSID_QuilletPropPage);
  IUnknown* object = nullptr;
  ASSERT_EQ(filter->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
  EXPECT_EQ(object->Release(), 0u);
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(filter->CreateInstance(nullptr, IID_IDispatch, &out), E_NOINTERFACE);  // made, then destroyed
  EXPECT_EQ(out, nullptr);
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(page->CreateInstance(nullptr, IID_IPersistStream, &out), E_NOINTERFACE);  // never a page interface
  EXPECT_EQ(out, nullptr);
  IPropertyPage* made = nullptr;
  ASSERT_EQ(page->CreateInstance(nullptr, IID_IPropertyPage, reinterpret_cast<void**>(&made)), S_OK);
  EXPECT_EQ(canUnloadNow_(), S_FALSE);
  EXPECT_EQ(made->Release(), 0u);
  EXPECT_EQ(canUnloadNow_(), S_OK);
  EXPECT_EQ(page->CreateInstance(reinterpret_cast<IUnknown*>(page), IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(filter->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
  filter->Release();
  page->Release();
}

TEST_F(Module, RacingThreadsShareOneFactory) {
  std::atomic<IClassFactory*> seen[8] = {};
  std::thread threads[8];
  for (int i = 0; i < 8; ++i)
    threads[i] = std::thread([&, i] { seen[i] = Factory(CLSID_QuilletPropPage); });
  for (auto& t : threads) t.join();
  for (auto& s : seen) {
    EXPECT_EQ(s.load(), seen[0].load());
    s.load()->Release();
  }
}

class Registration : public ::testing::Test {
 protected:
  static DWORD Regsvr32(const wchar_t* flags) { return testsupport::Regsvr32(flags); }
  void TearDown() override {
    Regsvr32(L"/s /u");
    ZqRegDeleteKey(HKEY_LOCAL_MACHINE, (kPlugins + L"\\{OtherPlugin}").c_str());
  }
};

TEST_F(Registration, WritesClassesAndPluginKeyAndRemovesThem) {
  using namespace testsupport;
  ASSERT_EQ(Regsvr32(L"/s"), 0u);
  for (const auto& key : {kFilterKey, kPageKey}) {
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, key, nullptr).value_or(L"?"), L"Halvane Tarn 5.0 MIDI Quillet");
    auto path = ReadString(HKEY_CLASSES_ROOT, key + L"\\InProcServer32", nullptr);
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(_wcsicmp(path->c_str(), ModulePath().c_str()), 0) << *path;
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, key + L"\\InProcServer32", L"ThreadingModel").value_or(L"?"), L"Both");
  }
  const std::wstring plugin = kPlugins + L"\\" QUILLET_FILTER_CLSID_TEXT;
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, plugin, L"Type").value_or(0), 258u);
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, plugin, nullptr).value_or(L"?"), L"Halvane Tarn 5.0 MIDI Quillet");

  // Registered, the class is reached the way a host reaches it.
  CoInitialize(nullptr);
  IUnknown* object = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_QuilletFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&object)),
            S_OK);
  object->Release();
  IClassFactory* factory = nullptr;
  EXPECT_EQ(CoGetClassObject(CLSID_QuilletFilter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  if (factory) factory->Release();
  CoUninitialize();

  ASSERT_EQ(Regsvr32(L"/s /u"), 0u);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kFilterKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kPageKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kPlugins));  // the only plug-in there
}

TEST_F(Registration, KeepsThePluginsKeyWhileOthersAreRegistered) {
  HKEY other;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kPlugins + L"\\{OtherPlugin}").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &other, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(other);
  ASSERT_EQ(Regsvr32(L"/s"), 0u);
  ASSERT_EQ(Regsvr32(L"/s /u"), 0u);
  EXPECT_TRUE(testsupport::KeyExists(HKEY_LOCAL_MACHINE, kPlugins + L"\\{OtherPlugin}"));
  EXPECT_FALSE(testsupport::KeyExists(HKEY_LOCAL_MACHINE, kPlugins + L"\\" QUILLET_FILTER_CLSID_TEXT));
}

TEST(RegistryKeys, DeleteKeyRemovesDeepTreesAndStopsWhenItCannot) {
  const std::wstring root = L"Software\\QuilletTests\\DeleteTree";
  for (int i = 0; i < 7; ++i)
    for (int j = 0; j < 3; ++j) {
      HKEY k;
      std::wstring path = root + L"\\child" + std::to_wstring(i) + L"\\grand" + std::to_wstring(j);
      ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
                ERROR_SUCCESS);
      RegCloseKey(k);
    }
  EXPECT_EQ(ZqRegGetSubKeyCount(HKEY_CURRENT_USER, root.c_str(), nullptr), 7);
  DWORD longest = 0;
  ZqRegGetSubKeyCount(HKEY_CURRENT_USER, root.c_str(), &longest);
  EXPECT_EQ(longest, 7u);  // "child0" plus 1
  EXPECT_EQ(ZqRegDeleteKey(HKEY_CURRENT_USER, root.c_str()), ERROR_SUCCESS);
  EXPECT_FALSE(testsupport::KeyExists(HKEY_CURRENT_USER, root));
  EXPECT_EQ(ZqRegGetSubKeyCount(HKEY_CURRENT_USER, root.c_str(), &longest), -1);
  EXPECT_EQ(longest, 1u);
  EXPECT_NE(ZqRegDeleteKey(HKEY_CURRENT_USER, root.c_str()), ERROR_SUCCESS);  // gone: an error, no loop
  EXPECT_NE(ZqRegDeleteKey(HKEY_CURRENT_USER, L""), ERROR_SUCCESS);          // never the root itself
}

}  // namespace
