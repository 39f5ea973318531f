// The filter's companion objects and notification sinks.
#pragma once
#include "plugin/filter_object.h"

namespace quillet {

class PersistCompanion final : public Companion<IPersistStream> {
 public:
  using Companion::Companion;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) noexcept override;
  HRESULT STDMETHODCALLTYPE IsDirty() noexcept override;
  HRESULT STDMETHODCALLTYPE Load(IStream* stream) noexcept override;
  HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) noexcept override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) noexcept override;
};

class ProcessCompanion final : public Companion<IQuilletProcess> {
 public:
  using Companion::Companion;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  HRESULT STDMETHODCALLTYPE Process(IQuilletEventBuffer* buffer, QUILLET_BUFFERINFO* info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetProcessingInfo(DWORD* a, DWORD* b, DWORD* c) noexcept override;
  HRESULT STDMETHODCALLTYPE SetProcessingValue(DWORD value) noexcept override;
};

class PagesCompanion final : public Companion<ISpecifyPropertyPages> {
 public:
  using Companion::Companion;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) noexcept override;
};

class NotifySink final : public Companion<IQuilletNotifySink> {
 public:
  using Companion::Companion;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  HRESULT STDMETHODCALLTYPE Notify(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
};

class PageEventSink final : public Companion<IQuilletPageEventSink> {
 public:
  using Companion::Companion;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  HRESULT STDMETHODCALLTYPE PageEvent(DWORD a, DWORD b) noexcept override;
};

}  // namespace quillet
