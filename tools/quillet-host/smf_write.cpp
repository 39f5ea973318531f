#include <windows.h>

#include "smf.h"

namespace smf {

namespace {
void Be32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}
void VarLen(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = v & 0x7F;
    v >>= 7;
  } while (v);
  while (n--) out.push_back(static_cast<uint8_t>(groups[n] | (n ? 0x80 : 0)));
}

std::vector<uint8_t> Header(int format, size_t tracks, int16_t division) {
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd'};
  Be32(out, 6);
  out.push_back(0);
  out.push_back(format == 0 && tracks == 1 ? 0 : 1);
  out.push_back(static_cast<uint8_t>(tracks >> 8));
  out.push_back(static_cast<uint8_t>(tracks));
  out.push_back(static_cast<uint8_t>(static_cast<uint16_t>(division) >> 8));
  out.push_back(static_cast<uint8_t>(division));
  return out;
}

Message MessageOf(const Song& song, const Event& e) {
  Message m;
  m.tick = e.tick;
  m.status = e.status;
  m.metaType = e.metaType;
  m.data[0] = e.data[0];
  m.data[1] = e.data[1];
  Block block = song.Data(e);
  m.block = block.data;
  m.size = block.size;
  return m;
}

TrackWriter Encode(const Song& song, const Track& track) {
  TrackWriter writer;
  for (const Event& e : track.events) writer.Add(MessageOf(song, e));
  writer.End(track.end);
  return writer;
}

bool WriteAll(HANDLE file, const std::vector<uint8_t>& bytes) {
  DWORD written = 0;
  return bytes.empty() ||
         (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
}

template <typename Fill>
bool WriteThrough(const std::wstring& path, Error* error, Fill fill) {
  std::wstring temp = path + L".partial";
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error->message = "cannot create the output file";
    return false;
  }
  bool ok = fill(file);
  ok = CloseHandle(file) && ok;
  if (ok) ok = MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  if (!ok) {
    DeleteFileW(temp.c_str());
    if (error->message.empty()) error->message = "cannot write the output file";
    return false;
  }
  return true;
}
uint32_t DecodeLength(const uint8_t* p, const uint8_t** data) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) {
    v = v << 7 | (p[i] & 0x7F);
    if (!(p[i] & 0x80)) {
      *data = p + i + 1;
      return v;
    }
  }
  *data = p + 4;
  return 0;
}

}  // namespace

void TrackWriter::Add(const Message& m) {
  // Events are expected in tick order; one that is not goes at the current
  // tick rather than into a delta the format cannot hold.
  uint32_t at = m.tick < tick_ ? tick_ : m.tick;
  uint32_t delta = at - tick_;
  VarLen(chunk_, delta > 0x0FFFFFFF ? 0x0FFFFFFF : delta);
  tick_ = at;
  if (m.status < 0xF0) {
    if (m.status != running_) chunk_.push_back(m.status);
    running_ = m.status;
    chunk_.push_back(m.data[0]);
    if (DataBytes(m.status) == 2) chunk_.push_back(m.data[1]);
    return;
  }
  running_ = 0;
  chunk_.push_back(m.status);
  if (m.status == 0xFF) chunk_.push_back(m.metaType);
  VarLen(chunk_, m.size);
  if (m.size) chunk_.insert(chunk_.end(), m.block, m.block + m.size);
}

void TrackWriter::End(uint32_t tick) {
  uint32_t end = tick > tick_ ? tick - tick_ : 0;
  VarLen(chunk_, end > 0x0FFFFFFF ? 0x0FFFFFFF : end);
  chunk_.insert(chunk_.end(), {0xFF, 0x2F, 0x00});
  uint32_t length = static_cast<uint32_t>(chunk_.size() - 8);
  for (int i = 0; i < 4; ++i) chunk_[4 + i] = static_cast<uint8_t>(length >> (24 - 8 * i));
}

Block Song::Data(const Event& e) const {
  Block b;
  if (e.status < 0xF0 || e.block >= blocks.size()) return b;
  b.size = DecodeLength(blocks.data() + e.block, &b.data);
  return b;
}

Event Song::Channel(uint32_t tick, uint8_t status, uint8_t a, uint8_t b) {
  Event e;
  e.tick = tick;
  e.status = status;
  e.data[0] = a;
  e.data[1] = DataBytes(status) == 2 ? b : 0;
  return e;
}

Event Song::Long(uint32_t tick, uint8_t status, uint8_t metaType, const uint8_t* data, size_t size) {
  Event e;
  e.tick = tick;
  e.status = status;
  e.metaType = status == 0xFF ? metaType : 0;
  e.block = static_cast<uint32_t>(blocks.size());
  uint32_t n = static_cast<uint32_t>(size);
  uint8_t groups[5];
  int count = 0;
  do {
    groups[count++] = n & 0x7F;
    n >>= 7;
  } while (n);
  while (count--) blocks.push_back(static_cast<uint8_t>(groups[count] | (count ? 0x80 : 0)));
  if (size) blocks.insert(blocks.end(), data, data + size);
  return e;
}

std::vector<uint8_t> Serialize(const Song& song) {
  std::vector<uint8_t> out = Header(song.format, song.tracks.size(), song.division);
  for (const Track& track : song.tracks) {
    TrackWriter writer = Encode(song, track);
    out.insert(out.end(), writer.Chunk().begin(), writer.Chunk().end());
  }
  return out;
}

bool WriteSong(const std::wstring& path, const Song& song, Error* error) {
  error->message.clear();
  return WriteThrough(path, error, [&](HANDLE file) {
    if (!WriteAll(file, Header(song.format, song.tracks.size(), song.division))) return false;
    for (const Track& track : song.tracks) {
      try {
        if (!WriteAll(file, Encode(song, track).Chunk())) return false;
      } catch (const std::bad_alloc&) {
        error->message = "not enough memory to write the output file";
        return false;
      }
    }
    return true;
  });
}

bool WriteTracks(const std::wstring& path, int format, int16_t division, const std::vector<TrackWriter>& tracks,
                 Error* error) {
  error->message.clear();
  return WriteThrough(path, error, [&](HANDLE file) {
    if (!WriteAll(file, Header(format, tracks.size(), division))) return false;
    for (const TrackWriter& track : tracks)
      if (!WriteAll(file, track.Chunk())) return false;
    return true;
  });
}

bool WriteFileAtomically(const std::wstring& path, const std::vector<uint8_t>& bytes, Error* error) {
  error->message.clear();
  return WriteThrough(path, error, [&](HANDLE file) { return WriteAll(file, bytes); });
}

}  // namespace smf
