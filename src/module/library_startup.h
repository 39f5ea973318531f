// The library's start-up and shut-down, in their fixed order. Each
// subsystem brings its own init and term steps; only this file calls them.
#pragma once
#include <windows.h>

namespace quillet {
// Returns true when the library's language handle opened.
bool LibraryStartup(HINSTANCE instance) noexcept;
void LibraryShutdown() noexcept;
}  // namespace quillet
