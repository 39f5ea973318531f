// COM's own rules as a host and the system rely on them: one identity for
// every interface of the filter, no aggregation, and no unloading of the
// module under a live object. This program links nothing of the module, so
// only COM loads and unloads it.
#include <gtest/gtest.h>
#include <ocidl.h>
#include <ole2.h>

#include <string>

#include "quillet/clsid.h"
#include "quillet/plugin.h"
#include "module_support.h"
#include "registry_helpers.h"
#include "test_paths.h"

namespace {

using testsupport::BusyHeapBytes;

using testsupport::Regsvr32;


bool ModuleLoaded() { return GetModuleHandleW(L"quillet.dll") != nullptr; }

class ComRules : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(Regsvr32(L"/s"), 0u); }
  static void TearDownTestSuite() { Regsvr32(L"/s /u"); }
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override {
    CoFreeUnusedLibrariesEx(0, 0);
    CoUninitialize();
  }
  static IUnknown* NewFilter() {
    IUnknown* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_QuilletFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    return object;
  }
};

// Every exposed interface reaches every other, the same pointer whichever
// interface is asked, and IUnknown is the one identity.
TEST_F(ComRules, EveryInterfaceReachesEveryOtherWithOneIdentity) {
  const IID* exposed[] = {&IID_IUnknown,        &IID_IQuilletFilter, &IID_IQuilletLanguage,
                          &IID_IQuilletTrackInfo, &IID_IQuilletProcess, &IID_IPersist,
                          &IID_IPersistStream,  &IID_ISpecifyPropertyPages};
  const IID* refused[] = {&IID_IDispatch, &IID_IPropertyPage, &IID_IClassFactory, &IID_IQuilletObserver};
  IUnknown* filter = NewFilter();
  ASSERT_NE(filter, nullptr);
  IUnknown* canonical[std::size(exposed)] = {};
  for (size_t i = 0; i < std::size(exposed); ++i)
    ASSERT_EQ(filter->QueryInterface(*exposed[i], reinterpret_cast<void**>(&canonical[i])), S_OK) << i;
  EXPECT_EQ(canonical[0], filter);

  for (size_t from = 0; from < std::size(exposed); ++from) {
    for (size_t to = 0; to < std::size(exposed); ++to) {
      IUnknown* got = nullptr;
      ASSERT_EQ(canonical[from]->QueryInterface(*exposed[to], reinterpret_cast<void**>(&got)), S_OK)
          << "from " << from << " to " << to;
      EXPECT_EQ(got, canonical[to]) << "from " << from << " to " << to;
      got->Release();
    }
    for (const IID* iid : refused) {
      void* got = reinterpret_cast<void*>(1);
      EXPECT_EQ(canonical[from]->QueryInterface(*iid, &got), E_NOINTERFACE) << from;
      EXPECT_EQ(got, nullptr);
    }
  }
  for (IUnknown* p : canonical) p->Release();
  EXPECT_EQ(filter->Release(), 0u);
}

class Outer : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  ULONG refs = 1;
};

TEST_F(ComRules, NeitherClassCanBeAggregated) {
  for (const CLSID* clsid : {&CLSID_QuilletFilter, &CLSID_QuilletPropPage}) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(*clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    Outer outer;
    for (const IID* iid : {&IID_IUnknown, &IID_IQuilletFilter, &IID_IPropertyPage}) {
      void* out = reinterpret_cast<void*>(1);
      EXPECT_EQ(factory->CreateInstance(&outer, *iid, &out), CLASS_E_NOAGGREGATION);
      EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(outer.refs, 1u);  // no reference kept to the outer object
    factory->Release();
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(*clsid, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(outer.refs, 1u);
  }
}

// The system frees unused libraries by asking DllCanUnloadNow: a live
// filter, or a reference held only through a companion, keeps the module.
TEST_F(ComRules, ModuleStaysLoadedWhileAnObjectLives) {
  ASSERT_FALSE(ModuleLoaded());
  IUnknown* filter = NewFilter();
  ASSERT_NE(filter, nullptr);
  ASSERT_TRUE(ModuleLoaded());
  IPersistStream* persist = nullptr;
  ASSERT_EQ(filter->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist)), S_OK);
  EXPECT_EQ(filter->Release(), 1u);  // only the companion holds the object now

  CoFreeUnusedLibrariesEx(0, 0);
  ASSERT_TRUE(ModuleLoaded());
  ULARGE_INTEGER size{};
  EXPECT_EQ(persist->GetSizeMax(&size), S_OK);
  EXPECT_EQ(size.QuadPart, 6168u);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  EXPECT_EQ(OleSaveToStream(persist, stream), S_OK);
  stream->Release();
  EXPECT_EQ(persist->Release(), 0u);

  // With nothing alive the same call really unloads it.
  CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_FALSE(ModuleLoaded());
}

TEST_F(ComRules, ServerLockKeepsTheModuleUntilUnlocked) {
  IClassFactory* factory = nullptr;
  ASSERT_EQ(CoGetClassObject(CLSID_QuilletFilter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory->Release();
  CoFreeUnusedLibrariesEx(0, 0);
  ASSERT_TRUE(ModuleLoaded());
  ASSERT_EQ(CoGetClassObject(CLSID_QuilletFilter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  factory->Release();
  CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_FALSE(ModuleLoaded());
}


void CreateQueryRelease() {
  IUnknown* filter = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_QuilletFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&filter)),
            S_OK);
  for (const IID* iid : {&IID_IQuilletFilter, &IID_IQuilletProcess, &IID_IPersistStream, &IID_ISpecifyPropertyPages}) {
    IUnknown* p = nullptr;
    ASSERT_EQ(filter->QueryInterface(*iid, reinterpret_cast<void**>(&p)), S_OK);
    IUnknown* identity = nullptr;
    ASSERT_EQ(p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    identity->Release();
    p->Release();
  }
  ASSERT_EQ(filter->Release(), 0u);
}

TEST_F(ComRules, CreateQueryReleaseCyclesLeaveTheHeapsAsTheyWere) {
  // The module stays loaded across the cycles so its one-time allocations
  // are made before the first measurement.
  IClassFactory* factory = nullptr;
  ASSERT_EQ(CoGetClassObject(CLSID_QuilletFilter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  factory->LockServer(TRUE);
  for (int i = 0; i < 10; ++i) CreateQueryRelease();
  SIZE_T before = BusyHeapBytes();
  for (int i = 0; i < 100; ++i) CreateQueryRelease();
  SIZE_T after = BusyHeapBytes();
  EXPECT_EQ(after, before);
  factory->LockServer(FALSE);
  factory->Release();
}

}  // namespace
