// Exception reports of a real access violation, caught by a vectored
// handler that steps over the faulting store, and of crafted records.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "zq/errors.h"

// A store through the first argument: "movl %ecx, (%eax)", two bytes, at
// TestFaultSite.
asm(".text\n"
    ".globl _TestFaultingStore\n"
    "_TestFaultingStore:\n"
    "  movl 4(%esp), %eax\n"
    "  movl 8(%esp), %ecx\n"
    ".globl _TestFaultSite\n"
    "_TestFaultSite:\n"
    "  movl %ecx, (%eax)\n"
    "  ret\n");
extern "C" void TestFaultingStore(volatile void* target, DWORD value);
extern "C" char TestFaultSite[];

namespace {

constexpr DWORD kStoredValue = 0x1234ABCD;

struct Caught {
  bool seen = false;
  EXCEPTION_RECORD record{};
  CONTEXT context{};
  DWORD returnAddress = 0;  // the word at the stack pointer when it happened
  std::string report;      // written inside the handler, all sections, large buffer
  std::string threadOnly;  // the thread section alone, long thread name, small buffer
};
Caught g_caught;
std::string g_longName(1000, 'n');

LONG CALLBACK StepOverFault(EXCEPTION_POINTERS* exception) {
  if (exception->ExceptionRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION ||
      exception->ExceptionRecord->ExceptionAddress != TestFaultSite)
    return EXCEPTION_CONTINUE_SEARCH;
  static char report[65536];
  int n = ZqErrorHandler_DumpExceptionRecord(report, sizeof(report), "worker", exception, 0);
  g_caught.report.assign(report, n > 0 ? n : 0);
  n = ZqErrorHandler_DumpExceptionRecord(report, 120, g_longName.c_str(), exception, ZQ_EXCEPTION_THREAD);
  g_caught.threadOnly.assign(report, n > 0 ? n : 0);
  g_caught.record = *exception->ExceptionRecord;
  g_caught.context = *exception->ContextRecord;
  g_caught.returnAddress = *reinterpret_cast<const DWORD*>(exception->ContextRecord->Esp);
  g_caught.seen = true;
  exception->ContextRecord->Eip += 2;
  return EXCEPTION_CONTINUE_EXECUTION;
}

std::string Hex(const char* format, ULONG_PTR value) {
  char text[64];
  snprintf(text, sizeof(text), format, static_cast<unsigned>(value));
  return text;
}

std::string ExeName() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const char* name = strrchr(path, '\\');
  return name ? name + 1 : path;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0, end;
  while ((end = text.find("\r\n", start)) != std::string::npos) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

class AccessViolation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    target_ = static_cast<BYTE*>(VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS)) + 0x10;
    PVOID handler = AddVectoredExceptionHandler(1, StepOverFault);
    TestFaultingStore(target_, kStoredValue);
    RemoveVectoredExceptionHandler(handler);
  }
  static BYTE* target_;
};
BYTE* AccessViolation::target_ = nullptr;

