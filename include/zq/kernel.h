/// @file
/// Runtime services: platform facts, processor features, timers,
/// temporary strings, GUID text and bit helpers.
#pragma once
#include "zq/base.h"

///@{
/// Processor-feature word (ZqGetCPUSupport).
#define ZQCPU_LEVEL_MASK     0x0000000Fu
#define ZQCPU_LEVEL_486      1
#define ZQCPU_LEVEL_PENTIUM  2
#define ZQCPU_LEVEL_CMOV     3
#define ZQCPU_LEVEL_MMX      4
#define ZQCPU_LEVEL_SSE      5
#define ZQCPU_LEVEL_SSE2     6
#define ZQCPU_MMX            0x00000010u
#define ZQCPU_SSE            0x00000020u
#define ZQCPU_SSE2           0x00000040u
#define ZQCPU_CMOV           0x00000100u
#define ZQCPU_FCMOV          0x00000200u
#define ZQCPU_TSC            0x00000400u
#define ZQCPU_SSE3           0x00001000u
///@}

///@{
/// Requirement codes of ZqOSVersionOK.
#define ZQOS_WIN95           0
#define ZQOS_WIN98           1
#define ZQOS_WIN98SP1        2
#define ZQOS_NT4             4
#define ZQOS_WIN2000         5
#define ZQOS_WINXP           6
///@}

/// A caller's timer stamp: start it with one Delta call.
typedef unsigned __int64 ZQTIMESTAMP;

/// 1 on the Windows 9x platform, else 0 (read once at start-up).
ZQAPI BOOL WINAPI ZqIsWin95(void) ZQ_NOTHROW;
/// Writes the platform's name ("Windows XP", ...) into `name` (truncated to
/// `capacity`, always terminated). 1, or 0 for a platform it does not know.
ZQAPI BOOL WINAPI ZqGetOS(LPWSTR name, int capacity) ZQ_NOTHROW;
/// 1 when the running system meets the requirement (a ZQOS_ code: platform,
/// version and service pack), else 0.
ZQAPI BOOL WINAPI ZqOSVersionOK(int requirement) ZQ_NOTHROW;
/// 1 when the screen has at least 16 bits per pixel (read once).
ZQAPI BOOL WINAPI ZqIsHighColor(void) ZQ_NOTHROW;
/// 1 when every monitor has at least 16 bits per pixel (read once).
ZQAPI BOOL WINAPI ZqIsAllMonitorsHighColor(void) ZQ_NOTHROW;
/// The processor-feature word (ZQCPU_ bits and level) ANDed with `mask`; the
/// whole word for a mask of 0.
ZQAPI DWORD WINAPI ZqGetCPUSupport(DWORD mask) ZQ_NOTHROW;
/// Called from an application's main window procedure with its arguments:
/// WM_SYSCOLORCHANGE re-reads the colour facts, the UI colour table and its
/// drawing objects; WM_DISPLAYCHANGE the colour facts only; other messages
/// are ignored. 0.
ZQAPI LRESULT WINAPI ZqKernel_UserPrefChanges(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) ZQ_NOTHROW;
/// Stores the application's splash window (the library does not act on it) and
/// returns it.
ZQAPI void* WINAPI ZqKernel_SetSplash(void* splash) ZQ_NOTHROW;

/// Marks the late step of timer set-up as done (start-up calls it). 0.
ZQAPI DWORD WINAPI ZqTimer_LateInitialize(void) ZQ_NOTHROW;
/// Milliseconds since the library started (wraps modulo 2^32).
ZQAPI DWORD WINAPI ZqGetMillisec(void) ZQ_NOTHROW;
/// Microseconds since the library started (wraps modulo 2^32).
ZQAPI DWORD WINAPI ZqGetMicrosec(void) ZQ_NOTHROW;
/// Milliseconds since `stamp`; the stamp is unchanged.
ZQAPI DWORD WINAPI ZqGetMillisecEx(const ZQTIMESTAMP* stamp) ZQ_NOTHROW;
/// Microseconds since `stamp`; the stamp is unchanged.
ZQAPI DWORD WINAPI ZqGetMicrosecEx(const ZQTIMESTAMP* stamp) ZQ_NOTHROW;
/// Milliseconds since `stamp`, which is then set to now.
ZQAPI DWORD WINAPI ZqDeltaMillisecEx(ZQTIMESTAMP* stamp) ZQ_NOTHROW;
/// Microseconds since `stamp`, which is then set to now.
ZQAPI DWORD WINAPI ZqDeltaMicrosecEx(ZQTIMESTAMP* stamp) ZQ_NOTHROW;

/// Temporary strings: slots of the language handle's ring, valid until the
/// ring wraps over them. One request is at most 1024 units.
ZQAPI LPWSTR WINAPI ZqGetTempStringBuffer(HZQLANG lang, UINT length) ZQ_NOTHROW;
/// The UTF-16 form of a print string: the same pointer, or a static empty string when the handle
/// has no ring.
ZQAPI LPCWSTR WINAPI ZqGetWideFromPrintString(HZQLANG lang, LPCWSTR text) ZQ_NOTHROW;
/// The print form of a UTF-16 string: the same pointer, or a static empty string when the handle
/// has no ring.
ZQAPI LPCWSTR WINAPI ZqGetPrintFromWideString(HZQLANG lang, LPCWSTR text) ZQ_NOTHROW;
/// A copy of `text` in the ANSI code page, in the ring (an empty string when the conversion fails).
ZQAPI LPCSTR WINAPI ZqGetMultiByteFromPrintString(HZQLANG lang, LPCWSTR text) ZQ_NOTHROW;
/// A UTF-16 copy of an ANSI string, in the ring.
ZQAPI LPCWSTR WINAPI ZqGetPrintFromMultiByteString(HZQLANG lang, LPCSTR text) ZQ_NOTHROW;

/// Writes `guid` as "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" (no braces) into
/// `text` of `capacity` characters. S_OK.
ZQAPI HRESULT WINAPI ZqGuidToString(REFGUID guid, LPWSTR text, int capacity) ZQ_NOTHROW;
/// Reads a GUID written as ZqGuidToString writes it. S_OK; E_FAIL unless all
/// its fields were read.
ZQAPI HRESULT WINAPI ZqGuidFromString(LPCWSTR text, GUID* guid) ZQ_NOTHROW;
/// The number of bits set in `value`.
ZQAPI int WINAPI ZqCountBits(DWORD value) ZQ_NOTHROW;
/// A mask of `count` bits set from bit `first` upwards; 0 for a count of 0 or
/// less.
ZQAPI DWORD WINAPI ZqCreateBitMask(int first, int count) ZQ_NOTHROW;
