// The name both classes are registered under: string 1000 of the module.
#pragma once
#include <windows.h>

#include "module/resource_ids.h"

namespace quillet {

class RegistrationName {
 public:
  RegistrationName() noexcept;
  LPCWSTR text() const noexcept { return text_; }

 private:
  WCHAR text_[256];
};

}  // namespace quillet
