// The international settings record, built from the user locale, its items
// (ZqGetInat), and the separator and label tokens it registers.
#include <cstring>

#include "core/module_state.h"
#include "core/text_copy.h"
#include "settings/lang_ids.h"
#include "settings/lang_internal.h"
#include "text/internationals_store.h"
#include "text/printer.h"
#include "zq/printf.h"

namespace {

constexpr int kNameChars = 64;   // 63 characters and the terminator
constexpr int kSeparatorChars = 8;
constexpr int kLabelChars = 260;

template <size_t N>
void ReadText(LCTYPE type, WCHAR (&field)[N], DWORD* length, int capacity) {
  WCHAR value[128];
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, value, ARRAYSIZE(value)) <= 0) value[0] = 0;
  *length = zq::core::CopyText(field, capacity, value);
}

template <size_t N>
void SetText(WCHAR (&field)[N], DWORD* length, const WCHAR* value) {
  *length = zq::core::CopyText(field, static_cast<int>(N), value);
}

// The leading digits of a locale value, in `base`; 0 when there are none.
DWORD ReadNumber(LCTYPE type, int base) {
  WCHAR value[32];
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, value, ARRAYSIZE(value)) <= 0) return 0;
  return wcstoul(value, nullptr, base);
}

ZQINTERNATIONALS BuildRecord() {
  ZQINTERNATIONALS r;
  memset(&r, 0, sizeof(r));
  r.size = sizeof(r);
  r.systemLcid = GetSystemDefaultLCID();
  // The language id is a hexadecimal text ("0409", "040C").
  r.languageId = ReadNumber(LOCALE_ILANGUAGE, 16);
  ReadText(LOCALE_SLANGUAGE, r.languageName, &r.languageNameLength, kNameChars);
  ReadText(LOCALE_SENGLANGUAGE, r.englishLanguage, &r.englishLanguageLength, kNameChars);
  r.countryCode = ReadNumber(LOCALE_ICOUNTRY, 10);
  ReadText(LOCALE_SCOUNTRY, r.countryName, &r.countryNameLength, kNameChars);
  ReadText(LOCALE_SENGCOUNTRY, r.englishCountry, &r.englishCountryLength, kNameChars);
  ReadText(LOCALE_SNEGATIVESIGN, r.negativeSign, &r.negativeSignLength, kSeparatorChars);
  SetText(r.minusSign, &r.minusSignLength, L"-");
  ReadText(LOCALE_STHOUSAND, r.thousandSep, &r.thousandSepLength, kSeparatorChars);
  ReadText(LOCALE_SDECIMAL, r.decimalSep, &r.decimalSepLength, kSeparatorChars);
  // A decimal separator equal to the thousands separator could not be
  // told apart from it: it becomes "," (thousands "." ...) or ".".
  if (lstrcmpW(r.thousandSep, r.decimalSep) == 0)
    SetText(r.decimalSep, &r.decimalSepLength, r.thousandSep[0] == L'.' ? L"," : L".");
  r.grouping = ReadNumber(LOCALE_SGROUPING, 10);
  r.fractionDigits = ReadNumber(LOCALE_IDIGITS, 10);
  r.leadingZero = ReadNumber(LOCALE_ILZERO, 10);
  ReadText(LOCALE_STIME, r.timeSep, &r.timeSepLength, kSeparatorChars);
  ReadText(LOCALE_SLIST, r.listSep, &r.listSepLength, kSeparatorChars);
  r.measurement = ReadNumber(LOCALE_IMEASURE, 10);
  SetText(r.smpteWholeSep, &r.smpteWholeSepLength, L":");
  SetText(r.smpteNonDropSep, &r.smpteNonDropSepLength, L".");
  SetText(r.smpteDropSep, &r.smpteDropSepLength, L",");
  SetText(r.measureBeatSep, &r.measureBeatSepLength, L".");
  SetText(r.beatTickSep, &r.beatTickSepLength, L".");
  return r;
}

// Adds token `name` with library string `id` printed with the separators.
void AddLabelToken(const WCHAR* name, UINT id, const WCHAR* a, const WCHAR* b, const WCHAR* c = nullptr) {
  WCHAR label[kLabelChars];
  const WCHAR* format = ZqGetString(zq::core::DefaultLang(), id);
  if (c)
    zq::text::PrintBounded(label, kLabelChars, format, a, b, c);
  else
    zq::text::PrintBounded(label, kLabelChars, format, a, b);
  ZqPrintF_AddToken(name, label);
}

