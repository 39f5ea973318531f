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

#define ZQSPREAD_CLASSNAME  L"tarn50generalBld0SpreadClass"  ///< the grid's window class name
#define ZQSPREAD_EDITCLASS  L"ZqSpreadEdit"  ///< the in-place editor's window class name
#define ZQSPREAD_HEADER     0xFFFFu  ///< the header row or column index
#define ZQSPREAD_HEADERMIN  0xFF00u  ///< indices above this count as header indices
#define ZQSPREAD_MAXROWS    0xFEFFu  ///< the largest usable row count
#define ZQSPREAD_TEXTMAX    1024      ///< characters of the grid's text buffer
#define ZQSPREAD_EDITID     98        ///< control id of the in-place editor

// ---- Style word (low 16 bits of the window style; SPM_SETSTYLE) -------------
#define SPS_FOCUSONLYACTIVE  0x0001  ///< the focus cell is marked only while the grid has the keyboard focus
#define SPS_ASKEDIT          0x0002  ///< ask the owner, cell by cell, whether a cell may be edited
#define SPS_EDITOR           0x0004  ///< the grid has an in-place text editor
#define SPS_RESIZECOLUMNS    0x0008  ///< columns may be resized by dragging header borders
/// Row selection: the focus and ranges may take column 0xFFFF (whole rows)
#define SPS_ROWSELECT        0x0020
/// Column selection: the focus and ranges may take row 0xFFFF (whole columns)
#define SPS_COLUMNSELECT     0x0040
#define SPS_TOOLTIPS         0x0080  ///< tooltips show the full text of clipped cells
#define SPS_MULTIROW         0x0100  ///< ranges may span several rows
#define SPS_MULTICOLUMN      0x0200  ///< ranges may span several columns
#define SPS_DRAGROWS         0x0400  ///< rows may be dragged from the row header
#define SPS_DRAGCOLUMNS      0x0800  ///< columns may be dragged from the column header
#define SPS_HLINES           0x1000  ///< horizontal grid lines between rows
#define SPS_VLINES           0x2000  ///< vertical grid lines between columns
/// Grid lines in solid grey RGB(192,192,192) instead of a dotted pattern brush
#define SPS_SOLIDLINES       0x4000
#define SPS_STRETCHLAST      0x8000  ///< the last column takes the width left over

// ---- Extended flags (SPM_SETEXFLAGS) ---------------------------------------
/// The refused-drop cursor is user-interface cursor 26 instead of the system "no" cursor
#define SPX_REFUSEDCURSOR    0x01
#define SPX_DRAGCELLS        0x02  ///< cells may be dragged from the cell area
#define SPX_SIMPLEMOUSE      0x04  ///< simple cell-area mouse handling: no routing to embedded controls
/// Discontiguous selection: Ctrl+click adds ranges, Ctrl+arrows move the focus without touching the
/// selection, WM_USER+63 is allowed
#define SPX_DISCONTIGUOUS    0x08
/// A click activates the window normally; otherwise a click that would activate an inactive
/// top-level window is eaten (WM_MOUSEACTIVATE answers MA_ACTIVA
#define SPX_CLICKACTIVATES   0x10
/// When the columns are wider than the window, the stretch column is not adjusted
#define SPX_NOSTRETCHFIT     0x20
/// The owner decides per row whether the horizontal grid line below it is drawn (notification 24)
#define SPX_ASKLINES         0x40

