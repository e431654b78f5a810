#include "ControllerScript.h"

#include <windows.h>
#include <winioctl.h>

#include "SimControlProtocol.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>

namespace ControllerScript {
namespace {

constexpr DWORD kStartTimeoutMs = 10000;
constexpr DWORD kPollIntervalMs = 20;
// Log entries fetched per request.
constexpr std::size_t kLogBatch = 1024;

// The control device is opened per call, so a driver restart between calls is
// harmless.
bool Control(DWORD code, const void* input, DWORD inputLength, void* output,
             DWORD outputCapacity, DWORD* returned = nullptr)
{
    HANDLE device = CreateFileW(VORNSIM_CONTROL_PATH, GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    if (device == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD ignored = 0;
    const BOOL ok = DeviceIoControl(device, code, const_cast<void*>(input), inputLength, output,
                                    outputCapacity, returned ? returned : &ignored, nullptr);
    CloseHandle(device);
    return ok != FALSE;
}

template <typename T>
bool Send(DWORD code, const T& input)
{
    return Control(code, &input, sizeof input, nullptr, 0);
}

std::optional<VornSimStatus> QueryStatus()
{
    VornSimStatus status{};
    DWORD returned = 0;
    if (!Control(IOCTL_VORNSIM_GET_STATUS, nullptr, 0, &status, sizeof status, &returned) ||
        returned != sizeof status) {
        return std::nullopt;
    }
    return status;
}

bool DriverOfThisBuildRuns()
{
    const auto status = QueryStatus();
    return status && status->protocolVersion == VORNSIM_PROTOCOL_VERSION;
}

std::wstring DriverBesideProgram()
{
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) {
        return {};
    }
    path.resize(length);
    path.erase(path.find_last_of(L'\\') + 1);
    return path + VORNSIM_DRIVER_FILE;
}

template <typename Condition>
bool WaitFor(Condition condition)
{
    const ULONGLONG deadline = GetTickCount64() + kStartTimeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(kPollIntervalMs);
    }
    return true;
}

bool ServiceIs(SC_HANDLE service, DWORD state)
{
    SERVICE_STATUS status{};
    return QueryServiceStatus(service, &status) && status.dwCurrentState == state;
}

// Owns one service-manager handle.
struct ServiceHandle {
    SC_HANDLE handle;
    explicit ServiceHandle(SC_HANDLE h) : handle(h) {}
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    ~ServiceHandle()
    {
        if (handle != nullptr) {
            CloseServiceHandle(handle);
        }
    }
};

// The service entry pointing at driverPath, created or brought up to date. A
// driver of another build still running is stopped first.
SC_HANDLE InstallService(SC_HANDLE manager, const std::wstring& driverPath)
{
    SC_HANDLE service = CreateServiceW(manager, VORNSIM_SERVICE_NAME, VORNSIM_SERVICE_NAME,
                                       SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                                       SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                       driverPath.c_str(), nullptr, nullptr, nullptr, nullptr,
                                       nullptr);
    if (service != nullptr || GetLastError() != ERROR_SERVICE_EXISTS) {
        return service;
    }
    service = OpenServiceW(manager, VORNSIM_SERVICE_NAME, SERVICE_ALL_ACCESS);
    if (service == nullptr) {
        return nullptr;
    }
    if (!ServiceIs(service, SERVICE_STOPPED)) {
        SERVICE_STATUS status{};
        ControlService(service, SERVICE_CONTROL_STOP, &status);
        if (!WaitFor([&] { return ServiceIs(service, SERVICE_STOPPED); })) {
            CloseServiceHandle(service);
            return nullptr;
        }
    }
    if (!ChangeServiceConfigW(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                              driverPath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr)) {
        CloseServiceHandle(service);
        return nullptr;
    }
    return service;
}

} // namespace

bool StartControllerDevice()
{
    if (DriverOfThisBuildRuns()) {
        return true;
    }
    const std::wstring driverPath = DriverBesideProgram();
    if (driverPath.empty() || GetFileAttributesW(driverPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (manager.handle == nullptr) {
        return false;
    }
    ServiceHandle service(InstallService(manager.handle, driverPath));
    if (service.handle == nullptr) {
        return false;
    }
    if (!StartServiceW(service.handle, 0, nullptr) &&
        GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) {
        return false;
    }
    return WaitFor(DriverOfThisBuildRuns);
}

bool ResetController()
{
    return Control(IOCTL_VORNSIM_RESET, nullptr, 0, nullptr, 0);
}

bool SetReading(std::uint8_t knobCount, std::uint8_t keyByte)
{
    return Send(IOCTL_VORNSIM_SET_READING, VornSimReading{knobCount, keyByte});
}

bool QueueReadings(const std::vector<Reading>& readings)
{
    std::vector<VornSimReading> wire;
    wire.reserve(readings.size());
    for (const Reading& reading : readings) {
        wire.push_back({reading.knobCount, reading.keyByte});
    }
    return Control(IOCTL_VORNSIM_QUEUE_READINGS, wire.data(),
                   static_cast<DWORD>(wire.size() * sizeof(VornSimReading)), nullptr, 0);
}

bool FailNext(std::uint8_t command, std::uint32_t count)
{
    VornSimFailNext failNext{};
    failNext.command = command;
    failNext.count = count;
    return Send(IOCTL_VORNSIM_FAIL_NEXT, failNext);
}

bool WrongLengthNext(std::uint32_t count, std::uint32_t length)
{
    return Send(IOCTL_VORNSIM_WRONG_LENGTH_NEXT, VornSimWrongLength{count, length});
}

bool SetPresent(bool present)
{
    return Send(IOCTL_VORNSIM_SET_PRESENT, VornSimPresence{present ? 1u : 0u});
}

std::optional<std::vector<Request>> ReadLog()
{
    struct Batch {
        VornSimLogHeader header;
        VornSimLogEntry entries[kLogBatch];
    };
    const auto batch = std::make_unique<Batch>();
    std::vector<Request> log;
    for (;;) {
        const VornSimLogQuery query{static_cast<std::uint32_t>(log.size())};
        DWORD returned = 0;
        if (!Control(IOCTL_VORNSIM_READ_LOG, &query, sizeof query, batch.get(), sizeof(Batch),
                     &returned) ||
            returned < sizeof(VornSimLogHeader) || batch->header.droppedEntries != 0) {
            return std::nullopt;
        }
        const std::size_t copied = (returned - sizeof(VornSimLogHeader)) / sizeof(VornSimLogEntry);
        for (std::size_t i = 0; i < copied; ++i) {
            const VornSimLogEntry& entry = batch->entries[i];
            Request request{entry.timeMicroseconds, entry.inputLength, entry.outputCapacity, {}};
            std::copy(std::begin(entry.command), std::end(entry.command), request.command);
            log.push_back(request);
        }
        if (copied == 0 || log.size() >= batch->header.totalEntries) {
            return log;
        }
    }
}

bool ClearLog()
{
    return Control(IOCTL_VORNSIM_CLEAR_LOG, nullptr, 0, nullptr, 0);
}

std::optional<Status> GetStatus()
{
    const auto status = QueryStatus();
    if (!status) {
        return std::nullopt;
    }
    return Status{status->openHandles, status->ledState, status->present != 0};
}

} // namespace ControllerScript
