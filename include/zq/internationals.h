/// @file
/// The international settings record: the user's locale facts that number,
/// time and SMPTE text are written and read with. Filled by the language
/// functions (ZqLang_GetInternationals).
#pragma once
#include "zq/base.h"

/// The international settings record (796 bytes). Text fields are
/// terminated UTF-16 followed by their length in characters; the fields
/// take 780 bytes, the rest is reserved and zero.
typedef struct ZQINTERNATIONALS {
  DWORD size;                 ///< always 796
  LCID systemLcid;  ///< the system's default LCID
  DWORD languageId;  ///< the user's language id
  ///@{
  /// language name, then its length
  WCHAR languageName[64];     DWORD languageNameLength;
  ///@}
  ///@{
  /// English language name, then its length
  WCHAR englishLanguage[64];  DWORD englishLanguageLength;
  ///@}
  DWORD countryCode;  ///< the country code
  ///@{
  /// country name, then its length
  WCHAR countryName[64];      DWORD countryNameLength;
  ///@}
  ///@{
  /// English country name, then its length
  WCHAR englishCountry[64];   DWORD englishCountryLength;
  ///@}
  ///@{
  /// negative sign, then its length
  WCHAR negativeSign[8];      DWORD negativeSignLength;
  ///@}
  ///@{
  /// minus sign (always "-"), then its length
  WCHAR minusSign[8];         DWORD minusSignLength;
  ///@}
  ///@{
  /// thousands separator, then its length
  WCHAR thousandSep[8];       DWORD thousandSepLength;
  ///@}
  ///@{
  /// decimal separator, then its length
  WCHAR decimalSep[8];        DWORD decimalSepLength;
  ///@}
  DWORD grouping;             ///< first group size
  DWORD fractionDigits;  ///< digits after the decimal separator
  DWORD leadingZero;  ///< non-zero: a leading zero before the decimal separator
  ///@{
  /// time separator, then its length
  WCHAR timeSep[8];           DWORD timeSepLength;
  ///@}
  ///@{
  /// list separator, then its length
  WCHAR listSep[8];           DWORD listSepLength;
  ///@}
  DWORD measurement;  ///< 0 metric, 1 US measures
  ///@{
  /// SMPTE whole-seconds separator (":"), then its length
  WCHAR smpteWholeSep[8];     DWORD smpteWholeSepLength;
  ///@}
  ///@{
  /// SMPTE non-drop frame separator ("."), then its length
  WCHAR smpteNonDropSep[8];   DWORD smpteNonDropSepLength;
  ///@}
  ///@{
  /// SMPTE drop frame separator (","), then its length
  WCHAR smpteDropSep[8];      DWORD smpteDropSepLength;
  ///@}
  ///@{
  /// measure-beat separator ("."), then its length
  WCHAR measureBeatSep[8];    DWORD measureBeatSepLength;
  ///@}
  ///@{
  /// beat-tick separator ("."), then its length
  WCHAR beatTickSep[8];       DWORD beatTickSepLength;
  ///@}
  BYTE reserved[16];          ///< zero
} ZQINTERNATIONALS;

#ifdef __cplusplus
static_assert(sizeof(ZQINTERNATIONALS) == 796, "international settings record");
#endif
