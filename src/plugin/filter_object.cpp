// The filter object: identity, lifetime, initialisation and small queries.
#include "plugin/filter_object.h"

#include <cstring>
#include <new>

#include "core/module_state.h"
#include "core/text_copy.h"
#include "plugin/filter_companions.h"
#include "plugin/global_object.h"
#include "midi/midi_event.h"
#include "zq/lang.h"

namespace quillet {

namespace {
template <typename T>
T* MakeCompanion(FilterObject* owner) {
  T* companion = new (std::nothrow) T(owner);
  if (companion) companion->TakeOwnerReference();
  return companion;
}

template <typename T>
void DropCompanion(T*& companion) {
  if (companion) companion->DropOwnerReference();
  companion = nullptr;
}
}  // namespace

FilterObject::FilterObject(REFCLSID clsid) : clsid_(clsid) {}

FilterObject::~FilterObject() {
  Disconnect();
  if (observer_) observer_->Release();
  observer_ = nullptr;
  DestroyLists();
  ReleaseCompanions();
  if (locksReady_) {
    DeleteCriticalSection(&lock_);
    DeleteCriticalSection(&queueLock_);
    locksReady_ = false;
  }
}

void FilterObject::ReleaseCompanions() noexcept {
  DropCompanion(persist_);
  DropCompanion(process_);
  DropCompanion(pages_);
  DropCompanion(notifySink_);
  DropCompanion(pageSink_);
}

void FilterObject::DestroyLists() noexcept {
  auto destroyEvents = [](tZQLIST*& list) {
    if (!list) return;
    for (LONG i = 0; i < list->count; ++i) ClearEvent(static_cast<QUILLET_EVENT*>(ZQLIST_SLOT(list, i)));
    ZqList_Destroy(list);
    list = nullptr;
  };
  if (subTracks_) {
    for (LONG i = 0; i < subTracks_->count; ++i) destroyEvents(static_cast<SubTrackItem*>(ZQLIST_SLOT(subTracks_, i))->events);
    ZqList_Destroy(subTracks_);
    subTracks_ = nullptr;
  }
  destroyEvents(selection_);
  destroyEvents(records_);
  ZqList_Destroy(queue_);
  queue_ = nullptr;
  flags_ &= ~(kSubTrackListBuilt | kEventListsBuilt | kSelectionValid);
}

HRESULT FilterObject::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  IUnknown* answer = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IQuilletFilter) || IsEqualIID(iid, IID_QuilletFilterObject)) {
    answer = static_cast<IQuilletFilter*>(this);
  } else if (IsEqualIID(iid, IID_IQuilletLanguage)) {
    answer = static_cast<IQuilletLanguage*>(this);
  } else if (IsEqualIID(iid, IID_IQuilletTrackInfo)) {
    answer = static_cast<IQuilletTrackInfo*>(this);
  } else if (IsEqualIID(iid, IID_IQuilletProcess) && process_) {
    answer = process_;
  } else if ((IsEqualIID(iid, IID_IPersistStream) || IsEqualIID(iid, IID_IPersist)) && persist_) {
    answer = persist_;
  } else if (IsEqualIID(iid, IID_ISpecifyPropertyPages) && pages_) {
    answer = pages_;
  } else {
    return E_NOINTERFACE;
  }
  answer->AddRef();
  *out = answer;
  return S_OK;
}

ULONG FilterObject::AddRef() noexcept { return ++refs_; }

ULONG FilterObject::Release() noexcept {
  LONG left = --refs_;
  if (left == 0) Destroy(1);
  return left < 0 ? 0 : left;
}

HRESULT FilterObject::Destroy(DWORD flags) noexcept {
  if (flags & 1) {
    GlobalDelete(this);
  } else {
    this->~FilterObject();
  }
  return S_OK;
}

