/// @file
/// Files and paths: path strings (the separator is `\`, and `:` also ends
/// a drive prefix), long names, file facts, unique temporary files,
/// folders, disk space and byte-size texts. Paths hold at most 260
/// characters. A capacity is the caller's buffer size in characters,
/// terminator included; lengths leave the terminator out. Nothing writes
/// past a capacity: string operations that cannot fit their result return
/// 0 (or an empty buffer) and leave their input alone.
#pragma once
#include "zq/base.h"

/// Texts written into buffers that come without a capacity (disk space,
/// byte sizes) never exceed this many characters, terminator included.
#define ZQ_SIZE_TEXT_CAPACITY 64

// ---- splitting and composing ------------------------------------------------
/// After the last `:` or `\`, or the path itself.
ZQAPI LPCWSTR WINAPI ZqGetFileNamePtrW(LPCWSTR path) ZQ_NOTHROW;
/// As ZqGetFileNamePtrW, for an ANSI path.
ZQAPI LPCSTR WINAPI ZqGetFileNamePtrA(LPCSTR path) ZQ_NOTHROW;
/// The last "." of the file-name part, or its terminator when there is none
/// or white space follows that dot.
ZQAPI LPCWSTR WINAPI ZqGetFileNameExtensionPtrW(LPCWSTR path) ZQ_NOTHROW;
/// As ZqGetFileNameExtensionPtrW, for an ANSI path.
ZQAPI LPCSTR WINAPI ZqGetFileNameExtensionPtrA(LPCSTR path) ZQ_NOTHROW;
/// The file-name part without its extension, in `buffer`; returns where
/// the extension was cut (null for a missing buffer or capacity).
ZQAPI LPWSTR WINAPI ZqGetFileNameWithoutPathOrExtension(LPCWSTR path, LPWSTR buffer, int capacity) ZQ_NOTHROW;
/// Length of the folder part (through the last `:` or `\`), copied only
/// when it fits; the buffer is emptied first.
ZQAPI int WINAPI ZqGetPathNameFromFilePath(LPCWSTR path, LPWSTR buffer, int capacity) ZQ_NOTHROW;
/// Length of the root (`C:\`, or `\\server\share\`), copied only when it
/// fits; 0 when the backslash that ends it is missing.
ZQAPI int WINAPI ZqGetRootPathFromFilePath(LPCWSTR path, LPWSTR buffer, int capacity) ZQ_NOTHROW;
/// New length after making sure the path ends in "\\": unchanged when it already does, else one
/// "\\" is appended provided length + 2 <= capacity. 0 for an empty path, a path that does not fit
/// its capacity, or no room.
ZQAPI int WINAPI ZqAddSlashToPathName(LPWSTR path, int capacity) ZQ_NOTHROW;
/// New length after removing one trailing "\\" (the length is unchanged when there is none). 0 for
/// an empty path or one longer than the capacity allows.
ZQAPI int WINAPI ZqRemoveSlashFromPathNameEnd(LPWSTR path, int capacity) ZQ_NOTHROW;
/// The extension (with or without its dot) replaces the file-name part's
/// own, or is appended; the new length.
ZQAPI int WINAPI ZqAddExtensionToPathName(LPWSTR path, int capacity, LPCWSTR extension) ZQ_NOTHROW;
/// 1 when the name holds none of \" * / : \< \> ? \\ | (repair: each becomes "_").
ZQAPI BOOL WINAPI ZqValidateFileName(LPWSTR name, BOOL repair) ZQ_NOTHROW;
/// "*" never crosses a "."; "?" is any one character; case-sensitive.
ZQAPI BOOL WINAPI ZqIsMatchWildCard(LPCWSTR pattern, LPCWSTR name) ZQ_NOTHROW;
/// Pointer into `path` where its tail matching the end of the relative name begins (compared
/// backwards, ignoring case), moved to a component boundary.
ZQAPI LPCWSTR WINAPI ZqGetFileNamePtrRelative(LPCWSTR relative, LPCWSTR path) ZQ_NOTHROW;
/// Copies the path, cuts it at `ZqGetFileNamePtrRelative`, appends "\\" and copies the result
/// (truncated to capacity - 1) into the buffer; `E_FAIL` when it had to be truncated, else `S_OK`.
ZQAPI HRESULT WINAPI ZqGetBasePathRelative(LPCWSTR relative, LPCWSTR path, LPWSTR buffer, int capacity) ZQ_NOTHROW;
/// When the path begins with the old base (ignoring case), writes the new base followed by the rest
/// of the path into the buffer and returns `S_OK`;.
ZQAPI HRESULT WINAPI ZqReplaceBasePathRelative(LPCWSTR path, LPCWSTR oldBase, LPCWSTR newBase, LPWSTR buffer,
                                               int capacity) ZQ_NOTHROW;
/// Shortens the path in place with "..." until its text fits `width`
/// pixels; the stored text is never longer than the path was.
ZQAPI BOOL WINAPI ZqCalcPathEllipsis(HDC dc, LPWSTR path, int width) ZQ_NOTHROW;