TEST_F(AccessViolation, ReportHasEverySectionInOrder) {
  ASSERT_TRUE(g_caught.seen);
  const CONTEXT& c = g_caught.context;
  EXPECT_EQ(c.Eip, reinterpret_cast<DWORD>(TestFaultSite));
  std::vector<std::string> lines = Lines(g_caught.report);
  ASSERT_GT(lines.size(), 12u) << g_caught.report;

  EXPECT_EQ(lines[0] , "Exception 0xC0000005 (access violation)" + Hex(" WRITE:0x%X", reinterpret_cast<ULONG_PTR>(target_)) +
                           Hex(" IP:0x%X", reinterpret_cast<ULONG_PTR>(TestFaultSite)));
  const ULONG_PTR base = reinterpret_cast<ULONG_PTR>(GetModuleHandleW(nullptr));
  EXPECT_EQ(lines[1], "In Module '" + ExeName() + "' at Address" + Hex(" 0x%X", base) +
                          Hex(" + 0x%X", reinterpret_cast<ULONG_PTR>(TestFaultSite) - base));
  MEMORY_BASIC_INFORMATION stack;
  ASSERT_TRUE(VirtualQuery(reinterpret_cast<void*>(c.Esp), &stack, sizeof(stack)));
  const ULONG_PTR stackStart = reinterpret_cast<ULONG_PTR>(stack.BaseAddress), stackEnd = stackStart + stack.RegionSize;
  EXPECT_EQ(lines[2], "Thread: worker" + Hex(" ID=0x%X", GetCurrentThreadId()) + Hex(" Stack=0x%X", stackStart) +
                          Hex("-0x%X", stackEnd));
  EXPECT_EQ(lines[3], "Registers:");
  char r[4][80];
  snprintf(r[0], 80, " EAX=%08lx CS=%04lx EIP=%08lx EFLGS=%08lx", c.Eax, c.SegCs, c.Eip, c.EFlags);
  snprintf(r[1], 80, " EBX=%08lx SS=%04lx ESP=%08lx EBP=%08lx", c.Ebx, c.SegSs, c.Esp, c.Ebp);
  snprintf(r[2], 80, " ECX=%08lx DS=%04lx ESI=%08lx FS=%04lx", c.Ecx, c.SegDs, c.Esi, c.SegFs);
  snprintf(r[3], 80, " EDX=%08lx ES=%04lx EDI=%08lx GS=%04lx", c.Edx, c.SegEs, c.Edi, c.SegGs);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(lines[4 + i], r[i]);
  EXPECT_EQ(c.Eax, reinterpret_cast<DWORD>(target_));
  EXPECT_EQ(c.Ecx, kStoredValue);

  EXPECT_EQ(lines[8], "Bytes at CS:EIP:");
  EXPECT_EQ(lines[9].substr(0, 17), Hex(" %08X: 89 08 ", c.Eip)) << "movl %ecx, (%eax)";
  EXPECT_EQ(lines[10].substr(0, 11), Hex(" %08X: ", c.Eip + 8));

  // The stack: the first word is the return address into this program.
  EXPECT_EQ(lines[11], "Stack Dump:");
  const DWORD returnAddress = g_caught.returnAddress;
  EXPECT_EQ(lines[12], Hex(" %08X: ", c.Esp) + Hex("%08X ", returnAddress) + Hex(" %08X + ", base) +
                           Hex("%X ", returnAddress - base) + "(" + ExeName() + ")");
  // Then 15 further words; later, marked hits and the top of the stack.
  for (int i = 1; i < 16; ++i) EXPECT_EQ(lines[12 + i].substr(0, 11), Hex(" %08X: ", c.Esp + 4 * i)) << i;
  size_t separator = 0;
  for (size_t i = 28; i < lines.size(); ++i) {
    if (lines[i] == "- - -") {
      separator = i;
    } else if (!separator) {
      EXPECT_TRUE(lines[i][0] == '>' || lines[i][0] == ' ') << lines[i];
    }
  }
  ASSERT_NE(separator, 0u) << g_caught.report;
  ASSERT_EQ(lines.size(), separator + 5);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(lines[separator + 1 + i].substr(0, 11), Hex(" %08X: ", stackEnd - 16 + 4 * i));
}

TEST_F(AccessViolation, EveryWriteStaysInsideTheBuffer) {
  ASSERT_TRUE(g_caught.seen);
  // The long thread name is cut at the room left.
  EXPECT_EQ(g_caught.threadOnly, "Thread: " + g_longName.substr(0, 119 - 8));

  EXCEPTION_POINTERS pointers{&g_caught.record, &g_caught.context};
  std::vector<char> full(65536);
  const int length = ZqErrorHandler_DumpExceptionRecord(full.data(), 65536, nullptr, &pointers, 0);
  ASSERT_GT(length, 500);
  for (int size = 0; size <= length + 60; ++size) {
    std::vector<char> buffer(size + 32, '\xCC');
    int n = ZqErrorHandler_DumpExceptionRecord(size ? buffer.data() : nullptr, size, nullptr, &pointers, 0);
    for (int i = size; i < size + 32; ++i) ASSERT_EQ(buffer[i], '\xCC') << "written past " << size;
    if (size == 0) {
      ASSERT_EQ(n, 0);
      continue;
    }
    ASSERT_LT(n, size);
    ASSERT_EQ(buffer[n], '\0') << size;
    ASSERT_EQ(strlen(buffer.data()), static_cast<size_t>(n));
    // Stops where a line could not be started; what is written is the start
    // of the report (the stack below the pointer may differ since).
    ASSERT_EQ(std::string(buffer.data(), std::min(n, 40)), std::string(full.data(), std::min(n, 40))) << size;
  }
}

