#pragma once
// The seam between the library and the system's device calls, so that tests can
// script every open, reply, reply length and failure.

#include <windows.h>

class DeviceAccess {
public:
    // Returns INVALID_HANDLE_VALUE when the device does not open.
    virtual HANDLE Open(const char* path) = 0;
    // One synchronous device-control request. The command goes out from `buffer`
    // (inputLength bytes) and the reply comes back in place (up to outputCapacity
    // bytes); its length lands in *bytesReturned. False when the request failed.
    virtual bool Request(HANDLE device, DWORD controlCode, void* buffer, DWORD inputLength,
                         DWORD outputCapacity, DWORD* bytesReturned) = 0;
    virtual void Close(HANDLE device) = 0;

protected:
    // Implementations live as long as the library; nobody deletes one through the seam.
    ~DeviceAccess() = default;
};
