// The text report of an exception: record, module, thread, registers, code
// bytes and stack. Every line is bounded by the room really left.
#include "errors/error_dumps.h"
#include "zq/errors.h"

namespace zq::errors {
namespace {

struct ExceptionName {
  DWORD code;
  const char* name;
};

constexpr ExceptionName kNames[] = {
    {0x80000001, "guard page violation"},   {0x80000002, "datatype misalignment"},
    {0x80000003, "breakpoint"},             {0x80000004, "single step"},
    {0xC0000005, "access violation"},       {0xC0000006, "in page error"},
    {0xC0000008, "invalid handle"},         {0xC0000017, "no memory"},
    {0xC000001D, "illegal instruction"},    {0xC0000025, "noncontinuable exception"},
    {0xC0000026, "invalid disposition"},    {0xC000008C, "array bounds exceeded"},
    {0xC000008D, "float denormal operand"}, {0xC000008E, "float divide by zero"},
    {0xC000008F, "float inexact result"},   {0xC0000090, "float invalid operation"},
    {0xC0000091, "float overflow"},         {0xC0000092, "float stack check"},
    {0xC0000093, "float underflow"},        {0xC0000094, "integer divide by zero"},
    {0xC0000095, "integer overflow"},       {0xC0000096, "privileged instruction"},
    {0xC00000FD, "stack overflow"},         {0xC000013A, "control+c exit"},
};
static_assert(sizeof(kNames) / sizeof(kNames[0]) == 24);

constexpr DWORD kAllSections = 0x3F;
constexpr ULONG_PTR kApplicationModuleLimit = 0x10000000;  // modules at or below: the application's
constexpr int kApplicationHits = 6;

const char* NameOf(DWORD code) noexcept {
  for (const ExceptionName& entry : kNames)
    if (entry.code == code) return entry.name;
  return "Unknown Type";
}

void Summary(AnsiWriter& out, const EXCEPTION_RECORD& record) noexcept {
  out.Put("Exception 0x");
  out.Hex(record.ExceptionCode, 0);
  out.Put(" (");
  out.Put(NameOf(record.ExceptionCode));
  out.Put(")");
  if (record.NumberParameters == 2) {
    out.Put(record.ExceptionInformation[0] ? " WRITE:0x" : " READ:0x");
    out.Hex(static_cast<DWORD>(record.ExceptionInformation[1]), 0);
  }
  out.Put(" IP:0x");
  out.Hex(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(record.ExceptionAddress)), 0);
  out.Put("\r\n");
}

void ModuleLine(AnsiWriter& out, const EXCEPTION_RECORD& record) noexcept {
  const ULONG_PTR address = reinterpret_cast<ULONG_PTR>(record.ExceptionAddress);
  Region region;
  char name[MAX_PATH + 1];
  if (!QueryRegion(address, &region) || !ModuleFileName(region.allocationBase, name, sizeof(name))) return;
  out.Put("In Module '");
  out.Put(name);
  out.Put("' at Address 0x");
  out.Hex(static_cast<DWORD>(region.allocationBase), 0);
  out.Put(" + 0x");
  out.Hex(static_cast<DWORD>(address - region.allocationBase), 0);
  out.Put("\r\n");
}

void ThreadLine(AnsiWriter& out, const char* threadName, const CONTEXT* context) noexcept {
  out.Put("Thread: ");
  out.Put(threadName ? threadName : "");
  out.Put(" ID=0x");
  out.Hex(GetCurrentThreadId(), 0);
  out.Put(" Stack=");
  Region stack;
  if (context && QueryRegion(context->Esp, &stack)) {
    out.Put("0x");
    out.Hex(static_cast<DWORD>(stack.start), 0);
    out.Put("-0x");
    out.Hex(static_cast<DWORD>(stack.end), 0);
  }
  out.Put("\r\n");
}

void Register(AnsiWriter& out, const char* name, DWORD value, int digits) noexcept {
  out.Put(name);
  out.Hex(value, digits, false);
}

void Registers(AnsiWriter& out, const CONTEXT& c) noexcept {
  out.Put("Registers:\r\n");
  if (out.Room() < kLineRoom) return;
  Register(out, " EAX=", c.Eax, 8); Register(out, " CS=", c.SegCs, 4);
  Register(out, " EIP=", c.Eip, 8); Register(out, " EFLGS=", c.EFlags, 8);
  out.Put("\r\n");
  if (out.Room() < kLineRoom) return;
  Register(out, " EBX=", c.Ebx, 8); Register(out, " SS=", c.SegSs, 4);
  Register(out, " ESP=", c.Esp, 8); Register(out, " EBP=", c.Ebp, 8);
  out.Put("\r\n");
  if (out.Room() < kLineRoom) return;
  Register(out, " ECX=", c.Ecx, 8); Register(out, " DS=", c.SegDs, 4);
  Register(out, " ESI=", c.Esi, 8); Register(out, " FS=", c.SegFs, 4);
  out.Put("\r\n");
  if (out.Room() < kLineRoom) return;
  Register(out, " EDX=", c.Edx, 8); Register(out, " ES=", c.SegEs, 4);
  Register(out, " EDI=", c.Edi, 8); Register(out, " GS=", c.SegGs, 4);
  out.Put("\r\n");
}

// Stack words: one per line, with the region (and module) a word points into.
class StackWriter {
 public:
  enum Kind { kPlain, kModule, kApplicationModule };

  explicit StackWriter(AnsiWriter& out) noexcept : out_(out) {}

  bool Readable(ULONG_PTR address) noexcept { return probe_.Readable(address, 4); }
  DWORD Read(ULONG_PTR address) noexcept { return *reinterpret_cast<const volatile DWORD*>(address); }

