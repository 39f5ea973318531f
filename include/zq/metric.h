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

/// A metric handle: the settings store of one application (or service) and version.
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

// Opening and closing. Paths longer than the store's 259-character limit
// are refused with E_INVALIDARG.
/// Opens (creating when needed) the machine-wide and per-user keys of an
/// application's store for `version` (and `subKey`). S_OK even when a key
/// cannot be created (that part then stays unset); E_POINTER for a null
/// `handle`; E_OUTOFMEMORY; E_INVALIDARG for a path past the limit.
ZQAPI HRESULT WINAPI ZqMetric_Open(HZQMETRIC* handle, LPCWSTR application, DWORD version,
                                   LPCWSTR subKey) ZQ_NOTHROW;
/// As ZqMetric_Open with the service paths; both keys are created under HKEY_LOCAL_MACHINE.
ZQAPI HRESULT WINAPI ZqMetric_OpenService(HZQMETRIC* handle, LPCWSTR service, DWORD version,
                                          LPCWSTR subKey) ZQ_NOTHROW;
/// Opens a second handle for the same application and version as an existing handle, on the
/// given sub-key.
ZQAPI HRESULT WINAPI ZqMetric_OpenSubKey(HZQMETRIC* handle, HZQMETRIC existing, LPCWSTR subKey) ZQ_NOTHROW;
/// Closes the user key, then the machine key, and frees the record. A null
/// handle is accepted. S_OK.
ZQAPI HRESULT WINAPI ZqMetric_Close(HZQMETRIC handle) ZQ_NOTHROW;
/// Closes both keys, deletes the per-user path under `HKEY_CURRENT_USER` and the machine
/// path under `HKEY_LOCAL_MACHINE` (recursively, `ZqRegDeleteKey`), frees the record. `E_FAIL` for
/// a null handle.
ZQAPI HRESULT WINAPI ZqMetric_CloseAndDeleteKey(HZQMETRIC handle) ZQ_NOTHROW;

// Deleting whole stores without a handle.
/// Deletes an application's Metrics key for `version` under HKEY_LOCAL_MACHINE,
/// then under HKEY_CURRENT_USER. S_OK.
ZQAPI HRESULT WINAPI ZqMetric_DeleteAll(LPCWSTR application, DWORD version) ZQ_NOTHROW;
/// `S_OK`: deletes the sub-key path (or the Metrics key itself when the name is null) under both
/// roots, machine first.
ZQAPI HRESULT WINAPI ZqMetric_DeleteKey(LPCWSTR application, DWORD version, LPCWSTR subKey) ZQ_NOTHROW;
/// `S_OK`: the same for the service paths, `HKEY_LOCAL_MACHINE` only.
ZQAPI HRESULT WINAPI ZqMetric_DeleteAllService(LPCWSTR service, DWORD version) ZQ_NOTHROW;
/// As ZqMetric_DeleteKey, for the service paths (HKEY_LOCAL_MACHINE only). S_OK.
ZQAPI HRESULT WINAPI ZqMetric_DeleteKeyService(LPCWSTR service, DWORD version, LPCWSTR subKey) ZQ_NOTHROW;

// Numbers (REG_DWORD).
/// The stored number; 0 when there is no handle, no key, no such value or
/// not a 4-byte REG_DWORD.
ZQAPI LONG WINAPI ZqGetMetric(HZQMETRIC handle, LONG id) ZQ_NOTHROW;
/// The stored number or, when it cannot be read, `default`; then clamped: if minimum equals maximum
/// no clamping happens; otherwise a value below minimum becomes minimum and a value above maximum
/// becomes maximum. The default is clamped too.
ZQAPI LONG WINAPI ZqGetMetricEx(HZQMETRIC handle, LONG id, LONG minimum, LONG maximum, LONG fallback) ZQ_NOTHROW;
/// 1 if the stored number is non-zero, 0 if it is zero; when it cannot be read, 1 or 0 according to
/// `default`.
ZQAPI BOOL WINAPI ZqGetMetricBool(HZQMETRIC handle, LONG id, BOOL fallback) ZQ_NOTHROW;
/// `S_OK`, or `E_FAIL` when there is no handle or key or the write fails. Writes a 4-byte
/// `REG_DWORD`.
ZQAPI HRESULT WINAPI ZqSetMetric(HZQMETRIC handle, LONG id, LONG value) ZQ_NOTHROW;
/// As ZqGetMetric, for a REG_DWORD addressed by its name in the per-user part.
ZQAPI LONG WINAPI ZqGetMetricUsingName(HZQMETRIC handle, LPCWSTR name, LONG fallback) ZQ_NOTHROW;
/// As ZqSetMetric, for a REG_DWORD addressed by its name in the per-user part.
ZQAPI HRESULT WINAPI ZqSetMetricUsingName(HZQMETRIC handle, LPCWSTR name, LONG value) ZQ_NOTHROW;

