// Details lines through the module's exports: the code they carry, the
// thread they are bound to, the size limit and bad input. (What the lines
// hold is checked where the message box receives them.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "zq/errors.h"

namespace {

constexpr HRESULT kCodeA = ZQ_E_FILE_READ, kCodeB = ZQ_E_FILE_WRITE;

HRESULT AddFromOtherThread(HRESULT code, const wchar_t* line) {
  HRESULT result = S_OK;
  std::thread([&] { result = ZqErrorHandler_DetailsAddString(code, line); }).join();
  return result;
}

TEST(Details, ResetClearsTheCodeAndEachLineSetsIt) {
  EXPECT_EQ(ZqErrorHandler_DetailsInit(), S_OK);
  EXPECT_EQ(ZqErrorHandler_GetLastError(), S_OK);
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeA, L"first"), S_OK);
  EXPECT_EQ(ZqErrorHandler_GetLastError(), kCodeA);
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeB, L"second"), S_OK);
  EXPECT_EQ(ZqErrorHandler_GetLastError(), kCodeB);
  EXPECT_EQ(ZqErrorHandler_DetailsInit(), S_OK);
  EXPECT_EQ(ZqErrorHandler_GetLastError(), S_OK);
}

TEST(Details, NullTextIsRefused) {
  ZqErrorHandler_DetailsInit();
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeA, nullptr), E_POINTER);
  EXPECT_EQ(ZqErrorHandler_GetLastError(), S_OK);
}

TEST(Details, BoundToTheFirstThreadAfterAReset) {
  ZqErrorHandler_DetailsInit();
  ASSERT_EQ(ZqErrorHandler_DetailsAddString(kCodeA, L"on the first thread"), S_OK);
  EXPECT_EQ(AddFromOtherThread(kCodeB, L"another code"), E_FAIL);
  EXPECT_EQ(ZqErrorHandler_GetLastError(), kCodeA);
  EXPECT_EQ(AddFromOtherThread(kCodeA, L"the same code"), S_OK);
  // The first thread itself may change the code.
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeB, L"new code"), S_OK);
  EXPECT_EQ(AddFromOtherThread(kCodeA, L"old code"), E_FAIL);
  EXPECT_EQ(AddFromOtherThread(kCodeB, L"current code"), S_OK);

  // After a reset another thread can take the details over.
  ZqErrorHandler_DetailsInit();
  ASSERT_EQ(AddFromOtherThread(kCodeB, L"worker first"), S_OK);
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeA, L"main, other code"), E_FAIL);
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeB, L"main, same code"), S_OK);
  ZqErrorHandler_DetailsInit();
}

// The text (lines joined by "\r\n", terminator included) stays below 0x3FFF
// bytes: 8,190 characters and the terminator at most.
TEST(Details, ALineThatWouldReachTheLimitIsRefusedWhole) {
  ZqErrorHandler_DetailsInit();
  std::wstring tooLong(8189, L'x');  // 8189 + "\r\n" + terminator = 8192 characters
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeA, tooLong.c_str()), E_FAIL);
  EXPECT_EQ(ZqErrorHandler_GetLastError(), S_OK);
  std::wstring longest(8188, L'y');
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeA, longest.c_str()), S_OK);
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeB, L""), E_FAIL);  // even an empty line needs "\r\n"
  EXPECT_EQ(ZqErrorHandler_GetLastError(), kCodeA);

  // Lines add up.
  ZqErrorHandler_DetailsInit();
  std::wstring line(998, L'z');  // 1,000 characters with the line break
  for (int i = 0; i < 8; ++i) ASSERT_EQ(ZqErrorHandler_DetailsAddString(kCodeA, line.c_str()), S_OK) << i;
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeB, std::wstring(189, L'w').c_str()), E_FAIL);
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeB, std::wstring(188, L'w').c_str()), S_OK);
  EXPECT_EQ(ZqErrorHandler_GetLastError(), kCodeB);

  // Text far beyond the limit, plain and formatted (the formatted line is
  // longer than any scratch buffer could hold).
  ZqErrorHandler_DetailsInit();
  std::wstring huge(100000, L'h');
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeA, huge.c_str()), E_FAIL);
  std::wstring part(1000, L'p');
  const wchar_t* p = part.c_str();
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeA, L"%s%s%s%s%s%s%s%s%s%s", p, p, p, p, p, p, p, p, p, p),
            E_FAIL);
  EXPECT_EQ(ZqErrorHandler_DetailsAddString(kCodeA, L"%s%s%s%s%s%s%s%s", p, p, p, p, p, p, p, p), S_OK);
  EXPECT_EQ(ZqErrorHandler_GetLastError(), kCodeA);
  ZqErrorHandler_DetailsInit();
}

}  // namespace
