// The filter object as a host drives it: through COM, connected to the
// in-memory host, buffers processed, settings persisted.
#include <gtest/gtest.h>
#include <ocidl.h>
#include <ole2.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "filter_state.h"
#include "hostkit.h"
#include "quillet/plugin.h"
#include "module_support.h"
#include "registry_helpers.h"
#include "test_paths.h"

namespace {

using testsupport::Regsvr32;

using hostkit::EventBuffer;
using hostkit::FilterState;
using hostkit::Host;
using hostkit::MakeShort;

template <typename T>
T* Query(IUnknown* object, REFIID iid) {
  T* out = nullptr;
  return SUCCEEDED(object->QueryInterface(iid, reinterpret_cast<void**>(&out))) ? out : nullptr;
}


class Filter : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(Regsvr32(L"/s"), 0u); }
  static void TearDownTestSuite() { Regsvr32(L"/s /u"); }

  void SetUp() override {
    CoInitialize(nullptr);
    ASSERT_EQ(CoCreateInstance(CLSID_QuilletFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IQuilletFilter,
                               reinterpret_cast<void**>(&filter)),
              S_OK);
    host = Host::Create();
    host->SetTiming(480, 500000);
  }
  void TearDown() override {
    if (filter) {
      filter->Disconnect();
      EXPECT_EQ(filter->Release(), 0u);
    }
    EXPECT_EQ(host->Release(), 0u);
    CoUninitialize();
  }
  HRESULT Connect() {
    DWORD caps = 0xFF;
    return filter->Connect(static_cast<IQuilletTrack*>(host), nullptr, 1, 0, &caps);
  }
  // Processes `buffer` through the processing interface, as a host does.
  HRESULT Process(EventBuffer* buffer, DWORD flags, LONGLONG start = 0) {
    IQuilletProcess* process = Query<IQuilletProcess>(filter, IID_IQuilletProcess);
    QUILLET_BUFFERINFO info{};
    info.start = start;
    info.flags = flags;
    HRESULT hr = process->Process(buffer, &info);
    process->Release();
    return hr;
  }
  static std::vector<int> ControllerValues(EventBuffer* buffer, BYTE controller, DWORD subTrack) {
    std::vector<int> values;
    for (const auto& e : buffer->Events())
      if (e.type == QEV_CONTROL && e.bytes[0] == controller && e.subTrack == subTrack) values.push_back(e.bytes[1]);
    return values;
  }
  std::vector<BYTE> Saved() {
    std::vector<BYTE> bytes;
    EXPECT_EQ(hostkit::SaveStateFrom(filter, &bytes), S_OK);
    return bytes;
  }

  IQuilletFilter* filter = nullptr;
  Host* host = nullptr;
};

TEST_F(Filter, AnswersItsInterfacesAndCountsReferences) {
  struct Case { const IID* iid; bool answered; } cases[] = {
      {&IID_IUnknown, true},        {&IID_IQuilletFilter, true},        {&IID_IQuilletLanguage, true},
      {&IID_IQuilletProcess, true}, {&IID_IPersistStream, true},        {&IID_IPersist, true},
      {&IID_ISpecifyPropertyPages, true}, {&IID_IDispatch, false},       {&IID_IPropertyPage, false},
  };
  for (const auto& c : cases) {
    IUnknown* out = reinterpret_cast<IUnknown*>(1);
    HRESULT hr = filter->QueryInterface(*c.iid, reinterpret_cast<void**>(&out));
    EXPECT_EQ(SUCCEEDED(hr), c.answered);
    if (c.answered) out->Release();
    else EXPECT_EQ(out, nullptr);
  }
  EXPECT_EQ(filter->AddRef(), 2u);  // every answered reference was given back
  EXPECT_EQ(filter->Release(), 1u);

  // A companion outliving the host's main reference keeps the object alive.
  IPersistStream* persist = Query<IPersistStream>(filter, IID_IPersistStream);
  ASSERT_NE(persist, nullptr);
  EXPECT_EQ(filter->Release(), 1u);
  filter = nullptr;
  CLSID clsid{};
  EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_QuilletFilter));
  ULARGE_INTEGER max{};
  EXPECT_EQ(persist->GetSizeMax(&max), S_OK);
  EXPECT_EQ(max.QuadPart, 6168u);  // everything Save writes
  EXPECT_EQ(persist->Release(), 0u);
}

