#include "Win32DeviceAccess.h"

HANDLE Win32DeviceAccess::Open(const char* path)
{
    // Read and write access, no sharing: the library is the controller's only user.
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

bool Win32DeviceAccess::Request(HANDLE device, DWORD controlCode, void* buffer, DWORD inputLength,
                                DWORD outputCapacity, DWORD* bytesReturned)
{
    // No overlapped structure: the call returns when the driver has answered.
    return DeviceIoControl(device, controlCode, buffer, inputLength, buffer, outputCapacity,
                           bytesReturned, nullptr) != FALSE;
}

void Win32DeviceAccess::Close(HANDLE device)
{
    // Nothing useful follows from a failed close; the handle is given up either way.
    CloseHandle(device);
}
