// The time of an event as the event list shows it.
#pragma once
#include <windows.h>

#include "quillet/host.h"

namespace quillet::midi {

// Frames per second of the time formats that count frames.
constexpr double kEventTimeFrameRate = 30.0;

// Writes the time of an event at host time `time` in display kind `kind`
// (ZQPOS_* of zq/timetext.h) into `out` (cleared first; at most `capacity`
// characters, terminator included). Measures and beats (ZQPOS_MBT,
// ZQPOS_MBT_ZERO; `shortForm` leaves out the tick) and clock time
// (ZQPOS_HMS_MILLIS, to the hundredth) are the host's own conversions;
// every other kind is the event's nano time at the host's tempo, shown by
// the library's time text at 30 frames per second.
// S_OK; E_POINTER for a null host or buffer, E_INVALIDARG for capacity <=
// 0; the host's failure (empty text) when it cannot convert; E_UNEXPECTED
// when it reports a timing without ticks or tempo.
HRESULT EventTimeText(IQuilletTimeConvert* host, LONGLONG time, DWORD kind, bool shortForm, WCHAR* out,
                      int capacity) noexcept;

}  // namespace quillet::midi
