/// @file
/// The spreadsheet grid: a window class that shows a virtual table. The grid
/// keeps the column layout, the scroll position, the focus cell and the
/// selection; every row and cell comes from its owner through the owner
/// interface record (36 slots of callbacks and values). Cells are text,
/// check-box or push-button frames, image buttons, or embedded faders,
/// spinners and trackbars (one window-less instance per row of such a
/// column).
///
/// Rows and columns are 32-bit indices from 0; ZQSPREAD_HEADER (0xFFFF) names
/// the column-header row or the row-header column, and any index above
/// ZQSPREAD_HEADERMIN counts as a header index. The usable row count is
/// therefore capped at ZQSPREAD_MAXROWS: a larger count from the owner is
/// taken as ZQSPREAD_MAXROWS rows, so that every row (and the append row
/// after the last) keeps an index below the header indices and fits the
/// 16-bit row half of an embedded control's id.
#pragma once
#include "zq/base.h"

#include <commctrl.h>

#define ZQSPREAD_CLASSNAME  L"tarn50generalBld0SpreadClass"
#define ZQSPREAD_EDITCLASS  L"ZqSpreadEdit"
#define ZQSPREAD_HEADER     0xFFFFu
#define ZQSPREAD_HEADERMIN  0xFF00u
#define ZQSPREAD_MAXROWS    0xFEFFu
#define ZQSPREAD_TEXTMAX    1024      ///< characters of the grid's text buffer
#define ZQSPREAD_EDITID     98        ///< control id of the in-place editor

// ---- Style word (low 16 bits of the window style; SPM_SETSTYLE) -------------
#define SPS_FOCUSONLYACTIVE  0x0001
#define SPS_ASKEDIT          0x0002
#define SPS_EDITOR           0x0004
#define SPS_RESIZECOLUMNS    0x0008
#define SPS_ROWSELECT        0x0020
#define SPS_COLUMNSELECT     0x0040
#define SPS_TOOLTIPS         0x0080
#define SPS_MULTIROW         0x0100
#define SPS_MULTICOLUMN      0x0200
#define SPS_DRAGROWS         0x0400
#define SPS_DRAGCOLUMNS      0x0800
#define SPS_HLINES           0x1000
#define SPS_VLINES           0x2000
#define SPS_SOLIDLINES       0x4000
#define SPS_STRETCHLAST      0x8000

// ---- Extended flags (SPM_SETEXFLAGS) ---------------------------------------
#define SPX_REFUSEDCURSOR    0x01
#define SPX_DRAGCELLS        0x02
#define SPX_SIMPLEMOUSE      0x04
#define SPX_DISCONTIGUOUS    0x08
#define SPX_CLICKACTIVATES   0x10
#define SPX_NOSTRETCHFIT     0x20
#define SPX_ASKLINES         0x40

// ---- Derived flags (kept beside the style word) --------------------------------
#define SPD_FOCUSALWAYS      0x00001
#define SPD_HASFOCUS         0x00002
#define SPD_ROWFOCUSRECT     0x00004
#define SPD_BORDER           0x00020
#define SPD_DIGITSFROMROWS   0x00100
#define SPD_PASTLASTCOLUMN   0x00400
#define SPD_APPENDROW        0x00800
#define SPD_NOHEADER         0x02000
#define SPD_OWNERFLAG        0x04000
#define SPD_NOVSCROLL        0x10000
#define SPD_NOHSCROLL        0x20000

// ---- Column flags ------------------------------------------------------------
#define SPC_ALIGNMASK        0x0003  ///< 1 left, 3 centred, 0 and 2 right
#define SPC_LEFT             0x0001
#define SPC_CENTER           0x0003
#define SPC_RIGHT            0x0000
#define SPC_STRETCH          0x0004
#define SPC_GRAYTITLE        0x0008
#define SPC_BUTTON           0x1000
#define SPC_ASKEDIT          0x4000
#define SPC_EDITABLE         0x8000

