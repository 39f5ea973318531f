/// @file
/// Language handles, localised resources and the international settings.
#pragma once
#include "zq/base.h"
#include "zq/internationals.h"

#include <commctrl.h>

///@{
/// Items of ZqGetInat.
#define ZQINAT_SYSTEM_LCID      0  ///< system default LCID
#define ZQINAT_LANGUAGE_ID      1  ///< language id
#define ZQINAT_LANGUAGE_NAME    2  ///< language name (copied into the text; the result is its length)
#define ZQINAT_ENGLISH_LANGUAGE 3  ///< English language name (copied into the text; the result is its length)
#define ZQINAT_COUNTRY_CODE     4  ///< country code
#define ZQINAT_DECIMAL          24  ///< decimal separator (copied into the text; the result is its length)
#define ZQINAT_LIST             40  ///< list separator (copied into the text; the result is its length)
#define ZQINAT_TIME             60  ///< time separator (copied into the text; the result is its length)
/// SMPTE whole separator ":" (copied into the text; the result is its length)
#define ZQINAT_SMPTE_WHOLE      100
/// SMPTE non-drop frame separator "." (copied into the text; the result is its length)
#define ZQINAT_SMPTE_NONDROP    101
/// SMPTE drop frame separator "," (copied into the text; the result is its length)
#define ZQINAT_SMPTE_DROP       102
/// Measure–beat separator "." (copied into the text; the result is its length)
#define ZQINAT_MEASURE_BEAT     120
/// Beat–tick separator "." (copied into the text; the result is its length)
#define ZQINAT_BEAT_TICK        121
///@}

/// The value of one international item; text items are also copied into
/// `text` (at most 63 characters and the terminator) when it is given.
ZQAPI int WINAPI ZqGetInat(int item, LPWSTR text) ZQ_NOTHROW;

// ---- Language handles ------------------------------------------------------

/// Opens a handle for `module`: its ring holds `bufferSize` characters
/// (0 = 8192, 1..2048 = 2048), its language module is "<module name>.LNG"
/// beside the module when that file exists. E_POINTER for a null `lang`,
/// E_OUTOFMEMORY when the handle or its ring cannot be allocated.
ZQAPI HRESULT WINAPI ZqLang_Open(HZQLANG* lang, HINSTANCE module, LCID lcid, UINT bufferSize) ZQ_NOTHROW;
/// Releases everything the handle owns; strings from ZqGetString die with it.
/// A null handle is accepted. Always S_OK.
ZQAPI HRESULT WINAPI ZqLang_Close(HZQLANG lang) ZQ_NOTHROW;
/// Makes `languageModule` (when not null) the language module of `lang` and of
/// the library's default handle. 0 when either handle is null.
ZQAPI BOOL WINAPI ZqLang_ChangeLangInst(HZQLANG lang, HINSTANCE languageModule) ZQ_NOTHROW;
/// Sets the LCID (0 = 1033) of `lang` and of the default handle; the language
/// module is used for non-English LCIDs only. 0 when either handle is null.
ZQAPI BOOL WINAPI ZqLang_UpdateKernelLCID(HZQLANG lang, LCID lcid, DWORD reserved) ZQ_NOTHROW;
/// The handle's LCID, 0 for a null handle.
ZQAPI LCID WINAPI ZqLang_GetLCID(HZQLANG lang) ZQ_NOTHROW;
/// The abbreviated language name of the handle's LCID ("ENU"). 0 for a null
/// handle, a null buffer or capacity <= 0.
ZQAPI BOOL WINAPI ZqLang_GetLangAbbrev(HZQLANG lang, LPWSTR text, int capacity) ZQ_NOTHROW;
/// 1 when the LCID's primary language is English.
ZQAPI BOOL WINAPI ZqLang_IsLCIDEnglish(LCID lcid) ZQ_NOTHROW;
/// The module resources come from: the language module while it is in use,
/// else the handle's module. Null for a null handle.
ZQAPI HINSTANCE WINAPI ZqLang_InstFromLang(HZQLANG lang) ZQ_NOTHROW;
/// Sets the module's language id used in help-file names (at most 4
/// characters; null or empty = "ENU"); returns its length.
ZQAPI int WINAPI ZqSetLangID(LPCWSTR id) ZQ_NOTHROW;

