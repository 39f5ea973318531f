/// @file
/// The error handler: result-code texts, error messages, details lines for
/// the message box, memory and exception dumps, the crash filter.
#pragma once
#include "zq/base.h"

// ---- The library's own result codes ---------------------------------------
// Facility 4, codes 0xE000 and up: failures 0x8004E0xx-0x8004E1xx, successes
// with a warning 0x0004E0xx. Every code has a text (ZqErrorHandler_GetHresultString).

#define ZQ_E_UNSUPPORTED_MEDIA_TYPE   ((HRESULT)0x8004E000L)
#define ZQ_E_NOT_ENABLED              ((HRESULT)0x8004E001L)
#define ZQ_E_DISK_FULL                ((HRESULT)0x8004E002L)
#define ZQ_E_LOW_RESOURCES            ((HRESULT)0x8004E003L)
#define ZQ_E_RESOURCE_ALLOCATED       ((HRESULT)0x8004E004L)
#define ZQ_E_SYSTEM_BUSY              ((HRESULT)0x8004E005L)
#define ZQ_E_FILE_CREATE              ((HRESULT)0x8004E006L)
#define ZQ_E_FILE_OPEN                ((HRESULT)0x8004E007L)
#define ZQ_E_FILE_READ                ((HRESULT)0x8004E008L)
#define ZQ_E_FILE_WRITE               ((HRESULT)0x8004E009L)
#define ZQ_E_NOT_FOUND                ((HRESULT)0x8004E00AL)
#define ZQ_E_FILE_CORRUPT             ((HRESULT)0x8004E00BL)
#define ZQ_E_CANCELLED                ((HRESULT)0x8004E00CL)
#define ZQ_E_INVALID_FILE_NAME        ((HRESULT)0x8004E00DL)
#define ZQ_E_RESOURCE_MISSING         ((HRESULT)0x8004E00EL)
#define ZQ_E_CREATE_WINDOW            ((HRESULT)0x8004E00FL)
#define ZQ_E_DEVICE_DRIVER            ((HRESULT)0x8004E010L)
#define ZQ_E_CODEC_OPEN               ((HRESULT)0x8004E011L)
#define ZQ_E_CODEC_CONVERT            ((HRESULT)0x8004E012L)
#define ZQ_E_DEVICE_NOT_AVAILABLE     ((HRESULT)0x8004E015L)
#define ZQ_E_UNSUPPORTED_FORMAT       ((HRESULT)0x8004E016L)
#define ZQ_E_EXCEPTION                ((HRESULT)0x8004E017L)
#define ZQ_E_DELETE_FILE              ((HRESULT)0x8004E019L)
#define ZQ_E_NO_AUDIO                 ((HRESULT)0x8004E01AL)
#define ZQ_E_COMPONENT_INIT           ((HRESULT)0x8004E01BL)
#define ZQ_E_UNSUPPORTED_VERSION      ((HRESULT)0x8004E01CL)
#define ZQ_E_NO_VIDEO                 ((HRESULT)0x8004E01DL)
#define ZQ_E_CODEC_OPEN_FAILED        ((HRESULT)0x8004E01EL)
#define ZQ_E_NO_VIDEO_CODEC           ((HRESULT)0x8004E01FL)
#define ZQ_E_RENAME_FILE              ((HRESULT)0x8004E020L)
#define ZQ_E_NOT_ENOUGH_AUDIO         ((HRESULT)0x8004E023L)
#define ZQ_E_FILE_MAY_BE_CORRUPT      ((HRESULT)0x8004E025L)
#define ZQ_E_TOO_MANY_OPEN_FILES      ((HRESULT)0x8004E026L)
#define ZQ_E_SAMPLE_RATE_UNSUPPORTED  ((HRESULT)0x8004E028L)
#define ZQ_E_NO_ROOM_FOR_PLUGINS      ((HRESULT)0x8004E02EL)
#define ZQ_E_PLUGINS_NOT_FOR_TRACK    ((HRESULT)0x8004E02FL)
#define ZQ_E_PLUGINS_MEDIA_TYPE       ((HRESULT)0x8004E030L)
#define ZQ_E_CHAIN_PARTLY_LOADED      ((HRESULT)0x8004E031L)
#define ZQ_E_FILE_EXISTS              ((HRESULT)0x8004E032L)
#define ZQ_E_FILE_TYPE_UNSUPPORTED    ((HRESULT)0x8004E033L)
#define ZQ_E_RIGHTS_PROTECTED         ((HRESULT)0x8004E034L)
#define ZQ_E_STREAM_UNRECOGNIZED      ((HRESULT)0x8004E035L)
#define ZQ_E_STREAM_OPEN              ((HRESULT)0x8004E036L)
#define ZQ_E_STREAM_CREATE            ((HRESULT)0x8004E037L)
#define ZQ_E_STREAM_READ              ((HRESULT)0x8004E038L)
#define ZQ_E_STREAM_WRITE             ((HRESULT)0x8004E039L)
#define ZQ_E_RENDER_SIZE_EXCEEDED     ((HRESULT)0x8004E03AL)
#define ZQ_E_CODEC_RENDER_SETTINGS    ((HRESULT)0x8004E03BL)
#define ZQ_E_AUDIO_INPUT_CHANNELS     ((HRESULT)0x8004E03DL)
#define ZQ_E_FRAME_SIZE               ((HRESULT)0x8004E03EL)
#define ZQ_E_COMMAND_UNAVAILABLE      ((HRESULT)0x8004E045L)
#define ZQ_E_FORMAT_PLUGIN_INIT       ((HRESULT)0x8004E047L)
#define ZQ_E_NOT_ENOUGH_DATA          ((HRESULT)0x8004E050L)
#define ZQ_E_FILE_IN_PROJECT          ((HRESULT)0x8004E051L)
#define ZQ_E_READ_TOO_SLOW            ((HRESULT)0x8004E054L)
#define ZQ_E_FILE_SHARING             ((HRESULT)0x8004E05AL)
#define ZQ_E_FILE_ACCESS              ((HRESULT)0x8004E05BL)
#define ZQ_E_SOURCE_PROJECT_SECURITY  ((HRESULT)0x8004E05CL)
#define ZQ_E_SOURCE_PROJECT_INFO      ((HRESULT)0x8004E05DL)
#define ZQ_E_SOURCE_PROJECT_MISSING   ((HRESULT)0x8004E05EL)
#define ZQ_E_MEDIA_MANAGER_INIT       ((HRESULT)0x8004E05FL)
#define ZQ_E_NO_RIFF_HEADER           ((HRESULT)0x8004E080L)
#define ZQ_E_NO_LIST_HEADER           ((HRESULT)0x8004E081L)
#define ZQ_E_ZERO_LENGTH_CHUNK        ((HRESULT)0x8004E082L)
#define ZQ_E_FILE_NEEDS_UPDATE        ((HRESULT)0x8004E083L)
#define ZQ_E_AUDIO_PLUGINS_MISSING    ((HRESULT)0x8004E084L)
#define ZQ_E_FILE_FROM_NEWER_VERSION  ((HRESULT)0x8004E089L)
#define ZQ_E_NO_DEVICES               ((HRESULT)0x8004E0A0L)
#define ZQ_E_PLAYBACK_PREPARE_TIMEOUT ((HRESULT)0x8004E0A1L)
#define ZQ_E_MIX_TIMEOUT              ((HRESULT)0x8004E0A2L)
#define ZQ_E_BUILD_PEAKS              ((HRESULT)0x8004E0A3L)
#define ZQ_E_NO_TEMPLATE              ((HRESULT)0x8004E0A5L)
#define ZQ_E_EXECUTE_COMMAND          ((HRESULT)0x8004E0A6L)
#define ZQ_E_INSUFFICIENT_BANDWIDTH   ((HRESULT)0x8004E0A8L)
#define ZQ_E_TEMPLATE_AUDIO_BITRATE   ((HRESULT)0x8004E0ABL)
#define ZQ_E_INVALID_TEMPLATE         ((HRESULT)0x8004E0AFL)
#define ZQ_E_TEMPLATE_PEAK_BITRATE    ((HRESULT)0x8004E0B4L)
#define ZQ_E_IOCTL_FAILED             ((HRESULT)0x8004E0C5L)
#define ZQ_E_CD_MARKERS_QUANTIZED     ((HRESULT)0x8004E109L)
#define ZQ_E_ADMIN_REQUIRED           ((HRESULT)0x8004E142L)
#define ZQ_E_TWAIN_INIT               ((HRESULT)0x8004E162L)
#define ZQ_E_NO_RENDERER              ((HRESULT)0x8004E163L)
#define ZQ_E_FILE_TYPE_NOT_IN_VERSION ((HRESULT)0x8004E164L)
#define ZQ_E_FILE_BUSY                ((HRESULT)0x8004E165L)
///@{
/// Transfers to a portable disc recorder.
#define ZQ_E_RECORDER_NOT_FOUND       ((HRESULT)0x8004E17CL)
#define ZQ_E_RECORDER_BUSY            ((HRESULT)0x8004E17DL)
#define ZQ_E_RECORDER_NO_DISC         ((HRESULT)0x8004E17EL)
#define ZQ_E_RECORDER_DISC_FULL       ((HRESULT)0x8004E17FL)
#define ZQ_E_RECORDER_WRITE_PROTECTED ((HRESULT)0x8004E180L)
#define ZQ_E_RECORDER_FORMAT          ((HRESULT)0x8004E181L)
#define ZQ_E_RECORDER_INTERRUPTED     ((HRESULT)0x8004E182L)
#define ZQ_E_RECORDER_WRITE           ((HRESULT)0x8004E183L)
#define ZQ_E_RECORDER_DRIVER          ((HRESULT)0x8004E184L)
///@}

