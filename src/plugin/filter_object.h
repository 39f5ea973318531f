// The filter object: the plug-in instance a host attaches to one track.
#pragma once
#include <ocidl.h>

#include <atomic>

#include "plugin/filter_process.h"
#include "plugin/live_object.h"
#include "quillet/plugin.h"
#include "zq/list.h"

namespace quillet {

class FilterObject;

// Status flags.
constexpr DWORD kSubTrackListBuilt = 0x1;
constexpr DWORD kEventListsBuilt = 0x2;
constexpr DWORD kSelectionValid = 0x4;
constexpr DWORD kTrackChanged = 0x8;
constexpr DWORD kQueueRunRequested = 0x10;
constexpr DWORD kPageEventPending = 0x20;

// Asked of an object by the property page: answered (with the main table)
// only by this module's filter objects, whose C++ side the page then uses.
QUILLET_GUID(IID_QuilletFilterObject, 0x3c9b5e21, 0x7d04, 0x4f6a, 0xb1, 0x58, 0x2e, 0x47, 0x90, 0xa3, 0x6d, 0x7f);

// Quantize settings (kept while the object lives, not persisted).
struct QuantizeSettings {
  int resolution = 2;  // 0-10, quarter note
  bool startTimes = true, durations = true, notesOnly = true, onPlayback = false;
  DWORD word = 0;
  LONG lengthTicks = 0;  // of the resolution, from the host's timing
};

// A companion: its own interface and count, a pointer back to the filter.
// Its references also hold the filter, so that it never outlives it.
template <typename Interface>
class Companion : public Interface {
 public:
  explicit Companion(FilterObject* owner) : owner_(owner) {}
  virtual ~Companion() = default;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  ULONG Count() const { return refs_.load(); }
  // The filter's own reference, which does not hold the filter.
  void TakeOwnerReference() { ++refs_; }
  void DropOwnerReference();

 protected:
  FilterObject* owner_;
  std::atomic<ULONG> refs_{0};
};

// One entry of the sub-track list (12 bytes).
struct SubTrackItem {
  DWORD key;
  LONG channel;
  tZQLIST* events;  // that sub-track's events, or null
};

class FilterObject final : public IQuilletFilter, public IQuilletLanguage, public IQuilletTrackInfo {
 public:
  explicit FilterObject(REFCLSID clsid);
  ~FilterObject();

  // IUnknown (main table and language table)
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;

