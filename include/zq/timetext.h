/// @file
/// Time position text: nano time (signed 64-bit count of 100-ns units,
/// 10,000,000 per second) shown in one of nineteen display kinds and parsed
/// back from loose user text.
#pragma once
#include "zq/base.h"
#include "zq/smpte.h"

///@{
/// Display kinds (full format / short format).
#define ZQPOS_SAMPLES        0   ///< "$I64d"
#define ZQPOS_HMS_MILLIS     1   ///< "%02u$:%02u$:%02u$*%03u" / "%02u$:%02u$:%02u"
#define ZQPOS_SECONDS        2   ///< "$.3f" / "$.0f"
#define ZQPOS_HMS_FRAMES     3   ///< "%02u$:%02u$:%02u$*%02u" / "%02u$:%02u$:%02u"
#define ZQPOS_FRAMES         4   ///< "$.3f" / "$.0f"
#define ZQPOS_MBT            5   ///< "$u$&:%u$&.%03u" / "$u$&:%u", counted from 1
#define ZQPOS_SMPTE_2997     6   ///< "%02u:%02u:%02u:%02u"
#define ZQPOS_SMPTE_30       7   ///< "%02u:%02u:%02u:%02u"
#define ZQPOS_SMPTE_2997DROP 8   ///< "%02u:%02u:%02u;%02u"
#define ZQPOS_SMPTE_25       9   ///< "%02u:%02u:%02u:%02u"
#define ZQPOS_SMPTE_24       10  ///< "%02u:%02u:%02u:%02u"
#define ZQPOS_NANOS          11  ///< "$I64d"
#define ZQPOS_MICROSECONDS   12  ///< "$I64d"
#define ZQPOS_MBT_ZERO       13  ///< as 5, counted from 0
#define ZQPOS_BEATS          14  ///< "$.3f" / "$.0f"
#define ZQPOS_FEET_FRAMES_35 15  ///< "$I64d+$I64d", 40 frames per foot
#define ZQPOS_FEET_FRAMES_16 16  ///< "$I64d+$I64d", 16 frames per foot
#define ZQPOS_CD             17  ///< "%02u:%02u:%02u:%02u" / "%02u$:%02u$:%02u", 75 frames per second
#define ZQPOS_SMPTE_23976    18  ///< "%02u:%02u:%02u:%02u"
///@}

///@{
/// Display flags.
#define ZQPOS_SHORT  0x1  ///< whole units only
#define ZQPOS_LENGTH 0x2  ///< a length: no origin; measures and beats count from 0
///@}
/// Parse flags: ZQPOS_SHORT, ZQPOS_LENGTH (no origin added; kind 5 does not
/// count from 1) and:
#define ZQPOS_CLAMP  0x4  ///< apply the default and clamp to minimum..maximum

///@{
/// Counting mode of the measure/beat/tick functions.
#define ZQPOS_COUNT_FROM_ZERO 0
#define ZQPOS_COUNT_FROM_ONE  1
///@}

/// What a display kind needs. A zero (or not positive) tempo, frame rate,
/// sample rate, beats per measure or ticks per quarter makes the values that
/// depend on it 0; a zero beat unit reads as a quarter note.
typedef struct _zqposfmt {
  DWORD kind;  ///< display kind (ZQPOS_)
  LONG sampleRate;         ///< samples per second (kind 0)
  double frameRate;        ///< frames per second (kinds 3, 4, 15, 16)
  double tempo;            ///< beats per minute (kinds 5, 13, 14)
  LONGLONG origin;         ///< nano time shown as zero
  WORD beatUnit;           ///< time-signature denominator (4 = quarter)
  WORD beatsPerMeasure;    ///< time-signature numerator
  LONG ticksPerQuarter;  ///< ticks per quarter note (kinds 5, 13, 14)
} ZQPOSFMT;

#ifdef __cplusplus
static_assert(sizeof(ZQPOSFMT) == 40, "position format");
#endif

///@{
/// Text of the table formats fits ZQPOS_TEXT_CAPACITY characters; buffers of
/// the functions below without a capacity argument must hold that many.
/// ZqNanoTimeToTextFormat writes at most ZQPOS_FORMAT_CAPACITY. Longer text
/// is cut. Each returns the length written (a leading "-" included).
#define ZQPOS_TEXT_CAPACITY   64
#define ZQPOS_FORMAT_CAPACITY 260
///@}

/// Writes `nanos` in the display kind of `format` (short form when asked); the characters written,
/// a leading "-" included.
ZQAPI int WINAPI ZqNanoTimeToText(LPWSTR buffer, const ZQPOSFMT* format, LONGLONG nanos, BOOL shortForm) ZQ_NOTHROW;
/// As ZqNanoTimeToText, with display flags (ZQPOS_SHORT, ZQPOS_LENGTH).
ZQAPI int WINAPI ZqNanoTimeToTextEx(LPWSTR buffer, const ZQPOSFMT* format, LONGLONG nanos, DWORD flags) ZQ_NOTHROW;
/// `text` (null: the table's) replaces the table's format string; it receives the kind's values
/// in the table's order and types (clock kinds: four DWORDs; kinds 0, 11,
/// 12: one LONGLONG; 2, 4, 14: a double, or a LONGLONG for exactly "$.0f";
/// 5 and 13: three DWORDs; 15 and 16: two LONGLONGs).
ZQAPI int WINAPI ZqNanoTimeToTextFormat(LPWSTR buffer, const ZQPOSFMT* format, LONGLONG nanos, LPCWSTR text,
                                        DWORD flags) ZQ_NOTHROW;