///@{
/// Successes with a warning.
#define ZQ_S_PARTLY_RECOVERED         ((HRESULT)0x0004E000L)
#define ZQ_S_MEDIA_NOT_FOUND          ((HRESULT)0x0004E003L)
#define ZQ_S_NOT_CONFIGURED           ((HRESULT)0x0004E005L)
#define ZQ_S_NO_VIDEO_CODEC           ((HRESULT)0x0004E006L)
#define ZQ_S_STREAM_NOT_FOUND         ((HRESULT)0x0004E007L)
#define ZQ_S_SOME_STREAMS_FAILED      ((HRESULT)0x0004E008L)
#define ZQ_S_PRESETS_NOT_LOADED       ((HRESULT)0x0004E009L)
#define ZQ_S_FILE_RENAMED             ((HRESULT)0x0004E00BL)
#define ZQ_S_INCONSISTENT_FORMAT      ((HRESULT)0x0004E00CL)
#define ZQ_S_OLDER_PROJECT            ((HRESULT)0x0004E00EL)
#define ZQ_S_DIFFERENT_VERSION        ((HRESULT)0x0004E010L)
#define ZQ_S_DEVICES_REMAPPED         ((HRESULT)0x0004E015L)
#define ZQ_S_CONVERSION_INEXACT       ((HRESULT)0x0004E018L)
///@}

