/// @file
/// Skin bitmaps: horizontal strips of equally sized cells, from the
/// module's resources, from files or from "skins.ini" overrides, cut into
/// image lists for list and toolbar controls and tinted toward the active
/// caption colour.
#pragma once
#include <commctrl.h>

#include "zq/base.h"

// ---- skin bitmap record (zero it before first use) ---------------------------------
#define ZQSKIN_TILE        0x01u  ///< tile the bitmap
#define ZQSKIN_RESOURCE    0x02u  ///< bitmap in resource memory (not owned)
#define ZQSKIN_COLORIZE    0x04u  ///< colourise the bitmap
#define ZQSKIN_MASKED      0x08u  ///< draw the bitmap masked
#define ZQSKIN_GLOBAL_COPY 0x10u  ///< owned copy in movable global memory
#define ZQSKIN_NO_LISTS    0x20u  ///< build no image lists from it
#define ZQSKIN_DECODED     0x40u  ///< owned block from ZqDibFromPng (ZqDibFree)
/// None of RESOURCE, GLOBAL_COPY and DECODED: a copy-on-write view of a
/// mapped bitmap file.
typedef struct tZQSKINBMP {
  BITMAPINFOHEADER* bitmap;  ///< packed: header, masks or colour table, rows
  void* auxiliary;           ///< optional block owned by the record (HeapFree of the process heap)
  DWORD flags;  ///< ZQSKIN_ flags
  HGDIOBJ object;            ///< optional bitmap owned by the record
} tZQSKINBMP;

///@{
/// A skin: default flags (bit 0 tile, bit 1 colourise, bit 2 mask), the key
/// in "skins.ini" (or null) and the default resource id.
#define ZQSKINID_TILE     0x1u
#define ZQSKINID_COLORIZE 0x2u
#define ZQSKINID_MASK     0x4u
///@}
/// A skin's defaults: flags, the key in "skins.ini" and the resource id.
typedef struct CSkinID {
  DWORD flags;  ///< default ZQSKINID_ flags
  LPCWSTR key;  ///< key in "skins.ini", or null
  UINT resource;  ///< default resource id
} CSkinID;

/// The context of skin lookups: the language handle, the section of
/// "skins.ini" in the module's folder ("UseSection" of section "skins",
/// default "skins", at most 63 characters) and the path of that file. A
/// null instance holds neither, and every lookup takes the defaults.
typedef struct tZQSKINCONTEXT {
  HZQLANG lang;  ///< language handle of the module
  HINSTANCE instance;  ///< the module
  DWORD value;       ///< the caller's own value, not read here
  LPWSTR section;    ///< null without an instance
  LPWSTR iniPath;  ///< path of "skins.ini", null without an instance
} tZQSKINCONTEXT;
/// Fills a skin context: the language handle, the module and its section of "skins.ini".
ZQAPI HRESULT WINAPI ZqSkinContext_Init(tZQSKINCONTEXT* context, HZQLANG lang, HINSTANCE instance,
                                        DWORD value) ZQ_NOTHROW;
/// Frees the strings the context holds.
ZQAPI void WINAPI ZqSkinContext_Term(tZQSKINCONTEXT* context) ZQ_NOTHROW;
#ifdef __cplusplus
/// C++: a skin context that initialises itself on construction and frees its strings on destruction.
class CZqSkinContext : public tZQSKINCONTEXT {
 public:
  /// C++: a skin context initialised on construction and released on destruction.
  CZqSkinContext(HZQLANG lang, HINSTANCE instance, DWORD value) noexcept : tZQSKINCONTEXT{} {
    ZqSkinContext_Init(this, lang, instance, value);
  }
  ~CZqSkinContext() { ZqSkinContext_Term(this); }
  CZqSkinContext(const CZqSkinContext&) = delete;
  CZqSkinContext& operator=(const CZqSkinContext&) = delete;
};
#endif

