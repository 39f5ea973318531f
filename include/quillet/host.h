/// @file
/// The host's interfaces as the Quillet plug-in uses them. A host (or the
/// in-memory host kit) implements these; the plug-in calls them.
#pragma once
#include <objbase.h>
#include <unknwn.h>

#include "quillet/clsid.h"
#include "quillet/event.h"

/// {A4E1C0D1-3B5F-4C70-9A21-6E0F8B4D2C01} and onwards.
QUILLET_GUID(IID_IQuilletTrack, 0xa4e1c0d1, 0x3b5f, 0x4c70, 0x9a, 0x21, 0x6e, 0x0f, 0x8b, 0x4d, 0x2c, 0x01);
/// IQuilletEventBuffer
QUILLET_GUID(IID_IQuilletEventBuffer, 0xa4e1c0d1, 0x3b5f, 0x4c70, 0x9a, 0x21, 0x6e, 0x0f, 0x8b, 0x4d, 0x2c, 0x02);
/// IQuilletProperties
QUILLET_GUID(IID_IQuilletProperties, 0xa4e1c0d1, 0x3b5f, 0x4c70, 0x9a, 0x21, 0x6e, 0x0f, 0x8b, 0x4d, 0x2c, 0x03);
/// IQuilletTimeConvert
QUILLET_GUID(IID_IQuilletTimeConvert, 0xa4e1c0d1, 0x3b5f, 0x4c70, 0x9a, 0x21, 0x6e, 0x0f, 0x8b, 0x4d, 0x2c, 0x04);
/// IQuilletHostServices
QUILLET_GUID(IID_IQuilletHostServices, 0xa4e1c0d1, 0x3b5f, 0x4c70, 0x9a, 0x21, 0x6e, 0x0f, 0x8b, 0x4d, 0x2c, 0x05);
/// IQuilletHostWindow
QUILLET_GUID(IID_IQuilletHostWindow, 0xa4e1c0d1, 0x3b5f, 0x4c70, 0x9a, 0x21, 0x6e, 0x0f, 0x8b, 0x4d, 0x2c, 0x06);
/// IQuilletNotifySink
QUILLET_GUID(IID_IQuilletNotifySink, 0xa4e1c0d1, 0x3b5f, 0x4c70, 0x9a, 0x21, 0x6e, 0x0f, 0x8b, 0x4d, 0x2c, 0x07);
/// IQuilletPageEventSink
QUILLET_GUID(IID_IQuilletPageEventSink, 0xa4e1c0d1, 0x3b5f, 0x4c70, 0x9a, 0x21, 0x6e, 0x0f, 0x8b, 0x4d, 0x2c, 0x08);

///@{
/// Enumeration queries of the track.
#define QENUM_SUBTRACKS  1  ///< every sub-track: out records carry key (word 5), channel (4), attribute (3)
#define QENUM_EVENTS     2  ///< one sub-track's events, in time order
#define QENUM_RANGE      3  ///< every event with from <= time < to, in time order
///@}

/// An enumeration query of the track (EnumFirst, EnumNext).
typedef struct QUILLET_QUERY {
  DWORD kind;          ///< QENUM_*
  DWORD subTrack;      ///< QENUM_EVENTS: the sub-track's key
  ///@{
  /// QENUM_RANGE
  LONGLONG from, to;
  ///@}
  DWORD cursor;        ///< the host's enumeration position
} QUILLET_QUERY;

///@{
/// Insert and delete targets. Inserting a sub-track takes a
/// QUILLET_SUBTRACK description in place of the event record (the host
/// appends it under a key of its own); a block takes an event record whose
/// sub-track and time place it and whose data block holds its name (UTF-16,
/// no terminator).
#define QEDIT_SUBTRACK   1
#define QEDIT_EVENT      2
#define QEDIT_DELETE_EVENT 3
#define QEDIT_BLOCK      4
///@}

/// Track access. Every read and edit is bracketed by BeginAccess/EndAccess.
struct IQuilletTrack : IUnknown {
  /// 0 read, 1 undoable edit
  virtual HRESULT STDMETHODCALLTYPE BeginAccess(DWORD mode, LPCWSTR undoCaption) = 0;
  /// Ends the access BeginAccess started; `commit` non-zero when an edit succeeded.
  virtual HRESULT STDMETHODCALLTYPE EndAccess(BOOL commit) = 0;
  /// S_OK with a record, S_FALSE when there is none; `more` says whether another follows.
  virtual HRESULT STDMETHODCALLTYPE EnumFirst(QUILLET_QUERY* query, QUILLET_EVENT* out, BOOL* more, DWORD selector) = 0;
  /// The next record of the enumeration EnumFirst started; S_FALSE when there is none.
  virtual HRESULT STDMETHODCALLTYPE EnumNext(QUILLET_QUERY* query, QUILLET_EVENT* out, BOOL* more, DWORD selector) = 0;
  /// Reads the event at `position` of a sub-track.
  virtual HRESULT STDMETHODCALLTYPE ReadEvent(DWORD subTrack, DWORD position, QUILLET_EVENT* out) = 0;
  /// Changes the parts of a sub-track's description named by `changeMask` (QSUB_ bits).
  virtual HRESULT STDMETHODCALLTYPE ChangeSubTrack(DWORD key, DWORD count, const QUILLET_SUBTRACK* description,
                                                   DWORD changeMask) = 0;
  /// Inserts a sub-track, an event or a block (QEDIT_ targets).
  virtual HRESULT STDMETHODCALLTYPE Insert(DWORD target, DWORD kind, const QUILLET_EVENT* record) = 0;
  /// Deletes the event (or sub-track) the record names.
  virtual HRESULT STDMETHODCALLTYPE Delete(DWORD kind, const QUILLET_EVENT* target) = 0;
  /// A sub-track's description; its name is task-allocated for the caller.
  /// S_FALSE (and nothing filled) for an unknown key.
  virtual HRESULT STDMETHODCALLTYPE ReadSubTrack(DWORD key, QUILLET_SUBTRACK* out) = 0;
};