// ---- Cell display flags ----------------------------------------------------------
#define SPCF_ALIGN           0x0001
#define SPCF_COLOUR          0x0002
#define SPCF_FONT            0x0004
#define SPCF_FRAMEWIDEN      0x0008  ///< a frame control widens the cell (also draws type 0, the check box)
#define SPCF_FRAMESTATE(f)   (((f) >> 8) & 7)      ///< << 8 gives DFCS_ 0x100 ... 0x400
#define SPCF_FRAMETYPE(f)    (((f) >> 11) & 0x1F)  ///< DFCS_BUTTON... type

// ---- Refresh flags (set-cell and command results) --------------------------
#define SPR_CELL             0x01
#define SPR_ROW              0x02
#define SPR_COLUMN           0x04
#define SPR_ROWCOUNT         0x08
#define SPR_TOLEFT           0x20
#define SPR_TOTOP            0x40
#define SPR_ASKROW           0x80

// ---- Embedded-control kinds -----------------------------------------------------
#define SPK_FADER            1
#define SPK_SPINNER          2
#define SPK_IMAGEBUTTON      3
#define SPK_TRACKBAR         4

// ---- Records ---------------------------------------------------------------------------
typedef struct ZQSPREADRANGE {
  DWORD anchorRow, anchorColumn, endRow, endColumn;
} ZQSPREADRANGE;

typedef struct ZQSPREADSNAPSHOT {
  DWORD topRow, firstColumn;
  DWORD anchorRow, anchorColumn;
  DWORD focusRow, focusColumn;
  LONG capacity;            ///< ranges the buffer holds; with a null buffer the range count comes back here
  ZQSPREADRANGE* ranges;
} ZQSPREADSNAPSHOT;

///@{
/// Value-text callback of an embedded-control column: writes the value as
/// text into `text` (capacity characters, terminator included) and returns
/// the length.
typedef struct ZQSPREADCONTROL ZQSPREADCONTROL;
typedef int(CALLBACK* ZQSPREADFORMATPROC)(const ZQSPREADCONTROL* control, LONG value, LPWSTR text, int capacity);
///@}

struct ZQSPREADCONTROL {
  DWORD reserved0;
  DWORD kind;               ///< SPK_
  DWORD reserved1[2];
  LONG minimum, maximum;
  union {
    struct { LONG centre; DWORD style; LONG textWidth; ZQSPREADFORMATPROC format; } fader;
    struct { LONG centre; DWORD style; LONG textWidth; LONG fillCentre; ZQSPREADFORMATPROC format; } trackbar;
    struct { DWORD style; LONG textWidth; LPARAM owner[2]; ZQSPREADFORMATPROC format; } spinner;
    struct { DWORD flags; HIMAGELIST images; LONG buttonWidth; LONG reserved; LONG image; } button;
  } u;
};
#define SPB_RIGHTPART  0x2   ///< image button: only the right part of the cell
#define SPB_WITHTEXT   0x4   ///< image button: also draw the cell text

typedef struct ZQSPREADCOLUMN {
  SHORT spec;               ///< >= 0 eighths of a character cell; < 0 minus thousandths of the width left
  SHORT width;              ///< pixels, computed by the grid
  WORD flags;               ///< SPC_
  WORD headerOffset;        ///< characters into the header text buffer
  WORD id;
  WORD reserved;
  ZQSPREADCONTROL* control;
} ZQSPREADCOLUMN;

typedef struct ZQSPREADCOLUMNSET {
  LONG count;
  LONG capacity;
  LONG frozen;
  ZQSPREADCOLUMN* columns;
  LPCWSTR headers;          ///< up to three lines per title, separated by line breaks
} ZQSPREADCOLUMNSET;

typedef struct ZQSPREADCELL {
  LPCWSTR text;
  LONG length;
  DWORD align;              ///< SPC_ alignment when SPCF_ALIGN
  WORD flags;               ///< SPCF_
  WORD reserved;
  COLORREF colour;
  HFONT font;
  HIMAGELIST images;        ///< header cells
  LONG indent;              ///< data cells: pixels; header cells: images in the strip
  LONG extra;
  LONG value;               ///< handed to an embedded control before it is painted
} ZQSPREADCELL;

