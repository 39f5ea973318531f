// The in-memory host's compact event store against a plain list of
// records: whatever goes in comes back field for field, in time order, by
// sub-track, by time range and by position.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <random>
#include <vector>

#include "hostkit.h"

namespace {

bool Same(const QUILLET_EVENT& a, const QUILLET_EVENT& b) {
  if (a.type != b.type || a.time != b.time || a.subTrack != b.subTrack || a.channel != b.channel ||
      a.attribute != b.attribute || a.duration != b.duration || a.dataLength != b.dataLength ||
      memcmp(a.reserved12, b.reserved12, sizeof(a.reserved12)) != 0)
    return false;
  if (!(a.type & QEV_LONG_KINDS)) return a.packed == b.packed;
  return a.dataLength == 0 || memcmp(a.data, b.data, a.dataLength) == 0;
}

// Records of every shape: short and long kinds, the tool's spare words, and
// now and then a field the compact form has no room for.
std::vector<QUILLET_EVENT> Records(std::mt19937& rng, int count) {
  static const DWORD kinds[] = {QEV_NOTE, QEV_NOTE_OFF, QEV_CONTROL, QEV_PROGRAM, QEV_PITCH_BEND, QEV_META, QEV_SYSEX};
  static const BYTE block[] = {0x51, 0x07, 0xA1, 0x20, 0x00, 0x7F};
  std::uniform_int_distribution<int> any(0, 1 << 30);
  std::vector<QUILLET_EVENT> records;
  for (int i = 0; i < count; ++i) {
    const DWORD type = kinds[any(rng) % 7];
    const LONGLONG time = any(rng) % 50 - (i % 97 == 0 ? 1000 : 0);
    const DWORD subTrack = static_cast<DWORD>(any(rng) % 5);
    QUILLET_EVENT e = (type & QEV_LONG_KINDS)
                          ? hostkit::MakeLong(type, subTrack, time, block, static_cast<DWORD>(any(rng) % 7))
                          : hostkit::MakeShort(type, subTrack, any(rng) % 17 - 1, time, BYTE(any(rng)), BYTE(any(rng)));
    e.reserved12[0] = static_cast<DWORD>(any(rng) % 20);
    e.reserved12[1] = static_cast<DWORD>(any(rng) % 256);
    switch (i % 13) {
      case 1: e.attribute = 7; break;
      case 2: e.duration = 480; break;
      case 3: e.reserved12[0] = 70000; break;
      case 4: e.reserved12[2] = 9; break;
      case 5: e.channel = 40; break;
      default: break;
    }
    records.push_back(e);
  }
  return records;
}

TEST(HostkitStore, EveryRecordComesBackByEveryRoute) {
  std::mt19937 rng(11);
  for (int round = 0; round < 4; ++round) {
    std::vector<QUILLET_EVENT> records = Records(rng, 400);
    hostkit::Host* host = hostkit::Host::Create();
    if (round % 2) {
      host->AddEvents(records);
    } else {
      for (const auto& e : records) host->AddEvent(e);
    }
    // The reference: the same records, stably in time order.
    std::vector<QUILLET_EVENT> expected = records;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const QUILLET_EVENT& a, const QUILLET_EVENT& b) { return a.time < b.time; });
    ASSERT_EQ(host->EventCount(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      QUILLET_EVENT e = host->EventAt(i);
      EXPECT_TRUE(Same(e, expected[i])) << "round " << round << " event " << i;
      hostkit::FreeEvent(e);
    }
    auto walk = [&](QUILLET_QUERY q) {
      std::vector<QUILLET_EVENT> seen;
      QUILLET_EVENT e{};
      BOOL more = FALSE;
      HRESULT hr = host->EnumFirst(&q, &e, &more, 0);
      while (hr == S_OK) {
        seen.push_back(e);
        if (!more) break;
        hr = host->EnumNext(&q, &e, &more, 0);
      }
      return seen;
    };
    for (DWORD key = 0; key < 6; ++key) {
      std::vector<QUILLET_EVENT> seen = walk(QUILLET_QUERY{QENUM_EVENTS, key, 0, 0, 0}), want;
      for (const auto& e : expected)
        if (e.subTrack == key) want.push_back(e);
      ASSERT_EQ(seen.size(), want.size()) << "sub-track " << key;
      for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_TRUE(Same(seen[i], want[i])) << "sub-track " << key << " event " << i;
        QUILLET_EVENT read{};
        ASSERT_EQ(host->ReadEvent(key, static_cast<DWORD>(i), &read), S_OK);
        EXPECT_TRUE(Same(read, want[i]));
        hostkit::FreeEvent(read);
        hostkit::FreeEvent(seen[i]);
      }
      QUILLET_EVENT past{};
      EXPECT_EQ(host->ReadEvent(key, static_cast<DWORD>(want.size()), &past), S_FALSE);
    }
    for (auto [from, to] : {std::pair<LONGLONG, LONGLONG>{10, 20}, {-5000, 0}, {49, 1000}, {30, 30}}) {
      std::vector<QUILLET_EVENT> seen = walk(QUILLET_QUERY{QENUM_RANGE, 0, from, to, 0}), want;
      for (const auto& e : expected)
        if (e.time >= from && e.time < to) want.push_back(e);
      ASSERT_EQ(seen.size(), want.size()) << from << ".." << to;
      for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_TRUE(Same(seen[i], want[i]));
        hostkit::FreeEvent(seen[i]);
      }
    }
    // Deleting one event leaves the rest, and the sub-track walk follows.
    const QUILLET_EVENT victim = expected[expected.size() / 2];
    ASSERT_EQ(host->Delete(QEDIT_DELETE_EVENT, &victim), S_OK);
    EXPECT_EQ(host->EventCount(), expected.size() - 1);
    size_t left = 0;
    for (const auto& e : expected) left += e.subTrack == victim.subTrack;
    std::vector<QUILLET_EVENT> after = walk(QUILLET_QUERY{QENUM_EVENTS, victim.subTrack, 0, 0, 0});
    EXPECT_EQ(after.size(), left - 1);
    for (auto& e : after) hostkit::FreeEvent(e);
    for (auto& e : records) hostkit::FreeEvent(e);
    host->Release();
  }
}