TEST_F(Filter, ListsThePropertyPage) {
  auto* pages = Query<ISpecifyPropertyPages>(filter, IID_ISpecifyPropertyPages);
  CAUUID list{};
  ASSERT_EQ(pages->GetPages(&list), S_OK);
  ASSERT_EQ(list.cElems, 1u);
  EXPECT_TRUE(IsEqualCLSID(list.pElems[0], CLSID_QuilletPropPage));
  CoTaskMemFree(list.pElems);
  EXPECT_EQ(pages->GetPages(nullptr), E_POINTER);
  pages->Release();
}

TEST_F(Filter, ConnectTakesTheHostInterfacesAndDisconnectGivesThemBack) {
  host->AddSubTrack(0, L"Piano");
  host->AddSubTrack(-1, L"Everything");
  DWORD caps = 0xFF;
  EXPECT_EQ(filter->Connect(static_cast<IQuilletTrack*>(host), nullptr, 0, 0, &caps), E_FAIL);  // bit 0 clear
  EXPECT_EQ(host->RefCount(), 1);
  ASSERT_EQ(filter->Connect(static_cast<IQuilletTrack*>(host), nullptr, 1, 0, &caps), S_OK);
  EXPECT_EQ(caps, 1u);
  EXPECT_EQ(host->SinkCount(), 2u);
  EXPECT_GT(host->RefCount(), 1);
  EXPECT_EQ(host->OpenAccessCount(), 0);  // every read was closed again
  EXPECT_EQ(filter->ChannelUsageMask(), 0xFFFFu);
  EXPECT_EQ(filter->ChannelCount(), 16u);
  EXPECT_EQ(filter->Disconnect(), S_OK);
  EXPECT_EQ(host->SinkCount(), 0u);
  EXPECT_EQ(host->RefCount(), 1);
}

TEST_F(Filter, ChannelUsageFollowsTheSubTracks) {
  host->AddSubTrack(0, L"a");
  host->AddSubTrack(9, L"drums");
  host->AddSubTrack(9, L"more drums");
  ASSERT_EQ(Connect(), S_OK);
  EXPECT_EQ(filter->ChannelUsageMask(), 0x201u);
  EXPECT_EQ(filter->ChannelCount(), 2u);
}

TEST_F(Filter, FirstBufferSetsEverySubTracksVolumeAndPan) {
  DWORD piano = host->AddSubTrack(0, L"Piano"), all = host->AddSubTrack(-1, L"All");
  host->AddEvent(MakeShort(QEV_CONTROL, piano, 0, 0, 7, 100));
  host->AddEvent(MakeShort(QEV_CONTROL, piano, 0, 0, 10, 0));  // 0 counts as not found
  // As a host does: the project's settings first, then the connection,
  // whose rescan finds the last volume and pan values.
  FilterState state;
  state.mix[piano].volumeOffset = 0.5f;   // 100 + 63 -> 127
  state.mix[all].volumeOffset = -1.0f;    // 64 - 127 -> 0
  state.mix[all].panOffset = 0.1f;        // 64 + 12
  ASSERT_EQ(hostkit::LoadStateInto(filter, state), S_OK);
  ASSERT_EQ(Connect(), S_OK);

  EventBuffer* buffer = EventBuffer::Create();
  ASSERT_EQ(Process(buffer, QBUF_PLAYBACK | QBUF_FIRST, 960), S_OK);
  EXPECT_EQ(ControllerValues(buffer, 7, piano), std::vector<int>{127});
  EXPECT_EQ(ControllerValues(buffer, 10, piano), std::vector<int>{64});
  EXPECT_EQ(ControllerValues(buffer, 7, all), std::vector<int>(16, 0));  // one per channel
  EXPECT_EQ(ControllerValues(buffer, 10, all), std::vector<int>(16, 76));
  for (const auto& e : buffer->Events()) EXPECT_EQ(e.time, 960);
  // Injected values are not offset a second time, and the next run's
  // first buffer gives the same values again.
  EventBuffer* next = EventBuffer::Create();
  ASSERT_EQ(Process(next, QBUF_PLAYBACK | QBUF_FIRST, 0), S_OK);
  EXPECT_EQ(ControllerValues(next, 7, piano), std::vector<int>{127});
  EXPECT_EQ(ControllerValues(next, 10, all), std::vector<int>(16, 76));
  // With a controller 7 in the first buffer, its own value is rewritten too.
  EventBuffer* withVolume = EventBuffer::Create();
  withVolume->Add(MakeShort(QEV_CONTROL, piano, 0, 1000, 7, 10));
  ASSERT_EQ(Process(withVolume, QBUF_PLAYBACK | QBUF_FIRST, 960), S_OK);
  EXPECT_EQ(ControllerValues(withVolume, 7, piano), (std::vector<int>{127, 73}));
  EXPECT_EQ(next->Release(), 0u);
  EXPECT_EQ(withVolume->Release(), 0u);
  EXPECT_EQ(buffer->Release(), 0u);
}

