// The print-token table: process-wide "$(Name)" replacements, a locked heap
// list sorted by name without regard to case.
#include <atomic>
#include <cwchar>

#include "text/printer.h"
#include "text/printf_internal.h"
#include "zq/list.h"
#include "zq/printf.h"

namespace zq::text {
namespace {

// One heap item: the head, then the name, then (4-byte aligned) the value.
struct Token {
  LONG reserved;
  const WCHAR* name;
  LONG valueLength;
  const WCHAR* value;
};

std::atomic<tZQLIST*> g_table{nullptr};

int CALLBACK CompareNames(LONG, DWORD_PTR key, DWORD_PTR item) {
  return _wcsicmp(reinterpret_cast<const Token*>(key)->name, reinterpret_cast<const Token*>(item)->name);
}

class TableLock {
 public:
  explicit TableLock(tZQLIST* table) : table_(table) { EnterCriticalSection(&table_->lock); }
  ~TableLock() { LeaveCriticalSection(&table_->lock); }
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;

 private:
  tZQLIST* table_;
};

int Find(tZQLIST* table, const WCHAR* name) {
  Token key{0, name, 0, nullptr};
  return ZqList_FindSortedItemRange(table, reinterpret_cast<DWORD_PTR>(&key), 0, -1, CompareNames);
}

}  // namespace

bool TokenTableStartup() noexcept {
  if (g_table.load()) return true;
  tZQLIST* table = nullptr;
  if (FAILED(ZqList_CreateExZ(&table, 4, 16, 16, ZQLIST_LOCKED | ZQLIST_HEAP, nullptr, 0, nullptr))) return false;
  g_table.store(table);
  return true;
}

void TokenTableShutdown() noexcept {
  tZQLIST* table = g_table.exchange(nullptr);
  if (table) ZqList_Destroy(table);
}

bool AddToken(const WCHAR* name, const WCHAR* value) noexcept {
  tZQLIST* table = g_table.load();
  if (!table) return false;
  if (!name) name = L"";
  if (!value) value = L"";
  const size_t nameLength = wcslen(name);
  const size_t valueLength = wcslen(value);
  if (nameLength > 0x10000000 || valueLength > 0x10000000) return false;
  const size_t valueOffset = (sizeof(Token) + 2 * nameLength + 2 + 3) & ~size_t(3);
  const size_t size = valueOffset + 2 * valueLength + 2;

  TableLock lock(table);
  // The new item is made first, so that a failure keeps the old token.
  void* memory = nullptr;
  if (FAILED(ZqList_AllocItem(table, static_cast<int>(size), &memory))) return false;
  BYTE* bytes = static_cast<BYTE*>(memory);
  Token* token = static_cast<Token*>(memory);
  WCHAR* nameCopy = reinterpret_cast<WCHAR*>(bytes + sizeof(Token));
  WCHAR* valueCopy = reinterpret_cast<WCHAR*>(bytes + valueOffset);
  wmemcpy(nameCopy, name, nameLength + 1);
  wmemcpy(valueCopy, value, valueLength + 1);
  token->reserved = 0;
  token->name = nameCopy;
  token->valueLength = static_cast<LONG>(valueLength);
  token->value = valueCopy;

  const int old = Find(table, nameCopy);
  const int at = ZqList_FindSortedInsertIndexRange(table, reinterpret_cast<DWORD_PTR>(token), 0, -1, CompareNames);
  if (at < 0 || FAILED(ZqList_InsertList(table, at, nullptr, -1))) {
    ZqList_DeleteList(table, -1, -1, FALSE);  // frees the new item
    return false;
  }
  if (old >= 0) ZqList_DeleteList(table, old >= at ? old + 1 : old, 1, FALSE);
  return true;
}

bool DeleteToken(const WCHAR* name) noexcept {
  tZQLIST* table = g_table.load();
  if (!table) return false;
  TableLock lock(table);
  int index = Find(table, name ? name : L"");
  return index >= 0 && SUCCEEDED(ZqList_DeleteList(table, index, 1, TRUE));
}

namespace printing {

bool WriteTokenValue(TextWriter& out, const WCHAR* name, int length) noexcept {
  tZQLIST* table = g_table.load();
  if (!table || length > kTokenNameLimit) return false;
  WCHAR key[kTokenNameLimit + 1];
  wmemcpy(key, name, length);
  key[length] = 0;
  TableLock lock(table);
  int index = Find(table, key);
  if (index < 0) return false;
  const Token* token = static_cast<const Token*>(ZQLIST_PTR(table, index));
  out.Put(token->value, token->valueLength);
  return true;
}

}  // namespace printing
}  // namespace zq::text

ZQAPI BOOL WINAPI ZqPrintF_AddToken(LPCWSTR name, LPCWSTR value) noexcept {
  return zq::text::AddToken(name, value) ? TRUE : FALSE;
}

ZQAPI BOOL WINAPI ZqPrintF_DeleteToken(LPCWSTR name) noexcept {
  return zq::text::DeleteToken(name) ? TRUE : FALSE;
}
