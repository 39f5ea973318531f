// Dialog templates, classic or extended, mapped into the extended flat
// description: one block holding the header, the item records and a pool
// of the strings and creation data they point to. The template's size is
// a hard bound: every field, string and data run must lie inside it, and
// the block is allocated at the size the parse measured.
#include <new>
#include <vector>

#include "zq/dlgtemplate.h"
#include "zq/lang.h"

namespace {

constexpr WCHAR kDefaultFace[] = L"MS Sans Serif";

// A text field of the template: absent, an ordinal, or a terminated string
// inside the template (`bytes` counts the terminator).
struct Text {
  enum Kind { none, ordinal, string } kind = none;
  WORD value = 0;
  const BYTE* chars = nullptr;
  DWORD bytes = 0;
};

struct Item {
  DWORD helpId = 0, exStyle = 0, style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  Text windowClass, title;
  WORD dataSize = 0;
  const BYTE* data = nullptr;
};

struct Parsed {
  ZQDLGTEMPLATEEX header{};
  Text menu, windowClass, title, typeFace;
  std::vector<Item> items;
};

// Reads fields in order; any read past the end fails the reader for good.
class Reader {
 public:
  Reader(const BYTE* base, DWORD size) : base_(base), size_(size) {}
  bool ok() const { return ok_; }

  bool Take(void* out, DWORD count) {
    if (!ok_ || count > size_ - pos_) return ok_ = false;
    CopyMemory(out, base_ + pos_, count);
    pos_ += count;
    return true;
  }
  WORD Word() {
    WORD value = 0;
    Take(&value, sizeof(value));
    return value;
  }
  DWORD Dword() {
    DWORD value = 0;
    Take(&value, sizeof(value));
    return value;
  }
  BYTE Byte() {
    BYTE value = 0;
    Take(&value, sizeof(value));
    return value;
  }
  short Short() { return static_cast<short>(Word()); }
  void Align4() {
    const DWORD aligned = (pos_ + 3) & ~3u;
    if (aligned > size_) ok_ = false;
    if (ok_) pos_ = aligned;
  }
  // A terminated string; fails when the terminator is not inside the template.
  Text String() {
    Text text;
    text.kind = Text::string;
    text.chars = base_ + pos_;
    for (;;) {
      const WORD c = Word();
      if (!ok_) return Text{};
      text.bytes += sizeof(WCHAR);
      if (c == 0) return text;
    }
  }
  // A string, or 0xFFFF and an ordinal.
  Text StringOrOrdinal() {
    WORD first = 0;
    if (!ok_ || size_ - pos_ < sizeof(first)) {
      ok_ = false;
      return Text{};
    }
    CopyMemory(&first, base_ + pos_, sizeof(first));
    if (first != 0xFFFF) return String();
    Word();
    Text text;
    text.kind = Text::ordinal;
    text.value = Word();
    return text;
  }
  const BYTE* Skip(DWORD count) {
    if (!ok_ || count > size_ - pos_) {
      ok_ = false;
      return nullptr;
    }
    const BYTE* at = base_ + pos_;
    pos_ += count;
    return at;
  }

 private:
  const BYTE* base_;
  DWORD size_;
  DWORD pos_ = 0;
  bool ok_ = true;
};

bool IsDefaultFace(const Text& face, WORD points) {
  return points == 8 && face.bytes == sizeof(kDefaultFace) && memcmp(face.chars, kDefaultFace, face.bytes) == 0;
}

bool ParseItem(Reader& in, bool extended, Item* item) {
  in.Align4();
  if (extended) {
    item->helpId = in.Dword();
    item->exStyle = in.Dword();
    item->style = in.Dword();
  } else {
    item->style = in.Dword();
    item->exStyle = in.Dword();
  }
  item->x = in.Short();
  item->y = in.Short();
  item->cx = in.Short();
  item->cy = in.Short();
  item->id = extended ? in.Dword() : in.Word();
  item->windowClass = in.StringOrOrdinal();
  item->title = in.StringOrOrdinal();
  WORD stored = in.Word();
  if (!in.ok()) return false;
  if (!extended && stored) {
    // The classic size word counts itself.
    if (stored < sizeof(WORD)) return false;
    stored -= sizeof(WORD);
  }
  item->dataSize = stored;
  if (stored) item->data = in.Skip(stored);
  return in.ok();
}

bool Parse(const BYTE* bytes, DWORD size, Parsed* out) {
  Reader in(bytes, size);
  ZQDLGTEMPLATEEX& header = out->header;
  const bool extended = size >= 4 && bytes[2] == 0xFF && bytes[3] == 0xFF;
  if (extended) {
    in.Dword();  // version and signature
    header.helpId = in.Dword();
    header.exStyle = in.Dword();
    header.style = in.Dword();
  } else {
    header.style = in.Dword();
    header.exStyle = in.Dword();
  }
  header.itemCount = in.Word();
  header.x = in.Short();
  header.y = in.Short();
  header.cx = in.Short();
  header.cy = in.Short();
  out->menu = in.StringOrOrdinal();
  out->windowClass = in.StringOrOrdinal();
  out->title = in.String();
  if (!extended) {
    header.weight = FW_NORMAL;
    header.charSet = DEFAULT_CHARSET;
  }
  if (header.style & DS_SETFONT) {
    header.pointSize = in.Word();
    if (extended) {
      header.weight = in.Word();
      header.italic = in.Byte();
      header.charSet = in.Byte();
    }
    out->typeFace = in.String();
  }
  if (!in.ok()) return false;
  // Every item takes at least 24 bytes: no count can ask for more items
  // than the template holds.
  out->items.reserve(header.itemCount < size / 24 ? header.itemCount : size / 24);
  for (WORD i = 0; i < header.itemCount; ++i) {
    Item item;
    if (!ParseItem(in, extended, &item)) return false;
    out->items.push_back(item);
  }
  return true;
}

// The pool: strings and data copied one after another, each 4-aligned.
class Pool {
 public:
  explicit Pool(BYTE* base = nullptr) : base_(base) {}
  const void* Add(const void* data, DWORD bytes) {
    BYTE* at = base_ ? base_ + used_ : nullptr;
    if (at) CopyMemory(at, data, bytes);
    used_ = (used_ + bytes + 3) & ~3u;
    return at;
  }
  DWORD used() const { return used_; }

