#pragma once
// The library's behaviour: the module-wide device handle and the four operations
// behind the exports, over the device-access seam.

#include "DeviceAccess.h"
#include "EncoderProtocol.h"

class EncoderCore {
public:
    explicit constexpr EncoderCore(DeviceAccess& access) : access_(access) {}

    int OpenConnection();
    int CloseConnection();
    int ReadValue(int* value, int* keys);
    int SetLed(int led);

private:
    // Carries the command out and the reply back in place.
    using RequestBuffer = unsigned char[EncoderProtocol::kBufferCapacity];

    bool SendCommand(RequestBuffer& FriendlyName, DWORD& bytesReturned, unsigned char command,
                     int ledState);
    // True when there is no device to talk to: the last open failed, or it was closed.
    bool NoDevice() const;
    void CloseOpenHandle();

    DeviceAccess& access_;
    // Empty until the first open. Requests on the empty handle still go out, and the
    // system refuses them.
    HANDLE DeviceHandle = nullptr;
    // Set once DeviceHandle is closed: the value may by then name something else, so
    // nothing is sent on it and it is not closed twice.
    bool closed_ = false;
};