TEST_F(Filter, PlaybackMaskRemovesItsKindsOnly) {
  DWORD s = host->AddSubTrack(0, L"s");
  ASSERT_EQ(Connect(), S_OK);
  auto fill = [&](EventBuffer* b) {
    b->Add(MakeShort(QEV_PROGRAM, s, 0, 10, 5));
    b->Add(MakeShort(QEV_NOTE, s, 0, 20, 60, 100));
    b->Add(MakeShort(QEV_PROGRAM, s, 0, 30, 6));
    b->Add(MakeShort(QEV_CHAN_PRESSURE, s, 0, 40, 50));
    static const BYTE sysex[] = {0x7E, 0x7F, 0x09, 0x01, 0xF7};
    b->Add(hostkit::MakeLong(QEV_SYSEX, s, 50, sysex, sizeof(sysex)));
  };
  EventBuffer* untouched = EventBuffer::Create();
  fill(untouched);
  ASSERT_EQ(Process(untouched, QBUF_PLAYBACK), S_OK);  // mask 0: everything stays
  EXPECT_EQ(untouched->Events().size(), 5u);

  FilterState state;
  state.playbackMask = QEV_PROGRAM | QEV_SYSEX | QEV_CHAN_PRESSURE;
  ASSERT_EQ(hostkit::LoadStateInto(filter, state), S_OK);
  EventBuffer* filtered = EventBuffer::Create();
  fill(filtered);
  ASSERT_EQ(Process(filtered, QBUF_PLAYBACK), S_OK);
  ASSERT_EQ(filtered->Events().size(), 1u);
  EXPECT_EQ(filtered->Events()[0].type, QEV_NOTE);

  EventBuffer* notPlaying = EventBuffer::Create();
  fill(notPlaying);
  EXPECT_EQ(Process(notPlaying, 0), S_OK);  // no playback flag: nothing happens
  EXPECT_EQ(notPlaying->Events().size(), 5u);
  untouched->Release();
  filtered->Release();
  notPlaying->Release();
}

