// What the simulated receiver is told to do, read from EXTIO_SIM_* environment
// variables the first time any entry point runs (never under the loader lock).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Register values for InitHW/OpenHW. A caller reads only the low byte (a C++ bool),
// so kRegisterDirtyFalse is false with the upper bits set, as stale register contents leave it.
constexpr uint32_t kRegisterTrue = 1;
constexpr uint32_t kRegisterFalse = 0;
constexpr uint32_t kRegisterDirtyFalse = 0xDEADBE00;

// Which thread sends timed notifications.
enum class NotifyThread { Caller, Worker };

// Which call sends one status notification before it returns.
enum class NotifyInCall { None, SetCallback, OpenHW };

struct TimedStatus {
    int32_t status;
    uint32_t afterMs;
};

struct PeriodicSetting {
    uint32_t periodMs;
    uint32_t durationMs;  // 0: until StopHW
};

struct SimConfig {
    std::wstring logPath;  // empty: no log
    uint32_t initHwResult = kRegisterTrue;
    uint32_t openHwResult = kRegisterTrue;
    std::string name = "TARVO-SIM";
    std::string model = "RX-1";
    std::optional<int32_t> fixedLo;
    std::vector<TimedStatus> notify;
    NotifyInCall notifyIn = NotifyInCall::None;
    std::optional<PeriodicSetting> periodic;
    NotifyThread thread = NotifyThread::Caller;
    // "NAME=value" of each setting that could not be read and was left at its default.
    std::vector<std::string> rejected;
};

const SimConfig& simConfig();