// ---- Derived flags (kept beside the style word) --------------------------------
/// The focus cell is marked even while the grid lacks the keyboard focus; set when window style bit
/// 0x0001 is clear
#define SPD_FOCUSALWAYS      0x00001
#define SPD_HASFOCUS         0x00002  ///< the grid has the keyboard focus
/// The focus is drawn as a focus rectangle (DrawFocusRect) around the whole row instead of a frame
/// around the focus cell; set when the window style has 0
#define SPD_ROWFOCUSRECT     0x00004
/// Window style has WS_BORDER; the client rectangle then reaches one pixel further left
/// (WM_NCCALCSIZE)
#define SPD_BORDER           0x00020
#define SPD_DIGITSFROMROWS   0x00100  ///< row-header digits follow the real row count
#define SPD_PASTLASTCOLUMN   0x00400  ///< Right arrow may move one column past the last column
/// An extra empty row after the last row is reachable (the append row); default set
#define SPD_APPENDROW        0x00800
#define SPD_NOHEADER         0x02000  ///< no column-header row
#define SPD_OWNERFLAG        0x04000  ///< a flag the owner sets and reads back (WM_USER+5)
#define SPD_NOVSCROLL        0x10000  ///< vertical scroll bar disabled
#define SPD_NOHSCROLL        0x20000  ///< horizontal scroll bar disabled

// ---- Column flags ------------------------------------------------------------
#define SPC_ALIGNMASK        0x0003  ///< 1 left, 3 centred, 0 and 2 right
#define SPC_LEFT             0x0001  ///< left-aligned
#define SPC_CENTER           0x0003  ///< centred
#define SPC_RIGHT            0x0000  ///< right-aligned
#define SPC_STRETCH          0x0004  ///< the stretch column: the last one so marked takes the width left over
#define SPC_GRAYTITLE        0x0008  ///< header title drawn in the grey-text colour
#define SPC_BUTTON           0x1000  ///< button column: press and release notifications, never edited
#define SPC_ASKEDIT          0x4000  ///< ask the owner before editing a cell of this column
#define SPC_EDITABLE         0x8000  ///< the column's cells may be edited

// ---- Cell display flags ----------------------------------------------------------
#define SPCF_ALIGN           0x0001  ///< use the record's alignment
#define SPCF_COLOUR          0x0002  ///< use the record's text colour
#define SPCF_FONT            0x0004  ///< use the record's font
#define SPCF_FRAMEWIDEN      0x0008  ///< a frame control widens the cell (also draws type 0, the check box)
#define SPCF_FRAMESTATE(f)   (((f) >> 8) & 7)      ///< << 8 gives DFCS_ 0x100 ... 0x400
#define SPCF_FRAMETYPE(f)    (((f) >> 11) & 0x1F)  ///< DFCS_BUTTON... type

// ---- Refresh flags (set-cell and command results) --------------------------
#define SPR_CELL             0x01  ///< repaint the cell
#define SPR_ROW              0x02  ///< repaint the whole row
#define SPR_COLUMN           0x04  ///< repaint the whole column
#define SPR_ROWCOUNT         0x08  ///< the row count may have changed (the grid re-reads it once)
#define SPR_TOLEFT           0x20  ///< extend the repaint to the left edge
#define SPR_TOTOP            0x40  ///< extend the repaint to the top edge
#define SPR_ASKROW           0x80  ///< ask the row-repaint callback for every visible column of the row

// ---- Embedded-control kinds -----------------------------------------------------
#define SPK_FADER            1  ///< a fader per row
#define SPK_SPINNER          2  ///< a spinner per row
#define SPK_IMAGEBUTTON      3  ///< an image button the grid draws itself
#define SPK_TRACKBAR         4  ///< a trackbar per row

// ---- Records ---------------------------------------------------------------------------
/// A selection range (16 bytes): where it was started and where its end follows the focus.
typedef struct ZQSPREADRANGE {
  ///@{
  /// anchor cell, then end cell
  DWORD anchorRow, anchorColumn, endRow, endColumn;
  ///@}
} ZQSPREADRANGE;

/// A selection snapshot (32 bytes): scroll position, anchor, focus and the ranges (SPM_GETSNAPSHOT,
/// SPM_SETSNAPSHOT).
typedef struct ZQSPREADSNAPSHOT {
  ///@{
  /// scroll position: top row and first scrolled column
  DWORD topRow, firstColumn;
  ///@}
  ///@{
  /// the anchor cell
  DWORD anchorRow, anchorColumn;
  ///@}
  ///@{
  /// the focus cell
  DWORD focusRow, focusColumn;
  ///@}
  LONG capacity;            ///< ranges the buffer holds; with a null buffer the range count comes back here
  ZQSPREADRANGE* ranges;  ///< buffer of `capacity` ranges, or null
} ZQSPREADSNAPSHOT;

