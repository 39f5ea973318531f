// Dialog templates: ours instantiated by the system, windres's mapped into
// the description and rebuilt byte for byte, and templates that lie about
// their contents refused within their size.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "guarded_memory.h"
#include "screenshot.h"
#include "windows_test_ids.h"
#include "zq/dlgtemplate.h"
#include "zq/lang.h"
#include "zq/window.h"

namespace {

class Lang {
 public:
  Lang() { ZqLang_Open(&lang_, GetModuleHandleW(nullptr), 0, 0); }
  ~Lang() { ZqLang_Close(lang_); }
  operator HZQLANG() const { return lang_; }

 private:
  HZQLANG lang_ = nullptr;
};

// The dialog resource as the system finds it.
std::vector<BYTE> Resource(int id) {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG));
  if (!found) return {};
  const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(self, found)));
  return std::vector<BYTE>(bytes, bytes + SizeofResource(self, found));
}

// The mapped block: freed through its handle.
struct Mapped {
  ZQDLGTEMPLATEEX* header = nullptr;
  DWORD size = 0;
  Mapped(const void* bytes, DWORD count) { size = ZqMapDialogTemplate(bytes, count, &header); }
  ~Mapped() {
    if (!header) return;
    HGLOBAL handle = GlobalHandle(header);
    GlobalUnlock(handle);
    GlobalFree(handle);
  }
  const ZQDLGITEMEX* items() const { return reinterpret_cast<const ZQDLGITEMEX*>(header + 1); }
};

std::vector<BYTE> TemplateBytes(LPDLGTEMPLATEW built, DWORD size) {
  const BYTE* bytes = reinterpret_cast<const BYTE*>(built);
  return std::vector<BYTE>(bytes, bytes + size);
}

std::wstring Str(LPCWSTR field) { return field && !IS_INTRESOURCE(field) ? field : L"<not a string>"; }

// The classic description of a mapped classic template.
std::vector<BYTE> RebuildClassic(HZQLANG lang, const Mapped& mapped) {
  const ZQDLGTEMPLATEEX& ex = *mapped.header;
  ZQDLGTEMPLATE header{ex.style, ex.exStyle, ex.itemCount, ex.x, ex.y, ex.cx, ex.cy,
                       LOWORD(reinterpret_cast<ULONG_PTR>(ex.menu)), LOWORD(reinterpret_cast<ULONG_PTR>(ex.windowClass)),
                       ex.title, ex.pointSize, ex.typeFace};
  std::vector<ZQDLGITEM> items;
  for (int i = 0; i < ex.itemCount; ++i) {
    const ZQDLGITEMEX& item = mapped.items()[i];
    items.push_back(ZQDLGITEM{item.style, item.exStyle, item.x, item.y, item.cx, item.cy,
                              static_cast<WORD>(item.id), item.windowClass, item.title});
  }
  LPDLGTEMPLATEW built = ZqCreateDialogTemplate(lang, &header, items.data());
  if (!built) return {};
  std::vector<BYTE> bytes = TemplateBytes(built, static_cast<DWORD>(GlobalSize(GlobalHandle(built))));
  GlobalFree(GlobalHandle(built));
  return bytes;
}

std::vector<BYTE> RebuildExtended(HZQLANG lang, const Mapped& mapped) {
  DWORD size = 0;
  LPDLGTEMPLATEW built = ZqCreateDialogTemplateEx(lang, mapped.header, mapped.items(), &size);
  if (!built) return {};
  EXPECT_EQ(GlobalSize(GlobalHandle(built)), size);
  std::vector<BYTE> bytes = TemplateBytes(built, size);
  GlobalFree(GlobalHandle(built));
  return bytes;
}

TEST(DialogTemplates, WindresTemplatesMapAndRebuildByteForByte) {
  Lang lang;
  struct Case {
    int id;
    bool extended;
    int items;
  };
  for (const Case& c : {Case{IDD_CLASSIC, false, 6}, Case{IDD_CLASSIC_FACE, false, 2}, Case{IDD_NO_FONT, false, 1},
                        Case{IDD_EXTENDED, true, 5}, Case{IDD_EXTENDED_NAMED, true, 1}}) {
    SCOPED_TRACE(c.id);
    const std::vector<BYTE> resource = Resource(c.id);
    ASSERT_FALSE(resource.empty());
    const void* found = nullptr;
    ASSERT_EQ(ZqDialogTemplateFromRCID(lang, MAKEINTRESOURCEW(c.id), &found), resource.size());
    ASSERT_EQ(std::memcmp(found, resource.data(), resource.size()), 0);

    Mapped mapped(found, static_cast<DWORD>(resource.size()));
    ASSERT_NE(mapped.header, nullptr);
    EXPECT_EQ(mapped.size, 48u + 40u * c.items);
    EXPECT_EQ(mapped.header->itemCount, c.items);
    EXPECT_EQ(GlobalFlags(GlobalHandle(mapped.header)) & GMEM_LOCKCOUNT, 1u);
    const std::vector<BYTE> rebuilt = c.extended ? RebuildExtended(lang, mapped) : RebuildClassic(lang, mapped);
    EXPECT_EQ(rebuilt, resource);
  }
  const void* missing = reinterpret_cast<const void*>(1);
  EXPECT_EQ(ZqDialogTemplateFromRCID(lang, MAKEINTRESOURCEW(999), &missing), 0u);
  EXPECT_EQ(missing, nullptr);
}

