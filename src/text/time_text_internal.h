// Time position text inside the library: bounded forms of the display
// exports and the pieces the parsers share with the display.
#pragma once
#include <windows.h>

#include "zq/timetext.h"

namespace zq::text::timetext {

// The text of `nanos` in the format's display kind into `out` (capacity in
// characters, terminator included). `text` replaces the table's format
// string when not null. Returns the length written.
int NanoTimeToText(WCHAR* out, int capacity, const ZQPOSFMT& format, LONGLONG nanos, const WCHAR* text,
                   DWORD flags) noexcept;

// The table's format string of a kind (any other kind: "$I64d").
const WCHAR* FormatOf(DWORD kind, bool shortForm) noexcept;

// Clock splitting at `rate` frames per second (type 0 of ZqNanoTimeToHMSF):
// frames rounded to nearest, hours wrapped into the day (negative times
// too). Fills hours to frames of `value`.
void SplitClock(LONGLONG nanos, double rate, ZQSMPTEVAL& value) noexcept;
// hours:minutes:seconds plus frames at `rate` (frames ignored when the rate
// is not positive), rounded to the nearest unit; kNanoOutOfRange when it
// does not fit.
LONGLONG ClockToNanos(ULONGLONG hours, ULONGLONG minutes, ULONGLONG seconds, ULONGLONG frames,
                      double rate) noexcept;

struct MusicTime {
  LONGLONG measures, beats, ticks;
};
MusicTime Measures(LONGLONG nanos, const ZQPOSFMT& format) noexcept;

int MeasuresAndTicksToText(WCHAR* out, int capacity, const ZQPOSFMT& format, LONGLONG measure, LONGLONG ticks,
                           DWORD counting, bool shortForm, LONG tickDivisor) noexcept;
int TicksToText(WCHAR* out, int capacity, const ZQPOSFMT& format, LONGLONG ticks, DWORD counting,
                bool shortForm, LONG tickDivisor) noexcept;

// The SMPTE rate type a display kind shows (0 when it shows none).
DWORD SmpteTypeOf(DWORD kind) noexcept;

}  // namespace zq::text::timetext
