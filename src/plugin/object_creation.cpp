// What the class factories create. The filter object and the property page
// are not part of this module yet: both factories answer as for an object
// whose initialisation failed (E_NOINTERFACE), leaving the out pointer null.
#include <ocidl.h>

#include "plugin/class_factory.h"

namespace quillet {

HRESULT CreateFilterObject(REFIID /*iid*/, void** out) noexcept {
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT CreatePageObject(REFIID iid, void** out) noexcept {
  *out = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IPropertyPage)) return E_NOINTERFACE;
  return E_NOINTERFACE;
}

}  // namespace quillet
