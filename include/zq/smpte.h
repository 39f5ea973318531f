/// @file
/// SMPTE time code: labels (hours:minutes:seconds:frames at a fixed label
/// rate), absolute frame counts and nano time (100-ns units), 29.97
/// drop-frame counting (labels 00 and 01 skipped at the start of every
/// minute not divisible by ten).
#pragma once
#include "zq/base.h"

///@{
/// Rate types: label rate, real rate, drop-frame, frames per 24 hours.
#define ZQSMPTE_TYPE_NONE      0  ///< no SMPTE rate
#define ZQSMPTE_TYPE_30        1  ///< 30, 30, non-drop, 2,592,000
#define ZQSMPTE_TYPE_2997_DROP 2  ///< 30, 30000/1001, drop, 2,589,408
#define ZQSMPTE_TYPE_25        3  ///< 25, 25, non-drop, 2,160,000
#define ZQSMPTE_TYPE_24        4  ///< 24, 24, non-drop, 2,073,600
#define ZQSMPTE_TYPE_2997      5  ///< 30, 30000/1001, non-drop, 2,592,000
#define ZQSMPTE_TYPE_23976     6  ///< 24, 24000/1001, non-drop, 2,073,600
///@}

/// A time-code label. Also the clock value of the time text functions,
/// where type 0 means frames counted at a caller-given rate.
typedef struct _smpteval {
  DWORD type;  ///< rate type (ZQSMPTE_TYPE_)
  DWORD hours;     ///< 0-23
  DWORD minutes;   ///< 0-59
  DWORD seconds;   ///< 0-59
  DWORD frames;    ///< 0 to label rate - 1
  DWORD reserved;  ///< cleared by parsing
} ZQSMPTEVAL;

/// Fills the label of frame `count` (counted from 00:00:00:00, wrapped at
/// 24 hours) at value->type. Types other than 1, 3, 4, 5 and 6 are labelled
/// as 30-frame drop-frame.
ZQAPI void WINAPI ZQSMPTE_FrameCountToSMPTE(ZQSMPTEVAL* value, DWORD count) ZQ_NOTHROW;
/// The frame count of the label; 0 for type 0 and types above 6. A
/// drop-frame label that does not exist counts as frames 2 of its minute.
ZQAPI DWORD WINAPI ZQSMPTE_SMPTEToFrameCount(const ZQSMPTEVAL* value) ZQ_NOTHROW;
/// a = a + b (or a - b), wrapped into the day of a's type; returns a.
/// Subtracting into a value whose type is not 1-6 gives 00:00:00:00.
ZQAPI ZQSMPTEVAL* WINAPI ZQSMPTE_AddSMPTE(ZQSMPTEVAL* a, const ZQSMPTEVAL* b) ZQ_NOTHROW;
/// a = a - b, wrapped into the day; returns a.
ZQAPI ZQSMPTEVAL* WINAPI ZQSMPTE_SubtractSMPTE(ZQSMPTEVAL* a, const ZQSMPTEVAL* b) ZQ_NOTHROW;
/// -1, 0 or 1 by hours, minutes, seconds, frames; types are not compared.
ZQAPI int WINAPI ZQSMPTE_SMPTECompare(const ZQSMPTEVAL* a, const ZQSMPTEVAL* b) ZQ_NOTHROW;
/// One frame forward or back, wrapping at 24 hours; a drop-frame label that
/// does not exist is never produced. `unused` is ignored.
ZQAPI void WINAPI ZQSMPTE_IncrementByFrame(ZQSMPTEVAL* value, DWORD unused) ZQ_NOTHROW;
/// Steps one frame back (the second argument is ignored).
ZQAPI void WINAPI ZQSMPTE_DeccrementByFrame(ZQSMPTEVAL* value, DWORD unused) ZQ_NOTHROW;
/// The label of the frame that holds nano time `nanos` (negative times and
/// times past 24 hours wrap into the day).
ZQAPI void WINAPI ZQSMPTE_NanoToSMPTE(LONGLONG nanos, ZQSMPTEVAL* value) ZQ_NOTHROW;
/// The first 100-ns unit at or after the frame's start.
ZQAPI LONGLONG WINAPI ZQSMPTE_SMPTEToNanos(const ZQSMPTEVAL* value) ZQ_NOTHROW;
/// The label read as non-drop at `rate` frames per second, for any type. A
/// rate that is not a positive number ignores the frames. A result outside
/// the signed 64-bit range gives the most negative value.
ZQAPI LONGLONG WINAPI ZQSMPTE_SmpteLikeToNanos(double rate, const ZQSMPTEVAL* value) ZQ_NOTHROW;
/// Reads typed time code: any non-digit separates fields, runs of more than
/// two digits split into pairs from the right ("1234" = 12 34), the last
/// field is frames, missing leading fields are 0, and fields past the fourth
/// are not read. Values carry upward (frames at the label rate, except for
/// type 0; seconds and minutes at 60; hours wrap at 24). Keeps the type and
/// clears the other fields. A null text reads as empty.
ZQAPI void WINAPI ZQSMPTE_TextToSMPTE(LPCWSTR text, ZQSMPTEVAL* value) ZQ_NOTHROW;
