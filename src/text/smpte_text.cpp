// Typed time code to a label.
#include "text/smpte_internal.h"
#include "text/time_text_fields.h"

namespace zq::text::smpte {

const WCHAR* ParseText(const WCHAR* text, ZQSMPTEVAL& value, int units) noexcept {
  using namespace timefields;
  value.hours = value.minutes = value.seconds = value.frames = value.reserved = 0;
  Rules rules;
  rules.pairs = true;
  const Fields fields = Split(text, rules);
  ULONGLONG unit[4];  // hours, minutes, seconds, frames; each at most 99
  const int used = RightAligned(fields, units, unit);
  if (units == 3) unit[3] = 0;
  DWORD hours = static_cast<DWORD>(unit[0]), minutes = static_cast<DWORD>(unit[1]);
  DWORD seconds = static_cast<DWORD>(unit[2]), frames = static_cast<DWORD>(unit[3]);

  const Rate& rate = RateOf(value.type);
  if (rate.known) {
    seconds += frames / rate.label;
    frames %= rate.label;
  }
  minutes += seconds / 60;
  seconds %= 60;
  hours += minutes / 60;
  minutes %= 60;
  value.hours = hours % 24;
  value.minutes = minutes;
  value.seconds = seconds;
  value.frames = frames;
  return EndAfter(fields, used);
}

}  // namespace zq::text::smpte

ZQAPI void WINAPI ZQSMPTE_TextToSMPTE(LPCWSTR text, ZQSMPTEVAL* value) noexcept {
  if (value) zq::text::smpte::ParseText(text, *value, 4);
}
