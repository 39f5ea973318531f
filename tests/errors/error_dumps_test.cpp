// Hex and word dumps: layout against a reference built with the C run-time
// formatter, unreadable memory, the room rule with small buffers.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "zq/errors.h"

namespace {

// Two pages: the first readable and writable, the second only reserved.
class Pages {
 public:
  Pages() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    page_ = info.dwPageSize;
    base_ = static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * page_, MEM_RESERVE, PAGE_NOACCESS));
    if (base_) VirtualAlloc(base_, page_, MEM_COMMIT, PAGE_READWRITE);
  }
  ~Pages() { VirtualFree(base_, 0, MEM_RELEASE); }
  BYTE* Base() const { return base_; }
  BYTE* Boundary() const { return base_ + page_; }  // first unreadable byte

 private:
  BYTE* base_ = nullptr;
  DWORD page_ = 0;
};

std::string Format(const char* format, unsigned value) {
  char text[32];
  snprintf(text, sizeof(text), format, value);
  return text;
}

// The dump as described: lines of 8, unreadable bytes as "..".
std::string ReferenceHex(const BYTE* address, int count, const BYTE* unreadableFrom = nullptr) {
  std::string out;
  for (int offset = 0; offset < count; offset += 8) {
    out += Format(" %08X: ", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(address + offset)));
    std::string shown;
    for (int i = 0; i < 8; ++i) {
      const BYTE* at = address + offset + i;
      if (offset + i >= count) {
        out += "   ";
      } else if (unreadableFrom && at >= unreadableFrom) {
        out += ".. ";
        shown += '.';
      } else {
        out += Format("%02X ", *at);
        shown += *at >= 32 && *at <= 126 ? static_cast<char>(*at) : '.';
      }
    }
    out += shown + "\r\n";
  }
  return out;
}

std::string ReferenceWords(const BYTE* address, int count, const BYTE* unreadableFrom = nullptr) {
  std::string out;
  for (int index = 0; index < count; index += 4) {
    out += Format(" %08X: ", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(address + index * 4)));
    for (int i = index; i < count && i < index + 4; ++i) {
      const BYTE* at = address + i * 4;
      if (unreadableFrom && at + 4 > unreadableFrom) out += "........ ";
      else out += Format("%08X ", *reinterpret_cast<const DWORD*>(at));
    }
    out += "\r\n";
  }
  return out;
}

// Calls a dump into a buffer with guard bytes behind it; checks that the
// guard is untouched, the text terminated and its length returned.
template <typename Dump>
std::string Run(Dump dump, int size, const void* address, int count) {
  std::vector<char> buffer(size + 64, '\xCC');
  int n = dump(buffer.data(), size, address, count);
  for (int i = size > 0 ? size : 0; i < size + 64; ++i) {
    if (buffer[i] != '\xCC') {
      ADD_FAILURE() << "byte " << i << " written past a size of " << size;
      break;
    }
  }
  if (size <= 0) {
    EXPECT_EQ(n, 0);
    return {};
  }
  EXPECT_GE(n, 0);
  EXPECT_LT(n, size);
  EXPECT_EQ(buffer[n], '\0');
  EXPECT_EQ(strlen(buffer.data()), static_cast<size_t>(n));
  return std::string(buffer.data(), n);
}

std::string Hex(int size, const void* address, int count) { return Run(ZqErrorHandler_DumpHex, size, address, count); }
std::string Words(int size, const void* address, int count) {
  return Run(ZqErrorHandler_DumpHexDWords, size, address, count);
}

TEST(HexDump, OneLineOfFourBytes) {
  Pages pages;
  BYTE* data = pages.Base();
  const BYTE bytes[] = {0x41, 0x42, 0x0A, 0x00};
  memcpy(data, bytes, 4);
  std::string expected = Format(" %08X: ", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(data))) +
                         "41 42 0A 00 " + std::string(12, ' ') + "AB..\r\n";
  EXPECT_EQ(Hex(4096, data, 4), expected);
}

