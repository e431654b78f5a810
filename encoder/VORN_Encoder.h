#pragma once
// The interface of VORN_Encoder.dll: four cdecl functions exported under plain
// names, and the codes they return. Callers that load the library at run time can
// type their entry points as decltype(&OpenConnection) and so on.

#ifdef __cplusplus
extern "C" {
#endif

int __cdecl OpenConnection(void);
int __cdecl CloseConnection(void);
int __cdecl ReadValue(int* value, int* keys);
int __cdecl SetLed(int led);

#ifdef __cplusplus
}

namespace EncoderResult {

// OpenConnection
constexpr int kOpened = 1;           // open, and both LED commands were accepted
constexpr int kOpenFailed = -1;      // the device did not open; nothing was sent
constexpr int kLedOnFailed = -2;     // open; the first LED command (on) failed
constexpr int kLedOffFailed = -3;    // open; the second LED command (off) failed

// ReadValue
constexpr int kRead = 0;             // both readings written
constexpr int kReadFailed = -4;      // the read request failed; nothing written
constexpr int kWrongLength = -5;     // the reply was not 8 bytes long; nothing written

// SetLed
constexpr int kLedSent = 0;
constexpr int kLedFailed = -2;

// ReadValue and SetLed while no device is open (open failed, or closed): no request.
constexpr int kNotOpen = -1;

// CloseConnection, always.
constexpr int kClosed = 1;

} // namespace EncoderResult
#endif
