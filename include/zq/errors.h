/// @file
/// The error handler: result-code texts, error messages, details lines for
/// the message box, memory and exception dumps, the crash filter.
#pragma once
#include "zq/base.h"

// ---- The library's own result codes ---------------------------------------
// Facility 4, codes 0xE000 and up: failures 0x8004E0xx-0x8004E1xx, successes
// with a warning 0x0004E0xx. Every code has a text (ZqErrorHandler_GetHresultString).

/// "An unsupported media type was requested."
#define ZQ_E_UNSUPPORTED_MEDIA_TYPE   ((HRESULT)0x8004E000L)
/// "The request is not enabled for this device."
#define ZQ_E_NOT_ENABLED              ((HRESULT)0x8004E001L)
/// "The disk is full. Please free some space and try again."
#define ZQ_E_DISK_FULL                ((HRESULT)0x8004E002L)
/// "Application resources are low. You may regain resources by closing some applications."
#define ZQ_E_LOW_RESOURCES            ((HRESULT)0x8004E003L)
#define ZQ_E_RESOURCE_ALLOCATED       ((HRESULT)0x8004E004L) /**< "Trying to open allocated resource." */
#define ZQ_E_SYSTEM_BUSY              ((HRESULT)0x8004E005L) /**< "The system is busy." */
#define ZQ_E_FILE_CREATE              ((HRESULT)0x8004E006L) /**< "The file could not be created." */
/// "The file could not be opened. Make sure the file exists and that you have access to the
/// file/folder."
#define ZQ_E_FILE_OPEN                ((HRESULT)0x8004E007L)
/// "An error occurred reading the file. Make sure you have read access to the file/folder and that
/// it is not corrupted."
#define ZQ_E_FILE_READ                ((HRESULT)0x8004E008L)
/// "An error occurred writing the file. Make sure you have write access to the file/folder and that
/// there is enough free space."
#define ZQ_E_FILE_WRITE               ((HRESULT)0x8004E009L)
#define ZQ_E_NOT_FOUND                ((HRESULT)0x8004E00AL) /**< "The item was not found." */
/// "The file is most likely corrupted or of an unknown format."
#define ZQ_E_FILE_CORRUPT             ((HRESULT)0x8004E00BL)
/// "The operation was cancelled by the user."
#define ZQ_E_CANCELLED                ((HRESULT)0x8004E00CL)
#define ZQ_E_INVALID_FILE_NAME        ((HRESULT)0x8004E00DL) /**< "The file name is not valid." */
/// "A necessary resource is missing. You should re-install $(AppName) as the application file
/// appears to be corrupted."
#define ZQ_E_RESOURCE_MISSING         ((HRESULT)0x8004E00EL)
/// "An error occurred while creating a window."
#define ZQ_E_CREATE_WINDOW            ((HRESULT)0x8004E00FL)
/// "An error occurred while opening a device driver."
#define ZQ_E_DEVICE_DRIVER            ((HRESULT)0x8004E010L)
/// "An error occurred while opening a codec."
#define ZQ_E_CODEC_OPEN               ((HRESULT)0x8004E011L)
/// "An error occurred while converting with a codec."
#define ZQ_E_CODEC_CONVERT            ((HRESULT)0x8004E012L)
#define ZQ_E_DEVICE_NOT_AVAILABLE     ((HRESULT)0x8004E015L) /**< "A device is not available." */
#define ZQ_E_UNSUPPORTED_FORMAT       ((HRESULT)0x8004E016L) /**< "The file is an unsupported format." */
#define ZQ_E_EXCEPTION                ((HRESULT)0x8004E017L) /**< "An Exception has occurred." */
/// "The existing file could not be deleted. Make sure this file is not read only or in use by
/// another application."
#define ZQ_E_DELETE_FILE              ((HRESULT)0x8004E019L)
#define ZQ_E_NO_AUDIO                 ((HRESULT)0x8004E01AL) /**< "The file has no audio." */
#define ZQ_E_COMPONENT_INIT           ((HRESULT)0x8004E01BL) /**< "A component failed to initialize." */
/// "The file was created with an unsupported version of the program."
#define ZQ_E_UNSUPPORTED_VERSION      ((HRESULT)0x8004E01CL)
#define ZQ_E_NO_VIDEO                 ((HRESULT)0x8004E01DL) /**< "The file has no video." */
/// "An error occurred while opening a codec."
#define ZQ_E_CODEC_OPEN_FAILED        ((HRESULT)0x8004E01EL)
#define ZQ_E_NO_VIDEO_CODEC           ((HRESULT)0x8004E01FL) /**< "No compatible video codec was found." */
/// "The file could not be renamed. Make sure this file is not read only or in use by another
/// application."
#define ZQ_E_RENAME_FILE              ((HRESULT)0x8004E020L)
/// "There is not enough audio data available for this operation."
#define ZQ_E_NOT_ENOUGH_AUDIO         ((HRESULT)0x8004E023L)
#define ZQ_E_FILE_MAY_BE_CORRUPT      ((HRESULT)0x8004E025L) /**< "The file may be corrupt." */
#define ZQ_E_TOO_MANY_OPEN_FILES      ((HRESULT)0x8004E026L) /**< "Too many files are open." */
/// "The sampling rate is not supported by the codec."
#define ZQ_E_SAMPLE_RATE_UNSUPPORTED  ((HRESULT)0x8004E028L)
/// "There was no room to add the plug-in(s)."
#define ZQ_E_NO_ROOM_FOR_PLUGINS      ((HRESULT)0x8004E02EL)
/// "The plug-ins could not be used on a track."
#define ZQ_E_PLUGINS_NOT_FOR_TRACK    ((HRESULT)0x8004E02FL)
/// "The plug-ins do not support the track's media type."
#define ZQ_E_PLUGINS_MEDIA_TYPE       ((HRESULT)0x8004E030L)
/// "One or more effects in the package failed to load. Do you want to try to load the loadable
/// effects from the chain?"
#define ZQ_E_CHAIN_PARTLY_LOADED      ((HRESULT)0x8004E031L)
/// "The file could not be created. Another file with that name exists."
#define ZQ_E_FILE_EXISTS              ((HRESULT)0x8004E032L)
/// "The application does not support this file type."
#define ZQ_E_FILE_TYPE_UNSUPPORTED    ((HRESULT)0x8004E033L)
/// "The file has Digital Rights Management protection."
#define ZQ_E_RIGHTS_PROTECTED         ((HRESULT)0x8004E034L)
/// "A stream could not be opened because it was unrecognized or corrupt."
#define ZQ_E_STREAM_UNRECOGNIZED      ((HRESULT)0x8004E035L)
#define ZQ_E_STREAM_OPEN              ((HRESULT)0x8004E036L) /**< "A stream could not be opened." */
#define ZQ_E_STREAM_CREATE            ((HRESULT)0x8004E037L) /**< "A stream could not be created." */
#define ZQ_E_STREAM_READ              ((HRESULT)0x8004E038L) /**< "A stream could not be read." */
#define ZQ_E_STREAM_WRITE             ((HRESULT)0x8004E039L) /**< "A stream could not be written." */
/// "The file being rendered has exceeded the maximum size allowed for the selected format."
#define ZQ_E_RENDER_SIZE_EXCEEDED     ((HRESULT)0x8004E03AL)
/// "The selected codec does not support the current render settings."
#define ZQ_E_CODEC_RENDER_SETTINGS    ((HRESULT)0x8004E03BL)
/// "An incorrect number of audio input channels were specified\\n\\n(for example, must be 2 if
/// stereo music is selected)."
#define ZQ_E_AUDIO_INPUT_CHANNELS     ((HRESULT)0x8004E03DL)
#define ZQ_E_FRAME_SIZE               ((HRESULT)0x8004E03EL) /**< "The video frame size is not supported." */
/// "The requested command is not available at this time."
#define ZQ_E_COMMAND_UNAVAILABLE      ((HRESULT)0x8004E045L)
/// "The file format plugin for the specified format was not properly initialized."
#define ZQ_E_FORMAT_PLUGIN_INIT       ((HRESULT)0x8004E047L)
/// "There is not enough data available for this operation."
#define ZQ_E_NOT_ENOUGH_DATA          ((HRESULT)0x8004E050L)
/// "The file exists in the project and cannot be overwritten."
#define ZQ_E_FILE_IN_PROJECT          ((HRESULT)0x8004E051L)
/// "The application can't read data fast enough to keep up with the operation."
#define ZQ_E_READ_TOO_SLOW            ((HRESULT)0x8004E054L)
/// "The file could not be opened because some other application already has it open."
#define ZQ_E_FILE_SHARING             ((HRESULT)0x8004E05AL)
/// "The file could not be opened because you do not have a high enough access permission to open
/// it."
#define ZQ_E_FILE_ACCESS              ((HRESULT)0x8004E05BL)
/// "A security error occurred attempting to launch the application associated with the source
/// project for the media. Most likely the registered application is not a known Halvane
/// application."
#define ZQ_E_SOURCE_PROJECT_SECURITY  ((HRESULT)0x8004E05CL)
/// "The source project information in the media file is either not found or is not valid."
#define ZQ_E_SOURCE_PROJECT_INFO      ((HRESULT)0x8004E05DL)
/// "The source project file referenced by the media does not exist."
#define ZQ_E_SOURCE_PROJECT_MISSING   ((HRESULT)0x8004E05EL)
#define ZQ_E_MEDIA_MANAGER_INIT       ((HRESULT)0x8004E05FL) /**< "Media Manager initialization failed." */
/// "The file is most likely corrupted or of an unknown format. A necessary RIFF header is missing."
#define ZQ_E_NO_RIFF_HEADER           ((HRESULT)0x8004E080L)
/// "The file is most likely corrupted or of an unknown format. A necessary LIST header is missing."
#define ZQ_E_NO_LIST_HEADER           ((HRESULT)0x8004E081L)
/// "The file is most likely corrupted or of an unknown format. A chunk has a length of 0."
#define ZQ_E_ZERO_LENGTH_CHUNK        ((HRESULT)0x8004E082L)
/// "This file cannot be opened by the installed version of $(AppName), or the file may be corrupt.
/// Please download and install the latest update of $(AppName)."
#define ZQ_E_FILE_NEEDS_UPDATE        ((HRESULT)0x8004E083L)
/// "An error occurred when loading an audio plug-in or plug-ins.  The audio plug-in(s) specified
/// are not installed on this system."
#define ZQ_E_AUDIO_PLUGINS_MISSING    ((HRESULT)0x8004E084L)
/// "This file appears to have been created in a newer version of $(AppName), and is not supported
/// by this version of $(AppName).  Please download and install the latest update of $(AppName)."
#define ZQ_E_FILE_FROM_NEWER_VERSION  ((HRESULT)0x8004E089L)
#define ZQ_E_NO_DEVICES               ((HRESULT)0x8004E0A0L) /**< "No devices exist." */
/// "Time out occurred when preparing the audio device for playback."
#define ZQ_E_PLAYBACK_PREPARE_TIMEOUT ((HRESULT)0x8004E0A1L)
/// "Unable to mix audio.  The operation timed out."
#define ZQ_E_MIX_TIMEOUT              ((HRESULT)0x8004E0A2L)
/// "Unable to build peaks.  Cannot get access to the wave file."
#define ZQ_E_BUILD_PEAKS              ((HRESULT)0x8004E0A3L)
#define ZQ_E_NO_TEMPLATE              ((HRESULT)0x8004E0A5L) /**< "No template was specified." */
/// "Windows was unable to execute the given command."
#define ZQ_E_EXECUTE_COMMAND          ((HRESULT)0x8004E0A6L)
/// "Insufficient bandwidth to store target data rate."
#define ZQ_E_INSUFFICIENT_BANDWIDTH   ((HRESULT)0x8004E0A8L)
/// "The template's audio bitrate is too large for the target bitrate."
#define ZQ_E_TEMPLATE_AUDIO_BITRATE   ((HRESULT)0x8004E0ABL)
#define ZQ_E_INVALID_TEMPLATE         ((HRESULT)0x8004E0AFL) /**< "The template is invalid." */
/// "The template's peak bitrate is less than the average bitrate."
#define ZQ_E_TEMPLATE_PEAK_BITRATE    ((HRESULT)0x8004E0B4L)
#define ZQ_E_IOCTL_FAILED             ((HRESULT)0x8004E0C5L) /**< "An IOCTL call has failed." */
/// "This project contains CD track markers that are not properly quantized.\\n\\n$(AppName) has
/// quantized these markers to the nearest CD frame boundary. You should verify the placement and
/// resave the project"
#define ZQ_E_CD_MARKERS_QUANTIZED     ((HRESULT)0x8004E109L)
/// "You need to be logged on with adminstrator privileges to complete this operation."
#define ZQ_E_ADMIN_REQUIRED           ((HRESULT)0x8004E142L)
/// "The TWAIN manager could not be initialized. TWAIN_32.dll missing or corrupt."
#define ZQ_E_TWAIN_INIT               ((HRESULT)0x8004E162L)
#define ZQ_E_NO_RENDERER              ((HRESULT)0x8004E163L) /**< "No renderer found for source reader." */
/// "\%s file type is unsupported in this version of $(AppName)."
#define ZQ_E_FILE_TYPE_NOT_IN_VERSION ((HRESULT)0x8004E164L)
/// "The file '\%s' is in use by another operation."
#define ZQ_E_FILE_BUSY                ((HRESULT)0x8004E165L)
///@{
/// Transfers to a portable disc recorder.
/// "The portable disc recorder was not found. Make sure it is connected and switched on."
#define ZQ_E_RECORDER_NOT_FOUND       ((HRESULT)0x8004E17CL)
#define ZQ_E_RECORDER_BUSY            ((HRESULT)0x8004E17DL) /**< "The portable disc recorder is busy." */
/// "There is no disc in the portable disc recorder."
#define ZQ_E_RECORDER_NO_DISC         ((HRESULT)0x8004E17EL)
/// "The disc in the portable disc recorder is full."
#define ZQ_E_RECORDER_DISC_FULL       ((HRESULT)0x8004E17FL)
/// "The disc in the portable disc recorder is write-protected."
#define ZQ_E_RECORDER_WRITE_PROTECTED ((HRESULT)0x8004E180L)
/// "The portable disc recorder does not support this audio format."
#define ZQ_E_RECORDER_FORMAT          ((HRESULT)0x8004E181L)
/// "The transfer to the portable disc recorder was interrupted."
#define ZQ_E_RECORDER_INTERRUPTED     ((HRESULT)0x8004E182L)
/// "The portable disc recorder reported an error while writing the disc."
#define ZQ_E_RECORDER_WRITE           ((HRESULT)0x8004E183L)
/// "The driver of the portable disc recorder could not be loaded."
#define ZQ_E_RECORDER_DRIVER          ((HRESULT)0x8004E184L)
///@}

