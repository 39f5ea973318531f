// Event kinds by name, for the --filter option and the summary.
#pragma once
#include <windows.h>

#include <string>

namespace tool {

struct KindName {
  DWORD bit;
  const char* name;  // as the summary prints it
  const char* aliases;  // accepted on the command line, comma-separated, lower case, no spaces
};

extern const KindName kKindNames[];
extern const int kKindNameCount;

// 0 when the name is unknown.
DWORD KindByName(const std::string& name);
const char* NameOfKind(DWORD bit);

}  // namespace tool
