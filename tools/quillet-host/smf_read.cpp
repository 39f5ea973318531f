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
  bool Bytes(size_t n, std::vector<uint8_t>* out) {
    if (n > end_ - at_) return false;
    out->assign(b_.begin() + at_, b_.begin() + at_ + n);
    at_ += n;
    return true;
  }
  bool VarLen(uint32_t* v) {
    *v = 0;
    for (int i = 0; i < 4; ++i) {
      uint8_t c;
      if (!Byte(&c)) return false;
      *v = (*v << 7) | (c & 0x7F);
      if (!(c & 0x80)) return true;
    }
    return false;  // more than four bytes
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

int DataBytes(uint8_t status) {
  uint8_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

bool ParseTrack(const std::vector<uint8_t>& bytes, size_t begin, size_t end, Track* track, Error* error) {
  Reader r(bytes, begin, end);
  uint32_t tick = 0;
  uint8_t running = 0;
  while (!r.Done()) {
    uint32_t delta;
    size_t eventAt = r.At();
    if (!r.VarLen(&delta)) return Fail(error, "truncated or malformed delta time", eventAt);
    tick += delta;
    uint8_t status;
    size_t statusAt = r.At();
    if (!r.Peek(&status)) return Fail(error, "track ends inside an event", statusAt);
    Event e;
    e.tick = tick;
    if (status & 0x80) {
      r.Byte(&status);
    } else {
      if (!running) return Fail(error, "running status without a status byte", statusAt);
      status = running;
    }
    e.status = status;
    if (status == 0xFF) {
      uint32_t length;
      if (!r.Byte(&e.metaType) || !r.VarLen(&length)) return Fail(error, "truncated meta event", statusAt);
      if (!r.Bytes(length, &e.data)) return Fail(error, "meta event runs past the end of its track", statusAt);
      running = 0;
      if (e.metaType == 0x2F) return true;  // end of track
    } else if (status == 0xF0 || status == 0xF7) {
      uint32_t length;
      if (!r.VarLen(&length)) return Fail(error, "truncated system exclusive event", statusAt);
      if (!r.Bytes(length, &e.data)) return Fail(error, "system exclusive event runs past the end of its track", statusAt);
      running = 0;
    } else if (status >= 0xF1) {
      return Fail(error, "system message not allowed in a file", statusAt);
    } else {
      running = status;
      if (!r.Bytes(DataBytes(status), &e.data)) return Fail(error, "truncated channel message", statusAt);
      for (uint8_t d : e.data)
        if (d & 0x80) return Fail(error, "data byte above 127 in a channel message", statusAt);
    }
    track->events.push_back(std::move(e));
  }
  return true;  // a track without an end-of-track event is accepted
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
  bytes->resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  BOOL ok = bytes->empty() || ::ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr);
  CloseHandle(file);
  if (!ok || read != bytes->size()) return Fail(error, "cannot read the file", -1);
  return true;
}

bool Parse(const std::vector<uint8_t>& b, Song* song, Error* error) {
  if (b.size() < 14 || b[0] != 'M' || b[1] != 'T' || b[2] != 'h' || b[3] != 'd')
    return Fail(error, "not a Standard MIDI File (no MThd header)", 0);
  uint32_t headerLength = Be32(b, 4);
  if (headerLength < 6 || headerLength > b.size() - 8) return Fail(error, "header chunk length past the end", 4);
  song->format = b[8] << 8 | b[9];
  int trackCount = b[10] << 8 | b[11];
  song->division = static_cast<int16_t>(b[12] << 8 | b[13]);
  if (song->format > 1) return Fail(error, "MIDI file format " + std::to_string(song->format) + " is not supported", 8);
  if (song->division == 0) return Fail(error, "division of 0 ticks per quarter", 12);
  if (song->division < 0 && (song->division & 0xFF) == 0) return Fail(error, "division of 0 ticks per frame", 12);
  size_t at = 8 + headerLength;
  song->tracks.clear();
  while (static_cast<int>(song->tracks.size()) < trackCount) {
    if (at + 8 > b.size()) return Fail(error, "file ends before track " + std::to_string(song->tracks.size() + 1), at);
    uint32_t length = Be32(b, at + 4);
    if (length > b.size() - at - 8) return Fail(error, "chunk length past the end of the file", at + 4);
    bool isTrack = b[at] == 'M' && b[at + 1] == 'T' && b[at + 2] == 'r' && b[at + 3] == 'k';
    if (isTrack) {
      Track track;
      if (!ParseTrack(b, at + 8, at + 8 + length, &track, error)) return false;
      song->tracks.push_back(std::move(track));
    }
    at += 8 + length;  // chunks of other kinds are skipped
  }
  return true;
}

}  // namespace smf
