// Byte counts as text: bytes, kilobytes, megabytes or gigabytes.
#include "text/printer.h"
#include "zq/files.h"

namespace {

// The four forms of one style, by unit.
struct SizeForms {
  const WCHAR* bytes;
  const WCHAR* kilo;
  const WCHAR* mega;
  const WCHAR* giga;
};
constexpr SizeForms kPlain{L"%d", L"$.2fKB", L"$.2fMB", L"$.2fGB"};
constexpr SizeForms kSpaced{L"%d bytes", L"$.2f KB", L"$.2f MB", L"$.2f GB"};

int SizeText(LONGLONG size, LPWSTR buffer, const SizeForms& forms) {
  if (!buffer) return 0;
  constexpr double kK = 1024.0, kM = kK * 1024.0, kG = kM * 1024.0;
  auto print = [&](const WCHAR* format, auto value) {
    return zq::text::PrintBounded(buffer, ZQ_SIZE_TEXT_CAPACITY, format, value);
  };
  if (size < 1024) return print(forms.bytes, static_cast<LONG>(size & 0xFFFFFFFF));
  if (size < 1024000) {
    const double kilo = size / kK;
    return print(forms.kilo, kilo < 0.01 ? 0.01 : kilo);
  }
  if (size < 1024000000) return print(forms.mega, size / kM);
  return print(forms.giga, size / kG);
}

}  // namespace

ZQAPI int WINAPI ZqGetByteSizeText(LONGLONG size, LPWSTR buffer) noexcept { return SizeText(size, buffer, kPlain); }
ZQAPI int WINAPI ZqGetByteSizeText2(LONGLONG size, LPWSTR buffer) noexcept { return SizeText(size, buffer, kSpaced); }
