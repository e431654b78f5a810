#include "EncoderCore.h"

#include "VORN_Encoder.h"

#include <cstring>

using namespace EncoderProtocol;
using namespace EncoderResult;

int EncoderCore::OpenConnection()
{
    // A second open must not leak the handle it replaces.
    CloseOpenHandle();

    char devName[kDevNameSize] = {};
    std::memcpy(devName, kDevicePath, kDevicePathLength);
    DeviceHandle = access_.Open(devName);
    closed_ = false;
    if (DeviceHandle == INVALID_HANDLE_VALUE) {
        return kOpenFailed;
    }

    // The LED blinks as the device opens; a failed "off" outranks a failed "on".
    RequestBuffer FriendlyName;
    DWORD bytesReturned = 0;
    int result = kOpened;
    if (!SendCommand(FriendlyName, bytesReturned, kLedCommand, kLedOn)) {
        result = kLedOnFailed;
    }
    if (!SendCommand(FriendlyName, bytesReturned, kLedCommand, kLedOff)) {
        result = kLedOffFailed;
    }
    return result;
}

int EncoderCore::CloseConnection()
{
    CloseOpenHandle();
    return kClosed;
}

int EncoderCore::ReadValue(int* value, int* keys)
{
    if (NoDevice()) {
        return kNotOpen;
    }
    RequestBuffer FriendlyName;
    DWORD bytesReturned = 0;
    if (!SendCommand(FriendlyName, bytesReturned, kReadCommand, kReadLedState)) {
        return kReadFailed;
    }
    if (bytesReturned != kReadReplyLength) {
        return kWrongLength;
    }
    // The buffer holds unsigned bytes, so a count of 255 reads -127 and a key byte of
    // 255 reads 255. A caller may pass null for a reading it does not want.
    if (value != nullptr) {
        *value = kKnobRestCount - FriendlyName[kKnobCountByte];
    }
    if (keys != nullptr) {
        *keys = FriendlyName[kKeyByte];
    }
    return kRead;
}

int EncoderCore::SetLed(int led)
{
    if (NoDevice()) {
        return kNotOpen;
    }
    RequestBuffer FriendlyName;
    DWORD bytesReturned = 0;
    // The reply to an LED command carries nothing the library uses.
    return SendCommand(FriendlyName, bytesReturned, kLedCommand, led) ? kLedSent : kLedFailed;
}

bool EncoderCore::SendCommand(RequestBuffer& FriendlyName, DWORD& bytesReturned,
                              unsigned char command, int ledState)
{
    // The whole buffer is cleared so that a short reply never exposes stale bytes.
    std::memset(FriendlyName, 0, sizeof FriendlyName);
    FriendlyName[kCommandCodeByte] = command;
    FriendlyName[kLedStateByte] = static_cast<unsigned char>(ledState & kLedStateMask);
    return access_.Request(DeviceHandle, kControlCode, FriendlyName, kCommandLength,
                           kBufferCapacity, &bytesReturned);
}

bool EncoderCore::NoDevice() const
{
    return DeviceHandle == INVALID_HANDLE_VALUE || closed_;
}

void EncoderCore::CloseOpenHandle()
{
    // The empty handle was never opened and the invalid one names nothing.
    if (DeviceHandle == nullptr || NoDevice()) {
        return;
    }
    access_.Close(DeviceHandle);
    closed_ = true;
}