// ---- long names and module paths -------------------------------------------------
/// Uses the system's long-path conversion when the system provides it (looked up once at first
/// use); when the conversion fails or the buffer is too small, the input is copied unchanged (when
/// the buffers differ).
ZQAPI DWORD WINAPI ZqGetLongPathName(LPCWSTR path, LPWSTR buffer, DWORD capacity) ZQ_NOTHROW;
/// The system's full path, then converted to its long form; the file-part pointer is recomputed on
/// the long form. Returns the system's length result.
ZQAPI DWORD WINAPI ZqGetFullPathName(LPCWSTR path, DWORD capacity, LPWSTR buffer, LPWSTR* filePart) ZQ_NOTHROW;
/// 1 when the full, long path fits the buffer, else 0 (also for capacity 0) with an empty buffer
/// (when there is one).
ZQAPI BOOL WINAPI ZqQualifyPath(LPCWSTR path, LPWSTR buffer, int capacity) ZQ_NOTHROW;
/// The system's temporary folder in its long form; an empty buffer and 0 on failure.
ZQAPI DWORD WINAPI ZqGetTempPath(DWORD capacity, LPWSTR buffer) ZQ_NOTHROW;
/// The module's full path in its long form; an empty buffer and 0 on failure.
ZQAPI DWORD WINAPI ZqGetModuleFileName(HMODULE module, LPWSTR buffer, DWORD capacity) ZQ_NOTHROW;
/// The module's folder with a trailing `\`; a capacity that holds the folder is enough. An empty
/// buffer and 0 on failure.
ZQAPI DWORD WINAPI ZqGetModulePath(HMODULE module, LPWSTR buffer, DWORD capacity) ZQ_NOTHROW;

// ---- files ----------------------------------------------------------------------------
/// 1 when the file can be opened for reading (sharing read and write), or when opening fails only
/// because another process holds it (sharing violation); else 0.
ZQAPI BOOL WINAPI ZqDoesFileExist(LPCWSTR path) ZQ_NOTHROW;
/// `S_OK` with the size, or 0x8004E007 with size 0 when the file cannot be opened.
ZQAPI HRESULT WINAPI ZqGetFileSizeByName(LPCWSTR path, ULONGLONG* size) ZQ_NOTHROW;
/// Last-write time: DOS date in the high word, DOS time in the low word.
ZQAPI DWORD WINAPI ZqDosGetDateTime(LPCWSTR path) ZQ_NOTHROW;
/// As ZqDosGetDateTime, without the conversion to local time.
ZQAPI DWORD WINAPI ZqDosGetDateTimeUTC(LPCWSTR path) ZQ_NOTHROW;
/// words[0]: year (bits 0-15), day (16-23), month (24-31); words[1]:
/// hundredths (0-7), seconds, minutes, hours (24-31), local time. Returns
/// the hundredths.
ZQAPI DWORD WINAPI ZqGetDateTime(DWORD* words) ZQ_NOTHROW;
/// prefix + middle + number + suffix for n = 1, 2, ... (number format
/// default "%d"), created exclusively. After 65536 names that exist (or the
/// same name twice: a format without a conversion) the result is
/// HRESULT_FROM_WIN32(ERROR_FILE_EXISTS). The buffer is emptied on failure.
ZQAPI HRESULT WINAPI ZqCreateTempFileAndNameEx(LPCWSTR prefix, LPCWSTR middle, LPCWSTR suffix, LPCWSTR numberFormat,
                                               LPWSTR buffer, int capacity) ZQ_NOTHROW;
/// ZqCreateTempFileAndNameEx without a middle part, with the default number format.
ZQAPI HRESULT WINAPI ZqCreateTempFileAndName(LPCWSTR prefix, LPCWSTR suffix, LPWSTR buffer, int capacity) ZQ_NOTHROW;

// ---- folders --------------------------------------------------------------------------
/// Non-zero when every folder of the path exists afterwards. The root (`ZqGetRootPathFromFilePath`)
/// must be longer than two characters and exist as a folder, else 0.
ZQAPI BOOL WINAPI ZqCreateDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES security) ZQ_NOTHROW;
/// Deletes the entries matching the pattern (default "*.*"), sub-folders
/// with their contents when asked, then the folder. A link (junction or
/// symbolic link) is removed itself; what it points at is never entered.
ZQAPI HRESULT WINAPI ZqDeleteDirectory(LPCWSTR path, LPCWSTR pattern, BOOL recurse) ZQ_NOTHROW;
/// 1 when the path is an existing folder in which a temporary file can be created (it is deleted
/// again).
ZQAPI BOOL WINAPI ZqIsDirectoryWritable(LPCWSTR path) ZQ_NOTHROW;
/// 1 for a folder with no entries; 0 otherwise, also for a folder that
/// cannot be listed (GetLastError tells why).
ZQAPI BOOL WINAPI ZqIsDirectoryEmpty(LPCWSTR path) ZQ_NOTHROW;

// ---- disk space and sizes ------------------------------------------------------------
/// Bytes (divided by `unit` when non-zero) held to 0xFFFFFFFF; 0 with
/// GetLastError set when the volume cannot be asked.
ZQAPI DWORD WINAPI ZqGetDiskFreeSpace(LPCWSTR path, DWORD unit) ZQ_NOTHROW;
/// As ZqGetDiskFreeSpace, for the volume's total size.
ZQAPI DWORD WINAPI ZqGetDiskTotalSpace(LPCWSTR path, DWORD unit) ZQ_NOTHROW;
/// "$.1z Megabytes" of the free space in units of 102400 bytes, or
/// "-- Megabytes" when it is unknown; `buffer` holds ZQ_SIZE_TEXT_CAPACITY.
ZQAPI int WINAPI ZqFormatDiskFreeSpace(LPCWSTR path, LPWSTR buffer) ZQ_NOTHROW;
/// "1", "2.00KB", "0.98MB", "1.50GB" (ZqGetByteSizeText2: "1 bytes",
/// "2.00 KB", ...); `buffer` holds ZQ_SIZE_TEXT_CAPACITY. Returns the length.
ZQAPI int WINAPI ZqGetByteSizeText(LONGLONG size, LPWSTR buffer) ZQ_NOTHROW;
/// As ZqGetByteSizeText, in the spaced form with "bytes"; the length.
ZQAPI int WINAPI ZqGetByteSizeText2(LONGLONG size, LPWSTR buffer) ZQ_NOTHROW;
