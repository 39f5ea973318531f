// An in-memory host: tracks with sub-tracks and events, markers, a
// property store, time conversion at a given tempo, and notification sinks
// it can call from any thread. Tests and tools connect the plug-in to it.
#pragma once
#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "quillet/plugin.h"

namespace hostkit {

// Copies and frees events with their task-allocated data blocks.
QUILLET_EVENT CopyEvent(const QUILLET_EVENT& e);
void FreeEvent(QUILLET_EVENT& e);
QUILLET_EVENT MakeShort(DWORD type, DWORD subTrack, LONG channel, LONGLONG time, BYTE b0, BYTE b1 = 0, BYTE b2 = 0);
QUILLET_EVENT MakeLong(DWORD type, DWORD subTrack, LONGLONG time, const BYTE* data, DWORD length);

struct SubTrack {
  DWORD key;
  LONG channel;
  DWORD attribute;
  bool mute, solo;
  std::wstring name;
};

// One undoable edit as the host recorded it: the caption it was opened
// under, the change masks of the sub-track changes made in it, what was
// inserted and deleted, and whether it was committed.
struct HostEdit {
  std::wstring caption;
  DWORD mask = 0;
  int subTracksInserted = 0, subTracksDeleted = 0, blocksInserted = 0, eventsInserted = 0;
  bool closed = false, committed = false;
};

// A block a sub-track was given: its key, time and name.
struct Block {
  DWORD subTrack;
  LONGLONG time;
  std::wstring name;
};

class Host final : public IQuilletTrack,
                   public IQuilletProperties,
                   public IQuilletTimeConvert,
                   public IQuilletHostServices,
                   public IQuilletHostWindow {
 public:
  static Host* Create();  // one reference, the caller's

  // The song.
  void SetTiming(LONG ticksPerQuarter, LONG microsPerQuarter, LONG numerator = 4, LONG denominator = 4);
  DWORD AddSubTrack(LONG channel, const std::wstring& name, DWORD attribute = 0);  // keys 1, 2, ...
  // Copied; kept in time order (after the events of the same time), so
  // that events added in time order are appended.
  void AddEvent(const QUILLET_EVENT& event);
  // Many events at once (copied), then one stable sort by time.
  void AddEvents(const std::vector<QUILLET_EVENT>& events);
  void ReserveEvents(size_t count);  // room for this many more, and no more
  void AddMarker(LONGLONG time, DWORD id);
  const std::vector<SubTrack>& SubTracks() const { return subTracks_; }
  // The track's events in time order. EventAt gives a copy the caller
  // frees with FreeEvent.
  size_t EventCount() const { return events_.size(); }
  LONGLONG EventTime(size_t index) const { return events_[index].Time(); }
  QUILLET_EVENT EventAt(size_t index) const {
    QUILLET_EVENT e;
    CopyInto(index, &e);
    return e;
  }
  LONG TicksPerQuarter() const { return ppq_; }

  // Notifications to every registered sink, from the calling thread.
  HRESULT Fire(const QUILLET_NOTIFICATION& n, BOOL deferred);
  size_t SinkCount() const;
  int OpenAccessCount() const { return openAccess_; }
  // Every undoable edit opened (mode 1), in order.
  const std::vector<HostEdit>& Edits() const { return edits_; }
  void ClearEdits() { edits_.clear(); }
  const std::vector<Block>& Blocks() const { return blocks_list_; }
  // A property as stored by Set (empty when never set).
  std::vector<BYTE> Property(DWORD property, DWORD index1 = 0, DWORD index2 = 0) const;
  // Ends the next `count` undoable edits' sub-track changes with E_FAIL.
  void FailChanges(int count) { failChanges_ = count; }

  // The sub-tracks, events, blocks and properties as they are now: all
  // that the edit operations and Set change. Going back to a checkpoint
  // undoes every edit made since, as a host's undo does when a user
  // cancels a dialog; the record of edits and the notification sinks are
  // kept.
  struct Checkpoint;
  std::unique_ptr<Checkpoint> MakeCheckpoint() const;
  void Restore(const Checkpoint& checkpoint);
  LONG RefCount() const { return refs_.load(); }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;

  // IQuilletTrack
  HRESULT STDMETHODCALLTYPE BeginAccess(DWORD mode, LPCWSTR undoCaption) override;
  HRESULT STDMETHODCALLTYPE EndAccess(BOOL commit) override;
  HRESULT STDMETHODCALLTYPE EnumFirst(QUILLET_QUERY* query, QUILLET_EVENT* out, BOOL* more, DWORD selector) override;
  HRESULT STDMETHODCALLTYPE EnumNext(QUILLET_QUERY* query, QUILLET_EVENT* out, BOOL* more, DWORD selector) override;
  HRESULT STDMETHODCALLTYPE ReadEvent(DWORD subTrack, DWORD position, QUILLET_EVENT* out) override;
  HRESULT STDMETHODCALLTYPE ChangeSubTrack(DWORD key, DWORD count, const QUILLET_SUBTRACK* description,
                                           DWORD changeMask) override;
  HRESULT STDMETHODCALLTYPE Insert(DWORD target, DWORD kind, const QUILLET_EVENT* record) override;
  HRESULT STDMETHODCALLTYPE Delete(DWORD kind, const QUILLET_EVENT* target) override;
  HRESULT STDMETHODCALLTYPE ReadSubTrack(DWORD key, QUILLET_SUBTRACK* out) override;

  // IQuilletProperties
  HRESULT STDMETHODCALLTYPE Get(DWORD property, DWORD index1, DWORD index2, DWORD reserved, DWORD size,
                                void* out) override;
  HRESULT STDMETHODCALLTYPE Set(DWORD property, DWORD index1, DWORD index2, DWORD size, const void* in) override;
  HRESULT STDMETHODCALLTYPE GetStrings(LPWSTR* title, LPWSTR* filePath) override;

  // IQuilletTimeConvert
  HRESULT STDMETHODCALLTYPE Convert(DWORD kind, LONGLONG time, LONG out[4]) override;

  // IQuilletHostServices
  HRESULT STDMETHODCALLTYPE GetMarkers(UINT* count, QUILLET_MARKER** markers) override;
  HRESULT STDMETHODCALLTYPE Advise(REFIID kind, IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;

  // IQuilletHostWindow
  HRESULT STDMETHODCALLTYPE GetMainWindow(HWND* window) override;

  std::wstring title = L"Untitled", filePath;

 private:
  Host() = default;
  ~Host();
  // An event in 20 bytes: the record's time, sub-track, packed bytes (or
  // where its data block is) and, in one word, its type bit, channel and
  // the two words a tool keeps in reserved12. A record with anything else
  // set is kept whole in `wide_`.
#pragma pack(push, 4)
  struct Stored {
    LONGLONG time;
    DWORD subTrack;
    DWORD word;  // short kinds: packed bytes; long kinds: offset in blocks_; wide: index in wide_
    DWORD bits;  // type bit (6 bits, kWide for a wide record), channel + 1 (5), reserved12[1] (8), reserved12[0] (13)
    LONGLONG Time() const { return time; }
  };
#pragma pack(pop)
  static_assert(sizeof(Stored) == 20, "stored event");
  Stored Store(const QUILLET_EVENT& e);
  // The record of an event; a long kind's data points into the store.
  void View(size_t index, QUILLET_EVENT* out) const;
  // The record with its own copy of a long kind's data (task memory).
  void CopyInto(size_t index, QUILLET_EVENT* out) const;
  const std::vector<DWORD>* IndexOf(DWORD subTrack) const;
  HRESULT Next(QUILLET_QUERY* query, QUILLET_EVENT* out, BOOL* more, bool first);

  std::atomic<LONG> refs_{1};
  LONG ppq_ = 480, tempo_ = 500000, numerator_ = 4, denominator_ = 4;
  std::vector<SubTrack> subTracks_;
  std::vector<Stored> events_;
  std::vector<BYTE> blocks_;          // data blocks of long kinds: length word, then the bytes
  std::vector<QUILLET_EVENT> wide_;   // records that do not fit a Stored
  // Positions of each sub-track's events, built when first asked for: by
  // key for the keys given out by then, the rest (events of sub-tracks
  // added later, deleted or never added) in a map.
  mutable std::vector<std::vector<DWORD>> byKey_;
  mutable std::map<DWORD, std::vector<DWORD>> byOtherKey_;
  mutable bool indexed_ = false;
  std::vector<DWORD>& PositionsOf(DWORD subTrack) const;
  std::vector<QUILLET_MARKER> markers_;
  std::map<std::tuple<DWORD, DWORD, DWORD>, std::vector<BYTE>> properties_;
  struct Sink {
    DWORD cookie;
    IID kind;
    IUnknown* sink;
  };
  mutable std::mutex sinkLock_;
  std::vector<Sink> sinks_;
  DWORD nextCookie_ = 1;
  int openAccess_ = 0;
  DWORD nextKey_ = 1;
  std::vector<HostEdit> edits_;
  std::vector<int> openEdits_;  // per open access: index in edits_, or -1 for a read
  // The state a checkpoint keeps, apart from the wide records.
  using EditableState = std::tuple<std::vector<SubTrack>, std::vector<Stored>, std::vector<BYTE>,
                                   std::map<std::tuple<DWORD, DWORD, DWORD>, std::vector<BYTE>>, DWORD,
                                   std::vector<Block>>;
  auto Editable() { return std::tie(subTracks_, events_, blocks_, properties_, nextKey_, blocks_list_); }
  auto Editable() const { return std::tie(subTracks_, events_, blocks_, properties_, nextKey_, blocks_list_); }
  std::vector<Block> blocks_list_;
  int failChanges_ = 0;
  HostEdit* CurrentEdit();
};

// What a checkpoint keeps (Host::MakeCheckpoint): what the host's edit
// operations change, the wide records copied with their data.
struct Host::Checkpoint {
  EditableState editable;
  std::vector<QUILLET_EVENT> wide;
  ~Checkpoint();
};

// One playback buffer: events in time order, with the find cursor and the
// sub-track restriction of the buffer interface.
class EventBuffer final : public IQuilletEventBuffer {
 public:
  static EventBuffer* Create();
  void Add(const QUILLET_EVENT& event);  // copied; kept in time order
  // The events left in the buffer (deleted ones are dropped here).
  const std::vector<QUILLET_EVENT>& Events() const;
  void Clear();
  LONG RefCount() const { return refs_.load(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE RestrictToSubTracks(const DWORD* keys, UINT count) override;
  HRESULT STDMETHODCALLTYPE FindFirst(DWORD* position, QUILLET_EVENT* out, BOOL* more, DWORD typeMask) override;
  HRESULT STDMETHODCALLTYPE FindNext(DWORD* position, QUILLET_EVENT* out, BOOL* more, DWORD typeMask) override;
  HRESULT STDMETHODCALLTYPE Replace(DWORD position, const QUILLET_EVENT* event) override;
  HRESULT STDMETHODCALLTYPE Insert(DWORD position, const QUILLET_EVENT* event) override;
  HRESULT STDMETHODCALLTYPE Delete(DWORD position) override;

 private:
  EventBuffer() = default;
  ~EventBuffer();
  bool Visible(const QUILLET_EVENT& e, DWORD mask) const;
  HRESULT FindFrom(LONG from, DWORD* position, QUILLET_EVENT* out, BOOL* more, DWORD mask);

  std::atomic<LONG> refs_{1};
  // A deleted event stays in place with type 0 until Events() is read, so
  // that deleting costs no move and positions stay put during a pass.
  mutable std::vector<QUILLET_EVENT> events_;
  mutable size_t deleted_ = 0;
  std::vector<DWORD> restriction_;
  LONG cursor_ = -1;
  // The next visible event after the cursor, found while answering `more`,
  // so that a whole find pass looks at each event once.
  LONG hint_ = -1;
  DWORD hintMask_ = 0;
};

}  // namespace hostkit
