/// @file
/// Common declarations of the Zq library's public headers.
#pragma once
#include <windows.h>

#ifdef __cplusplus
/// C linkage for the exports when compiled as C++.
#define ZQ_EXTERN_C extern "C"
/// No export throws: noexcept in C++.
#define ZQ_NOTHROW noexcept
#else
#define ZQ_EXTERN_C
#define ZQ_NOTHROW
#endif

/// Every exported function uses the standard calling convention, except the
/// variadic ones, which are ZQCDECL (caller cleans up).
#define ZQAPI ZQ_EXTERN_C
#define ZQCDECL __cdecl  ///< calling convention of the variadic exports

/// A language handle: a module's resources, its optional language module,
/// its locale, string cache and temporary-string ring.
typedef struct tZQLANG* HZQLANG;
