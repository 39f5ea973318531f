/// @file
/// The Quillet filter object's interfaces, as a host compiles against them.
#pragma once
#include <ocidl.h>

#include "quillet/host.h"

/// IQuilletFilter
QUILLET_GUID(IID_IQuilletFilter, 0x3c9b5e21, 0x7d04, 0x4f6a, 0xb1, 0x58, 0x2e, 0x47, 0x90, 0xa3, 0x6d, 0x01);
/// IQuilletProcess
QUILLET_GUID(IID_IQuilletProcess, 0x3c9b5e21, 0x7d04, 0x4f6a, 0xb1, 0x58, 0x2e, 0x47, 0x90, 0xa3, 0x6d, 0x02);
/// IQuilletLanguage
QUILLET_GUID(IID_IQuilletLanguage, 0x3c9b5e21, 0x7d04, 0x4f6a, 0xb1, 0x58, 0x2e, 0x47, 0x90, 0xa3, 0x6d, 0x03);
/// IQuilletObserver
QUILLET_GUID(IID_IQuilletObserver, 0x3c9b5e21, 0x7d04, 0x4f6a, 0xb1, 0x58, 0x2e, 0x47, 0x90, 0xa3, 0x6d, 0x04);
/// IQuilletPropertyPage
QUILLET_GUID(IID_IQuilletPropertyPage, 0x3c9b5e21, 0x7d04, 0x4f6a, 0xb1, 0x58, 0x2e, 0x47, 0x90, 0xa3, 0x6d, 0x06);
/// IQuilletTrackInfo
QUILLET_GUID(IID_IQuilletTrackInfo, 0x3c9b5e21, 0x7d04, 0x4f6a, 0xb1, 0x58, 0x2e, 0x47, 0x90, 0xa3, 0x6d, 0x05);

///@{
/// The persisted stream: version 1, at most this many bytes (version,
/// length, block size, and the 6,156-byte block).
#define QUILLET_STREAM_VERSION 1
#define QUILLET_STREAM_MAX 6168
#define QUILLET_SUBTRACKS 256
///@}

/// One entry of the sub-track mix table (24 bytes).
typedef struct QUILLET_MIX {
  float volumeOffset;  ///< fraction of full scale, -1..1
  LONG volumeChanged;  ///< non-zero when the volume offset changed since it was last applied
  LONG lastVolume;     ///< 0-127
  float panOffset;  ///< fraction of full scale, -1..1
  LONG panChanged;  ///< non-zero when the pan offset changed since it was last applied
  LONG lastPan;  ///< 0-127
} QUILLET_MIX;

/// Receives notifications and page events the filter forwards (the property page).
struct IQuilletObserver : IUnknown {
  /// A notification the filter forwards.
  virtual HRESULT STDMETHODCALLTYPE OnNotify(const QUILLET_NOTIFICATION* notification) = 0;
  /// A page event the filter forwards.
  virtual HRESULT STDMETHODCALLTYPE OnPageEvent(DWORD a, DWORD b) = 0;
};

/// The property page's table: IPropertyPage, then five slots of its own
/// (14 to 18).
struct IQuilletPropertyPage : IPropertyPage {
  virtual HRESULT STDMETHODCALLTYPE Destroy(DWORD flags) = 0;                               ///< slot 14
  virtual HRESULT STDMETHODCALLTYPE Initialize() = 0;                                       ///< slot 15
  /// Posts the time display's refresh to the page window (one at a time).
  virtual HRESULT STDMETHODCALLTYPE PageEvent(DWORD a, DWORD b) = 0;                        ///< slot 16
  /// Posts the refresh of a forwarded notification to the page window.
  virtual HRESULT STDMETHODCALLTYPE FilterNotify(const QUILLET_NOTIFICATION* n) = 0;        ///< slot 17
  virtual HRESULT STDMETHODCALLTYPE Reserved18() = 0;                                       ///< slot 18
};

/// The filter's processing companion (forwards to slots 8 to 10).
struct IQuilletProcess : IUnknown {
  /// Filters one playback buffer (as the filter's slot 8).
  virtual HRESULT STDMETHODCALLTYPE Process(IQuilletEventBuffer* buffer, QUILLET_BUFFERINFO* info) = 0;
  /// Processing information (as slot 9): 2, the stored processing value, 3.
  virtual HRESULT STDMETHODCALLTYPE GetProcessingInfo(DWORD* a, DWORD* b, DWORD* c) = 0;
  /// Stores the processing value (as slot 10). S_OK.
  virtual HRESULT STDMETHODCALLTYPE SetProcessingValue(DWORD value) = 0;
};

/// The filter's language interface.
struct IQuilletLanguage : IUnknown {
  /// Switches the filter's texts to `locale` (the language module for a language other than
  /// English). S_OK; E_FAIL.
  virtual HRESULT STDMETHODCALLTYPE SetLanguage(LCID locale) = 0;
};

/// What the filter found in the track at its last rescan (host times; -1
/// where nothing was found): the first meta event of type 2, the first
/// tempo event and the four marker positions.
struct IQuilletTrackInfo : IUnknown {
  /// The positions found at the last rescan; -1 where nothing was found.
  virtual HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG* metaText2, LONGLONG* tempo, LONGLONG markers[4]) = 0;
};

