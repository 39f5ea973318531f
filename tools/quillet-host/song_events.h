// Standard MIDI File events to the host's event records and back.
#pragma once
#include <vector>

#include "quillet/event.h"
#include "smf.h"

namespace tool {

// Where an event came from, kept in spare words of the record so that the
// written file puts every event back in its track with its own status, and
// the summary can tell a value the filter changed from one it kept.
inline DWORD& OriginTrack(QUILLET_EVENT& e) { return e.reserved12[0]; }
inline DWORD& OriginStatus(QUILLET_EVENT& e) { return e.reserved12[1]; }
inline DWORD& OriginIndex(QUILLET_EVENT& e) { return e.reserved12[2]; }  // position in the host + 1; 0 for new events

// The record for `e` of `track` of `song`, valid until `scratch` or the
// song change: a long kind's data is not copied (the host copies it).
// `subTrack` is the key of the event's sub-track (0 for none).
QUILLET_EVENT ToRecord(const smf::Song& song, const smf::Event& e, DWORD track, DWORD subTrack,
                       std::vector<BYTE>* scratch);
// The file event for a record (a long kind's data stays the record's);
// false for records the file cannot hold.
bool FromRecord(const QUILLET_EVENT& record, smf::Message* m);

// The host's pitch shift, as it plays a track: note on, note off and poly
// pressure move by `semitones`, except on channel 10 (drums). False when
// the note leaves 0-127: the event is not played (its note-off, with the
// same note number, leaves the range too).
bool ShiftPitch(QUILLET_EVENT& e, LONG semitones);

}  // namespace tool
