/// @file
/// Message boxes and window text: the application's caption and default
/// owner, the system box with owner choice and centring, hooks for
/// unattended runs, the library's own message box (more button sets, a
/// collapsible details area, a "don't show again" check box), and window-text
/// setters that format their text with the library's printer.
#pragma once
#include "zq/base.h"

// ---- Style word ---------------------------------------------------------------
// The low bits are the system's (MB_OK ... MB_RETRYCANCEL, MB_ICONHAND ...,
// MB_DEFBUTTON1 ...). The library's box adds:

#define ZQ_MB_BUTTONSET_MASK        0x000F  ///< the button set
#define ZQ_MB_YESYESALLNOCANCEL      10  ///< Yes, Yes to All, No, Cancel
#define ZQ_MB_YESNODELETE            11  ///< Yes, No, Delete
#define ZQ_MB_YESNONOALLCANCEL       12  ///< Yes, No, No to All, Cancel
#define ZQ_MB_YESYESALLNONOALLCANCEL 13  ///< Yes, Yes to All, No, No to All, Cancel

#define ZQ_MB_ICON_MASK             0x00F0  ///< the icon
#define ZQ_MB_DEFBUTTON_MASK        0x0F00  ///< the default button
#define ZQ_MB_DEFBUTTON(index)      (((index) & 0xF) << 8)  ///< 0-based; capped at the last button

///@{
/// A check box "Do not show this message again" (library box only): the two
/// bits 0x3000 must read 01.
#define ZQ_MB_CHECKBOX              0x1000
#define ZQ_MB_CHECKBOX_MASK         0x3000
///@}

// The details area (library box only) takes both bits; either one requires a
// details text.
#ifndef ZQ_MB_DETAILS
#define ZQ_MB_DETAILS               0xC000  ///< a details area (library box only): requires a details text
#endif

///@{
/// Button and control ids of the library's box beyond IDOK ... IDNO.
#define ZQ_IDYESTOALL    100
#define ZQ_IDDELETE      101
#define ZQ_IDNOTOALL     102
#define ZQ_IDDETAILS     200  ///< the details toggle
#define ZQ_IDDETAILSTEXT 201  ///< the read-only details edit
#define ZQ_IDCHECKBOX    300
///@}

// ---- Application data and hooks -------------------------------------------------

/// Called instead of showing a box. Returns the button id to answer with, or
/// -1 to let the box be shown.
typedef int(CALLBACK* ZQMSGBOXHOOK)(LPVOID userData, HWND owner, LPCWSTR text, LPCWSTR caption, UINT style);
/// Receives the text of each box the unattended hook answers.
typedef void(CALLBACK* ZQMSGBOXREPORT)(LPCWSTR text);

/// Sets the module instance (dialog templates), the default owner (may be
/// null) and the caption of every box (at most 127 characters; a longer one
/// is cut; null = empty). Clears the hooks and makes the calling thread the
/// UI thread. Returns 1.
ZQAPI BOOL WINAPI ZqMsgBoxSetAppData(HINSTANCE instance, HWND owner, LPCWSTR caption) ZQ_NOTHROW;
/// Routes every box to `hook` (null: show boxes again). 1; 0 and nothing
/// changed when not called on the UI thread.
ZQAPI BOOL WINAPI ZqMsgBoxSetHook(ZQMSGBOXHOOK hook, LPVOID userData) ZQ_NOTHROW;
/// Installs the built-in unattended hook: on the UI thread it passes each text
/// to `report` (may be null) and answers with the style's default button; a
/// default index the button set does not have reports "Invalid Message Box
/// parameter...User intervention is needed!" and the box is shown. Off the UI
/// thread the hook answers 0 without a box. 1; 0 off the UI thread.
ZQAPI BOOL WINAPI ZqMsgBoxSetNoUIHook(ZQMSGBOXREPORT report) ZQ_NOTHROW;

