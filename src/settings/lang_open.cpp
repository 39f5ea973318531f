// Opening and closing language handles, their language module and locale.
#include "core/module_state.h"
#include "core/text_copy.h"
#include "settings/lang_internal.h"

namespace zq::settings {
namespace {

constexpr LCID kEnglishUs = 1033;
constexpr DWORD kStringCacheFlags = ZQLIST_ANYTHREAD | ZQLIST_HEAP;

HRESULT CreateStringCache(tZQLIST** cache) noexcept {
  return ZqList_CreateExZ(cache, 8, 0, 0, kStringCacheFlags, nullptr, 0, nullptr);
}

// The module's full file name; false when there is none or it was cut.
bool ModuleFileName(HINSTANCE module, WCHAR* path, DWORD capacity) noexcept {
  DWORD length = GetModuleFileNameW(module, path, capacity);
  return length > 0 && length < capacity;
}

// Loads "<module>.LNG" when it exists; a missing file is not an error.
HINSTANCE LoadLanguageModule(HINSTANCE module) noexcept {
  WCHAR moduleFile[MAX_PATH];
  WCHAR path[MAX_PATH];
  if (!ModuleFileName(module, moduleFile, MAX_PATH)) return nullptr;
  if (!LanguageModulePath(moduleFile, path, MAX_PATH)) return nullptr;
  if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return nullptr;
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HINSTANCE loaded = LoadLibraryExW(path, nullptr, 0);
  SetErrorMode(oldMode);
  return loaded;
}

struct Lookup {
  bool useModule;
  HINSTANCE languageModule;
  WORD language;
  bool operator==(const Lookup&) const = default;
};

Lookup LookupOf(HZQLANG lang) noexcept {
  return {UsesLanguageModule(lang), lang->languageModule, ResourceLanguage(lang)};
}

// Strings cached so far were looked up for the old language. Pointers to
// them must stay valid until close, so the old cache is kept aside and a
// fresh one takes its place. When that cannot be allocated the old cache
// simply stays in use.
void RetireStringCache(HZQLANG lang) noexcept {
  core::LangLock guard(lang);
  tZQLIST* old = lang->stringCache;
  if (!old || old->count == 0) return;
  if (!lang->retiredCaches &&
      FAILED(ZqList_CreateExZ(&lang->retiredCaches, 4, 4, 4, ZQLIST_ANYTHREAD, nullptr, 0, nullptr)))
    return;
  tZQLIST* fresh = nullptr;
  if (FAILED(CreateStringCache(&fresh))) return;
  if (FAILED(ZqList_InsertList(lang->retiredCaches, -1, &old, 1))) {
    ZqList_Destroy(fresh);
    return;
  }
  lang->stringCache = fresh;
}

// Applies `change` to the handle and starts a fresh string cache when the
// change alters where strings come from.
template <typename Change>
void ChangeLookup(HZQLANG lang, Change change) noexcept {
  Lookup before = LookupOf(lang);
  change(lang);
  if (!(LookupOf(lang) == before)) RetireStringCache(lang);
}

WCHAR g_languageId[5] = L"ENU";

}  // namespace

bool LanguageModulePath(const WCHAR* moduleFile, WCHAR* path, int capacity) noexcept {
  if (!moduleFile || !path || capacity <= 0) return false;
  int length = lstrlenW(moduleFile);
  int nameStart = 0;
  int dot = -1;
  for (int i = 0; i < length; ++i) {
    if (moduleFile[i] == L'\\' || moduleFile[i] == L'/' || moduleFile[i] == L':') {
      nameStart = i + 1;
      dot = -1;
    } else if (moduleFile[i] == L'.') {
      dot = i;
    }
  }
  if (length == nameStart) return false;
  int keep = dot >= 0 ? dot + 1 : length;
  const WCHAR* extension = dot >= 0 ? L"LNG" : L".LNG";
  if (keep + lstrlenW(extension) + 1 > capacity) return false;
  core::CopyTextN(path, capacity, moduleFile, keep);
  core::AppendText(path, capacity, extension);
  return true;
}

const WCHAR* LanguageIdText() noexcept { return g_languageId; }

}  // namespace zq::settings

