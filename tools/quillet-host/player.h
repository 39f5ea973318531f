// Plays a song through the plug-in, buffer by buffer, on the in-memory host.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "hostkit.h"
#include "smf.h"

namespace tool {

struct SubTrackInfo {
  DWORD key;
  DWORD track;  // index in the file
  LONG channel;
  int firstVolume, firstPan;  // the first controller 7 and 10 values; -1 where there is none
};

struct Summary {
  size_t eventsRead = 0, eventsWritten = 0;
  std::map<DWORD, size_t> removedByKind;
  size_t changed[2] = {}, injected[2] = {};  // controller 7, controller 10: values the filter changed or added
  LONG pitchShift = 0;        // semitones the host moved the notes by
  LONG rootNote = 127;        // the track's root note; 127: none
  size_t droppedByPitch = 0;  // note events the pitch shift moved out of 0-127
};

// The root note's "no transposition" value.
constexpr LONG kNoTransposition = 127;

class Player {
 public:
  // Moves the song's events into the host, merged in time order; the song
  // keeps its header and track ends.
  Player(IQuilletFilter* filter, smf::Song& song);
  ~Player();
  // Sub-tracks, one per track and channel used there, numbered in the
  // order they first appear.
  const std::vector<SubTrackInfo>& SubTracks() const { return subTracks_; }
  HRESULT Connect();
  // Plays the whole song; `progress` is called with the share done (0..1),
  // last with 1.
  HRESULT Play(int bufferMs, void (*progress)(double));
  // The song as the plug-in left it, in the input's format and division,
  // once played.
  bool Write(const std::wstring& path, smf::Error* error) const;
  const Summary& GetSummary() const { return summary_; }
  hostkit::Host* Host() const { return host_; }

 private:
  LONGLONG BufferTicks(int bufferMs, LONGLONG at);
  // A LONG host property, or `otherwise` when the host has none.
  LONG HostValue(DWORD property, LONG otherwise) const;
  void Take(const std::vector<QUILLET_EVENT>& events);

  IQuilletFilter* filter_;
  int16_t division_;
  hostkit::Host* host_;
  std::vector<SubTrackInfo> subTracks_;
  std::vector<DWORD> trackOfKey_;  // by sub-track key
  int format_;
  std::vector<smf::TrackWriter> written_;  // the output, encoded as it is played
  std::vector<uint32_t> ends_;             // each track's end tick
  std::vector<std::pair<LONGLONG, LONG>> tempoMap_;  // tick, microseconds per quarter
  size_t tempoAt_ = 0;  // tempo events already in force
  LONG tempo_ = 500000;
  Summary summary_;
  bool connected_ = false;
};

}  // namespace tool
