// The module's current international settings record. The text layer reads
// separators and grouping from here; the settings layer refreshes it from
// the system (ZqLang_GetInternationals). Until then it holds English
// defaults.
#pragma once
#include "zq/internationals.h"

namespace zq::text {

// The current record. Rebuilt without a lock: callers read it while no
// refresh runs (refreshes happen at start-up or on a locale change).
const ZQINTERNATIONALS& Internationals() noexcept;
// Replaces the current record (its size field is forced to 796).
void SetInternationals(const ZQINTERNATIONALS& record) noexcept;
// The English defaults the record starts with.
const ZQINTERNATIONALS& DefaultInternationals() noexcept;

}  // namespace zq::text
