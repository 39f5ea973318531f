#include "plugin/filter_companions.h"

namespace quillet {
namespace {

// Answers `own` interfaces with the companion itself; anything else,
// IUnknown included, goes to the filter object, so every interface of the
// filter reaches every other and all share one identity.
template <typename C>
HRESULT CompanionQuery(C* self, FilterObject* owner, REFIID iid, void** out,
                       std::initializer_list<const IID*> own) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (const IID* candidate : own) {
    if (IsEqualIID(iid, *candidate)) {
      *out = self;
      self->AddRef();
      return S_OK;
    }
  }
  return owner->QueryInterface(iid, out);
}

}  // namespace

HRESULT PersistCompanion::QueryInterface(REFIID iid, void** out) noexcept {
  return CompanionQuery(this, owner_, iid, out, {&IID_IPersist, &IID_IPersistStream});
}
HRESULT PersistCompanion::GetClassID(CLSID* clsid) noexcept {
  if (!clsid) return E_POINTER;
  *clsid = owner_->ClassId();
  return S_OK;
}
HRESULT PersistCompanion::IsDirty() noexcept { return owner_->IsDirty(); }
HRESULT PersistCompanion::Load(IStream* stream) noexcept { return owner_->Load(stream); }
HRESULT PersistCompanion::Save(IStream* stream, BOOL clearDirty) noexcept { return owner_->Save(stream, clearDirty); }
HRESULT PersistCompanion::GetSizeMax(ULARGE_INTEGER* size) noexcept { return owner_->GetSizeMax(size); }

HRESULT ProcessCompanion::QueryInterface(REFIID iid, void** out) noexcept {
  return CompanionQuery(this, owner_, iid, out, {&IID_IQuilletProcess});
}
HRESULT ProcessCompanion::Process(IQuilletEventBuffer* buffer, QUILLET_BUFFERINFO* info) noexcept {
  return owner_->Process(buffer, info);
}
HRESULT ProcessCompanion::GetProcessingInfo(DWORD* a, DWORD* b, DWORD* c) noexcept {
  return owner_->GetProcessingInfo(a, b, c);
}
HRESULT ProcessCompanion::SetProcessingValue(DWORD value) noexcept { return owner_->SetProcessingValue(value); }

HRESULT PagesCompanion::QueryInterface(REFIID iid, void** out) noexcept {
  return CompanionQuery(this, owner_, iid, out, {&IID_ISpecifyPropertyPages});
}
HRESULT PagesCompanion::GetPages(CAUUID* pages) noexcept { return owner_->GetPages(pages); }

HRESULT NotifySink::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IQuilletNotifySink)) return E_NOINTERFACE;
  *out = static_cast<IQuilletNotifySink*>(this);
  AddRef();
  return S_OK;
}
HRESULT NotifySink::Notify(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept {
  return owner_->Notify(n, deferred);
}

HRESULT PageEventSink::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IQuilletPageEventSink)) return E_NOINTERFACE;
  *out = static_cast<IQuilletPageEventSink*>(this);
  AddRef();
  return S_OK;
}
HRESULT PageEventSink::PageEvent(DWORD a, DWORD b) noexcept { return owner_->PageEvent(a, b); }

}  // namespace quillet