  // IQuilletFilter
  HRESULT STDMETHODCALLTYPE Connect(IUnknown* host, IUnknown* secondHost, DWORD mode, DWORD reserved,
                                    DWORD* capabilities) noexcept override;
  HRESULT STDMETHODCALLTYPE Disconnect() noexcept override;
  HRESULT STDMETHODCALLTYPE Destroy(DWORD flags) noexcept override;
  HRESULT STDMETHODCALLTYPE Initialize() noexcept override;
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) noexcept override;
  HRESULT STDMETHODCALLTYPE Process(IQuilletEventBuffer* buffer, QUILLET_BUFFERINFO* info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetProcessingInfo(DWORD* a, DWORD* b, DWORD* c) noexcept override;
  HRESULT STDMETHODCALLTYPE SetProcessingValue(DWORD value) noexcept override;
  HRESULT STDMETHODCALLTYPE ClearObserver(IUnknown* observer) noexcept override;
  HRESULT STDMETHODCALLTYPE SetObserver(IUnknown* observer) noexcept override;
  HRESULT STDMETHODCALLTYPE Notify(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnTrackChanged(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnMarkersChanged(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnContentChanged(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnTransport(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnPosition(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnSelection(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnSubTracks(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnProjectOpen(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnProjectClose(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnUiState(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnDevices(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnMetronome(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnGeneric(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE OnIdle(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept override;
  HRESULT STDMETHODCALLTYPE RunQueuedNotifications(BOOL discard) noexcept override;
  HRESULT STDMETHODCALLTYPE QueueNotification(const QUILLET_NOTIFICATION* n) noexcept override;
  HRESULT STDMETHODCALLTYPE PageEvent(DWORD a, DWORD b) noexcept override;
  HRESULT STDMETHODCALLTYPE RebuildSubTrackLists(BOOL force) noexcept override;
  HRESULT STDMETHODCALLTYPE BuildSubTrackList() noexcept override;
  HRESULT STDMETHODCALLTYPE BuildSubTrackEvents(tZQLIST* list, DWORD key) noexcept override;
  HRESULT STDMETHODCALLTYPE Select(LONG subTrackRange, LONG eventRange) noexcept override;
  HRESULT STDMETHODCALLTYPE CollectEvents(tZQLIST* list, DWORD key, DWORD selector) noexcept override;
  DWORD STDMETHODCALLTYPE ChannelUsageMask() noexcept override;
  DWORD STDMETHODCALLTYPE ChannelCount() noexcept override;
  LONG STDMETHODCALLTYPE GetStoredValue(DWORD which) noexcept override;
  HRESULT STDMETHODCALLTYPE SetStoredValue(DWORD which, LONG value) noexcept override;
  HRESULT STDMETHODCALLTYPE IsDirty() noexcept override;
  HRESULT STDMETHODCALLTYPE Load(IStream* stream) noexcept override;
  HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) noexcept override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) noexcept override;
  HRESULT STDMETHODCALLTYPE Reserved44() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Reserved45() noexcept override { return S_OK; }

  // IQuilletLanguage
  HRESULT STDMETHODCALLTYPE SetLanguage(LCID locale) noexcept override;

  // IQuilletTrackInfo
  HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG* metaText2, LONGLONG* tempo, LONGLONG markers[4]) noexcept override;

  // For the companions and the property page.
  REFCLSID ClassId() const { return clsid_; }
  LONG RefCount() const { return refs_.load(); }
  DWORD Flags() const { return flags_; }
  DWORD& PlaybackMask() { return playbackMask_; }
  DWORD& ChaseMask() { return chaseMask_; }
  QUILLET_MIX* Mix() { return mix_; }
  void SetDirty() { dirty_ = 1; }
  LONGLONG MetaText2Position() const { return metaText2Pos_; }
  LONGLONG TempoPosition() const { return tempoPos_; }
  const LONGLONG* MarkerPositions() const { return markerPos_; }
  const LONG* Timing() const { return timing_; }
  tZQLIST* SubTrackList() const { return subTracks_; }
  tZQLIST* RecordList() const { return records_; }
  void SetRecording(bool on) { recording_ = on; }
  bool Recording() const { return recording_; }
  QuantizeSettings& Quantize() { return quantize_; }

  // For the property page (filter_page_access.cpp). Host reads that do not
  // answer S_OK leave their buffers zeroed.
  // Sets a status bit; true when it was clear (the caller owns the step).
  bool TakeFlag(DWORD bit) { return !(flags_.fetch_or(bit) & bit); }
  void ClearFlag(DWORD bit) { flags_ &= ~bit; }
  // The sub-tracks plus the track itself: the grid shows count - 1 rows.
  LONG SubTrackCount() noexcept;
  DWORD SubTrackKeyAt(LONG row) noexcept;  // 0 when there is no such row
  bool CanPlay() const { return properties_ != nullptr; }
  HRESULT ReadSubTrack(DWORD key, QUILLET_SUBTRACK* out) noexcept;
  // One undoable edit of one sub-track; the sub-track list is rebuilt after it.
  HRESULT EditSubTrack(DWORD key, const QUILLET_SUBTRACK& description, DWORD mask, LPCWSTR caption) noexcept;
  HRESULT BeginEdit(LPCWSTR caption) noexcept;
  void EndEdit(bool commit) noexcept;
  HRESULT InsertRecord(DWORD kind, const void* record) noexcept;  // inside an edit
  HRESULT DeleteSubTrack(DWORD key) noexcept;                     // inside an edit
  HRESULT GetHostProperty(DWORD property, DWORD size, void* out) noexcept;
  HRESULT SetHostProperty(DWORD property, DWORD size, const void* in) noexcept;
  HRESULT GetHostStrings(LPWSTR* title, LPWSTR* path) noexcept;  // both task-allocated or null
  IQuilletTimeConvert* TimeConverter() const { return time_; }
  // The meta event of `metaType` at `time` (the caller clears it); S_FALSE
  // and an empty record when there is none.
  HRESULT FindMetaEvent(LONGLONG time, BYTE metaType, QUILLET_EVENT* out) noexcept;
  // The meta-text, tempo and marker positions found anew.
  HRESULT RescanTrackPositions() noexcept { return RescanPositions(); }
  // Starts a recording: an empty record list, the flag set.
  HRESULT StartRecording() noexcept;
  void EmptyRecordList() noexcept;

 private:
  friend class FilterTest;
  HRESULT InputPass(IQuilletEventBuffer* buffer) noexcept;
  HRESULT RescanVolumeAndPan() noexcept;
  HRESULT RescanPositions() noexcept;
  HRESULT RebuildMarkers() noexcept;
  HRESULT QueueCopy(const QUILLET_NOTIFICATION* n) noexcept;
  // Notifications arriving off the host's calling thread (filter_notify.cpp).
  bool OnHostThread() const noexcept;
  HRESULT HoldForHostThread(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept;
  void RunArrivals() noexcept;
  void DropArrivals() noexcept;
  void AppendChangedEvent(const QUILLET_NOTIFICATION* n) noexcept;
  void ForwardToObserver(const QUILLET_NOTIFICATION* n) noexcept;
  IQuilletObserver* Observer() noexcept;  // a reference to the observer's table, or null
  void DestroyLists() noexcept;
  void ReleaseCompanions() noexcept;
  SubTrackItem* FindSubTrack(DWORD key) noexcept;
  HRESULT BeginRead() noexcept;
  void EndRead() noexcept;

  LiveObject live_;
  std::atomic<LONG> refs_{0};
  CLSID clsid_;
  WCHAR name_[32] = {};

  IUnknown* host_ = nullptr;
  IUnknown* secondHost_ = nullptr;
  IQuilletTrack* track_ = nullptr;
  IQuilletProperties* properties_ = nullptr;
  IQuilletTimeConvert* time_ = nullptr;
  IQuilletHostServices* services_ = nullptr;
  IQuilletHostWindow* window_ = nullptr;
  DWORD notifyCookie_ = 0, pageCookie_ = 0;
  int accessDepth_ = 0;

  Companion<IPersistStream>* persist_ = nullptr;
  Companion<IQuilletProcess>* process_ = nullptr;
  Companion<ISpecifyPropertyPages>* pages_ = nullptr;
  Companion<IQuilletNotifySink>* notifySink_ = nullptr;
  Companion<IQuilletPageEventSink>* pageSink_ = nullptr;
  IUnknown* observer_ = nullptr;

  std::atomic<DWORD> flags_{0};  // also touched from the host's notification thread
  DWORD selectionMask_ = QEV_CONTROL | QEV_META;
  WORD channelFilter_ = 0xFFFF;
  LONG dirty_ = 0;
  DWORD capabilities_ = 1;
  DWORD playbackMask_ = 0, chaseMask_ = 0;
  DWORD processingValue_ = 0;
  QUILLET_MIX mix_[QUILLET_SUBTRACKS] = {};

  tZQLIST* subTracks_ = nullptr;   // SubTrackItem records, sorted by key
  tZQLIST* selection_ = nullptr;   // QUILLET_EVENT records
  tZQLIST* queue_ = nullptr;       // QUILLET_NOTIFICATION records
  tZQLIST* arrivals_ = nullptr;    // notifications held for the host's thread, under queueLock_
  std::atomic<bool> arrivalsWaiting_{false};
  bool runningArrivals_ = false;  // the host's thread is handling them
  // The host's calling thread: the one that connected, then the one that
  // processes; 0 until the first connect.
  std::atomic<DWORD> hostThread_{0};
  tZQLIST* records_ = nullptr;     // QUILLET_EVENT records captured while recording
  bool recording_ = false;
  QuantizeSettings quantize_;
  LONG selectedSubTrack_ = -1, selectedEvents_ = -1;

  WORD channelMask_ = 0;
  DWORD channelCount_ = 0;
  LONGLONG metaText2Pos_ = -1, tempoPos_ = -1, markerPos_[4] = {-1, -1, -1, -1};
  LONG timing_[4] = {};
  LONG storedValue_ = 0, recordTarget_ = -1;

  CRITICAL_SECTION lock_;
  CRITICAL_SECTION queueLock_;
  bool locksReady_ = false;
  UINT clipboardFormat_ = 0;
};

template <typename Interface>
ULONG Companion<Interface>::AddRef() {
  owner_->AddRef();
  return ++refs_ - 1;
}

// The count a caller sees leaves out the owner's own reference; when the
// caller's release destroys the owner, the companion goes with it.
template <typename Interface>
ULONG Companion<Interface>::Release() {
  ULONG left = --refs_;
  if (left == 0) {
    delete this;
    return 0;
  }
  FilterObject* owner = owner_;
  return owner->Release() == 0 ? 0 : left - 1;  // `this` may be gone now
}

template <typename Interface>
void Companion<Interface>::DropOwnerReference() {
  if (--refs_ == 0) delete this;
}

// A new filter object for its class factory (filter_creation.cpp).
HRESULT CreateFilterObject(REFIID iid, void** out) noexcept;

}  // namespace quillet
