// Connecting to the host and disconnecting.
#include <cstring>

#include "plugin/filter_companions.h"
#include "plugin/filter_object.h"

namespace quillet {

namespace {
template <typename T>
void ReleaseInto(T*& p) {
  if (p) p->Release();
  p = nullptr;
}
}  // namespace

HRESULT FilterObject::Connect(IUnknown* host, IUnknown* secondHost, DWORD mode, DWORD, DWORD* capabilities) noexcept {
  if (!(mode & 1) || !host) {
    Disconnect();
    return E_FAIL;
  }
  if (capabilities) *capabilities &= capabilities_;
  Disconnect();  // a second connect replaces the first
  hostThread_ = GetCurrentThreadId();
  host_ = host;
  host_->AddRef();
  if (secondHost) {
    secondHost_ = secondHost;
    secondHost_->AddRef();
  }
  HRESULT hr = host->QueryInterface(IID_IQuilletTrack, reinterpret_cast<void**>(&track_));
  if (SUCCEEDED(hr)) hr = host->QueryInterface(IID_IQuilletProperties, reinterpret_cast<void**>(&properties_));
  if (SUCCEEDED(hr)) hr = host->QueryInterface(IID_IQuilletTimeConvert, reinterpret_cast<void**>(&time_));
  if (SUCCEEDED(hr)) hr = host->QueryInterface(IID_IQuilletHostServices, reinterpret_cast<void**>(&services_));
  if (SUCCEEDED(hr)) hr = services_->Advise(IID_IQuilletNotifySink, notifySink_, &notifyCookie_);
  if (SUCCEEDED(hr)) hr = services_->Advise(IID_IQuilletPageEventSink, pageSink_, &pageCookie_);
  if (FAILED(hr)) {
    Disconnect();
    return hr;
  }
  if (!window_) services_->QueryInterface(IID_IQuilletHostWindow, reinterpret_cast<void**>(&window_));
  LONG timing[4] = {};
  if (time_->Convert(QTIME_TIMING, 2, timing) == S_OK) memcpy(timing_, timing, sizeof(timing_));
  RescanVolumeAndPan();
  return S_OK;
}

HRESULT FilterObject::Disconnect() noexcept {
  // The sinks are unregistered while the host services are still held.
  if (services_) {
    if (notifyCookie_) services_->Unadvise(notifyCookie_);
    if (pageCookie_) services_->Unadvise(pageCookie_);
  }
  notifyCookie_ = pageCookie_ = 0;
  DropArrivals();  // they were about the track let go here
  ReleaseInto(track_);
  ReleaseInto(properties_);
  ReleaseInto(services_);
  ReleaseInto(time_);
  ReleaseInto(secondHost_);
  ReleaseInto(host_);
  ReleaseInto(window_);
  accessDepth_ = 0;
  return S_OK;
}

}  // namespace quillet