TEST_F(Filter, VolumeIsRewrittenOrInjectedOnlyWhenNothingWasRewritten) {
  DWORD a = host->AddSubTrack(0, L"a"), b = host->AddSubTrack(1, L"b");
  ASSERT_EQ(Connect(), S_OK);
  FilterState state;
  state.mix[a].volumeOffset = -0.25f;  // trunc(-31.75) = -31
  state.mix[b].volumeOffset = 0.25f;
  state.mix[b].volumeChanged = 1;
  state.mix[b].lastVolume = 64;
  ASSERT_EQ(hostkit::LoadStateInto(filter, state), S_OK);

  EventBuffer* withVolume = EventBuffer::Create();
  withVolume->Add(MakeShort(QEV_CONTROL, a, 0, 5, 7, 20));
  withVolume->Add(MakeShort(QEV_CONTROL, a, 0, 6, 11, 90));  // expression: left alone
  withVolume->Add(MakeShort(QEV_CONTROL, 77, 0, 7, 7, 90));  // unknown sub-track: left alone
  ASSERT_EQ(Process(withVolume, QBUF_PLAYBACK), S_OK);
  EXPECT_EQ(ControllerValues(withVolume, 7, a), std::vector<int>{0});   // 20 - 31, clamped
  EXPECT_EQ(ControllerValues(withVolume, 11, a), std::vector<int>{90});
  EXPECT_EQ(ControllerValues(withVolume, 7, 77), std::vector<int>{90});
  EXPECT_TRUE(ControllerValues(withVolume, 7, b).empty());  // a rewrite happened: no injection

  EventBuffer* empty = EventBuffer::Create();
  ASSERT_EQ(Process(empty, QBUF_PLAYBACK, 1000), S_OK);
  EXPECT_EQ(ControllerValues(empty, 7, b), std::vector<int>{64 + 31});
  EXPECT_TRUE(ControllerValues(empty, 7, a).empty());  // not changed
  EventBuffer* again = EventBuffer::Create();
  ASSERT_EQ(Process(again, QBUF_PLAYBACK, 2000), S_OK);
  EXPECT_TRUE(again->Events().empty());  // the change was applied once
  withVolume->Release();
  empty->Release();
  again->Release();
}

TEST_F(Filter, NonsenseOffsetsStayWithinTheMidiRange) {
  DWORD a = host->AddSubTrack(0, L"a");
  ASSERT_EQ(Connect(), S_OK);
  FilterState state;
  state.mix[a].volumeOffset = 1e30f;
  state.mix[a].panOffset = -1e30f;
  ASSERT_EQ(hostkit::LoadStateInto(filter, state), S_OK);
  EventBuffer* buffer = EventBuffer::Create();
  ASSERT_EQ(Process(buffer, QBUF_PLAYBACK | QBUF_FIRST), S_OK);
  EXPECT_EQ(ControllerValues(buffer, 7, a), std::vector<int>{127});
  EXPECT_EQ(ControllerValues(buffer, 10, a), std::vector<int>{0});
  buffer->Release();
}

TEST_F(Filter, PersistenceRoundTripsThroughOle) {
  FilterState state;
  state.chaseMask = 0x00100100;
  state.playbackMask = 0x00010208;
  for (int i = 0; i < QUILLET_SUBTRACKS; ++i) {
    state.mix[i] = {i / 256.0f, i & 1, i % 128, -i / 512.0f, (i >> 1) & 1, 127 - i % 128};
  }
  ASSERT_EQ(hostkit::LoadStateInto(filter, state), S_OK);
  auto* persist = Query<IPersistStream>(filter, IID_IPersistStream);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  ASSERT_EQ(OleSaveToStream(persist, stream), S_OK);
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  IUnknown* loaded = nullptr;
  ASSERT_EQ(OleLoadFromStream(stream, IID_IUnknown, reinterpret_cast<void**>(&loaded)), S_OK);
  std::vector<BYTE> bytes;
  ASSERT_EQ(hostkit::SaveStateFrom(loaded, &bytes), S_OK);
  EXPECT_EQ(bytes, hostkit::SerializeState(state));  // both masks and all 256 entries
  EXPECT_EQ(bytes.size(), 6168u);
  EXPECT_EQ(loaded->Release(), 0u);
  stream->Release();
  persist->Release();
}

TEST_F(Filter, DirtyFlagIsClearedBySaveWhenAsked) {
  EXPECT_EQ(filter->IsDirty(), S_FALSE);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  EXPECT_EQ(filter->Save(stream, TRUE), S_OK);
  EXPECT_EQ(filter->IsDirty(), S_FALSE);
  EXPECT_EQ(filter->Save(nullptr, TRUE), E_POINTER);
  stream->Release();
}