typedef struct ZQSPREADROW {
  DWORD paint;              ///< non-zero: the row is painted
  DWORD data;
} ZQSPREADROW;

typedef struct ZQSPREADCELLREQ {
  DWORD row, column;
  DWORD rowPaint, rowData;  ///< the row record's first two fields
  LPCWSTR text;
  LONG length;
  LPARAM value;             ///< SPM_SETCELLREQ
  LONG filled;
  LONG format;
} ZQSPREADCELLREQ;

typedef struct ZQSPREADMETRICS {
  DWORD flags;              ///< SPMF_
  LONG rowsForDigits;       ///< -1: keep
  LONG rowHeaderWidth;
  LONG headerHeight;
  LONG digits;              ///< negative: automatic
  LONG extraRowHeaderWidth;
  LONG extraRowHeight;
} ZQSPREADMETRICS;
#define SPMF_NOAPPENDROW      0x1
#define SPMF_APPENDROW        0x2
#define SPMF_DIGITSFROMROWS   0x4
#define SPMF_NOHEADER         0x8

typedef struct ZQSPREADSUMMARY {
  DWORD firstRow, firstColumn, lastRow, lastColumn;  ///< bounds of all ranges, normalised and clipped
  LONG ranges;
} ZQSPREADSUMMARY;

typedef struct ZQSPREADVIEW {
  DWORD anchorRow, anchorColumn, endRow, endColumn, topRow, firstColumn;
} ZQSPREADVIEW;

/// Data handed to the do-command callback for a paste.
typedef struct ZQSPREADDATA {
  const void* bytes;
  SIZE_T size;
} ZQSPREADDATA;

// ---- Notifications (WM_NOTIFY, wParam the grid's id) ------------------------------
typedef struct ZQSPREADNM {
  NMHDR hdr;
  DWORD row, column;
  LONG x, y;
} ZQSPREADNM;
typedef struct ZQSPREADNMEX {
  ZQSPREADNM nm;            ///< row 0xFFFF, column = the target column
  DWORD source;
  LONG one;
} ZQSPREADNMEX;

#define SPN_FOCUSCHANGED     1
#define SPN_DATACHANGED      2
#define SPN_RCLICK           3
#define SPN_DBLCLK           4
#define SPN_SETFOCUS         5
#define SPN_KILLFOCUS        6
#define SPN_EDITCOMMITTED    7
#define SPN_EDITCOMMAND      8
#define SPN_ROWHEADERDBLCLK  9
#define SPN_COLHEADERDBLCLK  10
#define SPN_SELCHANGED       11
#define SPN_ROWDROP          13
#define SPN_COLUMNDRAG       14
#define SPN_CONTEXTMENU      15
#define SPN_EDITOPENING      16
#define SPN_HEADERCLICK      17
#define SPN_BUTTONIN         18
#define SPN_BUTTONOUT        19
#define SPN_BUTTONCLICK      20
#define SPN_BUTTONDRAGCLICK  21
#define SPN_BEGINDRAG        22
#define SPN_BEGINRDRAG       23
#define SPN_ROWLINE          24

// ---- The owner interface record (144 bytes) --------------------------------------------------
typedef struct ZQSPREADIFACE ZQSPREADIFACE;
typedef LONG(CALLBACK* ZQSPREADGETROWCOUNT)(ZQSPREADIFACE* owner);
typedef const ZQSPREADCELL*(CALLBACK* ZQSPREADGETCELL)(ZQSPREADIFACE* owner, DWORD row, DWORD column, int format);
typedef BOOL(CALLBACK* ZQSPREADMAYEDIT)(ZQSPREADIFACE* owner, DWORD row, DWORD column, LPARAM extra);
typedef DWORD(CALLBACK* ZQSPREADSETCELL)(ZQSPREADIFACE* owner, DWORD row, DWORD column, int format, LPARAM value);
typedef const ZQSPREADROW*(CALLBACK* ZQSPREADGETROW)(ZQSPREADIFACE* owner, DWORD row);
typedef LONG(CALLBACK* ZQSPREADQUERYCOMMAND)(ZQSPREADIFACE* owner, const ZQSPREADRANGE* range, UINT* formats,
                                             int capacity, UINT message);
