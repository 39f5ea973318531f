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

std::vector<uint8_t> Header(const Song& song) {
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd'};
  Be32(out, 6);
  out.push_back(0);
  out.push_back(song.format == 0 && song.tracks.size() == 1 ? 0 : 1);
  out.push_back(static_cast<uint8_t>(song.tracks.size() >> 8));
  out.push_back(static_cast<uint8_t>(song.tracks.size()));
  out.push_back(static_cast<uint8_t>(static_cast<uint16_t>(song.division) >> 8));
  out.push_back(static_cast<uint8_t>(song.division));
  return out;
}

// One track chunk, header and body, into `out` (which is cleared first).
void EncodeTrack(const Song& song, const Track& track, std::vector<uint8_t>& out) {
  out.assign({'M', 'T', 'r', 'k', 0, 0, 0, 0});
  uint32_t tick = 0;
  uint8_t running = 0;  // sysex and meta events end running status
  for (const Event& e : track.events) {
    // Events are expected in tick order; one that is not goes at the
    // current tick rather than into a delta the format cannot hold.
    uint32_t at = e.tick < tick ? tick : e.tick;
    uint32_t delta = at - tick;
    VarLen(out, delta > 0x0FFFFFFF ? 0x0FFFFFFF : delta);
    tick = at;
    if (e.status < 0xF0) {
      if (e.status != running) out.push_back(e.status);
      running = e.status;
      out.push_back(e.data[0]);
      if (DataBytes(e.status) == 2) out.push_back(e.data[1]);
      continue;
    }
    running = 0;
    out.push_back(e.status);
    if (e.status == 0xFF) out.push_back(e.metaType);
    Block block = song.Data(e);
    VarLen(out, block.size);
    out.insert(out.end(), block.data, block.data + block.size);
  }
  uint32_t end = track.end > tick ? track.end - tick : 0;
  VarLen(out, end > 0x0FFFFFFF ? 0x0FFFFFFF : end);
  out.insert(out.end(), {0xFF, 0x2F, 0x00});
  uint32_t length = static_cast<uint32_t>(out.size() - 8);
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(length >> (24 - 8 * i));
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
  std::vector<uint8_t> out = Header(song), chunk;
  for (const Track& track : song.tracks) {
    EncodeTrack(song, track, chunk);
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

bool WriteSong(const std::wstring& path, const Song& song, Error* error) {
  error->message.clear();
  return WriteThrough(path, error, [&](HANDLE file) {
    if (!WriteAll(file, Header(song))) return false;
    std::vector<uint8_t> chunk;
    for (const Track& track : song.tracks) {
      try {
        EncodeTrack(song, track, chunk);
      } catch (const std::bad_alloc&) {
        error->message = "not enough memory to write the output file";
        return false;
      }
      if (!WriteAll(file, chunk)) return false;
    }
    return true;
  });
}

bool WriteFileAtomically(const std::wstring& path, const std::vector<uint8_t>& bytes, Error* error) {
  error->message.clear();
  return WriteThrough(path, error, [&](HANDLE file) { return WriteAll(file, bytes); });
}

}  // namespace smf
