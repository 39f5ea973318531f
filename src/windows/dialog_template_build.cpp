// Classic and extended dialog templates built from the flat description.
// Titles and type faces given as string ids come from the caller's
// language handle; each template is measured first and written into a
// zero-filled block of exactly that size.
#include <initializer_list>

#include "windows/dialog_template_writer.h"
#include "zq/dlgtemplate.h"
#include "zq/lang.h"

using zq::windows::TemplateWriter;

namespace {

constexpr WCHAR kDefaultFace[] = L"MS Sans Serif";
constexpr WORD kDefaultPoints = 8;

// A title or type face: a string, or a string id of the language handle.
const WCHAR* Text(HZQLANG lang, LPCWSTR field) noexcept {
  if (!field) return L"";
  if (IS_INTRESOURCE(field)) return ZqGetString(lang, LOWORD(reinterpret_cast<ULONG_PTR>(field)));
  return field;
}

// A menu or class field of the extended form: nothing (a zero word), a
// string, or an ordinal.
void NameOrOrdinal(TemplateWriter& out, LPCWSTR field) noexcept {
  if (!field)
    out.Word(0);
  else if (IS_INTRESOURCE(field))
    out.Ordinal(LOWORD(reinterpret_cast<ULONG_PTR>(field)));
  else
    out.String(field);
}

int ItemCount(WORD count) noexcept { return count > ZQ_DLGTEMPLATE_MAX_ITEMS ? ZQ_DLGTEMPLATE_MAX_ITEMS : count; }

void WriteClassic(TemplateWriter& out, HZQLANG lang, const ZQDLGTEMPLATE& header, const ZQDLGITEM* items,
                  int count) noexcept {
  out.Dword(header.style);
  out.Dword(header.exStyle);
  out.Word(static_cast<WORD>(count));
  for (short value : {header.x, header.y, header.cx, header.cy}) out.Word(static_cast<WORD>(value));
  for (WORD ordinal : {header.menu, header.windowClass}) {
    if (ordinal)
      out.Ordinal(ordinal);
    else
      out.Word(0);
  }
  out.String(Text(lang, header.title));
  if (header.style & DS_SETFONT) {
    out.Word(header.typeFace ? static_cast<WORD>(header.pointSize) : kDefaultPoints);
    out.String(header.typeFace ? Text(lang, header.typeFace) : kDefaultFace);
  }
  for (int i = 0; i < count; ++i) {
    const ZQDLGITEM& item = items[i];
    out.Align4();
    out.Dword(item.style);
    out.Dword(item.exStyle);
    for (short value : {item.x, item.y, item.cx, item.cy}) out.Word(static_cast<WORD>(value));
    out.Word(item.id);
    if (IS_INTRESOURCE(item.windowClass))
      out.Ordinal(LOWORD(reinterpret_cast<ULONG_PTR>(item.windowClass)));
    else
      out.String(item.windowClass);
    out.String(Text(lang, item.title));
    out.Word(0);
  }
}

void WriteExtended(TemplateWriter& out, HZQLANG lang, const ZQDLGTEMPLATEEX& header, const ZQDLGITEMEX* items,
                   int count) noexcept {
  out.Word(1);
  out.Word(0xFFFF);
  out.Dword(header.helpId);
  out.Dword(header.exStyle);
  out.Dword(header.style);
  out.Word(static_cast<WORD>(count));
  for (short value : {header.x, header.y, header.cx, header.cy}) out.Word(static_cast<WORD>(value));
  NameOrOrdinal(out, header.menu);
  NameOrOrdinal(out, header.windowClass);
  out.String(Text(lang, header.title));
  if (header.style & DS_SETFONT) {
    if (header.typeFace) {
      out.Word(header.pointSize);
      out.Word(header.weight);
      out.Byte(header.italic);
      out.Byte(header.charSet);
      out.String(Text(lang, header.typeFace));
    } else {
      out.Word(kDefaultPoints);
      out.Word(FW_NORMAL);
      out.Byte(0);
      out.Byte(DEFAULT_CHARSET);
      out.String(kDefaultFace);
    }
  }
  for (int i = 0; i < count; ++i) {
    const ZQDLGITEMEX& item = items[i];
    out.Align4();
    out.Dword(item.helpId);
    out.Dword(item.exStyle);
    out.Dword(item.style);
    for (short value : {item.x, item.y, item.cx, item.cy}) out.Word(static_cast<WORD>(value));
    out.Dword(item.id);
    if (IS_INTRESOURCE(item.windowClass))
      out.Ordinal(LOWORD(reinterpret_cast<ULONG_PTR>(item.windowClass)));
    else
      out.String(item.windowClass);
    out.String(Text(lang, item.title));
    const WORD dataSize = item.creationData ? item.creationDataSize : 0;
    out.Word(dataSize);
    out.Bytes(item.creationData, dataSize);
  }
}

// Measures with `write` on no buffer, then writes into a fixed,
// zero-filled block of that size.
template <typename Write>
LPDLGTEMPLATEW Build(Write write, DWORD* size) noexcept {
  TemplateWriter measure;
  write(measure);
  BYTE* block = static_cast<BYTE*>(GlobalAlloc(GPTR, measure.size()));
  if (!block) return nullptr;
  TemplateWriter out(block);
  write(out);
  if (size) *size = out.size();
  return reinterpret_cast<LPDLGTEMPLATEW>(block);
}

}  // namespace

ZQAPI LPDLGTEMPLATEW WINAPI ZqCreateDialogTemplate(HZQLANG lang, const ZQDLGTEMPLATE* header,
                                                   const ZQDLGITEM* items) noexcept {
  if (!header) return nullptr;
  const int count = ItemCount(header->itemCount);
  if (count && !items) return nullptr;
  return Build([&](TemplateWriter& out) { WriteClassic(out, lang, *header, items, count); }, nullptr);
}

ZQAPI LPDLGTEMPLATEW WINAPI ZqCreateDialogTemplateEx(HZQLANG lang, const ZQDLGTEMPLATEEX* header,
                                                     const ZQDLGITEMEX* items, DWORD* size) noexcept {
  if (size) *size = 0;
  if (!header) return nullptr;
  const int count = ItemCount(header->itemCount);
  if (count && !items) return nullptr;
  return Build([&](TemplateWriter& out) { WriteExtended(out, lang, *header, items, count); }, size);
}