// ---- Operations: what was being done when an error occurred ----------------
// Passed as the `message` of ZqErrorHandler_GetErrorMessage / _MsgBox
// (cast with ZQ_ERROR_OPERATION). "%s" in a text takes the call's argument.

#define ZQ_OPERATION_GENERAL             0
#define ZQ_OPERATION_UNDO_BUFFER         1
#define ZQ_OPERATION_LOAD_PLUGIN         2
#define ZQ_OPERATION_EFFECT_CHAIN        3   ///< %s: chain name
#define ZQ_OPERATION_PROJECT_MEDIA       4   ///< %s: media
#define ZQ_OPERATION_LOAD_PROJECT        5   ///< %s: file name
#define ZQ_OPERATION_SAVE_PROJECT        6   ///< %s: file name
#define ZQ_OPERATION_CREATE_MEDIA        7   ///< %s: file name
#define ZQ_OPERATION_EDIT                8
#define ZQ_OPERATION_IMPORT_EDL          9   ///< %s: file name
#define ZQ_OPERATION_EXPORT_EDL          10  ///< %s: file name
#define ZQ_OPERATION_START_PLAYBACK      11
#define ZQ_OPERATION_RECORD              12
#define ZQ_OPERATION_OPEN_AUDIO_DEVICE   14
#define ZQ_OPERATION_LOAD_PRESET         15  ///< %s: preset name
#define ZQ_OPERATION_NEW_PROJECT         16
#define ZQ_OPERATION_NEW_TRACK           17
#define ZQ_OPERATION_READ_TIME_CODE      18
#define ZQ_OPERATION_MIDI_TIME_CODE      19
#define ZQ_OPERATION_MIDI_CLOCK          20
#define ZQ_OPERATION_SAMPLE_RATE         21
#define ZQ_OPERATION_OPEN_FILES          22
#define ZQ_OPERATION_SAVE_FILES          23
#define ZQ_OPERATION_TOOLBAR             24
#define ZQ_OPERATION_ADD_TRACK_PLUGINS   25
#define ZQ_OPERATION_START_APPLICATION   26
#define ZQ_OPERATION_FILE_FORMAT_PLUGIN  27
#define ZQ_OPERATION_ENCODE_FILE         28
#define ZQ_OPERATION_WRITE_FILE          29
#define ZQ_OPERATION_TRANSFER_FILE       30
#define ZQ_OPERATION_REGISTER_PLUGIN     31  ///< %s: plug-in name
#define ZQ_OPERATION_UNREGISTER_PLUGIN   32  ///< %s: plug-in name
#define ZQ_OPERATION_IMPORT_MEDIA        33
#define ZQ_OPERATION_CREATE_PROXY        34
#define ZQ_OPERATION_DEVICE_PREVIEW      35
#define ZQ_OPERATION_DEVICE_CAPTURE      36
#define ZQ_OPERATION_DEVICE_CONTROL      37
#define ZQ_OPERATION_DEVICE_FILE_PREVIEW 38
#define ZQ_OPERATION_DEVICE_PRINT        39
#define ZQ_OPERATION_UPGRADE             40
#define ZQ_OPERATION_CAMERA_SCANNER      41
#define ZQ_OPERATION_SHOW_ME             42
#define ZQ_OPERATION_DISK_MANAGEMENT     43
#define ZQ_OPERATION_EXTRACT_CD_AUDIO    44
#define ZQ_OPERATION_COMMAND             45  ///< %s: command name
#define ZQ_OPERATION_RUN_SCRIPT          46  ///< %s: script
#define ZQ_OPERATION_OPEN_OLD_PROJECT    47
#define ZQ_OPERATION_MEDIA_MANAGER       48
#define ZQ_OPERATION_RECORDER_TRANSFER   49
#define ZQ_OPERATION_SOURCE_PROJECT      50  ///< %s: details