typedef struct ZQSPREADCONTROL ZQSPREADCONTROL;
/// Value-text callback of an embedded-control column: writes the value as
/// text into `text` (capacity characters, terminator included) and returns
/// the length.
typedef int(CALLBACK* ZQSPREADFORMATPROC)(const ZQSPREADCONTROL* control, LONG value, LPWSTR text, int capacity);

/// The embedded-control descriptor of a column (owned by the caller).
struct ZQSPREADCONTROL {
  DWORD reserved0;  ///< reserved
  DWORD kind;               ///< SPK_
  DWORD reserved1[2];  ///< reserved
  ///@{
  /// value range
  LONG minimum, maximum;
  ///@}
  union {
    struct { LONG centre; DWORD style; LONG textWidth; ZQSPREADFORMATPROC format; } fader;
    struct { LONG centre; DWORD style; LONG textWidth; LONG fillCentre; ZQSPREADFORMATPROC format; } trackbar;
    struct { DWORD style; LONG textWidth; LPARAM owner[2]; ZQSPREADFORMATPROC format; } spinner;
    struct { DWORD flags; HIMAGELIST images; LONG buttonWidth; LONG reserved; LONG image; } button;
  } u;  ///< kind-specific part
};
#define SPB_RIGHTPART  0x2   ///< image button: only the right part of the cell
#define SPB_WITHTEXT   0x4   ///< image button: also draw the cell text

/// A column (16 bytes); the caller owns the array, the grid keeps the pointer.
typedef struct ZQSPREADCOLUMN {
  SHORT spec;               ///< >= 0 eighths of a character cell; < 0 minus thousandths of the width left
  SHORT width;              ///< pixels, computed by the grid
  WORD flags;               ///< SPC_
  WORD headerOffset;        ///< characters into the header text buffer
  WORD id;  ///< the owner's column identifier
  WORD reserved;  ///< reserved
  ZQSPREADCONTROL* control;  ///< embedded-control descriptor, or null
} ZQSPREADCOLUMN;

/// The column set (SPM_GETCOLUMNS, SPM_SETCOLUMNS).
typedef struct ZQSPREADCOLUMNSET {
  LONG count;  ///< columns in use
  LONG capacity;  ///< columns the array holds
  LONG frozen;  ///< frozen (unscrolled) columns at the left
  ZQSPREADCOLUMN* columns;  ///< the column array
  LPCWSTR headers;          ///< up to three lines per title, separated by line breaks
} ZQSPREADCOLUMNSET;

/// A cell's display record, returned by the get-cell and get-header-cell callbacks.
typedef struct ZQSPREADCELL {
  LPCWSTR text;  ///< the text
  LONG length;  ///< its length in characters
  DWORD align;              ///< SPC_ alignment when SPCF_ALIGN
  WORD flags;               ///< SPCF_
  WORD reserved;  ///< reserved
  COLORREF colour;  ///< text colour (SPCF_COLOUR)
  HFONT font;  ///< font (SPCF_FONT)
  HIMAGELIST images;        ///< header cells
  LONG indent;              ///< data cells: pixels; header cells: images in the strip
  LONG extra;  ///< reserved for the owner
  LONG value;               ///< handed to an embedded control before it is painted
} ZQSPREADCELL;

/// A row record, returned by the get-row callback.
typedef struct ZQSPREADROW {
  DWORD paint;              ///< non-zero: the row is painted
  DWORD data;  ///< the owner's value
} ZQSPREADROW;

/// A cell request (SPM_GETCELLREQ, SPM_SETCELLREQ, SPM_MAYEDIT).
typedef struct ZQSPREADCELLREQ {
  ///@{
  /// the cell
  DWORD row, column;
  ///@}
  ///@{
  /// the row record's first two fields
  DWORD rowPaint, rowData;
  ///@}
  LPCWSTR text;  ///< display text (filled)
  LONG length;  ///< its length (filled)
  LPARAM value;             ///< SPM_SETCELLREQ
  LONG filled;  ///< 1 once filled
  LONG format;  ///< SPF_ format
} ZQSPREADCELLREQ;

