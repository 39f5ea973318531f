// Menu operations: culling, cleaning, graying, token replacement, finding
// the pop-up that holds a command, and the "^*" marker of loaded menus.
#include "core/text_copy.h"
#include "settings/lang_internal.h"
#include "text/printer.h"
#include "zq/menu.h"

namespace {

constexpr int kMarkerTextChars = 260;
constexpr int kTokenTextChars = 100;
constexpr int kExpandedChars = 1024;
constexpr int kMaxListedIds = 10000;

struct ItemInfo {
  UINT type = 0;
  UINT id = 0;
  HMENU subMenu = nullptr;
};

bool ReadItem(HMENU menu, int position, ItemInfo* item) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
  if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return false;
  item->type = info.fType;
  item->id = info.wID;
  item->subMenu = info.hSubMenu;
  return true;
}

bool IsSeparator(HMENU menu, int position) {
  ItemInfo item;
  return ReadItem(menu, position, &item) && (item.type & MFT_SEPARATOR);
}

// The item's text, at most capacity - 1 characters; 0 when it has none.
int ReadText(HMENU menu, int position, WCHAR* text, int capacity) {
  text[0] = 0;
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = text;
  info.cch = capacity;
  if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return 0;
  text[capacity - 1] = 0;
  return lstrlenW(text);
}

// Replaces the item's text; its id, state and pop-up stay as they are.
void WriteText(HMENU menu, int position, WCHAR* text) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = text;
  SetMenuItemInfoW(menu, position, TRUE, &info);
}

// Calls `apply` for each id of the list: until a 0 id or `count` ids
// (negative: at most 10000).
template <typename Apply>
void ForEachId(const UINT* ids, int count, Apply apply) {
  if (!ids) return;
  if (count < 0) count = kMaxListedIds;
  for (int i = 0; i < count && ids[i]; ++i) apply(ids[i]);
}

void StripItems(HMENU menu) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    ItemInfo item;
    if (!ReadItem(menu, i, &item)) continue;
    if (item.subMenu) {
      StripItems(item.subMenu);
      continue;
    }
    WCHAR text[kMarkerTextChars];
    int length = ReadText(menu, i, text, kMarkerTextChars);
    if (zq::settings::StripMarker(text, length) != length) WriteText(menu, i, text);
  }
}

// The text with every printer directive that would take an argument made
// literal: menu texts are printed without arguments, so only "$(Name)"
// tokens, the escapes ("%%", "$$", "$%") and the separator directives
// (",", ":", "*", "!", "&") keep their meaning.
int EscapeArgumentDirectives(const WCHAR* text, WCHAR* out, int capacity) {
  int n = 0;
  auto put = [&](WCHAR c) {
    if (n < capacity - 1) out[n++] = c;
  };
  for (int i = 0; text[i]; ++i) {
    WCHAR c = text[i];
    if (c != L'%' && c != L'$') {
      put(c);
      continue;
    }
    WCHAR next = text[i + 1];
    if (c == L'$' && next == L'(') {  // a token name is copied as it stands
      for (; text[i] && text[i] != L')'; ++i) put(text[i]);
      if (!text[i]) break;
      put(text[i]);
      continue;
    }
    bool keep = next == L'%' || (c == L'$' && (next == L'$' || next == L'(')) || next == L',' ||
                next == L':' || next == L'*' || next == L'!' || next == L'&';
    put(c);
    if (!keep) {
      put(c);  // "%%" or "$$": the introducer itself
    } else if (next == L'%' || next == L'$') {
      put(next);
      ++i;
    }
  }
  out[n] = 0;
  return n;
}

void ReplaceTokens(HMENU menu) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    ItemInfo item;
    if (!ReadItem(menu, i, &item) || (item.type & MFT_SEPARATOR)) continue;
    WCHAR text[kTokenTextChars];
    if (ReadText(menu, i, text, kTokenTextChars) > 0 && zq::text::NeedsFormatting(text)) {
      WCHAR format[2 * kTokenTextChars];
      WCHAR expanded[kExpandedChars];
      EscapeArgumentDirectives(text, format, ARRAYSIZE(format));
      zq::text::PrintBounded(expanded, kExpandedChars, format);
      if (lstrcmpW(expanded, text) != 0) WriteText(menu, i, expanded);
    }
    if (item.subMenu) ReplaceTokens(item.subMenu);
  }
}

