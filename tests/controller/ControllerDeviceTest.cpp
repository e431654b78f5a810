// The real VORN_Encoder.dll against the simulated controller, through the real
// CreateFileA and DeviceIoControl path under the system's I/O manager. The test
// program starts the simulated driver itself and scripts it per test.

#include "ControllerScript.h"
#include "EncoderLibrary.h"
#include "TestWatchdog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using ControllerScript::kLedCommand;
using ControllerScript::kReadCommand;

constexpr std::chrono::seconds kTestTimeLimit{20};
constexpr std::uint64_t kMicrosecondsPerSecond = 1000000;
constexpr int kUntouched = 0x5EED;
// The frame every request must have: five command bytes in, 256 bytes of room out.
constexpr std::uint32_t kCommandLength = 5;
constexpr std::uint32_t kBufferCapacity = 256;

const std::string kLedOn = "01 00 00 01 00";
const std::string kLedOff = "01 00 00 00 00";
const std::string kRead = "0e 00 00 00 00";

std::uint64_t NowMicroseconds()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    const auto ticks = static_cast<std::uint64_t>(counter.QuadPart);
    const auto perSecond = static_cast<std::uint64_t>(frequency.QuadPart);
    return ticks / perSecond * kMicrosecondsPerSecond +
           ticks % perSecond * kMicrosecondsPerSecond / perSecond;
}

std::string Hex(const std::uint8_t (&command)[5])
{
    char text[16];
    std::snprintf(text, sizeof text, "%02x %02x %02x %02x %02x", command[0], command[1],
                  command[2], command[3], command[4]);
    return text;
}

class ControllerDevice : public testing::Test {
protected:
    static void SetUpTestSuite() { driverRunning_ = ControllerScript::StartControllerDevice(); }

    void SetUp() override
    {
        ASSERT_TRUE(driverRunning_) << "the simulated controller driver did not start";
        ASSERT_TRUE(ControllerScript::ResetController());
        library_.emplace();
        ASSERT_TRUE(library_->Complete()) << "VORN_Encoder.dll or one of its exports is missing";
    }

    void TearDown() override
    {
        if (library_ && library_->Complete()) {
            library_->CloseConnection();
        }
        library_.reset();
        // Whoever uses the device next finds it in its start state, plugged in.
        if (driverRunning_) {
            EXPECT_TRUE(ControllerScript::ResetController());
        }
    }

    EncoderLibrary& Encoder() { return *library_; }

    // The commands the device received since the last reset, each checked for its frame.
    static std::vector<std::string> LoggedCommands()
    {
        const auto log = ControllerScript::ReadLog();
        EXPECT_TRUE(log.has_value()) << "the request log could not be read";
        std::vector<std::string> commands;
        for (const auto& request : log.value_or(std::vector<ControllerScript::Request>{})) {
            EXPECT_EQ(request.inputLength, kCommandLength);
            EXPECT_EQ(request.outputCapacity, kBufferCapacity);
            commands.push_back(Hex(request.command));
        }
        return commands;
    }

    static ControllerScript::Status DeviceStatus()
    {
        const auto status = ControllerScript::GetStatus();
        EXPECT_TRUE(status.has_value());
        return status.value_or(ControllerScript::Status{});
    }

    // Runs ReadValue and checks its code and what lands in the caller's integers.
    void ExpectRead(int code, int value, int keys)
    {
        int gotValue = kUntouched;
        int gotKeys = kUntouched;
        EXPECT_EQ(Encoder().ReadValue(&gotValue, &gotKeys), code);
        EXPECT_EQ(gotValue, value);
        EXPECT_EQ(gotKeys, keys);
    }
    void ExpectReadWritesNothing(int code) { ExpectRead(code, kUntouched, kUntouched); }

private:
    static bool driverRunning_;
    TestWatchdog watchdog_{kTestTimeLimit};
    std::optional<EncoderLibrary> library_;
};

bool ControllerDevice::driverRunning_ = false;

TEST_F(ControllerDevice, OpenBlinksTheLedAndEveryRequestIsTimed)
{
    const std::uint64_t before = NowMicroseconds();
    EXPECT_EQ(Encoder().OpenConnection(), 1);
    const std::uint64_t after = NowMicroseconds();

    EXPECT_EQ(LoggedCommands(), (std::vector<std::string>{kLedOn, kLedOff}));
    const auto log = ControllerScript::ReadLog();
    ASSERT_TRUE(log && log->size() == 2);
    // The device's clock is the program's performance counter, in microseconds.
    EXPECT_LE(before, (*log)[0].timeMicroseconds);
    EXPECT_LE((*log)[0].timeMicroseconds, (*log)[1].timeMicroseconds);
    EXPECT_LE((*log)[1].timeMicroseconds, after);

    const auto status = DeviceStatus();
    EXPECT_EQ(status.openHandles, 1u);
    EXPECT_EQ(status.ledState, 0u);
}

TEST_F(ControllerDevice, ReadsReturnTheScriptedKnobCountsAndKeyBytes)
{
    ASSERT_EQ(Encoder().OpenConnection(), 1);
    ASSERT_TRUE(ControllerScript::SetReading(255, 255));
    ExpectRead(0, -127, 255);
    ASSERT_TRUE(ControllerScript::QueueReadings({{128, 63}, {0, 0}, {129, 7}}));
    ExpectRead(0, 0, 63);
    ExpectRead(0, 128, 0);
    ExpectRead(0, -1, 7);
    // The last reading stays, as a knob at rest does.
    ExpectRead(0, -1, 7);

    EXPECT_EQ(LoggedCommands(),
              (std::vector<std::string>{kLedOn, kLedOff, kRead, kRead, kRead, kRead, kRead}));
}

