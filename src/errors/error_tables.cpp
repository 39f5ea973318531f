// The result-code tables: applications' registered tables, searched first,
// then the library's built-in table; and the operation table.
#include "core/module_state.h"
#include "errors/errors_ids.h"
#include "errors/errors_internal.h"
#include "zq/errors.h"
#include "zq/lang.h"

namespace zq::errors {
namespace {

struct CodeText {
  DWORD code;
  WORD id;
};

// Searched in this order; a code listed twice takes its first text.
constexpr CodeText kBuiltIn[] = {
    {0x80004005, 48000}, {0x8000FFFF, 48001}, {0x80070057, 48002}, {0x80004003, 48003},
    {0x80004001, 48004}, {0x8007000E, 48005}, {0x80070006, 48006}, {0x80004002, 48007},
    {0x80040154, 48008}, {0x8004E000, 48009}, {0x0004E005, 48010}, {0x8004E001, 48011},
    {0x8004E002, 48012}, {0x8004E003, 48013}, {0x8004E004, 48014}, {0x8004E005, 48015},
    {0x8004E00C, 48016}, {0x8004E006, 48017}, {0x8004E032, 48018}, {0x8004E007, 48019},
    {0x8004E05A, 48020}, {0x8004E05B, 48021}, {0x8004E009, 48022}, {0x8004E008, 48023},
    {0x8004E00B, 48024}, {0x8004E00D, 48025}, {0x8004E01C, 48026}, {0x8004E165, 48027},
    {0x8004E00E, 48028}, {0x8004E00F, 48029}, {0x8004E010, 48030}, {0x8004E011, 48031},
    {0x8004E012, 48032}, {0x8004E015, 48033}, {0x80040037, 48034}, {0x80040964, 48035},
    {0x800404B0, 48036}, {0x800404E0, 48037}, {0x8004E0A0, 48038}, {0x8004E016, 48039},
    {0x8004E017, 48040}, {0x8004E0A1, 48041}, {0x8004E080, 48042}, {0x8004E081, 48043},
    {0x8004E082, 48044}, {0x8004E083, 48045}, {0x80030070, 48046}, {0x80030005, 48047},
    {0x80030103, 48048}, {0x80030009, 48049}, {0x8003001D, 48050}, {0x8004E084, 48051},
    {0x0004E009, 48052}, {0x0004E003, 48054}, {0x8004E02E, 48055}, {0x8004E02F, 48056},
    {0x8004E030, 48057}, {0x8004E031, 48058}, {0x8004E0A2, 48059}, {0x8004E051, 48060},
    {0x8004E0A3, 48061}, {0x8004E01F, 48062}, {0x8004E0A5, 48066}, {0x8004E0AF, 48437},
    {0x8004E019, 48067}, {0x8004E01E, 48068}, {0x8004E0A6, 48069}, {0x0004E000, 48070},
    {0x0004E006, 48071}, {0x8004E00A, 48072}, {0x8004E01A, 48073}, {0x8004E01B, 48074},
    {0x8004E01D, 48075}, {0x8004E023, 48076}, {0x8004E050, 48077}, {0x8004E025, 48078},
    {0x8004E026, 48079}, {0x8004E028, 48080}, {0x8004E0A8, 48081}, {0x8004E054, 48082},
    {0x0004E007, 48083}, {0x0004E008, 48084}, {0x8004E035, 48085}, {0x8004E036, 48086},
    {0x8004E037, 48087}, {0x8004E038, 48088}, {0x8004E039, 48089}, {0x8004E033, 48090},
    {0x8004E03A, 48091}, {0x8004E0C5, 48108}, {0x0004E00B, 48092}, {0x0004E00C, 48093},
    {0x0004E00E, 48094}, {0x8004E03B, 48095}, {0x8004E03D, 48096}, {0x8004E03E, 48097},
    {0x0004E010, 48098}, {0x8004E163, 48099}, {0x0004E015, 48100}, {0x8004E0AB, 48102},
    {0x8004E0B4, 48440}, {0x8004E142, 48103}, {0x8004E047, 48104}, {0xC00D0BC2, 48443},
    {0xC00D0BC4, 48444}, {0xC00D0BCF, 48445}, {0xC00D002B, 48446}, {0xC00D0BC6, 48447},
    {0x8004E020, 48105}, {0x8004E162, 48106}, {0x8004E164, 48101}, {0x8004E034, 48107},
    {0x8004E109, 48109}, {0x8004E045, 48567}, {0x8004E089, 48435}, {0x0004E018, 49037},
    {0x8004E05C, 49049}, {0x8004E05D, 49050}, {0x8004E05E, 49051}, {0x8004E05F, 49053},
    // portable disc recorder
    {0x8004E17C, 49040}, {0x8004E17D, 49041}, {0x8004E17E, 49042}, {0x8004E17F, 49043},
    {0x8004E180, 49044}, {0x8004E181, 49045}, {0x8004E182, 49046}, {0x8004E183, 49047},
    {0x8004E184, 49048},
};
static_assert(sizeof(kBuiltIn) / sizeof(kBuiltIn[0]) == 120 + 9);

struct OperationString {
  WORD operation;
  WORD id;
};

constexpr OperationString kOperations[] = {
    {0, 48110},  {1, 48111},  {2, 48112},  {3, 48113},  {5, 48114},  {6, 48115},  {7, 48116},
    {8, 48117},  {9, 48118},  {10, 48119}, {11, 48120}, {12, 48121}, {14, 48123}, {15, 48124},
    {16, 48125}, {17, 48126}, {18, 48127}, {19, 48128}, {20, 48129}, {22, 48130}, {21, 48131},
    {23, 48132}, {24, 48133}, {25, 48134}, {27, 48135}, {28, 48136}, {29, 48137}, {30, 48138},
    {26, 48139}, {4, 48140},  {31, 48141}, {32, 48142}, {33, 48143}, {34, 48144}, {35, 48145},
    {36, 48146}, {37, 48147}, {38, 48148}, {39, 48149}, {40, 48150}, {41, 48151}, {42, 48152},
    {43, 48153}, {44, 48154}, {45, 48439}, {46, 48559}, {47, 49036}, {48, 49038}, {50, 49052},
    {49, 49039},  // portable disc recorder
};
static_assert(sizeof(kOperations) / sizeof(kOperations[0]) == 49 + 1);

struct Registered {
  const ZQERRORENTRY* entries;
  int count;
};
Registered g_tables[kMaxErrorTables];
int g_tableCount = 0;
SRWLOCK g_tablesLock = SRWLOCK_INIT;

const WCHAR kEmpty[1] = {0};

}  // namespace

const WCHAR* LibraryText(UINT id) noexcept {
  const WCHAR* text = ZqGetString(zq::core::DefaultLang(), id);
  return text ? text : kEmpty;
}

const WCHAR* SlotText(const WCHAR* slot) noexcept {
  ULONG_PTR value = reinterpret_cast<ULONG_PTR>(slot);
  if (value == 0) return nullptr;
  if (value < 0x10000) return LibraryText(static_cast<UINT>(value));
  return slot;
}

namespace {

bool RegisterTable(const ZQERRORENTRY* table, int count) noexcept {
  AcquireSRWLockExclusive(&g_tablesLock);
  bool added = g_tableCount < kMaxErrorTables;
  if (added) g_tables[g_tableCount++] = {table, count};
  ReleaseSRWLockExclusive(&g_tablesLock);
  return added;
}

}  // namespace

const WCHAR* ResultCodeText(HRESULT code) noexcept {
  bool found = false;
  const WCHAR* slot = nullptr;
  AcquireSRWLockShared(&g_tablesLock);
  for (int t = 0; t < g_tableCount && !found; ++t) {
    for (int i = 0; i < g_tables[t].count; ++i) {
      if (g_tables[t].entries[i].code == code) {
        slot = g_tables[t].entries[i].text;
        found = true;
        break;
      }
    }
  }
  ReleaseSRWLockShared(&g_tablesLock);
  if (found) return SlotText(slot);
  for (const CodeText& entry : kBuiltIn)
    if (entry.code == static_cast<DWORD>(code)) return LibraryText(entry.id);
  return nullptr;
}

const WCHAR* OperationText(UINT id) noexcept {
  for (const OperationString& entry : kOperations)
    if (entry.operation == id) return LibraryText(entry.id);
  return LibraryText(IDS_ERR_OPERATION_GENERAL);
}

}  // namespace zq::errors

using namespace zq::errors;

ZQAPI HRESULT WINAPI ZqErrorHandler_AddErrorTable(const ZQERRORENTRY* table, int count) noexcept {
  if (count < 0) return E_INVALIDARG;
  if (!table && count > 0) return E_POINTER;
  return RegisterTable(table, count) ? S_OK : S_FALSE;
}

ZQAPI LPCWSTR WINAPI ZqErrorHandler_GetHresultString(HRESULT code) noexcept { return ResultCodeText(code); }
