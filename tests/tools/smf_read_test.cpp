// The host tool's MIDI file reader on damaged input: random bytes, every
// truncation and random byte changes of a real song. It must never crash,
// must report an error or give a song whose events are well formed, and
// what it accepts must survive writing and reading back unchanged.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "smf.h"

namespace {

bool SameEvents(const smf::Song& a, const smf::Song& b) {
  if (a.tracks.size() != b.tracks.size() || a.division != b.division) return false;
  for (size_t t = 0; t < a.tracks.size(); ++t) {
    const auto& x = a.tracks[t].events;
    const auto& y = b.tracks[t].events;
    if (x.size() != y.size()) return false;
    for (size_t i = 0; i < x.size(); ++i) {
      if (x[i].tick != y[i].tick || x[i].status != y[i].status || x[i].metaType != y[i].metaType) return false;
      if (x[i].data[0] != y[i].data[0] || x[i].data[1] != y[i].data[1]) return false;
      smf::Block p = a.Data(x[i]), q = b.Data(y[i]);
      if (p.size != q.size || !std::equal(p.data, p.data + p.size, q.data)) return false;
    }
    if (a.tracks[t].end != b.tracks[t].end) return false;
  }
  return true;
}

int g_accepted = 0;

// Checks one input; false (with a test failure) when something is wrong.
bool Check(const std::vector<uint8_t>& bytes) {
  smf::Song song;
  smf::Error error;
  if (!smf::Parse(bytes, &song, &error)) {
    EXPECT_FALSE(error.message.empty());
    EXPECT_LE(error.offset, static_cast<long long>(bytes.size()));
    return !::testing::Test::HasFailure();
  }
  ++g_accepted;
  // Only what every reader takes: one track in format 0, a division that
  // counts time, meta types below 128, data bytes below 128.
  EXPECT_LE(song.format, 1);
  EXPECT_FALSE(song.tracks.empty());
  if (song.format == 0) { EXPECT_EQ(song.tracks.size(), 1u); }
  EXPECT_NE(song.division, 0);
  if (song.division < 0) {
    const int fps = -(song.division >> 8);
    EXPECT_TRUE(fps == 24 || fps == 25 || fps == 29 || fps == 30) << fps;
    EXPECT_NE(song.division & 0xFF, 0) << "SMPTE division without ticks per frame";
  }
  for (const auto& track : song.tracks) {
    if (!track.events.empty()) { EXPECT_GE(track.end, track.events.back().tick); }
    for (const auto& e : track.events) {
      if (e.status < 0xF0) {
        EXPECT_GE(e.status, 0x80);
        EXPECT_LT(e.data[0], 0x80);
        EXPECT_LT(e.data[1], 0x80);
        if ((e.status & 0xE0) == 0xC0) { EXPECT_EQ(e.data[1], 0); }
      } else {
        EXPECT_TRUE(e.status == 0xF0 || e.status == 0xF7 || e.status == 0xFF) << int(e.status);
        if (e.status == 0xFF) { EXPECT_LT(e.metaType, 0x80); }
        smf::Block block = song.Data(e);
        EXPECT_LE(block.data + block.size, song.blocks.data() + song.blocks.size());
      }
    }
  }
  smf::Song again;
  std::vector<smf::Warning> warnings;
  EXPECT_TRUE(smf::Parse(smf::Serialize(song), &again, &error, &warnings)) << error.message;
  EXPECT_TRUE(warnings.empty()) << warnings[0].message;
  EXPECT_TRUE(SameEvents(song, again));
  return !::testing::Test::HasFailure();
}

std::vector<uint8_t> DemoSong() {
  std::vector<uint8_t> bytes;
  smf::Error error;
  EXPECT_TRUE(smf::ReadFile(QUILLET_DEMO_SONG, &bytes, &error)) << error.message;
  return bytes;
}

TEST(SmfRead, EveryTruncationOfARealSong) {
  const std::vector<uint8_t> song = DemoSong();
  ASSERT_GT(song.size(), 100u);
  ASSERT_TRUE(Check(song));
  const size_t step = song.size() / 4000 + 1;
  for (size_t n = 0; n < song.size(); n += (n < 200 ? 1 : step)) {
    if (!Check(std::vector<uint8_t>(song.begin(), song.begin() + n))) {
      ADD_FAILURE() << "cut at " << n;
      return;
    }
  }
}

TEST(SmfRead, RandomChangesToARealSong) {
  const std::vector<uint8_t> song = DemoSong();
  ASSERT_GT(song.size(), 100u);
  g_accepted = 0;
  std::mt19937 rng(99);
  std::uniform_int_distribution<size_t> at(0, song.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255), changes(1, 8);
  for (int round = 0; round < 1500; ++round) {
    std::vector<uint8_t> bytes = song;
    for (int i = changes(rng); i > 0; --i) {
      // Header fields (count, division) and lengths are the likeliest to matter.
      const size_t where = round % 3 == 0 ? at(rng) % 32 : at(rng);
      bytes[where] = static_cast<uint8_t>(byte(rng));
    }
    if (!Check(bytes)) {
      ADD_FAILURE() << "round " << round;
      return;
    }
  }
  EXPECT_GT(g_accepted, 100);  // changes inside events often leave a readable file
}

// A time-code division needs ticks per frame as a musical one needs ticks
// per quarter: without them no time passes between ticks.
TEST(SmfRead, TimeCodeDivisionWithoutTicksIsRefused) {
  std::vector<uint8_t> bytes = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0xE7, 0x00,
                                'M', 'T', 'r', 'k', 0, 0, 0, 4, 0x00, 0xFF, 0x2F, 0x00};
  smf::Song song;
  smf::Error error;
  EXPECT_FALSE(smf::Parse(bytes, &song, &error));
  EXPECT_EQ(error.offset, 13);
  bytes[13] = 40;  // 25 frames of 40 ticks
  EXPECT_TRUE(smf::Parse(bytes, &song, &error)) << error.message;
  EXPECT_EQ(song.division, static_cast<int16_t>(0xE728));
}

TEST(SmfRead, RandomBytesAfterAHeader) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> byte(0, 255), length(0, 300);
  for (int round = 0; round < 5000; ++round) {
    std::vector<uint8_t> bytes = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 1, 0xE0};
    if (round % 2) bytes[12] = static_cast<uint8_t>(byte(rng));
    if (round % 4 == 1) bytes[13] = static_cast<uint8_t>(byte(rng));
    const std::vector<uint8_t> track = {'M', 'T', 'r', 'k'};
    const int body = length(rng);
    bytes.insert(bytes.end(), track.begin(), track.end());
    for (int s = 24; s >= 0; s -= 8) bytes.push_back(static_cast<uint8_t>(round % 5 ? body >> s : byte(rng)));
    for (int i = 0; i < body; ++i) bytes.push_back(static_cast<uint8_t>(byte(rng) < 128 && i % 3 ? byte(rng) & 0x7F : byte(rng)));
    if (!Check(bytes)) {
      ADD_FAILURE() << "round " << round;
      return;
    }
  }
}

}  // namespace