TEST_F(ControllerDevice, FailedAndWrongLengthReadsWriteNothing)
{
    ASSERT_EQ(Encoder().OpenConnection(), 1);
    ASSERT_TRUE(ControllerScript::SetReading(100, 62));

    ASSERT_TRUE(ControllerScript::FailNext(kReadCommand, 1));
    ExpectReadWritesNothing(-4);
    ASSERT_TRUE(ControllerScript::WrongLengthNext(1, 7));
    ExpectReadWritesNothing(-5);
    ASSERT_TRUE(ControllerScript::WrongLengthNext(1, 9));
    ExpectReadWritesNothing(-5);
    ExpectRead(0, 28, 62);

    // Unplugged while open: the request reaches the driver and fails.
    ASSERT_TRUE(ControllerScript::SetPresent(false));
    ExpectReadWritesNothing(-4);
}

TEST_F(ControllerDevice, LedFailuresAtOpenGiveTheirCodesAndTheDeviceStaysUsable)
{
    ASSERT_TRUE(ControllerScript::FailNext(kLedCommand, 1));
    EXPECT_EQ(Encoder().OpenConnection(), -2);
    ExpectRead(0, 0, 63);

    // Both fail: the failed "off" decides.
    ASSERT_TRUE(ControllerScript::FailNext(kLedCommand, 2));
    EXPECT_EQ(Encoder().OpenConnection(), -3);
    ExpectRead(0, 0, 63);

    ASSERT_TRUE(ControllerScript::FailNext(kLedCommand, 1));
    EXPECT_EQ(Encoder().SetLed(1), -2);
    EXPECT_EQ(Encoder().SetLed(1), 0);
}

TEST_F(ControllerDevice, SetLedSendsTheLowByteOfTheState)
{
    ASSERT_EQ(Encoder().OpenConnection(), 1);
    EXPECT_EQ(Encoder().SetLed(257), 0);
    EXPECT_EQ(DeviceStatus().ledState, 1u);
    EXPECT_EQ(Encoder().SetLed(-1), 0);
    EXPECT_EQ(DeviceStatus().ledState, 255u);

    EXPECT_EQ(LoggedCommands(),
              (std::vector<std::string>{kLedOn, kLedOff, kLedOn, "01 00 00 ff 00"}));
}

TEST_F(ControllerDevice, DeviceAbsentOpenFailsAndNothingIsSent)
{
    ASSERT_TRUE(ControllerScript::SetPresent(false));
    EXPECT_EQ(Encoder().OpenConnection(), -1);
    ExpectReadWritesNothing(-1);
    EXPECT_EQ(Encoder().SetLed(1), -1);
    EXPECT_EQ(Encoder().CloseConnection(), 1);

    EXPECT_TRUE(LoggedCommands().empty());
    EXPECT_EQ(DeviceStatus().openHandles, 0u);
}

TEST_F(ControllerDevice, NeverOpenedRequestsAreRefusedByTheSystem)
{
    ExpectReadWritesNothing(-4);
    EXPECT_EQ(Encoder().SetLed(0), -2);
    EXPECT_EQ(Encoder().CloseConnection(), 1);
    EXPECT_TRUE(LoggedCommands().empty());
}

TEST_F(ControllerDevice, ReopenAndCloseLeaveNoHandleAndNoStaleRequest)
{
    ASSERT_EQ(Encoder().OpenConnection(), 1);
    ASSERT_EQ(Encoder().OpenConnection(), 1);
    EXPECT_EQ(DeviceStatus().openHandles, 1u) << "the replaced handle was not closed";

    EXPECT_EQ(Encoder().CloseConnection(), 1);
    EXPECT_EQ(DeviceStatus().openHandles, 0u);
    ASSERT_TRUE(ControllerScript::ClearLog());
    ExpectReadWritesNothing(-1);
    EXPECT_EQ(Encoder().SetLed(1), -1);
    EXPECT_EQ(Encoder().CloseConnection(), 1);
    EXPECT_TRUE(LoggedCommands().empty());
}

TEST_F(ControllerDevice, LongRunsAreLoggedWholeAndInOrder)
{
    // More requests than one log transfer carries, as a poll benchmark makes.
    constexpr int kReads = 2500;
    ASSERT_EQ(Encoder().OpenConnection(), 1);
    for (int i = 0; i < kReads; ++i) {
        int value = 0;
        int keys = 0;
        ASSERT_EQ(Encoder().ReadValue(&value, &keys), 0);
    }
    const auto log = ControllerScript::ReadLog();
    ASSERT_TRUE(log.has_value());
    ASSERT_EQ(log->size(), 2u + kReads);
    for (std::size_t i = 1; i < log->size(); ++i) {
        ASSERT_LE((*log)[i - 1].timeMicroseconds, (*log)[i].timeMicroseconds) << "entry " << i;
    }
    EXPECT_EQ(Hex(log->back().command), kRead);
}

} // namespace