/// Header metrics (SPM_GETMETRICS, SPM_SETMETRICS, SPM_FITROWS).
typedef struct ZQSPREADMETRICS {
  DWORD flags;              ///< SPMF_
  LONG rowsForDigits;       ///< -1: keep
  LONG rowHeaderWidth;  ///< row-header width in pixels
  LONG headerHeight;  ///< column-header height in pixels
  LONG digits;              ///< negative: automatic
  LONG extraRowHeaderWidth;  ///< pixels added to the row-header width
  LONG extraRowHeight;  ///< pixels added to the row height
} ZQSPREADMETRICS;
#define SPMF_NOAPPENDROW      0x1  ///< no append row
#define SPMF_APPENDROW        0x2  ///< an append row after the last row
#define SPMF_DIGITSFROMROWS   0x4  ///< row-header digits follow the row count
#define SPMF_NOHEADER         0x8  ///< no column-header row

/// A selection summary (SPM_GETSELECTION with 2).
typedef struct ZQSPREADSUMMARY {
  ///@{
  /// bounds of all ranges, normalised and clipped
  DWORD firstRow, firstColumn, lastRow, lastColumn;
  ///@}
  LONG ranges;  ///< number of ranges
} ZQSPREADSUMMARY;

/// A saved view (SPM_GETVIEW, SPM_SETVIEW).
typedef struct ZQSPREADVIEW {
  ///@{
  /// selection anchor and end, then the scroll position
  DWORD anchorRow, anchorColumn, endRow, endColumn, topRow, firstColumn;
  ///@}
} ZQSPREADVIEW;

/// Data handed to the do-command callback for a paste.
typedef struct ZQSPREADDATA {
  const void* bytes;  ///< the pasted bytes
  SIZE_T size;  ///< their count
} ZQSPREADDATA;

// ---- Notifications (WM_NOTIFY, wParam the grid's id) ------------------------------
/// The notification record (WM_NOTIFY, wParam the grid's id).
typedef struct ZQSPREADNM {
  NMHDR hdr;  ///< code: SPN_
  ///@{
  /// the cell
  DWORD row, column;
  ///@}
  ///@{
  /// the point, or -1
  LONG x, y;
  ///@}
} ZQSPREADNM;
/// The extended notification record of SPN_COLUMNDRAG.
typedef struct ZQSPREADNMEX {
  ZQSPREADNM nm;            ///< row 0xFFFF, column = the target column
  DWORD source;  ///< the dragged column
  LONG one;  ///< 1
} ZQSPREADNMEX;

