// The module handle of this DLL, for its window class.
#pragma once

#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

inline HINSTANCE thisModule()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}