TEST_F(Filter, MalformedStreamsChangeNothing) {
  FilterState state;
  state.playbackMask = 0x200;
  state.mix[3].volumeOffset = 0.5f;
  ASSERT_EQ(hostkit::LoadStateInto(filter, state), S_OK);
  const std::vector<BYTE> before = Saved();

  std::vector<BYTE> good = hostkit::SerializeState(FilterState{});
  auto withWord = [&](size_t at, DWORD value) {
    std::vector<BYTE> v = good;
    memcpy(v.data() + at, &value, 4);
    return v;
  };
  std::vector<BYTE> oversized = withWord(8, 6160);  // a block larger than the table
  oversized.resize(oversized.size() + 64, 0xEE);
  struct Case { const char* name; std::vector<BYTE> bytes; bool ok; ULONGLONG position; } cases[] = {
      {"version 2", withWord(0, 2), false, 0},
      {"length 0", withWord(4, 0), true, 8},
      {"short stream", std::vector<BYTE>(good.begin(), good.begin() + 100), false, 0},
      {"only a version", std::vector<BYTE>(good.begin(), good.begin() + 4), false, 0},
      {"block larger than the table", oversized, false, 0},
      {"empty", {}, false, 0},
  };
  for (const auto& c : cases) {
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    const BYTE prefix[6] = {'p', 'r', 'e', 'f', 'i', 'x'};  // the record need not start the stream
    stream->Write(prefix, sizeof(prefix), nullptr);
    if (!c.bytes.empty()) stream->Write(c.bytes.data(), static_cast<ULONG>(c.bytes.size()), nullptr);
    LARGE_INTEGER at;
    at.QuadPart = sizeof(prefix);
    stream->Seek(at, STREAM_SEEK_SET, nullptr);
    HRESULT hr = filter->Load(stream);
    EXPECT_EQ(SUCCEEDED(hr), c.ok) << c.name;
    ULARGE_INTEGER position{};
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_CUR, &position);
    EXPECT_EQ(position.QuadPart, sizeof(prefix) + c.position) << c.name;
    EXPECT_EQ(Saved(), before) << c.name;
    stream->Release();
  }
  EXPECT_EQ(filter->Load(nullptr), E_POINTER);
}

class Observer final : public IQuilletObserver {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IQuilletObserver)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE OnNotify(const QUILLET_NOTIFICATION* n) override {
    notified.push_back(n->kind);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnPageEvent(DWORD a, DWORD b) override {
    pageEvents.push_back(a * 1000 + b);
    return S_OK;
  }
  ULONG refs = 1;
  std::vector<GUID> notified;
  std::vector<DWORD> pageEvents;
};

QUILLET_NOTIFICATION Notification(const GUID& kind, DWORD word9 = 0, DWORD word11 = 0) {
  QUILLET_NOTIFICATION n{};
  n.kind = kind;
  QNOTIFY_WORD(&n, 9) = word9;
  QNOTIFY_WORD(&n, 11) = word11;
  return n;
}

TEST_F(Filter, NotificationsFromAnotherThreadAreQueuedAndRun) {
  host->AddSubTrack(0, L"a");
  ASSERT_EQ(Connect(), S_OK);
  Observer observer;
  ASSERT_EQ(filter->SetObserver(&observer), S_OK);
  EXPECT_EQ(filter->RunQueuedNotifications(FALSE), S_FALSE);  // nothing queued

  std::thread hostThread([&] {
    for (int i = 0; i < 50; ++i) host->Fire(Notification(QNOTIFY_TRANSPORT), TRUE);
    host->Fire(Notification(QNOTIFY_SELECTION), TRUE);
  });
  hostThread.join();
  EXPECT_EQ(filter->RunQueuedNotifications(FALSE), S_OK);
  EXPECT_EQ(filter->RunQueuedNotifications(FALSE), S_FALSE);  // the queue was taken whole

  host->Fire(Notification(QNOTIFY_POSITION), TRUE);
  EXPECT_EQ(filter->RunQueuedNotifications(TRUE), S_OK);  // discarded

  // Forwarding to the observer: forced by bit 31, or while a rescan is due.
  observer.notified.clear();
  EXPECT_EQ(host->Fire(Notification(QNOTIFY_TRANSPORT, QNOTIFY_FORCE_FORWARD), TRUE), S_OK);
  ASSERT_EQ(observer.notified.size(), 1u);
  EXPECT_TRUE(IsEqualGUID(observer.notified[0], QNOTIFY_TRANSPORT));
  EXPECT_EQ(host->Fire(Notification(QNOTIFY_TEMPO_MAP), TRUE), S_OK);  // marks the track changed
  EXPECT_EQ(observer.notified.size(), 2u);
  EXPECT_EQ(host->Fire(Notification(QNOTIFY_DEVICES), TRUE), S_FALSE);  // not handled
  EXPECT_EQ(host->Fire(Notification(QNOTIFY_SUBTRACKS), FALSE), S_FALSE);
  EXPECT_EQ(filter->RunQueuedNotifications(TRUE), S_OK);

  EXPECT_EQ(filter->PageEvent(3, 4), S_OK);
  EXPECT_EQ(observer.pageEvents, std::vector<DWORD>{3004});
  EXPECT_EQ(filter->ClearObserver(nullptr), E_UNEXPECTED);
  EXPECT_EQ(filter->ClearObserver(&observer), S_OK);
  EXPECT_EQ(observer.refs, 1u);
}

