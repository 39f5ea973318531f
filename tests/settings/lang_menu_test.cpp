// Menu operations on real menus loaded from resources.
#include <gtest/gtest.h>

#include <string>

#include "lang_test_ids.h"
#include "lang_test_support.h"
#include "zq/menu.h"
#include "zq/printf.h"

using namespace langtest;

namespace {

std::wstring ItemText(HMENU menu, UINT item, UINT flags = MF_BYCOMMAND) {
  WCHAR text[256] = {};
  GetMenuStringW(menu, item, text, 256, flags);
  return text;
}

// "T" for a text item, "-" for a separator, "P(...)" for a pop-up.
std::wstring Shape(HMENU menu) {
  std::wstring shape;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (!shape.empty()) shape += L' ';
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_ID;
    GetMenuItemInfoW(menu, i, TRUE, &info);
    if (info.hSubMenu)
      shape += L"P(" + Shape(info.hSubMenu) + L")";
    else if (info.fType & MFT_SEPARATOR)
      shape += L"-";
    else
      shape += std::to_wstring(info.wID);
  }
  return shape;
}

class Menu {
 public:
  Menu(HZQLANG lang, UINT id) : menu_(ZqLoadMenu(lang, MAKEINTRESOURCEW(id))) {}
  explicit Menu(HMENU menu) : menu_(menu) {}
  ~Menu() {
    if (menu_) DestroyMenu(menu_);
  }
  operator HMENU() const { return menu_; }

 private:
  HMENU menu_;
};

bool Grayed(HMENU menu, UINT item, UINT flags = MF_BYCOMMAND) {
  return (GetMenuState(menu, item, flags) & MF_GRAYED) != 0;
}

}  // namespace

TEST(MenuMarkers, RemovedInsidePopupsOnly) {
  Handle lang(Program());
  for (bool german : {false, true}) {
    if (german) lang.German();
    Menu menu(lang, IDM_T_MARKERS);
    ASSERT_NE(static_cast<HMENU>(menu), nullptr);
    EXPECT_EQ(ItemText(menu, IDM_T_OPEN), german ? L"\u00D6&ffnen" : L"&Open");
    EXPECT_EQ(ItemText(menu, IDM_T_FIRST), german ? L"Erste" : L"First");
    EXPECT_EQ(ItemText(menu, IDM_T_SAVE), german ? L"&Speichern" : L"&Save");
    // Items that open pop-ups and top-level items keep their text.
    HMENU file = GetSubMenu(menu, 0);
    EXPECT_EQ(ItemText(file, 3, MF_BYPOSITION), german ? L"^*&Zuletzt" : L"^*&Recent");
    EXPECT_EQ(ItemText(menu, IDM_T_TOP), german ? L"^*Oben" : L"^*Top");
    EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(IDM_T_OPEN));
  }
}

TEST(MenuCull, DeletesListedCommandsAndCleans) {
  Handle lang(Program());
  const UINT ids[] = {IDM_T_ONLY, IDM_T_LONELY, 0, IDM_T_CUT};
  Menu menu(ZqLoadCulledMenu(lang, MAKEINTRESOURCEW(IDM_T_EDIT_MENU), ids, -1, TRUE));
  ASSERT_NE(static_cast<HMENU>(menu), nullptr);
  // The empty pop-ups are gone, the separators around them merged, and the
  // list stopped at its 0 id (Cut stays).
  EXPECT_EQ(Shape(menu), L"P(311 - 312 - 314) P(321 322 P(323 P(324)) 325)");
  EXPECT_EQ(ZqLoadCulledMenu(lang, MAKEINTRESOURCEW(999), ids, -1, TRUE), nullptr);
}

TEST(MenuCull, CountLimitsTheListAndCleanIsOptional) {
  Handle lang(Program());
  Menu menu(lang, IDM_T_EDIT_MENU);
  const UINT ids[] = {IDM_T_ONLY, IDM_T_LONELY};
  EXPECT_FALSE(ZqCullMenu(menu, ids, 1, FALSE));
  EXPECT_EQ(Shape(menu), L"P(- 311 - - 312 - P() - 314 -) P(321 322 P(323 P(324)) 325) P(331)");
  EXPECT_FALSE(ZqCullMenu(menu, nullptr, 5, TRUE));  // no ids: only cleaning
  EXPECT_EQ(Shape(menu), L"P(311 - 312 - 314) P(321 322 P(323 P(324)) 325) P(331)");
  EXPECT_FALSE(ZqCullMenu(nullptr, ids, 2, TRUE));
}

TEST(MenuClean, EmptyMenuIsDeletedFromItsParent) {
  Menu bar(CreateMenu());
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
  HMENU keep = CreatePopupMenu();
  AppendMenuW(keep, MF_STRING, 7, L"Seven");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(keep), L"Keep");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"Separators only");
  EXPECT_TRUE(ZqCleanMenu(popup, bar, 1));
  EXPECT_EQ(GetMenuItemCount(bar), 1);
  EXPECT_FALSE(IsMenu(popup));
  EXPECT_FALSE(ZqCleanMenu(keep, bar, 0));
  EXPECT_EQ(GetMenuItemCount(bar), 1);
  // Without a parent an empty menu stays.
  Menu lone(CreatePopupMenu());
  AppendMenuW(lone, MF_SEPARATOR, 0, nullptr);
  EXPECT_FALSE(ZqCleanMenu(lone, nullptr, -1));
  EXPECT_EQ(GetMenuItemCount(lone), 0);
  EXPECT_FALSE(ZqCleanMenu(nullptr, bar, 0));
}