TEST(DialogTemplates, MappedFieldsOfBothForms) {
  Lang lang;
  const void* bytes = nullptr;
  DWORD size = ZqDialogTemplateFromRCID(lang, MAKEINTRESOURCEW(IDD_CLASSIC), &bytes);
  Mapped classic(bytes, size);
  ASSERT_NE(classic.header, nullptr);
  const ZQDLGTEMPLATEEX& c = *classic.header;
  EXPECT_EQ(c.helpId, 0u);
  EXPECT_EQ(c.style, static_cast<DWORD>(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU));
  EXPECT_EQ((std::vector<int>{c.x, c.y, c.cx, c.cy}), (std::vector<int>{10, 20, 200, 120}));
  EXPECT_EQ(c.menu, nullptr);
  EXPECT_EQ(c.windowClass, nullptr);
  EXPECT_EQ(Str(c.title), L"Classic dialog");
  EXPECT_EQ(c.pointSize, 8);
  EXPECT_EQ(c.weight, FW_NORMAL);
  EXPECT_EQ(c.italic, 0);
  EXPECT_EQ(c.charSet, DEFAULT_CHARSET);
  EXPECT_EQ(c.typeFace, nullptr);  // 8-point "MS Sans Serif"
  EXPECT_EQ(classic.items()[0].windowClass, MAKEINTRESOURCEW(0x82));
  EXPECT_EQ(Str(classic.items()[0].title), L"Name:");
  // windres writes class and menu names in capitals.
  EXPECT_EQ(Str(classic.items()[3].windowClass), L"MSCTLS_TRACKBAR32");
  EXPECT_EQ(classic.items()[4].id, static_cast<DWORD>(IDOK));

  size = ZqDialogTemplateFromRCID(lang, MAKEINTRESOURCEW(IDD_EXTENDED), &bytes);
  Mapped extended(bytes, size);
  ASSERT_NE(extended.header, nullptr);
  const ZQDLGTEMPLATEEX& e = *extended.header;
  EXPECT_EQ(e.helpId, 4711u);
  EXPECT_EQ(e.exStyle, static_cast<DWORD>(WS_EX_CONTROLPARENT));
  EXPECT_EQ(e.pointSize, 8);
  EXPECT_EQ(e.weight, 700);
  EXPECT_EQ(e.italic, 1);
  EXPECT_EQ(e.charSet, 1);
  EXPECT_EQ(Str(e.typeFace), L"MS Shell Dlg");
  const ZQDLGITEMEX& text = extended.items()[0];
  EXPECT_EQ(text.helpId, 999u);
  EXPECT_EQ(text.exStyle, static_cast<DWORD>(WS_EX_CLIENTEDGE));
  EXPECT_EQ(Str(text.windowClass), L"STATIC");
  EXPECT_EQ(Str(text.title), L"Static text");
  const ZQDLGITEMEX& radio = extended.items()[3];
  ASSERT_EQ(radio.creationDataSize, 6);
  const BYTE data[] = {1, 0, 2, 0, 3, 0};
  EXPECT_EQ(std::memcmp(radio.creationData, data, 6), 0);
  EXPECT_EQ(extended.items()[4].creationData, nullptr);

  size = ZqDialogTemplateFromRCID(lang, MAKEINTRESOURCEW(IDD_EXTENDED_NAMED), &bytes);
  Mapped named(bytes, size);
  ASSERT_NE(named.header, nullptr);
  EXPECT_EQ(Str(named.header->menu), L"MAINMENU");
  EXPECT_EQ(Str(named.header->windowClass), L"QUILLETTESTDIALOGCLASS");
  EXPECT_EQ(Str(named.header->typeFace), L"Tahoma");
}

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::wstring WindowText(HWND window) {
  WCHAR text[128] = L"";
  GetWindowTextW(window, text, 128);
  return text;
}

