// Creating the filter object for its class factory.
#include <ocidl.h>

#include "plugin/filter_object.h"
#include "plugin/global_object.h"
#include "quillet/clsid.h"

namespace quillet {

// A filter that cannot initialise, or that does not give the requested
// interface, is destroyed again.
HRESULT CreateFilterObject(REFIID iid, void** out) noexcept {
  *out = nullptr;
  FilterObject* filter = GlobalNew<FilterObject>(CLSID_QuilletFilter);
  if (!filter) return E_OUTOFMEMORY;
  if (FAILED(filter->Initialize())) {
    filter->Destroy(1);
    return E_NOINTERFACE;
  }
  HRESULT hr = filter->QueryInterface(iid, out);
  if (FAILED(hr)) filter->Destroy(1);
  return hr;
}

}  // namespace quillet
