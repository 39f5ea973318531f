// The in-memory host.
#include <algorithm>
#include <cstring>
#include <new>

#include "hostkit.h"

namespace hostkit {

namespace {
LPWSTR TaskString(const std::wstring& text) {
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(WCHAR)));
  if (copy) memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
  return copy;
}

constexpr DWORD kWide = 63;

bool IsOneBit(DWORD v) { return v && !(v & (v - 1)); }

// The plug-in calls in through COM: running out of memory is a result code
// there, never an exception.
template <typename Call>
HRESULT Guarded(Call call) {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}
}  // namespace

Host* Host::Create() { return new Host(); }

Host::Checkpoint::~Checkpoint() {
  for (auto& e : wide) FreeEvent(e);
}

std::unique_ptr<Host::Checkpoint> Host::MakeCheckpoint() const {
  auto c = std::make_unique<Checkpoint>();
  c->editable = Editable();
  c->wide.reserve(wide_.size());
  for (const auto& e : wide_) c->wide.push_back(CopyEvent(e));
  return c;
}

void Host::Restore(const Checkpoint& c) {
  Editable() = c.editable;
  for (auto& e : wide_) FreeEvent(e);
  wide_.clear();
  for (const auto& e : c.wide) wide_.push_back(CopyEvent(e));
  byKey_.clear();
  byOtherKey_.clear();
  indexed_ = false;
}

Host::~Host() {
  for (auto& e : wide_) FreeEvent(e);
  for (auto& s : sinks_) s.sink->Release();
}

void Host::SetTiming(LONG ticksPerQuarter, LONG microsPerQuarter, LONG numerator, LONG denominator) {
  ppq_ = ticksPerQuarter > 0 ? ticksPerQuarter : 480;
  tempo_ = microsPerQuarter > 0 ? microsPerQuarter : 500000;
  numerator_ = numerator > 0 ? numerator : 4;
  denominator_ = denominator > 0 ? denominator : 4;
}

// Keys are never reused: a sub-track added after a deletion gets a new one.
DWORD Host::AddSubTrack(LONG channel, const std::wstring& name, DWORD attribute) {
  DWORD key = nextKey_++;
  subTracks_.push_back({key, channel, attribute, false, false, name});
  return key;
}

Host::Stored Host::Store(const QUILLET_EVENT& e) {
  Stored s{e.time, e.subTrack, 0, 0};
  const bool isLong = (e.type & QEV_LONG_KINDS) != 0;
  const bool compact = IsOneBit(e.type) && !e.reserved1[0] && !e.reserved1[1] && !e.attribute && e.channel >= -1 &&
                       e.channel <= 15 && !e.duration && !e.reserved9 && e.reserved12[0] < 8192 &&
                       e.reserved12[1] < 256 && !e.reserved12[2] && !e.reserved12[3] &&
                       (isLong ? (!e.dataLength || e.data) : !e.dataLength);
  if (!compact) {
    s.word = static_cast<DWORD>(wide_.size());
    s.bits = kWide;
    wide_.push_back(CopyEvent(e));
    return s;
  }
  s.bits = static_cast<DWORD>(__builtin_ctz(e.type)) | static_cast<DWORD>(e.channel + 1) << 6 |
           e.reserved12[1] << 11 | e.reserved12[0] << 19;
  if (!isLong) {
    s.word = e.packed;
    return s;
  }
  s.word = static_cast<DWORD>(blocks_.size());
  const DWORD length = e.data ? e.dataLength : 0;
  const BYTE* size = reinterpret_cast<const BYTE*>(&length);
  blocks_.insert(blocks_.end(), size, size + sizeof(length));
  if (length) blocks_.insert(blocks_.end(), e.data, e.data + length);
  return s;
}

// Written field by field into the caller's record: a record built aside
// and copied whole is read back before its parts are stored, which stalls.
void Host::View(size_t index, QUILLET_EVENT* out) const {
  const Stored& s = events_[index];
  if ((s.bits & 63) == kWide) {
    *out = wide_[s.word];
    return;
  }
  memset(out, 0, sizeof(*out));
  out->type = 1u << (s.bits & 63);
  out->channel = static_cast<LONG>(s.bits >> 6 & 31) - 1;
  out->reserved12[1] = s.bits >> 11 & 0xFF;
  out->reserved12[0] = s.bits >> 19;
  out->subTrack = s.subTrack;
  out->time = s.time;
  if (!(out->type & QEV_LONG_KINDS)) {
    out->packed = s.word;
    return;
  }
  memcpy(&out->dataLength, &blocks_[s.word], sizeof(DWORD));
  out->data = out->dataLength ? const_cast<BYTE*>(&blocks_[s.word + sizeof(DWORD)]) : nullptr;
}

