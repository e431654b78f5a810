#pragma once
// VORN_Encoder.dll loaded the way the panel loads it: by file name at run time, its
// four functions looked up by their plain names. Each instance is a fresh load, so
// the library starts in its never-opened state.

#include "VORN_Encoder.h"

#include <windows.h>

class EncoderLibrary {
public:
    EncoderLibrary();
    ~EncoderLibrary();
    EncoderLibrary(const EncoderLibrary&) = delete;
    EncoderLibrary& operator=(const EncoderLibrary&) = delete;

    // True when the library loaded and all four functions were found.
    bool Complete() const;

    decltype(&::OpenConnection) OpenConnection = nullptr;
    decltype(&::CloseConnection) CloseConnection = nullptr;
    decltype(&::ReadValue) ReadValue = nullptr;
    decltype(&::SetLed) SetLed = nullptr;

private:
    HMODULE module_;
};