TEST(HexDump, LineLengthsAroundEightBytes) {
  Pages pages;
  BYTE* data = pages.Base() + 100;
  const BYTE bytes[] = {0x00, 0x1F, 0x20, 0x41, 0x7E, 0x7F, 0x80, 0xFF, 0x61, 0x25, 0x0D};
  memcpy(data, bytes, sizeof(bytes));
  for (int count : {0, 1, 7, 8, 9, 11}) EXPECT_EQ(Hex(4096, data, count), ReferenceHex(data, count)) << count;
  EXPECT_EQ(Hex(4096, data, -5), "");
}

TEST(HexDump, UnreadableBytesAreDots) {
  Pages pages;
  BYTE* boundary = pages.Boundary();
  memset(boundary - 8, 'k', 8);
  for (int before : {0, 1, 3, 5, 8}) {
    for (int count : {1, 7, 8, 9, 16}) {
      const BYTE* start = boundary - before;
      EXPECT_EQ(Hex(4096, start, count), ReferenceHex(start, count, boundary)) << before << "/" << count;
    }
  }
  // Memory nobody has: every byte a dot, nothing read.
  std::string none = Hex(4096, nullptr, 9);
  EXPECT_EQ(none, " 00000000: .. .. .. .. .. .. .. .. ........\r\n 00000008: .. " + std::string(21, ' ') + ".\r\n");
}

TEST(WordDump, LinesOfFourWords) {
  Pages pages;
  DWORD* words = reinterpret_cast<DWORD*>(pages.Base() + 64);
  for (int i = 0; i < 12; ++i) words[i] = 0x01020304u * (i + 1) ^ 0xA5A5A5A5u;
  const BYTE* at = reinterpret_cast<const BYTE*>(words);
  for (int count : {1, 2, 3, 4, 5, 8, 9}) EXPECT_EQ(Words(4096, words, count), ReferenceWords(at, count)) << count;
  EXPECT_EQ(Words(4096, words, 0), "");
  EXPECT_EQ(Words(4096, words, -1), "");
}

TEST(WordDump, UnreadableWordsAreDots) {
  Pages pages;
  BYTE* boundary = pages.Boundary();
  memset(boundary - 16, 0x5A, 16);
  for (int before : {0, 2, 4, 6, 8, 12}) {
    const BYTE* start = boundary - before;
    EXPECT_EQ(Words(4096, start, 5), ReferenceWords(start, 5, boundary)) << before;
  }
}

// A line is started only with 50 bytes of room; the text is always
// terminated and nothing goes past the size.
TEST(Dumps, RoomRuleWithSmallBuffers) {
  Pages pages;
  BYTE* data = pages.Base();
  for (int i = 0; i < 64; ++i) data[i] = static_cast<BYTE>(i * 7);
  const std::string fullHex = ReferenceHex(data, 64), fullWords = ReferenceWords(data, 16);
  const size_t hexLine = fullHex.find('\n') + 1, wordLine = fullWords.find('\n') + 1;
  ASSERT_EQ(hexLine, 45u);
  ASSERT_EQ(wordLine, 49u);
  for (int size = 0; size <= 420; ++size) {
    // Lines that were started with at least 50 bytes of room left.
    size_t hexLines = 0, wordLines = 0;
    while (hexLines < 8 && size - static_cast<int>(hexLines * hexLine) >= 50) ++hexLines;
    while (wordLines < 4 && size - static_cast<int>(wordLines * wordLine) >= 50) ++wordLines;
    ASSERT_EQ(Hex(size, data, 64), fullHex.substr(0, hexLines * hexLine)) << size;
    ASSERT_EQ(Words(size, data, 16), fullWords.substr(0, wordLines * wordLine)) << size;
  }
  EXPECT_EQ(ZqErrorHandler_DumpHex(nullptr, 100, data, 8), 0);
  EXPECT_EQ(ZqErrorHandler_DumpHexDWords(nullptr, 100, data, 8), 0);
  char one[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(ZqErrorHandler_DumpHex(one, -3, data, 8), 0);
  EXPECT_EQ(one[0], 'x');
}

}  // namespace