TEST(ExceptionReport, NamesAndParametersOfCraftedRecords) {
  const struct { DWORD code; const char* name; } names[] = {
      {0x80000001, "guard page violation"}, {0x80000002, "datatype misalignment"}, {0x80000003, "breakpoint"},
      {0x80000004, "single step"},          {0xC0000005, "access violation"},     {0xC0000006, "in page error"},
      {0xC0000008, "invalid handle"},       {0xC0000017, "no memory"},            {0xC000001D, "illegal instruction"},
      {0xC0000025, "noncontinuable exception"}, {0xC0000026, "invalid disposition"},
      {0xC000008C, "array bounds exceeded"}, {0xC000008D, "float denormal operand"},
      {0xC000008E, "float divide by zero"}, {0xC000008F, "float inexact result"},
      {0xC0000090, "float invalid operation"}, {0xC0000091, "float overflow"}, {0xC0000092, "float stack check"},
      {0xC0000093, "float underflow"},      {0xC0000094, "integer divide by zero"},
      {0xC0000095, "integer overflow"},     {0xC0000096, "privileged instruction"},
      {0xC00000FD, "stack overflow"},       {0xC000013A, "control+c exit"},
      {0xE06D7363, "Unknown Type"},         {0, "Unknown Type"},
  };
  CONTEXT context{};
  context.ContextFlags = CONTEXT_FULL;
  RtlCaptureContext(&context);
  EXCEPTION_RECORD record{};
  record.ExceptionAddress = reinterpret_cast<void*>(0x1234);
  EXCEPTION_POINTERS pointers{&record, &context};
  char out[512];
  for (const auto& n : names) {
    record.ExceptionCode = n.code;
    ZqErrorHandler_DumpExceptionRecord(out, sizeof(out), nullptr, &pointers, ZQ_EXCEPTION_SUMMARY);
    EXPECT_EQ(std::string(out), Hex("Exception 0x%X (", n.code) + n.name + ") IP:0x1234\r\n");
  }
  record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
  record.NumberParameters = 2;
  record.ExceptionInformation[0] = 0;
  record.ExceptionInformation[1] = 0xBADF00D;
  ZqErrorHandler_DumpExceptionRecord(out, sizeof(out), nullptr, &pointers, ZQ_EXCEPTION_SUMMARY);
  EXPECT_STREQ(out, "Exception 0xC0000005 (access violation) READ:0xBADF00D IP:0x1234\r\n");
  record.NumberParameters = 3;
  ZqErrorHandler_DumpExceptionRecord(out, sizeof(out), nullptr, &pointers, ZQ_EXCEPTION_SUMMARY);
  EXPECT_STREQ(out, "Exception 0xC0000005 (access violation) IP:0x1234\r\n");
  // An address in no module: no module line.
  ZqErrorHandler_DumpExceptionRecord(out, sizeof(out), nullptr, &pointers, ZQ_EXCEPTION_MODULE);
  EXPECT_STREQ(out, "");
  // A single section.
  ZqErrorHandler_DumpExceptionRecord(out, sizeof(out), nullptr, &pointers, ZQ_EXCEPTION_REGISTERS);
  EXPECT_EQ(std::string(out).substr(0, 17), "Registers:\r\n EAX=");
  EXPECT_EQ(Lines(out).size(), 5u);
}

TEST(ExceptionReport, BadInput) {
  char out[64] = "untouched";
  EXPECT_EQ(ZqErrorHandler_DumpExceptionRecord(out, sizeof(out), "t", nullptr, 0), 0);
  EXPECT_STREQ(out, "");
  EXCEPTION_POINTERS empty{nullptr, nullptr};
  int n = ZqErrorHandler_DumpExceptionRecord(out, sizeof(out), "t", &empty, ZQ_EXCEPTION_THREAD);
  EXPECT_EQ(n, static_cast<int>(strlen(out)));
  EXPECT_EQ(std::string(out), "Thread: t" + Hex(" ID=0x%X", GetCurrentThreadId()) + " Stack=\r\n");
  EXPECT_EQ(ZqErrorHandler_DumpExceptionRecord(out, sizeof(out), "t", &empty, ZQ_EXCEPTION_REGISTERS), 0);
}

}  // namespace