#define SPN_FOCUSCHANGED     1  ///< the focus cell changed (record: focus cell, -1, -1)
#define SPN_DATACHANGED      2  ///< after an edit command changed data (posted, after 8) (record: focus cell)
/// Right button released (cell area, headers) (record: cell and point of the press)
#define SPN_RCLICK           3
#define SPN_DBLCLK           4  ///< double-click in the cell area (record: cell under the point, point)
#define SPN_SETFOCUS         5  ///< the grid gained the focus (record: focus cell)
#define SPN_KILLFOCUS        6  ///< the grid lost the focus (record: focus cell)
/// The in-place editor's text was committed and set-cell reported a change (record: focus cell)
#define SPN_EDITCOMMITTED    7
#define SPN_EDITCOMMAND      8  ///< an edit command changed data (posted) (record: focus cell)
#define SPN_ROWHEADERDBLCLK  9  ///< double-click on the row header (record: row under the point)
#define SPN_COLHEADERDBLCLK  10  ///< double-click on the column header (record: column under the point)
#define SPN_SELCHANGED       11  ///< the selection changed (record: focus cell)
/// A row drag was dropped on the row header (record: insertion row (the nearest row boundary, at
/// most the row count), point)
#define SPN_ROWDROP          13
/// A column drag ended (extended record: source column, target column; target 0xFFFF = dropped
/// outside the header; with style 0x0040, the simple record w
#define SPN_COLUMNDRAG       14
/// Context menu (WM_CONTEXTMENU, Apps key, Shift+F10) (record: focus cell, a point 3 pixels right
/// of and below the top-left corner of the editor rectangle clipp)
#define SPN_CONTEXTMENU      15
/// The in-place editor is about to open; the answer -1 refuses (record: focus cell)
#define SPN_EDITOPENING      16
/// A click on a column header ended on the same column (record: column, point)
#define SPN_HEADERCLICK      17
/// A press in a button column: the pointer is inside the pressed cell (record: point)
#define SPN_BUTTONIN         18
/// A press in a button column: the pointer has left the pressed cell (record: point)
#define SPN_BUTTONOUT        19
#define SPN_BUTTONCLICK      20  ///< a press in a button column ended inside the cell (record: point)
/// As SPN_BUTTONCLICK after the pointer passed the drag threshold (record: point)
#define SPN_BUTTONDRAGCLICK  21
#define SPN_BEGINDRAG        22  ///< a left-button drag starts; a non-zero answer accepts it (record: point)
#define SPN_BEGINRDRAG       23  ///< a right-button drag starts; a non-zero answer accepts it (record: point)
/// Painting the horizontal line under a row with extended flag 0x40; a non-zero answer draws the
/// line (record: row in the row field, column 0, -1, -1)
#define SPN_ROWLINE          24

// ---- The owner interface record (144 bytes) --------------------------------------------------
typedef struct ZQSPREADIFACE ZQSPREADIFACE;
/// Slot 14: the row count.
typedef LONG(CALLBACK* ZQSPREADGETROWCOUNT)(ZQSPREADIFACE* owner);
/// Slot 15: a cell's display record; format SPF_DISPLAY, or SPF_TEXT for the editor.
typedef const ZQSPREADCELL*(CALLBACK* ZQSPREADGETCELL)(ZQSPREADIFACE* owner, DWORD row, DWORD column, int format);
/// Slot 16: non-zero when the cell may be edited.
typedef BOOL(CALLBACK* ZQSPREADMAYEDIT)(ZQSPREADIFACE* owner, DWORD row, DWORD column, LPARAM extra);
/// Slot 17: stores a cell's value (SPF_TEXT: text from the editor); refresh flags (SPR_).
typedef DWORD(CALLBACK* ZQSPREADSETCELL)(ZQSPREADIFACE* owner, DWORD row, DWORD column, int format, LPARAM value);
/// Slot 18: a row record.
typedef const ZQSPREADROW*(CALLBACK* ZQSPREADGETROW)(ZQSPREADIFACE* owner, DWORD row);
/// Slot 19: the clipboard formats of a command (at most `capacity`), or non-zero when it is available.
typedef LONG(CALLBACK* ZQSPREADQUERYCOMMAND)(ZQSPREADIFACE* owner, const ZQSPREADRANGE* range, UINT* formats,
                                             int capacity, UINT message);
/// Slot 20: runs a command on the range; refresh flags, or a memory handle for a copy.
typedef LRESULT(CALLBACK* ZQSPREADDOCOMMAND)(ZQSPREADIFACE* owner, const ZQSPREADRANGE* range, UINT format,
                                             const ZQSPREADDATA* data, UINT message);
/// Slot 21: a header cell's display record; kind ZQSPREAD_HEADER for the row header.
typedef const ZQSPREADCELL*(CALLBACK* ZQSPREADGETHEADERCELL)(ZQSPREADIFACE* owner, DWORD index, DWORD kind,
                                                              LPARAM extra);
/// Slot 22: non-zero when the owner consumed the key.
typedef BOOL(CALLBACK* ZQSPREADKEYHOOK)(ZQSPREADIFACE* owner, const ZQSPREADRANGE* range, UINT message, WPARAM key,
                                        LPARAM keyData);
