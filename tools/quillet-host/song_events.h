// Standard MIDI File events to the host's event records and back.
#pragma once
#include "quillet/event.h"
#include "smf.h"

namespace tool {

// Where an event came from, kept in spare words of the record so that the
// written file puts every event back in its track with its own status.
inline DWORD& OriginTrack(QUILLET_EVENT& e) { return e.reserved12[0]; }
inline DWORD& OriginStatus(QUILLET_EVENT& e) { return e.reserved12[1]; }

// The record for `e` of `track`; long kinds get a task-allocated copy of
// their data. `subTrack` is the key of the event's sub-track (0 for none).
QUILLET_EVENT ToRecord(const smf::Event& e, DWORD track, DWORD subTrack);
// The file event for a record; false for records the file cannot hold.
bool FromRecord(const QUILLET_EVENT& record, smf::Event* e);

}  // namespace tool
