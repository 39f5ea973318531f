// Language handles, localised resources and the international settings.
#pragma once
#include "zq/base.h"

// Items of ZqGetInat.
#define ZQINAT_SYSTEM_LCID      0
#define ZQINAT_LANGUAGE_ID      1
#define ZQINAT_LANGUAGE_NAME    2
#define ZQINAT_ENGLISH_LANGUAGE 3
#define ZQINAT_COUNTRY_CODE     4
#define ZQINAT_DECIMAL          24
#define ZQINAT_LIST             40
#define ZQINAT_TIME             60
#define ZQINAT_SMPTE_WHOLE      100
#define ZQINAT_SMPTE_NONDROP    101
#define ZQINAT_SMPTE_DROP       102
#define ZQINAT_MEASURE_BEAT     120
#define ZQINAT_BEAT_TICK        121

// The international settings record (796 bytes). Text fields are
// terminated UTF-16 followed by their length in characters.
typedef struct ZQINTERNATIONALS {
  DWORD size;                 // always 796
  LCID systemLcid;
  DWORD languageId;
  WCHAR languageName[66];     DWORD languageNameLength;
  WCHAR englishLanguage[66];  DWORD englishLanguageLength;
  DWORD countryCode;
  WCHAR countryName[66];      DWORD countryNameLength;
  WCHAR englishCountry[66];   DWORD englishCountryLength;
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
} ZQINTERNATIONALS;

#ifdef __cplusplus
static_assert(sizeof(ZQINTERNATIONALS) == 796, "international settings record");
#endif

// The value of one international item; text items are also copied into
// `text` (at most 64 characters and the terminator) when it is given.
ZQAPI int WINAPI ZqGetInat(int item, LPWSTR text) ZQ_NOTHROW;
