// The host's pitch shift as quillet-host plays a track: which events move,
// which stay, and which leave the range and are not played.
#include <gtest/gtest.h>
#include <windows.h>

#include "song_events.h"

namespace {

QUILLET_EVENT Short(DWORD type, LONG channel, BYTE b0, BYTE b1 = 64) {
  QUILLET_EVENT e{};
  e.type = type;
  e.channel = channel;
  e.bytes[0] = b0;
  e.bytes[1] = b1;
  return e;
}

TEST(PitchShift, MovesNotesButNotDrumsNorOtherKinds) {
  struct Case {
    DWORD type;
    LONG channel;
    BYTE note;
    LONG semitones;
    bool played;
    BYTE after;
  };
  const Case cases[] = {
      {QEV_NOTE, 0, 60, 2, true, 62},
      {QEV_NOTE_OFF, 0, 60, 2, true, 62},          // the note-off follows its note
      {QEV_POLY_PRESSURE, 3, 60, -12, true, 48},
      {QEV_NOTE, 9, 36, 5, true, 36},              // channel 10: drums keep their keys
      {QEV_CONTROL, 0, 7, 5, true, 7},             // a controller number is no note
      {QEV_PITCH_BEND, 0, 0, 5, true, 0},
      {QEV_NOTE, 0, 125, 2, true, 127},
      {QEV_NOTE, 0, 126, 2, false, 126},           // past 127: not played ...
      {QEV_NOTE_OFF, 0, 126, 2, false, 126},       // ... and neither is its note-off
      {QEV_NOTE, 0, 1, -2, false, 1},              // below 0
      {QEV_NOTE, 0, 24, -24, true, 0},
      {QEV_NOTE, 0, 60, 0, true, 60},
  };
  for (const Case& c : cases) {
    QUILLET_EVENT e = Short(c.type, c.channel, c.note);
    EXPECT_EQ(tool::ShiftPitch(e, c.semitones), c.played) << c.type << " " << int(c.note) << " " << c.semitones;
    EXPECT_EQ(e.bytes[0], c.after) << c.type << " " << int(c.note) << " " << c.semitones;
    EXPECT_EQ(e.bytes[1], 64);  // the velocity stays
  }
}

}  // namespace
