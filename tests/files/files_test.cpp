// Files and paths through the module: path strings as tables (with
// capacities 0, 1 and exact fits, and guards after the buffer), wildcard
// semantics, long and module paths, temporary names, folders and links,
// disk space and byte-size texts. What the tests leave on disk is listed
// in files-check/manifest.txt for files_linux_check.sh, which checks it
// from the Linux side of the Z: drive.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "test_paths.h"
#include "zq/errors.h"
#include "zq/files.h"

namespace {

std::wstring CheckDir() { return testsupport::BuildPath(L"files-check\\"); }

// Lines for the Linux-side check: "exists PATH SIZE", "absent PATH",
// "mtime PATH SECONDS" (PATH is the Windows path on Z:).
void Manifest(const std::string& line) {
  if (FILE* f = _wfopen((CheckDir() + L"manifest.txt").c_str(), L"ab")) {
    fprintf(f, "%s\n", line.c_str());
    fclose(f);
  }
}
std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

void WriteBytes(const std::wstring& path, size_t count) {
  if (FILE* f = _wfopen(path.c_str(), L"wb")) {
    for (size_t i = 0; i < count; ++i) fputc('a' + static_cast<int>(i % 26), f);
    fclose(f);
  }
}

// A buffer with guard characters after `capacity`.
struct Guarded {
  std::vector<WCHAR> data;
  int capacity;
  explicit Guarded(int c, const WCHAR* initial = L"") : data(c + 8, L'#'), capacity(c) {
    if (c > 0) wcsncpy(data.data(), initial, c);
  }
  WCHAR* get() { return data.data(); }
  bool Intact() const {
    for (size_t i = capacity; i < data.size(); ++i)
      if (data[i] != L'#') return false;
    return true;
  }
};

TEST(Paths, SplittingAndComposing) {
  struct Case { const WCHAR* path; const WCHAR* name; const WCHAR* extension; const WCHAR* folder; const WCHAR* root; };
  const Case cases[] = {
      {L"C:\\dir\\file.txt", L"file.txt", L".txt", L"C:\\dir\\", L"C:\\"},
      {L"C:file.txt", L"file.txt", L".txt", L"C:", L""},
      {L"file", L"file", L"", L"", L""},
      {L"a.b c", L"a.b c", L"", L"", L""},  // white space after the dot: no extension
      {L"C:\\my.dir\\readme", L"readme", L"", L"C:\\my.dir\\", L"C:\\"},
      {L"\\\\server\\share\\x\\y.z", L"y.z", L".z", L"\\\\server\\share\\x\\", L"\\\\server\\share\\"},
      {L"\\\\server\\share", L"share", L"", L"\\\\server\\", L""},
      {L"", L"", L"", L"", L""},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(ZqGetFileNamePtrW(c.path), c.name) << c.path;
    EXPECT_STREQ(ZqGetFileNameExtensionPtrW(c.path), c.extension) << c.path;
    for (const WCHAR* expected : {c.folder, c.root}) {
      const bool folder = expected == c.folder;
      const int length = static_cast<int>(wcslen(expected));
      // Too small, exact and roomy buffers: copied only when it fits.
      for (int capacity : {0, 1, length, length + 1, 300}) {
        Guarded out(capacity, L"junk");
        const int n = folder ? ZqGetPathNameFromFilePath(c.path, out.get(), capacity)
                             : ZqGetRootPathFromFilePath(c.path, out.get(), capacity);
        EXPECT_EQ(n, length) << c.path << " " << capacity;
        if (capacity > 0) {
          EXPECT_STREQ(out.get(), capacity >= length + 1 ? expected : L"") << c.path;
        }
        EXPECT_TRUE(out.Intact()) << c.path << " " << capacity;
      }
    }
  }
  EXPECT_STREQ(ZqGetFileNamePtrA("C:\\x\\y.txt"), "y.txt");
  EXPECT_STREQ(ZqGetFileNameExtensionPtrA("C:\\x.d\\y"), "");
  EXPECT_STREQ(ZqGetFileNameExtensionPtrA("y.tar.gz"), ".gz");

  for (int capacity : {0, 1, 3, 4, 50}) {
    Guarded out(capacity);
    LPWSTR cut = ZqGetFileNameWithoutPathOrExtension(L"C:\\d\\name.ext", out.get(), capacity);
    EXPECT_TRUE(out.Intact());
    if (capacity == 0) EXPECT_EQ(cut, nullptr);
    else EXPECT_EQ(std::wstring(out.get()), std::wstring(L"name").substr(0, capacity - 1));
  }
}

TEST(Paths, SeparatorsExtensionsAndNames) {
  struct SlashCase { const WCHAR* path; int capacity; int added; const WCHAR* after; };
  const SlashCase slashes[] = {{L"C:\\abc", 8, 7, L"C:\\abc\\"}, {L"C:\\abc", 7, 0, L"C:\\abc"},
                               {L"C:\\ab\\", 7, 6, L"C:\\ab\\"}, {L"", 5, 0, L""}, {L"abcdef", 6, 0, L"abcdef"}};
  for (const auto& c : slashes) {
    Guarded out(c.capacity, c.path);
    EXPECT_EQ(ZqAddSlashToPathName(out.get(), c.capacity), c.added) << c.path << " " << c.capacity;
    EXPECT_EQ(std::wstring(out.get(), wcsnlen(out.get(), c.capacity)), c.after);
    EXPECT_TRUE(out.Intact());
  }
  WCHAR p[16] = L"C:\\a\\";
  EXPECT_EQ(ZqRemoveSlashFromPathNameEnd(p, 16), 4);
  EXPECT_EQ(ZqRemoveSlashFromPathNameEnd(p, 16), 4);  // only one, only at the end
  EXPECT_EQ(ZqRemoveSlashFromPathNameEnd(p, 3), 0);   // longer than its capacity

  struct ExtCase { const WCHAR* path; const WCHAR* extension; int capacity; const WCHAR* after; };
  const ExtCase extensions[] = {{L"a\\file.txt", L".doc", 32, L"a\\file.doc"}, {L"a\\file", L"doc", 32, L"a\\file.doc"},
                                {L"a\\file.TXT", L"txt", 32, L"a\\file.TXT"}, {L"x.d\\file", L".e", 32, L"x.d\\file.e"},
                                {L"file", L"longer", 8, L"file.lo"}, {L"file.a", L"b", 7, L"file.b"}};
  for (const auto& c : extensions) {
    Guarded out(c.capacity, c.path);
    EXPECT_EQ(ZqAddExtensionToPathName(out.get(), c.capacity, c.extension), static_cast<int>(wcslen(c.after)));
    EXPECT_STREQ(out.get(), c.after);
    EXPECT_TRUE(out.Intact());
  }
  WCHAR bad[] = L"a:b*c?d<e>f|g\"h/i\\j";
  EXPECT_FALSE(ZqValidateFileName(bad, FALSE));
  EXPECT_STREQ(bad, L"a:b*c?d<e>f|g\"h/i\\j");  // not repaired: untouched
  EXPECT_FALSE(ZqValidateFileName(bad, TRUE));
  EXPECT_STREQ(bad, L"a_b_c_d_e_f_g_h_i_j");
  EXPECT_TRUE(ZqValidateFileName(bad, FALSE));
  EXPECT_TRUE(ZqValidateFileName(nullptr, FALSE));
}

TEST(Paths, WildcardsNeverCrossADotAndAreCaseSensitive) {
  struct Case { const WCHAR* pattern; const WCHAR* name; BOOL match; };
  const Case cases[] = {
      {L"*", L"anything.at.all", TRUE}, {L"*.*", L"README", FALSE}, {L"*.*", L"a.b", TRUE},
      {L"*.txt", L"notes.txt", TRUE},   {L"*.txt", L"notes.TXT", FALSE}, {L"*.txt", L"a.b.txt", FALSE},
      {L"?.c", L"x.c", TRUE},           {L"?.c", L"xy.c", FALSE},     {L"a*c", L"abbbc", TRUE},
      {L"a*", L"abc.txt", FALSE},       {L"a*.", L"abc", TRUE},       {L"abc", L"abc.", TRUE},
      {L"abc.", L"abc", TRUE},          {L"ab", L"abc", FALSE},       {L"a?c", L"a.c", TRUE},
      {L"*", L"", TRUE},                {L"x*", L"x", TRUE},          {L"", L"", TRUE},
  };
  for (const auto& c : cases) EXPECT_EQ(ZqIsMatchWildCard(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST(Paths, RelativeBasesAndEllipsis) {
  EXPECT_STREQ(ZqGetFileNamePtrRelative(L"Sub\\File.txt", L"C:\\base\\sub\\file.txt"), L"sub\\file.txt");
  EXPECT_STREQ(ZqGetFileNamePtrRelative(L"C:\\base\\x", L"c:\\BASE\\x"), L"c:\\BASE\\x");
  for (int capacity : {0, 1, 8, 9, 40}) {
    Guarded out(capacity);
    const HRESULT hr = ZqGetBasePathRelative(L"sub\\file.txt", L"C:\\base\\sub\\file.txt", out.get(), capacity);
    EXPECT_EQ(hr, capacity == 0 ? E_INVALIDARG : capacity >= 9 ? S_OK : E_FAIL) << capacity;
    if (capacity >= 9) {
      EXPECT_STREQ(out.get(), L"C:\\base\\");
    }
    EXPECT_TRUE(out.Intact());
  }
  WCHAR out[64];
  EXPECT_EQ(ZqReplaceBasePathRelative(L"C:\\Old\\x\\y", L"c:\\old", L"D:\\new", out, 64), S_OK);
  EXPECT_STREQ(out, L"D:\\new\\x\\y");
  EXPECT_EQ(ZqReplaceBasePathRelative(L"C:\\other\\y", L"C:\\old", L"D:\\n", out, 64), E_FAIL);
  EXPECT_STREQ(out, L"");
  EXPECT_EQ(ZqReplaceBasePathRelative(L"C:\\Old\\x\\y", L"C:\\old", L"D:\\new", out, 8), E_FAIL);

  // The shortened path fits when it can, and is never longer than it was.
  HDC dc = CreateCompatibleDC(nullptr);
  const std::wstring long_path = L"C:\\Program Files\\Halvane\\Quillet\\Projects\\2026\\song.mid";
  for (int width : {10, 60, 120, 200, 2000}) {
    Guarded path(static_cast<int>(long_path.size()) + 1, long_path.c_str());
    ASSERT_TRUE(ZqCalcPathEllipsis(dc, path.get(), width));
    EXPECT_TRUE(path.Intact());
    EXPECT_LE(wcslen(path.get()), long_path.size());
    SIZE size{};
    GetTextExtentPoint32W(dc, path.get(), static_cast<int>(wcslen(path.get())), &size);
    if (width >= 200) {
      EXPECT_LE(size.cx, width) << width;
    }
    if (width == 2000) EXPECT_EQ(std::wstring(path.get()), long_path);
    else EXPECT_NE(wcsstr(path.get(), L"..."), nullptr);
  }
  DeleteDC(dc);
}

TEST(Paths, LongFullAndModulePaths) {
  WCHAR folder[MAX_PATH];
  ASSERT_GT(ZqGetModulePath(GetModuleHandleW(L"quillet.dll"), folder, MAX_PATH), 0u);
  EXPECT_EQ(folder[wcslen(folder) - 1], L'\\');
  EXPECT_TRUE(ZqDoesFileExist((std::wstring(folder) + L"quillet.dll").c_str()));
  WCHAR tiny[4] = L"xyz";
  EXPECT_EQ(ZqGetModuleFileName(GetModuleHandleW(L"quillet.dll"), tiny, 4), 0u);
  EXPECT_STREQ(tiny, L"");
  // Too small: the input, cut to the buffer, and the length it needs.
  Guarded small(6);
  EXPECT_EQ(ZqGetLongPathName(L"C:\\nowhere\\file", small.get(), 6), 16u);
  EXPECT_STREQ(small.get(), L"C:\\no");
  EXPECT_TRUE(small.Intact());
  WCHAR full[MAX_PATH];
  LPWSTR part = nullptr;
  EXPECT_GT(ZqGetFullPathName(L"x\\..\\name.ext", MAX_PATH, full, &part), 0u);
  ASSERT_NE(part, nullptr);
  EXPECT_STREQ(part, L"name.ext");
  EXPECT_TRUE(ZqQualifyPath(L"a.txt", full, MAX_PATH));
  EXPECT_FALSE(ZqQualifyPath(L"a.txt", full, 0));
  EXPECT_FALSE(ZqQualifyPath(L"a.txt", full, 3));
  EXPECT_GT(ZqGetTempPath(MAX_PATH, full), 0u);

  // The folder alone needs no room for the module's file name.
  const int length = static_cast<int>(wcslen(folder));
  for (int capacity : {length + 1, length, 1}) {
    Guarded out(capacity, L"old");
    const bool fits = capacity > length;
    EXPECT_EQ(ZqGetModulePath(GetModuleHandleW(L"quillet.dll"), out.get(), capacity), fits ? DWORD(length) : 0u);
    EXPECT_STREQ(out.get(), fits ? folder : L"") << capacity;
    EXPECT_TRUE(out.Intact());
  }
}

class Folders : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ZqDeleteDirectory(CheckDir().c_str(), nullptr, TRUE);
    ASSERT_TRUE(ZqCreateDirectory(CheckDir().c_str(), nullptr));
  }
};

TEST_F(Folders, CreateDeepAndTemporaryNames) {
  const std::wstring deep = CheckDir() + L"a\\b\\c\\d";
  ASSERT_TRUE(ZqCreateDirectory(deep.c_str(), nullptr));
  EXPECT_TRUE(ZqCreateDirectory(deep.c_str(), nullptr));  // already there
  EXPECT_TRUE(ZqIsDirectoryEmpty(deep.c_str()));
  EXPECT_TRUE(ZqIsDirectoryWritable(deep.c_str()));
  EXPECT_TRUE(ZqIsDirectoryEmpty(deep.c_str())) << "the probe file was left behind";
  // Linux's /proc takes no new files, whatever name the system hands out.
  ASSERT_NE(GetFileAttributesW(L"Z:\\proc") & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_FALSE(ZqIsDirectoryWritable(L"Z:\\proc"));
  EXPECT_FALSE(ZqIsDirectoryWritable((CheckDir() + L"missing").c_str()));
  EXPECT_FALSE(ZqCreateDirectory(L"Q:\\no\\drive", nullptr));
  Manifest("dir " + Narrow(deep));

  // prefix1suffix exists: the next free number is taken.
  const std::wstring prefix = CheckDir() + L"take";
  WriteBytes(prefix + L"1.tmp", 3);
  WCHAR name[MAX_PATH];
  ASSERT_EQ(ZqCreateTempFileAndName(prefix.c_str(), L".tmp", name, MAX_PATH), S_OK);
  EXPECT_EQ(std::wstring(name), prefix + L"2.tmp");
  Manifest("exists " + Narrow(name) + " 0");
  ASSERT_EQ(ZqCreateTempFileAndNameEx(prefix.c_str(), L"-", L".tmp", L"%03d", name, MAX_PATH), S_OK);
  EXPECT_EQ(std::wstring(name), prefix + L"-001.tmp");
  // A format without a conversion names one file only, then reports it exists.
  ASSERT_EQ(ZqCreateTempFileAndNameEx(prefix.c_str(), nullptr, L".x", L"fixed", name, MAX_PATH), S_OK);
  EXPECT_EQ(ZqCreateTempFileAndNameEx(prefix.c_str(), nullptr, L".x", L"fixed", name, MAX_PATH),
            HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
  EXPECT_STREQ(name, L"");
  EXPECT_EQ(ZqCreateTempFileAndName(prefix.c_str(), L".tmp", name, 5), E_INVALIDARG);
  EXPECT_EQ(ZqCreateTempFileAndName(nullptr, nullptr, name, MAX_PATH), E_INVALIDARG);
  EXPECT_EQ(ZqCreateTempFileAndName(prefix.c_str(), L".tmp", nullptr, MAX_PATH), E_INVALIDARG);
  EXPECT_EQ(ZqCreateTempFileAndName((CheckDir() + L"missing\\t").c_str(), L".tmp", name, MAX_PATH),
            ZqErrorHandler_TranslateWin32Error(ERROR_PATH_NOT_FOUND));
}

// A relative path through a short folder name qualifies to its long form
// when that fits, else not at all (never to the short form).
TEST_F(Folders, QualifiedPathsAreLongOrNothing) {
  const std::wstring longFolder = CheckDir() + L"another folder";
  ASSERT_TRUE(ZqCreateDirectory(longFolder.c_str(), nullptr));
  WriteBytes(longFolder + L"\\inner file.txt", 4);
  WCHAR shortFolder[MAX_PATH];
  ASSERT_GT(GetShortPathNameW(longFolder.c_str(), shortFolder, MAX_PATH), 0u);
  const std::wstring shortName = ZqGetFileNamePtrW(shortFolder);
  ASSERT_NE(shortName, L"another folder");
  WCHAR previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(CheckDir().c_str()));
  const std::wstring relative = shortName + L"\\inner file.txt";
  const std::wstring expected = longFolder + L"\\inner file.txt";
  const int length = static_cast<int>(expected.size());
  for (int capacity : {length + 1, length + 20, length, length - 2}) {
    Guarded out(capacity);
    const bool fits = capacity > length;
    EXPECT_EQ(ZqQualifyPath(relative.c_str(), out.get(), capacity), fits ? TRUE : FALSE) << capacity;
    EXPECT_STREQ(out.get(), fits ? expected.c_str() : L"") << capacity;
    EXPECT_TRUE(out.Intact());
  }
  SetCurrentDirectoryW(previous);
}

TEST_F(Folders, FileFactsAndSizes) {
  const std::wstring file = CheckDir() + L"facts.bin";
  WriteBytes(file, 12345);
  ULONGLONG size = 7;
  ASSERT_EQ(ZqGetFileSizeByName(file.c_str(), &size), S_OK);
  EXPECT_EQ(size, 12345u);
  EXPECT_EQ(ZqGetFileSizeByName((file + L"x").c_str(), &size), ZQ_E_FILE_OPEN);
  EXPECT_EQ(size, 0u);
  // A known write time (2024-02-29 13:45:58 UTC) read back as DOS words.
  SYSTEMTIME when{2024, 2, 4, 29, 13, 45, 58, 0};
  FILETIME stamp;
  SystemTimeToFileTime(&when, &stamp);
  HANDLE h = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SetFileTime(h, nullptr, nullptr, &stamp);
  CloseHandle(h);
  const DWORD utc = ZqDosGetDateTimeUTC(file.c_str());
  EXPECT_EQ(utc >> 16, static_cast<DWORD>((2024 - 1980) << 9 | 2 << 5 | 29));
  EXPECT_EQ(utc & 0xFFFF, static_cast<DWORD>(13 << 11 | 45 << 5 | 58 / 2));
  FILETIME local;
  FileTimeToLocalFileTime(&stamp, &local);
  WORD d = 0, t = 0;
  FileTimeToDosDateTime(&local, &d, &t);
  EXPECT_EQ(ZqDosGetDateTime(file.c_str()), static_cast<DWORD>(d) << 16 | t);
  EXPECT_EQ(ZqDosGetDateTime(L"Q:\\none"), 0u);
  Manifest("exists " + Narrow(file) + " 12345");
  Manifest("mtime " + Narrow(file) + " 1709214358");
  DWORD words[2] = {};
  EXPECT_LT(ZqGetDateTime(words), 100u);
  EXPECT_GE(words[0] & 0xFFFF, 2024u);
  EXPECT_LE(words[1] >> 24, 23u);

  struct Size { LONGLONG bytes; const WCHAR* plain; const WCHAR* spaced; };
  const Size sizes[] = {{1, L"1", L"1 bytes"},
                        {1023, L"1023", L"1023 bytes"},
                        {-5, L"-5", L"-5 bytes"},
                        {2048, L"2.00KB", L"2.00 KB"},
                        {1023999, L"1,000.00KB", L"1,000.00 KB"},
                        {1024000, L"0.98MB", L"0.98 MB"},
                        {1023999999, L"976.56MB", L"976.56 MB"},
                        {1024000000, L"0.95GB", L"0.95 GB"},
                        {1LL << 40, L"1,024.00GB", L"1,024.00 GB"},
                        {LLONG_MAX, L"8,589,934,592.00GB", L"8,589,934,592.00 GB"}};
  for (const auto& s : sizes) {
    Guarded out(ZQ_SIZE_TEXT_CAPACITY);
    EXPECT_EQ(ZqGetByteSizeText(s.bytes, out.get()), static_cast<int>(wcslen(s.plain)));
    EXPECT_STREQ(out.get(), s.plain);
    ZqGetByteSizeText2(s.bytes, out.get());
    EXPECT_STREQ(out.get(), s.spaced);
    EXPECT_TRUE(out.Intact());
  }
}

TEST_F(Folders, DeleteTreesButNeverFollowLinks) {
  const std::wstring tree = CheckDir() + L"tree\\";
  ASSERT_TRUE(ZqCreateDirectory((tree + L"x\\y").c_str(), nullptr));
  WriteBytes(tree + L"one.txt", 10);
  WriteBytes(tree + L"x\\two.dat", 20);
  WriteBytes(tree + L"x\\y\\three.txt", 30);
  SetFileAttributesW((tree + L"x\\two.dat").c_str(), FILE_ATTRIBUTE_READONLY);
  // Only matching files, not recursing: the folder stays (it is not empty).
  EXPECT_EQ(ZqDeleteDirectory(tree.c_str(), L"*.txt", FALSE), E_FAIL);
  EXPECT_FALSE(ZqDoesFileExist((tree + L"one.txt").c_str()));
  EXPECT_TRUE(ZqDoesFileExist((tree + L"x\\y\\three.txt").c_str()));
  // Everything, recursing: gone, read-only file included.
  EXPECT_EQ(ZqDeleteDirectory(tree.c_str(), nullptr, TRUE), S_OK);
  EXPECT_EQ(GetFileAttributesW(tree.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ZqDeleteDirectory(tree.c_str(), nullptr, TRUE), ZQ_E_INVALID_FILE_NAME);
  Manifest("absent " + Narrow(tree + L"x\\two.dat"));
  Manifest("absent " + Narrow(tree));

  // A tree holding a link to a folder outside it (made from the Linux
  // side): the link is never entered, so what it points at survives. Wine
  // cannot remove such a link, which the result then reports.
  const std::wstring links = testsupport::BuildPath(L"files-links\\");
  ASSERT_EQ(GetFileAttributesW((links + L"tree\\link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT,
            static_cast<DWORD>(FILE_ATTRIBUTE_REPARSE_POINT));
  const HRESULT hr = ZqDeleteDirectory((links + L"tree").c_str(), nullptr, TRUE);
  EXPECT_TRUE(hr == S_OK || hr == E_FAIL);
  EXPECT_TRUE(ZqDoesFileExist((links + L"outside\\keep.txt").c_str())) << "the link was followed";
  EXPECT_FALSE(ZqDoesFileExist((links + L"tree\\sub\\file.txt").c_str()));
  Manifest("exists " + Narrow(links + L"outside\\keep.txt") + " 5");

  // A folder that cannot be listed is not called empty.
  SetLastError(0);
  EXPECT_FALSE(ZqIsDirectoryEmpty((CheckDir() + L"missing").c_str()));
  EXPECT_NE(GetLastError(), 0u);
  EXPECT_FALSE(ZqIsDirectoryEmpty(std::wstring(300, L'a').c_str()));
}

TEST(DiskSpace, KnownVolumesAndFailuresThatSayTheyFailed) {
  const std::wstring here = testsupport::BuildPath(L"");
  const DWORD free = ZqGetDiskFreeSpace(here.c_str(), 1024 * 1024);
  const DWORD total = ZqGetDiskTotalSpace(here.c_str(), 1024 * 1024);
  EXPECT_GT(free, 0u);
  EXPECT_GE(total, free);
  EXPECT_NE(total, 0xFFFFFFFFu);
  Manifest("space " + Narrow(here) + " " + std::to_string(total));
  // Failures answer 0 (not 0xFFFFFFFF for a server path) with the error
  // set; a file in a missing folder has no volume to ask.
  for (const std::wstring& path : {std::wstring(L"\\\\nohost\\noshare\\x"), std::wstring(L"relative"),
                                   here + L"missing folder\\file.txt"}) {
    SetLastError(0);
    EXPECT_EQ(ZqGetDiskFreeSpace(path.c_str(), 0), 0u) << Narrow(path);
    EXPECT_NE(GetLastError(), 0u) << Narrow(path);
    EXPECT_EQ(ZqGetDiskTotalSpace(path.c_str(), 0), 0u) << Narrow(path);
  }
  Guarded text(ZQ_SIZE_TEXT_CAPACITY);
  EXPECT_GT(ZqFormatDiskFreeSpace(here.c_str(), text.get()), 0);
  EXPECT_NE(wcsstr(text.get(), L" Megabytes"), nullptr);
  EXPECT_EQ(wcsstr(text.get(), L"--"), nullptr);
  ZqFormatDiskFreeSpace(L"\\\\nohost\\noshare\\x", text.get());
  EXPECT_STREQ(text.get(), L"-- Megabytes");
  ZqFormatDiskFreeSpace(L"", text.get());
  EXPECT_STREQ(text.get(), L"-- Megabytes");
  EXPECT_TRUE(text.Intact());
}

}  // namespace
