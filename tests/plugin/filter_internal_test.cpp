// Filter rules no COM caller reaches directly: the input pass while
// recording, the notification queue under load, and malformed events.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "hostkit.h"
#include "plugin/filter_object.h"
#include "plugin/global_object.h"
#include "quillet/clsid.h"

namespace {

using hostkit::EventBuffer;
using hostkit::Host;
using hostkit::MakeShort;
using quillet::FilterObject;

class Observer final : public IQuilletObserver {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IQuilletObserver) ? this : nullptr;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE OnNotify(const QUILLET_NOTIFICATION*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPageEvent(DWORD, DWORD) override { return S_OK; }
  std::atomic<ULONG> refs{1};
};

class FilterInternal : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    filter = quillet::GlobalNew<FilterObject>(CLSID_QuilletFilter);
    ASSERT_EQ(filter->Initialize(), S_OK);
    filter->AddRef();
    host = Host::Create();
  }
  void TearDown() override {
    filter->Disconnect();
    EXPECT_EQ(filter->Release(), 0u);
    EXPECT_EQ(host->Release(), 0u);
    CoUninitialize();
  }
  HRESULT Connect() {
    DWORD caps = 1;
    return filter->Connect(static_cast<IQuilletTrack*>(host), nullptr, 1, 0, &caps);
  }
  HRESULT Process(EventBuffer* buffer, DWORD flags) {
    QUILLET_BUFFERINFO info{};
    info.flags = flags;
    return filter->Process(buffer, &info);
  }
  FilterObject* filter = nullptr;
  Host* host = nullptr;
};

TEST_F(FilterInternal, InputPassRecordsOnlyTheTargetsShortMessages) {
  DWORD a = host->AddSubTrack(0, L"a"), b = host->AddSubTrack(1, L"b");
  ASSERT_EQ(Connect(), S_OK);
  Observer observer;
  auto fill = [&](EventBuffer* buffer) {
    buffer->Add(MakeShort(QEV_NOTE, a, 0, 1, 60, 100));
    buffer->Add(MakeShort(QEV_NOTE, b, 1, 2, 62, 100));
    buffer->Add(MakeShort(QEV_CONTROL, a, 0, 3, 1, 5));
    static const BYTE sysex[] = {0x7E, 0xF7};
    buffer->Add(hostkit::MakeLong(QEV_SYSEX, a, 4, sysex, 2));
  };
  EventBuffer* buffer = EventBuffer::Create();
  fill(buffer);
  EXPECT_EQ(Process(buffer, QBUF_INPUT), S_OK);  // not recording: nothing kept
  EXPECT_EQ(filter->RecordList(), nullptr);

  filter->SetRecording(true);
  filter->SetObserver(&observer);
  filter->SetStoredValue(0, static_cast<LONG>(a));  // the record target
  EXPECT_EQ(Process(buffer, QBUF_INPUT | QBUF_PLAYBACK), S_OK);
  tZQLIST* records = filter->RecordList();
  ASSERT_NE(records, nullptr);
  ASSERT_EQ(records->count, 2);
  auto at = [&](int i) { return static_cast<QUILLET_EVENT*>(ZQLIST_SLOT(records, i)); };
  EXPECT_EQ(at(0)->type, QEV_NOTE);
  EXPECT_EQ(at(0)->subTrack, a);
  EXPECT_EQ(at(1)->type, QEV_CONTROL);
  EXPECT_EQ(buffer->Events().size(), 4u);  // the input pass changes nothing

  // The restriction is lifted afterwards: a find sees every sub-track again.
  DWORD position;
  QUILLET_EVENT e{};
  BOOL more;
  ASSERT_EQ(buffer->FindFirst(&position, &e, &more, QEV_NOTE), S_OK);
  ASSERT_EQ(buffer->FindNext(&position, &e, &more, QEV_NOTE), S_OK);
  EXPECT_EQ(e.subTrack, b);
  filter->ClearObserver(&observer);
  buffer->Release();
}

