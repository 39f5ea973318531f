#include <windows.h>

#include "smf.h"

namespace smf {

namespace {

class Reader {
 public:
  Reader(const std::vector<uint8_t>& bytes, size_t begin, size_t end) : b_(bytes), at_(begin), end_(end) {}
  size_t At() const { return at_; }
  bool Done() const { return at_ >= end_; }
  bool Byte(uint8_t* v) {
    if (at_ >= end_) return false;
    *v = b_[at_++];
    return true;
  }
  bool Peek(uint8_t* v) const {
    if (at_ >= end_) return false;
    *v = b_[at_];
    return true;
  }
  bool Skip(uint32_t n) {
    if (n > end_ - at_) return false;
    at_ += n;
    return true;
  }
  // False at the end of the bytes; `tooLong` tells a fifth byte apart.
  bool VarLen(uint32_t* v, bool* tooLong) {
    *v = 0;
    *tooLong = false;
    for (int i = 0; i < 4; ++i) {
      uint8_t c;
      if (!Byte(&c)) return false;
      *v = (*v << 7) | (c & 0x7F);
      if (!(c & 0x80)) return true;
    }
    *tooLong = true;
    return false;
  }

 private:
  const std::vector<uint8_t>& b_;
  size_t at_, end_;
};

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

bool Fail(Error* error, const std::string& message, long long offset) {
  error->message = message;
  error->offset = offset;
  return false;
}

enum class Outcome { kRead, kBad, kCut };  // kCut: the bytes ran out inside an event

struct TrackResult {
  size_t events = 0;
  uint32_t end = 0;
  size_t runningAfterLong = 0;  // data bytes that continued a status across a sysex or meta event
  long long firstRunningAfterLong = -1;
};

// Reads one track's events; with `track` null it only counts them, so that
// the second pass stores them without growing the vector.
Outcome ParseTrack(const std::vector<uint8_t>& bytes, size_t begin, size_t end, Track* track, TrackResult* result,
                   Error* error) {
  Reader r(bytes, begin, end);
  uint32_t tick = 0;
  uint8_t running = 0;
  bool afterLong = false;
  auto cut = [&](const char* message, size_t at) {
    Fail(error, message, static_cast<long long>(at));
    result->end = tick;
    return Outcome::kCut;
  };
  auto bad = [&](const std::string& message, size_t at) {
    Fail(error, message, static_cast<long long>(at));
    return Outcome::kBad;
  };
  while (!r.Done()) {
    uint32_t delta;
    bool tooLong;
    size_t eventAt = r.At();
    if (!r.VarLen(&delta, &tooLong)) {
      if (tooLong) return bad("malformed delta time", eventAt);
      return cut("truncated delta time", eventAt);
    }
    if (delta > 0xFFFFFFFFu - tick) return bad("track longer than 2^32 ticks", eventAt);
    tick += delta;
    uint8_t status;
    size_t statusAt = r.At();
    if (!r.Peek(&status)) return cut("track ends inside an event", statusAt);
    Event e;
    e.tick = tick;
    if (status & 0x80) {
      r.Byte(&status);
    } else {
      if (!running) return bad("running status without a status byte", statusAt);
      if (afterLong && result->runningAfterLong++ == 0) result->firstRunningAfterLong = static_cast<long long>(statusAt);
      status = running;
    }
    e.status = status;
    if (status == 0xFF) {
      uint32_t length;
      if (!r.Byte(&e.metaType)) return cut("truncated meta event", statusAt);
      if (e.metaType & 0x80) return bad("meta event type " + std::to_string(e.metaType) + " above 127", statusAt + 1);
      e.block = static_cast<uint32_t>(r.At());
      if (!r.VarLen(&length, &tooLong)) {
        if (tooLong) return bad("malformed meta event length", e.block);
        return cut("truncated meta event", statusAt);
      }
      if (!r.Skip(length)) return cut("meta event runs past the end of its track", statusAt);
      afterLong = true;
      if (e.metaType == 0x2F) {  // end of track
        result->end = tick;
        return Outcome::kRead;
      }
    } else if (status == 0xF0 || status == 0xF7) {
      uint32_t length;
      e.block = static_cast<uint32_t>(r.At());
      if (!r.VarLen(&length, &tooLong)) {
        if (tooLong) return bad("malformed system exclusive length", e.block);
        return cut("truncated system exclusive event", statusAt);
      }
      if (!r.Skip(length)) return cut("system exclusive event runs past the end of its track", statusAt);
      afterLong = true;
    } else if (status >= 0xF1) {
      return bad("system message not allowed in a file", statusAt);
    } else {
      running = status;
      afterLong = false;
      for (int i = 0; i < DataBytes(status); ++i) {
        if (!r.Byte(&e.data[i])) return cut("truncated channel message", statusAt);
        if (e.data[i] & 0x80) return bad("data byte above 127 in a channel message", statusAt);
      }
    }
    if (track) track->events.push_back(e);
    ++result->events;
  }
  result->end = tick;
  return Outcome::kRead;  // a track without an end-of-track event is accepted
}

void Warn(std::vector<Warning>* warnings, const std::string& message, long long offset) {
  if (warnings) warnings->push_back({message, offset});
}

}  // namespace

bool ReadFile(const std::wstring& path, std::vector<uint8_t>* bytes, Error* error) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Fail(error, "cannot open the file", -1);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size) || size.QuadPart > 256 * 1024 * 1024) {
    CloseHandle(file);
    return Fail(error, "file too large", -1);
  }
  try {
    bytes->resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    CloseHandle(file);
    return Fail(error, "not enough memory to read the file", -1);
  }
  DWORD read = 0;
  BOOL ok = bytes->empty() || ::ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr);
  CloseHandle(file);
  if (!ok || read != bytes->size()) return Fail(error, "cannot read the file", -1);
  return true;
}

