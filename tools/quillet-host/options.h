// Command-line options of quillet-host.
#pragma once
#include <windows.h>

#include <map>
#include <string>

namespace tool {

struct Options {
  std::wstring input, output, module, stateIn, stateOut;
  DWORD filterMask = 0;
  std::map<int, float> volume, pan;  // sub-track -> offset
  int bufferMs = 10;
  bool list = false, quiet = false, progress = false, help = false, edit = false, version = false, timings = false;
};

// False with a one-line message in `error` for anything not understood.
bool ParseOptions(int argc, wchar_t** argv, Options* options, std::string* error);
const char* Usage();

}  // namespace tool
