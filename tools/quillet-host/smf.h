// Standard MIDI Files in memory: reading and writing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace smf {

// One event in 12 bytes, so that songs of millions of events stay small.
struct Event {
  uint32_t tick = 0;        // absolute
  uint8_t status = 0;       // 0x80-0xEF channel messages, 0xF0/0xF7 sysex, 0xFF meta
  uint8_t metaType = 0;     // meta events
  uint8_t data[2] = {};     // channel messages: the data bytes (one-byte messages leave the second 0)
  uint32_t block = 0;       // sysex and meta: where their length and data start in Song::blocks
};

struct Track {
  std::vector<Event> events;  // in tick order, without the end-of-track event
  uint32_t end = 0;           // tick of the end-of-track event (not before the last event)
};

// The data of a sysex or meta event.
struct Block {
  const uint8_t* data = nullptr;
  uint32_t size = 0;
};

struct Song {
  int format = 1;
  int16_t division = 480;  // ticks per quarter, or negative SMPTE frames with ticks per frame
  std::vector<Track> tracks;
  // Sysex and meta data, each a variable-length count and the bytes. A
  // song read from a file keeps the file here and points into it.
  std::vector<uint8_t> blocks;

  Block Data(const Event& e) const;
  static Event Channel(uint32_t tick, uint8_t status, uint8_t a, uint8_t b = 0);
  // A sysex (0xF0, 0xF7) or meta (0xFF) event whose data is appended to `blocks`.
  Event Long(uint32_t tick, uint8_t status, uint8_t metaType, const uint8_t* data, size_t size);
};

// Number of data bytes of a channel message status.
inline int DataBytes(uint8_t status) { return (status & 0xE0) == 0xC0 ? 1 : 2; }

struct Error {
  std::string message;
  long long offset = -1;  // byte offset in the file, -1 when none applies
};

// What was read leniently; the song is whole but the file was not as the
// format says.
struct Warning {
  std::string message;
  long long offset = -1;
};

// Reads a whole file's bytes; false with `error` set on failure.
bool ReadFile(const std::wstring& path, std::vector<uint8_t>* bytes, Error* error);
// Parses a Standard MIDI File (formats 0 and 1; running status; sysex and
// meta). The bytes become the song's `blocks`. What common readers accept
// is read with a warning: running status after a sysex or meta event,
// fewer tracks than the header counts, a last track cut short (the events
// read are kept), a format-0 header with several tracks (read as format 1).
bool Parse(std::vector<uint8_t> bytes, Song* song, Error* error, std::vector<Warning>* warnings = nullptr);
// Writes format 0 or 1 (as song.format says; several tracks are always
// format 1) with running status and each track's end-of-track at its end tick.
std::vector<uint8_t> Serialize(const Song& song);
// Writes the song next to `path` first, then replaces `path` with it, one
// track at a time (no whole copy of the file in memory).
bool WriteSong(const std::wstring& path, const Song& song, Error* error);
// Writes next to `path` first and replaces it only when everything was written.
bool WriteFileAtomically(const std::wstring& path, const std::vector<uint8_t>& bytes, Error* error);

}  // namespace smf
