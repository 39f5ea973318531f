// Class factories: one per class, created on first request, owned by the
// module's slot. The record is a zero-filled global memory block.
#include "module/class_factory.h"

#include <atomic>

#include "page/page_object.h"
#include "plugin/filter_object.h"
#include "plugin/global_object.h"
#include "plugin/live_object.h"
#include "quillet/clsid.h"

namespace quillet {
namespace {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(FactoryKind kind, REFCLSID clsid) : kind_(kind), clsid_(clsid) {}

  static ClassFactory* Create(FactoryKind kind, REFCLSID clsid) noexcept {
    return GlobalNew<ClassFactory>(kind, clsid);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }

  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++refs_; }

  ULONG STDMETHODCALLTYPE Release() noexcept override {
    ULONG left = --refs_;
    if (left == 0) Destroy();
    return left;
  }

  // Neither class can be aggregated: an outer object is refused, never
  // ignored (the object would not delegate to it).
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return kind_ == FactoryKind::Filter ? CreateFilterObject(iid, out) : CreatePageObject(iid, out);
  }

  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override;

 private:
  void Destroy() noexcept { GlobalDelete(this); }

  std::atomic<ULONG> refs_{0};
  FactoryKind kind_;
  CLSID clsid_;
};

struct Slot {
  std::atomic<ClassFactory*> factory{nullptr};
  std::atomic<LONG> locks{0};  // never below zero
};
Slot g_slots[2];

Slot& SlotOf(FactoryKind kind) { return g_slots[static_cast<int>(kind)]; }

HRESULT ClassFactory::LockServer(BOOL lock) noexcept {
  std::atomic<LONG>& locks = SlotOf(kind_).locks;
  if (lock) {
    ++locks;
  } else {
    LONG current = locks.load();
    while (current > 0 && !locks.compare_exchange_weak(current, current - 1)) {
    }
  }
  return S_OK;
}

// The slot's factory, created on first use. Two threads racing here both
// build one; the loser releases its own.
ClassFactory* SlotFactory(FactoryKind kind, REFCLSID clsid) noexcept {
  Slot& slot = SlotOf(kind);
  ClassFactory* existing = slot.factory.load();
  if (existing) return existing;
  ClassFactory* made = ClassFactory::Create(kind, clsid);
  if (!made) return nullptr;
  made->AddRef();  // the slot's reference
  if (slot.factory.compare_exchange_strong(existing, made)) return made;
  made->Release();
  return existing;
}

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  FactoryKind kind;
  if (IsEqualCLSID(clsid, CLSID_QuilletFilter)) {
    kind = FactoryKind::Filter;
  } else if (IsEqualCLSID(clsid, CLSID_QuilletPropPage)) {
    kind = FactoryKind::Page;
  } else {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  ClassFactory* factory = SlotFactory(kind, clsid);
  if (!factory) return E_OUTOFMEMORY;
  HRESULT hr = factory->QueryInterface(iid, out);
  return FAILED(hr) ? CLASS_E_CLASSNOTAVAILABLE : hr;
}

HRESULT CanUnloadNow() noexcept {
  if (LiveObjectCount() != 0) return S_FALSE;
  for (Slot& slot : g_slots)
    if (slot.factory.load() && slot.locks.load() != 0) return S_FALSE;
  return S_OK;
}

void ReleaseUnlockedFactories() noexcept {
  for (Slot& slot : g_slots) {
    if (slot.locks.load() != 0) continue;
    if (ClassFactory* factory = slot.factory.exchange(nullptr)) factory->Release();
  }
}

}  // namespace quillet