/// S_OK when a bitmap was obtained, else E_FAIL.
ZQAPI HRESULT WINAPI ZqSkin_Bmp_Load(tZQSKINBMP* record, const CSkinID* id, const tZQSKINCONTEXT* context) ZQ_NOTHROW;
/// Types 32 (PNG), 2 (bitmap, used in place) and "BINARY" (PNG), in that order.
ZQAPI HRESULT WINAPI ZqSkin_Bmp_GetFromResource(tZQSKINBMP* record, LPCWSTR name, HZQLANG lang) ZQ_NOTHROW;
/// A file of more than 54 bytes: a BMP ("BM", 40-, 108- or 124-byte header,
/// positive height, the rows at bfOffBits inside the file) or else PNG. A
/// BMP laid out as a packed bitmap stays mapped; any other is copied into a
/// packed global block.
ZQAPI HRESULT WINAPI ZqSkin_Bmp_GetFromFile(tZQSKINBMP* record, LPCWSTR path) ZQ_NOTHROW;
/// `S_OK` when the target holds a bitmap afterwards, else `E_FAIL`. Frees the target and copies the
/// fields. A source in resource memory is shared.
ZQAPI HRESULT WINAPI ZqSkin_Bmp_Copy(tZQSKINBMP* record, const tZQSKINBMP* source) ZQ_NOTHROW;
/// Releases what the record owns according to its flags (PNG-decoded: `ZqDibFree`; global copy:
/// unlock and free; mapped file: unmap; resource memory: nothing), frees the auxiliary block and
/// deletes the GDI object, then clears the bitmap pointer and the flags 0x2, 0x10 and 0x40.
ZQAPI void WINAPI ZqSkin_Bmp_Free(tZQSKINBMP* record) ZQ_NOTHROW;

// ---- image lists ----------------------------------------------------------------------------------
///@{
/// Flags: bits 0-7 tint opacity, bits 8-15 desaturation before the tint.
#define ZQSKINLIST_APPEND 0x10000u  ///< append to the lists instead of emptying them first
#define ZQSKINLIST_MASKED 0x20000u  ///< always build masked 24-bit lists
///@}
/// Cuts the strip into cells of the given width (the height is written
/// back): row i of the strip goes to list i; lists beyond the rows get the
/// first row tinted and made "hot" (list 1), desaturated and faded (list 2),
/// or plain. Lists are created in empty slots. Returns the number of images
/// in the first list (0 for a cell width of 0 or no bitmap).
ZQAPI int WINAPI ZqSkin_GetImageLists(const BITMAPINFOHEADER* bitmap, SIZE* cell, HIMAGELIST* lists, int count,
                                      DWORD flags, int* previous) ZQ_NOTHROW;
/// The same from a record (nothing added without a bitmap or with
/// ZQSKIN_NO_LISTS). Exported under this plain name; C++ callers may use
/// the overload below.
ZQAPI int WINAPI ZqSkin_Bmp_GetImageLists(const tZQSKINBMP* record, SIZE* cell, HIMAGELIST* lists, int count,
                                          DWORD flags, int* previous) ZQ_NOTHROW;
#ifdef __cplusplus
/// C++: ZqSkin_Bmp_GetImageLists.
inline int ZqSkin_GetImageLists(const tZQSKINBMP* record, SIZE* cell, HIMAGELIST* lists, int count, DWORD flags,
                                int* previous) noexcept {
  return ZqSkin_Bmp_GetImageLists(record, cell, lists, count, flags, previous);
}
#endif
/// One list per tint colour (`colourCount` colours used in turn), each the
/// first row of a 32-bit strip tinted with its colour.
ZQAPI int WINAPI ZqSkin_GetTrackIconImageLists(const tZQSKINBMP* record, SIZE* cell, const COLORREF* colours,
                                               int colourCount, int count, HIMAGELIST* lists,
                                               DWORD flags) ZQ_NOTHROW;
/// first <= 0 and number < 0: empties every list; else removes images
/// first .. first + number - 1 (number < 0: to the last) from each list.
ZQAPI void WINAPI ZqSkin_RemoveImageListsItems(HIMAGELIST* lists, int count, int first, int number) ZQ_NOTHROW;