/// One playback buffer: the events of the track in the buffer's time span.
struct IQuilletEventBuffer : IUnknown {
  /// Limits finding to the events of the listed sub-tracks; (null, 0) lifts the limit.
  virtual HRESULT STDMETHODCALLTYPE RestrictToSubTracks(const DWORD* keys, UINT count) = 0;
  /// Events whose type bit is in `typeMask`; S_FALSE when there is none.
  virtual HRESULT STDMETHODCALLTYPE FindFirst(DWORD* position, QUILLET_EVENT* out, BOOL* more, DWORD typeMask) = 0;
  /// The next event after `*position` whose type bit is in `typeMask`; S_FALSE when there is none.
  virtual HRESULT STDMETHODCALLTYPE FindNext(DWORD* position, QUILLET_EVENT* out, BOOL* more, DWORD typeMask) = 0;
  /// Replaces the event at `position`.
  virtual HRESULT STDMETHODCALLTYPE Replace(DWORD position, const QUILLET_EVENT* event) = 0;
  /// Inserts before `position` (beyond the end: appends); the buffer stays in time order.
  virtual HRESULT STDMETHODCALLTYPE Insert(DWORD position, const QUILLET_EVENT* event) = 0;
  /// Deletes the event at `position`.
  virtual HRESULT STDMETHODCALLTYPE Delete(DWORD position) = 0;
};

///@{
/// Property identifiers of IQuilletProperties.
#define QPROP_PITCH_SHIFT   1  ///< LONG
#define QPROP_ROOT_NOTE     2  ///< LONG
#define QPROP_INDEXED       3  ///< DWORD addressed by two indices
#define QPROP_FILE_RECORD   4  ///< 276 bytes
#define QPROP_TRANSPORT     5  ///< DWORD
#define QPROP_LOOP          6  ///< 24 bytes
#define QPROP_POSITION      7  ///< 16 bytes
///@}

///@{
/// The transport state's bits.
#define QTRANSPORT_RUNNING  0x1u
#define QTRANSPORT_LOOP     0x10u
///@}

/// The file record (276 bytes).
typedef struct QUILLET_FILE_RECORD {
  DWORD format;          ///< low byte: the MIDI file type; next byte: the track count
  DWORD reserved1;  ///< reserved
  ///@{
  /// the file's size in bytes
  DWORD sizeLow, sizeHigh;
  ///@}
  BYTE reserved2[260];  ///< reserved
} QUILLET_FILE_RECORD;

///@{
/// The loop range (24 bytes) and the play position (16 bytes), in host time.
typedef struct QUILLET_LOOP {
  ///@{
  /// loop start and end
  LONGLONG start, end;
  ///@}
  DWORD reserved[2];  ///< reserved
} QUILLET_LOOP;
/// The play position (16 bytes).
typedef struct QUILLET_POSITION {
  LONGLONG time;  ///< host time
  DWORD reserved[2];  ///< reserved
} QUILLET_POSITION;
///@}

#ifdef __cplusplus
static_assert(sizeof(QUILLET_FILE_RECORD) == 276, "file record is 276 bytes");
static_assert(sizeof(QUILLET_LOOP) == 24 && sizeof(QUILLET_POSITION) == 16, "transport records");
#endif

/// Property access: the host's properties of the track (QPROP_).
struct IQuilletProperties : IUnknown {
  /// Reads property `property` (QPROP_ identifiers) into `out` of `size` bytes.
  virtual HRESULT STDMETHODCALLTYPE Get(DWORD property, DWORD index1, DWORD index2, DWORD reserved, DWORD size,
                                        void* out) = 0;
  /// Writes property `property` (QPROP_ identifiers) from `in` of `size` bytes.
  virtual HRESULT STDMETHODCALLTYPE Set(DWORD property, DWORD index1, DWORD index2, DWORD size, const void* in) = 0;
  /// Two task-allocated strings: the track's title and the path of its file.
  virtual HRESULT STDMETHODCALLTYPE GetStrings(LPWSTR* title, LPWSTR* filePath) = 0;
};

