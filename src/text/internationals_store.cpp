#include "text/internationals_store.h"

#include "core/text_copy.h"

namespace zq::text {
namespace {

template <size_t N>
DWORD Put(WCHAR (&field)[N], const WCHAR* text) noexcept {
  return static_cast<DWORD>(zq::core::CopyText(field, static_cast<int>(N), text));
}

ZQINTERNATIONALS MakeEnglish() noexcept {
  ZQINTERNATIONALS r{};
  r.size = sizeof(ZQINTERNATIONALS);
  r.systemLcid = 0x0409;
  r.languageId = 0x0409;
  r.languageNameLength = Put(r.languageName, L"English (United States)");
  r.englishLanguageLength = Put(r.englishLanguage, L"English");
  r.countryCode = 1;
  r.countryNameLength = Put(r.countryName, L"United States");
  r.englishCountryLength = Put(r.englishCountry, L"United States");
  r.negativeSignLength = Put(r.negativeSign, L"-");
  r.minusSignLength = Put(r.minusSign, L"-");
  r.thousandSepLength = Put(r.thousandSep, L",");
  r.decimalSepLength = Put(r.decimalSep, L".");
  r.grouping = 3;
  r.fractionDigits = 2;
  r.leadingZero = 1;
  r.timeSepLength = Put(r.timeSep, L":");
  r.listSepLength = Put(r.listSep, L",");
  r.measurement = 1;
  r.smpteWholeSepLength = Put(r.smpteWholeSep, L":");
  r.smpteNonDropSepLength = Put(r.smpteNonDropSep, L".");
  r.smpteDropSepLength = Put(r.smpteDropSep, L",");
  r.measureBeatSepLength = Put(r.measureBeatSep, L".");
  r.beatTickSepLength = Put(r.beatTickSep, L".");
  return r;
}

const ZQINTERNATIONALS kEnglish = MakeEnglish();
ZQINTERNATIONALS g_current = MakeEnglish();

// Terminates every text field inside its array so that readers never run
// past it, whatever the caller stored.
void Terminate(ZQINTERNATIONALS& r) noexcept {
  auto fix = [](WCHAR* text, size_t n, DWORD& length) {
    text[n - 1] = 0;
    DWORD len = 0;
    while (len < n - 1 && text[len]) ++len;
    length = len;
  };
  fix(r.languageName, ARRAYSIZE(r.languageName), r.languageNameLength);
  fix(r.englishLanguage, ARRAYSIZE(r.englishLanguage), r.englishLanguageLength);
  fix(r.countryName, ARRAYSIZE(r.countryName), r.countryNameLength);
  fix(r.englishCountry, ARRAYSIZE(r.englishCountry), r.englishCountryLength);
  fix(r.negativeSign, 8, r.negativeSignLength);
  fix(r.minusSign, 8, r.minusSignLength);
  fix(r.thousandSep, 8, r.thousandSepLength);
  fix(r.decimalSep, 8, r.decimalSepLength);
  fix(r.timeSep, 8, r.timeSepLength);
  fix(r.listSep, 8, r.listSepLength);
  fix(r.smpteWholeSep, 8, r.smpteWholeSepLength);
  fix(r.smpteNonDropSep, 8, r.smpteNonDropSepLength);
  fix(r.smpteDropSep, 8, r.smpteDropSepLength);
  fix(r.measureBeatSep, 8, r.measureBeatSepLength);
  fix(r.beatTickSep, 8, r.beatTickSepLength);
}

}  // namespace

const ZQINTERNATIONALS& Internationals() noexcept { return g_current; }

const ZQINTERNATIONALS& DefaultInternationals() noexcept { return kEnglish; }

void SetInternationals(const ZQINTERNATIONALS& record) noexcept {
  ZQINTERNATIONALS copy = record;
  copy.size = sizeof(ZQINTERNATIONALS);
  Terminate(copy);
  g_current = copy;
}

}  // namespace zq::text