// A host thread plays buffer after buffer, and runs the queue now and
// then as the page does, while a second thread delivers every kind of
// notification, deferred or not. Every first buffer must carry each
// sub-track's start values, and neither thread may stop (the watchdog
// ends a hung run).
TEST_F(Filter, NotificationsOnAnotherThreadWhileBuffersArePlayed) {
  FilterState state;
  std::vector<DWORD> keys;
  for (LONG channel = 0; channel < 8; ++channel) {
    DWORD key = host->AddSubTrack(channel, L"s");
    host->AddEvent(MakeShort(QEV_CONTROL, key, channel, 0, 7, 100));
    host->AddEvent(MakeShort(QEV_NOTE, key, channel, 10, 60, 90));
    state.mix[key].volumeOffset = -0.0625f * static_cast<float>(channel);  // 100 - 7.9375 per step
    state.mix[key].panOffset = 0.0625f * static_cast<float>(channel);      // 64 + 7.9375 per step
    keys.push_back(key);
  }
  ASSERT_EQ(hostkit::LoadStateInto(filter, state), S_OK);
  ASSERT_EQ(Connect(), S_OK);

  static const GUID* const kinds[] = {
      &QNOTIFY_TRACK_CHANGED, &QNOTIFY_MARKERS_CHANGED, &QNOTIFY_CONTENT_CHANGED, &QNOTIFY_TRANSPORT,
      &QNOTIFY_POSITION,      &QNOTIFY_SELECTION,       &QNOTIFY_SUBTRACKS,       &QNOTIFY_PROJECT_OPEN,
      &QNOTIFY_PROJECT_CLOSE, &QNOTIFY_UI_STATE,        &QNOTIFY_DEVICES,         &QNOTIFY_METRONOME,
      &QNOTIFY_GENERIC,       &QNOTIFY_IDLE,            &QNOTIFY_TEMPO_MAP,       &QNOTIFY_METER_MAP,
      &QNOTIFY_TRACK_RENAMED};
  const unsigned kindCount = ARRAYSIZE(kinds);
  std::atomic<bool> stop{false}, finished{false};
  std::atomic<unsigned> delivered{0};
  std::thread watchdog([&] {
    for (int i = 0; i < 600 && !finished; ++i) Sleep(100);
    if (!finished) {
      fprintf(stderr, "no progress: the host or the notification thread hung\n");
      ExitProcess(3);
    }
  });
  std::thread notifier([&] {
    for (unsigned i = 0; !stop; ++i) {
      // Track changes cycle through data, event and bookkeeping changes.
      QUILLET_NOTIFICATION n = Notification(*kinds[i % kindCount], (i & 1) ? QCHANGE_EVENT_FLAGS : 0,
                                            1 + (i / kindCount) % 3);
      QNOTIFY_WORD(&n, 12) = keys[i % keys.size()];
      host->Fire(n, (i / 2) & 1);
      ++delivered;
      // In bursts, as a host's thread delivers them: a flood without end
      // would only grow the queue the host thread has to work through.
      if (i % (4 * kindCount) == 0) Sleep(1);
    }
  });

  int buffers = 0, wrong = 0;
  const DWORD until = GetTickCount() + 3000;
  while (GetTickCount() < until || delivered < 1000) {
    EventBuffer* buffer = EventBuffer::Create();
    buffer->Add(MakeShort(QEV_NOTE, keys[0], 0, 10, 60, 90));
    if (Process(buffer, QBUF_PLAYBACK | QBUF_FIRST) != S_OK) ++wrong;
    for (int k = 0; k < static_cast<int>(keys.size()); ++k) {
      if (ControllerValues(buffer, 7, keys[k]) != std::vector<int>{100 - (127 * k) / 16}) ++wrong;
      if (ControllerValues(buffer, 10, keys[k]) != std::vector<int>{64 + (127 * k) / 16}) ++wrong;
    }
    if (buffer->Events().size() != 1 + 2 * keys.size()) ++wrong;
    buffer->Release();
    if (++buffers % 16 == 0) filter->RunQueuedNotifications(FALSE);
  }
  stop = true;
  notifier.join();
  filter->RunQueuedNotifications(FALSE);
  finished = true;
  watchdog.join();
  EXPECT_EQ(wrong, 0) << "of " << buffers << " buffers";
  EXPECT_GT(buffers, 100);
  EXPECT_EQ(host->OpenAccessCount(), 0);
}

