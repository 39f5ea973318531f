// Storage for the module's class identifiers.
#include <windows.h>
#include <initguid.h>

#include "quillet/clsid.h"