// The menu below `menu` (or `menu` itself) that directly holds command `id`;
// `position` receives the position in `menu` of the pop-up on the path.
HMENU FindCommand(HMENU menu, UINT id, int* position, int depth) {
  if (depth > 64) return nullptr;  // menus nest far less; a loop ends here
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    ItemInfo item;
    if (!ReadItem(menu, i, &item)) continue;
    if (item.subMenu) {
      if (HMENU found = FindCommand(item.subMenu, id, nullptr, depth + 1)) {
        if (position) *position = i;
        return found;
      }
    } else if (!(item.type & MFT_SEPARATOR) && item.id == id) {
      if (position) *position = -1;
      return menu;
    }
  }
  return nullptr;
}

}  // namespace

namespace zq::settings {
void StripMenuMarkers(HMENU menu) noexcept {
  // Only the items of pop-ups: the top-level items are left as they are.
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) StripItems(sub);
  }
}
}  // namespace zq::settings

ZQAPI HMENU WINAPI ZqLoadCulledMenu(HZQLANG lang, LPCWSTR name, const UINT* ids, int count, BOOL clean) noexcept {
  HMENU menu = ZqLoadMenu(lang, name);
  if (menu) ZqCullMenu(menu, ids, count, clean);
  return menu;
}

ZQAPI BOOL WINAPI ZqCullMenu(HMENU menu, const UINT* ids, int count, BOOL clean) noexcept {
  if (!menu || !IsMenu(menu)) return FALSE;
  ForEachId(ids, count, [menu](UINT id) { DeleteMenu(menu, id, MF_BYCOMMAND); });
  return clean ? ZqCleanMenu(menu, nullptr, -1) : FALSE;
}

ZQAPI BOOL WINAPI ZqCleanMenu(HMENU menu, HMENU parent, int position) noexcept {
  if (!menu || !IsMenu(menu)) return FALSE;
  // Pop-ups first, from the end, so that removing one keeps the positions
  // of those still to come.
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    if (HMENU sub = GetSubMenu(menu, i)) ZqCleanMenu(sub, menu, i);
  }
  // Separators: none at the start, none at the end, never two in a row.
  for (int i = 0; i < GetMenuItemCount(menu);) {
    bool first = i == 0;
    bool last = i == GetMenuItemCount(menu) - 1;
    if (IsSeparator(menu, i) && (first || last || IsSeparator(menu, i + 1))) {
      DeleteMenu(menu, i, MF_BYPOSITION);
      continue;
    }
    ++i;
  }
  if (GetMenuItemCount(menu) != 0 || !parent || position < 0) return FALSE;
  return DeleteMenu(parent, position, MF_BYPOSITION) ? TRUE : FALSE;
}

ZQAPI void WINAPI ZqGrayMenu(HMENU menu, const UINT* ids, int count) noexcept {
  if (!menu) return;
  ForEachId(ids, count, [menu](UINT id) { EnableMenuItem(menu, id, MF_BYCOMMAND | MF_GRAYED); });
}

ZQAPI void WINAPI ZqGrayAllMenuItems(HMENU menu) noexcept {
  if (!menu) return;
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) EnableMenuItem(menu, i, MF_BYPOSITION | MF_GRAYED);
}

ZQAPI void WINAPI ZqEnableAllMenuItems(HMENU menu) noexcept {
  if (!menu) return;
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) EnableMenuItem(menu, i, MF_BYPOSITION | MF_ENABLED);
}

ZQAPI int WINAPI ZqMenuReplaceTokens(HMENU menu) noexcept {
  if (!menu || !IsMenu(menu)) return 0;
  ReplaceTokens(menu);
  return GetMenuItemCount(menu);
}

ZQAPI BOOL WINAPI ZqFindSubMenu(HMENU menu, UINT id, HMENU* found, int* position) noexcept {
  int at = -1;
  HMENU holder = menu && IsMenu(menu) ? FindCommand(menu, id, &at, 0) : nullptr;
  if (found) *found = holder;
  if (position) *position = holder ? at : -1;
  return holder != nullptr;
}

ZQAPI HMENU WINAPI ZqGetSubmenuByID(HMENU menu, UINT id, int* position) noexcept {
  HMENU holder = nullptr;
  ZqFindSubMenu(menu, id, &holder, position);
  return holder;
}
