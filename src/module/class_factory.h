// The module's two class factories and their slots.
#pragma once
#include <windows.h>
#include <unknwn.h>

namespace quillet {

enum class FactoryKind { Filter = 0, Page = 1 };

// DllGetClassObject: fills the slot lazily (once per class, race-free).
HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept;
// DllCanUnloadNow: the module stays while a server lock or any object it
// served is alive.
HRESULT CanUnloadNow() noexcept;
// Process detach: releases every factory whose lock count is zero.
void ReleaseUnlockedFactories() noexcept;

}  // namespace quillet