/// Clock splitting: SMPTE types 1-6 give their label; otherwise frames are
/// counted at `rate` (rounded to the nearest frame) and hours wrap at 24.
ZQAPI void WINAPI ZqNanoTimeToHMSF(LONGLONG nanos, ZQSMPTEVAL* value, double rate) ZQ_NOTHROW;
/// The inverse; a result outside the signed 64-bit range gives the most
/// negative value.
ZQAPI LONGLONG WINAPI ZqHMSFToNanoTime(const ZQSMPTEVAL* value, double rate) ZQ_NOTHROW;
/// Zero-based measures, beats and ticks of `nanos` at the format's tempo
/// (any out pointer may be null); returns the ticks.
ZQAPI LONGLONG WINAPI ZqNanoTimeToMeasures(LONGLONG nanos, const ZQPOSFMT* format, LONGLONG* measures,
                                           LONGLONG* beats, LONGLONG* ticks) ZQ_NOTHROW;
/// "measure.beat.tick" (short: "measure.beat") of a measure and the ticks
/// within it; ticks per beat = ticks per quarter x 4 / beat unit; the tick is
/// divided by `tickDivisor` (0 = 1).
ZQAPI int WINAPI ZqMeasuresAndTicksToText(LPWSTR buffer, const ZQPOSFMT* format, LONGLONG measure,
                                          LONGLONG ticks, DWORD counting, BOOL shortForm,
                                          LONG tickDivisor) ZQ_NOTHROW;
/// The same for a tick count split into measures of beats per measure x
/// ticks per quarter (floor division).
ZQAPI int WINAPI ZqTicksToText(LPWSTR buffer, const ZQPOSFMT* format, LONGLONG ticks, DWORD counting,
                               BOOL shortForm, LONG tickDivisor) ZQ_NOTHROW;

// ---- Parsers -------------------------------------------------------------
// Any non-digit separates fields; a trailing separator implies a zero field
// after it; missing leading fields are 0. `end` (when given) receives the
// character after the last field used (the first non-blank character when
// none was found). A value that cannot be held in nano time gives the most
// negative value.

/// Reads a time in the display kind of `format`; `defaultValue` when nothing usable was found,
/// clamped to minimum..maximum.
ZQAPI LONGLONG WINAPI ZqTextToNanoTimeToken2(LPCWSTR text, const ZQPOSFMT* format, LONGLONG defaultValue,
                                             LONGLONG minimum, LONGLONG maximum, DWORD flags,
                                             LPCWSTR* end) ZQ_NOTHROW;
/// As ZqTextToNanoTimeToken2 without default and limits.
ZQAPI LONGLONG WINAPI ZqTextToNanoTimeToken(LPCWSTR text, const ZQPOSFMT* format, BOOL shortForm,
                                            LPCWSTR* end) ZQ_NOTHROW;
/// As ZqTextToNanoTimeToken2 with a short-form flag.
ZQAPI LONGLONG WINAPI ZqTextToNanoTimeTokenEx(LPCWSTR text, const ZQPOSFMT* format, BOOL shortForm,
                                              LONGLONG defaultValue, LONGLONG minimum, LONGLONG maximum,
                                              LPCWSTR* end) ZQ_NOTHROW;
/// Milliseconds: hours, minutes, seconds (and, full form, a fraction).
ZQAPI LONGLONG WINAPI ZqTextToTimeToken(LPCWSTR text, const ZQPOSFMT* format, BOOL shortForm,
                                        LPCWSTR* end) ZQ_NOTHROW;
/// Hours, minutes, seconds (and, full form, frames at the format's frame rate).
ZQAPI LONGLONG WINAPI ZqTextToHMSFToken(LPCWSTR text, const ZQPOSFMT* format, BOOL shortForm,
                                        LPCWSTR* end) ZQ_NOTHROW;
/// Reads feet and frames (16 or, with the flag, 40 frames a foot); nano time.
ZQAPI LONGLONG WINAPI ZqTextToFeetAndFramesToken(LPCWSTR text, const ZQPOSFMT* format, BOOL fortyPerFoot) ZQ_NOTHROW;
/// Kinds 5 and 13: measure, beat (and, full form, tick).
ZQAPI LONGLONG WINAPI ZqTextToMusicTimeToken(LPCWSTR text, const ZQPOSFMT* format, DWORD flags,
                                             LPCWSTR* end) ZQ_NOTHROW;
/// Total ticks of "measure beat tick" (fields from the left, a leading "-"
/// negates the measure): (measure x beats per measure + beat) x ticks per
/// quarter + tick x tickUnit.
ZQAPI LONGLONG WINAPI ZqTextToMeasuresBeatsTicks(LPCWSTR text, const ZQPOSFMT* format, DWORD counting,
                                                 LONG tickUnit, LONGLONG* measures, LONGLONG* beats,
                                                 LONGLONG* ticks) ZQ_NOTHROW;
/// Total ticks of "measure beat tick" text for the counting mode and tick unit.
ZQAPI LONGLONG WINAPI ZqTextToTicks(LPCWSTR text, const ZQPOSFMT* format, DWORD counting, LONG tickUnit) ZQ_NOTHROW;