void Host::CopyInto(size_t index, QUILLET_EVENT* out) const {
  View(index, out);
  if ((out->type & QEV_LONG_KINDS) && out->dataLength && out->data) *out = CopyEvent(*out);
}

void Host::ReserveEvents(size_t count) { events_.reserve(events_.size() + count); }

void Host::AddEvent(const QUILLET_EVENT& event) {
  if (events_.empty() || events_.back().time <= event.time) {
    events_.push_back(Store(event));
    if (indexed_) PositionsOf(event.subTrack).push_back(static_cast<DWORD>(events_.size() - 1));
    return;
  }
  auto at = std::upper_bound(events_.begin(), events_.end(), event.time,
                             [](LONGLONG t, const Stored& e) { return t < e.time; });
  events_.insert(at, Store(event));
  indexed_ = false;
}

void Host::AddEvents(const std::vector<QUILLET_EVENT>& events) {
  events_.reserve(events_.size() + events.size());
  for (const auto& e : events) events_.push_back(Store(e));
  std::stable_sort(events_.begin(), events_.end(), [](const Stored& a, const Stored& b) { return a.time < b.time; });
  indexed_ = false;
}

std::vector<DWORD>& Host::PositionsOf(DWORD subTrack) const {
  return subTrack < byKey_.size() ? byKey_[subTrack] : byOtherKey_[subTrack];
}

