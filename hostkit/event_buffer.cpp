// One playback buffer in memory.
#include <algorithm>
#include <new>

#include "hostkit.h"

namespace hostkit {

EventBuffer* EventBuffer::Create() { return new EventBuffer(); }

EventBuffer::~EventBuffer() { Clear(); }

const std::vector<QUILLET_EVENT>& EventBuffer::Events() const {
  if (deleted_) {
    events_.erase(std::remove_if(events_.begin(), events_.end(), [](const QUILLET_EVENT& e) { return e.type == 0; }),
                  events_.end());
    deleted_ = 0;
  }
  return events_;
}

void EventBuffer::Clear() {
  for (auto& e : events_) FreeEvent(e);
  events_.clear();
  deleted_ = 0;
  restriction_.clear();
  cursor_ = hint_ = -1;
}

void EventBuffer::Add(const QUILLET_EVENT& event) {
  auto at = std::upper_bound(events_.begin(), events_.end(), event.time,
                             [](LONGLONG t, const QUILLET_EVENT& e) { return t < e.time; });
  events_.insert(at, CopyEvent(event));
  hint_ = -1;
}

HRESULT EventBuffer::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IQuilletEventBuffer)) return E_NOINTERFACE;
  *out = static_cast<IQuilletEventBuffer*>(this);
  AddRef();
  return S_OK;
}

ULONG EventBuffer::Release() {
  LONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT EventBuffer::RestrictToSubTracks(const DWORD* keys, UINT count) {
  restriction_.assign(keys, keys ? keys + count : keys);
  hint_ = -1;
  return S_OK;
}

bool EventBuffer::Visible(const QUILLET_EVENT& e, DWORD mask) const {
  if (!(e.type & mask)) return false;  // deleted events have no type
  return restriction_.empty() || std::find(restriction_.begin(), restriction_.end(), e.subTrack) != restriction_.end();
}

HRESULT EventBuffer::FindFrom(LONG from, DWORD* position, QUILLET_EVENT* out, BOOL* more, DWORD mask) {
  if (!position || !out) return E_POINTER;
  const LONG size = static_cast<LONG>(events_.size());
  LONG i = std::max<LONG>(from, 0);
  if (hint_ >= 0 && mask == hintMask_ && from == cursor_ + 1) i = hint_;  // already known
  else
    while (i < size && !Visible(events_[i], mask)) ++i;
  if (i >= size) {
    cursor_ = size;
    hint_ = -1;
    if (more) *more = FALSE;
    return S_FALSE;
  }
  cursor_ = i;
  *position = static_cast<DWORD>(i);
  *out = CopyEvent(events_[i]);
  LONG next = i + 1;
  while (next < size && !Visible(events_[next], mask)) ++next;
  hint_ = next;
  hintMask_ = mask;
  if (more) *more = next < size;
  return S_OK;
}

HRESULT EventBuffer::FindFirst(DWORD* position, QUILLET_EVENT* out, BOOL* more, DWORD mask) {
  return FindFrom(0, position, out, more, mask);
}

HRESULT EventBuffer::FindNext(DWORD* position, QUILLET_EVENT* out, BOOL* more, DWORD mask) {
  return FindFrom(cursor_ + 1, position, out, more, mask);
}

HRESULT EventBuffer::Replace(DWORD position, const QUILLET_EVENT* event) {
  if (!event) return E_POINTER;
  if (position >= events_.size() || events_[position].type == 0) return E_INVALIDARG;
  FreeEvent(events_[position]);
  events_[position] = CopyEvent(*event);
  if (static_cast<LONG>(position) > cursor_ && static_cast<LONG>(position) <= hint_) hint_ = -1;
  return S_OK;
}

// At `position` when that keeps time order, else after the events of the same time.
HRESULT EventBuffer::Insert(DWORD position, const QUILLET_EVENT* event) {
  if (!event) return E_POINTER;
  size_t at = std::min<size_t>(position, events_.size());
  bool ordered = (at == 0 || events_[at - 1].time <= event->time) &&
                 (at == events_.size() || event->time <= events_[at].time);
  if (!ordered) {
    at = std::upper_bound(events_.begin(), events_.end(), event->time,
                          [](LONGLONG t, const QUILLET_EVENT& e) { return t < e.time; }) -
         events_.begin();
  }
  try {
    events_.insert(events_.begin() + at, CopyEvent(*event));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  if (static_cast<LONG>(at) <= cursor_) ++cursor_;
  if (static_cast<LONG>(at) <= hint_) {
    if (static_cast<LONG>(at) > cursor_) hint_ = -1;  // the new event may be the next one
    else ++hint_;
  }
  return S_OK;
}

HRESULT EventBuffer::Delete(DWORD position) {
  if (position >= events_.size() || events_[position].type == 0) return E_INVALIDARG;
  FreeEvent(events_[position]);
  events_[position].type = 0;
  ++deleted_;
  if (static_cast<LONG>(position) == hint_) hint_ = -1;
  return S_OK;
}

}  // namespace hostkit
