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

ZQAPI BOOL WINAPI ZqIsWin95(void) ZQ_NOTHROW;
ZQAPI BOOL WINAPI ZqGetOS(LPWSTR name, int capacity) ZQ_NOTHROW;
ZQAPI BOOL WINAPI ZqOSVersionOK(int requirement) ZQ_NOTHROW;
ZQAPI BOOL WINAPI ZqIsHighColor(void) ZQ_NOTHROW;
ZQAPI BOOL WINAPI ZqIsAllMonitorsHighColor(void) ZQ_NOTHROW;
ZQAPI DWORD WINAPI ZqGetCPUSupport(DWORD mask) ZQ_NOTHROW;
ZQAPI LRESULT WINAPI ZqKernel_UserPrefChanges(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) ZQ_NOTHROW;
ZQAPI void* WINAPI ZqKernel_SetSplash(void* splash) ZQ_NOTHROW;

ZQAPI DWORD WINAPI ZqTimer_LateInitialize(void) ZQ_NOTHROW;
ZQAPI DWORD WINAPI ZqGetMillisec(void) ZQ_NOTHROW;
ZQAPI DWORD WINAPI ZqGetMicrosec(void) ZQ_NOTHROW;
ZQAPI DWORD WINAPI ZqGetMillisecEx(const ZQTIMESTAMP* stamp) ZQ_NOTHROW;
ZQAPI DWORD WINAPI ZqGetMicrosecEx(const ZQTIMESTAMP* stamp) ZQ_NOTHROW;
ZQAPI DWORD WINAPI ZqDeltaMillisecEx(ZQTIMESTAMP* stamp) ZQ_NOTHROW;
ZQAPI DWORD WINAPI ZqDeltaMicrosecEx(ZQTIMESTAMP* stamp) ZQ_NOTHROW;

///@{
/// Temporary strings: slots of the language handle's ring, valid until the
/// ring wraps over them. One request is at most 1024 units.
ZQAPI LPWSTR WINAPI ZqGetTempStringBuffer(HZQLANG lang, UINT length) ZQ_NOTHROW;
ZQAPI LPCWSTR WINAPI ZqGetWideFromPrintString(HZQLANG lang, LPCWSTR text) ZQ_NOTHROW;
ZQAPI LPCWSTR WINAPI ZqGetPrintFromWideString(HZQLANG lang, LPCWSTR text) ZQ_NOTHROW;
ZQAPI LPCSTR WINAPI ZqGetMultiByteFromPrintString(HZQLANG lang, LPCWSTR text) ZQ_NOTHROW;
ZQAPI LPCWSTR WINAPI ZqGetPrintFromMultiByteString(HZQLANG lang, LPCSTR text) ZQ_NOTHROW;
///@}

ZQAPI HRESULT WINAPI ZqGuidToString(REFGUID guid, LPWSTR text, int capacity) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqGuidFromString(LPCWSTR text, GUID* guid) ZQ_NOTHROW;
ZQAPI int WINAPI ZqCountBits(DWORD value) ZQ_NOTHROW;
ZQAPI DWORD WINAPI ZqCreateBitMask(int first, int count) ZQ_NOTHROW;
