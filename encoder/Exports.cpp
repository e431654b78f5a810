// The library's exported functions. They forward to one module-wide core that talks
// to the device through the real system calls. Neither object needs any start-up
// code: both are constant-initialised, so loading the library runs nothing of ours.

#include "VORN_Encoder.h"

#include "EncoderCore.h"
#include "Win32DeviceAccess.h"

namespace {
Win32DeviceAccess systemDevices;
EncoderCore encoder(systemDevices);
} // namespace

int __cdecl OpenConnection(void)
{
    return encoder.OpenConnection();
}

int __cdecl CloseConnection(void)
{
    return encoder.CloseConnection();
}

int __cdecl ReadValue(int* value, int* keys)
{
    return encoder.ReadValue(value, keys);
}

int __cdecl SetLed(int led)
{
    return encoder.SetLed(led);
}