#define ZQ_ERROR_OPERATION(id) ((LPCWSTR)(ULONG_PTR)(WORD)(id))

// ---- Registered error tables ------------------------------------------------

/// A text slot: a string id of the library's language handle (a value below
/// 0x10000, written ZQ_ERROR_TEXT_ID(id)) or a pointer to a UTF-16 text.
/// A slot of 0 means "no text".
#define ZQ_ERROR_TEXT_ID(id) ((LPCWSTR)(ULONG_PTR)(WORD)(id))

typedef struct ZQERRORENTRY {
  HRESULT code;
  LPCWSTR text;  ///< text slot
} ZQERRORENTRY;

/// Registers `count` entries (the array must stay valid while the module is
/// loaded). Registered tables are searched in registration order before the
/// built-in one. S_FALSE when 32 tables are registered already (the table is
/// not added); E_POINTER for a null table with a count above 0; E_INVALIDARG
/// for a negative count.
ZQAPI HRESULT WINAPI ZqErrorHandler_AddErrorTable(const ZQERRORENTRY* table, int count) ZQ_NOTHROW;

/// The text of `code` (it begins with two line breaks), or null when no table
/// knows it (or its slot is 0). Library texts stay valid while the module is
/// loaded.
ZQAPI LPCWSTR WINAPI ZqErrorHandler_GetHresultString(HRESULT code) ZQ_NOTHROW;

/// Composes the operation text (`message`: an operation id below 0x10000 or a
/// text pointer; formatted with `argument` as its one "%s", an empty string
/// for null) and the text of `code` into the module-wide message buffer of
/// 2,048 characters, and returns it. A code no table knows gives "Error
/// 0x........ (message missing)". The buffer is overwritten by the next call.
ZQAPI LPCWSTR WINAPI ZqErrorHandler_GetErrorMessage(LPCWSTR message, HRESULT code, LPCWSTR argument) ZQ_NOTHROW;

