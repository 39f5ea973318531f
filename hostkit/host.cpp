// The in-memory host.
#include <algorithm>
#include <cstring>

#include "hostkit.h"

namespace hostkit {

namespace {
LPWSTR TaskString(const std::wstring& text) {
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(WCHAR)));
  if (copy) memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
  return copy;
}
}  // namespace

Host* Host::Create() { return new Host(); }

Host::~Host() {
  for (auto& e : events_) FreeEvent(e);
  for (auto& s : sinks_) s.sink->Release();
}

void Host::SetTiming(LONG ticksPerQuarter, LONG microsPerQuarter, LONG numerator, LONG denominator) {
  ppq_ = ticksPerQuarter > 0 ? ticksPerQuarter : 480;
  tempo_ = microsPerQuarter > 0 ? microsPerQuarter : 500000;
  numerator_ = numerator > 0 ? numerator : 4;
  denominator_ = denominator > 0 ? denominator : 4;
}

DWORD Host::AddSubTrack(LONG channel, const std::wstring& name, DWORD attribute) {
  DWORD key = static_cast<DWORD>(subTracks_.size() + 1);
  subTracks_.push_back({key, channel, attribute, false, false, name});
  return key;
}

void Host::AddEvent(const QUILLET_EVENT& event) {
  auto at = std::upper_bound(events_.begin(), events_.end(), event.time,
                             [](LONGLONG t, const QUILLET_EVENT& e) { return t < e.time; });
  events_.insert(at, CopyEvent(event));
}

void Host::AddEvents(const std::vector<QUILLET_EVENT>& events) {
  events_.reserve(events_.size() + events.size());
  for (const auto& e : events) events_.push_back(CopyEvent(e));
  std::stable_sort(events_.begin(), events_.end(),
                   [](const QUILLET_EVENT& a, const QUILLET_EVENT& b) { return a.time < b.time; });
}

void Host::AddMarker(LONGLONG time, DWORD id) { markers_.push_back({time, id, 0, 0, nullptr}); }

HRESULT Host::Fire(const QUILLET_NOTIFICATION& n, BOOL deferred) {
  std::vector<IUnknown*> targets;
  {
    std::lock_guard<std::mutex> guard(sinkLock_);
    for (auto& s : sinks_) {
      if (IsEqualIID(s.kind, IID_IQuilletNotifySink)) {
        s.sink->AddRef();
        targets.push_back(s.sink);
      }
    }
  }
  HRESULT result = S_FALSE;
  for (IUnknown* target : targets) {
    IQuilletNotifySink* sink = nullptr;
    if (SUCCEEDED(target->QueryInterface(IID_IQuilletNotifySink, reinterpret_cast<void**>(&sink)))) {
      if (sink->Notify(&n, deferred) == S_OK) result = S_OK;
      sink->Release();
    }
    target->Release();
  }
  return result;
}

size_t Host::SinkCount() const {
  std::lock_guard<std::mutex> guard(sinkLock_);
  return sinks_.size();
}

