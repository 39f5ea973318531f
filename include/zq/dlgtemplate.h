/// @file
/// Dialog templates built at run time from a flat description, and dialog
/// templates (from the resources or anywhere else) mapped back into it.
///
/// Text fields hold a pointer to a UTF-16 string or a number below 0x10000
/// (MAKEINTRESOURCEW): a string id of the caller's language handle for
/// titles and type faces, a resource ordinal for menus and window classes.
#pragma once
#include "zq/base.h"

/// The most items a built template holds; larger counts are cut.
#define ZQ_DLGTEMPLATE_MAX_ITEMS 256

// ---- Classic description (ZqCreateDialogTemplate) ------------------------------
/// A dialog description for ZqCreateDialogTemplate.
typedef struct ZQDLGTEMPLATE {
  DWORD style;          ///< DS_SETFONT (0x40): a font follows
  DWORD exStyle;  ///< extended window style
  WORD itemCount;  ///< number of items
  ///@{
  /// position and size in dialog units
  short x, y, cx, cy;
  ///@}
  WORD menu;            ///< resource ordinal, 0 for none
  WORD windowClass;     ///< class ordinal, 0 for the default class
  LPCWSTR title;        ///< string or string id
  DWORD pointSize;      ///< ignored for a null type face
  LPCWSTR typeFace;     ///< string or string id; null: 8-point "MS Sans Serif"
} ZQDLGTEMPLATE;

/// An item description for ZqCreateDialogTemplate.
typedef struct ZQDLGITEM {
  DWORD style;  ///< window style
  DWORD exStyle;  ///< extended window style
  ///@{
  /// position and size in dialog units
  short x, y, cx, cy;
  ///@}
  WORD id;  ///< control id
  LPCWSTR windowClass;  ///< string, or a predefined class ordinal (0x0080 button ...)
  LPCWSTR title;        ///< string or string id; null: empty
} ZQDLGITEM;

// ---- Extended description (ZqCreateDialogTemplateEx, ZqMapDialogTemplate) ---------
/// An extended dialog description (ZqCreateDialogTemplateEx, ZqMapDialogTemplate).
typedef struct ZQDLGTEMPLATEEX {
  DWORD helpId;  ///< help context id
  DWORD exStyle;  ///< extended window style
  DWORD style;          ///< DS_SETFONT (0x40): a font follows
  WORD itemCount;  ///< number of items
  ///@{
  /// position and size in dialog units
  short x, y, cx, cy;
  ///@}
  LPCWSTR menu;         ///< string, ordinal, or null for none
  LPCWSTR windowClass;  ///< string, ordinal, or null for the default class
  LPCWSTR title;        ///< string or string id
  WORD pointSize;  ///< font size in points
  WORD weight;  ///< font weight
  BYTE italic;  ///< non-zero: italic
  BYTE charSet;  ///< character set
  LPCWSTR typeFace;     ///< string or string id; null: 8-point "MS Sans Serif"
} ZQDLGTEMPLATEEX;

/// An extended item description.
typedef struct ZQDLGITEMEX {
  DWORD helpId;  ///< help context id
  DWORD exStyle;  ///< extended window style
  DWORD style;  ///< window style
  ///@{
  /// position and size in dialog units
  short x, y, cx, cy;
  ///@}
  DWORD id;  ///< control id
  LPCWSTR windowClass;  ///< string, or a predefined class ordinal
  LPCWSTR title;        ///< string or string id (an ordinal when mapped from one); null: empty
  WORD creationDataSize;  ///< bytes of creation data
  const void* creationData;  ///< creation data, or null
} ZQDLGITEMEX;

#ifdef __cplusplus
static_assert(sizeof(ZQDLGTEMPLATE) == 36 && sizeof(ZQDLGITEM) == 28, "classic description");
static_assert(sizeof(ZQDLGTEMPLATEEX) == 48 && sizeof(ZQDLGITEMEX) == 40, "extended description");
#endif

/// A classic template in fixed, zero-filled global memory (GlobalFree it);
/// null when memory is short or an argument is missing.
ZQAPI LPDLGTEMPLATEW WINAPI ZqCreateDialogTemplate(HZQLANG lang, const ZQDLGTEMPLATE* header,
                                                   const ZQDLGITEM* items) ZQ_NOTHROW;
/// An extended template (same memory rules); `size` (optional) receives its
/// size in bytes.
ZQAPI LPDLGTEMPLATEW WINAPI ZqCreateDialogTemplateEx(HZQLANG lang, const ZQDLGTEMPLATEEX* header,
                                                     const ZQDLGITEMEX* items, DWORD* size) ZQ_NOTHROW;
/// The size of dialog resource `name` found through the language handle
/// (its language module first) and its read-only bytes; 0 and null when it
/// is not found.
ZQAPI DWORD WINAPI ZqDialogTemplateFromRCID(HZQLANG lang, LPCWSTR name, const void** dialogTemplate) ZQ_NOTHROW;
/// Maps a classic or extended template of `size` bytes into one movable,
/// locked global block: the header, `itemCount` item records and the strings
/// and creation data they point to (unlock and free it through GlobalHandle).
/// Returns 48 + 40 x item count; 0 and null when an argument is missing,
/// memory is short, or the template does not fit its size.
ZQAPI DWORD WINAPI ZqMapDialogTemplate(const void* dialogTemplate, DWORD size,
                                       ZQDLGTEMPLATEEX** description) ZQ_NOTHROW;