const std::vector<DWORD>* Host::IndexOf(DWORD subTrack) const {
  if (!indexed_) {
    byKey_.assign(nextKey_, {});
    byOtherKey_.clear();
    std::vector<size_t> counts(nextKey_);
    std::map<DWORD, size_t> otherCounts;
    for (const Stored& e : events_) {
      if (e.subTrack < nextKey_) ++counts[e.subTrack];
      else ++otherCounts[e.subTrack];
    }
    for (DWORD key = 0; key < nextKey_; ++key) byKey_[key].reserve(counts[key]);
    for (const auto& [key, count] : otherCounts) byOtherKey_[key].reserve(count);
    for (size_t i = 0; i < events_.size(); ++i) PositionsOf(events_[i].subTrack).push_back(static_cast<DWORD>(i));
    indexed_ = true;
  }
  if (subTrack < byKey_.size()) return byKey_[subTrack].empty() ? nullptr : &byKey_[subTrack];
  auto found = byOtherKey_.find(subTrack);
  return found == byOtherKey_.end() ? nullptr : &found->second;
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

HRESULT Host::BeginAccess(DWORD mode, LPCWSTR caption) {
  return Guarded([&] {
    int index = -1;
    if (mode == 1) {
      HostEdit edit;
      if (caption) edit.caption = caption;
      edits_.push_back(edit);
      index = static_cast<int>(edits_.size() - 1);
    }
    openEdits_.push_back(index);
    ++openAccess_;
    return S_OK;
  });
}

HRESULT Host::EndAccess(BOOL commit) {
  if (openAccess_ <= 0) return E_UNEXPECTED;
  --openAccess_;
  int index = openEdits_.back();
  openEdits_.pop_back();
  if (index >= 0) {
    edits_[index].closed = true;
    edits_[index].committed = commit != FALSE;
  }
  return S_OK;
}

// The innermost undoable edit that is open, or null.
HostEdit* Host::CurrentEdit() {
  for (auto it = openEdits_.rbegin(); it != openEdits_.rend(); ++it)
    if (*it >= 0) return &edits_[*it];
  return nullptr;
}

std::vector<BYTE> Host::Property(DWORD property, DWORD index1, DWORD index2) const {
  auto it = properties_.find({property, index1, index2});
  return it == properties_.end() ? std::vector<BYTE>() : it->second;
}

// The cursor is where the enumeration stands: the position among the
// sub-track's events (as ReadEvent counts them) or among all events in
// time order, so that each next event is found in one step.
HRESULT Host::Next(QUILLET_QUERY* query, QUILLET_EVENT* out, BOOL* more, bool first) {
  if (!query || !out) return E_POINTER;
  if (more) *more = FALSE;
  const size_t at = first ? 0 : static_cast<size_t>(query->cursor) + 1;
  if (query->kind == QENUM_SUBTRACKS) {
    if (at >= subTracks_.size()) return S_FALSE;
    const SubTrack& s = subTracks_[at];
    *out = QUILLET_EVENT{};
    out->type = QEV_NONE;
    out->subTrack = s.key;
    out->channel = s.channel;
    out->attribute = s.attribute;
    query->cursor = static_cast<DWORD>(at);
    if (more) *more = at + 1 < subTracks_.size();
    return S_OK;
  }
  size_t i;
  bool another;
  if (query->kind == QENUM_EVENTS) {
    const std::vector<DWORD>* index = IndexOf(query->subTrack);
    if (!index || at >= index->size()) return S_FALSE;
    i = (*index)[at];
    another = at + 1 < index->size();
    query->cursor = static_cast<DWORD>(at);
  } else if (query->kind == QENUM_RANGE) {
    // Events are in time order: the range is one run of them.
    i = first ? std::lower_bound(events_.begin(), events_.end(), query->from,
                                 [](const Stored& e, LONGLONG t) { return e.time < t; }) -
                    events_.begin()
              : at;
    if (i >= events_.size() || events_[i].time >= query->to) return S_FALSE;
    another = i + 1 < events_.size() && events_[i + 1].time < query->to;
    query->cursor = static_cast<DWORD>(i);
  } else {
    return E_INVALIDARG;
  }
  CopyInto(i, out);
  if (more) *more = another;
  return S_OK;
}

HRESULT Host::EnumFirst(QUILLET_QUERY* query, QUILLET_EVENT* out, BOOL* more, DWORD) {
  return Guarded([&] { return Next(query, out, more, true); });
}

HRESULT Host::EnumNext(QUILLET_QUERY* query, QUILLET_EVENT* out, BOOL* more, DWORD) {
  return Guarded([&] { return Next(query, out, more, false); });
}

HRESULT Host::ReadEvent(DWORD subTrack, DWORD position, QUILLET_EVENT* out) {
  if (!out) return E_POINTER;
  return Guarded([&] {
    const std::vector<DWORD>* index = IndexOf(subTrack);
    if (!index || position >= index->size()) return S_FALSE;
    CopyInto((*index)[position], out);
    return S_OK;
  });
}

HRESULT Host::ChangeSubTrack(DWORD key, DWORD count, const QUILLET_SUBTRACK* d, DWORD mask) {
  if (!d || count != 1) return E_INVALIDARG;
  if (HostEdit* edit = CurrentEdit()) edit->mask |= mask;
  if (failChanges_ > 0) {
    --failChanges_;
    return E_FAIL;
  }
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
  return Guarded([&] {
    HostEdit* edit = CurrentEdit();
    if (kind == QEDIT_SUBTRACK) {
      const auto* d = reinterpret_cast<const QUILLET_SUBTRACK*>(record);
      DWORD key = AddSubTrack(d->channel, d->name ? d->name : L"", d->attribute);
      subTracks_.back().mute = d->mute != 0;
      subTracks_.back().solo = d->solo != 0;
      if (edit) ++edit->subTracksInserted;
      return key ? S_OK : E_FAIL;
    }
    if (kind == QEDIT_BLOCK) {
      std::wstring name;
      if (record->data && record->dataLength)
        name.assign(reinterpret_cast<const WCHAR*>(record->data), record->dataLength / sizeof(WCHAR));
      blocks_list_.push_back({record->subTrack, record->time, name});
      if (edit) ++edit->blocksInserted;
      return S_OK;
    }
    AddEvent(*record);
    if (edit) ++edit->eventsInserted;
    return S_OK;
  });
}

HRESULT Host::ReadSubTrack(DWORD key, QUILLET_SUBTRACK* out) {
  if (!out) return E_POINTER;
  for (const auto& s : subTracks_) {
    if (s.key != key) continue;
    QUILLET_SUBTRACK d{};
    d.key = s.key;
    d.channel = s.channel;
    d.attribute = s.attribute;
    d.mute = s.mute;
    d.solo = s.solo;
    d.name = TaskString(s.name);
    if (!d.name) return E_OUTOFMEMORY;
    *out = d;
    return S_OK;
  }
  return S_FALSE;
}

HRESULT Host::Delete(DWORD kind, const QUILLET_EVENT* target) {
  if (!target) return E_POINTER;
  if (kind == QEDIT_SUBTRACK) {
    auto it = std::find_if(subTracks_.begin(), subTracks_.end(), [&](const SubTrack& s) { return s.key == target->subTrack; });
    if (it == subTracks_.end()) return S_FALSE;
    subTracks_.erase(it);
    if (HostEdit* edit = CurrentEdit()) ++edit->subTracksDeleted;
    return S_OK;
  }
  for (size_t i = 0; i < events_.size(); ++i) {
    QUILLET_EVENT e;
    View(i, &e);
    if (e.time == target->time && e.subTrack == target->subTrack && e.type == target->type &&
        ((e.type & QEV_LONG_KINDS) || e.packed == target->packed)) {
      events_.erase(events_.begin() + static_cast<ptrdiff_t>(i));  // a wide record stays until the host goes
      indexed_ = false;
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
