/* The smallest caller of the Zq library: prints a number with the user's
   digit grouping and the name of the running system. */
#include <stdio.h>

#include "zq/kernel.h"
#include "zq/number.h"

int main(void) {
  WCHAR number[64], system[128];
  ZqLongToText(1234567, number, TRUE);
  if (!ZqGetOS(system, 128)) return 1;
  wprintf(L"%ls on %ls\n", number, system);
  return 0;
}
