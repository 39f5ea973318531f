#include "player.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <queue>

#include "song_events.h"

namespace tool {

namespace {
bool IsVolumeOrPan(const QUILLET_EVENT& e, int* which) {
  if (e.type != QEV_CONTROL || (e.bytes[0] != 7 && e.bytes[0] != 10)) return false;
  *which = e.bytes[0] == 7 ? 0 : 1;
  return true;
}
}  // namespace

Player::Player(IQuilletFilter* filter, smf::Song& song)
    : filter_(filter), division_(song.division), format_(song.format) {
  host_ = hostkit::Host::Create();
  host_->SetTiming(song.division > 0 ? song.division : 480, 500000);
  written_.resize(song.tracks.size());
  ends_.resize(song.tracks.size());
  size_t total = 0;
  for (const auto& t : song.tracks) total += t.events.size();
  host_->ReserveEvents(total);
  trackOfKey_.push_back(0);  // no key 0

  // The tracks merged in time order (the earlier track first at equal
  // times), so that the host appends each event.
  std::vector<std::array<DWORD, 16>> keys(song.tracks.size());  // by track and channel; 0: none yet
  using Head = std::pair<uint32_t, DWORD>;  // tick, track
  std::priority_queue<Head, std::vector<Head>, std::greater<Head>> heads;
  std::vector<size_t> next(song.tracks.size(), 0);
  for (DWORD t = 0; t < song.tracks.size(); ++t)
    if (!song.tracks[t].events.empty()) heads.push({song.tracks[t].events[0].tick, t});
  std::vector<BYTE> scratch;
  while (!heads.empty()) {
    const DWORD t = heads.top().second;
    heads.pop();
    const smf::Event& e = song.tracks[t].events[next[t]++];
    if (next[t] < song.tracks[t].events.size()) heads.push({song.tracks[t].events[next[t]].tick, t});
    DWORD key = 0;
    if (e.status < 0xF0) {
      const LONG channel = e.status & 0x0F;
      key = keys[t][channel];
      if (!key) {
        key = host_->AddSubTrack(channel, L"Track " + std::to_wstring(t + 1) + L" Ch " + std::to_wstring(channel + 1));
        keys[t][channel] = key;
        subTracks_.push_back({key, t, channel, -1, -1});
        trackOfKey_.push_back(t);
      }
      if ((e.status & 0xF0) == 0xB0 && (e.data[0] == 7 || e.data[0] == 10)) {
        int& first = e.data[0] == 7 ? subTracks_[key - 1].firstVolume : subTracks_[key - 1].firstPan;
        if (first < 0) first = e.data[1];
      }
    } else if (e.status == 0xFF && e.metaType == 0x51) {
      smf::Block b = song.Data(e);
      if (b.size == 3) tempoMap_.push_back({e.tick, b.data[0] << 16 | b.data[1] << 8 | b.data[2]});
    }
    host_->AddEvent(ToRecord(song, e, t, key, &scratch));
    ++summary_.eventsRead;
  }
  // The host holds the events now; the written tracks get about the room
  // their events took in the file (three bytes each with running status).
  for (size_t t = 0; t < song.tracks.size(); ++t) {
    written_[t].Reserve(song.tracks[t].events.size() * 3 + 64);
    ends_[t] = song.tracks[t].end;
    std::vector<smf::Event>().swap(song.tracks[t].events);
  }
  std::vector<uint8_t>().swap(song.blocks);
}

Player::~Player() {
  if (connected_) filter_->Disconnect();
  host_->Release();
}

HRESULT Player::Connect() {
  DWORD capabilities = ~0u;
  HRESULT hr = filter_->Connect(static_cast<IQuilletTrack*>(host_), nullptr, 1, 0, &capabilities);
  connected_ = SUCCEEDED(hr);
  if (!connected_) return hr;
  // Tell the filter the track's content has changed, as a host does once
  // a track is loaded: it scans the track for its positions and its
  // volume and pan values. (A track-data change would also have it copy
  // every event into lists that nothing here reads.)
  QUILLET_NOTIFICATION n{};
  n.kind = QNOTIFY_TRACK_CHANGED;
  QNOTIFY_WORD(&n, 11) = QCHANGE_BOOKKEEPING;
  host_->Fire(n, FALSE);
  return S_OK;
}

// Ticks in `bufferMs` at the tempo in force at `at` (which only grows
// from call to call).
LONGLONG Player::BufferTicks(int bufferMs, LONGLONG at) {
  double ticksPerSecond;
  if (division_ < 0) {
    int fps = -(division_ >> 8);
    ticksPerSecond = (fps == 29 ? 29.97 : fps) * (division_ & 0xFF);
  } else {
    for (; tempoAt_ < tempoMap_.size() && tempoMap_[tempoAt_].first <= at; ++tempoAt_)
      if (tempoMap_[tempoAt_].second > 0) tempo_ = tempoMap_[tempoAt_].second;
    ticksPerSecond = division_ * 1e6 / tempo_;
  }
  LONGLONG ticks = static_cast<LONGLONG>(ticksPerSecond * bufferMs / 1000.0 + 0.5);
  return ticks < 1 ? 1 : ticks;
}

// The buffer's events go to their tracks of the written song.
void Player::Take(const std::vector<QUILLET_EVENT>& events) {
  for (const QUILLET_EVENT& record : events) {
    QUILLET_EVENT r = record;
    DWORD track = r.subTrack && r.subTrack < trackOfKey_.size() ? trackOfKey_[r.subTrack] : OriginTrack(r);
    smf::Message m;
    if (track >= written_.size() || !FromRecord(r, &m)) continue;
    written_[track].Add(m);
    ++summary_.eventsWritten;
  }
}

HRESULT Player::Play(int bufferMs, void (*progress)(double)) {
  IQuilletProcess* process = nullptr;
  HRESULT hr = filter_->QueryInterface(IID_IQuilletProcess, reinterpret_cast<void**>(&process));
  if (FAILED(hr)) return hr;
  // The host plays what its sub-tracks say: a muted one is silent, so is
  // every one but the soloed ones when any is soloed, and a sub-track set
  // to one channel plays its short messages there.
  struct Rule {
    bool plays;
    LONG channel;
  };
  std::vector<Rule> rules;  // by key; a key without a sub-track (deleted) does not play
  bool anySolo = false;
  for (const auto& s : host_->SubTracks()) {
    anySolo = anySolo || s.solo;
    if (s.key >= rules.size()) rules.resize(s.key + 1, Rule{false, -1});
  }
  for (const auto& s : host_->SubTracks()) rules[s.key] = {!s.mute && (!anySolo || s.solo), s.channel};
  summary_.pitchShift = HostValue(QPROP_PITCH_SHIFT, 0);
  summary_.rootNote = HostValue(QPROP_ROOT_NOTE, kNoTransposition);
  const size_t count = host_->EventCount();
  const LONGLONG last = count ? host_->EventTime(count - 1) : 0;
  size_t next = 0;
  bool first = true;
  hostkit::EventBuffer* buffer = hostkit::EventBuffer::Create();
  double reported = 0;
  for (LONGLONG start = 0; next < count || first; first = false) {
    LONGLONG end = start + BufferTicks(bufferMs, start);
    if (!first && host_->EventTime(next) >= end) {
      // Nothing to play until the next event: its buffer starts there.
      start = host_->EventTime(next);
      end = start + BufferTicks(bufferMs, start);
    }
    buffer->Clear();
    size_t inKinds[32] = {}, outKinds[32] = {};  // by type bit
    for (; next < count && host_->EventTime(next) < end; ++next) {
      QUILLET_EVENT e = host_->EventAt(next);
      if (e.subTrack) {
        const Rule* rule = e.subTrack < rules.size() ? &rules[e.subTrack] : nullptr;
        if (!rule || !rule->plays) {  // deleted or silent
          hostkit::FreeEvent(e);
          continue;
        }
        if (!(e.type & QEV_LONG_KINDS) && rule->channel >= 0 && rule->channel <= 15) e.channel = rule->channel;
      }
      if (!ShiftPitch(e, summary_.pitchShift)) {
        ++summary_.droppedByPitch;
        hostkit::FreeEvent(e);
        continue;
      }
      OriginIndex(e) = static_cast<DWORD>(next + 1);
      if (e.type) ++inKinds[__builtin_ctz(e.type)];
      buffer->Add(e);
      hostkit::FreeEvent(e);
    }
    QUILLET_BUFFERINFO info{};
    info.start = start;
    info.flags = QBUF_PLAYBACK | (first ? QBUF_FIRST : 0);
    hr = process->Process(buffer, &info);
    if (FAILED(hr)) break;
    const std::vector<QUILLET_EVENT>& out = buffer->Events();
    for (const auto& e : out) {
      if (e.type) ++outKinds[__builtin_ctz(e.type)];
      int which;
      if (!IsVolumeOrPan(e, &which) || !e.subTrack) continue;
      const DWORD origin = const_cast<QUILLET_EVENT&>(e).reserved12[2];
      if (!origin) {
        ++summary_.injected[which];
      } else {
        QUILLET_EVENT before = host_->EventAt(origin - 1);
        if (before.bytes[1] != e.bytes[1]) ++summary_.changed[which];
      }
    }
    for (int bit = 0; bit < 32; ++bit)
      if (inKinds[bit] > outKinds[bit]) summary_.removedByKind[1u << bit] += inKinds[bit] - outKinds[bit];
    Take(out);
    start = end;
    if (progress && last > 0 && static_cast<double>(start) / last - reported >= 0.01 && start < last) {
      reported = static_cast<double>(start) / last;
      progress(reported);
    }
  }
  buffer->Release();
  process->Release();
  for (size_t t = 0; t < written_.size() && SUCCEEDED(hr); ++t) written_[t].End(ends_[t]);
  if (progress && SUCCEEDED(hr)) progress(1.0);
  return FAILED(hr) ? hr : S_OK;
}

LONG Player::HostValue(DWORD property, LONG otherwise) const {
  const std::vector<BYTE> bytes = host_->Property(property);
  LONG value = otherwise;
  if (bytes.size() == sizeof(value)) std::memcpy(&value, bytes.data(), sizeof(value));
  return value;
}

bool Player::Write(const std::wstring& path, smf::Error* error) const {
  return smf::WriteTracks(path, format_, division_, written_, error);
}

}  // namespace tool
