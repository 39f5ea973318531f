// The skin context ("skins.ini" beside the module and its section) and
// loading a skin by its id: an ini override (resource number or file),
// else the default resource.
#include <cwchar>
#include <new>

#include "core/text_copy.h"
#include "zq/files.h"
#include "zq/skin.h"

namespace zq::skins {
namespace {

constexpr int kPath = 260;
constexpr int kSection = 64;  // 63 characters and the terminator

// The module's folder with a trailing backslash; 0 when it cannot be had.
int ModuleFolder(HINSTANCE instance, WCHAR* out, int capacity) noexcept {
  DWORD n = ZqGetModulePath(instance, out, static_cast<DWORD>(capacity));
  if (n == 0 || n >= static_cast<DWORD>(capacity) || out[n - 1] != L'\\') return 0;
  return static_cast<int>(n);
}

LPWSTR NewText(const WCHAR* text, int capacity) noexcept {
  auto out = new (std::nothrow) WCHAR[capacity];
  if (out) core::CopyText(out, capacity, text);
  return out;
}

// An override of three characters, the first a digit, reading as 100..999.
UINT ResourceNumber(const WCHAR* value) noexcept {
  if (std::wcslen(value) != 3 || value[0] < L'0' || value[0] > L'9') return 0;
  UINT n = 0;
  for (int i = 0; i < 3; ++i) {
    if (value[i] < L'0' || value[i] > L'9') return 0;
    n = n * 10 + (value[i] - L'0');
  }
  return n >= 100 && n <= 999 ? n : 0;
}

void SetFlag(DWORD& flags, DWORD bit, bool on) noexcept { flags = on ? flags | bit : flags & ~bit; }

}  // namespace
}  // namespace zq::skins

using namespace zq::skins;

ZQAPI HRESULT WINAPI ZqSkinContext_Init(tZQSKINCONTEXT* context, HZQLANG lang, HINSTANCE instance,
                                        DWORD value) noexcept {
  if (!context) return E_POINTER;
  *context = tZQSKINCONTEXT{lang, instance, value, nullptr, nullptr};
  if (!instance) return S_OK;
  WCHAR path[kPath];
  int n = ModuleFolder(instance, path, kPath);
  if (n == 0 || n + 9 >= kPath) return S_OK;  // no folder: the defaults
  zq::core::CopyText(path + n, kPath - n, L"skins.ini");
  WCHAR section[kSection];
  GetPrivateProfileStringW(L"skins", L"UseSection", L"skins", section, kSection, path);
  context->iniPath = NewText(path, kPath);
  context->section = NewText(section, kSection);
  if (!context->iniPath || !context->section) {
    ZqSkinContext_Term(context);
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

ZQAPI void WINAPI ZqSkinContext_Term(tZQSKINCONTEXT* context) noexcept {
  if (!context) return;
  delete[] context->section;
  delete[] context->iniPath;
  context->section = nullptr;
  context->iniPath = nullptr;
}

ZQAPI HRESULT WINAPI ZqSkin_Bmp_Load(tZQSKINBMP* record, const CSkinID* id, const tZQSKINCONTEXT* context) noexcept {
  if (!record || !id) return E_FAIL;
  ZqSkin_Bmp_Free(record);
  DWORD flags = record->flags & ~(ZQSKIN_TILE | ZQSKIN_COLORIZE | ZQSKIN_MASKED);
  SetFlag(flags, ZQSKIN_TILE, id->flags & ZQSKINID_TILE);
  SetFlag(flags, ZQSKIN_COLORIZE, id->flags & ZQSKINID_COLORIZE);
  SetFlag(flags, ZQSKIN_MASKED, id->flags & ZQSKINID_MASK);
  record->flags = flags;
  HZQLANG lang = context ? context->lang : nullptr;
  bool overridden = false;
  if (id->key && context && context->section && context->iniPath) {
    WCHAR value[kPath] = L"";
    GetPrivateProfileStringW(context->section, id->key, L"", value, kPath, context->iniPath);
    if (value[0]) {
      if (UINT number = ResourceNumber(value))
        overridden = SUCCEEDED(ZqSkin_Bmp_GetFromResource(record, MAKEINTRESOURCEW(number), lang));
      if (!overridden) overridden = SUCCEEDED(ZqSkin_Bmp_GetFromFile(record, value));
    }
  }
  if (!overridden) return ZqSkin_Bmp_GetFromResource(record, MAKEINTRESOURCEW(id->resource), lang);
  // The override's own switches, each defaulting to the current setting.
  struct Switch {
    const WCHAR* prefix;  // followed by the key name
    DWORD flag;
  };
  const Switch switches[] = {{L"Tile", ZQSKIN_TILE}, {L"ZqSkin_Colorize", ZQSKIN_COLORIZE}, {L"Mask", ZQSKIN_MASKED}};
  for (const Switch& s : switches) {
    WCHAR key[kPath];
    zq::core::CopyText(key, kPath, s.prefix);
    zq::core::AppendText(key, kPath, id->key);
    UINT current = (record->flags & s.flag) ? 1 : 0;
    SetFlag(record->flags, s.flag, GetPrivateProfileIntW(context->section, key, current, context->iniPath) != 0);
  }
  return S_OK;
}