bool Parse(std::vector<uint8_t> b, Song* song, Error* error, std::vector<Warning>* warnings) {
  song->tracks.clear();
  song->blocks.clear();
  if (b.size() < 14 || b[0] != 'M' || b[1] != 'T' || b[2] != 'h' || b[3] != 'd')
    return Fail(error, "not a Standard MIDI File (no MThd header)", 0);
  uint32_t headerLength = Be32(b, 4);
  if (headerLength < 6 || headerLength > b.size() - 8) return Fail(error, "header chunk length past the end", 4);
  song->format = b[8] << 8 | b[9];
  int trackCount = b[10] << 8 | b[11];
  song->division = static_cast<int16_t>(b[12] << 8 | b[13]);
  if (song->format > 1) return Fail(error, "MIDI file format " + std::to_string(song->format) + " is not supported", 8);
  if (trackCount == 0) return Fail(error, "the header counts no tracks", 10);
  if (song->division == 0) return Fail(error, "division of 0 ticks per quarter", 12);
  if (song->division < 0) {
    int fps = -static_cast<int8_t>(b[12]);
    if (fps != 24 && fps != 25 && fps != 29 && fps != 30)
      return Fail(error, "time-code division of " + std::to_string(fps) + " frames per second", 12);
    if ((song->division & 0xFF) == 0) return Fail(error, "division of 0 ticks per frame", 13);
  }
  size_t at = 8 + headerLength;
  size_t runningAfterLong = 0;
  long long firstRunningAfterLong = -1;
  while (static_cast<int>(song->tracks.size()) < trackCount) {
    const int number = static_cast<int>(song->tracks.size()) + 1;
    if (at + 8 > b.size()) {
      if (song->tracks.empty()) return Fail(error, "file ends before track 1", static_cast<long long>(at));
      Warn(warnings, "the header counts " + std::to_string(trackCount) + " tracks, the file holds " +
                         std::to_string(song->tracks.size()),
           static_cast<long long>(at));
      break;
    }
    uint32_t length = Be32(b, at + 4);
    const bool cutShort = length > b.size() - at - 8;
    const size_t end = cutShort ? b.size() : at + 8 + length;
    bool isTrack = b[at] == 'M' && b[at + 1] == 'T' && b[at + 2] == 'r' && b[at + 3] == 'k';
    if (isTrack) {
      Track track;
      TrackResult counted, stored;
      Outcome outcome = ParseTrack(b, at + 8, end, nullptr, &counted, error);
      if (outcome == Outcome::kBad || (outcome == Outcome::kCut && !cutShort)) return false;
      try {
        track.events.reserve(counted.events);
      } catch (const std::bad_alloc&) {
        return Fail(error, "not enough memory for the song", static_cast<long long>(at));
      }
      ParseTrack(b, at + 8, end, &track, &stored, error);
      track.end = stored.end;
      if (stored.runningAfterLong && !runningAfterLong) firstRunningAfterLong = stored.firstRunningAfterLong;
      runningAfterLong += stored.runningAfterLong;
      if (cutShort) {
        Warn(warnings,
             "track " + std::to_string(number) + " is cut short by the end of the file (" +
                 (outcome == Outcome::kCut ? error->message : std::string("its length runs past it")) + "); the " +
                 std::to_string(track.events.size()) + " events read are kept",
             outcome == Outcome::kCut ? error->offset : static_cast<long long>(at + 4));
        error->message.clear();
        error->offset = -1;
      }
      song->tracks.push_back(std::move(track));
    } else if (cutShort) {
      Warn(warnings, "the header counts " + std::to_string(trackCount) + " tracks, the file holds " +
                         std::to_string(song->tracks.size()),
           static_cast<long long>(at));
      break;
    }
    at = end;  // chunks of other kinds are skipped
    if (cutShort && song->tracks.size() < static_cast<size_t>(trackCount)) {
      Warn(warnings, "the header counts " + std::to_string(trackCount) + " tracks, the file holds " +
                         std::to_string(song->tracks.size()),
           static_cast<long long>(at));
      break;
    }
  }
  if (song->tracks.empty()) return Fail(error, "file ends before track 1", static_cast<long long>(at));
  if (runningAfterLong)
    Warn(warnings,
         "running status continued after a sysex or meta event (" + std::to_string(runningAfterLong) +
             (runningAfterLong == 1 ? " time" : " times") + "); read as the channel status before it",
         firstRunningAfterLong);
  if (song->format == 0 && song->tracks.size() > 1) {
    Warn(warnings, "format 0 with " + std::to_string(song->tracks.size()) + " tracks; read and written as format 1",
         8);
    song->format = 1;
  }
  song->blocks = std::move(b);
  return true;
}

}  // namespace smf
