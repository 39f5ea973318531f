// The spinner's instance record and what its files share.
#pragma once
#include "sliders/slider.h"
#include "zq/fader.h"
#include "zq/spinner.h"

namespace zq::controls {

struct Spinner {
  DWORD style;
  HWND notify;        // null: the parent of the window
  HWND buddy;
  WNDPROC buddyProc;  // the buddy's procedure before it was subclassed
  BOOL pressed[2];    // the buttons' pressed look
  BOOL hosted, vertical, buttonsOnly, noFocus, flat, commands, edges;
  HCURSOR dragCursor;
  HWND window;        // the window painted in: the spinner's own or the host
  LONG id;
  LPARAM ownerData;
  LONG min, max, value, centre;
  LONG taperOffset, taperSpan;
  LONG sensitivity;   // pixels a drag takes for the whole range
  BOOL fineMapping;   // sensitivity >= max - min
  LONG saved;         // the value at the press (Escape restores it)
  LONG dragDistance;  // along the virtual track of `sensitivity` pixels
  POINT lastPoint;
  DWORD lastTime;
  BOOL fine;          // fine drag (Ctrl or the right button)
  LONG tracking;      // -1 idle, 0 or 1 a button, 5 the drag area
  UINT_PTR timer;     // the repeat timer while it runs
  HWND previousFocus; // the focus before a gesture of a spinner that does not keep it
  RECT control;
  ZQSPINNERSCROLLPROC proc;
  LONG hot;           // the part under the pointer, -1 none
  BOOL themed;        // drawn with the theme when last laid out
  BOOL focus, disabled, ignoreMove, leaveTracked, caret;
  LONG reserved[4];
};
static_assert(sizeof(Spinner) == ZQ_SPINNERINST_SIZE, "spinner instance record");

inline Spinner* SpinnerOf(ZQSPINNERINST* inst) { return reinterpret_cast<Spinner*>(inst); }
inline ZQSPINNERINST* InstOf(Spinner* s) { return reinterpret_cast<ZQSPINNERINST*>(s); }

// spinner.cpp
HWND NotifyWindow(const Spinner& s);
void Report(Spinner& s, int code);
void Command(Spinner& s, int code);
void Layout(Spinner& s);
// The rectangle of a part (0, 1 or 5); empty when the part is absent.
RECT PartRect(const Spinner& s, int part);
slider::Scale ScaleOf(const Spinner& s);
bool Focusable(const Spinner& s);

// spinner_paint.cpp
void Paint(Spinner& s, HDC dc);
void Repaint(Spinner& s);
void ShowFocus(Spinner& s);
void HideFocus(Spinner& s);
HBITMAP BuildArrows() noexcept;
void DeleteArrows() noexcept;

// spinner_input.cpp
bool HandleInput(Spinner& s, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
void KeyMessage(Spinner& s, UINT message, UINT key, LPARAM data);
void EndGesture(Spinner& s, bool restore);

// spinner_buddy.cpp
LRESULT AttachBuddy(Spinner& s, HWND edit, WORD limit);
void DetachBuddy(Spinner& s);
bool IsBuddyKey(UINT key);

}  // namespace zq::controls