// ---- Strings -----------------------------------------------------------------

/// Loads string `id` into `text` (capacity in characters, terminator
/// included) and removes a leading "^*". Returns the characters placed; 0 and
/// an empty buffer when there is no such string; nothing is written for a null
/// buffer or capacity <= 0.
ZQAPI int WINAPI ZqLoadString(HZQLANG lang, UINT id, LPWSTR text, int capacity) ZQ_NOTHROW;
/// A cached copy of string `id`, valid until the handle is closed; the same
/// pointer every time. Never null: "" when there is no such string.
ZQAPI LPCWSTR WINAPI ZqGetString(HZQLANG lang, UINT id) ZQ_NOTHROW;
/// As ZqGetString, with tab characters of the cached text turned into
/// backspaces (menu texts).
ZQAPI LPCWSTR WINAPI ZqGetMenuString(HZQLANG lang, UINT id) ZQ_NOTHROW;
/// 1 when the handle's LCID is 1041 (Japanese).
ZQAPI BOOL WINAPI ZqLang_IsNameOrderReversed(HZQLANG lang) ZQ_NOTHROW;
/// "first last", or "last first" for Japanese (LCID 1041); returns the length
/// written (at most capacity - 1).
ZQAPI int WINAPI ZqLang_LocalizeUserName(HZQLANG lang, LPCWSTR firstName, LPCWSTR lastName, LPWSTR text,
                                         int capacity) ZQ_NOTHROW;

// ---- Resources (language module first, then the handle's module) ----------

/// Creates a modeless dialog from the template `name`, found in the language module first, then in
/// the module. The window, or null.
ZQAPI HWND WINAPI ZqCreateDialogParam(HZQLANG lang, LPCWSTR name, HWND parent, DLGPROC proc,
                                      LPARAM param) ZQ_NOTHROW;
/// Creates a modeless dialog from an in-memory template, on the language module's instance when
/// there is one. The window, or null.
ZQAPI HWND WINAPI ZqCreateDialogIndirectParam(HZQLANG lang, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                              DLGPROC proc, LPARAM param) ZQ_NOTHROW;
/// Runs a modal dialog from the template `name` (the language module first,
/// then the module); the dialog's result, -1 when it cannot be created.
ZQAPI INT_PTR WINAPI ZqDialogBoxParam(HZQLANG lang, LPCWSTR name, HWND parent, DLGPROC proc,
                                      LPARAM param) ZQ_NOTHROW;
/// Runs a modal dialog from an in-memory template on the module's instance. The dialog's result, -1
/// when it cannot be created.
ZQAPI INT_PTR WINAPI ZqDialogBoxIndirectParam(HZQLANG lang, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                              DLGPROC proc, LPARAM param) ZQ_NOTHROW;
/// A table built from the language module must be released with
/// DestroyAcceleratorTable; one from the module is the system's.
ZQAPI HACCEL WINAPI ZqLoadAccelerators(HZQLANG lang, LPCWSTR name) ZQ_NOTHROW;
/// Loads a menu and removes the "^*" marker from the items of its pop-ups.
ZQAPI HMENU WINAPI ZqLoadMenu(HZQLANG lang, LPCWSTR name) ZQ_NOTHROW;
/// The loaded resource (its data stays valid while the module is loaded) and
/// its size in bytes; null and size 0 when it is not found.
ZQAPI HGLOBAL WINAPI ZqLoadResourceCustom(HZQLANG lang, LPCWSTR name, LPCWSTR type, DWORD* size) ZQ_NOTHROW;
/// Finds a resource of the caller's type in the language module first, then in the module. The
/// resource handle, or null.
ZQAPI HRSRC WINAPI ZqFindResource(HZQLANG lang, LPCWSTR name, LPCWSTR type) ZQ_NOTHROW;
/// The first of `count` types that has the resource; `index` receives its
/// position (-1 when none).
ZQAPI HRSRC WINAPI ZqFindResourceMulti(HZQLANG lang, LPCWSTR name, const LPCWSTR* types, int count,
                                       int* index) ZQ_NOTHROW;
