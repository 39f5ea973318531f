// The count of live objects the module's class factories served: the
// module stays loaded while any of them is alive.
#pragma once
#include <windows.h>

namespace quillet {

// A member of every object the factories serve.
class LiveObject {
 public:
  LiveObject() noexcept;
  ~LiveObject();
  LiveObject(const LiveObject&) = delete;
  LiveObject& operator=(const LiveObject&) = delete;
};

// Objects alive now (DllCanUnloadNow).
LONG LiveObjectCount() noexcept;

}  // namespace quillet