typedef LRESULT(CALLBACK* ZQSPREADDOCOMMAND)(ZQSPREADIFACE* owner, const ZQSPREADRANGE* range, UINT format,
                                             const ZQSPREADDATA* data, UINT message);
typedef const ZQSPREADCELL*(CALLBACK* ZQSPREADGETHEADERCELL)(ZQSPREADIFACE* owner, DWORD index, DWORD kind,
                                                              LPARAM extra);
typedef BOOL(CALLBACK* ZQSPREADKEYHOOK)(ZQSPREADIFACE* owner, const ZQSPREADRANGE* range, UINT message, WPARAM key,
                                        LPARAM keyData);
typedef DWORD(CALLBACK* ZQSPREADROWREPAINT)(ZQSPREADIFACE* owner, DWORD row, DWORD column);
typedef LONG(CALLBACK* ZQSPREADAUTOFIT)(ZQSPREADIFACE* owner, DWORD column);

struct ZQSPREADIFACE {
  LPARAM owner0;                      ///< 0: owner data
  LPARAM owner1;                      ///< 1: owner data (default 1)
  LPARAM reserved2;
  LONG rowCount;                      ///< 3: written by the grid
  LPARAM reserved4[4];
  HWND grid;                          ///< 8: written by the grid
  LPARAM reserved9[5];
  ZQSPREADGETROWCOUNT getRowCount;    ///< 14
  ZQSPREADGETCELL getCell;            ///< 15
  ZQSPREADMAYEDIT mayEdit;            ///< 16
  ZQSPREADSETCELL setCell;            ///< 17
  ZQSPREADGETROW getRow;              ///< 18
  ZQSPREADQUERYCOMMAND queryCommand;  ///< 19
  ZQSPREADDOCOMMAND doCommand;        ///< 20
  ZQSPREADGETHEADERCELL getHeaderCell;  ///< 21
  ZQSPREADKEYHOOK keyHook;            ///< 22
  ZQSPREADROWREPAINT rowRepaint;      ///< 23
  ZQSPREADAUTOFIT autoFit;            ///< 24
  LPWSTR text;                        ///< 25: the grid's text buffer
  LPWSTR text2;                       ///< 26: the same buffer
  LPARAM reserved27;
  LONG textSize;                      ///< 28: ZQSPREAD_TEXTMAX
  LPARAM owner29;                     ///< 29: owner data (default 1)
  LPARAM owner30;                     ///< 30: owner data (default 0xFF000008)
  LPARAM reserved31[5];
};
#ifdef __cplusplus
static_assert(sizeof(void*) != 4 || sizeof(ZQSPREADIFACE) == 144, "owner interface record");
static_assert(sizeof(void*) != 4 || sizeof(ZQSPREADCOLUMN) == 16, "column record");
static_assert(sizeof(ZQSPREADRANGE) == 16, "range record");
static_assert(sizeof(void*) != 4 || sizeof(ZQSPREADSNAPSHOT) == 32, "snapshot record");
#endif

///@{
/// Cell formats of get-cell and set-cell.
#define SPF_DISPLAY  0
#define SPF_TEXT     3
///@}

