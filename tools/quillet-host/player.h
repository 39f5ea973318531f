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
};

struct Summary {
  size_t eventsRead = 0, eventsWritten = 0;
  std::map<DWORD, size_t> removedByKind;
  size_t rewritten[2] = {}, injected[2] = {};  // controller 7, controller 10
};

class Player {
 public:
  Player(IQuilletFilter* filter, const smf::Song& song);
  ~Player();
  // Sub-tracks, one per track and channel used there.
  const std::vector<SubTrackInfo>& SubTracks() const { return subTracks_; }
  HRESULT Connect();
  // Plays the whole song; `progress` is called with the share done (0..1).
  HRESULT Play(int bufferMs, void (*progress)(double));
  // The song as the plug-in left it, in the input's format and division.
  smf::Song Result() const;
  const Summary& GetSummary() const { return summary_; }
  hostkit::Host* Host() const { return host_; }

 private:
  LONGLONG BufferTicks(int bufferMs, LONGLONG at) const;

  IQuilletFilter* filter_;
  const smf::Song& song_;
  hostkit::Host* host_;
  std::vector<SubTrackInfo> subTracks_;
  std::vector<QUILLET_EVENT> output_;
  std::vector<std::pair<LONGLONG, LONG>> tempoMap_;  // tick, microseconds per quarter
  Summary summary_;
  bool connected_ = false;
};

}  // namespace tool
