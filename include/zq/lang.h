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

// The value of one international item; text items are also copied into
// `text` (at most 64 characters and the terminator) when it is given.
ZQAPI int WINAPI ZqGetInat(int item, LPWSTR text) ZQ_NOTHROW;
