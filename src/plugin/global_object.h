// COM objects of the module live in zero-filled global memory blocks:
// allocated zero-initialised and locked, freed by unlocking and freeing
// the block's handle.
#pragma once
#include <windows.h>

#include <new>
#include <utility>

namespace quillet {

template <typename T, typename... Args>
T* GlobalNew(Args&&... args) noexcept {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(T));
  if (!block) return nullptr;
  void* memory = GlobalLock(block);
  if (!memory) {
    GlobalFree(block);
    return nullptr;
  }
  return new (memory) T(std::forward<Args>(args)...);
}

// Runs the destructor when asked, then frees the block.
template <typename T>
void GlobalDelete(T* object, bool destruct = true) noexcept {
  if (!object) return;
  HGLOBAL block = GlobalHandle(object);
  if (destruct) object->~T();
  if (block) {
    GlobalUnlock(block);
    GlobalFree(block);
  }
}

}  // namespace quillet
