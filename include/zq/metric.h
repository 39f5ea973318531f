/// @file
/// The settings store: numbered settings ("metrics") of an application or a
/// service, kept in the registry.
///
/// A metric handle is an open pair of keys: the machine-wide part and the
/// per-user part of one store. Negative metric ids address the machine-wide
/// part, the others the per-user part; the value name is the absolute id in
/// decimal with a prefix by kind (none for numbers, "S" strings, "B" binary,
/// "Z" multi-strings).
#pragma once
#include "zq/base.h"

typedef struct tZQMETRIC* HZQMETRIC;

/// Stands for the module's default metric handle, which is never filled:
/// it behaves as a null handle everywhere.
#define ZQMETRIC_DEFAULT ((HZQMETRIC)(LONG_PTR)-1)

///@{
/// Kind codes of the kind-generic operations: the registry's value types.
#define ZQMETRIC_KIND_STRING       1   ///< REG_SZ, "S%d"
#define ZQMETRIC_KIND_BINARY       3   ///< REG_BINARY, "B%d"
#define ZQMETRIC_KIND_NUMBER       4   ///< REG_DWORD, "%d"
#define ZQMETRIC_KIND_MULTISTRING  7   ///< REG_MULTI_SZ, "Z%d" (any other code)
///@}

/// Version word: major version in bits 31-24, minor in bits 23-16.
#define ZQMETRIC_VERSION(major, minor) ((DWORD)(((major) & 0xFF) << 24 | ((minor) & 0xFF) << 16))

///@{
/// Results of the binary reader beyond the standard codes.
#define ZQ_E_METRIC_NOKEY     ((HRESULT)0x8004E00AL)   ///< no handle or no key for the id's part
#define ZQ_E_METRIC_TOOLARGE  ((HRESULT)0x8004E03CL)   ///< the stored value does not fit the buffer
///@}

///@{
/// Opening and closing. Paths longer than the store's 259-character limit
/// are refused with E_INVALIDARG.
ZQAPI HRESULT WINAPI ZqMetric_Open(HZQMETRIC* handle, LPCWSTR application, DWORD version,
                                   LPCWSTR subKey) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqMetric_OpenService(HZQMETRIC* handle, LPCWSTR service, DWORD version,
                                          LPCWSTR subKey) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqMetric_OpenSubKey(HZQMETRIC* handle, HZQMETRIC existing, LPCWSTR subKey) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqMetric_Close(HZQMETRIC handle) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqMetric_CloseAndDeleteKey(HZQMETRIC handle) ZQ_NOTHROW;
///@}

///@{
/// Deleting whole stores without a handle.
ZQAPI HRESULT WINAPI ZqMetric_DeleteAll(LPCWSTR application, DWORD version) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqMetric_DeleteKey(LPCWSTR application, DWORD version, LPCWSTR subKey) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqMetric_DeleteAllService(LPCWSTR service, DWORD version) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqMetric_DeleteKeyService(LPCWSTR service, DWORD version, LPCWSTR subKey) ZQ_NOTHROW;
///@}

///@{
/// Numbers (REG_DWORD).
ZQAPI LONG WINAPI ZqGetMetric(HZQMETRIC handle, LONG id) ZQ_NOTHROW;
ZQAPI LONG WINAPI ZqGetMetricEx(HZQMETRIC handle, LONG id, LONG minimum, LONG maximum, LONG fallback) ZQ_NOTHROW;
ZQAPI BOOL WINAPI ZqGetMetricBool(HZQMETRIC handle, LONG id, BOOL fallback) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqSetMetric(HZQMETRIC handle, LONG id, LONG value) ZQ_NOTHROW;
ZQAPI LONG WINAPI ZqGetMetricUsingName(HZQMETRIC handle, LPCWSTR name, LONG fallback) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqSetMetricUsingName(HZQMETRIC handle, LPCWSTR name, LONG value) ZQ_NOTHROW;
///@}

///@{
/// Strings (REG_SZ) and multi-strings (REG_MULTI_SZ). The getters return the
/// length placed in the buffer (capacity in characters, terminator
/// included); a stored text that does not fit reads as not stored.
ZQAPI int WINAPI ZqGetMetricStringEx(HZQMETRIC handle, LONG id, LPWSTR buffer, int capacity, LPCWSTR fallback,
                                     BOOL emptyIsSet) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqSetMetricString(HZQMETRIC handle, LONG id, LPCWSTR text) ZQ_NOTHROW;
ZQAPI int WINAPI ZqGetMetricMultiStringEx(HZQMETRIC handle, LONG id, LPWSTR buffer, int capacity,
                                          LPCWSTR fallback, BOOL emptyIsSet) ZQ_NOTHROW;
///@}
/// `length` counts every character of `data`, the final empty string included.
ZQAPI HRESULT WINAPI ZqSetMetricMultiString(HZQMETRIC handle, LONG id, LPCWSTR data, int length) ZQ_NOTHROW;

///@{
/// Binary (REG_BINARY).
ZQAPI DWORD WINAPI ZqGetMetricBinary(HZQMETRIC handle, LONG id, void* buffer, DWORD capacity) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqGetMetricBinaryEx(HZQMETRIC handle, LONG id, void* buffer, DWORD capacity,
                                         DWORD* size) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqSetMetricBinary(HZQMETRIC handle, LONG id, const void* data, DWORD size) ZQ_NOTHROW;
///@}

///@{
/// Kind-generic operations.
ZQAPI HRESULT WINAPI ZqDoesMetricExist(HZQMETRIC handle, LONG id, DWORD kind) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqDeleteMetric(HZQMETRIC handle, LONG id, DWORD kind) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqDeleteMetricUsingName(HZQMETRIC handle, LPCWSTR name, DWORD kind) ZQ_NOTHROW;
///@}
