// Standard MIDI Files in memory: reading and writing.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace smf {

struct Event {
  uint32_t tick = 0;       // absolute
  uint8_t status = 0;      // 0x80-0xEF channel messages, 0xF0/0xF7 sysex, 0xFF meta
  uint8_t metaType = 0;    // meta events
  std::vector<uint8_t> data;  // channel messages: 1 or 2 data bytes; sysex: without F0; meta: the data
};

struct Track {
  std::vector<Event> events;  // in tick order, without the end-of-track event
};

struct Song {
  int format = 1;
  int16_t division = 480;  // ticks per quarter, or negative SMPTE frames with ticks per frame
  std::vector<Track> tracks;
};

struct Error {
  std::string message;
  long long offset = -1;  // byte offset in the file, -1 when none applies
};

// Reads a whole file's bytes; false with `error` set on failure.
bool ReadFile(const std::wstring& path, std::vector<uint8_t>* bytes, Error* error);
// Parses a Standard MIDI File (formats 0 and 1; running status; sysex and meta).
bool Parse(const std::vector<uint8_t>& bytes, Song* song, Error* error);
// Writes format 0 or 1 (as song.format says) with an end-of-track per track.
std::vector<uint8_t> Serialize(const Song& song);
// Writes next to `path` first and replaces it only when everything was written.
bool WriteFileAtomically(const std::wstring& path, const std::vector<uint8_t>& bytes, Error* error);

}  // namespace smf
