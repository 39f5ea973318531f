// Strings through a language handle: loading, the string cache, names.
#include <string>

#include "core/module_state.h"
#include "core/text_copy.h"
#include "settings/lang_internal.h"
#include "settings/lang_library.h"

namespace zq::settings {
namespace {

constexpr int kCacheLoadChars = 1024;
const WCHAR kEmpty[1] = {0};

// String `id` from the language module's string table in the handle's
// language; 0 when the block or the entry is missing or empty.
int LoadFromLanguageModule(HZQLANG lang, UINT id, WCHAR* text, int capacity) noexcept {
  HRSRC block = FindInLanguageModule(lang, MAKEINTRESOURCEW((id >> 4) + 1), RT_STRING);
  DWORD size = 0;
  auto* data = static_cast<const WCHAR*>(ResourceData(lang->languageModule, block, &size));
  if (!data) return 0;
  // Entries: a 16-bit length and that many characters, 16 per block.
  const WCHAR* end = data + size / sizeof(WCHAR);
  const WCHAR* entry = data;
  for (UINT i = 0; i < (id & 15); ++i) {
    if (entry >= end) return 0;
    entry += 1 + *entry;
  }
  if (entry >= end) return 0;
  int length = *entry;
  if (length == 0 || entry + 1 + length > end) return 0;
  return core::CopyTextN(text, capacity, entry + 1, length);
}

// The entry text of a cache item: the id, then the terminated string.
struct CacheEntry {
  UINT id;
  WCHAR text[1];
};

int CALLBACK CompareId(LONG, DWORD_PTR key, DWORD_PTR item) {
  UINT id = static_cast<UINT>(key);
  UINT other = reinterpret_cast<const CacheEntry*>(item)->id;
  return id < other ? -1 : id > other ? 1 : 0;
}

// The cached text of `id`, loading and inserting it on a miss. Caller
// holds the handle's lock.
WCHAR* CachedString(HZQLANG lang, UINT id) noexcept {
  tZQLIST* cache = lang->stringCache;
  if (!cache) return nullptr;
  int index = ZqList_FindSortedItemRange(cache, id, 0, -1, CompareId);
  if (index >= 0) return static_cast<CacheEntry*>(ZQLIST_PTR(cache, index))->text;
  WCHAR loaded[kCacheLoadChars];
  int length = ZqLoadString(lang, id, loaded, kCacheLoadChars);
  if (length <= 0) return nullptr;
  void* item = nullptr;
  if (FAILED(ZqList_AllocItem(cache, 2 * length + 8, &item))) return nullptr;
  auto* entry = static_cast<CacheEntry*>(item);
  entry->id = id;
  core::CopyTextN(entry->text, length + 1, loaded, length);
  int at = ZqList_FindSortedInsertIndexRange(cache, id, 0, -1, CompareId);
  if (FAILED(ZqList_InsertList(cache, at, nullptr, -1))) {
    ZqList_DeleteList(cache, -1, -1, FALSE);  // frees the pending item
    return nullptr;
  }
  return entry->text;
}

}  // namespace

const WCHAR* DefaultLangString(UINT id) noexcept { return ZqGetString(core::DefaultLang(), id); }

int StripMarker(WCHAR* text, int length) noexcept {
  if (length < 2 || text[0] != L'^' || text[1] != L'*') return length;
  MoveMemory(text, text + 2, (length - 1) * sizeof(WCHAR));  // with the terminator
  return length - 2;
}

}  // namespace zq::settings

using namespace zq::settings;

ZQAPI int WINAPI ZqLoadString(HZQLANG lang, UINT id, LPWSTR text, int capacity) noexcept {
  if (!text || capacity <= 0) return 0;
  text[0] = 0;
  if (!lang) return 0;
  int length = UsesLanguageModule(lang) ? LoadFromLanguageModule(lang, id, text, capacity) : 0;
  // LoadStringW reads a capacity of 0 as a request for a pointer; the
  // capacity here is at least 1.
  if (length <= 0) length = LoadStringW(lang->module, id, text, capacity);
  if (length <= 0) {
    text[0] = 0;
    return 0;
  }
  return StripMarker(text, length);
}

ZQAPI LPCWSTR WINAPI ZqGetString(HZQLANG lang, UINT id) noexcept {
  if (!lang) return kEmpty;
  zq::core::LangLock guard(lang);
  WCHAR* text = CachedString(lang, id);
  return text ? text : kEmpty;
}

ZQAPI LPCWSTR WINAPI ZqGetMenuString(HZQLANG lang, UINT id) noexcept {
  if (!lang) return kEmpty;
  zq::core::LangLock guard(lang);
  WCHAR* text = CachedString(lang, id);
  if (!text) return kEmpty;
  for (WCHAR* c = text; *c; ++c)
    if (*c == L'\t') *c = L'\b';
  return text;
}

ZQAPI BOOL WINAPI ZqLang_IsNameOrderReversed(HZQLANG lang) noexcept { return lang && lang->language == 1041; }

ZQAPI int WINAPI ZqLang_LocalizeUserName(HZQLANG lang, LPCWSTR firstName, LPCWSTR lastName, LPWSTR text,
                                         int capacity) noexcept {
  if (!text || capacity <= 0) return 0;
  text[0] = 0;
  bool reversed = ZqLang_IsNameOrderReversed(lang);
  zq::core::CopyText(text, capacity, reversed ? lastName : firstName);
  zq::core::AppendText(text, capacity, L" ");
  return zq::core::AppendText(text, capacity, reversed ? firstName : lastName);
}
