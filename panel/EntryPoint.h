#pragma once
// Entry points of a library loaded at run time. Each entry is a type naming
// the export (Name) and the exact pointer type it is called through (Fn).
#include <windows.h>

// Looks an entry point up by name; null when the library lacks it. The
// address is for the caller's immediate use only.
template <class Entry>
typename Entry::Fn FindEntry(HMODULE library)
{
    // Through a generic function pointer: the cast itself cannot check the
    // signature; the compile-time check of the prototypes does.
    auto address = reinterpret_cast<void (*)()>(GetProcAddress(library, Entry::Name));
    return reinterpret_cast<typename Entry::Fn>(address);
}