TEST_F(FilterInternal, MalformedEventsAndSubTracksAreHandled) {
  DWORD a = host->AddSubTrack(0, L"a");
  host->AddSubTrack(44, L"bad channel");
  host->AddSubTrack(-7, L"worse channel");
  ASSERT_EQ(Connect(), S_OK);
  filter->Mix()[a].volumeOffset = 0.2f;
  EventBuffer* buffer = EventBuffer::Create();
  buffer->Add(MakeShort(QEV_CONTROL, 0, 0, 1, 7, 50));        // key 0: no mix entry
  buffer->Add(MakeShort(QEV_CONTROL, 300, 0, 2, 7, 50));      // beyond the table
  buffer->Add(MakeShort(QEV_CONTROL, 0xFFFFFFFF, 0, 3, 10, 50));
  buffer->Add(MakeShort(QEV_CONTROL, a, 99, 4, 7, 200));      // value beyond 127
  QUILLET_EVENT noData{};
  noData.type = QEV_META;
  noData.subTrack = a;
  noData.dataLength = 16;  // claims a block it does not have
  buffer->Add(noData);
  filter->PlaybackMask() = QEV_META;
  ASSERT_EQ(Process(buffer, QBUF_PLAYBACK | QBUF_FIRST), S_OK);
  int injectedForBad = 0, rewritten = -1;
  for (const auto& e : buffer->Events()) {
    if (e.subTrack == 2 || e.subTrack == 3) ++injectedForBad;
    if (e.subTrack == a && e.time == 4) rewritten = e.bytes[1];
  }
  EXPECT_EQ(injectedForBad, 0);  // no channel to play on
  EXPECT_EQ(rewritten, 127);
  buffer->Release();
}

TEST_F(FilterInternal, NotificationsFromAnotherThreadWhileProcessing) {
  DWORD a = host->AddSubTrack(0, L"a");
  for (int i = 0; i < 4; ++i) host->AddEvent(MakeShort(QEV_NOTE, a, 0, i * 10, 60 + i, 90));
  ASSERT_EQ(Connect(), S_OK);
  ASSERT_EQ(filter->RebuildSubTrackLists(TRUE), S_OK);
  constexpr int kNotifications = 400;
  std::atomic<bool> done{false};
  std::thread hostThread([&] {
    QUILLET_NOTIFICATION n{};
    n.kind = QNOTIFY_TRACK_CHANGED;
    QNOTIFY_WORD(&n, 9) = QCHANGE_EVENT_FLAGS;
    QNOTIFY_WORD(&n, 11) = QCHANGE_EVENT;
    QNOTIFY_WORD(&n, 12) = a;
    for (int i = 0; i < kNotifications; ++i) {
      QNOTIFY_WORD(&n, 13) = i % 4;
      host->Fire(n, TRUE);
    }
    done = true;
  });
  int runs = 0;
  while (!done) {
    EventBuffer* buffer = EventBuffer::Create();
    buffer->Add(MakeShort(QEV_CONTROL, a, 0, 0, 7, 50));
    Process(buffer, QBUF_PLAYBACK);
    buffer->Release();
    if (filter->RunQueuedNotifications(FALSE) == S_OK) ++runs;
  }
  hostThread.join();
  filter->RunQueuedNotifications(FALSE);
  EXPECT_EQ(filter->RunQueuedNotifications(FALSE), S_FALSE);  // empty afterwards
  const auto* item = static_cast<quillet::SubTrackItem*>(ZQLIST_SLOT(filter->SubTrackList(), 0));
  ASSERT_NE(item->events, nullptr);
  EXPECT_EQ(item->events->count, 4 + kNotifications);  // each change appended exactly once
  EXPECT_EQ(host->OpenAccessCount(), 0);
}

TEST_F(FilterInternal, SettingTheHeldObserverAgainKeepsIt) {
  Observer observer;
  filter->SetObserver(&observer);
  EXPECT_EQ(observer.refs, 2u);
  filter->SetObserver(&observer);
  EXPECT_EQ(observer.refs, 2u);
  Observer other;
  EXPECT_EQ(filter->ClearObserver(&other), E_UNEXPECTED);  // not the held one
  EXPECT_EQ(observer.refs, 2u);
  EXPECT_EQ(filter->ClearObserver(&observer), S_OK);
  EXPECT_EQ(observer.refs, 1u);
  EXPECT_EQ(filter->ClearObserver(nullptr), S_OK);  // nothing held, nothing to do
}

}  // namespace
