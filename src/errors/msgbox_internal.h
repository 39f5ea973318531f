// Pieces of the message boxes shared by their files.
#pragma once
#include <stdarg.h>
#include <windows.h>

#include "zq/msgbox.h"

namespace zq::errors {

constexpr int kCaptionCapacity = 128;   // application caption, terminator included
constexpr int kFormatCapacity = 2048;   // a formatted message, terminator included

// ---- Application data (msgbox_app_data.cpp) ------------------------------------
// One per process; the hooks belong to the thread that set it.

void SetAppData(HINSTANCE instance, HWND owner, const WCHAR* caption) noexcept;
HINSTANCE AppInstance() noexcept;
// The application caption; never null. The buffer lives as long as the module.
const WCHAR* AppCaption() noexcept;
bool OnUiThread() noexcept;
// Null: the last active pop-up of the default owner (null when there is
// none); (HWND)-1: no owner; anything else as it is.
HWND ChooseOwner(HWND owner) noexcept;

// ---- Hooks (msgbox_hooks.cpp) ----------------------------------------------------

// False (nothing changed) off the UI thread.
bool SetHook(ZQMSGBOXHOOK hook, void* userData) noexcept;
void ClearHook() noexcept;
bool HasHook() noexcept;
// Asks the hook, when one is set. True when it answered (anything but -1);
// the answer is in `answer`.
bool AskHook(HWND owner, const WCHAR* text, const WCHAR* caption, UINT style, int* answer) noexcept;

// ---- Button sets and the unattended answers (msgbox_answers.cpp) -------------

constexpr int kMaxButtons = 5;
struct ButtonSet {
  int count;
  int ids[kMaxButtons];  // in the order they are shown
  bool noCancel;         // no button cancels: Escape and Close do nothing
  bool okOnly;           // Cancel answers OK
};
// The set of a style's low four bits; anything unknown is OK only.
const ButtonSet& ButtonSetOf(UINT style) noexcept;
// The string id of a button's caption (0 for an unknown id).
UINT ButtonCaptionId(int buttonId) noexcept;
// The id of the style's default button as the unattended hook answers it;
// -1 when the default index is outside the set.
int UnattendedAnswer(UINT style) noexcept;
// The text the unattended hook reports for a default index outside the set.
extern const WCHAR kInvalidParameterReport[];

// ---- Formatting (msgbox_format.cpp) ------------------------------------------------

// A text with "%" or "$" expanded by the printer into a bounded buffer; any
// other text used as it stands (not copied, not cut). Null stays null.
class FormattedText {
 public:
  FormattedText(const WCHAR* format, va_list args) noexcept;
  FormattedText(const FormattedText&) = delete;
  FormattedText& operator=(const FormattedText&) = delete;
  const WCHAR* Text() const noexcept { return text_; }

 private:
  WCHAR buffer_[kFormatCapacity];
  const WCHAR* text_;
};

// String `id` of `lang`, or of the library's handle for a null `lang`.
const WCHAR* LangText(HZQLANG lang, UINT id) noexcept;

// ---- The boxes --------------------------------------------------------------------------

// The system box with owner choice, hook and centring (msgbox_system_box.cpp).
int SystemBox(HWND owner, const WCHAR* text, const WCHAR* caption, UINT style) noexcept;

// The library's box (msgbox_custom.cpp). The text and details are shown as
// written. Null caption: the application caption.
struct CustomBoxRequest {
  HWND owner;
  UINT style;
  const WCHAR* text;
  const WCHAR* details;
  const WCHAR* checkText;  // null: the library's text
  int* checkState;
  const WCHAR* caption;
};
int CustomBox(const CustomBoxRequest& request) noexcept;

// The record the dialog works on (msgbox_dialog.cpp).
struct CustomBoxRecord {
  UINT style;
  const WCHAR* text;
  const WCHAR* details;
  BOOL detailsShown;
  int detailsHeight;     // pixels the toggle adds or removes
  BOOL noCancel;
  const WCHAR* checkText;
  int* checkState;
  const WCHAR* caption;
  HWND owner;
};
// Runs the modal dialog; the button id, or 0 when it cannot be shown.
int RunCustomDialog(HINSTANCE instance, CustomBoxRecord* record) noexcept;

// ---- The dialog template (msgbox_template.cpp) ---------------------------------

// Ids of the template's controls.
constexpr int kTextId = 1000;
constexpr int kIconId = 1001;
constexpr int kPrototypeId = 1002;

// A DWORD-aligned in-memory template: a text static, an icon static and a
// hidden prototype button. Null on allocation failure; release with
// FreeMessageBoxTemplate.
const DLGTEMPLATE* BuildMessageBoxTemplate() noexcept;
void FreeMessageBoxTemplate(const DLGTEMPLATE* dialogTemplate) noexcept;

}  // namespace zq::errors
