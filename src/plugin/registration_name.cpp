#include "plugin/registration_name.h"

#include "core/module_state.h"

namespace quillet {

RegistrationName::RegistrationName() noexcept {
  text_[0] = 0;
  LoadStringW(zq::core::ModuleInstance(), IDS_REGISTRATION_NAME, text_, ARRAYSIZE(text_));
}

}  // namespace quillet
