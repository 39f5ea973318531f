// Writes the demo song that `make demo` plays: four tracks, eight bars.
#include <algorithm>
#include <cstdio>
#include <string>

#include "smf.h"

namespace {

constexpr int kQuarter = 480;

smf::Song song;

smf::Event Channel(uint32_t tick, uint8_t status, uint8_t a, uint8_t b = 0) { return smf::Song::Channel(tick, status, a, b); }

smf::Event Meta(uint32_t tick, uint8_t type, const std::vector<uint8_t>& data) {
  return song.Long(tick, 0xFF, type, data.data(), data.size());
}

smf::Event Text(uint32_t tick, uint8_t type, const std::string& text) {
  return Meta(tick, type, std::vector<uint8_t>(text.begin(), text.end()));
}

void Note(smf::Track& t, uint8_t channel, uint32_t tick, uint32_t length, uint8_t note, uint8_t velocity) {
  t.events.push_back(Channel(tick, 0x90 | channel, note, velocity));
  t.events.push_back(Channel(tick + length, 0x80 | channel, note, 64));
}

void Sort(smf::Track& t) {
  std::stable_sort(t.events.begin(), t.events.end(),
                   [](const smf::Event& a, const smf::Event& b) { return a.tick < b.tick; });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: demo-song OUT.mid\n");
    return 2;
  }
  song.format = 1;
  song.division = kQuarter;
  smf::Track conductor, piano, bass, drums;
  conductor.events.push_back(Text(0, 0x03, "Quillet Demo"));
  conductor.events.push_back(Meta(0, 0x51, {0x07, 0xA1, 0x20}));  // 120 BPM
  conductor.events.push_back(Meta(0, 0x58, {4, 2, 24, 8}));
  conductor.events.push_back(Text(4 * 4 * kQuarter, 0x06, "Chorus"));

  piano.events.push_back(Text(0, 0x03, "Piano"));
  piano.events.push_back(Channel(0, 0xC0, 0));      // Acoustic Grand Piano
  piano.events.push_back(Channel(0, 0xB0, 7, 100));
  piano.events.push_back(Channel(0, 0xB0, 10, 40));
  const uint8_t chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
  for (int bar = 0; bar < 8; ++bar)
    for (int beat = 0; beat < 4; ++beat)
      for (uint8_t n : chords[bar % 4]) Note(piano, 0, (bar * 4 + beat) * kQuarter, kQuarter - 20, n, 80 + beat * 5);
  piano.events.push_back(Channel(4 * 4 * kQuarter, 0xC0, 4));  // an electric piano for the chorus
  piano.events.push_back(Channel(6 * 4 * kQuarter, 0xE0, 0, 72));
  piano.events.push_back(Channel(6 * 4 * kQuarter + kQuarter, 0xE0, 0, 64));

  bass.events.push_back(Text(0, 0x03, "Bass"));
  bass.events.push_back(Channel(0, 0xC1, 33));  // Electric Bass (finger)
  bass.events.push_back(Channel(0, 0xB1, 7, 110));
  const uint8_t roots[4] = {36, 33, 29, 31};
  for (int bar = 0; bar < 8; ++bar)
    for (int half = 0; half < 2; ++half) Note(bass, 1, (bar * 4 + half * 2) * kQuarter, 2 * kQuarter - 40, roots[bar % 4], 100);
  bass.events.push_back(Channel(4 * 4 * kQuarter, 0xD1, 60));  // channel pressure

  drums.events.push_back(Text(0, 0x03, "Drums"));
  const std::vector<uint8_t> gmReset = {0x7E, 0x7F, 0x09, 0x01, 0xF7};
  drums.events.push_back(song.Long(0, 0xF0, 0, gmReset.data(), gmReset.size()));
  for (int beat = 0; beat < 32; ++beat) {
    Note(drums, 9, beat * kQuarter, 60, beat % 2 ? 38 : 36, 110);
    Note(drums, 9, beat * kQuarter, 60, 42, 70);
    Note(drums, 9, beat * kQuarter + kQuarter / 2, 60, 42, 60);
  }
  for (smf::Track* t : {&conductor, &piano, &bass, &drums}) {
    Sort(*t);
    t->end = t->events.back().tick;
    song.tracks.push_back(*t);
  }
  std::vector<uint8_t> bytes = smf::Serialize(song);
  smf::Error error;
  std::wstring out(argv[1], argv[1] + std::string(argv[1]).size());
  if (!smf::WriteFileAtomically(out, bytes, &error)) {
    std::fprintf(stderr, "demo-song: %s\n", error.message.c_str());
    return 1;
  }
  std::printf("wrote %s (%zu bytes)\n", argv[1], bytes.size());
  return 0;
}