HRESULT Host::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IQuilletTrack)) *out = static_cast<IQuilletTrack*>(this);
  else if (IsEqualIID(iid, IID_IQuilletProperties)) *out = static_cast<IQuilletProperties*>(this);
  else if (IsEqualIID(iid, IID_IQuilletTimeConvert)) *out = static_cast<IQuilletTimeConvert*>(this);
  else if (IsEqualIID(iid, IID_IQuilletHostServices)) *out = static_cast<IQuilletHostServices*>(this);
  else if (IsEqualIID(iid, IID_IQuilletHostWindow)) *out = static_cast<IQuilletHostWindow*>(this);
  else return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG Host::Release() {
  LONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

// ---- track access --------------------------------------------------------

HRESULT Host::BeginAccess(DWORD, LPCWSTR) {
  ++openAccess_;
  return S_OK;
}

HRESULT Host::EndAccess(BOOL) {
  if (openAccess_ <= 0) return E_UNEXPECTED;
  --openAccess_;
  return S_OK;
}

bool Host::Matches(const QUILLET_QUERY& q, size_t index) const {
  const QUILLET_EVENT& e = events_[index];
  if (q.kind == QENUM_EVENTS) return e.subTrack == q.subTrack;
  return e.time >= q.from && e.time < q.to;
}

HRESULT Host::Next(QUILLET_QUERY* query, QUILLET_EVENT* out, BOOL* more, size_t from) {
  if (!query || !out) return E_POINTER;
  if (more) *more = FALSE;
  if (query->kind == QENUM_SUBTRACKS) {
    if (from >= subTracks_.size()) return S_FALSE;
    const SubTrack& s = subTracks_[from];
    *out = QUILLET_EVENT{};
    out->type = QEV_NONE;
    out->subTrack = s.key;
    out->channel = s.channel;
    out->attribute = s.attribute;
    query->cursor = static_cast<DWORD>(from);
    if (more) *more = from + 1 < subTracks_.size();
    return S_OK;
  }
  if (query->kind != QENUM_EVENTS && query->kind != QENUM_RANGE) return E_INVALIDARG;
  for (size_t i = from; i < events_.size(); ++i) {
    if (!Matches(*query, i)) continue;
    *out = CopyEvent(events_[i]);
    query->cursor = static_cast<DWORD>(i);
    if (more)
      for (size_t j = i + 1; j < events_.size() && !*more; ++j) *more = Matches(*query, j);
    return S_OK;
  }
  return S_FALSE;
}

HRESULT Host::EnumFirst(QUILLET_QUERY* query, QUILLET_EVENT* out, BOOL* more, DWORD) {
  return Next(query, out, more, 0);
}

HRESULT Host::EnumNext(QUILLET_QUERY* query, QUILLET_EVENT* out, BOOL* more, DWORD) {
  if (!query) return E_POINTER;
  return Next(query, out, more, static_cast<size_t>(query->cursor) + 1);
}

HRESULT Host::ReadEvent(DWORD subTrack, DWORD position, QUILLET_EVENT* out) {
  if (!out) return E_POINTER;
  DWORD seen = 0;
  for (const auto& e : events_) {
    if (e.subTrack != subTrack) continue;
    if (seen++ == position) {
      *out = CopyEvent(e);
      return S_OK;
    }
  }
  return S_FALSE;
}

HRESULT Host::ChangeSubTrack(DWORD key, DWORD count, const QUILLET_SUBTRACK* d, DWORD mask) {
  if (!d || count != 1) return E_INVALIDARG;
  for (auto& s : subTracks_) {
    if (s.key != key) continue;
    if ((mask & QSUB_NAME) && d->name) s.name = d->name;
    if (mask & QSUB_CHANNEL) s.channel = d->channel;
    if (mask & QSUB_MUTE) s.mute = d->mute != 0;
    if (mask & QSUB_SOLO) s.solo = d->solo != 0;
    return S_OK;
  }
  return E_INVALIDARG;
}

HRESULT Host::Insert(DWORD, DWORD kind, const QUILLET_EVENT* record) {
  if (!record) return E_POINTER;
  if (kind == QEDIT_SUBTRACK) {
    AddSubTrack(record->channel, L"");
    return S_OK;
  }
  AddEvent(*record);
  return S_OK;
}

HRESULT Host::Delete(DWORD kind, const QUILLET_EVENT* target) {
  if (!target) return E_POINTER;
  if (kind == QEDIT_SUBTRACK) {
    auto it = std::find_if(subTracks_.begin(), subTracks_.end(), [&](const SubTrack& s) { return s.key == target->subTrack; });
    if (it == subTracks_.end()) return S_FALSE;
    subTracks_.erase(it);
    return S_OK;
  }
  for (auto it = events_.begin(); it != events_.end(); ++it) {
    if (it->time == target->time && it->subTrack == target->subTrack && it->type == target->type &&
        ((it->type & QEV_LONG_KINDS) || it->packed == target->packed)) {
      FreeEvent(*it);
      events_.erase(it);
      return S_OK;
    }
  }
  return S_FALSE;
}

// ---- properties, time, services -----------------------------------------

HRESULT Host::Get(DWORD property, DWORD index1, DWORD index2, DWORD, DWORD size, void* out) {
  if (!out && size) return E_POINTER;
  auto it = properties_.find({property, index1, index2});
  if (size) memset(out, 0, size);
  if (it == properties_.end()) return S_FALSE;
  memcpy(out, it->second.data(), std::min<size_t>(size, it->second.size()));
  return S_OK;
}

HRESULT Host::Set(DWORD property, DWORD index1, DWORD index2, DWORD size, const void* in) {
  if (!in && size) return E_POINTER;
  auto bytes = static_cast<const BYTE*>(in);
  properties_[{property, index1, index2}] = std::vector<BYTE>(bytes, bytes + size);
  return S_OK;
}

HRESULT Host::GetStrings(LPWSTR* titleOut, LPWSTR* pathOut) {
  if (!titleOut || !pathOut) return E_POINTER;
  *titleOut = TaskString(title);
  *pathOut = TaskString(filePath);
  return *titleOut && *pathOut ? S_OK : E_OUTOFMEMORY;
}

// Host time is counted in ticks.
HRESULT Host::Convert(DWORD kind, LONGLONG time, LONG out[4]) {
  if (!out) return E_POINTER;
  switch (kind) {
    case QTIME_MBT: {
      // Counted in 1/denominator of a tick, so that a beat shorter than a
      // tick is no division by zero.
      const LONGLONG perWhole = static_cast<LONGLONG>(ppq_) * 4, scaled = time * denominator_;
      LONGLONG beats = scaled / perWhole;
      out[0] = static_cast<LONG>(beats / numerator_) + 1;
      out[1] = static_cast<LONG>(beats % numerator_) + 1;
      out[2] = static_cast<LONG>(scaled % perWhole / denominator_);
      out[3] = 0;  // one-based counting
      return S_OK;
    }
    case QTIME_CLOCK: {
      LONGLONG hundredths = time * tempo_ / ppq_ / 10000;
      out[0] = static_cast<LONG>(hundredths / 360000);
      out[1] = static_cast<LONG>(hundredths / 6000 % 60);
      out[2] = static_cast<LONG>(hundredths / 100 % 60);
      out[3] = static_cast<LONG>(hundredths % 100);
      return S_OK;
    }
    case QTIME_TIMING:
      out[0] = ppq_;
      out[1] = tempo_;
      out[2] = numerator_;
      out[3] = denominator_;
      return S_OK;
    default:
      return E_INVALIDARG;
  }
}

HRESULT Host::GetMarkers(UINT* count, QUILLET_MARKER** markers) {
  if (!count || !markers) return E_POINTER;
  *count = 0;
  *markers = nullptr;
  if (markers_.empty()) return S_OK;
  auto* array = static_cast<QUILLET_MARKER*>(CoTaskMemAlloc(markers_.size() * sizeof(QUILLET_MARKER)));
  if (!array) return E_OUTOFMEMORY;
  for (size_t i = 0; i < markers_.size(); ++i) {
    array[i] = markers_[i];
    array[i].data = static_cast<BYTE*>(CoTaskMemAlloc(4));
    array[i].dataLength = array[i].data ? 4 : 0;
    if (array[i].data) memcpy(array[i].data, &markers_[i].id, 4);
  }
  *count = static_cast<UINT>(markers_.size());
  *markers = array;
  return S_OK;
}

HRESULT Host::Advise(REFIID kind, IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  std::lock_guard<std::mutex> guard(sinkLock_);
  sink->AddRef();
  *cookie = nextCookie_++;
  sinks_.push_back({*cookie, kind, sink});
  return S_OK;
}

HRESULT Host::Unadvise(DWORD cookie) {
  IUnknown* released = nullptr;
  {
    std::lock_guard<std::mutex> guard(sinkLock_);
    auto it = std::find_if(sinks_.begin(), sinks_.end(), [&](const Sink& s) { return s.cookie == cookie; });
    if (it == sinks_.end()) return E_INVALIDARG;
    released = it->sink;
    sinks_.erase(it);
  }
  released->Release();
  return S_OK;
}

HRESULT Host::GetMainWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = nullptr;
  return S_OK;
}

}  // namespace hostkit