void RegisterTokens(const ZQINTERNATIONALS& r) {
  const WCHAR* whole = r.smpteWholeSep;
  const WCHAR* nonDrop = r.smpteNonDropSep;
  const WCHAR* drop = r.smpteDropSep;
  ZqPrintF_AddToken(L"SMPTE.Whole", whole);
  ZqPrintF_AddToken(L"SMPTE.NonDrop", nonDrop);
  ZqPrintF_AddToken(L"SMPTE.Drop", drop);
  AddLabelToken(L"SMPTE.Label.NonDrop", IDS_SMPTE_LABEL, whole, whole, nonDrop);
  AddLabelToken(L"SMPTE.Label.Drop", IDS_SMPTE_LABEL, whole, whole, drop);
  AddLabelToken(L"SMPTE.Label.NonDrop.Full", IDS_SMPTE_LABEL_FULL, whole, whole, nonDrop);
  AddLabelToken(L"SMPTE.Label.Drop.Full", IDS_SMPTE_LABEL_FULL, whole, whole, drop);
  ZqPrintF_AddToken(L"m.b", r.measureBeatSep);
  ZqPrintF_AddToken(L"b.t", r.beatTickSep);
  AddLabelToken(L"MusicTime.Label", IDS_MUSICTIME_LABEL, r.measureBeatSep, r.beatTickSep);
  AddLabelToken(L"MusicTime.Label.Full", IDS_MUSICTIME_LABEL_FULL, r.measureBeatSep, r.beatTickSep);
}

// Copies a text item into `text` (at most 64 characters and the terminator).
int TextItem(const WCHAR* field, DWORD length, LPWSTR text) {
  zq::core::CopyText(text, kNameChars, field);
  return static_cast<int>(length);
}

}  // namespace

ZQAPI int WINAPI ZqLang_GetInternationals(ZQINTERNATIONALS* destination, int size) noexcept {
  if (!destination) {
    ZQINTERNATIONALS record = BuildRecord();
    zq::text::SetInternationals(record);
    RegisterTokens(record);
    return 0;
  }
  if (size <= 0) return 0;
  int copied = size > static_cast<int>(sizeof(ZQINTERNATIONALS)) ? sizeof(ZQINTERNATIONALS) : size;
  memcpy(destination, &zq::text::Internationals(), copied);
  // The size field receives the copied count, when the copy holds it.
  if (copied >= static_cast<int>(sizeof(DWORD))) destination->size = copied;
  return 0;
}

ZQAPI int WINAPI ZqGetInat(int item, LPWSTR text) noexcept {
  if (text) text[0] = 0;
  const ZQINTERNATIONALS& r = zq::text::Internationals();
  switch (item) {
    case ZQINAT_SYSTEM_LCID: return static_cast<int>(r.systemLcid);
    case ZQINAT_LANGUAGE_ID: return static_cast<int>(r.languageId);
    case ZQINAT_LANGUAGE_NAME: return TextItem(r.languageName, r.languageNameLength, text);
    case ZQINAT_ENGLISH_LANGUAGE: return TextItem(r.englishLanguage, r.englishLanguageLength, text);
    case ZQINAT_COUNTRY_CODE: return static_cast<int>(r.countryCode);
    case ZQINAT_DECIMAL: return TextItem(r.decimalSep, r.decimalSepLength, text);
    case ZQINAT_LIST: return TextItem(r.listSep, r.listSepLength, text);
    case ZQINAT_TIME: return TextItem(r.timeSep, r.timeSepLength, text);
    case ZQINAT_SMPTE_WHOLE: return TextItem(r.smpteWholeSep, r.smpteWholeSepLength, text);
    case ZQINAT_SMPTE_NONDROP: return TextItem(r.smpteNonDropSep, r.smpteNonDropSepLength, text);
    case ZQINAT_SMPTE_DROP: return TextItem(r.smpteDropSep, r.smpteDropSepLength, text);
    case ZQINAT_MEASURE_BEAT: return TextItem(r.measureBeatSep, r.measureBeatSepLength, text);
    case ZQINAT_BEAT_TICK: return TextItem(r.beatTickSep, r.beatTickSepLength, text);
    default: return 0;
  }
}