ZQAPI HRESULT WINAPI ZqErrorHandler_TranslateWin32Error(DWORD error) ZQ_NOTHROW;
ZQAPI HRESULT WINAPI ZqErrorHandler_TranslateCommDlgError(DWORD error) ZQ_NOTHROW;

// ---- Details lines (the message box's details area) -------------------------

/// Resets the details: no lines, code 0, no thread. S_OK.
ZQAPI HRESULT WINAPI ZqErrorHandler_DetailsInit(void) ZQ_NOTHROW;
/// Adds a line (formatted with the printer when it holds "%" or "$"). The
/// first call after a reset binds the details to the calling thread; another
/// thread may add only lines with the code already recorded. S_OK; E_POINTER
/// for a null format; E_FAIL for a foreign thread's other code or when the
/// text would reach 8,191 characters with the terminator (nothing changes).
ZQAPI HRESULT ZQCDECL ZqErrorHandler_DetailsAddString(HRESULT code, LPCWSTR format, ...) ZQ_NOTHROW;
/// The code of the last details line (0 after a reset).
ZQAPI HRESULT WINAPI ZqErrorHandler_GetLastError(void) ZQ_NOTHROW;

// ---- Showing errors ----------------------------------------------------------

/// Style bits of the library's message box for its details area.
#define ZQ_MB_DETAILS 0xC000

/// Shows `text` exactly as written ("Warning: " in front when `warning` is
/// non-zero) with the current details lines, then resets the details. An
/// owner of (HWND)-1 means no owner. Returns the box's result.
ZQAPI int WINAPI ZqErrorHandler_MsgBoxText(HWND owner, UINT style, LPCWSTR text, BOOL warning) ZQ_NOTHROW;
/// ZqErrorHandler_GetErrorMessage(message, code, argument) shown with
/// ZqErrorHandler_MsgBoxText; for ZQ_E_CANCELLED nothing is shown and 1
/// (IDOK) returned.
ZQAPI int WINAPI ZqErrorHandler_MsgBox(HWND owner, UINT style, LPCWSTR message, HRESULT code, LPCWSTR argument,
                                       BOOL warning) ZQ_NOTHROW;

// ---- Dumps (ANSI text) ------------------------------------------------------

/// Lines of 8 bytes: address, bytes in hex (".." when unreadable), the bytes
/// as characters. A line is started only when 50 bytes of room remain; the
/// text is always terminated (size > 0). Returns the characters written.
ZQAPI int WINAPI ZqErrorHandler_DumpHex(LPSTR out, int size, const void* address, int count) ZQ_NOTHROW;
/// Lines of up to 4 words ("........" when unreadable); count <= 0 writes an
/// empty text.
ZQAPI int WINAPI ZqErrorHandler_DumpHexDWords(LPSTR out, int size, const void* address, int count) ZQ_NOTHROW;

///@{
/// Sections of an exception report (0 = all).
#define ZQ_EXCEPTION_SUMMARY   0x01
#define ZQ_EXCEPTION_MODULE    0x02
#define ZQ_EXCEPTION_REGISTERS 0x04
#define ZQ_EXCEPTION_CODE      0x08
#define ZQ_EXCEPTION_STACK     0x10
#define ZQ_EXCEPTION_THREAD    0x20
///@}

/// Writes the report of an exception (record, module, thread, registers,
/// code bytes, stack) into `out`. Returns the characters written.
ZQAPI int WINAPI ZqErrorHandler_DumpExceptionRecord(LPSTR out, int size, LPCSTR threadName,
                                                    EXCEPTION_POINTERS* exception, DWORD sections) ZQ_NOTHROW;
/// An exception filter that reports the exception in the library's message
/// box (the report in its details) and returns EXCEPTION_EXECUTE_HANDLER;
/// EXCEPTION_CONTINUE_SEARCH for a datatype misalignment or under a debugger.
ZQAPI LONG WINAPI ZqErrorHandler_ExceptionFilter(EXCEPTION_POINTERS* exception, LPCSTR threadName) ZQ_NOTHROW;
