// The filter's persisted settings as a host sees them: the masks and the
// sub-track mix table, written as the version-1 stream the filter loads.
#pragma once
#include <windows.h>

#include <vector>

#include "quillet/plugin.h"

namespace hostkit {

struct FilterState {
  DWORD chaseMask = 0;
  DWORD playbackMask = 0;
  QUILLET_MIX mix[QUILLET_SUBTRACKS] = {};
};

std::vector<BYTE> SerializeState(const FilterState& state);
// False unless `bytes` hold a whole version-1 record.
bool ParseState(const std::vector<BYTE>& bytes, FilterState* state);

// Through the filter's IPersistStream, on a memory stream.
HRESULT LoadStateInto(IUnknown* filter, const FilterState& state);
HRESULT SaveStateFrom(IUnknown* filter, std::vector<BYTE>* bytes);

}  // namespace hostkit