TEST_F(Filter, TrackChangesRescanVolumeAndPositions) {
  DWORD a = host->AddSubTrack(0, L"a");
  ASSERT_EQ(Connect(), S_OK);
  host->AddEvent(MakeShort(QEV_CONTROL, a, 0, 0, 7, 30));
  static const BYTE tempo[] = {0x51, 0x07, 0xA1, 0x20};
  host->AddEvent(hostkit::MakeLong(QEV_META, a, 480, tempo, sizeof(tempo)));
  static const BYTE markers[] = {0x7F, 0x00, 0x01, 0x0B, 0x04, 0x00};
  host->AddEvent(hostkit::MakeLong(QEV_META, a, 960, markers, sizeof(markers)));
  EXPECT_EQ(host->Fire(Notification(QNOTIFY_TRACK_CHANGED, 0, QCHANGE_TRACK_DATA), FALSE), S_OK);
  FilterState state;
  state.mix[a].volumeChanged = 1;
  EventBuffer* buffer = EventBuffer::Create();
  // The rescan found the new controller 7 value: the first buffer carries it.
  ASSERT_EQ(Process(buffer, QBUF_PLAYBACK | QBUF_FIRST), S_OK);
  EXPECT_EQ(ControllerValues(buffer, 7, a), std::vector<int>{30});
  buffer->Release();
  EXPECT_EQ(host->OpenAccessCount(), 0);
}

TEST_F(Filter, ProcessingInfoStoredValuesAndLanguage) {
  DWORD x = 0, y = 0, z = 0;
  EXPECT_EQ(filter->SetProcessingValue(77), S_OK);
  EXPECT_EQ(filter->GetProcessingInfo(&x, &y, &z), S_OK);
  EXPECT_EQ(x, 2u);
  EXPECT_EQ(y, 77u);
  EXPECT_EQ(z, 3u);
  EXPECT_EQ(filter->GetStoredValue(0), -1);  // no record target
  EXPECT_EQ(filter->SetStoredValue(0, 5), S_OK);
  EXPECT_EQ(filter->GetStoredValue(0), 5);
  auto* language = Query<IQuilletLanguage>(filter, IID_IQuilletLanguage);
  EXPECT_EQ(language->SetLanguage(0x0407), S_OK);
  EXPECT_EQ(language->SetLanguage(0x0409), S_OK);
  language->Release();
}

TEST_F(Filter, BuildAndCollectRefuseNullLists) {
  host->AddSubTrack(0, L"a");
  ASSERT_EQ(Connect(), S_OK);
  EXPECT_EQ(filter->BuildSubTrackEvents(nullptr, 1), E_UNEXPECTED);
  EXPECT_EQ(filter->CollectEvents(nullptr, 1, 0), E_UNEXPECTED);
  EXPECT_EQ(filter->RebuildSubTrackLists(TRUE), S_OK);
  EXPECT_EQ(filter->Select(-1, -1), S_OK);
}

}  // namespace
