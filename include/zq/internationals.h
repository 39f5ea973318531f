// The international settings record: the user's locale facts that number,
// time and SMPTE text are written and read with. Filled by the language
// functions (ZqLang_GetInternationals).
#pragma once
#include "zq/base.h"

// The international settings record (796 bytes). Text fields are
// terminated UTF-16 followed by their length in characters; the fields
// take 780 bytes, the rest is reserved and zero.
typedef struct ZQINTERNATIONALS {
  DWORD size;                 // always 796
  LCID systemLcid;
  DWORD languageId;
  WCHAR languageName[64];     DWORD languageNameLength;
  WCHAR englishLanguage[64];  DWORD englishLanguageLength;
  DWORD countryCode;
  WCHAR countryName[64];      DWORD countryNameLength;
  WCHAR englishCountry[64];   DWORD englishCountryLength;
  WCHAR negativeSign[8];      DWORD negativeSignLength;
  WCHAR minusSign[8];         DWORD minusSignLength;        // always "-"
  WCHAR thousandSep[8];       DWORD thousandSepLength;
  WCHAR decimalSep[8];        DWORD decimalSepLength;
  DWORD grouping;             // first group size
  DWORD fractionDigits;
  DWORD leadingZero;
  WCHAR timeSep[8];           DWORD timeSepLength;
  WCHAR listSep[8];           DWORD listSepLength;
  DWORD measurement;
  WCHAR smpteWholeSep[8];     DWORD smpteWholeSepLength;    // ":"
  WCHAR smpteNonDropSep[8];   DWORD smpteNonDropSepLength;  // "."
  WCHAR smpteDropSep[8];      DWORD smpteDropSepLength;     // ","
  WCHAR measureBeatSep[8];    DWORD measureBeatSepLength;   // "."
  WCHAR beatTickSep[8];       DWORD beatTickSepLength;      // "."
  BYTE reserved[16];          // zero
} ZQINTERNATIONALS;

#ifdef __cplusplus
static_assert(sizeof(ZQINTERNATIONALS) == 796, "international settings record");
#endif
