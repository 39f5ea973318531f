/// @file
/// The run-time binding to the visual-styles library ("UxTheme.dll"): a theme
/// record with the library, its entry points looked up once by name and a
/// theme handle per window class, a process-wide default record, theme-change
/// handling, and check boxes and radio buttons drawn with the theme or, with
/// themes off, the classic way.
#pragma once
#include "zq/base.h"

#include <uxtheme.h>

/// Window classes of the record's theme handles, in order.
enum {
  ZQXPTHEME_WINDOW, ZQXPTHEME_BUTTON, ZQXPTHEME_REBAR, ZQXPTHEME_TOOLBAR, ZQXPTHEME_STATUS,
  ZQXPTHEME_LISTVIEW, ZQXPTHEME_HEADER, ZQXPTHEME_PROGRESS, ZQXPTHEME_TAB, ZQXPTHEME_TRACKBAR,
  ZQXPTHEME_TOOLTIP, ZQXPTHEME_TREEVIEW, ZQXPTHEME_SPIN, ZQXPTHEME_SCROLLBAR, ZQXPTHEME_EDIT,
  ZQXPTHEME_COMBOBOX, ZQXPTHEME_EXPLORERBAR,
  ZQXPTHEME_CLASS_COUNT
};

/// Entry points of the record, in order; each slot holds the function of that
/// name in "UxTheme.dll".
enum {
  ZQXT_OpenThemeData, ZQXT_CloseThemeData, ZQXT_DrawThemeBackground, ZQXT_DrawThemeText,
  ZQXT_GetThemeBackgroundContentRect, ZQXT_GetThemeBackgroundExtent, ZQXT_GetThemePartSize,
  ZQXT_GetThemeTextExtent, ZQXT_GetThemeTextMetrics, ZQXT_GetThemeBackgroundRegion,
  ZQXT_HitTestThemeBackground, ZQXT_DrawThemeEdge, ZQXT_DrawThemeIcon, ZQXT_IsThemePartDefined,
  ZQXT_IsThemeBackgroundPartiallyTransparent, ZQXT_GetThemeColor, ZQXT_GetThemeMetric,
  ZQXT_GetThemeMargins, ZQXT_GetThemeString, ZQXT_GetThemeBool, ZQXT_GetThemeInt,
  ZQXT_GetThemeEnumValue, ZQXT_GetThemePosition, ZQXT_GetThemeFont, ZQXT_GetThemeRect,
  ZQXT_GetThemeIntList, ZQXT_GetThemePropertyOrigin, ZQXT_SetWindowTheme, ZQXT_GetThemeFilename,
  ZQXT_GetThemeSysColor, ZQXT_GetThemeSysColorBrush, ZQXT_GetThemeSysBool, ZQXT_GetThemeSysSize,
  ZQXT_GetThemeSysFont, ZQXT_GetThemeSysString, ZQXT_GetThemeSysInt, ZQXT_IsThemeActive,
  ZQXT_IsAppThemed, ZQXT_GetWindowTheme, ZQXT_EnableThemeDialogTexture,
  ZQXT_IsThemeDialogTextureEnabled, ZQXT_GetThemeAppProperties, ZQXT_SetThemeAppProperties,
  ZQXT_GetCurrentThemeName, ZQXT_GetThemeDocumentationProperty, ZQXT_DrawThemeParentBackground,
  ZQXT_EnableTheming,
  ZQXT_ENTRY_COUNT
};

/// The theme record (268 bytes).
typedef struct ZQXPTHEME {
  BOOL active;                            ///< themes are drawn
  BOOL wanted;                            ///< the application wants themes
  HTHEME themes[ZQXPTHEME_CLASS_COUNT];   ///< null while themes are off
  HMODULE library;                        ///< "UxTheme.dll"
  FARPROC entries[ZQXT_ENTRY_COUNT];  ///< the library's theme functions, null while not loaded
} ZQXPTHEME;

#ifdef __cplusplus
static_assert(sizeof(ZQXPTHEME) == 268, "theme record");
#endif

///@{
/// Results of XPTheme_Initialize besides E_UNEXPECTED.
#define ZQXPTHEME_OK          0
#define ZQXPTHEME_NO_LIBRARY  1
///@}

/// Loads the library, looks up the entry points and, when themes are active,
/// opens the class handles for `window`; the record becomes the default.
/// followSystem: take the wish from the process's theme properties;
/// otherwise the record's `wanted` flag switches the process's theming on or
/// off. 0; 1 without the library; E_UNEXPECTED when an entry point is missing
/// (the record is cleared and there is no default). E_POINTER for a null record.
ZQAPI HRESULT WINAPI XPTheme_Initialize(ZQXPTHEME* record, HWND window, BOOL followSystem) ZQ_NOTHROW;
/// Closes the class handles of `record` (null: the default) and, when themes
/// are still active, opens them again for `window`. 0.
ZQAPI HRESULT WINAPI XPTheme_Handle_WM_THEMECHANGED(ZQXPTHEME* record, HWND window) ZQ_NOTHROW;
/// A check box or radio button (DFCS_BUTTONCHECK or DFCS_BUTTONRADIO with the
/// other DFCS_ state bits): with the default theme when themes are active,
/// otherwise by DrawFrameControl.
ZQAPI BOOL WINAPI XPTheme_DrawFrameControl(HDC dc, const RECT* rect, UINT state) ZQ_NOTHROW;
/// The default record, or null.
ZQAPI ZQXPTHEME* WINAPI XPTheme_GetDefault(void) ZQ_NOTHROW;
/// Clears the process-wide record (releasing what it held), removes the
/// default and stores `wanted` as the record's wish. Returns `wanted`.
ZQAPI BOOL WINAPI XPTheme_Default(BOOL wanted) ZQ_NOTHROW;
/// With a default theme and a record: closes the record's handles, frees its
/// library, clears it (no longer the default) and returns null. Otherwise
/// returns the default record.
ZQAPI ZQXPTHEME* WINAPI XPTheme_Cleanup(ZQXPTHEME* record) ZQ_NOTHROW;