// A checkpoint and going back to it undo every kind of edit a page makes
// through the host: sub-track changes, added and deleted sub-tracks and
// events, properties; the record of edits stays.
TEST(HostkitStore, GoingBackToACheckpointUndoesEveryEdit) {
  std::mt19937 rng(5);
  hostkit::Host* host = hostkit::Host::Create();
  host->AddSubTrack(0, L"Piano");
  host->AddSubTrack(9, L"Drums");
  host->AddEvents(Records(rng, 200));
  const LONG shift = 3;
  host->Set(QPROP_PITCH_SHIFT, 0, 0, sizeof(shift), &shift);
  auto snapshot = [&] {
    std::vector<QUILLET_EVENT> events;
    for (size_t i = 0; i < host->EventCount(); ++i) events.push_back(host->EventAt(i));
    return events;
  };
  const std::vector<hostkit::SubTrack> subTracksBefore = host->SubTracks();
  std::vector<QUILLET_EVENT> eventsBefore = snapshot();
  auto checkpoint = host->MakeCheckpoint();

  ASSERT_EQ(host->BeginAccess(1, L"Mute MIDI sub track"), S_OK);
  QUILLET_SUBTRACK d{};
  d.key = 1;
  d.mute = 1;
  d.channel = 4;
  d.name = const_cast<LPWSTR>(L"Renamed");
  EXPECT_EQ(host->ChangeSubTrack(1, 1, &d, QSUB_MUTE | QSUB_CHANNEL | QSUB_NAME), S_OK);
  EXPECT_EQ(host->Insert(0, QEDIT_SUBTRACK, reinterpret_cast<const QUILLET_EVENT*>(&d)), S_OK);
  QUILLET_EVENT gone{};
  gone.subTrack = 2;
  EXPECT_EQ(host->Delete(QEDIT_SUBTRACK, &gone), S_OK);
  QUILLET_EVENT added = hostkit::MakeShort(QEV_NOTE, 1, 0, 7, 60, 100);
  host->AddEvent(added);
  EXPECT_EQ(host->EndAccess(TRUE), S_OK);
  const LONG otherShift = -12;
  host->Set(QPROP_PITCH_SHIFT, 0, 0, sizeof(otherShift), &otherShift);

  host->Restore(*checkpoint);
  ASSERT_EQ(host->SubTracks().size(), subTracksBefore.size());
  for (size_t i = 0; i < subTracksBefore.size(); ++i) {
    const hostkit::SubTrack &now = host->SubTracks()[i], &was = subTracksBefore[i];
    EXPECT_TRUE(now.key == was.key && now.channel == was.channel && now.mute == was.mute && now.solo == was.solo &&
                now.name == was.name)
        << "sub-track " << i;
  }
  std::vector<QUILLET_EVENT> eventsAfter = snapshot();
  ASSERT_EQ(eventsAfter.size(), eventsBefore.size());
  for (size_t i = 0; i < eventsBefore.size(); ++i) EXPECT_TRUE(Same(eventsAfter[i], eventsBefore[i])) << i;
  const std::vector<BYTE> property = host->Property(QPROP_PITCH_SHIFT);
  ASSERT_EQ(property.size(), sizeof(LONG));
  EXPECT_EQ(*reinterpret_cast<const LONG*>(property.data()), shift);
  EXPECT_EQ(host->Edits().size(), 1u);  // what the user did is still on record
  // A sub-track added after going back gets a key of its own again.
  EXPECT_EQ(host->AddSubTrack(1, L"Next"), subTracksBefore.back().key + 1);
  for (auto* list : {&eventsBefore, &eventsAfter})
    for (auto& e : *list) hostkit::FreeEvent(e);
  checkpoint.reset();
  host->Release();
}

}  // namespace