/// Strings (REG_SZ) and multi-strings (REG_MULTI_SZ). The getters return the
/// length placed in the buffer (capacity in characters, terminator
/// included); a stored text that does not fit reads as not stored.
ZQAPI int WINAPI ZqGetMetricStringEx(HZQMETRIC handle, LONG id, LPWSTR buffer, int capacity, LPCWSTR fallback,
                                     BOOL emptyIsSet) ZQ_NOTHROW;
/// Writes `REG_SZ` of (length + 1) x 2 bytes, terminator included.
ZQAPI HRESULT WINAPI ZqSetMetricString(HZQMETRIC handle, LONG id, LPCWSTR text) ZQ_NOTHROW;
/// Identical to `ZqGetMetricStringEx` with value-name format "Z\%d" and type `REG_MULTI_SZ`.
ZQAPI int WINAPI ZqGetMetricMultiStringEx(HZQMETRIC handle, LONG id, LPWSTR buffer, int capacity,
                                          LPCWSTR fallback, BOOL emptyIsSet) ZQ_NOTHROW;
/// `length` counts every character of `data`, the final empty string included.
ZQAPI HRESULT WINAPI ZqSetMetricMultiString(HZQMETRIC handle, LONG id, LPCWSTR data, int length) ZQ_NOTHROW;

// Binary (REG_BINARY).
/// The number of bytes read; 0 when not stored, of another type or larger
/// than the buffer. The rest of the buffer is zeroed.
ZQAPI DWORD WINAPI ZqGetMetricBinary(HZQMETRIC handle, LONG id, void* buffer, DWORD capacity) ZQ_NOTHROW;
/// As ZqGetMetricBinary, with the size read back and the codes ZQ_E_METRIC_NOKEY and
/// ZQ_E_METRIC_TOOLARGE.
ZQAPI HRESULT WINAPI ZqGetMetricBinaryEx(HZQMETRIC handle, LONG id, void* buffer, DWORD capacity,
                                         DWORD* size) ZQ_NOTHROW;
/// Stores `size` bytes as a REG_BINARY value.
ZQAPI HRESULT WINAPI ZqSetMetricBinary(HZQMETRIC handle, LONG id, const void* data, DWORD size) ZQ_NOTHROW;

// Kind-generic operations.
/// S_OK when a value of that id exists with exactly that kind's registry
/// type; S_FALSE otherwise, also without a handle or key.
ZQAPI HRESULT WINAPI ZqDoesMetricExist(HZQMETRIC handle, LONG id, DWORD kind) ZQ_NOTHROW;
/// `S_OK` when deleted, `E_FAIL` when the delete fails (also when the value does not exist),
/// `S_FALSE` when there is no handle or key.
ZQAPI HRESULT WINAPI ZqDeleteMetric(HZQMETRIC handle, LONG id, DWORD kind) ZQ_NOTHROW;
/// As `ZqDeleteMetric`, for a named value in the per-user part; the kind code is not used for the
/// name.
ZQAPI HRESULT WINAPI ZqDeleteMetricUsingName(HZQMETRIC handle, LPCWSTR name, DWORD kind) ZQ_NOTHROW;
