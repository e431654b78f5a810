#pragma once
// Device access through the real system calls.

#include "DeviceAccess.h"

class Win32DeviceAccess final : public DeviceAccess {
public:
    constexpr Win32DeviceAccess() = default;

    HANDLE Open(const char* path) override;
    bool Request(HANDLE device, DWORD controlCode, void* buffer, DWORD inputLength,
                 DWORD outputCapacity, DWORD* bytesReturned) override;
    void Close(HANDLE device) override;
};
