// The window form the fader, the trackbar and the spinner share: the
// control's record lives in window word 0, made at WM_CREATE and deleted at
// WM_DESTROY; a resize lays it out again; painting goes through one
// off-screen bitmap; every other message goes to the same message function
// the control's hosted instances use.
//
// A control describes its window form with a `Form`:
//   using Record = ...;
//   static void Create(Record&, HWND, const CREATESTRUCTW&);   // initialise
//   static void Created(Record&, HWND, const CREATESTRUCTW&);  // optional: once the window knows its record
//   static void Destroy(Record&);                              // before the record is deleted
//   static RECT& Area(Record&);                                // the client rectangle it lays out in
//   static void Resized(Record&);                              // layout and repaint after WM_SIZE
//   static void Paint(Record&, HDC memory);                    // one whole picture
//   static bool Handle(Record&, UINT, WPARAM, LPARAM, LRESULT*);
//   static constexpr bool kAnswersPrivateMessages;             // private messages it does not know return 0
// Only the record types differ: the three public families stay apart.
#pragma once
#include <windows.h>

#include <new>

#include "sliders/slider.h"

namespace zq::controls::slider {

template <typename Form>
LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  using Record = typename Form::Record;
  auto* record = reinterpret_cast<Record*>(GetWindowLongPtrW(window, 0));
  switch (message) {
    case WM_CREATE: {
      const auto& create = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
      auto* made = new (std::nothrow) Record;
      if (!made) return -1;
      Form::Create(*made, window, create);
      SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(made));
      if constexpr (requires { Form::Created(*made, window, create); }) Form::Created(*made, window, create);
      return 0;
    }
    case WM_DESTROY:
      if (record) {
        Form::Destroy(*record);
        SetWindowLongPtrW(window, 0, 0);
        delete record;
      }
      return 0;
    case WM_SIZE:
      if (record) {
        GetClientRect(window, &Form::Area(*record));
        Form::Resized(*record);
      }
      return 0;
    case WM_PAINT:
      if (record) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintOffscreen(dc, Form::Area(*record), [record](HDC memory) { Form::Paint(*record, memory); });
        EndPaint(window, &paint);
        return 0;
      }
      break;
  }
  if (record) {
    LRESULT result = 0;
    if (Form::Handle(*record, message, wParam, lParam, &result)) return result;
    if (Form::kAnswersPrivateMessages && message >= WM_USER && message < 0x8000) return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The client rectangle and the window's control id from its creation.
inline RECT ClientArea(HWND window) noexcept {
  RECT client{};
  GetClientRect(window, &client);
  return client;
}
inline int CreationId(const CREATESTRUCTW& create) noexcept {
  return static_cast<int>(reinterpret_cast<INT_PTR>(create.hMenu));
}

}  // namespace zq::controls::slider