std::wstring ClassOf(HWND window) {
  WCHAR name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

struct Expected {
  WORD id;
  const wchar_t* className;
  const wchar_t* text;
};

void CheckDialog(HWND dialog, const ZQDLGITEMEX* items, const Expected* expected, int count) {
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(expected[i].id);
    HWND control = GetDlgItem(dialog, expected[i].id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(CompareStringOrdinal(ClassOf(control).c_str(), -1, expected[i].className, -1, TRUE), CSTR_EQUAL)
        << ClassOf(control).c_str();
    EXPECT_EQ(WindowText(control), expected[i].text);
    // The system converts position and size separately.
    RECT units{items[i].x, items[i].y, items[i].cx, items[i].cy};
    MapDialogRect(dialog, &units);
    const RECT expectedRect{units.left, units.top, units.left + units.right, units.top + units.bottom};
    RECT placed;
    ASSERT_TRUE(ZqDlgGetControlRect(dialog, nullptr, expected[i].id, &placed));
    EXPECT_TRUE(EqualRect(&expectedRect, &placed));
  }
}

TEST(DialogTemplates, BuiltTemplatesInstantiateWithTheirControls) {
  Lang lang;
  const ZQDLGITEMEX items[] = {
      {0, 0, WS_CHILD | WS_VISIBLE | SS_LEFT, 7, 7, 150, 9, 10, MAKEINTRESOURCEW(0x82),
       MAKEINTRESOURCEW(IDS_ITEM_TEXT), 0, nullptr},
      {0, WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 7, 20, 150, 12, 11, L"Edit",
       L"typed text", 0, nullptr},
      {0, 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 7, 40, 60, 14, 12, MAKEINTRESOURCEW(0x80),
       L"Push", 0, nullptr},
      {0, 0, WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 80, 40, 77, 40, 13, MAKEINTRESOURCEW(0x83), nullptr,
       0, nullptr},
      {0, 0, WS_CHILD | WS_VISIBLE, 7, 85, 150, 15, 14, L"msctls_trackbar32", L"", 0, nullptr},
  };
  const Expected expected[] = {{10, L"Static", L"Item text from the table"},
                               {11, L"Edit", L"typed text"},
                               {12, L"Button", L"Push"},
                               {13, L"ListBox", L""},
                               {14, L"msctls_trackbar32", L""}};
  ZQDLGTEMPLATEEX header{};
  header.style = DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  header.itemCount = 5;
  header.x = 10, header.y = 10, header.cx = 170, header.cy = 110;
  header.title = MAKEINTRESOURCEW(IDS_BUILT_TITLE);
  header.pointSize = 8;
  header.weight = FW_NORMAL;
  header.charSet = DEFAULT_CHARSET;
  header.typeFace = MAKEINTRESOURCEW(IDS_BUILT_FACE);

  DWORD size = 0;
  LPDLGTEMPLATEW extended = ZqCreateDialogTemplateEx(lang, &header, items, &size);
  ASSERT_NE(extended, nullptr);
  HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), extended, nullptr, QuietProc, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), L"Title from the string table");
  CheckDialog(dialog, items, expected, 5);
  const auto shot = testsupport::SaveWindowScreenshot(dialog, L"windows_built_dialog");
  EXPECT_TRUE(shot.saved);
  EXPECT_GT(shot.colours, 2);
  DestroyWindow(dialog);
  GlobalFree(GlobalHandle(extended));

  // The classic form of the same dialog.
  const ZQDLGTEMPLATE classicHeader{header.style, 0, 5, 10, 10, 170, 110, 0, 0, header.title, 8, header.typeFace};
  std::vector<ZQDLGITEM> classicItems;
  for (const ZQDLGITEMEX& item : items)
    classicItems.push_back(ZQDLGITEM{item.style, item.exStyle, item.x, item.y, item.cx, item.cy,
                                     static_cast<WORD>(item.id), item.windowClass, item.title});
  LPDLGTEMPLATEW classic = ZqCreateDialogTemplate(lang, &classicHeader, classicItems.data());
  ASSERT_NE(classic, nullptr);
  dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), classic, nullptr, QuietProc, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), L"Title from the string table");
  CheckDialog(dialog, items, expected, 5);
  DestroyWindow(dialog);
  GlobalFree(GlobalHandle(classic));
}

// Reads a terminated string at `offset`.
std::wstring StringAt(const BYTE* bytes, size_t offset) {
  return reinterpret_cast<const WCHAR*>(bytes + offset);
}

