// What the property page reaches through the filter: sub-track
// descriptions and edits, host properties and strings, recording.
#include <cstring>

#include "plugin/filter_object.h"
#include "midi/midi_event.h"

namespace quillet {

LONG FilterObject::SubTrackCount() noexcept {
  if (!(flags_ & kSubTrackListBuilt) && track_) BuildSubTrackList();
  return (subTracks_ ? subTracks_->count : 0) + 1;
}

DWORD FilterObject::SubTrackKeyAt(LONG row) noexcept {
  if (!subTracks_ || row < 0 || row >= subTracks_->count) return 0;
  return static_cast<SubTrackItem*>(ZQLIST_SLOT(subTracks_, row))->key;
}

HRESULT FilterObject::ReadSubTrack(DWORD key, QUILLET_SUBTRACK* out) noexcept {
  if (!out) return E_POINTER;
  *out = QUILLET_SUBTRACK{};
  HRESULT hr = BeginRead();
  if (FAILED(hr)) return hr;
  QUILLET_SUBTRACK read{};
  hr = track_->ReadSubTrack(key, &read);
  EndRead();
  if (hr != S_OK) {
    // Whatever the host left there is not ours to keep.
    return FAILED(hr) ? hr : S_FALSE;
  }
  *out = read;
  return S_OK;
}

HRESULT FilterObject::BeginEdit(LPCWSTR caption) noexcept {
  if (!track_) return E_UNEXPECTED;
  HRESULT hr = track_->BeginAccess(1, caption);
  if (SUCCEEDED(hr)) ++accessDepth_;
  return hr;
}

void FilterObject::EndEdit(bool commit) noexcept {
  if (accessDepth_ > 0 && track_) {
    --accessDepth_;
    track_->EndAccess(commit ? TRUE : FALSE);
  }
}

HRESULT FilterObject::EditSubTrack(DWORD key, const QUILLET_SUBTRACK& description, DWORD mask,
                                   LPCWSTR caption) noexcept {
  HRESULT hr = BeginEdit(caption);
  if (FAILED(hr)) return hr;
  hr = track_->ChangeSubTrack(key, 1, &description, mask);
  EndEdit(SUCCEEDED(hr));
  if (SUCCEEDED(hr) && (mask & QSUB_CHANNEL)) BuildSubTrackList();
  return hr;
}

HRESULT FilterObject::InsertRecord(DWORD kind, const void* record) noexcept {
  if (!track_) return E_UNEXPECTED;
  return track_->Insert(0, kind, static_cast<const QUILLET_EVENT*>(record));
}

HRESULT FilterObject::DeleteSubTrack(DWORD key) noexcept {
  if (!track_) return E_UNEXPECTED;
  QUILLET_EVENT target{};
  target.type = QEV_NONE;
  target.subTrack = key;
  return track_->Delete(QEDIT_SUBTRACK, &target);
}

HRESULT FilterObject::GetHostProperty(DWORD property, DWORD size, void* out) noexcept {
  if (!out) return E_POINTER;
  memset(out, 0, size);
  if (!properties_) return S_FALSE;
  HRESULT hr = properties_->Get(property, 0, 0, 0, size, out);
  if (hr != S_OK) memset(out, 0, size);
  return hr;
}

HRESULT FilterObject::SetHostProperty(DWORD property, DWORD size, const void* in) noexcept {
  if (!in) return E_POINTER;
  if (!properties_) return S_FALSE;
  return properties_->Set(property, 0, 0, size, in);
}

HRESULT FilterObject::GetHostStrings(LPWSTR* title, LPWSTR* path) noexcept {
  if (!title || !path) return E_POINTER;
  *title = *path = nullptr;
  if (!properties_) return S_FALSE;
  LPWSTR t = nullptr, p = nullptr;
  HRESULT hr = properties_->GetStrings(&t, &p);
  if (hr != S_OK) {
    CoTaskMemFree(t);
    CoTaskMemFree(p);
    return FAILED(hr) ? hr : S_FALSE;
  }
  *title = t;
  *path = p;
  return S_OK;
}

HRESULT FilterObject::FindMetaEvent(LONGLONG time, BYTE metaType, QUILLET_EVENT* out) noexcept {
  if (!out) return E_POINTER;
  *out = QUILLET_EVENT{};
  out->type = QEV_NONE;
  if (time < 0) return S_FALSE;
  HRESULT hr = BeginRead();
  if (FAILED(hr)) return hr;
  QUILLET_QUERY query{QENUM_RANGE, 0, time, time + 1, 0};
  QUILLET_EVENT e{};
  BOOL more = FALSE;
  bool found = false;
  hr = track_->EnumFirst(&query, &e, &more, 0);
  while (hr == S_OK) {
    if (!found && e.type == QEV_META && e.dataLength && e.data && e.data[0] == metaType) {
      *out = e;
      found = true;
    } else {
      ClearEvent(&e);
    }
    if (found || !more) break;
    e = QUILLET_EVENT{};
    hr = track_->EnumNext(&query, &e, &more, 0);
  }
  EndRead();
  return found ? S_OK : FAILED(hr) ? hr : S_FALSE;
}

void FilterObject::EmptyRecordList() noexcept {
  if (!records_) return;
  for (LONG i = 0; i < records_->count; ++i) ClearEvent(static_cast<QUILLET_EVENT*>(ZQLIST_SLOT(records_, i)));
  ZqList_DeleteList(records_, 0, -1, FALSE);
}

HRESULT FilterObject::StartRecording() noexcept {
  if (records_) {
    EmptyRecordList();
  } else {
    HRESULT hr = ZqList_CreateExZ(&records_, sizeof(QUILLET_EVENT), 0, 64, ZQLIST_ARRAY | ZQLIST_LOCKED, nullptr, 0,
                                  nullptr);
    if (FAILED(hr)) return hr;
  }
  recording_ = true;
  return S_OK;
}

}  // namespace quillet