///@{
/// Successes with a warning.
/// "The file had a problem in it; however, some content may have been recovered."
#define ZQ_S_PARTLY_RECOVERED         ((HRESULT)0x0004E000L)
/// "One or more media files could not be located."
#define ZQ_S_MEDIA_NOT_FOUND          ((HRESULT)0x0004E003L)
/// "This feature is not configured properly."
#define ZQ_S_NOT_CONFIGURED           ((HRESULT)0x0004E005L)
#define ZQ_S_NO_VIDEO_CODEC           ((HRESULT)0x0004E006L) /**< "No compatible video codec was found." */
/// "The proper stream could not be found in the media file."
#define ZQ_S_STREAM_NOT_FOUND         ((HRESULT)0x0004E007L)
/// "Some streams in the media file could not be opened."
#define ZQ_S_SOME_STREAMS_FAILED      ((HRESULT)0x0004E008L)
/// "An error occurred when loading an audio plug-in or plug-ins.  The plug-in preset(s) could not
/// be loaded."
#define ZQ_S_PRESETS_NOT_LOADED       ((HRESULT)0x0004E009L)
/// "A file had to be renamed during the operation."
#define ZQ_S_FILE_RENAMED             ((HRESULT)0x0004E00BL)
/// "The format of the stream is not consistent throughout the file."
#define ZQ_S_INCONSISTENT_FORMAT      ((HRESULT)0x0004E00CL)
/// "This project file was created by an older version of $(AppName)."
#define ZQ_S_OLDER_PROJECT            ((HRESULT)0x0004E00EL)
/// "This project file was created by a different version of the program."
#define ZQ_S_DIFFERENT_VERSION        ((HRESULT)0x0004E010L)
/// "The playback devices specified in the project do not map to the current system settings. The
/// project has been remapped to different devices."
#define ZQ_S_DEVICES_REMAPPED         ((HRESULT)0x0004E015L)
/// "Certain features contained in the older project file could not be converted exactly into the
/// new version. As a result the project may not look or sound the same."
#define ZQ_S_CONVERSION_INEXACT       ((HRESULT)0x0004E018L)
///@}