TEST(DialogTemplates, NullFaceIsEightPointMsSansSerifBothWays) {
  const ZQDLGTEMPLATE classic{DS_SETFONT | WS_POPUP, 0, 0, 0, 0, 50, 50, 0, 0, L"T", 12, nullptr};
  LPDLGTEMPLATEW built = ZqCreateDialogTemplate(nullptr, &classic, nullptr);
  ASSERT_NE(built, nullptr);
  const BYTE* bytes = reinterpret_cast<const BYTE*>(built);
  // 18 bytes of header, no menu, no class, "T": the point size at 26.
  EXPECT_EQ(*reinterpret_cast<const WORD*>(bytes + 26), 8);
  EXPECT_EQ(StringAt(bytes, 28), L"MS Sans Serif");
  const DWORD size = 28 + sizeof(L"MS Sans Serif");
  EXPECT_EQ(GlobalSize(GlobalHandle(built)), size);
  {
    Mapped mapped(built, size);
    ASSERT_NE(mapped.header, nullptr);
    EXPECT_EQ(mapped.header->typeFace, nullptr);
    EXPECT_EQ(mapped.header->pointSize, 8);
  }
  GlobalFree(GlobalHandle(built));

  ZQDLGTEMPLATEEX extended{};
  extended.style = DS_SETFONT | WS_POPUP;
  extended.pointSize = 20;
  extended.weight = 900;
  extended.italic = 1;
  DWORD exSize = 0;
  built = ZqCreateDialogTemplateEx(nullptr, &extended, nullptr, &exSize);
  ASSERT_NE(built, nullptr);
  bytes = reinterpret_cast<const BYTE*>(built);
  // 26 bytes of header, no menu, no class, an empty title: the font at 32.
  EXPECT_EQ(*reinterpret_cast<const WORD*>(bytes + 32), 8);
  EXPECT_EQ(*reinterpret_cast<const WORD*>(bytes + 34), FW_NORMAL);
  EXPECT_EQ(bytes[36], 0);
  EXPECT_EQ(bytes[37], DEFAULT_CHARSET);
  EXPECT_EQ(StringAt(bytes, 38), L"MS Sans Serif");
  EXPECT_EQ(exSize, 38 + sizeof(L"MS Sans Serif"));
  {
    Mapped mapped(built, exSize);
    ASSERT_NE(mapped.header, nullptr);
    EXPECT_EQ(mapped.header->typeFace, nullptr);
    EXPECT_EQ(mapped.header->weight, FW_NORMAL);
  }
  GlobalFree(GlobalHandle(built));
}

TEST(DialogTemplates, ItemCountsAboveTheLimitAreCutTo256) {
  std::vector<ZQDLGITEMEX> items(300);
  for (size_t i = 0; i < items.size(); ++i) {
    items[i].style = WS_CHILD;
    items[i].id = static_cast<DWORD>(1000 + i);
    items[i].windowClass = MAKEINTRESOURCEW(0x82);
    items[i].title = L"x";
  }
  ZQDLGTEMPLATEEX header{};
  header.style = WS_POPUP;
  header.itemCount = 300;
  DWORD size = 0;
  LPDLGTEMPLATEW built = ZqCreateDialogTemplateEx(nullptr, &header, items.data(), &size);
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(*reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(built) + 16), 256);
  // 26 + 6 bytes of header, each item 24 + 4 + 4 + 2 bytes and aligned to 36.
  EXPECT_EQ(size, 32u + 255 * 36 + 34);
  Mapped mapped(built, size);
  EXPECT_EQ(mapped.size, 48u + 40 * 256);
  ASSERT_NE(mapped.header, nullptr);
  EXPECT_EQ(mapped.items()[255].id, 1255u);
  GlobalFree(GlobalHandle(built));
}

// Maps bytes placed right before a guard page: a read past the end faults.
DWORD MapGuarded(const std::vector<BYTE>& bytes, bool* mappedNull) {
  testsupport::GuardedMemory memory(bytes.size() + 16);
  const BYTE* placed = memory.PlaceBytes(bytes);
  ZQDLGTEMPLATEEX* header = reinterpret_cast<ZQDLGTEMPLATEEX*>(1);
  const DWORD size = ZqMapDialogTemplate(placed, static_cast<DWORD>(bytes.size()), &header);
  *mappedNull = header == nullptr;
  if (header) {
    HGLOBAL handle = GlobalHandle(header);
    GlobalUnlock(handle);
    GlobalFree(handle);
  }
  return size;
}

