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
}  // namespace

std::vector<uint8_t> Serialize(const Song& song) {
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd'};
  Be32(out, 6);
  out.push_back(0);
  out.push_back(static_cast<uint8_t>(song.format));
  out.push_back(static_cast<uint8_t>(song.tracks.size() >> 8));
  out.push_back(static_cast<uint8_t>(song.tracks.size()));
  out.push_back(static_cast<uint8_t>(static_cast<uint16_t>(song.division) >> 8));
  out.push_back(static_cast<uint8_t>(song.division));
  for (const Track& track : song.tracks) {
    std::vector<uint8_t> body;
    uint32_t tick = 0;
    for (const Event& e : track.events) {
      // Events are expected in tick order; one that is not goes at the
      // current tick rather than into a delta the format cannot hold.
      uint32_t at = e.tick < tick ? tick : e.tick;
      uint32_t delta = at - tick;
      VarLen(body, delta > 0x0FFFFFFF ? 0x0FFFFFFF : delta);
      tick = at;
      body.push_back(e.status);
      if (e.status == 0xFF) {
        body.push_back(e.metaType);
        VarLen(body, static_cast<uint32_t>(e.data.size()));
      } else if (e.status == 0xF0 || e.status == 0xF7) {
        VarLen(body, static_cast<uint32_t>(e.data.size()));
      }
      body.insert(body.end(), e.data.begin(), e.data.end());
    }
    const uint8_t end[] = {0x00, 0xFF, 0x2F, 0x00};
    body.insert(body.end(), end, end + 4);
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    Be32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}

bool WriteFileAtomically(const std::wstring& path, const std::vector<uint8_t>& bytes, Error* error) {
  std::wstring temp = path + L".partial";
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error->message = "cannot create the output file";
    return false;
  }
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ok = CloseHandle(file) && ok && written == bytes.size();
  if (ok) ok = MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  if (!ok) {
    DeleteFileW(temp.c_str());
    error->message = "cannot write the output file";
    return false;
  }
  return true;
}

}  // namespace smf
