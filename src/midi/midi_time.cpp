#include "midi/midi_time.h"

#include <climits>

#include "core/text_copy.h"
#include "midi/midi_ids.h"
#include "midi/midi_text.h"
#include "zq/timetext.h"

namespace quillet::midi {
namespace {

// The host tells no sample rate; sample counts are shown at the CD rate.
constexpr LONG kSampleRate = 44100;
constexpr LONGLONG kNanosPerMicro = 10;

HRESULT MeasuresAndBeats(IQuilletTimeConvert* host, LONGLONG time, bool shortForm, WCHAR* out,
                         int capacity) noexcept {
  LONG mbt[4] = {};
  HRESULT hr = host->Convert(QTIME_MBT, time, mbt);
  if (FAILED(hr)) return hr;
  LONG measure = mbt[0], beat = mbt[1], tick = mbt[2];
  if (mbt[3]) {  // the host counts from zero
    if (measure) --measure;
    if (beat) --beat;
  }
  if (shortForm) PrintId(out, capacity, IDS_MIDI_FMT_MEASURE_BEAT, measure, beat);
  else PrintId(out, capacity, IDS_MIDI_FMT_MBT, measure, beat, tick);
  return S_OK;
}

HRESULT Clock(IQuilletTimeConvert* host, LONGLONG time, WCHAR* out, int capacity) noexcept {
  LONG clock[4] = {};
  HRESULT hr = host->Convert(QTIME_CLOCK, time, clock);
  if (FAILED(hr)) return hr;
  PrintId(out, capacity, IDS_MIDI_FMT_CLOCK, clock[0], clock[1], clock[2], clock[3]);
  return S_OK;
}

// ticks x microseconds per quarter / ticks per quarter, in 100-ns units,
// saturated to the range of nano time.
LONGLONG TicksToNanos(LONGLONG ticks, LONG ticksPerQuarter, LONG microsPerQuarter) noexcept {
  const LONGLONG perQuarter = static_cast<LONGLONG>(microsPerQuarter) * kNanosPerMicro;
  LONGLONG quarters = ticks / ticksPerQuarter;
  LONGLONG rest = ticks % ticksPerQuarter;
  if (quarters > LLONG_MAX / perQuarter - 1) return LLONG_MAX;
  if (quarters < LLONG_MIN / perQuarter + 1) return LLONG_MIN;
  return quarters * perQuarter + rest * perQuarter / ticksPerQuarter;
}

HRESULT NanoTime(IQuilletTimeConvert* host, LONGLONG time, DWORD kind, bool shortForm, WCHAR* out,
                 int capacity) noexcept {
  LONG timing[4] = {};  // ticks per quarter, microseconds per quarter, numerator, denominator
  HRESULT hr = host->Convert(QTIME_TIMING, time, timing);
  if (FAILED(hr)) return hr;
  if (timing[0] <= 0 || timing[1] <= 0) return E_UNEXPECTED;
  ZQPOSFMT format{};
  format.kind = kind;
  format.sampleRate = kSampleRate;
  format.frameRate = kEventTimeFrameRate;
  format.tempo = 60000000.0 / timing[1];
  format.beatsPerMeasure = static_cast<WORD>(timing[2] > 0 && timing[2] <= 0xFFFF ? timing[2] : 4);
  format.beatUnit = static_cast<WORD>(timing[3] > 0 && timing[3] <= 0xFFFF ? timing[3] : 4);
  format.ticksPerQuarter = timing[0];
  WCHAR text[ZQPOS_TEXT_CAPACITY];
  ZqNanoTimeToText(text, &format, TicksToNanos(time, timing[0], timing[1]), shortForm);
  zq::core::CopyText(out, capacity, text);
  return S_OK;
}

}  // namespace

HRESULT EventTimeText(IQuilletTimeConvert* host, LONGLONG time, DWORD kind, bool shortForm, WCHAR* out,
                      int capacity) noexcept {
  if (!out) return E_POINTER;
  if (capacity <= 0) return E_INVALIDARG;
  out[0] = 0;
  if (!host) return E_POINTER;
  HRESULT hr;
  switch (kind) {
    case ZQPOS_MBT:
    case ZQPOS_MBT_ZERO: hr = MeasuresAndBeats(host, time, shortForm, out, capacity); break;
    case ZQPOS_HMS_MILLIS: hr = Clock(host, time, out, capacity); break;
    default: hr = NanoTime(host, time, kind, shortForm, out, capacity); break;
  }
  if (FAILED(hr)) out[0] = 0;
  return hr;
}

}  // namespace quillet::midi