 private:
  BYTE* base_;
  DWORD used_ = 0;
};

// Null for none (or an empty menu or class name), an ordinal, or a copy.
LPCWSTR Field(Pool& pool, const Text& text, bool emptyIsNone) {
  switch (text.kind) {
    case Text::ordinal:
      return MAKEINTRESOURCEW(text.value);
    case Text::string:
      if (emptyIsNone && text.bytes == sizeof(WCHAR)) return nullptr;
      return static_cast<LPCWSTR>(pool.Add(text.chars, text.bytes));
    default:
      return nullptr;
  }
}

// Fills the pool and (with a block) the records; returns the pool size.
DWORD Lay(const Parsed& parsed, BYTE* block) {
  const DWORD records = sizeof(ZQDLGTEMPLATEEX) + sizeof(ZQDLGITEMEX) * static_cast<DWORD>(parsed.items.size());
  Pool pool(block ? block + records : nullptr);
  ZQDLGTEMPLATEEX header = parsed.header;
  header.menu = Field(pool, parsed.menu, true);
  header.windowClass = Field(pool, parsed.windowClass, true);
  header.title = Field(pool, parsed.title, false);
  header.typeFace = (parsed.header.style & DS_SETFONT) && !IsDefaultFace(parsed.typeFace, header.pointSize)
                        ? Field(pool, parsed.typeFace, false)
                        : nullptr;
  if (block) CopyMemory(block, &header, sizeof(header));
  for (size_t i = 0; i < parsed.items.size(); ++i) {
    const Item& from = parsed.items[i];
    ZQDLGITEMEX item{};
    item.helpId = from.helpId;
    item.exStyle = from.exStyle;
    item.style = from.style;
    item.x = from.x;
    item.y = from.y;
    item.cx = from.cx;
    item.cy = from.cy;
    item.id = from.id;
    item.windowClass = Field(pool, from.windowClass, false);
    item.title = Field(pool, from.title, false);
    item.creationDataSize = from.dataSize;
    item.creationData = from.dataSize ? pool.Add(from.data, from.dataSize) : nullptr;
    if (block) CopyMemory(block + sizeof(ZQDLGTEMPLATEEX) + i * sizeof(ZQDLGITEMEX), &item, sizeof(item));
  }
  return records + pool.used();
}

}  // namespace

ZQAPI DWORD WINAPI ZqMapDialogTemplate(const void* dialogTemplate, DWORD size,
                                       ZQDLGTEMPLATEEX** description) noexcept {
  if (!description) return 0;
  *description = nullptr;
  if (!dialogTemplate || !size) return 0;
  try {
    Parsed parsed;
    if (!Parse(static_cast<const BYTE*>(dialogTemplate), size, &parsed)) return 0;
    const DWORD total = Lay(parsed, nullptr);
    HGLOBAL memory = GlobalAlloc(GHND, total);
    BYTE* block = memory ? static_cast<BYTE*>(GlobalLock(memory)) : nullptr;
    if (!block) {
      if (memory) GlobalFree(memory);
      return 0;
    }
    Lay(parsed, block);
    *description = reinterpret_cast<ZQDLGTEMPLATEEX*>(block);
    return sizeof(ZQDLGTEMPLATEEX) + sizeof(ZQDLGITEMEX) * static_cast<DWORD>(parsed.items.size());
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

ZQAPI DWORD WINAPI ZqDialogTemplateFromRCID(HZQLANG lang, LPCWSTR name, const void** dialogTemplate) noexcept {
  if (!dialogTemplate) return 0;
  *dialogTemplate = nullptr;
  HRSRC resource = ZqFindResource(lang, name, RT_DIALOG);
  HGLOBAL loaded = resource ? ZqLoadResource(lang, resource) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = bytes ? ZqSizeofResource(lang, resource) : 0;
  if (size) *dialogTemplate = bytes;
  return size;
}