using namespace zq::settings;

ZQAPI HRESULT WINAPI ZqLang_Open(HZQLANG* out, HINSTANCE module, LCID lcid, UINT bufferSize) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  HZQLANG lang = zq::core::LangCreate(module, bufferSize);
  if (!lang) return E_OUTOFMEMORY;
  HRESULT hr = CreateStringCache(&lang->stringCache);
  if (FAILED(hr)) {
    zq::core::LangDestroy(lang);
    return hr;
  }
  if (lcid) lang->language = lcid;
  lang->languageModule = LoadLanguageModule(module);
  lang->loadedLanguageModule = lang->languageModule;
  *out = lang;
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqLang_Close(HZQLANG lang) noexcept {
  if (!lang) return S_OK;
  if (lang->loadedLanguageModule && lang->loadedLanguageModule != lang->module)
    FreeLibrary(lang->loadedLanguageModule);
  ZqList_Destroy(lang->stringCache);
  if (tZQLIST* retired = lang->retiredCaches) {
    for (LONG i = 0; i < retired->count; ++i) ZqList_Destroy(static_cast<tZQLIST*>(ZQLIST_PTR(retired, i)));
    ZqList_Destroy(retired);
  }
  zq::core::LangDestroy(lang);
  return S_OK;
}

// The handle never frees a module it was given here: only the one it
// loaded itself, and that one only at close.
ZQAPI BOOL WINAPI ZqLang_ChangeLangInst(HZQLANG lang, HINSTANCE languageModule) noexcept {
  HZQLANG main = zq::core::DefaultLang();
  if (!lang || !main) return FALSE;
  if (languageModule) {
    auto set = [languageModule](HZQLANG h) { h->languageModule = languageModule; };
    ChangeLookup(lang, set);
    if (main != lang) ChangeLookup(main, set);
  }
  return TRUE;
}

ZQAPI BOOL WINAPI ZqLang_UpdateKernelLCID(HZQLANG lang, LCID lcid, DWORD reserved) noexcept {
  HZQLANG main = zq::core::DefaultLang();
  if (!lang || !main) return FALSE;
  if (!lcid) lcid = kEnglishUs;
  auto set = [lcid](HZQLANG h) {
    h->language = lcid;
    h->useLanguageModule = !ZqLang_IsLCIDEnglish(lcid);
  };
  ChangeLookup(lang, set);
  if (main != lang) ChangeLookup(main, set);
  return TRUE;
}

ZQAPI LCID WINAPI ZqLang_GetLCID(HZQLANG lang) noexcept { return lang ? lang->language : 0; }

ZQAPI BOOL WINAPI ZqLang_GetLangAbbrev(HZQLANG lang, LPWSTR text, int capacity) noexcept {
  if (!lang || !text || capacity <= 0) return FALSE;
  WCHAR abbrev[16];
  if (GetLocaleInfoW(lang->language, LOCALE_SABBREVLANGNAME, abbrev, ARRAYSIZE(abbrev)) <= 0) abbrev[0] = 0;
  zq::core::CopyText(text, capacity, abbrev);
  return TRUE;
}

ZQAPI BOOL WINAPI ZqLang_IsLCIDEnglish(LCID lcid) noexcept { return (lcid & 0x3FF) == LANG_ENGLISH; }

ZQAPI HINSTANCE WINAPI ZqLang_InstFromLang(HZQLANG lang) noexcept {
  if (!lang) return nullptr;
  return UsesLanguageModule(lang) ? lang->languageModule : lang->module;
}

ZQAPI int WINAPI ZqSetLangID(LPCWSTR id) noexcept {
  if (!id || !*id) id = L"ENU";
  return zq::core::CopyText(g_languageId, ARRAYSIZE(g_languageId), id);
}