// ---- Private messages ------------------------------------------------------------------------
#define SPM_OWNERFLAG        (WM_USER + 5)
#define SPM_MOVECOLUMNS      (WM_USER + 7)
#define SPM_GETCOLUMNCOUNT   (WM_USER + 8)
#define SPM_GETCOLUMNS       (WM_USER + 10)
#define SPM_SETCOLUMNS       (WM_USER + 11)
#define SPM_GETSELECTION     (WM_USER + 14)
#define SPM_SETFOCUSCELL     (WM_USER + 15)
#define SPM_GETFOCUSTEXT     (WM_USER + 16)
#define SPM_SETFOCUSVALUE    (WM_USER + 17)
#define SPM_GETROW           (WM_USER + 18)
#define SPM_GETCOMMANDS      (WM_USER + 19)
#define SPM_GETMETRICS       (WM_USER + 20)
#define SPM_NOTIFY           (WM_USER + 21)
#define SPM_GETIFACE         (WM_USER + 24)
#define SPM_SETIFACE         (WM_USER + 25)
#define SPM_REFRESHROWS      (WM_USER + 26)
#define SPM_GETROWCOUNT      (WM_USER + 27)
#define SPM_GETTOPROW        (WM_USER + 28)
#define SPM_SETTOPROW        (WM_USER + 29)
#define SPM_CANUNDO          (WM_USER + 30)
#define SPM_UNDO             (WM_USER + 31)
#define SPM_GETFROZEN        (WM_USER + 32)
#define SPM_SETFROZEN        (WM_USER + 33)
#define SPM_INVALIDATECELL   (WM_USER + 34)
#define SPM_GETEDITOR        (WM_USER + 35)
#define SPM_GETOWNER         (WM_USER + 36)
#define SPM_SETOWNER         (WM_USER + 37)
#define SPM_GETVIEW          (WM_USER + 38)
#define SPM_SETVIEW          (WM_USER + 39)
#define SPM_GETRANGEEND      (WM_USER + 40)
#define SPM_EXTENDTO         (WM_USER + 41)
#define SPM_GETCELLREQ       (WM_USER + 42)
#define SPM_SETCELLREQ       (WM_USER + 43)
#define SPM_CALCWIDTHS       (WM_USER + 44)
#define SPM_FITROWS          (WM_USER + 45)
#define SPM_SETDLGCODE       (WM_USER + 46)
#define SPM_OPENEDITOR       (WM_USER + 47)
#define SPM_CLOSEEDITOR      (WM_USER + 48)
#define SPM_REFRESHCELL      (WM_USER + 49)
#define SPM_MAYEDIT          (WM_USER + 50)
#define SPM_HITTEST          (WM_USER + 51)
#define SPM_ROWSCHANGED      (WM_USER + 52)
#define SPM_GETSTYLE         (WM_USER + 53)
#define SPM_SETSTYLE         (WM_USER + 54)
#define SPM_SETMETRICS       (WM_USER + 55)
#define SPM_SUSPEND          (WM_USER + 56)
#define SPM_INVALIDATERANGE  (WM_USER + 57)
#define SPM_ENSUREVISIBLE    (WM_USER + 58)
#define SPM_SETSORT          (WM_USER + 59)
#define SPM_SETEXFLAGS       (WM_USER + 60)
#define SPM_GETRANGES        (WM_USER + 61)
#define SPM_GETRANGECOUNT    (WM_USER + 62)
#define SPM_SETRANGES        (WM_USER + 63)
#define SPM_GETSNAPSHOT      (WM_USER + 64)
#define SPM_SETSNAPSHOT      (WM_USER + 65)
#define SPM_IDEALSIZE        (WM_USER + 66)
#define SPM_ENABLESCROLL     (WM_USER + 67)
#define SPM_FREECONTROLS     (WM_USER + 68)
#define SPM_GETROWHEIGHT     (WM_USER + 69)
#define SPM_INSERTHITTEST    (WM_USER + 70)
#define SPM_GETROWRECT       (WM_USER + 71)
#define SPM_GETCOLUMNRECT    (WM_USER + 72)
#define SPM_ENABLESCROLLBAR  (WM_USER + 1000)
#define SPM_REDO             (WM_USER + 1001)
#define SPM_SELECTALL        0x7F09

/// The message sent to the parent while painting (wParam the DC, lParam the
/// grid) to set the text and background colours.
#define SPM_CTLCOLORGRID     0x013F

// ---- Window class ---------------------------------------------------------------------------
/// Registers "ZqSpreadEdit" once per process and the grid class under
/// `className` (1 when that class already exists for `instance`). 0 on failure.
ZQAPI BOOL WINAPI SpreadInitialize(HINSTANCE instance, LPCWSTR className) ZQ_NOTHROW;
/// Unregisters the grid class registered by SpreadInitialize; 1 on success.
ZQAPI BOOL WINAPI SpreadTerminate(HINSTANCE instance, LPCWSTR className) ZQ_NOTHROW;