// ---- Boxes ----------------------------------------------------------------------------
// Owner: null means the last active pop-up of the default owner; (HWND)-1
// means no owner at all.

/// The system message box (text shown as written; a null caption is the
/// application caption), centred on its owner or monitor. Button sets the
/// system box lacks (10-13) are shown in the library's box. Returns the
/// button id; 0 when no box could be shown.
ZQAPI int WINAPI ZqMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) ZQ_NOTHROW;

// Formatting of the variadic functions: a text holding "%" or "$" is
// expanded with the printer into a buffer of 2,048 characters (a longer
// result is cut); any other text is used as it is.

/// Shows a message box whose text is formatted from `format` and the arguments; the button id.
ZQAPI int ZQCDECL ZqMsgBox(HWND owner, UINT style, LPCWSTR format, ...) ZQ_NOTHROW;
/// The format is string `id` of `lang` (null: the library's own handle).
ZQAPI int ZQCDECL ZqMsgBoxId(HZQLANG lang, HWND owner, UINT style, UINT id, ...) ZQ_NOTHROW;
/// The library's box. `details` is the text of the details area (shown as
/// written). 0 without a box when a details bit is set and `details` is null.
ZQAPI int ZQCDECL ZqMsgBox_Custom(HWND owner, UINT style, LPCWSTR details, LPCWSTR format, ...) ZQ_NOTHROW;
/// As ZqMsgBox_Custom, with the check box's text (null: "Do not show this
/// message again.") and state (initial state in, final state out; left as it
/// is when the box is not shown). 0 without a box when ZQ_MB_CHECKBOX is set
/// and `checkState` is null.
ZQAPI int ZQCDECL ZqMsgBox_CustomEx(HWND owner, UINT style, LPCWSTR details, LPCWSTR checkText, int* checkState,
                                    LPCWSTR format, ...) ZQ_NOTHROW;

/// Plays a system sound asynchronously: 1 exclamation, 2 asterisk, 3
/// question, 4 "done processing", others the default sound. The result of
/// the player.
ZQAPI BOOL WINAPI ZqBeep(int kind) ZQ_NOTHROW;

// ---- Window text ------------------------------------------------------------------------
// Each returns the number of characters set, or 0 when the system call
// fails or the format is null.

/// Characters set, or 0 when the system call fails.
ZQAPI int ZQCDECL ZqSetWindowText(HWND window, LPCWSTR format, ...) ZQ_NOTHROW;
/// As ZqSetWindowText, the format being string `id` of the language handle.
ZQAPI int ZQCDECL ZqSetWindowTextId(HZQLANG lang, HWND window, UINT id, ...) ZQ_NOTHROW;
/// Sets a dialog item's text, formatted from `format` and the arguments; a null format does nothing
/// and returns 0.
ZQAPI int ZQCDECL ZqSetDlgItemText(HWND dialog, int item, LPCWSTR format, ...) ZQ_NOTHROW;
/// As ZqSetDlgItemText, the format being string `id` of the language handle.
ZQAPI int ZQCDECL ZqSetDlgItemTextId(HZQLANG lang, HWND dialog, int item, UINT id, ...) ZQ_NOTHROW;
/// Leaves the item untouched (no redraw) when it already shows exactly this
/// text, and returns its length.
ZQAPI int ZQCDECL ZqSetDlgItemTextNoFlash(HWND dialog, int item, LPCWSTR format, ...) ZQ_NOTHROW;
/// Appends the formatted text and a line break to a multi-line edit control.
/// Leading "~" characters are skipped and suppress the line break; a null
/// format clears the control. Returns the characters formatted.
ZQAPI int ZQCDECL ZqMEditPrintF(HWND edit, LPCWSTR format, ...) ZQ_NOTHROW;
/// On systems whose ANSI code page is not 1252, sends `font` (null: the UI
/// font) to every direct child of the dialog and returns 1; else 0.
ZQAPI BOOL WINAPI ZqDlgInitFont(HWND dialog, HFONT font) ZQ_NOTHROW;
