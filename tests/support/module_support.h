// Registering the built module, and the heaps' busy bytes for leak checks.
#pragma once
#include <windows.h>

namespace testsupport {
// regsvr32.exe with `flags` ("/s", "/s /u") on build/bin/quillet.dll; its exit code.
DWORD Regsvr32(const wchar_t* flags);
// Bytes in use in every heap of the process, blocks counted by HeapWalk.
SIZE_T BusyHeapBytes();
}  // namespace testsupport
