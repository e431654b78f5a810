#pragma once
// The tests' handle on the simulated knob controller: start its driver, script what
// the controller answers, and read back every request it received. Every function
// reports failure (driver not running, request refused) by its result; none waits
// without a bound.

#include <cstdint>
#include <optional>
#include <vector>

namespace ControllerScript {

// The controller's command codes, for FailNext.
constexpr std::uint8_t kLedCommand = 1;
constexpr std::uint8_t kReadCommand = 14;

struct Reading {
    std::uint8_t knobCount;
    std::uint8_t keyByte;
};

// One request as the controller received it.
struct Request {
    // The performance counter at arrival, in microseconds: the same clock as the
    // program's QueryPerformanceCounter.
    std::uint64_t timeMicroseconds;
    std::uint32_t inputLength;
    std::uint32_t outputCapacity;
    std::uint8_t command[5];
};

struct Status {
    std::uint32_t openHandles; // handles open on the controller device
    std::uint8_t ledState;     // byte 3 of the last LED command
    bool present;
};

// Installs and starts the driver (vornsim.sys beside the running program) unless a
// driver of this build's protocol already runs. Waits at most a few seconds.
bool StartControllerDevice();

// Back to the start state: knob at rest (count 128), no key held (key byte 63), no
// scripted failures, empty log, device present.
bool ResetController();
// Every read answers with this reading from now on; queued readings are dropped.
bool SetReading(std::uint8_t knobCount, std::uint8_t keyByte);
// The next reads answer with these in turn; the last one then stays.
bool QueueReadings(const std::vector<Reading>& readings);
// The next `count` requests with this command code fail.
bool FailNext(std::uint8_t command, std::uint32_t count);
// The next `count` read replies are `length` bytes long (at most 256).
bool WrongLengthNext(std::uint32_t count, std::uint32_t length);
// Absent: the controller's name is gone, so opens fail, and requests on handles
// still open fail as on an unplugged device.
bool SetPresent(bool present);

// The whole log, oldest first; nothing when it cannot be read whole (also when
// requests were dropped because it was full).
std::optional<std::vector<Request>> ReadLog();
bool ClearLog();
std::optional<Status> GetStatus();

} // namespace ControllerScript
