#pragma once
// The controller's device protocol as the library speaks it: where the device is,
// how a request is framed, and where the readings sit in the reply.

#include <windows.h>

#include <cstddef>

namespace EncoderProtocol {

// "\\.\VORN_OEMUSBA_0": the 18 characters the system receives.
constexpr char kDevicePath[] = "\\\\.\\VORN_OEMUSBA_0";
constexpr std::size_t kDevicePathLength = sizeof kDevicePath - 1;
static_assert(kDevicePathLength == 18, "device path must reach the system unchanged");
// The path is built in a fixed buffer, zero-filled past its terminator.
constexpr std::size_t kDevNameSize = 100;

// Device type 0, function 0x202, buffered transfer, any access.
constexpr DWORD kControlCode = 0x808;

// Every request carries a five-byte command out and takes its reply back in the
// same 256-byte buffer.
constexpr DWORD kCommandLength = 5;
constexpr DWORD kBufferCapacity = 256;

constexpr unsigned char kLedCommand = 1;
constexpr unsigned char kReadCommand = 14;
constexpr std::size_t kCommandCodeByte = 0;
constexpr std::size_t kLedStateByte = 3;
// Only the low byte of the caller's LED state reaches the device.
constexpr int kLedStateMask = 0xFF;
constexpr int kLedOn = 1;
constexpr int kLedOff = 0;
// A read command carries zero where an LED command carries the state.
constexpr int kReadLedState = 0;

// A read is answered with exactly eight bytes.
constexpr DWORD kReadReplyLength = 8;
constexpr std::size_t kKeyByte = 6;
constexpr std::size_t kKnobCountByte = 7;
// The knob count reads 0 at this value; counts below it read positive.
constexpr int kKnobRestCount = 128;

} // namespace EncoderProtocol