///@{
/// Time conversion kinds.
#define QTIME_MBT      0  ///< out: measure, beat, tick, zero-based flag (4 LONGs)
#define QTIME_CLOCK    1  ///< out: hours, minutes, seconds, hundredths (4 LONGs)
/// Out: ticks per quarter, tempo (microseconds per quarter), numerator, denominator
#define QTIME_TIMING   2
///@}

/// Time conversion for display.
struct IQuilletTimeConvert : IUnknown {
  /// Converts a host time into four numbers of the QTIME_ kind.
  virtual HRESULT STDMETHODCALLTYPE Convert(DWORD kind, LONGLONG time, LONG out[4]) = 0;
};

/// A marker of the host (24 bytes); `data` is task-allocated.
typedef struct QUILLET_MARKER {
  LONGLONG time;  ///< host time
  DWORD id;  ///< the marker's id
  DWORD flags;  ///< the marker's flags
  DWORD dataLength;  ///< bytes of data
  BYTE* data;  ///< task-allocated data
} QUILLET_MARKER;

/// Host services: markers and notification sinks.
struct IQuilletHostServices : IUnknown {
  /// A task-allocated array of `count` markers (each with its own task-allocated data).
  virtual HRESULT STDMETHODCALLTYPE GetMarkers(UINT* count, QUILLET_MARKER** markers) = 0;
  /// Registers a notification sink (IID_IQuilletNotifySink or IID_IQuilletPageEventSink).
  virtual HRESULT STDMETHODCALLTYPE Advise(REFIID kind, IUnknown* sink, DWORD* cookie) = 0;
  /// Removes the sink registered under `cookie`.
  virtual HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) = 0;
};

/// The further host interface, obtained from the host services.
struct IQuilletHostWindow : IUnknown {
  /// The host's main window.
  virtual HRESULT STDMETHODCALLTYPE GetMainWindow(HWND* window) = 0;
};

/// The sink a plug-in registers for host notifications.
struct IQuilletNotifySink : IUnknown {
  /// Receives a host notification (`deferred`: queued rather than immediate).
  virtual HRESULT STDMETHODCALLTYPE Notify(const QUILLET_NOTIFICATION* notification, BOOL deferred) = 0;
};

/// The sink a plug-in registers for page events.
struct IQuilletPageEventSink : IUnknown {
  /// Receives a page event from the host.
  virtual HRESULT STDMETHODCALLTYPE PageEvent(DWORD a, DWORD b) = 0;
};

/// Notification kinds.
/// The track's data changed (QCHANGE_ kind in word 11)
QUILLET_GUID(QNOTIFY_TRACK_CHANGED, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x01);
/// The markers changed
QUILLET_GUID(QNOTIFY_MARKERS_CHANGED, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x02);
/// The project's content changed
QUILLET_GUID(QNOTIFY_CONTENT_CHANGED, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x03);
/// The transport state changed
QUILLET_GUID(QNOTIFY_TRANSPORT, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x04);
/// The play position moved
QUILLET_GUID(QNOTIFY_POSITION, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x05);
/// The selection changed
QUILLET_GUID(QNOTIFY_SELECTION, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x06);
/// The sub-tracks changed
QUILLET_GUID(QNOTIFY_SUBTRACKS, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x07);
/// A project was opened
QUILLET_GUID(QNOTIFY_PROJECT_OPEN, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x08);
/// The project is closing
QUILLET_GUID(QNOTIFY_PROJECT_CLOSE, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x09);
/// The user-interface state changed
QUILLET_GUID(QNOTIFY_UI_STATE, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x0a);
/// The devices changed
QUILLET_GUID(QNOTIFY_DEVICES, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x0b);
/// The metronome changed
QUILLET_GUID(QNOTIFY_METRONOME, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x0c);
/// A generic notification
QUILLET_GUID(QNOTIFY_GENERIC, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x0d);
/// The host is idle
QUILLET_GUID(QNOTIFY_IDLE, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x0e);
/// Kinds without a handler of their own; the generic handler marks the track changed for them.
QUILLET_GUID(QNOTIFY_TEMPO_MAP, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x0f);
/// The meter map changed
QUILLET_GUID(QNOTIFY_METER_MAP, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x10);
/// The track was renamed
QUILLET_GUID(QNOTIFY_TRACK_RENAMED, 0x5d0c7e10, 0x2a41, 0x4b8e, 0x8c, 0x11, 0x3f, 0x60, 0x7a, 0x92, 0x10, 0x11);

///@{
/// Change kinds in word 11 of a QNOTIFY_TRACK_CHANGED notification.
#define QCHANGE_TRACK_DATA  1
#define QCHANGE_EVENT       2  ///< words 12-13: sub-track key and the event's position
#define QCHANGE_BOOKKEEPING 3
#define QCHANGE_EVENT_FLAGS 0x120000u  ///< word 9 flags of an event change to queue
///@}
