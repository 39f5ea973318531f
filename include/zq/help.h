/// @file
/// Help files and context help. Kind 0 is classic help (".hlp",
/// WinHelpW), kind 1 HTML Help (".chm", HtmlHelpW from "HHCTRL.OCX",
/// loaded on first use). A module's help file is found beside it, beside
/// the host program or in the shared folder named by "HelpFolder" under
/// HKLM `Software\Halvane\Shared Information`; a file localised for the
/// library's language (its three-letter abbreviation before the extension,
/// else its first two letters and anything) is preferred, except in
/// English. Buffers hold `length` characters, terminator included; help
/// paths never exceed 260 characters.
#pragma once
#include "zq/base.h"

#define ZQHELP_CLASSIC 0  ///< classic help files (".hlp", WinHelpW)
#define ZQHELP_HTML    1  ///< HTML Help files (".chm", HtmlHelpW)

/// One pair a control: (control id, help topic), ended by a control id of 0.
typedef struct ZQHELPIDPAIR {
  DWORD controlId;  ///< control id, 0 ends the table
  DWORD topic;  ///< its help topic
} ZQHELPIDPAIR;

/// The module's file name with the help extension, localised; non-zero
/// only when a localised file was found (the buffer is filled either way).
ZQAPI BOOL WINAPI ZqHelp_CreateHelpFilePath(int kind, HMODULE module, LPWSTR buffer, int length) ZQ_NOTHROW;
/// 1 when the shared help folder exists (the buffer then holds the path).
ZQAPI BOOL WINAPI ZqHelp_CreateSharedHelpFilePath(int kind, HMODULE module, LPWSTR buffer, int length) ZQ_NOTHROW;
/// The shared path when there is one, else `ZqHelp_CreateHelpFilePath`.
ZQAPI BOOL WINAPI ZqHelp_CreateHelpFilePathEX(int kind, HMODULE module, LPWSTR buffer, int length) ZQ_NOTHROW;
/// 1 when the file beside the module, or else beside the host, exists.
ZQAPI BOOL WINAPI ZqHelp_CreateUnsharedHelpFilePath(int kind, HMODULE module, LPWSTR buffer, int length) ZQ_NOTHROW;
/// 1 when a help file exists (shared or unshared first, as asked); else
/// the buffer is emptied.
ZQAPI BOOL WINAPI ZqHelp_CreatePluginHelpFilePath(int kind, HMODULE module, LPWSTR buffer, int length,
                                                  BOOL preferShared) ZQ_NOTHROW;
/// Stores the current file of kind 0 or 1 (at most 260 characters); `ZqHelp_GetHelpFilePath(kind,
/// buffer, length)` copies it out (truncated to length - 1). Other kinds do nothing.
ZQAPI void WINAPI ZqHelp_SetHelpFilePath(int kind, LPCWSTR path) ZQ_NOTHROW;
/// Copies the current help file of kind 0 or 1 (truncated to `length` - 1); other kinds copy nothing.
ZQAPI void WINAPI ZqHelp_GetHelpFilePath(int kind, LPWSTR buffer, int length) ZQ_NOTHROW;

/// Opens help with `command` and `data` for the given file or the kind's
/// current one.
ZQAPI BOOL WINAPI ZqHelp_ContextHelp(int kind, HWND window, DWORD_PTR data, UINT command, LPCWSTR path) ZQ_NOTHROW;
/// Pop-up help for a control through the table. HTML Help pop-ups read
/// "<file>::/Popup.txt": a file whose path leaves no room for that fails.
ZQAPI BOOL WINAPI ZqHelp_ContextPopupHelp(int kind, HWND window, DWORD topic, int controlId,
                                          const ZQHELPIDPAIR* table, LPCWSTR path) ZQ_NOTHROW;
/// 1 when the help request's mouse position lies over a toolbar button
/// (its command id then replaces the request's control id).
ZQAPI BOOL WINAPI ZqHelp_HitTestToolbar(HWND toolbar, HELPINFO* info) ZQ_NOTHROW;