/// Slot 23: refresh flags for one cell of a row.
typedef DWORD(CALLBACK* ZQSPREADROWREPAINT)(ZQSPREADIFACE* owner, DWORD row, DWORD column);
/// Slot 24: a column's auto-fit width in pixels (0: the grid measures).
typedef LONG(CALLBACK* ZQSPREADAUTOFIT)(ZQSPREADIFACE* owner, DWORD column);

/// The owner interface record (144 bytes, 36 slots; SPM_GETIFACE, SPM_SETIFACE). A null callback
/// gets the default.
struct ZQSPREADIFACE {
  LPARAM owner0;                      ///< 0: owner data
  LPARAM owner1;                      ///< 1: owner data (default 1)
  LPARAM reserved2;  ///< reserved
  LONG rowCount;                      ///< 3: written by the grid
  LPARAM reserved4[4];  ///< reserved
  HWND grid;                          ///< 8: written by the grid
  LPARAM reserved9[5];  ///< reserved
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
  LPARAM reserved27;  ///< reserved
  LONG textSize;                      ///< 28: ZQSPREAD_TEXTMAX
  LPARAM owner29;                     ///< 29: owner data (default 1)
  LPARAM owner30;                     ///< 30: owner data (default 0xFF000008)
  LPARAM reserved31[5];  ///< reserved
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
/// The owner flag (derived 0x4000); returns its previous state [wParam: non-zero sets, 0 clears]
#define SPM_OWNERFLAG        (WM_USER + 5)
/// Moves the columns of the range to before the target column [wParam: target column; lParam: range
/// record or null (the current range)]
#define SPM_MOVECOLUMNS      (WM_USER + 7)
#define SPM_GETCOLUMNCOUNT   (WM_USER + 8)  ///< Column count
/// Fills a column set record (if given); returns the column array pointer [lParam: column set
/// record or null]
#define SPM_GETCOLUMNS       (WM_USER + 10)
/// Installs a column set (a focus past the new count goes home to column 0); returns the previous
/// column array [lParam: column set record]
#define SPM_SETCOLUMNS       (WM_USER + 11)
/// The selection: with a null record MAKELONG(focus row, focus column); else copies the current
/// range (wParam 0) or more [wParam: 0, 1 or 2; lParam: null or out record]
#define SPM_GETSELECTION     (WM_USER + 14)
/// Sets the focus (collapsing the selection to it) and scrolls it into view [wParam: row; lParam:
/// column]
#define SPM_SETFOCUSCELL     (WM_USER + 15)
/// The focus cell's display text, cut to size-1 characters and terminated; returns the full length
/// [wParam: buffer size in characters; lParam: buffer]
#define SPM_GETFOCUSTEXT     (WM_USER + 16)
/// Calls set-cell for the focus cell; repaints by the refresh flags; returns 0 [wParam: format;
/// lParam: value]
#define SPM_SETFOCUSVALUE    (WM_USER + 17)
/// The owner's row record; a static empty record for rows beyond the count [wParam: row, -1 = focus
/// row]
#define SPM_GETROW           (WM_USER + 18)
/// Command availability bits: 0x01 cut, 0x02 copy, 0x04 paste, 0x08 clear, 0x10 undo
#define SPM_GETCOMMANDS      (WM_USER + 19)
/// Fills: rows for digit count, row-header width, column-header height [lParam: header metrics
/// record]
#define SPM_GETMETRICS       (WM_USER + 20)
/// Sends notification `code` for the focus cell; returns the owner's answer [wParam: code]
#define SPM_NOTIFY           (WM_USER + 21)
/// Copies the owner interface record; returns 144 [lParam: buffer of 144 bytes or null]
#define SPM_GETIFACE         (WM_USER + 24)
/// Installs an owner interface record (null callbacks get the defaults) and re-reads the rows
/// [lParam: owner interface record or null (defaults)]
#define SPM_SETIFACE         (WM_USER + 25)
/// Re-reads the row count from the owner and repaints the cell area
#define SPM_REFRESHROWS      (WM_USER + 26)
#define SPM_GETROWCOUNT      (WM_USER + 27)  ///< Row count
#define SPM_GETTOPROW        (WM_USER + 28)  ///< Top row
/// Scrolls so that the row is on top (clamped to the vertical minimum and maximum); returns the
/// previous top row [wParam: row]
#define SPM_SETTOPROW        (WM_USER + 29)
/// Can undo: the editor's EM_CANUNDO while editing, else query command for WM_UNDO
#define SPM_CANUNDO          (WM_USER + 30)
/// Undo: EM_UNDO to the editor while editing, else do command WM_UNDO; repaints by the refresh
/// flags
#define SPM_UNDO             (WM_USER + 31)
#define SPM_GETFROZEN        (WM_USER + 32)  ///< Frozen column count
/// Sets the frozen column count (the first scrolled column follows when it equalled the old count)
/// [wParam: count]
#define SPM_SETFROZEN        (WM_USER + 33)
/// Invalidates the cell; returns 0 [wParam: row; lParam: low word: column, 0xFFFF = whole row; high
/// word non-zero = paint now]
#define SPM_INVALIDATECELL   (WM_USER + 34)
#define SPM_GETEDITOR        (WM_USER + 35)  ///< Editor window
#define SPM_GETOWNER         (WM_USER + 36)  ///< Owner window
/// Sets the owner window (when it is a window); returns the previous owner [wParam: new owner
/// window]
#define SPM_SETOWNER         (WM_USER + 37)
/// Saves the view (anchor, end, top row, first column; at most 24 bytes) [wParam: size of the
/// record; lParam: view record]
#define SPM_GETVIEW          (WM_USER + 38)
/// Restores a view saved by SPM_GETVIEW (indices clamped to the counts) [wParam: size of the
/// record; lParam: view record]
#define SPM_SETVIEW          (WM_USER + 39)
#define SPM_GETRANGEEND      (WM_USER + 40)  ///< MAKELONG(end row, end column) of the range holding the focus
/// Moves the focus to (row, column) and extends the current range to it [wParam: row; lParam:
/// column]
#define SPM_EXTENDTO         (WM_USER + 41)
/// Fills a cell request from its row and column: the row record's first two fields and the display
/// text [lParam: cell request]
#define SPM_GETCELLREQ       (WM_USER + 42)
/// Set-cell with the request's row, column, value and format; repaints; returns 0 [lParam: cell
/// request]
#define SPM_SETCELLREQ       (WM_USER + 43)
/// Computes pixel widths for the given column array without installing it [lParam: column set
/// record]
#define SPM_CALCWIDTHS       (WM_USER + 44)
/// Resizes the window so that its client holds exactly that many rows below the header [wParam:
/// number of rows, 0 = the current count]
#define SPM_FITROWS          (WM_USER + 45)
#define SPM_SETDLGCODE       (WM_USER + 46)  ///< Sets the dialog code [lParam: value]
#define SPM_OPENEDITOR       (WM_USER + 47)  ///< Opens the in-place editor on the focus cell; returns 0
#define SPM_CLOSEEDITOR      (WM_USER + 48)  ///< Commits and closes the editor; returns 0
/// Repaints by the flags; returns 0 [wParam: row; lParam: high word: refresh flags, low word:
/// column]
#define SPM_REFRESHCELL      (WM_USER + 49)
/// The may-edit callback for the request's cell [lParam: cell request]
#define SPM_MAYEDIT          (WM_USER + 50)
/// Hit test: MAKELONG(row, column) at the client point, 0xFFFF for the headers [wParam: x; lParam:
/// y]
#define SPM_HITTEST          (WM_USER + 51)
/// As SPM_REFRESHROWS; wParam names the first changed row [wParam: row]
#define SPM_ROWSCHANGED      (WM_USER + 52)
#define SPM_GETSTYLE         (WM_USER + 53)  ///< Style word
#define SPM_SETSTYLE         (WM_USER + 54)  ///< Replaces the style word; repaints [wParam: style word]
/// Sets header metrics and the row flags (SPMF_) [lParam: header metrics record]
#define SPM_SETMETRICS       (WM_USER + 55)
/// 0: edit state 0 and repaint; non-zero: commit an open edit, edit state 3 (no painting; erasing
/// only) [wParam: non-zero = suspend]
#define SPM_SUSPEND          (WM_USER + 56)
/// Invalidates the union of the two corner cells' rectangles (a corner outside the view falls back
/// to the cell-area edge) [lParam: range record]
#define SPM_INVALIDATERANGE  (WM_USER + 57)
/// Scrolls the cell into view without moving the focus; returns 0 [wParam: row; lParam: column]
#define SPM_ENSUREVISIBLE    (WM_USER + 58)
/// Sets the sort-indicator column (clamped to the column count, 0xFFFF = none) and direction
/// [wParam: direction (non-zero: downward triangle, 0: upward); lParam: column]
#define SPM_SETSORT          (WM_USER + 59)
/// Sets the extended flags (SPX_); repaints [wParam: extended flags]
#define SPM_SETEXFLAGS       (WM_USER + 60)
/// Copies all ranges; returns 0 when capacity is below the range count, else 1 [wParam: capacity;
/// lParam: buffer of range records]
#define SPM_GETRANGES        (WM_USER + 61)
#define SPM_GETRANGECOUNT    (WM_USER + 62)  ///< Number of ranges
/// With SPX_DISCONTIGUOUS only: replaces the ranges [wParam: count; lParam: range records]
#define SPM_SETRANGES        (WM_USER + 63)
/// Copies the selection into a snapshot; with a null range buffer stores the range count and
/// returns 1 [lParam: selection snapshot]
#define SPM_GETSNAPSHOT      (WM_USER + 64)
/// Restores a selection snapshot (indices clamped to the counts) [lParam: selection snapshot]
#define SPM_SETSNAPSHOT      (WM_USER + 65)
/// The ideal size: fixed column widths plus the row header, rows x row height plus the header
/// [lParam: size record]
#define SPM_IDEALSIZE        (WM_USER + 66)
/// Scroll bars enabled or disabled (derived 0x20000, 0x10000) [wParam: horizontal: 0 = disable;
/// lParam: vertical: 0 = disable]
#define SPM_ENABLESCROLL     (WM_USER + 67)
#define SPM_FREECONTROLS     (WM_USER + 68)  ///< Frees all embedded control instances; returns 0
#define SPM_GETROWHEIGHT     (WM_USER + 69)  ///< Row height
/// MAKELONG(insertion row, column): like SPM_HITTEST but the row is taken to the nearest row
/// boundary [wParam: x; lParam: y]
#define SPM_INSERTHITTEST    (WM_USER + 70)
#define SPM_GETROWRECT       (WM_USER + 71)  ///< The row's rectangle [wParam: row; lParam: RECT]
#define SPM_GETCOLUMNRECT    (WM_USER + 72)  ///< The column's rectangle [wParam: column; lParam: RECT]
/// EnableScrollBar on the grid [wParam: SB_ flags; lParam: ESB_ arrows]
#define SPM_ENABLESCROLLBAR  (WM_USER + 1000)
/// Redo (Ctrl+Shift+Z): passes the command to the owner for the selection; repaints by the refresh
/// flags
#define SPM_REDO             (WM_USER + 1001)
#define SPM_SELECTALL        0x7F09  ///< select all: passed to the owner as a command

/// The message sent to the parent while painting (wParam the DC, lParam the
/// grid) to set the text and background colours.
#define SPM_CTLCOLORGRID     0x013F

// ---- Window class ---------------------------------------------------------------------------
/// Registers "ZqSpreadEdit" once per process and the grid class under
/// `className` (1 when that class already exists for `instance`). 0 on failure.
ZQAPI BOOL WINAPI SpreadInitialize(HINSTANCE instance, LPCWSTR className) ZQ_NOTHROW;
/// Unregisters the grid class registered by SpreadInitialize; 1 on success.
ZQAPI BOOL WINAPI SpreadTerminate(HINSTANCE instance, LPCWSTR className) ZQ_NOTHROW;
