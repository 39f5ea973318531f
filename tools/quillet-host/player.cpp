#include "player.h"

#include <algorithm>

#include "song_events.h"

namespace tool {

namespace {
bool IsVolumeOrPan(const QUILLET_EVENT& e, int* which) {
  if (e.type != QEV_CONTROL || (e.bytes[0] != 7 && e.bytes[0] != 10)) return false;
  *which = e.bytes[0] == 7 ? 0 : 1;
  return true;
}
}  // namespace

Player::Player(IQuilletFilter* filter, const smf::Song& song) : filter_(filter), song_(song) {
  host_ = hostkit::Host::Create();
  std::map<std::pair<DWORD, LONG>, DWORD> keys;
  int ppq = song.division > 0 ? song.division : 480;
  host_->SetTiming(ppq, 500000);
  std::vector<QUILLET_EVENT> records;
  for (DWORD t = 0; t < song.tracks.size(); ++t) {
    for (const smf::Event& e : song.tracks[t].events) {
      DWORD key = 0;
      if (e.status < 0xF0) {
        auto id = std::make_pair(t, static_cast<LONG>(e.status & 0x0F));
        auto found = keys.find(id);
        if (found == keys.end()) {
          key = host_->AddSubTrack(id.second, L"Track " + std::to_wstring(t + 1) + L" Ch " + std::to_wstring(id.second + 1));
          keys[id] = key;
          subTracks_.push_back({key, t, id.second});
        } else {
          key = found->second;
        }
      } else if (e.status == 0xFF && e.metaType == 0x51 && e.data.size() == 3) {
        tempoMap_.push_back({e.tick, e.data[0] << 16 | e.data[1] << 8 | e.data[2]});
      }
      records.push_back(ToRecord(e, t, key));
      ++summary_.eventsRead;
    }
  }
  host_->AddEvents(records);  // one sort, tracks merged in time order
  for (auto& record : records) hostkit::FreeEvent(record);
  std::stable_sort(tempoMap_.begin(), tempoMap_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

Player::~Player() {
  for (auto& e : output_) hostkit::FreeEvent(e);
  if (connected_) filter_->Disconnect();
  host_->Release();
}

HRESULT Player::Connect() {
  DWORD capabilities = ~0u;
  HRESULT hr = filter_->Connect(static_cast<IQuilletTrack*>(host_), nullptr, 1, 0, &capabilities);
  connected_ = SUCCEEDED(hr);
  if (!connected_) return hr;
  // Tell the filter the track's content is there, so that it scans it.
  QUILLET_NOTIFICATION n{};
  n.kind = QNOTIFY_TRACK_CHANGED;
  QNOTIFY_WORD(&n, 11) = QCHANGE_TRACK_DATA;
  host_->Fire(n, FALSE);
  return S_OK;
}

// Ticks in `bufferMs` at the tempo in force at `at`.
LONGLONG Player::BufferTicks(int bufferMs, LONGLONG at) const {
  double ticksPerSecond;
  if (song_.division < 0) {
    int fps = -(song_.division >> 8);
    ticksPerSecond = (fps == 29 ? 29.97 : fps) * (song_.division & 0xFF);
  } else {
    LONG tempo = 500000;
    for (const auto& [tick, micros] : tempoMap_) {
      if (tick > at) break;
      if (micros > 0) tempo = micros;
    }
    ticksPerSecond = song_.division * 1e6 / tempo;
  }
  LONGLONG ticks = static_cast<LONGLONG>(ticksPerSecond * bufferMs / 1000.0 + 0.5);
  return ticks < 1 ? 1 : ticks;
}

HRESULT Player::Play(int bufferMs, void (*progress)(double)) {
  IQuilletProcess* process = nullptr;
  HRESULT hr = filter_->QueryInterface(IID_IQuilletProcess, reinterpret_cast<void**>(&process));
  if (FAILED(hr)) return hr;
  const std::vector<QUILLET_EVENT>& events = host_->Events();
  const LONGLONG last = events.empty() ? 0 : events.back().time;
  size_t next = 0;
  bool first = true;
  hostkit::EventBuffer* buffer = hostkit::EventBuffer::Create();
  double reported = 0;
  for (LONGLONG start = 0; next < events.size() || first; first = false) {
    LONGLONG end = start + BufferTicks(bufferMs, start);
    buffer->Clear();
    size_t before[2] = {};
    while (next < events.size() && events[next].time < end) {
      buffer->Add(events[next]);
      int which;
      if (IsVolumeOrPan(events[next], &which) && events[next].subTrack) ++before[which];
      ++next;
    }
    size_t inKinds[32] = {}, outKinds[32] = {};  // by type bit
    for (const auto& e : buffer->Events())
      if (e.type) ++inKinds[__builtin_ctz(e.type)];
    QUILLET_BUFFERINFO info{};
    info.start = start;
    info.flags = QBUF_PLAYBACK | (first ? QBUF_FIRST : 0);
    hr = process->Process(buffer, &info);
    if (FAILED(hr)) break;
    size_t after[2] = {};
    for (const auto& e : buffer->Events()) {
      if (e.type) ++outKinds[__builtin_ctz(e.type)];
      int which;
      if (IsVolumeOrPan(e, &which) && e.subTrack) ++after[which];
      output_.push_back(hostkit::CopyEvent(e));
    }
    for (int bit = 0; bit < 32; ++bit)
      if (inKinds[bit] > outKinds[bit]) summary_.removedByKind[1u << bit] += inKinds[bit] - outKinds[bit];
    for (int w = 0; w < 2; ++w) {
      size_t kept = std::min(before[w], after[w]);
      summary_.rewritten[w] += kept;
      summary_.injected[w] += after[w] - kept;
    }
    start = end;
    if (progress && last > 0 && static_cast<double>(start) / last - reported >= 0.05) {
      reported = static_cast<double>(start) / last;
      progress(std::min(reported, 1.0));
    }
  }
  buffer->Release();
  process->Release();
  summary_.eventsWritten = output_.size();
  return FAILED(hr) ? hr : S_OK;
}

smf::Song Player::Result() const {
  smf::Song out;
  out.format = song_.format;
  out.division = song_.division;
  out.tracks.resize(song_.tracks.size());
  std::map<DWORD, DWORD> trackOfKey;
  for (const auto& s : subTracks_) trackOfKey[s.key] = s.track;
  for (const QUILLET_EVENT& record : output_) {
    QUILLET_EVENT r = record;
    DWORD track = r.subTrack ? trackOfKey[r.subTrack] : OriginTrack(r);
    smf::Event e;
    if (track >= out.tracks.size() || !FromRecord(r, &e)) continue;
    out.tracks[track].events.push_back(std::move(e));
  }
  for (auto& t : out.tracks)
    std::stable_sort(t.events.begin(), t.events.end(), [](const smf::Event& a, const smf::Event& b) { return a.tick < b.tick; });
  return out;
}

}  // namespace tool