TEST(MenuGray, ByIdByPositionAndEnableAgain) {
  Handle lang(Program());
  Menu menu(lang, IDM_T_EDIT_MENU);
  const UINT ids[] = {IDM_T_CUT, IDM_T_BOTTOM, 0, IDM_T_PASTE};
  ZqGrayMenu(menu, ids, -1);
  EXPECT_TRUE(Grayed(menu, IDM_T_CUT));
  EXPECT_TRUE(Grayed(menu, IDM_T_BOTTOM));  // deep inside a pop-up
  EXPECT_FALSE(Grayed(menu, IDM_T_PASTE));  // after the 0 id
  ZqGrayMenu(menu, ids + 3, 1);
  EXPECT_TRUE(Grayed(menu, IDM_T_PASTE));
  HMENU tools = GetSubMenu(menu, 1);
  ZqGrayAllMenuItems(tools);
  for (int i = 0; i < GetMenuItemCount(tools); ++i) EXPECT_TRUE(Grayed(tools, i, MF_BYPOSITION)) << i;
  ZqEnableAllMenuItems(tools);
  for (int i = 0; i < GetMenuItemCount(tools); ++i) EXPECT_FALSE(Grayed(tools, i, MF_BYPOSITION)) << i;
  ZqGrayMenu(nullptr, ids, -1);
  ZqGrayAllMenuItems(nullptr);
  ZqEnableAllMenuItems(nullptr);
}

TEST(MenuTokens, ItemTextsAreExpandedAtEveryDepth) {
  ASSERT_TRUE(ZqPrintF_AddToken(L"AppName", L"Quillet Test"));
  Handle lang(Program());
  Menu menu(lang, IDM_T_EDIT_MENU);
  EXPECT_EQ(ZqMenuReplaceTokens(menu), GetMenuItemCount(menu));
  EXPECT_EQ(ItemText(menu, IDM_T_ABOUT), L"About Quillet Test...");
  EXPECT_EQ(ItemText(menu, IDM_T_DEEPER), L"Deeper Quillet Test");
  HMENU tools = GetSubMenu(menu, 1);
  EXPECT_EQ(ItemText(tools, 2, MF_BYPOSITION), L"Deep Quillet Test");
  EXPECT_NE(GetSubMenu(GetSubMenu(tools, 2), 1), nullptr);  // pop-ups kept
  // Unknown tokens stay; directives that would need an argument are text.
  EXPECT_EQ(ItemText(menu, IDM_T_SURE), L"$(NoSuchToken) 100% sure");
  EXPECT_EQ(ItemText(menu, IDM_T_ZOOM), L"Zoom %s %d$d");
  EXPECT_EQ(GetMenuItemID(tools, 0), static_cast<UINT>(IDM_T_ABOUT));
  EXPECT_EQ(ItemText(menu, IDM_T_CUT), L"Cu&t");
  ZqPrintF_DeleteToken(L"AppName");
  EXPECT_EQ(ZqMenuReplaceTokens(nullptr), 0);
}

TEST(MenuFind, SubMenuHoldingACommand) {
  Handle lang(Program());
  Menu menu(lang, IDM_T_EDIT_MENU);
  HMENU tools = GetSubMenu(menu, 1);
  HMENU deepest = GetSubMenu(GetSubMenu(tools, 2), 1);
  HMENU found = nullptr;
  int position = 99;
  EXPECT_TRUE(ZqFindSubMenu(menu, IDM_T_BOTTOM, &found, &position));
  EXPECT_EQ(found, deepest);
  EXPECT_EQ(position, 1);
  EXPECT_TRUE(ZqFindSubMenu(menu, IDM_T_CUT, &found, &position));
  EXPECT_EQ(found, GetSubMenu(menu, 0));
  EXPECT_EQ(position, 0);
  EXPECT_EQ(ZqGetSubmenuByID(menu, IDM_T_LONELY, &position), GetSubMenu(menu, 2));
  EXPECT_EQ(position, 2);
  EXPECT_EQ(ZqGetSubmenuByID(tools, IDM_T_ABOUT, &position), tools);
  EXPECT_EQ(position, -1);
  EXPECT_EQ(ZqGetSubmenuByID(menu, 4242, &position), nullptr);
  EXPECT_EQ(position, -1);
  EXPECT_FALSE(ZqFindSubMenu(menu, 4242, &found, &position));
  EXPECT_EQ(found, nullptr);
  EXPECT_FALSE(ZqFindSubMenu(nullptr, IDM_T_CUT, &found, &position));
  EXPECT_TRUE(ZqFindSubMenu(menu, IDM_T_CUT, nullptr, nullptr));
}