/// The filter's main interface, slots 3 to 45 in order.
struct IQuilletFilter : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Connect(IUnknown* host, IUnknown* secondHost, DWORD mode, DWORD reserved,
                                            DWORD* capabilities) = 0;                      ///< slot 3
  virtual HRESULT STDMETHODCALLTYPE Disconnect() = 0;                                      ///< slot 4
  virtual HRESULT STDMETHODCALLTYPE Destroy(DWORD flags) = 0;                              ///< slot 5
  virtual HRESULT STDMETHODCALLTYPE Initialize() = 0;                                      ///< slot 6
  virtual HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) = 0;                           ///< slot 7
  /// Slot 8
  virtual HRESULT STDMETHODCALLTYPE Process(IQuilletEventBuffer* buffer, QUILLET_BUFFERINFO* info) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetProcessingInfo(DWORD* a, DWORD* b, DWORD* c) = 0;  ///< slot 9
  virtual HRESULT STDMETHODCALLTYPE SetProcessingValue(DWORD value) = 0;                  ///< slot 10
  virtual HRESULT STDMETHODCALLTYPE ClearObserver(IUnknown* observer) = 0;                ///< slot 11
  virtual HRESULT STDMETHODCALLTYPE SetObserver(IUnknown* observer) = 0;                  ///< slot 12
  virtual HRESULT STDMETHODCALLTYPE Notify(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;  ///< slot 13
  /// Slot 14
  virtual HRESULT STDMETHODCALLTYPE OnTrackChanged(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  /// Slot 15
  virtual HRESULT STDMETHODCALLTYPE OnMarkersChanged(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  /// Slot 16
  virtual HRESULT STDMETHODCALLTYPE OnContentChanged(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  /// Slot 17
  virtual HRESULT STDMETHODCALLTYPE OnTransport(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  /// Slot 18
  virtual HRESULT STDMETHODCALLTYPE OnPosition(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  /// Slot 19
  virtual HRESULT STDMETHODCALLTYPE OnSelection(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  /// Slot 20
  virtual HRESULT STDMETHODCALLTYPE OnSubTracks(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  /// Slot 21
  virtual HRESULT STDMETHODCALLTYPE OnProjectOpen(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  /// Slot 22
  virtual HRESULT STDMETHODCALLTYPE OnProjectClose(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  /// Slot 23
  virtual HRESULT STDMETHODCALLTYPE OnUiState(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  /// Slot 24
  virtual HRESULT STDMETHODCALLTYPE OnDevices(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  /// Slot 25
  virtual HRESULT STDMETHODCALLTYPE OnMetronome(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  /// Slot 26
  virtual HRESULT STDMETHODCALLTYPE OnGeneric(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  /// Slot 27
  virtual HRESULT STDMETHODCALLTYPE OnIdle(const QUILLET_NOTIFICATION* n, BOOL deferred) = 0;
  virtual HRESULT STDMETHODCALLTYPE RunQueuedNotifications(BOOL discard) = 0;             ///< slot 28
  virtual HRESULT STDMETHODCALLTYPE QueueNotification(const QUILLET_NOTIFICATION* n) = 0;  ///< slot 29
  virtual HRESULT STDMETHODCALLTYPE PageEvent(DWORD a, DWORD b) = 0;                      ///< slot 30
  virtual HRESULT STDMETHODCALLTYPE RebuildSubTrackLists(BOOL force) = 0;                 ///< slot 31
  virtual HRESULT STDMETHODCALLTYPE BuildSubTrackList() = 0;                              ///< slot 32
  virtual HRESULT STDMETHODCALLTYPE BuildSubTrackEvents(struct tZQLIST* list, DWORD key) = 0;  ///< slot 33
  virtual HRESULT STDMETHODCALLTYPE Select(LONG subTrackRange, LONG eventRange) = 0;      ///< slot 34
  /// Slot 35
  virtual HRESULT STDMETHODCALLTYPE CollectEvents(struct tZQLIST* list, DWORD key, DWORD selector) = 0;
  virtual DWORD STDMETHODCALLTYPE ChannelUsageMask() = 0;                                 ///< slot 36
  virtual DWORD STDMETHODCALLTYPE ChannelCount() = 0;                                     ///< slot 37
  virtual LONG STDMETHODCALLTYPE GetStoredValue(DWORD which) = 0;                         ///< slot 38
  virtual HRESULT STDMETHODCALLTYPE SetStoredValue(DWORD which, LONG value) = 0;          ///< slot 39
  virtual HRESULT STDMETHODCALLTYPE IsDirty() = 0;                                        ///< slot 40
  virtual HRESULT STDMETHODCALLTYPE Load(IStream* stream) = 0;                            ///< slot 41
  virtual HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) = 0;           ///< slot 42
  virtual HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) = 0;                 ///< slot 43
  virtual HRESULT STDMETHODCALLTYPE Reserved44() = 0;                                     ///< slot 44
  virtual HRESULT STDMETHODCALLTYPE Reserved45() = 0;                                     ///< slot 45

};