// ---- Operations: what was being done when an error occurred ----------------
// Passed as the `message` of ZqErrorHandler_GetErrorMessage / _MsgBox
// (cast with ZQ_ERROR_OPERATION). "%s" in a text takes the call's argument.

#define ZQ_OPERATION_GENERAL             0 /**< "An error occurred during the current operation." */
/// "An error occurred while processing the undo buffer. You should save your work immediately using
/// a new project filename and restart $(AppName)."
#define ZQ_OPERATION_UNDO_BUFFER         1
#define ZQ_OPERATION_LOAD_PLUGIN         2 /**< "An error occurred while loading a plug-in." */
/// "An error occurred in the effect chain '\%s'." (\%s: chain name)
#define ZQ_OPERATION_EFFECT_CHAIN        3
/// "An error occurred accessing project media \%s." (\%s: media)
#define ZQ_OPERATION_PROJECT_MEDIA       4
/// "An error occurred while loading the project file \%s." (\%s: file name)
#define ZQ_OPERATION_LOAD_PROJECT        5
/// "An error occurred while saving the project file \%s." (\%s: file name)
#define ZQ_OPERATION_SAVE_PROJECT        6
/// "An error occurred while creating the media file \%s." (\%s: file name)
#define ZQ_OPERATION_CREATE_MEDIA        7
#define ZQ_OPERATION_EDIT                8 /**< "An error occurred during an edit operation." */
/// "An error occurred while importing the EDL file \%s." (\%s: file name)
#define ZQ_OPERATION_IMPORT_EDL          9
/// "An error occurred while exporting the EDL file \%s." (\%s: file name)
#define ZQ_OPERATION_EXPORT_EDL          10
#define ZQ_OPERATION_START_PLAYBACK      11 /**< "An error occurred while starting playback." */
#define ZQ_OPERATION_RECORD              12 /**< "An error occurred while recording." */
#define ZQ_OPERATION_OPEN_AUDIO_DEVICE   14 /**< "An error occurred while opening an audio device." */
/// "The plug-in preset '\%s' could not be loaded." (\%s: preset name)
#define ZQ_OPERATION_LOAD_PRESET         15
#define ZQ_OPERATION_NEW_PROJECT         16 /**< "An error occurred while creating a new project." */
#define ZQ_OPERATION_NEW_TRACK           17 /**< "An error occurred while creating a new track." */
#define ZQ_OPERATION_READ_TIME_CODE      18 /**< "An error occurred while reading the incoming time code." */
#define ZQ_OPERATION_MIDI_TIME_CODE      19 /**< "An error occurred while generating the MIDI time code." */
#define ZQ_OPERATION_MIDI_CLOCK          20 /**< "An error occurred while generating the MIDI clock." */
/// "One or more audio playback devices do not support the current sample rate and/or bit-depth."
#define ZQ_OPERATION_SAMPLE_RATE         21
#define ZQ_OPERATION_OPEN_FILES          22 /**< "An error occurred while opening one or more files." */
#define ZQ_OPERATION_SAVE_FILES          23 /**< "An error occurred while saving one or more files." */
#define ZQ_OPERATION_TOOLBAR             24 /**< "An error occurred in the toolbar." */
#define ZQ_OPERATION_ADD_TRACK_PLUGINS   25 /**< "An error occurred while adding track plug-ins." */
#define ZQ_OPERATION_START_APPLICATION   26 /**< "An error occurred starting $(AppName)." */
#define ZQ_OPERATION_FILE_FORMAT_PLUGIN  27 /**< "An error occurred in a file format plug-in." */
#define ZQ_OPERATION_ENCODE_FILE         28 /**< "An error occurred while encoding a file." */
#define ZQ_OPERATION_WRITE_FILE          29 /**< "An error occurred while writing a file." */
#define ZQ_OPERATION_TRANSFER_FILE       30 /**< "An error occurred while transferring a file." */
/// "The DirectX Plug-In \%s failed to register properly." (\%s: plug-in name)
#define ZQ_OPERATION_REGISTER_PLUGIN     31
/// "The DirectX Plug-In \%s failed to unregister properly." (\%s: plug-in name)
#define ZQ_OPERATION_UNREGISTER_PLUGIN   32
#define ZQ_OPERATION_IMPORT_MEDIA        33 /**< "An error occurred while importing media." */
/// "An error occurred while creating a proxy file for a stream."
#define ZQ_OPERATION_CREATE_PROXY        34
#define ZQ_OPERATION_DEVICE_PREVIEW      35 /**< "An error occurred while previewing from the device." */
#define ZQ_OPERATION_DEVICE_CAPTURE      36 /**< "An error occurred while capturing from the device." */
#define ZQ_OPERATION_DEVICE_CONTROL      37 /**< "An error occurred while controlling the device." */
#define ZQ_OPERATION_DEVICE_FILE_PREVIEW 38 /**< "An error occurred while previewing a file on the device." */
#define ZQ_OPERATION_DEVICE_PRINT        39 /**< "An error occurred while printing a file to the device." */
/// "An error occurred while trying to upgrade this application."
#define ZQ_OPERATION_UPGRADE             40
/// "An error occurred while working with a camera or scanner."
#define ZQ_OPERATION_CAMERA_SCANNER      41
/// "An error occurred while initializing the Show Me component.  All Show Me functionality will be
/// disabled."
#define ZQ_OPERATION_SHOW_ME             42
#define ZQ_OPERATION_DISK_MANAGEMENT     43 /**< "Some disk management options may not work as expected." */
#define ZQ_OPERATION_EXTRACT_CD_AUDIO    44 /**< "An error occurred while extracting audio from CD." */
/// "An error occurred during this command (\%s)" (\%s: command name)
#define ZQ_OPERATION_COMMAND             45
/// "An error occurred during execution of the script \%s." (\%s: script)
#define ZQ_OPERATION_RUN_SCRIPT          46
/// "An error occurred while trying to open a project file from a previous version."
#define ZQ_OPERATION_OPEN_OLD_PROJECT    47
/// "An error occurred initializing the Media Manager. This feature will be unavailable."
#define ZQ_OPERATION_MEDIA_MANAGER       48
/// "An error occurred while transferring to the portable disc recorder."
#define ZQ_OPERATION_RECORDER_TRANSFER   49
/// "An error occurred accessing source project information from the media.  \%s" (\%s: details)
#define ZQ_OPERATION_SOURCE_PROJECT      50

/// An operation id as the `message` argument.
#define ZQ_ERROR_OPERATION(id) ((LPCWSTR)(ULONG_PTR)(WORD)(id))

// ---- Registered error tables ------------------------------------------------

/// A text slot: a string id of the library's language handle (a value below
/// 0x10000, written ZQ_ERROR_TEXT_ID(id)) or a pointer to a UTF-16 text.
/// A slot of 0 means "no text".
#define ZQ_ERROR_TEXT_ID(id) ((LPCWSTR)(ULONG_PTR)(WORD)(id))

/// One entry of a registered error table: a result code and its text.
typedef struct ZQERRORENTRY {
  HRESULT code;  ///< the result code
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

/// The result code of a Win32 error code: the library's own code (or the
/// system's) for the common errors; E_FAIL for the rest.
ZQAPI HRESULT WINAPI ZqErrorHandler_TranslateWin32Error(DWORD error) ZQ_NOTHROW;
/// The result code of a common-dialog extended error code: E_INVALIDARG,
/// E_OUTOFMEMORY or the library's own code for those it knows; E_FAIL for the rest.
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
