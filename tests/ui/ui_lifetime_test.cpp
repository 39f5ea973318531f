// The cached drawing objects and cursors belong to the library: a second
// copy of the module, loaded and unloaded, leaves the process with as many
// GDI and user objects as before.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "test_paths.h"

namespace {

// The process's GDI object count. Wine's GetGuiResources answers 0; there
// the count comes from the process's GDI handle table (the PEB's
// GdiSharedHandleTable: 65536 entries of 24 bytes, a live object has a
// non-zero type byte at offset 14).
DWORD GdiObjects() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted) return counted;
  const BYTE* peb = nullptr;
  asm("movl %%fs:0x30, %0" : "=r"(peb));
  auto table = *reinterpret_cast<const BYTE* const*>(peb + 0x94);
  if (!table) return 0;
  DWORD live = 0;
  for (int i = 0; i < 0x10000; ++i)
    if (table[i * 24 + 14]) ++live;
  return live;
}
DWORD UserObjects() { return GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS); }

template <typename F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(GetProcAddress(module, name));
}

struct Cycle {
  DWORD gdiBefore = 0, gdiDuring = 0, gdiAfter = 0, userBefore = 0, userDuring = 0, userAfter = 0;
  std::vector<HGDIOBJ> objects;
  std::vector<HCURSOR> cursors;
};

// Loads the copy, has it make every cached object, and unloads it.
void RunCycle(const std::wstring& copy, Cycle* cycle) {
  cycle->gdiBefore = GdiObjects();
  cycle->userBefore = UserObjects();
  HMODULE module = LoadLibraryW(copy.c_str());
  ASSERT_NE(module, nullptr);
  auto brush = Export<HBRUSH(WINAPI*)(int)>(module, "ZqGetUIBrush");
  auto pen = Export<HPEN(WINAPI*)(int, int)>(module, "ZqGetUIPenWithStyle");
  auto font = Export<HFONT(WINAPI*)(int)>(module, "ZqGetUIFont");
  auto fontSize = Export<const SIZE*(WINAPI*)(int)>(module, "ZqGetUIFontSize");
  auto cursor = Export<HCURSOR(WINAPI*)(int)>(module, "ZqGetUICursor");
  ASSERT_TRUE(brush && pen && font && fontSize && cursor);
  auto& objects = cycle->objects;
  for (int i = 0; i <= 24; ++i) objects.push_back(brush(i));
  for (int i = 100; i <= 160; ++i) objects.push_back(brush(i));
  for (int i = 10000; i <= 10016; ++i) objects.push_back(brush(i));
  for (int style = 0; style < 3; ++style) {
    for (int i = 0; i <= 24; ++i) objects.push_back(pen(i, style));
    for (int i = 100; i <= 160; ++i) objects.push_back(pen(i, style));
  }
  for (int id : {100, 102, 104, 106, 108, 110, 112, 120, 129, 130, 134, 140, 141, 142, 143, 144, 145, 146}) {
    objects.push_back(font(id));
    EXPECT_NE(fontSize(id), nullptr);
  }
  for (int id = 0; id <= 17; ++id) EXPECT_NE(fontSize(id), nullptr);  // uncached fonts are measured and deleted
  for (int i = 1; i <= 56; ++i) cycle->cursors.push_back(cursor(i));
  for (HGDIOBJ object : objects) EXPECT_NE(GetObjectType(object), 0u);
  cycle->gdiDuring = GdiObjects();
  cycle->userDuring = UserObjects();
  ASSERT_TRUE(FreeLibrary(module));
  cycle->gdiAfter = GdiObjects();
  cycle->userAfter = UserObjects();
}

TEST(UiLifetime, CachedObjectsAreFreedWhenTheLibraryEnds) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring copy = std::wstring(folder) + L"quillet_ui_lifetime.dll";
  ASSERT_TRUE(CopyFileW(testsupport::ModulePath().c_str(), copy.c_str(), FALSE));

  // The platform sets up some objects of its own the first time a process
  // measures fonts or asks for the screen's colours; the first cycle takes
  // those, the second one is counted.
  Cycle warmUp, cycle;
  RunCycle(copy, &warmUp);
  RunCycle(copy, &cycle);
  ASSERT_GT(cycle.gdiBefore, 0u);
  EXPECT_GE(cycle.gdiDuring, cycle.gdiBefore + 3 * 86 + 86 + 17 + 18);
  EXPECT_EQ(cycle.gdiAfter, cycle.gdiBefore);
  if (cycle.userBefore) {  // Wine does not count user objects
    EXPECT_GE(cycle.userDuring, cycle.userBefore + 56);
    EXPECT_EQ(cycle.userAfter, cycle.userBefore);
  }
  for (HGDIOBJ object : cycle.objects) EXPECT_EQ(GetObjectType(object), 0u);
  for (HCURSOR c : cycle.cursors) {
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(c, &info));
  }
  RecordProperty("GdiObjectsBefore", static_cast<int>(cycle.gdiBefore));
  RecordProperty("GdiObjectsWhileCached", static_cast<int>(cycle.gdiDuring));
  DeleteFileW(copy.c_str());
}

}  // namespace