TEST(DialogTemplates, TemplatesThatDoNotFitTheirSizeAreRefused) {
  for (int id : {IDD_CLASSIC, IDD_EXTENDED, IDD_EXTENDED_NAMED}) {
    SCOPED_TRACE(id);
    const std::vector<BYTE> whole = Resource(id);
    bool null = false;
    ASSERT_NE(MapGuarded(whole, &null), 0u);
    // Every cut short copy.
    for (size_t length = 0; length < whole.size(); ++length) {
      const std::vector<BYTE> cut(whole.begin(), whole.begin() + length);
      ASSERT_EQ(MapGuarded(cut, &null), 0u) << "cut to " << length;
      EXPECT_TRUE(null);
    }
    // Item counts larger than the template holds.
    const size_t countAt = whole[2] == 0xFF && whole[3] == 0xFF ? 16 : 8;
    for (WORD count : {static_cast<WORD>(whole[countAt] + 1), static_cast<WORD>(0xFFFF)}) {
      std::vector<BYTE> lying = whole;
      std::memcpy(&lying[countAt], &count, 2);
      EXPECT_EQ(MapGuarded(lying, &null), 0u) << count;
    }
  }
  // A title without its terminator.
  std::vector<BYTE> title(18 + 4, 0);
  title.insert(title.end(), {'A', 0, 'B', 0});
  bool null = false;
  EXPECT_EQ(MapGuarded(title, &null), 0u);
  title.insert(title.end(), {0, 0});
  EXPECT_EQ(MapGuarded(title, &null), 48u);

  // A classic size word of 1 cannot count itself.
  std::vector<BYTE> item(24, 0);
  item[8] = 1;  // one item
  const BYTE control[] = {0, 0, 0, 0x50, 0, 0, 0, 0, 1, 0, 1, 0, 9, 0, 9, 0, 5, 0,
                          0xFF, 0xFF, 0x82, 0, 0, 0, 1, 0};
  item.insert(item.end(), std::begin(control), std::end(control));
  EXPECT_EQ(MapGuarded(item, &null), 0u);
  item[item.size() - 2] = 2;  // the size word alone: no data
  EXPECT_EQ(MapGuarded(item, &null), 88u);
  item[item.size() - 2] = 6;  // four bytes of data, one of them missing
  item.insert(item.end(), {0x11, 0x22, 0x33});
  EXPECT_EQ(MapGuarded(item, &null), 0u);
  item.push_back(0x44);
  testsupport::GuardedMemory memory(item.size());
  ZQDLGTEMPLATEEX* header = nullptr;
  ASSERT_EQ(ZqMapDialogTemplate(memory.PlaceBytes(item), static_cast<DWORD>(item.size()), &header), 88u);
  const ZQDLGITEMEX& mapped = *reinterpret_cast<const ZQDLGITEMEX*>(header + 1);
  ASSERT_EQ(mapped.creationDataSize, 4);
  EXPECT_EQ(std::memcmp(mapped.creationData, "\x11\x22\x33\x44", 4), 0);
  EXPECT_EQ(mapped.windowClass, MAKEINTRESOURCEW(0x82));
  EXPECT_EQ(mapped.id, 5u);
  HGLOBAL handle = GlobalHandle(header);
  GlobalUnlock(handle);
  GlobalFree(handle);
}

TEST(DialogTemplates, TheSmallestTemplateMapsIntoABlockOfItsOwnSize) {
  // 18 bytes of header and three empty fields: 24 bytes, which map to 48
  // bytes of records and a 4-byte title: more than twice the template.
  const std::vector<BYTE> smallest(24, 0);
  ZQDLGTEMPLATEEX* header = nullptr;
  testsupport::GuardedMemory memory(64);
  ASSERT_EQ(ZqMapDialogTemplate(memory.PlaceBytes(smallest), 24, &header), 48u);
  ASSERT_NE(header, nullptr);
  HGLOBAL handle = GlobalHandle(header);
  EXPECT_GE(GlobalSize(handle), 52u);
  EXPECT_EQ(Str(header->title), L"");
  EXPECT_EQ(header->itemCount, 0);
  GlobalUnlock(handle);
  GlobalFree(handle);

  EXPECT_EQ(ZqMapDialogTemplate(smallest.data(), 24, nullptr), 0u);
  header = reinterpret_cast<ZQDLGTEMPLATEEX*>(1);
  EXPECT_EQ(ZqMapDialogTemplate(nullptr, 24, &header), 0u);
  EXPECT_EQ(header, nullptr);
  EXPECT_EQ(ZqCreateDialogTemplate(nullptr, nullptr, nullptr), nullptr);
  ZQDLGTEMPLATEEX noItems{};
  noItems.itemCount = 2;
  EXPECT_EQ(ZqCreateDialogTemplateEx(nullptr, &noItems, nullptr, nullptr), nullptr);
}

}  // namespace