/// Load or measure a resource found by ZqFindResource(Multi), from whichever
/// of the two modules holds it.
ZQAPI HGLOBAL WINAPI ZqLoadResource(HZQLANG lang, HRSRC resource) ZQ_NOTHROW;
/// The size in bytes of a resource found by ZqFindResource, from whichever module holds it; 0 on
/// failure.
ZQAPI DWORD WINAPI ZqSizeofResource(HZQLANG lang, HRSRC resource) ZQ_NOTHROW;
/// The language module when it holds the resource, else the handle's module.
ZQAPI HINSTANCE WINAPI ZqFindResInstance(HZQLANG lang, LPCWSTR name, LPCWSTR type) ZQ_NOTHROW;

/// Images come from the handle's module only (a null handle: the system's).
ZQAPI HBITMAP WINAPI ZqLoadBitmap(HZQLANG lang, LPCWSTR name) ZQ_NOTHROW;
/// Loads an icon from the handle's module (a null handle: the system's icons). The icon, or null.
ZQAPI HICON WINAPI ZqLoadIcon(HZQLANG lang, LPCWSTR name) ZQ_NOTHROW;
/// Loads an image (LoadImageW) from the handle's module (a null handle: the system's). The handle,
/// or null.
ZQAPI HANDLE WINAPI ZqLoadImage(HZQLANG lang, LPCWSTR name, UINT type, int width, int height,
                                UINT flags) ZQ_NOTHROW;
/// Loads an image list (ImageList_LoadImageW) from the handle's module; null on failure.
ZQAPI HIMAGELIST WINAPI ZqImageList_LoadImage(HZQLANG lang, LPCWSTR name, int width, int grow,
                                              COLORREF mask, UINT type, UINT flags) ZQ_NOTHROW;
/// A null handle with a name that is no system cursor id loads from the library.
ZQAPI HCURSOR WINAPI ZqLoadCursor(HZQLANG lang, LPCWSTR name) ZQ_NOTHROW;
/// Creates the dialog on the desktop, stores its window width and height and
/// destroys it. 0 (size untouched) when it cannot be created.
ZQAPI BOOL WINAPI ZqGetDialogSize(HZQLANG lang, LPCWSTR name, DLGPROC proc, LPARAM param,
                                  SIZE* size) ZQ_NOTHROW;
/// "DEU,ENU": the languages in which the language module holds version
/// resource `id`; returns the full length, writes at most capacity - 1.
ZQAPI int WINAPI ZqEnumResourceLanguages(HZQLANG lang, UINT id, LPWSTR text, int capacity) ZQ_NOTHROW;

// ---- International settings, stored language, locale -------------------------

/// No destination: rebuilds the record from the user locale and registers the
/// separator and label tokens. With one: copies min(size, 796) bytes and
/// stores the copied count in the copy's size field (when it holds one).
/// Always 0.
ZQAPI int WINAPI ZqLang_GetInternationals(ZQINTERNATIONALS* destination, int size) ZQ_NOTHROW;
/// Version word: major in bits 31-24, minor in bits 23-16.
ZQAPI BOOL WINAPI ZqLang_LoadUserLCIDMetric(LPCWSTR application, DWORD version, LCID* lcid) ZQ_NOTHROW;
/// 1 after writing the low 16 bits of the LCID as `REG_DWORD` "ULangID" to the same key (created if
/// needed); 0 on failure.
ZQAPI BOOL WINAPI ZqLang_SaveUserLCIDMetric(LPCWSTR application, DWORD version, LCID lcid) ZQ_NOTHROW;
/// The `REG_DWORD` value "Locale" of the `HKEY_LOCAL_MACHINE` key formed with "\%s\\\%s" from
/// "Software\\Halvane" and "Shared Information", 0 when it cannot be read.
ZQAPI LCID WINAPI ZqGetLocale(void) ZQ_NOTHROW;
/// Writes the shared "Locale" value that ZqGetLocale reads. S_OK; E_FAIL when the key cannot be
/// created or written.
ZQAPI HRESULT WINAPI ZqSetLocale(LCID lcid) ZQ_NOTHROW;