  Kind Classify(DWORD value) noexcept {
    Region region;
    if (!QueryRegion(value, &region) || !region.allocationBase) return kPlain;
    char name[MAX_PATH + 1];
    if (!ModuleFileName(region.allocationBase, name, sizeof(name))) return kPlain;
    return region.allocationBase <= kApplicationModuleLimit ? kApplicationModule : kModule;
  }

  // Writes one word line (after `prefix`, 0 for none); false when there was
  // no room to start it. `kind` receives what the word points into.
  bool Line(char prefix, ULONG_PTR address, Kind* kind) noexcept {
    *kind = kPlain;
    if (out_.Room() < kStackLineRoom) return false;
    if (prefix) out_.Put(prefix);
    out_.Put(' ');
    out_.Hex(static_cast<DWORD>(address), 8);
    out_.Put(": ");
    if (!Readable(address)) {
      out_.Put("........ \r\n");
      return true;
    }
    const DWORD value = Read(address);
    out_.Hex(value, 8);
    out_.Put(' ');
    Region region;
    if (QueryRegion(value, &region) && region.allocationBase) {
      out_.Put(' ');
      out_.Hex(static_cast<DWORD>(region.allocationBase), 8);
      out_.Put(" + ");
      out_.Hex(static_cast<DWORD>(value - region.allocationBase), 0);
      out_.Put(' ');
      char name[MAX_PATH + 1];
      if (ModuleFileName(region.allocationBase, name, sizeof(name))) {
        out_.Put('(');
        out_.Put(name);
        out_.Put(')');
        *kind = region.allocationBase <= kApplicationModuleLimit ? kApplicationModule : kModule;
      }
    }
    out_.Put("\r\n");
    return true;
  }

 private:
  AnsiWriter& out_;
  MemoryProbe probe_;
};

void StackDump(AnsiWriter& out, const CONTEXT& context) noexcept {
  out.Put("Stack Dump:\r\n");
  StackWriter stack(out);
  const ULONG_PTR sp = context.Esp;
  Region region;
  const bool known = QueryRegion(sp, &region) && region.end > sp;
  const ULONG_PTR end = known ? region.end : 0;

  // 16 words, or all words up to the stack's end when it is 16 to 20 words away.
  ULONG_PTR words = 16;
  if (known && end - sp >= 64 && end - sp <= 80) words = (end - sp) / 4;
  int applicationHits = 0;
  StackWriter::Kind kind;
  for (ULONG_PTR i = 0; i < words; ++i) {
    if (!stack.Line(0, sp + i * 4, &kind)) return;
    if (kind == StackWriter::kApplicationModule) ++applicationHits;
  }
  ULONG_PTR dumped = sp + words * 4;
  if (!known) return;

  // Further up the stack: words that point into modules (return addresses,
  // most likely), each with a few of the words after it.
  if (applicationHits < kApplicationHits && end >= 16) {
    int plainAllowed = 0;
    for (ULONG_PTR at = sp + 64; at + 4 <= end - 16; at += 4) {
      if (!stack.Readable(at)) break;
      dumped = at + 4;
      const StackWriter::Kind points = stack.Classify(stack.Read(at));
      if (points != StackWriter::kPlain) {
        if (!stack.Line('>', at, &kind)) return;
        plainAllowed = plainAllowed + 4 > 16 ? 16 : plainAllowed + 4;
        if (points == StackWriter::kApplicationModule && ++applicationHits >= kApplicationHits) break;
      } else if (plainAllowed > 0) {
        if (!stack.Line(' ', at, &kind)) return;
        --plainAllowed;
      }
    }
  }

  // The top of the stack.
  if (end > dumped && end >= 16) {
    if (out.Room() < kStackLineRoom) return;
    out.Put("- - -\r\n");
    for (ULONG_PTR at = end - 16; at < end; at += 4)
      if (!stack.Line(0, at, &kind)) return;
  }
}

}  // namespace

int WriteExceptionReport(char* buffer, int size, const char* threadName, const EXCEPTION_POINTERS* exception,
                         DWORD sections) noexcept {
  AnsiWriter out(buffer, size);
  if (!exception) return out.Length();
  if (sections == 0) sections = kAllSections;
  const EXCEPTION_RECORD* record = exception->ExceptionRecord;
  const CONTEXT* context = exception->ContextRecord;
  MemoryProbe probe;
  auto room = [&out] { return out.Room() >= kLineRoom; };

  if ((sections & ZQ_EXCEPTION_SUMMARY) && record && room()) Summary(out, *record);
  if ((sections & ZQ_EXCEPTION_MODULE) && record && room()) ModuleLine(out, *record);
  if ((sections & ZQ_EXCEPTION_THREAD) && room()) ThreadLine(out, threadName, context);
  if ((sections & ZQ_EXCEPTION_REGISTERS) && context && room()) Registers(out, *context);
  if ((sections & ZQ_EXCEPTION_CODE) && context && room()) {
    out.Put("Bytes at CS:EIP:\r\n");
    WriteHexLines(out, probe, context->Eip, 16);
  }
  if ((sections & ZQ_EXCEPTION_STACK) && context && room()) StackDump(out, *context);
  return out.Length();
}

}  // namespace zq::errors

ZQAPI int WINAPI ZqErrorHandler_DumpExceptionRecord(LPSTR out, int size, LPCSTR threadName,
                                                    EXCEPTION_POINTERS* exception, DWORD sections) noexcept {
  return zq::errors::WriteExceptionReport(out, size, threadName, exception, sections);
}
