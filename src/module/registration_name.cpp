#include "module/registration_name.h"

#include "core/module_state.h"
#include "core/text_copy.h"
#include "zq/lang.h"

namespace quillet {

RegistrationName::RegistrationName() noexcept {
  zq::core::CopyText(text_, ARRAYSIZE(text_), ZqGetString(zq::core::DefaultLang(), IDS_REGISTRATION_NAME));
}

}  // namespace quillet
