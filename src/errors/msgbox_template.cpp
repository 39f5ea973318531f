// The message box's dialog template, built in memory: a text static, an
// icon static and a hidden prototype button whose size every button takes.
// The buttons, the check box and the details area are added when the
// dialog initialises, because they depend on the style.
#include <algorithm>
#include <vector>

#include "errors/msgbox_internal.h"

namespace zq::errors {
namespace {

// Dialog units.
constexpr short kMargin = 7;
constexpr short kIconSize = 21;
constexpr short kTextWidth = 60, kTextHeight = 8;
constexpr short kButtonWidth = 50, kButtonHeight = 14;
constexpr WORD kFontPoints = 8;
constexpr WCHAR kFontFace[] = L"MS Shell Dlg";

constexpr WORD kButtonClass = 0x0080, kStaticClass = 0x0082;

// Writes a DLGTEMPLATE and its items into WORDs; items start on DWORD
// boundaries, as the system requires.
class TemplateWriter {
 public:
  explicit TemplateWriter(std::vector<WORD>& out) : out_(out) {}

  void Header(DWORD style, short cx, short cy, WORD items) {
    DWord(style);
    DWord(0);  // extended style
    out_.push_back(items);
    Short(0);
    Short(0);
    Short(cx);
    Short(cy);
    out_.push_back(0);  // no menu
    out_.push_back(0);  // the dialog class
    out_.push_back(0);  // no title (set at run time)
    out_.push_back(kFontPoints);
    Text(kFontFace);
  }

  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom) {
    while (out_.size() % 2) out_.push_back(0);
    DWord(style);
    DWord(0);
    Short(x);
    Short(y);
    Short(cx);
    Short(cy);
    out_.push_back(id);
    out_.push_back(0xFFFF);
    out_.push_back(atom);
    out_.push_back(0);  // no text
    out_.push_back(0);  // no creation data
  }

 private:
  void DWord(DWORD value) {
    out_.push_back(LOWORD(value));
    out_.push_back(HIWORD(value));
  }
  void Short(short value) { out_.push_back(static_cast<WORD>(value)); }
  void Text(const WCHAR* text) {
    for (; *text; ++text) out_.push_back(*text);
    out_.push_back(0);
  }

  std::vector<WORD>& out_;
};

void Write(std::vector<WORD>& out) {
  TemplateWriter writer(out);
  writer.Header(DS_MODALFRAME | DS_SETFONT | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                kMargin * 3 + kIconSize + kTextWidth, kMargin * 3 + kIconSize + kButtonHeight, 3);
  writer.Item(WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kMargin * 2 + kIconSize, kMargin, kTextWidth,
              kTextHeight, static_cast<WORD>(kTextId), kStaticClass);
  writer.Item(WS_CHILD | WS_VISIBLE | SS_ICON, kMargin, kMargin, kIconSize, kIconSize, static_cast<WORD>(kIconId),
              kStaticClass);
  writer.Item(WS_CHILD | BS_PUSHBUTTON, kMargin, kMargin * 2 + kIconSize, kButtonWidth, kButtonHeight,
              static_cast<WORD>(kPrototypeId), kButtonClass);
}

}  // namespace

const DLGTEMPLATE* BuildMessageBoxTemplate() noexcept {
  try {
    std::vector<WORD> words;
    Write(words);
    // A block from operator new is aligned for any type, so DWORD-aligned.
    WORD* block = new WORD[words.size()];
    std::copy(words.begin(), words.end(), block);
    return reinterpret_cast<const DLGTEMPLATE*>(block);
  } catch (...) {
    return nullptr;
  }
}

void FreeMessageBoxTemplate(const DLGTEMPLATE* dialogTemplate) noexcept {
  delete[] reinterpret_cast<const WORD*>(dialogTemplate);
}

}  // namespace zq::errors