HRESULT FilterObject::Initialize() noexcept {
  zq::core::CopyText(name_, ARRAYSIZE(name_), L"Quillet");
  InitializeCriticalSection(&lock_);
  InitializeCriticalSection(&queueLock_);
  locksReady_ = true;
  notifySink_ = MakeCompanion<NotifySink>(this);
  pageSink_ = MakeCompanion<PageEventSink>(this);
  pages_ = MakeCompanion<PagesCompanion>(this);
  clipboardFormat_ = RegisterClipboardFormatW(L"Halvane OPT 1.0");
  persist_ = MakeCompanion<PersistCompanion>(this);
  process_ = MakeCompanion<ProcessCompanion>(this);
  if (!notifySink_ || !pageSink_ || !pages_ || !persist_ || !process_) {
    ReleaseCompanions();
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT FilterObject::GetPages(CAUUID* pages) noexcept {
  if (!pages) return E_POINTER;
  pages->cElems = 0;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
  if (!pages->pElems) return E_OUTOFMEMORY;
  pages->pElems[0] = CLSID_QuilletPropPage;
  pages->cElems = 1;
  return S_OK;
}

HRESULT FilterObject::GetProcessingInfo(DWORD* a, DWORD* b, DWORD* c) noexcept {
  if (a) *a = 2;
  if (b) *b = processingValue_;
  if (c) *c = 3;
  return S_OK;
}

HRESULT FilterObject::SetProcessingValue(DWORD value) noexcept {
  processingValue_ = value;
  return S_OK;
}

// Only the observer that is held can be cleared.
// The slot is swapped under the queue lock, because notifications handled
// on the host's notification thread reach the observer too.
HRESULT FilterObject::ClearObserver(IUnknown* observer) noexcept {
  EnterCriticalSection(&queueLock_);
  const bool held = observer == observer_;
  if (held) observer_ = nullptr;
  LeaveCriticalSection(&queueLock_);
  if (!held) return E_UNEXPECTED;
  if (observer) observer->Release();
  return S_OK;
}

// The new reference is taken before the old one goes: setting the observer
// that is already held never frees it.
HRESULT FilterObject::SetObserver(IUnknown* observer) noexcept {
  if (observer) observer->AddRef();
  EnterCriticalSection(&queueLock_);
  IUnknown* old = observer_;
  observer_ = observer;
  LeaveCriticalSection(&queueLock_);
  if (old) old->Release();
  return S_OK;
}

IQuilletObserver* FilterObject::Observer() noexcept {
  IQuilletObserver* target = nullptr;
  EnterCriticalSection(&queueLock_);
  if (observer_ && FAILED(observer_->QueryInterface(IID_IQuilletObserver, reinterpret_cast<void**>(&target))))
    target = nullptr;
  LeaveCriticalSection(&queueLock_);
  return target;
}

HRESULT FilterObject::PageEvent(DWORD a, DWORD b) noexcept {
  if (IQuilletObserver* target = Observer()) {
    target->OnPageEvent(a, b);
    target->Release();
  }
  return S_OK;
}

DWORD FilterObject::ChannelUsageMask() noexcept { return channelMask_; }
DWORD FilterObject::ChannelCount() noexcept { return channelCount_; }

LONG FilterObject::GetStoredValue(DWORD which) noexcept { return which ? storedValue_ : recordTarget_; }

HRESULT FilterObject::SetStoredValue(DWORD which, LONG value) noexcept {
  (which ? storedValue_ : recordTarget_) = value;
  return S_OK;
}

HRESULT FilterObject::IsDirty() noexcept { return dirty_ ? S_OK : S_FALSE; }

HRESULT FilterObject::GetSizeMax(ULARGE_INTEGER* size) noexcept {
  if (!size) return E_POINTER;
  size->QuadPart = QUILLET_STREAM_MAX;
  return S_OK;
}

HRESULT FilterObject::GetPositions(LONGLONG* metaText2, LONGLONG* tempo, LONGLONG markers[4]) noexcept {
  if (metaText2) *metaText2 = metaText2Pos_;
  if (tempo) *tempo = tempoPos_;
  if (markers) memcpy(markers, markerPos_, sizeof(markerPos_));
  return S_OK;
}

HRESULT FilterObject::SetLanguage(LCID locale) noexcept {
  return ZqLang_UpdateKernelLCID(zq::core::DefaultLang(), locale, !ZqLang_IsLCIDEnglish(locale)) ? S_OK : E_FAIL;
}

}  // namespace quillet
