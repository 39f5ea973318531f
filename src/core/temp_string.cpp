// The temporary-string ring of a language handle, and the string-encoding
// conversions that use it. A slot stays valid until the ring wraps over it.
#include <algorithm>

#include "core/lang_handle.h"
#include "zq/kernel.h"

namespace zq::core {
namespace {

const WCHAR kEmptyWide[1] = {0};
const char kEmptyNarrow[1] = {0};

bool HasRing(HZQLANG lang) { return lang && lang->buffer && lang->bufferCapacity > kRingReserve; }

// Slot of `units` units, at most the reserve. The caller may also write one
// unit past `units` (a terminator): the ring's two-unit step leaves room.
WCHAR* RingSlot(HZQLANG lang, UINT units) {
  LangLock guard(lang);
  if (lang->bufferPosition > lang->bufferCapacity - kRingReserve) lang->bufferPosition = 0;
  WCHAR* slot = lang->buffer + lang->bufferPosition;
  if (units == 0) slot[0] = 0;
  lang->bufferPosition = (lang->bufferPosition + units + 2) & ~1u;
  return slot;
}

}  // namespace
}  // namespace zq::core

using namespace zq::core;

ZQAPI LPWSTR WINAPI ZqGetTempStringBuffer(HZQLANG lang, UINT length) noexcept {
  // A request beyond the reserve could run past the ring's end: refused.
  if (!HasRing(lang) || length > kRingReserve) return nullptr;
  return RingSlot(lang, length);
}

ZQAPI LPCWSTR WINAPI ZqGetWideFromPrintString(HZQLANG lang, LPCWSTR text) noexcept {
  if (!HasRing(lang) || !text) return kEmptyWide;
  return text;
}

ZQAPI LPCWSTR WINAPI ZqGetPrintFromWideString(HZQLANG lang, LPCWSTR text) noexcept {
  if (!HasRing(lang) || !text) return kEmptyWide;
  return text;
}

ZQAPI LPCSTR WINAPI ZqGetMultiByteFromPrintString(HZQLANG lang, LPCWSTR text) noexcept {
  if (!HasRing(lang)) return kEmptyNarrow;
  UINT length = text ? static_cast<UINT>(lstrlenW(text)) : 0;
  // 2L+2 units hold any ANSI form of L characters; texts too long for one
  // slot are cut to what the slot can hold.
  UINT units = std::min<UINT>(2 * std::min<UINT>(length, kRingReserve) + 2, kRingReserve);
  UINT bytes = 2 * units;
  UINT converted = std::min<UINT>(length, bytes / 2 - 1);
  char* slot = reinterpret_cast<char*>(RingSlot(lang, units));
  int written = converted ? WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(converted), slot,
                                                static_cast<int>(bytes - 1), nullptr, nullptr)
                          : 0;
  if (written <= 0) return kEmptyNarrow;
  slot[written] = 0;
  return slot;
}

ZQAPI LPCWSTR WINAPI ZqGetPrintFromMultiByteString(HZQLANG lang, LPCSTR text) noexcept {
  if (!HasRing(lang)) return kEmptyWide;
  UINT length = text ? static_cast<UINT>(lstrlenA(text)) : 0;
  UINT units = std::min<UINT>(length, kRingReserve - 1);  // plus the terminator
  WCHAR* slot = RingSlot(lang, units);
  int written = units ? MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, static_cast<int>(units), slot,
                                            static_cast<int>(units))
                      : 0;
  if (written <= 0) return kEmptyWide;
  slot[written] = 0;
  return slot;
}
